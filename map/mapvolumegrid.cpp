#include "map/mapvolumegrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int toInt(qint64 v)
{
    return int(std::clamp<qint64>(v, 0, std::numeric_limits<int>::max()));
}

} // namespace

int MapVolumeGrid::layersFor(double depthRange)
{
    const double layers = std::floor(depthRange / kLayerMetres + 0.5);
    if (!(layers > 0)) // also NaN
        return 0;
    if (layers >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(layers);
}

MapVolumeGrid MapVolumeGrid::compute(int columns, int rows, int stepH, int stepV, double depthRange)
{
    const qint64 c = std::max(columns, 0);
    const qint64 r = std::max(rows, 0);
    const qint64 sh = std::max(stepH, 0);
    const qint64 sv = std::max(stepV, 0);
    MapVolumeGrid g;
    qint64 repH = sh / kCellMm;
    qint64 repV = sv / kCellMm;
    qint64 d0 = c * repH;
    qint64 d1 = r * repV;
    g.pitchX = kCellMm;
    g.pitchY = kCellMm;
    // d0 · d1 may not fit 64 bits: compare by division.
    const bool tooMany = d0 > 0 && d1 > 0 && d0 > kMaxPlaneCells / d1;
    if (tooMany) {
        repH = repV = kReducedRepetition;
        d0 = kReducedRepetition * c;
        d1 = kReducedRepetition * r;
        g.pitchX = toInt(sh / 2);
        g.pitchY = toInt(sv / 2);
        g.reduced = true;
    }
    g.repH = toInt(repH);
    g.repV = toInt(repV);
    g.dim0 = toInt(d0);
    g.dim1 = toInt(d1);
    g.dim2 = layersFor(depthRange);
    return g;
}

qint64 MapVolumeGrid::bytesNeeded() const
{
    // In doubles: three int dimensions multiplied may exceed 64 bits; the result saturates.
    const double voxels = double(dim0) * double(dim1) * double(dim2);
    const double planes = double(dim0) * double(dim1) + double(dim0) * double(dim2) + double(dim2) * double(dim1);
    // The peak: two 16-bit volumes at a time (the work and the unprocessed volume while it is
    // built, then the unprocessed and the processed one while the tiled SAFT fills it).
    const double bytes = voxels * (2 * 2) + planes * 2;
    if (bytes >= double(std::numeric_limits<qint64>::max() / 2))
        return std::numeric_limits<qint64>::max() / 2;
    return qint64(bytes);
}

bool MapVolumeGrid::fitsMemory(qint64 limit, QString* error) const
{
    const qint64 bytes = bytesNeeded();
    if (bytes <= limit)
        return true;
    if (error)
        *error = tr("The map's volume of %1 × %2 × %3 cells needs %4 MB of memory, more than the %5 MB "
                    "that a map may take.")
                     .arg(dim0)
                     .arg(dim1)
                     .arg(dim2)
                     .arg(bytes / (1024 * 1024))
                     .arg(limit / (1024 * 1024));
    return false;
}
