#pragma once
// What the map view keeps of how a map was looked at: brightness, threshold, modes, the
// measuring box, the slices and MapData's ranges. Stored per map in "usr_map.set".

#include "map/mapviewranges.h"

#include <QtGlobal>

//! The measuring box in volume points: first corner (x1, y1, z1), second corner (x2, y2, z2).
struct MapBox
{
    qint32 x1 = 0;
    qint32 y1 = 0;
    qint32 z1 = 0;
    qint32 x2 = 0;
    qint32 y2 = 0;
    qint32 z2 = 0;

    bool operator==(const MapBox&) const = default;

    //! A box that can be drawn: x1 < x2, y1 < y2 and z1 < z2.
    bool isProper() const { return x1 < x2 && y1 < y2 && z1 < z2; }
};

//! The map view's viewing state. The view fills everything up to the slices; ranges is
//! MapData::viewRanges() at the moment the state is collected.
struct MapViewState
{
    static constexpr qint32 kMinBrightness = -40;
    static constexpr qint32 kMaxBrightness = 40;
    static constexpr qint32 kMinThreshold = 0;
    static constexpr qint32 kMaxThreshold = 90;

    qint32 brightness = 0;     // dB, the view's brightness spin box, −40 … 40
    qint32 threshold = 0;      // percent, the colour scale's left limit, 0 … 90
    bool limitsMode = false;   // layer-limit projections instead of slices
    qint32 measuringMode = 0;  // 1: rectangles instead of a cursor
    MapBox box;                // all 0 unless measuring
    qint32 sliceX = 0;         // volume points
    qint32 sliceY = 0;
    qint32 sliceZ = 0;
    MapViewRanges ranges;      // viewing mode, volume size and layer limits of MapData

    bool operator==(const MapViewState&) const = default;

    //! The checks a stored state must pass before a map takes it over: consistent ranges,
    //! brightness and threshold in range, modes 0 or 1, every slice inside the stored size
    //! and, when measuring, 0 ≤ first ≤ second corner < size on every axis.
    bool isValid() const;

    //! True when the stored volume size is that of the volume built (dim0, dim1, dim2):
    //! slices, limits and box only mean something in a volume of that size.
    bool fitsVolume(int dim0, int dim1, int dim2) const
    {
        return ranges.dim0 == dim0 && ranges.dim1 == dim1 && ranges.dim2 == dim2;
    }
};
