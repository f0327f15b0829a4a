// The A-scan tab through its real widgets: listing, damaged files, edits kept per file, the display.

#include "app/cdatamanager.h"
#include "app/datawindow/cwindatatempl.h"
#include "ascan/ascandisplaymath.h"
#include "ascan/cascanframe.h"
#include "ascan/cascanwgt.h"
#include "ascan/scanwgt.h"
#include "ascan/settingsfile.h"
#include "common/ascanfolder.h"
#include "common/modaldriver.h"
#include "common/windowfixture.h"

#include <QtTest>

#include "widgets/qscaleframe.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

namespace {

constexpr quint32 kSeed = 11;

using TestAScans::readAll;
using TestAScans::pathOf;
using TestAScans::writeBytes;
using TestInput::countPixels;
using TestInput::drag;

GeneratedAScan writeAScan(const QString& folder, int n, const std::function<void(GeneratedAScan&)>& change = {})
{
    return TestAScans::write(folder, n, kSeed, change);
}

// Quiet, valid settings: 100 samples per 10 µs, a strobe over 20…60 µs, the cursor on.
void plainSettings(GeneratedAScan& a)
{
    ConfigSettings& s = a.settings;
    s.iSamplesPer10us = 100;
    s.iFrequency = 50;
    s.iWindowEnd = 1000; // 100 µs
    s.iLoupe = 0;
    s.fStrobeStart = 20.0f;
    s.fStrobeEnd = 60.0f;
    s.iStrobeLevel = 100;
    s.iCursor = 1;
    s.eSignalType = ConfigSettings::SignalFilled;
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

bool isGreen(QRgb c) { return qGreen(c) > 180 && qRed(c) < 60 && qBlue(c) < 60; }
bool isYellow(QRgb c) { return qRed(c) > 200 && qGreen(c) > 180 && qBlue(c) < 60; }
bool isRed(QRgb c) { return qRed(c) > 180 && qGreen(c) < 60 && qBlue(c) < 60; }

QTableWidget* tableOf(ScanWgt& w) { return w.findChild<QTableWidget*>(QStringLiteral("tw_settings")); }
QLabel* infoOf(ScanWgt& w) { return w.findChild<QLabel*>(QStringLiteral("lbl_filename")); }

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
    QTRY_VERIFY(!table->indexWidget(index));
}

void choose(QComboBox* combo, int index)
{
    while (combo->currentIndex() < index)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > index)
        QTest::keyClick(combo, Qt::Key_Up);
}

} // namespace

class TestAScanTab : public QObject
{
    Q_OBJECT

private slots:
    void windowColumnsAndPeak();
    void listsInNumericOrder();
    void cancelStopsListing();
    void dragOutOfListChangesNothing();
    void damagedFilesDoNotSpoilTheList();
    void typedCells_data();
    void typedCells();
    void saveAndResetEdits();
    void discardQuestion_data();
    void discardQuestion();
    void gridFollowsResize();
    void strobeOffKeepsAmplitude();
    void displayButtons();
};

void TestAScanTab::windowColumnsAndPeak()
{
    // From, to, and the window made of them: past the end, backwards, empty, negative.
    const int cases[][4] = {{39000, 45000, 39000, 39999}, {2000, 1000, 1000, 2000}, {5000, 5000, 5000, 5001},
                            {-50, -10, 0, 1}};
    for (const auto& c : cases) {
        const AScanMath::Window w = AScanMath::clampWindow(c[0], c[1]);
        QCOMPARE(QList<int>({w.first, w.last}), QList<int>({c[2], c[3]}));
    }
    QList<qint16> c(1000, 0);
    c[999] = 400;
    for (int mode = 0; mode < 3; ++mode) {
        const AScanMath::Columns cols = AScanMath::reduceColumns(c.constData(), 1000, 300, mode);
        QCOMPARE(cols.top.last(), 400);
    }
    c.fill(0);
    c[10] = -300;
    c[11] = 200;
    c[12] = -700;
    const AScanMath::Columns radio = AScanMath::reduceColumns(c.constData(), 1000, 100, 0);
    QCOMPARE(radio.top.at(1), 200);
    QCOMPARE(radio.bottom.at(1), -700);
    QCOMPARE(AScanMath::reduceColumns(c.constData(), 1000, 100, 2).top.at(1), 511);
    const qint16 few[4] = {0, 100, 0, 51};
    QCOMPARE(AScanMath::reduceColumns(few, 4, 8, 2).top, (QList<int>{50, 100, 50, 0, 26, 51, 51, 51}));
    QCOMPARE(AScanMath::amplitudeRow(-32768, 100, 0), 99);
    QCOMPARE(AScanMath::amplitudeRow(32767, 101, 1), 0);

    const qint16 p[8] = {0, -90, 60, 120, -150, 150, 10, 0};
    // One-sided: |s| > |level|, the first of the largest; bipolar: beyond the level's side.
    QCOMPARE(AScanMath::findPeak(p, 8, 0, 8, 100, 1), 4);
    QCOMPARE(AScanMath::findFront(p, 8, 0, 8, 100, 1), 3);
    QCOMPARE(AScanMath::findPeak(p, 8, 0, 8, 100, 0), 5);
    // The end is exclusive and ranges outside the window are clamped.
    QCOMPARE(AScanMath::findPeak(p, 8, 0, 5, 200, 1), -1);
    QCOMPARE(AScanMath::findPeak(p, 8, -5, 100, 140, 1), 4);
}

// Listed by number, the chosen one shown: velocity, base and the lists changeable, the rest read-only.
void TestAScanTab::listsInNumericOrder()
{
    QTemporaryDir dir;
    const QString d = dir.path();
    for (int n : {100, 2, 10})
        writeAScan(d, n);
    writeBytes(d + QStringLiteral("/abc.bmp"), readAll(pathOf(d, 2)));
    writeBytes(d + QStringLiteral("/0.bmp"), readAll(pathOf(d, 2)));
    writeBytes(d + QStringLiteral("/7.bmp"), QByteArray("BM not an A-scan at all"));
    ScanWgt w;
    w.show();
    QSignalSpy loaded(&w, &ScanWgt::newDataLoaded);
    w.loadFolder(pathOf(d, 10), d);
    QCOMPARE(w.listedFiles(), (QStringList{pathOf(d, 2), pathOf(d, 10), pathOf(d, 100)}));
    QCOMPARE(w.fileList()->item(0)->text(), generateAScan(2, kSeed).name);
    QCOMPARE(w.selectedFiles(), QStringList{pathOf(d, 10)});
    QCOMPARE(loaded.count(), 1);
    QVERIFY(infoOf(w)->text().startsWith(QStringLiteral("A-Scan Name: ") + generateAScan(10, kSeed).name));
    QTableWidget* t = tableOf(w);
    const QList<int> changeable = {ScanWgt::RowVelocity, ScanWgt::RowBase,   ScanWgt::RowScale,
                                   ScanWgt::RowDiscreteness, ScanWgt::RowCursor, ScanWgt::RowTestingMethod};
    for (int row = 0; row < t->rowCount(); ++row)
        QCOMPARE(t->cellWidget(row, 1) || bool(t->item(row, 1)->flags() & Qt::ItemIsEditable),
                 changeable.contains(row));
    w.clear();
    w.loadFolder(d + QStringLiteral("/abc.bmp"), d + QLatin1Char('/'));
    QCOMPARE(w.listedFiles().size(), 3);
    QCOMPARE(w.currentPath(), pathOf(d, 2));
}

void TestAScanTab::cancelStopsListing()
{
    QTemporaryDir dir;
    const QString d = dir.path();
    for (int n = 1; n <= 10; ++n)
        writeAScan(d, n);
    CWinDataTempl win;
    win.setDataMode(CWinDataTempl::AScanMode);
    win.show();
    ScanWgt& w = *win.ascanView();
    win.openData(QString(), d);
    QCOMPARE(w.fileList()->count(), 10);
    auto* save = win.findChild<QToolButton*>(QStringLiteral("tbtn_save"));
    QVERIFY(save->isEnabled());

    QSignalSpy rejected(&w, &ScanWgt::dataLoadingRejected);
    QTimer timer;
    connect(&timer, &QTimer::timeout, &w, [&] {
        for (QDialog* dlg : w.findChildren<QDialog*>(QStringLiteral("dlg_infoLoad")))
            if (dlg->isVisible() && w.fileList()->count() >= 3)
                QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("btn_cancel")), Qt::LeftButton);
    });
    timer.start(0);
    win.openData(pathOf(d, 5), d);
    timer.stop();
    QCOMPARE(rejected.count(), 1);
    // Listed anew: the A-scans listed up to the cancel stay, none is shown, nothing to save.
    QCOMPARE(w.listedFiles(), QStringList({pathOf(d, 1), pathOf(d, 2), pathOf(d, 3)}));
    QVERIFY(w.selectedFiles().isEmpty());
    QVERIFY(w.currentPath().isEmpty());
    QVERIFY(!save->isEnabled());
}

// A press on a picture dragged out of every picture and let go there changes nothing.
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
    CListWidgetHeir* list = w.fileList();
    QWidget* view = list->viewport();
    const QPoint second = list->visualItemRect(list->item(1)).center();
    const QPoint empty(view->width() - 5, second.y());
    QSignalSpy loaded(&w, &ScanWgt::newDataLoaded);
    drag(view, second, empty);
    QCOMPARE(loaded.count(), 0);
    QCOMPARE(w.selectedFiles(), QStringList{pathOf(d, 1)});
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, second);
    QCOMPARE(w.selectedFiles(), QStringList{pathOf(d, 2)});
}

// Files that do not load leave the list and the edits of others as they were.
void TestAScanTab::damagedFilesDoNotSpoilTheList()
{
    QTemporaryDir dir;
    const QString d = dir.path();
    for (int n = 1; n <= 4; ++n)
        writeAScan(d, n);
    // 2: short signal; 3: no signal; 4: a settings file that fails its checks.
    writeBytes(d + QStringLiteral("/2.raw"), QByteArray(1000, '\0'));
    QFile::remove(d + QStringLiteral("/3.raw"));
    writeBytes(d + QStringLiteral("/4.sss"), QByteArray(77, '\x01'));
    ModalDriver driver({QMessageBox::Ok});
    ScanWgt w;
    w.show();
    QSignalSpy loaded(&w, &ScanWgt::newDataLoaded);
    w.loadFolder(pathOf(d, 1), d);
    QCOMPARE(w.fileList()->count(), 4);
    typeInto(tableOf(w), ScanWgt::RowVelocity, QStringLiteral("4100"));
    for (int row : {2, 1}) {
        w.fileList()->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        QCOMPARE(loaded.last().at(0).toBool(), false);
        QVERIFY(w.currentPath().isEmpty());
        QCOMPARE(w.fileList()->count(), 4);
        QVERIFY(w.editedFiles().contains(pathOf(d, 1)));
    }
    QVERIFY(infoOf(w)->text().contains(QStringLiteral("too short")));
    // The bad settings file is reported and the instrument's settings are shown, unedited.
    w.fileList()->setCurrentRow(3, QItemSelectionModel::ClearAndSelect);
    QCOMPARE(loaded.last().at(0).toBool(), true);
    QVERIFY(!w.isEdited());
    QTRY_COMPARE(driver.seen().size(), 1);
    QVERIFY(driver.seen().at(0).text.startsWith(QStringLiteral("Couldn't read configuration file")));
    // Back to the edited file: its edit is shown over the file's own settings.
    w.fileList()->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    QCOMPARE(w.shownSettings().iVelocity, qint16(4100));
    QVERIFY(w.isEdited());
}

void TestAScanTab::typedCells_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    const int velocity = ScanWgt::RowVelocity;
    const int base = ScanWgt::RowBase;
    QTest::newRow("velocity beyond its range") << velocity << "20000" << "3000";
    for (const char* off : {"O", "", "0.00005"})
        QTest::newRow(qPrintable(QStringLiteral("base '%1'").arg(QLatin1String(off)))) << base << off << "Off";
    QTest::newRow("base") << base << "12.34" << "12.3";
    QTest::newRow("base beyond its range") << base << "99999" << "50.0";
}

// Typed over velocity 3000 and base 50: a refusal keeps the cell; a taken value marks the A-scan.
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
    const bool changed = shown != t->item(row, 1)->text();
    typeInto(t, row, typed);
    QCOMPARE(t->item(row, 1)->text(), shown);
    QCOMPARE(w.isEdited(), changed);
}

// Reset drops the shown edit; Save writes the others' beside their copies, asking once per run.
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
    QTest::mouseClick(w.display()->findChild<QPushButton*>(QStringLiteral("btn_resetSettings")), Qt::LeftButton);
    QVERIFY(!w.isEdited());
    QCOMPARE(w.editedFiles(), (QStringList{pathOf(d, 1), pathOf(d, 2)}));
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
    QCOMPARE(readAll(out.path() + QStringLiteral("/3.sss")), QByteArray("old"));
}

void TestAScanTab::discardQuestion_data()
{
    QTest::addColumn<int>("atOpen");
    QTest::addColumn<int>("atClose");
    QTest::newRow("kept, saved at close") << int(QMessageBox::No) << int(QMessageBox::Yes);
    QTest::newRow("discarded at open") << int(QMessageBox::Yes) << 0;
}

// An unsaved edit is asked about at Open and again at closing, where Yes writes it.
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
    main.close();
    QCOMPARE(driver.seen().size(), atClose ? 2 : 1);
    ConfigSettings back;
    QCOMPARE(readConfigFile(d + QStringLiteral("/1.sss"), back), atClose == QMessageBox::Yes);
    QVERIFY(atClose != QMessageBox::Yes || back.iVelocity == 4003);
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

// The same lines at the same fractions of the width after a resize: the grid meets the labels.
void TestAScanTab::gridFollowsResize()
{
    QTemporaryDir dir;
    ScanWgt w;
    showAScan(w, dir.path());
    CAScanFrame* frame = w.display()->frame();
    const int before = frame->picture().width();
    const QList<int> narrow = gridColumns(frame->picture());
    QVERIFY(narrow.size() >= 4);
    w.resize(1500, 640);
    const int after = frame->picture().width();
    const QList<int> wide = gridColumns(frame->picture());
    QCOMPARE(wide.size(), narrow.size());
    for (int i = 0; i < wide.size(); ++i)
        QVERIFY2(std::abs(wide.at(i) - narrow.at(i) * double(after) / before) <= 2.0, qPrintable(QString::number(i)));
}

// The strobe off and on again with nothing measured leaves the A-scan unedited.
void TestAScanTab::strobeOffKeepsAmplitude()
{
    QTemporaryDir dir;
    ScanWgt w;
    showAScan(w, dir.path(), [](GeneratedAScan& a) {
        for (int i = 0; i < int(a.samples.size()); ++i)
            a.samples[i] = qint16(std::lround(300.0 * std::cos(2.0 * M_PI * i / 200.0)));
        a.settings.iStrobeLevel = 500;
        a.settings.bMeasured = false;
        a.settings.fMeasuredTime = a.settings.fPeakTime = 0.0f;
        a.settings.iPeakAmplitude = 0;
    });
    CAScanWgt* disp = w.display();
    auto* strobe = disp->findChild<QPushButton*>(QStringLiteral("btn_strobeEnabled"));
    QTest::mouseClick(strobe, Qt::LeftButton);
    QCOMPARE(disp->currentSettings().iStrobe, 0);
    QCOMPARE(disp->currentSettings().iPeakAmplitude, qint16(0));
    QTest::mouseClick(strobe, Qt::LeftButton);
    QVERIFY(!w.isEdited());
    QVERIFY(!w.hasUnsavedEdits());
    QVERIFY(!infoOf(w)->text().contains(QLatin1Char('*')));
}

// Through transmission: yellow, twice the depth; signal type, loupe, time base, a strobe drawn, off.
void TestAScanTab::displayButtons()
{
    QTemporaryDir dir;
    ScanWgt w;
    showAScan(w, dir.path());
    CAScanWgt* disp = w.display();
    QVERIFY(countPixels(disp->displayImage(), isGreen) > 50);
    const double depthBefore = disp->depthText().toDouble();
    choose(qobject_cast<QComboBox*>(tableOf(w)->cellWidget(ScanWgt::RowTestingMethod, 1)), 1);
    QCOMPARE(countPixels(disp->displayImage(), isGreen), 0);
    QVERIFY(countPixels(disp->displayImage(), isYellow) > 50);
    QVERIFY(std::abs(disp->depthText().toDouble() - 2 * depthBefore) <= 1.0);
    auto button = [disp](const char* name) { return disp->findChild<QPushButton*>(QLatin1String(name)); };
    auto* ver = disp->findChild<QScaleFrame*>(QStringLiteral("ascanVerScale"));
    QTest::mouseClick(button("btn_signalType"), Qt::LeftButton); // filled → bipolar
    QCOMPARE(ver->start(), -100.0);
    QCOMPARE(ver->span(), 200.0);
    QTest::mouseClick(button("btn_loupe"), Qt::LeftButton);
    QCOMPARE(disp->window().first, 200); // 20 µs at 100 samples per 10 µs
    QCOMPARE(disp->window().last, 600);
    QTest::mouseClick(button("btn_loupe"), Qt::LeftButton);
    QPushButton* more = button("btn_decreaseScale");
    QPushButton* less = button("btn_increaseScale");
    for (int i = 0; i < 60 && more->isEnabled(); ++i)
        QTest::mouseClick(more, Qt::LeftButton);
    QCOMPARE(disp->currentSettings().iWindowEnd, 40000);
    for (int i = 0; i < 60 && less->isEnabled(); ++i)
        QTest::mouseClick(less, Qt::LeftButton);
    QCOMPARE(disp->currentSettings().windowEndTime(), 75.0);

    CAScanFrame* frame = disp->frame();
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
    QVERIFY(!isRed(frame->picture().pixel(90, frame->levelToY(s.iStrobeLevel))));
    const float start = s.fStrobeStart;
    const QPoint end(frame->strobeEndX(), frame->levelToY(s.iStrobeLevel));
    drag(frame, end, end + QPoint(60, 0));
    QCOMPARE(disp->currentSettings().fStrobeStart, start);
    QVERIFY(std::abs(frame->strobeEndX() - (end.x() + 60)) <= 1);
    // A strobe narrower than the minimum width disappears.
    drag(frame, QPoint(400, y), QPoint(403, y));
    QCOMPARE(disp->currentSettings().fStrobeEnd, 0.0f);
    QCOMPARE(countPixels(frame->picture(), isRed), 0);
    QTest::mouseClick(button("btn_strobeEnabled"), Qt::LeftButton);
    QVERIFY(!button("btn_loupe")->isEnabled());
    QVERIFY(!button("btn_triggering")->isEnabled());
    QCOMPARE(countPixels(disp->displayImage(), isRed), 0);
}

QTEST_MAIN(TestAScanTab)
#include "tst_ascantab.moc"
