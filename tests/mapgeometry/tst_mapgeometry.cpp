#include "map/mapviewgeometry.h"

#include <QTest>

namespace {

// A map fitted into a frame and shown unzoomed, as the view does when it opens one.
MapViewGeometry fitted(int columns, int rows, int step, double depthStart, double depthRange, int w = 600,
                       int h = 400)
{
    MapViewGeometry g;
    g.setMap(columns, rows, step, step, depthStart, depthRange);
    g.setFrameSize(w, h);
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
    void zoomResetUsesAspectFactors();
    void wheelDownWhenNotZoomedDoesNothing();
    void zoomInStepsAndLimit();
    void zoomKeepsCentrePoint();
    void zoomOutPastFitResets();
    void refitKeepsOrResets();
    void offsetsClamp();
    void conversionsRoundAndClamp();
    void positionNumbers();
    void metres();
    void tickSteps_data();
    void tickSteps();
    void scalesFollowZoomAndDepthStart();
    void ascanWindowCountsFromFirstPoint();
    void bands();
    void minimumRectangles();
    void amplitudeDb();
    void tinyMapAtLimit();
};

void TestMapGeometry::gridRule_data()
{
    QTest::addColumn<int>("px");
    QTest::addColumn<int>("py");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("perStep");
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("aspect");
    QTest::newRow("20x25 at 100 mm: 200000 points, fine grid") << 20 << 25 << 100 << 20 << 5 << 1;
    QTest::newRow("501x1 at 100 mm: coarse grid") << 501 << 1 << 100 << 2 << 50 << 10;
    QTest::newRow("30x20 at 100 mm: 240000 points, coarse") << 30 << 20 << 100 << 2 << 50 << 10;
    QTest::newRow("30x20 at 10 mm") << 30 << 20 << 10 << 2 << 5 << 1;
    QTest::newRow("1x1 at 1000 mm") << 1 << 1 << 1000 << 200 << 5 << 1;
}

void TestMapGeometry::gridRule()
{
    QFETCH(int, px);
    QFETCH(int, py);
    QFETCH(int, step);
    QFETCH(int, perStep);
    QFETCH(int, cell);
    QFETCH(int, aspect);
    MapViewGeometry g;
    g.setMap(px, py, step, step, 0.0, 0.5);
    QCOMPARE(g.cellX(), cell);
    QCOMPARE(g.aspectX(), aspect);
    QCOMPARE(g.aspectY(), aspect);
    QCOMPARE(g.pointsX(), px * perStep);
    QCOMPARE(g.pointsY(), py * perStep);
    QCOMPARE(g.pointsZ(), 100);
}

void TestMapGeometry::fitFollowsAspect()
{
    MapViewGeometry g;
    // 3 m × 1 m into 600 × 400: width-limited, height 400 / (0.005 / 0.0025) = 200.
    g.setMap(30, 10, 100, 100, 0.0, 0.5);
    g.setFrameSize(600, 400);
    g.fit();
    QCOMPARE(g.fitWidth(), 600);
    QCOMPARE(g.fitHeight(), 200);
    // 1 m × 3 m: height-limited, width round(600 / ((0.0075) / (1/600))) = 133.33 → 133.
    g.setMap(10, 30, 100, 100, 0.0, 0.5);
    g.fit();
    QCOMPARE(g.fitHeight(), 400);
    QCOMPARE(g.fitWidth(), 133);
}

void TestMapGeometry::zoomResetUsesAspectFactors()
{
    MapViewGeometry g;
    g.setMap(600, 20, 100, 20, 0.0, 0.5); // coarse: aspect X = 10, aspect Y = 2
    QCOMPARE(g.aspectX(), 10);
    QCOMPARE(g.aspectY(), 2);
    g.setFrameSize(1000, 400);
    g.fit();
    g.resetZoom();
    QCOMPARE(g.fitWidth(), 1000);
    QCOMPARE(g.imageWidth(), 200); // the fitted width x aspect Y / aspect X
    QCOMPARE(g.imageHeight(), g.fitHeight());
    QCOMPARE(g.imageDepth(), 400);
    QVERIFY(!g.isZoomed());
}

void TestMapGeometry::wheelDownWhenNotZoomedDoesNothing()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.0, 0.5);
    const int w = g.imageWidth();
    QCOMPARE(g.zoom(-1), MapViewGeometry::ZoomResult::Ignored);
    QCOMPARE(g.imageWidth(), w);
    MapViewGeometry empty;
    QCOMPARE(empty.zoom(1), MapViewGeometry::ZoomResult::Ignored);
}

void TestMapGeometry::zoomInStepsAndLimit()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.0, 0.5); // 300 × 200 × 100 points
    QCOMPARE(g.imageWidth(), 600);
    QCOMPARE(g.imageHeight(), 400);
    QCOMPARE(g.zoom(1), MapViewGeometry::ZoomResult::Zoomed);
    QVERIFY(g.isZoomed());
    QCOMPARE(g.imageWidth(), 900);
    QCOMPARE(g.imageHeight(), 600);
    QCOMPARE(g.imageDepth(), 600);
    QCOMPARE(g.zoom(2), MapViewGeometry::ZoomResult::Zoomed); // × 2.25, truncated
    QCOMPARE(g.imageWidth(), 2025);
    QCOMPARE(g.imageDepth(), 1350);
    // Depth reaches 6400 first: all three axes go to their limits together.
    QCOMPARE(g.zoom(4), MapViewGeometry::ZoomResult::Zoomed);
    QCOMPARE(g.imageWidth(), 300 * 64);
    QCOMPARE(g.imageHeight(), 200 * 64);
    QCOMPARE(g.imageDepth(), 100 * 64);
    QCOMPARE(g.zoom(1), MapViewGeometry::ZoomResult::Ignored);
}

void TestMapGeometry::zoomKeepsCentrePoint()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.1, 0.5);
    for (int s : {1, 1, 2, -1}) {
        const int cx = g.indexX(g.offsetX() + 300);
        const int cy = g.indexY(g.offsetY() + 200);
        const int cz = g.indexZ(g.offsetZ() + 200);
        QCOMPARE(g.zoom(s), MapViewGeometry::ZoomResult::Zoomed);
        QVERIFY(qAbs(g.indexX(g.offsetX() + 300) - cx) <= 1);
        QVERIFY(qAbs(g.indexY(g.offsetY() + 200) - cy) <= 1);
        QVERIFY(qAbs(g.indexZ(g.offsetZ() + 200) - cz) <= 1);
        QVERIFY(g.offsetX() >= 0 && g.offsetX() <= g.maxOffsetX());
    }
}

void TestMapGeometry::zoomOutPastFitResets()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.0, 0.5);
    g.zoom(1);
    g.setOffsetX(150);
    QCOMPARE(g.zoom(-1), MapViewGeometry::ZoomResult::Reset);
    QVERIFY(!g.isZoomed());
    QCOMPARE(g.imageWidth(), 600);
    QCOMPARE(g.offsetX(), 0);
    g.zoom(2);
    QCOMPARE(g.zoom(-1), MapViewGeometry::ZoomResult::Zoomed);
    QCOMPARE(g.imageWidth(), 900); // 1350 / 1.5
}

void TestMapGeometry::refitKeepsOrResets()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.0, 0.5);
    g.zoom(1); // 900 × 600
    g.setOffsetX(300);
    g.setFrameSize(450, 300);
    QVERIFY(g.refit());
    QVERIFY(g.isZoomed());
    QCOMPARE(g.offsetX(), 300);
    g.setFrameSize(1200, 800); // fit 1200 × 800 is larger than the zoomed images
    QVERIFY(!g.refit());
    QVERIFY(!g.isZoomed());
    QCOMPARE(g.imageWidth(), 1200);
}

void TestMapGeometry::offsetsClamp()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.0, 0.5);
    g.setOffsetX(50);
    QCOMPARE(g.offsetX(), 0); // image not larger than frame
    g.zoom(1);
    g.setOffsetX(-5);
    QCOMPARE(g.offsetX(), 0);
    g.setOffsetX(100000);
    QCOMPARE(g.offsetX(), 300);
    g.setOffsetZ(250);
    QCOMPARE(g.offsetZ(), 200);
}

void TestMapGeometry::conversionsRoundAndClamp()
{
    // 1 / 2 · 1 = 0.5: halves away from zero.
    QCOMPARE(MapViewGeometry::indexFromPixel(1, 3, 2), 1);
    QCOMPARE(MapViewGeometry::pixelFromIndex(1, 3, 2), 1);
    QCOMPARE(MapViewGeometry::indexFromPixel(0, 600, 100), 0);
    QCOMPARE(MapViewGeometry::indexFromPixel(599, 600, 100), 99);
    QCOMPARE(MapViewGeometry::indexFromPixel(600, 600, 100), 99);   // one past the image
    QCOMPARE(MapViewGeometry::indexFromPixel(-7, 600, 100), 0);
    QCOMPARE(MapViewGeometry::pixelFromIndex(100, 100, 600), 599);
    QCOMPARE(MapViewGeometry::indexFromPixel(5, 1, 100), 0);        // one-pixel image
    QCOMPARE(MapViewGeometry::pixelFromIndex(0, 1, 600), 0);        // one-point axis
    QCOMPARE(MapViewGeometry::roundHalfAway(-2.5), -3);
    QCOMPARE(MapViewGeometry::roundHalfAway(2.5), 3);
    // Every index survives the trip to a pixel and back while there are more pixels.
    for (int i = 0; i < 100; ++i)
        QCOMPARE(MapViewGeometry::indexFromPixel(MapViewGeometry::pixelFromIndex(i, 100, 613), 613, 100), i);
}

void TestMapGeometry::positionNumbers()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.0, 0.5); // 40 pixels per position
    QCOMPARE(g.positionNumberX(0), 1);
    QCOMPARE(g.positionNumberX(40), 1);
    QCOMPARE(g.positionNumberX(41), 2);
    QCOMPARE(g.positionNumberX(599), 15);
    QCOMPARE(g.positionCentreX(1), 20);
    QCOMPARE(g.positionCentreY(10), 380);
}

void TestMapGeometry::metres()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.25, 0.5, 601, 401);
    QCOMPARE(g.imageWidth(), 601);
    QCOMPARE(g.metresX(600), 1.5);
    QCOMPARE(g.metresX(300), 0.75);
    QCOMPARE(g.metresZ(0), 0.25);
    QCOMPARE(g.metresZ(400), 0.75);
}

void TestMapGeometry::tickSteps_data()
{
    QTest::addColumn<double>("visible");
    QTest::addColumn<double>("step");
    QTest::newRow("2 cm") << 0.02 << 0.003;
    QTest::newRow("half metre") << 0.5 << 0.1;
    QTest::newRow("3 m") << 3.0 << 0.5;
    QTest::newRow("9 m: 9 steps of 1 is too many") << 9.0 << 2.5;
    QTest::newRow("40 m") << 40.0 << 5.0;
    QTest::newRow("nothing fits") << 0.001 << 0.01;
    QTest::newRow("too long") << 100.0 << 0.01;
}

void TestMapGeometry::tickSteps()
{
    QFETCH(double, visible);
    QFETCH(double, step);
    QCOMPARE(MapViewGeometry::tickStep(visible), step);
}

void TestMapGeometry::scalesFollowZoomAndDepthStart()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.2, 0.5);
    QCOMPARE(g.scaleX().start, 0.0);
    QCOMPARE(g.scaleX().visible, 1.5);
    QCOMPARE(g.scaleZ().start, 0.2);
    QCOMPARE(g.scaleZ().visible, 0.5);
    g.zoom(1);
    g.setOffsetX(300);
    g.setOffsetZ(200);
    QCOMPARE(g.scaleX().visible, 600.0 / 900 * 1.5);
    QCOMPARE(g.scaleX().start, 300.0 / 900 * 1.5);
    QCOMPARE(g.scaleZ().start, 0.2 + 200.0 / 600 * 0.5);
}

void TestMapGeometry::ascanWindowCountsFromFirstPoint()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.3, 0.5); // 100 depth points from 0.3 m
    QCOMPARE(g.ascanWindow().last, -1); // not zoomed
    g.zoom(1);                           // depth 600 pixels, 400 visible
    g.setOffsetZ(0);
    QCOMPARE(g.ascanWindow(), (MapBand{0, 67}));
    g.setOffsetZ(200);
    QCOMPARE(g.ascanWindow(), (MapBand{33, 99}));
}

void TestMapGeometry::bands()
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
}

void TestMapGeometry::minimumRectangles()
{
    MapViewGeometry g = fitted(15, 10, 100, 0.0, 0.5);
    QCOMPARE(g.minRectC(), QSize(4, 4));
    QCOMPARE(g.minRectB(), QSize(4, 8));
    QCOMPARE(g.minRectD(), QSize(8, 4));
}

void TestMapGeometry::amplitudeDb()
{
    QCOMPARE(MapViewGeometry::amplitudeDb(0, 30), 70);
    QCOMPARE(MapViewGeometry::amplitudeDb(-5, 30), 70);
    QCOMPARE(MapViewGeometry::amplitudeDb(1, 30), 70);
    QCOMPARE(MapViewGeometry::amplitudeDb(10, 30), 90);
    QCOMPARE(MapViewGeometry::amplitudeDb(32767, 0), 190);
}

void TestMapGeometry::tinyMapAtLimit()
{
    // 1 × 1 position at 10 mm: 2 × 2 points, the fitted image already exceeds 64 px per point.
    MapViewGeometry g = fitted(1, 1, 10, 0.0, 0.01);
    QCOMPARE(g.zoom(1), MapViewGeometry::ZoomResult::Ignored);
    QVERIFY(!g.isZoomed());
}

QTEST_GUILESS_MAIN(TestMapGeometry)
#include "tst_mapgeometry.moc"
