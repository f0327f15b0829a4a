#include "mapview/scanaxes.h"

#include "map/mapdata.h"

namespace AxisGeometry {

int points(const MapViewGeometry& g, Axis a)
{
    switch (a) {
    case Axis::X: return g.pointsX();
    case Axis::Y: return g.pointsY();
    case Axis::Z: return g.pointsZ();
    }
    return 0;
}

int imageSize(const MapViewGeometry& g, Axis a)
{
    switch (a) {
    case Axis::X: return g.imageWidth();
    case Axis::Y: return g.imageHeight();
    case Axis::Z: return g.imageDepth();
    }
    return 0;
}

int frameSize(const MapViewGeometry& g, Axis a)
{
    return a == Axis::X ? g.frameWidth() : g.frameHeight();
}

int offset(const MapViewGeometry& g, Axis a)
{
    switch (a) {
    case Axis::X: return g.offsetX();
    case Axis::Y: return g.offsetY();
    case Axis::Z: return g.offsetZ();
    }
    return 0;
}

void setOffset(MapViewGeometry& g, Axis a, int iOffset)
{
    switch (a) {
    case Axis::X: g.setOffsetX(iOffset); break;
    case Axis::Y: g.setOffsetY(iOffset); break;
    case Axis::Z: g.setOffsetZ(iOffset); break;
    }
}

int maxOffset(const MapViewGeometry& g, Axis a)
{
    switch (a) {
    case Axis::X: return g.maxOffsetX();
    case Axis::Y: return g.maxOffsetY();
    case Axis::Z: return g.maxOffsetZ();
    }
    return 0;
}

int index(const MapViewGeometry& g, Axis a, int iPixel)
{
    return MapViewGeometry::indexFromPixel(iPixel, imageSize(g, a), points(g, a));
}

int pixel(const MapViewGeometry& g, Axis a, int iIndex)
{
    return MapViewGeometry::pixelFromIndex(iIndex, points(g, a), imageSize(g, a));
}

double metres(const MapViewGeometry& g, Axis a, int iPixel)
{
    switch (a) {
    case Axis::X: return g.metresX(iPixel);
    case Axis::Y: return g.metresY(iPixel);
    case Axis::Z: return g.metresZ(iPixel);
    }
    return 0.0;
}

MapAxisScale scale(const MapViewGeometry& g, Axis a)
{
    switch (a) {
    case Axis::X: return g.scaleX();
    case Axis::Y: return g.scaleY();
    case Axis::Z: return g.scaleZ();
    }
    return {};
}

MapBand band(const MapViewGeometry& g, Axis a)
{
    switch (a) {
    case Axis::X: return g.bandX();
    case Axis::Y: return g.bandY();
    case Axis::Z: return g.bandZ();
    }
    return {};
}

int minimumEdge(const MapViewGeometry& g, Axis a)
{
    const int n = points(g, a);
    return n > 0 ? MapViewGeometry::roundHalfAway(2.0 * imageSize(g, a) / n) : 0;
}

static double metresPerPoint(const MapViewGeometry& g, Axis a)
{
    switch (a) {
    case Axis::X: return g.cellX() / 1000.0;
    case Axis::Y: return g.cellY() / 1000.0;
    case Axis::Z: return MapViewGeometry::kDepthPoint;
    }
    return 0.0;
}

double bandStart(const MapViewGeometry& g, Axis a, const MapBand& b)
{
    return b.first * metresPerPoint(g, a);
}

double bandLength(const MapViewGeometry& g, Axis a, const MapBand& b)
{
    return (b.last - b.first) * metresPerPoint(g, a);
}

MapRange layerLimits(const MapData& data, Axis a)
{
    switch (a) {
    case Axis::X: return data.range0();
    case Axis::Y: return data.range1();
    case Axis::Z: return data.range2();
    }
    return {};
}

void setLayerLimits(MapData& data, Axis a, int iFirst, int iLast)
{
    switch (a) {
    case Axis::X: data.setRange0(iFirst, iLast); break;
    case Axis::Y: data.setRange1(iFirst, iLast); break;
    case Axis::Z: data.setRange2(iFirst, iLast); break;
    }
}

MapPlane slicePlane(const MapData& data, Axis a, int i)
{
    switch (a) {
    case Axis::X: return data.sliceD(i);
    case Axis::Y: return data.sliceB(i);
    case Axis::Z: return data.sliceC(i);
    }
    return {};
}

const MapPlane& projection(const MapData& data, Axis a)
{
    switch (a) {
    case Axis::X: return data.projectionD();
    case Axis::Y: return data.projectionB();
    case Axis::Z: break;
    }
    return data.projectionC();
}

} // namespace AxisGeometry
