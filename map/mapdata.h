#pragma once
// A loaded map in memory: the signal of every probe position, the unprocessed and the SAFT
// volumes, and the projections and slices the map view shows.

#include "map/bandpassfilter.h"
#include "map/maplimits.h"
#include "map/mapplane.h"
#include "map/mappositionkey.h"
#include "map/maptrace.h"
#include "map/mapviewranges.h"
#include "map/progress.h"
#include "map/saftsettings.h"

#include <QCoreApplication>
#include <QStringList>

#include <map>
#include <memory>
#include <span>
#include <vector>

//! The map: traces per position, volumes dim0 × dim1 × dim2 (voxel (i, j, k) at
//! (i·dim1 + j)·dim2 + k, depth fastest), projections over inclusive cell ranges.
//! Every accessor checks its indices; out-of-range requests give null or 0.
//! Reading, building the volume, preparing and SAFT add member functions in their own
//! sources (mapdata_*.cpp) and fill the volumes through setRawVolume / setProcessedVolume.
namespace Saft {
struct Geometry;
}

class MapData
{
    Q_DECLARE_TR_FUNCTIONS(MapData)

public:
    using TraceTable = std::map<MapPositionKey, MapTrace>;

    MapData();
    ~MapData();
    MapData(const MapData&) = delete;
    MapData& operator=(const MapData&) = delete;

    //! Long steps report through this callback (done, total); empty reports nothing.
    void setProgressCallback(Vantar::ProgressFn progress) { m_progress = std::move(progress); }
    const Vantar::ProgressFn& progressCallback() const { return m_progress; }

    //! Samples per signal: 40000, fixed.
    int sampleCount() const { return m_sampleCount; }

    //! Horizontal and vertical number of positions (largest i and j of the folder scan).
    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    //! Negative counts are taken as 0.
    void setPositionCount(int columns, int rows);

    //! Probe steps in mm; 10 and 10 when made.
    int stepH() const { return m_stepH; }
    int stepV() const { return m_stepV; }
    void setSteps(int stepH, int stepV);

    BandPassFilter& filter() { return *m_filter; }
    const BandPassFilter& filter() const { return *m_filter; }
    //! Forwards to the filter.
    void setFilterPeriod(int iPeriod);

    const SAFTsettings& saftSettings() const { return m_saft; }
    //! Copies the record and sets the filter bandwidth from its percentage.
    void setSAFTsettings(const SAFTsettings& settings);
    //! 25 → 0.25, 50 → 0.5, 75 → 0.75, anything else → 1.0.
    static double filterBandwidthFor(int percent);

    // Traces, one per position read, in key order (j, then i).
    const TraceTable& traces() const { return m_traces; }
    //! The trace of position (i, j), or null.
    const MapTrace* trace(int i, int j) const;
    MapTrace* trace(int i, int j);
    //! Stores a trace under (i, j), replacing any earlier one.
    void setTrace(int i, int j, MapTrace trace);
    void clearTraces() { m_traces.clear(); }

    // Volumes.
    int dim0() const { return m_dim0; }
    int dim1() const { return m_dim1; }
    int dim2() const { return m_dim2; }
    qint64 voxelCount() const { return m_voxelCount; }
    //! Element of voxel (i, j, k) in a volume whose second and third sizes are dim1, dim2.
    static qint64 voxelIndex(int dim1, int dim2, int i, int j, int k)
    {
        return (qint64(i) * dim1 + j) * dim2 + k;
    }
    bool hasRawVolume() const { return !m_rawVolume.empty(); }
    bool hasProcessedVolume() const { return !m_processedVolume.empty(); }
    const std::vector<qint16>& rawVolume() const { return m_rawVolume; }
    const std::vector<qint16>& processedVolume() const { return m_processedVolume; }

    //! Replaces the unprocessed volume and releases the processed one; the projections are
    //! remade with every range over its full axis. False, leaving no volumes (dimensions 0),
    //! when a dimension is not positive, the size does not match or memory runs out.
    bool setRawVolume(int dim0, int dim1, int dim2, std::vector<qint16> volume);
    //! Replaces the processed volume, of the unprocessed volume's dimensions. False, and the
    //! processed volume released, when there is no unprocessed volume or the size differs.
    bool setProcessedVolume(std::vector<qint16> volume);
    //! Releases both volumes and the projections; dimensions become 0.
    void releaseVolumes();

    //! ProcessedView or RawView (any value other than RawView is taken as ProcessedView).
    EScanProcessing viewingMode() const { return m_viewingMode; }
    //! Stores the mode, points the current volume at its volume, recomputes the projections.
    void setViewingMode(EScanProcessing eMode);
    //! The volume of the viewing mode, or null when it does not exist.
    const qint16* currentVolume() const { return m_currentVolume; }

    MapRange range0() const { return m_range0; }
    MapRange range1() const { return m_range1; }
    MapRange range2() const { return m_range2; }
    //! A changed pair is stored and the projections are recomputed; parts of a range outside
    //! the volume are left out of the projections.
    void setRange0(int first, int last);
    void setRange1(int first, int last);
    void setRange2(int first, int last);
    //! Each range over its full axis (0, dim − 1); recomputes the projections.
    void resetRanges();
    MapViewRanges viewRanges() const;

    //! Copy of the current volume at depth layer k: dim0 × dim1, index i·dim1 + j.
    MapPlane sliceC(int k) const;
    //! At vertical cell j: dim0 × dim2, index i·dim2 + k.
    MapPlane sliceB(int j) const;
    //! At horizontal cell i: dim2 × dim1, index k·dim1 + j.
    MapPlane sliceD(int i) const;
    //! The dim2 values of cell (i, j), a view into the current volume; empty out of range.
    std::span<const qint16> column(int i, int j) const;
    //! One value of the current volume; 0 without a volume or out of range.
    qint16 voxel(int i, int j, int k) const;
    //! Largest value (signed, from 0) over the inclusive box. 0 without a volume, when i1, j1
    //! or k1 is not below its dimension, or when a first index exceeds its last; negative
    //! first indices are taken as 0.
    qint16 boxMaximum(int i0, int i1, int j0, int j1, int k0, int k1) const;

    //! Maximum over range2: dim0 × dim1, index i·dim1 + j.
    const MapPlane& projectionC() const { return m_projectionC; }
    //! Maximum over range1: dim0 × dim2, index i·dim2 + k.
    const MapPlane& projectionB() const { return m_projectionB; }
    //! Maximum over range0: dim2 × dim1, index k·dim1 + j.
    const MapPlane& projectionD() const { return m_projectionD; }

    //! Releases volumes, projections and traces; the position counts become 0.
    void clear();

    // What the steps keep of the signals (mapdata_read.cpp).
    //! The samples later steps read: firstSample … firstSample + sampleSpan − 1 for the
    //! unprocessed volume, and what SAFT reaches over a volume of dim0 × dim1 × dim2 cells at
    //! the given voxel pitches (mm). Reading and preparing then keep only these and what their
    //! filters need around them (preparing releases the raw samples when done); a step that
    //! needs more reads the signal files again. Until planned (and after clear), whole signals
    //! are kept.
    void planSamples(int firstSample, int sampleSpan, int dim0, int dim1, int dim2, int pitchX, int pitchY);
    bool hasSamplePlan() const { return m_plan.active; }
    //! Samples [first, end) of the prepared signals that SAFT reads over the planned grid
    //! with the current velocity; the whole record without a plan.
    void saftSampleRange(int& first, int& end) const;
    //! True when the last step failed because a signal file could not be read again, or no
    //! longer holds the signal that was read when the map was opened.
    bool rereadFailed() const { return m_rereadFailed; }

    // Reading and the unprocessed volume (mapdata_read.cpp).
    //! Replaces the traces by the signals of the positions: each file's first sampleCount
    //! samples (a shorter file fails), normalised to 13 / sigma and band-pass filtered. A
    //! failed position keeps an all-zero trace and its path goes to pFailed. Progress after
    //! position k (from 0): round(100·k / total). True when every file was read.
    bool readSignals(const MapPositionTable& positions, QStringList* pFailed = nullptr);
    //! Builds the unprocessed volume from samples firstSample … firstSample + sampleSpan − 1 of
    //! every filtered signal, each position filling repH × repV cells, then a 3 × 3 mean per
    //! layer. Releases both volumes first; false, with no volume, on bad sizes or no memory.
    bool buildVolume(int dim0, int dim1, int dim2, int repH, int repV, int firstSample, int sampleSpan);
    //! n values to m non-negative values: the largest |x| of each source stretch when
    //! shrinking, each |x| repeated when stretching (16-bit: |−32768| stays −32768).
    static void resample(const qint16* x, int n, qint16* y, int m);

    // Preparing (mapdata_prepare.cpp).
    //! Fills every trace's prepared samples from its raw ones: normalised, windowed-sine FIR
    //! at the SAFT frequency, depth gain, and with Filter SW the weighted mean of all signals
    //! subtracted. Progress 90·k / traces, then 90 + 10·k / traces with Filter SW. False,
    //! prepared samples unchanged, when memory runs out; false when stopped.
    bool prepare(double recordDepth);
    //! The same with the direct convolution; for tests and benchmarks.
    bool prepareReference(double recordDepth);

    // SAFT (mapdata_saft.cpp).
    //! Replaces the processed volume by the SAFT reconstruction of the prepared signals over
    //! the unprocessed volume's grid with the given voxel pitches (mm). False, with no
    //! processed volume, when there is no unprocessed volume, a parameter is unusable, memory
    //! runs out or the progress callback says stop.
    bool processSAFT(int pitchX, int pitchY);
    //! The same by the straightforward loops; for tests and benchmarks.
    bool processSAFTReference(int pitchX, int pitchY);

private:
    struct SamplePlan
    {
        bool active = false;
        int volumeFirst = 0;
        int volumeSpan = 0;
        int dim0 = 0;
        int dim1 = 0;
        int pitchX = 0;
        int pitchY = 0;
        int dim2 = 0;
    };
    // What the band-pass filter was when the signals were read: their filtered samples keep
    // it, whatever the filter becomes later.
    struct ReadFilter
    {
        bool used = false;
        int period = 0;
        double bandwidth = 0.0;
    };

    bool prepareWith(double recordDepth, bool bFast);
    // Samples [from, to) of the raw signals that preparing samples [first, end) reads.
    void preparedInputSpan(int first, int end, int& from, int& to) const;
    // Reads the raw samples [from, to) of a trace again from its file; false when the file
    // cannot be read or no longer holds the signal read before. Safe on worker threads.
    bool rereadRaw(MapTrace& t, int from, int to) const;
    // Reads the filtered samples [first, first + span) of every trace that lacks them again.
    bool refillFiltered(int first, int span);
    bool processSAFTWith(int pitchX, int pitchY, bool bFast);
    // The reconstruction's geometry over this map's positions and signals, for the given cells.
    Saft::Geometry saftGeometry(int pitchX, int pitchY, int dim0, int dim1, int dim2) const;

    void updateCurrentVolume();
    void recomputeProjections();

    Vantar::ProgressFn m_progress;
    TraceTable m_traces;
    qint32 m_columns = 0;
    qint32 m_rows = 0;
    qint32 m_sampleCount = Vantar::kMapSampleCount;
    std::unique_ptr<BandPassFilter> m_filter;
    std::vector<qint16> m_rawVolume;
    std::vector<qint16> m_processedVolume;
    const qint16* m_currentVolume = nullptr;
    qint32 m_dim0 = 0;
    qint32 m_dim1 = 0;
    qint32 m_dim2 = 0;
    qint64 m_voxelCount = 0;
    EScanProcessing m_viewingMode = ProcessedView;
    qint32 m_stepH = 10;
    qint32 m_stepV = 10;
    SAFTsettings m_saft;
    MapPlane m_projectionC;
    MapPlane m_projectionB;
    MapPlane m_projectionD;
    MapRange m_range0;
    MapRange m_range1;
    MapRange m_range2;
    SamplePlan m_plan;
    ReadFilter m_readFilter;
    bool m_rereadFailed = false;
};
