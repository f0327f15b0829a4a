#pragma once
// The one axis model of the map view. X and Y are the probe's scanning directions (first and
// second position index), Z is depth. Each scan image shows two of them and slices the third;
// every per-axis question about pixels, points, offsets and scales is asked through an Axis,
// so code written once serves all three scans.

#include "map/mapviewgeometry.h"
#include "map/mapviewranges.h"

#include <array>

class MapData;
struct MapPlane;

enum class Axis { X, Y, Z };

inline constexpr std::array<Axis, 3> kAxes = {Axis::X, Axis::Y, Axis::Z};

inline constexpr int axisIndex(Axis a)
{
    return int(a);
}

//! Three values, one per volume axis, indexed by axisIndex().
template <typename T>
using PerAxis = std::array<T, 3>;

//! Which volume axis runs across a scan image, which runs down it, and which one it slices.
struct ScanAxes
{
    Axis across;
    Axis down;
    Axis slice;

    constexpr bool shows(Axis a) const { return a == across || a == down; }
};

//! C-scan: the plane seen from above; B-scan: the section along X; D-scan: the section along Y.
inline constexpr ScanAxes kCScanAxes = {Axis::X, Axis::Y, Axis::Z};
inline constexpr ScanAxes kBScanAxes = {Axis::X, Axis::Z, Axis::Y};
inline constexpr ScanAxes kDScanAxes = {Axis::Z, Axis::Y, Axis::X};

//! Per-axis view of the map geometry, the volume's layer limits and its planes.
namespace AxisGeometry {

int points(const MapViewGeometry& g, Axis a);
int imageSize(const MapViewGeometry& g, Axis a);
//! Pixels of the frame along the axis: the C- and B-scan frames' width for X, the frame
//! height for Y and Z.
int frameSize(const MapViewGeometry& g, Axis a);
int offset(const MapViewGeometry& g, Axis a);
void setOffset(MapViewGeometry& g, Axis a, int iOffset);
int maxOffset(const MapViewGeometry& g, Axis a);
int index(const MapViewGeometry& g, Axis a, int iPixel);
int pixel(const MapViewGeometry& g, Axis a, int iIndex);
double metres(const MapViewGeometry& g, Axis a, int iPixel);
MapAxisScale scale(const MapViewGeometry& g, Axis a);
MapBand band(const MapViewGeometry& g, Axis a);
//! Pixels of two volume points: the smallest rectangle edge along the axis.
int minimumEdge(const MapViewGeometry& g, Axis a);
//! Start and length in metres of a band of volume points.
double bandStart(const MapViewGeometry& g, Axis a, const MapBand& b);
double bandLength(const MapViewGeometry& g, Axis a, const MapBand& b);

MapRange layerLimits(const MapData& data, Axis a);
void setLayerLimits(MapData& data, Axis a, int iFirst, int iLast);
//! The plane a scan slicing axis a shows at index i, or its projection over the layer limits.
MapPlane slicePlane(const MapData& data, Axis a, int i);
const MapPlane& projection(const MapData& data, Axis a);

} // namespace AxisGeometry
