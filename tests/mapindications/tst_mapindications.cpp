// Indications in the map view as a user meets them: a generated map whose three axes differ in
// size (32 × 22 points, 50 layers) with two reflectors is opened, the indications window is
// used by clicks and keys, and what the scans, the read-outs and the files show is looked at.

#include "app/datawindow/cwindatatempl.h"
#include "app/datawindow/datasaver.h"
#include "common/bytes.h"
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

using WidgetInput::child;

namespace {

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

void click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

void clickRow(QTableWidget* table, int iRow, int iColumn = 0)
{
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(iRow, iColumn)).center());
}

//! Types text into a cell of the table (clicked, F2, the text, Return).
bool typeInto(QTableWidget* table, int iRow, int iColumn, const QString& text)
{
    clickRow(table, iRow, iColumn);
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
    const QImage around = picture.copy(QRect(p - QPoint(2, 2), QSize(5, 5)));
    return TestInput::countPixels(around, [](QRgb c) { return c == CScanogrammFrame::markColour().rgb(); }) > 0;
}

//! The pixel of cell (a, b) in a frame showing axis `across` to the right and `down` downwards.
QPoint pixelOf(const CMapScans& view, Axis across, int a, Axis down, int b)
{
    return {AxisGeometry::pixel(view.viewGeometry(), across, a), AxisGeometry::pixel(view.viewGeometry(), down, b)};
}

class Observer : public Vantar::SaveObserver
{
public:
    bool question(const QString& strText) override
    {
        questions << strText;
        return true;
    }
    void warning(const QString&) override {}
    QStringList questions;
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
    void brokenFileIsRefusedAndKept();
    void resetViewKeepsUnstoredIndications();
    void csvAndSavedCopy();
    void autoBrightnessReachesTheTopColour();

private:
    //! Opens the map in the view, then (unless the view is another's) the indications window.
    CIndicationsWindow* open(CMapScans& view, bool bWindow = true);

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

CIndicationsWindow* TestMapIndications::open(CMapScans& view, bool bWindow)
{
    if (bWindow) {
        if (!WidgetInput::shown(view, QSize(1200, 800)))
            return nullptr;
        view.openMap(m_cfg, m_dir.path());
    }
    const MapViewGeometry& g = view.viewGeometry();
    if (!view.isMapLoaded() || g.pointsX() != 32 || g.pointsY() != 22 || g.pointsZ() != 50)
        return nullptr;
    auto* button = child<QToolButton>(&view, "tbtn_indications");
    if (!button->isEnabled() || !button->isVisible())
        return nullptr;
    click(button);
    CIndicationsWindow* w = view.indicationsWindow();
    return w && QTest::qWaitForWindowExposed(w) ? w : nullptr;
}

void TestMapIndications::findListsMarksAndMovesTheCursor()
{
    CMapScans view;
    CIndicationsWindow* w = open(view);
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
        const MapReflector& r = reflectors[size_t(row)];
        QCOMPARE(table->item(row, CIndicationsWindow::ColNumber)->text(), QString::number(row + 1));
        QCOMPARE(table->item(row, CIndicationsWindow::ColX)->text(), MapIndication::decimal(ind.x));
        QCOMPARE(table->item(row, CIndicationsWindow::ColSizeY)->text(), MapIndication::decimal(ind.sizeY));
        QVERIFY2(std::abs(ind.x - r.x) <= 7.5 && std::abs(ind.y - r.y) <= 7.5 && std::abs(ind.z - r.depth) <= 10.0,
                 qPrintable(QStringLiteral("%1, %2, %3").arg(ind.x).arg(ind.y).arg(ind.z)));
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
        QCOMPARE((PerAxis<int>{view.sliceX(), view.sliceY(), view.sliceZ()}), cellOf(ind));
        const double place[] = {ind.x, ind.y, ind.z};
        for (int a = 0; a < 3; ++a) {
            const QString shown = view.readoutTexts().value(a).value(0); // "X, m = 0.11"
            QVERIFY2(std::abs(shown.section('=', 1).toDouble() - place[a] / 1000.0) <= 0.005, qPrintable(shown));
        }
        for (const auto& p : panes) {
            const QImage picture = child<CScanogrammFrame>(&view, p.frame)->visiblePicture();
            for (size_t n = 0; n < list.size(); ++n) {
                const PerAxis<int> c = cellOf(list[n]);
                const QPoint centre = pixelOf(view, p.across, c[axisIndex(p.across)], p.down, c[axisIndex(p.down)]);
                const int r = int(n) == row ? CScanogrammFrame::kSelectedMarkRadius : CScanogrammFrame::kMarkRadius;
                QVERIFY2(ringNear(picture, centre + QPoint(r, 0)) && ringNear(picture, centre - QPoint(0, r)),
                         p.frame);
                // Nothing of the ring at its centre: the mark leaves the reflector itself visible.
                QVERIFY(!ringNear(picture, centre));
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
    const QPoint inFrame = pixelOf(view, Axis::X, far[0], Axis::Y, far[1]) - cscan->offset();
    QVERIFY2(cscan->rect().contains(inFrame), qPrintable(QStringLiteral("%1,%2").arg(inFrame.x()).arg(inFrame.y())));
    QVERIFY(ringNear(cscan->visiblePicture(), inFrame + QPoint(CScanogrammFrame::kSelectedMarkRadius, 0)));
    TestInput::wheel(cscan, -40 * 120);

    // A second search keeps what the user wrote to an indication it finds again.
    QVERIFY(typeInto(table, 1, CIndicationsWindow::ColComment, QStringLiteral("check from the other side")));
    QTRY_COMPARE(list[1].comment, QStringLiteral("check from the other side"));
    click(child<QPushButton>(w, "btn_find"));
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(1, CIndicationsWindow::ColComment)->text(), QStringLiteral("check from the other side"));
    // The report lists them.
    QCOMPARE(view.reportData(QString()).indications, list);
}

void TestMapIndications::addEditRemoveStoreAndReopen()
{
    std::vector<MapIndication> kept;
    {
        CMapScans view;
        CIndicationsWindow* w = open(view);
        QVERIFY(w);
        auto* table = child<QTableWidget>(w, "tw_indications");
        // The cursor clicked onto the second reflector in the C-scan and the B-scan, then added.
        auto* cscan = child<CScanogrammFrame>(&view, "frameCScan");
        auto* bscan = child<CScanogrammFrame>(&view, "frameBScan");
        const int i = 23, j = 15, k = 33; // 118, 78, 170 mm
        QTest::mouseClick(cscan, Qt::LeftButton, {}, pixelOf(view, Axis::X, i, Axis::Y, j));
        QTest::mouseClick(bscan, Qt::LeftButton, {}, pixelOf(view, Axis::X, i, Axis::Z, k));
        QCOMPARE((PerAxis<int>{view.sliceX(), view.sliceY(), view.sliceZ()}), (PerAxis<int>{i, j, k}));
        click(child<QPushButton>(w, "btn_add"));
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, CIndicationsWindow::ColNumber)->text(), QStringLiteral("1*"));
        QCOMPARE(table->item(0, CIndicationsWindow::ColX)->text(), QStringLiteral("117.5"));
        QCOMPARE(table->item(0, CIndicationsWindow::ColY)->text(), QStringLiteral("77.5"));

        // A second one at the first reflector, found and added from the box in measuring mode.
        view.setMeasuringMode(true);
        QCOMPARE(child<QPushButton>(w, "btn_add")->text(), QStringLiteral("Add at Box Maximum"));
        WidgetInput::drag(cscan, pixelOf(view, Axis::X, 4, Axis::Y, 2), pixelOf(view, Axis::X, 12, Axis::Y, 10));
        WidgetInput::drag(bscan, pixelOf(view, Axis::X, 4, Axis::Z, 10), pixelOf(view, Axis::X, 12, Axis::Z, 25));
        click(child<QPushButton>(w, "btn_add"));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(1, CIndicationsWindow::ColNumber)->text(), QStringLiteral("2*"));
        QVERIFY(std::abs(view.indications()[1].x - 42.0) <= 7.5);
        QVERIFY(std::abs(view.indications()[1].z - 90.0) <= 10.0);
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
        QVERIFY(driver.texts().contains(
            QStringLiteral("Map's viewing settings and indications were changed.\nDo you want to save them?")));
    }
    std::vector<MapIndication> read;
    QCOMPARE(IndicationsFile::read(IndicationsFile::path(m_dir.path()), read), StoredFileStatus::Loaded);
    QVERIFY(read == kept);

    // Opened again: listed and marked, and nothing to ask about when leaving.
    CMapScans view;
    CIndicationsWindow* w = open(view);
    QVERIFY(w);
    QVERIFY(view.indications() == kept);
    QCOMPARE(child<QTableWidget>(w, "tw_indications")->item(0, CIndicationsWindow::ColLabel)->text(),
             QStringLiteral("void, near"));
    QCOMPARE(child<CScanogrammFrame>(&view, "frameCScan")->marks().size(), size_t(1));
    ModalDriver driver({QMessageBox::No});
    view.askToSave(m_dir.path());
    QVERIFY(driver.texts().filter(QStringLiteral("indications")).isEmpty());
}

void TestMapIndications::brokenFileIsRefusedAndKept()
{
    const QString path = IndicationsFile::path(m_dir.path());
    const QByteArray bytes = IndicationsFile::encode({MapIndication{1, "a", "", 1, 2, 3, 100, 0, 1, 1, 1, false}}).left(60);
    QVERIFY(TestBytes::writeBytes(path, bytes));
    CMapScans view;
    ModalDriver driver({QMessageBox::Ok});
    QVERIFY(WidgetInput::shown(view, QSize(1200, 800)));
    view.openMap(m_cfg, m_dir.path());
    QVERIFY(view.isMapLoaded());
    QCOMPARE(driver.seen().size(), 1);
    QCOMPARE(driver.seen().first().icon, QMessageBox::Warning);
    QVERIFY2(driver.texts().first().contains(path), qPrintable(driver.texts().first()));
    QVERIFY(view.indications().empty());
    // Leaving untouched neither asks nor writes.
    ModalDriver leave({QMessageBox::Yes});
    view.askToSave(m_dir.path());
    QVERIFY(leave.texts().filter(QStringLiteral("indications")).isEmpty());
    QCOMPARE(TestBytes::readAll(path), bytes);
}

void TestMapIndications::resetViewKeepsUnstoredIndications()
{
    // The data window's "Reset Scan View" reopens the map; found indications are no viewing
    // settings and stay, still to be stored.
    QVERIFY(MapGenerator::writeViewState(m_dir.path(), mapOptions(), mapOptions().reflectors[0], false));
    CWinDataTempl window;
    window.setDataMode(CWinDataTempl::MapMode);
    QVERIFY(WidgetInput::shown(window, QSize(1020, 710)));
    window.openData(m_cfg, m_dir.path());
    CMapScans* view = window.mapView();
    QVERIFY(view);
    CIndicationsWindow* w = open(*view, false);
    QVERIFY(w);
    click(child<QPushButton>(w, "btn_find"));
    const std::vector<MapIndication> found = view->indications();
    QCOMPARE(found.size(), size_t(2));
    click(child<QToolButton>(&window, "tbtn_reset_settings"));
    QVERIFY(!QFile::exists(MapStoredFiles::viewSettingsPath(m_dir.path())));
    QVERIFY(view->isMapLoaded());
    QVERIFY(view->indications() == found);
    QVERIFY(view->pendingChanges() & IndicationsWritten);
}

void TestMapIndications::csvAndSavedCopy()
{
    QTemporaryDir target;
    const QString csv = target.filePath(QStringLiteral("list.csv"));
    CMapScans view;
    CIndicationsWindow* w = open(view);
    QVERIFY(w);
    auto* exportButton = child<QPushButton>(w, "btn_export");
    QVERIFY(!exportButton->isEnabled());
    click(child<QPushButton>(w, "btn_find"));
    QVERIFY(exportButton->isEnabled());

    // The file dialog's name field typed into and confirmed with Return, as a user does.
    ModalDriver driver({QMessageBox::Ok});
    driver.setOtherHandler([&](QWidget* modal) {
        if (auto* name = qobject_cast<QFileDialog*>(modal) ? modal->findChild<QLineEdit*>("fileNameEdit") : nullptr) {
            name->setText(csv);
            QTest::keyClick(name, Qt::Key_Return);
        }
    });
    click(exportButton);
    QTRY_VERIFY(QFile::exists(csv));
    const QList<QByteArray> lines = TestBytes::readAll(csv).split('\n');
    QCOMPARE(lines.first(), IndicationsFile::csvHeader().trimmed());
    QCOMPARE(lines.size(), int(view.indications().size()) + 2); // header, rows, final line break
    QVERIFY(lines.at(1).startsWith("1,,"));

    // Saved over an older copy: the same question as for the other files, then the view writes.
    const QString dest = Vantar::DataSaver::mapDestination(m_cfg, QStringLiteral("Generated map"), target.path() + '/');
    QVERIFY(QDir().mkpath(dest));
    QVERIFY(TestBytes::writeBytes(IndicationsFile::path(dest), "old"));
    Observer observer;
    Vantar::DataSaver saver(observer);
    QVERIFY(saver.saveCurrentMap(m_cfg, QStringLiteral("Generated map"), target.path() + '/', view));
    QCOMPARE(observer.questions.size(), 1);
    QVERIFY(observer.questions.first().contains(QStringLiteral("indications.json")));
    std::vector<MapIndication> read;
    QCOMPARE(IndicationsFile::read(IndicationsFile::path(dest), read), StoredFileStatus::Loaded);
    QVERIFY(read == view.indications());
    // The map's own folder got nothing.
    QVERIFY(!QFile::exists(IndicationsFile::path(m_dir.path())));
}

void TestMapIndications::autoBrightnessReachesTheTopColour()
{
    CMapScans view;
    QVERIFY(open(view));
    auto* spin = child<MySpinBox>(&view, "myspb_brightness");
    auto* scale = child<QWidget>(&view, "colourScale");
    // The scans' pixels of the palette's top colour (as the 16-bit images hold it).
    QImage top(1, 1, QImage::Format_RGB16);
    top.fill(QColor::fromRgb(MapPalette::colour(MapPalette::kSize - 1)));
    const auto topPixels = [&] {
        int n = 0;
        for (const char* name : {"frameCScan", "frameBScan", "frameDScan"})
            n += TestInput::countPixels(child<CScanogrammFrame>(&view, name)->image()->rawImage(),
                                        [&](QRgb c) { return c == top.pixel(0, 0); });
        return n;
    };
    spin->setValue(-40);
    QCOMPARE(topPixels(), 0);
    QTest::mouseDClick(scale, Qt::LeftButton, {}, QPoint(scale->width() - 5, scale->height() / 2));
    const int b = spin->value();
    QVERIFY(b > -40 && b < 40);
    QVERIFY(topPixels() > 0);
    // The smallest such value: one dB less and no pixel reaches the top.
    spin->setValue(b - 1);
    QCOMPARE(topPixels(), 0);
}

QTEST_MAIN(TestMapIndications)
#include "tst_mapindications.moc"
