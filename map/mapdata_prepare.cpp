// Preparing map signals for SAFT: normalise, windowed-sine FIR, depth gain, Filter SW.

#include "map/mapdata.h"

#include "map/numeric.h"
#include "map/parallel.h"
#include "map/preparefir.h"

#include <algorithm>
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

    // Normalisation before the FIR; a flat signal (sigma 0) becomes silence.
    static void normalise(const MapTrace& t, double* x, int n)
    {
        const bool bFlat = !(t.sigma > 0) || !std::isfinite(t.sigma);
        for (int i = 0; i < n; ++i)
            x[i] = bFlat ? 0.0 : (i < int(t.raw.size()) ? t.raw[size_t(i)] : 0) * kNormalisedSigma / t.sigma;
    }

    void finish(double* x, int n) const
    {
        if (bGain)
            for (int i = 1; i < n; ++i)
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

bool MapData::prepareWith(double recordDepth, bool bFast)
{
    Vantar::keepLargeBuffers();
    const int n = m_sampleCount;
    const int total = int(m_traces.size());
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
    // A trace whose arrays were never allocated is given its zero arrays now.
    for (MapTrace* t : traces)
        if (int(t->prepared.size()) != n || int(t->raw.size()) != n)
            if (!t->allocate(n))
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

    int done = 0;
    for (int first = 0; first < total; first += batch) {
        const int count = std::min(batch, total - first);
        auto process = [&](int index, PrepareFir::Correlator::Workspace* ws) {
            double* x = work.data() + size_t(index) * size_t(n);
            Fir::normalise(*traces[size_t(first + index)], x, n);
            if (fir.bFilter) {
                if (ws) {
                    correlator.apply(*ws, x, x);
                } else {
                    double* y = work.data() + size_t(batch) * size_t(n);
                    PrepareFir::convolveSame(x, 1, n, fir.reversed.data(), 1, fir.K, y);
                    std::copy(y, y + n, x);
                }
                for (int i = 0; i < n; ++i)
                    x[i] = x[i] / fir.g;
            }
            fir.finish(x, n);
            MapTrace& out = *traces[size_t(first + index)];
            for (int i = 0; i < n; ++i)
                out.prepared[size_t(i)] = roundWrap16(x[i]);
        };
        if (bFast) {
            // One task per thread, each with its own transform buffers for several signals.
            const int tasks = std::min(count, Vantar::workerThreads());
            auto strided = [&](int task) {
                PrepareFir::Correlator::WorkspacePtr ws;
                if (fir.bFilter && !(ws = correlator.makeWorkspace()))
                    return false;
                for (int index = task; index < count; index += tasks)
                    process(index, ws.get());
                return true;
            };
            if (!Vantar::runTasks(tasks, strided))
                return false;
        } else {
            process(0, nullptr);
        }
        for (int index = 0; index < count; ++index) {
            // Summed here in key order, whatever the threads did first.
            const double* x = work.data() + size_t(index) * size_t(n);
            for (int i = 0; i < n; ++i)
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
        for (int i = 0; i < n; ++i) {
            const double w = i < kFullWeightSamples ? 1.0 : std::pow(1.0 / (i - (kFullWeightSamples - 1)), 0.3);
            mean[size_t(i)] = roundWrap16(w * accumulator[size_t(i)] / total);
        }
        for (int k = 0; k < total; ++k) {
            MapTrace& t = *traces[size_t(k)];
            for (int i = 0; i < n; ++i)
                t.prepared[size_t(i)] = qint16(quint16(quint16(t.prepared[size_t(i)]) - quint16(mean[size_t(i)])));
            if (!report(90 + Vantar::roundedPercent(k + 1, total, 10)))
                return false;
        }
    }
    return true;
}
