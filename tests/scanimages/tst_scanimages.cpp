#include "map/mapplane.h"
#include "map/mapviewgeometry.h"
#include "mapview/ascanplot.h"
#include "mapview/colorscalepicture.h"
#include "mapview/mappalette.h"
#include "mapview/scanimage.h"

#include <QGuiApplication>
#include <QTest>

#include <numeric>

// Scan images and A-scan plots without widgets. What the frames make of them on screen and in
// the clipboard is the frames' test; these check every pixel against the samples.

namespace {

quint16 pixel565(const QImage& image, int x, int y)
{
    return reinterpret_cast<const quint16*>(image.constScanLine(y))[x];
}

quint16 entry565(int i)
{
    return MapPalette::colours565()[size_t(i)];
}

//! A plane whose neighbouring points get well separated colours (16 entries apart and more).
std::vector<qint16> patternPlane(int columns, int rows)
{
    std::vector<qint16> s(size_t(columns) * size_t(rows));
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            s[size_t(c) * size_t(rows) + size_t(r)] = qint16(((c * 7 + r * 13) % 16) * 16);
    return s;
}

int greenInRow(const QImage& image, int y)
{
    int n = 0;
    for (int x = 0; x < image.width(); ++x)
        n += image.pixel(x, y) == qRgb(0, 255, 0);
    return n;
}

} // namespace

class TestScanImages : public QObject
{
    Q_OBJECT

private slots:
    void paletteEntries_data();
    void paletteEntries();
    void rgb565MatchesQImage();

    void samplesMapToEntries();
    void thresholdChangesOnlyPixelsBelowIt();
    void thresholdLevelRounding_data();
    void thresholdLevelRounding();
    void brightness_data();
    void brightness();
    void planesEmptyRefusedAndCleared();

    void zoomAndPan_data();
    void zoomAndPan();

    void plotIndexMapStaysInsideTheSignal();
    void plotFewerSamplesGiveSmoothedStaircase();
    void plotMoreSamplesKeepPeaksAndTheDeepestSamples();
    void plotGainFloorsAndRectifies();
    void plotBarsRoundToTheirPixel();
    void plotGridAtMultiplesOfTheStep();

    void colourScaleGeometry();
};

void TestScanImages::paletteEntries_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("0 black") << 0 << qRgb(0, 0, 0);
    QTest::newRow("31") << 31 << qRgb(0, 0, 123);  // 127·31/31.875 = 123.5
    QTest::newRow("32 stop 1") << 32 << qRgb(0, 0, 127);
    QTest::newRow("100") << 100 << qRgb(0, 143, 255); // 127 + 128·4/31.875 = 143.06
    QTest::newRow("170 falling") << 170 << qRgb(0, 255, 87); // 127 − 39.84 = 87.16
    QTest::newRow("224 stop 7") << 224 << qRgb(255, 255, 0);
    QTest::newRow("255 never red") << 255 << qRgb(255, 7, 0);
}

void TestScanImages::paletteEntries()
{
    QFETCH(int, index);
    QTEST(MapPalette::colours()[size_t(index)], "colour");
    QCOMPARE(MapPalette::colour(-5), MapPalette::colours()[0]);
    QCOMPARE(MapPalette::colour(999), MapPalette::colours()[255]);
}

void TestScanImages::rgb565MatchesQImage()
{
    QImage image(256, 1, QImage::Format_RGB16);
    for (int i = 0; i < 256; ++i)
        image.setPixel(i, 0, MapPalette::colours()[size_t(i)]);
    for (int i = 0; i < 256; ++i)
        QCOMPARE(pixel565(image, i, 0), entry565(i));
}

void TestScanImages::samplesMapToEntries()
{
    // Threshold 0 and 0 dB: values 0…255 are entries 0…255, larger ones the top, negative ones black.
    std::vector<qint16> s(260);
    std::iota(s.begin(), s.end(), qint16(0));
    s[256] = 300;
    s[257] = 32767;
    s[258] = -1;
    s[259] = -32768;
    ScanImage image;
    QVERIFY(image.setData(s.data(), 260, 1));
    const QImage& raw = image.rawImage();
    QCOMPARE(raw.size(), QSize(260, 1));
    QCOMPARE(raw.format(), QImage::Format_RGB16);
    for (int i = 0; i < 256; ++i)
        QCOMPARE(pixel565(raw, i, 0), entry565(i));
    QCOMPARE(pixel565(raw, 256, 0), entry565(255));
    QCOMPARE(pixel565(raw, 257, 0), entry565(255));
    QCOMPARE(pixel565(raw, 258, 0), entry565(0));
    QCOMPARE(pixel565(raw, 259, 0), entry565(0));
}

void TestScanImages::thresholdChangesOnlyPixelsBelowIt()
{
    std::vector<qint16> s(512);
    std::iota(s.begin(), s.end(), qint16(0));
    ScanImage image;
    image.setData(s.data(), 16, 32);
    const QImage before = image.rawImage().copy();
    image.setThreshold(20); // level round(102.2) = 102
    QCOMPARE(image.thresholdLevel(), 102);
    const QImage& after = image.rawImage();
    for (int c = 0; c < 16; ++c) {
        for (int r = 0; r < 32; ++r) {
            const int v = image.sample(c, r);
            if (v < 102)
                QCOMPARE(pixel565(after, c, r), entry565(0));
            else
                QCOMPARE(pixel565(after, c, r), pixel565(before, c, r));
        }
    }
    // The sample at the level is coloured, the one below it is black.
    const int c = 102 / 32, r = 102 % 32;
    QCOMPARE(pixel565(after, c, r), entry565(102));
    QCOMPARE(pixel565(after, c, r - 1), entry565(0));
}

void TestScanImages::thresholdLevelRounding_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("level");
    QTest::newRow("1: 5.11") << 1 << 5;
    QTest::newRow("50: 255.5 up") << 50 << 256;
    QTest::newRow("90: 459.9") << 90 << 460;
    QTest::newRow("100") << 100 << 511;
    QTest::newRow("above 100 clamped") << 150 << 511;
    QTest::newRow("negative clamped") << -3 << 0;
}

void TestScanImages::thresholdLevelRounding()
{
    QFETCH(int, percent);
    QFETCH(int, level);
    QCOMPARE(ScanImage::thresholdLevelFor(percent), level);
    ScanImage image;
    image.setThreshold(percent);
    QCOMPARE(image.thresholdLevel(), level);
}

void TestScanImages::brightness_data()
{
    QTest::addColumn<double>("factor");
    QTest::addColumn<int>("sample");
    QTest::addColumn<int>("index");
    QTest::newRow("-6 dB halves") << ScanImage::brightnessFactorFor(-6) << 200 << 100;
    QTest::newRow("half up at .5") << 0.5 << 101 << 51;
    QTest::newRow("just under .5") << 0.5 << 99 << 50; // 49.5 → 50
    QTest::newRow("+20 dB saturates") << ScanImage::brightnessFactorFor(20) << 30 << 255;
    QTest::newRow("negative factor") << -1.0 << 200 << 0;
    QTest::newRow("NaN") << qQNaN() << 200 << 0;
    QTest::newRow("infinite") << qInf() << 1 << 255;
}

void TestScanImages::brightness()
{
    QFETCH(double, factor);
    QFETCH(int, sample);
    QFETCH(int, index);
    QCOMPARE(ScanImage::paletteIndex(sample, 0, factor), index);
    const qint16 s = qint16(sample);
    ScanImage image;
    image.setData(&s, 1, 1);
    image.setBrightness(factor);
    QCOMPARE(pixel565(image.rawImage(), 0, 0), entry565(index));
}

void TestScanImages::planesEmptyRefusedAndCleared()
{
    // A plane is stored column by column: point (c, r) is value c · rows + r.
    MapPlane plane;
    plane.size0 = 3;
    plane.size1 = 2;
    plane.values = {10, 11, 20, 21, 30, 31};
    ScanImage image;
    QVERIFY(image.setPlane(plane));
    QCOMPARE(image.columns(), 3);
    QCOMPARE(image.sample(2, 1), qint16(31));
    QCOMPARE(pixel565(image.rawImage(), 1, 0), entry565(20));
    plane.values.pop_back(); // one value short
    QVERIFY(!image.setPlane(plane));
    QVERIFY(!image.hasSamples());
    QVERIFY(!image.setData(nullptr, -1, 5));
    QVERIFY(!image.setData(nullptr, 1 << 20, 1 << 20));
    QVERIFY(image.rawImage().isNull());
    QCOMPARE(image.sample(0, 0), qint16(0));
    image.setGeometry(0, 0, 80, 60);
    QVERIFY(image.displayImage().isNull());

    // Nothing to show, or cleared: the frame is black, the size stays.
    QVERIFY(image.setData(nullptr, 0, 0));
    image.setGeometry(40, 30, 80, 60);
    QCOMPARE(image.displayImage().size(), QSize(40, 30));
    QCOMPARE(pixel565(image.displayImage(), 39, 29), entry565(0));
    const auto s = patternPlane(5, 4);
    image.setData(s.data(), 5, 4);
    image.setGeometry(10, 8, 10, 8);
    (void)image.displayImage();
    image.clear();
    QCOMPARE(image.rows(), 4);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            QCOMPARE(pixel565(image.displayImage(), x, y), entry565(0));
    QCOMPARE(image.sample(4, 3), qint16(0));
}

void TestScanImages::zoomAndPan_data()
{
    QTest::addColumn<QSize>("points");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<QPoint>("offset"); // asked for
    QTest::addColumn<QPoint>("clamped");
    const QSize map(30, 20);
    const QSize frame(120, 80);
    const QSize x64(1920, 1280);
    QTest::newRow("fitted") << map << frame << frame << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("8x") << map << frame << QSize(240, 160) << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("8x panned") << map << frame << QSize(240, 160) << QPoint(37, 11) << QPoint(37, 11);
    QTest::newRow("64x panned") << map << frame << x64 << QPoint(1203, 655) << QPoint(1203, 655);
    QTest::newRow("64x far end") << map << frame << x64 << QPoint(100000, 100000)
                                 << QPoint(1800, 1200);
    QTest::newRow("before the start") << map << frame << QSize(240, 160) << QPoint(-5, -9) << QPoint(0, 0);
    // 400 depth points in 150 pixels: the last pixel shows the last point, nothing past it.
    QTest::newRow("fewer pixels than points") << QSize(2, 400) << QSize(2, 150) << QSize(2, 150) << QPoint()
                                              << QPoint();
    QTest::newRow("target smaller than the frame") << QSize(4, 3) << QSize(50, 40) << QSize(30, 20)
                                                   << QPoint(9, 9) << QPoint(0, 0);
    // 1000 × 600 points at 64x would be almost 5 GB: only the frame's window is ever made.
    QTest::newRow("huge map, 64x, far end") << QSize(1000, 600) << QSize(1000, 800) << QSize(64000, 38400)
                                            << QPoint(64000, 38400) << QPoint(63000, 37600);
}

void TestScanImages::zoomAndPan()
{
    QFETCH(QSize, points);
    QFETCH(QSize, frame);
    QFETCH(QSize, target);
    QFETCH(QPoint, offset);
    const int columns = points.width(), rows = points.height();
    const auto s = patternPlane(columns, rows);
    ScanImage image;
    image.setData(s.data(), columns, rows);
    // Shown fitted, then zoomed, then panned: nothing may stay stale.
    image.setGeometry(frame.width(), frame.height(), frame.width(), frame.height());
    (void)image.displayImage();
    image.setGeometry(frame.width(), frame.height(), target.width(), target.height());
    (void)image.displayImage();
    image.setOffset(offset.x(), offset.y());
    const QPoint off = image.offset();
    QTEST(off, "clamped");
    const QImage& d = image.displayImage();
    QCOMPARE(d.size(), frame);

    // Every display pixel shows the point a click there selects, or black beyond the target.
    const auto expected = [&](int x, int y) {
        if (x + off.x() >= target.width() || y + off.y() >= target.height())
            return entry565(0);
        const int i = MapViewGeometry::indexFromPixel(x + off.x(), target.width(), columns);
        const int j = MapViewGeometry::indexFromPixel(y + off.y(), target.height(), rows);
        return entry565(ScanImage::paletteIndex(image.sample(i, j), 0, 1.0));
    };
    for (int y = 0; y < frame.height(); y += 7)
        for (int x = 0; x < frame.width(); x += 5)
            QCOMPARE(pixel565(d, x, y), expected(x, y));
    const QPoint last(frame.width() - 1, frame.height() - 1);
    QCOMPARE(pixel565(d, last.x(), last.y()), expected(last.x(), last.y()));
    // The pixel the map view puts a cursor at for a point shows that point's colour.
    if (target.width() < columns || target.height() < rows)
        return; // not every point has a pixel of its own
    for (int i = 0; i < columns; i += 3) {
        for (int j = 0; j < rows; j += 3) {
            const int px = MapViewGeometry::pixelFromIndex(i, columns, target.width()) - off.x();
            const int py = MapViewGeometry::pixelFromIndex(j, rows, target.height()) - off.y();
            if (px >= 0 && py >= 0 && px < frame.width() && py < frame.height())
                QCOMPARE(pixel565(d, px, py), entry565(ScanImage::paletteIndex(image.sample(i, j), 0, 1.0)));
        }
    }
}

void TestScanImages::plotIndexMapStaysInsideTheSignal()
{
    AScanPlot plot;
    plot.setSize(QSize(50, 300)); // signal along y: 300 pixels
    std::vector<qint16> s(1000, 0);
    plot.setSignal(s.data(), 100);
    const auto& map = plot.indexMap();
    QCOMPARE(int(map.size()), 300);
    QCOMPARE(map[1], 0);   // round(0.33)
    QCOMPARE(map[2], 1);   // round(0.67)
    QCOMPARE(map[298], 99); // round(99.33)
    QCOMPARE(map[299], 99); // round(99.67) = 100 would be past the end
    plot.setSignal(s.data(), 1000);
    QCOMPARE(plot.indexMap()[1], 3);
    QCOMPARE(plot.indexMap()[298], 993);
    QCOMPARE(plot.indexMap()[299], 999);
    plot.setSignal(s.data(), 300);
    QCOMPARE(plot.indexMap()[299], 299);
    plot.setOrientation(AScanPlot::AlongX);
    QCOMPARE(plot.pixelCount(), 50);
}

void TestScanImages::plotFewerSamplesGiveSmoothedStaircase()
{
    AScanPlot plot;
    plot.setSize(QSize(100, 12));
    plot.setAmplitudeRange(0, 511);
    const qint16 s[4] = {0, 120, 0, 0};
    plot.setSignal(s, 4);
    plot.computeColumns();
    // Pixels show samples 0 0 1 1 1 2 2 2 3 3 3 3, then a forward mean over round(12 / 4) = 3.
    const std::vector<int> expected = {40, 80, 120, 80, 40, 0, 0, 0, 0, 0, 0, 0};
    QCOMPARE(plot.columnMaxima(), expected);
}

void TestScanImages::plotMoreSamplesKeepPeaksAndTheDeepestSamples()
{
    AScanPlot plot;
    plot.setSize(QSize(100, 100));
    plot.setAmplitudeRange(0, 511);
    std::vector<qint16> s(1000, 3);
    s[537] = 300;
    s[538] = -420; // rectified: the larger magnitude wins
    s[100] = 900;  // beyond the amplitude axis
    s[999] = 200;  // the deepest sample, on the last pixel
    plot.setSignal(s.data(), 1000);
    plot.computeColumns();
    const auto& v = plot.columnMaxima();
    QCOMPARE(v[54], 420); // pixel 54 covers samples 531…540
    QCOMPARE(v[10], 511);
    QCOMPARE(v[99], 200);
    QCOMPARE(v[50], 3);
    QCOMPARE(*std::max_element(v.begin() + 55, v.begin() + 99), 3);
}

void TestScanImages::plotGainFloorsAndRectifies()
{
    AScanPlot plot;
    plot.setSize(QSize(10, 3));
    plot.setAmplitudeRange(0, 511);
    const qint16 s[3] = {201, -201, 7};
    plot.setSignal(s, 3);
    plot.setGain(0.5);
    plot.computeColumns();
    QCOMPARE(plot.columnMaxima()[0], 100); // floor(100.5)
    QCOMPARE(plot.columnMaxima()[1], 101); // floor(−100.5) = −101
    QCOMPARE(plot.columnMaxima()[2], 3);
}

void TestScanImages::plotBarsRoundToTheirPixel()
{
    AScanPlot plot;
    plot.setSize(QSize(100, 4));
    plot.setAmplitudeRange(0, 511);
    plot.setGridLines(false, false);
    const qint16 s[4] = {255, 511, 2000, 0};
    plot.setSignal(s, 4);
    const QImage p = plot.render();
    // 511 units over 100 pixels: 255 reaches x = round(49.9) = 50.
    QCOMPARE(p.pixel(50, 0), qRgb(0, 255, 0));
    QCOMPARE(p.pixel(51, 0), qRgb(0, 0, 0));
    QCOMPARE(greenInRow(p, 2), 100); // beyond the maximum: full width
    QCOMPARE(greenInRow(p, 3), 1);   // zero is a dot at the axis
}

void TestScanImages::plotGridAtMultiplesOfTheStep()
{
    AScanPlot plot;
    plot.setSize(QSize(100, 300));
    plot.setSignalAxis({0.13, 0.3, 0.0, 0.05});
    // 0.001 m per pixel: 0.15 m is pixel 20, then every 50.
    QCOMPARE(plot.gridPositions(true), std::vector<int>({20, 70, 120, 170, 220, 270}));
    plot.setAmplitudeAxis({-100.0, 200.0, 0.0, 50.0});
    QCOMPARE(plot.gridPositions(false), std::vector<int>({0, 25, 50, 75}));
    // The lines are drawn: dotted white at half opacity over black.
    plot.setAmplitudeRange(0, 511);
    std::vector<qint16> s(300, 0);
    plot.setSignal(s.data(), 300);
    const QImage p = plot.render();
    int grey = 0;
    for (int x = 1; x < 100; ++x)
        grey += qGray(p.pixel(x, 20)) > 100;
    QVERIFY(grey > 20 && grey < 99);
    QCOMPARE(p.pixel(50, 21), qRgb(0, 0, 0));
    // Degenerate axes draw no grid, and neither does one denser than the pixels.
    plot.setSignalAxis({0.0, 0.0, 0.0, 0.05});
    QVERIFY(plot.gridPositions(true).empty());
    plot.setSignalAxis({0.0, 1.0, 0.0, 1e-9});
    QVERIFY(plot.gridPositions(true).empty());
}

void TestScanImages::colourScaleGeometry()
{
    // Halves round up; the limit stops short of the right margin.
    using namespace ColorScalePicture;
    QCOMPARE(limitPosition(25, 3), 1);
    QCOMPARE(limitPosition(100, 301), 300);
    QCOMPARE(limitPosition(50, 0), 0);
    QCOMPARE(rightMargin(16), 2);
    QCOMPARE(percentAt(1, 201), 1);
    QCOMPARE(percentAt(0, 1), 0);
    QCOMPARE(clampLimit(500, 301), 270);
    QCOMPARE(clampLimit(-4, 301), 0);
}

QTEST_MAIN(TestScanImages)
#include "tst_scanimages.moc"
