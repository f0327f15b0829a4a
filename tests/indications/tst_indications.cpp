// Indications: the finder on generated maps with known reflectors and against straightforward
// loops, the sizes, the "indications.json" file with its refusals, CSV, vantar-tool indications.

#include "map/indicationfinder.h"
#include "map/indicationsfile.h"
#include "map/mapdata.h"
#include "map/mapgenerator.h"
#include "map/mapopener.h"
#include "map/mapreport.h"
#include "map/mapviewgeometry.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <random>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

Q_DECLARE_METATYPE(std::vector<MapReflector>)
Q_DECLARE_METATYPE(std::vector<int>)

namespace {

QString tool()
{
    return QStringLiteral(VANTAR_BIN_DIR "/vantar-tool");
}

// A generated map opened as the window opens it, with the frame of the window's read-outs.
struct OpenMap
{
    MapData data;
    MapOpenResult result;
    MapVoxelFrame frame;
};

MapGeneratorOptions generated(int columns, int rows, int step, std::vector<MapReflector> reflectors, double depth = 600)
{
    MapGeneratorOptions o;
    o.columns = columns;
    o.rows = rows;
    o.stepH = o.stepV = step;
    o.depth = depth;
    o.noise = 1000; // no sample clips, so each peak is the reflector's own
    o.reflectors = std::move(reflectors);
    return o;
}

bool openGenerated(const QString& folder, const MapGeneratorOptions& o, OpenMap& map)
{
    if (!MapGenerator::write(folder, o))
        return false;
    MapOpenRequest request;
    request.configPath = folder + "/" + o.name + ".cfg";
    map.result = MapOpener::open(map.data, request);
    const MapOpenResult& r = map.result;
    MapViewGeometry g;
    g.setMap(r.scan.columns, r.scan.rows, r.config.stepH, r.config.stepV, r.depthStart, r.depthRange);
    map.frame = MapVoxelFrame::of(g);
    return r.loaded && r.processed;
}

// The finder written the plain way: every cell against its 26 neighbours, flat tops found by
// growing them cell by cell, every kept indication against every earlier one.
std::vector<MapIndication> reference(const MapVolumeView& v, const MapVoxelFrame& f, const IndicationFinderOptions& o)
{
    const int n0 = v.dim0, n1 = v.dim1, n2 = v.dim2;
    const qint64 count = qint64(n0) * n1 * n2;
    std::vector<qint16> sorted(v.values, v.values + count);
    std::sort(sorted.begin(), sorted.end());
    const int maximum = sorted.back();
    const int median = sorted[size_t((count - 1) / 2)];
    const double limit = std::max(maximum * std::pow(10.0, o.thresholdDb / 20.0),
                                  median * std::pow(10.0, o.minContrastDb / 20.0));
    auto idx = [&](int i, int j, int k) { return (qint64(i) * n1 + j) * n2 + k; };
    auto near = [&](int i, int j, int k, int a, int b, int e) {
        return std::abs(a - i) <= 1 && std::abs(b - j) <= 1 && std::abs(e - k) <= 1 && (a != i || b != j || e != k);
    };
    struct Top
    {
        int value;
        qint64 first;
        int i, j, k;
    };
    std::vector<int> component(size_t(count), -1);
    std::vector<Top> tops;
    for (qint64 p = 0; p < count; ++p) {
        if (component[size_t(p)] >= 0 || v.values[p] < limit || maximum <= 0)
            continue;
        // The cells of equal value connected to p.
        std::vector<qint64> members{p};
        component[size_t(p)] = int(tops.size());
        for (bool grown = true; grown;) {
            grown = false;
            for (qint64 q = 0; q < count; ++q) {
                if (component[size_t(q)] >= 0 || v.values[q] != v.values[p])
                    continue;
                const int qi = int(q / (qint64(n1) * n2)), qj = int((q / n2) % n1), qk = int(q % n2);
                for (qint64 m : members) {
                    const int mi = int(m / (qint64(n1) * n2)), mj = int((m / n2) % n1), mk = int(m % n2);
                    if (near(mi, mj, mk, qi, qj, qk)) {
                        component[size_t(q)] = int(tops.size());
                        members.push_back(q);
                        grown = true;
                        break;
                    }
                }
            }
        }
        bool peak = true;
        double si = 0, sj = 0, sk = 0;
        for (qint64 m : members) {
            const int mi = int(m / (qint64(n1) * n2)), mj = int((m / n2) % n1), mk = int(m % n2);
            si += mi;
            sj += mj;
            sk += mk;
            for (int a = 0; a < n0; ++a)
                for (int b = 0; b < n1; ++b)
                    for (int e = 0; e < n2; ++e)
                        if (near(mi, mj, mk, a, b, e) && v.values[idx(a, b, e)] > v.values[m])
                            peak = false;
        }
        std::sort(members.begin(), members.end());
        Top t{v.values[p], members.front(), 0, 0, 0};
        const double c = double(members.size());
        double best = -1;
        for (qint64 m : members) {
            const int mi = int(m / (qint64(n1) * n2)), mj = int((m / n2) % n1), mk = int(m % n2);
            const double d = (mi - si / c) * (mi - si / c) + (mj - sj / c) * (mj - sj / c) + (mk - sk / c) * (mk - sk / c);
            if (best < 0 || d < best) {
                best = d;
                t.i = mi;
                t.j = mj;
                t.k = mk;
            }
        }
        tops.push_back(peak ? t : Top{-1, 0, 0, 0, 0});
    }
    std::stable_sort(tops.begin(), tops.end(),
                     [](const Top& a, const Top& b) { return a.value != b.value ? a.value > b.value : a.first < b.first; });
    std::vector<MapIndication> kept;
    std::vector<Top> keptTops;
    const double d[3] = {o.minDistanceX, o.minDistanceY, o.minDistanceZ};
    for (const Top& t : tops) {
        if (t.value < 0)
            continue;
        bool close = false;
        for (const Top& k : keptTops) {
            const int delta[3] = {t.i - k.i, t.j - k.j, t.k - k.k};
            double sum = 0;
            for (int a = 0; a < 3; ++a)
                sum += delta[a] == 0 ? 0.0 : d[a] <= 0 ? 2.0 : std::pow(delta[a] * f.spacing[a] / d[a], 2);
            close = close || sum < 1.0;
        }
        if (close)
            continue;
        if (int(kept.size()) == o.maxCount)
            break;
        MapIndication ind = IndicationFinder::measure(v, f, t.i, t.j, t.k, maximum);
        ind.number = int(kept.size()) + 1;
        kept.push_back(ind);
        keptTops.push_back(t);
    }
    return kept;
}

MapIndication sample(int number, const QString& label, const QString& comment, bool manual)
{
    MapIndication i;
    i.number = number;
    i.label = label;
    i.comment = comment;
    i.x = 77.5;
    i.y = -0.04;
    i.z = 1234.56789;
    i.amplitude = -32768;
    i.db = -6.0206;
    i.sizeX = 45.25;
    i.sizeY = 0.0;
    i.sizeZ = 1e-3;
    i.manual = manual;
    return i;
}

QByteArray withEntry(const char* key, const QJsonValue& value)
{
    QJsonObject root = QJsonDocument::fromJson(IndicationsFile::encode({sample(1, "a", "", false)})).object();
    QJsonArray list = root["indications"].toArray();
    QJsonObject entry = list[0].toObject();
    if (value.isUndefined())
        entry.remove(QLatin1String(key));
    else
        entry[QLatin1String(key)] = value;
    list[0] = entry;
    root["indications"] = list;
    return QJsonDocument(root).toJson();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestIndications : public QObject
{
    Q_OBJECT

private slots:
    void reflectorsFound_data();
    void reflectorsFound();
    void sizesGrowWithDepth_data();
    void sizesGrowWithDepth();
    void finderMatchesPlainLoops_data();
    void finderMatchesPlainLoops();
    void extents_data();
    void extents();
    void strongestCell_data();
    void strongestCell();
    void fileRoundTrip();
    void fileRefused_data();
    void fileRefused();
    void csvQuotesAndRounds();
    void commandLine();
    void reportTable();
};

void TestIndications::reflectorsFound_data()
{
    QTest::addColumn<MapGeneratorOptions>("options");
    QTest::addColumn<double>("threshold");
    QTest::addColumn<std::vector<int>>("order"); // reflectors, strongest first

    QTest::newRow("10 mm, three at one depth")
        << generated(40, 30, 10, {{100, 100, 250, 0.5}, {300, 100, 250, 1.0}, {200, 180, 250, 0.75}}, 350) << -10.0
        << std::vector<int>{1, 2, 0};
    QTest::newRow("100 mm, two") << generated(12, 10, 100, {{350, 450, 300, 1.0}, {850, 250, 300, 0.8}}, 400) << -3.0
                                 << std::vector<int>{0, 1};
    QTest::newRow("no reflector") << generated(20, 16, 10, {}, 300) << -6.0 << std::vector<int>{};
    MapGeneratorOptions quiet = generated(20, 16, 10, {}, 300);
    quiet.noise = 30;
    QTest::newRow("no reflector, little noise") << quiet << -6.0 << std::vector<int>{};
}

void TestIndications::reflectorsFound()
{
    QFETCH(MapGeneratorOptions, options);
    QFETCH(double, threshold);
    QFETCH(std::vector<int>, order);
    QTemporaryDir dir;
    OpenMap map;
    QVERIFY(openGenerated(dir.path(), options, map));
    IndicationFinderOptions o = IndicationFinderOptions::forSteps(options.stepH, options.stepV);
    o.thresholdDb = threshold;
    const IndicationSearch s = IndicationFinder::find(map.data, ProcessedView, map.frame, o);
    QCOMPARE(s.indications.size(), order.size());
    const double cell = map.frame.spacing[0];
    for (size_t n = 0; n < order.size(); ++n) {
        const MapIndication& ind = s.indications[n];
        const MapReflector& r = options.reflectors[size_t(order[n])];
        QCOMPARE(ind.number, int(n) + 1);
        QVERIFY2(std::abs(ind.x - r.x) <= cell && std::abs(ind.y - r.y) <= cell && std::abs(ind.z - r.depth) <= 10.0,
                 qPrintable(QStringLiteral("#%1 at %2, %3, %4").arg(n + 1).arg(ind.x).arg(ind.y).arg(ind.z)));
        // The place names the cell the value came from.
        QCOMPARE(ind.amplitude, int(map.data.processedVolume()[size_t(
                                    MapData::voxelIndex(map.data.dim1(), map.data.dim2(), map.frame.cellOf(0, ind.x),
                                                        map.frame.cellOf(1, ind.y), map.frame.cellOf(2, ind.z)))]));
        QVERIFY(ind.db >= threshold);
        if (n > 0)
            QVERIFY(ind.amplitude <= s.indications[n - 1].amplitude);
    }
    if (!order.empty())
        QCOMPARE(s.indications.front().db, 0.0);
}

void TestIndications::sizesGrowWithDepth_data()
{
    QTest::addColumn<int>("positions");
    // Reflectors under the middle of maps small enough that the map, not the angle, limits the
    // aperture: the lateral size then grows with depth by about wavelength / (2 · map length)
    // per millimetre (the synthetic aperture's focus), while the size in depth, set by the
    // pulse, stays.
    QTest::newRow("200 mm map") << 20;
    QTest::newRow("160 mm map") << 16;
}

void TestIndications::sizesGrowWithDepth()
{
    QFETCH(int, positions);
    const double middle = positions * 10 / 2.0;
    const std::vector<MapReflector> reflectors{{middle, middle, 100}, {middle, middle, 250}, {middle, middle, 400}};
    QTemporaryDir dir;
    OpenMap map;
    const MapGeneratorOptions options = generated(positions, positions, 10, reflectors);
    QVERIFY(openGenerated(dir.path(), options, map));
    IndicationFinderOptions o = IndicationFinderOptions::forSteps(10, 10);
    o.thresholdDb = -20;
    IndicationSearch s = IndicationFinder::find(map.data, ProcessedView, map.frame, o);
    QCOMPARE(s.indications.size(), size_t(3));
    std::sort(s.indications.begin(), s.indications.end(),
              [](const MapIndication& a, const MapIndication& b) { return a.z < b.z; });
    for (size_t n = 0; n < 3; ++n) {
        const MapIndication& ind = s.indications[n];
        QVERIFY(std::abs(ind.x - middle) <= 5.0 && std::abs(ind.y - middle) <= 5.0);
        QVERIFY(std::abs(ind.z - reflectors[n].depth) <= 10.0);
    }
    const double wavelength = options.velocity / (options.frequency * 1000.0) * 1000.0; // mm
    const double slope = wavelength / (2.0 * positions * 10);
    for (int n = 1; n < 3; ++n) {
        const MapIndication& a = s.indications[size_t(n - 1)];
        const MapIndication& b = s.indications[size_t(n)];
        for (double grown : {(b.sizeX - a.sizeX) / (b.z - a.z), (b.sizeY - a.sizeY) / (b.z - a.z)})
            QVERIFY2(grown > 0.6 * slope && grown < 1.4 * slope,
                     qPrintable(QStringLiteral("%1 mm/mm against %2").arg(grown).arg(slope)));
        QVERIFY(std::abs(b.sizeZ - a.sizeZ) < 5.0);
    }
}

void TestIndications::finderMatchesPlainLoops_data()
{
    QTest::addColumn<double>("threshold");
    QTest::addColumn<double>("lateral");
    QTest::addColumn<double>("depth");
    QTest::addColumn<int>("maxCount");
    QTest::addColumn<int>("clip"); // values above are cut to it: flat tops

    QTest::newRow("defaults") << -6.0 << 10.0 << 20.0 << 1000 << 32767;
    QTest::newRow("deep threshold, close") << -30.0 << 3.0 << 7.0 << 1000 << 32767;
    QTest::newRow("no separation") << -20.0 << 0.0 << 0.0 << 1000 << 32767;
    QTest::newRow("depth only") << -20.0 << 0.0 << 30.0 << 1000 << 32767;
    QTest::newRow("wide apart") << -40.0 << 60.0 << 50.0 << 1000 << 32767;
    QTest::newRow("flat tops") << -20.0 << 10.0 << 20.0 << 1000 << 700;
    QTest::newRow("at most four") << -40.0 << 5.0 << 5.0 << 4 << 32767;
}

void TestIndications::finderMatchesPlainLoops()
{
    QFETCH(double, threshold);
    QFETCH(double, lateral);
    QFETCH(double, depth);
    QFETCH(int, maxCount);
    QFETCH(int, clip);
    // Blobs of different sizes over a noisy floor, with three different axis lengths.
    const int n0 = 17, n1 = 13, n2 = 11;
    std::vector<qint16> values(size_t(n0 * n1 * n2));
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    struct Blob
    {
        double i, j, k, a, w;
    };
    std::vector<Blob> blobs;
    for (int b = 0; b < 9; ++b)
        blobs.push_back({u(rng) * n0, u(rng) * n1, u(rng) * n2, 200 + 800 * u(rng), 0.8 + 2 * u(rng)});
    for (int i = 0; i < n0; ++i)
        for (int j = 0; j < n1; ++j)
            for (int k = 0; k < n2; ++k) {
                double sum = 20 * u(rng);
                for (const Blob& b : blobs) {
                    const double r2 = (i - b.i) * (i - b.i) + (j - b.j) * (j - b.j) + (k - b.k) * (k - b.k);
                    sum += b.a * std::exp(-r2 / (2 * b.w * b.w));
                }
                values[size_t((i * n1 + j) * n2 + k)] = qint16(std::min(double(clip), std::round(sum)));
            }
    const MapVolumeView v{values.data(), n0, n1, n2};
    MapVoxelFrame frame;
    frame.origin = {0, 0, 100};
    frame.spacing = {5, 7.5, 5};
    IndicationFinderOptions o;
    o.thresholdDb = threshold;
    o.minDistanceX = o.minDistanceY = lateral;
    o.minDistanceZ = depth;
    o.maxCount = maxCount;
    o.minContrastDb = 0;
    const IndicationSearch s = IndicationFinder::find(v, frame, o);
    const std::vector<MapIndication> expected = reference(v, frame, o);
    QVERIFY(!expected.empty());
    QCOMPARE(s.indications, expected);
    QCOMPARE(s.truncated, maxCount == int(expected.size()) && maxCount < 1000);
}

void TestIndications::extents_data()
{
    QTest::addColumn<std::vector<int>>("profile"); // along X, through the peak
    QTest::addColumn<double>("size");               // in cells

    // Right: 60 ≥ 50 > 20 gives 1 + 10/40; left: 100 ≥ 50 > 40 gives 50/60.
    QTest::newRow("interpolated") << std::vector<int>{0, 40, 100, 60, 20} << 1.25 + 50.0 / 60.0;
    // A cell at exactly half is the edge itself.
    QTest::newRow("exactly half") << std::vector<int>{0, 50, 100, 0} << 1.0 + 0.5;
    QTest::newRow("one cell") << std::vector<int>{0, 100, 0} << 1.0;
    QTest::newRow("never falls: to the volume's faces") << std::vector<int>{90, 100, 80} << 3.0;
}

void TestIndications::extents()
{
    QFETCH(std::vector<int>, profile);
    QFETCH(double, size);
    // The profile runs along X; along Y and Z the peak stands alone (one cell each).
    const int n0 = int(profile.size()), n1 = 3, n2 = 4;
    std::vector<qint16> values(size_t(n0 * n1 * n2), 0);
    const int peak = int(std::max_element(profile.begin(), profile.end()) - profile.begin());
    for (int i = 0; i < n0; ++i)
        values[size_t((i * n1 + 1) * n2 + 2)] = qint16(profile[size_t(i)]);
    MapVoxelFrame frame;
    frame.spacing = {10, 5, 2};
    const MapIndication ind = IndicationFinder::measure({values.data(), n0, n1, n2}, frame, peak, 1, 2, 200);
    QCOMPARE(ind.sizeX, size * 10);
    QCOMPARE(ind.sizeY, 5.0);
    QCOMPARE(ind.sizeZ, 2.0);
    QCOMPARE(ind.x, (peak + 0.5) * 10);
    QCOMPARE(ind.db, 20 * std::log10(100.0 / 200));
}

void TestIndications::strongestCell_data()
{
    QTest::addColumn<QList<int>>("box"); // i0, i1, j0, j1, k0, k1
    QTest::addColumn<bool>("found");
    QTest::addColumn<QList<int>>("cell");

    // The volume's largest value 9 lies at (3, 1, 4), 8 at (0, 0, 0).
    QTest::newRow("whole volume") << QList<int>{0, 4, 0, 2, 0, 5} << true << QList<int>{3, 1, 4};
    QTest::newRow("box past every face") << QList<int>{-7, 40, -1, 9, -3, 99} << true << QList<int>{3, 1, 4};
    QTest::newRow("box without the 9") << QList<int>{-2, 2, 0, 2, 0, 5} << true << QList<int>{0, 0, 0};
    QTest::newRow("box outside") << QList<int>{5, 9, 0, 2, 0, 5} << false << QList<int>{};
    QTest::newRow("box turned round") << QList<int>{3, 1, 0, 2, 0, 5} << false << QList<int>{};
}

void TestIndications::strongestCell()
{
    QFETCH(QList<int>, box);
    QFETCH(bool, found);
    QFETCH(QList<int>, cell);
    std::vector<qint16> values(5 * 3 * 6, 1);
    values[size_t((3 * 3 + 1) * 6 + 4)] = 9;
    values[0] = 8;
    int i = -1, j = -1, k = -1;
    QCOMPARE(IndicationFinder::strongestCell({values.data(), 5, 3, 6}, box[0], box[1], box[2], box[3], box[4], box[5], i,
                                             j, k),
             found);
    if (found)
        QCOMPARE((QList<int>{i, j, k}), cell);
}

void TestIndications::fileRoundTrip()
{
    QTemporaryDir dir;
    const std::vector<MapIndication> list{sample(1, "Crack, \"north\"", "line 1\nline 2 — ещё", false),
                                          sample(7, "", "", true)};
    const QString path = IndicationsFile::path(dir.path());
    QString error;
    QVERIFY2(IndicationsFile::write(path, list, &error), qPrintable(error));
    std::vector<MapIndication> read;
    QCOMPARE(IndicationsFile::read(path, read, &error), StoredFileStatus::Loaded);
    QCOMPARE(read, list);
    // An empty list is a list too; a missing file changes nothing and says nothing.
    QVERIFY(IndicationsFile::write(path, {}));
    QCOMPARE(IndicationsFile::read(path, read), StoredFileStatus::Loaded);
    QVERIFY(read.empty());
    read = list;
    error.clear();
    QCOMPARE(IndicationsFile::read(dir.filePath("none.json"), read, &error), StoredFileStatus::Missing);
    QCOMPARE(read, list);
    QVERIFY(error.isEmpty());
    // A folder or a pipe where the file should be is refused at once.
    QVERIFY(QDir(dir.path()).mkpath("folder/indications.json"));
    QStringList notFiles{dir.filePath("folder/indications.json")};
#ifdef Q_OS_UNIX
    QVERIFY(QDir(dir.path()).mkpath("pipe"));
    QVERIFY(::mkfifo(qPrintable(dir.filePath("pipe/indications.json")), 0600) == 0);
    notFiles << dir.filePath("pipe/indications.json");
#endif
    for (const QString& path : notFiles) {
        QCOMPARE(IndicationsFile::read(path, read, &error), StoredFileStatus::Unreadable);
        QVERIFY(error.contains(path));
        QCOMPARE(read, list);
    }
}

void TestIndications::fileRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    const QByteArray good = IndicationsFile::encode({sample(1, "a", "b", false), sample(2, "c", "d", true)});
    QTest::newRow("cut short") << good.left(good.size() / 2) << "cut short";
    QTest::newRow("empty") << QByteArray() << "not an indications file";
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << "not an indications file";
    QTest::newRow("other JSON") << QByteArray(R"({"format": "something", "version": 1, "indications": []})")
                                << "not an indications file";
    QTest::newRow("JSON array") << QByteArray("[1, 2]") << "not an indications file";
    QTest::newRow("newer") << QByteArray(R"({"format": "vantar-indications", "version": 2, "indications": []})")
                           << "newer version";
    QTest::newRow("no list") << QByteArray(R"({"format": "vantar-indications", "version": 1})") << "no list";
    QTest::newRow("x as text") << withEntry("x", "12") << "\"x\"";
    QTest::newRow("no y") << withEntry("y", QJsonValue::Undefined) << "\"y\"";
    QTest::newRow("amplitude beyond 16 bits") << withEntry("amplitude", 40000) << "\"amplitude\"";
    QTest::newRow("amplitude not whole") << withEntry("amplitude", 12.5) << "\"amplitude\"";
    QTest::newRow("level above the maximum") << withEntry("db", 3.0) << "\"db\"";
    QTest::newRow("negative size") << withEntry("sizeZ", -1.0) << "\"sizeZ\"";
    QTest::newRow("absurd coordinate") << withEntry("z", 1e300) << "\"z\"";
    QTest::newRow("number 0") << withEntry("number", 0) << "\"number\"";
    QTest::newRow("label too long") << withEntry("label", QString(IndicationsFile::kMaxLabelLength + 1, u'x'))
                                    << "\"label\"";
    QTest::newRow("manual as number") << withEntry("manual", 1) << "\"manual\"";
    QByteArray twice = good;
    twice.replace("\"number\": 2", "\"number\": 1");
    QTest::newRow("number twice") << twice << "repeats the number 1";
    QJsonArray many;
    for (int n = 0; n <= IndicationsFile::kMaxIndications; ++n)
        many.append(n);
    QTest::newRow("huge") << QByteArray(IndicationsFile::kMaxFileBytes + 1, ' ') << "larger than 8 MB";
    QTest::newRow("too many") << QJsonDocument(QJsonObject{{"format", "vantar-indications"}, {"version", 1},
                                                           {"indications", many}})
                                     .toJson(QJsonDocument::Compact)
                              << "more than 10000";
}

void TestIndications::fileRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = IndicationsFile::path(dir.path());
    QVERIFY(writeBytes(path, bytes));
    const std::vector<MapIndication> before{sample(3, "kept", "", true)};
    std::vector<MapIndication> list = before;
    QString error;
    QCOMPARE(IndicationsFile::read(path, list, &error), StoredFileStatus::Invalid);
    QCOMPARE(list, before);
    QVERIFY2(error.contains(path) && error.contains(reason), qPrintable(error));
}

void TestIndications::csvQuotesAndRounds()
{
    const std::vector<MapIndication> list{sample(1, "Crack, \"north\"", "two\nlines", false), sample(2, " x", "", true)};
    const QString map = QStringLiteral("a,b.cfg");
    QCOMPARE(IndicationsFile::csvHeader(true) + IndicationsFile::csvRows(list, &map),
             QByteArray("map,number,label,x,y,z,amplitude,db,sizeX,sizeY,sizeZ,manual,comment\n"
                        "\"a,b.cfg\",1,\"Crack, \"\"north\"\"\",77.5,0.0,1234.6,-32768,-6.0,45.3,0.0,0.0,false,\"two\nlines\"\n"
                        "\"a,b.cfg\",2,\" x\",77.5,0.0,1234.6,-32768,-6.0,45.3,0.0,0.0,true,\n"));
}

void TestIndications::commandLine()
{
    QTemporaryDir dir;
    const MapGeneratorOptions options =
        generated(24, 16, 10, {{60, 40, 150, 1.0}, {180, 120, 200, 0.7}}, 300);
    OpenMap map;
    QVERIFY(openGenerated(dir.filePath("map"), options, map));
    const IndicationSearch s =
        IndicationFinder::find(map.data, ProcessedView, map.frame, IndicationFinderOptions::forSteps(10, 10));
    QVERIFY(!s.indications.empty());

    // Two maps (the same one twice): one JSON line each, one CSV with a map column.
    const QString cfg = dir.filePath("map/map.cfg");
    const QString csvPath = dir.filePath("out.csv");
    QProcess p;
    p.start(tool(), {"indications", cfg, cfg, "--json", "--csv", csvPath});
    QVERIFY(p.waitForFinished(120000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    const QList<QByteArray> lines = p.readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    for (const QByteArray& line : lines) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        QCOMPARE(o["map"].toString(), cfg);
        const QJsonArray list = o["indications"].toArray();
        QCOMPARE(list.size(), qsizetype(s.indications.size()));
        for (qsizetype n = 0; n < list.size(); ++n) {
            const QJsonObject e = list[n].toObject();
            const MapIndication& ind = s.indications[size_t(n)];
            QCOMPARE(e["x"].toDouble(), std::round(ind.x * 10) / 10);
            QCOMPARE(e["z"].toDouble(), std::round(ind.z * 10) / 10);
            QCOMPARE(e["amplitude"].toInt(), ind.amplitude);
            QCOMPARE(e["sizeY"].toDouble(), std::round(ind.sizeY * 10) / 10);
        }
    }
    QFile csv(csvPath);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(), IndicationsFile::csvHeader(true) + IndicationsFile::csvRows(s.indications, &cfg)
                                + IndicationsFile::csvRows(s.indications, &cfg));

    // A map that fails makes the status 1 while the others are listed; bad usage is 2.
    p.start(tool(), {"indications", dir.filePath("none.cfg"), cfg});
    QVERIFY(p.waitForFinished(120000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(p.readAllStandardOutput().contains("X mm"));
    QVERIFY(p.readAllStandardError().contains("none.cfg"));
    for (const QStringList& bad : {QStringList{"indications", cfg, "--threshold", "3"},
                                   QStringList{"indications", cfg, "--min-distance"}, QStringList{"indications"}}) {
        p.start(tool(), bad);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 2);
    }
}

void TestIndications::reportTable()
{
    MapReportData data;
    data.title = MapReport::titleFor(QStringLiteral("Pier"), QString());
    data.comments = QStringLiteral("Checked twice");
    QVERIFY(!MapReport::writeMapReport(data, QString()).contains(QStringLiteral("Indications")));
    data.indications = {sample(1, QStringLiteral("<b>x</b>"), QStringLiteral("&amp;"), false),
                        sample(2, QString(), QString(), true)};
    const QString html = MapReport::writeMapReport(data, QString());
    // User text is shown as typed, never read as markup; the table follows the comments.
    QVERIFY(!html.contains(QStringLiteral("<b>x")));
    QVERIFY(html.indexOf(QStringLiteral("Checked twice")) < html.indexOf(QStringLiteral("Indications")));

    QTemporaryDir dir;
    const QString pdfPath = dir.filePath(QStringLiteral("report.pdf"));
    {
        QPdfWriter pdf(pdfPath);
        QTextDocument doc;
        doc.setHtml(html);
        doc.print(&pdf);
    }
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    if (!p.waitForStarted())
        QSKIP("poppler-utils are not installed");
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString& expected :
         {QStringLiteral("Indications"), QStringLiteral("<b>x</b>"), QStringLiteral("&amp;"),
          QStringLiteral("77.5"), QStringLiteral("1234.6"), QStringLiteral("-6.0"), QStringLiteral("45.3"),
          QStringLiteral("2*"), QStringLiteral("* added by hand")})
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" | ") + text.mid(text.indexOf("Comments"))));
    QVERIFY(!text.contains(QStringLiteral("-0.0"))); // y = -0.04
}

// Fonts for printing the report need a GUI application (offscreen).
int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    TestIndications test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_indications.moc"
