// The SAFT processing panel driven through its widgets: showing a record, the rules by which
// typed values are read back on Execute, the grid of the spin boxes, Reset and the SAFT check
// box. Its language hook is checked with the settings window.

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

// What the panel shows, as the user reads it: depth|velocity|frequency|bandwidth|TCG|filter.
QString shown(CWgtSAFTparam& p)
{
    return QStringList{child<QLineEdit>(&p, "edt_depth")->text(), child<QLineEdit>(&p, "edt_velocity")->text(),
                       child<QSpinBox>(&p, "spb_freq")->text(), child<QSpinBox>(&p, "spb_bandwidth")->text(),
                       child<QSpinBox>(&p, "spb_tcg")->text(),
                       child<QCheckBox>(&p, "chb_comp_sw")->isChecked() ? "on" : "off"}
        .join(QLatin1Char('|'));
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
    void showsRecordWithoutSignals();
    void depthReadBack_data();
    void depthReadBack();
    void velocityReadBack_data();
    void velocityReadBack();
    void executeReadsEveryField();
    void offGridEntryReturns_data();
    void offGridEntryReturns();
    void offGridRecordStillSteps();
    void resetShowsDefaults();
    void transmissionHidesSaftChoice();
    void rowsFitThePanel();
};



void TestSaftParam::showsRecordWithoutSignals()
{
    CWgtSAFTparam p;
    QSignalSpy run(&p, &CWgtSAFTparam::executeProcessing);
    QSignalSpy mode(&p, &CWgtSAFTparam::viewingModeChanged);
    // 2.6505 mm/µs is 2650.5 m/s: shown rounded half up.
    const SAFTsettings current = record(1200, 120, 75, 2.6505, 12, false);
    p.setParameters(SAFTsettings(), current, RawView, true);
    QCOMPARE(shown(p), QStringLiteral("1200|2651|120|75|12|off"));
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
    QCOMPARE(shown(p).section(QLatin1Char('|'), 0, 0), QString::number(depth));
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
    QCOMPARE(shown(p).section(QLatin1Char('|'), 1, 1), shownAfter);
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

void TestSaftParam::offGridEntryReturns_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("offGrid");
    QTest::addColumn<int>("onGrid");
    QTest::addColumn<int>("step");
    QTest::newRow("frequency") << "spb_freq" << 70 << "52" << 55 << 5;
    QTest::newRow("bandwidth") << "spb_bandwidth" << 75 << "60" << 25 << 25;
}

void TestSaftParam::offGridEntryReturns()
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
    clickButton(p, "btn_run");
    QCOMPARE(box == QLatin1String("spb_freq") ? p.parameters().frequency : p.parameters().bandwidth, stored + step);
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
    QCOMPARE(shown(p), QStringLiteral("800|3200|60|50|5|off"));
    QCOMPARE(run.count(), 0);
    QCOMPARE(mode.count(), 0);
    QCOMPARE(p.viewingMode(), RawView);
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

void TestSaftParam::rowsFitThePanel()
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

QTEST_MAIN(TestSaftParam)
#include "tst_saftparam.moc"
