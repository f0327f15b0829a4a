// Band-pass filter: kernel shape, display taps and gain table, both map paths against each
// other, rounding, saturation and the guards on the period.

#include "map/bandpassfilter.h"
#include "map/fftwsupport.h"
#include "map/preparefir.h"

#include <QTest>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;

std::vector<qint16> tone(int n, double period, double amplitude, double phase = 0.0)
{
    std::vector<qint16> s(n);
    for (int i = 0; i < n; ++i)
        s[i] = qint16(std::lround(amplitude * std::sin(2 * kPi * i / period + phase)));
    return s;
}

// Echoes (windowed tone bursts) on noise, as map signals look after normalisation.
std::vector<qint16> echoes(unsigned seed, int n, int period, double amplitude)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, amplitude * 0.05);
    std::uniform_real_distribution<double> where(0.0, n);
    std::vector<double> x(n, 0.0);
    for (int b = 0; b < 5; ++b) {
        const double c = where(rng);
        const double w = 1.5 * period;
        for (int i = 0; i < n; ++i) {
            const double t = i - c;
            x[i] += amplitude * std::exp(-t * t / (2 * w * w)) * std::sin(2 * kPi * t / period);
        }
    }
    std::vector<qint16> s(n);
    for (int i = 0; i < n; ++i)
        s[i] = qint16(std::clamp(std::lround(x[i] + noise(rng)), -32768L, 32767L));
    return s;
}

int peakAbs(const std::vector<qint16>& s, int from, int to)
{
    int m = 0;
    for (int i = from; i < to; ++i)
        m = std::max(m, std::abs(int(s[i])));
    return m;
}

// One run of the concurrent planning test: a fresh band-pass filter or preparing correlator,
// so that every run makes (and destroys) its own FFTW plans.
struct PlanningRun
{
    bool bBandPass = true;
    int kernelParameter = 0; // period of the band-pass filter, kernel length of the correlator
    int length = 0;
};

// Sizes chosen so that the runs need transforms of several different lengths.
PlanningRun planningRun(int index)
{
    static const int kPeriods[] = {40, 100, 200, 333};
    static const int kKernels[] = {31, 101, 301, 601};
    static const int kLengths[] = {700, 1500, 3000, 6000, 12000, 40000};
    PlanningRun run;
    run.bBandPass = index % 2 == 0;
    run.kernelParameter = run.bBandPass ? kPeriods[(index / 2) % 4] : kKernels[(index / 2) % 4];
    run.length = kLengths[index % 6];
    return run;
}

// The run's output as bytes, empty when it failed.
QByteArray performPlanningRun(const PlanningRun& run)
{
    const std::vector<qint16> input = echoes(unsigned(run.length), run.length, 100, 3000.0);
    if (run.bBandPass) {
        BandPassFilter f;
        f.setPeriod(run.kernelParameter);
        f.setBandwidth(1.0);
        std::vector<qint16> s = input;
        if (!f.filterMapSignal(s.data(), run.length, true))
            return QByteArray();
        return QByteArray(reinterpret_cast<const char*>(s.data()), int(s.size() * sizeof(qint16)));
    }
    const int length = run.kernelParameter;
    std::vector<qint16> positions(static_cast<size_t>(length));
    for (int k = 0; k < length; ++k)
        positions[size_t(k)] = qint16(k - length / 2);
    const size_t count = static_cast<size_t>(length);
    std::vector<double> cosine(count), sine(count), window(count);
    if (!PrepareFir::makeWindowedKernel(positions.data(), length, cosine.data(), sine.data(), window.data(),
                                        0.01, 0.5, -3.0))
        return QByteArray();
    PrepareFir::Correlator correlator;
    if (!correlator.build(sine.data(), length, run.length))
        return QByteArray();
    PrepareFir::Correlator::WorkspacePtr ws = correlator.makeWorkspace();
    if (!ws)
        return QByteArray();
    std::vector<double> x(input.begin(), input.end());
    correlator.apply(*ws, x.data(), x.data());
    return QByteArray(reinterpret_cast<const char*>(x.data()), int(x.size() * sizeof(double)));
}

} // namespace

class TestFilter : public QObject
{
    Q_OBJECT

private slots:
    void kernelPassBandIsMinus3dBWide_data();
    void kernelPassBandIsMinus3dBWide();
    void mapKernelGain_data();
    void mapKernelGain();
    void kernelsFollowNewValues();
    void correlateHandBuilt();
    void correlateIntHandBuilt();
    void rounding_data();
    void rounding();
    void impulseGivesCentredKernel();
    void centreFrequencyGain();
    void envelopeNeverNegative();
    void fastMatchesReference_data();
    void fastMatchesReference();
    void mapResultsSaturate();
    void mapPeriodGuarded_data();
    void mapPeriodGuarded();
    void displayPeriod200Taps();
    void gainTable_data();
    void gainTable();
    void displayImpulse();
    void displayResultsSaturate();
    void displayLongPeriodRefused_data();
    void displayLongPeriodRefused();
    void fftwSupportHandBuilt();
    void bandPassAndPreparingFirPlanConcurrently();
};

void TestFilter::kernelPassBandIsMinus3dBWide_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<double>("bandwidth");
    QTest::newRow("period 200, 100 %") << 200 << 1.0;
    QTest::newRow("period 200, 50 %") << 200 << 0.5;
    QTest::newRow("period 40, 75 %") << 40 << 0.75;
    QTest::newRow("period 400, 25 %") << 400 << 0.25;
}

void TestFilter::kernelPassBandIsMinus3dBWide()
{
    // The window's spectrum is down by 3 dB at b·f/2 either side of the centre frequency.
    QFETCH(int, period);
    QFETCH(double, bandwidth);
    BandPassFilter f;
    const int n = 20001;
    std::vector<double> x(n), w(n);
    for (int k = 0; k < n; ++k)
        x[k] = k - n / 2;
    f.makeKernel(x.data(), n, 1.0 / period, bandwidth, -3.0, w.data(), nullptr, nullptr);
    auto response = [&](double nu) {
        double sum = 0;
        for (int k = 0; k < n; ++k)
            sum += w[k] * std::cos(2 * kPi * nu * x[k]);
        return sum;
    };
    const double dc = response(0.0);
    QVERIFY(std::abs(dc - f.windowArea()) < 1e-6 * dc); // area under the window
    const double edge = response(bandwidth / period / 2) / dc;
    QVERIFY2(std::abs(edge - std::pow(10.0, -3.0 / 20)) < 1e-6, qPrintable(QString::number(edge)));
}

void TestFilter::mapKernelGain_data()
{
    QTest::addColumn<double>("bandwidth");
    QTest::addColumn<double>("gain");
    QTest::newRow("0.25") << 0.25 << 5.65;
    QTest::newRow("0.75 exactly: no correction") << 0.75 << 5.65;
    QTest::newRow("just above 0.75") << 0.7500001 << 5.65 * 0.78;
    QTest::newRow("1.0") << 1.0 << 5.65 * 0.78;
}

void TestFilter::mapKernelGain()
{
    QFETCH(double, bandwidth);
    QFETCH(double, gain);
    BandPassFilter f;
    f.setPeriod(200);
    f.setBandwidth(bandwidth);
    QVERIFY(f.ensureKernels());
    QVERIFY(f.kernelValid());
    const auto& c = f.cosineKernel();
    const auto& s = f.sineKernel();
    QCOMPARE(int(c.size()), 601);
    QCOMPARE(int(s.size()), 601);
    // Centre tap (position 0) is the gain itself; cosine symmetric, sine antisymmetric.
    QVERIFY(std::abs(c[300] * f.windowArea() - gain) < 1e-12);
    QCOMPARE(s[300], 0.0);
    for (int d = 1; d <= 300; ++d) {
        QVERIFY(std::abs(c[300 + d] - c[300 - d]) < 1e-15);
        QVERIFY(std::abs(s[300 + d] + s[300 - d]) < 1e-15);
    }
    // Odd period: 3·201 + 1 = 604 taps, positions −302 … 301.
    f.setPeriod(201);
    QVERIFY(f.ensureKernels());
    QCOMPARE(int(f.cosineKernel().size()), 604);
    QVERIFY(std::abs(f.cosineKernel()[302] * f.windowArea() - gain) < 1e-12);
}

void TestFilter::kernelsFollowNewValues()
{
    // One filter used on, with its period and band changed between signals, filters each as a
    // fresh filter with those values would; the display path leaves the map kernels alone.
    const std::vector<qint16> input = echoes(11, 3000, 200, 2000);
    auto filtered = [&](BandPassFilter& f) {
        std::vector<qint16> s = input;
        return f.filterMapSignal(s.data(), int(s.size()), false) ? s : std::vector<qint16>();
    };
    BandPassFilter used;
    for (const auto& [period, bandwidth] : {std::pair{200, 1.0}, {200, 0.5}, {300, 0.5}, {300, 0.5}}) {
        used.setPeriod(period);
        used.setBandwidth(bandwidth);
        BandPassFilter fresh;
        fresh.setPeriod(period);
        fresh.setBandwidth(bandwidth);
        QVERIFY(filtered(used) == filtered(fresh));
        std::vector<qint16> d = input;
        QVERIFY(used.filterDisplaySignal(d.data(), int(d.size()), 1024, true));
    }
    QCOMPARE(int(used.cosineKernel().size()), 901);
}

void TestFilter::correlateHandBuilt()
{
    // Odd length: half 1.
    double x[] = {1, 2, 3};
    const double h[] = {1, 10, 100};
    BandPassFilter::correlate(x, 3, h, 3);
    QCOMPARE(x[0], 210.0);
    QCOMPARE(x[1], 321.0);
    QCOMPARE(x[2], 32.0);
    // Even length: half 2, positions −2 … 1.
    double y[] = {1, 2, 3};
    const double g[] = {1, 10, 100, 1000};
    BandPassFilter::correlate(y, 3, g, 4);
    QCOMPARE(y[0], 2100.0);
    QCOMPARE(y[1], 3210.0);
    QCOMPARE(y[2], 321.0);
}

void TestFilter::correlateIntHandBuilt()
{
    qint16 x[] = {3, 5, 7};
    const qint16 taps[] = {1024, 2048, -1024};
    BandPassFilter::correlateInt(x, 3, taps, 3, 1024);
    QCOMPARE(x[0], qint16(1));  // 2·3 − 5
    QCOMPARE(x[1], qint16(6));  // 3 + 10 − 7
    QCOMPARE(x[2], qint16(19)); // 5 + 14
    // Halves away from zero.
    qint16 h[] = {1, 3, -1, -3, 0};
    const qint16 half[] = {512};
    BandPassFilter::correlateInt(h, 5, half, 1, 1024);
    QCOMPARE(h[0], qint16(1));
    QCOMPARE(h[1], qint16(2));
    QCOMPARE(h[2], qint16(-1));
    QCOMPARE(h[3], qint16(-2));
    QCOMPARE(h[4], qint16(0));
    // Saturation instead of wrap-around.
    qint16 big[] = {30000, -30000};
    const qint16 doubling[] = {2048};
    BandPassFilter::correlateInt(big, 2, doubling, 1, 1024);
    QCOMPARE(big[0], qint16(32767));
    QCOMPARE(big[1], qint16(-32768));
}

void TestFilter::rounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("plain");
    QTest::addColumn<int>("single");
    QTest::newRow("2.5") << 2.5 << 3 << 3;
    QTest::newRow("-2.5") << -2.5 << -3 << -3;
    QTest::newRow("2.4999") << 2.4999 << 2 << 2;
    QTest::newRow("-0.4999") << -0.4999 << 0 << 0;
    // Stored as a float the value becomes 0.5 and rounds up.
    QTest::newRow("0.49999999") << 0.49999999 << 0 << 1;
    QTest::newRow("-0.49999999") << -0.49999999 << 0 << -1;
    QTest::newRow("32767.4") << 32767.4 << 32767 << 32767;
    QTest::newRow("32767.5 saturates") << 32767.5 << 32767 << 32767;
    QTest::newRow("1e9 saturates") << 1e9 << 32767 << 32767;
    QTest::newRow("-32768.6 saturates") << -32768.6 << -32768 << -32768;
    QTest::newRow("-1e9 saturates") << -1e9 << -32768 << -32768;
    QTest::newRow("NaN") << std::nan("") << 0 << 0;
}

void TestFilter::rounding()
{
    QFETCH(double, value);
    QFETCH(int, plain);
    QFETCH(int, single);
    QCOMPARE(int(BandPassFilter::roundToInt16(value)), plain);
    QCOMPARE(int(BandPassFilter::roundSingleToInt16(value)), single);
}

void TestFilter::impulseGivesCentredKernel()
{
    // A unit impulse comes out as the kernel centred on it, on both map paths.
    for (int period : {200, 201}) {
        BandPassFilter f;
        f.setPeriod(period);
        f.setBandwidth(1.0);
        const int n = 4000, at = 1700, v = 1000;
        QVERIFY(f.ensureKernels());
        const auto c = f.cosineKernel();
        const int len = int(c.size()), half = len / 2;
        for (bool fast : {false, true}) {
            std::vector<qint16> s(n, 0);
            s[at] = qint16(v);
            QVERIFY(fast ? f.filterMapSignal(s.data(), n, false) : f.filterMapSignalReference(s.data(), n, false));
            // y[at + d] = h[half − d]·v for d = half − len + 1 … half, 0 beyond.
            for (int d = half - len + 1; d <= half; ++d)
                QCOMPARE(int(s[at + d]), int(BandPassFilter::roundSingleToInt16(c[half - d] * v)));
            QCOMPARE(int(s[at + half - len]), 0);
            QCOMPARE(int(s[at + half + 1]), 0);
        }
    }
}

void TestFilter::centreFrequencyGain()
{
    // A long tone at the centre frequency is amplified by 5.65/2 (×0.78 above 75 %); a tone
    // half a band away is 3 dB lower.
    struct Case
    {
        double bandwidth, gain;
    };
    for (Case k : {Case{0.5, 5.65 / 2}, Case{1.0, 5.65 * 0.78 / 2}}) {
        BandPassFilter f;
        f.setPeriod(200);
        f.setBandwidth(k.bandwidth);
        std::vector<qint16> s = tone(40000, 200, 1000);
        QVERIFY(f.filterMapSignal(s.data(), 40000, false));
        const double centre = peakAbs(s, 5000, 35000) / 1000.0;
        QVERIFY2(std::abs(centre - k.gain) < 0.01 * k.gain, qPrintable(QString::number(centre)));
        std::vector<qint16> e = tone(40000, 200.0 / (1 + k.bandwidth / 2), 1000);
        QVERIFY(f.filterMapSignal(e.data(), 40000, false));
        const double edge = peakAbs(e, 5000, 35000) / 1000.0 / centre;
        QVERIFY2(std::abs(edge - 0.708) < 0.02, qPrintable(QString::number(edge)));
    }
}

void TestFilter::envelopeNeverNegative()
{
    BandPassFilter f;
    f.setPeriod(100);
    f.setBandwidth(0.5);
    const std::vector<qint16> input = echoes(7, 40000, 100, 3000);
    std::vector<qint16> a = input, b = input, c = input;
    QVERIFY(f.filterMapSignal(a.data(), 40000, true));
    QVERIFY(f.filterMapSignalReference(b.data(), 40000, true));
    QVERIFY(f.filterDisplaySignal(c.data(), 40000, 1024, true));
    QVERIFY(*std::min_element(a.begin(), a.end()) >= 0);
    QVERIFY(*std::min_element(b.begin(), b.end()) >= 0);
    QVERIFY(*std::min_element(c.begin(), c.end()) >= 0);
    QVERIFY(*std::max_element(a.begin(), a.end()) > 1000); // the echoes are there
    QVERIFY(*std::max_element(c.begin(), c.end()) > 100);
}

void TestFilter::fastMatchesReference_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<double>("bandwidth");
    QTest::addColumn<bool>("envelope");
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<int>("length");
    QTest::newRow("50 kHz, 100 %") << 200 << 1.0 << false << 40.0 << 40000;
    QTest::newRow("50 kHz, 100 %, envelope") << 200 << 1.0 << true << 40.0 << 40000;
    QTest::newRow("250 kHz, 50 %") << 40 << 0.5 << false << 40.0 << 40000;
    QTest::newRow("25 kHz, 25 %") << 400 << 0.25 << false << 40.0 << 40000;
    QTest::newRow("odd period, large amplitude") << 333 << 0.75 << true << 12000.0 << 40000;
    QTest::newRow("short signal, long kernel") << 600 << 0.5 << false << 500.0 << 700;
    QTest::newRow("period 1") << 1 << 1.0 << false << 500.0 << 5000;
}

void TestFilter::fastMatchesReference()
{
    QFETCH(int, period);
    QFETCH(double, bandwidth);
    QFETCH(bool, envelope);
    QFETCH(double, amplitude);
    QFETCH(int, length);
    BandPassFilter f;
    f.setPeriod(period);
    f.setBandwidth(bandwidth);
    long long differing = 0, total = 0;
    int maxDiff = 0;
    for (unsigned seed = 1; seed <= 3; ++seed) {
        const std::vector<qint16> input = echoes(seed, length, std::max(period, 4), amplitude);
        std::vector<qint16> ref = input, fast = input;
        QVERIFY(f.filterMapSignalReference(ref.data(), length, envelope));
        QVERIFY(f.filterMapSignal(fast.data(), length, envelope));
        for (int i = 0; i < length; ++i) {
            const int d = std::abs(ref[i] - fast[i]);
            maxDiff = std::max(maxDiff, d);
            differing += d != 0;
        }
        total += length;
        QVERIFY(ref != input || period == 1);
    }
    QVERIFY2(maxDiff <= 1, qPrintable(QString::number(maxDiff)));
    QVERIFY2(differing * 100000 < total || differing == 0, qPrintable(QString::number(differing)));
}

void TestFilter::mapResultsSaturate()
{
    // A full-scale tone at the centre frequency comes out about 2.2 times larger: it must
    // clip at the 16-bit limits rather than wrap around.
    BandPassFilter f;
    f.setPeriod(200);
    f.setBandwidth(1.0);
    const std::vector<qint16> input = tone(20000, 200, 32000);
    QVERIFY(f.ensureKernels());
    std::vector<double> exact(input.begin(), input.end());
    BandPassFilter::correlate(exact.data(), 20000, f.cosineKernel().data(), int(f.cosineKernel().size()));
    for (bool fast : {false, true}) {
        std::vector<qint16> s = input;
        QVERIFY(fast ? f.filterMapSignal(s.data(), 20000, false) : f.filterMapSignalReference(s.data(), 20000, false));
        int clippedHigh = 0, clippedLow = 0;
        for (int i = 0; i < 20000; ++i) {
            if (exact[i] > 32767.5) {
                QCOMPARE(int(s[i]), 32767);
                ++clippedHigh;
            } else if (exact[i] < -32768.5) {
                QCOMPARE(int(s[i]), -32768);
                ++clippedLow;
            } else {
                QVERIFY(std::abs(s[i] - exact[i]) <= 0.5001);
            }
        }
        QVERIFY(clippedHigh > 1000);
        QVERIFY(clippedLow > 1000);
        std::vector<qint16> e = input;
        QVERIFY(f.filterMapSignal(e.data(), 20000, true));
        QCOMPARE(int(*std::max_element(e.begin(), e.end())), 32767);
        QVERIFY(*std::min_element(e.begin() + 1000, e.end() - 1000) > 30000);
    }
}

void TestFilter::mapPeriodGuarded_data()
{
    QTest::addColumn<int>("period");
    QTest::newRow("0 (no SAFT frequency)") << 0;
    QTest::newRow("negative") << -5;
    QTest::newRow("beyond the limit") << BandPassFilter::kMaxMapPeriod + 1;
    QTest::newRow("huge") << 2147483647;
}

void TestFilter::mapPeriodGuarded()
{
    QFETCH(int, period);
    BandPassFilter f;
    f.setPeriod(period);
    const std::vector<qint16> input = echoes(3, 2000, 50, 1000);
    std::vector<qint16> a = input, b = input;
    QVERIFY(!f.filterMapSignal(a.data(), 2000, false));
    QVERIFY(!f.filterMapSignalReference(b.data(), 2000, true));
    QVERIFY(a == input);
    QVERIFY(b == input);
    QVERIFY(!f.kernelValid());
    QVERIFY(f.cosineKernel().empty());
}

void TestFilter::displayPeriod200Taps()
{
    BandPassFilter f;
    f.setPeriod(200);
    f.setBandwidth(1.0);
    BandPassFilter::DisplayKernels k;
    QVERIFY(f.makeDisplayKernels(1024, k));
    QCOMPARE(k.kernelLength, 601);
    QCOMPARE(k.half, 300);
    QCOMPARE(k.step, 30);
    QCOMPARE(k.offset, 15);
    QCOMPARE(k.frequencyKHz, 50);
    QCOMPARE(k.factor, 2.512);
    for (int m = 0; m < 10; ++m)
        QCOMPARE(k.positions[m], 15 + 30 * m);
    QCOMPARE(int(k.sineKernel.size()), 2048);
    QCOMPARE(int(k.cosineKernel.size()), 2048);
    // Taps at 300 ± 15, 45, … 285 and nowhere else; cosine even, sine odd about the centre.
    int taps = 0;
    for (int idx = 0; idx < 2048; ++idx) {
        const int d = idx - 300;
        const bool tap = std::abs(d) % 30 == 15 && std::abs(d) <= 285;
        taps += tap;
        if (!tap) {
            QCOMPARE(int(k.sineKernel[idx]), 0);
            QCOMPARE(int(k.cosineKernel[idx]), 0);
        } else if (d > 0) {
            QCOMPARE(int(k.cosineKernel[300 - d]), int(k.cosineKernel[idx]));
            QCOMPARE(int(k.sineKernel[300 - d]), -int(k.sineKernel[idx]));
        }
    }
    QCOMPARE(taps, 20);
    // The first tap, 15 samples out on a 200-sample period: sin(27°) = 0.4540 of the window
    // 0.9606 there, times 170 / 132.63 (window area) / 2.512 and the scale 1024: 227.9.
    QCOMPARE(int(k.sineKernel[315]), int(k.sineTaps[0]));
    QCOMPARE(int(k.sineTaps[0]), 228);
}

void TestFilter::gainTable_data()
{
    QTest::addColumn<int>("F");
    QTest::addColumn<double>("narrow");
    QTest::addColumn<double>("wide");
    QTest::newRow("0") << 0 << 1.413 << 1.413;
    QTest::newRow("28") << 28 << 1.413 << 1.413;
    QTest::newRow("29") << 29 << 1.679 << 1.585;
    QTest::newRow("49") << 49 << 2.818 << 2.512;
    QTest::newRow("50") << 50 << 2.818 << 2.512;
    QTest::newRow("64: a dash on the left") << 64 << 3.981 << 3.548;
    QTest::newRow("69") << 69 << 3.981 << 3.981;
    QTest::newRow("94") << 94 << 5.623 << 5.623;
    QTest::newRow("104") << 104 << 5.623 << 6.31;
    QTest::newRow("148") << 148 << 7.943 << 7.943;
    QTest::newRow("170") << 170 << 10.0 << 10.0;
    QTest::newRow("175") << 175 << 10.0 << 11.22;
    QTest::newRow("213") << 213 << 11.22 << 12.589;
    QTest::newRow("214 otherwise") << 214 << 12.589 << 14.125;
    QTest::newRow("10000 otherwise") << 10000 << 12.589 << 14.125;
}

void TestFilter::gainTable()
{
    QFETCH(int, F);
    QFETCH(double, narrow);
    QFETCH(double, wide);
    QCOMPARE(BandPassFilter::gainFactor(F, 0.25), narrow);
    QCOMPARE(BandPassFilter::gainFactor(F, 0.75), narrow); // 0.75 takes the left column
    QCOMPARE(BandPassFilter::gainFactor(F, 0.76), wide);
    QCOMPARE(BandPassFilter::gainFactor(F, 1.0), wide);
}

void TestFilter::displayImpulse()
{
    // An impulse of value scale comes out as the (symmetric) cosine kernel around it, and its
    // envelope is the length of the (cosine, sine) pair at every tap.
    BandPassFilter f;
    f.setPeriod(200);
    f.setBandwidth(0.5);
    BandPassFilter::DisplayKernels k;
    QVERIFY(f.makeDisplayKernels(1024, k));
    const int n = 2000, at = 1000;
    std::vector<qint16> s(n, 0);
    s[at] = 1024;
    QVERIFY(f.filterDisplaySignal(s.data(), n, 1024, false));
    for (int d = -300; d <= 300; ++d)
        QCOMPARE(int(s[at + d]), int(k.cosineKernel[300 - d]));
    std::vector<qint16> e(n, 0);
    e[at] = 1024;
    QVERIFY(f.filterDisplaySignal(e.data(), n, 1024, true));
    for (int m = 0; m < 10; ++m) {
        const int p = k.positions[m];
        const double len = std::sqrt(double(k.cosineTaps[m]) * k.cosineTaps[m] + double(k.sineTaps[m]) * k.sineTaps[m]);
        QCOMPARE(int(e[at + p]), int(BandPassFilter::roundToInt16(len)));
        QCOMPARE(int(e[at - p]), int(BandPassFilter::roundToInt16(len)));
    }
    // Near the ends only the taps that find samples count.
    std::vector<qint16> edge(100, 0);
    edge[0] = 1024;
    QVERIFY(f.filterDisplaySignal(edge.data(), 100, 1024, false));
    QCOMPARE(int(edge[15]), int(k.cosineKernel[285]));
}

void TestFilter::displayResultsSaturate()
{
    BandPassFilter f;
    f.setPeriod(50);
    f.setBandwidth(1.0);
    std::vector<qint16> s = tone(5000, 50, 32767);
    std::vector<qint16> e = s;
    QVERIFY(f.filterDisplaySignal(s.data(), 5000, 1024, false));
    QVERIFY(f.filterDisplaySignal(e.data(), 5000, 1024, true));
    // Whatever the gain, a full-scale tone keeps its sign pattern (no wrap to the other sign).
    const std::vector<qint16> in = tone(5000, 50, 32767);
    for (int i = 200; i < 4800; ++i) {
        if (std::abs(in[i]) > 30000)
            QVERIFY(int(s[i]) * int(in[i]) >= 0);
        QVERIFY(e[i] >= 0);
    }
    // A square of −32768 on both parts still gives a saturated, positive envelope.
    BandPassFilter g;
    g.setPeriod(20);
    g.setBandwidth(1.0);
    std::vector<qint16> sq(400);
    for (int i = 0; i < 400; ++i)
        sq[i] = (i / 10) % 2 ? 32767 : -32768;
    QVERIFY(g.filterDisplaySignal(sq.data(), 400, 1024, true));
    QVERIFY(*std::min_element(sq.begin(), sq.end()) >= 0);
}

void TestFilter::displayLongPeriodRefused_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("682: 2047 taps fit") << 682 << 1024 << true;
    QTest::newRow("683: 2050 taps do not") << 683 << 1024 << false;
    QTest::newRow("1400") << 1400 << 1024 << false;
    QTest::newRow("max int") << 2147483647 << 1024 << false;
    QTest::newRow("0") << 0 << 1024 << false;
    QTest::newRow("negative") << -200 << 1024 << false;
    QTest::newRow("scale 0") << 200 << 0 << false;
}

void TestFilter::displayLongPeriodRefused()
{
    QFETCH(int, period);
    QFETCH(int, scale);
    QFETCH(bool, accepted);
    BandPassFilter f;
    f.setPeriod(period);
    f.setBandwidth(1.0);
    const std::vector<qint16> input = echoes(5, 6000, 600, 2000);
    std::vector<qint16> s = input;
    QCOMPARE(f.filterDisplaySignal(s.data(), 6000, scale, true), accepted);
    if (!accepted)
        QVERIFY(s == input);
    else
        QVERIFY(s != input);
}

void TestFilter::fftwSupportHandBuilt()
{
    using namespace Vantar::Fftw;
    QVERIFY(!PlanPair::make(0).isValid());
    QCOMPARE(blockSizeFor(601, 40000), 8192LL); // 8 × 601 rounded up to a power of two
    QCOMPARE(blockSizeFor(601, 100), 1024LL);   // 100 + 601 − 1 samples are enough
    QCOMPARE(blockSizeFor(5, 1), 8LL);          // never shorter than the kernel

    PlanPair plans = PlanPair::make(8);
    QVERIFY(plans.isValid());
    QCOMPARE(plans.bins(), size_t(5));
    PlanPair moved = std::move(plans);
    QVERIFY(!plans.isValid());
    QVERIFY(moved.isValid());
    QCOMPARE(moved.size(), 8);

    QVERIFY(!correlationSpectrum(moved, nullptr, 1));
    const double longKernel[9] = {};
    QVERIFY(!correlationSpectrum(moved, longKernel, 9));
    // A one-sample delay e^(−iπk/4), conjugated and divided by the 8 points.
    const double delay[2] = {0.0, 1.0};
    ComplexBuffer spectrum = correlationSpectrum(moved, delay, 2);
    QVERIFY(spectrum);
    for (int k = 0; k < 5; ++k) {
        QVERIFY(std::abs(spectrum[k][0] - std::cos(kPi * k / 4) / 8) < 1e-15);
        QVERIFY(std::abs(spectrum[k][1] - std::sin(kPi * k / 4) / 8) < 1e-15);
    }

    // (1 + 2i)(3 − i) = 5 + 5i and (0 + 1i)(0 + 1i) = −1, also in place.
    fftw_complex a[2] = {{1.0, 2.0}, {0.0, 1.0}};
    const fftw_complex b[2] = {{3.0, -1.0}, {0.0, 1.0}};
    multiplySpectra(a, b, a, 2);
    QCOMPARE(a[0][0], 5.0);
    QCOMPARE(a[0][1], 5.0);
    QCOMPARE(a[1][0], -1.0);
    QCOMPARE(a[1][1], 0.0);

    const double x[4] = {1.0, 2.0, 3.0, 4.0};
    double in[6];
    loadBlock(x, 4, 0, 2, 6, in);
    const double first[6] = {0.0, 0.0, 1.0, 2.0, 3.0, 4.0};
    QVERIFY(std::equal(in, in + 6, first));
    loadBlock(x, 4, 3, 2, 6, in);
    const double last[6] = {2.0, 3.0, 4.0, 0.0, 0.0, 0.0};
    QVERIFY(std::equal(in, in + 6, last));
}

void TestFilter::bandPassAndPreparingFirPlanConcurrently()
{
    // FFTW's planner is process-wide: the band-pass filter and the preparing FIR must plan
    // under one lock. The concurrent runs go first, before anything in this process has
    // planned, and each must give the bytes of the same run alone.
    constexpr int kThreads = 4;
    constexpr int kRunsPerThread = 6;
    constexpr int kRuns = kThreads * kRunsPerThread;
    std::vector<QByteArray> concurrent(kRuns);
    std::atomic<int> waiting{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &concurrent, &waiting] {
            // Released together, so the first plans of both kinds are made at the same time.
            waiting.fetch_sub(1);
            while (waiting.load() > 0)
                std::this_thread::yield();
            for (int i = 0; i < kRunsPerThread; ++i) {
                const int index = t + i * kThreads;
                concurrent[size_t(index)] = performPlanningRun(planningRun(index));
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    int bandPassRuns = 0;
    for (int index = 0; index < kRuns; ++index) {
        const PlanningRun run = planningRun(index);
        bandPassRuns += run.bBandPass;
        const QByteArray alone = performPlanningRun(run);
        QVERIFY2(!alone.isEmpty(), qPrintable(QString::number(index)));
        QVERIFY2(concurrent[size_t(index)] == alone, qPrintable(QString::number(index)));
    }
    QCOMPARE(bandPassRuns, kRuns / 2);
}

QTEST_GUILESS_MAIN(TestFilter)
#include "tst_filter.moc"
