// Settings record: repair, conversions, equality, texts, the instrument's block and the settings file.

#include "ascan/configsettings.h"
#include "ascan/instrumentblock.h"
#include "ascan/settingsfile.h"

#include "common/filesizelimit.h"

#include <QtTest>

#include <cstring>

#include <cmath>
#include <functional>
#include <limits>

using Mutator = std::function<void(ConfigSettings&)>;
Q_DECLARE_METATYPE(Mutator)
using TextOf = QString (ConfigSettings::*)() const;
Q_DECLARE_METATYPE(TextOf)

namespace {

void putLe(QByteArray& b, int at, quint32 v, int n)
{
    for (int i = 0; i < n; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A block as the instrument writes it, built byte by byte with distinct values.
QByteArray handBuiltBlock(bool bVersion34)
{
    QByteArray b(bVersion34 ? 0x95 : 0x90, '\0');
    b[0x00] = 7;                    // measured: any non-zero
    putLe(b, 0x01, 12345, 3);       // 123.45 µs
    putLe(b, 0x04, 0x0186A0, 3);    // 1000.00 µs
    putLe(b, 0x07, quint16(-300), 2);
    b[0x09] = 1;
    b[0x0A] = 3;
    for (int i = 0; i < 25; ++i) {
        putLe(b, 0x0B + 3 * i, quint32(1000 * (i + 1)), 2);
        b[0x0B + 3 * i + 2] = char(i);
    }
    putLe(b, 0x56, 200, 2);
    putLe(b, 0x58, 39000, 2);
    b[0x5A] = char(0xEE);           // never read
    b[0x5B] = char(0xEE);
    b[0x5C] = 2;
    b[0x5D] = 9;
    b[0x5E] = 0;
    b[0x5F] = 0x02;                 // aux flag only
    b[0x60] = 1;
    b[0x61] = 0;
    b[0x62] = 0;
    b[0x63] = 1;
    b[0x64] = 1;
    b[0x65] = 0;
    putLe(b, 0x66, 250, 4);         // 0.25 µs
    putLe(b, 0x6A, quint32(-1500), 4);
    putLe(b, 0x6E, quint16(-400), 2);
    putLe(b, 0x70, 4500, 2);
    putLe(b, 0x72, 150075, 3);      // 1500.75 mm
    b[0x75] = 1;
    b[0x76] = 87;
    b[0x77] = 0;
    b[0x78] = 200;
    b[0x79] = 7;
    putLe(b, 0x7A, quint16(-25), 2); // -2.5 µs
    b[0x7C] = 2;
    b[0x7D] = 20;
    b[0x7E] = 1;
    b[0x7F] = 64;
    b[0x80] = 25;
    b[0x81] = 1;
    putLe(b, 0x82, 320, 2);
    putLe(b, 0x84, 0xBEEF, 2);
    for (int i = 0x86; i < 0x90; ++i)
        b[i] = char(0xAA);          // map geometry, not ours
    if (bVersion34)
        putLe(b, 0x90, 2987654, 4); // 2987.654 m/s
    return b;
}

void putBe(QByteArray& b, int at, quint64 v, int n)
{
    for (int i = 0; i < n; ++i)
        b[at + i] = char((v >> (8 * (n - 1 - i))) & 0xFF);
}

void putBeDouble(QByteArray& b, int at, double d)
{
    quint64 bits = 0;
    std::memcpy(&bits, &d, 8);
    putBe(b, at, bits, 8);
}

// The settings file of a default record, offset by offset.
QByteArray handBuiltDefaultFile()
{
    QByteArray b(135, '\0');
    b[0] = 1;                    // double probe
    putBe(b, 1, 50, 4);
    putBe(b, 5, 2, 2);
    putBeDouble(b, 7, 0.0);
    putBe(b, 15, 40, 2);
    b[17] = 0;
    putBe(b, 18, 45, 4);
    putBe(b, 22, 100, 2);
    b[24] = 0;
    b[25] = 0;
    b[26] = 0;
    b[27] = 2;
    b[28] = 0;
    putBe(b, 29, 1, 2);
    b[31] = 0;
    putBe(b, 32, 0, 4);
    b[36] = 0;
    b[37] = 1;
    putBe(b, 38, 3240, 2);
    b[40] = 0;
    putBeDouble(b, 41, 20.0);
    putBeDouble(b, 49, 3240.0);
    b[57] = 0;
    b[58] = 1;
    b[59] = 0;
    putBe(b, 60, 0, 4);
    putBe(b, 64, 10000, 4);
    putBe(b, 68, 256, 4);
    putBe(b, 72, 256, 4);
    b[76] = 0;
    putBeDouble(b, 77, 0.0);
    putBeDouble(b, 85, 0.0);
    putBe(b, 93, 0, 2);
    putBeDouble(b, 95, 75.0);
    putBeDouble(b, 103, 0.0);
    b[111] = 0;
    putBe(b, 112, 0, 4);
    b[116] = 1;
    putBeDouble(b, 117, 100.0);
    putBeDouble(b, 125, 200.0);
    putBe(b, 133, 255, 2);
    return b;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void validate_data();
    void validate();
    void validateTvgPoints();
    void validateNaN();
    void timeToSample_data();
    void timeToSample();
    void windowAndBase();
    void conversionsWithoutRate();
    void equality_data();
    void equality();
    void equalityIgnoresPointsBeyondCount();
    void displayTexts_data();
    void displayTexts();
    void blockVersion33();
    void blockVersion34();
    void blockShortIsZeroFilled();
    void blockRoundTrip_data();
    void blockRoundTrip();
    void blockEncodeClamps();
    void fileDefaultLayout();
    void fileWithTvgPoints();
    void fileQuarterIsDouble();
    void fileRoundTrip();
    void fileEnumLowByte();
    void fileKeepsPointsBeyondCount();
    void fileBadSize_data();
    void fileBadSize();
    void fileBadReals_data();
    void fileBadReals();
    void fileCountOutOfRange_data();
    void fileCountOutOfRange();
    void fileMissing();
    void fileWriteUnopenable();
    void fileWriteFailureKeepsOld();
    void fileWriteReplaces();
};

void TestSettings::validate_data()
{
    // A change to the default record, whether the record passes untouched, and what it must
    // look like after the repair (no expectation: the change is kept).
    QTest::addColumn<Mutator>("mutate");
    QTest::addColumn<bool>("result");
    QTest::addColumn<Mutator>("expect");
    using S = ConfigSettings;
    const Mutator kept;
    const Mutator defaults = [](S&) {};
    auto row = [](const char* name, const Mutator& change, bool ok, const Mutator& expect) {
        QTest::newRow(name) << change << ok << expect;
    };
    row("defaults", defaults, true, kept);
    // TVG: a bad count or a falling position clears the curve.
    row("tvg flag 2", [](S& s) { s.tvg.iOn = 2; }, false, [](S& s) { s.tvg.iOn = 0; });
    row("tvg count 24 kept", [](S& s) {
        s.tvg.iCount = 24;
        for (int i = 0; i < 25; ++i)
            s.tvg.points[i] = {i * 10, 1};
    }, true, kept);
    row("tvg count 25 clears", [](S& s) { s.tvg.iCount = 25; s.tvg.points[3] = {10, 1}; }, false, defaults);
    row("tvg count -1 clears", [](S& s) { s.tvg.iCount = -1; s.tvg.points[0] = {10, 1}; }, false, defaults);
    row("tvg decreasing clears, not counted", [](S& s) {
        s.tvg.iCount = 3;
        s.tvg.points[0] = {100, 1};
        s.tvg.points[1] = {300, 2};
        s.tvg.points[2] = {200, 3};
    }, true, defaults);
    row("tvg equal neighbours kept", [](S& s) {
        s.tvg.iCount = 2;
        s.tvg.points[0] = {300, 1};
        s.tvg.points[1] = {300, 2};
    }, true, kept);
    // Time base and window.
    row("rate 9", [](S& s) { s.iSamplesPer10us = 9; }, false, defaults);
    row("rate 10", [](S& s) { s.iSamplesPer10us = 10; }, true, kept);
    row("frequency 251", [](S& s) { s.iFrequency = 251; }, false, defaults);
    row("frequency 25", [](S& s) { s.iFrequency = 25; }, true, kept);
    row("window start 39361", [](S& s) { s.iWindowStart = 39361; s.iWindowEnd = 40000; }, false,
        [](S& s) { s.iWindowEnd = 40000; });
    row("window end 639", [](S& s) { s.iWindowEnd = 639; }, false, defaults);
    row("window 5000..4000", [](S& s) { s.iWindowStart = 5000; s.iWindowEnd = 4000; }, false, defaults);
    row("window equal ends", [](S& s) { s.iWindowStart = 4000; s.iWindowEnd = 4000; }, false, defaults);
    // Modes and flags.
    row("signal type 3", [](S& s) { s.eSignalType = S::ESignalType(3); }, false,
        [](S& s) { s.eSignalType = S::SignalOneSided; });
    row("loupe 2", [](S& s) { s.iLoupe = 2; }, false, defaults);
    row("method 2", [](S& s) { s.eTestingMethod = S::ETestingMethod(2); }, false, defaults);
    row("response 5", [](S& s) { s.eResponseType = S::EResponseType(5); }, false,
        [](S& s) { s.eResponseType = S::ResponseFront; });
    row("cursor 2", [](S& s) { s.iCursor = 2; }, false, [](S& s) { s.iCursor = 0; });
    row("discreteness 2", [](S& s) { s.eDiscreteness = S::EDiscreteness(2); }, false,
        [](S& s) { s.eDiscreteness = S::Discreteness01; });
    row("units 2", [](S& s) { s.eScaleUnits = S::EScaleUnits(2); }, false, defaults);
    row("probe 2", [](S& s) { s.eProbeType = S::EProbeType(2); }, false, [](S& s) { s.eProbeType = S::ProbeSingle; });
    row("voltage 3", [](S& s) { s.ePulseVoltage = S::EPulseVoltage(3); }, false, defaults);
    row("input filter 2", [](S& s) { s.iInputFilter = 2; }, false, defaults);
    // Strobe: within 0..4000 µs and at least 5 µs wide.
    row("strobe 2", [](S& s) { s.iStrobe = 2; }, false, defaults);
    row("strobe start 4001", [](S& s) { s.fStrobeStart = 4001.0f; s.fStrobeEnd = 300.0f; }, false,
        [](S& s) { s.fStrobeStart = 31.0f; s.fStrobeEnd = 300.0f; });
    row("strobe end -1", [](S& s) { s.fStrobeStart = 10.0f; s.fStrobeEnd = -1.0f; }, false,
        [](S& s) { s.fStrobeStart = 10.0f; s.fStrobeEnd = 31.0f; });
    row("strobe 100..102 widened", [](S& s) { s.fStrobeEnd = 102.0f; }, false, [](S& s) { s.fStrobeEnd = 105.0f; });
    row("strobe 3998..4000 stays in range", [](S& s) { s.fStrobeStart = 3998.0f; s.fStrobeEnd = 4000.0f; }, false,
        [](S& s) { s.fStrobeStart = 3995.0f; s.fStrobeEnd = 4000.0f; });
    row("strobe 3995..4000 kept", [](S& s) { s.fStrobeStart = 3995.0f; s.fStrobeEnd = 4000.0f; }, true, kept);
    row("strobe 100..105 kept", [](S& s) { s.fStrobeEnd = 105.0f; }, true, kept);
    row("level 512", [](S& s) { s.iStrobeLevel = 512; }, false, defaults);
    row("level -511", [](S& s) { s.iStrobeLevel = -511; }, true, kept);
    // Base, averaging, pulse and amplifier.
    row("base mode 3", [](S& s) { s.iBaseMode = 3; }, false, [](S& s) { s.iBaseMode = 1; });
    row("base 9.99", [](S& s) { s.dBase = 9.99; }, false, [](S& s) { s.dBase = 200.0; });
    row("averaging 0 while off", [](S& s) { s.iAveraging = 0; }, true, kept);
    row("averaging 129 while on", [](S& s) { s.bAveraging = true; s.iAveraging = 129; }, false,
        [](S& s) { s.bAveraging = true; s.iAveraging = 1; });
    row("periods 11", [](S& s) { s.iPeriodHalves = 11; }, false, defaults);
    row("repetition -1 as unsigned", [](S& s) { s.iRepetitionRate = -1; }, false, defaults);
    row("repetition 4", [](S& s) { s.iRepetitionRate = 4; }, false, defaults);
    row("gain 101", [](S& s) { s.iGain = 101; }, false, defaults);
    row("velocity 499", [](S& s) { s.iVelocity = 499; }, false, defaults);
    row("delay 100.5", [](S& s) { s.dDelay = 100.5; }, false, defaults);
    row("unchecked fields", [](S& s) {
        s.iAuxMode = 99;
        s.iExtra1 = -5;
        s.fBaseVelocity = -1.0f;
        s.fExtra3 = 1e30f;
        s.iPeakAmplitude = -32768;
    }, true, kept);
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
    QCOMPARE(s.fExtra3, expected.fExtra3);
    for (int i = 0; i < TvgCurve::kMaxPoints; ++i)
        QCOMPARE(s.tvg.points[i], expected.tvg.points[i]);
    // A repaired record is stable.
    QVERIFY(s.validateAndRepair());
}

void TestSettings::validateTvgPoints()
{
    ConfigSettings s;
    s.tvg.iCount = 2;
    s.tvg.points[0] = {-1, 31};
    s.tvg.points[1] = {40000, 30};
    s.tvg.points[10] = {40001, -1};
    QVERIFY(s.validateAndRepair()); // point repairs are not counted
    QCOMPARE(s.tvg.iCount, 2);
    QCOMPARE(s.tvg.points[0], (TvgPoint{0, 0}));
    QCOMPARE(s.tvg.points[1], (TvgPoint{40000, 30}));
    QCOMPARE(s.tvg.points[10], (TvgPoint{0, 0}));
}

void TestSettings::validateNaN()
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    ConfigSettings s;
    s.fStrobeStart = nan;
    s.fStrobeEnd = nan;
    s.dBase = std::nan("");
    s.dDelay = std::nan("");
    QVERIFY(!s.validateAndRepair());
    QCOMPARE(s.fStrobeStart, 31.0f);
    QCOMPARE(s.fStrobeEnd, 36.0f);
    QCOMPARE(s.dBase, 200.0);
    QCOMPARE(s.dDelay, 0.0);
}

void TestSettings::timeToSample_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<double>("time");
    QTest::addColumn<int>("sample");
    QTest::newRow("12.34") << 100 << 12.34 << 123;
    QTest::newRow("-0.05 half up") << 100 << -0.05 << 0;
    QTest::newRow("0.05 half up") << 100 << 0.05 << 1;
    QTest::newRow("-0.15") << 100 << -0.15 << -1;
    QTest::newRow("rate 10, 2.5") << 10 << 2.5 << 3;
    QTest::newRow("rate 25, 1.0") << 25 << 1.0 << 3; // 2.5 rounds up
    QTest::newRow("4000 at 100") << 100 << 4000.0 << 40000;
    QTest::newRow("huge saturates") << 100 << 1e300 << std::numeric_limits<int>::max();
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
    QCOMPARE(s.timeToDepth(100.0), 162.0); // 3240 m/s there and back
    s.eTestingMethod = ConfigSettings::Transmission;
    QCOMPARE(s.timeToDepth(100.0), 324.0);
    s.eTestingMethod = ConfigSettings::Reflection;
    QCOMPARE(s.sampleToTime(123), 12.3);
    QCOMPARE(s.windowEndTime(), 1000.0);
    s.fMeasuredTime = 12.35f; // float 12.3500003…: 123.5 rounds up
    s.fPeakTime = 0.04f;
    QCOMPARE(s.measuredSample(), 124);
    QCOMPARE(s.peakSample(), 0);

    s.setWindowEndTime(111.01);
    QCOMPARE(s.iWindowEnd, 1111); // ceil
    s.setWindowEndTime(5000.0);
    QCOMPARE(s.iWindowEnd, 40000);
    QCOMPARE(s.samplesIn75us(), 750);
    s.iSamplesPer10us = 15;
    QCOMPARE(s.samplesIn75us(), 113); // 112.5 up
    s.setWindowEndTime(1.0);
    QCOMPARE(s.iWindowEnd, 2);

    s.dBase = 100.0;
    s.setBaseVelocityFromTime(50.0);
    QCOMPARE(s.fBaseVelocity, 4000.0f);
    s.eTestingMethod = ConfigSettings::Transmission;
    s.setBaseVelocityFromTime(50.0);
    QCOMPARE(s.fBaseVelocity, 2000.0f);
    s.setBaseVelocityFromTime(0.0);
    QCOMPARE(s.fBaseVelocity, 2000.0f);
}

void TestSettings::conversionsWithoutRate()
{
    ConfigSettings s;
    s.iSamplesPer10us = 0;
    QCOMPARE(s.sampleToTime(100), 0.0);
    QCOMPARE(s.windowEndTime(), 0.0);
    QCOMPARE(s.timeToSample(100.0), 0);
    s.dBase = 1e30;
    s.setBaseVelocityFromTime(1e-30);
    QVERIFY(std::isfinite(s.fBaseVelocity));
}

void TestSettings::equality_data()
{
    QTest::addColumn<Mutator>("mutate");
    QTest::addColumn<bool>("equal");
    QTest::newRow("same") << Mutator([](ConfigSettings&) {}) << true;
    QTest::newRow("extra3 ignored") << Mutator([](ConfigSettings& s) { s.fExtra3 = 1.0f; }) << true;
    QTest::newRow("extra4 ignored") << Mutator([](ConfigSettings& s) { s.fExtra4 = 9.0f; }) << true;
    QTest::newRow("delay within tolerance") << Mutator([](ConfigSettings& s) { s.dDelay = 0.00009; }) << true;
    QTest::newRow("delay at tolerance") << Mutator([](ConfigSettings& s) { s.dDelay = 0.00011; }) << false;
    QTest::newRow("base within tolerance") << Mutator([](ConfigSettings& s) { s.dBase = 20.00005; }) << true;
    QTest::newRow("strobe end off") << Mutator([](ConfigSettings& s) { s.fStrobeEnd = 200.01f; }) << false;
    QTest::newRow("measured time") << Mutator([](ConfigSettings& s) { s.fMeasuredTime = 0.001f; }) << false;
    QTest::newRow("base velocity") << Mutator([](ConfigSettings& s) { s.fBaseVelocity = 3241.0f; }) << false;
    QTest::newRow("extra2") << Mutator([](ConfigSettings& s) { s.iExtra2 = 1; }) << false;
    QTest::newRow("aux flag") << Mutator([](ConfigSettings& s) { s.bAuxFlag = true; }) << false;
    QTest::newRow("aux mode") << Mutator([](ConfigSettings& s) { s.iAuxMode = 1; }) << false;
    QTest::newRow("peak amplitude") << Mutator([](ConfigSettings& s) { s.iPeakAmplitude = 1; }) << false;
    QTest::newRow("strobe level") << Mutator([](ConfigSettings& s) { s.iStrobeLevel = 1; }) << false;
    QTest::newRow("tvg flag") << Mutator([](ConfigSettings& s) { s.tvg.iOn = 1; }) << false;
    QTest::newRow("tvg count") << Mutator([](ConfigSettings& s) { s.tvg.iCount = 1; }) << false;
    QTest::newRow("probe") << Mutator([](ConfigSettings& s) { s.eProbeType = ConfigSettings::ProbeSingle; }) << false;
}

void TestSettings::equality()
{
    QFETCH(Mutator, mutate);
    QFETCH(bool, equal);
    const ConfigSettings a;
    ConfigSettings b;
    mutate(b);
    QCOMPARE(a == b, equal);
    QCOMPARE(b == a, equal);
    QCOMPARE(a != b, !equal);
}

void TestSettings::equalityIgnoresPointsBeyondCount()
{
    ConfigSettings a, b;
    a.tvg.iCount = b.tvg.iCount = 2;
    a.tvg.points[0] = b.tvg.points[0] = {10, 1};
    a.tvg.points[1] = b.tvg.points[1] = {20, 2};
    a.tvg.points[2] = {99, 9};
    QVERIFY(a == b);
    b.tvg.points[1].iLevel = 3;
    QVERIFY(a != b);
    // A count beyond the array is compared without reading past it.
    a = b;
    a.tvg.iCount = b.tvg.iCount = 1000;
    QVERIFY(a == b);
}

void TestSettings::displayTexts_data()
{
    QTest::addColumn<Mutator>("mutate");
    QTest::addColumn<TextOf>("textOf");
    QTest::addColumn<QString>("text");
    auto none = Mutator([](ConfigSettings&) {});
    QTest::newRow("probe double") << none << &ConfigSettings::probeTypeText << "double";
    QTest::newRow("probe single") << Mutator([](ConfigSettings& s) { s.eProbeType = ConfigSettings::ProbeSingle; }) << &ConfigSettings::probeTypeText << "single";
    QTest::newRow("probe 7") << Mutator([](ConfigSettings& s) { s.eProbeType = ConfigSettings::EProbeType(7); }) << &ConfigSettings::probeTypeText << "double";
    QTest::newRow("frequency") << none << &ConfigSettings::frequencyText << "50";
    QTest::newRow("gain") << Mutator([](ConfigSettings& s) { s.iGain = -3; }) << &ConfigSettings::gainText << "-3";
    QTest::newRow("delay") << Mutator([](ConfigSettings& s) { s.dDelay = 2.34; }) << &ConfigSettings::delayText << "2.3";
    QTest::newRow("delay 0") << none << &ConfigSettings::delayText << "0.0";
    QTest::newRow("voltage 20") << none << &ConfigSettings::pulseVoltageText << "20";
    QTest::newRow("voltage 200") << Mutator([](ConfigSettings& s) { s.ePulseVoltage = ConfigSettings::Voltage200; }) << &ConfigSettings::pulseVoltageText << "200";
    QTest::newRow("voltage 3") << Mutator([](ConfigSettings& s) { s.ePulseVoltage = ConfigSettings::EPulseVoltage(3); }) << &ConfigSettings::pulseVoltageText << "";
    QTest::newRow("period 3 halves") << Mutator([](ConfigSettings& s) { s.iPeriodHalves = 3; }) << &ConfigSettings::periodText << "1.5";
    QTest::newRow("repetition unsigned") << Mutator([](ConfigSettings& s) { s.iRepetitionRate = -1; }) << &ConfigSettings::repetitionRateText << "4294967295";
    QTest::newRow("averaging off") << Mutator([](ConfigSettings& s) { s.iAveraging = 8; }) << &ConfigSettings::averagingText << "Off";
    QTest::newRow("averaging on") << Mutator([](ConfigSettings& s) { s.bAveraging = true; s.iAveraging = 8; }) << &ConfigSettings::averagingText << "8";
    QTest::newRow("velocity") << none << &ConfigSettings::velocityText << "3240";
    QTest::newRow("base off") << none << &ConfigSettings::baseText << "Off";
    QTest::newRow("base on") << Mutator([](ConfigSettings& s) { s.iBaseMode = 1; s.dBase = 123.45; }) << &ConfigSettings::baseText << "123.5";
    QTest::newRow("tvg off") << none << &ConfigSettings::tvgText << "Off";
    QTest::newRow("tvg on") << Mutator([](ConfigSettings& s) { s.tvg.iOn = 5; }) << &ConfigSettings::tvgText << "On";
    QTest::newRow("units mm") << none << &ConfigSettings::scaleUnitsText << "mm";
    QTest::newRow("units us") << Mutator([](ConfigSettings& s) { s.eScaleUnits = ConfigSettings::UnitsUs; }) << &ConfigSettings::scaleUnitsText << QString::fromLatin1("\xb5s");
    QTest::newRow("units 2") << Mutator([](ConfigSettings& s) { s.eScaleUnits = ConfigSettings::EScaleUnits(2); }) << &ConfigSettings::scaleUnitsText << "";
    QTest::newRow("discreteness 1") << none << &ConfigSettings::discretenessText << "1";
    QTest::newRow("discreteness 0.1") << Mutator([](ConfigSettings& s) { s.eDiscreteness = ConfigSettings::Discreteness01; }) << &ConfigSettings::discretenessText << "0.1";
    QTest::newRow("discreteness 5") << Mutator([](ConfigSettings& s) { s.eDiscreteness = ConfigSettings::EDiscreteness(5); }) << &ConfigSettings::discretenessText << "1";
    QTest::newRow("cursor on") << none << &ConfigSettings::cursorText << "On";
    QTest::newRow("cursor off") << Mutator([](ConfigSettings& s) { s.iCursor = 0; }) << &ConfigSettings::cursorText << "Off";
    QTest::newRow("filter on at 0") << none << &ConfigSettings::inputFilterText << "On";
    QTest::newRow("filter off") << Mutator([](ConfigSettings& s) { s.iInputFilter = 1; }) << &ConfigSettings::inputFilterText << "Off";
    QTest::newRow("method reflection") << none << &ConfigSettings::testingMethodText << "Reflection";
    QTest::newRow("method transmission") << Mutator([](ConfigSettings& s) { s.eTestingMethod = ConfigSettings::Transmission; }) << &ConfigSettings::testingMethodText << "Transmission";
    QTest::newRow("method 2") << Mutator([](ConfigSettings& s) { s.eTestingMethod = ConfigSettings::ETestingMethod(2); }) << &ConfigSettings::testingMethodText << "";
}

void TestSettings::displayTexts()
{
    QFETCH(Mutator, mutate);
    QFETCH(TextOf, textOf);
    ConfigSettings s;
    mutate(s);
    QTEST((s.*textOf)(), "text");
}

void TestSettings::blockVersion33()
{
    ConfigSettings s;
    s.fBaseVelocity = 1.0f;
    const QByteArray b = handBuiltBlock(false);
    QCOMPARE(parseInstrumentBlock(b, false, s), 0xD0);
    QCOMPARE(s.bMeasured, true);
    QCOMPARE(s.fMeasuredTime, 123.45f);
    QCOMPARE(s.fPeakTime, 1000.0f);
    QCOMPARE(s.iPeakAmplitude, qint16(-300));
    QCOMPARE(s.tvg.iOn, 1);
    QCOMPARE(s.tvg.iCount, 3);
    for (int i = 0; i < 25; ++i) // all 25 are read, whatever the count
        QCOMPARE(s.tvg.points[i], (TvgPoint{1000 * (i + 1), i}));
    QCOMPARE(s.iWindowStart, 200);
    QCOMPARE(s.iWindowEnd, 39000);
    QCOMPARE(s.bSpectrum, true);
    QCOMPARE(s.iAuxMode, 9);
    QCOMPARE(s.eSignalType, ConfigSettings::SignalRadio);
    QCOMPARE(s.bAveraging, false);
    QCOMPARE(s.bAuxFlag, true);
    QCOMPARE(s.iLoupe, 1);
    QCOMPARE(s.eResponseType, ConfigSettings::ResponseFront);
    QCOMPARE(s.iCursor, 0);
    QCOMPARE(s.eDiscreteness, ConfigSettings::Discreteness01);
    QCOMPARE(s.eScaleUnits, ConfigSettings::UnitsUs);
    QCOMPARE(s.iStrobe, 0);
    QCOMPARE(s.fStrobeStart, 0.25f);
    QCOMPARE(s.fStrobeEnd, -1.5f);
    QCOMPARE(s.iStrobeLevel, qint16(-400));
    QCOMPARE(s.iVelocity, qint16(4500));
    QCOMPARE(s.dBase, 1500.75);
    QCOMPARE(s.iBaseMode, 1);
    QCOMPARE(s.iGain, qint16(87));
    QCOMPARE(s.eProbeType, ConfigSettings::ProbeSingle);
    QCOMPARE(s.iFrequency, 200);
    QCOMPARE(s.iPeriodHalves, qint16(7));
    QCOMPARE(s.dDelay, -2.5);
    QCOMPARE(s.ePulseVoltage, ConfigSettings::Voltage200);
    QCOMPARE(s.iSamplesPer10us, qint16(20));
    QCOMPARE(s.eTestingMethod, ConfigSettings::Transmission);
    QCOMPARE(s.iAveraging, qint16(64));
    QCOMPARE(s.iRepetitionRate, 25);
    QCOMPARE(s.iInputFilter, 1);
    QCOMPARE(s.iExtra1, 320);
    QCOMPARE(s.iExtra2, 0xBEEF);
    QCOMPARE(s.fBaseVelocity, 3240.0f);
}

void TestSettings::blockVersion34()
{
    ConfigSettings s;
    s.fExtra3 = 1.5f; // not in the block: left as it was
    QCOMPARE(parseInstrumentBlock(handBuiltBlock(true), true, s), 0xD5);
    QCOMPARE(s.fBaseVelocity, 2987.654f);
    QCOMPARE(s.fExtra3, 1.5f);
    QCOMPARE(s.iVelocity, qint16(4500));
    // A 3.4 block read as 3.3 ignores the trailing velocity.
    QCOMPARE(parseInstrumentBlock(handBuiltBlock(true), false, s), 0xD0);
    QCOMPARE(s.fBaseVelocity, 3240.0f);
}

void TestSettings::blockShortIsZeroFilled()
{
    // Ten bytes only: everything after them reads as zero, nothing past the end is touched.
    const QByteArray full = handBuiltBlock(true);
    ConfigSettings s;
    QCOMPARE(parseInstrumentBlock(QByteArrayView(full.constData(), 10), true, s), 0xD5);
    QCOMPARE(s.fMeasuredTime, 123.45f);
    QCOMPARE(s.tvg.iOn, 1);
    QCOMPARE(s.tvg.iCount, 0);
    QCOMPARE(s.iVelocity, qint16(0));
    QCOMPARE(s.fBaseVelocity, 0.0f);
    QCOMPARE(parseInstrumentBlock(QByteArrayView(), false, s), 0xD0);
    QCOMPARE(s.bMeasured, false);
}

void TestSettings::blockRoundTrip_data()
{
    QTest::addColumn<bool>("v34");
    QTest::newRow("3.3") << false;
    QTest::newRow("3.4") << true;
}

void TestSettings::blockRoundTrip()
{
    QFETCH(bool, v34);
    const QByteArray hand = handBuiltBlock(v34);
    ConfigSettings s;
    parseInstrumentBlock(hand, v34, s);
    QByteArray expected = hand;
    // Bytes the reader skips come back as zero; non-zero flags as 1.
    expected[0x00] = 1;
    expected[0x5C] = 1;
    expected[0x5A] = expected[0x5B] = 0;
    for (int i = 0x86; i < 0x90; ++i)
        expected[i] = 0;
    const QByteArray encoded = encodeInstrumentBlock(s, v34);
    QCOMPARE(encoded.size(), expected.size());
    for (int i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != expected[i])
            QFAIL(qPrintable(QString("byte 0x%1 differs").arg(i, 0, 16)));
    }

    ConfigSettings defaults;
    defaults.tvg.iCount = 2;
    defaults.tvg.points[1] = {40000, 30};
    ConfigSettings back;
    back.fExtra3 = defaults.fExtra3;
    QCOMPARE(parseInstrumentBlock(encodeInstrumentBlock(defaults, v34), v34, back), v34 ? 0xD5 : 0xD0);
    QVERIFY(back == defaults);
}

void TestSettings::blockEncodeClamps()
{
    ConfigSettings s;
    s.iGain = 300;              // u8
    s.iWindowEnd = 70000;       // u16
    s.fMeasuredTime = -5.0f;    // u24, not below 0
    s.fStrobeStart = std::numeric_limits<float>::quiet_NaN();
    s.fStrobeEnd = 1e30f;
    const QByteArray b = encodeInstrumentBlock(s, true);
    QCOMPARE(quint8(b[0x76]), quint8(255));
    QCOMPARE(quint8(b[0x58]), quint8(0xFF));
    QCOMPARE(quint8(b[0x59]), quint8(0xFF));
    QCOMPARE(b.mid(0x01, 3), QByteArray(3, '\0'));
    QCOMPARE(b.mid(0x66, 4), QByteArray(4, '\0'));
    QCOMPARE(b.mid(0x6A, 4), QByteArray::fromHex("ffffff7f"));
}

void TestSettings::fileDefaultLayout()
{
    const ConfigSettings s;
    const QByteArray expected = handBuiltDefaultFile();
    QCOMPARE(encodeConfigFile(s).toHex(' '), expected.toHex(' '));

    QTemporaryDir dir;
    const QString path = dir.filePath("1.sss");
    QString error;
    QVERIFY(writeConfigFile(path, s, &error));
    QCOMPARE(fileBytes(path), expected);
    ConfigSettings back;
    back.iGain = 99;
    QVERIFY(readConfigFile(path, back, &error));
    QVERIFY(back == s);
}

void TestSettings::fileWithTvgPoints()
{
    ConfigSettings s;
    s.tvg.iOn = 1;
    s.tvg.iCount = 3;
    s.tvg.points[0] = {100, 1};
    s.tvg.points[1] = {0x01020304, -2};
    s.tvg.points[2] = {40000, 30};
    s.tvg.points[3] = {555, 5}; // beyond the count: not written
    s.iStrobe = 0;
    s.iStrobeLevel = -2;
    const QByteArray b = encodeConfigFile(s);
    QCOMPARE(b.size(), 159);
    QCOMPARE(b.mid(111, 5).toHex(), QByteArray("0100000003"));
    QCOMPARE(b.mid(116, 8).toHex(), QByteArray("0000006400000001"));
    QCOMPARE(b.mid(124, 8).toHex(), QByteArray("01020304fffffffe"));
    QCOMPARE(b.mid(132, 8).toHex(), QByteArray("00009c400000001e"));
    QCOMPARE(quint8(b[140]), quint8(0));
    QCOMPARE(b.mid(157, 2).toHex(), QByteArray("fffe"));
    QCOMPARE(configFileSize(3), qsizetype(159));
}

void TestSettings::fileQuarterIsDouble()
{
    ConfigSettings s;
    s.fStrobeStart = 0.25f;
    s.fBaseVelocity = 0.1f; // widened: the double of the float, not of 0.1
    const QByteArray b = encodeConfigFile(s);
    QCOMPARE(b.mid(117, 8).toHex(), QByteArray("3fd0000000000000"));
    QByteArray widened(8, '\0');
    putBeDouble(widened, 0, double(0.1f));
    QCOMPARE(b.mid(49, 8), widened);
}

void TestSettings::fileRoundTrip()
{
    // Every field different from its default: the block's values, then the fields the block
    // does not carry or holds narrower than the file.
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
    QCOMPARE(back.fExtra3, 1.5f);
    QCOMPARE(back.fExtra4, -2.5f);
    QCOMPARE(back.dDelay, 12.3456789);
    for (int i = 0; i < 25; ++i)
        QCOMPARE(back.tvg.points[i], s.tvg.points[i]);
    QCOMPARE(encodeConfigFile(back), b);
}

void TestSettings::fileEnumLowByte()
{
    ConfigSettings s;
    s.eSignalType = ConfigSettings::ESignalType(0x1FF); // low byte on writing
    s.iCursor = 258;
    QByteArray b = encodeConfigFile(s);
    QCOMPARE(quint8(b[27]), quint8(0xFF));
    QCOMPARE(quint8(b[58]), quint8(2));
    ConfigSettings back;
    QVERIFY(decodeConfigFile(b, back));
    QCOMPARE(int(back.eSignalType), 255); // zero-extended
    QCOMPARE(back.iCursor, 2);
    b[26] = 5; // any non-zero bool byte reads as true
    QVERIFY(decodeConfigFile(b, back));
    QCOMPARE(back.bSpectrum, true);
}

void TestSettings::fileKeepsPointsBeyondCount()
{
    ConfigSettings written;
    written.tvg.iCount = 1;
    written.tvg.points[0] = {10, 1};
    ConfigSettings target;
    target.tvg.points[0] = {99, 9};
    target.tvg.points[1] = {200, 2};
    QVERIFY(decodeConfigFile(encodeConfigFile(written), target));
    QCOMPARE(target.tvg.points[0], (TvgPoint{10, 1}));
    QCOMPARE(target.tvg.points[1], (TvgPoint{200, 2}));
}

void TestSettings::fileBadSize_data()
{
    QTest::addColumn<QByteArray>("bytes");
    ConfigSettings three;
    three.tvg.iCount = 3;
    const QByteArray good = encodeConfigFile(three);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte") << good.left(1);
    QTest::newRow("up to the count") << good.left(116);
    QTest::newRow("one short") << good.chopped(1);
    QTest::newRow("one long") << good + '\0';
    QTest::newRow("size of no points") << good.left(135);
    QTest::newRow("count 3 in 335 bytes") << good + QByteArray(335 - 159, '\0');
    QByteArray huge = good;
    putBe(huge, 112, 0x7FFFFFFF, 4);
    QTest::newRow("count 2^31-1") << huge;
    for (int n = 1; n < good.size(); n += 13)
        QTest::addRow("truncated to %d", n) << good.left(n);
}

void TestSettings::fileBadSize()
{
    QFETCH(QByteArray, bytes);
    ConfigSettings s;
    s.iGain = 66;
    QVERIFY(!decodeConfigFile(bytes, s));
    QCOMPARE(s.iGain, qint16(66));

    QTemporaryDir dir;
    const QString path = dir.filePath("5.sss");
    QVERIFY(writeBytes(path, bytes));
    QString error;
    QVERIFY(!readConfigFile(path, s, &error));
    QCOMPARE(error, QString("Couldn't read configuration file \"%1\"!").arg(path));
    QCOMPARE(s.iGain, qint16(66));
}

void TestSettings::fileBadReals_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<double>("value");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const QList<QPair<const char*, int>> reals = {
        {"delay", 7}, {"base", 41}, {"base velocity", 49}, {"measured", 77}, {"peak", 85},
        {"extra3", 95}, {"extra4", 103}, {"strobe start", 117}, {"strobe end", 125}};
    for (const auto& [name, offset] : reals) {
        QTest::addRow("%s NaN", name) << offset << nan;
        QTest::addRow("%s -inf", name) << offset << -inf;
        QTest::addRow("%s 1e300", name) << offset << 1e300;
        QTest::addRow("%s -1e10", name) << offset << -1e10;
    }
}

void TestSettings::fileBadReals()
{
    QFETCH(int, offset);
    QFETCH(double, value);
    QByteArray b = encodeConfigFile(ConfigSettings());
    putBeDouble(b, offset, value);
    ConfigSettings s;
    s.fStrobeStart = 7.0f;
    QVERIFY(!decodeConfigFile(b, s));
    QCOMPARE(s.fStrobeStart, 7.0f);
    putBeDouble(b, offset, -1.0e9); // at the limit: accepted, validateAndRepair decides
    QVERIFY(decodeConfigFile(b, s));
}

void TestSettings::fileCountOutOfRange_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("size");
    QTest::newRow("-1 sized as none") << -1 << 135;
    QTest::newRow("-1 sized as -1") << -1 << 127;
    QTest::newRow("26") << 26 << 343;
    QTest::newRow("255") << 255 << 2175;
    QTest::newRow("min int") << int(0x80000000) << 135;
}

void TestSettings::fileCountOutOfRange()
{
    QFETCH(int, count);
    QFETCH(int, size);
    QByteArray b = encodeConfigFile(ConfigSettings());
    b.resize(qMax(size, 116));
    putBe(b, 112, quint32(count), 4);
    ConfigSettings s;
    QVERIFY(!decodeConfigFile(b, s));
    QCOMPARE(s.tvg.iCount, 0);

    QTemporaryDir dir;
    const QString path = dir.filePath("9.sss");
    QVERIFY(writeBytes(path, b));
    QVERIFY(!readConfigFile(path, s));
    QCOMPARE(s.tvg.iCount, 0);
}

void TestSettings::fileMissing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("none.sss");
    ConfigSettings s;
    s.iGain = 12;
    QString error;
    QVERIFY(!readConfigFile(path, s, &error));
    QCOMPARE(error, QString("Couldn't read configuration file \"%1\"!").arg(path));
    QCOMPARE(s.iGain, qint16(12));
    QVERIFY(!readConfigFile(dir.path(), s, &error)); // a folder is not a file
}

void TestSettings::fileWriteUnopenable()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing-folder/1.sss");
    QString error;
    QVERIFY(!writeConfigFile(path, ConfigSettings(), &error));
    QCOMPARE(error, QString("Couldn't save changed configuration to file \"%1\"!").arg(path));
    QVERIFY(!QFile::exists(path));
    QVERIFY(!writeConfigFile(dir.path(), ConfigSettings(), &error)); // the target is a folder
    QVERIFY(QFileInfo(dir.path()).isDir());
}

void TestSettings::fileWriteFailureKeepsOld()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("3.sss");
    ConfigSettings old;
    old.iGain = 11;
    QVERIFY(writeConfigFile(path, old));
    const QByteArray before = fileBytes(path);

    ConfigSettings edited;
    edited.iGain = 22;
    QString error;
    {
        // The disk "fills" after 100 bytes: the write fails once the data reaches it.
        FileSizeLimit limit(100);
        QVERIFY(!writeConfigFile(path, edited, &error));
    }
    QCOMPARE(error, QString("Couldn't save changed configuration to file \"%1\"!").arg(path));
    QCOMPARE(fileBytes(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"3.sss"}); // no leftovers
}

void TestSettings::fileWriteReplaces()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("4.sss");
    QVERIFY(writeBytes(path, QByteArray(1000, 'x')));
    ConfigSettings s;
    s.tvg.iCount = 2;
    QVERIFY(writeConfigFile(path, s));
    QCOMPARE(QFileInfo(path).size(), qint64(151));
    ConfigSettings back;
    QVERIFY(readConfigFile(path, back));
    QVERIFY(back == s);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
