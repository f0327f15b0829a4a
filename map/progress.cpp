#include "map/progress.h"

#include <cmath>

namespace Vantar {

int roundedPercent(long long done, long long total, int scale)
{
    if (total <= 0)
        return 0;
    return static_cast<int>(std::floor(double(scale) * double(done) / double(total) + 0.5));
}

} // namespace Vantar
