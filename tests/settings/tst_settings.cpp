// Settings record: repair, conversions, equality, the instrument's block and the settings file.

#include "ascan/configsettings.h"
#include "ascan/instrumentblock.h"
#include "ascan/settingsfile.h"

#include "common/bytes.h"

#include <QtTest>

#include <cmath>
#include <functional>
#include <limits>

using Mutator = std::function<void(ConfigSettings&)>;
Q_DECLARE_METATYPE(Mutator)

using TestBytes::putBe;
using TestBytes::putBeDouble;
using TestBytes::putLe;

namespace {

// A block as the instrument writes it, low byte first, with distinct values.
QByteArray handBuiltBlock(bool bVersion34)
{
    QByteArray b = QByteArray::fromHex("07 393000 a08601 d4fe 01 03"); // measured 123.45, peak 1000.00 µs,
                                                                       // amplitude -300, TVG on, 3 points
    b.resize(0x56);
    for (int i = 0; i < 25; ++i) {
        putLe(b, 0x0B + 3 * i, quint32(1000 * (i + 1)), 2);
        b[0x0B + 3 * i + 2] = char(i);
    }
    b += QByteArray::fromHex(
        "c800 5898 eeee"                // window 200 .. 39000, two bytes never read
        "02 09 00 02 01 00 00 01 01 00" // spectrum, aux mode, signal, aux flag only, loupe, response,
                                        // cursor, discreteness, units, strobe
        "fa000000 24faffff 70fe 9411"   // strobe 0.25 .. -1.5 µs, level -400, velocity 4500
        "3b4a02 01 57 00 c8 07 e7ff"    // base 1500.75 mm on, gain 87, probe, frequency 200,
                                        // periods 7, delay -2.5 µs
        "02 14 01 40 19 01 4001 efbe"   // voltage, rate 20, method, averaging 64, repetition 25,
                                        // filter, extras 320 and 0xBEEF
        "aaaaaaaaaaaaaaaaaaaa");        // map geometry, not ours
    if (bVersion34)
        b += QByteArray::fromHex("86962d00 00"); // 2987.654 m/s, one byte more
    return b;
}

// The settings file of a default record, field by field in file order.
const QByteArray kDefaultFile = QByteArray::fromHex(
    "01 00000032 0002 0000000000000000"   // double probe, frequency 50, periods 2, delay 0.0
    "0028 00 0000002d 0064 00 00 00 02"   // gain 40, voltage, repetition 45, rate 100, filter,
                                          // method, spectrum, signal type 2
    "00 0001 00 00000000 00 01 0ca8 00"   // averaging off and 1, aux flag and mode, loupe,
                                          // response, velocity 3240, base mode
    "4034000000000000 40a9500000000000"   // base 20.0, base velocity 3240.0
    "00 01 00 00000000 00002710"          // units, cursor, discreteness, window 0 .. 10000
    "00000100 00000100 00"                // extra1, extra2, measured
    "0000000000000000 0000000000000000"   // measured time, peak time
    "0000 4052c00000000000 0000000000000000" // peak amplitude, extra3 75.0, extra4
    "00 00000000 01"                      // TVG off, no points, strobe on
    "4059000000000000 4069000000000000"   // strobe 100.0 .. 200.0
    "00ff");                              // strobe level 255

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void validate_data();
    void validate();
    void timeToSample_data();
    void timeToSample();
    void windowAndBase();
    void equality_data();
    void equality();
    void blockVersion33();
    void blockVersion34AndShort();
    void fileDefaultLayout();
    void fileFields();
    void fileRoundTrip();
    void fileRefused_data();
    void fileRefused();
    void fileByteFlips();
};

void TestSettings::validate_data()
{
    // A change to the default record, whether it passes untouched, and the record after repair.
    QTest::addColumn<Mutator>("mutate");
    QTest::addColumn<bool>("result");
    QTest::addColumn<Mutator>("expect");
    using S = ConfigSettings;
    const Mutator kept;
    const Mutator defaults = [](S&) {};
    auto row = [](const char* name, const Mutator& change, bool ok, const Mutator& expect) {
        QTest::newRow(name) << change << ok << expect;
    };
    auto tvg = [](int count, const QList<TvgPoint>& points) {
        return Mutator([=](S& s) {
            s.tvg.iCount = count;
            std::copy(points.cbegin(), points.cend(), s.tvg.points.begin());
        });
    };
    row("defaults", defaults, true, kept);
    // TVG: a bad count or a falling position clears the curve; points are clamped uncounted.
    row("tvg flag 2", [](S& s) { s.tvg.iOn = 2; }, false, [](S& s) { s.tvg.iOn = 0; });
    row("tvg count 24 kept", tvg(24, {}), true, kept);
    row("tvg count 25 clears", tvg(25, {{10, 1}}), false, defaults);
    row("tvg decreasing clears, not counted", tvg(3, {{100, 1}, {300, 2}, {200, 3}}), true, defaults);
    row("tvg equal neighbours kept", tvg(2, {{300, 1}, {300, 2}}), true, kept);
    row("tvg points clamped, not counted", tvg(2, {{-1, 31}, {40000, 30}, {0, 0}, {40001, -1}}), true,
        tvg(2, {{0, 0}, {40000, 30}}));
    row("rate 9", [](S& s) { s.iSamplesPer10us = 9; }, false, defaults);
    row("frequency 251", [](S& s) { s.iFrequency = 251; }, false, defaults);
    row("window start 39361", [](S& s) { s.iWindowStart = 39361; s.iWindowEnd = 40000; }, false,
        [](S& s) { s.iWindowEnd = 40000; });
    row("window end 639", [](S& s) { s.iWindowEnd = 639; }, false, defaults);
    row("window equal ends", [](S& s) { s.iWindowStart = 4000; s.iWindowEnd = 4000; }, false, defaults);
    row("signal type 3", [](S& s) { s.eSignalType = S::ESignalType(3); }, false,
        [](S& s) { s.eSignalType = S::SignalOneSided; });
    row("response 5", [](S& s) { s.eResponseType = S::EResponseType(5); }, false,
        [](S& s) { s.eResponseType = S::ResponseFront; });
    row("cursor 2", [](S& s) { s.iCursor = 2; }, false, [](S& s) { s.iCursor = 0; });
    row("discreteness 2", [](S& s) { s.eDiscreteness = S::EDiscreteness(2); }, false,
        [](S& s) { s.eDiscreteness = S::Discreteness01; });
    row("probe 2", [](S& s) { s.eProbeType = S::EProbeType(2); }, false, [](S& s) { s.eProbeType = S::ProbeSingle; });
    // Strobe: within 0..4000 µs and at least 5 µs wide.
    row("strobe 2", [](S& s) { s.iStrobe = 2; }, false, defaults);
    row("strobe start 4001", [](S& s) { s.fStrobeStart = 4001.0f; s.fStrobeEnd = 300.0f; }, false,
        [](S& s) { s.fStrobeStart = 31.0f; s.fStrobeEnd = 300.0f; });
    row("strobe 100..102 widened", [](S& s) { s.fStrobeEnd = 102.0f; }, false, [](S& s) { s.fStrobeEnd = 105.0f; });
    row("strobe 3998..4000 stays in range", [](S& s) { s.fStrobeStart = 3998.0f; s.fStrobeEnd = 4000.0f; }, false,
        [](S& s) { s.fStrobeStart = 3995.0f; s.fStrobeEnd = 4000.0f; });
    row("strobe 3995..4000 kept", [](S& s) { s.fStrobeStart = 3995.0f; s.fStrobeEnd = 4000.0f; }, true, kept);
    row("level 512", [](S& s) { s.iStrobeLevel = 512; }, false, defaults);
    row("base mode 3", [](S& s) { s.iBaseMode = 3; }, false, [](S& s) { s.iBaseMode = 1; });
    row("base 9.99", [](S& s) { s.dBase = 9.99; }, false, [](S& s) { s.dBase = 200.0; });
    row("averaging 129 while on", [](S& s) { s.bAveraging = true; s.iAveraging = 129; }, false,
        [](S& s) { s.bAveraging = true; s.iAveraging = 1; });
    row("periods 11", [](S& s) { s.iPeriodHalves = 11; }, false, defaults);
    row("repetition -1 as unsigned", [](S& s) { s.iRepetitionRate = -1; }, false, defaults);
    row("gain 101", [](S& s) { s.iGain = 101; }, false, defaults);
    row("velocity 499", [](S& s) { s.iVelocity = 499; }, false, defaults);
    row("delay 100.5", [](S& s) { s.dDelay = 100.5; }, false, defaults);
    row("NaN reals", [](S& s) {
        s.fStrobeStart = s.fStrobeEnd = std::numeric_limits<float>::quiet_NaN();
        s.dBase = s.dDelay = std::nan("");
    }, false, [](S& s) { s.fStrobeStart = 31.0f; s.fStrobeEnd = 36.0f; s.dBase = 200.0; });
}

void TestSettings::validate()
{
    QFETCH(Mutator, mutate);
    QFETCH(bool, result);
    QFETCH(Mutator, expect);
    ConfigSettings s;
    mutate(s);
    ConfigSettings expected;
    (expect ? expect : mutate)(expected); // no expectation: the change is kept as it is
    QCOMPARE(s.validateAndRepair(), result);
    QVERIFY(s == expected);
    for (int i = 0; i < TvgCurve::kMaxPoints; ++i)
        QCOMPARE(s.tvg.points[i], expected.tvg.points[i]);
    QVERIFY(s.validateAndRepair()); // a repaired record is stable
}

void TestSettings::timeToSample_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<double>("time");
    QTest::addColumn<int>("sample");
    QTest::newRow("-0.05 half up") << 100 << -0.05 << 0;
    QTest::newRow("0.05 half up") << 100 << 0.05 << 1;
    QTest::newRow("rate 25, 1.0") << 25 << 1.0 << 3; // 2.5 rounds up
    QTest::newRow("huge saturates") << 100 << 1e300 << std::numeric_limits<int>::max();
    QTest::newRow("rate 0") << 0 << 100.0 << 0;
}

void TestSettings::timeToSample()
{
    QFETCH(int, rate);
    QFETCH(double, time);
    QFETCH(int, sample);
    ConfigSettings s;
    s.iSamplesPer10us = qint16(rate);
    QCOMPARE(s.timeToSample(time), sample);
}

void TestSettings::windowAndBase()
{
    ConfigSettings s;
    s.eTestingMethod = ConfigSettings::Transmission;
    s.fMeasuredTime = 12.35f; // float 12.3500003…: 123.5 rounds up
    QCOMPARE(s.measuredSample(), 124);
    s.setWindowEndTime(111.01);
    QCOMPARE(s.iWindowEnd, 1111); // ceil
    s.setWindowEndTime(5000.0);
    QCOMPARE(s.iWindowEnd, 40000);
    s.iSamplesPer10us = 15;
    QCOMPARE(s.samplesIn75us(), 113); // 112.5 up
    s.dBase = 100.0;
    s.setBaseVelocityFromTime(50.0);
    QCOMPARE(s.fBaseVelocity, 2000.0f); // transmission: one way
    s.setBaseVelocityFromTime(0.0);
    QCOMPARE(s.fBaseVelocity, 2000.0f);
    s.eTestingMethod = ConfigSettings::Reflection;
    s.setBaseVelocityFromTime(50.0);
    QCOMPARE(s.fBaseVelocity, 4000.0f);
    s.dBase = 1e30;
    s.setBaseVelocityFromTime(1e-30);
    QVERIFY(std::isfinite(s.fBaseVelocity));
    s.iSamplesPer10us = 0; // no division by a zero rate
    QCOMPARE(s.sampleToTime(100), 0.0);
    QCOMPARE(s.windowEndTime(), 0.0);
}

void TestSettings::equality_data()
{
    QTest::addColumn<Mutator>("mutate");
    QTest::addColumn<bool>("equal");
    auto row = [](const char* name, const Mutator& m, bool equal) { QTest::newRow(name) << m << equal; };
    row("extra3 and extra4 ignored", [](ConfigSettings& s) { s.fExtra3 = 1.0f; s.fExtra4 = 9.0f; }, true);
    row("delay within tolerance", [](ConfigSettings& s) { s.dDelay = 0.00009; }, true);
    row("delay at tolerance", [](ConfigSettings& s) { s.dDelay = 0.00011; }, false);
    row("tvg count", [](ConfigSettings& s) { s.tvg.iCount = 2; }, false);
    row("tvg point beyond the count", [](ConfigSettings& s) { s.tvg.points[1] = {99, 9}; }, true);
    row("tvg point within the count", [](ConfigSettings& s) { s.tvg.points[0].iLevel = 3; }, false);
}

void TestSettings::equality()
{
    QFETCH(Mutator, mutate);
    QFETCH(bool, equal);
    ConfigSettings a;
    a.tvg.iCount = 1;
    a.tvg.points[0] = {10, 1};
    ConfigSettings b = a;
    mutate(b);
    QCOMPARE(a == b, equal);
    QCOMPARE(a != b, !equal);
    // A count beyond the array is compared without reading past it.
    a = b;
    a.tvg.iCount = b.tvg.iCount = 1000;
    QVERIFY(a == b);
}

void TestSettings::blockVersion33()
{
    // The record read from the block, as its settings file (laid out by hand in kDefaultFile).
    ConfigSettings s;
    s.fBaseVelocity = 1.0f;
    QCOMPARE(parseInstrumentBlock(handBuiltBlock(false), false, s), 0xD0);
    const QByteArray expected = QByteArray::fromHex(
        "00 000000c8 0007 c004000000000000"   // single probe, frequency 200, periods 7, delay -2.5
        "0057 02 00000019 0014 01 01 01 00"   // gain 87, 200 V, repetition 25, rate 20, filter off,
                                              // transmission, spectrum, radio signal
        "00 0040 01 00000009 01 00 1194 01"   // averaging off and 64, aux flag and mode 9, loupe,
                                              // front, velocity 4500, base on
        "4097730000000000 40a9500000000000"   // base 1500.75, base velocity 3240 (none in 3.3)
        "01 00 01 000000c8 00009858"          // µs, no cursor, 0.1, window 200 .. 39000
        "00000140 0000beef 01"                // extras 320 and 0xBEEF, measured
        "405edcccc0000000 408f400000000000"   // measured time 123.45f, peak time 1000
        "fed4 4052c00000000000 0000000000000000" // amplitude -300, extra3 and extra4 untouched
        "01 00000003 000003e8 00000000 000007d0 00000001 00000bb8 00000002" // TVG on, 3 points
        "00 3fd0000000000000 bff8000000000000 fe70"); // strobe off, 0.25 .. -1.5 µs, level -400
    QCOMPARE(encodeConfigFile(s).toHex(' '), expected.toHex(' '));
    for (int i = 0; i < 25; ++i) // all 25 points are read, whatever the count
        QCOMPARE(s.tvg.points[i], (TvgPoint{1000 * (i + 1), i}));
}

void TestSettings::blockVersion34AndShort()
{
    ConfigSettings s;
    s.fExtra3 = 1.5f; // not in the block: left as it was
    QCOMPARE(parseInstrumentBlock(handBuiltBlock(true), true, s), 0xD5);
    QCOMPARE(s.fBaseVelocity, 2987.654f);
    QCOMPARE(s.fExtra3, 1.5f);
    // A 3.4 block read as 3.3 ignores the trailing velocity.
    QCOMPARE(parseInstrumentBlock(handBuiltBlock(true), false, s), 0xD0);
    QCOMPARE(s.fBaseVelocity, 3240.0f);
    // Ten bytes only: everything after them reads as zero, nothing past the end is touched.
    const QByteArray full = handBuiltBlock(true);
    QCOMPARE(parseInstrumentBlock(QByteArrayView(full.constData(), 10), true, s), 0xD5);
    QCOMPARE(s.iVelocity, qint16(0));
    QCOMPARE(s.fBaseVelocity, 0.0f);
}

void TestSettings::fileDefaultLayout()
{
    const ConfigSettings s;
    QCOMPARE(encodeConfigFile(s).toHex(' '), kDefaultFile.toHex(' '));
    QTemporaryDir dir;
    const QString path = dir.filePath("1.sss");
    QVERIFY(TestBytes::writeBytes(path, QByteArray(1000, 'x'))); // an older, longer file is replaced
    QString error;
    QVERIFY(writeConfigFile(path, s, &error));
    QCOMPARE(TestBytes::readAll(path), kDefaultFile);
    ConfigSettings back;
    back.iGain = 99;
    QVERIFY(readConfigFile(path, back, &error));
    QVERIFY(back == s);
}

void TestSettings::fileFields()
{
    // Widened and narrowed fields; the whole layout is checked against the block above.
    ConfigSettings s;
    s.fBaseVelocity = 0.1f; // widened: the double of the float, not of 0.1
    s.eSignalType = ConfigSettings::ESignalType(0x1FF); // low byte on writing
    s.iCursor = 258;
    QByteArray b = encodeConfigFile(s);
    QCOMPARE(b.mid(49, 8).toHex(), QByteArray("3fb99999a0000000"));
    QCOMPARE(quint8(b[27]), quint8(0xFF));
    QCOMPARE(quint8(b[58]), quint8(2));
    ConfigSettings back;
    back.tvg.points[3] = {99, 9};
    b[26] = 5; // any non-zero bool byte reads as true
    QVERIFY(decodeConfigFile(b, back));
    QCOMPARE(back.bSpectrum, true);
    QCOMPARE(int(back.eSignalType), 255); // zero-extended
    QCOMPARE(back.iCursor, 2);
    QCOMPARE(back.tvg.points[3], (TvgPoint{99, 9})); // points beyond the count are kept
}

void TestSettings::fileRoundTrip()
{
    // Every field off its default: the block's values, then those it lacks or holds narrower.
    ConfigSettings s;
    parseInstrumentBlock(handBuiltBlock(true), true, s);
    s.iFrequency = 123456;
    s.iPeriodHalves = -7;
    s.dDelay = 12.3456789;
    s.iRepetitionRate = -1;
    s.iAuxMode = -5;
    s.iVelocity = -1234;
    s.iExtra2 = -9;
    s.fExtra3 = 1.5f;
    s.fExtra4 = -2.5f;
    s.tvg.iCount = 25;
    s.fStrobeEnd = 3999.75f;
    s.iStrobeLevel = 511;
    const QByteArray b = encodeConfigFile(s);
    QCOMPARE(b.size(), 335);
    ConfigSettings back;
    QVERIFY(decodeConfigFile(b, back));
    QVERIFY(back == s);
    QCOMPARE(encodeConfigFile(back), b); // every written byte, the fields equality ignores too
}

void TestSettings::fileRefused_data()
{
    // Refused whole, with the error text and nothing taken; "missing" and "folder" have no bytes.
    QTest::addColumn<QByteArray>("bytes");
    ConfigSettings three;
    three.tvg.iCount = 3;
    const QByteArray good = encodeConfigFile(three);
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("folder") << QByteArray();
    QTest::newRow("one short") << good.chopped(1);
    QTest::newRow("one long") << good + '\0';
    QTest::newRow("size of no points") << good.left(135);
    QTest::newRow("count 3 in 335 bytes") << good + QByteArray(335 - 159, '\0');
    const QList<QPair<int, int>> counts = {{-1, 135}, {-1, 127}, {26, 343}, {255, 2175}, {int(0x80000000), 135},
                                           {0x7FFFFFFF, 159}};
    for (const auto& [count, size] : counts) {
        QByteArray b = encodeConfigFile(ConfigSettings());
        b.resize(size);
        putBe(b, 112, quint32(count), 4);
        QTest::addRow("count %d in %d bytes", count, size) << b;
    }
    // Reals out of range; -1e9, the limit, is accepted and left to the repair.
    const QList<QPair<const char*, int>> reals = {
        {"delay", 7}, {"base", 41}, {"base velocity", 49}, {"measured", 77}, {"peak", 85},
        {"extra3", 95}, {"extra4", 103}, {"strobe start", 117}, {"strobe end", 125}};
    for (const auto& [name, offset] : reals) {
        for (const double value : {std::nan(""), -std::numeric_limits<double>::infinity(), 1e300, -1e10}) {
            QByteArray b = encodeConfigFile(ConfigSettings());
            putBeDouble(b, offset, value);
            QTest::addRow("%s %g", name, value) << b;
        }
    }
}

void TestSettings::fileRefused()
{
    QFETCH(QByteArray, bytes);
    const QString tag = QTest::currentDataTag();
    QTemporaryDir dir;
    const QString path = dir.filePath("5.sss");
    if (tag == "folder")
        QVERIFY(QDir(dir.path()).mkdir("5.sss"));
    else if (tag != "missing")
        QVERIFY(TestBytes::writeBytes(path, bytes));
    ConfigSettings s;
    s.iGain = 66;
    s.fStrobeStart = 7.0f;
    QVERIFY(!decodeConfigFile(bytes, s));
    QString error;
    QVERIFY(!readConfigFile(path, s, &error));
    QCOMPARE(error, QString("Couldn't read configuration file \"%1\"!").arg(path));
    QCOMPARE(s.iGain, qint16(66));
    QCOMPARE(s.fStrobeStart, 7.0f);
    QCOMPARE(s.tvg.iCount, 0);
    if (tag.startsWith("strobe end")) {
        putBeDouble(bytes, 125, -1.0e9); // at the limit
        QVERIFY(decodeConfigFile(bytes, s));
    }
}

void TestSettings::fileByteFlips()
{
    // Every length and every byte flipped: refused with nothing taken, or read and repairable.
    ConfigSettings s;
    parseInstrumentBlock(handBuiltBlock(true), true, s);
    s.tvg.iCount = 3;
    const QByteArray good = encodeConfigFile(s);
    auto check = [&](const QByteArray& bytes) {
        ConfigSettings read;
        read.iGain = 3;
        if (!decodeConfigFile(bytes, read))
            return read.iGain == 3;
        read.validateAndRepair();
        return read.validateAndRepair() && read.tvg.iCount >= 0 && read.tvg.iCount <= 24;
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

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
