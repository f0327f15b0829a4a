#include "map/mapdata.h"
#include "mapview/ascanplot.h"
#include "mapview/colorscalepicture.h"
#include "map/mapviewgeometry.h"
#include "mapview/mappalette.h"
#include "mapview/mappicture.h"
#include "mapview/scanimage.h"
#include "widgets/qabstractscale.h"

#include <QGuiApplication>
#include <QTest>

#include <numeric>

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
    void emptyAndRefusedPlanes();
    void clearKeepsSize();

    void zoomAndPanKeepPointsUnderTheirPixels_data();
    void zoomAndPanKeepPointsUnderTheirPixels();
    void fewerPixelsThanPointsStillShowsTheLastOnes();
    void areaBeyondTargetIsBlack();
    void displayCoversOnlyTheFrameAtHighZoom();
    void offsetIsClamped();

    void planesOfAVolume();

    void composedPicture();
    void composedPictureWithoutRulers();

    void plotIndexMapStaysInsideTheSignal();
    void plotFewerSamplesGiveSmoothedStaircase();
    void plotMoreSamplesKeepPeaksAndTheDeepestSamples();
    void plotBipolarColumns();
    void plotGainFloorsAndRectifies();
    void plotBarsAlongY();
    void plotGridAtMultiplesOfTheStep();
    void plotMarkerAndEmptySignal();
    void plotEveryStyleAndOrientation_data();
    void plotEveryStyleAndOrientation();

    void colourScaleGeometry();
    void colourScalePicture();
};

void TestScanImages::paletteEntries_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("0 black") << 0 << qRgb(0, 0, 0);
    QTest::newRow("16") << 16 << qRgb(0, 0, 63);   // 127·16/31.875 = 63.75
    QTest::newRow("31") << 31 << qRgb(0, 0, 123);  // 127·31/31.875 = 123.5
    QTest::newRow("32 stop 1") << 32 << qRgb(0, 0, 127);
    QTest::newRow("64 stop 2") << 64 << qRgb(0, 0, 255);
    QTest::newRow("100") << 100 << qRgb(0, 143, 255); // 127 + 128·4/31.875 = 143.06
    QTest::newRow("128 stop 4") << 128 << qRgb(0, 255, 255);
    QTest::newRow("170 falling") << 170 << qRgb(0, 255, 87); // 127 − 39.84 = 87.16
    QTest::newRow("192 stop 6") << 192 << qRgb(0, 255, 0);
    QTest::newRow("200") << 200 << qRgb(64, 255, 0);
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
    QTest::newRow("0") << 0 << 0;
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
    QTest::newRow("+6 dB") << ScanImage::brightnessFactorFor(6) << 100 << 200;
    QTest::newRow("+20 dB saturates") << ScanImage::brightnessFactorFor(20) << 30 << 255;
    QTest::newRow("factor 0") << 0.0 << 200 << 0;
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

void TestScanImages::emptyAndRefusedPlanes()
{
    ScanImage image;
    QVERIFY(image.setData(nullptr, 0, 0));
    image.setGeometry(40, 30, 80, 60);
    QVERIFY(!image.hasSamples());
    const QImage& d = image.displayImage();
    QCOMPARE(d.size(), QSize(40, 30));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            QCOMPARE(pixel565(d, x, y), entry565(0));

    QVERIFY(!image.setData(nullptr, -1, 5));
    QVERIFY(!image.hasSamples());
    QVERIFY(!image.setData(nullptr, 1 << 20, 1 << 20));
    QVERIFY(!image.hasSamples());
    QVERIFY(image.rawImage().isNull());
    QCOMPARE(image.sample(0, 0), qint16(0));

    MapPlane inconsistent;
    inconsistent.size0 = 3;
    inconsistent.size1 = 3;
    inconsistent.values.assign(4, 100);
    QVERIFY(!image.setPlane(inconsistent));
    QVERIFY(!image.hasSamples());

    image.setGeometry(0, 0, 80, 60);
    QVERIFY(image.displayImage().isNull());
}

void TestScanImages::clearKeepsSize()
{
    const auto s = patternPlane(5, 4);
    ScanImage image;
    image.setData(s.data(), 5, 4);
    image.setGeometry(10, 8, 10, 8);
    image.clear();
    QCOMPARE(image.columns(), 5);
    QCOMPARE(image.rows(), 4);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(image.sample(c, r), qint16(0));
            QCOMPARE(pixel565(image.rawImage(), c, r), entry565(0));
        }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            QCOMPARE(pixel565(image.displayImage(), x, y), entry565(0));
}

void TestScanImages::zoomAndPanKeepPointsUnderTheirPixels_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("offsetX");
    QTest::addColumn<int>("offsetY");
    QTest::newRow("fitted") << 1 << 0 << 0;
    QTest::newRow("8x") << 8 << 0 << 0;
    QTest::newRow("8x panned") << 8 << 37 << 11;
    QTest::newRow("64x") << 64 << 0 << 0;
    QTest::newRow("64x panned") << 64 << 1203 << 655;
    QTest::newRow("64x far end") << 64 << 100000 << 100000;
}

void TestScanImages::zoomAndPanKeepPointsUnderTheirPixels()
{
    QFETCH(int, zoom);
    QFETCH(int, offsetX);
    QFETCH(int, offsetY);
    const int columns = 30, rows = 20, frameW = 120, frameH = 80;
    const int targetW = std::max(frameW, columns * zoom), targetH = std::max(frameH, rows * zoom);
    const auto s = patternPlane(columns, rows);
    ScanImage image;
    image.setData(s.data(), columns, rows);
    image.setGeometry(frameW, frameH, frameW, frameH);
    (void)image.displayImage(); // shown fitted, then zoomed, then panned: nothing may stay stale
    image.setGeometry(frameW, frameH, targetW, targetH);
    (void)image.displayImage();
    image.setOffset(offsetX, offsetY);
    const QPoint off = image.offset();
    QVERIFY(off.x() <= targetW - frameW && off.y() <= targetH - frameH);
    const QImage& d = image.displayImage();
    QCOMPARE(d.size(), QSize(frameW, frameH));

    // The pixel the map view puts a cursor at for point (i, j) shows that point's colour.
    int checked = 0;
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            const int px = MapViewGeometry::pixelFromIndex(i, columns, targetW) - off.x();
            const int py = MapViewGeometry::pixelFromIndex(j, rows, targetH) - off.y();
            if (px < 0 || py < 0 || px >= frameW || py >= frameH)
                continue;
            ++checked;
            const int entry = ScanImage::paletteIndex(image.sample(i, j), 0, 1.0);
            QCOMPARE(pixel565(d, px, py), entry565(entry));
            // and a click there reads that point back
            QCOMPARE(MapViewGeometry::indexFromPixel(px + off.x(), targetW, columns), i);
            QCOMPARE(MapViewGeometry::indexFromPixel(py + off.y(), targetH, rows), j);
        }
    }
    QVERIFY(checked > 0);
    // Every display pixel is one of the plane's points: the one a click there selects.
    for (int y = 0; y < frameH; y += 7)
        for (int x = 0; x < frameW; x += 5) {
            const int i = MapViewGeometry::indexFromPixel(x + off.x(), targetW, columns);
            const int j = MapViewGeometry::indexFromPixel(y + off.y(), targetH, rows);
            QCOMPARE(pixel565(d, x, y), entry565(ScanImage::paletteIndex(image.sample(i, j), 0, 1.0)));
        }
}

void TestScanImages::fewerPixelsThanPointsStillShowsTheLastOnes()
{
    // 400 depth points into 150 pixels: the last pixel shows the last point, nothing is read
    // past the plane's end.
    const int columns = 2, rows = 400;
    std::vector<qint16> s(size_t(columns * rows), 10);
    s[size_t(rows - 1)] = 250;
    s[size_t(2 * rows - 1)] = 250;
    ScanImage image;
    image.setData(s.data(), columns, rows);
    image.setGeometry(2, 150, 2, 150);
    QCOMPARE(pixel565(image.displayImage(), 0, 149), entry565(250));
    QCOMPARE(pixel565(image.displayImage(), 1, 149), entry565(250));
    QCOMPARE(pixel565(image.displayImage(), 0, 148), entry565(10));
}

void TestScanImages::areaBeyondTargetIsBlack()
{
    std::vector<qint16> s(12, 200);
    ScanImage image;
    image.setData(s.data(), 4, 3);
    image.setGeometry(50, 40, 30, 20);
    const QImage& d = image.displayImage();
    QCOMPARE(d.size(), QSize(50, 40));
    QCOMPARE(pixel565(d, 29, 19), entry565(200));
    QCOMPARE(pixel565(d, 30, 0), entry565(0));
    QCOMPARE(pixel565(d, 0, 20), entry565(0));
    QCOMPARE(pixel565(d, 49, 39), entry565(0));
    QCOMPARE(image.offset(), QPoint(0, 0));
}

void TestScanImages::displayCoversOnlyTheFrameAtHighZoom()
{
    // A large map at 64×: the zoomed image would be 64000 × 38400 pixels (almost 5 GB);
    // only the frame's window is ever made.
    const int columns = 1000, rows = 600;
    std::vector<qint16> s(size_t(columns) * size_t(rows), 0);
    s.back() = 180; // point (999, 599)
    ScanImage image;
    QVERIFY(image.setData(s.data(), columns, rows));
    image.setGeometry(1000, 800, columns * 64, rows * 64);
    image.setOffset(columns * 64, rows * 64);
    QCOMPARE(image.offset(), QPoint(columns * 64 - 1000, rows * 64 - 800));
    const QImage& d = image.displayImage();
    QCOMPARE(d.size(), QSize(1000, 800));
    QCOMPARE(pixel565(d, 999, 799), entry565(180));
    QCOMPARE(pixel565(d, 0, 0), entry565(0));
}

void TestScanImages::offsetIsClamped()
{
    const auto s = patternPlane(10, 10);
    ScanImage image;
    image.setData(s.data(), 10, 10);
    image.setGeometry(100, 100, 300, 200);
    image.setOffset(-5, 500);
    QCOMPARE(image.offset(), QPoint(0, 100));
    image.setOffset(250, 50);
    QCOMPARE(image.offset(), QPoint(200, 50));
    // A smaller target pulls the offset back.
    image.setGeometry(100, 100, 150, 100);
    QCOMPARE(image.offset(), QPoint(50, 0));
}

void TestScanImages::planesOfAVolume()
{
    // V[x][y][z] = 100·x + 10·y + z on a 3 × 4 × 5 volume.
    const int nx = 3, ny = 4, nz = 5;
    std::vector<qint16> v(size_t(nx * ny * nz));
    for (int x = 0; x < nx; ++x)
        for (int y = 0; y < ny; ++y)
            for (int z = 0; z < nz; ++z)
                v[size_t(MapData::voxelIndex(ny, nz, x, y, z))] = qint16(100 * x + 10 * y + z);
    MapData data;
    QVERIFY(data.setRawVolume(nx, ny, nz, v));
    data.setViewingMode(RawView);

    ScanImage c, b, d;
    QVERIFY(c.setPlane(data.sliceC(2)));
    QCOMPARE(c.columns(), nx);
    QCOMPARE(c.rows(), ny);
    QCOMPARE(c.sample(2, 3), qint16(232)); // V[c][r][slice Z]
    QVERIFY(b.setPlane(data.sliceB(1)));
    QCOMPARE(b.columns(), nx);
    QCOMPARE(b.rows(), nz);
    QCOMPARE(b.sample(2, 4), qint16(214)); // V[c][slice Y][r]
    QVERIFY(d.setPlane(data.sliceD(1)));
    QCOMPARE(d.columns(), nz);
    QCOMPARE(d.rows(), ny);
    QCOMPARE(d.sample(4, 3), qint16(134)); // V[slice X][r][c]
    QCOMPARE(pixel565(d.rawImage(), 4, 3), entry565(134));

    // Projections: the C-scan shows the maximum over the depth range.
    data.setRange2(1, 3);
    QVERIFY(c.setPlane(data.projectionC()));
    QCOMPARE(c.sample(1, 2), qint16(123));
    // A slice beyond the volume gives no plane: the image is empty and black.
    QVERIFY(c.setPlane(data.sliceC(nz)));
    QVERIFY(!c.hasSamples());
}

void TestScanImages::composedPicture()
{
    QImage picture(40, 30, QImage::Format_RGB16);
    picture.fill(MapPalette::colour(200));
    QAbstractScale vertical;
    vertical.setPosition(0);
    vertical.setRange(0.0, 0.3);
    vertical.setTicks(0.0, 0.1, 0.05);
    vertical.setTickLength(5);
    vertical.setName(QStringLiteral("Y"));
    vertical.setUnit(QStringLiteral("m"));
    QAbstractScale horizontal(vertical);
    horizontal.setPosition(1);
    horizontal.setName(QStringLiteral("X"));
    const int s = 20;

    const QImage out = MapPicture::compose(picture, &vertical, &horizontal, s);
    QCOMPARE(out.size(), QSize(40 + s + 2, 30 + s + 2));
    QCOMPARE(out.format(), QImage::Format_RGB32);
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    const QRgb shown = QImage(picture).convertToFormat(QImage::Format_RGB32).pixel(0, 0);
    QCOMPARE(out.pixel(s + 2, s + 2), shown);
    QCOMPARE(out.pixel(out.width() - 2, out.height() - 2), shown);
    // The outer rectangle and the lines along the picture's top and left edges.
    QCOMPARE(out.pixel(0, 0), black);
    QCOMPARE(out.pixel(out.width() - 1, 10), black);
    QCOMPARE(out.pixel(10, out.height() - 1), black);
    QCOMPARE(out.pixel(s + 1, s + 15), black);
    QCOMPARE(out.pixel(s + 15, s + 1), black);
    // The corner between the strips stays white.
    QCOMPARE(out.pixel(5, 5), white);
    // Major ticks of the start value at the picture's first row and column, growing away from it.
    QCOMPARE(out.pixel(s - 2, s + 2), black);
    QCOMPARE(out.pixel(s + 2, s - 2), black);
    // The strips hold the rulers' texts: something dark besides the ticks.
    int dark = 0;
    for (int y = s + 2; y < out.height() - 1; ++y)
        for (int x = 1; x < s - 6; ++x)
            dark += qGray(out.pixel(x, y)) < 128;
    QVERIFY(dark > 0);
}

void TestScanImages::composedPictureWithoutRulers()
{
    QImage picture(10, 8, QImage::Format_RGB32);
    picture.fill(qRgb(0, 255, 0));
    const QImage out = MapPicture::compose(picture, nullptr, nullptr, 12);
    QCOMPARE(out.size(), QSize(24, 22));
    for (int y = 1; y < 13; ++y)
        for (int x = 1; x < 13; ++x)
            QCOMPARE(out.pixel(x, y), qRgb(255, 255, 255));
    QCOMPARE(out.pixel(14, 14), qRgb(0, 255, 0));
    QVERIFY(MapPicture::compose(QImage(), nullptr, nullptr, 12).isNull());
}

namespace {

int greenInRow(const QImage& image, int y)
{
    int n = 0;
    for (int x = 0; x < image.width(); ++x)
        n += image.pixel(x, y) == qRgb(0, 255, 0);
    return n;
}

} // namespace

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

void TestScanImages::plotBipolarColumns()
{
    AScanPlot plot;
    plot.setStyle(AScanPlot::Bipolar);
    plot.setSize(QSize(100, 10));
    plot.setAmplitudeRange(-511, 511);
    std::vector<qint16> s = {10, -20, 700, -5, 0, 0, 0, 0, 0, 0, -900, 40, 0, 0, 0, 0, 0, 0, 0, 1};
    // Pixel i ends at sample round(2i): pixel 0 holds sample 0, pixel 1 samples 1 and 2, …,
    // the last one samples 17 to 19.
    plot.setSignal(s.data(), 20);
    plot.computeColumns();
    QCOMPARE(plot.columnMaxima()[0], 10);
    QCOMPARE(plot.columnMinima()[0], 10);
    QCOMPARE(plot.columnMaxima()[1], 511); // clamped to the axis
    QCOMPARE(plot.columnMinima()[1], -20);
    QCOMPARE(plot.columnMinima()[2], -5);
    QCOMPARE(plot.columnMinima()[5], -511);
    QCOMPARE(plot.columnMaxima()[6], 40);
    QCOMPARE(plot.columnMaxima()[9], 1);
    // Fewer samples than pixels: each pixel runs from the previous value to its own.
    const qint16 few[2] = {100, -100};
    plot.setSignal(few, 2);
    plot.computeColumns();
    QCOMPARE(plot.columnMinima()[0], 0); // from the middle of the range
    QCOMPARE(plot.columnMaxima()[0], 100);
    QCOMPARE(plot.columnMinima()[1], 100);
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

void TestScanImages::plotBarsAlongY()
{
    AScanPlot plot;
    plot.setSize(QSize(100, 4));
    plot.setAmplitudeRange(0, 511);
    plot.setGridLines(false, false);
    const qint16 s[4] = {255, 511, 2000, 0};
    plot.setSignal(s, 4);
    QImage p = plot.render();
    // 511 units over 100 pixels: 255 reaches x = round(49.9) = 50.
    QCOMPARE(p.pixel(50, 0), qRgb(0, 255, 0));
    QCOMPARE(p.pixel(51, 0), qRgb(0, 0, 0));
    QCOMPARE(greenInRow(p, 1), 100);
    QCOMPARE(greenInRow(p, 2), 100); // beyond the maximum: full width
    QCOMPARE(greenInRow(p, 3), 1);   // zero is a dot at the axis
    // −6 dB: half as long.
    plot.setGain(ScanImage::brightnessFactorFor(-6));
    p = plot.render();
    QCOMPARE(greenInRow(p, 1), 51); // floor(511 · 0.501) = 256 → x = round(50.1) = 50
    QCOMPARE(greenInRow(p, 0), 26); // 127 → round(24.85) = 25
}

void TestScanImages::plotGridAtMultiplesOfTheStep()
{
    AScanPlot plot;
    plot.setSize(QSize(100, 300));
    plot.setSignalAxis({0.13, 0.3, 0.0, 0.05});
    // 0.001 m per pixel: 0.15 m is pixel 20, then every 50.
    const std::vector<int> depth = {20, 70, 120, 170, 220, 270};
    QCOMPARE(plot.gridPositions(true), depth);
    plot.setAmplitudeAxis({0.0, 100.0, 0.0, 25.0});
    const std::vector<int> amp = {0, 25, 50, 75};
    QCOMPARE(plot.gridPositions(false), amp);
    plot.setAmplitudeAxis({-100.0, 200.0, 0.0, 50.0});
    QCOMPARE(plot.gridPositions(false), std::vector<int>({0, 25, 50, 75}));
    // Degenerate axes draw no grid, and neither does one denser than the pixels.
    plot.setSignalAxis({0.0, 0.0, 0.0, 0.05});
    QVERIFY(plot.gridPositions(true).empty());
    plot.setSignalAxis({0.0, 1.0, 0.0, 1e-9});
    QVERIFY(plot.gridPositions(true).empty());

    // The lines are drawn: dotted white at half opacity over black.
    plot.setSignalAxis({0.13, 0.3, 0.0, 0.05});
    plot.setAmplitudeRange(0, 511);
    std::vector<qint16> s(300, 0);
    plot.setSignal(s.data(), 300);
    const QImage p = plot.render();
    int grey = 0;
    for (int x = 1; x < 100; ++x)
        grey += qGray(p.pixel(x, 20)) > 100;
    QVERIFY(grey > 20 && grey < 99);
    QCOMPARE(p.pixel(50, 21), qRgb(0, 0, 0));
}

void TestScanImages::plotMarkerAndEmptySignal()
{
    AScanPlot plot;
    plot.setSize(QSize(60, 80));
    plot.setAmplitudeRange(0, 511);
    plot.setGridLines(false, false);
    std::vector<qint16> s(80, 0);
    plot.setSignal(s.data(), 80);
    plot.setMarker(40);
    QImage p = plot.render();
    for (int x = 0; x < 60; ++x)
        QCOMPARE(p.pixel(x, 40), qRgb(255, 255, 255));
    plot.setMarkerEnabled(false);
    p = plot.render();
    QCOMPARE(p.pixel(30, 40), qRgb(0, 0, 0));
    // Without samples: background only.
    plot.setMarkerEnabled(true);
    plot.forgetSignal();
    p = plot.render();
    QCOMPARE(p.size(), QSize(60, 80));
    for (int y = 0; y < 80; y += 5)
        for (int x = 0; x < 60; x += 5)
            QCOMPARE(p.pixel(x, y), qRgb(0, 0, 0));
}

void TestScanImages::plotEveryStyleAndOrientation_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("orientation");
    for (int st = 0; st < 3; ++st)
        for (int o = 0; o < 2; ++o)
            QTest::addRow("style %d orientation %d", st, o) << st << o;
}

void TestScanImages::plotEveryStyleAndOrientation()
{
    QFETCH(int, style);
    QFETCH(int, orientation);
    // An echo in the middle of a quiet signal; sizes around the sample count and a tiny one.
    std::vector<qint16> s(200, 0);
    for (int k = 90; k < 110; ++k)
        s[size_t(k)] = qint16((k % 2 ? 1 : -1) * 400);
    for (const QSize& size : {QSize(120, 120), QSize(200, 200), QSize(300, 250), QSize(3, 2)}) {
        AScanPlot plot;
        plot.setStyle(style);
        plot.setOrientation(orientation);
        plot.setSize(size);
        plot.setAmplitudeRange(style == AScanPlot::Bipolar ? -511 : 0, 511);
        plot.setSignal(s.data(), int(s.size()));
        const QImage p = plot.render();
        QCOMPARE(p.size(), size);
        if (size.width() < 100)
            continue;
        int green = 0;
        for (int y = 0; y < p.height(); ++y)
            green += greenInRow(p, y);
        QVERIFY2(green > 0, "the echo is drawn");
        // The echo lies in the middle third of the signal axis.
        const int L = orientation == AScanPlot::AlongX ? size.width() : size.height();
        const auto& v = plot.columnMaxima();
        QVERIFY(*std::max_element(v.begin() + L / 3, v.begin() + 2 * L / 3) >= 300);
        QVERIFY(*std::max_element(v.begin(), v.begin() + L / 4) <= 0);
    }
}

void TestScanImages::colourScaleGeometry()
{
    using namespace ColorScalePicture;
    QCOMPARE(limitPosition(50, 301), 150);
    QCOMPARE(limitPosition(0, 301), 0);
    QCOMPARE(limitPosition(100, 301), 300);
    QCOMPARE(limitPosition(25, 3), 1); // 0.5 rounds up
    QCOMPARE(rightMargin(301), 30);
    QCOMPARE(rightMargin(16), 2); // 1.5 rounds up
    QCOMPARE(percentAt(270, 301), 90);
    QCOMPARE(percentAt(1, 201), 1); // 0.5 rounds up
    QCOMPARE(percentAt(0, 1), 0);
    QCOMPARE(clampLimit(500, 301), 270);
    QCOMPARE(clampLimit(-4, 301), 0);
    QCOMPARE(limitPosition(50, 0), 0);
}

void TestScanImages::colourScalePicture()
{
    const QImage strip = ColorScalePicture::strip();
    QCOMPARE(strip.size(), QSize(256, 50));
    for (int x = 0; x < 256; x += 17) {
        QCOMPARE(pixel565(strip, x, 1), entry565(x));
        QCOMPARE(pixel565(strip, x, 48), entry565(x));
    }
    const QImage p = ColorScalePicture::render(strip, 512, 100, QStringLiteral("20 %"))
                         .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(p.size(), QSize(512, 50));
    const QRgb white = qRgb(255, 255, 255);
    QCOMPARE(p.pixel(100, 10), white);  // the limit line
    QCOMPARE(p.pixel(300, 0), white);   // top
    QCOMPARE(p.pixel(300, 49), white);  // bottom
    QCOMPARE(p.pixel(511, 30), white);  // right
    QCOMPARE(p.pixel(96, 24), white);   // marker line
    QCOMPARE(p.pixel(107, 24), white);  // triangle tip side
    QCOMPARE(p.pixel(50, 5), qRgb(0, 0, 0)); // under the threshold
    // Right of the limit the palette, stretched twice: x = 400 shows entry 200.
    const QRgb e200 = QImage(strip).convertToFormat(QImage::Format_RGB32).pixel(200, 10);
    QCOMPARE(p.pixel(400, 10), e200);
    // The text sits left of the limit when it fits there.
    int dark = 0, light = 0;
    for (int y = 15; y < 32; ++y)
        for (int x = 40; x < 89; ++x)
            light += qGray(p.pixel(x, y)) > 128;
    for (int y = 15; y < 32; ++y)
        for (int x = 111; x < 160; ++x)
            dark += qGray(p.pixel(x, y)) > 250;
    QVERIFY(light > 10);
    QCOMPARE(dark, 0);
}

QTEST_MAIN(TestScanImages)
#include "tst_scanimages.moc"
