#include "tools/vantar-tool/reconstructmap.h"

#include "map/mapdata.h"
#include "map/mapopener.h"
#include "map/metaimagewriter.h"
#include "map/nrrdwriter.h"
#include "mapview/scanimage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace VantarTool {

namespace {

// Longer side of a scan picture in pixels, unless the volume has more voxels than that.
constexpr int kPictureSide = 600;
constexpr int kMaxPictureSide = 4096;
// Last entry of the map palette.
constexpr int kPaletteTop = 255;

const char* stepKey(MapStep eStep)
{
    switch (eStep) {
    case MapStep::Reading:
        return "reading";
    case MapStep::Preparing:
        return "preparing";
    case MapStep::Processing:
        return "processing";
    }
    return "step";
}

// Step lines on the error stream, when wished, and each step's time for the summary.
class ConsoleReporter : public MapStepReporter
{
public:
    ConsoleReporter(QTextStream& err, bool bLines) : m_err(err), m_bLines(bLines) {}

    void stepStarted(MapStep, const QString& strTitle, const QString&) override
    {
        m_title = strTitle;
        m_timer.start();
    }
    bool stepProgress(int, int) override { return true; }
    void stepFinished(MapStep eStep, bool bOk) override
    {
        const double seconds = m_timer.elapsed() / 1000.0;
        m_timings.insert(QLatin1String(stepKey(eStep)), seconds);
        if (!m_bLines)
            return;
        m_err << "vantar-tool reconstruct: " << m_title << (bOk ? " done in " : " failed after ")
              << QString::number(seconds, 'f', 2) << " s\n";
        m_err.flush();
    }
    QJsonObject& timings() { return m_timings; }

private:
    QTextStream& m_err;
    bool m_bLines;
    QString m_title;
    QElapsedTimer m_timer;
    QJsonObject m_timings;
};

struct Peak
{
    int value = 0;
    int i = 0, j = 0, k = 0;
};

// The largest sample; of equal ones the first in the volume's order.
Peak volumeMaximum(const std::vector<qint16>& v, int dim1, int dim2)
{
    Peak p;
    if (v.empty())
        return p;
    const auto it = std::max_element(v.begin(), v.end());
    const qint64 n = it - v.begin();
    p.value = *it;
    p.k = int(n % dim2);
    p.j = int((n / dim2) % dim1);
    p.i = int(n / (qint64(dim2) * dim1));
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

// A plane through the palette as the map view colours it (threshold percent, brightness factor),
// scaled to true proportions (mmU × mmV per sample) with at least one pixel per sample.
bool writeScanPicture(const MapPlane& plane, double mmU, double mmV, int iThreshold, double dBrightness,
                      const QString& path, QString* error)
{
    ScanImage image;
    if (plane.isNull() || !image.setPlane(plane)) {
        *error = QStringLiteral("no picture for \"%1\": the plane is empty or too large").arg(path);
        return false;
    }
    image.setThreshold(iThreshold);
    image.setBrightness(dBrightness);
    const double extentU = plane.size0 * mmU;
    const double extentV = plane.size1 * mmV;
    const double perMm = kPictureSide / std::max(extentU, extentV);
    const int w = std::clamp(int(std::lround(extentU * perMm)), plane.size0, std::max(plane.size0, kMaxPictureSide));
    const int h = std::clamp(int(std::lround(extentV * perMm)), plane.size1, std::max(plane.size1, kMaxPictureSide));
    image.setGeometry(w, h, w, h);
    const QImage& picture = image.displayImage();
    if (picture.isNull() || !picture.save(path, "PNG")) {
        *error = QStringLiteral("couldn't write \"%1\"").arg(path);
        return false;
    }
    return true;
}

bool writeJson(const QString& path, const QJsonObject& object, QString* error)
{
    QSaveFile file(path);
    const QByteArray json = QJsonDocument(object).toJson();
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit()) {
        *error = QStringLiteral("couldn't write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

ReconstructOutcome reconstructMap(const QString& config, const QString& outDir, const ReconstructOptions& options,
                                  QTextStream& err)
{
    ReconstructOutcome outcome;
    QElapsedTimer total;
    total.start();
    if (!QDir().mkpath(outDir)) {
        outcome.reason = QStringLiteral("couldn't make the folder \"%1\"").arg(outDir);
        return outcome;
    }
    const QDir dir(outDir);
    const QString processedPath = dir.filePath(QStringLiteral("processed.nrrd"));
    const QString processedMha = dir.filePath(QStringLiteral("processed.mha"));
    // Results of an earlier run must not pass for this one's.
    for (const QString& name : {QStringLiteral("processed.nrrd"), QStringLiteral("processed.mha"),
                                QStringLiteral("raw.nrrd"), QStringLiteral("raw.mha"), QStringLiteral("cscan.png"),
                                QStringLiteral("bscan.png"), QStringLiteral("dscan.png")})
        QFile::remove(dir.filePath(name));

    MapData data;
    ConsoleReporter reporter(err, options.stepLines);
    const MapOpenResult r = openMap(data, config, options, &reporter);

    QJsonObject summary{
        {"config", QFileInfo(config).absoluteFilePath()},
        {"map", r.config.mapName},
        {"loaded", r.loaded},
        {"processed", r.processed},
        {"transmission", r.transmission},
        {"savedSettings", r.savedSettings},
        {"overridden", QJsonArray::fromStringList(options.overrides.names())},
        {"parameters", saftJson(r.saft)},
        {"columns", r.scan.columns},
        {"rows", r.scan.rows},
        {"stepH", r.config.stepH},
        {"stepV", r.config.stepV},
    };
    if (!r.message.isEmpty())
        summary.insert("message", r.message);
    if (!r.failedFiles.isEmpty())
        summary.insert("failedFiles", QJsonArray::fromStringList(r.failedFiles));

    QString error;
    if (r.loaded) {
        QElapsedTimer writing;
        writing.start();
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
        bool bWritten = NrrdWriter::write(dir.filePath(QStringLiteral("raw.nrrd")), raw, &error)
                        && (!options.metaImage
                            || MetaImageWriter::write(dir.filePath(QStringLiteral("raw.mha")), raw, &error));
        const Peak rawPeak = volumeMaximum(data.rawVolume(), g.dim1, g.dim2);
        summary.insert("raw", peakJson(rawPeak));
        Peak shown = rawPeak;
        if (bWritten && r.processed) {
            NrrdVolume processed = raw;
            processed.values = data.processedVolume().data();
            processed.origin = {double(g.pitchX), double(g.pitchY), double(MapVolumeGrid::kCellMm)};
            processed.comments = {QStringLiteral("SAFT volume of %1").arg(r.config.mapName)};
            bWritten = NrrdWriter::write(processedPath, processed, &error)
                       && (!options.metaImage || MetaImageWriter::write(processedMha, processed, &error));
            shown = volumeMaximum(data.processedVolume(), g.dim1, g.dim2);
            summary.insert("processedVolume", peakJson(shown));
        }

        // The pictures show the volume written last, sliced through its maximum, with the stored
        // threshold when the map has one, and by default a brightness that gives the maximum the
        // palette's last colour (the view's 0 dB saturates most reconstructions).
        if (bWritten && options.pictures) {
            data.setViewingMode(r.processed ? ProcessedView : RawView);
            const int iThreshold = r.savedSettings ? r.savedState.threshold : 0;
            const double dBrightness = options.brightnessDb
                                           ? ScanImage::brightnessFactorFor(*options.brightnessDb)
                                           : kPaletteTop / double(std::max(1, shown.value));
            const double z = MapVolumeGrid::kCellMm;
            bWritten = writeScanPicture(data.sliceC(shown.k), g.pitchX, g.pitchY, iThreshold, dBrightness,
                                        dir.filePath(QStringLiteral("cscan.png")), &error)
                       && writeScanPicture(data.sliceB(shown.j), g.pitchX, z, iThreshold, dBrightness,
                                           dir.filePath(QStringLiteral("bscan.png")), &error)
                       && writeScanPicture(data.sliceD(shown.i), z, g.pitchY, iThreshold, dBrightness,
                                           dir.filePath(QStringLiteral("dscan.png")), &error);
            summary.insert("pictures", QJsonObject{{"volume", r.processed ? "processed" : "raw"},
                                                   {"cscanLayer", shown.k},
                                                   {"bscanRow", shown.j},
                                                   {"dscanColumn", shown.i},
                                                   {"brightnessFactor", dBrightness},
                                                   {"threshold", iThreshold}});
        }
        reporter.timings().insert("writing", writing.elapsed() / 1000.0);
        if (!bWritten) {
            outcome.reason = error;
            return outcome;
        }
        outcome.dim0 = g.dim0;
        outcome.dim1 = g.dim1;
        outcome.dim2 = g.dim2;
        outcome.maximum = shown.value;
        outcome.at[0] = shown.i;
        outcome.at[1] = shown.j;
        outcome.at[2] = shown.k;
    }
    outcome.seconds = total.elapsed() / 1000.0;
    reporter.timings().insert("total", outcome.seconds);
    summary.insert("timings", reporter.timings());
    summary.insert("seconds", outcome.seconds);

    if (!writeJson(dir.filePath(QStringLiteral("summary.json")), summary, &error)) {
        outcome.reason = error;
        return outcome;
    }
    if (!r.loaded || !r.processed) {
        outcome.reason = r.message.isEmpty() ? QStringLiteral("no processed volume") : r.message;
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

} // namespace VantarTool
