// Preparing map signals for SAFT: normalise, windowed-sine FIR, depth gain, Filter SW.

#include "map/mapdata.h"

#include "map/numeric.h"
#include "map/parallel.h"
#include "map/preparefir.h"

#include "map/fftwsupport.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <new>

namespace {

constexpr double kEdgeAttenuation = -3.0;
constexpr double kNormalisedSigma = 300.0;
// Filter SW weights the mean fully up to this sample and ever less after it.
constexpr int kFullWeightSamples = 1499;

// floor(x) + 1 when x − floor(x) is at least 0.5, else floor(x); then kept to 16 bits by
// wrapping, as prepared samples always have been. Not finite gives 0.
qint16 roundWrap16(double x)
{
    if (!std::isfinite(x))
        return 0;
    const double fl = Vantar::floorExact(x);
    const double r = (x - fl >= 0.5) ? fl + 1.0 : fl;
    if (r > -2147483648.0 && r < 2147483648.0)
        return qint16(quint16(quint32(qint32(r)) & 0xFFFFu));
    const double m = std::fmod(r, 65536.0); // exact
    return qint16(quint16(quint32(qint32(m)) & 0xFFFFu));
}

// What every signal of one preparing run shares.
struct Fir
{
    int h = 0;
    int K = 1;
    bool bFilter = false;     // kernel parameters usable: filter; else normalise only
    std::vector<double> sine; // sine[k] at position k − h
    std::vector<double> reversed;
    double g = 1.0;           // sigma of the sine values × 300
    bool bGain = false;
    double gainSlope = 0.0;   // a of x[i] × (1 + a·i)

    bool setUp(const SAFTsettings& saft, int sampleCount, double recordDepth)
    {
        const double fMHz = saft.frequency / 1000.0;
        const double b = saft.bandwidth / 100.0;
        const double f = fMHz / 10.0; // cycles per sample at 10 samples per µs
        // A frequency that gives no sensible kernel leaves the signals unfiltered.
        const double hx = fMHz > 0 ? std::floor(20.0 / fMHz + 0.5) : -1.0;
        bFilter = hx >= 0 && hx <= sampleCount;
        h = bFilter ? int(hx) : 0;
        K = 2 * h + 1;
        if (bFilter) {
            try {
                std::vector<qint16> positions(static_cast<size_t>(K));
                for (int k = 0; k < K; ++k)
                    positions[size_t(k)] = qint16(std::clamp(k - h, -32768, 32767));
                std::vector<double> cosine(static_cast<size_t>(K));
                std::vector<double> window(static_cast<size_t>(K));
                sine.assign(size_t(K), 0.0);
                bFilter = PrepareFir::makeWindowedKernel(positions.data(), K, cosine.data(), sine.data(),
                                                         window.data(), f, b, kEdgeAttenuation);
                if (h > 32767)
                    bFilter = false; // positions would not fit their 16 bits
                if (bFilter) {
                    g = PrepareFir::populationSigma(sine.data(), K) * kNormalisedSigma;
                    bFilter = g > 0 && std::isfinite(g);
                }
                if (bFilter) {
                    reversed.assign(sine.rbegin(), sine.rend());
                }
            } catch (const std::bad_alloc&) {
                return false;
            }
        }
        bGain = saft.tcg != 0;
        if (bGain) {
            // The gain as the program has always defined it: G = 10^(tcg/20) × recordDepth.
            const double G = std::pow(10.0, saft.tcg / 20.0) * recordDepth;
            gainSlope = sampleCount > 1 ? (G - 1.0) / (sampleCount - 1) : 0.0;
        }
        return true;
    }

    // Normalisation before the FIR of samples [from, to) (x indexed by record sample); a flat
    // signal (sigma 0) becomes silence.
    static void normalise(const MapTrace& t, double* x, int from, int to)
    {
        const bool bFlat = !(t.sigma > 0) || !std::isfinite(t.sigma);
        for (int i = from; i < to; ++i) {
            const int at = i - t.rawFirst;
            x[i] = bFlat ? 0.0 : (at >= 0 && at < int(t.raw.size()) ? t.raw[size_t(at)] : 0) * kNormalisedSigma / t.sigma;
        }
    }

    // The depth gain of samples [from, to); sample 0 keeps its value.
    void finish(double* x, int from, int to) const
    {
        if (bGain)
            for (int i = std::max(from, 1); i < to; ++i)
                x[i] = x[i] * (1.0 + gainSlope * i);
    }
};

} // namespace

bool MapData::prepare(double recordDepth)
{
    return prepareWith(recordDepth, true);
}

bool MapData::prepareReference(double recordDepth)
{
    return prepareWith(recordDepth, false);
}

void MapData::preparedInputSpan(int first, int end, int& from, int& to) const
{
    from = first;
    to = end;
    Fir fir;
    if (first >= end || !fir.setUp(m_saft, m_sampleCount, 0.0) || !fir.bFilter)
        return;
    // The transform blocks of the correlator that reach [first, end), with their inputs.
    const qint64 size = Vantar::Fftw::blockSizeFor(fir.K, m_sampleCount);
    const qint64 block = size - fir.K + 1;
    if (block <= 0)
        return;
    from = int(std::clamp<qint64>(qint64(first) / block * block - fir.h, 0, m_sampleCount));
    to = int(std::clamp<qint64>(qint64(end - 1) / block * block - fir.h + size, 0, m_sampleCount));
}

bool MapData::prepareWith(double recordDepth, bool bFast)
{
    Vantar::keepLargeBuffers();
    m_rereadFailed = false;
    const int n = m_sampleCount;
    const int total = int(m_traces.size());
    // Only the samples SAFT reads are prepared, and only the raw samples their filter reads
    // are needed: the same values, sample for sample, as preparing whole signals.
    int first = 0;
    int end = n;
    saftSampleRange(first, end);
    int rawFrom = 0;
    int rawTo = n;
    preparedInputSpan(first, end, rawFrom, rawTo);
    Fir fir;
    std::vector<double> accumulator;
    std::vector<MapTrace*> traces;
    try {
        accumulator.assign(size_t(n), 0.0);
        traces.reserve(size_t(total));
        for (auto& [key, trace] : m_traces)
            traces.push_back(&trace);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!fir.setUp(m_saft, n, recordDepth))
        return false;
    // A trace that cannot be read again and lacks raw samples is given its zero arrays now.
    for (MapTrace* t : traces)
        if (t->path.isEmpty() && !t->holdsRaw(rawFrom, rawTo - rawFrom) && !t->allocate(n))
            return false;

    PrepareFir::Correlator correlator;
    if (bFast && fir.bFilter && !correlator.build(fir.sine.data(), fir.K, n))
        return false;

    int lastPercent = -1;
    auto report = [&](int percent) {
        if (percent == lastPercent)
            return true;
        lastPercent = percent;
        return !m_progress || m_progress(percent, 100);
    };

    // Signals are processed a batch at a time on the threads, then summed in key order, so
    // that the accumulator does not depend on how many threads ran.
    const int batch = bFast ? std::max(1, 8 * Vantar::workerThreads()) : 1;
    std::vector<double> work;
    try {
        work.assign(size_t(batch) * size_t(n) + (bFast ? 0 : size_t(n)), 0.0);
    } catch (const std::bad_alloc&) {
        return false;
    }

    std::atomic<bool> bReadFailed{false};
    int done = 0;
    for (int batchFirst = 0; batchFirst < total; batchFirst += batch) {
        const int count = std::min(batch, total - batchFirst);
        auto process = [&](int index, PrepareFir::Correlator::Workspace* ws) {
            MapTrace& t = *traces[size_t(batchFirst + index)];
            if (!t.holdsRaw(rawFrom, rawTo - rawFrom)) {
                // Released or too short a stretch: the signal file is read again.
                if (!rereadRaw(t, rawFrom, rawTo)) {
                    bReadFailed = true;
                    return false;
                }
            }
            double* x = work.data() + size_t(index) * size_t(n);
            if (fir.bFilter) {
                Fir::normalise(t, x, rawFrom, rawTo);
                if (ws) {
                    correlator.applyWindow(*ws, x, x, first, end - first);
                } else {
                    double* y = work.data() + size_t(batch) * size_t(n);
                    PrepareFir::convolveSame(x + rawFrom, 1, rawTo - rawFrom, fir.reversed.data(), 1, fir.K, y);
                    std::copy(y + (first - rawFrom), y + (end - rawFrom), x + first);
                }
                for (int i = first; i < end; ++i)
                    x[i] = x[i] / fir.g;
            } else {
                Fir::normalise(t, x, first, end);
            }
            fir.finish(x, first, end);
            try {
                if (int(t.prepared.size()) != end - first)
                    t.prepared = std::vector<qint16>(size_t(end - first));
            } catch (const std::bad_alloc&) {
                return false;
            }
            t.preparedFirst = first;
            for (int i = first; i < end; ++i)
                t.prepared[size_t(i - first)] = roundWrap16(x[i]);
            return true;
        };
        if (bFast) {
            // One task per thread, each with its own transform buffers for several signals.
            const int tasks = std::min(count, Vantar::workerThreads());
            auto strided = [&](int task) {
                PrepareFir::Correlator::WorkspacePtr ws;
                if (fir.bFilter && !(ws = correlator.makeWorkspace()))
                    return false;
                for (int index = task; index < count; index += tasks)
                    if (!process(index, ws.get()))
                        return false;
                return true;
            };
            if (!Vantar::runTasks(tasks, strided)) {
                m_rereadFailed = bReadFailed;
                return false;
            }
        } else if (!process(0, nullptr)) {
            m_rereadFailed = bReadFailed;
            return false;
        }
        for (int index = 0; index < count; ++index) {
            // Summed here in key order, whatever the threads did first.
            const double* x = work.data() + size_t(index) * size_t(n);
            for (int i = first; i < end; ++i)
                accumulator[size_t(i)] += x[i];
            ++done;
            if (!report(Vantar::roundedPercent(done, total, 90)))
                return false;
        }
    }

    if (m_saft.filterSW && total > 0) {
        // What all positions share, weighted down with depth, is taken from every signal.
        std::vector<qint16> mean;
        try {
            mean.assign(size_t(n), 0);
        } catch (const std::bad_alloc&) {
            return false;
        }
        for (int i = first; i < end; ++i) {
            const double w = i < kFullWeightSamples ? 1.0 : std::pow(1.0 / (i - (kFullWeightSamples - 1)), 0.3);
            mean[size_t(i)] = roundWrap16(w * accumulator[size_t(i)] / total);
        }
        for (int k = 0; k < total; ++k) {
            MapTrace& t = *traces[size_t(k)];
            for (int i = first; i < end; ++i) {
                qint16& p = t.prepared[size_t(i - first)];
                p = qint16(quint16(quint16(p) - quint16(mean[size_t(i)])));
            }
            if (!report(90 + Vantar::roundedPercent(k + 1, total, 10)))
                return false;
        }
    }
    if (m_plan.active) {
        // The raw samples are read again by the next preparing: the files hold them, and a
        // big map's raw signals would double what it keeps in memory.
        for (MapTrace* t : traces) {
            if (t->path.isEmpty())
                continue;
            t->raw = std::vector<qint16>();
            t->rawFirst = 0;
        }
        Vantar::releaseFreedMemory();
    }
    return true;
}
