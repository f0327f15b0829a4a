#include "common/widgetinput.h"
#include "widgets/controlmath.h"
#include "widgets/cscrollbar.h"
#include "widgets/cslidebar.h"
#include "widgets/cslidercontrol.h"
#include "widgets/cwgtscrollbars.h"
#include "widgets/cwgtslidercontrol.h"
#include "widgets/myslider.h"
#include "widgets/myspinbox.h"
#include "widgets/qvertcounter.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

using namespace WidgetInput;

namespace {

void selectAllAndType(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void counterText_data();
    void counterText();
    void counterButtonsAndLimits();
    void counterTypedKeys();
    void spinBoxButtonsAndKeys();
    void sliderDrag();
    void slidebarHoverCursorAndOtherButton();
    void slidebarRandomRequestsNeverCross();
    void slidebarFineRangeKeepsValueGap();
    void flatSlidebarIgnoresDrags();
    void groupsReset();
    void sliderControlSetters();
    void sliderControlCountersKeepGap();
    void sliderControlDragKeepsGap();
};

void TestControls::counterText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<bool>("precision");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.5, two decimals") << 25 << 0.5 << true << "12.50";
    QTest::newRow("0.5, 12.5 rounds up") << 25 << 0.5 << false << "13";
    QTest::newRow("-0.5, -12.5 rounds up") << 25 << -0.5 << false << "-12";
    QTest::newRow("-0.4 rounds to 0") << -4 << 0.1 << false << "0";
    QTest::newRow("beyond int") << 99999 << 1e6 << false << "99999000000";
}

void TestControls::counterText()
{
    QFETCH(int, value);
    QFETCH(double, multiplier);
    QFETCH(bool, precision);
    QFETCH(QString, text);
    QCOMPARE(ControlMath::counterText(value, multiplier, precision), text);
    QVertCounter counter;
    counter.setMinValue(-100);
    counter.setMultiplier(multiplier);
    counter.setPrecision(precision);
    counter.setCurrentValue(value);
    QCOMPARE(child<QLineEdit>(&counter, "m_edt_value")->text(), text);
}

void TestControls::counterButtonsAndLimits()
{
    QVertCounter counter;
    counter.setMaxValue(10);
    counter.setStepValue(3);
    QVERIFY(shown(counter));
    QSignalSpy spy(&counter, &QVertCounter::counterValueChanged);
    auto* up = child<QPushButton>(&counter, "m_btn_decrease");
    auto* down = child<QPushButton>(&counter, "m_btn_increase");
    QVERIFY(!up->isEnabled()); // at the minimum
    // The lower button (downward arrow) raises the value.
    for (int i = 0; i < 5; ++i)
        QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(intsOf(spy), (QList<int>{3, 6, 9, 10}));
    QVERIFY(!down->isEnabled());
    spy.clear();
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(intsOf(spy), QList<int>{7});
    QCOMPARE(child<QLineEdit>(&counter, "m_edt_value")->text(), QStringLiteral("7"));
    spy.clear();
    counter.setMaxValue(5); // below the value: pulls it down and says so
    counter.setMinValue(25); // above the maximum: ignored
    counter.setStepValue(6); // wider than the range: ignored
    QCOMPARE(intsOf(spy), QList<int>{5});
    QCOMPARE(counter.minValue(), 0);
    QCOMPARE(counter.stepValue(), 3);
    // A range wholly past the old one is taken in one step, either way.
    counter.setRange(30, 99);
    QCOMPARE(counter.currentValue(), 30);
    counter.setRange(-20, -10);
    QCOMPARE(counter.minValue(), -20);
    QCOMPARE(counter.currentValue(), -10);
}

void TestControls::counterTypedKeys()
{
    QVertCounter counter;
    counter.setMaxValue(500);
    QVERIFY(shown(counter));
    auto* edit = child<QLineEdit>(&counter, "m_edt_value");
    QSignalSpy spy(&counter, &QVertCounter::counterValueChanged);

    selectAllAndType(edit, QStringLiteral("42"));
    QCOMPARE(intsOf(spy), (QList<int>{4, 42}));
    spy.clear();
    QTest::keyClicks(edit, QStringLiteral("x")); // "42x" is no number
    QCOMPARE(edit->text(), QStringLiteral("42"));
    QTest::keyClicks(edit, QStringLiteral("7")); // 427 is within the range
    QTest::keyClicks(edit, QStringLiteral("1")); // 4271 is not
    QCOMPARE(edit->text(), QStringLiteral("427"));
    QCOMPARE(intsOf(spy), QList<int>{427});

    // Scaled: typed text is kept until editing ends; a half rounds up, then shows the value taken.
    counter.setMultiplier(0.5);
    counter.setPrecision(true);
    spy.clear();
    selectAllAndType(edit, QStringLiteral("12.75"));
    QCOMPARE(intsOf(spy), (QList<int>{2, 24, 25, 26})); // 12.7 / 0.5 = 25.4, 12.75 / 0.5 = 25.5
    QCOMPARE(edit->text(), QStringLiteral("12.75"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), QStringLiteral("13.00"));
}

void TestControls::spinBoxButtonsAndKeys()
{
    MySpinBox spin;
    spin.setRange(-3, 3);
    spin.setStep(2);
    QVERIFY(shown(spin));
    QSignalSpy spy(&spin, &MySpinBox::valueChanged);
    auto* minus = child<QPushButton>(&spin, "btn_decrease");
    auto* plus = child<QPushButton>(&spin, "btn_increase");
    auto* edit = child<QLineEdit>(&spin, "edt_value");
    QTest::mouseClick(plus, Qt::LeftButton);
    QTest::mouseClick(plus, Qt::LeftButton); // 4 is beyond: limited to 3
    QTest::mouseClick(plus, Qt::LeftButton); // disabled now
    QCOMPARE(intsOf(spy), (QList<int>{2, 3}));
    QVERIFY(!plus->isEnabled());
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(minus, Qt::LeftButton);
    QCOMPARE(intsOf(spy), (QList<int>{2, 3, 1, -1, -3}));
    QVERIFY(!minus->isEnabled());
    QCOMPARE(edit->text(), QStringLiteral("-3"));

    spin.setRange(-40, 40);
    spy.clear();
    selectAllAndType(edit, QStringLiteral("50")); // 50 is beyond 40
    QCOMPARE(edit->text(), QStringLiteral("5"));
    QCOMPARE(intsOf(spy), QList<int>{5});
}

void TestControls::sliderDrag()
{
    MySlider slider(nullptr, 0, 100);
    QVERIFY(shown(slider, {40, 200}));
    slider.setValue(50);
    // The handle (30 pixels, lines at both ends) is drawn where the value lies.
    const QImage image = slider.grab().toImage();
    const QColor background = slider.palette().color(QPalette::Active, QPalette::Light);
    QCOMPARE(QColor(image.pixel(0, 50)), QColor(Qt::black)); // border
    QCOMPARE(QColor(image.pixel(20, 85)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(20, 84)), background);
    QCOMPARE(QColor(image.pixel(20, 116)), background);
    QSignalSpy spy(&slider, &MySlider::valueChanged);
    drag(&slider, QPoint(20, 100), QPoint(20, 140), 40); // one pixel per move
    const QList<int> values = intsOf(spy);
    for (int i = 1; i < values.size(); ++i)
        QVERIFY(values[i] > values[i - 1]); // once per change
    QCOMPARE(slider.value(), 73); // 40 pixels down from 85: position 125
    QCOMPARE(slider.handlePosition(), 123); // drawn where the value lies: 1 + round(167 x 0.73)
    // Beyond the start the handle stops at the first position.
    drag(&slider, QPoint(20, 130), QPoint(20, -500));
    QCOMPARE(slider.handlePosition(), 1);
    QCOMPARE(slider.value(), 0);

    // Presses beside the handle or with another button, and an empty range, never move it.
    spy.clear();
    drag(&slider, QPoint(20, 120), QPoint(20, 180)); // the handle is at 1..31
    mouse(&slider, QEvent::MouseButtonPress, QPoint(20, 10), Qt::RightButton);
    mouse(&slider, QEvent::MouseMove, QPoint(20, 100), Qt::RightButton);
    mouse(&slider, QEvent::MouseButtonRelease, QPoint(20, 100), Qt::RightButton);
    slider.setRange(0, 0);
    drag(&slider, QPoint(20, 10), QPoint(20, 190));
    QCOMPARE(slider.handlePosition(), 1);
    QCOMPARE(spy.count(), 0);
}

void TestControls::slidebarHoverCursorAndOtherButton()
{
    CSlidebar bar(nullptr, 0, 100, 5);
    QVERIFY(shown(bar, {20, 201}));
    hover(&bar, QPoint(10, 198));
    QCOMPARE(bar.grabbedHandle(), 2);
    QCOMPARE(bar.cursor().shape(), Qt::SplitVCursor);
    hover(&bar, QPoint(10, 196)); // 4 pixels off the upper line: no longer grabbed
    QCOMPARE(bar.grabbedHandle(), 0);
    QCOMPARE(bar.cursor().shape(), Qt::ArrowCursor);
    hover(&bar, QPoint(10, 3));
    QCOMPARE(bar.grabbedHandle(), 1);
    mouse(&bar, QEvent::MouseButtonPress, QPoint(10, 2), Qt::RightButton); // no grab by other buttons
    QCOMPARE(bar.grabbedHandle(), 0);
    mouse(&bar, QEvent::MouseButtonRelease, QPoint(10, 2), Qt::RightButton);
}

void TestControls::slidebarRandomRequestsNeverCross()
{
    CSlidebar bar(nullptr, 0, 60, 4);
    QVERIFY(shown(bar, {40, 301}));
    QRandomGenerator random(20240607);
    for (int i = 0; i < 400; ++i) {
        const int kind = random.bounded(4);
        if (kind == 0)
            bar.setBottomLimit(random.bounded(-5, 66));
        else if (kind == 1)
            bar.setTopLimit(random.bounded(-5, 66));
        else
            drag(&bar, QPoint(20, kind == 2 ? bar.bottomLimitPosition() : bar.topLimitPosition()),
                 QPoint(20, random.bounded(-20, 320)), 3);
        QVERIFY(bar.bottomLimit() >= 0);
        QVERIFY(bar.topLimit() <= 60);
        QVERIFY2(bar.bottomLimit() <= bar.topLimit() - 4, qPrintable(QString::number(i)));
        QVERIFY(bar.bottomLimitPosition() <= bar.topLimitPosition() - bar.gapPixels());
    }
}

void TestControls::slidebarFineRangeKeepsValueGap()
{
    // 1000 values on 379 pixels: the gap of 1 value is less than a pixel.
    CSlidebar bar(nullptr, 0, 1000, 1);
    QVERIFY(shown(bar, {40, 380}));
    QCOMPARE(bar.gapPixels(), 0);
    bar.setTopLimit(500);
    drag(&bar, QPoint(20, 0), QPoint(20, 379));
    QCOMPARE(bar.bottomLimitPosition(), bar.topLimitPosition());
    QCOMPARE(bar.bottomLimit(), 499);
    // The upper limit dragged down onto the lower one's pixel stays a value above it.
    bar.setLimits(0, 900);
    drag(&bar, QPoint(20, 0), QPoint(20, 100));
    drag(&bar, QPoint(20, bar.topLimitPosition()), QPoint(20, 0));
    QCOMPARE(bar.topLimitPosition(), 100);
    QCOMPARE(bar.topLimit(), bar.bottomLimit() + 1);
}

void TestControls::flatSlidebarIgnoresDrags()
{
    // A bar squeezed to one pixel has no length to map values onto: dragging changes nothing.
    CSlidebar flat(nullptr, 1, 50, 2);
    QVERIFY(shown(flat, {1, 20}));
    drag(&flat, QPoint(0, 10), QPoint(30, 10));
    QCOMPARE(flat.bottomLimit(), 0);
    QCOMPARE(flat.topLimit(), 50);
}

void TestControls::groupsReset()
{
    CWgtScrollBars bars;
    CWgtSliderControl controls;
    for (int scan = 1; scan <= 3; ++scan) {
        bars.setRange(scan, 0, 80);
        bars.setStep(scan, 5);
        bars.setValue(scan, 40);
        bars.scrollBar(scan)->setPrecision(true);
        controls.setRange(scan, 0, 40, 2);
        controls.setValues(scan, 5, 30);
    }
    QSignalSpy c(&bars, &CWgtScrollBars::cscanValueChanged);
    bars.reset();
    controls.reset();
    QCOMPARE(intsOf(c), QList<int>{0});
    for (int scan = 1; scan <= 3; ++scan) {
        CScrollBar* sb = bars.scrollBar(scan);
        QCOMPARE(sb->maximum(), 0);
        QCOMPARE(sb->step(), 1); // although the range 0..0 came first
        QCOMPARE(child<QLineEdit>(sb, "m_edt_value")->text(), QStringLiteral("0"));
        QCOMPARE(controls.sliderControl(scan)->rangeMaximum(), 0);
        QCOMPARE(controls.sliderControl(scan)->upperValue(), 0);
    }
}

void TestControls::sliderControlSetters()
{
    CSliderControl control;
    control.setRange(0, 10, 12); // a gap wider than the range shrinks to it
    QCOMPARE(control.gap(), 10);
    control.setRange(20, 10, 2); // a minimum above the maximum collapses onto it
    QCOMPARE(control.rangeMinimum(), 10);
    QCOMPARE(control.gap(), 0);
    control.setRange(0, 99, 2);
    QSignalSpy pairs(&control, &CSliderControl::valuesChanged);
    QSignalSpy lows(&control, &CSliderControl::minValueChanged);
    QSignalSpy highs(&control, &CSliderControl::maxValueChanged);
    control.setValues(8, 44);
    control.setValues(8, 44);
    control.setValues(50, 60); // both past the old upper limit
    control.setValues(55, 53); // crossed, below and beyond the range: refused
    control.setValues(-1, 3);
    control.setValues(3, 100);
    QCOMPARE(pairs.count(), 2);
    QCOMPARE(pairs.at(1), (QList<QVariant>{50, 60}));
    QCOMPARE(child<QLineEdit>(child(&control, "vc_topCounter"), "m_edt_value")->text(), QString("300"));
    // A narrower range pulls the values in without a word: the owner set it.
    control.setRange(0, 56, 2);
    QCOMPARE(control.upperValue(), 56);
    control.setRange(60, 70, 4);
    QCOMPARE(control.lowerValue(), 60);
    QCOMPARE(control.upperValue(), 64);
    QCOMPARE(pairs.count() + lows.count() + highs.count(), 2);
    QCOMPARE(child<QVertCounter>(&control, "vc_topCounter")->currentValue(), 64);
}

void TestControls::sliderControlCountersKeepGap()
{
    CSliderControl control;
    control.setRange(0, 20, 2);
    control.setValues(0, 5);
    QVERIFY(shown(control));
    QSignalSpy lows(&control, &CSliderControl::minValueChanged);
    auto* bottom = child<QVertCounter>(&control, "vc_bottomCounter");
    auto* raise = child<QPushButton>(bottom, "m_btn_increase");
    for (int i = 0; i < 5; ++i)
        QTest::mouseClick(raise, Qt::LeftButton);
    QCOMPARE(intsOf(lows), (QList<int>{1, 2, 3}));
    QVERIFY(!raise->isEnabled());
    QCOMPARE(child<CSlidebar>(&control, "frm_slidebar")->bottomLimit(), 3);

    QSignalSpy highs(&control, &CSliderControl::maxValueChanged);
    auto* top = child<QVertCounter>(&control, "vc_topCounter");
    QTest::mouseClick(child<QPushButton>(top, "m_btn_decrease"), Qt::LeftButton);
    QCOMPARE(highs.count(), 0); // 4 would break the gap: the button is off
    QTest::mouseClick(child<QPushButton>(top, "m_btn_increase"), Qt::LeftButton);
    QCOMPARE(intsOf(highs), QList<int>{6});
    QCOMPARE(bottom->maxValue(), 4);
}

void TestControls::sliderControlDragKeepsGap()
{
    CSliderControl control;
    control.setRange(0, 76, 2);
    control.setValues(0, 40);
    QVERIFY(shown(control));
    // 76 values on 379 pixels, a gap of 2 values is 10 pixels: the lower limit dragged onto
    // the upper one (40, at pixel 199) stops 10 pixels short.
    auto* bar = child<CSlidebar>(&control, "frm_slidebar");
    QSignalSpy lows(&control, &CSliderControl::minValueChanged);
    QSignalSpy highs(&control, &CSliderControl::maxValueChanged);
    drag(bar, QPoint(20, 0), QPoint(20, 379), 30);
    QCOMPARE(bar->bottomLimitPosition(), 189);
    QCOMPARE(control.lowerValue(), 38);
    const QList<int> values = intsOf(lows);
    QCOMPARE(values.last(), 38);
    QCOMPARE(QSet<int>(values.begin(), values.end()).size(), values.size()); // once per change
    QCOMPARE(highs.count(), 0);
    QCOMPARE(child<QVertCounter>(&control, "vc_bottomCounter")->currentValue(), 38);
    QCOMPARE(child<QVertCounter>(&control, "vc_topCounter")->minValue(), 40);

    // An offset range: the bar counts from 0, the control from its minimum.
    control.setRange(10, 50, 2);
    control.setValues(20, 30);
    QCOMPARE(bar->range(), 40);
    QCOMPARE(bar->topLimit(), 20);
    drag(bar, QPoint(20, bar->topLimitPosition()), QPoint(20, 379), 10);
    QCOMPARE(control.upperValue(), 50);
    QCOMPARE(intsOf(highs).last(), 50);
    QCOMPARE(child<QVertCounter>(&control, "vc_topCounter")->currentValue(), 50);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
