// The A-scan tab through its real widgets: listing a folder in numeric order under the
// cancellable dialog, damaged files, selecting and showing an A-scan, the settings table and
// its edits kept per file, saving and resetting; the display's arithmetic and its pixels.

#include "app/cdatamanager.h"
#include "app/datawindow/cwindatatempl.h"
#include "ascan/ascandisplaymath.h"
#include "ascan/ascanfile.h"
#include "ascan/ascangenerator.h"
#include "ascan/cascanframe.h"
#include "ascan/cascanwgt.h"
#include "ascan/scanwgt.h"
#include "ascan/settingsrows.h"
#include "ascan/settingsfile.h"
#include "common/ascanfolder.h"
#include "common/modaldriver.h"

#include <QtTest>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QGroupBox>
#include <QTemporaryDir>

#include "widgets/qscaleframe.h"

namespace {

constexpr quint32 kSeed = 11;

using TestAScans::fileBytes;
using TestAScans::pathOf;
using TestAScans::writeBytes;

GeneratedAScan writeAScan(const QString& folder, int n, const std::function<void(GeneratedAScan&)>& change = {})
{
    return TestAScans::write(folder, n, kSeed, change);
}

// Quiet, valid settings with a known signal: one echo at sample `at` of amplitude `amp`.
void plainSettings(GeneratedAScan& a)
{
    ConfigSettings& s = a.settings;
    s.iSamplesPer10us = 100;
    s.iFrequency = 50;
    s.iWindowStart = 0;
    s.iWindowEnd = 1000; // a time base of 100 µs
    s.iLoupe = 0;
    s.iStrobe = 1;
    s.fStrobeStart = 20.0f;
    s.fStrobeEnd = 60.0f;
    s.iStrobeLevel = 100;
    s.iCursor = 1;
    s.eSignalType = ConfigSettings::SignalFilled;
    s.bAuxFlag = false;
    s.eTestingMethod = ConfigSettings::Reflection;
    s.iBaseMode = 0;
    s.tvg.iOn = 0;
    s.tvg.iCount = 0;
}

// Shows A-scan 1 of folder d, plain settings changed by change, in a tab of 1000 × 640.
void showAScan(ScanWgt& w, const QString& d, const std::function<void(GeneratedAScan&)>& change = {})
{
    writeAScan(d, 1, [&](GeneratedAScan& a) {
        plainSettings(a);
        if (change)
            change(a);
    });
    w.resize(1000, 640);
    w.show();
    w.loadFolder(QString(), d);
}

int countColour(const QImage& image, const std::function<bool(QRgb)>& test)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

bool isGreen(QRgb c) { return qGreen(c) > 180 && qRed(c) < 60 && qBlue(c) < 60; }
bool isYellow(QRgb c) { return qRed(c) > 200 && qGreen(c) > 180 && qBlue(c) < 60; }
bool isRed(QRgb c) { return qRed(c) > 180 && qGreen(c) < 60 && qBlue(c) < 60; }
bool isWhite(QRgb c) { return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240; }

QTableWidget* tableOf(ScanWgt& w) { return w.findChild<QTableWidget*>(QStringLiteral("tw_settings")); }
QLabel* infoOf(ScanWgt& w) { return w.findChild<QLabel*>(QStringLiteral("lbl_filename")); }

// Types into a value cell as the user does: a click on the cell, F2 opens its editor, the
// text replaces what it holds, Enter takes it.
void typeInto(QTableWidget* table, int row, const QString& text)
{
    const QModelIndex index = table->model()->index(row, 1);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, table->visualRect(index).center());
    QTest::keyClick(table, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(table->indexWidget(index));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate takes the text and closes the editor through a queued call.
    QTRY_VERIFY(!table->indexWidget(index));
}

// Picks an entry of a combo box with the arrow keys.
void choose(QComboBox* combo, int index)
{
    while (combo->currentIndex() < index)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > index)
        QTest::keyClick(combo, Qt::Key_Up);
}

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void drag(QWidget* w, QPoint from, QPoint to)
{
    sendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    const int steps = 4;
    for (int i = 1; i <= steps; ++i)
        sendMouse(w, QEvent::MouseMove, from + (to - from) * i / steps, Qt::NoButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

} // namespace

class TestAScanTab : public QObject
{
    Q_OBJECT

private slots:
    // Arithmetic of the display
    void windowStaysInsideSignal_data();
    void windowStaysInsideSignal();
    void columnsClampAndKeepDeepestSamples();
    void fewSamplesAreSmoothed();
    void peakAndFront();
    void axisStepSeries_data();
    void axisStepSeries();
    void readoutsAndFilterPeriod();

    // Listing a folder
    void listsInNumericOrder();
    void cancelStopsListing();
    void dragOutOfListChangesNothing();
    void damagedFilesDoNotSpoilTheList();

    // Showing and editing
    void selectingShowsSettingsAndSignal();
    void typedCells_data();
    void typedCells();
    void cursorOffAndOnIsNoEdit();
    void editsKeptPerFile();
    void testingMethodChangesColour();
    void saveAndResetEdits();
    void discardQuestion_data();
    void discardQuestion();

    // The display
    void framePixels();
    void gridFollowsResize();
    void strobeOffKeepsAmplitude();
    void strobeDrawnAndRemoved();
    void displayButtons();
};

// ---------------------------------------------------------------------------------------------

void TestAScanTab::windowStaysInsideSignal_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("plain") << 0 << 10000 << 0 << 10000;
    QTest::newRow("past the end") << 39000 << 45000 << 39000 << 39999;
    QTest::newRow("right to left") << 2000 << 1000 << 1000 << 2000;
    QTest::newRow("end below start") << 5000 << 5000 << 5000 << 5001;
    QTest::newRow("start at the last sample") << 39999 << 39999 << 39998 << 39999;
    QTest::newRow("negative") << -50 << -10 << 0 << 1;
}

void TestAScanTab::windowStaysInsideSignal()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, first);
    QFETCH(int, last);
    const AScanMath::Window w = AScanMath::clampWindow(a, b);
    QCOMPARE(w.first, first);
    QCOMPARE(w.last, last);

    // The settings' own window: a loupe over a strobe past the last sample, drawn backwards.
    ConfigSettings s;
    s.iLoupe = 1;
    s.iStrobe = 1;
    s.fStrobeStart = 4000.0f;
    s.fStrobeEnd = 3990.0f;
    const AScanMath::Window l = AScanMath::windowFor(s);
    QCOMPARE(l.first, 39900);
    QCOMPARE(l.last, 39999);
}

void TestAScanTab::columnsClampAndKeepDeepestSamples()
{
    // 1000 samples into 300 columns: column starts never pass the last sample.
    for (int c = 0; c < 300; ++c)
        QVERIFY(AScanMath::columnStart(c, 1000, 300) <= 999);
    QCOMPARE(AScanMath::columnStart(5, 3, 4), 2); // past the end is clamped to count − 1
    QCOMPARE(AScanMath::sampleToColumn(1000, 1000, 300), 299);

    // Only the very last sample is high: the last column shows it, in every mode.
    QList<qint16> s(1000, 0);
    s[999] = 400;
    for (int mode = 0; mode < 3; ++mode) {
        const AScanMath::Columns cols = AScanMath::reduceColumns(s.constData(), 1000, 300, mode);
        QCOMPARE(cols.top.last(), 400);
        QCOMPARE(cols.top.at(298), 0);
    }
    // Bipolar columns keep both extremes; one-sided ones the largest magnitude, limited.
    s.fill(0);
    s[10] = -300;
    s[11] = 200;
    s[12] = -700;
    const AScanMath::Columns radio = AScanMath::reduceColumns(s.constData(), 1000, 100, 0);
    QCOMPARE(radio.top.at(1), 200);
    QCOMPARE(radio.bottom.at(1), -700);
    const AScanMath::Columns bars = AScanMath::reduceColumns(s.constData(), 1000, 100, 2);
    QCOMPARE(bars.top.at(1), 511);
    // Rows stay inside the picture for any value.
    QCOMPARE(AScanMath::amplitudeRow(-32768, 100, 0), 99);
    QCOMPARE(AScanMath::amplitudeRow(32767, 100, 0), 0);
    QCOMPARE(AScanMath::amplitudeRow(32767, 101, 1), 0);
}

void TestAScanTab::fewSamplesAreSmoothed()
{
    // 4 samples over 8 columns: k = 2, each column the rounded mean of itself and the next.
    const qint16 s[4] = {0, 100, 0, 51};
    const AScanMath::Columns cols = AScanMath::reduceColumns(s, 4, 8, 2);
    // Column starts round(c / 2), clamped: 0 100 100 0 0 51 51 51 before smoothing.
    const QList<int> expected = {50, 100, 50, 0, 26, 51, 51, 51};
    QCOMPARE(cols.top, expected);
    // Bipolar: top is the column's sample, bottom the previous column's.
    const qint16 r[2] = {-10, 20};
    const AScanMath::Columns radio = AScanMath::reduceColumns(r, 2, 4, 0);
    QCOMPARE(radio.top, (QList<int>{-10, 20, 20, 20}));
    QCOMPARE(radio.bottom, (QList<int>{-10, -10, 20, 20}));
}

void TestAScanTab::peakAndFront()
{
    const qint16 s[8] = {0, -90, 60, 120, -150, 150, 10, 0};
    // One-sided: |s| > |level|; the first of the largest.
    QCOMPARE(AScanMath::findPeak(s, 8, 0, 8, 100, 1), 4);
    QCOMPARE(AScanMath::findFront(s, 8, 0, 8, 100, 1), 3);
    QCOMPARE(AScanMath::findFront(s, 8, 0, 8, -80, 2), 1);
    // Bipolar: above a positive level, below a negative one.
    QCOMPARE(AScanMath::findPeak(s, 8, 0, 8, 100, 0), 5);
    QCOMPARE(AScanMath::findPeak(s, 8, 0, 8, -100, 0), 4);
    QCOMPARE(AScanMath::findFront(s, 8, 0, 8, 50, 0), 2);
    // The end is exclusive and ranges outside the window are clamped.
    QCOMPARE(AScanMath::findPeak(s, 8, 0, 5, 200, 1), -1);
    QCOMPARE(AScanMath::findPeak(s, 8, -5, 100, 140, 1), 4);
    QCOMPARE(AScanMath::findPeak(nullptr, 8, 0, 8, 0, 1), -1);
}

void TestAScanTab::axisStepSeries_data()
{
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("step");
    QTest::newRow("12") << 12.0 << 1.0;
    QTest::newRow("13") << 13.0 << 2.0;
    QTest::newRow("100") << 100.0 << 10.0;
    QTest::newRow("162") << 162.0 << 20.0;
    QTest::newRow("500") << 500.0 << 50.0;
    QTest::newRow("1.2") << 1.2 << 0.1;
    QTest::newRow("4000") << 4000.0 << 500.0;
    QTest::newRow("zero") << 0.0 << 1.0;
    QTest::newRow("negative") << -5.0 << 1.0;
}

void TestAScanTab::axisStepSeries()
{
    QFETCH(double, span);
    QFETCH(double, step);
    QCOMPARE(AScanMath::axisStep(span), step);
}

void TestAScanTab::readoutsAndFilterPeriod()
{
    // Half rounds away from zero; large values lose their decimals.
    QCOMPARE(AScanMath::readoutText(12.34, 1), QStringLiteral("12.3"));
    QCOMPARE(AScanMath::readoutText(12.5, 0), QStringLiteral("13"));
    QCOMPARE(AScanMath::readoutText(1234.5, 1), QStringLiteral("1235"));
    ConfigSettings s;
    s.iFrequency = 0; // no division by a zero frequency
    QCOMPARE(AScanMath::filterPeriod(s), 0);
    s = ConfigSettings();
    s.iExtra1 = 0; // taken as 200 points: 10 × 1000 µs / 200 = 50 µs = 500 samples
    QCOMPARE(AScanMath::minStrobeSamples(s), 500);
    s.iExtra1 = 256;
    s.iWindowEnd = 1000;
    QCOMPARE(AScanMath::minStrobeSamples(s), 39); // 3.906 µs
}

// ---------------------------------------------------------------------------------------------

void TestAScanTab::listsInNumericOrder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString d = dir.path();
    for (int n : {100, 2, 10})
        writeAScan(d, n);
    writeBytes(d + QStringLiteral("/abc.bmp"), fileBytes(pathOf(d, 2)));
    writeBytes(d + QStringLiteral("/0.bmp"), fileBytes(pathOf(d, 2)));
    writeBytes(d + QStringLiteral("/7.bmp"), QByteArray("BM not an A-scan at all"));

    ScanWgt w;
    w.resize(1000, 640);
    w.show();
    QSignalSpy loaded(&w, &ScanWgt::newDataLoaded);
    w.loadFolder(pathOf(d, 10), d);
    QCOMPARE(w.listedFiles(), (QStringList{pathOf(d, 2), pathOf(d, 10), pathOf(d, 100)}));
    QCOMPARE(w.fileList()->item(0)->text(), generateAScan(2, kSeed).name);
    QVERIFY(!w.fileList()->item(0)->icon().isNull());
    // The chosen file is selected and shown; the dialog is gone.
    QCOMPARE(w.selectedFiles(), QStringList{pathOf(d, 10)});
    QCOMPARE(w.currentPath(), pathOf(d, 10));
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(loaded.at(0).at(0).toBool(), true);
    auto* dialog = w.findChild<QDialog*>(QStringLiteral("dlg_infoLoad"));
    QVERIFY(!dialog || !dialog->isVisible());
    QVERIFY(infoOf(w)->text().startsWith(QStringLiteral("A-Scan Name: ") + generateAScan(10, kSeed).name));

    // A chosen file that is not listed selects the first.
    w.clear();
    w.loadFolder(d + QStringLiteral("/abc.bmp"), d + QLatin1Char('/'));
    QCOMPARE(w.listedFiles().size(), 3);
    QCOMPARE(w.currentPath(), d + QStringLiteral("/2.bmp"));
}

void TestAScanTab::cancelStopsListing()
{
    QTemporaryDir dir;
    const QString d = dir.path();
    for (int n = 1; n <= 10; ++n)
        writeAScan(d, n);
    // Through the A-scan tab's data window, whose handler of the cancel runs as well.
    CWinDataTempl win;
    win.setDataMode(CWinDataTempl::AScanMode);
    win.show();
    ScanWgt& w = *win.ascanView();
    win.openData(QString(), d);
    QCOMPARE(w.fileList()->count(), 10);
    QCOMPARE(w.currentPath(), pathOf(d, 1));
    auto* save = win.findChild<QToolButton*>(QStringLiteral("tbtn_save"));
    QVERIFY(save->isEnabled());

    QSignalSpy rejected(&w, &ScanWgt::dataLoadingRejected);
    QSignalSpy loaded(&w, &ScanWgt::newDataLoaded);
    QString dialogTitle;
    QString firstLabel;
    QTimer timer;
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, &w, [&] {
        // The dialog of the first listing may still wait for its deletion.
        QDialog* dlg = nullptr;
        for (QDialog* candidate : w.findChildren<QDialog*>(QStringLiteral("dlg_infoLoad")))
            if (candidate->isVisible())
                dlg = candidate;
        if (!dlg)
            return;
        dialogTitle = dlg->windowTitle();
        if (w.fileList()->count() == 0 && firstLabel.isEmpty())
            firstLabel = dlg->findChild<QLabel*>(QStringLiteral("lbl_infoLoading"))->text();
        if (w.fileList()->count() >= 3)
            QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("btn_cancel")), Qt::LeftButton);
    });
    timer.start();
    win.openData(pathOf(d, 5), d);
    timer.stop();
    QCOMPARE(dialogTitle, QStringLiteral("Data Loading"));
    QCOMPARE(firstLabel, QStringLiteral("The program is loading available data. Please, wait."));
    QCOMPARE(rejected.count(), 1);
    // Listed anew from an empty list; the A-scans listed up to the cancel stay listed, none is
    // selected or shown, and there is nothing to save.
    QCOMPARE(w.listedFiles(), QStringList({pathOf(d, 1), pathOf(d, 2), pathOf(d, 3)}));
    QVERIFY(w.selectedFiles().isEmpty());
    QVERIFY(w.currentPath().isEmpty());
    QCOMPARE(loaded.count(), 0);
    QVERIFY(!save->isEnabled());
}

// A press on a picture dragged out of every picture and let go there changes nothing; a
// click still selects.
void TestAScanTab::dragOutOfListChangesNothing()
{
    QTemporaryDir dir;
    const QString d = dir.path();
    for (int n = 1; n <= 3; ++n)
        writeAScan(d, n);
    ScanWgt w;
    w.resize(1000, 640);
    w.show();
    w.loadFolder(QString(), d);
    QCOMPARE(w.currentPath(), pathOf(d, 1));
    CListWidgetHeir* list = w.fileList();
    QWidget* view = list->viewport();
    const QPoint second = list->visualItemRect(list->item(1)).center();
    const QPoint empty(view->width() - 5, second.y());
    QVERIFY(!list->itemAt(empty));
    QSignalSpy loaded(&w, &ScanWgt::newDataLoaded);
    drag(view, second, empty);
    QCOMPARE(loaded.count(), 0);
    QCOMPARE(w.currentPath(), pathOf(d, 1));
    QCOMPARE(w.selectedFiles(), QStringList{pathOf(d, 1)});

    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, second);
    QCOMPARE(w.currentPath(), pathOf(d, 2));
    QCOMPARE(w.selectedFiles(), QStringList{pathOf(d, 2)});
    // Dragged from one picture onto another: both are selected, as before.
    drag(view, list->visualItemRect(list->item(0)).center(), second);
    QCOMPARE(w.selectedFiles(), QStringList({pathOf(d, 1), pathOf(d, 2)}));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, list->visualItemRect(list->item(2)).center());
    QCOMPARE(w.selectedFiles(), QStringList({pathOf(d, 1), pathOf(d, 2), pathOf(d, 3)}));
}

void TestAScanTab::damagedFilesDoNotSpoilTheList()
{
    QTemporaryDir dir;
    const QString d = dir.path();
    for (int n = 1; n <= 6; ++n)
        writeAScan(d, n);
    // 2: short signal; 3: no signal; 4: the picture's pixels spoilt but the data area intact;
    // 5: a settings file that fails its checks; 6: data area cut below 384 bytes.
    writeBytes(d + QStringLiteral("/2.raw"), QByteArray(1000, '\0'));
    QFile::remove(d + QStringLiteral("/3.raw"));
    QByteArray four = fileBytes(pathOf(d, 4));
    for (int i = 10; i < 54; ++i)
        four[i] = char(0xFF);
    writeBytes(pathOf(d, 4), four);
    writeBytes(d + QStringLiteral("/5.sss"), QByteArray(77, '\x01'));
    QByteArray six = fileBytes(pathOf(d, 6));
    const quint32 offset = quint8(six[2]) | (quint8(six[3]) << 8) | (quint8(six[4]) << 16) | (quint32(quint8(six[5])) << 24);
    writeBytes(pathOf(d, 6), six.left(offset + 200));

    ModalDriver driver({QMessageBox::Ok});
    ScanWgt w;
    w.show();
    QSignalSpy loaded(&w, &ScanWgt::newDataLoaded);
    w.loadFolder(pathOf(d, 1), d);
    QCOMPARE(w.fileList()->count(), 6);
    QVERIFY(!w.fileList()->item(3)->icon().isNull());

    // An edit of file 1, then files that do not load: the list and the edit stay.
    typeInto(tableOf(w), ScanWgt::RowVelocity, QStringLiteral("4100"));
    QVERIFY(w.hasUnsavedEdits());
    for (int row : {1, 2, 5}) {
        w.fileList()->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        QCOMPARE(loaded.last().at(0).toBool(), false);
        QVERIFY(w.currentPath().isEmpty());
        QVERIFY(!w.display()->hasData());
        QCOMPARE(w.fileList()->count(), 6);
        QVERIFY(w.editedFiles().contains(pathOf(d, 1)));
        QVERIFY(!infoOf(w)->text().isEmpty());
    }
    QVERIFY(infoOf(w)->text().contains(QStringLiteral("6.bmp")));
    w.fileList()->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    QVERIFY(infoOf(w)->text().contains(QStringLiteral("too short")));

    // The spoilt picture still loads; the bad settings file is reported and the
    // instrument's settings are shown.
    w.fileList()->setCurrentRow(3, QItemSelectionModel::ClearAndSelect);
    QCOMPARE(loaded.last().at(0).toBool(), true);
    w.fileList()->setCurrentRow(4, QItemSelectionModel::ClearAndSelect);
    QCOMPARE(loaded.last().at(0).toBool(), true);
    QTRY_COMPARE(driver.seen().size(), 1);
    QVERIFY(driver.seen().at(0).text.startsWith(QStringLiteral("Couldn't read configuration file")));
    QCOMPARE(driver.seen().at(0).title, QStringLiteral("Vantar 4.0"));
    QCOMPARE(w.shownSettings().iVelocity, generateAScan(5, kSeed).settings.iVelocity);
    // Back to the edited file: its edit is shown.
    w.fileList()->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    QCOMPARE(w.shownSettings().iVelocity, qint16(4100));
    QVERIFY(w.isEdited());
}

// ---------------------------------------------------------------------------------------------

void TestAScanTab::selectingShowsSettingsAndSignal()
{
    QTemporaryDir dir;
    const GeneratedAScan a = writeAScan(dir.path(), 3);
    ScanWgt w;
    w.show();
    w.loadFolder(pathOf(dir.path(), 3), dir.path());
    QTableWidget* t = tableOf(w);
    // The rows the reports print, as the table shows them; velocity and base are typed, four
    // rows are chosen from a list, the others are read-only.
    const QList<ReportRow> rows = SettingsRows::rows(SettingsRows::ascanTable(), a.settings);
    QCOMPARE(t->rowCount(), rows.size());
    const QList<int> lists = {ScanWgt::RowScale, ScanWgt::RowDiscreteness, ScanWgt::RowCursor, ScanWgt::RowTestingMethod};
    for (int row = 0; row < rows.size(); ++row) {
        auto* combo = qobject_cast<QComboBox*>(t->cellWidget(row, 1));
        QCOMPARE(t->item(row, 0)->text(), rows.at(row).label);
        QCOMPARE(combo ? combo->currentText() : t->item(row, 1)->text(), rows.at(row).value);
        QCOMPARE(bool(combo), lists.contains(row));
        if (!combo)
            QCOMPARE(bool(t->item(row, 1)->flags() & Qt::ItemIsEditable),
                     row == ScanWgt::RowVelocity || row == ScanWgt::RowBase);
    }
    QCOMPARE(w.findChild<QGroupBox*>(QStringLiteral("grpb_table"))->title(),
             a.setupName.isEmpty() ? QStringLiteral("Instrument Settings") : a.setupName);
    // The signal is drawn: the picture holds trace pixels.
    QVERIFY(countColour(w.display()->displayImage(), [](QRgb c) { return isGreen(c) || isYellow(c); }) > 50);
    QVERIFY(infoOf(w)->text().endsWith(QStringLiteral("   ") + w.ascanDate()));

    // Read-only mode (printing) has texts in every cell.
    w.buildTable(false);
    QVERIFY(!t->cellWidget(ScanWgt::RowScale, 1));
    QCOMPARE(t->item(ScanWgt::RowScale, 1)->text(), a.settings.scaleUnitsText());
    QVERIFY(!(t->item(ScanWgt::RowVelocity, 1)->flags() & Qt::ItemIsEditable));
}

void TestAScanTab::typedCells_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    const int velocity = ScanWgt::RowVelocity;
    const int base = ScanWgt::RowBase;
    QTest::newRow("velocity beyond its range") << velocity << "20000" << "3000";
    QTest::newRow("velocity not a number") << velocity << "abc" << "3000";
    QTest::newRow("velocity") << velocity << "5900" << "5900";
    for (const char* off : {"off", "O", "", "0.00005", "0"})
        QTest::newRow(qPrintable(QStringLiteral("base '%1'").arg(QLatin1String(off)))) << base << off << "Off";
    QTest::newRow("base") << base << "12.34" << "12.3";
    QTest::newRow("base beyond its range") << base << "99999" << "50.0";
    QTest::newRow("base not a number") << base << "x1" << "50.0";
}

// Typed into a cell of an A-scan of velocity 3000 and base 50: what is refused leaves the cell
// and the A-scan as they were; a taken value marks the A-scan edited, in its name line too.
void TestAScanTab::typedCells()
{
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    ScanWgt w;
    showAScan(w, dir.path(), [](GeneratedAScan& a) {
        a.settings.iVelocity = 3000;
        a.settings.iBaseMode = 1;
        a.settings.dBase = 50.0;
    });
    QTableWidget* t = tableOf(w);
    const QString before = t->item(row, 1)->text();
    typeInto(t, row, typed);
    QCOMPARE(t->item(row, 1)->text(), shown);
    const bool changed = shown != before;
    QCOMPARE(w.isEdited(), changed);
    QCOMPARE(infoOf(w)->text().startsWith(QStringLiteral("A-Scan Name*: ")), changed);
    QCOMPARE(infoOf(w)->styleSheet().contains(QStringLiteral("red")), changed);
    const ConfigSettings& s = w.display()->currentSettings();
    if (row == ScanWgt::RowVelocity)
        QCOMPARE(s.iVelocity, qint16(shown.toInt()));
    if (row == ScanWgt::RowBase) {
        QCOMPARE(s.iBaseMode, shown == QLatin1String("Off") ? 0 : 1);
        if (typed == QLatin1String("12.34"))
            QCOMPARE(s.dBase, 12.34);
    }
}

void TestAScanTab::cursorOffAndOnIsNoEdit()
{
    QTemporaryDir dir;
    ScanWgt w;
    showAScan(w, dir.path());
    auto* combo = qobject_cast<QComboBox*>(tableOf(w)->cellWidget(ScanWgt::RowCursor, 1));
    QVERIFY(combo);
    QCOMPARE(combo->currentText(), QStringLiteral("On"));
    const int whiteBefore = countColour(w.display()->displayImage(), isWhite);
    choose(combo, 0);
    QVERIFY(w.isEdited());
    QCOMPARE(w.display()->currentSettings().iCursor, 0);
    QVERIFY(countColour(w.display()->displayImage(), isWhite) < whiteBefore);
    QCOMPARE(w.display()->timeText(), QStringLiteral("-----"));
    choose(combo, 1);
    QVERIFY(!w.isEdited());
    QVERIFY(!w.hasUnsavedEdits());
    QVERIFY(!infoOf(w)->text().contains(QLatin1Char('*')));
}

void TestAScanTab::editsKeptPerFile()
{
    QTemporaryDir dir;
    const QString d = dir.path();
    for (int n = 1; n <= 3; ++n)
        writeAScan(d, n, [](GeneratedAScan& a) { plainSettings(a); });
    ScanWgt w;
    w.show();
    w.loadFolder(QString(), d);
    typeInto(tableOf(w), ScanWgt::RowVelocity, QStringLiteral("4444"));
    w.fileList()->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    QVERIFY(!w.isEdited());
    auto* scale = qobject_cast<QComboBox*>(tableOf(w)->cellWidget(ScanWgt::RowScale, 1));
    choose(scale, scale->currentIndex() == 0 ? 1 : 0);
    QVERIFY(w.isEdited());
    w.fileList()->setCurrentRow(2, QItemSelectionModel::ClearAndSelect);
    QVERIFY(!w.isEdited());
    QCOMPARE(w.editedFiles(), (QStringList{pathOf(d, 1), pathOf(d, 2)}));
    w.fileList()->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    QVERIFY(w.isEdited());
    QCOMPARE(tableOf(w)->item(ScanWgt::RowVelocity, 1)->text(), QStringLiteral("4444"));
    QCOMPARE(w.display()->fileSettings().iVelocity, generateAScan(1, kSeed).settings.iVelocity);
    QVERIFY(w.display()->isEdited());
}

void TestAScanTab::testingMethodChangesColour()
{
    QTemporaryDir dir;
    ScanWgt w;
    showAScan(w, dir.path());
    const QImage before = w.display()->displayImage();
    QVERIFY(countColour(before, isGreen) > 50);
    auto* method = qobject_cast<QComboBox*>(tableOf(w)->cellWidget(ScanWgt::RowTestingMethod, 1));
    const QString depthBefore = w.display()->depthText();
    choose(method, 1);
    const QImage after = w.display()->displayImage();
    QCOMPARE(countColour(after, isGreen), 0);
    QVERIFY(countColour(after, isYellow) > 50);
    QVERIFY(w.isEdited());
    QCOMPARE(w.display()->currentSettings().eTestingMethod, ConfigSettings::Transmission);
    // Through transmission the sound goes one way: twice the depth.
    const double zBefore = depthBefore.toDouble();
    QVERIFY2(zBefore > 0, qPrintable(depthBefore));
    QVERIFY(std::abs(w.display()->depthText().toDouble() - 2 * zBefore) <= 1.0);
}

// Reset drops the shown A-scan's edit; Save writes the edits of the others beside their
// copies, with one question for the run where settings files are already there.
void TestAScanTab::saveAndResetEdits()
{
    QTemporaryDir dir;
    QTemporaryDir out;
    const QString d = dir.path();
    for (int n = 1; n <= 3; ++n) {
        writeAScan(d, n, [](GeneratedAScan& a) { plainSettings(a); });
        writeBytes(out.path() + QStringLiteral("/%1.sss").arg(n), QByteArray("old"));
    }
    CWinDataTempl win;
    win.setDataMode(CWinDataTempl::AScanMode);
    win.setFolderChooser([&](QWidget*, const QString&, const QString&) { return out.path(); });
    win.show();
    win.openData(QString(), d);
    ScanWgt& w = *win.ascanView();
    for (int row = 0; row < 3; ++row) {
        w.fileList()->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        typeInto(tableOf(w), ScanWgt::RowVelocity, QString::number(4001 + row));
    }
    auto* reset = w.display()->findChild<QPushButton*>(QStringLiteral("btn_resetSettings"));
    QTest::mouseClick(reset, Qt::LeftButton);
    QVERIFY(!w.isEdited());
    QVERIFY(!reset->isEnabled());
    QCOMPARE(tableOf(w)->item(ScanWgt::RowVelocity, 1)->text(),
             QString::number(generateAScan(3, kSeed).settings.iVelocity));
    QCOMPARE(w.editedFiles(), (QStringList{pathOf(d, 1), pathOf(d, 2)}));

    // A folder that cannot be written: reported, nothing written.
    {
        ModalDriver driver({QMessageBox::Ok});
        bool asked = false, overwrite = false, written = false;
        QVERIFY(!w.saveEditedSettings(pathOf(d, 1), QStringLiteral("1."), out.path() + QStringLiteral("/missing/"), asked,
                                      overwrite, written));
        QVERIFY(!written);
        QTRY_COMPARE(driver.seen().size(), 1);
        QVERIFY(driver.seen().at(0).text.startsWith(QStringLiteral("Couldn't save changed configuration to file")));
    }

    QTest::keyClick(w.fileList(), Qt::Key_A, Qt::ControlModifier);
    ModalDriver driver({QMessageBox::Yes});
    QTest::mouseClick(win.findChild<QToolButton*>(QStringLiteral("tbtn_save")), Qt::LeftButton);
    QCOMPARE(driver.texts(), QStringList{QStringLiteral("The file \"%1\" already exists!\nDo you want to rewrite it?")
                                             .arg(out.path() + QStringLiteral("/1.sss"))});
    for (int n = 1; n <= 2; ++n) {
        ConfigSettings back;
        QVERIFY(readConfigFile(out.path() + QStringLiteral("/%1.sss").arg(n), back));
        QCOMPARE(back.iVelocity, qint16(4000 + n));
    }
    QCOMPARE(fileBytes(out.path() + QStringLiteral("/3.sss")), QByteArray("old"));
}

void TestAScanTab::discardQuestion_data()
{
    QTest::addColumn<int>("atOpen");
    QTest::addColumn<int>("atClose");
    QTest::newRow("kept, not saved at close") << int(QMessageBox::No) << int(QMessageBox::No);
    QTest::newRow("kept, saved at close") << int(QMessageBox::No) << int(QMessageBox::Yes);
    QTest::newRow("discarded at open") << int(QMessageBox::Yes) << 0;
}

// An unsaved edit is asked about when the Open button would replace the A-scans, and again
// when the program closes: Yes there writes it beside its A-scan.
void TestAScanTab::discardQuestion()
{
    QFETCH(int, atOpen);
    QFETCH(int, atClose);
    QTemporaryDir dir;
    QTemporaryDir other;
    const QString d = dir.path();
    writeAScan(d, 1, [](GeneratedAScan& a) { plainSettings(a); });
    writeAScan(other.path(), 1);
    CDataManager main;
    main.show();
    QVERIFY(main.openPath(pathOf(d, 1)));
    CWinDataTempl* win = main.ascanWindow();
    ScanWgt& w = *win->ascanView();
    win->setOpenFileChooser([&](QWidget*, const QString&, const QString&, const QString&) { return pathOf(other.path(), 1); });
    typeInto(tableOf(w), ScanWgt::RowVelocity, QStringLiteral("4003"));

    ModalDriver driver({QMessageBox::StandardButton(atOpen), QMessageBox::StandardButton(atClose)});
    QTest::mouseClick(win->findChild<QToolButton*>(QStringLiteral("tbtn_open")), Qt::LeftButton);
    QCOMPARE(driver.seen().size(), 1);
    QCOMPARE(w.currentPath(), pathOf(atOpen == QMessageBox::No ? d : other.path(), 1));
    QCOMPARE(w.hasUnsavedEdits(), atOpen == QMessageBox::No);
    main.close();
    QCOMPARE(driver.seen().size(), atClose ? 2 : 1);
    ConfigSettings back;
    QCOMPARE(readConfigFile(d + QStringLiteral("/1.sss"), back), atClose == QMessageBox::Yes);
    QVERIFY(atClose != QMessageBox::Yes || back.iVelocity == 4003);
}

// ---------------------------------------------------------------------------------------------

void TestAScanTab::framePixels()
{
    CAScanFrame frame;
    frame.resize(200, 101);
    // 400 samples over 200 columns, filled bars: a block of 511 at samples 100…119 only.
    QList<qint16> s(400, 0);
    for (int i = 100; i < 120; ++i)
        s[i] = 511;
    s[399] = 511; // the deepest sample still reaches the last column
    frame.setHasData(true);
    frame.setDrawMode(2, false);
    frame.setSignal(s.constData(), int(s.size()));
    frame.setStrobe(true, 200, 300, 255);
    frame.setCursor(true, 20);
    frame.setMarker(-1, 0);
    frame.redraw();
    const QImage img = frame.picture();
    // Bars from the bottom to the top at columns 50…59 and 199.
    for (int x : {50, 59, 199})
        QVERIFY2(isGreen(img.pixel(x, 1)) && isGreen(img.pixel(x, 100)), qPrintable(QString::number(x)));
    QCOMPARE(img.pixel(40, 99), qRgb(0, 0, 0)); // a zero bar is only its bottom pixel
    // Strobe at level 255 over columns 100…150, at the middle row.
    const int row = frame.levelToY(255);
    QVERIFY(std::abs(row - 50) <= 1);
    QVERIFY(isRed(img.pixel(125, row)));
    QVERIFY(!isRed(img.pixel(90, row)));
    // Cursor: a white line at column 10.
    QVERIFY(isWhite(img.pixel(10, 5)) && isWhite(img.pixel(10, 95)));

    // Bipolar: a positive sample above the middle row, a negative one below.
    s.fill(0);
    s[100] = 511;
    s[300] = -511;
    frame.setDrawMode(0, true);
    frame.setStrobe(false, -1, -1, 0);
    frame.setCursor(false, 0);
    frame.setMarker(150, 400);
    frame.setSignal(s.constData(), int(s.size()));
    frame.redraw();
    const QImage radio = frame.picture();
    QVERIFY(isYellow(radio.pixel(50, 0)));
    QVERIFY(isYellow(radio.pixel(150, 100)));
    QVERIFY(isYellow(radio.pixel(120, 50)));      // the middle line
    QCOMPARE(radio.pixel(120, 20), qRgb(0, 0, 0));
    // Marker: tip at the measured point, base 7 pixels above.
    const int tipY = frame.levelToY(400);
    QVERIFY(isYellow(radio.pixel(75, tipY - 5)));

    // TVG flat at level 0 with no points: the bottom row for one-sided types.
    frame.setDrawMode(2, false);
    frame.setSignal(nullptr, 0);
    frame.setSignal(s.constData(), 10);
    s.fill(0);
    frame.setMarker(-1, 0);
    frame.setTvg(true, {});
    frame.redraw();
    QCOMPARE(frame.picture().pixel(100, 99), QColor(96, 96, 96).rgb());
}

// Columns holding a vertical grid line: the dotted half-white lines over the black background.
QList<int> gridColumns(const QImage& image)
{
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        int grey = 0;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb c = image.pixel(x, y);
            grey += qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) >= 100 && qRed(c) <= 160;
        }
        if (grey > image.height() / 6)
            columns << x;
    }
    return columns;
}

void TestAScanTab::gridFollowsResize()
{
    QTemporaryDir dir;
    ScanWgt w;
    showAScan(w, dir.path());
    CAScanFrame* frame = w.display()->frame();
    const int before = frame->picture().width();
    const QList<int> narrow = gridColumns(frame->picture());
    QVERIFY2(narrow.size() >= 4, qPrintable(QString::number(narrow.size())));

    w.resize(1500, 640);
    const int after = frame->picture().width();
    QVERIFY(after > before * 3 / 2);
    const QList<int> wide = gridColumns(frame->picture());
    // The same lines, at the same fractions of the width: the grid still meets the labels.
    QCOMPARE(wide.size(), narrow.size());
    for (int i = 0; i < wide.size(); ++i)
        QVERIFY2(std::abs(wide.at(i) - narrow.at(i) * double(after) / before) <= 2.0,
                 qPrintable(QStringLiteral("%1: %2 at %3, was %4 at %5").arg(i).arg(wide.at(i)).arg(after)
                                .arg(narrow.at(i)).arg(before)));
}

// Switching the strobe off moves only the peak time; with nothing measured it changes nothing
// that is kept, so switching it on again leaves the A-scan unedited.
void TestAScanTab::strobeOffKeepsAmplitude()
{
    QTemporaryDir dir;
    ScanWgt w;
    showAScan(w, dir.path(), [](GeneratedAScan& a) {
        // A steady tone of amplitude 300 under a strobe level that nothing reaches.
        for (int i = 0; i < int(a.samples.size()); ++i)
            a.samples[i] = qint16(std::lround(300.0 * std::cos(2.0 * M_PI * i / 200.0)));
        a.settings.iStrobeLevel = 500;
        a.settings.bMeasured = false;
        a.settings.fMeasuredTime = a.settings.fPeakTime = 0.0f;
        a.settings.iPeakAmplitude = 0;
    });
    CAScanWgt* disp = w.display();
    QVERIFY(!w.isEdited());
    QVERIFY(!disp->currentSettings().bMeasured);
    auto* strobe = disp->findChild<QPushButton*>(QStringLiteral("btn_strobeEnabled"));
    QTest::mouseClick(strobe, Qt::LeftButton);
    QCOMPARE(disp->currentSettings().iStrobe, 0);
    QCOMPARE(disp->currentSettings().iPeakAmplitude, qint16(0));
    QTest::mouseClick(strobe, Qt::LeftButton);
    QCOMPARE(disp->currentSettings().iStrobe, 1);
    QVERIFY(!w.isEdited());
    QVERIFY(!infoOf(w)->text().contains(QLatin1Char('*')));
}

void TestAScanTab::strobeDrawnAndRemoved()
{
    QTemporaryDir dir;
    ScanWgt w;
    showAScan(w, dir.path());
    CAScanWgt* disp = w.display();
    CAScanFrame* frame = disp->frame();
    QVERIFY(frame->width() > 300);
    // Cursor off, so the left button draws a strobe.
    choose(qobject_cast<QComboBox*>(tableOf(w)->cellWidget(ScanWgt::RowCursor, 1)), 0);
    const int y = frame->height() / 2;
    drag(frame, QPoint(100, y), QPoint(260, y));
    const ConfigSettings& s = disp->currentSettings();
    const int len = disp->window().length();
    const int w0 = frame->picture().width();
    QCOMPARE(s.fStrobeStart, float(s.sampleToTime(AScanMath::columnToSample(100, len, w0))));
    QCOMPARE(s.fStrobeEnd, float(s.sampleToTime(AScanMath::columnToSample(260, len, w0))));
    QCOMPARE(int(s.iStrobeLevel), frame->yToLevel(y));
    QVERIFY(isRed(frame->picture().pixel(180, frame->levelToY(s.iStrobeLevel))));
    QVERIFY(w.isEdited());

    // Dragging its end edge moves only the end.
    const float start = s.fStrobeStart;
    const QPoint end(frame->strobeEndX(), frame->levelToY(s.iStrobeLevel));
    drag(frame, end, end + QPoint(60, 0));
    QCOMPARE(disp->currentSettings().fStrobeStart, start);
    QVERIFY(std::abs(frame->strobeEndX() - (end.x() + 60)) <= 1);

    // A strobe narrower than the minimum width disappears.
    drag(frame, QPoint(400, y), QPoint(403, y));
    QCOMPARE(disp->currentSettings().fStrobeStart, 0.0f);
    QCOMPARE(disp->currentSettings().fStrobeEnd, 0.0f);
    QCOMPARE(countColour(frame->picture(), isRed), 0);
}

// The display's buttons on one shown A-scan: signal type and its axis, the loupe over the
// strobe, the time base up to its limits, and the strobe switched off.
void TestAScanTab::displayButtons()
{
    QTemporaryDir dir;
    ScanWgt w;
    showAScan(w, dir.path());
    CAScanWgt* disp = w.display();
    auto button = [disp](const char* name) { return disp->findChild<QPushButton*>(QLatin1String(name)); };
    auto* ver = disp->findChild<QScaleFrame*>(QStringLiteral("ascanVerScale"));
    QCOMPARE(ver->start(), 0.0);
    QTest::mouseClick(button("btn_signalType"), Qt::LeftButton); // filled → bipolar
    QCOMPARE(disp->currentSettings().eSignalType, ConfigSettings::SignalRadio);
    QCOMPARE(ver->start(), -100.0);
    QCOMPARE(ver->span(), 200.0);
    QTest::mouseClick(button("btn_signalType"), Qt::LeftButton); // → one-sided line
    QCOMPARE(ver->start(), 0.0);
    QTest::mouseClick(button("btn_signalType"), Qt::LeftButton); // → filled, as in the file
    QCOMPARE(disp->currentSettings().eSignalType, disp->fileSettings().eSignalType);

    QTest::mouseClick(button("btn_loupe"), Qt::LeftButton);
    QCOMPARE(disp->window().first, 200); // 20 µs at 100 samples per 10 µs
    QCOMPARE(disp->window().last, 600);
    QVERIFY(!button("btn_strobeEnabled")->isEnabled());
    QVERIFY(!button("btn_decreaseScale")->isEnabled());
    QTest::mouseClick(button("btn_loupe"), Qt::LeftButton);
    QCOMPARE(disp->window().last, 1000);

    QPushButton* more = button("btn_decreaseScale");
    QPushButton* less = button("btn_increaseScale");
    QTest::mouseClick(more, Qt::LeftButton);
    QVERIFY(std::abs(disp->currentSettings().windowEndTime() - 111.0) <= 0.1);
    QVERIFY(w.isEdited());
    for (int i = 0; i < 60 && more->isEnabled(); ++i)
        QTest::mouseClick(more, Qt::LeftButton);
    QCOMPARE(disp->currentSettings().iWindowEnd, 40000);
    for (int i = 0; i < 60 && less->isEnabled(); ++i)
        QTest::mouseClick(less, Qt::LeftButton);
    QCOMPARE(disp->currentSettings().windowEndTime(), 75.0);
    // The horizontal axis follows the time base.
    auto* hor = disp->findChild<QScaleFrame*>(QStringLiteral("ascanHorScale"));
    QVERIFY(std::abs(hor->span() - disp->currentSettings().timeToDepth(75.0)) < 0.5);
    QCOMPARE(hor->majorStep(), AScanMath::axisStep(hor->span()));

    // Strobe off: triggering and loupe are disabled, and no strobe is drawn.
    QTest::mouseClick(button("btn_strobeEnabled"), Qt::LeftButton);
    QVERIFY(!button("btn_loupe")->isEnabled());
    QVERIFY(!button("btn_triggering")->isEnabled());
    QCOMPARE(countColour(disp->displayImage(), isRed), 0);
}

QTEST_MAIN(TestAScanTab)
#include "tst_ascantab.moc"
