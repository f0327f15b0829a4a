#pragma once
// One indication of a map: a place where the volume shows a reflector, with its size.

#include <QString>

//! An indication, found in a volume or added by hand. Positions are cell centres in the
//! read-outs' millimetres (MapVoxelFrame); sizes are the −6 dB extents along each axis.
struct MapIndication
{
    int number = 0;       // shown to the user, from 1
    QString label;        // the user's short name; empty until given
    QString comment;      // the user's note
    double x = 0.0;       // mm
    double y = 0.0;       // mm
    double z = 0.0;       // mm, depth
    int amplitude = 0;    // peak value of the volume
    double db = 0.0;      // level relative to the volume's maximum (≤ 0)
    double sizeX = 0.0;   // mm
    double sizeY = 0.0;   // mm
    double sizeZ = 0.0;   // mm
    bool manual = false;  // added by hand rather than found

    bool operator==(const MapIndication&) const = default;

    //! A millimetre or dB value as the lists show it: one decimal, never "-0.0".
    static QString decimal(double dValue);
};
