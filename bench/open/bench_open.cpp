// Opening a generated 30 × 20 map (10 mm steps, 500 mm depth) the way the program does it:
// configuration, folder, reading and filtering, volume, preparing, SAFT; where the time goes.
// Compared with the straightforward sequence: the direct FIR and the SAFT loops on one thread.

#include "map/depthconversion.h"
#include "map/mapdata.h"
#include "map/mapgenerator.h"
#include "map/mapopener.h"
#include "map/parallel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class Timing : public MapStepReporter
{
public:
    QElapsedTimer timer;
    QStringList lines;
    double total = 0;

    void stepStarted(MapStep, const QString&, const QString&) override { timer.start(); }
    void stepFinished(MapStep eStep, bool) override
    {
        const double s = timer.nsecsElapsed() / 1e9;
        total += s;
        lines << QStringLiteral("%1 %2 s").arg(MapOpener::stepTitle(eStep)).arg(s, 0, 'f', 3);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    MapGeneratorOptions o;
    o.columns = 30;
    o.rows = 20;
    o.depth = 500;
    o.reflectors = {{150, 100, 200, 1.0}, {60, 40, 350, 0.7}};
    QString error;
    if (!MapGenerator::write(dir.path(), o, &error)) {
        std::printf("cannot write the map: %s\n", qPrintable(error));
        return 1;
    }
    MapOpenRequest request;
    request.configPath = dir.filePath(QStringLiteral("map.cfg"));

    double best = 1e9;
    MapData data;
    for (int run = 0; run < 3; ++run) {
        Timing timing;
        QElapsedTimer all;
        all.start();
        const MapOpenResult r = MapOpener::open(data, request, &timing);
        const double s = all.nsecsElapsed() / 1e9;
        if (!r.processed) {
            std::printf("opening failed: %s\n", qPrintable(r.message));
            return 1;
        }
        std::printf("open %.3f s: %s, configuration, folder and volume %.3f s\n", s,
                    qPrintable(timing.lines.join(QStringLiteral(", "))), s - timing.total);
        best = std::min(best, s);
    }
    const std::vector<qint16> fast = data.processedVolume();

    // The straightforward sequence on one thread: direct FIR, SAFT loops.
    Vantar::setWorkerThreads(1);
    MapData ref;
    QElapsedTimer all;
    all.start();
    Timing refTiming;
    MapOpenResult r = MapOpener::open(ref, request, &refTiming);
    // Reading, filter and volume as above; its own preparing and SAFT do not count.
    double tRead = all.nsecsElapsed() / 1e9;
    for (const QString& line : refTiming.lines)
        if (!line.startsWith(MapOpener::stepTitle(MapStep::Reading)))
            tRead -= line.section(u' ', -2, -2).toDouble();
    QElapsedTimer step;
    step.start();
    ref.prepareReference(sampleToDepth(r.config.settings, ref.sampleCount()));
    const double tPrep = step.nsecsElapsed() / 1e9;
    step.start();
    ref.processSAFTReference(r.grid.pitchX, r.grid.pitchY);
    const double tSaft = step.nsecsElapsed() / 1e9;
    const double tRef = tRead + tPrep + tSaft;
    int maxDiff = 0;
    for (size_t v = 0; v < fast.size(); ++v)
        maxDiff = std::max(maxDiff, std::abs(int(fast[v]) - int(ref.processedVolume()[v])));
    std::printf("straightforward on 1 thread: reading and volume %.3f s, direct FIR %.3f s, "
                "SAFT loops %.3f s\n",
                tRead, tPrep, tSaft);
    std::printf("speedup=%.1f maxdiff=%d\n", tRef / best, maxDiff);
    return 0;
}
