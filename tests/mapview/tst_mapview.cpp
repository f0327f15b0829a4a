// The map view driven as a user drives it: a generated map with reflectors is opened, clicked,
// zoomed and panned, and what the frames paint is looked at.

#include "common/modaldriver.h"
#include "map/mapgenerator.h"
#include "map/mapstoredfiles.h"
#include "mapview/cmapscans.h"
#include "mapview/cmapsettings.h"

#include <QClipboard>
#include <QFile>
#include <QLCDNumber>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>

namespace {

// 16 × 12 positions at 10 mm: 32 × 24 points of 5 mm, 300 mm deep (60 layers).
MapGeneratorOptions demoOptions()
{
    MapGeneratorOptions o;
    o.columns = 16;
    o.rows = 12;
    o.stepH = 10;
    o.stepV = 10;
    o.depth = 300.0;
    o.noise = 5.0;
    o.reflectors = {{55.0, 45.0, 150.0, 1.0}};
    return o;
}

QWidget* child(QWidget* parent, const char* name)
{
    QWidget* w = parent->findChild<QWidget*>(QLatin1String(name));
    if (!w)
        qWarning("no child %s", name);
    return w;
}

//! Sum of all colour channels: how much light an image holds.
qint64 light(const QImage& image)
{
    qint64 n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            n += qRed(c) + qGreen(c) + qBlue(c);
        }
    return n;
}

//! Pixels of an image that are not black.
int litPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xffffff) != 0;
    return n;
}

void wheel(QWidget* w, int delta)
{
    const QPointF pos(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent ev(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &ev);
}

} // namespace

class TestMapView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void opensWithThreeImages();
    void cursorOnReflector();
    void slicesAndLimits();
    void zoomAndPan();
    void thresholdAndBrightness();
    void executeRebuilds();
    void storedSettingsSurviveReopening();
    void leavePromptOnlyWhenChanged();
    void badMapStaysEmpty();
    void clearEmptiesEverything();

private:
    void openDemo(CMapScans& view, bool* pSaved = nullptr);

    QTemporaryDir m_dir;
    QString m_cfg;
};

void TestMapView::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QString error;
    QVERIFY2(MapGenerator::write(m_dir.path(), demoOptions(), &error), qPrintable(error));
    m_cfg = m_dir.filePath(QStringLiteral("map.cfg"));
    QVERIFY(QFile::exists(m_cfg));
}

void TestMapView::openDemo(CMapScans& view, bool* pSaved)
{
    view.resize(1200, 800);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy loaded(&view, &CMapScans::mapDataLoaded);
    view.openMap(m_cfg, m_dir.path());
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(loaded.first().at(0).toBool(), true);
    if (pSaved)
        *pSaved = loaded.first().at(1).toBool();
    QVERIFY(view.isMapLoaded());
}

void TestMapView::opensWithThreeImages()
{
    CMapScans view;
    openDemo(view);
    QCOMPARE(view.viewGeometry().pointsX(), 32);
    QCOMPARE(view.viewGeometry().pointsY(), 24);
    QCOMPARE(view.viewGeometry().pointsZ(), 60);
    QVERIFY(view.mapData().hasProcessedVolume());
    QCOMPARE(view.mapData().viewingMode(), ProcessedView);
    for (const char* name : {"frameCScan", "frameBScan", "frameDScan"}) {
        QWidget* f = child(&view, name);
        QVERIFY(f);
        QVERIFY2(litPixels(f->grab().toImage()) > 100, name);
    }
    QVERIFY(view.titleText().endsWith(QLatin1String("Generated map")));
    view.grab().save(QStringLiteral(VANTAR_BIN_DIR "/../mapview-processed.png"));
    view.slot_viewingModeChanged(RawView);
    view.grab().save(QStringLiteral(VANTAR_BIN_DIR "/../mapview-raw.png"));
}

void TestMapView::cursorOnReflector()
{
    CMapScans view;
    openDemo(view);
    const MapViewGeometry& g = view.viewGeometry();
    // The reflector at (55, 45) mm, 150 mm deep: cell (11, 9), layer 30.
    const int px = g.pixelX(11) - g.offsetX();
    const int py = g.pixelY(9) - g.offsetY();
    QTest::mouseClick(child(&view, "frameCScan"), Qt::LeftButton, {}, QPoint(px, py));
    QCOMPARE(view.sliceX(), 11);
    QCOMPARE(view.sliceY(), 9);
    // Below saturation, the frame's longest bar is at the column's largest sample.
    view.stepBrightness(-40);
    const std::span<const qint16> column = view.mapData().column(11, 9);
    const int kMax = int(std::max_element(column.begin(), column.end()) - column.begin());
    // The A-scan frame draws the column: its longest bar lies near the reflector's depth.
    const QImage a = child(&view, "frameAScan")->grab().toImage();
    int bestRow = -1, bestLen = -1;
    for (int y = 0; y < a.height(); ++y) {
        int len = 0;
        for (int x = 0; x < a.width(); ++x)
            len += qGreen(a.pixel(x, y)) > 120 && qRed(a.pixel(x, y)) < 100;
        if (len > bestLen) {
            bestLen = len;
            bestRow = y;
        }
    }
    const int expectedRow = g.pixelZ(kMax);
    QVERIFY2(qAbs(bestRow - expectedRow) <= a.height() / int(column.size()) + 1,
             qPrintable(QStringLiteral("echo at row %1, reflector at %2").arg(bestRow).arg(expectedRow)));
    // The reflector is found at its depth layer.
    QVERIFY2(qAbs(kMax - 30) <= 2, qPrintable(QString::number(kMax)));
    // The read-outs in metres with two decimals and the probe position.
    QStringList texts;
    for (const QStringList& t : view.readoutTexts())
        texts += t;
    QVERIFY2(texts.join(QLatin1Char('|')).contains(QLatin1String("0.06")), qPrintable(texts.join(QLatin1Char('|'))));
    // A click beyond the image is ignored.
    QTest::mouseClick(child(&view, "frameCScan"), Qt::LeftButton, {}, QPoint(g.imageWidth() + 3, py));
    QCOMPARE(view.sliceX(), 11);
}

void TestMapView::slicesAndLimits()
{
    CMapScans view;
    openDemo(view);
    const QImage before = child(&view, "frameCScan")->grab().toImage();
    view.slot_sliceChanged_Z(30);
    QCOMPARE(view.sliceZ(), 30);
    const QImage atReflector = child(&view, "frameCScan")->grab().toImage();
    QVERIFY(before != atReflector);
    // Limits: the C-scan shows the maximum over the Z range, so a range around the reflector
    // lights it up, one far from it does not.
    view.setLimitsMode(true);
    QVERIFY(view.findChild<QWidget*>() != nullptr);
    view.slot_layerLimitsChanged_Z(25, 35);
    const QImage near = child(&view, "frameCScan")->grab().toImage();
    view.slot_layerLimitsChanged_Z(50, 59);
    const QImage far = child(&view, "frameCScan")->grab().toImage();
    QVERIFY(light(near) > 2 * light(far));
    QCOMPARE(view.mapData().range2().first, 50);
    view.setLimitsMode(false);
}

void TestMapView::zoomAndPan()
{
    CMapScans view;
    openDemo(view);
    QSignalSpy drag(&view, &CMapScans::scanDraggingPossible);
    auto* scrollX = qobject_cast<QScrollBar*>(child(&view, "scb_scrollingX"));
    QVERIFY(scrollX && !scrollX->isEnabled());
    const int w0 = view.viewGeometry().imageWidth();
    wheel(child(&view, "frameCScan"), 240);
    QVERIFY(view.viewGeometry().isZoomed());
    QCOMPARE(view.viewGeometry().imageWidth(), int(w0 * 2.25));
    QVERIFY(scrollX->isEnabled());
    QVERIFY(!drag.isEmpty() && drag.last().at(0).toBool());
    // Panning by the scroll bar moves the C- and B-scans together.
    scrollX->setValue(0);
    const QImage b0 = child(&view, "frameBScan")->grab().toImage();
    scrollX->setValue(scrollX->maximum());
    QCOMPARE(view.viewGeometry().offsetX(), scrollX->maximum());
    QVERIFY(child(&view, "frameBScan")->grab().toImage() != b0);
    // Zooming out past the fit resets.
    wheel(child(&view, "frameCScan"), -1200);
    QVERIFY(!view.viewGeometry().isZoomed());
    QCOMPARE(view.viewGeometry().offsetX(), 0);
    QVERIFY(!scrollX->isEnabled());
    QCOMPARE(drag.last().at(0).toBool(), false);
}

void TestMapView::thresholdAndBrightness()
{
    CMapScans view;
    openDemo(view);
    const int lit = litPixels(child(&view, "frameCScan")->grab().toImage());
    view.slot_setScanThreshold(60);
    const int fewer = litPixels(child(&view, "frameCScan")->grab().toImage());
    QVERIFY(fewer < lit);
    view.slot_setScanThreshold(0);
    const QImage normal = child(&view, "frameCScan")->grab().toImage();
    view.stepBrightness(+6);
    QVERIFY(child(&view, "frameCScan")->grab().toImage() != normal);
    QCOMPARE(view.collectViewingState().brightness, 6);
}

void TestMapView::executeRebuilds()
{
    CMapScans view;
    openDemo(view);
    const std::vector<qint16> before = view.mapData().processedVolume();
    SAFTsettings s = view.saftSettings();
    s.velocity = s.velocity * 1.2;
    view.slot_executeMapProcessing(s);
    QVERIFY(view.isMapLoaded());
    QVERIFY(view.mapData().hasProcessedVolume());
    QVERIFY(view.mapData().processedVolume() != before);
    QCOMPARE(view.saftSettings().velocity, s.velocity);
    // A shallower depth gives fewer layers.
    s.depth = 200;
    view.slot_executeMapProcessing(s);
    QCOMPARE(view.viewGeometry().pointsZ(), 40);
    QCOMPARE(view.mapData().dim2(), 40);
    // A depth of fewer than two layers is refused and changes nothing.
    ModalDriver driver({QMessageBox::Ok});
    SAFTsettings bad = s;
    bad.depth = 4;
    view.slot_executeMapProcessing(bad);
    QCOMPARE(view.mapData().dim2(), 40);
    QCOMPARE(driver.seen().size(), 1);
}

void TestMapView::storedSettingsSurviveReopening()
{
    QFile::remove(MapStoredFiles::viewSettingsPath(m_dir.path()));
    QFile::remove(MapStoredFiles::commentsPath(m_dir.path()));
    {
        CMapScans view;
        openDemo(view);
        view.slot_commentsChanged(QStringLiteral("Weld seam, lack of fusion near 0.06 m"));
        view.slot_sliceChanged_Z(17);
        view.stepBrightness(3);
        ModalDriver driver({QMessageBox::Yes});
        view.askToSave(m_dir.path());
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("Map's viewing settings and comments were changed.\nDo you want to save them?")});
    }
    QCOMPARE(QFileInfo(MapStoredFiles::viewSettingsPath(m_dir.path())).size(), 108);
    CMapScans view;
    bool bSaved = false;
    openDemo(view, &bSaved);
    QVERIFY(bSaved);
    QCOMPARE(view.comments(), QStringLiteral("Weld seam, lack of fusion near 0.06 m"));
    QCOMPARE(view.sliceZ(), 17);
    QCOMPARE(view.collectViewingState().brightness, 3);
    QFile::remove(MapStoredFiles::viewSettingsPath(m_dir.path()));
    QFile::remove(MapStoredFiles::commentsPath(m_dir.path()));
}

void TestMapView::leavePromptOnlyWhenChanged()
{
    CMapScans view;
    openDemo(view);
    {
        ModalDriver driver({QMessageBox::No});
        view.askToSave(m_dir.path());
        QTest::qWait(30);
        QVERIFY(driver.seen().isEmpty());
    }
    view.slot_commentsChanged(QStringLiteral("note"));
    {
        ModalDriver driver({QMessageBox::No});
        view.askToSave(m_dir.path());
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("Map's comments were changed. Do you want to save them?")});
    }
    QVERIFY(!QFile::exists(MapStoredFiles::commentsPath(m_dir.path())));
}

void TestMapView::badMapStaysEmpty()
{
    QTemporaryDir dir;
    MapGeneratorOptions o = demoOptions();
    o.truncated = {{3, 2}};
    QString error;
    QVERIFY(MapGenerator::write(dir.path(), o, &error));
    CMapScans view;
    view.resize(1200, 800);
    view.show();
    QSignalSpy loaded(&view, &CMapScans::mapDataLoaded);
    ModalDriver driver({QMessageBox::Ok});
    view.openMap(dir.filePath(QStringLiteral("map.cfg")), dir.path());
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(loaded.first().at(0).toBool(), false);
    QVERIFY(!view.isMapLoaded());
    QCOMPARE(litPixels(child(&view, "frameCScan")->grab().toImage()), 0);
    // Clicks and wheel on the empty view do nothing.
    QTest::mouseClick(child(&view, "frameCScan"), Qt::LeftButton, {}, QPoint(10, 10));
    wheel(child(&view, "frameCScan"), 120);
    QVERIFY(!view.viewGeometry().isZoomed());

    loaded.clear();
    view.openMap(dir.filePath(QStringLiteral("missing.cfg")), dir.path());
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(loaded.first().at(0).toBool(), false);
}

void TestMapView::clearEmptiesEverything()
{
    CMapScans view;
    openDemo(view);
    view.setLimitsMode(true);
    view.clearMap();
    QVERIFY(!view.isMapLoaded());
    QVERIFY(view.titleText().isEmpty());
    QCOMPARE(litPixels(child(&view, "frameCScan")->grab().toImage()), 0);
    view.setLimitsMode(false);
}

QTEST_MAIN(TestMapView)
#include "tst_mapview.moc"
