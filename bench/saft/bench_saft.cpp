// SAFT: the sample-major, vectorised, multi-threaded reconstruction against the straightforward
// loops on a generated 30 × 20 map (10 mm steps, 500 mm depth: volume 60 × 40 × 100), with
// every vector kernel the machine has; then the fast path alone on 100 × 100 positions
// (200 × 200 × 100) with its time and peak memory.
//
// Usage: bench_saft [--big-only | --small-only]

#include "../benchmemory.h"
#include "map/mapdata.h"
#include "map/mapgenerator.h"
#include "map/mapvolumegrid.h"
#include "map/parallel.h"
#include "map/saftkernel.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Processor time of all threads of the process so far.
double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

Saft::Geometry geometry(int columns, int rows, int step, int depthMm)
{
    const MapVolumeGrid grid = MapVolumeGrid::compute(columns, rows, step, step, depthMm / 1000.0);
    Saft::Geometry g;
    g.columns = columns;
    g.rows = rows;
    g.stepH = g.stepV = step;
    g.pitchX = grid.pitchX;
    g.pitchY = grid.pitchY;
    g.dim0 = grid.dim0;
    g.dim1 = grid.dim1;
    g.dim2 = grid.dim2;
    g.sampleCount = Vantar::kMapSampleCount;
    g.velocity = 2.6;
    return g;
}

// The 30 × 20 comparison; returns the speedup of the best kernel on every thread.
double compareSmall()
{
    // Prepared signals of a generated map with three reflectors, as the program makes them.
    MapGeneratorOptions o;
    o.columns = 30;
    o.rows = 20;
    o.reflectors = {{150, 100, 200, 1.0}, {60, 40, 350, 0.7}, {250, 170, 120, 0.5}};
    MapData data;
    for (int j = 1; j <= o.rows; ++j)
        for (int i = 1; i <= o.columns; ++i) {
            MapTrace t;
            t.allocate(Vantar::kMapSampleCount);
            t.raw = MapGenerator::signal(o, i, j);
            double mean = 0, sq = 0;
            for (qint16 v : t.raw)
                mean += v;
            mean /= double(t.raw.size());
            for (qint16 v : t.raw)
                sq += (v - mean) * (v - mean);
            t.sigma = std::sqrt(sq / double(t.raw.size()));
            data.setTrace(i, j, std::move(t));
        }
    data.prepare(Vantar::kMapSampleCount * 10.0 / 100 * 2600 / 1000 / 2 / 1000);
    const Saft::Geometry g = geometry(o.columns, o.rows, o.stepH, 500);
    Saft::Signals s(size_t(g.columns) * size_t(g.rows), nullptr);
    for (const auto& [key, t] : data.traces())
        s[size_t(Saft::signalIndex(g, key.i, key.j))] = t.prepared.data();
    const size_t voxels = size_t(g.voxelCount());

    auto t0 = std::chrono::steady_clock::now();
    std::vector<double> refAcc(voxels, 0.0);
    Saft::accumulateReference(g, s, refAcc.data());
    std::vector<qint16> refOut(voxels, 0);
    Saft::envelopeReference(g, refAcc.data(), refOut.data());
    const double tRef = seconds(t0);
    std::printf("30x20 map, volume %dx%dx%d: reference loops %.3f s\n", g.dim0, g.dim1, g.dim2, tRef);

    double speedup = 0;
    // Best kernel first, then the narrower ones.
    for (int path : {2, 1, 0}) {
        Saft::setVectorPath(path);
        const char* name = Saft::vectorPath();
        if (path != 2 && std::strcmp(name, (path == 1 ? "avx2" : "plain")) != 0)
            continue; // the machine has no such kernel
        std::vector<qint16> fastOut(voxels, 0);
        double tFast = 1e9;
        for (int run = 0; run < 3; ++run) {
            t0 = std::chrono::steady_clock::now();
            Saft::reconstructFast(g, s, fastOut.data());
            tFast = std::min(tFast, seconds(t0));
        }
        Vantar::setWorkerThreads(1);
        double tOne = 1e9;
        std::vector<qint16> oneOut(voxels, 0);
        for (int run = 0; run < 2; ++run) {
            t0 = std::chrono::steady_clock::now();
            Saft::reconstructFast(g, s, oneOut.data());
            tOne = std::min(tOne, seconds(t0));
        }
        Vantar::setWorkerThreads(0);
        std::vector<double> fastAcc(voxels, 0.0);
        Saft::accumulateFast(g, s, fastAcc.data());

        int maxDiff = 0;
        for (size_t v = 0; v < voxels; ++v) {
            maxDiff = std::max(maxDiff, std::abs(int(fastOut[v]) - int(refOut[v])));
            maxDiff = std::max(maxDiff, std::abs(int(oneOut[v]) - int(refOut[v])));
        }
        double maxRel = 0;
        for (size_t v = 0; v < voxels; ++v) {
            const double scale = std::max(std::abs(refAcc[v]), 1e-300);
            maxRel = std::max(maxRel, std::abs(fastAcc[v] - refAcc[v]) / scale);
        }
        std::printf("  %-6s %d threads %.4f s (1 thread %.4f s), speedup %.1f (1 thread %.1f), output maxdiff %d, "
                    "accumulator max relative difference %.3g\n",
                    name, Vantar::workerThreads(), tFast, tOne, tRef / tFast, tRef / tOne, maxDiff, maxRel);
        std::fflush(stdout);
        if (path == 2)
            speedup = tRef / tFast;
        if (maxDiff != 0)
            speedup = -1; // reported below as a failure
    }
    Saft::setVectorPath(2);
    return speedup;
}

} // namespace

int main(int argc, char* argv[])
{
    const bool bBigOnly = argc > 1 && std::strcmp(argv[1], "--big-only") == 0;
    const double speedup = bBigOnly ? 0 : compareSmall();
    if (argc > 1 && std::strcmp(argv[1], "--small-only") == 0) {
        std::printf("speedup=%.1f maxdiff=%d\n", speedup, speedup < 0 ? 1 : 0);
        return 0;
    }

    // Large: 100 × 100 positions of distinct signals; only the fast path.
    const Saft::Geometry big = geometry(100, 100, 10, 500);
    std::vector<std::vector<qint16>> store(size_t(big.columns) * size_t(big.rows));
    quint32 state = 12345;
    for (auto& v : store) {
        v.resize(Vantar::kMapSampleCount);
        for (qint16& x : v) {
            state = state * 1664525u + 1013904223u;
            x = qint16(int(state >> 20) - 2048);
        }
    }
    Saft::Signals bs;
    for (auto& v : store)
        bs.push_back(v.data());
    const double signalMb = double(store.size()) * Vantar::kMapSampleCount * 2 / (1 << 20);
    const double volumeMb = double(big.voxelCount()) * 2 / (1 << 20);
    Bench::resetPeak();
    const long before = Bench::statusKb("VmRSS:");
    const auto t0 = std::chrono::steady_clock::now();
    const double cpu0 = cpuSeconds();
    std::vector<qint16> out(size_t(big.voxelCount()), 0);
    Saft::reconstructFast(big, bs, out.data());
    const double tBig = seconds(t0);
    const double cpuBig = cpuSeconds() - cpu0;
    const long peak = Bench::statusKb("VmHWM:");
    std::printf("100x100 map, volume %dx%dx%d: fast %.2f s on %d threads (%.2f s of processor time, %.3g "
                "contributions/s); signals %.0f MB, 16-bit volume %.1f MB, peak memory above the signals %.1f MB "
                "(%.0f bytes per position, %.2f per voxel)\n",
                big.dim0, big.dim1, big.dim2, tBig, Vantar::workerThreads(), cpuBig,
                double(store.size()) * double(big.voxelCount()) / tBig, signalMb, volumeMb, (peak - before) / 1024.0,
                (peak - before) * 1024.0 / double(store.size()), (peak - before) * 1024.0 / double(big.voxelCount()));
    if (!bBigOnly)
        std::printf("speedup=%.1f maxdiff=%d\n", speedup, speedup < 0 ? 1 : 0);
    return 0;
}
