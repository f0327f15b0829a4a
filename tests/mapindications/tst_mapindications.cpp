// Indications in the map view as a user meets them: a generated map whose three axes differ in
// size (32 × 22 points, 50 layers) with two reflectors is opened, the indications window is
// opened and used by clicks and keys, and what the scans, the read-outs and the files show is
// looked at.

#include "app/datawindow/cwindatatempl.h"
#include "app/datawindow/datasaver.h"
#include "common/modaldriver.h"
#include "common/widgetinput.h"
#include "common/windowfixture.h"
#include "map/indicationsfile.h"
#include "map/mapgenerator.h"
#include "map/mapstoredfiles.h"
#include "map/mapvoxelframe.h"
#include "mapview/cindicationswindow.h"
#include "mapview/cmapscans.h"
#include "mapview/cscanogrammframe.h"
#include "mapview/mappalette.h"
#include "mapview/scanimage.h"
#include "widgets/myspinbox.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

constexpr int kPointsX = 32;
constexpr int kPointsY = 22;
constexpr int kPointsZ = 50;

// 16 × 11 positions at 10 mm, 250 mm deep; clean signals, two reflectors of which the first is
// the stronger.
MapGeneratorOptions mapOptions()
{
    MapGeneratorOptions o;
    o.columns = 16;
    o.rows = 11;
    o.depth = 250.0;
    o.reflectors = {{42.0, 32.0, 90.0, 1.0}, {118.0, 78.0, 170.0, 0.8}};
    return o;
}

using WidgetInput::child;

void click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

void clickRow(QTableWidget* table, int iRow)
{
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(iRow, 0)).center());
}

//! Types text into a cell of the table (clicked, F2, the text, Return).
bool typeInto(QTableWidget* table, int iRow, int iColumn, const QString& text)
{
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(iRow, iColumn)).center());
    QTest::keyClick(table, Qt::Key_F2);
    auto* editor = table->findChild<QLineEdit*>();
    if (!editor)
        return false;
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    return true;
}

//! Whether the mark's ring colour lies within two pixels of p in the frame's picture.
bool ringNear(const QImage& picture, QPoint p)
{
    const QRgb ring = CScanogrammFrame::markColour().rgb();
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint q = p + QPoint(dx, dy);
            if (picture.rect().contains(q) && picture.pixel(q) == ring)
                return true;
        }
    return false;
}

//! The scan image's pixels of the palette's top colour.
int topColourPixels(const ScanImage& image)
{
    QImage one(1, 1, QImage::Format_RGB16);
    one.fill(QColor::fromRgb(MapPalette::colour(MapPalette::kSize - 1)));
    return TestInput::countPixels(image.rawImage(), [&](QRgb c) { return c == one.pixel(0, 0); });
}

//! Read-out number (metres) of a text such as "X, m = 0.11".
double readoutMetres(const CMapScans& view, int i)
{
    return view.readoutTexts().value(i).value(0).section(QLatin1Char('='), 1).trimmed().toDouble();
}

class Observer : public Vantar::SaveObserver
{
public:
    bool question(const QString& strText) override
    {
        questions << strText;
        return true;
    }
    void warning(const QString& strText) override { warnings << strText; }
    QStringList questions;
    QStringList warnings;
};

} // namespace

class TestMapIndications : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void findListsMarksAndMovesTheCursor();
    void addEditRemoveStoreAndReopen();
    void brokenFileIsRefusedAndKept_data();
    void brokenFileIsRefusedAndKept();
    void resetViewKeepsUnstoredIndications();
    void savedCopyCarriesTheIndications();
    void exportedAsCsv();
    void autoBrightnessReachesTheTopColour();

private:
    void open(CMapScans& view);
    CIndicationsWindow* openWindow(CMapScans& view);

    QTemporaryDir m_dir;
    QString m_cfg;
};

void TestMapIndications::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QString error;
    QVERIFY2(MapGenerator::write(m_dir.path(), mapOptions(), &error), qPrintable(error));
    m_cfg = m_dir.filePath(QStringLiteral("map.cfg"));
}

void TestMapIndications::init()
{
    QFile::remove(IndicationsFile::path(m_dir.path()));
    QFile::remove(MapStoredFiles::viewSettingsPath(m_dir.path()));
}

void TestMapIndications::open(CMapScans& view)
{
    QVERIFY(WidgetInput::shown(view, QSize(1200, 800)));
    view.openMap(m_cfg, m_dir.path());
    QVERIFY(view.isMapLoaded());
    QCOMPARE(view.viewGeometry().pointsX(), kPointsX);
    QCOMPARE(view.viewGeometry().pointsY(), kPointsY);
    QCOMPARE(view.viewGeometry().pointsZ(), kPointsZ);
}

CIndicationsWindow* TestMapIndications::openWindow(CMapScans& view)
{
    auto* button = child<QToolButton>(&view, "tbtn_indications");
    if (!button || !button->isEnabled() || !button->isVisible())
        return nullptr;
    click(button);
    CIndicationsWindow* w = view.indicationsWindow();
    if (w && !QTest::qWaitForWindowExposed(w))
        return nullptr;
    return w;
}

void TestMapIndications::findListsMarksAndMovesTheCursor()
{
    CMapScans view;
    open(view);
    CIndicationsWindow* w = openWindow(view);
    QVERIFY(w);
    auto* table = child<QTableWidget>(w, "tw_indications");
    QCOMPARE(table->rowCount(), 0);
    click(child<QPushButton>(w, "btn_find"));

    // Both reflectors, each where it was put (within a cell beside the cell holding it).
    QCOMPARE(table->rowCount(), 2);
    const std::vector<MapIndication>& list = view.indications();
    std::vector<MapReflector> reflectors = mapOptions().reflectors;
    if (std::abs(list[0].x - reflectors[0].x) > std::abs(list[0].x - reflectors[1].x))
        std::swap(reflectors[0], reflectors[1]);
    for (int row = 0; row < 2; ++row) {
        const MapIndication& ind = list[size_t(row)];
        QCOMPARE(table->item(row, CIndicationsWindow::ColNumber)->text(), QString::number(row + 1));
        QCOMPARE(table->item(row, CIndicationsWindow::ColX)->text(), MapIndication::decimal(ind.x));
        QCOMPARE(table->item(row, CIndicationsWindow::ColZ)->text(), MapIndication::decimal(ind.z));
        QCOMPARE(table->item(row, CIndicationsWindow::ColSizeY)->text(), MapIndication::decimal(ind.sizeY));
        QVERIFY2(std::abs(ind.x - reflectors[size_t(row)].x) <= 7.5, qPrintable(QString::number(ind.x)));
        QVERIFY2(std::abs(ind.y - reflectors[size_t(row)].y) <= 7.5, qPrintable(QString::number(ind.y)));
        QVERIFY2(std::abs(ind.z - reflectors[size_t(row)].depth) <= 10.0, qPrintable(QString::number(ind.z)));
    }
    QCOMPARE(table->item(0, CIndicationsWindow::ColDb)->text(), QStringLiteral("0.0"));

    // Each row clicked brings the cursor (read-outs and slices) to its indication, and the
    // three scans show both marks where the indications lie on their own two axes.
    const MapVoxelFrame frame = MapVoxelFrame::of(view.viewGeometry());
    const auto cellOf = [&](const MapIndication& ind) {
        return PerAxis<int>{frame.cellOf(0, ind.x), frame.cellOf(1, ind.y), frame.cellOf(2, ind.z)};
    };
    const struct
    {
        const char* frame;
        Axis across, down;
    } panes[] = {{"frameCScan", Axis::X, Axis::Y}, {"frameBScan", Axis::X, Axis::Z}, {"frameDScan", Axis::Z, Axis::Y}};
    for (int row : {1, 0}) {
        clickRow(table, row);
        const MapIndication& ind = list[size_t(row)];
        const PerAxis<int> cell = cellOf(ind);
        QCOMPARE(view.sliceX(), cell[0]);
        QCOMPARE(view.sliceY(), cell[1]);
        QCOMPARE(view.sliceZ(), cell[2]);
        QVERIFY2(std::abs(readoutMetres(view, 0) - ind.x / 1000.0) <= 0.005, qPrintable(view.readoutTexts().value(0).join('|')));
        QVERIFY2(std::abs(readoutMetres(view, 1) - ind.y / 1000.0) <= 0.005, qPrintable(view.readoutTexts().value(1).join('|')));
        QVERIFY2(std::abs(readoutMetres(view, 2) - ind.z / 1000.0) <= 0.005, qPrintable(view.readoutTexts().value(2).join('|')));
        for (const auto& p : panes) {
            const QImage picture = child<CScanogrammFrame>(&view, p.frame)->visiblePicture();
            for (size_t n = 0; n < list.size(); ++n) {
                const PerAxis<int> c = cellOf(list[n]);
                const QPoint centre(AxisGeometry::pixel(view.viewGeometry(), p.across, c[axisIndex(p.across)]),
                                    AxisGeometry::pixel(view.viewGeometry(), p.down, c[axisIndex(p.down)]));
                const int r = int(n) == row ? CScanogrammFrame::kSelectedMarkRadius : CScanogrammFrame::kMarkRadius;
                QVERIFY2(ringNear(picture, centre + QPoint(r, 0)) && ringNear(picture, centre - QPoint(0, r)),
                         p.frame);
                // Nothing of the ring at its centre: the mark leaves the reflector itself visible.
                QVERIFY(!ringNear(picture, centre) || r < 3);
            }
        }
    }

    // Zoomed in about the first, the second is brought into view when its row is clicked.
    auto* cscan = child<CScanogrammFrame>(&view, "frameCScan");
    clickRow(table, 0);
    TestInput::wheel(cscan, 4 * 120);
    QVERIFY(view.viewGeometry().isZoomed());
    clickRow(table, 1);
    const PerAxis<int> far = cellOf(list[1]);
    const QPoint farPixel(AxisGeometry::pixel(view.viewGeometry(), Axis::X, far[0]),
                          AxisGeometry::pixel(view.viewGeometry(), Axis::Y, far[1]));
    const QPoint inFrame = farPixel - cscan->offset();
    QVERIFY2(cscan->rect().contains(inFrame), qPrintable(QStringLiteral("%1,%2").arg(inFrame.x()).arg(inFrame.y())));
    QVERIFY(ringNear(cscan->visiblePicture(), inFrame + QPoint(CScanogrammFrame::kSelectedMarkRadius, 0)));
    TestInput::wheel(cscan, -40 * 120);

    // A second search keeps what the user wrote to an indication it finds again.
    QVERIFY(typeInto(table, 1, CIndicationsWindow::ColComment, QStringLiteral("check from the other side")));
    QTRY_COMPARE(list[1].comment, QStringLiteral("check from the other side"));
    click(child<QPushButton>(w, "btn_find"));
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(1, CIndicationsWindow::ColComment)->text(), QStringLiteral("check from the other side"));

    // The report lists them and its pictures carry the marks.
    const MapReportData report = view.reportData(QString());
    QCOMPARE(report.indications.size(), size_t(2));
    QVERIFY(MapReport::writeMapReport(report, QString()).contains(MapIndication::decimal(list[1].z)));

    // At the view's smallest size the button that opens the window stays clear of the rest.
    view.resize(view.minimumSize());
    QCoreApplication::processEvents();
    auto* button = child<QToolButton>(&view, "tbtn_indications");
    QVERIFY(view.rect().contains(button->geometry()));
    for (const char* name : {"frameDScan", "frameAScan", "colourScale", "ascanVerScale", "dscanVerScale", "scb_scrollingY", "scb_scrollingZ"})
        QVERIFY2(!child<QWidget>(&view, name)->geometry().intersects(button->geometry()), name);
}

void TestMapIndications::addEditRemoveStoreAndReopen()
{
    std::vector<MapIndication> kept;
    {
        CMapScans view;
        open(view);
        CIndicationsWindow* w = openWindow(view);
        QVERIFY(w);
        auto* table = child<QTableWidget>(w, "tw_indications");
        // The cursor clicked onto the second reflector in the C-scan and the B-scan, then added.
        auto* cscan = child<CScanogrammFrame>(&view, "frameCScan");
        auto* bscan = child<CScanogrammFrame>(&view, "frameBScan");
        const MapViewGeometry& g = view.viewGeometry();
        const int i = 23, j = 15, k = 33; // 118, 78, 170 mm
        QTest::mouseClick(cscan, Qt::LeftButton, {}, QPoint(AxisGeometry::pixel(g, Axis::X, i), AxisGeometry::pixel(g, Axis::Y, j)));
        QTest::mouseClick(bscan, Qt::LeftButton, {}, QPoint(AxisGeometry::pixel(g, Axis::X, i), AxisGeometry::pixel(g, Axis::Z, k)));
        QCOMPARE(view.sliceX(), i);
        QCOMPARE(view.sliceY(), j);
        QCOMPARE(view.sliceZ(), k);
        click(child<QPushButton>(w, "btn_add"));
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, CIndicationsWindow::ColNumber)->text(), QStringLiteral("1*"));
        QCOMPARE(table->item(0, CIndicationsWindow::ColX)->text(), QStringLiteral("117.5"));
        QCOMPARE(table->item(0, CIndicationsWindow::ColY)->text(), QStringLiteral("77.5"));
        QVERIFY(view.indications()[0].manual);

        // A second one at the first reflector, found and added from the box in measuring mode.
        view.setMeasuringMode(true);
        QCOMPARE(child<QPushButton>(w, "btn_add")->text(), QStringLiteral("Add at Box Maximum"));
        QTest::mousePress(cscan, Qt::LeftButton, {}, QPoint(AxisGeometry::pixel(g, Axis::X, 4), AxisGeometry::pixel(g, Axis::Y, 2)));
        QTest::mouseMove(cscan, QPoint(AxisGeometry::pixel(g, Axis::X, 12), AxisGeometry::pixel(g, Axis::Y, 10)));
        QTest::mouseRelease(cscan, Qt::LeftButton, {}, QPoint(AxisGeometry::pixel(g, Axis::X, 12), AxisGeometry::pixel(g, Axis::Y, 10)));
        QTest::mousePress(bscan, Qt::LeftButton, {}, QPoint(AxisGeometry::pixel(g, Axis::X, 4), AxisGeometry::pixel(g, Axis::Z, 10)));
        QTest::mouseMove(bscan, QPoint(AxisGeometry::pixel(g, Axis::X, 12), AxisGeometry::pixel(g, Axis::Z, 25)));
        QTest::mouseRelease(bscan, Qt::LeftButton, {}, QPoint(AxisGeometry::pixel(g, Axis::X, 12), AxisGeometry::pixel(g, Axis::Z, 25)));
        click(child<QPushButton>(w, "btn_add"));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(1, CIndicationsWindow::ColNumber)->text(), QStringLiteral("2*"));
        QVERIFY(std::abs(view.indications()[1].x - 42.0) <= 7.5);
        QVERIFY(std::abs(view.indications()[1].z - 90.0) <= 10.0);

        // Relabelled and commented by typing into the table.
        QVERIFY(typeInto(table, 1, CIndicationsWindow::ColLabel, QStringLiteral("void, near")));
        QTRY_COMPARE(view.indications()[1].label, QStringLiteral("void, near"));

        // Removing the first keeps the other's number; the Delete key removes as the button does.
        clickRow(table, 0);
        click(child<QPushButton>(w, "btn_remove"));
        QCOMPARE(table->rowCount(), 1);
        click(child<QPushButton>(w, "btn_add"));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(view.indications()[1].number, 3);
        clickRow(table, 1);
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(view.indications()[0].number, 2);
        kept = view.indications();

        // Leaving asks, and Yes stores them beside the map.
        ModalDriver driver({QMessageBox::Yes});
        view.askToSave(m_dir.path());
        QVERIFY(driver.texts().contains(QStringLiteral("Map's viewing settings and indications were changed.\nDo you want to save them?")));
    }
    std::vector<MapIndication> read;
    QCOMPARE(IndicationsFile::read(IndicationsFile::path(m_dir.path()), read), StoredFileStatus::Loaded);
    QVERIFY(read == kept);

    // Opened again: listed and marked, and nothing to ask about when leaving.
    CMapScans view;
    open(view);
    QVERIFY(view.indications() == kept);
    CIndicationsWindow* w = openWindow(view);
    QVERIFY(w);
    QCOMPARE(child<QTableWidget>(w, "tw_indications")->item(0, CIndicationsWindow::ColLabel)->text(),
             QStringLiteral("void, near"));
    QCOMPARE(child<CScanogrammFrame>(&view, "frameCScan")->marks().size(), size_t(1));
    ModalDriver driver({QMessageBox::No});
    view.askToSave(m_dir.path());
    QVERIFY(driver.texts().filter(QStringLiteral("indications")).isEmpty());
}

void TestMapIndications::brokenFileIsRefusedAndKept_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("cut short") << IndicationsFile::encode({MapIndication{1, "a", "", 1, 2, 3, 100, 0, 1, 1, 1, false}}).left(60);
    QTest::newRow("foreign") << QByteArray("{\"type\": \"FeatureCollection\", \"features\": []}");
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10);
}

void TestMapIndications::brokenFileIsRefusedAndKept()
{
    QFETCH(QByteArray, bytes);
    const QString path = IndicationsFile::path(m_dir.path());
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    CMapScans view;
    ModalDriver driver({QMessageBox::Ok});
    open(view);
    QCOMPARE(driver.seen().size(), 1);
    QCOMPARE(driver.seen().first().icon, QMessageBox::Warning);
    QVERIFY2(driver.texts().first().contains(path), qPrintable(driver.texts().first()));
    QVERIFY(view.indications().empty());
    // Leaving untouched neither asks nor writes.
    ModalDriver leave({QMessageBox::Yes});
    view.askToSave(m_dir.path());
    QVERIFY(leave.texts().filter(QStringLiteral("indications")).isEmpty());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), bytes);
}

void TestMapIndications::resetViewKeepsUnstoredIndications()
{
    // The data window's "Reset Scan View" reopens the map; found indications are no viewing
    // settings and stay, still to be stored.
    QVERIFY(MapGenerator::writeViewState(m_dir.path(), mapOptions(), mapOptions().reflectors[0], false));
    CWinDataTempl window;
    window.setDataMode(CWinDataTempl::MapMode);
    window.resize(1020, 710);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.openData(m_cfg, m_dir.path());
    CMapScans* view = window.mapView();
    QVERIFY(view && view->isMapLoaded());
    CIndicationsWindow* w = openWindow(*view);
    QVERIFY(w);
    click(child<QPushButton>(w, "btn_find"));
    const std::vector<MapIndication> found = view->indications();
    QCOMPARE(found.size(), size_t(2));
    auto* reset = child<QToolButton>(&window, "tbtn_reset_settings");
    QVERIFY(reset->isEnabled());
    click(reset);
    QVERIFY(!QFile::exists(MapStoredFiles::viewSettingsPath(m_dir.path())));
    QVERIFY(view->isMapLoaded());
    QVERIFY(view->indications() == found);
    QVERIFY(view->pendingChanges() & IndicationsWritten);
}

void TestMapIndications::savedCopyCarriesTheIndications()
{
    QTemporaryDir target;
    CMapScans view;
    open(view);
    CIndicationsWindow* w = openWindow(view);
    QVERIFY(w);
    click(child<QPushButton>(w, "btn_find"));
    QVERIFY(!view.indications().empty());

    // An older copy is there: the same question as for the other files, then the view writes.
    const QString dest = Vantar::DataSaver::mapDestination(m_cfg, QStringLiteral("Generated map"), target.path() + '/');
    QVERIFY(QDir().mkpath(dest));
    {
        QFile f(IndicationsFile::path(dest));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    Observer observer;
    Vantar::DataSaver saver(observer);
    QVERIFY(saver.saveCurrentMap(m_cfg, QStringLiteral("Generated map"), target.path() + '/', view));
    QCOMPARE(observer.questions.size(), 1);
    QVERIFY(observer.questions.first().contains(QStringLiteral("indications.json")));
    std::vector<MapIndication> read;
    QCOMPARE(IndicationsFile::read(IndicationsFile::path(dest), read), StoredFileStatus::Loaded);
    QVERIFY(read == view.indications());
    view.markChangesSaved();
    QCOMPARE(view.pendingChanges() & IndicationsWritten, 0);
    // The map's own folder got nothing.
    QVERIFY(!QFile::exists(IndicationsFile::path(m_dir.path())));
}

void TestMapIndications::exportedAsCsv()
{
    QTemporaryDir target;
    const QString path = target.filePath(QStringLiteral("list.csv"));
    CMapScans view;
    open(view);
    CIndicationsWindow* w = openWindow(view);
    QVERIFY(w);
    auto* exportButton = child<QPushButton>(w, "btn_export");
    QVERIFY(!exportButton->isEnabled());
    click(child<QPushButton>(w, "btn_find"));
    QVERIFY(exportButton->isEnabled());
    ModalDriver driver({QMessageBox::Ok});
    driver.setOtherHandler([&](QWidget* modal) {
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            // Typed into the name field and confirmed with Return, as a user does.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(path);
            QTest::keyClick(name, Qt::Key_Return);
        }
    });
    click(exportButton);
    QTRY_VERIFY(QFile::exists(path));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QCOMPARE(lines.first(), IndicationsFile::csvHeader().trimmed());
    QCOMPARE(lines.size(), int(view.indications().size()) + 2); // header, rows, final line break
    QVERIFY(lines.at(1).startsWith("1,,"));
}

void TestMapIndications::autoBrightnessReachesTheTopColour()
{
    CMapScans view;
    open(view);
    auto* spin = child<MySpinBox>(&view, "myspb_brightness");
    auto* scale = child<QWidget>(&view, "colourScale");
    auto& cscan = *child<CScanogrammFrame>(&view, "frameCScan")->image();
    auto& bscan = *child<CScanogrammFrame>(&view, "frameBScan")->image();
    auto& dscan = *child<CScanogrammFrame>(&view, "frameDScan")->image();
    // At the strongest reflector, so the brightest values are in the images.
    const auto topPixels = [&] { return topColourPixels(cscan) + topColourPixels(bscan) + topColourPixels(dscan); };
    spin->setValue(-40);
    QCOMPARE(topPixels(), 0);
    QTest::mouseDClick(scale, Qt::LeftButton, {}, QPoint(scale->width() - 5, scale->height() / 2));
    const int b = spin->value();
    QVERIFY(b > -40 && b < 40);
    QVERIFY(topPixels() > 0);
    QCOMPARE(view.viewingStateNow().brightness, b);
    // The smallest such value: one dB less and no pixel reaches the top.
    spin->setValue(b - 1);
    QCOMPARE(topPixels(), 0);
}

QTEST_MAIN(TestMapIndications)
#include "tst_mapindications.moc"
