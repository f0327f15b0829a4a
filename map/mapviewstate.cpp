#include "map/mapviewstate.h"

namespace {

bool inside(qint32 v, qint32 dim)
{
    return v >= 0 && v < dim;
}

bool ordered(qint32 first, qint32 second, qint32 dim)
{
    return first >= 0 && first <= second && second < dim;
}

} // namespace

bool MapViewState::isValid() const
{
    if (!ranges.isConsistent())
        return false;
    if (ranges.viewingMode != ProcessedView && ranges.viewingMode != RawView)
        return false;
    if (brightness < kMinBrightness || brightness > kMaxBrightness)
        return false;
    if (threshold < kMinThreshold || threshold > kMaxThreshold)
        return false;
    if (measuringMode != 0 && measuringMode != 1)
        return false;
    if (!inside(sliceX, ranges.dim0) || !inside(sliceY, ranges.dim1) || !inside(sliceZ, ranges.dim2))
        return false;
    if (measuringMode == 1
        && !(ordered(box.x1, box.x2, ranges.dim0) && ordered(box.y1, box.y2, ranges.dim1)
             && ordered(box.z1, box.z2, ranges.dim2)))
        return false;
    return true;
}
