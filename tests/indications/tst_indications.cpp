// Indications: the finder on generated maps with known reflectors and against straightforward
// loops, the "indications.json" file with its refusals, CSV, vantar-tool indications, the report.

#include "common/bytes.h"
#include "map/indicationfinder.h"
#include "map/indicationsfile.h"
#include "map/mapgenerator.h"
#include "map/mapreport.h"

#include <QDir>
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
#include <array>
#include <cmath>
#include <random>

#include <sys/stat.h>


namespace {

// Noise of 1000 keeps every sample from clipping, so each peak is the reflector's own.
MapGeneratorOptions generated(int columns, int rows, int step, std::vector<MapReflector> reflectors, double depth,
                              double noise = 1000)
{
    MapGeneratorOptions o;
    o.columns = columns;
    o.rows = rows;
    o.stepH = o.stepV = step;
    o.depth = depth;
    o.noise = noise;
    o.reflectors = std::move(reflectors);
    return o;
}

// The finder written the plain way: every cell against its 26 neighbours, flat tops grown cell by
// cell, every kept indication against every earlier one.
std::vector<MapIndication> reference(const MapVolumeView& v, const MapVoxelFrame& f, const IndicationFinderOptions& o)
{
    using Cell = std::array<int, 3>;
    const qint64 count = qint64(v.dim0) * v.dim1 * v.dim2;
    std::vector<qint16> sorted(v.values, v.values + count);
    std::sort(sorted.begin(), sorted.end());
    const int maximum = sorted.back();
    const int median = sorted[size_t((count - 1) / 2)];
    const double limit = std::max(maximum * std::pow(10.0, o.thresholdDb / 20.0),
                                  median * std::pow(10.0, o.minContrastDb / 20.0));
    const auto cell = [&](qint64 p) {
        return Cell{int(p / (qint64(v.dim1) * v.dim2)), int((p / v.dim2) % v.dim1), int(p % v.dim2)};
    };
    const auto near = [](const Cell& a, const Cell& b) {
        return a != b && std::abs(a[0] - b[0]) <= 1 && std::abs(a[1] - b[1]) <= 1 && std::abs(a[2] - b[2]) <= 1;
    };
    std::vector<bool> taken(size_t(count), false);
    std::vector<std::pair<int, Cell>> tops; // in the order of their first cells
    for (qint64 p = 0; p < count; ++p) {
        if (taken[size_t(p)] || v.values[p] < limit || maximum <= 0)
            continue;
        std::vector<qint64> members{p};
        taken[size_t(p)] = true;
        bool peak = true;
        std::array<double, 3> sum{};
        for (size_t n = 0; n < members.size(); ++n) {
            const Cell m = cell(members[n]);
            for (int a = 0; a < 3; ++a)
                sum[a] += m[a];
            for (qint64 q = 0; q < count; ++q) {
                if (!near(m, cell(q)))
                    continue;
                peak = peak && v.values[q] <= v.values[p];
                if (!taken[size_t(q)] && v.values[q] == v.values[p]) {
                    taken[size_t(q)] = true;
                    members.push_back(q);
                }
            }
        }
        // The member nearest the top's centre, the first in memory order on a tie.
        const auto away = [&](qint64 m) {
            double d = 0;
            for (int a = 0; a < 3; ++a)
                d += std::pow(cell(m)[a] - sum[a] / double(members.size()), 2);
            return d;
        };
        std::sort(members.begin(), members.end());
        const auto nearest =
            std::min_element(members.begin(), members.end(), [&](qint64 a, qint64 b) { return away(a) < away(b); });
        if (peak)
            tops.push_back({v.values[p], cell(*nearest)});
    }
    std::stable_sort(tops.begin(), tops.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<MapIndication> kept;
    std::vector<Cell> keptCells;
    const double d[3] = {o.minDistanceX, o.minDistanceY, o.minDistanceZ};
    for (const auto& [value, c] : tops) {
        const bool close = std::any_of(keptCells.begin(), keptCells.end(), [&](const Cell& k) {
            double sum = 0;
            for (int a = 0; a < 3; ++a) {
                const int delta = c[a] - k[a];
                sum += delta == 0 ? 0.0 : d[a] <= 0 ? 2.0 : std::pow(delta * f.spacing[a] / d[a], 2);
            }
            return sum < 1.0;
        });
        if (close)
            continue;
        if (int(kept.size()) == o.maxCount)
            break;
        kept.push_back(IndicationFinder::measure(v, f, c[0], c[1], c[2], maximum));
        kept.back().number = int(kept.size());
        keptCells.push_back(c);
    }
    return kept;
}

MapIndication sample(int number, const QString& label, const QString& comment, bool manual)
{
    // Values at the edges of what is written: halves, "-0.0", the smallest amplitude.
    return {number, label, comment, 77.5, -0.04, 1234.56789, -32768, -6.0206, 45.25, 0.0, 1e-3, manual};
}

std::vector<MapIndication> written()
{
    return {sample(1, "Crack, \"north\"", "line 1\nline 2 — ещё", false), sample(7, "", "", true)};
}

// A good file with one entry's key changed.
QByteArray withEntry(const char* key, const QJsonValue& value)
{
    QJsonObject root = QJsonDocument::fromJson(IndicationsFile::encode({sample(1, "a", "", false)})).object();
    QJsonObject entry = root["indications"][0].toObject();
    entry[QLatin1String(key)] = value;
    root["indications"] = QJsonArray{entry};
    return QJsonDocument(root).toJson();
}

} // namespace

class TestIndications : public QObject
{
    Q_OBJECT

private slots:
    void reflectorsFound_data();
    void reflectorsFound();
    void sizesGrowWithDepth();
    void finderMatchesPlainLoops_data();
    void finderMatchesPlainLoops();
    void extents_data();
    void extents();
    void fileReadAndRefused_data();
    void fileReadAndRefused();
    void csvQuotesAndRounds();
    void commandLineUsage();
    void reportTable();
};

void TestIndications::reflectorsFound_data()
{
    QTest::addColumn<MapGeneratorOptions>("options");
    QTest::addColumn<double>("level");
    QTest::addColumn<QList<int>>("order"); // reflectors, strongest first

    QTest::newRow("10 mm, three at one depth")
        << generated(40, 30, 10, {{100, 100, 250, 0.5}, {300, 100, 250, 1.0}, {200, 180, 250, 0.75}}, 350) << -10.0
        << QList<int>{1, 2, 0};
    QTest::newRow("100 mm, two") << generated(12, 10, 100, {{350, 450, 300, 1.0}, {850, 250, 300, 0.8}}, 400) << -3.0
                                 << QList<int>{0, 1};
    QTest::newRow("no reflector") << generated(20, 16, 10, {}, 300) << -6.0 << QList<int>{};
    QTest::newRow("no reflector, little noise") << generated(20, 16, 10, {}, 300, 30) << -6.0 << QList<int>{};
}

void TestIndications::reflectorsFound()
{
    QFETCH(MapGeneratorOptions, options);
    QFETCH(double, level);
    QFETCH(QList<int>, order);
    QTemporaryDir dir;
    QVERIFY(MapGenerator::write(dir.path(), options));
    // Through the command line for two maps (the same one twice) and one that cannot be opened:
    // a JSON line for each listed map, one CSV, the failure told and the status 1.
    const QString cfg = dir.filePath(options.name + ".cfg");
    const QString csv = dir.filePath("out.csv");
    const QString threshold = QString::number(level);
    const TestBytes::ToolRun r = TestBytes::runTool(
        {"indications", cfg, dir.filePath("none.cfg"), cfg, "--json", "--csv", csv, "--threshold", threshold});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains("none.cfg"), qPrintable(r.err));
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], lines[1]);
    const QJsonObject o = QJsonDocument::fromJson(lines[0]).object();
    QCOMPARE(o["map"].toString(), cfg);
    const QJsonArray list = o["indications"].toArray();
    QCOMPARE(list.size(), order.size());
    const double cell = options.stepH / 2.0;
    for (qsizetype n = 0; n < list.size(); ++n) {
        const MapReflector& f = options.reflectors[size_t(order[n])];
        const double x = list[n]["x"].toDouble(), y = list[n]["y"].toDouble(), z = list[n]["z"].toDouble();
        QVERIFY2(std::abs(x - f.x) <= cell && std::abs(y - f.y) <= cell && std::abs(z - f.depth) <= 10.0,
                 qPrintable(QStringLiteral("#%1 at %2, %3, %4").arg(n + 1).arg(x).arg(y).arg(z)));
    }
    QVERIFY(list.isEmpty() || list[0]["amplitude"].toInt() == o["maximum"].toInt());
    const QList<QByteArray> rows = TestBytes::readAll(csv).split('\n');
    QCOMPARE(rows.size(), 2 + 2 * int(order.size())); // header, rows, final line break
    QCOMPARE(rows.first() + '\n', IndicationsFile::csvHeader(true));
    QVERIFY(order.empty() || rows[1].startsWith(cfg.toUtf8() + ",1,"));
}

// Under the middle of a map small enough that the map, not the angle, limits the aperture, the
// lateral size grows with depth by about wavelength / (2 · map length) per millimetre (the
// synthetic aperture's focus), while the size in depth, set by the pulse, stays.
void TestIndications::sizesGrowWithDepth()
{
    const int positions = 20;
    const double middle = positions * 10 / 2.0;
    const MapGeneratorOptions options =
        generated(positions, positions, 10, {{middle, middle, 100}, {middle, middle, 250}, {middle, middle, 400}}, 600);
    QTemporaryDir dir;
    QVERIFY(MapGenerator::write(dir.path(), options));
    const TestBytes::ToolRun r =
        TestBytes::runTool({"indications", dir.filePath(options.name + ".cfg"), "--json", "--threshold", "-20"});
    QCOMPARE(r.exitCode, 0);
    QJsonArray list = QJsonDocument::fromJson(r.out).object()["indications"].toArray();
    QCOMPARE(list.size(), 3);
    std::vector<QJsonObject> found;
    for (const QJsonValue& v : list)
        found.push_back(v.toObject());
    std::sort(found.begin(), found.end(),
              [](const QJsonObject& a, const QJsonObject& b) { return a["z"].toDouble() < b["z"].toDouble(); });
    const double wavelength = options.velocity / (options.frequency * 1000.0) * 1000.0; // mm
    const double slope = wavelength / (2.0 * positions * 10);
    for (size_t n = 1; n < found.size(); ++n) {
        const QJsonObject& a = found[n - 1];
        const QJsonObject& b = found[n];
        const double dz = b["z"].toDouble() - a["z"].toDouble();
        for (const char* key : {"sizeX", "sizeY"}) {
            const double grown = (b[key].toDouble() - a[key].toDouble()) / dz;
            QVERIFY2(grown > 0.6 * slope && grown < 1.4 * slope,
                     qPrintable(QStringLiteral("%1: %2 mm/mm against %3").arg(key).arg(grown).arg(slope)));
        }
        QVERIFY(std::abs(b["sizeZ"].toDouble() - a["sizeZ"].toDouble()) < 5.0);
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
    QTest::newRow("no separation") << -20.0 << 0.0 << 0.0 << 1000 << 32767;
    QTest::newRow("depth only") << -20.0 << 0.0 << 30.0 << 1000 << 32767;
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
    // Nine blobs of different sizes over a noisy floor, with three different axis lengths.
    const int n0 = 17, n1 = 13, n2 = 11;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<std::array<double, 5>> blobs; // i, j, k, amplitude, width
    for (int b = 0; b < 9; ++b)
        blobs.push_back({u(rng) * n0, u(rng) * n1, u(rng) * n2, 200 + 800 * u(rng), 0.8 + 2 * u(rng)});
    std::vector<qint16> values(size_t(n0 * n1 * n2));
    for (size_t p = 0; p < values.size(); ++p) {
        const int i = int(p) / (n1 * n2), j = int(p) / n2 % n1, k = int(p) % n2;
        double sum = 20 * u(rng);
        for (const auto& b : blobs) {
            const double r2 = (i - b[0]) * (i - b[0]) + (j - b[1]) * (j - b[1]) + (k - b[2]) * (k - b[2]);
            sum += b[3] * std::exp(-r2 / (2 * b[4] * b[4]));
        }
        values[p] = qint16(std::min(double(clip), std::round(sum)));
    }
    const MapVolumeView v{values.data(), n0, n1, n2};
    const MapVoxelFrame frame{{0, 0, 100}, {5, 7.5, 5}};
    const IndicationFinderOptions o{.thresholdDb = threshold, .minDistanceX = lateral, .minDistanceY = lateral,
                                    .minDistanceZ = depth, .minContrastDb = 0, .maxCount = maxCount};
    const IndicationSearch s = IndicationFinder::find(v, frame, o);
    const std::vector<MapIndication> expected = reference(v, frame, o);
    QVERIFY(!expected.empty());
    QCOMPARE(s.indications, expected);
    QCOMPARE(s.truncated, maxCount == int(expected.size()) && maxCount < 1000);
}

void TestIndications::extents_data()
{
    QTest::addColumn<QList<int>>("profile"); // along X, through the peak
    QTest::addColumn<double>("size");               // in cells

    // Right: 60 ≥ 50 > 20 gives 1 + 10/40; left: 100 ≥ 50 > 40 gives 50/60.
    QTest::newRow("interpolated") << QList<int>{0, 40, 100, 60, 20} << 1.25 + 50.0 / 60.0;
    QTest::newRow("exactly half is the edge") << QList<int>{0, 50, 100, 0} << 1.0 + 0.5;
    QTest::newRow("never falls: to the faces") << QList<int>{90, 100, 80} << 3.0;
}

void TestIndications::extents()
{
    QFETCH(QList<int>, profile);
    QFETCH(double, size);
    // The profile runs along X; along Y and Z the peak stands alone (one cell each).
    const int n0 = int(profile.size()), n1 = 3, n2 = 4;
    std::vector<qint16> values(size_t(n0 * n1 * n2), 0);
    const int peak = int(std::max_element(profile.begin(), profile.end()) - profile.begin());
    for (int i = 0; i < n0; ++i)
        values[size_t((i * n1 + 1) * n2 + 2)] = qint16(profile[size_t(i)]);
    const MapVoxelFrame frame{{0, 0, 0}, {10, 5, 2}};
    const MapIndication ind = IndicationFinder::measure({values.data(), n0, n1, n2}, frame, peak, 1, 2, 200);
    QCOMPARE(ind.sizeX, size * 10);
    QCOMPARE(ind.sizeY, 5.0);
    QCOMPARE(ind.sizeZ, 2.0);
    // The place is the peak cell's centre, the amplitude that cell's value.
    QCOMPARE(ind.x, (peak + 0.5) * 10);
    QCOMPARE(ind.amplitude, 100);
    // The strongest cell of a box clamped to the volume (boxes come from stored view settings
    // too, made for a volume of another depth); none for a box outside it.
    int i = -1, j = -1, k = -1;
    QVERIFY(IndicationFinder::strongestCell({values.data(), n0, n1, n2}, -7, 40, -1, 9, -3, 99, i, j, k));
    QCOMPARE((QList<int>{i, j, k}), (QList<int>{peak, 1, 2}));
    QVERIFY(!IndicationFinder::strongestCell({values.data(), n0, n1, n2}, n0, n0 + 5, 0, 2, 0, 3, i, j, k));
}

void TestIndications::fileReadAndRefused_data()
{
    QTest::addColumn<QString>("place"); // where the file should be: written, bytes, nothing, a folder, a pipe
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<StoredFileStatus>("status");
    QTest::addColumn<QString>("reason"); // empty: nothing said

    const QByteArray good = IndicationsFile::encode(written());
    const QByteArray many = QByteArray("0,").repeated(IndicationsFile::kMaxIndications) + "0";
    const QByteArray ours = R"({"format": "vantar-indications", "version": )";
    const StoredFileStatus bad = StoredFileStatus::Invalid;
    const QString in = QStringLiteral("bytes");
    QTest::newRow("round trip") << "written" << QByteArray() << StoredFileStatus::Loaded << QString();
    QTest::newRow("missing") << "none" << QByteArray() << StoredFileStatus::Missing << QString();
    QTest::newRow("folder") << "folder" << QByteArray() << StoredFileStatus::Unreadable << "indications.json";
    QTest::newRow("pipe") << "pipe" << QByteArray() << StoredFileStatus::Unreadable << "indications.json";
    QTest::newRow("cut short") << in << good.left(good.size() / 2) << bad << "cut short";
    QTest::newRow("empty") << in << QByteArray() << bad << "not an indications file";
    QTest::newRow("other JSON") << in << QByteArray(R"({"format": "x", "version": 1, "indications": []})") << bad
                                << "not an indications file";
    QTest::newRow("newer") << in << ours + R"(2, "indications": []})" << bad << "newer version";
    QTest::newRow("no list") << in << ours + "1}" << bad << "no list";
    QTest::newRow("x as text") << in << withEntry("x", "12") << bad << "\"x\"";
    QTest::newRow("amplitude beyond 16 bits") << in << withEntry("amplitude", 40000) << bad << "\"amplitude\"";
    QTest::newRow("amplitude not whole") << in << withEntry("amplitude", 12.5) << bad << "\"amplitude\"";
    QTest::newRow("level above the maximum") << in << withEntry("db", 3.0) << bad << "\"db\"";
    QTest::newRow("negative size") << in << withEntry("sizeZ", -1.0) << bad << "\"sizeZ\"";
    QTest::newRow("absurd coordinate") << in << withEntry("z", 1e300) << bad << "\"z\"";
    QTest::newRow("number 0") << in << withEntry("number", 0) << bad << "\"number\"";
    const QString longLabel(IndicationsFile::kMaxLabelLength + 1, u'x');
    QTest::newRow("label too long") << in << withEntry("label", longLabel) << bad << "\"label\"";
    QTest::newRow("manual as number") << in << withEntry("manual", 1) << bad << "\"manual\"";
    QTest::newRow("number twice") << in << QByteArray(good).replace("\"number\": 7", "\"number\": 1") << bad << "repeats the number 1";
    QTest::newRow("huge") << in << QByteArray(IndicationsFile::kMaxFileBytes + 1, ' ') << bad << "larger than 8 MB";
    QTest::newRow("too many") << in << ours + "1, \"indications\": [" + many + "]}" << bad
                              << "more than 10000";
}

void TestIndications::fileReadAndRefused()
{
    QFETCH(QString, place);
    QFETCH(QByteArray, bytes);
    QFETCH(StoredFileStatus, status);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = IndicationsFile::path(dir.path());
    QString error;
    if (place == "written")
        QVERIFY2(IndicationsFile::write(path, written(), &error), qPrintable(error));
    else if (place == "bytes")
        QVERIFY(TestBytes::writeBytes(path, bytes));
    else if (place == "folder")
        QVERIFY(QDir(dir.path()).mkpath("indications.json"));
    else if (place == "pipe")
        QVERIFY(::mkfifo(qPrintable(path), 0600) == 0);
    // Refused at once (a pipe is never waited on), the list in memory as it was.
    const std::vector<MapIndication> before{sample(3, "kept", "", true)};
    std::vector<MapIndication> list = before;
    QCOMPARE(IndicationsFile::read(path, list, &error), status);
    QCOMPARE(list, status == StoredFileStatus::Loaded ? written() : before);
    QVERIFY2(reason.isEmpty() ? error.isEmpty() : error.contains(path) && error.contains(reason), qPrintable(error));
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

void TestIndications::commandLineUsage()
{
    for (const QStringList& bad : {QStringList{"indications", "a.cfg", "--threshold", "3"},
                                   QStringList{"indications", "a.cfg", "--min-distance"}, QStringList{"indications"}})
        QCOMPARE(TestBytes::runTool(bad).exitCode, 2);
}

void TestIndications::reportTable()
{
    MapReportData data;
    data.comments = QStringLiteral("Checked twice");
    QVERIFY(!MapReport::writeMapReport(data, QString()).contains(QStringLiteral("Indications")));
    data.indications = {sample(1, QStringLiteral("<b>x</b>"), QStringLiteral("&amp;"), false),
                        sample(2, QString(), QString(), true)};

    // Printed and read back: the table after the comments, user text shown as typed, not as markup.
    QTemporaryDir dir;
    const QString pdfPath = dir.filePath(QStringLiteral("report.pdf"));
    {
        QPdfWriter pdf(pdfPath);
        QTextDocument doc;
        doc.setHtml(MapReport::writeMapReport(data, QString()));
        doc.print(&pdf);
    }
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    if (!p.waitForStarted())
        QSKIP("poppler-utils are not installed");
    QVERIFY(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* expected : {"Indications", "<b>x</b>", "&amp;", "77.5", "1234.6", "-6.0", "45.3", "2*",
                                 "* added by hand"})
        QVERIFY2(text.contains(QLatin1String(expected)), qPrintable(text.mid(text.indexOf("Comments"))));
    QVERIFY(!text.contains(QStringLiteral("-0.0"))); // y = -0.04
    QVERIFY(text.indexOf(QStringLiteral("Checked twice")) < text.indexOf(QStringLiteral("Indications")));
}

// Fonts for printing the report need a GUI application (offscreen).
int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    TestIndications test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_indications.moc"
