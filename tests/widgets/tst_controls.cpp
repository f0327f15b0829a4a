#include "widgets/controlmath.h"
#include "widgets/cscrollbar.h"
#include "widgets/cslidebar.h"
#include "widgets/cslidercontrol.h"
#include "widgets/cwgtscrollbars.h"
#include "widgets/cwgtslidercontrol.h"
#include "widgets/myslider.h"
#include "widgets/myspinbox.h"
#include "widgets/qvertcounter.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Mouse events sent straight to a widget, with the button state a real drag has.
void mouse(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButton button = Qt::LeftButton)
{
    Qt::MouseButtons buttons = Qt::NoButton;
    if (type == QEvent::MouseButtonPress || (type == QEvent::MouseMove && button != Qt::NoButton))
        buttons = button;
    QMouseEvent event(type, QPointF(pos), w->mapToGlobal(QPointF(pos)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void hover(QWidget* w, const QPoint& pos)
{
    mouse(w, QEvent::MouseMove, pos, Qt::NoButton);
}

// Press at one point, move through the points between in steps, release at the last.
void drag(QWidget* w, const QPoint& from, const QPoint& to, int steps = 8)
{
    hover(w, from);
    mouse(w, QEvent::MouseButtonPress, from);
    for (int i = 1; i <= steps; ++i)
        mouse(w, QEvent::MouseMove, from + (to - from) * i / steps);
    mouse(w, QEvent::MouseButtonRelease, to);
}

QList<int> intsOf(const QSignalSpy& spy, int argument = 0)
{
    QList<int> values;
    for (const QList<QVariant>& call : spy)
        values.append(call.at(argument).toInt());
    return values;
}

template <typename T>
T* child(QWidget* parent, const char* name)
{
    T* w = parent->findChild<T*>(QLatin1String(name));
    if (!w)
        qFatal("no child %s", name);
    return w;
}

void selectAllAndType(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}


// Shows a widget (at a size, when given) and waits until it can take input and be grabbed.
bool shown(QWidget& w, QSize size = QSize())
{
    if (size.isValid())
        w.resize(size);
    w.show();
    return QTest::qWaitForWindowExposed(&w);
}

} // namespace

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    // QVertCounter
    void counterText_data();
    void counterText();
    void counterTypedValue_data();
    void counterTypedValue();
    void counterButtonsStepWithinRange();
    void counterLimitsAndSteps();
    void counterTypedKeys();

    // MySpinBox
    void spinBoxButtonsAndKeys();
    void spinBoxSetterClamps();

    // MySlider
    void sliderValueAt_data();
    void sliderValueAt();
    void sliderHandleDrawnAtValue();
    void sliderDrag();
    void sliderIgnoredPresses();

    // CSlidebar
    void slidebarHandleAt_data();
    void slidebarHandleAt();
    void slidebarHoverCursorAndOtherButton();
    void slidebarSettersNeverCross();
    void slidebarRandomRequestsNeverCross();
    void slidebarFineRangeKeepsValueGap();
    void slidebarRange();

    // CScrollBar and CWgtScrollBars
    void scrollBarCounterMovesSlider();
    void scrollBarSliderMovesCounter();
    void scrollBarClampsAndSteps();
    void scrollBarsScanIndex_data();
    void scrollBarsScanIndex();
    void scrollBarsReset();
    void barsStretchWithHeight();

    // CSliderControl and CWgtSliderControl
    void limitRange_data();
    void limitRange();
    void sliderControlRejectsCrossedValues();
    void sliderControlValuesEmitOnce();
    void sliderControlCountersKeepGap();
    void sliderControlDragKeepsGap();
    void sliderControlRangeWithOffset();
    void sliderControlRangeClampsSilently();
    void sliderControlsScanIndex_data();
    void sliderControlsScanIndex();
};

// ---------------------------------------------------------------- QVertCounter

void TestControls::counterText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<bool>("precision");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.5, two decimals") << 25 << 0.5 << true << "12.50";
    QTest::newRow("0.5, 12.5 rounds up") << 25 << 0.5 << false << "13";
    QTest::newRow("-0.5, -12.5 rounds up") << 25 << -0.5 << false << "-12";
    QTest::newRow("cells of 5 mm") << 24 << 5.0 << false << "120";
    QTest::newRow("zero, two decimals") << 0 << 1.0 << true << "0.00";
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

void TestControls::counterTypedValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("ok");
    QTest::newRow("12.6 / 0.5") << "12.6" << 0.5 << 25 << true;
    QTest::newRow("2.5 rounds up") << "2.5" << 1.0 << 3 << true;
    QTest::newRow("-2.5 rounds up") << "-2.5" << 1.0 << -2 << true;
    QTest::newRow("mm to cells") << "120" << 5.0 << 24 << true;
    QTest::newRow("not a number") << "abc" << 1.0 << 0 << false;
    QTest::newRow("empty") << "" << 1.0 << 0 << false;
    QTest::newRow("beyond int") << "1e12" << 1.0 << 0 << false;
    QTest::newRow("infinite") << "1e400" << 1.0 << 0 << false;
}

void TestControls::counterTypedValue()
{
    QFETCH(QString, text);
    QFETCH(double, multiplier);
    QFETCH(int, value);
    QFETCH(bool, ok);
    const std::optional<int> typed = ControlMath::counterValueFromText(text, multiplier);
    QCOMPARE(typed.has_value(), ok);
    if (ok)
        QCOMPARE(*typed, value);
}

void TestControls::counterButtonsStepWithinRange()
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
    QVERIFY(up->isEnabled());

    spy.clear();
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(intsOf(spy), QList<int>{7});
    QCOMPARE(child<QLineEdit>(&counter, "m_edt_value")->text(), QStringLiteral("7"));
}

void TestControls::counterLimitsAndSteps()
{
    QVertCounter counter;
    counter.setCurrentValue(50);
    QSignalSpy spy(&counter, &QVertCounter::counterValueChanged);
    counter.setMaxValue(20); // below the value: pulls it down
    QCOMPARE(intsOf(spy), QList<int>{20});
    QVERIFY(!child<QPushButton>(&counter, "m_btn_increase")->isEnabled());
    counter.setMinValue(25); // above the maximum: ignored
    counter.setMaxValue(-1); // below the minimum: ignored
    QCOMPARE(counter.minValue(), 0);
    QCOMPARE(counter.maxValue(), 20);
    counter.setMinValue(15); // below the value: the value stays
    QCOMPARE(counter.currentValue(), 20);
    QCOMPARE(spy.count(), 1);

    counter.setStepValue(4);
    counter.setStepValue(21); // wider than the range
    counter.setStepValue(0);
    counter.setStepValue(-3);
    QCOMPARE(counter.stepValue(), 4);
    counter.setMultiplier(0.00005); // too small to show a value: refused
    QCOMPARE(counter.multiplier(), 1.0);

    // A range wholly past the old one is taken in one step.
    counter.setMaxValue(15);
    counter.setRange(20, 99);
    QCOMPARE(counter.minValue(), 20);
    QCOMPARE(counter.maxValue(), 99);
    QCOMPARE(counter.currentValue(), 20);
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

    // Scaled: the typed text stays as typed until editing ends, then shows the value taken.
    counter.setMultiplier(0.5);
    counter.setPrecision(true);
    spy.clear();
    selectAllAndType(edit, QStringLiteral("12.6"));
    QCOMPARE(intsOf(spy), (QList<int>{2, 24, 25})); // 12.6 / 0.5 = 25.2
    QCOMPARE(edit->text(), QStringLiteral("12.6"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), QStringLiteral("12.50"));
}

// ---------------------------------------------------------------- MySpinBox

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
    selectAllAndType(edit, QStringLiteral("5x"));
    QCOMPARE(edit->text(), QStringLiteral("5"));
    QTest::keyClicks(edit, QStringLiteral("0")); // 50 is beyond 40
    QCOMPARE(edit->text(), QStringLiteral("5"));
    QCOMPARE(intsOf(spy), QList<int>{5});
    QVERIFY(minus->isEnabled());
}

void TestControls::spinBoxSetterClamps()
{
    MySpinBox spin;
    QSignalSpy spy(&spin, &MySpinBox::valueChanged);
    spin.setValue(100);
    spin.setValue(100);
    spin.setValue(-100);
    QCOMPARE(intsOf(spy), (QList<int>{40, 40, -40}));
    spy.clear();
    spin.setRange(-10, 10); // the value moves in and is announced
    QCOMPARE(intsOf(spy), QList<int>{-10});
    spin.setRange(5, 1); // ignored
    QCOMPARE(spin.minimum(), -10);
}

// ---------------------------------------------------------------- MySlider

void TestControls::sliderValueAt_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("value");
    // S = 199, L = 30, range 0..100.
    QTest::newRow("before the start") << -40 << 0;
    QTest::newRow("first position") << 1 << 0;
    QTest::newRow("middle") << 85 << 50; // round(84 / 169 x 100) = round(49.7)
    QTest::newRow("last handle position") << 168 << 99;
    QTest::newRow("end threshold") << 170 << 100;
    QTest::newRow("far beyond") << 5000 << 100;
}

void TestControls::sliderValueAt()
{
    QFETCH(int, position);
    QFETCH(int, value);
    QCOMPARE((ControlMath::SliderGeometry{199, 30}.valueAt(position, 0, 100)), value);
}

void TestControls::sliderHandleDrawnAtValue()
{
    MySlider slider(nullptr, 0, 100);
    QVERIFY(shown(slider, {40, 200}));
    slider.setValue(50);
    QCOMPARE(slider.handlePosition(), 85);
    const QImage image = slider.grab().toImage();
    const QColor background = slider.palette().color(QPalette::Active, QPalette::Light);
    const QColor handle = slider.palette().color(QPalette::Active, QPalette::Button);
    QCOMPARE(QColor(image.pixel(0, 50)), QColor(Qt::black)); // border
    QCOMPARE(QColor(image.pixel(20, 85)), QColor(Qt::black)); // handle's lines
    QCOMPARE(QColor(image.pixel(20, 115)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(2, 90)), handle);
    QCOMPARE(QColor(image.pixel(20, 84)), background);
    QCOMPARE(QColor(image.pixel(20, 116)), background);
}

void TestControls::sliderDrag()
{
    MySlider slider(nullptr, 0, 100);
    QVERIFY(shown(slider, {40, 200}));
    slider.setValue(50);
    QSignalSpy spy(&slider, &MySlider::valueChanged);
    drag(&slider, QPoint(20, 100), QPoint(20, 140), 40); // one pixel per move
    QVERIFY(spy.count() > 10);
    const QList<int> values = intsOf(spy);
    for (int i = 1; i < values.size(); ++i)
        QVERIFY(values[i] > values[i - 1]); // once per change
    QCOMPARE(slider.value(), 73); // 40 pixels down from 85: position 125
    QCOMPARE(slider.handlePosition(), 123); // drawn where the value lies: 1 + round(167 x 0.73)
    QVERIFY(!slider.isDragging());

    // Beyond either end the handle stops at the last or first position.
    hover(&slider, QPoint(20, 130));
    mouse(&slider, QEvent::MouseButtonPress, QPoint(20, 130));
    mouse(&slider, QEvent::MouseMove, QPoint(20, 900));
    QCOMPARE(slider.handlePosition(), 168);
    QCOMPARE(slider.value(), 100);
    mouse(&slider, QEvent::MouseMove, QPoint(20, -500));
    QCOMPARE(slider.handlePosition(), 1);
    QCOMPARE(slider.value(), 0);
    mouse(&slider, QEvent::MouseButtonRelease, QPoint(20, -500));
}

void TestControls::sliderIgnoredPresses()
{
    MySlider slider(nullptr, 0, 100);
    QVERIFY(shown(slider, {40, 200}));
    QSignalSpy spy(&slider, &MySlider::valueChanged);
    drag(&slider, QPoint(20, 120), QPoint(20, 180)); // the handle is at 1..31
    mouse(&slider, QEvent::MouseButtonPress, QPoint(20, 10), Qt::RightButton);
    mouse(&slider, QEvent::MouseMove, QPoint(20, 100), Qt::RightButton);
    QVERIFY(!slider.isDragging());
    mouse(&slider, QEvent::MouseButtonRelease, QPoint(20, 100), Qt::RightButton);
    // An empty range never moves; its handle stays at the first position.
    slider.setRange(0, 0);
    drag(&slider, QPoint(20, 10), QPoint(20, 190));
    QCOMPARE(slider.handlePosition(), 1);
    QCOMPARE(slider.value(), 0);
    QCOMPARE(spy.count(), 0);
}

// ---------------------------------------------------------------- CSlidebar

void TestControls::slidebarHandleAt_data()
{
    QTest::addColumn<int>("coord");
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");
    QTest::addColumn<int>("handle");
    QTest::newRow("on the lower line") << 100 << 100 << 200 << 1;
    QTest::newRow("3 px off the lower line") << 103 << 100 << 200 << 1;
    QTest::newRow("4 px off") << 104 << 100 << 200 << 0;
    QTest::newRow("near the upper line") << 197 << 100 << 200 << 2;
    QTest::newRow("between") << 150 << 100 << 200 << 0;
    QTest::newRow("close lines, nearer upper") << 104 << 100 << 105 << 2;
    QTest::newRow("stacked, cursor above") << 98 << 100 << 100 << 1;
    QTest::newRow("stacked, cursor below") << 102 << 100 << 100 << 2;
}

void TestControls::slidebarHandleAt()
{
    QFETCH(int, coord);
    QFETCH(int, lower);
    QFETCH(int, upper);
    QFETCH(int, handle);
    QCOMPARE(ControlMath::slidebarHandleAt(coord, lower, upper), handle);
}

void TestControls::slidebarHoverCursorAndOtherButton()
{
    CSlidebar bar(nullptr, 0, 100, 5);
    QVERIFY(shown(bar, {20, 201}));
    hover(&bar, QPoint(10, 198));
    QCOMPARE(bar.grabbedHandle(), 2);
    QCOMPARE(bar.cursor().shape(), Qt::SplitVCursor);
    hover(&bar, QPoint(10, 100));
    QCOMPARE(bar.grabbedHandle(), 0);
    QCOMPARE(bar.cursor().shape(), Qt::ArrowCursor);
    hover(&bar, QPoint(10, 2));
    QCOMPARE(bar.grabbedHandle(), 1);
    mouse(&bar, QEvent::MouseButtonPress, QPoint(10, 2), Qt::RightButton);
    QCOMPARE(bar.grabbedHandle(), 0);
    QCOMPARE(bar.cursor().shape(), Qt::ArrowCursor);
    mouse(&bar, QEvent::MouseButtonRelease, QPoint(10, 2), Qt::RightButton);
    QCOMPARE(bar.grabbedHandle(), 1); // the mark is taken again where the button was let go
}

void TestControls::slidebarSettersNeverCross()
{
    CSlidebar bar(nullptr, 0, 100, 5);
    bar.resize(40, 201);
    QSignalSpy lower(&bar, &CSlidebar::bottomLimitChanged);
    QSignalSpy upper(&bar, &CSlidebar::topLimitChanged);
    bar.setTopLimit(30);
    bar.setBottomLimit(60); // would cross the upper limit although the current lower (0) is fine
    bar.setBottomLimit(26); // within the gap
    QCOMPARE(bar.bottomLimit(), 0);
    bar.setBottomLimit(25);
    QCOMPARE(bar.bottomLimit(), 25);
    bar.setTopLimit(10); // would cross the lower limit
    bar.setTopLimit(101); // beyond the range
    bar.setBottomLimit(-1);
    QCOMPARE(bar.topLimit(), 30);
    QCOMPARE(intsOf(lower), QList<int>{25});
    QCOMPARE(intsOf(upper), QList<int>{30});

    // Both limits past each other's old place in one step.
    bar.setLimits(70, 90);
    QCOMPARE(bar.bottomLimit(), 70);
    QCOMPARE(bar.topLimit(), 90);
    bar.setLimits(50, 52); // closer than the gap
    QCOMPARE(bar.bottomLimit(), 70);
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

void TestControls::slidebarRange()
{
    CSlidebar bar(nullptr, 0, 0, 0);
    QVERIFY(shown(bar, {40, 101}));
    QCOMPARE(bar.topLimitPosition(), 100); // an empty range shows the whole bar
    bar.setRange(50); // upper limit 0: the whole range
    QCOMPARE(bar.bottomLimit(), 0);
    QCOMPARE(bar.topLimit(), 50);
    bar.setLimits(10, 40);
    bar.setRange(45); // both still fit
    QCOMPARE(bar.bottomLimit(), 10);
    QCOMPARE(bar.topLimit(), 40);
    bar.setRange(30); // the upper limit no longer fits
    QCOMPARE(bar.bottomLimit(), 0);
    QCOMPARE(bar.topLimit(), 30);
    bar.setRange(-7);
    QCOMPARE(bar.range(), 0);
    QCOMPARE(bar.topLimit(), 0);

    // A bar squeezed to one pixel has no length to map values onto: dragging changes nothing.
    CSlidebar flat(nullptr, 1, 50, 2);
    QVERIFY(shown(flat, {1, 20}));
    QCOMPARE(flat.barLength(), 0);
    drag(&flat, QPoint(0, 10), QPoint(30, 10));
    QCOMPARE(flat.bottomLimit(), 0);
    QCOMPARE(flat.topLimit(), 50);
}

// ---------------------------------------------------------------- CScrollBar

void TestControls::scrollBarCounterMovesSlider()
{
    CScrollBar bar;
    bar.setRange(0, 59);
    bar.setStep(3);
    QVERIFY(shown(bar));
    QSignalSpy spy(&bar, &CScrollBar::valueChanged);
    auto* counter = child<QVertCounter>(&bar, "vc_counter");
    auto* slider = child<MySlider>(&bar, "ms_slider");
    QTest::mouseClick(child<QPushButton>(counter, "m_btn_increase"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(counter, "m_btn_increase"), Qt::LeftButton);
    QCOMPARE(intsOf(spy), (QList<int>{3, 6}));
    QCOMPARE(slider->value(), 6);
    auto* edit = child<QLineEdit>(counter, "m_edt_value");
    QCOMPARE(edit->text(), QStringLiteral("30")); // 6 cells of 5 mm
    // 100 mm typed key by key: "1" is 0.2 cells (0), "10" 2 cells, "100" 20 cells.
    selectAllAndType(edit, QStringLiteral("100"));
    QCOMPARE(edit->text(), QStringLiteral("100"));
    QCOMPARE(slider->value(), 20);
    QCOMPARE(intsOf(spy), (QList<int>{3, 6, 0, 2, 20}));
}

void TestControls::scrollBarSliderMovesCounter()
{
    CScrollBar bar;
    bar.setRange(0, 100);
    QVERIFY(shown(bar));
    auto* counter = child<QVertCounter>(&bar, "vc_counter");
    QSignalSpy spy(&bar, &CScrollBar::valueChanged);
    drag(child<MySlider>(&bar, "ms_slider"), QPoint(20, 10), QPoint(20, 2000));
    QCOMPARE(bar.value(), 100);
    QCOMPARE(counter->currentValue(), 100);
    QCOMPARE(child<QLineEdit>(counter, "m_edt_value")->text(), QStringLiteral("500"));
    const QList<int> values = intsOf(spy);
    QCOMPARE(values.last(), 100);
    QCOMPARE(QSet<int>(values.begin(), values.end()).size(), values.size());
}

void TestControls::scrollBarClampsAndSteps()
{
    // The owner sets the C-scan bar's range, value and step as the view does on opening a map.
    CWgtScrollBars bars;
    CScrollBar* bar = bars.scrollBar(1);
    bars.setRange(1, 0, 59);
    QSignalSpy spy(&bars, &CWgtScrollBars::cscanValueChanged);
    bars.setValue(1, 200);
    bars.setValue(1, 59);
    QCOMPARE(intsOf(spy), QList<int>{59});
    QCOMPARE(child<MySlider>(bar, "ms_slider")->value(), 59);
    QCOMPARE(child<QLineEdit>(bar, "m_edt_value")->text(), QStringLiteral("295")); // 59 cells of 5 mm
    bars.setRange(1, 0, 10);
    QCOMPARE(intsOf(spy), (QList<int>{59, 10}));
    bars.setRange(1, 5, 1); // ignored
    QCOMPARE(bar->maximum(), 10);
    bars.setStep(1, 10); // not smaller than the range
    QCOMPARE(bar->step(), 1);
    bars.setStep(1, 4);
    QCOMPARE(child<QVertCounter>(bar, "vc_counter")->stepValue(), 4);
}

void TestControls::scrollBarsScanIndex_data()
{
    QTest::addColumn<int>("scan");
    QTest::addColumn<QString>("bar");
    QTest::newRow("1: C-scan") << 1 << "sb_cscan";
    QTest::newRow("2: D-scan") << 2 << "sb_dscan";
    QTest::newRow("3: B-scan") << 3 << "sb_bscan";
    QTest::newRow("0: none") << 0 << "";
    QTest::newRow("4: none") << 4 << "";
}

void TestControls::scrollBarsScanIndex()
{
    QFETCH(int, scan);
    QFETCH(QString, bar);
    CWgtScrollBars bars;
    QSignalSpy c(&bars, &CWgtScrollBars::cscanValueChanged);
    QSignalSpy b(&bars, &CWgtScrollBars::bscanValueChanged);
    QSignalSpy d(&bars, &CWgtScrollBars::dscanValueChanged);
    bars.setRange(scan, 0, 50);
    bars.setValue(scan, 7);
    for (const char* name : {"sb_cscan", "sb_bscan", "sb_dscan"}) {
        auto* sb = child<CScrollBar>(&bars, name);
        QCOMPARE(sb->value(), bar == QLatin1String(name) ? 7 : 0);
        QCOMPARE(sb->maximum(), bar == QLatin1String(name) ? 50 : 0);
    }
    QCOMPARE(c.count(), bar == QLatin1String("sb_cscan") ? 1 : 0);
    QCOMPARE(b.count(), bar == QLatin1String("sb_bscan") ? 1 : 0);
    QCOMPARE(d.count(), bar == QLatin1String("sb_dscan") ? 1 : 0);
}

void TestControls::scrollBarsReset()
{
    CWgtScrollBars bars;
    for (int scan = 1; scan <= 3; ++scan) {
        bars.setRange(scan, 0, 80);
        bars.setStep(scan, 5);
        bars.setValue(scan, 40);
        bars.scrollBar(scan)->setPrecision(true);
    }
    QSignalSpy c(&bars, &CWgtScrollBars::cscanValueChanged);
    bars.reset();
    QCOMPARE(intsOf(c), QList<int>{0});
    for (int scan = 1; scan <= 3; ++scan) {
        CScrollBar* sb = bars.scrollBar(scan);
        QCOMPARE(sb->value(), 0);
        QCOMPARE(sb->maximum(), 0);
        QCOMPARE(sb->step(), 1); // although the range 0..0 came first
        auto* counter = child<QVertCounter>(sb, "vc_counter");
        QCOMPARE(counter->precision(), false);
        QCOMPARE(child<QLineEdit>(counter, "m_edt_value")->text(), QStringLiteral("0"));
    }
}

void TestControls::barsStretchWithHeight()
{
    // The bars take whatever height their column gets; the counters keep theirs.
    CWgtScrollBars bars;
    CSliderControl control;
    bars.show();
    control.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bars));
    QVERIFY(QTest::qWaitForWindowExposed(&control));
    bars.resize(bars.width(), 700);
    control.resize(40, 630);
    QCOMPARE(child<MySlider>(bars.scrollBar(2), "ms_slider")->geometry(), QRect(0, 90, 40, 610));
    QCOMPARE(child<CSlidebar>(&control, "frm_slidebar")->geometry(), QRect(0, 90, 40, 480));
    QCOMPARE(child<QVertCounter>(&control, "vc_topCounter")->geometry(), QRect(0, 570, 40, 60));
}

// ---------------------------------------------------------------- CSliderControl

void TestControls::limitRange_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("gap");
    QTest::addColumn<int>("outMin");
    QTest::addColumn<int>("outMax");
    QTest::addColumn<int>("outGap");
    QTest::newRow("fits") << 0 << 99 << 2 << 0 << 99 << 2;
    QTest::newRow("gap 12 on 0..10") << 0 << 10 << 12 << 0 << 10 << 10;
    QTest::newRow("minimum above maximum") << 20 << 10 << 2 << 10 << 10 << 0;
    QTest::newRow("negative gap") << 0 << 10 << -3 << 0 << 10 << 0;
    QTest::newRow("full int range") << INT_MIN << INT_MAX << 5 << INT_MIN << INT_MAX << 5;
}

void TestControls::limitRange()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, gap);
    QFETCH(int, outMin);
    QFETCH(int, outMax);
    QFETCH(int, outGap);
    CSliderControl control;
    control.setRange(min, max, gap);
    QCOMPARE(control.rangeMinimum(), outMin);
    QCOMPARE(control.rangeMaximum(), outMax);
    QCOMPARE(control.gap(), outGap);
}

void TestControls::sliderControlRejectsCrossedValues()
{
    CSliderControl control;
    control.setRange(0, 10, 0);
    control.setValues(2, 8);
    QSignalSpy spy(&control, &CSliderControl::valuesChanged);
    control.setValues(5, 3);
    control.setValues(-1, 3); // below the range
    control.setValues(3, 11); // beyond it
    QCOMPARE(spy.count(), 0);
    QCOMPARE(control.lowerValue(), 2);
    QCOMPARE(control.upperValue(), 8);
}

void TestControls::sliderControlValuesEmitOnce()
{
    CSliderControl control;
    control.setRange(0, 99, 2);
    QSignalSpy pairs(&control, &CSliderControl::valuesChanged);
    QSignalSpy lows(&control, &CSliderControl::minValueChanged);
    QSignalSpy highs(&control, &CSliderControl::maxValueChanged);
    control.setValues(8, 44);
    control.setValues(8, 44);
    control.setValues(50, 60); // both past the old upper limit
    QCOMPARE(pairs.count(), 2);
    QCOMPARE(pairs.at(1).at(0).toInt(), 50);
    QCOMPARE(pairs.at(1).at(1).toInt(), 60);
    QCOMPARE(lows.count() + highs.count(), 0);
    auto* bar = child<CSlidebar>(&control, "frm_slidebar");
    QCOMPARE(bar->bottomLimit(), 50);
    QCOMPARE(bar->topLimit(), 60);
    QCOMPARE(child<QVertCounter>(&control, "vc_bottomCounter")->maxValue(), 58);
    QCOMPARE(child<QVertCounter>(&control, "vc_topCounter")->minValue(), 52);
    QCOMPARE(child<QLineEdit>(child<QVertCounter>(&control, "vc_topCounter"), "m_edt_value")->text(),
             QStringLiteral("300"));
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

    drag(bar, QPoint(20, bar->topLimitPosition()), QPoint(20, 379), 30);
    QCOMPARE(control.upperValue(), 76);
    QCOMPARE(intsOf(highs).last(), 76);
    QCOMPARE(child<QVertCounter>(&control, "vc_topCounter")->currentValue(), 76);
    QCOMPARE(child<QVertCounter>(&control, "vc_bottomCounter")->maxValue(), 74);

    // The upper limit dragged down past the lower one (at 38) stops 2 values above it.
    drag(bar, QPoint(20, 380), QPoint(20, -50), 30);
    QCOMPARE(control.upperValue(), 40);
    QCOMPARE(bar->topLimitPosition(), 199);
    QCOMPARE(control.lowerValue(), 38);
}

void TestControls::sliderControlRangeWithOffset()
{
    CSliderControl control;
    control.setRange(10, 50, 2);
    control.setValues(20, 30);
    QVERIFY(shown(control));
    auto* bar = child<CSlidebar>(&control, "frm_slidebar");
    QCOMPARE(bar->range(), 40);
    QCOMPARE(bar->bottomLimit(), 10);
    QCOMPARE(bar->topLimit(), 20);
    QSignalSpy highs(&control, &CSliderControl::maxValueChanged);
    drag(bar, QPoint(20, bar->topLimitPosition()), QPoint(20, 379), 10);
    QCOMPARE(control.upperValue(), 50);
    QCOMPARE(intsOf(highs).last(), 50);
}

void TestControls::sliderControlRangeClampsSilently()
{
    CSliderControl control;
    control.setRange(0, 99, 2);
    QCOMPARE(control.upperValue(), 2);
    control.setValues(30, 90);
    QSignalSpy pairs(&control, &CSliderControl::valuesChanged);
    QSignalSpy lows(&control, &CSliderControl::minValueChanged);
    QSignalSpy highs(&control, &CSliderControl::maxValueChanged);
    control.setRange(0, 40, 2);
    QCOMPARE(control.lowerValue(), 30);
    QCOMPARE(control.upperValue(), 40);
    control.setRange(50, 60, 4);
    QCOMPARE(control.lowerValue(), 50);
    QCOMPARE(control.upperValue(), 54);
    QCOMPARE(pairs.count() + lows.count() + highs.count(), 0);
    QCOMPARE(child<QVertCounter>(&control, "vc_bottomCounter")->currentValue(), 50);
    QCOMPARE(child<QVertCounter>(&control, "vc_topCounter")->currentValue(), 54);
}

void TestControls::sliderControlsScanIndex_data()
{
    QTest::addColumn<int>("scan");
    QTest::addColumn<QString>("control");
    QTest::newRow("1: C-scan") << 1 << "sc_cscan";
    QTest::newRow("2: D-scan") << 2 << "sc_dscan";
    QTest::newRow("3: B-scan") << 3 << "sc_bscan";
    QTest::newRow("-1: none") << -1 << "";
}

void TestControls::sliderControlsScanIndex()
{
    QFETCH(int, scan);
    QFETCH(QString, control);
    CWgtSliderControl group;
    QSignalSpy c(&group, &CWgtSliderControl::cscanValuesChanged);
    QSignalSpy b(&group, &CWgtSliderControl::bscanValuesChanged);
    QSignalSpy d(&group, &CWgtSliderControl::dscanValuesChanged);
    group.setRange(scan, 0, 40, 2);
    group.setValues(scan, 5, 30);
    for (const char* name : {"sc_cscan", "sc_bscan", "sc_dscan"}) {
        auto* sc = child<CSliderControl>(&group, name);
        const bool chosen = control == QLatin1String(name);
        QCOMPARE(sc->upperValue(), chosen ? 30 : 0);
        QCOMPARE(sc->rangeMaximum(), chosen ? 40 : 0);
    }
    QCOMPARE(c.count(), control == QLatin1String("sc_cscan") ? 1 : 0);
    QCOMPARE(b.count(), control == QLatin1String("sc_bscan") ? 1 : 0);
    QCOMPARE(d.count(), control == QLatin1String("sc_dscan") ? 1 : 0);

    group.reset();
    for (int i = 1; i <= 3; ++i) {
        QCOMPARE(group.sliderControl(i)->rangeMaximum(), 0);
        QCOMPARE(group.sliderControl(i)->upperValue(), 0);
    }
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
