#pragma once
// Progress reporting for long core steps, so that they run headless or under a dialog.

#include <functional>

namespace Vantar {

//! Called with the work done so far and the total; returning false asks the step to stop.
using ProgressFn = std::function<bool(int done, int total)>;

//! Percentage of done / total rounded half up (floor(x + 0.5)); 0 when total is not positive.
int roundedPercent(long long done, long long total, int scale = 100);

} // namespace Vantar
