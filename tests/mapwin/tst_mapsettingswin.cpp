// The map settings window driven through its widgets: the read-only settings table, the
// comments editor, Execute handing the panel's record on, reopening a hidden window, and the
// language hook. The table's rows themselves are the SettingsRows builder's (tests/reports).

#include "mapview/cmapsettings.h"
#include "mapview/cwgtsaftparam.h"
#include "mapwintestutil.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTranslator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace mapwintest;

namespace {

ConfigSettings mapSettings()
{
    ConfigSettings s;
    s.eProbeType = ConfigSettings::ProbeSingle;
    s.iFrequency = 100;
    s.dDelay = 12.5;
    s.iGain = 36;
    s.ePulseVoltage = ConfigSettings::Voltage200;
    s.iPeriodHalves = 3;
    s.iRepetitionRate = 60;
    s.bAveraging = true;
    s.iAveraging = 8;
    s.iVelocity = 2650;
    s.iBaseMode = 1;
    s.dBase = 150.0;
    s.tvg.iOn = 1;
    s.eScaleUnits = ConfigSettings::UnitsUs;
    s.eDiscreteness = ConfigSettings::Discreteness01;
    s.iCursor = 0;
    s.iInputFilter = 1;
    s.iSamplesPer10us = 25;
    return s;
}

SAFTsettings saft(int depth, double velocity)
{
    SAFTsettings s;
    s.depth = depth;
    s.velocity = velocity;
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

QStringList column(QTableWidget* table, int iColumn)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << (table->item(row, iColumn) ? table->item(row, iColumn)->text() : QStringLiteral("<none>"));
    return texts;
}

} // namespace

class TestMapSettingsWindow : public QObject
{
    Q_OBJECT

private slots:
    void tableIsReadOnly();
    void commentsShownWithoutChange();
    void typingEmitsEveryChange();
    void executeHandsOnRecord();
    void executeSameValuesIsNoChange();
    void viewingModeForwarded();
    void reopeningHiddenWindow();
    void retranslateHook();
    void russianTexts();
};




void TestMapSettingsWindow::tableIsReadOnly()
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

void TestMapSettingsWindow::commentsShownWithoutChange()
{
    const QString text = QStringLiteral("Crack at x = 0.4 m\nCheck again in spring");
    auto w = makeWindow(mapSettings(), QString(), text);
    QSignalSpy changed(w.get(), &CMapSettings::commentsChanged);
    QCOMPARE(child<QPlainTextEdit>(w.get(), "tedt_comments")->toPlainText(), text);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCoreApplication::processEvents();
    // Comments read from the map's file are shown, not reported as a change.
    w->setComments(QStringLiteral("from the file"));
    QCOMPARE(child<QPlainTextEdit>(w.get(), "tedt_comments")->toPlainText(), QStringLiteral("from the file"));
    QCOMPARE(changed.count(), 0);
}

void TestMapSettingsWindow::typingEmitsEveryChange()
{
    auto w = makeWindow(mapSettings(), QString(), QStringLiteral("Weld"));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QSignalSpy changed(w.get(), &CMapSettings::commentsChanged);
    auto* edit = child<QPlainTextEdit>(w.get(), "tedt_comments");
    edit->setFocus();
    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit, QStringLiteral(" ok"));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("Weld "));
    QCOMPARE(changed.at(2).at(0).toString(), QStringLiteral("Weld ok"));
    QCOMPARE(w->comments(), QStringLiteral("Weld ok"));

    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("2"));
    QCOMPARE(w->comments(), QStringLiteral("Weld ok\n2"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(changed.count(), 7);
    QCOMPARE(changed.last().at(0).toString(), QStringLiteral("Weld ok"));

    // A change of the editor's layout alone is no change of the text.
    edit->setFont(QFont(edit->font().family(), 16));
    edit->resize(200, 100);
    QCoreApplication::processEvents();
    QCOMPARE(changed.count(), 7);
}

void TestMapSettingsWindow::executeHandsOnRecord()
{
    auto w = makeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QSignalSpy run(w.get(), &CMapSettings::executeProcessing);
    retype(child<QLineEdit>(w.get(), "edt_velocity"), QStringLiteral("5920"));
    retype(child<QLineEdit>(w.get(), "edt_depth"), QStringLiteral("1500"));
    QVERIFY(w->lastSAFT() == saft(800, 2.65));
    QTest::mouseClick(child<QPushButton>(w.get(), "btn_run"), Qt::LeftButton);

    QCOMPARE(run.count(), 1);
    const SAFTsettings sent = run.at(0).at(0).value<SAFTsettings>();
    QCOMPARE(sent.velocity, 5.92);
    QCOMPARE(sent.depth, 1500);
    QCOMPARE(sent.frequency, 50);
    QVERIFY(w->lastSAFT() == sent);
    QVERIFY(w->currentSAFT() == sent);
    QVERIFY(w->openedSAFT() == saft(800, 2.65));
    QVERIFY(w->saftChanged());

    // Reset returns the panel to the record the window was made with; only Execute applies.
    QTest::mouseClick(child<QPushButton>(w.get(), "btn_reset"), Qt::LeftButton);
    QVERIFY(w->currentSAFT() == saft(800, 2.65));
    QVERIFY(w->lastSAFT() == sent);
    QCOMPARE(run.count(), 1);
    QTest::mouseClick(child<QPushButton>(w.get(), "btn_run"), Qt::LeftButton);
    QCOMPARE(run.count(), 2);
    QVERIFY(!w->saftChanged());
}

void TestMapSettingsWindow::executeSameValuesIsNoChange()
{
    auto w = makeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QSignalSpy run(w.get(), &CMapSettings::executeProcessing);
    // The same velocity typed again: 2650 m/s is 2.65 mm/µs within the tolerance.
    retype(child<QLineEdit>(w.get(), "edt_velocity"), QStringLiteral("2650"));
    QTest::mouseClick(child<QPushButton>(w.get(), "btn_run"), Qt::LeftButton);
    QCOMPARE(run.count(), 1);
    QVERIFY(run.at(0).at(0).value<SAFTsettings>() == w->openedSAFT());
    QVERIFY(!w->saftChanged());
}

void TestMapSettingsWindow::viewingModeForwarded()
{
    auto w = makeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QSignalSpy mode(w.get(), &CMapSettings::viewingModeChanged);
    QSignalSpy run(w.get(), &CMapSettings::executeProcessing);
    auto* box = child<QCheckBox>(w.get(), "chb_viewSAFT");
    QVERIFY(box->isChecked());
    retype(child<QLineEdit>(w.get(), "edt_depth"), QStringLiteral("900"));
    clickCheckBox(box);
    QCOMPARE(mode.count(), 1);
    QCOMPARE(mode.at(0).at(0).value<EScanProcessing>(), RawView);
    QCOMPARE(w->viewingMode(), RawView);
    // Only the view changes: nothing runs, the record and the typed text are left alone.
    QCOMPARE(run.count(), 0);
    QVERIFY(!w->saftChanged());
    QVERIFY(w->currentSAFT() == saft(800, 2.65));
    QCOMPARE(child<QLineEdit>(w.get(), "edt_depth")->text(), QStringLiteral("900"));
    clickCheckBox(box);
    QCOMPARE(mode.last().at(0).value<EScanProcessing>(), ProcessedView);

    // The view may switch by itself (a failed reconstruction): shown, not echoed.
    w->setViewingMode(RawView);
    QVERIFY(!box->isChecked());
    QCOMPARE(mode.count(), 2);
}

void TestMapSettingsWindow::reopeningHiddenWindow()
{
    auto w = makeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* depth = child<QLineEdit>(w.get(), "edt_depth");
    retype(depth, QStringLiteral("1000"));
    QTest::mouseClick(child<QPushButton>(w.get(), "btn_run"), Qt::LeftButton);
    QCOMPARE(w->lastSAFT().depth, 1000);
    clickCheckBox(child<QCheckBox>(w.get(), "chb_viewSAFT"));

    // Typed, never executed, then the window is closed.
    retype(depth, QStringLiteral("3000"));
    QTest::mouseClick(child<QPushButton>(w.get(), "btn_reset"), Qt::LeftButton);
    QCOMPARE(w->currentSAFT().depth, 800);
    w->close();
    QVERIFY(w->isHidden());

    w->showAgain();
    QVERIFY(w->isVisible());
    QCOMPARE(depth->text(), QStringLiteral("1000"));
    QVERIFY(w->currentSAFT() == w->lastSAFT());
    QCOMPARE(w->viewingMode(), RawView);
    QVERIFY(!child<QCheckBox>(w.get(), "chb_viewSAFT")->isChecked());
    // Reset still goes back to the record the window was made with.
    QTest::mouseClick(child<QPushButton>(w.get(), "btn_reset"), Qt::LeftButton);
    QCOMPARE(depth->text(), QStringLiteral("800"));

    // A visible window is only raised: what is on the panel stays.
    retype(depth, QStringLiteral("4000"));
    w->showAgain();
    QCOMPARE(depth->text(), QStringLiteral("4000"));

    // A transmission map has no SAFT view to choose, still after closing and reopening.
    ConfigSettings s = mapSettings();
    s.eTestingMethod = ConfigSettings::Transmission;
    auto t = makeWindow(s);
    t->show();
    t->close();
    t->showAgain();
    QVERIFY(!child<QCheckBox>(t.get(), "chb_viewSAFT")->isVisible());
    QVERIFY(child<QCheckBox>(t.get(), "chb_comp_sw")->isVisible());
}

void TestMapSettingsWindow::retranslateHook()
{
    auto titled = makeWindow();
    auto untitled = makeWindow(mapSettings(), QString());
    MarkingTranslator translator({QByteArrayLiteral("CMapSettings"), QByteArrayLiteral("ConfigSettings"), QByteArrayLiteral("SettingsRows"),
                                  QByteArrayLiteral("CWgtSAFTparam")});
    QVERIFY(QCoreApplication::installTranslator(&translator));
    QCoreApplication::processEvents();
    const auto marked = &MarkingTranslator::marked;
    QCOMPARE(untitled->windowTitle(), marked(QStringLiteral("Map Viewing Settings")));
    QCOMPARE(child<QGroupBox>(untitled.get(), "grpb_table")->title(), marked(QStringLiteral("Instrument Settings")));
    // A configuration title is the map's own text.
    QCOMPARE(child<QGroupBox>(titled.get(), "grpb_table")->title(), QStringLiteral("Bridge pier 3"));
    QCOMPARE(child<QLabel>(titled.get(), "lbl_comments")->text(), marked(QStringLiteral("Comments")));
    auto* table = child<QTableWidget>(titled.get(), "tw_settings");
    QCOMPARE(table->item(0, 0)->text(), marked(QStringLiteral("Horizontal step, mm")));
    QCOMPARE(table->item(3, 1)->text(), marked(QStringLiteral("Off")));
    QCOMPARE(table->item(4, 1)->text(), marked(QStringLiteral("single")));
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("50"));
    QCOMPARE(child<QPushButton>(titled.get(), "btn_run")->text(), marked(QStringLiteral("Execute")));

    QCoreApplication::removeTranslator(&translator);
    QCoreApplication::processEvents();
    QCOMPARE(untitled->windowTitle(), QStringLiteral("Map Viewing Settings"));
    QCOMPARE(table->item(4, 1)->text(), QStringLiteral("single"));
    QCOMPARE(table->rowCount(), 21);
}

void TestMapSettingsWindow::russianTexts()
{
    // The translation the build places beside the programs covers the window and its panel.
    QTranslator russian;
    QVERIFY(russian.load(QCoreApplication::applicationDirPath() + QStringLiteral("/vantar_ru")));
    QVERIFY(QCoreApplication::installTranslator(&russian));
    auto w = makeWindow(mapSettings(), QString());
    QCOMPARE(w->windowTitle(), QStringLiteral("Настройки просмотра карты"));
    QCOMPARE(child<QGroupBox>(w.get(), "grpb_table")->title(), QStringLiteral("Параметры прибора"));
    auto* table = child<QTableWidget>(w.get(), "tw_settings");
    const QStringList labels = column(table, 0);
    // Every row label has its Russian text.
    for (int row = 0; row < labels.size(); ++row)
        QVERIFY2(!labels.at(row).contains(QRegularExpression(QStringLiteral("[A-Za-z]{3}"))), qPrintable(labels.at(row)));
    QCOMPARE(table->item(3, 1)->text(), QStringLiteral("Выкл"));
    QCOMPARE(child<QPushButton>(w.get(), "btn_run")->text(), QStringLiteral("Выполнить"));
    QCOMPARE(child<QGroupBox>(w.get(), "grpb_saftparam")->title(), QStringLiteral("Параметры обработки"));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
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

QTEST_MAIN(TestMapSettingsWindow)
#include "tst_mapsettingswin.moc"
