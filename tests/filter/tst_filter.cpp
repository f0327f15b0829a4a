// Band-pass filter: kernel shape, display taps and gain table, both map paths against each
// other, rounding, saturation and the guards on the period.

#include "map/bandpassfilter.h"
#include "map/fftwsupport.h"
#include "map/preparefir.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;

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

// Run `index` of the concurrent planning test, as bytes (empty when it failed): band-pass
// filters and preparing correlators of several sizes, each making and destroying its own plans.
QByteArray planningRun(int index)
{
    const int length = std::array{700, 1500, 3000, 6000, 12000, 40000}[index % 6];
    const std::vector<qint16> input = echoes(unsigned(length), length, 100, 3000.0);
    if (index % 2 == 0) {
        BandPassFilter f;
        f.setPeriod(std::array{40, 100, 200, 333}[(index / 2) % 4]);
        f.setBandwidth(1.0);
        std::vector<qint16> s = input;
        if (!f.filterMapSignal(s.data(), length, true))
            return QByteArray();
        return QByteArray(reinterpret_cast<const char*>(s.data()), qsizetype(s.size() * sizeof(qint16)));
    }
    const int kernel = std::array{31, 101, 301, 601}[(index / 2) % 4];
    const size_t count = static_cast<size_t>(kernel);
    std::vector<qint16> positions(count);
    std::iota(positions.begin(), positions.end(), qint16(-kernel / 2));
    std::vector<double> cosine(count), sine(count), window(count);
    PrepareFir::Correlator correlator;
    if (!PrepareFir::makeWindowedKernel(positions.data(), kernel, cosine.data(), sine.data(), window.data(), 0.01,
                                        0.5, -3.0)
        || !correlator.build(sine.data(), kernel, length))
        return QByteArray();
    PrepareFir::Correlator::WorkspacePtr ws = correlator.makeWorkspace();
    if (!ws)
        return QByteArray();
    std::vector<double> x(input.begin(), input.end());
    correlator.apply(*ws, x.data(), x.data());
    return QByteArray(reinterpret_cast<const char*>(x.data()), qsizetype(x.size() * sizeof(double)));
}

} // namespace

class TestFilter : public QObject
{
    Q_OBJECT

private slots:
    void bandPassAndPreparingFirPlanConcurrently();
    void mapKernelAndImpulse_data();
    void mapKernelAndImpulse();
    void kernelsFollowNewValues();
    void correlateIntHandBuilt();
    void rounding_data();
    void rounding();
    void fastMatchesReference_data();
    void fastMatchesReference();
    void periodGuards_data();
    void periodGuards();
    void displayKernelsAndImpulse();
    void gainTable_data();
    void gainTable();
};

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
                concurrent[size_t(index)] = planningRun(index);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    for (int index = 0; index < kRuns; ++index) {
        const QByteArray alone = planningRun(index);
        QVERIFY2(!alone.isEmpty(), qPrintable(QString::number(index)));
        QVERIFY2(concurrent[size_t(index)] == alone, qPrintable(QString::number(index)));
    }
}

void TestFilter::mapKernelAndImpulse_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<double>("bandwidth");
    QTest::addColumn<double>("gain");
    QTest::addColumn<int>("taps");
    QTest::newRow("200, 25 %") << 200 << 0.25 << 5.65 << 601;
    QTest::newRow("200, 75 % exactly: no correction") << 200 << 0.75 << 5.65 << 601;
    QTest::newRow("200, just above 75 %") << 200 << 0.7500001 << 5.65 * 0.78 << 601;
    QTest::newRow("odd 201, 100 %: 3·201 + 1 taps") << 201 << 1.0 << 5.65 * 0.78 << 604;
}

void TestFilter::mapKernelAndImpulse()
{
    QFETCH(int, period);
    QFETCH(double, bandwidth);
    QFETCH(double, gain);
    QFETCH(int, taps);
    BandPassFilter f;
    f.setPeriod(period);
    f.setBandwidth(bandwidth);
    QVERIFY(f.ensureKernels());
    const auto& c = f.cosineKernel();
    const auto& s = f.sineKernel();
    QCOMPARE(int(c.size()), taps);
    QCOMPARE(int(s.size()), taps);
    // The tap at position 0 is the gain itself; cosine symmetric, sine antisymmetric about it.
    const int centre = taps / 2;
    QVERIFY(std::abs(c[centre] * f.windowArea() - gain) < 1e-12);
    QCOMPARE(s[centre], 0.0);
    for (int d = 1; centre + d < taps && centre - d >= 0; ++d) {
        QVERIFY(std::abs(c[centre + d] - c[centre - d]) < 1e-15);
        QVERIFY(std::abs(s[centre + d] + s[centre - d]) < 1e-15);
    }
    // An impulse comes out as the kernel centred on it, 0 beyond, on both map paths.
    const int at = 1700, v = 1000;
    for (bool fast : {false, true}) {
        std::vector<qint16> y(4000, 0);
        y[at] = qint16(v);
        QVERIFY(fast ? f.filterMapSignal(y.data(), 4000, false) : f.filterMapSignalReference(y.data(), 4000, false));
        for (int d = centre - taps + 1; d <= centre; ++d)
            QCOMPARE(int(y[at + d]), int(BandPassFilter::roundSingleToInt16(c[centre - d] * v)));
        QCOMPARE(int(y[at + centre - taps]), 0);
        QCOMPARE(int(y[at + centre + 1]), 0);
    }
    // The window's spectrum is down by 3 dB at b·f/2 either side of the centre frequency.
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

void TestFilter::kernelsFollowNewValues()
{
    // One filter used on, with its period and band changed between signals, filters each as a
    // fresh filter with those values would.
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
        used.filterDisplaySignal(d.data(), int(d.size()), 1024, true); // leaves the map kernels alone
    }
    QCOMPARE(int(used.cosineKernel().size()), 901);
}

void TestFilter::correlateIntHandBuilt()
{
    // Integer taps over 1024: halves away from zero, saturation instead of wrap-around.
    qint16 i[] = {3, 5, 7};
    const qint16 taps[] = {1024, 2048, -1024};
    BandPassFilter::correlateInt(i, 3, taps, 3, 1024);
    QCOMPARE(std::vector<qint16>(i, i + 3), (std::vector<qint16>{1, 6, 19}));
    qint16 halves[] = {1, 3, -1, -3, 0, 30000, -30000};
    const qint16 half[] = {512};
    BandPassFilter::correlateInt(halves, 5, half, 1, 1024);
    const qint16 doubling[] = {2048};
    BandPassFilter::correlateInt(halves + 5, 2, doubling, 1, 1024);
    QCOMPARE(std::vector<qint16>(halves, halves + 7), (std::vector<qint16>{1, 2, -1, -2, 0, 32767, -32768}));
}

void TestFilter::rounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("plain");
    QTest::addColumn<int>("single");
    QTest::newRow("2.5") << 2.5 << 3 << 3;
    QTest::newRow("-2.5") << -2.5 << -3 << -3;
    // Stored as a float the value becomes 0.5 and rounds up.
    QTest::newRow("0.49999999") << 0.49999999 << 0 << 1;
    QTest::newRow("-0.49999999") << -0.49999999 << 0 << -1;
    QTest::newRow("32767.5 saturates") << 32767.5 << 32767 << 32767;
    QTest::newRow("-32768.6 saturates") << -32768.6 << -32768 << -32768;
    QTest::newRow("NaN") << std::nan("") << 0 << 0;
}

void TestFilter::rounding()
{
    QFETCH(double, value);
    QTEST(int(BandPassFilter::roundToInt16(value)), "plain");
    QTEST(int(BandPassFilter::roundSingleToInt16(value)), "single");
}

void TestFilter::fastMatchesReference_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<double>("bandwidth");
    QTest::addColumn<bool>("envelope");
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<int>("length");
    // About 2.2 times full scale: the fast path clips as the reference does, never wraps.
    QTest::newRow("saturating") << 200 << 1.0 << false << 32000.0 << 40000;
    QTest::newRow("saturating envelope") << 200 << 1.0 << true << 32000.0 << 40000;
    QTest::newRow("50 kHz, 100 %, envelope") << 200 << 1.0 << true << 40.0 << 40000;
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
        QVERIFY(!envelope || *std::min_element(fast.begin(), fast.end()) >= 0);
        QVERIFY(amplitude < 30000 || *std::max_element(ref.begin(), ref.end()) == 32767);
    }
    QVERIFY2(maxDiff <= 1, qPrintable(QString::number(maxDiff)));
    QVERIFY2(differing * 100000 < total || differing == 0, qPrintable(QString::number(differing)));
}

void TestFilter::periodGuards_data()
{
    // Periods (and display scales) that make no kernel leave the signal as it was.
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("map");
    QTest::addColumn<bool>("display");
    QTest::newRow("0 (no SAFT frequency)") << 0 << 1024 << false << false;
    QTest::newRow("682: 2047 display taps fit") << 682 << 1024 << true << true;
    QTest::newRow("683: 2050 display taps do not") << 683 << 1024 << true << false;
    QTest::newRow("beyond the map limit") << BandPassFilter::kMaxMapPeriod + 1 << 1024 << false << false;
    QTest::newRow("max int") << 2147483647 << 1024 << false << false;
    QTest::newRow("display scale 0") << 200 << 0 << true << false;
}

void TestFilter::periodGuards()
{
    QFETCH(int, period);
    QFETCH(int, scale);
    QFETCH(bool, map);
    QFETCH(bool, display);
    BandPassFilter f;
    f.setPeriod(period);
    f.setBandwidth(1.0);
    const std::vector<qint16> input = echoes(5, 3000, 600, 2000);
    std::vector<qint16> a = input, b = input, c = input;
    QCOMPARE(f.filterMapSignal(a.data(), 3000, false), map);
    QCOMPARE(f.filterMapSignalReference(b.data(), 3000, true), map);
    QCOMPARE(f.filterDisplaySignal(c.data(), 3000, scale, true), display);
    QCOMPARE(a == input, !map);
    QCOMPARE(b == input, !map);
    QCOMPARE(c == input, !display);
    QCOMPARE(f.kernelValid(), map);
}

void TestFilter::displayKernelsAndImpulse()
{
    BandPassFilter f;
    f.setPeriod(200);
    f.setBandwidth(1.0);
    BandPassFilter::DisplayKernels k;
    QVERIFY(f.makeDisplayKernels(1024, k));
    QCOMPARE(k.factor, 2.512);
    for (int m = 0; m < 10; ++m)
        QCOMPARE(k.positions[m], 15 + 30 * m);
    // Taps at 300 ± 15, 45, … 285 and nowhere else; cosine even, sine odd about the centre.
    QCOMPARE(int(k.sineKernel.size()), 2048);
    for (int idx = 0; idx < 2048; ++idx) {
        const int d = idx - 300;
        if (std::abs(d) % 30 != 15 || std::abs(d) > 285) {
            QCOMPARE(int(k.sineKernel[idx]) | int(k.cosineKernel[idx]), 0);
        } else {
            QCOMPARE(int(k.cosineKernel[300 - d]), int(k.cosineKernel[idx]));
            QCOMPARE(int(k.sineKernel[300 - d]), -int(k.sineKernel[idx]));
        }
    }
    // The first tap, 15 samples out on a 200-sample period: sin(27°) = 0.4540 of the window
    // 0.9606 there, times 170 / 132.63 (window area) / 2.512 and the scale 1024: 227.9.
    QCOMPARE(int(k.sineKernel[315]), int(k.sineTaps[0]));
    QCOMPARE(int(k.sineTaps[0]), 228);

    // An impulse of value scale comes out as the cosine kernel around it, and its envelope is
    // the length of the (cosine, sine) pair at every tap; near the ends only the taps that find
    // samples count.
    const int n = 2000, at = 1000;
    std::vector<qint16> s(n, 0);
    s[at] = 1024;
    std::vector<qint16> e = s;
    QVERIFY(f.filterDisplaySignal(s.data(), n, 1024, false));
    for (int d = -300; d <= 300; ++d)
        QCOMPARE(int(s[at + d]), int(k.cosineKernel[300 - d]));
    QVERIFY(f.filterDisplaySignal(e.data(), n, 1024, true));
    for (int m = 0; m < 10; ++m) {
        const double len = std::hypot(double(k.cosineTaps[m]), double(k.sineTaps[m]));
        QCOMPARE(int(e[at + k.positions[m]]), int(BandPassFilter::roundToInt16(len)));
        QCOMPARE(int(e[at - k.positions[m]]), int(BandPassFilter::roundToInt16(len)));
    }
    std::vector<qint16> edge(100, 0);
    edge[0] = 1024;
    QVERIFY(f.filterDisplaySignal(edge.data(), 100, 1024, false));
    QCOMPARE(int(edge[15]), int(k.cosineKernel[285]));

    // A square of −32768 on both parts still gives a saturated, positive envelope.
    f.setPeriod(20);
    std::vector<qint16> sq(400);
    for (int i = 0; i < 400; ++i)
        sq[i] = (i / 10) % 2 ? 32767 : -32768;
    QVERIFY(f.filterDisplaySignal(sq.data(), 400, 1024, true));
    QVERIFY(*std::min_element(sq.begin(), sq.end()) >= 0);
    QCOMPARE(*std::max_element(sq.begin(), sq.end()), qint16(32767));
}

void TestFilter::gainTable_data()
{
    QTest::addColumn<int>("F");
    QTest::addColumn<double>("narrow");
    QTest::addColumn<double>("wide");
    QTest::newRow("28") << 28 << 1.413 << 1.413;
    QTest::newRow("29") << 29 << 1.679 << 1.585;
    QTest::newRow("50") << 50 << 2.818 << 2.512;
    QTest::newRow("64: a dash on the left") << 64 << 3.981 << 3.548;
    QTest::newRow("104") << 104 << 5.623 << 6.31;
    QTest::newRow("175") << 175 << 10.0 << 11.22;
    QTest::newRow("213") << 213 << 11.22 << 12.589;
    QTest::newRow("214 otherwise") << 214 << 12.589 << 14.125;
}

void TestFilter::gainTable()
{
    QFETCH(int, F);
    QFETCH(double, narrow);
    QFETCH(double, wide);
    QCOMPARE(BandPassFilter::gainFactor(F, 0.75), narrow); // 0.75 takes the left column
    QCOMPARE(BandPassFilter::gainFactor(F, 0.76), wide);
}

QTEST_GUILESS_MAIN(TestFilter)
#include "tst_filter.moc"
