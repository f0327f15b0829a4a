// The SAFT processing panel driven through its widgets: texts, showing a record, the rules
// by which typed values are read back on Execute, the grid of the spin boxes, Reset, the
// SAFT check box and the language hook.

#include "mapview/cwgtsaftparam.h"
#include "mapwintestutil.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

using namespace mapwintest;

namespace {

SAFTsettings record(int depth, int frequency, int bandwidth, double velocity, int tcg, bool filterSW)
{
    SAFTsettings s;
    s.depth = depth;
    s.frequency = frequency;
    s.bandwidth = bandwidth;
    s.velocity = velocity;
    s.tcg = tcg;
    s.filterSW = filterSW;
    return s;
}

// What the panel shows, as the user reads it.
struct Shown
{
    QString depth;
    QString velocity;
    int frequency;
    int bandwidth;
    int tcg;
    bool filterSW;
};

Shown shown(CWgtSAFTparam& p)
{
    return {child<QLineEdit>(&p, "edt_depth")->text(),      child<QLineEdit>(&p, "edt_velocity")->text(),
            child<QSpinBox>(&p, "spb_freq")->value(),       child<QSpinBox>(&p, "spb_bandwidth")->value(),
            child<QSpinBox>(&p, "spb_tcg")->value(),        child<QCheckBox>(&p, "chb_comp_sw")->isChecked()};
}

void clickButton(CWgtSAFTparam& p, const char* name)
{
    QTest::mouseClick(child<QPushButton>(&p, name), Qt::LeftButton);
}

} // namespace

class TestSaftParam : public QObject
{
    Q_OBJECT

private slots:
    void objectsAndTexts_data();
    void objectsAndTexts();
    void spinBoxRanges();
    void showsRecordWithoutSignals();
    void depthReadBack_data();
    void depthReadBack();
    void velocityReadBack_data();
    void velocityReadBack();
    void executeReadsEveryField();
    void frequencyOffGridReturns();
    void bandwidthOffGridReturns();
    void offGridRecordStillSteps();
    void resetShowsDefaults();
    void saftCheckBoxSwitchesView();
    void transmissionHidesSaftChoice();
    void retranslateHook();
    void screenshot();
};

void TestSaftParam::objectsAndTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("group") << "grpb_saftparam" << "Processing Settings";
    QTest::newRow("depth") << "lbl_depth" << "Depth, mm";
    QTest::newRow("velocity") << "lbl_velocity" << "Velocity, m/s";
    QTest::newRow("frequency") << "lbl_freq" << "Frequency, KHz";
    QTest::newRow("bandwidth") << "lbl_bandwidth" << "Bandwidth, %";
    QTest::newRow("tcg") << "lbl_tcg" << "TCG, dB/m";
    QTest::newRow("filter") << "lbl_comp_sw" << "Filter SW";
    QTest::newRow("filter box") << "chb_comp_sw" << "";
    QTest::newRow("saft") << "lbl_viewSAFT" << "SAFT";
    QTest::newRow("run") << "btn_run" << "Execute";
    QTest::newRow("reset") << "btn_reset" << "Reset";
}

void TestSaftParam::objectsAndTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    CWgtSAFTparam p;
    QWidget* w = p.findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    QString actual;
    if (auto* g = qobject_cast<QGroupBox*>(w))
        actual = g->title();
    else if (auto* l = qobject_cast<QLabel*>(w))
        actual = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        actual = b->text();
    QCOMPARE(actual, text);
}

void TestSaftParam::spinBoxRanges()
{
    CWgtSAFTparam p;
    auto* freq = child<QSpinBox>(&p, "spb_freq");
    auto* band = child<QSpinBox>(&p, "spb_bandwidth");
    auto* tcg = child<QSpinBox>(&p, "spb_tcg");
    QCOMPARE(QList<int>({freq->minimum(), freq->maximum(), freq->singleStep(), freq->value()}),
             QList<int>({25, 250, 5, 50}));
    QCOMPARE(QList<int>({band->minimum(), band->maximum(), band->singleStep(), band->value()}),
             QList<int>({25, 100, 25, 100}));
    QCOMPARE(QList<int>({tcg->minimum(), tcg->maximum(), tcg->value()}), QList<int>({0, 30, 0}));
    QVERIFY(child<QCheckBox>(&p, "chb_viewSAFT")->isChecked());
    QCOMPARE(shown(p).depth, QStringLiteral("500"));
    QCOMPARE(shown(p).velocity, QStringLiteral("2600"));
}

void TestSaftParam::showsRecordWithoutSignals()
{
    CWgtSAFTparam p;
    QSignalSpy run(&p, &CWgtSAFTparam::executeProcessing);
    QSignalSpy mode(&p, &CWgtSAFTparam::viewingModeChanged);
    // 2.6505 mm/µs is 2650.5 m/s: shown rounded half up.
    const SAFTsettings current = record(1200, 120, 75, 2.6505, 12, false);
    p.setParameters(SAFTsettings(), current, RawView, true);
    const Shown s = shown(p);
    QCOMPARE(s.depth, QStringLiteral("1200"));
    QCOMPARE(s.velocity, QStringLiteral("2651"));
    QCOMPARE(s.frequency, 120);
    QCOMPARE(s.bandwidth, 75);
    QCOMPARE(s.tcg, 12);
    QCOMPARE(s.filterSW, false);
    QVERIFY(!child<QCheckBox>(&p, "chb_viewSAFT")->isChecked());
    QCOMPARE(p.viewingMode(), RawView);
    QVERIFY(p.parameters() == current);
    QCOMPARE(p.parameters().velocity, 2.6505);
    QCOMPARE(run.count(), 0);
    QCOMPARE(mode.count(), 0);

    p.setViewingMode(ProcessedView);
    QVERIFY(child<QCheckBox>(&p, "chb_viewSAFT")->isChecked());
    QCOMPARE(mode.count(), 0);
}

void TestSaftParam::depthReadBack_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("depth");
    QTest::newRow("plain") << "750" << 750;
    QTest::newRow("blanks around") << " 1000 " << 1000;
    QTest::newRow("upper limit") << "35000" << 35000;
    // Out of range becomes 0, which leaves no layers: the previous depth stays.
    QTest::newRow("above range") << "35001" << 1200;
    QTest::newRow("negative") << "-10" << 1200;
    QTest::newRow("zero") << "0" << 1200;
    // 7 mm is one layer (1.4 rounded), 8 mm two (1.6 rounded).
    QTest::newRow("one layer") << "7" << 1200;
    QTest::newRow("two layers") << "8" << 8;
    QTest::newRow("not a number") << "12a" << 1200;
    QTest::newRow("fraction") << "750.5" << 1200;
    QTest::newRow("empty") << "" << 1200;
    QTest::newRow("overflow") << "99999999999" << 1200;
}

void TestSaftParam::depthReadBack()
{
    QFETCH(QString, typed);
    QFETCH(int, depth);
    CWgtSAFTparam p;
    p.setParameters(SAFTsettings(), record(1200, 50, 100, 2.6, 0, true), ProcessedView, true);
    p.show();
    QSignalSpy run(&p, &CWgtSAFTparam::executeProcessing);
    retype(child<QLineEdit>(&p, "edt_depth"), typed);
    clickButton(p, "btn_run");
    QCOMPARE(run.count(), 1);
    QCOMPARE(p.parameters().depth, depth);
    // The edit shows the record after reading it back.
    QCOMPARE(shown(p).depth, QString::number(depth));
}

void TestSaftParam::velocityReadBack_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("velocity");
    QTest::addColumn<QString>("shownAfter");
    // m/s to mm/µs is a real division: 2650 is 2.65, not 2.
    QTest::newRow("fractional") << "2650" << 2.65 << "2650";
    QTest::newRow("lowest") << "500" << 0.5 << "500";
    QTest::newRow("highest") << "15000" << 15.0 << "15000";
    QTest::newRow("too slow") << "300" << 2.6 << "2600";
    QTest::newRow("just too slow") << "499" << 2.6 << "2600";
    QTest::newRow("too fast") << "15001" << 2.6 << "2600";
    QTest::newRow("negative") << "-3000" << 2.6 << "2600";
    QTest::newRow("not a number") << "fast" << 3.1 << "3100";
    QTest::newRow("fraction") << "3240.5" << 3.1 << "3100";
}

void TestSaftParam::velocityReadBack()
{
    QFETCH(QString, typed);
    QFETCH(double, velocity);
    QFETCH(QString, shownAfter);
    CWgtSAFTparam p;
    p.setParameters(SAFTsettings(), record(500, 50, 100, 3.1, 0, true), ProcessedView, true);
    p.show();
    retype(child<QLineEdit>(&p, "edt_velocity"), typed);
    clickButton(p, "btn_run");
    QCOMPARE(p.parameters().velocity, velocity);
    QCOMPARE(shown(p).velocity, shownAfter);
}

void TestSaftParam::executeReadsEveryField()
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

    clickButton(p, "btn_run");
    QCOMPARE(run.count(), 1);
    const SAFTsettings expected = record(900, 100, 50, 5.9, 17, false);
    QVERIFY(p.parameters() == expected);
    QCOMPARE(p.parameters().velocity, 5.9);
    QVERIFY(p.defaults() == defaults);

    // A second Execute with nothing changed sends the same record again.
    clickButton(p, "btn_run");
    QCOMPARE(run.count(), 2);
    QVERIFY(p.parameters() == expected);
}

void TestSaftParam::frequencyOffGridReturns()
{
    CWgtSAFTparam p;
    p.setParameters(SAFTsettings(), record(500, 70, 100, 2.6, 0, true), ProcessedView, true);
    p.show();
    auto* freq = child<QSpinBox>(&p, "spb_freq");
    typeIntoSpinBox(freq, QStringLiteral("52"));
    QCOMPARE(freq->value(), 70);
    typeIntoSpinBox(freq, QStringLiteral("55"));
    QCOMPARE(freq->value(), 55);
    // Set back to the record's frequency, not to the last value shown.
    typeIntoSpinBox(freq, QStringLiteral("133"));
    QCOMPARE(freq->value(), 70);
    freq->setFocus();
    QTest::keyClick(freq, Qt::Key_Up);
    QCOMPARE(freq->value(), 75);
    clickButton(p, "btn_run");
    QCOMPARE(p.parameters().frequency, 75);
}

void TestSaftParam::bandwidthOffGridReturns()
{
    CWgtSAFTparam p;
    p.setParameters(SAFTsettings(), record(500, 50, 75, 2.6, 0, true), ProcessedView, true);
    p.show();
    auto* band = child<QSpinBox>(&p, "spb_bandwidth");
    typeIntoSpinBox(band, QStringLiteral("60"));
    QCOMPARE(band->value(), 75);
    typeIntoSpinBox(band, QStringLiteral("25"));
    QCOMPARE(band->value(), 25);
    clickButton(p, "btn_run");
    QCOMPARE(p.parameters().bandwidth, 25);
}

void TestSaftParam::offGridRecordStillSteps()
{
    // A frequency of 52 kHz can come from an edited viewing-settings file. Stepping must not
    // be caught by the set-back: the arrows move to the grid.
    CWgtSAFTparam p;
    p.setParameters(SAFTsettings(), record(500, 52, 100, 2.6, 0, true), ProcessedView, true);
    p.show();
    auto* freq = child<QSpinBox>(&p, "spb_freq");
    QCOMPARE(freq->value(), 52);
    freq->setFocus();
    QTest::keyClick(freq, Qt::Key_Up);
    QCOMPARE(freq->value(), 55);
    QTest::keyClick(freq, Qt::Key_Down);
    QCOMPARE(freq->value(), 50);
    // Execute without touching it keeps the record's value.
    CWgtSAFTparam q;
    q.setParameters(SAFTsettings(), record(500, 52, 100, 2.6, 0, true), ProcessedView, true);
    QTest::mouseClick(child<QPushButton>(&q, "btn_run"), Qt::LeftButton);
    QCOMPARE(q.parameters().frequency, 52);
}

void TestSaftParam::resetShowsDefaults()
{
    CWgtSAFTparam p;
    const SAFTsettings defaults = record(800, 60, 50, 3.2, 5, false);
    p.setParameters(defaults, record(1500, 100, 100, 5.9, 20, true), RawView, true);
    p.show();
    QSignalSpy run(&p, &CWgtSAFTparam::executeProcessing);
    QSignalSpy mode(&p, &CWgtSAFTparam::viewingModeChanged);
    retype(child<QLineEdit>(&p, "edt_depth"), QStringLiteral("2222"));
    clickButton(p, "btn_reset");
    QVERIFY(p.parameters() == defaults);
    const Shown s = shown(p);
    QCOMPARE(s.depth, QStringLiteral("800"));
    QCOMPARE(s.velocity, QStringLiteral("3200"));
    QCOMPARE(s.frequency, 60);
    QCOMPARE(s.bandwidth, 50);
    QCOMPARE(s.tcg, 5);
    QCOMPARE(s.filterSW, false);
    QCOMPARE(run.count(), 0);
    QCOMPARE(mode.count(), 0);
    QCOMPARE(p.viewingMode(), RawView);
}

void TestSaftParam::saftCheckBoxSwitchesView()
{
    CWgtSAFTparam p;
    const SAFTsettings current = record(700, 50, 100, 2.6, 0, true);
    p.setParameters(SAFTsettings(), current, ProcessedView, true);
    p.show();
    QSignalSpy mode(&p, &CWgtSAFTparam::viewingModeChanged);
    QSignalSpy run(&p, &CWgtSAFTparam::executeProcessing);
    auto* box = child<QCheckBox>(&p, "chb_viewSAFT");
    retype(child<QLineEdit>(&p, "edt_depth"), QStringLiteral("900"));
    clickCheckBox(box);
    QCOMPARE(mode.count(), 1);
    QCOMPARE(mode.at(0).at(0).value<EScanProcessing>(), RawView);
    QCOMPARE(p.viewingMode(), RawView);
    // The record and the typed text are left alone.
    QVERIFY(p.parameters() == current);
    QCOMPARE(shown(p).depth, QStringLiteral("900"));
    clickCheckBox(box);
    QCOMPARE(mode.count(), 2);
    QCOMPARE(mode.at(1).at(0).value<EScanProcessing>(), ProcessedView);
    QCOMPARE(run.count(), 0);
}

void TestSaftParam::transmissionHidesSaftChoice()
{
    CWgtSAFTparam p;
    p.setParameters(SAFTsettings(), SAFTsettings(), RawView, false);
    p.show();
    auto* box = child<QCheckBox>(&p, "chb_viewSAFT");
    auto* label = child<QLabel>(&p, "lbl_viewSAFT");
    QVERIFY(!box->isVisible() && !box->isEnabled());
    QVERIFY(!label->isVisible() && !label->isEnabled());
    QVERIFY(!p.processingAvailable());
    // Execute still rebuilds the unprocessed volume with the new depth.
    QSignalSpy run(&p, &CWgtSAFTparam::executeProcessing);
    retype(child<QLineEdit>(&p, "edt_depth"), QStringLiteral("1500"));
    clickButton(p, "btn_run");
    QCOMPARE(run.count(), 1);
    QCOMPARE(p.parameters().depth, 1500);

    // Another map, tested by reflection, shows the choice again.
    p.setParameters(SAFTsettings(), SAFTsettings(), ProcessedView, true);
    QVERIFY(box->isVisible() && box->isEnabled() && box->isChecked());
    QVERIFY(label->isVisible() && label->isEnabled());
}

void TestSaftParam::retranslateHook()
{
    CWgtSAFTparam p;
    auto* run = child<QPushButton>(&p, "btn_run");
    auto* group = child<QGroupBox>(&p, "grpb_saftparam");
    auto* depth = child<QLabel>(&p, "lbl_depth");
    MarkingTranslator translator({QByteArrayLiteral("CWgtSAFTparam")});
    QVERIFY(QCoreApplication::installTranslator(&translator));
    QCoreApplication::processEvents();
    QCOMPARE(run->text(), MarkingTranslator::marked(QStringLiteral("Execute")));
    QCOMPARE(group->title(), MarkingTranslator::marked(QStringLiteral("Processing Settings")));
    QCOMPARE(depth->text(), MarkingTranslator::marked(QStringLiteral("Depth, mm")));
    QCoreApplication::removeTranslator(&translator);
    QCoreApplication::processEvents();
    QCOMPARE(run->text(), QStringLiteral("Execute"));
    QCOMPARE(depth->text(), QStringLiteral("Depth, mm"));
}

void TestSaftParam::screenshot()
{
    CWgtSAFTparam p;
    p.setParameters(SAFTsettings(), record(1200, 100, 75, 2.65, 10, true), ProcessedView, true);
    p.resize(330, 400);
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    const QImage image = mapwintest::screenshot(&p, QStringLiteral("vantar_saftparam.png"));
    QCOMPARE(image.size(), QSize(330, 400) * p.devicePixelRatio());
    // Every row fits: the buttons lie inside the panel, below the last field.
    auto* run = child<QPushButton>(&p, "btn_run");
    auto* saft = child<QCheckBox>(&p, "chb_viewSAFT");
    QVERIFY(p.rect().contains(run->mapTo(&p, run->rect().bottomRight())));
    QVERIFY(run->mapTo(&p, QPoint(0, 0)).y() > saft->mapTo(&p, saft->rect().bottomLeft()).y());
}

QTEST_MAIN(TestSaftParam)
#include "tst_saftparam.moc"
