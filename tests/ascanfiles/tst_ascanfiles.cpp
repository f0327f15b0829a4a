// A-scan files: the data area of N.bmp, N.raw, N.sss beside them, numbered ordering, the
// generator, robustness against damaged files and what vantar-tool prints and refuses.

#include "ascan/ascanfile.h"
#include "ascan/ascangenerator.h"
#include "ascan/instrumentblock.h"
#include "ascan/settingsfile.h"

#include "common/bytes.h"
#include "common/filefixtures.h"

#include <QtTest>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr quint32 kSeed = 7;

using TestBytes::putLe;

// A data area built by hand: version, signature, names, arrays and the marked block.
QByteArray handBuiltArea(int major, int minor, const QByteArray& name, const QByteArray& setup)
{
    QByteArray a(5403, '\0');
    a[0] = char(major);
    a[1] = char(minor);
    a.replace(2, 4, "M773");
    a.replace(6, 64, name.leftJustified(64, '\0', true));
    a.replace(70, 4 * 640 * 2, QByteArray(4 * 640 * 2, '\xA5')); // skipped
    a.replace(5190, 64, setup.leftJustified(64, '\0', true));
    TestFiles::markInstrumentBlock(a, 5254);
    return isVersion34OrLater(major, minor) ? a : a.left(5398);
}

// A file as the instrument writes it: a picture of `pictureSize` bytes whose bytes 2–5 give
// the data area's offset.
QByteArray aScanBytes(const QByteArray& area, quint32 pictureSize = 54)
{
    QByteArray b(qsizetype(pictureSize), 'p');
    b[0] = 'B';
    b[1] = 'M';
    putLe(b, 2, pictureSize, 4);
    return b + area;
}

QByteArray samplesBytes(int count)
{
    QByteArray b(2 * count, '\0');
    for (int i = 0; i < count; ++i)
        putLe(b, 2 * i, quint16(qint16(i - 20000)), 2);
    return b;
}

// vantar-tool info on a file: its JSON, or {"__failed": why} when it failed.
QJsonObject runInfo(const QString& path)
{
    const TestBytes::ToolRun r = TestBytes::runTool({"info", path});
    return r.exitCode == 0 ? QJsonDocument::fromJson(r.out).object() : QJsonObject{{"__failed", r.err}};
}

} // namespace

class TestAScanFiles : public QObject
{
    Q_OBJECT

private slots:
    void dataAreaByHand_data();
    void dataAreaByHand();
    void loadWithSettingsFile_data();
    void loadWithSettingsFile();
    void signalFile_data();
    void signalFile();
    void sortNumbered_data();
    void sortNumbered();
    void generatedThroughTheTool();
    void generatorReportsFailure();
    void robustTruncation();
    void robustByteFlips();
    void robustExtremeValues_data();
    void robustExtremeValues();
    void toolInfoSettingsOverride();
    void toolRefuses_data();
    void toolRefuses();
};

void TestAScanFiles::dataAreaByHand_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("name");
    QTest::newRow("3.3: no base velocity") << 3 << 3 << QByteArray("Wall 7") << QString("Wall 7");
    QTest::newRow("3.4") << 3 << 4 << QByteArray("Wall 7") << QString("Wall 7");
    QTest::newRow("2.9") << 2 << 9 << QByteArray("Wall 7") << QString("Wall 7");
    QTest::newRow("64 non-zero bytes") << 3 << 4 << QByteArray(64, 'b') << QString(63, 'b');
    QTest::newRow("utf-8") << 3 << 4 << QByteArray("Стена 3") << QString::fromUtf8("Стена 3");
    QTest::newRow("stops at first zero") << 3 << 4 << QByteArray("ab\0cd", 5) << QString("ab");
    // 31 two-byte letters and the first byte of a 32nd: the dangling byte is not a letter.
    QTest::newRow("cut inside a letter") << 3 << 4 << QByteArray("Ж").repeated(32)
                                         << QString::fromUtf8("Ж").repeated(31) + QChar(0xFFFD);
}

void TestAScanFiles::dataAreaByHand()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QByteArray, field);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath("12.bmp");
    QVERIFY(TestBytes::writeBytes(path, aScanBytes(handBuiltArea(major, minor, field, field + "-s"), 1000)));
    QCOMPARE(readAScanTitle(path), name);
    AScanRecord r;
    QVERIFY(readAScanHeader(path, r));
    QCOMPARE(r.name, name);
    QCOMPARE(r.setupName, instrumentText((field + "-s").leftJustified(64, '\0', true)));
    QCOMPARE(r.versionMajor, major);
    QCOMPARE(r.versionMinor, minor);
    QVERIFY(TestFiles::blockMarked(r.fileSettings, isVersion34OrLater(major, minor)));
}

void TestAScanFiles::loadWithSettingsFile_data()
{
    // N.sss beside the picture holds the edited settings; a broken one is reported, the block used.
    QTest::addColumn<QByteArray>("sss");
    QTest::addColumn<int>("velocity");
    QTest::addColumn<bool>("warned");
    ConfigSettings edited;
    edited.iVelocity = 2222;
    QTest::newRow("edited") << encodeConfigFile(edited) << 2222 << false;
    QTest::newRow("broken") << encodeConfigFile(edited).chopped(3) << 4100 << true;
    QTest::newRow("none") << QByteArray() << 4100 << false;
}

void TestAScanFiles::loadWithSettingsFile()
{
    QFETCH(QByteArray, sss);
    QFETCH(int, velocity);
    QFETCH(bool, warned);
    QTemporaryDir dir;
    const QString path = dir.filePath("5.bmp");
    QVERIFY(TestBytes::writeBytes(path, aScanBytes(handBuiltArea(3, 4, "Five", ""))));
    QVERIFY(TestBytes::writeBytes(dir.filePath("5.raw"), samplesBytes(40000)));
    if (!sss.isEmpty())
        QVERIFY(TestBytes::writeBytes(dir.filePath("5.sss"), sss));
    AScanRecord r;
    QString error, warning;
    QVERIFY(loadAScanRecord(path, r, &error, &warning));
    QCOMPARE(warning.isEmpty(), !warned);
    if (warned)
        QCOMPARE(warning, QString("Couldn't read configuration file \"%1\"!").arg(dir.filePath("5.sss")));
    QCOMPARE(r.settingsFromFile, velocity == 2222);
    QCOMPARE(r.fileSettings.iVelocity, qint16(velocity));
    QVERIFY(r.currentSettings == r.fileSettings);
    QVERIFY(ConfigSettings(r.fileSettings).validateAndRepair()); // the block's zeros were repaired
    QCOMPARE(r.name, QString("Five"));
    QVERIFY(!r.date.isEmpty());
    QCOMPARE(ascanDateText(QDateTime(QDate(2024, 3, 9), QTime(7, 5, 59))), QString("09.03.24   07:05"));
}

void TestAScanFiles::signalFile_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("kind"); // 0 file, 1 missing, 2 a folder of that name
    QTest::addColumn<bool>("reads");
    QTest::newRow("exact") << samplesBytes(40000) << 0 << true;
    QTest::newRow("longer: the rest is ignored") << samplesBytes(40001) << 0 << true;
    QTest::newRow("one byte short") << samplesBytes(40000).chopped(1) << 0 << false;
    QTest::newRow("empty") << QByteArray() << 0 << false;
    QTest::newRow("missing") << QByteArray() << 1 << false;
    QTest::newRow("folder") << QByteArray() << 2 << false;
}

void TestAScanFiles::signalFile()
{
    QFETCH(QByteArray, raw);
    QFETCH(int, kind);
    QFETCH(bool, reads);
    QTemporaryDir dir;
    // The previous A-scan is loaded…
    QVERIFY(TestBytes::writeBytes(dir.filePath("1.bmp"), aScanBytes(handBuiltArea(3, 4, "First", ""))));
    QVERIFY(TestBytes::writeBytes(dir.filePath("1.raw"), samplesBytes(40000).replace(0, 2, "\x01\x02")));
    AScanRecord r;
    QVERIFY(loadAScanRecord(dir.filePath("1.bmp"), r));
    const QList<qint16> before = r.samples;
    // …then the next one: a signal too short or not there fails its load and nothing of it is
    // taken, so the first signal can never be shown under the second name.
    const QString path = dir.filePath("2.raw");
    QVERIFY(TestBytes::writeBytes(dir.filePath("2.bmp"), aScanBytes(handBuiltArea(3, 4, "Second", ""))));
    if (kind == 0)
        QVERIFY(TestBytes::writeBytes(path, raw));
    else if (kind == 2)
        QVERIFY(QDir(dir.path()).mkdir("2.raw"));
    QString error;
    QCOMPARE(loadAScanRecord(dir.filePath("2.bmp"), r, &error), reads);
    if (reads) {
        QCOMPARE(r.samples[0], qint16(-20000));
        QCOMPARE(r.samples[20000], qint16(0));
        QCOMPARE(r.samples[39999], qint16(19999));
    } else {
        QVERIFY2(error.contains(path), qPrintable(error));
        QCOMPARE(r.name, QString("First"));
        QCOMPARE(r.path, dir.filePath("1.bmp"));
        QCOMPARE(r.samples, before);
    }
    QVERIFY(!loadAScanRecord(QString(), r));
    QVERIFY(!loadAScanRecord(dir.filePath("none.bmp"), r));
    QCOMPARE(readAScanTitle(dir.filePath("none.bmp")), QString());
}

void TestAScanFiles::sortNumbered_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("numbers, not text") << QStringList{"10.bmp", "9.bmp", "abc.bmp", "0.bmp", "-3.bmp", "2.bmp"}
                                       << QStringList{"2.bmp", "9.bmp", "10.bmp"};
    QTest::newRow("beyond int") << QStringList{"99999999999.bmp", "2147483647.bmp"} << QStringList{"2147483647.bmp"};
    QTest::newRow("other text") << QStringList{"1a.bmp", "1.5.bmp", "0x10.bmp", "7.bmp"} << QStringList{"7.bmp"};
}

void TestAScanFiles::sortNumbered()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    QCOMPARE(::sortNumbered(names), int(sorted.size()));
    QCOMPARE(names, sorted);
}

void TestAScanFiles::generatedThroughTheTool()
{
    // gen-ascans writes what the generator makes (the same bytes every time), the files read
    // back as it, and info reports them.
    QTemporaryDir dir, again;
    const TestBytes::ToolRun gen = TestBytes::runTool(
        {"gen-ascans", dir.path(), "--count", "5", "--seed", QString::number(kSeed), "--clean"});
    QCOMPARE(gen.exitCode, 0);
    QVERIFY(generateAScans(again.path(), 5, kSeed));
    QCOMPARE(QDir(dir.path()).entryList({"*.bmp"}, QDir::Files).size(), 5);
    for (int n : {1, 5}) {
        const GeneratedAScan g = generateAScan(n, kSeed);
        const QString path = dir.filePath(QString("%1.bmp").arg(n));
        const QByteArray bytes = TestBytes::readAll(path);
        QCOMPARE(bytes, TestBytes::readAll(again.filePath(QString("%1.bmp").arg(n))));
        // A real picture: bytes 2–5 give its size, and it reads as the screen image.
        const quint32 d = quint8(bytes[2]) | quint8(bytes[3]) << 8 | quint8(bytes[4]) << 16 | quint32(quint8(bytes[5])) << 24;
        QCOMPARE(qsizetype(d) + (g.versionMinor >= 4 ? 5403 : 5398), bytes.size());
        QImage picture;
        QVERIFY(picture.loadFromData(bytes.left(d), "BMP"));
        QCOMPARE(picture.size(), QSize(kAScanScreenWidth, kAScanScreenHeight));

        AScanRecord r;
        QVERIFY(loadAScanRecord(path, r));
        QCOMPARE(r.name, g.name);
        QCOMPARE(r.setupName, g.setupName);
        QVERIFY(r.fileSettings == g.settings);
        QCOMPARE(r.samples, g.samples);

        const QJsonObject info = runInfo(path);
        QVERIFY2(!info.contains("__failed"), qPrintable(info.value("__failed").toString()));
        QCOMPARE(info.value("name").toString(), g.name);
        QCOMPARE(info.value("version").toString(), QString("3.%1").arg(g.versionMinor));
        QCOMPARE(info.value("loads").toBool(), true);
        const QJsonObject samples = info.value("samples").toObject();
        QCOMPARE(samples.value("count").toInt(), 40000);
        // The values are the record's, the base velocity only from 3.4 on.
        const QJsonObject s = info.value("settings").toObject();
        QCOMPARE(s.value("iGain").toInt(), int(g.settings.iGain));
        QCOMPARE(s.value("iWindowEnd").toInt(), g.settings.iWindowEnd);
        QCOMPARE(s.value("fBaseVelocity").toDouble(),
                 g.versionMinor >= 4 ? QString::number(g.settings.fBaseVelocity, 'g', 7).toDouble() : 3240.0);
    }
}

void TestAScanFiles::generatorReportsFailure()
{
    QTemporaryDir dir;
    QVERIFY(TestBytes::writeBytes(dir.filePath("file"), "x"));
    QString error;
    QVERIFY(!generateAScans(dir.filePath("file/sub"), 1, kSeed, &error));
    QVERIFY(error.contains("file/sub"));
    QVERIFY(!generateAScans(dir.filePath("stop"), 5, kSeed, &error, [](int done, int) { return done < 2; }));
    QCOMPARE(QDir(dir.filePath("stop")).entryList({"*.bmp"}).size(), 2);
}

void TestAScanFiles::robustTruncation()
{
    // A small picture keeps this quick: every length from nothing to the whole data area.
    GeneratedAScan g = generateAScan(3, kSeed);
    const QByteArray full = encodeAScanFile(QImage(8, 4, QImage::Format_RGB32), encodeAScanDataArea(g));
    QTemporaryDir dir;
    const QString path = dir.filePath("3.bmp");
    QVERIFY(TestBytes::writeBytes(path, full));
    QVERIFY(TestBytes::writeBytes(dir.filePath("3.raw"), encodeAScanSamples(g.samples)));
    const qsizetype d = full.size() - 5403;
    QFile file(path);
    for (qsizetype length = full.size(); length >= 0; --length) {
        QVERIFY(file.resize(length));
        const bool titled = !readAScanTitle(path).isEmpty();
        QCOMPARE(titled, length >= d + 70);
        AScanRecord r;
        const bool header = readAScanHeader(path, r);
        if (length == d + kAScanBlockOffset + 0x71)
            continue; // half the velocity
        QCOMPARE(header, length >= d + 384);
        if (header) {
            // What the file lacks of the layout reads as zero.
            QCOMPARE(r.name, g.name);
            const qsizetype velocityEnd = d + kAScanBlockOffset + 0x72;
            QCOMPARE(r.fileSettings.iVelocity, length >= velocityEnd ? g.settings.iVelocity : qint16(0));
            ConfigSettings repaired = r.fileSettings;
            repaired.validateAndRepair();
            QVERIFY(repaired.validateAndRepair());
        }
        // The whole load now and then: it succeeds exactly when the header reads.
        if (length % 401 == 0 || length == d + 384 || length == d + 383) {
            AScanRecord loaded;
            QCOMPARE(loadAScanRecord(path, loaded), header);
        }
    }
}

void TestAScanFiles::robustByteFlips()
{
    GeneratedAScan g = generateAScan(4, kSeed);
    g.settings.tvg.iOn = 1;
    g.settings.tvg.iCount = 24;
    const QByteArray full = encodeAScanFile(QImage(8, 4, QImage::Format_RGB32), encodeAScanDataArea(g));
    QTemporaryDir dir;
    const QString path = dir.filePath("4.bmp");
    const qsizetype d = full.size() - 5403;
    for (const quint8 mask : {quint8(0xFF), quint8(0x80), quint8(0x01)}) {
        // Every byte but those of the skipped arrays, of which every 97th.
        for (qsizetype at = 0; at < full.size(); at += at >= d + 70 && at < d + 5190 ? 97 : 1) {
            QByteArray bytes = full;
            bytes[at] = char(bytes[at] ^ mask);
            QVERIFY(TestBytes::writeBytes(path, bytes));
            readAScanTitle(path);
            AScanRecord r;
            if (!readAScanHeader(path, r))
                continue;
            QVERIFY(r.name.toUtf8().size() <= 63 * 3);
            // Whatever the bytes said, the repaired record is within its ranges.
            ConfigSettings s = r.fileSettings;
            s.validateAndRepair();
            QVERIFY(s.validateAndRepair());
            QVERIFY(s.tvg.iCount >= 0 && s.tvg.iCount <= 24);
        }
    }
}

void TestAScanFiles::robustExtremeValues_data()
{
    QTest::addColumn<int>("offset"); // from the data area; negative: from the file start
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<bool>("titled"); // the signature where the offset points
    const int block = 5254;
    QTest::newRow("tvg count 255") << block + 0x0A << QByteArray("\xff", 1) << true << true;
    QTest::newRow("tvg positions 65535") << block + 0x0B << QByteArray("\xff\xff\xff", 3) << true << true;
    QTest::newRow("window end 0") << block + 0x58 << QByteArray("\0\0", 2) << true << true;
    QTest::newRow("rate 0") << block + 0x7D << QByteArray("\0", 1) << true << true;
    QTest::newRow("frequency 0") << block + 0x78 << QByteArray("\0", 1) << true << true;
    QTest::newRow("strobe start max") << block + 0x66 << QByteArray("\xff\xff\xff\x7f", 4) << true << true;
    QTest::newRow("strobe end min") << block + 0x6A << QByteArray("\0\0\0\x80", 4) << true << true;
    QTest::newRow("base velocity min") << block + 0x90 << QByteArray("\0\0\0\x80", 4) << true << true;
    QTest::newRow("velocity -32768") << block + 0x70 << QByteArray("\0\x80", 2) << true << true;
    QTest::newRow("version 255.255") << 0 << QByteArray("\xff\xff", 2) << true << true;
    QTest::newRow("version 0.0: shorter block") << 0 << QByteArray("\0\0", 2) << true << true;
    QTest::newRow("D huge") << -2 << QByteArray("\xff\xff\xff\xff", 4) << false << false;
    QTest::newRow("D 7") << -2 << QByteArray("\x07\0\0\0", 4) << true << false;
    QTest::newRow("D 6") << -2 << QByteArray("\x06\0\0\0", 4) << false << false;
    QTest::newRow("D 0") << -2 << QByteArray("\0\0\0\0", 4) << false << false;
    QTest::newRow("D 2^31") << -2 << QByteArray("\0\0\0\x80", 4) << false << false;
    QTest::newRow("other signature") << 5 << QByteArray("4", 1) << true << false;
}

void TestAScanFiles::robustExtremeValues()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, value);
    QFETCH(bool, loads);
    const GeneratedAScan g = generateAScan(2, kSeed);
    QByteArray bytes = encodeAScanFile(QImage(8, 4, QImage::Format_RGB32), encodeAScanDataArea(g));
    const qsizetype d = bytes.size() - encodeAScanDataArea(g).size();
    bytes.replace(offset < 0 ? -offset : d + offset, value.size(), value);
    QTemporaryDir dir;
    const QString path = dir.filePath("2.bmp");
    QVERIFY(TestBytes::writeBytes(path, bytes));
    QVERIFY(TestBytes::writeBytes(dir.filePath("2.raw"), encodeAScanSamples(g.samples)));
    AScanRecord r;
    QCOMPARE(loadAScanRecord(path, r), loads);
    QTEST(isAScanFile(path), "titled");
    QCOMPARE(readAScanTitle(path).isEmpty(), !isAScanFile(path));
    if (!loads)
        return;
    ConfigSettings s = r.fileSettings;
    QVERIFY(s.validateAndRepair()); // loading repaired it already
}

void TestAScanFiles::toolInfoSettingsOverride()
{
    QTemporaryDir dir;
    QVERIFY(generateAScans(dir.path(), 1, kSeed));
    ConfigSettings edited = generateAScan(1, kSeed).settings;
    edited.iVelocity = 1234;
    edited.tvg.iOn = 1;
    edited.tvg.iCount = 2;
    edited.tvg.points[0] = {10, 1};
    edited.tvg.points[1] = {20, 2};
    QVERIFY(writeConfigFile(dir.filePath("1.sss"), edited));
    // Each file of the set names the A-scan and is reported as it.
    for (const char* name : {"1.bmp", "1.raw", "1.sss"}) {
        const QJsonObject info = runInfo(dir.filePath(name));
        QCOMPARE(info.value("file").toString(), dir.filePath(name));
        QCOMPARE(info.value("ascanFile").toString(), dir.filePath("1.bmp"));
        QCOMPARE(info.value("settingsFile").toObject().value("overrides").toBool(), true);
        QCOMPARE(info.value("settings").toObject().value("iVelocity").toInt(), 1234);
    }
    QVERIFY(QFile::remove(dir.filePath("1.raw")));
    const QJsonObject info = runInfo(dir.filePath("1.bmp"));
    QCOMPARE(info.value("settings").toObject().value("tvg").toObject().value("points").toArray(),
             (QJsonArray{QJsonArray{10, 1}, QJsonArray{20, 2}}));
    QCOMPARE(info.value("loads").toBool(), false);
    QVERIFY(info.value("samples").toObject().value("error").toString().contains("1.raw"));

    // A settings file alone: shown as read and as repaired (narrower than 5 µs).
    ConfigSettings s;
    s.tvg.iCount = 3;
    s.fStrobeEnd = 101.0f;
    QVERIFY(writeConfigFile(dir.filePath("8.sss"), s));
    const QJsonObject alone = runInfo(dir.filePath("8.sss"));
    QCOMPARE(alone.value("settingsValid").toBool(), false);
    QCOMPARE(alone.value("settings").toObject().value("fStrobeEnd").toDouble(), 105.0);
}

void TestAScanFiles::toolRefuses_data()
{
    // Files info refuses (exit 1, the reason on stderr, nothing on stdout) and arguments the
    // commands refuse (exit 2 and the usage), of A-scans and maps alike; no file name: no file.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QStringList info{"info", "FILE"};
    QByteArray badSignature(300, '\0');
    badSignature.replace(0, 6, "\x03\x04X999");
    QTest::newRow("not an A-scan") << info << "1.bmp" << QByteArray("BM\x10\0\0\0 just a picture", 22) << 1
                                   << "not an A-scan file";
    QTest::newRow("short data area") << info << "2.bmp" << aScanBytes(handBuiltArea(3, 4, "x", "").left(200)) << 1
                                     << "shorter than 384 bytes";
    QTest::newRow("bad settings file") << info << "3.sss" << QByteArray(136, '\0') << 1
                                       << "Couldn't read configuration file";
    QTest::newRow("missing") << info << "4.bmp" << QByteArray() << 1 << "is not a file";
    QTest::newRow("signal without its A-scan") << info << "5.raw" << QByteArray(80000, '\0') << 1
                                               << "belongs to no A-scan";
    QTest::newRow("map: other signature") << info << "bad.cfg" << badSignature << 1 << "bad.cfg";
    QTest::newRow("map: 6 bytes") << info << "short.cfg" << QByteArray(6, '\0') << 1 << "short.cfg";
    QTest::newRow("info without a file") << QStringList{"info"} << "" << QByteArray() << 2 << "SYNOPSIS";
    QTest::newRow("gen-ascans --count many") << QStringList{"gen-ascans", "OUT", "--count", "many"} << ""
                                             << QByteArray() << 2 << "SYNOPSIS";
    QTest::newRow("gen-ascans unknown option") << QStringList{"gen-ascans", "OUT", "--colour"} << "" << QByteArray()
                                               << 2 << "SYNOPSIS";
    QTest::newRow("gen-map --columns 0") << QStringList{"gen-map", "OUT", "--columns", "0"} << "" << QByteArray()
                                         << 2 << "SYNOPSIS";
    QTest::newRow("gen-map short reflector") << QStringList{"gen-map", "OUT", "--reflector", "1,2"} << ""
                                             << QByteArray() << 2 << "SYNOPSIS";
}

void TestAScanFiles::toolRefuses()
{
    QFETCH(QStringList, args);
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!bytes.isEmpty())
        QVERIFY(TestBytes::writeBytes(path, bytes));
    args.replaceInStrings("FILE", path);
    args.replaceInStrings("OUT", dir.filePath("out"));
    const TestBytes::ToolRun r = TestBytes::runTool(args);
    QTEST(r.exitCode, "exitCode");
    QVERIFY(r.out.isEmpty());
    QFETCH(QString, message);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(dir.filePath("out")));
    // Asked for, the usage goes to stdout and succeeds.
    const TestBytes::ToolRun help = TestBytes::runTool({args.first(), "--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("SYNOPSIS"));
}

QTEST_MAIN(TestAScanFiles)
#include "tst_ascanfiles.moc"
