// Map file set: configuration bytes, folder listing, volume grid, depth conversions, MapData
// slices and projections, the generator read back, mutated files and vantar-tool on them.

#include "map/depthconversion.h"
#include "map/mapconfig.h"
#include "map/mapdata.h"
#include "map/mapfolder.h"
#include "map/mapgenerator.h"
#include "map/mapvolumegrid.h"
#include "ascan/instrumentblock.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <random>

Q_DECLARE_METATYPE(MapPositionKey)

namespace {

void putU16(QByteArray& b, int at, int v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

void putI32(QByteArray& b, int at, qint32 v)
{
    for (int k = 0; k < 4; ++k)
        b[at + k] = char((quint32(v) >> (8 * k)) & 0xFF);
}

void putText(QByteArray& b, int at, const QByteArray& text)
{
    for (int k = 0; k < text.size(); ++k)
        b[at + k] = text[k];
}

// A configuration file laid out byte by byte: the block is filled by hand at its offsets.
QByteArray handBuiltConfig(int major, int minor)
{
    QByteArray b(300, '\0');
    b[0] = char(major);
    b[1] = char(minor);
    putText(b, 2, "M773");
    putText(b, 6, "Weld seam 7");
    const int blk = 70;
    putU16(b, blk + 0x58, 3846);      // iWindowEnd
    b[blk + 0x65] = 1;                // iStrobe
    putI32(b, blk + 0x66, 100000);    // fStrobeStart 100.0
    putI32(b, blk + 0x6A, 200000);    // fStrobeEnd 200.0
    putU16(b, blk + 0x6E, 255);       // iStrobeLevel
    putU16(b, blk + 0x70, 2600);      // iVelocity
    b[blk + 0x72] = char(0xD0);       // dBase 20.00 (2000 = 0x0007D0)
    b[blk + 0x73] = 0x07;
    b[blk + 0x76] = 40;               // iGain
    b[blk + 0x77] = 1;                // eProbeType
    b[blk + 0x78] = 50;               // iFrequency
    b[blk + 0x79] = 2;                // iPeriodHalves
    b[blk + 0x7D] = 100;              // iSamplesPer10us
    b[blk + 0x7F] = 1;                // iAveraging
    b[blk + 0x80] = 45;               // iRepetitionRate
    b[blk + 0x81] = 1;                // iInputFilter off
    putU16(b, 204, 10);               // stepH
    putU16(b, 206, 20);               // stepV
    b[209] = 1;
    b[210] = 30;                      // sizeH
    b[211] = 1;
    b[212] = 25;                      // sizeV
    putI32(b, 214, 2650500);          // fBaseVelocity 2650.5 (read only by 3.4 and later)
    // The old layout's name starts at 224; the new one's at 229, five bytes later.
    if (isVersion34OrLater(major, minor)) {
        putText(b, 224, "abcde");
        putText(b, 229, "new-name");
    } else {
        putText(b, 224, "old-name");
    }
    return b;
}

MapConfig parsed(const QByteArray& bytes, bool* ok = nullptr, QString* error = nullptr)
{
    MapConfig c;
    const bool r = MapConfig::parse(bytes, c, error);
    if (ok)
        *ok = r;
    return c;
}

bool touch(const QString& path, qint64 size = 0)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    return f.resize(size);
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

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::vector<qint16> samplesOf(const QByteArray& b)
{
    std::vector<qint16> s(size_t(b.size() / 2));
    for (size_t n = 0; n < s.size(); ++n)
        s[n] = qint16(quint8(b[qsizetype(2 * n)]) | (quint8(b[qsizetype(2 * n + 1)]) << 8));
    return s;
}

QString toolPath()
{
    return QStringLiteral(VANTAR_BIN_DIR "/vantar-tool");
}

} // namespace

class TestMapFiles : public QObject
{
    Q_OBJECT

private slots:
    void configNewFormat();
    void configVersionDecidesFormat_data();
    void configVersionDecidesFormat();
    void configSizePresence_data();
    void configSizePresence();
    void configTexts();
    void configReadsAtMost2048Bytes();
    void configEncodeRoundTrip();
    void configGeometryRepair();
    void configMissingFile();

    void signalFileNames_data();
    void signalFileNames();
    void folderListing();
    void folderDuplicatesAndKinds();
    void folderMemoryLimit();

    void gridRule_data();
    void gridRule();
    void gridLayers_data();
    void gridLayers();
    void gridMemory();

    void depthConversions();
    void depthRoundingHalves_data();
    void depthRoundingHalves();

    void mapDataSaftBandwidth_data();
    void mapDataSaftBandwidth();
    void mapDataTraces();
    void mapDataSlices();
    void mapDataProjections();
    void mapDataBoxMaximum_data();
    void mapDataBoxMaximum();
    void mapDataViewingMode();
    void mapDataBadVolumes();

    void generatorReadBack();
    void generatorMissingAndShort();
    void generatorRefusesBadOptions();

    void robustConfigTruncation();
    void robustConfigBytes();
    void robustSignalNames();

    void toolInfo();
    void toolInfoRefuses();
    void toolGenMap();
};

void TestMapFiles::configNewFormat()
{
    bool ok = false;
    const MapConfig c = parsed(handBuiltConfig(3, 4), &ok);
    QVERIFY(ok);
    QVERIFY(c.newFormat);
    QCOMPARE(c.versionMajor, 3);
    QCOMPARE(c.versionMinor, 4);
    QCOMPARE(c.title, QStringLiteral("Weld seam 7"));
    QCOMPARE(c.mapName, QStringLiteral("new-name"));
    QCOMPARE(c.settings.fBaseVelocity, 2650.5f);
    QCOMPARE(int(c.settings.iVelocity), 2600);
    QCOMPARE(int(c.settings.iSamplesPer10us), 100);
    QCOMPARE(c.settings.iFrequency, 50);
    QCOMPARE(c.settings.iWindowEnd, 3846);
    QCOMPARE(c.settings.iInputFilter, 1);
    QCOMPARE(c.stepH, 10);
    QCOMPARE(c.stepV, 20);
    QCOMPARE(c.sizeH, 30);
    QCOMPARE(c.sizeV, 25);
    QVERIFY(!c.settingsRepaired);
}

void TestMapFiles::configVersionDecidesFormat_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("newFormat");
    QTest::newRow("2.9") << 2 << 9 << false;
    QTest::newRow("3.0") << 3 << 0 << false;
    QTest::newRow("3.3") << 3 << 3 << false;
    QTest::newRow("3.4") << 3 << 4 << true;
    QTest::newRow("3.200") << 3 << 200 << true;
    QTest::newRow("4.0") << 4 << 0 << true;
    QTest::newRow("255.255") << 255 << 255 << true;
}

void TestMapFiles::configVersionDecidesFormat()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, newFormat);
    // The same bytes read by either layout: name at 229 and base velocity from 214, or name
    // at 224 and the base velocity fixed.
    QByteArray b = handBuiltConfig(3, 4);
    b[0] = char(major);
    b[1] = char(minor);
    const MapConfig c = parsed(b);
    QCOMPARE(c.newFormat, newFormat);
    QCOMPARE(c.mapName, newFormat ? QStringLiteral("new-name") : QStringLiteral("abcdenew-name"));
    QCOMPARE(c.settings.fBaseVelocity, newFormat ? 2650.5f : 3240.0f);
}

void TestMapFiles::configSizePresence_data()
{
    QTest::addColumn<int>("presentH");
    QTest::addColumn<int>("valueH");
    QTest::addColumn<int>("presentV");
    QTest::addColumn<int>("valueV");
    QTest::addColumn<int>("sizeH");
    QTest::addColumn<int>("sizeV");
    QTest::newRow("both present") << 1 << 30 << 1 << 25 << 30 << 25;
    QTest::newRow("0 at 209: size 0 whatever 210 holds") << 0 << 77 << 1 << 25 << 0 << 25;
    QTest::newRow("2 at 211 is not present") << 1 << 30 << 2 << 25 << 30 << 0;
    QTest::newRow("0xFF is not present") << 255 << 30 << 255 << 25 << 0 << 0;
    QTest::newRow("present, 255 points") << 1 << 255 << 1 << 0 << 255 << 0;
}

void TestMapFiles::configSizePresence()
{
    QFETCH(int, presentH);
    QFETCH(int, valueH);
    QFETCH(int, presentV);
    QFETCH(int, valueV);
    QByteArray b = handBuiltConfig(3, 4);
    b[209] = char(presentH);
    b[210] = char(valueH);
    b[211] = char(presentV);
    b[212] = char(valueV);
    const MapConfig c = parsed(b);
    QTEST(c.sizeH, "sizeH");
    QTEST(c.sizeV, "sizeV");
}

void TestMapFiles::configTexts()
{
    // 64 bytes without a NUL: the 64th is taken as NUL.
    QByteArray b = handBuiltConfig(3, 4);
    putText(b, 6, QByteArray(64, 'T'));
    putText(b, 229, QByteArray(64, 'N'));
    MapConfig c = parsed(b);
    QCOMPARE(c.title, QString(63, u'T'));
    QCOMPARE(c.mapName, QString(63, u'N'));
    // UTF-8.
    b = handBuiltConfig(3, 4);
    const QByteArray cyrillic = QStringLiteral("Карта №1").toUtf8();
    putText(b, 6, cyrillic + '\0');
    c = parsed(b);
    QCOMPARE(c.title, QStringLiteral("Карта №1"));
    // An empty name.
    b = handBuiltConfig(3, 4);
    putText(b, 229, QByteArray(10, '\0'));
    QCOMPARE(parsed(b).mapName, QString());
}

void TestMapFiles::configReadsAtMost2048Bytes()
{
    QTemporaryDir dir;
    QByteArray b = handBuiltConfig(3, 4);
    b.resize(2048, '\0');
    QByteArray longer = b + QByteArray(5000, '\xAB');
    const QString path = dir.filePath("long.cfg");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(longer);
    f.close();
    MapConfig a, c;
    QVERIFY(MapConfig::read(path, a));
    QVERIFY(MapConfig::parse(b, c));
    QCOMPARE(a.title, c.title);
    QCOMPARE(a.mapName, c.mapName);
    QVERIFY(a.settings == c.settings);
}

void TestMapFiles::configEncodeRoundTrip()
{
    for (bool newFormat : {true, false}) {
        MapConfig c;
        c.newFormat = newFormat;
        c.versionMajor = 3;
        c.versionMinor = newFormat ? 4 : 3;
        c.title = QStringLiteral("Plate A");
        c.mapName = QStringLiteral("Lamination ÄÖ");
        c.stepH = 15;
        c.stepV = 25;
        c.sizeH = 40;
        c.sizeV = 0;
        c.settings.iVelocity = 5920;
        c.settings.iWindowEnd = 4000;
        c.settings.fBaseVelocity = newFormat ? 5900.25f : 3240.0f;
        const QByteArray bytes = c.encode();
        QCOMPARE(int(bytes.size()), newFormat ? 293 : 288);
        QCOMPARE(bytes.mid(2, 4), QByteArray("M773"));
        QCOMPARE(bytes.mid(204, 9).toHex(), QByteArray("0f0019000001280000")); // steps, sizes and presence
        QCOMPARE(bytes.mid(newFormat ? 229 : 224, 11), QByteArray("Lamination "));
        MapConfig back;
        QVERIFY(MapConfig::parse(bytes, back));
        QCOMPARE(back.newFormat, newFormat);
        QCOMPARE(back.title, c.title);
        QCOMPARE(back.mapName, c.mapName);
        QVERIFY(back.settings == c.settings);
    }
    // A title longer than 63 bytes is cut on a character boundary.
    MapConfig c;
    c.newFormat = true;
    c.title = QString(40, QChar(0x0416)); // 2 bytes each in UTF-8
    MapConfig back;
    QVERIFY(MapConfig::parse(c.encode(), back));
    QCOMPARE(back.title, QString(31, QChar(0x0416)));
    // Version bytes that contradict the layout are replaced.
    c.versionMajor = 2;
    QCOMPARE(quint8(c.encode()[0]), quint8(3));
    QCOMPARE(quint8(c.encode()[1]), quint8(4));
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
    QCOMPARE(c.stepV, 1000);
    QCOMPARE(c.sizeH, 0);
    QCOMPARE(c.sizeV, 5);
    c.stepH = 10;
    c.sizeH = 100;
    QVERIFY(c.validateGeometry());
}

void TestMapFiles::configMissingFile()
{
    QTemporaryDir dir;
    MapConfig c;
    QString error;
    QVERIFY(!MapConfig::read(dir.filePath("none.cfg"), c, &error));
    QVERIFY(error.contains(QStringLiteral("none.cfg")));
    QVERIFY(!MapConfig::read(dir.path(), c, &error)); // a folder
    MapFolder::Scan scan;
    QVERIFY(!MapFolder::scan(dir.filePath("no-such-folder"), scan, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(MapFolder::scan(dir.path(), scan)); // empty: no positions, no size
    QCOMPARE(scan.columns + scan.rows, 0);
}

void TestMapFiles::signalFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("i");
    QTest::addColumn<int>("j");
    QTest::addColumn<bool>("outOfRange");
    QTest::newRow("1_1") << "1_1.raw" << true << 1 << 1 << false;
    QTest::newRow("12_7") << "12_7.raw" << true << 12 << 7 << false;
    QTest::newRow("1__2 empty part left out") << "1__2.raw" << true << 1 << 2 << false;
    QTest::newRow("_3_4_") << "_3_4_.raw" << true << 3 << 4 << false;
    QTest::newRow("leading zeros") << "007_010.raw" << true << 7 << 10 << false;
    QTest::newRow("1000_1000 at the cap") << "1000_1000.raw" << true << 1000 << 1000 << false;
    QTest::newRow("1_1_1") << "1_1_1.raw" << false << 0 << 0 << false;
    QTest::newRow("a_1") << "a_1.raw" << false << 0 << 0 << false;
    QTest::newRow("1") << "1.raw" << false << 0 << 0 << false;
    QTest::newRow("hex") << "0x1_2.raw" << false << 0 << 0 << false;
    QTest::newRow("1.5_2") << "1.5_2.raw" << false << 0 << 0 << false;
    QTest::newRow("0_1") << "0_1.raw" << false << 0 << 0 << true;
    QTest::newRow("-1_2") << "-1_2.raw" << false << 0 << 0 << true;
    QTest::newRow("1001_1") << "1001_1.raw" << false << 0 << 0 << true;
    QTest::newRow("1_99999999999") << "1_99999999999.raw" << false << 0 << 0 << true;
    QTest::newRow("beyond 64 bits") << "1_999999999999999999999999.raw" << false << 0 << 0 << false;
    QTest::newRow("short name") << ".raw" << false << 0 << 0 << false;
}

void TestMapFiles::signalFileNames()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    MapPositionKey key{-7, -7};
    bool outOfRange = true;
    QCOMPARE(MapFolder::parseSignalFileName(name, key, &outOfRange), accepted);
    QTEST(outOfRange, "outOfRange");
    if (accepted) {
        QTEST(key.i, "i");
        QTEST(key.j, "j");
    }
}

void TestMapFiles::folderListing()
{
    QTemporaryDir dir;
    for (const char* name : {"1_1.raw", "2_1.raw", "1_2.raw", "1_1_1.raw", "a_1.raw", "1.raw", "notes.txt", "5_5.dat"})
        QVERIFY(touch(dir.filePath(name)));
    MapFolder::Scan s;
    QVERIFY(MapFolder::scan(dir.path(), s));
    QCOMPARE(s.columns, 2);
    QCOMPARE(s.rows, 2);
    QCOMPARE(int(s.positions.size()), 3);
    QCOMPARE(s.ignored, 3);
    // Key order: row after row.
    std::vector<MapPositionKey> keys;
    for (const auto& [key, path] : s.positions)
        keys.push_back(key);
    QVERIFY((keys == std::vector<MapPositionKey>{{1, 1}, {2, 1}, {1, 2}}));
    QCOMPARE(s.positions.at({2, 1}), dir.path() + "/2_1.raw");
    QVERIFY(!s.positions.count({2, 2}));
}

void TestMapFiles::folderDuplicatesAndKinds()
{
    QTemporaryDir dir;
    QVERIFY(touch(dir.filePath("01_1.raw")));
    QVERIFY(touch(dir.filePath("1_1.raw")));
    QVERIFY(touch(dir.filePath("1__2.raw")));
    QVERIFY(touch(dir.filePath("1001_1.raw")));
    QVERIFY(QDir(dir.path()).mkdir("3_3.raw")); // a folder
    QVERIFY(QFile::link(dir.filePath("1_1.raw"), dir.filePath("4_4.raw"))); // a link
    MapFolder::Scan s;
    QVERIFY(MapFolder::scan(dir.path(), s));
    QCOMPARE(s.columns, 1);
    QCOMPARE(s.rows, 2);
    QCOMPARE(int(s.positions.size()), 2);
    QCOMPARE(s.outOfRange, 1);
    // Two names for one position: the later one in name order is kept.
    QCOMPARE(s.positions.at({1, 1}), dir.path() + "/1_1.raw");
    QCOMPARE(s.positions.at({1, 2}), dir.path() + "/1__2.raw");
}

void TestMapFiles::folderMemoryLimit()
{
    QTemporaryDir dir;
    for (const char* name : {"1_1.raw", "2_1.raw", "3_1.raw"})
        QVERIFY(touch(dir.filePath(name)));
    MapFolder::Scan s;
    QVERIFY(MapFolder::scan(dir.path(), s, nullptr, MapFolder::signalBytes(3)));
    QCOMPARE(s.columns, 3);
    QString error;
    QVERIFY(!MapFolder::scan(dir.path(), s, &error, MapFolder::signalBytes(3) - 1));
    QVERIFY(s.positions.empty());
    QCOMPARE(s.columns, 0);
    QVERIFY2(error.contains(QStringLiteral("memory")), qPrintable(error));
    // The default limit holds a full 1000 × 1000 map's worth of names only in 64 bits.
    QVERIFY(MapFolder::signalBytes(1000000) > qint64(1) << 32);
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
    QTest::newRow("30x20 at 10 mm") << 30 << 20 << 10 << 10 << 2 << 2 << 60 << 40 << 5 << 5 << false;
    QTest::newRow("500x500 at 10 mm") << 500 << 500 << 10 << 10 << 2 << 2 << 1000 << 1000 << 5 << 5 << true;
    QTest::newRow("20x25 at 100 mm: 200000 exactly") << 20 << 25 << 100 << 100 << 20 << 20 << 400 << 500 << 5 << 5 << false;
    QTest::newRow("21x25 at 100 mm") << 21 << 25 << 100 << 100 << 2 << 2 << 42 << 50 << 50 << 50 << true;
    QTest::newRow("501x1 at 10 mm") << 501 << 1 << 10 << 10 << 2 << 2 << 1002 << 2 << 5 << 5 << false;
    QTest::newRow("501x1 at 1000 mm") << 501 << 1 << 1000 << 1000 << 2 << 2 << 1002 << 2 << 500 << 500 << true;
    QTest::newRow("steps 17 x 33") << 4 << 3 << 17 << 33 << 3 << 6 << 12 << 18 << 5 << 5 << false;
    QTest::newRow("odd steps reduced") << 300 << 300 << 25 << 15 << 2 << 2 << 600 << 600 << 12 << 7 << true;
    QTest::newRow("step below a cell") << 10 << 10 << 4 << 10 << 0 << 2 << 0 << 20 << 5 << 5 << false;
    QTest::newRow("no positions") << 0 << 0 << 10 << 10 << 2 << 2 << 0 << 0 << 5 << 5 << false;
    QTest::newRow("1000x1000 at 65535 mm") << 1000 << 1000 << 65535 << 65535 << 2 << 2 << 2000 << 2000 << 32767
                                            << 32767 << true;
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
    QCOMPARE(g.dim2, 100);
}

void TestMapFiles::gridLayers_data()
{
    QTest::addColumn<double>("range");
    QTest::addColumn<int>("layers");
    QTest::newRow("0.5 m") << 0.5 << 100;
    QTest::newRow("2.5 layers up") << 0.0125 << 3;
    QTest::newRow("1.5 layers up") << 0.0075 << 2;
    QTest::newRow("0.0024 m") << 0.0024 << 0;
    QTest::newRow("0") << 0.0 << 0;
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
    const MapVolumeGrid small = MapVolumeGrid::compute(30, 20, 10, 10, 0.5);
    QVERIFY(small.fitsMemory(Vantar::kMapMemoryLimit));
    QCOMPARE(small.voxelCount(), qint64(60) * 40 * 100);
    const MapVolumeGrid big = MapVolumeGrid::compute(1000, 1000, 10, 10, 5.0);
    QCOMPARE(big.voxelCount(), qint64(2000) * 2000 * 1000); // beyond 32 bits
    QString error;
    QVERIFY(!big.fitsMemory(Vantar::kMapMemoryLimit, &error));
    QVERIFY2(error.contains(QStringLiteral("2000 × 2000 × 1000")), qPrintable(error));
    const MapVolumeGrid absurd = MapVolumeGrid::compute(1000, 1000, 65535, 65535, 1e300);
    QVERIFY(absurd.bytesNeeded() > 0);
    QVERIFY(!absurd.fitsMemory(Vantar::kMapMemoryLimit));
}

void TestMapFiles::depthConversions()
{
    ConfigSettings s;
    s.iSamplesPer10us = 100;
    s.iVelocity = 2600;
    s.eTestingMethod = ConfigSettings::Reflection;
    QVERIFY(std::abs(sampleToDepth(s, 1000) - 0.13) < 1e-12);
    QCOMPARE(depthToSample(s, 0.13), 1000);
    s.eTestingMethod = ConfigSettings::Transmission;
    QVERIFY(std::abs(sampleToDepth(s, 1000) - 0.26) < 1e-12);
    QCOMPARE(depthToSample(s, 0.26), 1000);
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
    // Guarded against a zero rate or velocity.
    s.iSamplesPer10us = 0;
    QCOMPARE(sampleToDepth(s, 100), 0.0);
    QCOMPARE(depthToSample(s, 0.1), 0);
    s.iSamplesPer10us = 100;
    s.iVelocity = 500;
    QCOMPARE(depthToSample(s, 1e300), 2147483647);
    QCOMPARE(depthToSample(s, std::nan("")), 0);
}

void TestMapFiles::depthRoundingHalves_data()
{
    QTest::addColumn<double>("depth");
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("sample");
    // S = 10, v = 2000 m/s: these depths give exact halves.
    QTest::newRow("2.5 transmission") << 0.005 << 1 << 3;
    QTest::newRow("-2.5 transmission") << -0.005 << 1 << -2;
    QTest::newRow("2.5 reflection") << 0.0025 << 0 << 3;
    QTest::newRow("-2.5 reflection") << -0.0025 << 0 << -2;
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

void TestMapFiles::mapDataSaftBandwidth_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<double>("bandwidth");
    QTest::newRow("25") << 25 << 0.25;
    QTest::newRow("50") << 50 << 0.5;
    QTest::newRow("75") << 75 << 0.75;
    QTest::newRow("100") << 100 << 1.0;
    QTest::newRow("60") << 60 << 1.0;
    QTest::newRow("0") << 0 << 1.0;
}

void TestMapFiles::mapDataSaftBandwidth()
{
    QFETCH(int, percent);
    QFETCH(double, bandwidth);
    MapData m;
    SAFTsettings s;
    s.depth = 350;
    s.frequency = 75;
    s.bandwidth = percent;
    s.velocity = 5.9;
    s.tcg = 6;
    s.filterSW = false;
    m.setSAFTsettings(s);
    QVERIFY(m.saftSettings() == s);
    QCOMPARE(m.saftSettings().depth, 350);
    QCOMPARE(m.filter().bandwidth(), bandwidth);
}

void TestMapFiles::mapDataTraces()
{
    // Traces are kept row after row; a second one for a position replaces the first.
    MapData m;
    MapTrace t;
    QVERIFY(t.allocate(10));
    m.setTrace(2, 1, MapTrace());
    m.setTrace(1, 2, MapTrace());
    m.setTrace(3, 1, MapTrace());
    m.setTrace(2, 1, t);
    QCOMPARE(m.trace(2, 1)->count, 10);
    QVERIFY(!m.trace(2, 2));
    std::vector<MapPositionKey> keys;
    for (const auto& [key, trace] : m.traces())
        keys.push_back(key);
    QVERIFY((keys == std::vector<MapPositionKey>{{2, 1}, {3, 1}, {1, 2}}));
    QVERIFY(!t.allocate(-1));
    QCOMPARE(t.count, 0);
}

void TestMapFiles::mapDataSlices()
{
    MapData m;
    QVERIFY(m.setRawVolume(3, 2, 4, smallVolume()));
    m.setViewingMode(RawView);
    QVERIFY(m.currentVolume());
    QCOMPARE(m.voxel(2, 1, 3), qint16(213));
    QCOMPARE(m.voxel(1, 1, 2), qint16(-102));
    QCOMPARE(m.voxel(3, 0, 0), qint16(0));
    QCOMPARE(m.voxel(0, 0, -1), qint16(0));

    const MapPlane c = m.sliceC(2);
    QCOMPARE(c.size0, 3);
    QCOMPARE(c.size1, 2);
    QCOMPARE(c.values, (std::vector<qint16>{2, 12, 102, -102, 202, 212}));
    const MapPlane b = m.sliceB(1);
    QCOMPARE(b.size0, 3);
    QCOMPARE(b.size1, 4);
    QCOMPARE(b.values, (std::vector<qint16>{10, 11, 12, 13, -100, -101, -102, -103, 210, 211, 212, 213}));
    const MapPlane d = m.sliceD(2);
    QCOMPARE(d.size0, 4);
    QCOMPARE(d.size1, 2);
    QCOMPARE(d.values, (std::vector<qint16>{200, 210, 201, 211, 202, 212, 203, 213}));
    QCOMPARE(d.at(3, 1), qint16(213));
    QCOMPARE(d.at(4, 0), qint16(0));

    for (int bad : {-1, 4})
        QVERIFY(m.sliceC(bad).isNull() && m.sliceC(bad).size0 == 0 && m.sliceC(bad).size1 == 0);
    QVERIFY(m.sliceB(2).isNull());
    QVERIFY(m.sliceD(3).isNull());
    QVERIFY(m.sliceD(-1).isNull());

    const auto col = m.column(1, 0);
    QCOMPARE(int(col.size()), 4);
    QCOMPARE(col[0], qint16(100));
    QCOMPARE(col[3], qint16(103));
    QVERIFY(m.column(1, 2).empty());
    QVERIFY(m.column(-1, 0).empty());
}

void TestMapFiles::mapDataProjections()
{
    MapData m;
    m.setViewingMode(RawView);
    QVERIFY(m.setRawVolume(3, 2, 4, smallVolume()));
    // Full ranges.
    QCOMPARE(m.projectionC().values, (std::vector<qint16>{3, 13, 103, 0, 203, 213}));
    QCOMPARE(m.projectionB().values, (std::vector<qint16>{10, 11, 12, 13, 100, 101, 102, 103, 210, 211, 212, 213}));
    QCOMPARE(m.projectionD().size0, 4);
    QCOMPARE(m.projectionD().values, (std::vector<qint16>{200, 210, 201, 211, 202, 212, 203, 213}));
    MapViewRanges r = m.viewRanges();
    QCOMPARE(r.viewingMode, RawView);
    QCOMPARE(r.dim0, 3);
    QCOMPARE(r.range0, (MapRange{0, 2}));
    QCOMPARE(r.range2, (MapRange{0, 3}));
    QVERIFY(r.isConsistent());

    // Depth range 1 … 2, vertical 0 … 0, horizontal 0 … 1.
    m.setRange2(1, 2);
    m.setRange1(0, 0);
    m.setRange0(0, 1);
    // Cells outside the other two ranges stay 0.
    QCOMPARE(m.projectionC().values, (std::vector<qint16>{2, 0, 102, 0, 0, 0}));
    QCOMPARE(m.projectionB().values, (std::vector<qint16>{0, 1, 2, 0, 0, 101, 102, 0, 0, 0, 0, 0}));
    QCOMPARE(m.projectionD().values, (std::vector<qint16>{0, 0, 101, 0, 102, 0, 0, 0}));
    r = m.viewRanges();
    QCOMPARE(r.range0, (MapRange{0, 1}));
    QCOMPARE(r.range1, (MapRange{0, 0}));
    QVERIFY(!r.isConsistent()); // first < last fails on axis 1

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
    QTest::newRow("j1 = dim1") << QList<int>{0, 2, 0, 2, 0, 3} << 0;
    QTest::newRow("k1 = dim2") << QList<int>{0, 2, 0, 1, 0, 4} << 0;
    QTest::newRow("i0 > i1") << QList<int>{2, 1, 0, 1, 0, 3} << 0;
    QTest::newRow("k0 > k1") << QList<int>{0, 2, 0, 1, 3, 2} << 0;
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

void TestMapFiles::mapDataViewingMode()
{
    MapData m;
    QVERIFY(m.setRawVolume(3, 2, 4, smallVolume()));
    // ProcessedView without a processed volume: nothing current.
    QCOMPARE(m.viewingMode(), ProcessedView);
    QVERIFY(!m.currentVolume());
    QVERIFY(m.sliceC(0).isNull());
    QCOMPARE(m.projectionC().values, std::vector<qint16>(6, 0));
    std::vector<qint16> processed(24, 0);
    processed[MapData::voxelIndex(2, 4, 2, 1, 3)] = 999;
    QVERIFY(m.setProcessedVolume(processed));
    QCOMPARE(m.voxel(2, 1, 3), qint16(999));
    QCOMPARE(m.projectionC().at(2, 1), qint16(999));
    m.setViewingMode(RawView);
    QCOMPARE(m.voxel(2, 1, 3), qint16(213));
    QCOMPARE(m.projectionC().at(2, 1), qint16(213));
    m.setViewingMode(EScanProcessing(7)); // not a mode: processed
    QCOMPARE(m.viewingMode(), ProcessedView);
    QCOMPARE(m.voxel(2, 1, 3), qint16(999));
    // A new unprocessed volume releases the processed one.
    QVERIFY(m.setRawVolume(3, 2, 4, smallVolume()));
    QVERIFY(!m.hasProcessedVolume());
    QVERIFY(!m.currentVolume());
}

void TestMapFiles::mapDataBadVolumes()
{
    MapData m;
    m.setViewingMode(RawView);
    QVERIFY(m.setRawVolume(3, 2, 4, smallVolume()));
    QVERIFY(!m.setRawVolume(3, 2, 5, smallVolume())); // size mismatch
    QVERIFY(!m.hasRawVolume());
    QCOMPARE(m.dim0(), 0);
    QCOMPARE(m.voxelCount(), qint64(0));
    QVERIFY(!m.currentVolume());
    QVERIFY(m.projectionB().isNull());
    QVERIFY(!m.setRawVolume(0, 2, 4, {}));
    QVERIFY(!m.setRawVolume(-3, -2, 4, smallVolume()));
    QVERIFY(!m.setProcessedVolume(smallVolume())); // no unprocessed volume
    QVERIFY(m.setRawVolume(3, 2, 4, smallVolume()));
    QVERIFY(!m.setProcessedVolume(std::vector<qint16>(23)));
    QVERIFY(!m.hasProcessedVolume());
    QVERIFY(m.hasRawVolume());
    m.setTrace(1, 1, MapTrace());
    m.clear(); // a map closed: nothing of it stays to be drawn
    QVERIFY(m.traces().empty());
    QVERIFY(!m.hasRawVolume());
    QCOMPARE(m.dim2(), 0);
    QVERIFY(m.projectionC().isNull());
}

void TestMapFiles::generatorReadBack()
{
    QTemporaryDir dir;
    MapGeneratorOptions o;
    o.columns = 4;
    o.rows = 3;
    o.stepH = 10;
    o.stepV = 20;
    o.name = QStringLiteral("plate");
    o.title = QStringLiteral("Plate Ж");
    o.mapName = QStringLiteral("Scan 1");
    o.reflectors = {MapReflector{15, 30, 150}};
    o.noise = 0;
    QStringList written;
    QString error;
    QVERIFY2(MapGenerator::write(dir.path(), o, &error, &written), qPrintable(error));
    QCOMPARE(written.size(), 2 + 12);
    QVERIFY(QFile::exists(dir.filePath("plate.lbv")));

    MapConfig c;
    QVERIFY(MapConfig::read(dir.filePath("plate.cfg"), c, &error));
    QCOMPARE(QFileInfo(dir.filePath("plate.cfg")).size(), qint64(293));
    QVERIFY(c.newFormat && !c.settingsRepaired);
    QCOMPARE(c.title, o.title);
    QCOMPARE(c.sizeH, 4);
    QCOMPARE(c.sizeV, 3);
    // The time base covers the depth asked for: 2 x 500 / 2.6 x 10 = 3846.15, rounded up.
    QCOMPARE(c.settings.iWindowEnd, 3847);

    MapFolder::Scan s;
    QVERIFY(MapFolder::scan(dir.path(), s));
    QCOMPARE(int(s.positions.size()), 12);

    // The echo of the reflector below probe (2, 2) peaks at its sample; the surface signal is
    // the same at every position.
    const std::vector<qint16> below = samplesOf(readAll(s.positions.at({2, 2})));
    const std::vector<qint16> far = samplesOf(readAll(s.positions.at({4, 3})));
    QCOMPARE(int(below.size()), 40000);
    // Straight below at 150 mm under 200 mm of coupling: 2 x 150 / 2.6 x 10 = 1153.8 -> 1154,
    // after the surface echo at 119.
    const int at = MapGenerator::echoSample(o, o.reflectors[0], 2, 2);
    QCOMPARE(at, 1273);
    int peak = 0;
    for (int n = 800; n < 40000; ++n)
        if (std::abs(below[n]) > std::abs(below[peak]))
            peak = n;
    QVERIFY2(std::abs(peak - at) <= 50, qPrintable(QString::number(peak))); // within a quarter period
    for (int n = 0; n < 700; ++n)
        QCOMPARE(below[n], far[n]);
    // Off to the side the echo comes later (R = sqrt(20² + 20² + 350²) = 351.14) and weaker.
    const int farAt = MapGenerator::echoSample(o, o.reflectors[0], 4, 3);
    QCOMPARE(farAt, 1282);
    const int farPeak = int(std::max_element(far.begin() + 800, far.end(), [](qint16 a, qint16 b) {
                                return std::abs(a) < std::abs(b);
                            }) - far.begin());
    QVERIFY2(std::abs(farPeak - farAt) <= 50, qPrintable(QString::number(farPeak)));
    QVERIFY(std::abs(far[farPeak]) < std::abs(below[peak]));
    // Seeded: the same options give the same bytes.
    QTemporaryDir again;
    QVERIFY(MapGenerator::write(again.path(), o));
    QCOMPARE(readAll(again.filePath("3_2.raw")), readAll(dir.filePath("3_2.raw")));
}

void TestMapFiles::generatorMissingAndShort()
{
    QTemporaryDir dir;
    MapGeneratorOptions o;
    o.columns = 3;
    o.rows = 2;
    o.missing = {{2, 2}, {3, 2}};
    o.truncated = {{1, 2}};
    QVERIFY(MapGenerator::write(dir.path(), o));
    MapFolder::Scan s;
    QVERIFY(MapFolder::scan(dir.path(), s));
    QCOMPARE(int(s.positions.size()), 4);
    QCOMPARE(s.columns, 3);
    QCOMPARE(s.rows, 2);
    QVERIFY(!s.positions.count({2, 2}));
    QCOMPARE(QFileInfo(dir.filePath("1_2.raw")).size(), qint64(79999));
    QCOMPARE(QFileInfo(dir.filePath("1_1.raw")).size(), qint64(80000));
}

void TestMapFiles::generatorRefusesBadOptions()
{
    QTemporaryDir dir;
    QString error;
    MapGeneratorOptions o;
    o.columns = 0;
    QVERIFY(!MapGenerator::write(dir.path(), o, &error));
    QVERIFY(!error.isEmpty());
    o.columns = 1001;
    QVERIFY(!MapGenerator::write(dir.path(), o, &error));
    o.columns = 2;
    o.stepH = 0;
    QVERIFY(!MapGenerator::write(dir.path(), o, &error));
    o.stepH = 10;
    o.name = QStringLiteral("../x");
    QVERIFY(!MapGenerator::write(dir.path(), o, &error));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    // A folder that cannot be made.
    QVERIFY(touch(dir.filePath("file")));
    o.name = QStringLiteral("map");
    QVERIFY(!MapGenerator::write(dir.filePath("file/sub"), o, &error));
}

namespace {

// Whatever the bytes, an accepted configuration holds a repaired record and bounded texts.
void checkAccepted(const MapConfig& c)
{
    QVERIFY(c.settings.iSamplesPer10us >= 10 && c.settings.iSamplesPer10us <= 100);
    QVERIFY(c.settings.iWindowEnd >= 640 && c.settings.iWindowEnd <= 40000);
    QVERIFY(c.settings.iWindowStart < c.settings.iWindowEnd);
    QVERIFY(c.settings.iVelocity >= 500 && c.settings.iVelocity <= 15000);
    QVERIFY(c.settings.tvg.iCount >= 0 && c.settings.tvg.iCount <= 24);
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

QByteArray generatedConfig()
{
    MapGeneratorOptions o;
    o.columns = 30;
    o.rows = 20;
    return MapGenerator::configuration(o);
}

} // namespace

void TestMapFiles::robustConfigTruncation()
{
    const QByteArray full = generatedConfig();
    for (int length = 0; length <= full.size(); ++length) {
        MapConfig c;
        c.title = QStringLiteral("previous");
        QString error;
        const bool ok = MapConfig::parse(full.left(length), c, &error);
        QCOMPARE(ok, length >= 7);
        if (ok) {
            checkAccepted(c);
        } else {
            QCOMPARE(c.title, QStringLiteral("previous")); // a refused file carries nothing
            QVERIFY(error.contains(QString::number(length)));
        }
    }
    // What is missing reads as zero and is repaired: no window end, no name.
    MapConfig c;
    QVERIFY(MapConfig::parse(full.left(70), c));
    QCOMPARE(c.settings.iWindowEnd, 10000);
    QVERIFY(c.settingsRepaired);
    QCOMPARE(c.stepH, 0);
    QVERIFY(MapConfig::parse(full.left(205), c)); // the low byte of the horizontal step
    QCOMPARE(c.stepH, 10);
    QCOMPARE(c.mapName, QString());
    // Through the file as well, at the lengths where the outcome changes.
    QTemporaryDir dir;
    for (int length : {0, 6, 7, 213, int(full.size()) - 1}) {
        const QString path = dir.filePath(QStringLiteral("t%1.cfg").arg(length));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(full.left(length));
        f.close();
        MapConfig c;
        QString error;
        QCOMPARE(MapConfig::read(path, c, &error), length >= 7);
        QVERIFY(length >= 7 || error.contains(path));
    }
}

void TestMapFiles::robustConfigBytes()
{
    // Every byte flipped or set to an extreme value in turn: a changed signature is refused
    // with the previous record untouched, anything else is accepted and repaired.
    const QByteArray full = generatedConfig();
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
            if (ok) {
                checkAccepted(c);
            } else {
                QCOMPARE(c.stepH, 42);
                QVERIFY2(error.contains(QStringLiteral("M773")), qPrintable(error));
            }
        }
    }
    // Every byte after the signature alike, then random contents at random lengths.
    for (char value : {'\x00', '\xFF', '\x7F', '\x80'}) {
        MapConfig c;
        QVERIFY(MapConfig::parse(full.left(6) + QByteArray(MapConfig::kReadLimit, value), c));
        checkAccepted(c);
    }
    std::mt19937 rng(99);
    for (int round = 0; round < 300; ++round) {
        QByteArray b(int(rng() % 2600), '\0');
        for (char& ch : b)
            ch = char(rng());
        if (b.size() >= 6)
            putText(b, 2, "M773");
        MapConfig c;
        if (MapConfig::parse(b, c))
            checkAccepted(c);
        else
            QVERIFY(b.size() < 7);
    }
}

void TestMapFiles::robustSignalNames()
{
    // Random names and sizes: the scan never takes an index outside 1 … 1000 and never reads
    // the files themselves (sizes do not matter to it).
    QTemporaryDir dir;
    std::mt19937 rng(5);
    const QString alphabet = QStringLiteral("0123456789_-+ a.x");
    int expected = 0;
    for (int n = 0; n < 200; ++n) {
        QString name;
        const int length = 1 + int(rng() % 12);
        for (int k = 0; k < length; ++k)
            name += alphabet[int(rng() % alphabet.size())];
        name += QStringLiteral(".raw");
        if (QFile::exists(dir.filePath(name)))
            continue;
        QVERIFY(touch(dir.filePath(name), qint64(rng() % 3) * 40000));
        MapPositionKey key;
        if (MapFolder::parseSignalFileName(name, key))
            ++expected;
    }
    MapFolder::Scan s;
    QVERIFY(MapFolder::scan(dir.path(), s));
    QVERIFY(int(s.positions.size()) <= expected);
    for (const auto& [key, path] : s.positions) {
        QVERIFY(key.i >= 1 && key.i <= 1000);
        QVERIFY(key.j >= 1 && key.j <= 1000);
        QVERIFY(s.columns >= key.i && s.rows >= key.j);
    }
}

void TestMapFiles::toolInfo()
{
    QTemporaryDir dir;
    MapGeneratorOptions o;
    o.columns = 5;
    o.rows = 4;
    o.stepH = 10;
    o.stepV = 15;
    o.title = QStringLiteral("Tool test");
    o.mapName = QStringLiteral("Имя");
    o.missing = {{5, 4}};
    QVERIFY(MapGenerator::write(dir.path(), o));
    QVERIFY(touch(dir.filePath("x_1.raw")));
    QProcess p;
    p.start(toolPath(), {QStringLiteral("info"), dir.filePath("map.cfg")});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QJsonParseError parseError;
    const QJsonObject j = QJsonDocument::fromJson(p.readAllStandardOutput(), &parseError).object();
    QCOMPARE(parseError.error, QJsonParseError::NoError);
    QCOMPARE(j["kind"].toString(), QStringLiteral("map"));
    QCOMPARE(j["mapName"].toString(), o.mapName);
    QCOMPARE(j["columns"].toInt(), 5);
    QCOMPARE(j["rows"].toInt(), 4);
    QCOMPARE(j["signalFiles"].toInt(), 19);
    QCOMPARE(j["folder"].toObject()["ignoredFiles"].toInt(), 1);
    QCOMPARE(j["settings"].toObject()["iWindowEnd"].toInt(), 3847);
    const QJsonObject grid = j["grid"].toObject();
    QCOMPARE(grid["dim0"].toInt(), 10); // five columns of two cells
    QCOMPARE(grid["dim1"].toInt(), 12); // four rows of three
    QCOMPARE(grid["dim2"].toInt(), 100);
}

void TestMapFiles::toolInfoRefuses()
{
    QTemporaryDir dir;
    QByteArray b = generatedConfig();
    putText(b, 2, "X999");
    QFile f(dir.filePath("bad.cfg"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(b);
    f.close();
    QVERIFY(touch(dir.filePath("short.cfg"), 6));
    for (const QString& name : {QStringLiteral("bad.cfg"), QStringLiteral("short.cfg"), QStringLiteral("none.cfg")}) {
        QProcess p;
        p.start(toolPath(), {QStringLiteral("info"), dir.filePath(name)});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY(p.exitCode() != 0);
        QVERIFY(p.readAllStandardOutput().isEmpty());
        QVERIFY2(p.readAllStandardError().contains(name.toUtf8()), qPrintable(name));
    }
}

void TestMapFiles::toolGenMap()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("gen");
    QProcess p;
    p.start(toolPath(), {QStringLiteral("gen-map"), folder, QStringLiteral("--columns"), QStringLiteral("3"),
                         QStringLiteral("--rows"), QStringLiteral("2"), QStringLiteral("--step-h"), QStringLiteral("20"),
                         QStringLiteral("--reflector"), QStringLiteral("30,10,100"), QStringLiteral("--reflector"),
                         QStringLiteral("10,10,200,0.5")});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    MapConfig c;
    QVERIFY(MapConfig::read(folder + "/map.cfg", c));
    QCOMPARE(c.stepH, 20);
    QCOMPARE(c.stepV, 10);
    MapFolder::Scan s;
    QVERIFY(MapFolder::scan(folder, s));
    QCOMPARE(s.columns, 3);
    QCOMPARE(s.rows, 2);
    // Bad arguments: usage and exit status 2.
    for (const QStringList& args : {QStringList{"gen-map"}, QStringList{"gen-map", folder, "--columns", "0"},
                                    QStringList{"gen-map", folder, "--reflector", "1,2"},
                                    QStringList{"gen-map", folder, "--bogus"}}) {
        QProcess q;
        q.start(toolPath(), args);
        QVERIFY(q.waitForFinished(30000));
        QCOMPARE(q.exitCode(), 2);
        QVERIFY(q.readAllStandardError().contains("SYNOPSIS"));
    }
    QProcess h;
    h.start(toolPath(), {QStringLiteral("gen-map"), QStringLiteral("--help")});
    QVERIFY(h.waitForFinished(30000));
    QCOMPARE(h.exitCode(), 0);
    QVERIFY(h.readAllStandardOutput().contains("--reflector X,Y,Z"));
}

QTEST_GUILESS_MAIN(TestMapFiles)
#include "tst_mapfiles.moc"
