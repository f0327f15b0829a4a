// vantar-tool's batch commands, run as a user would run them, on our own generated data.

#include "ascan/ascanfile.h"
#include "ascan/ascangenerator.h"
#include "map/depthconversion.h"
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
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <tuple>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runTool(const QStringList& args)
{
    QProcess tool;
    tool.start(QStringLiteral(VANTAR_BIN_DIR "/vantar-tool"), args);
    Run r;
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = tool.exitCode();
    r.out = QString::fromUtf8(tool.readAllStandardOutput());
    r.err = QString::fromUtf8(tool.readAllStandardError());
    return r;
}

QJsonObject readSummary(const QString& dir)
{
    QFile f(QDir(dir).filePath(QStringLiteral("summary.json")));
    if (!f.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(f.readAll()).object();
}

// A volume file read back the way a volume viewer reads it: header fields, then the samples.
struct VolumeFile
{
    QMap<QByteArray, QByteArray> fields;
    QByteArray header;
    QByteArray samples;
    int sizes[3] = {0, 0, 0};

    // Sample (i, j, k) with i fastest, little-endian.
    int at(int i, int j, int k) const
    {
        const qint64 n = 2 * (i + qint64(sizes[0]) * (j + qint64(sizes[1]) * k));
        return qint16(quint16(quint8(samples[n])) | quint16(quint8(samples[n + 1])) << 8);
    }
};

// NRRD: "key: value" lines up to the blank line; MetaImage: "Key = value" up to
// "ElementDataFile = LOCAL".
VolumeFile readVolumeFile(const QString& path, bool bMetaImage)
{
    VolumeFile v;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return v;
    const QByteArray all = f.readAll();
    qsizetype pos = 0;
    while (pos < all.size()) {
        const qsizetype end = all.indexOf('\n', pos);
        if (end < 0)
            return VolumeFile();
        const QByteArray line = all.mid(pos, end - pos);
        pos = end + 1;
        if (!bMetaImage && line.isEmpty())
            break;
        const qsizetype sep = line.indexOf(bMetaImage ? " = " : ": ");
        if (sep > 0)
            v.fields.insert(line.left(sep), line.mid(sep + (bMetaImage ? 3 : 2)));
        if (bMetaImage && line == "ElementDataFile = LOCAL")
            break;
    }
    v.header = all.left(pos);
    v.samples = all.mid(pos);
    const QList<QByteArray> sizes = v.fields.value(bMetaImage ? "DimSize" : "sizes").split(' ');
    for (int a = 0; a < 3 && a < sizes.size(); ++a)
        v.sizes[a] = sizes[a].toInt();
    return v;
}

MapGeneratorOptions smallMap(int columns, int rows)
{
    MapGeneratorOptions o;
    o.columns = columns;
    o.rows = rows;
    o.noise = 0;
    return o;
}

QStringList reconstructArgs(const QStringList& rest)
{
    return QStringList{QStringLiteral("reconstruct"), QStringLiteral("--threads"), QStringLiteral("2")} + rest;
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT

private slots:
    void reconstructVolumesAndReflector();
    void reconstructOptionsOverrideStored();
    void reconstructManyMapsOneBad();
    void reconstructBadUsage();
    void exportAScanCsv();
    void exportAScanBadInput();
    void exportAScanPng();
    void helpForEveryCommand();
    void demoMapReconstructsWithinPalette();
    void generatorsRepeatAndCleanOption();
};

void TestBatch::reconstructVolumesAndReflector()
{
    // Voxels of half a step: a map this coarse resolves the reflector laterally too.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    MapGeneratorOptions o = smallMap(16, 8);
    o.stepH = o.stepV = 200;
    o.depth = 400;
    o.reflectors = {MapReflector{1700, 700, 250, 1.0}};
    QString error;
    const QString mapDir = dir.filePath(QStringLiteral("map"));
    QVERIFY2(MapGenerator::write(mapDir, o, &error), qPrintable(error));
    const QString out = dir.filePath(QStringLiteral("out"));
    const Run r = runTool(reconstructArgs({mapDir + QStringLiteral("/map.cfg"), QStringLiteral("--out"), out,
                                           QStringLiteral("--metaimage")}));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(r.err.contains(QLatin1String("Data Processing done in")));

    const QJsonObject summary = readSummary(out);
    QCOMPARE(summary.value("dim0").toInt(), 32);
    QCOMPARE(summary.value("dim1").toInt(), 16);
    QCOMPARE(summary.value("dim2").toInt(), 80);
    const QJsonArray at = summary.value("processedVolume").toObject().value("at").toArray();
    QCOMPARE(at, (QJsonArray{1700 / 100 - 1, 700 / 100 - 1, 250 / 5 - 1}));
    const int maximum = summary.value("processedVolume").toObject().value("maximum").toInt();
    QVERIFY(maximum > 0);
    const QJsonObject timings = summary.value("timings").toObject();
    for (const char* key : {"reading", "preparing", "processing", "writing", "total"})
        QVERIFY2(timings.value(QLatin1String(key)).toDouble(-1) >= 0, key);

    // Header and samples as a viewer reads them; voxel a of the SAFT volume at (a + 1) pitches.
    const VolumeFile nrrd = readVolumeFile(out + QStringLiteral("/processed.nrrd"), false);
    QVERIFY(nrrd.header.startsWith("NRRD0004\n"));
    QCOMPARE(nrrd.fields.value("type"), QByteArray("int16"));
    QCOMPARE(nrrd.fields.value("encoding"), QByteArray("raw"));
    QCOMPARE(nrrd.fields.value("endian"), QByteArray("little"));
    QCOMPARE(nrrd.fields.value("sizes"), QByteArray("32 16 80"));
    QCOMPARE(nrrd.fields.value("space directions"), QByteArray("(100,0,0) (0,100,0) (0,0,5)"));
    QCOMPARE(nrrd.fields.value("space origin"), QByteArray("(100,100,5)"));
    QCOMPARE(nrrd.samples.size(), 2 * 32 * 16 * 80);
    QCOMPARE(nrrd.at(at[0].toInt(), at[1].toInt(), at[2].toInt()), maximum);
    int largest = -32768;
    for (qsizetype n = 0; n + 1 < nrrd.samples.size(); n += 2)
        largest = std::max(largest, int(qint16(quint8(nrrd.samples[n]) | quint8(nrrd.samples[n + 1]) << 8)));
    QCOMPARE(largest, maximum);

    const VolumeFile mha = readVolumeFile(out + QStringLiteral("/processed.mha"), true);
    QCOMPARE(mha.fields.value("DimSize"), QByteArray("32 16 80"));
    QCOMPARE(mha.fields.value("ElementSpacing"), QByteArray("100 100 5"));
    QCOMPARE(mha.fields.value("Offset"), QByteArray("100 100 5"));
    QCOMPARE(mha.fields.value("ElementType"), QByteArray("MET_SHORT"));
    QCOMPARE(mha.fields.value("BinaryDataByteOrderMSB"), QByteArray("False"));
    QCOMPARE(mha.samples, nrrd.samples);

    // The unprocessed volume's cells are centred half a pitch in.
    const VolumeFile raw = readVolumeFile(out + QStringLiteral("/raw.nrrd"), false);
    QCOMPARE(raw.fields.value("space origin"), QByteArray("(50,50,2.5)"));
    QCOMPARE(raw.samples.size(), nrrd.samples.size());

    // Pictures at true proportions, the reflector the brightest spot of the C-scan.
    const QImage c(out + QStringLiteral("/cscan.png"));
    const QImage b(out + QStringLiteral("/bscan.png"));
    const QImage d(out + QStringLiteral("/dscan.png"));
    QCOMPARE(c.size(), QSize(600, 300));   // 3200 × 1600 mm
    QCOMPARE(b.size(), QSize(600, 80));    // 3200 × 400 mm, at least a pixel per layer
    QCOMPARE(d.size(), QSize(150, 600));   // 400 × 1600 mm
    // Pixel p of P shows sample round(p / (P − 1) · (N − 1)): the peak's pixel has the palette's
    // last colour (the pictures scale the maximum to it), a far corner is dark.
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
    QVERIFY(!near(c.pixel(0, 299), peak));
    QVERIFY(qRed(c.pixel(599, 0)) + qGreen(c.pixel(599, 0)) < 64);
}

void TestBatch::reconstructOptionsOverrideStored()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const MapGeneratorOptions o = smallMap(6, 5);
    QString error;
    QVERIFY2(MapGenerator::write(dir.path(), o, &error), qPrintable(error));
    // Stored parameters with a state that fits the volume they give.
    SAFTsettings stored;
    stored.depth = 400;
    stored.frequency = 75;
    stored.bandwidth = 75;
    stored.velocity = 2.7;
    stored.tcg = 5;
    stored.filterSW = true;
    const MapVolumeGrid g = MapVolumeGrid::compute(o.columns, o.rows, o.stepH, o.stepV, 0.4);
    MapViewState state;
    state.threshold = 10;
    state.ranges.dim0 = g.dim0;
    state.ranges.dim1 = g.dim1;
    state.ranges.dim2 = g.dim2;
    state.ranges.range0 = {0, g.dim0 - 1};
    state.ranges.range1 = {0, g.dim1 - 1};
    state.ranges.range2 = {0, g.dim2 - 1};
    QVERIFY(state.isValid());
    QVERIFY(writeViewSettingsFile(dir.filePath(QStringLiteral("usr_map.set")), stored, state, &error));
    const QString cfg = dir.filePath(QStringLiteral("map.cfg"));

    const QString out1 = dir.filePath(QStringLiteral("stored"));
    Run r = runTool(reconstructArgs({cfg, QStringLiteral("--out"), out1}));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QJsonObject s = readSummary(out1);
    QCOMPARE(s.value("savedSettings").toBool(), true);
    QCOMPARE(s.value("parameters").toObject(),
             (QJsonObject{{"depth", 400}, {"frequency", 75}, {"bandwidth", 75}, {"velocity", 2.7}, {"tcg", 5},
                          {"filterSW", true}}));
    QCOMPARE(s.value("dim2").toInt(), g.dim2);
    QCOMPARE(s.value("pictures").toObject().value("threshold").toInt(), 10);

    // One option: the rest stays stored, and so does the state.
    const QString out2 = dir.filePath(QStringLiteral("frequency"));
    r = runTool(reconstructArgs({cfg, QStringLiteral("--out"), out2, QStringLiteral("--frequency"),
                                 QStringLiteral("100")}));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    s = readSummary(out2);
    QCOMPARE(s.value("savedSettings").toBool(), true);
    QCOMPARE(s.value("parameters").toObject().value("frequency").toInt(), 100);
    QCOMPARE(s.value("parameters").toObject().value("depth").toInt(), 400);
    QCOMPARE(s.value("overridden").toArray(), QJsonArray{"frequency"});

    // All of them; a new depth makes a volume the stored state does not fit.
    const QString out3 = dir.filePath(QStringLiteral("all"));
    r = runTool(reconstructArgs({cfg, QStringLiteral("--out"), out3, QStringLiteral("--depth"), QStringLiteral("300"),
                                 QStringLiteral("--velocity"), QStringLiteral("3100"), QStringLiteral("--frequency"),
                                 QStringLiteral("120"), QStringLiteral("--bandwidth"), QStringLiteral("50"),
                                 QStringLiteral("--tcg"), QStringLiteral("12"), QStringLiteral("--no-filter-sw")}));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    s = readSummary(out3);
    QCOMPARE(s.value("savedSettings").toBool(), false);
    QCOMPARE(s.value("parameters").toObject(),
             (QJsonObject{{"depth", 300}, {"frequency", 120}, {"bandwidth", 50}, {"velocity", 3.1}, {"tcg", 12},
                          {"filterSW", false}}));
    QCOMPARE(s.value("dim2").toInt(), MapOpener::layersForDepth(300));
    QCOMPARE(s.value("overridden").toArray().size(), 6);
    QCOMPARE(readVolumeFile(out3 + QStringLiteral("/processed.nrrd"), false).sizes[2], MapOpener::layersForDepth(300));

    // The parameters derived from the map's settings, the options still on top.
    const QString out4 = dir.filePath(QStringLiteral("derived"));
    r = runTool(reconstructArgs({cfg, QStringLiteral("--out"), out4, QStringLiteral("--ignore-saved"),
                                 QStringLiteral("--tcg"), QStringLiteral("7")}));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    s = readSummary(out4);
    QCOMPARE(s.value("savedSettings").toBool(), false);
    QCOMPARE(s.value("parameters").toObject().value("frequency").toInt(), o.frequency);
    QCOMPARE(s.value("parameters").toObject().value("tcg").toInt(), 7);
}

void TestBatch::reconstructManyMapsOneBad()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString maps = dir.filePath(QStringLiteral("maps"));
    MapGeneratorOptions o = smallMap(5, 4);
    QString error;
    for (const char* name : {"a", "b", "c"})
        QVERIFY2(MapGenerator::write(maps + QLatin1Char('/') + QLatin1String(name), o, &error), qPrintable(error));
    // One signal of b one byte short.
    QFile raw(maps + QStringLiteral("/b/2_3.raw"));
    QVERIFY(raw.open(QIODevice::ReadWrite));
    QVERIFY(raw.resize(raw.size() - 1));
    raw.close();
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("empty"))));
    const QString out = dir.filePath(QStringLiteral("out"));
    // An earlier result of b must not survive as if it were this run's.
    QVERIFY(QDir().mkpath(out + QStringLiteral("/b")));
    QFile old(out + QStringLiteral("/b/processed.nrrd"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();

    const Run r = runTool(reconstructArgs({maps, dir.filePath(QStringLiteral("empty")), QStringLiteral("--out"), out}));
    QCOMPARE(r.exitCode, 1);
    const QStringList lines = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts).filter(QStringLiteral("reconstruct:"));
    QCOMPARE(lines.size(), 5); // the empty folder, three maps, the total
    QVERIFY2(lines[0].contains(QLatin1String("empty")) && lines[0].contains(QLatin1String("no map")),
             qPrintable(lines[0]));
    QVERIFY2(lines[1].contains(QLatin1String("[1/3]")) && lines[1].contains(QLatin1String("done")), qPrintable(lines[1]));
    QVERIFY2(lines[2].contains(QLatin1String("[2/3]")) && lines[2].contains(QLatin1String("failed"))
                 && lines[2].contains(QLatin1String("2_3.raw")),
             qPrintable(lines[2]));
    QVERIFY2(lines[3].contains(QLatin1String("[3/3]")) && lines[3].contains(QLatin1String("done")), qPrintable(lines[3]));
    QVERIFY2(lines[4].contains(QLatin1String("2 of 4 maps reconstructed, 2 failed")), qPrintable(lines[4]));
    for (const char* name : {"a", "c"})
        QVERIFY(QFile::exists(out + QLatin1Char('/') + QLatin1String(name) + QStringLiteral("/processed.nrrd")));
    QVERIFY(!QFile::exists(out + QStringLiteral("/b/processed.nrrd")));
    const QJsonObject s = readSummary(out + QStringLiteral("/b"));
    QCOMPARE(s.value("loaded").toBool(), false);
    QVERIFY(s.value("message").toString().contains(QLatin1String("2_3.raw")));
}

void TestBatch::reconstructBadUsage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY2(MapGenerator::write(dir.path(), smallMap(3, 2), &error), qPrintable(error));
    const QString cfg = dir.filePath(QStringLiteral("map.cfg"));
    const QString out = dir.filePath(QStringLiteral("out"));
    const QList<QStringList> bad = {
        {QStringLiteral("--depth"), QStringLiteral("5")},      // fewer than 2 layers
        {QStringLiteral("--bandwidth"), QStringLiteral("30")}, // not a step of 25
        {QStringLiteral("--frequency"), QStringLiteral("52")}, // not a step of 5
        {QStringLiteral("--velocity"), QStringLiteral("fast")},
        {QStringLiteral("--tcg"), QStringLiteral("31")},
        {QStringLiteral("--threads"), QStringLiteral("0")},
        {QStringLiteral("--brightness"), QStringLiteral("41")},
        {QStringLiteral("--bogus")},
    };
    for (const QStringList& extra : bad) {
        const Run r = runTool(QStringList{QStringLiteral("reconstruct"), cfg, QStringLiteral("--out"), out} + extra);
        QVERIFY2(r.exitCode == 2, qPrintable(extra.join(' ')));
        QVERIFY2(r.err.contains(QLatin1String("bad argument")) && r.err.contains(QLatin1String("SYNOPSIS")),
                 qPrintable(r.err));
    }
    QVERIFY(!QFile::exists(out));
    QCOMPARE(runTool({QStringLiteral("reconstruct"), cfg}).exitCode, 2);
    const Run missing = runTool({QStringLiteral("reconstruct"), dir.filePath(QStringLiteral("none.cfg")),
                                 QStringLiteral("--out"), out});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.err.contains(QLatin1String("none.cfg")));
}

void TestBatch::exportAScanCsv()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY2(generateAScans(dir.path(), 2, 7, &error), qPrintable(error));
    const QString bmp = dir.filePath(QStringLiteral("2.bmp"));
    const QString csv = dir.filePath(QStringLiteral("2.csv"));
    const Run r = runTool({QStringLiteral("export-ascan"), bmp, QStringLiteral("--csv"), csv});
    QCOMPARE(r.exitCode, 0);

    AScanRecord record;
    QVERIFY(loadAScanRecord(bmp, record, &error));
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QCOMPARE(lines.first(), QByteArray("sample,time_us,depth_m,amplitude"));
    QCOMPARE(lines.size() - 2, record.samples.size()); // header and the empty tail
    const double perUs = record.currentSettings.iSamplesPer10us / 10.0;
    for (int n : {0, 1, 777, int(record.samples.size()) - 1}) {
        const QList<QByteArray> cols = lines[n + 1].split(',');
        QCOMPARE(cols.size(), 4);
        QCOMPARE(cols[0].toInt(), n);
        QVERIFY(qAbs(cols[1].toDouble() - n / perUs) < 1e-3);
        QVERIFY(qAbs(cols[2].toDouble() - sampleToDepth(record.currentSettings, n)) < 1e-6);
        QCOMPARE(cols[3].toInt(), int(record.samples[n]));
    }
}

void TestBatch::exportAScanBadInput()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY(generateAScans(dir.path(), 1, 3, &error));
    const QString csv = dir.filePath(QStringLiteral("out.csv"));
    // An earlier table stays when the A-scan cannot be read.
    {
        QFile f(csv);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old\n");
    }
    QFile::remove(dir.filePath(QStringLiteral("1.raw")));
    Run r = runTool({QStringLiteral("export-ascan"), dir.filePath(QStringLiteral("1.bmp")),
                     QStringLiteral("--csv"), csv});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains(QLatin1String("1.bmp")));
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("old\n"));

    r = runTool({QStringLiteral("export-ascan"), dir.filePath(QStringLiteral("nothing.bmp")),
                 QStringLiteral("--csv"), csv});
    QCOMPARE(r.exitCode, 1);
    r = runTool({QStringLiteral("export-ascan"), QStringLiteral("--csv")});
    QCOMPARE(r.exitCode, 2);
}

void TestBatch::exportAScanPng()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY2(generateAScans(dir.path(), 5, 5, &error), qPrintable(error));
    auto png = [&](int n, const QStringList& extra) {
        const QString path = dir.filePath(QStringLiteral("%1.png").arg(n));
        const Run r = runTool(QStringList{QStringLiteral("export-ascan"), dir.filePath(QStringLiteral("%1.bmp").arg(n)),
                                          QStringLiteral("--png"), path}
                              + extra);
        return std::pair{r, QImage(path)};
    };
    const auto [r1, one] = png(1, {});
    QVERIFY2(r1.exitCode == 0, qPrintable(r1.err));
    QCOMPARE(one.size(), QSize(1000, 520));
    // The trace is drawn: many pixels of a saturated green.
    int green = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) {
            const QRgb p = one.pixel(x, y);
            green += qGreen(p) > 180 && qRed(p) < 120 && qBlue(p) < 120;
        }
    QVERIFY2(green > 500, qPrintable(QString::number(green)));
    const auto [r2, two] = png(2, {QStringLiteral("--size"), QStringLiteral("800x400")});
    QVERIFY2(r2.exitCode == 0, qPrintable(r2.err));
    QCOMPARE(two.size(), QSize(800, 400));
    const auto [r3, three] = png(3, {});
    QVERIFY(three.size() == one.size() && three != one); // another signal, another picture

    // Bad size, missing signal, unwritable place: no picture.
    QCOMPARE(png(1, {QStringLiteral("--size"), QStringLiteral("10x10")}).first.exitCode, 2);
    QFile::remove(dir.filePath(QStringLiteral("4.png")));
    QFile::remove(dir.filePath(QStringLiteral("4.raw")));
    const auto [r4, four] = png(4, {});
    QCOMPARE(r4.exitCode, 1);
    QVERIFY(four.isNull() && !QFile::exists(dir.filePath(QStringLiteral("4.png"))));
    const Run r5 = runTool({QStringLiteral("export-ascan"), dir.filePath(QStringLiteral("5.bmp")), QStringLiteral("--png"),
                            dir.filePath(QStringLiteral("no/such/folder/5.png"))});
    QCOMPARE(r5.exitCode, 1);
    QVERIFY(r5.err.contains(QLatin1String("5.png")));
}

void TestBatch::helpForEveryCommand()
{
    const Run list = runTool({QStringLiteral("--help")});
    QCOMPARE(list.exitCode, 0);
    const QStringList lines = list.out.split(QLatin1Char('\n'));
    int commands = 0;
    for (const QString& line : lines) {
        // Command lines are indented by two blanks; usage lines by more.
        if (!line.startsWith(QLatin1String("  ")) || line.startsWith(QLatin1String("   ")))
            continue;
        const QString name = line.trimmed().section(QLatin1Char(' '), 0, 0);
        const Run help = runTool({name, QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.contains(QLatin1String("SYNOPSIS")) && help.out.contains(QLatin1String("NAME")),
                 qPrintable(name));
        ++commands;
    }
    QVERIFY(commands >= 4);
}

// The demo map as tools/demo.sh makes it: with realistic signals the reconstruction at 0 dB
// neither clips nor floods the palette's top colour, and each reflector stands out.
void TestBatch::demoMapReconstructsWithinPalette()
{
    QTemporaryDir dir;
    const QString map = dir.filePath(QStringLiteral("map"));
    const QString out = dir.filePath(QStringLiteral("out"));
    const Run gen = runTool({"gen-map", map, "--columns", "30", "--rows", "20", "--step-h", "10", "--step-v", "10",
                             "--reflector", "80,60,150", "--reflector", "200,120,260", "--reflector", "150,150,380",
                             "--view", "80,60,150", "--view-limits"});
    QVERIFY2(gen.exitCode == 0, qPrintable(gen.err));
    const Run rec = runTool({"reconstruct", map + "/map.cfg", "--out", out, "--no-pictures", "--quiet"});
    QVERIFY2(rec.exitCode == 0, qPrintable(rec.err));
    QVERIFY(readSummary(out).value("savedSettings").toBool());

    const VolumeFile v = readVolumeFile(QDir(out).filePath(QStringLiteral("processed.nrrd")), false);
    QCOMPARE(v.sizes[0], 60);
    QCOMPARE(v.sizes[1], 40);
    QCOMPARE(v.sizes[2], 100);
    int maximum = 0;
    qint64 aboveTop = 0, clipped = 0;
    for (int k = 0; k < v.sizes[2]; ++k)
        for (int j = 0; j < v.sizes[1]; ++j)
            for (int i = 0; i < v.sizes[0]; ++i) {
                const int value = v.at(i, j, k);
                maximum = std::max(maximum, value);
                aboveTop += value > 255;
                clipped += value == 32767;
            }
    QCOMPARE(clipped, 0);
    QVERIFY2(aboveTop <= 60 * 40 * 100 / 50, qPrintable(QString::number(aboveTop)));
    QVERIFY2(maximum >= 255, qPrintable(QString::number(maximum)));
    // Each reflector (SAFT voxel a at (a + 1) · 5 mm) shows in the palette's upper half near its
    // place, above the volume's median ten times over.
    std::vector<int> all;
    for (qsizetype n = 0; n + 1 < v.samples.size(); n += 2)
        all.push_back(qint16(quint16(quint8(v.samples[n])) | quint16(quint8(v.samples[n + 1])) << 8));
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

// The same options give the same files; --seed changes the random parts; --clean gives the
// generators' clean signals.
void TestBatch::generatorsRepeatAndCleanOption()
{
    QTemporaryDir dir;
    const QStringList common = {"--columns", "4", "--rows", "3", "--reflector", "20,15,100"};
    auto signal = [&](const QString& name) {
        QFile f(dir.filePath(name + QStringLiteral("/2_3.raw")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    for (const char* name : {"a", "b"})
        QCOMPARE(runTool(QStringList{"gen-map", dir.filePath(name)} + common).exitCode, 0);
    QCOMPARE(runTool(QStringList{"gen-map", dir.filePath("seed"), "--seed", "2"} + common).exitCode, 0);
    QCOMPARE(runTool(QStringList{"gen-map", dir.filePath("clean"), "--clean"} + common).exitCode, 0);
    QCOMPARE(signal("a").size(), 80000);
    QCOMPARE(signal("a"), signal("b"));
    QVERIFY(signal("a") != signal("seed"));

    MapGeneratorOptions o;
    o.columns = 4;
    o.rows = 3;
    o.reflectors = {MapReflector{20, 15, 100, 1.0}};
    const std::vector<qint16> clean = MapGenerator::signal(o, 2, 3);
    QCOMPARE(signal("clean"), QByteArray(reinterpret_cast<const char*>(clean.data()), 80000));

    auto ascan = [&](const QString& name) {
        QFile f(dir.filePath(name + QStringLiteral("/4.raw")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
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
