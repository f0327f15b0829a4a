// Map file set: configuration bytes, folder, volume grid, depths, MapData, generator and tool.

#include "map/depthconversion.h"
#include "map/mapconfig.h"
#include "map/mapdata.h"
#include "map/mapfolder.h"
#include "map/mapgenerator.h"
#include "map/mapvolumegrid.h"
#include "ascan/instrumentblock.h"

#include "common/bytes.h"
#include "common/filefixtures.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using TestBytes::putLe;
using TestBytes::readAll;
using TestBytes::touch;
using TestBytes::writeBytes;

namespace {

// A configuration file laid out byte by byte: title, the marked block at 70, steps and sizes,
// and both names (the old layout's at 224, the new one's five bytes later).
QByteArray handBuiltConfig()
{
    QByteArray b(300, '\0');
    b.replace(0, 17, QByteArray("\x03\x04M773Weld seam 7", 17));
    TestFiles::markInstrumentBlock(b, 70);
    putLe(b, 204, 10, 2); // horizontal step
    putLe(b, 206, 20, 2); // vertical step
    b.replace(209, 4, QByteArray::fromHex("011e0119")); // sizes 30 and 25, each present
    b.replace(224, 13, "abcdenew-name");
    return b;
}

MapConfig parsed(const QByteArray& bytes)
{
    MapConfig c;
    MapConfig::parse(bytes, c);
    return c;
}

// A 3 × 2 × 4 volume with distinct values, some negative.
std::vector<qint16> smallVolume()
{
    std::vector<qint16> v(3 * 2 * 4);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            for (int k = 0; k < 4; ++k)
                v[size_t((i * 2 + j) * 4 + k)] = qint16((i == 1 && j == 1) ? -(100 + k) : 100 * i + 10 * j + k);
    return v;
}

// Whatever the bytes, an accepted configuration holds a repaired record and bounded texts.
void checkAccepted(const MapConfig& c)
{
    ConfigSettings repaired = c.settings;
    QVERIFY(repaired.validateAndRepair());
    QVERIFY(c.title.toUtf8().size() <= 63 * 3);
    QVERIFY(c.mapName.toUtf8().size() <= 63 * 3);
    QVERIFY(c.stepH >= 0 && c.stepH <= 0xFFFF);
    QVERIFY(c.sizeH >= 0 && c.sizeH <= 255);
    MapConfig g = c;
    g.validateGeometry();
    const MapVolumeGrid grid = MapVolumeGrid::compute(g.sizeH, g.sizeV, g.stepH, g.stepV,
                                                      sampleToDepth(c.settings, c.settings.iWindowEnd));
    // At most 40000 samples at 10 per 10 µs and 15000 m/s in transmission: 600 m.
    QVERIFY(grid.dim0 >= 0 && grid.dim1 >= 0 && grid.dim2 >= 0 && grid.dim2 <= 120000);
    QVERIFY(grid.bytesNeeded() >= 0);
}

} // namespace

class TestMapFiles : public QObject
{
    Q_OBJECT

private slots:
    void configLayouts_data();
    void configLayouts();
    void configSizePresence_data();
    void configSizePresence();
    void configTexts();
    void configReadLimit();
    void configGeometryRepair();
    void folderScan();
    void folderMemoryLimit();
    void gridRule_data();
    void gridRule();
    void gridLayers_data();
    void gridLayers();
    void gridMemory();
    void depthConversions();
    void depthRoundingHalves_data();
    void depthRoundingHalves();
    void mapDataSaftBandwidth();
    void mapDataSlices();
    void mapDataProjections();
    void mapDataBoxMaximum_data();
    void mapDataBoxMaximum();
    void mapDataVolumes();
    void generatorAndToolInfo();
    void robustConfig();
};

void TestMapFiles::configLayouts_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("newFormat");
    QTest::newRow("3.3") << 3 << 3 << false;
    QTest::newRow("3.4") << 3 << 4 << true;
    QTest::newRow("4.0") << 4 << 0 << true;
}

void TestMapFiles::configLayouts()
{
    // The same bytes by either layout: name at 229 and velocity in the block, or at 224 and fixed.
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, newFormat);
    QByteArray b = handBuiltConfig();
    b[0] = char(major);
    b[1] = char(minor);
    MapConfig c;
    QVERIFY(MapConfig::parse(b, c));
    QCOMPARE(c.newFormat, newFormat);
    QCOMPARE(c.title, QStringLiteral("Weld seam 7"));
    QCOMPARE(c.mapName, newFormat ? QStringLiteral("new-name") : QStringLiteral("abcdenew-name"));
    QVERIFY(TestFiles::blockMarked(c.settings, newFormat));
    QCOMPARE(c.stepH, 10);
    QCOMPARE(c.stepV, 20);
}

void TestMapFiles::configSizePresence_data()
{
    // Bytes 209 to 212: presence and points, horizontal then vertical.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("sizeH");
    QTest::addColumn<int>("sizeV");
    QTest::newRow("both present") << QByteArray("011e0119") << 30 << 25;
    QTest::newRow("0 at 209: size 0 whatever 210 holds") << QByteArray("004d0119") << 0 << 25;
    QTest::newRow("2 at 211 is not present") << QByteArray("011e0219") << 30 << 0;
    QTest::newRow("0xFF is not present") << QByteArray("ff1eff19") << 0 << 0;
    QTest::newRow("present, 255 and 0 points") << QByteArray("01ff0100") << 255 << 0;
}

void TestMapFiles::configSizePresence()
{
    QFETCH(QByteArray, bytes);
    const MapConfig c = parsed(handBuiltConfig().replace(209, 4, QByteArray::fromHex(bytes)));
    QTEST(c.sizeH, "sizeH");
    QTEST(c.sizeV, "sizeV");
}

void TestMapFiles::configTexts()
{
    // 64 bytes without a NUL: the 64th is taken as NUL.
    QByteArray b = handBuiltConfig();
    b.replace(6, 64, QByteArray(64, 'T'));
    b.replace(229, 64, QByteArray(64, 'N'));
    QCOMPARE(parsed(b).title, QString(63, u'T'));
    QCOMPARE(parsed(b).mapName, QString(63, u'N'));
}

void TestMapFiles::configReadLimit()
{
    // A file reads as its first 2048 bytes, whatever follows, and a missing one is reported.
    QTemporaryDir dir;
    QByteArray b = handBuiltConfig();
    b.resize(2048, '\0');
    QVERIFY(writeBytes(dir.filePath("long.cfg"), b + QByteArray(5000, '\xAB')));
    MapConfig a;
    QVERIFY(MapConfig::read(dir.filePath("long.cfg"), a));
    QCOMPARE(a.mapName, parsed(b).mapName);
    QString error;
    QVERIFY(!MapConfig::read(dir.filePath("none.cfg"), a, &error));
    QVERIFY(error.contains(QStringLiteral("none.cfg")));
    QVERIFY(!MapConfig::read(dir.path(), a, &error)); // a folder
}

void TestMapFiles::configGeometryRepair()
{
    MapConfig c;
    c.stepH = 9;
    c.stepV = 1000;
    c.sizeH = 0;
    c.sizeV = 101;
    QVERIFY(!c.validateGeometry());
    QCOMPARE(c.stepH, 100);
    QCOMPARE(c.sizeV, 5);
    c.stepH = 10;
    c.sizeH = 100;
    QVERIFY(c.validateGeometry());
}

void TestMapFiles::folderScan()
{
    QTemporaryDir dir;
    MapFolder::Scan s;
    QString error;
    QVERIFY(!MapFolder::scan(dir.filePath("no-such-folder"), s, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(MapFolder::scan(dir.path(), s)); // empty: no positions, no size
    QCOMPARE(s.columns + s.rows, 0);
    for (const char* name : {"01_1.raw", "1_1.raw", "2_1.raw", "1__2.raw", "_3_4_.raw", "1001_1.raw",
                             "0_1.raw", "1_99999999999.raw", "1_1_1.raw", "a_1.raw", "0x1_2.raw",
                             "1_999999999999999999999999.raw", "1.raw", "notes.txt", "5_5.dat"})
        QVERIFY(touch(dir.filePath(name)));
    QVERIFY(QDir(dir.path()).mkdir("3_3.raw")); // a folder
    QVERIFY(QFile::link(dir.filePath("1_1.raw"), dir.filePath("4_4.raw"))); // a link
    QVERIFY(MapFolder::scan(dir.path(), s));
    QCOMPARE(s.columns, 3);
    QCOMPARE(s.rows, 4);
    QCOMPARE(s.outOfRange, 3); // 1001, 0 and past int; past 64 bits is no number at all
    QCOMPARE(s.ignored, 5);
    // Key order: row after row; two names for one position: the later one in name order.
    std::vector<MapPositionKey> keys;
    for (const auto& [key, path] : s.positions)
        keys.push_back(key);
    QVERIFY((keys == std::vector<MapPositionKey>{{1, 1}, {2, 1}, {1, 2}, {3, 4}}));
    QCOMPARE(s.positions.at({1, 1}), dir.path() + "/1_1.raw");
    QCOMPARE(s.positions.at({1, 2}), dir.path() + "/1__2.raw");
}

void TestMapFiles::folderMemoryLimit()
{
    QTemporaryDir dir;
    for (const char* name : {"1_1.raw", "2_1.raw", "3_1.raw"})
        QVERIFY(TestBytes::touch(dir.filePath(name)));
    MapFolder::Scan s;
    QVERIFY(MapFolder::scan(dir.path(), s, nullptr, MapFolder::signalBytes(3)));
    QCOMPARE(s.columns, 3);
    QString error;
    QVERIFY(!MapFolder::scan(dir.path(), s, &error, MapFolder::signalBytes(3) - 1));
    QVERIFY(s.positions.empty());
    QCOMPARE(s.columns, 0);
    QVERIFY2(error.contains(QStringLiteral("memory")), qPrintable(error));
}

void TestMapFiles::gridRule_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("stepH");
    QTest::addColumn<int>("stepV");
    QTest::addColumn<int>("repH");
    QTest::addColumn<int>("repV");
    QTest::addColumn<int>("dim0");
    QTest::addColumn<int>("dim1");
    QTest::addColumn<int>("pitchX");
    QTest::addColumn<int>("pitchY");
    QTest::addColumn<bool>("reduced");
    QTest::newRow("20x25 at 100 mm: 200000 exactly") << 20 << 25 << 100 << 100 << 20 << 20 << 400 << 500 << 5 << 5 << false;
    QTest::newRow("21x25 at 100 mm") << 21 << 25 << 100 << 100 << 2 << 2 << 42 << 50 << 50 << 50 << true;
    QTest::newRow("501x1 at 1000 mm") << 501 << 1 << 1000 << 1000 << 2 << 2 << 1002 << 2 << 500 << 500 << true;
    QTest::newRow("steps 17 x 33") << 4 << 3 << 17 << 33 << 3 << 6 << 12 << 18 << 5 << 5 << false;
    QTest::newRow("odd steps reduced") << 300 << 300 << 25 << 15 << 2 << 2 << 600 << 600 << 12 << 7 << true;
    QTest::newRow("step below a cell") << 10 << 10 << 4 << 10 << 0 << 2 << 0 << 20 << 5 << 5 << false;
}

void TestMapFiles::gridRule()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(int, stepH);
    QFETCH(int, stepV);
    const MapVolumeGrid g = MapVolumeGrid::compute(columns, rows, stepH, stepV, 0.5);
    QTEST(g.repH, "repH");
    QTEST(g.repV, "repV");
    QTEST(g.dim0, "dim0");
    QTEST(g.dim1, "dim1");
    QTEST(g.pitchX, "pitchX");
    QTEST(g.pitchY, "pitchY");
    QTEST(g.reduced, "reduced");
}

void TestMapFiles::gridLayers_data()
{
    QTest::addColumn<double>("range");
    QTest::addColumn<int>("layers");
    QTest::newRow("2.5 layers up") << 0.0125 << 3;
    QTest::newRow("1.5 layers up") << 0.0075 << 2;
    QTest::newRow("negative") << -0.5 << 0;
    QTest::newRow("NaN") << std::nan("") << 0;
    QTest::newRow("huge") << 1e300 << 2147483647;
}

void TestMapFiles::gridLayers()
{
    QFETCH(double, range);
    QTEST(MapVolumeGrid::layersFor(range), "layers");
}

void TestMapFiles::gridMemory()
{
    QVERIFY(MapVolumeGrid::compute(30, 20, 10, 10, 0.5).fitsMemory(Vantar::kMapMemoryLimit));
    const MapVolumeGrid big = MapVolumeGrid::compute(1000, 1000, 10, 10, 5.0);
    QString error;
    QVERIFY(!big.fitsMemory(Vantar::kMapMemoryLimit, &error));
    QVERIFY2(error.contains(QStringLiteral("2000 × 2000 × 1000")), qPrintable(error)); // beyond 32 bits
    const MapVolumeGrid absurd = MapVolumeGrid::compute(1000, 1000, 65535, 65535, 1e300);
    QVERIFY(absurd.bytesNeeded() > 0);
    QVERIFY(!absurd.fitsMemory(Vantar::kMapMemoryLimit));
}

void TestMapFiles::depthConversions()
{
    ConfigSettings s;
    // Inverse to within rounding over the record, for several rates and velocities.
    for (int S : {10, 37, 100})
        for (int v : {500, 2600, 5920, 15000})
            for (int method : {0, 1}) {
                s.iSamplesPer10us = qint16(S);
                s.iVelocity = qint16(v);
                s.eTestingMethod = ConfigSettings::ETestingMethod(method);
                for (int n = -50; n <= 40000; n += 997)
                    QCOMPARE(depthToSample(s, sampleToDepth(s, n)), n);
            }
    // Guarded against a zero rate, huge depths and NaN.
    QCOMPARE(depthToSample(s, 1e300), 2147483647);
    QCOMPARE(depthToSample(s, std::nan("")), 0);
    s.iSamplesPer10us = 0;
    QCOMPARE(sampleToDepth(s, 100), 0.0);
    QCOMPARE(depthToSample(s, 0.1), 0);
}

void TestMapFiles::depthRoundingHalves_data()
{
    QTest::addColumn<double>("depth");
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("sample");
    // S = 10, v = 2000 m/s: these depths give exact halves.
    QTest::newRow("2.5 transmission") << 0.005 << 1 << 3;
    QTest::newRow("-2.5 transmission") << -0.005 << 1 << -2;
    QTest::newRow("12.5 reflection") << 0.0125 << 0 << 13;
    QTest::newRow("-12.5 reflection") << -0.0125 << 0 << -12;
}

void TestMapFiles::depthRoundingHalves()
{
    QFETCH(double, depth);
    QFETCH(int, method);
    ConfigSettings s;
    s.iSamplesPer10us = 10;
    s.iVelocity = 2000;
    s.eTestingMethod = ConfigSettings::ETestingMethod(method);
    QTEST(depthToSample(s, depth), "sample");
}

void TestMapFiles::mapDataSaftBandwidth()
{
    // The SAFT band in percent sets the filter's band; anything but 25, 50 and 75 is the full band.
    MapData m;
    for (const auto& [percent, bandwidth] : {std::pair{25, 0.25}, {75, 0.75}, {100, 1.0}, {60, 1.0}, {0, 1.0}}) {
        SAFTsettings s;
        s.bandwidth = percent;
        m.setSAFTsettings(s);
        QCOMPARE(m.filter().bandwidth(), bandwidth);
    }
}

void TestMapFiles::mapDataSlices()
{
    // The axes of the planes are checked through the images; here the values at the edges.
    MapData m;
    QVERIFY(m.setRawVolume(3, 2, 4, smallVolume()));
    m.setViewingMode(RawView);
    QCOMPARE(m.voxel(1, 1, 2), qint16(-102));
    QCOMPARE(m.voxel(0, 0, -1), qint16(0));
    QCOMPARE(m.sliceD(2).values, (std::vector<qint16>{200, 210, 201, 211, 202, 212, 203, 213}));
    QCOMPARE(m.sliceD(2).at(4, 0), qint16(0));
    QVERIFY(m.sliceC(-1).isNull());
    QVERIFY(m.sliceB(2).isNull());
    QVERIFY(m.sliceD(-1).isNull());
    const auto column = m.column(1, 0);
    QCOMPARE(std::vector<qint16>(column.begin(), column.end()), (std::vector<qint16>{100, 101, 102, 103}));
    QVERIFY(m.column(1, 2).empty());
}

void TestMapFiles::mapDataProjections()
{
    MapData m;
    m.setViewingMode(RawView);
    QVERIFY(m.setRawVolume(3, 2, 4, smallVolume()));
    QCOMPARE(m.projectionC().values, (std::vector<qint16>{3, 13, 103, 0, 203, 213}));
    QCOMPARE(m.projectionB().values, (std::vector<qint16>{10, 11, 12, 13, 100, 101, 102, 103, 210, 211, 212, 213}));
    QCOMPARE(m.projectionD().values, (std::vector<qint16>{200, 210, 201, 211, 202, 212, 203, 213}));
    QVERIFY(m.viewRanges().isConsistent());

    // Depth 1 … 2, vertical 0 … 0, horizontal 0 … 1: cells outside the other two ranges stay 0.
    m.setRange2(1, 2);
    m.setRange1(0, 0);
    m.setRange0(0, 1);
    QCOMPARE(m.projectionC().values, (std::vector<qint16>{2, 0, 102, 0, 0, 0}));
    QCOMPARE(m.projectionB().values, (std::vector<qint16>{0, 1, 2, 0, 0, 101, 102, 0, 0, 0, 0, 0}));
    QCOMPARE(m.projectionD().values, (std::vector<qint16>{0, 0, 101, 0, 102, 0, 0, 0}));
    QVERIFY(!m.viewRanges().isConsistent()); // first < last fails on axis 1

    // Ranges reaching outside the volume count only their inside part; an empty range gives 0.
    m.setRange0(-5, 99);
    m.setRange1(-1, 7);
    m.setRange2(3, 100);
    QCOMPARE(m.projectionC().values, (std::vector<qint16>{3, 13, 103, 0, 203, 213}));
    m.setRange2(3, 2);
    QCOMPARE(m.projectionC().values, (std::vector<qint16>(6, 0)));
}

void TestMapFiles::mapDataBoxMaximum_data()
{
    QTest::addColumn<QList<int>>("box");
    QTest::addColumn<int>("maximum");
    QTest::newRow("whole") << QList<int>{0, 2, 0, 1, 0, 3} << 213;
    QTest::newRow("one voxel") << QList<int>{1, 1, 0, 0, 2, 2} << 102;
    QTest::newRow("negative voxels only: 0") << QList<int>{1, 1, 1, 1, 0, 3} << 0;
    QTest::newRow("i1 = dim0") << QList<int>{0, 3, 0, 1, 0, 3} << 0;
    QTest::newRow("i0 > i1") << QList<int>{2, 1, 0, 1, 0, 3} << 0;
    QTest::newRow("negative first indices") << QList<int>{-4, 0, -4, 0, -4, 1} << 1;
}

void TestMapFiles::mapDataBoxMaximum()
{
    QFETCH(QList<int>, box);
    MapData m;
    m.setViewingMode(RawView);
    QCOMPARE(m.boxMaximum(box[0], box[1], box[2], box[3], box[4], box[5]), qint16(0)); // no volume
    QVERIFY(m.setRawVolume(3, 2, 4, smallVolume()));
    QTEST(int(m.boxMaximum(box[0], box[1], box[2], box[3], box[4], box[5])), "maximum");
}

void TestMapFiles::mapDataVolumes()
{
    MapData m;
    QVERIFY(!m.setProcessedVolume(smallVolume())); // no unprocessed volume
    QVERIFY(m.setRawVolume(3, 2, 4, smallVolume()));
    QVERIFY(!m.currentVolume()); // shown processed, none yet: nothing current
    QCOMPARE(m.projectionC().values, std::vector<qint16>(6, 0));
    QVERIFY(!m.setProcessedVolume(std::vector<qint16>(23)));
    std::vector<qint16> processed(24, 0);
    processed[MapData::voxelIndex(2, 4, 2, 1, 3)] = 999;
    QVERIFY(m.setProcessedVolume(processed));
    QCOMPARE(m.projectionC().at(2, 1), qint16(999));
    m.setViewingMode(RawView);
    QCOMPARE(m.projectionC().at(2, 1), qint16(213));
    m.setViewingMode(EScanProcessing(7)); // not a mode: processed
    QCOMPARE(m.voxel(2, 1, 3), qint16(999));
    // A new unprocessed volume releases the processed one; a wrong one leaves none.
    QVERIFY(m.setRawVolume(3, 2, 4, smallVolume()));
    QVERIFY(!m.hasProcessedVolume());
    m.setViewingMode(RawView);
    QVERIFY(!m.setRawVolume(3, 2, 5, smallVolume())); // size mismatch
    QVERIFY(!m.hasRawVolume());
    QVERIFY(m.projectionB().isNull());
}

void TestMapFiles::generatorAndToolInfo()
{
    // gen-map is seeded: the same options give the same bytes.
    QTemporaryDir dir;
    const QString folder = dir.filePath("gen");
    const QStringList options = {"--columns", "4", "--rows", "3", "--step-h", "10", "--step-v", "20", "--reflector",
                                 "15,30,150", "--noise", "0", "--name", "plate", "--title", "Проверка"};
    for (const QString& to : {folder, dir.filePath("again")}) {
        const TestBytes::ToolRun gen = TestBytes::runTool(QStringList{"gen-map", to} + options);
        QVERIFY2(gen.exitCode == 0, qPrintable(gen.err));
    }
    QCOMPARE(readAll(dir.filePath("again/3_2.raw")), readAll(folder + "/3_2.raw"));
    // info on it, a signal file missing and a stray name beside them.
    QVERIFY(QFile::remove(folder + "/4_3.raw"));
    QVERIFY(touch(folder + "/x_1.raw"));
    const TestBytes::ToolRun info = TestBytes::runTool({"info", folder + "/plate.cfg"});
    QCOMPARE(info.exitCode, 0);
    const QJsonObject j = QJsonDocument::fromJson(info.out).object();
    QCOMPARE(j["title"].toString(), QStringLiteral("Проверка"));
    QCOMPARE(j["columns"].toInt(), 4);
    QCOMPARE(j["rows"].toInt(), 3);
    QCOMPARE(j["signalFiles"].toInt(), 11);
    QCOMPARE(j["folder"].toObject()["ignoredFiles"].toInt(), 1);
    QCOMPARE(j["settings"].toObject()["iWindowEnd"].toInt(), 3847); // 2 x 500 / 2.6 x 10, up
    QCOMPARE(j["grid"].toObject()["dim0"].toInt(), 8);  // four columns of two cells
}

void TestMapFiles::robustConfig()
{
    // Every length: from 7 bytes accepted and repaired, missing bytes as zero; shorter ones refused.
    MapGeneratorOptions o;
    o.columns = 30;
    o.rows = 20;
    const QByteArray full = MapGenerator::configuration(o);
    for (int length = 0; length <= full.size(); ++length) {
        MapConfig c;
        c.title = QStringLiteral("previous");
        QString error;
        const bool ok = MapConfig::parse(full.left(length), c, &error);
        QCOMPARE(ok, length >= 7);
        if (ok)
            checkAccepted(c);
        else
            QVERIFY(c.title == QStringLiteral("previous") && error.contains(QString::number(length)));
    }
    MapConfig c;
    QVERIFY(MapConfig::parse(full.left(70), c)); // no block: repaired
    QCOMPARE(c.settings.iWindowEnd, 10000);
    QVERIFY(c.settingsRepaired);
    QVERIFY(MapConfig::parse(full.left(205), c)); // the low byte of the horizontal step
    QCOMPARE(c.stepH, 10);
    // Every byte flipped or set to an extreme in turn: only a changed signature is refused, untouched.
    const auto changes = {std::pair{'\x01', true}, {'\x80', true}, {'\x00', false}, {'\xFF', false}, {'\x7F', false}};
    for (int at = 0; at < full.size(); ++at) {
        for (const auto& [value, flip] : changes) {
            QByteArray b = full;
            b[at] = flip ? char(b[at] ^ value) : value;
            MapConfig c;
            c.stepH = 42;
            QString error;
            const bool ok = MapConfig::parse(b, c, &error);
            QCOMPARE(ok, at < 2 || at >= 6 || b == full);
            if (ok)
                checkAccepted(c);
            else
                QVERIFY2(c.stepH == 42 && error.contains(QStringLiteral("M773")), qPrintable(error));
        }
    }
}

QTEST_GUILESS_MAIN(TestMapFiles)
#include "tst_mapfiles.moc"
