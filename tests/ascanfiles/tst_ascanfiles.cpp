// A-scan files: the data area of N.bmp, N.raw, N.sss beside them, numbered ordering, the
// generator, robustness against damaged files and what vantar-tool info prints.

#include "ascan/ascanfile.h"
#include "ascan/ascangenerator.h"
#include "ascan/instrumentblock.h"
#include "ascan/settingsfile.h"

#include <QtTest>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <cmath>

namespace {

constexpr quint32 kSeed = 7;

void putLe(QByteArray& b, qsizetype at, quint32 v, int n)
{
    for (int i = 0; i < n; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

QByteArray textField(const QByteArray& utf8)
{
    QByteArray f = utf8.left(64);
    f.append(QByteArray(64 - f.size(), '\0'));
    return f;
}

// A data area built by hand: version, signature, names, arrays and a block with a few
// recognisable values.
QByteArray handBuiltArea(int major, int minor, const QByteArray& name, const QByteArray& setup)
{
    QByteArray a(5403, '\0');
    a[0] = char(major);
    a[1] = char(minor);
    a.replace(2, 4, "M773");
    a.replace(6, 64, textField(name));
    for (int i = 0; i < 4 * 640; ++i)
        putLe(a, 70 + 2 * i, quint32(0xA5A5), 2); // skipped
    a.replace(5190, 64, textField(setup));
    const int block = 5254;
    putLe(a, block + 0x70, 4100, 2);     // velocity
    a[block + 0x76] = 55;                // gain
    a[block + 0x78] = 60;                // frequency
    a[block + 0x7D] = 50;                // samples per 10 µs
    putLe(a, block + 0x58, 20000, 2);    // window end
    putLe(a, block + 0x90, 2750500, 4);  // base velocity 2750.5, read from 3.4 on
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

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray samplesBytes(int count, int first = 0)
{
    QByteArray b(2 * count, '\0');
    for (int i = 0; i < count; ++i)
        putLe(b, 2 * i, quint16(qint16(first + i - 20000)), 2);
    return b;
}

QString toolPath()
{
    return QStringLiteral(VANTAR_BIN_DIR "/vantar-tool");
}

} // namespace

class TestAScanFiles : public QObject
{
    Q_OBJECT

private slots:
    void dataAreaByHand_data();
    void dataAreaByHand();
    void names_data();
    void names();
    void titleRefused_data();
    void titleRefused();
    void shortDataArea_data();
    void shortDataArea();
    void samples_data();
    void samples();
    void loadWithSettingsFile_data();
    void loadWithSettingsFile();
    void loadFailsWithoutSignal_data();
    void loadFailsWithoutSignal();
    void companions_data();
    void companions();
    void dateText();
    void sortNumbered_data();
    void sortNumbered();
    void generatedReadBack();
    void generatedIsDeterministic();
    void generatedSignalHasEchoes();
    void generatorReportsFailure();
    void robustTruncation();
    void robustByteFlips();
    void robustExtremeValues_data();
    void robustExtremeValues();
    void robustSettingsFile();
    void toolInfoAScan();
    void toolInfoSettingsOverride();
    void toolInfoSettingsFile();
    void toolInfoRefuses_data();
    void toolInfoRefuses();
    void toolGenArguments_data();
    void toolGenArguments();

private:
    QJsonObject runInfo(const QString& path, int expectedExit, QString* pErr = nullptr);
};

void TestAScanFiles::dataAreaByHand_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<float>("baseVelocity");
    QTest::newRow("3.3: no velocity") << 3 << 3 << 3240.0f;
    QTest::newRow("3.4") << 3 << 4 << 2750.5f;
    QTest::newRow("4.0") << 4 << 0 << 2750.5f;
    QTest::newRow("2.9") << 2 << 9 << 3240.0f;
}

void TestAScanFiles::dataAreaByHand()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(float, baseVelocity);
    QTemporaryDir dir;
    const QString path = dir.filePath("12.bmp");
    QVERIFY(writeBytes(path, aScanBytes(handBuiltArea(major, minor, "Wall 7", "Setup B"), 1000)));
    QVERIFY(isAScanFile(path));
    QCOMPARE(readAScanTitle(path), QString("Wall 7"));
    AScanRecord r;
    QVERIFY(readAScanHeader(path, r));
    QCOMPARE(r.name, QString("Wall 7"));
    QCOMPARE(r.setupName, QString("Setup B"));
    QCOMPARE(r.versionMajor, major);
    QCOMPARE(r.versionMinor, minor);
    QCOMPARE(r.fileSettings.iVelocity, qint16(4100));
    QCOMPARE(r.fileSettings.iGain, qint16(55));
    QCOMPARE(r.fileSettings.iFrequency, 60);
    QCOMPARE(r.fileSettings.iSamplesPer10us, qint16(50));
    QCOMPARE(r.fileSettings.iWindowEnd, 20000);
    QCOMPARE(r.fileSettings.fBaseVelocity, baseVelocity);
}

void TestAScanFiles::names_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QByteArray("Slab 1") << QString("Slab 1");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("63 bytes") << QByteArray(63, 'a') << QString(63, 'a');
    QTest::newRow("64 non-zero bytes") << QByteArray(64, 'b') << QString(63, 'b');
    QTest::newRow("utf-8") << QByteArray("Стена 3") << QString::fromUtf8("Стена 3");
    QTest::newRow("stops at first zero") << QByteArray("ab\0cd", 5) << QString("ab");
    // 31 two-byte letters and the first byte of a 32nd: the dangling byte is not a letter.
    QTest::newRow("cut inside a letter") << QByteArray("Ж").repeated(32) << QString::fromUtf8("Ж").repeated(31) + QChar(0xFFFD);
}

void TestAScanFiles::names()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath("1.bmp");
    QVERIFY(writeBytes(path, aScanBytes(handBuiltArea(3, 4, field, field))));
    AScanRecord r;
    QVERIFY(readAScanHeader(path, r));
    QCOMPARE(r.name, name);
    QCOMPARE(r.setupName, name);
    QCOMPARE(readAScanTitle(path), name);
    // Writing a name gives a field that reads back the same, never split inside a letter.
    if (QTest::currentDataTag() == QLatin1String("cut inside a letter")) {
        const QString written = QString::fromUtf8("Ж").repeated(40);
        QCOMPARE(encodeInstrumentText(written).size(), 64);
        QCOMPARE(instrumentText(encodeInstrumentText(written)), written.left(31));
    }
}

void TestAScanFiles::titleRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = aScanBytes(handBuiltArea(3, 4, "X", ""), 100);
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("5 bytes") << good.left(5);
    QByteArray d6 = good;
    putLe(d6, 2, 6, 4);
    QTest::newRow("offset 6") << d6;
    QByteArray d0 = good;
    putLe(d0, 2, 0, 4);
    QTest::newRow("offset 0") << d0;
    QTest::newRow("ends before the name does") << good.left(100 + 69);
    QByteArray sig = good;
    sig[100 + 5] = '4';
    QTest::newRow("other signature") << sig;
    QByteArray huge = good;
    putLe(huge, 2, 0xFFFFFFFF, 4);
    QTest::newRow("offset beyond the file") << huge;
    QTest::newRow("picture only") << good.left(100);
}

void TestAScanFiles::titleRefused()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("1.bmp");
    QVERIFY(writeBytes(path, bytes));
    QCOMPARE(readAScanTitle(path), QString());
    QVERIFY(!isAScanFile(path));
    QCOMPARE(readAScanTitle(dir.filePath("missing.bmp")), QString());
}

void TestAScanFiles::shortDataArea_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("velocity");
    QTest::addColumn<float>("baseVelocity");
    QTest::newRow("383") << 383 << false << "" << 0 << 0.0f;
    QTest::newRow("384") << 384 << true << "" << 0 << 0.0f;
    QTest::newRow("setup name cut") << 5195 << true << "Setup" << 0 << 0.0f;
    QTest::newRow("block cut before velocity") << 5300 << true << "Setup name" << 0 << 0.0f;
    QTest::newRow("base velocity cut") << 5400 << true << "Setup name" << 4100 << float(0xF824 / 1000.0);
    QTest::newRow("one byte short") << 5402 << true << "Setup name" << 4100 << 2750.5f;
}

void TestAScanFiles::shortDataArea()
{
    QFETCH(int, length);
    QFETCH(bool, reads);
    QFETCH(QString, setup);
    QFETCH(int, velocity);
    QFETCH(float, baseVelocity);
    QTemporaryDir dir;
    const QString path = dir.filePath("2.bmp");
    const QByteArray full = handBuiltArea(3, 4, "Short", "Setup name");
    QVERIFY(writeBytes(path, aScanBytes(full.left(length))));
    AScanRecord r;
    r.name = "before";
    r.fileSettings.iGain = 99;
    QCOMPARE(readAScanHeader(path, r), reads);
    if (!reads) {
        QCOMPARE(r.name, QString("before"));
        QCOMPARE(r.fileSettings.iGain, qint16(99));
        return;
    }
    // What the file lacks of the layout reads as zero.
    QCOMPARE(r.name, QString("Short"));
    QCOMPARE(r.setupName, setup);
    QCOMPARE(r.fileSettings.iVelocity, qint16(velocity));
    QCOMPARE(r.fileSettings.fBaseVelocity, baseVelocity);
}

void TestAScanFiles::samples_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kind"); // 0 file, 1 missing, 2 a folder of that name
    QTest::addColumn<bool>("reads");
    QTest::newRow("exact") << samplesBytes(40000) << 0 << true;
    QTest::newRow("longer: the rest is ignored") << samplesBytes(40001) << 0 << true;
    QTest::newRow("one byte short") << samplesBytes(40000).chopped(1) << 0 << false;
    QTest::newRow("half") << samplesBytes(20000) << 0 << false;
    QTest::newRow("empty") << QByteArray() << 0 << false;
    QTest::newRow("missing") << QByteArray() << 1 << false;
    QTest::newRow("folder") << QByteArray() << 2 << false;
}

void TestAScanFiles::samples()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kind);
    QFETCH(bool, reads);
    QTemporaryDir dir;
    const QString path = dir.filePath("4.raw");
    if (kind == 0)
        QVERIFY(writeBytes(path, bytes));
    else if (kind == 2)
        QVERIFY(QDir(dir.path()).mkdir("4.raw"));
    QList<qint16> buffer(40000, 77);
    QString error;
    QCOMPARE(readAScanSamples(path, buffer.data(), int(buffer.size()), &error), reads);
    if (reads) {
        QCOMPARE(buffer[0], qint16(-20000));
        QCOMPARE(buffer[20000], qint16(0));
        QCOMPARE(buffer[39999], qint16(19999));
    } else {
        // The previous signal stays as it was; the caller knows the load failed.
        QCOMPARE(buffer, QList<qint16>(40000, 77));
        QVERIFY(error.contains(path));
    }
}

void TestAScanFiles::loadWithSettingsFile_data()
{
    // N.sss beside the picture holds the edited settings; a broken one is reported and the
    // instrument's block is used instead.
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
    QVERIFY(writeBytes(path, aScanBytes(handBuiltArea(3, 4, "Five", ""))));
    QVERIFY(writeBytes(dir.filePath("5.raw"), samplesBytes(40000)));
    if (!sss.isEmpty())
        QVERIFY(writeBytes(dir.filePath("5.sss"), sss));
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
    QCOMPARE(r.samples[1], qint16(-19999));
    QVERIFY(!r.date.isEmpty());
}

void TestAScanFiles::loadFailsWithoutSignal_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<bool>("present");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("short") << samplesBytes(39999) << true;
}

void TestAScanFiles::loadFailsWithoutSignal()
{
    QFETCH(QByteArray, raw);
    QFETCH(bool, present);
    QTemporaryDir dir;
    // The previous A-scan is loaded…
    QVERIFY(writeBytes(dir.filePath("1.bmp"), aScanBytes(handBuiltArea(3, 4, "First", ""))));
    QVERIFY(writeBytes(dir.filePath("1.raw"), samplesBytes(40000)));
    AScanRecord r;
    QVERIFY(loadAScanRecord(dir.filePath("1.bmp"), r));
    const QList<qint16> before = r.samples;
    // …then one whose signal is missing or short: its load fails and nothing of it is taken,
    // so the first signal can never be shown under the second name.
    QVERIFY(writeBytes(dir.filePath("2.bmp"), aScanBytes(handBuiltArea(3, 4, "Second", ""))));
    if (present)
        QVERIFY(writeBytes(dir.filePath("2.raw"), raw));
    QString error;
    QVERIFY(!loadAScanRecord(dir.filePath("2.bmp"), r, &error));
    QVERIFY(error.contains(dir.filePath("2.raw")));
    QCOMPARE(r.name, QString("First"));
    QCOMPARE(r.path, dir.filePath("1.bmp"));
    QCOMPARE(r.samples, before);
    QVERIFY(!loadAScanRecord(QString(), r));
    QVERIFY(!loadAScanRecord(dir.filePath("none.bmp"), r));
}

void TestAScanFiles::companions_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("sss");
    QTest::newRow("usual") << "/data/12.bmp" << "/data/12.raw" << "/data/12.sss";
    QTest::newRow("upper case") << "D:/A/3.BMP" << "D:/A/3.raw" << "D:/A/3.sss";
    QTest::newRow("two characters") << "ab" << "raw" << "sss";
    QTest::newRow("empty") << "" << "raw" << "sss";
}

void TestAScanFiles::companions()
{
    QFETCH(QString, path);
    QFETCH(QString, raw);
    QFETCH(QString, sss);
    QCOMPARE(samplesPathFor(path), raw);
    QCOMPARE(settingsPathFor(path), sss);
}

void TestAScanFiles::dateText()
{
    QCOMPARE(ascanDateText(QDateTime(QDate(2024, 3, 9), QTime(7, 5, 59))), QString("09.03.24   07:05"));
    QTemporaryDir dir;
    const QString path = dir.filePath("1.bmp");
    QVERIFY(writeBytes(path, "x"));
    QVERIFY(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d\\d   \\d\\d:\\d\\d$").match(ascanDateText(path)).hasMatch());
}

void TestAScanFiles::sortNumbered_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("numbers, not text") << QStringList{"10.bmp", "9.bmp", "abc.bmp", "0.bmp", "09.bmp"}
                                       << QStringList{"09.bmp", "10.bmp"};
    QTest::newRow("same number: later stays") << QStringList{"09.bmp", "9.bmp"} << QStringList{"9.bmp"};
    QTest::newRow("negative dropped") << QStringList{"-3.bmp", "2.bmp"} << QStringList{"2.bmp"};
    QTest::newRow("too short") << QStringList{"bmp", ".bmp", "", "1.bmp"} << QStringList{"1.bmp"};
    QTest::newRow("beyond int") << QStringList{"99999999999.bmp", "2147483647.bmp"} << QStringList{"2147483647.bmp"};
    QTest::newRow("other text") << QStringList{"1a.bmp", "1.5.bmp", "0x10.bmp", "7.bmp"} << QStringList{"7.bmp"};
    QTest::newRow("empty") << QStringList{} << QStringList{};
    QTest::newRow("many") << QStringList{"100.bmp", "20.bmp", "3.bmp", "1000.bmp", "1.bmp"}
                          << QStringList{"1.bmp", "3.bmp", "20.bmp", "100.bmp", "1000.bmp"};
}

void TestAScanFiles::sortNumbered()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    QCOMPARE(::sortNumbered(names), int(sorted.size()));
    QCOMPARE(names, sorted);
}

void TestAScanFiles::generatedReadBack()
{
    QTemporaryDir dir;
    QString error;
    int calls = 0;
    QVERIFY2(generateAScans(dir.path(), 6, kSeed, &error, [&](int done, int total) {
        ++calls;
        return done <= total;
    }), qPrintable(error));
    QCOMPARE(calls, 6);
    QStringList names = QDir(dir.path()).entryList({"*.bmp"}, QDir::Files);
    QCOMPARE(::sortNumbered(names), 6);
    for (int n = 1; n <= 6; ++n) {
        const GeneratedAScan g = generateAScan(n, kSeed);
        const QString path = dir.filePath(QString("%1.bmp").arg(n));
        QCOMPARE(names[n - 1], QString("%1.bmp").arg(n));
        QCOMPARE(readAScanTitle(path), g.name);

        // A real picture: bytes 2–5 give its size, and it reads as the screen image.
        const QByteArray bytes = fileBytes(path);
        const quint32 d = quint8(bytes[2]) | quint8(bytes[3]) << 8 | quint8(bytes[4]) << 16 | quint32(quint8(bytes[5])) << 24;
        QCOMPARE(qsizetype(d) + (g.versionMinor >= 4 ? 5403 : 5398), bytes.size());
        QImage picture;
        QVERIFY(picture.loadFromData(bytes.left(d), "BMP"));
        QCOMPARE(picture.size(), QSize(kAScanScreenWidth, kAScanScreenHeight));

        AScanRecord r;
        QVERIFY(loadAScanRecord(path, r, &error));
        QCOMPARE(r.name, g.name);
        QCOMPARE(r.setupName, g.setupName);
        QCOMPARE(r.versionMinor, g.versionMinor);
        QVERIFY(r.fileSettings == g.settings);
        QCOMPARE(r.samples, g.samples);
        ConfigSettings copy = g.settings;
        QVERIFY(copy.validateAndRepair());
    }
}

void TestAScanFiles::generatedIsDeterministic()
{
    QTemporaryDir a, b;
    QVERIFY(generateAScans(a.path(), 2, kSeed));
    QVERIFY(generateAScans(b.path(), 2, kSeed));
    for (const char* name : {"1.bmp", "1.raw", "2.bmp", "2.raw"})
        QVERIFY(fileBytes(a.filePath(name)) == fileBytes(b.filePath(name)));
    QVERIFY(generateAScan(1, kSeed).samples != generateAScan(1, kSeed + 1).samples);
}

void TestAScanFiles::generatedSignalHasEchoes()
{
    for (int n = 1; n <= 12; ++n) {
        const GeneratedAScan g = generateAScan(n, kSeed);
        const ConfigSettings& s = g.settings;
        const double period = 1000.0 / s.iFrequency;
        auto peakIn = [&](double from, double to) {
            int peak = 0;
            for (int i = qMax(0, s.timeToSample(from)); i < qMin(40000, s.timeToSample(to)); ++i)
                peak = qMax(peak, qAbs(int(g.samples[i])));
            return peak;
        };
        // After the probe's ring-down the strongest sample belongs to an echo, and the main
        // echo stands far above the noise at the end of the record.
        const double pulse = s.iPeriodHalves * period / 2.0;
        const double echo = g.echoTimes.first();
        const double firstEcho = *std::min_element(g.echoTimes.cbegin(), g.echoTimes.cend());
        const double tail = s.sampleToTime(39000);
        const int afterRingDown = peakIn(12.0 * period, tail);
        QCOMPARE(peakIn(firstEcho, echo + pulse + 4.0 * period), afterRingDown);
        const int noise = peakIn(tail, s.sampleToTime(40000));
        QVERIFY2(peakIn(echo, echo + pulse + 4.0 * period) > 8 * qMax(noise, 5), qPrintable(QString::number(n)));
        QVERIFY(std::all_of(g.samples.cbegin(), g.samples.cend(), [](qint16 v) { return v >= -511 && v <= 511; }));
        // The measurement found the main echo inside the strobe.
        QVERIFY(s.bMeasured);
        QVERIFY(s.fPeakTime >= s.fStrobeStart && s.fPeakTime <= s.fStrobeEnd);
        QVERIFY(qAbs(s.fPeakTime - echo) < 3.0 * period);
        QVERIFY(s.timeToSample(echo) < s.iWindowEnd);
    }
}

void TestAScanFiles::generatorReportsFailure()
{
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath("file"), "x"));
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
    QVERIFY(writeBytes(path, full));
    QVERIFY(writeBytes(dir.filePath("3.raw"), encodeAScanSamples(g.samples)));
    const qsizetype d = full.size() - 5403;
    QFile file(path);
    for (qsizetype length = full.size(); length >= 0; --length) {
        QVERIFY(file.resize(length));
        const bool titled = !readAScanTitle(path).isEmpty();
        QCOMPARE(titled, length >= d + 70);
        AScanRecord r;
        const bool header = readAScanHeader(path, r);
        QCOMPARE(header, length >= d + 384);
        if (header) {
            QCOMPARE(r.name, g.name);
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
    QList<qsizetype> offsets = {0, 1, 2, 3, 4, 5};
    for (qsizetype i = d; i < d + 70; ++i)
        offsets.append(i);
    for (qsizetype i = d + 5190; i < full.size(); ++i)
        offsets.append(i);
    for (qsizetype i = d + 70; i < d + 5190; i += 97)
        offsets.append(i);
    QVERIFY(writeBytes(path, full));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
    auto putByte = [&file](qsizetype at, char value) {
        return file.seek(at) && file.write(&value, 1) == 1;
    };
    for (const quint8 mask : {quint8(0xFF), quint8(0x80), quint8(0x01)}) {
        for (const qsizetype at : std::as_const(offsets)) {
            // Flip one byte in place; the next round puts it back.
            QVERIFY(putByte(at, char(full[at] ^ mask)));
            auto restore = qScopeGuard([&] { putByte(at, full[at]); });
            readAScanTitle(path);
            AScanRecord r;
            if (!readAScanHeader(path, r))
                continue;
            QVERIFY(r.name.toUtf8().size() <= 63 * 3);
            // Whatever the bytes said, the repaired record is within its ranges…
            ConfigSettings s = r.fileSettings;
            s.validateAndRepair();
            QVERIFY(s.validateAndRepair());
            QVERIFY(s.tvg.iCount >= 0 && s.tvg.iCount <= 24);
            // …and goes through the settings file intact.
            ConfigSettings back;
            QVERIFY(decodeConfigFile(encodeConfigFile(s), back));
            QVERIFY(back == s);
        }
    }
}

void TestAScanFiles::robustExtremeValues_data()
{
    QTest::addColumn<int>("offset"); // from the data area; negative: from the file start
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("loads");
    const int block = 5254;
    QTest::newRow("tvg count 255") << block + 0x0A << QByteArray("\xff", 1) << true;
    QTest::newRow("tvg count 25") << block + 0x0A << QByteArray("\x19", 1) << true;
    QTest::newRow("tvg positions 65535") << block + 0x0B << QByteArray("\xff\xff\xff", 3) << true;
    QTest::newRow("window end 0") << block + 0x58 << QByteArray("\0\0", 2) << true;
    QTest::newRow("rate 0") << block + 0x7D << QByteArray("\0", 1) << true;
    QTest::newRow("frequency 0") << block + 0x78 << QByteArray("\0", 1) << true;
    QTest::newRow("strobe start max") << block + 0x66 << QByteArray("\xff\xff\xff\x7f", 4) << true;
    QTest::newRow("strobe end min") << block + 0x6A << QByteArray("\0\0\0\x80", 4) << true;
    QTest::newRow("base velocity min") << block + 0x90 << QByteArray("\0\0\0\x80", 4) << true;
    QTest::newRow("velocity -32768") << block + 0x70 << QByteArray("\0\x80", 2) << true;
    QTest::newRow("version 255.255") << 0 << QByteArray("\xff\xff", 2) << true;
    QTest::newRow("version 0.0: shorter block") << 0 << QByteArray("\0\0", 2) << true;
    QTest::newRow("D huge") << -2 << QByteArray("\xff\xff\xff\xff", 4) << false;
    QTest::newRow("D 7") << -2 << QByteArray("\x07\0\0\0", 4) << true;
    QTest::newRow("D 6") << -2 << QByteArray("\x06\0\0\0", 4) << false;
    QTest::newRow("D 0") << -2 << QByteArray("\0\0\0\0", 4) << false;
    QTest::newRow("D 2^31") << -2 << QByteArray("\0\0\0\x80", 4) << false;
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
    QVERIFY(writeBytes(path, bytes));
    QVERIFY(writeBytes(dir.filePath("2.raw"), encodeAScanSamples(g.samples)));
    AScanRecord r;
    QCOMPARE(loadAScanRecord(path, r), loads);
    if (!loads)
        return;
    ConfigSettings s = r.fileSettings;
    QVERIFY(s.validateAndRepair()); // loading repaired it already
    QVERIFY(s.tvg.iCount <= 24);
    QVERIFY(s.iSamplesPer10us >= 10);
    QVERIFY(std::isfinite(s.sampleToTime(s.iWindowEnd)));
    QVERIFY(s.timeToSample(s.fStrobeEnd) <= 40000);
}

void TestAScanFiles::robustSettingsFile()
{
    ConfigSettings s = generateAScan(6, kSeed).settings;
    s.tvg.iOn = 1;
    s.tvg.iCount = 3;
    const QByteArray good = encodeConfigFile(s);
    QTemporaryDir dir;
    const QString path = dir.filePath("6.sss");
    auto check = [&](const QByteArray& bytes) {
        if (!writeBytes(path, bytes))
            return false;
        ConfigSettings read;
        read.iGain = 3;
        if (!readConfigFile(path, read))
            return read.iGain == 3; // nothing taken from a refused file
        ConfigSettings repaired = read;
        repaired.validateAndRepair();
        return repaired.validateAndRepair() && read.tvg.iCount >= 0 && read.tvg.iCount <= 25;
    };
    for (qsizetype n = 0; n <= good.size() + 8; ++n)
        QVERIFY(check(n <= good.size() ? good.left(n) : good + QByteArray(n - good.size(), '\x7f')));
    for (qsizetype at = 0; at < good.size(); ++at) {
        for (const quint8 mask : {quint8(0xFF), quint8(0x80), quint8(0x01)}) {
            QByteArray bytes = good;
            bytes[at] = char(bytes[at] ^ mask);
            QVERIFY2(check(bytes), qPrintable(QString::number(at)));
        }
    }
}

QJsonObject TestAScanFiles::runInfo(const QString& path, int expectedExit, QString* pErr)
{
    QProcess tool;
    tool.start(toolPath(), {"info", path});
    if (!tool.waitForFinished(30000))
        return QJsonObject{{"__failed", "timeout"}};
    if (pErr)
        *pErr = QString::fromUtf8(tool.readAllStandardError());
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != expectedExit)
        return QJsonObject{{"__failed", QString("exit %1").arg(tool.exitCode())}};
    if (expectedExit != 0)
        return QJsonObject{};
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(tool.readAllStandardOutput(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return QJsonObject{{"__failed", error.errorString()}};
    return doc.object();
}

void TestAScanFiles::toolInfoAScan()
{
    QTemporaryDir dir;
    QProcess gen;
    // Clean signals, which the generator makes by default: they are compared with its own.
    gen.start(toolPath(), {"gen-ascans", dir.path(), "--count", "5", "--seed", QString::number(kSeed), "--clean"});
    QVERIFY(gen.waitForFinished(60000));
    QCOMPARE(gen.exitCode(), 0);
    QCOMPARE(QDir(dir.path()).entryList({"*.bmp"}).size(), 5);

    for (int n : {1, 5}) {
        const GeneratedAScan g = generateAScan(n, kSeed);
        const QString path = dir.filePath(QString("%1.bmp").arg(n));
        const QJsonObject info = runInfo(path, 0);
        QVERIFY2(!info.contains("__failed"), qPrintable(info.value("__failed").toString()));
        QCOMPARE(info.value("name").toString(), g.name);
        QCOMPARE(info.value("version").toString(), QString("3.%1").arg(g.versionMinor));
        QCOMPARE(info.value("loads").toBool(), true);
        QCOMPARE(info.value("settingsFile").toObject().value("overrides").toBool(), false);

        const QJsonObject samples = info.value("samples").toObject();
        QCOMPARE(samples.value("count").toInt(), 40000);
        QCOMPARE(samples.value("min").toInt(), int(*std::min_element(g.samples.cbegin(), g.samples.cend())));
        QCOMPARE(samples.value("max").toInt(), int(*std::max_element(g.samples.cbegin(), g.samples.cend())));

        const QJsonObject s = info.value("settings").toObject();
        const QStringList keys = {
            "eProbeType", "iFrequency", "iPeriodHalves", "dDelay", "iGain", "ePulseVoltage",
            "iRepetitionRate", "iSamplesPer10us", "iInputFilter", "eTestingMethod", "bSpectrum",
            "eSignalType", "bAveraging", "iAveraging", "bAuxFlag", "iAuxMode", "iLoupe",
            "eResponseType", "iVelocity", "iBaseMode", "dBase", "fBaseVelocity", "eScaleUnits",
            "iCursor", "eDiscreteness", "iWindowStart", "iWindowEnd", "iExtra1", "iExtra2",
            "bMeasured", "fMeasuredTime", "fPeakTime", "iPeakAmplitude", "fExtra3", "fExtra4",
            "tvg", "iStrobe", "fStrobeStart", "fStrobeEnd", "iStrobeLevel"};
        QStringList actual = s.keys();
        QStringList expected = keys;
        actual.sort();
        expected.sort();
        QCOMPARE(actual, expected);
        // The values are the record's, the base velocity only from 3.4 on, the TVG points as pairs.
        const ConfigSettings& e = g.settings;
        QCOMPARE(s.value("iGain").toInt(), int(e.iGain));
        QCOMPARE(s.value("iWindowEnd").toInt(), e.iWindowEnd);
        QCOMPARE(s.value("fBaseVelocity").toDouble(),
                 g.versionMinor >= 4 ? double(QString::number(e.fBaseVelocity, 'g', 7).toDouble()) : 3240.0);
        const QJsonArray points = s.value("tvg").toObject().value("points").toArray();
        QCOMPARE(points.size(), e.tvg.iCount);
        for (int i = 0; i < e.tvg.iCount; ++i)
            QCOMPARE(points[i].toArray(), (QJsonArray{e.tvg.points[i].iPosition, e.tvg.points[i].iLevel}));
    }
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
        const QJsonObject info = runInfo(dir.filePath(name), 0);
        QVERIFY2(!info.contains("__failed"), name);
        QCOMPARE(info.value("file").toString(), dir.filePath(name));
        QCOMPARE(info.value("kind").toString(), QString("ascan"));
        QCOMPARE(info.value("ascanFile").toString(), dir.filePath("1.bmp"));
        QCOMPARE(info.value("name").toString(), generateAScan(1, kSeed).name);
        QCOMPARE(info.value("settingsFile").toObject().value("overrides").toBool(), true);
        QCOMPARE(info.value("settings").toObject().value("iVelocity").toInt(), 1234);
        QCOMPARE(info.value("loads").toBool(), true);
    }
    QVERIFY(QFile::remove(dir.filePath("1.raw")));
    const QJsonObject info = runInfo(dir.filePath("1.bmp"), 0);
    QVERIFY(!info.contains("__failed"));
    QCOMPARE(info.value("settings").toObject().value("tvg").toObject().value("points").toArray(),
             (QJsonArray{QJsonArray{10, 1}, QJsonArray{20, 2}}));
    QCOMPARE(info.value("loads").toBool(), false);
    QVERIFY(info.value("samples").toObject().value("error").toString().contains("1.raw"));

    QVERIFY(writeBytes(dir.filePath("1.sss"), "broken"));
    const QJsonObject broken = runInfo(dir.filePath("1.bmp"), 0);
    QCOMPARE(broken.value("settingsFile").toObject().value("overrides").toBool(), false);
    QCOMPARE(broken.value("settingsFile").toObject().value("error").toString(),
             QString("Couldn't read configuration file \"%1\"!").arg(dir.filePath("1.sss")));
    QCOMPARE(broken.value("settings").toObject().value("iVelocity").toInt(), int(generateAScan(1, kSeed).settings.iVelocity));
}

void TestAScanFiles::toolInfoSettingsFile()
{
    QTemporaryDir dir;
    ConfigSettings s;
    s.iGain = 61;
    s.tvg.iCount = 3;
    s.fStrobeEnd = 101.0f; // needs repair: narrower than 5 µs
    const QString path = dir.filePath("8.sss");
    QVERIFY(writeConfigFile(path, s));
    const QJsonObject info = runInfo(path, 0);
    QVERIFY(!info.contains("__failed"));
    QCOMPARE(info.value("kind").toString(), QString("settings"));
    QCOMPARE(info.value("size").toInt(), 159);
    QCOMPARE(info.value("settingsValid").toBool(), false);
    QCOMPARE(info.value("settings").toObject().value("iGain").toInt(), 61);
    QCOMPARE(info.value("settings").toObject().value("fStrobeEnd").toDouble(), 105.0);
}

void TestAScanFiles::toolInfoRefuses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("not an A-scan") << "1.bmp" << QByteArray("BM\x10\0\0\0 just a picture", 22) << "not an A-scan file";
    QTest::newRow("short data area") << "2.bmp" << aScanBytes(handBuiltArea(3, 4, "x", "").left(200)) << "shorter than 384 bytes";
    QTest::newRow("bad settings file") << "3.sss" << QByteArray(136, '\0') << "Couldn't read configuration file";
    QTest::newRow("missing") << "4.bmp" << QByteArray() << "is not a file";
    QTest::newRow("signal without its A-scan") << "5.raw" << QByteArray(80000, '\0') << "belongs to no A-scan";
}

void TestAScanFiles::toolInfoRefuses()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!bytes.isEmpty())
        QVERIFY(writeBytes(path, bytes));
    QString err;
    const QJsonObject result = runInfo(path, 1, &err);
    QVERIFY2(!result.contains("__failed"), qPrintable(result.value("__failed").toString()));
    QVERIFY2(err.contains(message), qPrintable(err));
}

void TestAScanFiles::toolGenArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("no folder") << QStringList{"gen-ascans"} << 2;
    QTest::newRow("count 0") << QStringList{"gen-ascans", "DIR", "--count", "0"} << 2;
    QTest::newRow("count text") << QStringList{"gen-ascans", "DIR", "--count", "many"} << 2;
    QTest::newRow("count missing") << QStringList{"gen-ascans", "DIR", "--count"} << 2;
    QTest::newRow("unknown option") << QStringList{"gen-ascans", "DIR", "--colour"} << 2;
    QTest::newRow("help") << QStringList{"gen-ascans", "--help"} << 0;
    QTest::newRow("info help") << QStringList{"info", "--help"} << 0;
    QTest::newRow("info no file") << QStringList{"info"} << 2;
}

void TestAScanFiles::toolGenArguments()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    args.replaceInStrings("DIR", dir.filePath("out"));
    QProcess tool;
    tool.start(toolPath(), args);
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), exitCode);
    QVERIFY(!QFileInfo::exists(dir.filePath("out")));
    if (exitCode == 0)
        QVERIFY(tool.readAllStandardOutput().contains("SYNOPSIS"));
}

QTEST_MAIN(TestAScanFiles)
#include "tst_ascanfiles.moc"
