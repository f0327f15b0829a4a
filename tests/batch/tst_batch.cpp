// vantar-tool's batch commands, run as a user would run them, on our own generated data.

#include "ascan/ascanfile.h"
#include "ascan/ascangenerator.h"
#include "common/ascanfolder.h"
#include "common/bytes.h"
#include "map/depthconversion.h"
#include "map/mapconfig.h"
#include "map/mapgenerator.h"
#include "map/mapopener.h"
#include "map/mapviewstatefile.h"
#include "map/mapvolumegrid.h"
#include "mapview/mappalette.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <tuple>

namespace {

using TestBytes::runTool;
using TestBytes::ToolRun;
using TestAScans::readAll;

QJsonObject readSummary(const QString& dir)
{
    return QJsonDocument::fromJson(readAll(dir + "/summary.json")).object();
}

// A volume file read back as a viewer reads it: header fields, then samples (i fastest, little-endian).
struct VolumeFile
{
    QMap<QByteArray, QByteArray> fields;
    std::vector<int> values;
    int sizes[3] = {0, 0, 0};

    VolumeFile(const QString& path, bool bMetaImage)
    {
        const QByteArray all = readAll(path);
        const QByteArray end = bMetaImage ? "ElementDataFile = LOCAL\n" : "\n\n";
        const qsizetype at = all.indexOf(end);
        for (const QByteArray& line : all.left(qMax<qsizetype>(at, 0)).split('\n')) {
            const qsizetype sep = line.indexOf(bMetaImage ? " = " : ": ");
            if (sep > 0)
                fields.insert(line.left(sep), line.mid(sep + (bMetaImage ? 3 : 2)));
        }
        for (qsizetype n = at + end.size(); at >= 0 && n + 1 < all.size(); n += 2)
            values.push_back(qint16(quint16(quint8(all[n])) | quint16(quint8(all[n + 1])) << 8));
        const QList<QByteArray> list = fields.value(bMetaImage ? "DimSize" : "sizes").split(' ');
        for (int a = 0; a < 3 && a < list.size(); ++a)
            sizes[a] = list[a].toInt();
    }

    int at(int i, int j, int k) const { return values.at(size_t(i + sizes[0] * (j + sizes[1] * k))); }
};

MapGeneratorOptions smallMap(int columns, int rows)
{
    MapGeneratorOptions o;
    o.columns = columns;
    o.rows = rows;
    o.noise = 0;
    return o;
}

ToolRun reconstruct(const QStringList& rest)
{
    return runTool(QStringList{"reconstruct", "--threads", "2"} + rest);
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT

private slots:
    void reconstructVolumesAndReflector();
    void reconstructOptionsOverrideStored();
    void reconstructManyMapsOneBad();
    void exportAScan();
    void demoMapReconstructsWithinPalette();
    void generatorsRepeatAndCleanOption();
};

void TestBatch::reconstructVolumesAndReflector()
{
    // Voxels of half a step: a map this coarse resolves the reflector laterally too.
    QTemporaryDir dir;
    MapGeneratorOptions o = smallMap(16, 8);
    o.stepH = o.stepV = 200;
    o.depth = 400;
    o.reflectors = {MapReflector{1700, 700, 250, 1.0}};
    QVERIFY(MapGenerator::write(dir.filePath("map"), o));
    const QString out = dir.filePath("out");
    const ToolRun r = reconstruct({dir.filePath("map/map.cfg"), "--out", out, "--metaimage"});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));

    const QJsonObject summary = readSummary(out);
    const QJsonArray at = summary.value("processedVolume").toObject().value("at").toArray();
    QCOMPARE(at, (QJsonArray{1700 / 100 - 1, 700 / 100 - 1, 250 / 5 - 1}));
    const int maximum = summary.value("processedVolume").toObject().value("maximum").toInt();

    // Voxel a of the SAFT volume lies at (a + 1) pitches, a cell of the unprocessed one half a pitch in.
    const VolumeFile nrrd = VolumeFile(out + "/processed.nrrd", false);
    QCOMPARE(nrrd.fields.value("space directions"), QByteArray("(100,0,0) (0,100,0) (0,0,5)"));
    QCOMPARE(nrrd.fields.value("space origin"), QByteArray("(100,100,5)"));
    QCOMPARE(nrrd.values.size(), size_t(32 * 16 * 80));
    QCOMPARE(nrrd.at(at[0].toInt(), at[1].toInt(), at[2].toInt()), maximum);
    QCOMPARE(*std::max_element(nrrd.values.begin(), nrrd.values.end()), maximum);

    const VolumeFile mha = VolumeFile(out + "/processed.mha", true);
    QCOMPARE(mha.fields.value("ElementSpacing"), QByteArray("100 100 5"));
    QCOMPARE(mha.fields.value("Offset"), QByteArray("100 100 5"));
    QCOMPARE(mha.fields.value("BinaryDataByteOrderMSB"), QByteArray("False"));
    QCOMPARE(mha.values, nrrd.values);
    QCOMPARE(VolumeFile(out + "/raw.nrrd", false).fields.value("space origin"), QByteArray("(50,50,2.5)"));

    // Pictures at true proportions (3200 × 1600 × 400 mm); the peak's pixel has the palette's top colour.
    const QImage c(out + "/cscan.png"), b(out + "/bscan.png"), d(out + "/dscan.png");
    QCOMPARE(c.size(), QSize(600, 300));
    QCOMPARE(b.size(), QSize(600, 80));
    QCOMPARE(d.size(), QSize(150, 600));
    auto pixelOf = [](int index, int samples, int pixels) {
        return int(std::lround(double(index) * (pixels - 1) / (samples - 1)));
    };
    const QRgb peak = MapPalette::colour(MapPalette::kSize - 1);
    auto near = [](QRgb a, QRgb b) {
        return qAbs(qRed(a) - qRed(b)) <= 8 && qAbs(qGreen(a) - qGreen(b)) <= 8 && qAbs(qBlue(a) - qBlue(b)) <= 8;
    };
    QVERIFY(near(c.pixel(pixelOf(16, 32, 600), pixelOf(6, 16, 300)), peak));
    QVERIFY(near(b.pixel(pixelOf(16, 32, 600), pixelOf(49, 80, 80)), peak));
    QVERIFY(near(d.pixel(pixelOf(49, 80, 150), pixelOf(6, 16, 600)), peak));
    QVERIFY(qRed(c.pixel(599, 0)) + qGreen(c.pixel(599, 0)) < 64);
}

void TestBatch::reconstructOptionsOverrideStored()
{
    QTemporaryDir dir;
    const MapGeneratorOptions o = smallMap(6, 5);
    QVERIFY(MapGenerator::write(dir.path(), o));
    // Stored parameters with a state that fits the volume they give.
    SAFTsettings stored;
    stored.depth = 400;
    stored.frequency = 75;
    stored.bandwidth = 75;
    stored.velocity = 2.7;
    stored.tcg = 5;
    const MapVolumeGrid g = MapVolumeGrid::compute(o.columns, o.rows, o.stepH, o.stepV, 0.4);
    MapViewState state;
    state.threshold = 10;
    state.ranges = {ProcessedView, g.dim0, g.dim1, g.dim2, {0, g.dim0 - 1}, {0, g.dim1 - 1}, {0, g.dim2 - 1}};
    QVERIFY(writeViewSettingsFile(dir.filePath("usr_map.set"), stored, state));
    const QString cfg = dir.filePath("map.cfg");
    auto run = [&](const QString& name, const QStringList& options) {
        reconstruct(QStringList{cfg, "--out", dir.filePath(name)} + options);
        return readSummary(dir.filePath(name));
    };

    QJsonObject s = run("stored", {});
    QCOMPARE(s.value("savedSettings").toBool(), true);
    QCOMPARE(s.value("parameters").toObject(),
             (QJsonObject{{"depth", 400}, {"frequency", 75}, {"bandwidth", 75}, {"velocity", 2.7}, {"tcg", 5},
                          {"filterSW", true}}));
    QCOMPARE(s.value("pictures").toObject().value("threshold").toInt(), 10);

    // One option: the rest stays stored, and so does the state.
    s = run("frequency", {"--frequency", "100"});
    QCOMPARE(s.value("savedSettings").toBool(), true);
    QCOMPARE(s.value("parameters").toObject().value("frequency").toInt(), 100);
    QCOMPARE(s.value("parameters").toObject().value("depth").toInt(), 400);
    QCOMPARE(s.value("overridden").toArray(), QJsonArray{"frequency"});

    // All of them; a new depth makes a volume the stored state does not fit.
    s = run("all", {"--depth", "300", "--velocity", "3100", "--frequency", "120", "--bandwidth", "50", "--tcg", "12",
                    "--no-filter-sw"});
    QCOMPARE(s.value("savedSettings").toBool(), false);
    QCOMPARE(s.value("parameters").toObject(),
             (QJsonObject{{"depth", 300}, {"frequency", 120}, {"bandwidth", 50}, {"velocity", 3.1}, {"tcg", 12},
                          {"filterSW", false}}));
    QCOMPARE(s.value("overridden").toArray().size(), 6);
    QCOMPARE(VolumeFile(dir.filePath("all/processed.nrrd"), false).sizes[2], MapOpener::layersForDepth(300));
    s = run("derived", {"--ignore-saved", "--tcg", "7"});
    QCOMPARE(s.value("parameters").toObject().value("frequency").toInt(), o.frequency);
    QCOMPARE(s.value("parameters").toObject().value("tcg").toInt(), 7);

    // Fewer than 2 layers, not a step of 25, not a step of 5, past the limits, unknown: refused.
    const QList<QStringList> bad = {{"--depth", "5"}, {"--bandwidth", "30"}, {"--frequency", "52"},
                                    {"--tcg", "31"},  {"--brightness", "41"}, {"--bogus"}};
    for (const QStringList& extra : bad) {
        const ToolRun r = runTool(QStringList{"reconstruct", cfg, "--out", dir.filePath("bad")} + extra);
        QVERIFY2(r.exitCode == 2, qPrintable(extra.join(' ')));
        QVERIFY2(r.err.contains(QLatin1String("bad argument")) && r.err.contains(QLatin1String("SYNOPSIS")),
                 qPrintable(r.err));
    }
    QVERIFY(!QFile::exists(dir.filePath("bad")));
}

void TestBatch::reconstructManyMapsOneBad()
{
    QTemporaryDir dir;
    const QString maps = dir.filePath("maps");
    for (const char* name : {"a", "b", "c"})
        QVERIFY(MapGenerator::write(maps + '/' + name, smallMap(5, 4)));
    // One signal of b one byte short; c recorded in transmission, which SAFT cannot process.
    QVERIFY(QFile::resize(maps + "/b/2_3.raw", 80000 - 1));
    MapConfig c;
    QVERIFY(MapConfig::parse(MapGenerator::configuration(smallMap(5, 4)), c));
    c.settings.eTestingMethod = ConfigSettings::Transmission;
    QVERIFY(TestAScans::writeBytes(maps + "/c/map.cfg", c.encode()));
    QVERIFY(QDir().mkpath(dir.filePath("empty")));
    const QString out = dir.filePath("out");
    // Earlier results must not survive as if they were this run's.
    for (const char* name : {"b", "c"}) {
        QVERIFY(QDir().mkpath(out + '/' + name));
        QVERIFY(TestAScans::writeBytes(out + '/' + name + "/processed.nrrd", "old"));
    }

    const ToolRun r = reconstruct({maps, dir.filePath("empty"), "--out", out});
    QCOMPARE(r.exitCode, 1);
    const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts).filter("reconstruct:");
    const QList<QStringList> expected = {{"empty", "no map"}, {"[1/3]", "done"}, {"[2/3]", "failed", "2_3.raw"},
                                         {"[3/3]", "failed", "transmission"}, {"1 of 4 maps reconstructed, 3 failed"}};
    QCOMPARE(lines.size(), expected.size());
    for (int i = 0; i < lines.size(); ++i)
        for (const QString& part : expected[i])
            QVERIFY2(lines[i].contains(part), qPrintable(lines[i]));
    QVERIFY(QFile::exists(out + "/a/processed.nrrd"));
    QVERIFY(!QFile::exists(out + "/b/processed.nrrd") && !QFile::exists(out + "/c/processed.nrrd"));
    QVERIFY(QFile::exists(out + "/c/raw.nrrd")); // the transmission map: its unprocessed volume only
}

// An A-scan's table and picture; an A-scan that cannot be read leaves an earlier table, no picture.
void TestBatch::exportAScan()
{
    QTemporaryDir dir;
    QVERIFY(generateAScans(dir.path(), 3, 5));
    const QString bmp = dir.filePath("2.bmp");
    const QString csv = dir.filePath("2.csv");
    QCOMPARE(runTool({"export-ascan", bmp, "--csv", csv}).exitCode, 0);
    AScanRecord record;
    QVERIFY(loadAScanRecord(bmp, record));
    const QList<QByteArray> lines = readAll(csv).split('\n');
    QCOMPARE(lines.first(), QByteArray("sample,time_us,depth_m,amplitude"));
    QCOMPARE(lines.size() - 2, record.samples.size()); // header and the empty tail
    for (int n : {1, 777, int(record.samples.size()) - 1}) {
        const QList<QByteArray> cols = lines[n + 1].split(',');
        QCOMPARE(cols[0].toInt(), n);
        QVERIFY(qAbs(cols[1].toDouble() - n * 10.0 / record.currentSettings.iSamplesPer10us) < 1e-3);
        QVERIFY(qAbs(cols[2].toDouble() - sampleToDepth(record.currentSettings, n)) < 1e-6);
        QCOMPARE(cols[3].toInt(), int(record.samples[n]));
    }

    auto png = [&](int n, const QStringList& extra) {
        const QString path = dir.filePath(QStringLiteral("%1.png").arg(n));
        const QString from = dir.filePath(QStringLiteral("%1.bmp").arg(n));
        return runTool(QStringList{"export-ascan", from, "--png", path} + extra).exitCode ? QImage() : QImage(path);
    };
    const QImage one = png(1, {});
    QCOMPARE(one.size(), QSize(1000, 520));
    QCOMPARE(png(2, {"--size", "800x400"}).size(), QSize(800, 400));
    QVERIFY(png(3, {}) != one); // another signal, another picture
    QCOMPARE(runTool({"export-ascan", bmp, "--png", dir.filePath("x.png"), "--size", "10x10"}).exitCode, 2);

    QVERIFY(TestAScans::writeBytes(csv, "old\n"));
    QFile::remove(dir.filePath("2.raw"));
    const ToolRun r = runTool({"export-ascan", bmp, "--csv", csv});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains(QLatin1String("2.bmp")));
    QCOMPARE(readAll(csv), QByteArray("old\n"));
    QCOMPARE(runTool({"export-ascan", bmp, "--png", dir.filePath("x.png")}).exitCode, 1);
    QVERIFY(!QFile::exists(dir.filePath("x.png")));
}

// The demo map of tools/demo.sh: at 0 dB nothing clips or floods the top colour; each reflector stands out.
void TestBatch::demoMapReconstructsWithinPalette()
{
    QTemporaryDir dir;
    const QString map = dir.filePath("map");
    const QString out = dir.filePath("out");
    const ToolRun gen = runTool({"gen-map", map, "--columns", "30", "--rows", "20", "--step-h", "10", "--step-v", "10",
                             "--reflector", "80,60,150", "--reflector", "200,120,260", "--reflector", "150,150,380",
                             "--view", "80,60,150", "--view-limits"});
    QVERIFY2(gen.exitCode == 0, qPrintable(gen.err));
    const ToolRun rec = runTool({"reconstruct", map + "/map.cfg", "--out", out, "--no-pictures", "--quiet"});
    QVERIFY2(rec.exitCode == 0, qPrintable(rec.err));
    QVERIFY(readSummary(out).value("savedSettings").toBool());

    const VolumeFile v = VolumeFile(out + "/processed.nrrd", false);
    QCOMPARE((QList<int>{v.sizes[0], v.sizes[1], v.sizes[2]}), (QList<int>{60, 40, 100}));
    std::vector<int> all = v.values;
    const auto aboveTop = std::count_if(all.begin(), all.end(), [](int value) { return value > 255; });
    QCOMPARE(std::count(all.begin(), all.end(), 32767), 0); // nothing clipped
    QVERIFY2(aboveTop <= qsizetype(all.size()) / 50, qPrintable(QString::number(aboveTop)));
    QVERIFY(*std::max_element(all.begin(), all.end()) >= 255);
    // Each reflector shows in the palette's upper half near its place, ten times the median.
    std::nth_element(all.begin(), all.begin() + qsizetype(all.size() / 2), all.end());
    const int median = all[all.size() / 2];
    for (const auto& [x, y, z] : {std::tuple{80, 60, 150}, std::tuple{200, 120, 260}, std::tuple{150, 150, 380}}) {
        int peak = 0;
        for (int k = z / 5 - 4; k <= z / 5 + 2; ++k)
            for (int j = y / 5 - 3; j <= y / 5 + 1; ++j)
                for (int i = x / 5 - 3; i <= x / 5 + 1; ++i)
                    peak = std::max(peak, v.at(i, j, k));
        QVERIFY2(peak >= 128 && peak >= 10 * median,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(x).arg(peak).arg(median)));
    }
}

// Same options, same files; --seed changes the random parts; --clean gives the clean signals.
void TestBatch::generatorsRepeatAndCleanOption()
{
    QTemporaryDir dir;
    const QStringList common = {"--columns", "4", "--rows", "3", "--reflector", "20,15,100"};
    auto signal = [&](const QString& name) { return readAll(dir.filePath(name + "/2_3.raw")); };
    for (const char* name : {"a", "b"})
        QCOMPARE(runTool(QStringList{"gen-map", dir.filePath(name)} + common).exitCode, 0);
    for (const QStringList& extra : {QStringList{"seed", "--seed", "2"}, QStringList{"clean", "--clean"}})
        QCOMPARE(runTool(QStringList{"gen-map", dir.filePath(extra[0])} + extra.mid(1) + common).exitCode, 0);
    QCOMPARE(signal("a").size(), 80000);
    QCOMPARE(signal("a"), signal("b"));
    QVERIFY(signal("a") != signal("seed"));

    MapGeneratorOptions o;
    o.columns = 4;
    o.rows = 3;
    o.reflectors = {MapReflector{20, 15, 100, 1.0}};
    const std::vector<qint16> clean = MapGenerator::signal(o, 2, 3);
    QCOMPARE(signal("clean"), QByteArray(reinterpret_cast<const char*>(clean.data()), 80000));

    auto ascan = [&](const QString& name) { return readAll(dir.filePath(name + "/4.raw")); };
    for (const char* name : {"s1", "s2"})
        QCOMPARE(runTool({"gen-ascans", dir.filePath(name), "--count", "4"}).exitCode, 0);
    QCOMPARE(runTool({"gen-ascans", dir.filePath("s3"), "--count", "4", "--clean"}).exitCode, 0);
    QCOMPARE(ascan("s1").size(), 80000);
    QCOMPARE(ascan("s1"), ascan("s2"));
    QCOMPARE(ascan("s3"), encodeAScanSamples(generateAScan(4, 1).samples));
    QVERIFY(ascan("s1") != ascan("s3"));
}

QTEST_MAIN(TestBatch)
#include "tst_batch.moc"
