#pragma once
// A two-dimensional plane of 16-bit volume values: slices and projections of a map.

#include <QtGlobal>

#include <vector>

//! size0 × size1 values, element (u, v) at u·size1 + v. Null when empty.
struct MapPlane
{
    std::vector<qint16> values;
    int size0 = 0;
    int size1 = 0;

    bool isNull() const { return values.empty(); }
    //! Value at (u, v); 0 outside the plane.
    qint16 at(int u, int v) const
    {
        if (u < 0 || v < 0 || u >= size0 || v >= size1)
            return 0;
        return values[size_t(u) * size_t(size1) + size_t(v)];
    }
};
