// The map settings window driven through its widgets: set-up, the instrument settings table,
// the comments editor, Execute handing the panel's record on, reopening a hidden window,
// transmission maps and the language hook.

#include "map/mapconfig.h"
#include "mapview/cmapsettings.h"
#include "mapview/cwgtsaftparam.h"
#include "mapwintestutil.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
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
    void windowSetUp();
    void childGeometry_data();
    void childGeometry();
    void groupTitle();
    void tableRows();
    void tableIsReadOnly();
    void geometryFromConfig();
    void commentsShownWithoutChange();
    void typingEmitsEveryChange();
    void setCommentsIsSilent();
    void executeHandsOnRecord();
    void executeSameValuesIsNoChange();
    void viewingModeForwarded();
    void reopeningHiddenWindow();
    void transmissionHidesSaftChoice();
    void retranslateHook();
    void russianTexts();
    void screenshot();
};

void TestMapSettingsWindow::windowSetUp()
{
    auto w = makeWindow();
    QCOMPARE(w->objectName(), QStringLiteral("CMapSettings"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Map Viewing Settings"));
    QCOMPARE(w->size(), QSize(690, 570));
    QCOMPARE(w->maximumSize(), QSize(690, 570));
    QVERIFY(w->windowFlags().testFlag(Qt::Tool));
    QCOMPARE(child<QGroupBox>(w.get(), "grpb_table")->font().pointSize(), 14);
    QCOMPARE(child<QGroupBox>(w.get(), "grpb_table")->alignment(), Qt::AlignHCenter);
    QCOMPARE(child<QTableWidget>(w.get(), "tw_settings")->font().pointSize(), 10);
    QCOMPARE(child<QPlainTextEdit>(w.get(), "tedt_comments")->font().pointSize(), 12);
    QCOMPARE(child<QLabel>(w.get(), "lbl_comments")->text(), QStringLiteral("Comments"));
    QCOMPARE(child<QLabel>(w.get(), "lbl_comments")->alignment(), Qt::AlignCenter);
    QVERIFY(qobject_cast<CWgtSAFTparam*>(child<QWidget>(w.get(), "wgt_saft")));
    QVERIFY(w->saftPanel()->parameters() == saft(800, 2.65));
}

void TestMapSettingsWindow::childGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("table group") << "grpb_table" << QRect(0, 0, 350, 570);
    QTest::newRow("table") << "tw_settings" << QRect(10, 30, 330, 530);
    QTest::newRow("panel") << "wgt_saft" << QRect(360, 0, 330, 400);
    QTest::newRow("comments label") << "lbl_comments" << QRect(360, 410, 330, 30);
    QTest::newRow("comments") << "tedt_comments" << QRect(360, 440, 330, 130);
}

void TestMapSettingsWindow::childGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    auto w = makeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QWidget* c = w->findChild<QWidget*>(name);
    QVERIFY(c);
    QCOMPARE(c->geometry(), rect);
}

void TestMapSettingsWindow::groupTitle()
{
    QCOMPARE(child<QGroupBox>(makeWindow().get(), "grpb_table")->title(), QStringLiteral("Bridge pier 3"));
    auto untitled = makeWindow(mapSettings(), QString());
    QCOMPARE(child<QGroupBox>(untitled.get(), "grpb_table")->title(), QStringLiteral("Instrument Settings"));
}

void TestMapSettingsWindow::tableRows()
{
    auto w = makeWindow();
    auto* table = child<QTableWidget>(w.get(), "tw_settings");
    QCOMPARE(table->rowCount(), 21);
    QCOMPARE(table->columnCount(), 2);
    const QStringList labels = {
        "Horizontal step, mm", "Vertical step, mm", "Horizontal size (points)", "Vertical size (points)",
        "Probe type", "Operating frequency, KHz", "Delay, \u00b5s", "Gain, dB", "Pulse voltage, V",
        "Period number", "Pulse repetition rate, Hz", "Averaging, quantity", "Velocity, m/s", "Base, mm", "TGV",
        "Scale", "Readings discreteness", "Cursor", "Input signals filter", "Testing method",
        "Sampling rate, MHz"};
    const QStringList values = {"50",  "25",   "12",  "Off",    "single", "100", "12.5",
                                "36",  "200",  "1.5", "60",     "8",      "2650", "150.0",
                                "On",  "\u00b5s", "0.1", "Off", "Off",    "Reflection", "2.5"};
    QCOMPARE(column(table, 0), labels);
    QCOMPARE(column(table, 1), values);
    QCOMPARE(table->item(0, 0)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
    QCOMPARE(table->item(0, 1)->textAlignment(), int(Qt::AlignCenter));

    // Defaults: double probe, no averaging, no base, TVG off, transmission shown as such.
    ConfigSettings plain;
    plain.eTestingMethod = ConfigSettings::Transmission;
    auto p = makeWindow(plain);
    const QStringList plainValues = column(child<QTableWidget>(p.get(), "tw_settings"), 1);
    QCOMPARE(plainValues.at(4), QStringLiteral("double"));
    QCOMPARE(plainValues.at(11), QStringLiteral("Off"));
    QCOMPARE(plainValues.at(13), QStringLiteral("Off"));
    QCOMPARE(plainValues.at(14), QStringLiteral("Off"));
    QCOMPARE(plainValues.at(19), QStringLiteral("Transmission"));
    QCOMPARE(plainValues.at(20), QStringLiteral("10.0"));
}

void TestMapSettingsWindow::tableIsReadOnly()
{
    auto w = makeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* table = child<QTableWidget>(w.get(), "tw_settings");
    QCOMPARE(table->focusPolicy(), Qt::NoFocus);
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(table->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(table->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(table->verticalHeader()->sectionSize(0), 25);
    QCOMPARE(table->horizontalHeader()->defaultSectionSize(), 163);
    QCOMPARE(table->horizontalHeader()->minimumSectionSize(), 100);
    QVERIFY(table->horizontalHeader()->isSortIndicatorShown());
    QCOMPARE(table->columnWidth(1), 100);
    QCOMPARE(table->columnWidth(0) + table->columnWidth(1), table->viewport()->width());
    // All 21 rows fit: nothing to scroll.
    QVERIFY(!table->verticalScrollBar()->isVisible());
    QVERIFY(table->visualItemRect(table->item(20, 1)).bottom() < table->viewport()->height());

    // A double click on a value neither edits it nor selects anything.
    const QRect cell = table->visualItemRect(table->item(12, 1));
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QVERIFY(!table->isPersistentEditorOpen(table->item(12, 1)));
    QVERIFY(!table->findChild<QLineEdit*>());
    QCOMPARE(table->item(12, 1)->text(), QStringLiteral("2650"));
    QVERIFY(table->selectedItems().isEmpty());
}

void TestMapSettingsWindow::geometryFromConfig()
{
    MapConfig config;
    config.stepH = 20;
    config.stepV = 30;
    config.sizeH = 0;
    config.sizeV = 7;
    const CMapSettings::Geometry g = CMapSettings::Geometry::fromConfig(config);
    QCOMPARE(QList<int>({g.stepH, g.stepV, g.sizeH, g.sizeV}), QList<int>({20, 30, 0, 7}));
}

void TestMapSettingsWindow::commentsShownWithoutChange()
{
    const QString text = QStringLiteral("Crack at x = 0.4 m\nCheck again in spring");
    std::unique_ptr<CMapSettings> w;
    {
        // Nothing may be reported while the window is being made.
        w = makeWindow(mapSettings(), QString(), text);
    }
    QSignalSpy changed(w.get(), &CMapSettings::commentsChanged);
    QCOMPARE(child<QPlainTextEdit>(w.get(), "tedt_comments")->toPlainText(), text);
    QCOMPARE(w->comments(), text);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCoreApplication::processEvents();
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

void TestMapSettingsWindow::setCommentsIsSilent()
{
    auto w = makeWindow();
    QSignalSpy changed(w.get(), &CMapSettings::commentsChanged);
    w->setComments(QStringLiteral("from the file"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(w->comments(), QStringLiteral("from the file"));
    QCOMPARE(child<QPlainTextEdit>(w.get(), "tedt_comments")->toPlainText(), QStringLiteral("from the file"));
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
    clickCheckBox(box);
    QCOMPARE(mode.count(), 1);
    QCOMPARE(mode.at(0).at(0).value<EScanProcessing>(), RawView);
    QCOMPARE(w->viewingMode(), RawView);
    QCOMPARE(run.count(), 0);
    QVERIFY(!w->saftChanged());

    // The view may switch by itself (a failed reconstruction): shown, not echoed.
    w->setViewingMode(ProcessedView);
    QVERIFY(box->isChecked());
    QCOMPARE(mode.count(), 1);
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
}

void TestMapSettingsWindow::transmissionHidesSaftChoice()
{
    ConfigSettings s = mapSettings();
    s.eTestingMethod = ConfigSettings::Transmission;
    auto w = makeWindow(s);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QVERIFY(!w->processingAvailable());
    QVERIFY(!child<QCheckBox>(w.get(), "chb_viewSAFT")->isVisible());
    QVERIFY(!child<QLabel>(w.get(), "lbl_viewSAFT")->isVisible());
    QVERIFY(child<QCheckBox>(w.get(), "chb_comp_sw")->isVisible());
    // Still after closing and reopening.
    w->close();
    w->showAgain();
    QVERIFY(!child<QCheckBox>(w.get(), "chb_viewSAFT")->isVisible());
    QVERIFY(!child<QCheckBox>(w.get(), "chb_viewSAFT")->isEnabled());
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
    mapwintest::screenshot(w.get(), QStringLiteral("vantar_mapsettings_ru.png"));
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

void TestMapSettingsWindow::screenshot()
{
    ConfigSettings s = mapSettings();
    auto w = makeWindow(s, QStringLiteral("Bridge pier 3"),
                        QStringLiteral("Honeycombing near the lower edge.\nReflector at 0.35 m depth."));
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const QImage image = mapwintest::screenshot(w.get(), QStringLiteral("vantar_mapsettings.png"));
    QCOMPARE(image.size(), QSize(690, 570) * w->devicePixelRatio());

    s.eTestingMethod = ConfigSettings::Transmission;
    auto t = makeWindow(s, QString());
    t->show();
    QVERIFY(QTest::qWaitForWindowExposed(t.get()));
    mapwintest::screenshot(t.get(), QStringLiteral("vantar_mapsettings_transmission.png"));
}

QTEST_MAIN(TestMapSettingsWindow)
#include "tst_mapsettingswin.moc"
