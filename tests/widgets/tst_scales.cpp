#include "common/widgetinput.h"
#include "widgets/controlmath.h"
#include "widgets/qabstractscale.h"
#include "widgets/qscaleframe.h"
#include "widgets/scalemath.h"

#include <QFontMetrics>
#include <QImage>
#include <QtTest>

#include <climits>

using ScaleMath::Tick;

namespace {

QList<int> series(int from, int to, int step)
{
    QList<int> list;
    for (int v = from; v <= to; v += step)
        list.append(v);
    return list;
}

QRect labelBox(const ScaleText& t, const QFont& font)
{
    const QFontMetrics fm(font);
    return QRect(t.baseline.x(), t.baseline.y() - fm.ascent(), fm.horizontalAdvance(t.text), fm.height());
}

} // namespace

class TestScales : public QObject
{
    Q_OBJECT

private slots:
    void roundHalfUp_data();
    void roundHalfUp();
    void ticks_data();
    void ticks();
    void denseTicksAreBounded();
    void labels_data();
    void labels();
    void wideLabelsShrinkTheFont();
    void labelsNeitherOverlapNorLeave_data();
    void labelsNeitherOverlapNorLeave();

    void tickPixels_data();
    void tickPixels();
};

void TestScales::roundHalfUp_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5") << 2.5 << 3;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("0.5") << 0.5 << 1;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("huge") << 1e300 << INT_MAX;
    QTest::newRow("-huge") << -1e300 << INT_MIN;
    QTest::newRow("nan") << qQNaN() << 0;
}

void TestScales::roundHalfUp()
{
    QFETCH(double, x);
    QFETCH(int, expected);
    QCOMPARE(ControlMath::roundHalfUp(x), expected);
}

void TestScales::ticks_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("origin");
    QTest::addColumn<double>("step");
    QTest::addColumn<QList<int>>("pixels");
    // Over 500 pixels.
    QTest::newRow("origin 5: 5, 25, ..., 85") << 0.0 << 100.0 << 5.0 << 20.0 << series(25, 425, 100);
    QTest::newRow("origin far off") << 0.0 << 100.0 << 1e9 << 25.0 << series(0, 500, 125);
    QTest::newRow("negative range") << -50.0 << 40.0 << 0.0 << 10.0 << series(0, 500, 125);
    QTest::newRow("tenths reach the end") << 0.0 << 1.0 << 0.0 << 0.1 << series(0, 500, 50);
    QTest::newRow("huge start") << 1e15 << 100.0 << 0.0 << 20.0 << series(0, 500, 100);
    QTest::newRow("step wider than range") << 10.0 << 5.0 << 0.0 << 100.0 << QList<int>{};
    QTest::newRow("zero step") << 0.0 << 100.0 << 0.0 << 0.0 << QList<int>{};
    QTest::newRow("zero span") << 0.0 << 0.0 << 0.0 << 20.0 << QList<int>{};
    QTest::newRow("nan span") << 0.0 << qQNaN() << 0.0 << 1.0 << QList<int>{};
}

void TestScales::ticks()
{
    QFETCH(double, start);
    QFETCH(double, span);
    QFETCH(double, origin);
    QFETCH(double, step);
    const ScaleMath::Map map = ScaleMath::makeMap(start, span, 0, 500, 1);
    QList<int> pixels;
    for (const Tick& t : ScaleMath::ticks(map, start, span, origin, step, 0, 500))
        pixels.append(t.pixel);
    std::sort(pixels.begin(), pixels.end());
    QTEST(pixels, "pixels");
}

void TestScales::denseTicksAreBounded()
{
    // A nanometre step over a metre: billions of ticks, thinned to a few thousand.
    const ScaleMath::Map map = ScaleMath::makeMap(0.0, 1.0, 0, 500, 1);
    const QList<Tick> ticks = ScaleMath::ticks(map, 0.0, 1.0, 0.0, 1e-9, 0, 500);
    QVERIFY(ticks.size() > 500 && ticks.size() <= 2 * 4097);
    QCOMPARE(ticks.first().pixel, 0);
    for (const Tick& t : ticks)
        QVERIFY(t.pixel >= 0 && t.pixel <= 500);
}

void TestScales::labels_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero reached from below") << -0.3 + 3 * 0.1 << 0.1 << "0";
    QTest::newRow("minus zero") << -0.0 << 1.0 << "0";
    QTest::newRow("six digits") << 123456.0 << 1.0 << "123456";
    QTest::newRow("seven digits") << 123456789.0 << 1.0 << "1.23457e+08";
    QTest::newRow("tiny but a tick") << 2e-10 << 2e-10 << "2e-10";
}

void TestScales::labels()
{
    QFETCH(double, value);
    QFETCH(double, step);
    QTEST(ScaleMath::label(value, step), "text");
}

void TestScales::wideLabelsShrinkTheFont()
{
    QAbstractScale scale;
    scale.setScaleRect(QRect(0, 0, 40, 301));
    scale.setPosition(0);
    scale.setTickLength(6);
    scale.setRange(0.0, 1e6);
    scale.setTicks(0.0, 123456.0, 0.0);
    const ScaleLayout& l = scale.scaleLayout();
    QVERIFY(l.fontReductions > 0);
    QCOMPARE(l.font.pointSize(), 10 - l.fontReductions);
    QVERIFY(QFontMetrics(l.font).horizontalAdvance(QStringLiteral("123456")) < 40 - 6 - 1);
}

void TestScales::labelsNeitherOverlapNorLeave_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("origin");
    QTest::addColumn<double>("step");
    for (int position : {0, 3}) {
        const QSize size = position == 3 ? QSize(400, 32) : QSize(56, 300);
        const QByteArray side = position == 3 ? "horizontal " : "vertical ";
        QTest::newRow(side + "tiny") << position << size << 0.0 << 3e-9 << 0.0 << 5e-10;
        QTest::newRow(side + "huge") << position << size << -2e14 << 9e14 << 0.0 << 1e14;
        QTest::newRow(side + "far too fine") << position << size << 0.0 << 1.0 << 0.0 << 1e-7;
        QTest::newRow(side + "zero span") << position << size << 3.0 << 0.0 << 0.0 << 1.0;
        QTest::newRow(side + "no room") << position << QSize() << 0.0 << 1.0 << 0.0 << 0.1;
    }
}

void TestScales::labelsNeitherOverlapNorLeave()
{
    QFETCH(int, position);
    QFETCH(QSize, size);
    QFETCH(double, start);
    QFETCH(double, span);
    QFETCH(double, origin);
    QFETCH(double, step);
    QAbstractScale scale;
    scale.setScaleRect(QRect(QPoint(0, 0), size));
    scale.setPosition(position);
    scale.setTickLength(6);
    scale.setRange(start, span);
    scale.setTicks(origin, step, step / 2);
    scale.setName(QStringLiteral("Z"));
    scale.setUnit(QStringLiteral("m"));
    const ScaleLayout& l = scale.scaleLayout();
    // Labels and the caption: none over another.
    const QList<ScaleText> texts = l.labels + l.caption;
    for (int i = 0; i < texts.size(); ++i) {
        const QRect box = labelBox(texts[i], l.font);
        // Along the ruler no label runs past either end (across, the font shrinks to fit).
        const QRect ink = QFontMetrics(l.font).tightBoundingRect(texts[i].text).translated(texts[i].baseline);
        if (position == 3)
            QVERIFY2(ink.left() >= 0 && ink.right() < size.width(), qPrintable(texts[i].text));
        else
            QVERIFY2(ink.top() >= 0 && ink.bottom() < size.height(), qPrintable(texts[i].text));
        for (int j = i + 1; j < texts.size(); ++j)
            QVERIFY2(!box.intersects(labelBox(texts[j], l.font)), qPrintable(texts[j].text));
    }
    // Without a span the caption still says what the axis is; without room nothing is drawn.
    QCOMPARE(l.caption.isEmpty(), size.isEmpty());
    QCOMPARE(l.labels.size() >= 2, span > 0 && !size.isEmpty());
    QCOMPARE(l.majorTicks.isEmpty(), span == 0 || size.isEmpty());
}

void TestScales::tickPixels_data()
{
    // Where a shown ruler's ticks land; the probe is a row or column inside the tick length.
    QTest::addColumn<int>("position");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("direction");
    QTest::addColumn<double>("origin");
    QTest::addColumn<double>("minor");
    QTest::addColumn<int>("probe");
    QTest::addColumn<QList<int>>("pixels");
    const QSize wide(501, 30);
    QTest::newRow("below, minors 6 px") << 3 << wide << 1 << 0.0 << 10.0 << 2 << series(0, 500, 50);
    QTest::newRow("below, origin 5") << 3 << wide << 1 << 5.0 << 0.0 << 8 << series(25, 425, 100);
    // Upwards, origin 5: 5, 25, ..., 85 at 150 - 1.5 v, halves up.
    QTest::newRow("left, upwards") << 0 << QSize(60, 151) << -1 << 5.0 << 0.0 << 51 << series(23, 143, 30);
}

void TestScales::tickPixels()
{
    QFETCH(int, position);
    QFETCH(QSize, size);
    QFETCH(int, direction);
    QFETCH(double, origin);
    QFETCH(double, minor);
    QFETCH(int, probe);
    QScaleFrame frame;
    frame.setPosition(position);
    frame.setDirection(direction);
    frame.setTickLength(9);
    QVERIFY(WidgetInput::shown(frame, size));
    (void)frame.grab(); // painted once before the ticks change: no stale picture may remain
    frame.setTicks(origin, 20.0, minor);
    const QImage image = frame.grab().toImage();
    QTEST(WidgetInput::darkAlong(image, position == 1 || position == 3, probe), "pixels");
}

QTEST_MAIN(TestScales)
#include "tst_scales.moc"
