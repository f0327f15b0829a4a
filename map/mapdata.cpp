#include "map/mapdata.h"

#include <algorithm>
#include <new>

MapData::MapData() : m_filter(std::make_unique<BandPassFilter>()) {}

MapData::~MapData() = default;

void MapData::setPositionCount(int columns, int rows)
{
    m_columns = std::max(columns, 0);
    m_rows = std::max(rows, 0);
}

void MapData::setSteps(int stepH, int stepV)
{
    m_stepH = stepH;
    m_stepV = stepV;
}

void MapData::setFilterPeriod(int iPeriod)
{
    m_filter->setPeriod(iPeriod);
}

double MapData::filterBandwidthFor(int percent)
{
    switch (percent) {
    case 25:
        return 0.25;
    case 50:
        return 0.5;
    case 75:
        return 0.75;
    default:
        return 1.0;
    }
}

void MapData::setSAFTsettings(const SAFTsettings& settings)
{
    m_saft = settings;
    m_filter->setBandwidth(filterBandwidthFor(settings.bandwidth));
}

const MapTrace* MapData::trace(int i, int j) const
{
    const auto it = m_traces.find(MapPositionKey{i, j});
    return it == m_traces.end() ? nullptr : &it->second;
}

MapTrace* MapData::trace(int i, int j)
{
    const auto it = m_traces.find(MapPositionKey{i, j});
    return it == m_traces.end() ? nullptr : &it->second;
}

void MapData::setTrace(int i, int j, MapTrace trace)
{
    m_traces[MapPositionKey{i, j}] = std::move(trace);
}

void MapData::releaseVolumes()
{
    m_rawVolume = std::vector<qint16>();
    m_processedVolume = std::vector<qint16>();
    m_projectionC = MapPlane();
    m_projectionB = MapPlane();
    m_projectionD = MapPlane();
    m_currentVolume = nullptr;
    m_dim0 = m_dim1 = m_dim2 = 0;
    m_voxelCount = 0;
}

bool MapData::setRawVolume(int dim0, int dim1, int dim2, std::vector<qint16> volume)
{
    releaseVolumes();
    if (dim0 <= 0 || dim1 <= 0 || dim2 <= 0)
        return false;
    const qint64 count = qint64(dim0) * qint64(dim1) * qint64(dim2); // each below 2^31: fits
    if (count <= 0 || qint64(volume.size()) != count)
        return false;
    try {
        m_projectionC.values.assign(size_t(dim0) * size_t(dim1), 0);
        m_projectionB.values.assign(size_t(dim0) * size_t(dim2), 0);
        m_projectionD.values.assign(size_t(dim2) * size_t(dim1), 0);
    } catch (const std::bad_alloc&) {
        releaseVolumes();
        return false;
    }
    m_projectionC.size0 = dim0;
    m_projectionC.size1 = dim1;
    m_projectionB.size0 = dim0;
    m_projectionB.size1 = dim2;
    m_projectionD.size0 = dim2;
    m_projectionD.size1 = dim1;
    m_rawVolume = std::move(volume);
    m_dim0 = dim0;
    m_dim1 = dim1;
    m_dim2 = dim2;
    m_voxelCount = count;
    m_range0 = {0, dim0 - 1};
    m_range1 = {0, dim1 - 1};
    m_range2 = {0, dim2 - 1};
    updateCurrentVolume();
    recomputeProjections();
    return true;
}

bool MapData::setProcessedVolume(std::vector<qint16> volume)
{
    m_processedVolume = std::vector<qint16>();
    if (!hasRawVolume() || qint64(volume.size()) != m_voxelCount) {
        updateCurrentVolume();
        recomputeProjections();
        return false;
    }
    m_processedVolume = std::move(volume);
    updateCurrentVolume();
    recomputeProjections();
    return true;
}

void MapData::updateCurrentVolume()
{
    const std::vector<qint16>& v = m_viewingMode == RawView ? m_rawVolume : m_processedVolume;
    m_currentVolume = v.empty() ? nullptr : v.data();
}

void MapData::setViewingMode(EScanProcessing eMode)
{
    m_viewingMode = eMode == RawView ? RawView : ProcessedView;
    updateCurrentVolume();
    recomputeProjections();
}

void MapData::setRange0(int first, int last)
{
    if (m_range0 == MapRange{first, last})
        return;
    m_range0 = {first, last};
    recomputeProjections();
}

void MapData::setRange1(int first, int last)
{
    if (m_range1 == MapRange{first, last})
        return;
    m_range1 = {first, last};
    recomputeProjections();
}

void MapData::setRange2(int first, int last)
{
    if (m_range2 == MapRange{first, last})
        return;
    m_range2 = {first, last};
    recomputeProjections();
}

void MapData::resetRanges()
{
    m_range0 = {0, m_dim0 - 1};
    m_range1 = {0, m_dim1 - 1};
    m_range2 = {0, m_dim2 - 1};
    recomputeProjections();
}

MapViewRanges MapData::viewRanges() const
{
    MapViewRanges r;
    r.viewingMode = m_viewingMode;
    r.dim0 = m_dim0;
    r.dim1 = m_dim1;
    r.dim2 = m_dim2;
    r.range0 = m_range0;
    r.range1 = m_range1;
    r.range2 = m_range2;
    return r;
}

void MapData::recomputeProjections()
{
    std::fill(m_projectionC.values.begin(), m_projectionC.values.end(), qint16(0));
    std::fill(m_projectionB.values.begin(), m_projectionB.values.end(), qint16(0));
    std::fill(m_projectionD.values.begin(), m_projectionD.values.end(), qint16(0));
    const qint16* v = m_currentVolume;
    if (!v || m_projectionC.isNull() || m_projectionB.isNull() || m_projectionD.isNull())
        return;
    // Only the part of each range inside the volume counts.
    const int i0 = std::max(m_range0.first, 0), i1 = std::min(m_range0.last, m_dim0 - 1);
    const int j0 = std::max(m_range1.first, 0), j1 = std::min(m_range1.last, m_dim1 - 1);
    const int k0 = std::max(m_range2.first, 0), k1 = std::min(m_range2.last, m_dim2 - 1);
    qint16* c = m_projectionC.values.data();
    qint16* b = m_projectionB.values.data();
    qint16* d = m_projectionD.values.data();
    for (int i = i0; i <= i1; ++i) {
        for (int j = j0; j <= j1; ++j) {
            const qint16* col = v + voxelIndex(m_dim1, m_dim2, i, j, 0);
            qint16& cc = c[size_t(i) * m_dim1 + j];
            for (int k = k0; k <= k1; ++k) {
                const qint16 value = col[k];
                cc = std::max(cc, value);
                qint16& bb = b[size_t(i) * m_dim2 + k];
                bb = std::max(bb, value);
                qint16& dd = d[size_t(k) * m_dim1 + j];
                dd = std::max(dd, value);
            }
        }
    }
}

MapPlane MapData::sliceC(int k) const
{
    MapPlane p;
    if (!m_currentVolume || k < 0 || k >= m_dim2)
        return p;
    try {
        p.values.resize(size_t(m_dim0) * size_t(m_dim1));
    } catch (const std::bad_alloc&) {
        return MapPlane();
    }
    p.size0 = m_dim0;
    p.size1 = m_dim1;
    for (int i = 0; i < m_dim0; ++i)
        for (int j = 0; j < m_dim1; ++j)
            p.values[size_t(i) * m_dim1 + j] = m_currentVolume[voxelIndex(m_dim1, m_dim2, i, j, k)];
    return p;
}

MapPlane MapData::sliceB(int j) const
{
    MapPlane p;
    if (!m_currentVolume || j < 0 || j >= m_dim1)
        return p;
    try {
        p.values.resize(size_t(m_dim0) * size_t(m_dim2));
    } catch (const std::bad_alloc&) {
        return MapPlane();
    }
    p.size0 = m_dim0;
    p.size1 = m_dim2;
    for (int i = 0; i < m_dim0; ++i) {
        const qint16* col = m_currentVolume + voxelIndex(m_dim1, m_dim2, i, j, 0);
        std::copy(col, col + m_dim2, p.values.begin() + qsizetype(i) * m_dim2);
    }
    return p;
}

MapPlane MapData::sliceD(int i) const
{
    MapPlane p;
    if (!m_currentVolume || i < 0 || i >= m_dim0)
        return p;
    try {
        p.values.resize(size_t(m_dim2) * size_t(m_dim1));
    } catch (const std::bad_alloc&) {
        return MapPlane();
    }
    p.size0 = m_dim2;
    p.size1 = m_dim1;
    for (int j = 0; j < m_dim1; ++j) {
        const qint16* col = m_currentVolume + voxelIndex(m_dim1, m_dim2, i, j, 0);
        for (int k = 0; k < m_dim2; ++k)
            p.values[size_t(k) * m_dim1 + j] = col[k];
    }
    return p;
}

std::span<const qint16> MapData::column(int i, int j) const
{
    if (!m_currentVolume || i < 0 || j < 0 || i >= m_dim0 || j >= m_dim1)
        return {};
    return {m_currentVolume + voxelIndex(m_dim1, m_dim2, i, j, 0), size_t(m_dim2)};
}

qint16 MapData::voxel(int i, int j, int k) const
{
    if (!m_currentVolume || i < 0 || j < 0 || k < 0 || i >= m_dim0 || j >= m_dim1 || k >= m_dim2)
        return 0;
    return m_currentVolume[voxelIndex(m_dim1, m_dim2, i, j, k)];
}

qint16 MapData::boxMaximum(int i0, int i1, int j0, int j1, int k0, int k1) const
{
    if (!m_currentVolume || i1 >= m_dim0 || j1 >= m_dim1 || k1 >= m_dim2 || i0 > i1)
        return 0;
    i0 = std::max(i0, 0);
    j0 = std::max(j0, 0);
    k0 = std::max(k0, 0);
    qint16 best = 0;
    for (int i = i0; i <= i1; ++i)
        for (int j = j0; j <= j1; ++j) {
            const qint16* col = m_currentVolume + voxelIndex(m_dim1, m_dim2, i, j, 0);
            for (int k = k0; k <= k1; ++k)
                best = std::max(best, col[k]);
        }
    return best;
}

void MapData::clear()
{
    releaseVolumes();
    m_traces.clear();
    m_columns = 0;
    m_rows = 0;
    m_plan = SamplePlan();
    m_readFilter = ReadFilter();
}
