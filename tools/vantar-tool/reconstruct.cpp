#include "tools/vantar-tool/commands.h"

#include "map/mapdata.h"
#include "map/mapopener.h"
#include "map/nrrdwriter.h"
#include "map/parallel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace VantarTool {

namespace {

// Step lines on the error stream: which step, when it reached 100 % and how long it took.
class ConsoleReporter : public MapStepReporter
{
public:
    ConsoleReporter(QTextStream& err, bool bQuiet) : m_err(err), m_bQuiet(bQuiet) {}

    void stepStarted(MapStep, const QString& strTitle, const QString&) override
    {
        m_title = strTitle;
        m_timer.start();
    }
    bool stepProgress(int, int) override { return true; }
    void stepFinished(MapStep, bool bOk) override
    {
        if (m_bQuiet)
            return;
        m_err << "vantar-tool reconstruct: " << m_title << (bOk ? " done in " : " failed after ")
              << QString::number(m_timer.elapsed() / 1000.0, 'f', 2) << " s\n";
        m_err.flush();
    }

private:
    QTextStream& m_err;
    bool m_bQuiet;
    QString m_title;
    QElapsedTimer m_timer;
};

struct Peak
{
    int value = 0;
    int i = 0, j = 0, k = 0;
};

Peak volumeMaximum(const std::vector<qint16>& v, int dim0, int dim1, int dim2)
{
    Peak p;
    bool bFirst = true;
    for (int i = 0; i < dim0; ++i)
        for (int j = 0; j < dim1; ++j)
            for (int k = 0; k < dim2; ++k) {
                const int value = v[size_t((qint64(i) * dim1 + j) * dim2 + k)];
                if (bFirst || value > p.value) {
                    p = Peak{value, i, j, k};
                    bFirst = false;
                }
            }
    return p;
}

QJsonObject peakJson(const Peak& p)
{
    return QJsonObject{{"maximum", p.value}, {"at", QJsonArray{p.i, p.j, p.k}}};
}

QJsonObject saftJson(const SAFTsettings& s)
{
    return QJsonObject{{"depth", s.depth}, {"frequency", s.frequency}, {"bandwidth", s.bandwidth},
                       {"velocity", s.velocity}, {"tcg", s.tcg}, {"filterSW", s.filterSW}};
}

} // namespace

int runReconstruct(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString config;
    QString outDir;
    bool bIgnoreSaved = false;
    bool bQuiet = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        bool ok = true;
        if (a == QLatin1String("--out") && i + 1 < args.size()) {
            outDir = args[++i];
        } else if (a == QLatin1String("--ignore-saved")) {
            bIgnoreSaved = true;
        } else if (a == QLatin1String("--quiet")) {
            bQuiet = true;
        } else if (a == QLatin1String("--threads") && i + 1 < args.size()) {
            const int n = args[++i].toInt(&ok);
            ok = ok && n >= 1 && n <= 256;
            if (ok)
                Vantar::setWorkerThreads(n);
        } else if (!a.startsWith(u'-') && config.isEmpty()) {
            config = a;
        } else {
            ok = false;
        }
        if (!ok) {
            err << "vantar-tool reconstruct: bad argument \"" << a << "\"\n\n";
            helpReconstruct(err);
            return 2;
        }
    }
    if (config.isEmpty() || outDir.isEmpty()) {
        helpReconstruct(err);
        return 2;
    }
    if (!QDir().mkpath(outDir)) {
        err << "vantar-tool reconstruct: couldn't make the folder \"" << outDir << "\"\n";
        return 1;
    }
    const QString processedPath = outDir + QStringLiteral("/processed.nrrd");
    const QString rawPath = outDir + QStringLiteral("/raw.nrrd");
    const QString summaryPath = outDir + QStringLiteral("/summary.json");
    // A processed volume of an earlier run must not pass for this one.
    QFile::remove(processedPath);

    MapData data;
    MapOpenRequest request;
    request.configPath = config;
    request.useStoredSettings = !bIgnoreSaved;
    ConsoleReporter reporter(err, bQuiet);
    QElapsedTimer total;
    total.start();
    const MapOpenResult r = MapOpener::open(data, request, &reporter);

    QJsonObject summary{
        {"config", QFileInfo(config).absoluteFilePath()},
        {"map", r.config.mapName},
        {"loaded", r.loaded},
        {"processed", r.processed},
        {"transmission", r.transmission},
        {"savedSettings", r.savedSettings},
        {"parameters", saftJson(r.saft)},
        {"columns", r.scan.columns},
        {"rows", r.scan.rows},
        {"stepH", r.config.stepH},
        {"stepV", r.config.stepV},
        {"seconds", total.elapsed() / 1000.0},
    };
    if (!r.message.isEmpty())
        summary.insert("message", r.message);
    if (!r.failedFiles.isEmpty())
        summary.insert("failedFiles", QJsonArray::fromStringList(r.failedFiles));

    int status = 0;
    if (r.loaded) {
        const MapVolumeGrid& g = r.grid;
        summary.insert("dim0", g.dim0);
        summary.insert("dim1", g.dim1);
        summary.insert("dim2", g.dim2);
        summary.insert("pitchX", g.pitchX);
        summary.insert("pitchY", g.pitchY);
        summary.insert("pitchZ", MapVolumeGrid::kCellMm);
        summary.insert("depthStart", r.depthStart);
        summary.insert("depthRange", r.depthRange);
        summary.insert("firstSample", r.firstSample);
        summary.insert("sampleSpan", r.sampleSpan);

        // Cell a of the unprocessed volume spans [a, a + 1) pitches from the map's edge and its
        // layers start at the depth window; SAFT voxel a lies at (a + 1) pitches, layer k at
        // 5 (k + 1) mm below the surface.
        NrrdVolume raw;
        raw.values = data.rawVolume().data();
        raw.dim0 = g.dim0;
        raw.dim1 = g.dim1;
        raw.dim2 = g.dim2;
        raw.spacing = {double(g.pitchX), double(g.pitchY), double(MapVolumeGrid::kCellMm)};
        raw.origin = {0.5 * g.pitchX, 0.5 * g.pitchY, 1000.0 * r.depthStart + 0.5 * MapVolumeGrid::kCellMm};
        raw.comments = {QStringLiteral("unprocessed volume of %1").arg(r.config.mapName)};
        QString error;
        if (!NrrdWriter::write(rawPath, raw, &error)) {
            err << "vantar-tool reconstruct: " << error << '\n';
            return 1;
        }
        summary.insert("raw", peakJson(volumeMaximum(data.rawVolume(), g.dim0, g.dim1, g.dim2)));
        if (r.processed) {
            NrrdVolume processed = raw;
            processed.values = data.processedVolume().data();
            processed.origin = {double(g.pitchX), double(g.pitchY), double(MapVolumeGrid::kCellMm)};
            processed.comments = {QStringLiteral("SAFT volume of %1").arg(r.config.mapName)};
            if (!NrrdWriter::write(processedPath, processed, &error)) {
                err << "vantar-tool reconstruct: " << error << '\n';
                return 1;
            }
            summary.insert("processedVolume",
                           peakJson(volumeMaximum(data.processedVolume(), g.dim0, g.dim1, g.dim2)));
        } else {
            status = 1;
        }
    } else {
        status = 1;
    }

    QSaveFile file(summaryPath);
    const QByteArray json = QJsonDocument(summary).toJson();
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit()) {
        err << "vantar-tool reconstruct: couldn't write \"" << summaryPath << "\": " << file.errorString() << '\n';
        return 1;
    }
    if (status != 0) {
        err << "vantar-tool reconstruct: " << (r.message.isEmpty() ? QStringLiteral("no processed volume") : r.message)
            << '\n';
        return status;
    }
    out << "wrote " << processedPath << ", " << rawPath << " and " << summaryPath << " (" << r.grid.dim0 << " x "
        << r.grid.dim1 << " x " << r.grid.dim2 << " voxels)\n";
    return 0;
}

void helpReconstruct(QTextStream& out)
{
    out << "NAME\n"
           "    vantar-tool reconstruct - open a map as the program does and write its volumes\n"
           "\n"
           "SYNOPSIS\n"
           "    vantar-tool reconstruct CFG --out DIR [--ignore-saved] [--threads N] [--quiet]\n"
           "\n"
           "DESCRIPTION\n"
           "    Reads the map of the configuration file CFG and its signal files, builds the\n"
           "    unprocessed volume, prepares the signals and reconstructs them with SAFT, with\n"
           "    the parameters saved in the map's \"usr_map.set\" when they are valid for it\n"
           "    (unless --ignore-saved) or else those derived from the map's settings. Writes\n"
           "    DIR/processed.nrrd and DIR/raw.nrrd (NRRD 4, int16, raw, little-endian, sizes\n"
           "    dim0 dim1 dim2 with the first axis fastest, spacing and origin in mm) and\n"
           "    DIR/summary.json (parameters, sizes, pitches and each volume's maximum with its\n"
           "    voxel indices).\n"
           "\n"
           "    When the map was recorded in transmission, or a step fails, the reason is\n"
           "    printed, no processed volume is written and the exit status is 1.\n"
           "\n"
           "OPTIONS\n"
           "    --out DIR        folder for the results (made when missing)\n"
           "    --ignore-saved   derive the parameters from the map's settings\n"
           "    --threads N      worker threads (default: all cores)\n"
           "    --quiet          no step lines on the error stream\n";
}

} // namespace VantarTool
