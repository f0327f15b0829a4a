#include "map/mapvoxelframe.h"

#include "map/mapviewgeometry.h"

MapVoxelFrame MapVoxelFrame::of(const MapViewGeometry& g)
{
    MapVoxelFrame f;
    f.origin = {0.0, 0.0, 1000.0 * g.depthStart()};
    f.spacing = {double(g.cellX()), double(g.cellY()), 1000.0 * MapViewGeometry::kDepthPoint};
    return f;
}
