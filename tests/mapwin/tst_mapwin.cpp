// The map settings window and its SAFT panel through their widgets. Reset and Execute as the
// map view meets them are in tests/mapview, the texts following the language in tests/i18n.

#include "common/windowfixture.h"
#include "mapview/cmapsettings.h"
#include "mapview/cwgtsaftparam.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTranslator>
#include <QtTest>

using TestInput::child;
using TestInput::retype;

namespace {

//! Types into a spin box's field and finishes the entry with Return.
void typeIntoSpinBox(QAbstractSpinBox* box, const QString& text)
{
    retype(box->findChild<QLineEdit*>(), text);
    QTest::keyClick(box->findChild<QLineEdit*>(), Qt::Key_Return);
}

void click(QWidget* parent, const char* button)
{
    QTest::mouseClick(child<QPushButton>(parent, button), Qt::LeftButton);
}

//! Clicks a check box on its indicator, where a user clicks a box that has no text.
void clickCheckBox(QCheckBox* box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

SAFTsettings record(int depth, int frequency, int bandwidth, double velocity, int tcg, bool filterSW)
{
    return {depth, frequency, bandwidth, velocity, tcg, filterSW};
}

// What the panel shows, as the user reads it: depth|velocity|frequency|bandwidth|TCG|filter.
QString shown(CWgtSAFTparam& p)
{
    return QStringList{child<QLineEdit>(&p, "edt_depth")->text(), child<QLineEdit>(&p, "edt_velocity")->text(),
                       child<QSpinBox>(&p, "spb_freq")->text(), child<QSpinBox>(&p, "spb_bandwidth")->text(),
                       child<QSpinBox>(&p, "spb_tcg")->text(),
                       child<QCheckBox>(&p, "chb_comp_sw")->isChecked() ? "on" : "off"}
        .join(QLatin1Char('|'));
}

SAFTsettings saft(int depth, double velocity)
{
    return record(depth, 50, 100, velocity, 0, true);
}

// Values whose texts differ in length: the Russian "single" probe is the longest value.
ConfigSettings mapSettings()
{
    ConfigSettings s;
    s.eProbeType = ConfigSettings::ProbeSingle;
    s.iVelocity = 2650;
    return s;
}

std::unique_ptr<CMapSettings> makeWindow(const ConfigSettings& settings = mapSettings(),
                                         const QString& title = QStringLiteral("Bridge pier 3"),
                                         const QString& comments = QString(),
                                         const SAFTsettings& opened = saft(800, 2.65))
{
    return std::make_unique<CMapSettings>(CMapSettings::Geometry{50, 25, 12, 0}, settings, opened, opened, title,
                                          ProcessedView, comments);
}

} // namespace

class TestMapWin : public QObject
{
    Q_OBJECT

private slots:
    void showsRecordWithoutSignals();
    void typedValuesReadBack_data();
    void typedValuesReadBack();
    void executeReadsEveryField();
    void offGridEntryReturns_data();
    void offGridEntryReturns();
    void offGridRecordStillSteps();
    void transmissionHidesSaftChoice();
    void rowsFitThePanel();
    void tableIsReadOnly();
    void typingEmitsEveryChange();
    void executeHandsOnRecord();
    void reopeningHiddenWindow();
    void russianTextsFit();
};

// A record is shown, its velocity rounded half up (2650.5 m/s), and no signal is sent.
void TestMapWin::showsRecordWithoutSignals()
{
    CWgtSAFTparam p;
    QSignalSpy run(&p, &CWgtSAFTparam::executeProcessing);
    QSignalSpy mode(&p, &CWgtSAFTparam::viewingModeChanged);
    const SAFTsettings current = record(1200, 120, 75, 2.6505, 12, false);
    p.setParameters(SAFTsettings(), current, RawView, true);
    QCOMPARE(shown(p), QStringLiteral("1200|2651|120|75|12|off"));
    QVERIFY(!child<QCheckBox>(&p, "chb_viewSAFT")->isChecked());
    QCOMPARE(p.parameters().velocity, 2.6505);
    p.setViewingMode(ProcessedView);
    QVERIFY(child<QCheckBox>(&p, "chb_viewSAFT")->isChecked());
    QCOMPARE(run.count() + mode.count(), 0);
}

void TestMapWin::typedValuesReadBack_data()
{
    QTest::addColumn<int>("field"); // 0 depth in mm, 1 velocity in m/s
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("taken");
    QTest::newRow("depth, blanks around") << 0 << " 1000 " << 1000;
    QTest::newRow("depth, upper limit") << 0 << "35000" << 35000;
    // Out of range becomes 0, which leaves no layers: the previous depth stays.
    QTest::newRow("depth above range") << 0 << "35001" << 1200;
    // 7 mm is one layer (1.4 rounded), 8 mm two (1.6 rounded).
    QTest::newRow("depth of one layer") << 0 << "7" << 1200;
    QTest::newRow("depth of two layers") << 0 << "8" << 8;
    QTest::newRow("depth not a number") << 0 << "12a" << 1200;
    QTest::newRow("depth, fraction") << 0 << "750.5" << 1200;
    QTest::newRow("depth, overflow") << 0 << "99999999999" << 1200;
    // m/s to mm/µs is a real division: 2650 is 2.65, not 2. Out of range: the default.
    QTest::newRow("velocity, fractional") << 1 << "2650" << 2650;
    QTest::newRow("velocity, lowest") << 1 << "500" << 500;
    QTest::newRow("velocity just too slow") << 1 << "499" << 2600;
    QTest::newRow("velocity too fast") << 1 << "15001" << 2600;
    QTest::newRow("velocity, fraction") << 1 << "3240.5" << 3100;
}

// Typed, then Execute: the value taken into the record, and shown in the edit after it.
void TestMapWin::typedValuesReadBack()
{
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(int, taken);
    CWgtSAFTparam p;
    p.setParameters(SAFTsettings(), record(1200, 50, 100, 3.1, 0, true), ProcessedView, true);
    p.show();
    QSignalSpy run(&p, &CWgtSAFTparam::executeProcessing);
    retype(child<QLineEdit>(&p, field == 0 ? "edt_depth" : "edt_velocity"), typed);
    click(&p, "btn_run");
    QCOMPARE(run.count(), 1);
    if (field == 0)
        QCOMPARE(p.parameters().depth, taken);
    else
        QCOMPARE(p.parameters().velocity, taken / 1000.0);
    QCOMPARE(shown(p).section(QLatin1Char('|'), field, field), QString::number(taken));
}

void TestMapWin::executeReadsEveryField()
{
    CWgtSAFTparam p;
    const SAFTsettings defaults;
    p.setParameters(defaults, defaults, ProcessedView, true);
    p.show();
    QSignalSpy run(&p, &CWgtSAFTparam::executeProcessing);
    retype(child<QLineEdit>(&p, "edt_depth"), QStringLiteral("900"));
    retype(child<QLineEdit>(&p, "edt_velocity"), QStringLiteral("5900"));
    typeIntoSpinBox(child<QSpinBox>(&p, "spb_freq"), QStringLiteral("100"));
    // Two steps down from 100 % with the keyboard.
    auto* band = child<QSpinBox>(&p, "spb_bandwidth");
    band->setFocus();
    QTest::keyClick(band, Qt::Key_Down);
    QTest::keyClick(band, Qt::Key_Down);
    typeIntoSpinBox(child<QSpinBox>(&p, "spb_tcg"), QStringLiteral("17"));
    clickCheckBox(child<QCheckBox>(&p, "chb_comp_sw"));
    // Nothing is taken before Execute.
    QVERIFY(p.parameters() == defaults);

    // A second Execute with nothing changed sends the same record again.
    for (int n = 1; n <= 2; ++n) {
        click(&p, "btn_run");
        QCOMPARE(run.count(), n);
        QVERIFY(p.parameters() == record(900, 100, 50, 5.9, 17, false));
        QCOMPARE(p.parameters().velocity, 5.9);
    }
    QVERIFY(p.defaults() == defaults);
}

void TestMapWin::offGridEntryReturns_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("offGrid");
    QTest::addColumn<int>("onGrid");
    QTest::addColumn<int>("step");
    QTest::newRow("frequency") << "spb_freq" << 70 << "52" << 55 << 5;
    QTest::newRow("bandwidth") << "spb_bandwidth" << 75 << "60" << 25 << 25;
}

void TestMapWin::offGridEntryReturns()
{
    QFETCH(QString, box);
    QFETCH(int, stored);
    QFETCH(QString, offGrid);
    QFETCH(int, onGrid);
    QFETCH(int, step);
    CWgtSAFTparam p;
    p.setParameters(SAFTsettings(), record(500, 70, 75, 2.6, 0, true), ProcessedView, true);
    p.show();
    auto* spin = child<QSpinBox>(&p, qPrintable(box));
    typeIntoSpinBox(spin, offGrid);
    QCOMPARE(spin->value(), stored);
    typeIntoSpinBox(spin, QString::number(onGrid));
    QCOMPARE(spin->value(), onGrid);
    // Set back to the record's value, not to the last value shown.
    typeIntoSpinBox(spin, offGrid);
    QCOMPARE(spin->value(), stored);
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(spin->value(), stored + step);
    click(&p, "btn_run");
    QCOMPARE(box == QLatin1String("spb_freq") ? p.parameters().frequency : p.parameters().bandwidth, stored + step);
}

void TestMapWin::offGridRecordStillSteps()
{
    // A frequency of 52 kHz can come from an edited viewing-settings file. Stepping must not
    // be caught by the set-back: the arrows move to the grid.
    CWgtSAFTparam p;
    p.setParameters(SAFTsettings(), record(500, 52, 100, 2.6, 0, true), ProcessedView, true);
    p.show();
    auto* freq = child<QSpinBox>(&p, "spb_freq");
    click(&p, "btn_run"); // untouched, the record's value is kept
    QCOMPARE(p.parameters().frequency, 52);
    freq->setFocus();
    QTest::keyClick(freq, Qt::Key_Up);
    QCOMPARE(freq->value(), 55);
    QTest::keyClick(freq, Qt::Key_Down);
    QCOMPARE(freq->value(), 50);
}

void TestMapWin::transmissionHidesSaftChoice()
{
    CWgtSAFTparam p;
    p.setParameters(SAFTsettings(), SAFTsettings(), RawView, false);
    p.show();
    auto* box = child<QCheckBox>(&p, "chb_viewSAFT");
    auto* label = child<QLabel>(&p, "lbl_viewSAFT");
    QVERIFY(!box->isVisible() && !box->isEnabled() && !label->isVisible() && !label->isEnabled());
    // Execute still rebuilds the unprocessed volume with the new depth.
    QSignalSpy run(&p, &CWgtSAFTparam::executeProcessing);
    retype(child<QLineEdit>(&p, "edt_depth"), QStringLiteral("1500"));
    click(&p, "btn_run");
    QCOMPARE(run.count(), 1);
    QCOMPARE(p.parameters().depth, 1500);

    // Another map, tested by reflection, shows the choice again.
    p.setParameters(SAFTsettings(), SAFTsettings(), ProcessedView, true);
    QVERIFY(box->isVisible() && box->isEnabled() && box->isChecked());
    QVERIFY(label->isVisible() && label->isEnabled());
}

void TestMapWin::rowsFitThePanel()
{
    CWgtSAFTparam p;
    p.resize(330, 400); // its place in the settings window
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    // The buttons lie inside the panel, below the last field.
    auto* run = child<QPushButton>(&p, "btn_run");
    auto* saft = child<QCheckBox>(&p, "chb_viewSAFT");
    QVERIFY(p.rect().contains(run->mapTo(&p, run->rect().bottomRight())));
    QVERIFY(run->mapTo(&p, QPoint(0, 0)).y() > saft->mapTo(&p, saft->rect().bottomLeft()).y());
}

void TestMapWin::tableIsReadOnly()
{
    auto w = makeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* table = child<QTableWidget>(w.get(), "tw_settings");
    // All 21 rows and both columns fit: nothing to scroll.
    QCOMPARE(table->rowCount(), 21);
    QVERIFY(!table->verticalScrollBar()->isVisible());
    QVERIFY(table->visualItemRect(table->item(20, 1)).bottom() < table->viewport()->height());
    QCOMPARE(table->columnWidth(0) + table->columnWidth(1), table->viewport()->width());

    // A double click on a value neither edits it nor selects anything.
    const QRect cell = table->visualItemRect(table->item(12, 1));
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QVERIFY(!table->isPersistentEditorOpen(table->item(12, 1)));
    QVERIFY(!table->findChild<QLineEdit*>());
    QCOMPARE(table->item(12, 1)->text(), QStringLiteral("2650"));
    QVERIFY(table->selectedItems().isEmpty());
}

// Comments read from the map's file are shown, not reported as a change; every typed one is.
void TestMapWin::typingEmitsEveryChange()
{
    auto w = makeWindow(mapSettings(), QString(), QStringLiteral("Weld"));
    QSignalSpy changed(w.get(), &CMapSettings::commentsChanged);
    auto* edit = child<QPlainTextEdit>(w.get(), "tedt_comments");
    QCOMPARE(edit->toPlainText(), QStringLiteral("Weld"));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->setComments(QStringLiteral("Weld"));
    QCOMPARE(changed.count(), 0);
    edit->setFocus();
    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit, QStringLiteral(" ok"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("2"));
    QCOMPARE(w->comments(), QStringLiteral("Weld ok\n2"));
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(changed.count(), 7);
    QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("Weld "));
    QCOMPARE(changed.last().at(0).toString(), QStringLiteral("Weld ok"));
    // A change of the editor's layout alone is no change of the text.
    edit->setFont(QFont(edit->font().family(), 16));
    edit->resize(200, 100);
    QCoreApplication::processEvents();
    QCOMPARE(changed.count(), 7);
}

void TestMapWin::executeHandsOnRecord()
{
    auto w = makeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QSignalSpy run(w.get(), &CMapSettings::executeProcessing);
    // The same velocity typed again: 2650 m/s is 2.65 mm/µs within the tolerance, no change.
    retype(child<QLineEdit>(w.get(), "edt_velocity"), QStringLiteral("2650"));
    click(w.get(), "btn_run");
    QVERIFY(run.at(0).at(0).value<SAFTsettings>() == w->openedSAFT());
    QVERIFY(!w->saftChanged());
    run.clear();

    retype(child<QLineEdit>(w.get(), "edt_velocity"), QStringLiteral("5920"));
    retype(child<QLineEdit>(w.get(), "edt_depth"), QStringLiteral("1500"));
    QVERIFY(w->lastSAFT() == saft(800, 2.65));
    click(w.get(), "btn_run");

    QCOMPARE(run.count(), 1);
    const SAFTsettings sent = run.at(0).at(0).value<SAFTsettings>();
    QVERIFY(sent == record(1500, 50, 100, 5.92, 0, true));
    QVERIFY(w->lastSAFT() == sent);
    QVERIFY(w->openedSAFT() == saft(800, 2.65));
    QVERIFY(w->saftChanged());
}

// The SAFT view switched on the panel is forwarded, and only the view changes; a window closed
// and opened again shows what was last executed and the view chosen, not what was typed.
void TestMapWin::reopeningHiddenWindow()
{
    auto w = makeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QSignalSpy mode(w.get(), &CMapSettings::viewingModeChanged);
    QSignalSpy run(w.get(), &CMapSettings::executeProcessing);
    auto* depth = child<QLineEdit>(w.get(), "edt_depth");
    auto* box = child<QCheckBox>(w.get(), "chb_viewSAFT");
    retype(depth, QStringLiteral("1000"));
    click(w.get(), "btn_run");
    QCOMPARE(w->lastSAFT().depth, 1000);
    retype(depth, QStringLiteral("900"));
    clickCheckBox(box);
    QCOMPARE(mode.count(), 1);
    QCOMPARE(mode.at(0).at(0).value<EScanProcessing>(), RawView);
    QCOMPARE(run.count(), 1);
    QCOMPARE(depth->text(), QStringLiteral("900"));
    // The view may switch by itself (a failed reconstruction): shown, not echoed.
    w->setViewingMode(ProcessedView);
    QVERIFY(box->isChecked());
    w->setViewingMode(RawView);
    QCOMPARE(mode.count(), 1);

    retype(depth, QStringLiteral("3000"));
    click(w.get(), "btn_reset");
    QCOMPARE(w->currentSAFT().depth, 800);
    w->close();
    w->showAgain();
    QVERIFY(w->isVisible());
    QCOMPARE(depth->text(), QStringLiteral("1000"));
    QVERIFY(w->currentSAFT() == w->lastSAFT());
    QCOMPARE(w->viewingMode(), RawView);
    QVERIFY(!box->isChecked());
    // Reset still goes back to the record the window was made with.
    click(w.get(), "btn_reset");
    QCOMPARE(depth->text(), QStringLiteral("800"));
    // A visible window is only raised: what is on the panel stays.
    retype(depth, QStringLiteral("4000"));
    w->showAgain();
    QCOMPARE(depth->text(), QStringLiteral("4000"));
}

void TestMapWin::russianTextsFit()
{
    QTranslator russian;
    QVERIFY(russian.load(QCoreApplication::applicationDirPath() + QStringLiteral("/vantar_ru")));
    QVERIFY(QCoreApplication::installTranslator(&russian));
    auto w = makeWindow(mapSettings(), QString());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* table = child<QTableWidget>(w.get(), "tw_settings");
    // Long texts ("совмещённый" in the narrow value column) are set smaller, not cut off.
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int col = 0; col < 2; ++col) {
            const QTableWidgetItem* item = table->item(row, col);
            QVERIFY2(QFontMetrics(item->font()).horizontalAdvance(item->text()) < table->columnWidth(col) - 4,
                     qPrintable(item->text()));
        }
    }
    QCOMPARE(table->item(4, 1)->text(), QStringLiteral("совмещённый"));
    QVERIFY(table->item(4, 1)->font().pointSize() < 10);
    QCOMPARE(table->item(5, 1)->font().pointSize(), 10);
    QCoreApplication::removeTranslator(&russian);
}

QTEST_MAIN(TestMapWin)
#include "tst_mapwin.moc"
