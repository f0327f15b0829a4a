#pragma once
// Finding and sizing indications in a map's volume: the local maxima that stand out from the
// rest, each with its level and its −6 dB extents.

#include "map/mapindication.h"
#include "map/mapvoxelframe.h"
#include "map/saftsettings.h"

#include <QtGlobal>

#include <vector>

class MapData;

//! A volume of dim0 × dim1 × dim2 values, voxel (i, j, k) at (i·dim1 + j)·dim2 + k.
struct MapVolumeView
{
    const qint16* values = nullptr;
    int dim0 = 0;
    int dim1 = 0;
    int dim2 = 0;

    bool isEmpty() const { return !values || dim0 <= 0 || dim1 <= 0 || dim2 <= 0; }
    qint16 at(int i, int j, int k) const { return values[(qint64(i) * dim1 + j) * dim2 + k]; }
};

//! What is looked for.
struct IndicationFinderOptions
{
    static constexpr int kDefaultMaxCount = 1000;
    static constexpr double kDefaultDepthDistance = 20.0;
    static constexpr double kDefaultContrast = 20.0;

    double thresholdDb = -6.0;   // relative to the volume's maximum; values below are left out
    double minDistanceX = 10.0;  // mm: indications closer than these (as an ellipsoid) are one
    double minDistanceY = 10.0;
    double minDistanceZ = kDefaultDepthDistance;
    //! How far above the volume's background (its median) a peak must stand, dB: a volume of
    //! noise alone has its largest values about 13 dB above its median, so without this every
    //! map without reflectors would list its noise.
    double minContrastDb = kDefaultContrast;
    int maxCount = kDefaultMaxCount; // the strongest this many at most

    //! The defaults for a map: one probe step laterally, 20 mm in depth.
    static IndicationFinderOptions forSteps(int stepH, int stepV);
};

//! What a search found.
struct IndicationSearch
{
    std::vector<MapIndication> indications; // strongest first, numbered from 1
    int volumeMaximum = 0;                  // the reference of the dB levels
    int background = 0;                     // the volume's median
    bool truncated = false;                 // more than maxCount qualified
    bool outOfMemory = false;               // the search could not be made: nothing found
};

class IndicationFinder
{
public:
    //! The local maxima (no neighbour of the 26 larger; a flat top counts once, at its middle) at or above the threshold and the
    //! contrast over the background, strongest
    //! first (equal values in volume order), each kept only when no stronger one kept lies
    //! within the minimum distances. Nothing is found in a volume whose maximum is not positive.
    static IndicationSearch find(const MapVolumeView& volume, const MapVoxelFrame& frame,
                                 const IndicationFinderOptions& options);
    //! The same in the map's processed (ProcessedView) or unprocessed (RawView) volume; empty
    //! when that volume does not exist.
    static IndicationSearch find(const MapData& data, EScanProcessing eVolume, const MapVoxelFrame& frame,
                                 const IndicationFinderOptions& options);
    //! The indication at cell (i, j, k): its place, value, level against iMaximum and sizes.
    //! Number, label and comment are left empty. A cell outside the volume gives a zero one.
    static MapIndication measure(const MapVolumeView& volume, const MapVoxelFrame& frame, int i, int j, int k,
                                 int iMaximum);
    //! The cell of the largest value in the inclusive box (of equal ones the first in the
    //! volume's order), the box first clipped to the volume: where an indication added from a
    //! measured box goes. False when nothing of the box lies inside the volume.
    static bool strongestCell(const MapVolumeView& volume, int i0, int i1, int j0, int j1, int k0, int k1, int& i,
                              int& j, int& k);
    //! The view of the map's volume of that kind (null values when it does not exist).
    static MapVolumeView volumeOf(const MapData& data, EScanProcessing eVolume);
    //! The median of a volume's values.
    static int median(const MapVolumeView& volume);
    //! Level of a value against a maximum in dB; very low for values ≤ 0.
    static double levelDb(int iValue, int iMaximum);

private:
    static IndicationSearch search(const MapVolumeView& volume, const MapVoxelFrame& frame,
                                   const IndicationFinderOptions& options);
};
