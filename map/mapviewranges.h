#pragma once
// The part of a map's viewing state that MapData keeps: mode, volume size and projection ranges.

#include "map/saftsettings.h"

//! Inclusive range of cells along one volume axis.
struct MapRange
{
    qint32 first = 0;
    qint32 last = 0;

    bool operator==(const MapRange&) const = default;
};

//! Viewing mode, volume dimensions and the three projection ranges of a map.
struct MapViewRanges
{
    EScanProcessing viewingMode = ProcessedView;
    qint32 dim0 = 0;
    qint32 dim1 = 0;
    qint32 dim2 = 0;
    MapRange range0;
    MapRange range1;
    MapRange range2;

    bool operator==(const MapViewRanges&) const = default;

    //! Every dimension at least 1 and, per axis, 0 ≤ first < last < dimension.
    bool isConsistent() const
    {
        auto axis = [](qint32 dim, const MapRange& r) {
            return dim >= 1 && r.first >= 0 && r.first < r.last && r.last < dim;
        };
        return axis(dim0, range0) && axis(dim1, range1) && axis(dim2, range2);
    }
};
