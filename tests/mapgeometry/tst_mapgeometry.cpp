#include "map/mapviewgeometry.h"

#include <QTest>

namespace {

// A map fitted into a frame and shown unzoomed, as the view does when it opens one.
MapViewGeometry fitted(int columns, int rows, int step, double depthStart, double depthRange)
{
    MapViewGeometry g;
    g.setMap(columns, rows, step, step, depthStart, depthRange);
    g.setFrameSize(600, 400);
    g.fit();
    g.resetZoom();
    return g;
}

} // namespace

class TestMapGeometry : public QObject
{
    Q_OBJECT

private slots:
    void gridRule_data();
    void gridRule();
    void fitFollowsAspect();
    void zoomInStepsAndLimit();
    void zoomKeepsCentreStepsBackAndClamps();
    void refitKeepsOrResets();
    void conversionsRoundAndClamp();
    void tickSteps_data();
    void tickSteps();
    void scalesAndPositionsFollowZoom();
    void bandsAndAScanWindow();
};

void TestMapGeometry::gridRule_data()
{
    QTest::addColumn<int>("px");
    QTest::addColumn<int>("py");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("perStep");
    QTest::addColumn<int>("cell");
    QTest::newRow("20x25 at 100 mm: 200000 points, fine grid") << 20 << 25 << 100 << 20 << 5;
    QTest::newRow("30x20 at 100 mm: 240000 points, coarse") << 30 << 20 << 100 << 2 << 50;
    QTest::newRow("30x20 at 10 mm") << 30 << 20 << 10 << 2 << 5;
}

void TestMapGeometry::gridRule()
{
    QFETCH(int, px);
    QFETCH(int, py);
    QFETCH(int, step);
    QFETCH(int, perStep);
    MapViewGeometry g;
    g.setMap(px, py, step, step, 0.0, 0.5);
    QTEST(g.cellX(), "cell");
    QCOMPARE(g.pointsX(), px * perStep);
    QCOMPARE(g.pointsY(), py * perStep);
}

void TestMapGeometry::fitFollowsAspect()
{
    MapViewGeometry g;
    // 3 m × 1 m into 600 × 400: width-limited, height 400 / (0.005 / 0.0025) = 200.
    g.setMap(30, 10, 100, 100, 0.0, 0.5);
    g.setFrameSize(600, 400);
    g.fit();
    QCOMPARE(g.fitHeight(), 200);
    // 1 m × 3 m: height-limited, width round(600 / ((0.0075) / (1/600))) = 133.33 → 133.
    g.setMap(10, 30, 100, 100, 0.0, 0.5);
    g.fit();
    QCOMPARE(g.fitWidth(), 133);
    // Coarse along X (cells of 50 mm), fine along Y (10 mm): unzoomed, X shows a fifth as wide.
    g.setMap(600, 20, 100, 20, 0.0, 0.5);
    g.setFrameSize(1000, 400);
    g.fit();
    g.resetZoom();
    QCOMPARE(g.imageWidth(), 200);
}

void TestMapGeometry::zoomInStepsAndLimit()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.0, 0.5); // 300 × 200 × 100 points
    QCOMPARE(g.zoom(-1), MapViewGeometry::ZoomResult::Ignored); // not zoomed: nothing to undo
    QCOMPARE(g.imageWidth(), 600);
    QCOMPARE(g.zoom(1), MapViewGeometry::ZoomResult::Zoomed);
    QCOMPARE(g.imageDepth(), 600);
    // Depth reaches 6400 first: all three axes go to their limits together.
    QCOMPARE(g.zoom(8), MapViewGeometry::ZoomResult::Zoomed);
    QCOMPARE(g.imageWidth(), 300 * 64);
    QCOMPARE(g.imageHeight(), 200 * 64);
    QCOMPARE(g.imageDepth(), 100 * 64);
    QCOMPARE(g.zoom(1), MapViewGeometry::ZoomResult::Ignored);
    // 2 × 2 points already beyond 64 pixels each when fitted; no map at all.
    QCOMPARE(fitted(1, 1, 10, 0.0, 0.01).zoom(1), MapViewGeometry::ZoomResult::Ignored);
    QCOMPARE(MapViewGeometry().zoom(1), MapViewGeometry::ZoomResult::Ignored);
}

void TestMapGeometry::zoomKeepsCentreStepsBackAndClamps()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.1, 0.5);
    for (int steps : {1, 1, -1}) { // 900, 1350, back to 900 pixels wide
        const int cx = g.indexX(g.offsetX() + 300);
        const int cy = g.indexY(g.offsetY() + 200);
        const int cz = g.indexZ(g.offsetZ() + 200);
        QCOMPARE(g.zoom(steps), MapViewGeometry::ZoomResult::Zoomed);
        QVERIFY(qAbs(g.indexX(g.offsetX() + 300) - cx) <= 1);
        QVERIFY(qAbs(g.indexY(g.offsetY() + 200) - cy) <= 1);
        QVERIFY(qAbs(g.indexZ(g.offsetZ() + 200) - cz) <= 1);
    }
    QCOMPARE(g.imageWidth(), 900);
    g.setOffsetX(-5);
    QCOMPARE(g.offsetX(), 0);
    g.setOffsetX(100000);
    QCOMPARE(g.offsetX(), 300);
    g.setOffsetZ(250);
    QCOMPARE(g.offsetZ(), 200);
    QCOMPARE(g.zoom(-1), MapViewGeometry::ZoomResult::Reset);
    QCOMPARE(g.offsetX(), 0);
    g.setOffsetX(50); // image not larger than the frame
    QCOMPARE(g.offsetX(), 0);
}

void TestMapGeometry::refitKeepsOrResets()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.0, 0.5);
    g.zoom(1); // 900 × 600
    g.setOffsetX(300);
    g.setFrameSize(450, 300);
    QVERIFY(g.refit());
    QCOMPARE(g.offsetX(), 300);
    g.setFrameSize(1200, 800); // fit 1200 × 800 is larger than the zoomed images
    QVERIFY(!g.refit());
    QCOMPARE(g.imageWidth(), 1200);
}

void TestMapGeometry::conversionsRoundAndClamp()
{
    // 1 / 2 · 1 = 0.5: halves away from zero.
    QCOMPARE(MapViewGeometry::indexFromPixel(1, 3, 2), 1);
    QCOMPARE(MapViewGeometry::pixelFromIndex(1, 3, 2), 1);
    QCOMPARE(MapViewGeometry::roundHalfAway(-2.5), -3);
    QCOMPARE(MapViewGeometry::indexFromPixel(600, 600, 100), 99); // one past the image
    QCOMPARE(MapViewGeometry::indexFromPixel(-7, 600, 100), 0);
    QCOMPARE(MapViewGeometry::pixelFromIndex(100, 100, 600), 599);
    QCOMPARE(MapViewGeometry::indexFromPixel(5, 1, 100), 0); // one-pixel image
    QCOMPARE(MapViewGeometry::pixelFromIndex(0, 1, 600), 0); // one-point axis
    // Every index survives the trip to a pixel and back while there are more pixels.
    for (int i = 0; i < 100; ++i)
        QCOMPARE(MapViewGeometry::indexFromPixel(MapViewGeometry::pixelFromIndex(i, 100, 613), 613, 100), i);
    // Read-out amplitude: 20 log10 of the value (below 1 taken as 1) + 100 dB - gain.
    QCOMPARE(MapViewGeometry::amplitudeDb(0, 30), 70);
    QCOMPARE(MapViewGeometry::amplitudeDb(10, 30), 90);
    QCOMPARE(MapViewGeometry::amplitudeDb(32767, 0), 190);
}

void TestMapGeometry::tickSteps_data()
{
    QTest::addColumn<double>("visible");
    QTest::addColumn<double>("step");
    QTest::newRow("2 cm") << 0.02 << 0.003;
    QTest::newRow("half metre") << 0.5 << 0.1;
    QTest::newRow("9 m: 9 steps of 1 is too many") << 9.0 << 2.5;
    QTest::newRow("nothing fits") << 0.001 << 0.01;
    QTest::newRow("too long") << 100.0 << 0.01;
}

void TestMapGeometry::tickSteps()
{
    QFETCH(double, visible);
    QTEST(MapViewGeometry::tickStep(visible), "step");
}

void TestMapGeometry::scalesAndPositionsFollowZoom()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.2, 0.5); // 600 × 400 × 400 pixels
    QCOMPARE(g.metresX(599), 1.5); // the last pixel is the far edge
    QCOMPARE(g.metresZ(399), 0.7);
    QCOMPARE(g.scaleZ().start, 0.2);
    QCOMPARE(g.scaleZ().visible, 0.5);
    g.zoom(1); // 900 × 600 × 600 pixels
    g.setOffsetX(300);
    g.setOffsetZ(150);
    QCOMPARE(g.scaleX().visible, 1.0);
    QCOMPARE(g.scaleX().start, 0.5);
    QCOMPARE(g.scaleZ().start, 0.325);
    // Position numbers count from 1, 60 pixels to a position now.
    QCOMPARE(g.positionNumberX(300 + 60), 6);
    QCOMPARE(g.positionNumberX(300 + 61), 7);
    QCOMPARE(g.positionCentreX(1), 30);
    QCOMPARE(g.positionCentreY(10), 570);
}

void TestMapGeometry::bandsAndAScanWindow()
{
    MapViewGeometry g = fitted(2, 1, 10, 0.0, 0.015); // 4 × 2 × 3 points
    QCOMPARE(g.bandX(), (MapBand{0, 3}));
    QCOMPARE(g.bandZ(), (MapBand{0, 2}));
    g.setMap(15, 10, 100, 100, 0.0, 0.5);
    g.fit();
    g.resetZoom();
    QCOMPARE(g.bandX(), (MapBand{148, 152}));
    QCOMPARE(g.bandZ(), (MapBand{48, 52}));
    g.zoom(1);
    g.setOffsetZ(g.maxOffsetZ()); // centre near the bottom: band moves up to the last five
    const MapBand z = g.bandZ();
    QVERIFY(z.last <= 99 && z.last - z.first <= 4 && z.first >= 0);
    QVERIFY(g.pixelZ(z.first) >= g.offsetZ());
    // The A-scan's window counts depth points from the first, only while zoomed.
    QCOMPARE(g.ascanWindow(), (MapBand{33, 99}));
    g.setOffsetZ(0);
    QCOMPARE(g.ascanWindow(), (MapBand{0, 67}));
    g.zoom(-1);
    QCOMPARE(g.ascanWindow().last, -1);
}

QTEST_GUILESS_MAIN(TestMapGeometry)
#include "tst_mapgeometry.moc"
