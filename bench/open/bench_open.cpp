// Opening generated maps the way the program does it: configuration, folder, reading and
// filtering, volume, preparing, SAFT. First the 30 × 20 map against the straightforward
// sequence (direct FIR and the SAFT loops on one thread), then a table of map sizes with the
// time of each step, the peak memory and the SAFT contributions (positions × voxels) per
// second, from which growth with positions × voxels can be read off.
//
// Usage: bench_open [--big] [--cache DIR]
//   --big        adds the 100 × 100 map (782 MB of signal files, written once)
//   --cache DIR  where the maps are kept between runs (default: VANTAR_BENCH_CACHE, else
//                vantar-bench-maps in the temporary folder)

#include "../benchmemory.h"
#include "map/depthconversion.h"
#include "map/mapdata.h"
#include "map/mapgenerator.h"
#include "map/mapopener.h"
#include "map/parallel.h"
#include "map/saftkernel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

class Timing : public MapStepReporter
{
public:
    QElapsedTimer timer;
    double seconds[3] = {0, 0, 0};
    double total = 0;

    void stepStarted(MapStep, const QString&, const QString&) override { timer.start(); }
    void stepFinished(MapStep eStep, bool) override
    {
        const double s = timer.nsecsElapsed() / 1e9;
        seconds[int(eStep)] += s;
        total += s;
    }
};

MapGeneratorOptions mapOptions(int columns, int rows)
{
    MapGeneratorOptions o;
    o.columns = columns;
    o.rows = rows;
    o.depth = 500;
    o.reflectors = {{columns * 5.0, rows * 5.0, 200, 1.0}, {columns * 2.0, rows * 2.0, 350, 0.7}};
    return o;
}

// The map of columns × rows in the cache, written when it is not there complete.
QString cachedMap(const QString& cache, int columns, int rows)
{
    const QString folder = QStringLiteral("%1/map%2x%3").arg(cache).arg(columns).arg(rows);
    const QString config = folder + QStringLiteral("/map.cfg");
    const QString last = folder + QStringLiteral("/%1_%2.raw").arg(columns).arg(rows);
    if (QFileInfo(config).exists() && QFileInfo(last).size() == qint64(Vantar::kMapSampleCount) * 2)
        return config;
    std::printf("writing the %d x %d map into %s ...\n", columns, rows, qPrintable(folder));
    std::fflush(stdout);
    QDir(folder).removeRecursively();
    QString error;
    if (!QDir().mkpath(folder) || !MapGenerator::write(folder, mapOptions(columns, rows), &error)) {
        std::printf("cannot write the map: %s\n", qPrintable(error));
        return {};
    }
    return config;
}

struct Opened
{
    double seconds = 0;
    Timing timing;
    MapOpenResult result;
};

bool openOnce(MapData& data, const QString& config, Opened& out)
{
    MapOpenRequest request;
    request.configPath = config;
    request.useStoredSettings = false;
    QElapsedTimer all;
    all.start();
    out.result = MapOpener::open(data, request, &out.timing);
    out.seconds = all.nsecsElapsed() / 1e9;
    if (!out.result.processed) {
        std::printf("opening failed: %s\n", qPrintable(out.result.message));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    bool bBig = false;
    QString cache = qEnvironmentVariable("VANTAR_BENCH_CACHE");
    for (int k = 1; k < argc; ++k) {
        if (std::strcmp(argv[k], "--big") == 0)
            bBig = true;
        else if (std::strcmp(argv[k], "--cache") == 0 && k + 1 < argc)
            cache = QString::fromLocal8Bit(argv[++k]);
    }
    if (cache.isEmpty())
        cache = QDir::tempPath() + QStringLiteral("/vantar-bench-maps");
    std::printf("SAFT kernel: %s, %d threads\n", Saft::vectorPath(), Vantar::workerThreads());

    // 30 × 20 against the straightforward sequence.
    const QString config30 = cachedMap(cache, 30, 20);
    if (config30.isEmpty())
        return 1;
    double best = 1e9;
    std::vector<qint16> fastRaw;
    std::vector<qint16> fastProcessed;
    {
        MapData data;
        for (int run = 0; run < 3; ++run) {
            Opened o;
            if (!openOnce(data, config30, o))
                return 1;
            std::printf("open %.3f s: reading %.3f s, preparing %.3f s, SAFT %.3f s, configuration, folder and "
                        "volume %.3f s\n",
                        o.seconds, o.timing.seconds[0], o.timing.seconds[1], o.timing.seconds[2],
                        o.seconds - o.timing.total);
            best = std::min(best, o.seconds);
        }
        fastRaw = data.rawVolume();
        fastProcessed = data.processedVolume();
    }

    // The straightforward sequence on one thread: whole signals, direct FIR, SAFT loops.
    Vantar::setWorkerThreads(1);
    MapData ref;
    Opened r;
    if (!openOnce(ref, config30, r))
        return 1;
    const double tRead = r.seconds - r.timing.seconds[1] - r.timing.seconds[2];
    QElapsedTimer step;
    step.start();
    ref.prepareReference(sampleToDepth(r.result.config.settings, ref.sampleCount()));
    const double tPrep = step.nsecsElapsed() / 1e9;
    step.start();
    ref.processSAFTReference(r.result.grid.pitchX, r.result.grid.pitchY);
    const double tSaft = step.nsecsElapsed() / 1e9;
    Vantar::setWorkerThreads(0);
    const double tRef = tRead + tPrep + tSaft;
    int maxDiff = 0;
    for (size_t v = 0; v < fastProcessed.size(); ++v)
        maxDiff = std::max(maxDiff, std::abs(int(fastProcessed[v]) - int(ref.processedVolume()[v])));
    const bool bRawSame = fastRaw == ref.rawVolume();
    std::printf("straightforward on 1 thread: reading and volume %.3f s, direct FIR %.3f s, SAFT loops %.3f s; "
                "unprocessed volume %s\n",
                tRead, tPrep, tSaft, bRawSame ? "identical" : "DIFFERS");
    ref.clear();
    Vantar::releaseFreedMemory();

    // Scaling.
    std::vector<std::pair<int, int>> sizes = {{10, 10}, {30, 20}, {60, 60}};
    if (bBig)
        sizes.push_back({100, 100});
    std::printf("\n%-9s %-15s %8s %8s %8s %8s %9s %10s %7s %12s\n", "map", "volume", "read s", "prep s", "SAFT s",
                "open s", "signal MB", "peak MB", "x sig", "contrib/s");
    for (const auto& [columns, rows] : sizes) {
        const QString config = cachedMap(cache, columns, rows);
        if (config.isEmpty())
            return 1;
        const double signalMb = double(columns) * rows * Vantar::kMapSampleCount * 2 / 1e6;
        Vantar::releaseFreedMemory();
        Bench::resetPeak();
        Opened o;
        {
            MapData data;
            if (!openOnce(data, config, o))
                return 1;
        }
        const double peakMb = Bench::statusKb("VmHWM:") * 1024.0 / 1e6;
        const MapVolumeGrid& g = o.result.grid;
        const double contributions = double(columns) * rows * double(g.voxelCount());
        std::printf("%3dx%-5d %4dx%4dx%-5d %8.3f %8.3f %8.3f %8.3f %9.0f %10.0f %7.2f %12.3g\n", columns, rows, g.dim0,
                    g.dim1, g.dim2, o.timing.seconds[0], o.timing.seconds[1], o.timing.seconds[2], o.seconds, signalMb,
                    peakMb, peakMb / signalMb, contributions / std::max(o.timing.seconds[2], 1e-9));
        std::fflush(stdout);
    }
    std::printf("speedup=%.1f maxdiff=%d open30x20=%.3f\n", tRef / best, maxDiff, best);
    return 0;
}
