#pragma once
// Key of a probe position of a map: horizontal index i and vertical index j, both from 1.

#include <QString>

#include <map>

//! Probe position (i, j); ordered row after row: by j first, then by i.
struct MapPositionKey
{
    int i = 0; // horizontal index (column), from 1
    int j = 0; // vertical index (row), from 1

    bool operator==(const MapPositionKey&) const = default;
    bool operator<(const MapPositionKey& other) const
    {
        return j != other.j ? j < other.j : i < other.i;
    }
};

//! Signal file of each position found in a map folder, in key order.
using MapPositionTable = std::map<MapPositionKey, QString>;
