#pragma once
// Millimetres of the volume's cells as the map view's read-outs count them, so that what the
// program lists and what the read-outs show agree.

#include <array>
#include <cmath>

class MapViewGeometry;

//! Where the cells of a volume lie, per axis X, Y, Z (0, 1, 2): cell n spans
//! [origin + n·spacing, origin + (n + 1)·spacing) millimetres.
struct MapVoxelFrame
{
    std::array<double, 3> origin{0.0, 0.0, 0.0};
    std::array<double, 3> spacing{5.0, 5.0, 5.0};

    //! Centre of cell n along an axis, mm.
    double centre(int iAxis, double n) const { return origin[iAxis] + (n + 0.5) * spacing[iAxis]; }
    double centreX(int i) const { return centre(0, i); }
    double centreY(int j) const { return centre(1, j); }
    double centreZ(int k) const { return centre(2, k); }
    //! The cell holding a millimetre value (it may lie outside the volume).
    int cellOf(int iAxis, double mm) const
    {
        return spacing[iAxis] > 0 ? int(std::floor((mm - origin[iAxis]) / spacing[iAxis])) : 0;
    }

    //! The frame of the map view: X and Y cells counted from the map's edge at the view's cell
    //! size (the measuring read-outs' start = cell · cell size), depth layers from the start
    //! of the depth window, as the cursor read-out and the depth scales count them.
    static MapVoxelFrame of(const MapViewGeometry& geometry);
};
