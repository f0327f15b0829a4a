#pragma once
// Small numeric helpers of the map steps, exact and cheap on every x86-64.

#include <cmath>

namespace Vantar {

//! floor(v), the same value as std::floor for every input, without a library call where a
//! conversion to a 64-bit integer gives it.
inline double floorExact(double v)
{
    if (v > -4.0e18 && v < 4.0e18) {
        const double t = double(static_cast<long long>(v)); // toward zero
        return t > v ? t - 1.0 : t;
    }
    return std::floor(v); // huge, infinite or NaN
}

} // namespace Vantar
