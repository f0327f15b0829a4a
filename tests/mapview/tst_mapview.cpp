// The map view driven as a user drives it: a generated map with axes of different sizes (36 × 26
// points, 60 layers) is opened, its bars dragged, rectangles drawn and cursors clicked in the
// frames, SAFT run again from the settings window; what it shows and stores is looked at.

#include "common/modaldriver.h"
#include "common/widgetinput.h"
#include "common/windowfixture.h"
#include "map/mapgenerator.h"
#include "map/mapstoredfiles.h"
#include "map/mapviewstatefile.h"
#include "mapview/cmapscans.h"
#include "mapview/cmapsettings.h"
#include "mapview/cwgtdisplaysstd.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using WidgetInput::child;
using WidgetInput::drag;

namespace {

constexpr int kPointsX = 36;
constexpr int kPointsY = 26;
constexpr int kPointsZ = 60;
const QString kTitle = QStringLiteral("Weld seam set-up");

// 18 × 13 positions at 10 mm: 36 × 26 points of 5 mm, 300 mm deep (60 layers).
MapGeneratorOptions demoOptions()
{
    MapGeneratorOptions o;
    o.columns = 18;
    o.rows = 13;
    o.depth = 300.0;
    o.noise = 5.0;
    o.title = kTitle;
    o.reflectors = {{55.0, 45.0, 150.0, 1.0}};
    return o;
}

//! Pixels of a widget's picture that are not black.
int litPixels(QWidget* w)
{
    return TestInput::countPixels(w->grab().toImage(), [](QRgb c) { return (c & 0xffffff) != 0; });
}

//! The row (or column) that is white nearly all along: the cursor line; -1 when none.
int whiteLine(const QImage& image, bool bRow)
{
    const int len = bRow ? image.width() : image.height();
    for (int i = 0; i < (bRow ? image.height() : image.width()); ++i) {
        const QImage line = bRow ? image.copy(0, i, len, 1) : image.copy(i, 0, 1, len);
        if (TestInput::countPixels(line, [](QRgb c) { return (c & 0xffffff) == 0xffffff; }) > len * 9 / 10)
            return i;
    }
    return -1;
}

QList<int> slices(const CMapScans& view)
{
    return {view.sliceX(), view.sliceY(), view.sliceZ()};
}

QString readout(const CMapScans& view, int i)
{
    return view.readoutTexts().value(i).join(QLatin1Char('|'));
}

QString metres(double v)
{
    return QString::number(v, 'f', 2);
}

} // namespace

class TestMapView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void barsMoveTheirOwnAxis_data();
    void barsMoveTheirOwnAxis();
    void rectanglesMeasureTheirOwnAxes_data();
    void rectanglesMeasureTheirOwnAxes();
    void rulersHaveTicksAndWholeLabels();
    void sectionClicksAndCursorOnReflector();
    void executeWhileResizingAndRefused();
    void panelEditsApplyOnlyWhenExecuted();
    void setupNameInSettingsAndReport();
    void failuresAreShown();
    void zoomPanAndClear();

private:
    void openDemo(CMapScans& view, bool* pSaved = nullptr);
    //! Answers the leave prompt with Yes and reads back what was stored (SAFT settings into m_storedSaft).
    MapViewState saveAndReadBack(CMapScans& view);
    CMapSettings* settingsWindow(CMapScans& view);
    void executeWithDepth(CMapSettings* window, int iDepth);

    QTemporaryDir m_dir;
    QString m_cfg;
    SAFTsettings m_storedSaft;
};

void TestMapView::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QString error;
    QVERIFY2(MapGenerator::write(m_dir.path(), demoOptions(), &error), qPrintable(error));
    m_cfg = m_dir.filePath(QStringLiteral("map.cfg"));
}

void TestMapView::init()
{
    QFile::remove(MapStoredFiles::viewSettingsPath(m_dir.path()));
    QFile::remove(MapStoredFiles::commentsPath(m_dir.path()));
}

void TestMapView::openDemo(CMapScans& view, bool* pSaved)
{
    QVERIFY(WidgetInput::shown(view, QSize(1200, 800)));
    QSignalSpy loaded(&view, &CMapScans::mapDataLoaded);
    view.openMap(m_cfg, m_dir.path());
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(loaded.first().at(0).toBool(), true);
    if (pSaved)
        *pSaved = loaded.first().at(1).toBool();
    const MapViewGeometry& g = view.viewGeometry();
    QCOMPARE((QList<int>{g.pointsX(), g.pointsY(), g.pointsZ()}), (QList<int>{kPointsX, kPointsY, kPointsZ}));
}

MapViewState TestMapView::saveAndReadBack(CMapScans& view)
{
    ModalDriver driver({QMessageBox::Yes});
    view.askToSave(m_dir.path());
    MapViewState state;
    const QString path = MapStoredFiles::viewSettingsPath(m_dir.path());
    if (readViewSettingsFile(path, m_storedSaft, state) != StoredFileStatus::Loaded)
        qWarning("usr_map.set not stored");
    return state;
}

CMapSettings* TestMapView::settingsWindow(CMapScans& view)
{
    view.showSettingsWindow();
    auto* window = view.findChild<CMapSettings*>();
    return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

void TestMapView::executeWithDepth(CMapSettings* window, int iDepth)
{
    TestInput::retype(child<QLineEdit>(window, "edt_depth"), QString::number(iDepth));
    QTest::keyClick(child(window, "edt_depth"), Qt::Key_Return);
    QTest::mouseClick(child(window, "btn_run"), Qt::LeftButton);
}

void TestMapView::barsMoveTheirOwnAxis_data()
{
    QTest::addColumn<QString>("pane");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("points");
    QTest::newRow("C-scan: depth") << "cscan" << 2 << kPointsZ;
    QTest::newRow("B-scan: Y") << "bscan" << 1 << kPointsY;
    QTest::newRow("D-scan: X") << "dscan" << 0 << kPointsX;
}

void TestMapView::barsMoveTheirOwnAxis()
{
    QFETCH(QString, pane);
    QFETCH(int, axis);
    QFETCH(int, points);
    const auto ranges = [](const CMapScans& v) {
        const MapViewRanges r = v.mapData().viewRanges();
        return QList<MapRange>{r.range0, r.range1, r.range2};
    };
    QList<int> expected;
    QList<MapRange> expectedRanges;
    {
        CMapScans view;
        openDemo(view);
        expected = slices(view);
        // The slice bar's handle (30 pixels) is dragged past the far end of the bar.
        QWidget* group = child(&view, qPrintable("sb_" + pane));
        QWidget* slider = child(group, "ms_slider");
        QImage before = view.grab().toImage();
        const int span = slider->height() - 1 - 31;
        const int handle = 1 + qRound((span - 1) * double(expected[axis]) / (points - 1));
        drag(slider, QPoint(20, handle + 15), QPoint(20, slider->height() + 40));
        expected[axis] = points - 1;
        QCOMPARE(slices(view), expected);
        QVERIFY(view.grab().toImage() != before);
        // One step back with the counter's upper arrow.
        QTest::mouseClick(child(child(group, "vc_counter"), "m_btn_decrease"), Qt::LeftButton);
        expected[axis] = points - 2;
        QCOMPARE(slices(view), expected);
        const MapViewGeometry& g = view.viewGeometry();
        QVERIFY(axis != 2 || readout(view, 2).contains(metres(g.metresZ(g.pixelZ(points - 2)))));
        // The limit control's upper limit sits at the bottom line of its bar: dragged to the top.
        view.setLimitsMode(true);
        expectedRanges = ranges(view);
        QCOMPARE(expectedRanges[axis].last, points - 1);
        group = child(&view, qPrintable("sc_" + pane));
        QWidget* bar = child(group, "frm_slidebar");
        before = view.grab().toImage();
        drag(bar, QPoint(20, bar->height() - 1), QPoint(20, -30));
        const MapRange moved = ranges(view)[axis];
        QCOMPARE(moved.first, 0);
        QVERIFY2(moved.last >= 1 && moved.last <= 3, qPrintable(QString::number(moved.last)));
        QVERIFY(view.grab().toImage() != before);
        // Three steps down with the lower counter's arrow.
        QWidget* arrow = child(child(group, "vc_topCounter"), "m_btn_increase");
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(arrow, Qt::LeftButton);
        expectedRanges[axis] = {0, moved.last + 3};
        QCOMPARE(ranges(view), expectedRanges);
        const MapViewState stored = saveAndReadBack(view);
        QCOMPARE((QList<int>{stored.sliceX, stored.sliceY, stored.sliceZ}), expected);
        QCOMPARE((QList<MapRange>{stored.ranges.range0, stored.ranges.range1, stored.ranges.range2}), expectedRanges);
    }
    CMapScans view;
    bool bSaved = false;
    openDemo(view, &bSaved);
    QVERIFY(bSaved);
    QVERIFY(view.isLimitsMode());
    QCOMPARE(slices(view), expected);
    QCOMPARE(ranges(view), expectedRanges);
}

void TestMapView::rectanglesMeasureTheirOwnAxes_data()
{
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("across");
    QTest::addColumn<int>("down");
    QTest::newRow("C-scan") << "frameCScan" << 0 << 1;
    QTest::newRow("B-scan") << "frameBScan" << 0 << 2;
    QTest::newRow("D-scan") << "frameDScan" << 2 << 1;
}

void TestMapView::rectanglesMeasureTheirOwnAxes()
{
    QFETCH(QString, frame);
    QFETCH(int, across);
    QFETCH(int, down);
    CMapScans view;
    openDemo(view);
    view.setMeasuringMode(true);
    const MapViewGeometry& g = view.viewGeometry();
    const auto index = [&g](int axis, int px) { return axis == 0 ? g.indexX(px) : axis == 1 ? g.indexY(px) : g.indexZ(px); };
    const int size[] = {g.imageWidth(), g.imageHeight(), g.imageDepth()};
    const int points[] = {kPointsX, kPointsY, kPointsZ};
    const QPoint p1(size[across] / 5, size[down] / 4);
    const QPoint p2(size[across] * 3 / 5, size[down] * 2 / 3);
    drag(child(&view, qPrintable(frame)), p1, p2);
    MapBand box[3];
    for (int a = 0; a < 3; ++a)
        box[a] = {points[a] / 2 - 2, points[a] / 2 + 2};
    box[across] = {index(across, p1.x()), index(across, p2.x())};
    box[down] = {index(down, p1.y()), index(down, p2.y())};
    const double cell[] = {g.cellX() / 1000.0, g.cellY() / 1000.0, 0.005};
    for (int a = 0; a < 3; ++a)
        QVERIFY2(readout(view, a).contains(metres(box[a].first * cell[a]))
                     && readout(view, a).contains(metres((box[a].last - box[a].first) * cell[a])),
                 qPrintable(readout(view, a)));
    const int amplitude = view.mapData().boxMaximum(box[0].first, box[0].last, box[1].first, box[1].last,
                                                    box[2].first, box[2].last);
    QVERIFY(amplitude > 0);
    QVERIFY2(readout(view, 3).endsWith(QString::number(MapViewGeometry::amplitudeDb(amplitude, view.mapSettings().iGain), 'f', 2)),
             qPrintable(readout(view, 3)));

    const MapViewState stored = saveAndReadBack(view);
    QCOMPARE(stored.measuringMode, 1);
    QCOMPARE(stored.box, (MapBox{box[0].first, box[1].first, box[2].first, box[0].last, box[1].last, box[2].last}));
}

void TestMapView::rulersHaveTicksAndWholeLabels()
{
    CMapScans view;
    openDemo(view);
    for (const char* name : {"cscanHorScale", "bscanHorScale", "dscanHorScale", "cscanVerScale", "bscanVerScale",
                             "dscanVerScale", "ascanVerScale"}) {
        QWidget* ruler = child(&view, name);
        const QImage image = ruler->grab().toImage();
        const bool bHorizontal = ruler->width() > ruler->height();
        // Ticks grow from the edge next to the image: count the separate dark marks there.
        const int edge = (bHorizontal ? image.height() : image.width()) - 2;
        const QList<int> dark = WidgetInput::darkAlong(image, bHorizontal, edge);
        int ticks = 0;
        for (qsizetype i = 0; i < dark.size(); ++i)
            ticks += i == 0 || dark[i] != dark[i - 1] + 1;
        QVERIFY2(ticks >= 3, qPrintable(QStringLiteral("%1: %2 ticks").arg(QLatin1String(name)).arg(ticks)));
        // No label is cut at the outer edge.
        QVERIFY2(bHorizontal || WidgetInput::darkAlong(image, false, 0).isEmpty(), name);
    }
}

void TestMapView::sectionClicksAndCursorOnReflector()
{
    CMapScans view;
    openDemo(view);
    const MapViewGeometry& g = view.viewGeometry();
    QWidget* frameC = child(&view, "frameCScan");
    // A click between two volume points' pixels.
    const QPoint c(g.pixelX(7) + 3, g.pixelY(17) + 4);
    QTest::mouseClick(frameC, Qt::LeftButton, {}, c);
    QCOMPARE(slices(view).mid(0, 2), (QList<int>{7, 17}));
    const QString strY = readout(view, 1);
    const QString strX = readout(view, 0);
    QCOMPARE(whiteLine(frameC->grab().toImage(), true), c.y());
    // The B-scan moves X and Z only.
    const QPoint b(g.pixelX(20) + 2, g.pixelZ(40) + 1);
    QTest::mouseClick(child(&view, "frameBScan"), Qt::LeftButton, {}, b);
    QCOMPARE(slices(view), (QList<int>{20, 17, 40}));
    QCOMPARE(readout(view, 1), strY);
    QVERIFY(readout(view, 0) != strX);
    QCOMPARE(whiteLine(frameC->grab().toImage(), true), c.y());
    QCOMPARE(whiteLine(frameC->grab().toImage(), false), b.x());
    // The D-scan moves Z and Y only.
    const QString strX2 = readout(view, 0);
    const QPoint d(g.pixelZ(12) + 1, g.pixelY(5) + 2);
    QTest::mouseClick(child(&view, "frameDScan"), Qt::LeftButton, {}, d);
    QCOMPARE(slices(view), (QList<int>{20, 5, 12}));
    QCOMPARE(readout(view, 0), strX2);
    QCOMPARE(whiteLine(frameC->grab().toImage(), false), b.x());
    QCOMPARE(whiteLine(frameC->grab().toImage(), true), d.y());
    // The reflector at (55, 45) mm, 150 mm deep: cell (11, 9), layer 30.
    QTest::mouseClick(frameC, Qt::LeftButton, {}, QPoint(g.pixelX(11), g.pixelY(9)));
    QCOMPARE(slices(view).mid(0, 2), (QList<int>{11, 9}));
    // Below saturation, the A-scan frame's longest bar is at the column's largest sample.
    auto* brightness = child<QLineEdit>(child(&view, "myspb_brightness"), "edt_value");
    brightness->selectAll();
    QTest::keyClicks(brightness, QStringLiteral("40"));
    QTest::keyClick(brightness, Qt::Key_Home);
    QTest::keyClick(brightness, Qt::Key_Minus);
    QCOMPARE(view.viewingStateNow().brightness, -40);
    const std::span<const qint16> column = view.mapData().column(11, 9);
    const int kMax = int(std::max_element(column.begin(), column.end()) - column.begin());
    QVERIFY2(qAbs(kMax - 30) <= 2, qPrintable(QString::number(kMax)));
    const QImage a = child(&view, "frameAScan")->grab().toImage();
    const auto barLength = [&a](int y) {
        const auto green = [](QRgb c) { return qGreen(c) > 120 && qRed(c) < 100; };
        return TestInput::countPixels(a.copy(0, y, a.width(), 1), green);
    };
    int bestRow = 0;
    for (int y = 1; y < a.height(); ++y)
        bestRow = barLength(y) > barLength(bestRow) ? y : bestRow;
    QVERIFY2(qAbs(bestRow - g.pixelZ(kMax)) <= a.height() / int(column.size()) + 1,
             qPrintable(QStringLiteral("echo at row %1, reflector at %2").arg(bestRow).arg(g.pixelZ(kMax))));
    QVERIFY2(readout(view, 0).contains(metres(g.metresX(g.pixelX(11)))), qPrintable(readout(view, 0)));
    // A click beyond the image is ignored.
    QTest::mouseClick(frameC, Qt::LeftButton, {}, QPoint(g.imageWidth() + 3, 10));
    QCOMPARE(view.sliceX(), 11);
}

void TestMapView::executeWhileResizingAndRefused()
{
    CMapScans view;
    openDemo(view);
    CMapSettings* window = settingsWindow(view);
    QVERIFY(window);
    // The view is resized again and again while the worker rebuilds the volume.
    int resizes = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, &view, [&] {
        view.resize(resizes % 2 ? 1200 : 1100, resizes % 2 ? 800 : 760);
        resizes += !view.isMapLoaded(); // counted only while the worker has the map
    });
    timer.start(1);
    executeWithDepth(window, 400);
    timer.stop();
    QVERIFY2(resizes > 0, qPrintable(QString::number(resizes)));
    QVERIFY(view.isMapLoaded());
    QCOMPARE(view.mapData().dim2(), 80);
    QCOMPARE(view.viewGeometry().pointsZ(), 80);
    view.resize(1200, 800);
    QVERIFY(litPixels(child(&view, "frameCScan")) > 100);
    QCOMPARE(view.viewGeometry().frameWidth(), child(&view, "frameCScan")->width());

    // Room for the volume as it is, not for one twice as deep: refused, map and comments kept.
    QTest::keyClicks(child(window, "tedt_comments"), QStringLiteral("crack at the root"));
    view.setMemoryLimit(MapVolumeGrid::compute(18, 13, 10, 10, 0.4).bytesNeeded() * 3 / 2);
    const QString title = view.titleText();
    const QImage before = child(&view, "frameCScan")->grab().toImage();
    ModalDriver driver({QMessageBox::Ok});
    executeWithDepth(window, 800);
    QCOMPARE(driver.seen().size(), 1);
    QVERIFY2(driver.texts().first().contains(QLatin1String("memory")), qPrintable(driver.texts().first()));
    QVERIFY(view.isMapLoaded());
    QCOMPARE(view.titleText(), title);
    QCOMPARE(view.mapData().dim2(), 80);
    QCOMPARE(view.saftSettings().depth, 400);
    QCOMPARE(view.comments(), QStringLiteral("crack at the root"));
    QCOMPARE(child(&view, "frameCScan")->grab().toImage(), before);
}

void TestMapView::panelEditsApplyOnlyWhenExecuted()
{
    CMapScans view;
    openDemo(view);
    CMapSettings* window = settingsWindow(view);
    executeWithDepth(window, 200);
    QCOMPARE(view.mapData().dim2(), 40);
    // Reset puts 300 back into the panel, but nothing is executed.
    QTest::mouseClick(child(window, "btn_reset"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(window, "edt_depth")->text(), QStringLiteral("300"));
    MapViewState stored = saveAndReadBack(view);
    QCOMPARE(view.saftSettings().depth, 200);
    QCOMPARE(m_storedSaft.depth, 200);
    QCOMPARE(stored.ranges.dim2, 40);
    // Executing the panel's 300 rebuilds the volume for it.
    QTest::mouseClick(child(window, "btn_run"), Qt::LeftButton);
    QCOMPARE(view.mapData().dim2(), kPointsZ);
    stored = saveAndReadBack(view);
    QCOMPARE(m_storedSaft.depth, 300);
    QCOMPARE(stored.ranges.dim2, kPointsZ);
}

void TestMapView::setupNameInSettingsAndReport()
{
    CMapScans view;
    openDemo(view);
    CMapSettings* window = settingsWindow(view);
    QCOMPARE(child<QGroupBox>(window, "grpb_table")->title(), kTitle);
    auto* filter = child<QCheckBox>(window, "chb_comp_sw");
    QVERIFY(filter->isChecked());
    QTest::mouseClick(filter, Qt::LeftButton, {}, QPoint(5, filter->height() / 2));
    QTest::mouseClick(child(window, "btn_run"), Qt::LeftButton);
    QCOMPARE(view.saftSettings().filterSW, false);
    // The next map opened keeps the choice.
    view.openMap(m_cfg, m_dir.path());
    QCOMPARE(view.saftSettings().filterSW, false);
    QVERIFY(!child<QCheckBox>(settingsWindow(view), "chb_comp_sw")->isChecked());

    // The printed report is headed by the map's and the set-up's names, without the instrument's.
    const QString pdf = m_dir.filePath(QStringLiteral("report.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(view.printMapReport(&printer, QString()));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(printed.contains(QLatin1String("Map Name: Generated map")), qPrintable(printed));
    QVERIFY2(printed.contains(kTitle), qPrintable(printed));
    QVERIFY(!printed.contains(QLatin1String("Instrument Settings")));
}

void TestMapView::failuresAreShown()
{
    // Comments that exist but cannot be read: a warning, the map still opens.
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("map.cmm")));
    {
        CMapScans view;
        ModalDriver driver({QMessageBox::Ok});
        openDemo(view);
        QCOMPARE(driver.seen().size(), 1);
        QVERIFY2(driver.texts().first().startsWith(QLatin1String("Couldn't read file \"")), qPrintable(driver.texts().first()));
    }
    QVERIFY(QDir(m_dir.path()).rmdir(QStringLiteral("map.cmm")));

    // A map that cannot be opened says why and stays empty.
    QTemporaryDir dir;
    MapGeneratorOptions o = demoOptions();
    o.truncated = {{3, 2}};
    QVERIFY(MapGenerator::write(dir.path(), o));
    CMapScans view;
    QVERIFY(WidgetInput::shown(view, QSize(1200, 800)));
    QSignalSpy loaded(&view, &CMapScans::mapDataLoaded);
    ModalDriver driver({QMessageBox::Ok});
    view.openMap(dir.filePath(QStringLiteral("map.cfg")), dir.path());
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(loaded.first().at(0).toBool(), false);
    QCOMPARE(driver.seen().size(), 1);
    QVERIFY2(driver.texts().first().contains(QLatin1String("3_2.raw")), qPrintable(driver.texts().first()));
    QVERIFY(!view.isMapLoaded());
    QCOMPARE(litPixels(child(&view, "frameCScan")), 0);
    // Clicks and wheel on the empty view do nothing.
    QTest::mouseClick(child(&view, "frameCScan"), Qt::LeftButton, {}, QPoint(10, 10));
    TestInput::wheel(child(&view, "frameCScan"), 120);
    QVERIFY(!view.viewGeometry().isZoomed());
    // At the smallest width the read-outs stay clear of the brightness control.
    view.resize(view.minimumSize());
    QCoreApplication::processEvents();
    QCOMPARE(view.width(), 1000);
    const QRect readouts = view.findChild<CWgtDisplaysStd*>()->geometry();
    QVERIFY2(readouts.right() < child(&view, "lbl_brightness")->x(), qPrintable(QString::number(readouts.right())));
}

void TestMapView::zoomPanAndClear()
{
    CMapScans view;
    openDemo(view);
    QSignalSpy drag(&view, &CMapScans::scanDraggingPossible);
    auto* scrollX = child<QScrollBar>(&view, "scb_scrollingX");
    QVERIFY(!scrollX->isEnabled());
    const int w0 = view.viewGeometry().imageWidth();
    TestInput::wheel(child(&view, "frameCScan"), 240);
    QVERIFY(view.viewGeometry().isZoomed());
    QCOMPARE(view.viewGeometry().imageWidth(), int(w0 * 2.25));
    QVERIFY(scrollX->isEnabled());
    QVERIFY(!drag.isEmpty() && drag.last().at(0).toBool());
    // Panning by the scroll bar moves the C- and B-scans together, and their ruler.
    scrollX->setValue(0);
    const QImage b0 = child(&view, "frameBScan")->grab().toImage();
    const QImage r0 = child(&view, "bscanHorScale")->grab().toImage();
    scrollX->setValue(scrollX->maximum());
    QCOMPARE(view.viewGeometry().offsetX(), scrollX->maximum());
    QVERIFY(child(&view, "frameBScan")->grab().toImage() != b0);
    QVERIFY(child(&view, "bscanHorScale")->grab().toImage() != r0);
    // Zooming out past the fit resets.
    TestInput::wheel(child(&view, "frameCScan"), -1200);
    QVERIFY(!view.viewGeometry().isZoomed());
    QCOMPARE(view.viewGeometry().offsetX(), 0);
    QVERIFY(!scrollX->isEnabled());
    QCOMPARE(drag.last().at(0).toBool(), false);
    // Clearing (in limits mode) empties the view.
    view.setLimitsMode(true);
    view.clearMap();
    QVERIFY(!view.isMapLoaded());
    QVERIFY(view.titleText().isEmpty());
    QCOMPARE(litPixels(child(&view, "frameCScan")), 0);
    view.setLimitsMode(false);
}

QTEST_MAIN(TestMapView)
#include "tst_mapview.moc"
