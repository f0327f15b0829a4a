// Map pipeline: reading and the unprocessed volume, preparing and SAFT (fast paths against the
// reference loops), the opening sequence with its failures and stored settings, NRRD output.

#include "common/bytes.h"
#include "map/depthconversion.h"
#include "map/bandpassfilter.h"
#include "map/mapdata.h"
#include "map/mapgenerator.h"
#include "map/mapopener.h"
#include "map/mapstoredfiles.h"
#include "map/mapviewstatefile.h"
#include "map/nrrdwriter.h"
#include "map/parallel.h"
#include "map/preparefir.h"
#include "map/saftkernel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

namespace {

constexpr int kN = 40000;

QByteArray littleEndian(const std::vector<qint16>& s)
{
    QByteArray b(qsizetype(s.size()) * 2, '\0');
    for (size_t k = 0; k < s.size(); ++k)
        TestBytes::putLe(b, qsizetype(2 * k), quint16(s[k]), 2);
    return b;
}

using TestBytes::writeBytes;

std::vector<qint16> noiseSignal(unsigned seed, double sigma)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> d(0.0, sigma);
    std::vector<qint16> s(kN);
    for (qint16& v : s)
        v = qint16(std::clamp(std::lround(d(rng)), -32768L, 32767L));
    return s;
}

// A trace of these samples with their standard deviation, as reading leaves it.
MapTrace traceOf(const std::vector<qint16>& raw)
{
    MapTrace t;
    if (!t.allocate(kN))
        return t;
    t.raw = raw;
    double mean = 0, sq = 0;
    for (qint16 v : raw)
        mean += v;
    mean /= kN;
    for (qint16 v : raw)
        sq += (v - mean) * (v - mean);
    t.sigma = std::sqrt(sq / kN);
    return t;
}

// A map whose prepared signals are given directly: random, with chosen positions left out.
void fillPrepared(MapData& data, int columns, int rows, int stepH, int stepV, int dim2,
                  const QList<QPoint>& missing, unsigned seed, double velocity = 2.6)
{
    data.clear();
    data.setPositionCount(columns, rows);
    data.setSteps(stepH, stepV);
    SAFTsettings s;
    s.velocity = velocity;
    data.setSAFTsettings(s);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(-3000, 3000);
    for (int j = 1; j <= rows; ++j)
        for (int i = 1; i <= columns; ++i) {
            if (missing.contains(QPoint(i, j)))
                continue;
            MapTrace t;
            QVERIFY(t.allocate(kN));
            for (qint16& v : t.prepared)
                v = qint16(d(rng));
            data.setTrace(i, j, std::move(t));
        }
    const MapVolumeGrid g = MapVolumeGrid::compute(columns, rows, stepH, stepV, dim2 * 0.005);
    QVERIFY(data.setRawVolume(g.dim0, g.dim1, g.dim2, std::vector<qint16>(size_t(g.voxelCount()), 0)));
}

Saft::Geometry geometryOf(const MapData& data, int pitchX, int pitchY)
{
    return Saft::Geometry{data.columns(), data.rows(), data.stepH(), data.stepV(), pitchX, pitchY, data.dim0(),
                          data.dim1(), data.dim2(), data.sampleCount(), data.saftSettings().velocity};
}

Saft::Signals signalsOf(const MapData& data)
{
    Saft::Signals s(size_t(data.columns()) * size_t(data.rows()), nullptr);
    for (const auto& [key, trace] : data.traces())
        s[size_t((key.i - 1) * data.rows() + (key.j - 1))] = trace.prepared.data();
    return s;
}

// Records every step and progress value the opening reports.
class RecordingReporter : public MapStepReporter
{
public:
    QStringList titles;
    QList<QList<int>> values;
    int stopAfter = -1; // progress calls before asking to stop; −1 never
    int calls = 0;

    void stepStarted(MapStep, const QString& strTitle, const QString& strLabel) override
    {
        titles << strTitle + " / " + strLabel;
        values.append(QList<int>());
    }
    bool stepProgress(int iDone, int iTotal) override
    {
        values.last().append(iTotal == 100 ? iDone : -1);
        return stopAfter < 0 || ++calls <= stopAfter;
    }
    void stepFinished(MapStep, bool bOk) override { titles.last() += bOk ? " / ok" : " / failed"; }
};

MapGeneratorOptions smallMap(int columns, int rows)
{
    MapGeneratorOptions o;
    o.columns = columns;
    o.rows = rows;
    o.depth = 200;
    o.reflectors = {MapReflector{columns * 5.0, rows * 5.0, 100.0, 1.0}};
    return o;
}

} // namespace

class TestPipeline : public QObject
{
    Q_OBJECT

private slots:
    void init() { Vantar::setWorkerThreads(0); }

    void resample_data();
    void resample();
    void readSignalsProgressAndFiles();
    void buildVolumeSpreadsAndRefuses();
    void windowsEqualWholeSignals();
    void prepareFlatSignalAndGain();
    void prepareFastMatchesReference();
    void straightBelowDelay();
    void saftFastEqualsReference_data();
    void saftFastEqualsReference();
    void saftProgressAndRefusals();
    void openReportsStepsAndMode();
    void openFailsOnBadSignalFiles_data();
    void openFailsOnBadSignalFiles();
    void openTakesStoredSettingsOnlyWhenTheyFit();
    void reprocessRefusesShallowDepth();
    void keptWindowsGiveWholeSignalVolumes();
    void nrrdHeaderAndOrder();
};

void TestPipeline::resample_data()
{
    QTest::addColumn<QList<int>>("input");
    QTest::addColumn<int>("m");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("shrink by 2") << QList<int>{1, -5, 3, 2} << 2 << QList<int>{5, 3};
    QTest::newRow("shrink by 1.5") << QList<int>{1, 2, 3, 4, 5, 6} << 4 << QList<int>{1, 3, 4, 6};
    QTest::newRow("stretch by 2") << QList<int>{-1, 2} << 4 << QList<int>{1, 1, 2, 2};
    QTest::newRow("stretch by 1.5") << QList<int>{7, -8} << 3 << QList<int>{7, 8, 8};
    QTest::newRow("-32768 stays") << QList<int>{-32768, 5} << 2 << QList<int>{-32768, 5};
    QTest::newRow("-32768 loses") << QList<int>{-32768, 5} << 1 << QList<int>{5};
}

void TestPipeline::resample()
{
    QFETCH(QList<int>, input);
    QFETCH(int, m);
    QFETCH(QList<int>, expected);
    std::vector<qint16> x(input.begin(), input.end());
    std::vector<qint16> y(size_t(m), qint16(99));
    MapData::resample(x.data(), int(x.size()), y.data(), m);
    QCOMPARE(QList<int>(y.begin(), y.end()), expected);
}

void TestPipeline::readSignalsProgressAndFiles()
{
    QTemporaryDir dir;
    const std::vector<qint16> a = noiseSignal(1, 400);
    const std::vector<qint16> longer = noiseSignal(2, 400);
    QVERIFY(writeBytes(dir.filePath("1_1.raw"), littleEndian(a)));
    QVERIFY(writeBytes(dir.filePath("2_1.raw"), littleEndian(longer) + QByteArray(100, 'x'))); // past the record
    // One byte short and missing: every other file is still read, the step fails.
    QByteArray shortBytes = littleEndian(a);
    shortBytes.chop(1);
    QVERIFY(writeBytes(dir.filePath("3_1.raw"), shortBytes));
    QVERIFY(writeBytes(dir.filePath("2_2.raw"), littleEndian(std::vector<qint16>(kN, 1234))));
    MapPositionTable table{{{1, 1}, dir.filePath("1_1.raw")}, {{2, 1}, dir.filePath("2_1.raw")},
                           {{3, 1}, dir.filePath("3_1.raw")}, {{1, 2}, dir.filePath("1_2.raw")},
                           {{2, 2}, dir.filePath("2_2.raw")}};
    MapData data;
    QList<int> values;
    data.setProgressCallback([&](int d, int t) {
        values.append(d);
        return t == 100;
    });
    QStringList failed;
    QVERIFY(!data.readSignals(table, &failed));
    QCOMPARE(failed, (QStringList{dir.filePath("3_1.raw"), dir.filePath("1_2.raw")})); // key order
    QCOMPARE(values, (QList<int>{0, 20, 40, 60, 80}));
    QCOMPARE(int(data.traces().size()), 5);
    QVERIFY(data.trace(1, 1)->raw == a);
    QVERIFY(data.trace(2, 1)->raw == longer);
    const MapTrace* bad = data.trace(3, 1);
    QVERIFY(bad && bad->count == kN);
    QVERIFY(std::all_of(bad->raw.begin(), bad->raw.end(), [](qint16 v) { return v == 0; }));
    QVERIFY(std::all_of(bad->filtered.begin(), bad->filtered.end(), [](qint16 v) { return v == 0; }));
    // A flat signal is silence, not a division by a zero deviation.
    const MapTrace* flat = data.trace(2, 2);
    QCOMPARE(flat->sigma, 0.0);
    QVERIFY(std::all_of(flat->filtered.begin(), flat->filtered.end(), [](qint16 v) { return v == 0; }));

    // Stopping through the callback keeps no half-read signals.
    data.setProgressCallback([](int, int) { return false; });
    QVERIFY(!data.readSignals(table));
    QVERIFY(data.traces().empty());
}

void TestPipeline::buildVolumeSpreadsAndRefuses()
{
    // 3 × 3 positions, 2 × 2 cells each; only the middle one holds a signal of 900s.
    MapData data;
    data.setPositionCount(3, 3);
    MapTrace t;
    QVERIFY(t.allocate(kN));
    std::fill(t.filtered.begin(), t.filtered.end(), qint16(-900));
    data.setTrace(2, 2, std::move(t));
    QVERIFY(data.buildVolume(6, 6, 4, 2, 2, 100, 8));
    data.setViewingMode(RawView);
    QCOMPARE(data.dim2(), 4);
    QCOMPARE(data.voxel(2, 2, 0), qint16(400)); // 4v/9 inside the block
    QCOMPARE(data.voxel(3, 3, 3), qint16(400));
    QCOMPARE(data.voxel(1, 2, 1), qint16(200)); // 2v/9 beside it
    QCOMPARE(data.voxel(2, 4, 2), qint16(200));
    QCOMPARE(data.voxel(1, 1, 3), qint16(100)); // v/9 at the corners
    QCOMPARE(data.voxel(4, 4, 0), qint16(100));
    QCOMPARE(data.voxel(0, 0, 0), qint16(0));
    QVERIFY(!data.hasProcessedVolume());

    // Windows outside the record and absurd sizes are refused.
    data.clear();
    data.setPositionCount(1, 1);
    QVERIFY(data.buildVolume(2, 2, 10, 2, 2, 0, kN)); // the whole record
    QVERIFY(data.hasRawVolume());
    QVERIFY(!data.buildVolume(2, 2, 10, 2, 2, 1, kN)); // one past the end
    QVERIFY(!data.hasRawVolume());
    QCOMPARE(data.dim0(), 0);
    QVERIFY(!data.buildVolume(2, 2, 10, 2, 2, -1, 10));
    QVERIFY(!data.buildVolume(2, 2, 10, 2, 2, 0, 0));
    QVERIFY(!data.buildVolume(0, 2, 10, 2, 2, 0, 10));
    QVERIFY(!data.buildVolume(2, 2, 0, 2, 2, 0, 10));
    QVERIFY(!data.buildVolume(100000, 100000, 1000, 2, 2, 0, 10));
    QVERIFY(!data.hasRawVolume());
}


void TestPipeline::windowsEqualWholeSignals()
{
    // The transform correlator against direct sums; then windows at the start, across a block's edge and
    // at the end: the values of filtering and preparing whole signals, bit for bit, from the stated inputs.
    const std::vector<qint16> signal = noiseSignal(11, 900.0);
    BandPassFilter filter;
    filter.setPeriod(200);
    filter.setBandwidth(1.0);
    std::vector<qint16> whole = signal;
    QVERIFY(filter.filterMapSignal(whole.data(), kN, false));
    std::vector<double> h(801);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> d(-1, 1);
    for (double& v : h)
        v = d(rng);
    PrepareFir::Correlator c;
    QVERIFY(c.build(h.data(), int(h.size()), kN));
    auto ws = c.makeWorkspace();
    QVERIFY(ws);
    std::vector<double> x(signal.begin(), signal.end());
    std::vector<double> y(kN);
    c.apply(*ws, x.data(), y.data());
    double worst = 0;
    for (int i = 0; i < kN; ++i) {
        double sum = 0;
        for (int k = std::max(0, 400 - i); k < 801 && i - 400 + k < kN; ++k) // 801 taps, centred
            sum += h[size_t(k)] * x[size_t(i - 400 + k)];
        worst = std::max(worst, std::abs(sum - y[size_t(i)]));
    }
    QVERIFY2(worst < 1e-7, qPrintable(QString::number(worst)));
    for (const auto& [first, count] : std::vector<std::pair<int, int>>{{0, 1}, {7000, 1200}, {15000, 300}, {39000, 1000}}) {
        int from = 0, to = 0;
        filter.mapWindowInput(kN, first, count, from, to);
        QVERIFY(from <= std::max(0, first - 300) && to >= std::min(kN, first + count + 300));
        std::vector<qint16> input(kN, qint16(-12345)); // what lies outside the inputs must not count
        std::copy(signal.begin() + from, signal.begin() + to, input.begin() + from);
        std::vector<qint16> out(static_cast<size_t>(count));
        QVERIFY(filter.filterMapWindow(input.data(), kN, first, count, out.data()));
        QVERIFY(std::equal(out.begin(), out.end(), whole.begin() + first));

        c.inputSpan(first, count, from, to);
        std::vector<double> xin(kN, std::nan(""));
        std::copy(x.begin() + from, x.begin() + to, xin.begin() + from);
        c.applyWindow(*ws, xin.data(), xin.data(), first, count);
        QVERIFY(std::memcmp(xin.data() + first, y.data() + first, size_t(count) * sizeof(double)) == 0);
    }
    QVERIFY(!filter.filterMapWindow(signal.data(), kN, kN - 10, 11, whole.data()));
}

void TestPipeline::prepareFlatSignalAndGain()
{
    MapData data;
    MapTrace flat = traceOf(std::vector<qint16>(kN, 77)); // sigma 0
    flat.prepared.assign(kN, 5);
    data.setTrace(1, 1, std::move(flat));
    // A strong tone near the end of the record, where the gain is largest.
    std::vector<qint16> tone(kN, 0);
    for (int i = 38001; i < kN; ++i)
        tone[size_t(i)] = qint16(std::lround(8000 * std::sin(2 * 3.141592653589793 * i / 200)));
    data.setTrace(2, 1, traceOf(tone));
    SAFTsettings s;
    s.filterSW = false;
    data.setSAFTsettings(s);
    QVERIFY(data.prepare(0.5));
    // Sigma 0: silence, not NaN cast to 16 bits.
    const std::vector<qint16>& p = data.trace(1, 1)->prepared;
    QVERIFY(std::all_of(p.begin(), p.end(), [](qint16 v) { return v == 0; }));
    const std::vector<qint16> noGain = data.trace(2, 1)->prepared;
    s.tcg = 6;
    data.setSAFTsettings(s);
    QVERIFY(data.prepare(0.5));
    const std::vector<qint16>& gain = data.trace(2, 1)->prepared;
    // G = 10^0.3 × 0.5 ≈ 0.998: the gain falls linearly from 1 at the first sample to G at the last.
    const auto peakAt = size_t(std::max_element(noGain.begin() + 39000, noGain.begin() + 39900) - noGain.begin());
    QVERIFY(noGain[peakAt] > 1000);
    const double factor = 1.0 + (std::pow(10.0, 0.3) * 0.5 - 1.0) / (kN - 1) * double(peakAt);
    QVERIFY(std::abs(gain[peakAt] - noGain[peakAt] * factor) <= 1.0);
    QVERIFY(gain[peakAt] < noGain[peakAt]);
    QCOMPARE(gain[0], noGain[0]);
}

void TestPipeline::prepareFastMatchesReference()
{
    MapData data;
    const MapGeneratorOptions o = smallMap(3, 1);
    for (int i = 1; i <= 3; ++i)
        data.setTrace(i, 1, traceOf(MapGenerator::signal(o, i, 1)));
    for (int frequency : {50, 150}) {
        SAFTsettings s;
        s.frequency = frequency;
        s.tcg = 10;
        data.setSAFTsettings(s);
        QVERIFY(data.prepareReference(0.5));
        std::vector<std::vector<qint16>> ref;
        for (const auto& [key, t] : data.traces())
            ref.push_back(t.prepared);
        QVERIFY(data.prepare(0.5));
        int worst = 0;
        size_t k = 0;
        for (const auto& [key, t] : data.traces()) {
            for (int i = 0; i < kN; ++i)
                worst = std::max(worst, std::abs(t.prepared[size_t(i)] - ref[k][size_t(i)]));
            ++k;
        }
        QVERIFY2(worst <= 1, qPrintable(QStringLiteral("%1 kHz: %2").arg(frequency).arg(worst)));
    }
}

void TestPipeline::straightBelowDelay()
{
    // 1 × 1 map at 10 mm: cell 1 (x = 5 mm) lies straight below the probe at 5 mm. With
    // velocity 2.6 layer 1 is reached at t = 38, sample 157, with full weight.
    MapData data;
    fillPrepared(data, 1, 1, 10, 10, 2, {}, 1);
    std::vector<qint16>& s = data.trace(1, 1)->prepared;
    std::fill(s.begin(), s.end(), qint16(0));
    s[157] = 1000;
    const Saft::Geometry g = geometryOf(data, 5, 5);
    std::vector<double> acc(size_t(g.voxelCount()), 0.0);
    QVERIFY(Saft::accumulateReference(g, signalsOf(data), acc.data()));
    QCOMPARE(acc[0], 1000.0);
    QCOMPARE(acc[1], 0.0);          // layer 2 reads sample 195
    QVERIFY(acc[size_t(1 * 2 * 2)] == 0.0); // cell (2, 1) is 5 mm aside: another delay
    // dim2 = 1: N = 2, and the envelope is |value| × 0.0625.
    Saft::Geometry one = g;
    one.dim2 = 1;
    const double column[4] = {-1000.0, 40.0, 8.0, 7.9};
    qint16 out[4];
    one.dim0 = 2;
    one.dim1 = 2;
    QVERIFY(Saft::envelopeReference(one, column, out));
    QCOMPARE(out[0], qint16(63)); // 62.5 rounds up
    QCOMPARE(out[1], qint16(3));  // 2.5 rounds up
    QCOMPARE(out[2], qint16(1));  // 0.5
    QCOMPARE(out[3], qint16(0));  // 0.49375
}

void TestPipeline::saftFastEqualsReference_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("stepH");
    QTest::addColumn<int>("stepV");
    QTest::addColumn<int>("dim2");
    QTest::addColumn<double>("velocity");
    QTest::addColumn<QList<QPoint>>("missing");
    QTest::newRow("1x1") << 1 << 1 << 10 << 10 << 30 << 2.6 << QList<QPoint>{};
    QTest::newRow("odd steps 12x17") << 3 << 2 << 12 << 17 << 40 << 2.6 << QList<QPoint>{};
    QTest::newRow("steps 23x31, holes") << 5 << 4 << 23 << 31 << 25 << 3.1 << QList<QPoint>{{2, 2}, {5, 1}, {1, 4}};
    QTest::newRow("dim2 = 1") << 4 << 3 << 10 << 10 << 1 << 2.6 << QList<QPoint>{{1, 1}};
    QTest::newRow("tiles cut, 20x3") << 20 << 3 << 10 << 15 << 300 << 5.0 << QList<QPoint>{};
    // Slow sound: the far voxels read past the end of the record, the near ones its start.
    QTest::newRow("beyond the record") << 3 << 3 << 100 << 100 << 130 << 0.31 << QList<QPoint>{};
    QTest::newRow("fast sound") << 3 << 2 << 10 << 10 << 60 << 15.0 << QList<QPoint>{};
}

void TestPipeline::saftFastEqualsReference()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(int, stepH);
    QFETCH(int, stepV);
    QFETCH(int, dim2);
    QFETCH(double, velocity);
    QFETCH(QList<QPoint>, missing);
    MapData data;
    fillPrepared(data, columns, rows, stepH, stepV, dim2, missing, 7, velocity);
    const MapVolumeGrid grid = MapVolumeGrid::compute(columns, rows, stepH, stepV, dim2 * 0.005);
    const Saft::Geometry g = geometryOf(data, grid.pitchX, grid.pitchY);
    const Saft::Signals sig = signalsOf(data);

    std::vector<double> ref(size_t(g.voxelCount()), 0.0);
    QVERIFY(Saft::accumulateReference(g, sig, ref.data()));
    for (int threads : {1, 3}) {
        Vantar::setWorkerThreads(threads);
        std::vector<double> fast(size_t(g.voxelCount()), 0.0);
        QVERIFY(Saft::accumulateFast(g, sig, fast.data()));
        // The same sums in the same order: equal to the last bit.
        QVERIFY(std::memcmp(ref.data(), fast.data(), ref.size() * sizeof(double)) == 0);
        std::fill(fast.begin(), fast.end(), 0.0);
        QVERIFY(Saft::accumulateDirect(g, sig, fast.data()));
        QVERIFY(std::memcmp(ref.data(), fast.data(), ref.size() * sizeof(double)) == 0);
    }
    // Every vector kernel: plain, AVX2 and the best of the machine.
    for (int path : {0, 1, 2}) {
        Saft::setVectorPath(path);
        std::vector<double> fast(size_t(g.voxelCount()), 0.0);
        const bool bOk = Saft::accumulateFast(g, sig, fast.data());
        Saft::setVectorPath(2);
        QVERIFY(bOk);
        QVERIFY2(std::memcmp(ref.data(), fast.data(), ref.size() * sizeof(double)) == 0, Saft::vectorPath());
    }

    QVERIFY(data.processSAFTReference(grid.pitchX, grid.pitchY));
    const std::vector<qint16> refVolume = data.processedVolume();
    QVERIFY(data.processSAFT(grid.pitchX, grid.pitchY));
    QVERIFY(data.processedVolume() == refVolume);
    QVERIFY(std::any_of(refVolume.begin(), refVolume.end(), [](qint16 v) { return v > 0; }));
}

void TestPipeline::saftProgressAndRefusals()
{
    MapData data;
    QVERIFY(!data.processSAFT(5, 5)); // no unprocessed volume
    fillPrepared(data, 3, 2, 10, 10, 10, {{2, 1}}, 3);
    QList<int> values;
    data.setProgressCallback([&](int d, int t) {
        values.append(d);
        return t == 100;
    });
    QVERIFY(data.processSAFT(5, 5));
    QCOMPARE(values, (QList<int>{17, 33, 50, 67, 83, 100}));
    // Stopped, a zero pitch, no or no real velocity: no processed volume.
    data.setProgressCallback([](int d, int) { return d < 50; });
    QVERIFY(!data.processSAFT(5, 5));
    QVERIFY(!data.hasProcessedVolume());
    data.setProgressCallback([](int, int) { return true; });
    QVERIFY(!data.processSAFT(0, 5));
    SAFTsettings s = data.saftSettings();
    for (double velocity : {0.0, std::nan("")}) {
        s.velocity = velocity;
        data.setSAFTsettings(s);
        QVERIFY(!data.processSAFT(5, 5));
        QVERIFY(!data.processSAFTReference(5, 5));
    }
    QVERIFY(!data.hasProcessedVolume());
    // A trace whose prepared array is short is left out rather than read past its end.
    s.velocity = 2.6;
    data.setSAFTsettings(s);
    MapTrace t;
    t.prepared.assign(10, 1000);
    data.setTrace(1, 1, std::move(t));
    QVERIFY(data.processSAFT(5, 5));
}

void TestPipeline::openReportsStepsAndMode()
{
    QTemporaryDir dir;
    QVERIFY(MapGenerator::write(dir.path(), smallMap(2, 1)));
    MapData data;
    RecordingReporter rep;
    MapOpenRequest request;
    request.configPath = dir.filePath("map.cfg");
    request.current.filterSW = false;
    const MapOpenResult r = MapOpener::open(data, request, &rep);
    QVERIFY2(r.loaded && r.processed, qPrintable(r.message));
    QVERIFY(r.message.isEmpty());
    QCOMPARE(rep.titles, (QStringList{"Data Reading / Data reading progress: / ok",
                                      "Data Preparing / Data preparing progress: / ok",
                                      "Data Processing / Data processing progress: / ok"}));
    // Filter SW off: preparing ends at 90.
    QCOMPARE(rep.values, (QList<QList<int>>{{0, 50}, {45, 90}, {50, 100}}));
    // Parameters derived from the settings: window 0 … iWindowEnd, input filter off → 100 %.
    QCOMPARE(r.saft.bandwidth, 100);
    QCOMPARE(data.filter().period(), 200);
    QCOMPARE(r.firstSample, 0);
    QCOMPARE(data.viewingMode(), ProcessedView);
    QVERIFY(data.currentVolume() == data.processedVolume().data());

    // Stopped through the progress: nothing of the map is kept.
    RecordingReporter stopping;
    stopping.stopAfter = 1;
    QVERIFY(MapOpener::open(data, request, &stopping).stopped);
    QVERIFY(data.traces().empty());
    QVERIFY(!data.hasRawVolume());
}

void TestPipeline::openFailsOnBadSignalFiles_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("file missing") << "missing";
    QTest::newRow("short") << "short";
    QTest::newRow("directory") << "directory";
    QTest::newRow("no signals") << "none";
    QTest::newRow("no configuration") << "config";
    QTest::newRow("configuration too short") << "config6";
}

void TestPipeline::openFailsOnBadSignalFiles()
{
    QFETCH(QString, damage);
    QTemporaryDir dir;
    MapGeneratorOptions o = smallMap(3, 2);
    if (damage == "short")
        o.truncated = {{2, 2}};
    QVERIFY(MapGenerator::write(dir.path(), o));
    if (damage == "missing")
        QVERIFY(QFile::remove(dir.filePath("2_1.raw")));
    if (damage == "directory") {
        QVERIFY(QFile::remove(dir.filePath("1_2.raw")));
        QVERIFY(QDir(dir.path()).mkdir("1_2.raw")); // not listed: the position has no signal
    }
    if (damage == "none")
        for (const QString& f : QDir(dir.path()).entryList({"*.raw"}))
            QVERIFY(QFile::remove(dir.filePath(f)));
    if (damage == "config")
        QVERIFY(QFile::remove(dir.filePath("map.cfg")));
    if (damage == "config6")
        QVERIFY(writeBytes(dir.filePath("map.cfg"), QByteArray(6, 3)));

    // Something of an earlier map in MapData: it must not stay visible.
    MapData data;
    fillPrepared(data, 2, 2, 10, 10, 10, {}, 1);
    MapOpenRequest request;
    request.configPath = dir.filePath("map.cfg");
    const MapOpenResult r = MapOpener::open(data, request);
    if (damage == "directory" || damage == "missing") {
        // A position without a file is simply absent from the listing; the map opens.
        QVERIFY2(r.loaded && r.processed, qPrintable(r.message));
        QVERIFY(!data.trace(damage == "missing" ? 2 : 1, damage == "missing" ? 1 : 2));
        QCOMPARE(int(data.traces().size()), 5);
        return;
    }
    QVERIFY(!r.loaded && !r.processed && !r.message.isEmpty());
    QVERIFY(!data.hasRawVolume() && !data.hasProcessedVolume() && !data.currentVolume());
    QVERIFY(data.traces().empty());
    if (damage == "short") {
        QCOMPARE(r.failedFiles, QStringList{dir.path() + "/2_2.raw"});
        QVERIFY(r.message.contains("2_2.raw"));
    }
}

void TestPipeline::openTakesStoredSettingsOnlyWhenTheyFit()
{
    QTemporaryDir dir;
    QVERIFY(MapGenerator::write(dir.path(), smallMap(3, 2)));
    SAFTsettings saved;
    saved.depth = 150; // 30 layers
    saved.frequency = 75;
    MapViewState state;
    state.ranges = MapViewRanges{RawView, 6, 4, 30, {0, 5}, {0, 3}, {0, 29}};
    QVERIFY(writeViewSettingsFile(MapStoredFiles::viewSettingsPath(dir.path()), saved, state));
    MapData data;
    MapStoredFiles stored;
    MapOpenRequest request;
    request.configPath = dir.filePath("map.cfg");
    request.storedFiles = &stored;
    MapOpenResult r = MapOpener::open(data, request);
    QVERIFY2(r.loaded && r.processed && r.savedSettings, qPrintable(r.message));
    QCOMPARE(data.filter().period(), 133); // round(100 × 100 / 75)
    QCOMPARE(data.viewingMode(), RawView); // the stored mode

    // Stored for a volume of another size: not this map's, the derived parameters apply.
    state.ranges = MapViewRanges{ProcessedView, 8, 4, 30, {0, 7}, {0, 3}, {0, 29}};
    QVERIFY(writeViewSettingsFile(MapStoredFiles::viewSettingsPath(dir.path()), saved, state));
    r = MapOpener::open(data, request);
    QVERIFY(r.loaded && !r.savedSettings);
    QVERIFY(!stored.hasStoredViewSettings());
    QCOMPARE(r.saft.frequency, 50);
}

void TestPipeline::reprocessRefusesShallowDepth()
{
    QTemporaryDir dir;
    QVERIFY(MapGenerator::write(dir.path(), smallMap(2, 2)));
    MapData data;
    MapOpenRequest request;
    request.configPath = dir.filePath("map.cfg");
    const MapOpenResult r = MapOpener::open(data, request);
    QVERIFY(r.loaded && r.processed);
    const std::vector<qint16> before = data.processedVolume();
    SAFTsettings s = r.saft;
    s.depth = 7; // 1.4 layers round to 1: refused, nothing changes
    MapProcessResult p = MapOpener::reprocess(data, r.config.settings, r.depthStart, s);
    QVERIFY(!p.accepted && !p.message.isEmpty());
    QVERIFY(data.processedVolume() == before);
    QVERIFY(data.saftSettings() == r.saft);
    s.depth = 8; // 1.6 layers round to 2
    p = MapOpener::reprocess(data, r.config.settings, r.depthStart, s);
    QVERIFY2(p.accepted && p.volumeBuilt && p.processed, qPrintable(p.message));
    QCOMPARE(data.dim2(), 2);
    s.frequency = 100;
    p = MapOpener::reprocess(data, r.config.settings, r.depthStart, s);
    QCOMPARE(data.filter().period(), 100);
    QCOMPARE(data.viewingMode(), ProcessedView);
}

void TestPipeline::keptWindowsGiveWholeSignalVolumes()
{
    // Opening keeps only windows of the signals; the volumes are those of whole signals, also
    // after a deeper run that has to read the files again, which fails once a file changed.
    QTemporaryDir dir;
    MapGeneratorOptions o = smallMap(6, 4);
    o.depth = 400;
    QVERIFY(MapGenerator::write(dir.path(), o));
    MapOpenRequest request;
    request.configPath = dir.filePath("map.cfg");
    request.useStoredSettings = false;
    MapData data;
    auto equalsWholeSignals = [&](int depthMm) {
        MapData whole;
        MapOpenRequest deep = request;
        deep.overrides.depth = depthMm;
        const MapOpenResult r = MapOpener::open(whole, deep);
        QVERIFY(r.processed);
        QVERIFY(data.rawVolume() == whole.rawVolume());
        // Again from the whole signals read without a plan.
        MapData plain;
        plain.setSAFTsettings(r.saft);
        plain.setFilterPeriod(MapOpener::filterPeriod(r.config.settings, r.saft.frequency));
        plain.setSteps(r.config.stepH, r.config.stepV);
        plain.setPositionCount(r.scan.columns, r.scan.rows);
        QVERIFY(plain.readSignals(r.scan.positions));
        QCOMPARE(int(plain.trace(1, 1)->filtered.size()), kN);
        QVERIFY(plain.buildVolume(r.grid.dim0, r.grid.dim1, r.grid.dim2, r.grid.repH, r.grid.repV, r.firstSample,
                                  r.sampleSpan));
        QVERIFY(plain.rawVolume() == whole.rawVolume());
        QVERIFY(plain.prepare(sampleToDepth(r.config.settings, kN)));
        QVERIFY(plain.processSAFT(r.grid.pitchX, r.grid.pitchY));
        QVERIFY(whole.processedVolume() == plain.processedVolume());
        QVERIFY(data.processedVolume() == plain.processedVolume());
    };

    const MapOpenResult r = MapOpener::open(data, request);
    QVERIFY2(r.processed, qPrintable(r.message));
    const MapTrace* t = data.trace(2, 3);
    QVERIFY(t && int(t->filtered.size()) < kN / 2 && int(t->prepared.size()) < kN / 2 && t->raw.empty());
    equalsWholeSignals(r.saft.depth);

    SAFTsettings s = r.saft;
    s.depth = 900;
    MapProcessResult p = MapOpener::reprocess(data, r.config.settings, r.depthStart, s);
    QVERIFY2(p.processed, qPrintable(p.message));
    equalsWholeSignals(900);

    // Another signal in one file: reading it again is refused, nothing wrong is shown.
    std::vector<qint16> other = MapGenerator::signal(o, 2, 3);
    other[100] = qint16(other[100] + 1000);
    QVERIFY(writeBytes(dir.filePath("2_3.raw"), littleEndian(other)));
    s.depth = 1200;
    p = MapOpener::reprocess(data, r.config.settings, r.depthStart, s);
    QVERIFY(!p.volumeBuilt && !p.processed);
    QVERIFY(data.rereadFailed());
    QVERIFY(p.message.contains(QStringLiteral("could not be read again")));
    QVERIFY(!data.hasRawVolume() && !data.hasProcessedVolume());
}

void TestPipeline::nrrdHeaderAndOrder()
{
    // 2 × 3 × 4 with value = 100 i + 10 j + k, in MapData's layout (depth fastest).
    std::vector<qint16> v(24);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 4; ++k)
                v[size_t((i * 3 + j) * 4 + k)] = qint16(100 * i + 10 * j + k - (i == 1 && j == 2 && k == 3 ? 500 : 0));
    NrrdVolume vol;
    vol.values = v.data();
    vol.dim0 = 2;
    vol.dim1 = 3;
    vol.dim2 = 4;
    vol.spacing = {50, 5, 5};
    vol.origin = {50, 5, 2.5};
    vol.comments = {"test"};
    QCOMPARE(NrrdWriter::header(vol), QByteArray("NRRD0004\n# test\ntype: int16\ndimension: 3\nspace dimension: 3\n"
                                                 "sizes: 2 3 4\nspace directions: (50,0,0) (0,5,0) (0,0,5)\n"
                                                 "space units: \"mm\" \"mm\" \"mm\"\nspace origin: (50,5,2.5)\n"
                                                 "encoding: raw\nendian: little\n\n"));
    const QByteArray d = NrrdWriter::data(vol);
    QCOMPARE(d.size(), 48);
    auto at = [&](int n) { return qint16(quint16(quint8(d[2 * n])) | quint16(quint8(d[2 * n + 1]) << 8)); };
    QCOMPARE(at(0), qint16(0));
    QCOMPARE(at(1), qint16(100)); // i fastest
    QCOMPARE(at(2), qint16(10));  // then j
    QCOMPARE(at(6), qint16(1));   // then k
    QCOMPARE(at(23), qint16(123 - 500)); // negative values little-endian
    QTemporaryDir dir;
    QVERIFY(NrrdWriter::write(dir.filePath("v.nrrd"), vol));
    QCOMPARE(TestBytes::readAll(dir.filePath("v.nrrd")), NrrdWriter::header(vol) + d);
    NrrdVolume empty;
    QString error;
    QVERIFY(!NrrdWriter::write(dir.filePath("e.nrrd"), empty, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("e.nrrd")));
}

QTEST_GUILESS_MAIN(TestPipeline)
#include "tst_pipeline.moc"
