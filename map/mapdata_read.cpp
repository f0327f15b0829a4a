// Reading a map's signal files into MapData and building its unprocessed volume.

#include "map/mapdata.h"

#include "map/numeric.h"
#include "map/parallel.h"
#include "map/preparefir.h"
#include "map/saftkernel.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <new>

namespace {

qint16 abs16(qint16 v)
{
    // The 16-bit negation of −32768 is −32768 again.
    return v == std::numeric_limits<qint16>::min() ? v : qint16(v < 0 ? -v : v);
}

qint16 saturate16(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 32767.0)
        return 32767;
    if (v <= -32768.0)
        return -32768;
    return qint16(v);
}

// Reads the first n samples (little-endian) of a signal file; false when it is missing,
// cannot be opened or holds fewer bytes.
bool readSignalFile(const QString& path, qint16* samples, int n, std::vector<char>& bytes)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    const qint64 wanted = qint64(n) * 2;
    bytes.resize(size_t(wanted));
    if (file.read(bytes.data(), wanted) != wanted)
        return false;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    for (int k = 0; k < n; ++k)
        samples[k] = qint16(quint16(b[2 * k]) | quint16(quint16(b[2 * k + 1]) << 8));
    return true;
}

} // namespace

namespace {

// One signal file's samples normalised to 13 / sigma, as reading has always made them.
void normaliseForFilter(const qint16* raw, int n, double sigma, qint16* out)
{
    // A constant signal has no spread to normalise by: it reads as silence.
    const bool bFlat = !(sigma > 0);
    for (int k = 0; k < n; ++k)
        out[k] = bFlat ? qint16(0) : saturate16(Vantar::floorExact(13.0 * raw[k] / sigma + 0.5));
}

double populationSigma(const qint16* x, int n)
{
    // Every partial sum is an integer far below 2^53, so the integer sum is the double sum
    // taken sample by sample, to the last bit.
    qint64 total = 0;
    for (int k = 0; k < n; ++k)
        total += x[k];
    const double mean = double(total) / n;
    double squares = 0.0;
    for (int k = 0; k < n; ++k) {
        const double d = x[k] - mean;
        squares += d * d;
    }
    return std::sqrt(squares / n);
}

// Buffers of one reading thread.
struct ReadScratch
{
    std::vector<char> bytes;
    std::vector<qint16> samples;
    std::vector<qint16> normalised;
};

// What to take from one signal file: raw samples [rawFrom, rawTo), filtered samples
// [filteredFrom, filteredTo) (through filter, or only normalised without one).
struct ReadWanted
{
    int rawFrom = 0;
    int rawTo = 0;
    int filteredFrom = 0;
    int filteredTo = 0;
    BandPassFilter* filter = nullptr;
};

// Reads a signal file into t (sigma, and the wanted stretches replacing the arrays). With
// bCheck the file must still give the sigma t has: it is the signal read before. False when
// the file cannot be read, or memory runs out (then bOutOfMemory).
bool readIntoTrace(MapTrace& t, const QString& path, int n, const ReadWanted& w, bool bCheck, ReadScratch& s,
                   bool& bOutOfMemory)
{
    bOutOfMemory = false;
    try {
        s.samples.resize(size_t(n));
        if (!readSignalFile(path, s.samples.data(), n, s.bytes))
            return false;
        const double sigma = populationSigma(s.samples.data(), n);
        if (bCheck && !(sigma == t.sigma || (std::isnan(sigma) && std::isnan(t.sigma))))
            return false;
        t.sigma = sigma;
        if (w.rawTo > w.rawFrom) {
            t.raw.assign(s.samples.begin() + w.rawFrom, s.samples.begin() + w.rawTo);
            t.rawFirst = w.rawFrom;
        }
        if (w.filteredTo > w.filteredFrom) {
            // Only the samples the filter reads for the window are normalised.
            int from = w.filteredFrom;
            int to = w.filteredTo;
            if (w.filter)
                w.filter->mapWindowInput(n, w.filteredFrom, w.filteredTo - w.filteredFrom, from, to);
            s.normalised.resize(size_t(n));
            normaliseForFilter(s.samples.data() + from, to - from, sigma, s.normalised.data() + from);
            std::vector<qint16> filtered(size_t(w.filteredTo - w.filteredFrom));
            if (!w.filter || !w.filter->filterMapWindow(s.normalised.data(), n, w.filteredFrom,
                                                        w.filteredTo - w.filteredFrom, filtered.data()))
                std::copy(s.normalised.begin() + w.filteredFrom, s.normalised.begin() + w.filteredTo,
                          filtered.begin());
            t.filtered = std::move(filtered);
            t.filteredFirst = w.filteredFrom;
        }
    } catch (const std::bad_alloc&) {
        bOutOfMemory = true;
        return false;
    }
    return true;
}

} // namespace

void MapData::planSamples(int firstSample, int sampleSpan, int dim0, int dim1, int dim2, int pitchX, int pitchY)
{
    m_plan.active = true;
    m_plan.volumeFirst = std::clamp(firstSample, 0, m_sampleCount);
    m_plan.volumeSpan = std::clamp(sampleSpan, 0, m_sampleCount - m_plan.volumeFirst);
    m_plan.dim0 = dim0;
    m_plan.dim1 = dim1;
    m_plan.dim2 = dim2;
    m_plan.pitchX = pitchX;
    m_plan.pitchY = pitchY;
}

void MapData::saftSampleRange(int& first, int& end) const
{
    first = 0;
    end = m_sampleCount;
    if (!m_plan.active)
        return;
    const Saft::Geometry g = saftGeometry(m_plan.pitchX, m_plan.pitchY, m_plan.dim0, m_plan.dim1, m_plan.dim2);
    if (!g.isValid())
        return;
    Saft::sampleRange(g, first, end);
}

bool MapData::readSignals(const MapPositionTable& positions, QStringList* pFailed)
{
    m_traces.clear();
    m_rereadFailed = false;
    const int n = m_sampleCount;
    const int total = int(positions.size());
    if (total == 0)
        return true;

    // Every entry exists before the threads start, so that they only fill their own trace.
    std::vector<std::pair<QString, MapTrace*>> jobs;
    try {
        jobs.reserve(size_t(total));
        for (const auto& [key, path] : positions)
            jobs.emplace_back(path, &m_traces[key]);
    } catch (const std::bad_alloc&) {
        m_traces.clear();
        return false;
    }

    // The filter's kernels and transforms are built here once; afterwards filtering only
    // reads them, so the threads may share the filter.
    PrepareFir::makeFftwThreadSafe();
    Vantar::keepLargeBuffers();
    bool bFilter = m_filter->ensureKernels();
    if (bFilter) {
        std::vector<qint16> warm(size_t(n), 0);
        std::vector<qint16> warmOut(1, 0);
        bFilter = m_filter->filterMapWindow(warm.data(), n, 0, 1, warmOut.data());
    }
    m_readFilter.used = bFilter;
    m_readFilter.period = m_filter->period();
    m_readFilter.bandwidth = m_filter->bandwidth();

    // With a plan only the volume's window of the filtered signals and what preparing reads
    // of the raw ones are kept; without one, whole signals.
    ReadWanted wanted;
    wanted.filter = bFilter ? m_filter.get() : nullptr;
    wanted.rawTo = wanted.filteredTo = n;
    if (m_plan.active) {
        wanted.filteredFrom = m_plan.volumeFirst;
        wanted.filteredTo = m_plan.volumeFirst + m_plan.volumeSpan;
        int first = 0;
        int end = 0;
        saftSampleRange(first, end);
        preparedInputSpan(first, end, wanted.rawFrom, wanted.rawTo);
    }

    std::vector<char> failedFlags(static_cast<size_t>(total), 0);
    // A few positions per task, so that the buffers are reused rather than made anew.
    constexpr int kPerTask = 4;
    const int tasks = (total + kPerTask - 1) / kPerTask;
    auto task = [&](int index) {
        ReadScratch scratch;
        const int last = std::min(total, (index + 1) * kPerTask);
        for (int p = index * kPerTask; p < last; ++p) {
            MapTrace trace;
            trace.count = n;
            trace.path = jobs[size_t(p)].first;
            bool bOutOfMemory = false;
            if (!readIntoTrace(trace, trace.path, n, wanted, false, scratch, bOutOfMemory)) {
                if (bOutOfMemory)
                    return false; // the step fails
                // A failed position keeps an all-zero trace.
                const QString path = trace.path;
                if (!trace.allocate(n))
                    return false;
                trace.path = path;
                failedFlags[size_t(p)] = 1;
            }
            *jobs[size_t(p)].second = std::move(trace);
        }
        return true;
    };

    int lastPercent = -1;
    auto progress = [&](int finished) {
        // After position k (from 0) the bar shows round(100·k / total); a task reads a few.
        const int last = std::min(total, finished * kPerTask) - 1;
        for (int k = std::max(0, (finished - 1) * kPerTask); k <= last; ++k) {
            const int percent = Vantar::roundedPercent(k, total);
            if (percent == lastPercent)
                continue;
            lastPercent = percent;
            if (m_progress && !m_progress(percent, 100))
                return false;
        }
        return true;
    };
    const bool bRan = Vantar::runTasks(tasks, task, progress);

    int failures = 0;
    for (int k = 0; k < total; ++k) {
        if (!failedFlags[size_t(k)])
            continue;
        ++failures;
        if (pFailed)
            pFailed->append(jobs[size_t(k)].first);
    }
    if (!bRan) {
        // Stopped or out of memory: no half-read signals are kept.
        m_traces.clear();
        return false;
    }
    return failures == 0;
}

bool MapData::rereadRaw(MapTrace& t, int from, int to) const
{
    if (t.path.isEmpty())
        return false;
    ReadWanted wanted;
    wanted.rawFrom = from;
    wanted.rawTo = to;
    ReadScratch scratch;
    bool bOutOfMemory = false;
    return readIntoTrace(t, t.path, m_sampleCount, wanted, true, scratch, bOutOfMemory);
}

bool MapData::refillFiltered(int first, int span)
{
    std::vector<MapTrace*> lacking;
    for (auto& [key, trace] : m_traces)
        if (!trace.holdsFiltered(first, span) && !trace.path.isEmpty())
            lacking.push_back(&trace);
    if (lacking.empty())
        return true;
    // The filter the signals were read with, not the one set since.
    BandPassFilter filter;
    filter.setPeriod(m_readFilter.period);
    filter.setBandwidth(m_readFilter.bandwidth);
    ReadWanted wanted;
    if (m_readFilter.used) {
        std::vector<qint16> warm(size_t(m_sampleCount), 0);
        std::vector<qint16> warmOut(1, 0);
        if (!filter.filterMapWindow(warm.data(), m_sampleCount, 0, 1, warmOut.data()))
            return false;
        wanted.filter = &filter;
    }
    wanted.filteredFrom = first;
    wanted.filteredTo = first + span;
    constexpr int kPerTask = 8;
    const int total = int(lacking.size());
    std::atomic<bool> bReadFailed{false};
    auto task = [&](int index) {
        ReadScratch scratch;
        for (int p = index * kPerTask; p < std::min(total, (index + 1) * kPerTask); ++p) {
            MapTrace& t = *lacking[size_t(p)];
            bool bOutOfMemory = false;
            if (!readIntoTrace(t, t.path, m_sampleCount, wanted, true, scratch, bOutOfMemory)) {
                if (!bOutOfMemory)
                    bReadFailed = true;
                return false;
            }
        }
        return true;
    };
    const bool bOk = Vantar::runTasks((total + kPerTask - 1) / kPerTask, task);
    m_rereadFailed = bReadFailed;
    return bOk;
}

void MapData::resample(const qint16* x, int n, qint16* y, int m)
{
    if (!y || m <= 0)
        return;
    std::fill(y, y + m, qint16(0));
    if (!x || n <= 0)
        return;
    if (n > m) {
        const double r = double(n) / m;
        for (int k = 0; k < m; ++k) {
            const int from = int(std::trunc(k * r));
            const int to = std::min(n, int(std::trunc((k + 1) * r)));
            if (from >= to)
                continue;
            qint16 best = abs16(x[from]);
            for (int s = from + 1; s < to; ++s)
                best = std::max(best, abs16(x[s]));
            y[k] = best;
        }
    } else if (n < m) {
        const double r = double(m) / n;
        for (int s = 0; s < n; ++s) {
            const int from = int(std::trunc(s * r));
            const int to = std::min(m, int(std::trunc((s + 1) * r)));
            for (int d = from; d < to; ++d)
                y[d] = abs16(x[s]);
        }
    } else {
        for (int k = 0; k < n; ++k)
            y[k] = abs16(x[k]);
    }
}

bool MapData::buildVolume(int dim0, int dim1, int dim2, int repH, int repV, int firstSample, int sampleSpan)
{
    releaseVolumes();
    if (dim0 <= 0 || dim1 <= 0 || dim2 <= 0 || repH < 0 || repV < 0)
        return false;
    // A window outside the record would read past the signals.
    if (firstSample < 0 || sampleSpan < 1 || qint64(firstSample) + sampleSpan > m_sampleCount)
        return false;
    const qint64 count = qint64(dim0) * qint64(dim1) * qint64(dim2);
    // The work and the unprocessed volume, and later the processed one with its accumulator.
    if (count * qint64(2 * sizeof(qint16)) > Vantar::kMapMemoryLimit)
        return false;
    // A window beyond what reading kept is read again from the signal files.
    m_rereadFailed = false;
    if (!refillFiltered(firstSample, sampleSpan))
        return false;

    std::vector<qint16> work;
    std::vector<qint16> volume;
    std::vector<qint16> column;
    try {
        work.assign(size_t(count), 0);
        volume.assign(size_t(count), 0);
        column.assign(size_t(dim2), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }

    for (int i = 1; i <= m_columns; ++i) {
        for (int j = 1; j <= m_rows; ++j) {
            const MapTrace* t = trace(i, j);
            if (t && t->holdsFiltered(firstSample, sampleSpan))
                resample(t->filtered.data() + (firstSample - t->filteredFirst), sampleSpan, column.data(), dim2);
            else
                std::fill(column.begin(), column.end(), qint16(0));
            const int a1 = int(std::min<qint64>(dim0, qint64(i) * repH));
            const int b1 = int(std::min<qint64>(dim1, qint64(j) * repV));
            for (qint64 a = qint64(i - 1) * repH; a < a1; ++a)
                for (qint64 b = qint64(j - 1) * repV; b < b1; ++b)
                    std::copy(column.begin(), column.end(), work.begin() + qsizetype((a * dim1 + b) * dim2));
        }
    }
    column = std::vector<qint16>();

    // 3 × 3 mean within each layer; edge cells average the neighbours that exist.
    std::vector<double> sum(static_cast<size_t>(dim2));
    for (int a = 0; a < dim0; ++a) {
        for (int b = 0; b < dim1; ++b) {
            std::fill(sum.begin(), sum.end(), 0.0);
            int cells = 0;
            for (int na = a - 1; na <= a + 1; ++na) {
                if (na < 0 || na >= dim0)
                    continue;
                for (int nb = b - 1; nb <= b + 1; ++nb) {
                    if (nb < 0 || nb >= dim1)
                        continue;
                    ++cells;
                    const qint16* src = work.data() + (qint64(na) * dim1 + nb) * dim2;
                    for (int k = 0; k < dim2; ++k)
                        sum[size_t(k)] += src[k];
                }
            }
            qint16* dst = volume.data() + (qint64(a) * dim1 + b) * dim2;
            for (int k = 0; k < dim2; ++k)
                dst[k] = saturate16(std::floor(sum[size_t(k)] / cells + 0.5));
        }
    }
    work = std::vector<qint16>();
    return setRawVolume(dim0, dim1, dim2, std::move(volume));
}
