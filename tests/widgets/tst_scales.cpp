#include "widgets/controlmath.h"
#include "widgets/qabstractscale.h"
#include "widgets/qscaleframe.h"
#include "widgets/scalemath.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <climits>
#include <cmath>
#include <limits>

using ScaleMath::Tick;

namespace {

// A ruler that can be laid out and drawn without a window.
class TestScale : public QAbstractScale
{
};

QList<int> sortedPixels(const QList<Tick>& ticks)
{
    QList<int> pixels;
    for (const Tick& t : ticks)
        pixels.append(t.pixel);
    std::sort(pixels.begin(), pixels.end());
    return pixels;
}

QList<int> series(int from, int to, int step)
{
    QList<int> list;
    for (int v = from; v <= to; v += step)
        list.append(v);
    return list;
}

QStringList labelTexts(const ScaleLayout& l)
{
    QStringList texts;
    for (const ScaleText& t : l.labels)
        texts.append(t.text);
    return texts;
}

QRect labelBox(const ScaleText& t, const QFont& font)
{
    const QFontMetrics fm(font);
    return QRect(t.baseline.x(), t.baseline.y() - fm.ascent(), fm.horizontalAdvance(t.text), fm.height());
}

bool isDark(QRgb c)
{
    return qGray(c) < 100;
}

} // namespace

class TestScales : public QObject
{
    Q_OBJECT

private slots:
    void roundHalfUp_data();
    void roundHalfUp();
    void mapPixel_data();
    void mapPixel();
    void mapInvalid_data();
    void mapInvalid();
    void ticks_data();
    void ticks();
    void denseTicksAreBounded();
    void labels_data();
    void labels();
    void horizontalLabelStarts_data();
    void horizontalLabelStarts();
    void verticalLabelBaselines_data();
    void verticalLabelBaselines();

    void horizontal500PixelRuler_data();
    void horizontal500PixelRuler();
    void horizontalZeroSpanKeepsCaption();
    void emptyRectDrawsNothing();
    void verticalDirectionMinus1PutsStartAtBottom();
    void verticalCaptionAndLabelArea();
    void wideLabelShrinksFontForThatPaintOnly();
    void narrowRulerStopsShrinkingAtOnePoint();
    void labelsNeverOverlap_data();
    void labelsNeverOverlap();

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
    QTest::newRow("83.5") << 83.5 << 84;
    QTest::newRow("1.4999") << 1.4999 << 1;
    QTest::newRow("huge") << 1e300 << INT_MAX;
    QTest::newRow("-huge") << -1e300 << INT_MIN;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void TestScales::roundHalfUp()
{
    QFETCH(double, x);
    QFETCH(int, expected);
    QCOMPARE(ControlMath::roundHalfUp(x), expected);
}

void TestScales::mapPixel_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("span");
    QTest::addColumn<int>("p1");
    QTest::addColumn<int>("p2");
    QTest::addColumn<int>("direction");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("pixel");
    QTest::newRow("500 px, 20") << 0.0 << 100.0 << 0 << 500 << 1 << 20.0 << 100;
    QTest::newRow("offset rect") << 0.0 << 100.0 << 30 << 530 << 1 << 100.0 << 530;
    QTest::newRow("direction -1, start") << 0.0 << 100.0 << 0 << 500 << -1 << 0.0 << 500;
    QTest::newRow("direction -1, end") << 0.0 << 100.0 << 0 << 500 << -1 << 100.0 << 0;
    QTest::newRow("negative range") << -50.0 << 40.0 << 0 << 400 << 1 << -30.0 << 200;
    QTest::newRow("half up") << 0.0 << 4.0 << 0 << 2 << 1 << 1.0 << 1; // 0.5 -> 1
    QTest::newRow("half up, reversed") << 0.0 << 4.0 << 0 << 2 << -1 << 1.0 << 2; // 1.5 -> 2
    QTest::newRow("far outside saturates") << 0.0 << 1e-300 << 0 << 500 << 1 << 1e10 << INT_MAX;
}

void TestScales::mapPixel()
{
    QFETCH(double, start);
    QFETCH(double, span);
    QFETCH(int, p1);
    QFETCH(int, p2);
    QFETCH(int, direction);
    QFETCH(double, value);
    QFETCH(int, pixel);
    const ScaleMath::Map map = ScaleMath::makeMap(start, span, p1, p2, direction);
    QVERIFY(map.valid);
    QCOMPARE(map.pixel(value), pixel);
}

void TestScales::mapInvalid_data()
{
    QTest::addColumn<double>("span");
    QTest::addColumn<int>("p1");
    QTest::addColumn<int>("p2");
    QTest::newRow("zero span") << 0.0 << 0 << 100;
    QTest::newRow("negative span") << -5.0 << 0 << 100;
    QTest::newRow("nan span") << std::numeric_limits<double>::quiet_NaN() << 0 << 100;
    QTest::newRow("infinite span") << std::numeric_limits<double>::infinity() << 0 << 100;
    QTest::newRow("inverted pixels") << 10.0 << 100 << 0;
}

void TestScales::mapInvalid()
{
    QFETCH(double, span);
    QFETCH(int, p1);
    QFETCH(int, p2);
    const ScaleMath::Map map = ScaleMath::makeMap(0.0, span, p1, p2, 1);
    QVERIFY(!map.valid);
    QVERIFY(ScaleMath::ticks(map, 0.0, span, 0.0, 1.0, p1, p2).isEmpty());
}

void TestScales::ticks_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("origin");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QList<int>>("pixels");
    // 0..100 over 500 pixels.
    QTest::newRow("majors every 100 px") << 0.0 << 100.0 << 0.0 << 20.0 << 1 << series(0, 500, 100);
    QTest::newRow("minors every 50 px") << 0.0 << 100.0 << 0.0 << 10.0 << 1 << series(0, 500, 50);
    QTest::newRow("origin 5: 5, 25, ..., 85") << 0.0 << 100.0 << 5.0 << 20.0 << 1 << series(25, 425, 100);
    QTest::newRow("origin above the range") << 0.0 << 100.0 << 1000.0 << 20.0 << 1 << series(0, 500, 100);
    QTest::newRow("origin below the range") << 0.0 << 100.0 << -1e9 << 20.0 << 1 << series(0, 500, 100);
    QTest::newRow("origin far off") << 0.0 << 100.0 << 1e9 << 25.0 << 1 << series(0, 500, 125);
    QTest::newRow("direction -1") << 0.0 << 100.0 << 0.0 << 20.0 << -1 << series(0, 500, 100);
    QTest::newRow("negative range") << -50.0 << 40.0 << 0.0 << 10.0 << 1 << series(0, 500, 125);
    QTest::newRow("tenths reach the end") << 0.0 << 1.0 << 0.0 << 0.1 << 1 << series(0, 500, 50);
    QTest::newRow("tiny") << 0.0 << 1e-9 << 0.0 << 2e-10 << 1 << series(0, 500, 100);
    QTest::newRow("huge") << 0.0 << 1e12 << 0.0 << 2e11 << 1 << series(0, 500, 100);
    QTest::newRow("huge start") << 1e15 << 100.0 << 0.0 << 20.0 << 1 << series(0, 500, 100);
    QTest::newRow("step wider than range") << 10.0 << 5.0 << 0.0 << 100.0 << 1 << QList<int>{};
    QTest::newRow("zero step") << 0.0 << 100.0 << 0.0 << 0.0 << 1 << QList<int>{};
    QTest::newRow("negative step") << 0.0 << 100.0 << 0.0 << -20.0 << 1 << QList<int>{};
    QTest::newRow("zero span") << 0.0 << 0.0 << 0.0 << 20.0 << 1 << QList<int>{};
}

void TestScales::ticks()
{
    QFETCH(double, start);
    QFETCH(double, span);
    QFETCH(double, origin);
    QFETCH(double, step);
    QFETCH(int, direction);
    QFETCH(QList<int>, pixels);
    const ScaleMath::Map map = ScaleMath::makeMap(start, span, 0, 500, direction);
    const QList<Tick> ticks = ScaleMath::ticks(map, start, span, origin, step, 0, 500);
    QCOMPARE(sortedPixels(ticks), pixels);
    for (const Tick& t : ticks) {
        QVERIFY(t.value >= start - std::abs(step) * 1e-6);
        QVERIFY(t.value <= start + span + std::abs(step) * 1e-6);
    }
}

void TestScales::denseTicksAreBounded()
{
    // A nanometre step over a metre: billions of ticks, thinned to a few thousand.
    const ScaleMath::Map map = ScaleMath::makeMap(0.0, 1.0, 0, 500, 1);
    const QList<Tick> ticks = ScaleMath::ticks(map, 0.0, 1.0, 0.0, 1e-9, 0, 500);
    QVERIFY(ticks.size() > 500);
    QVERIFY(ticks.size() <= 2 * 4097);
    QCOMPARE(ticks.first().pixel, 0);
    for (const Tick& t : ticks)
        QVERIFY(t.pixel >= 0 && t.pixel <= 500);
}

void TestScales::labels_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.1 x 3") << 0.1 + 0.1 + 0.1 << 0.1 << "0.3";
    QTest::newRow("zero reached from below") << -0.3 + 3 * 0.1 << 0.1 << "0";
    QTest::newRow("minus zero") << -0.0 << 1.0 << "0";
    QTest::newRow("integer") << 1200.0 << 200.0 << "1200";
    QTest::newRow("negative") << -25.0 << 5.0 << "-25";
    QTest::newRow("quarter") << 0.25 << 0.25 << "0.25";
    QTest::newRow("six digits") << 123456.0 << 1.0 << "123456";
    QTest::newRow("seven digits") << 123456789.0 << 1.0 << "1.23457e+08";
    QTest::newRow("huge") << 1e20 << 1e19 << "1e+20";
    QTest::newRow("tiny") << 1.2345e-5 << 1e-6 << "1.2345e-05";
    QTest::newRow("tiny but a tick") << 2e-10 << 2e-10 << "2e-10";
}

void TestScales::labels()
{
    QFETCH(double, value);
    QFETCH(double, step);
    QFETCH(QString, text);
    QCOMPARE(ScaleMath::label(value, step), text);
}

void TestScales::horizontalLabelStarts_data()
{
    QTest::addColumn<int>("p");
    QTest::addColumn<int>("h");
    QTest::addColumn<QList<int>>("starts");
    // Allowed interval 0..400.
    QTest::newRow("centred") << 200 << 10 << QList<int>{190};
    QTest::newRow("just fits left") << 10 << 10 << QList<int>{0};
    QTest::newRow("starts at p near the left") << 5 << 10 << QList<int>{5};
    QTest::newRow("ends at p near the right") << 395 << 10 << QList<int>{375};
    QTest::newRow("on the right limit") << 400 << 10 << QList<int>{380};
    QTest::newRow("beyond the right limit") << 401 << 10 << QList<int>{};
    QTest::newRow("before the left limit") << -1 << 10 << QList<int>{};
    QTest::newRow("wider than the interval") << 200 << 300 << QList<int>{-400, 200};
}

void TestScales::horizontalLabelStarts()
{
    QFETCH(int, p);
    QFETCH(int, h);
    QFETCH(QList<int>, starts);
    QCOMPARE(ScaleMath::horizontalLabelStarts(p, h, 0, 400), starts);
}

void TestScales::verticalLabelBaselines_data()
{
    QTest::addColumn<int>("p");
    QTest::addColumn<QList<int>>("baselines");
    // Offset 6, label height 10, allowed 0..300.
    QTest::newRow("inside") << 100 << QList<int>{106};
    QTest::newRow("top edge") << 2 << QList<int>{2 + 5 + 6};
    QTest::newRow("bottom edge") << 297 << QList<int>{297 - 5 + 6};
    QTest::newRow("far below") << 320 << QList<int>{};
    QTest::newRow("far above") << -20 << QList<int>{};
}

void TestScales::verticalLabelBaselines()
{
    QFETCH(int, p);
    QFETCH(QList<int>, baselines);
    QCOMPARE(ScaleMath::verticalLabelBaselines(p, 6, 10, 0, 300), baselines);
}

void TestScales::horizontal500PixelRuler_data()
{
    QTest::addColumn<int>("captionSide");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("caption at the end") << 1 << QStringList{"0", "20", "40", "60", "80"};
    QTest::newRow("caption at the start") << 0 << QStringList{"20", "40", "60", "80", "100"};
}

void TestScales::horizontal500PixelRuler()
{
    QFETCH(int, captionSide);
    QFETCH(QStringList, texts);
    TestScale scale;
    scale.setScaleRect(QRect(0, 0, 501, 30)); // x2 - x1 = 500
    scale.setPosition(3);
    scale.setTickLength(6);
    scale.setRange(0.0, 100.0);
    scale.setTicks(0.0, 20.0, 10.0);
    scale.setUnit(QStringLiteral("mm"));
    scale.setCaptionSide(captionSide);
    const ScaleLayout& l = scale.scaleLayout();

    QList<int> majors;
    for (const QLine& line : l.majorTicks) {
        QCOMPARE(line.y1(), 0);
        QCOMPARE(line.y2(), 6);
        majors.append(line.x1());
    }
    std::sort(majors.begin(), majors.end());
    QCOMPARE(majors, series(0, 500, 100));
    QCOMPARE(l.minorTicks.size(), 11);
    QCOMPARE(l.minorTicks.first().y2(), 4); // two thirds of 6

    QStringList drawn = labelTexts(l);
    drawn.removeDuplicates();
    QCOMPARE(drawn, texts);

    const QFontMetrics fm(l.font);
    const int w = fm.horizontalAdvance(QStringLiteral("mm"));
    QCOMPARE(l.caption.size(), 1);
    QCOMPARE(l.caption.first().text, QStringLiteral("mm"));
    QCOMPARE(l.caption.first().baseline.x(), captionSide == 1 ? 500 - w - 3 : 3);
    QCOMPARE(l.caption.first().baseline.y(), int(0 + 9 + 0.6 * fm.height()));
}

void TestScales::horizontalZeroSpanKeepsCaption()
{
    TestScale scale;
    scale.setScaleRect(QRect(0, 0, 300, 30));
    scale.setTickLength(6);
    scale.setRange(5.0, 0.0);
    scale.setTicks(0.0, 1.0, 0.5);
    scale.setName(QStringLiteral("X"));
    scale.setUnit(QStringLiteral("m"));
    const ScaleLayout& l = scale.scaleLayout();
    QVERIFY(l.majorTicks.isEmpty());
    QVERIFY(l.minorTicks.isEmpty());
    QVERIFY(l.labels.isEmpty());
    QCOMPARE(l.caption.size(), 1);
    QCOMPARE(l.caption.first().text, QStringLiteral("X, m"));
}

void TestScales::emptyRectDrawsNothing()
{
    for (int position : {0, 1, 2, 3}) {
        TestScale scale;
        scale.setPosition(position);
        scale.setRange(0.0, 100.0);
        scale.setTicks(0.0, 20.0, 10.0);
        scale.setUnit(QStringLiteral("m"));
        const ScaleLayout& l = scale.scaleLayout();
        QVERIFY(l.majorTicks.isEmpty());
        QVERIFY(l.labels.isEmpty());
        QVERIFY(l.caption.isEmpty());
    }
}

void TestScales::verticalDirectionMinus1PutsStartAtBottom()
{
    TestScale scale;
    scale.setScaleRect(QRect(0, 0, 50, 201));
    scale.setPosition(0);
    scale.setTickLength(8);
    scale.setDirection(-1);
    scale.setRange(0.0, 100.0);
    scale.setTicks(0.0, 25.0, 12.5);
    const ScaleLayout& l = scale.scaleLayout();
    QCOMPARE(l.majorTicks.size(), 5);
    // The run upwards from the origin starts at the start value: the bottom edge.
    QCOMPARE(l.majorTicks.first(), QLine(49, 200, 41, 200));
    QCOMPARE(l.majorTicks.last(), QLine(49, 0, 41, 0));
}

void TestScales::verticalCaptionAndLabelArea()
{
    TestScale scale;
    scale.setScaleRect(QRect(0, 0, 60, 301));
    scale.setPosition(0);
    scale.setTickLength(6);
    scale.setRange(0.0, 1.0);
    scale.setTicks(0.0, 0.1, 0.05);
    scale.setName(QStringLiteral("Z"));
    scale.setUnit(QStringLiteral("m"));
    const ScaleLayout& l = scale.scaleLayout();
    QCOMPARE(l.fontReductions, 0);
    const QFontMetrics fm(l.font);
    const int H = int(0.6 * fm.height());
    QCOMPARE(l.caption.size(), 2);
    const int unitBaseline = 300 - 3;
    const int nameBaseline = unitBaseline - H - 6;
    QCOMPARE(l.caption.at(0), (ScaleText{QPoint(59 - 6 - fm.horizontalAdvance("m") - 2, nameBaseline), "Z"}));
    QCOMPARE(l.caption.at(1).baseline.y(), unitBaseline);
    // Labels stay above the caption's band.
    for (const ScaleText& t : l.labels)
        QVERIFY2(t.baseline.y() <= nameBaseline - fm.height(), qPrintable(t.text));
    QVERIFY(labelTexts(l).contains(QStringLiteral("0.3")));
}

void TestScales::wideLabelShrinksFontForThatPaintOnly()
{
    TestScale scale;
    scale.setScaleRect(QRect(0, 0, 40, 301));
    scale.setPosition(0);
    scale.setTickLength(6);
    scale.setRange(0.0, 1e6);
    scale.setTicks(0.0, 123456.0, 0.0);
    const ScaleLayout& l = scale.scaleLayout();
    QVERIFY(l.fontReductions > 0);
    QCOMPARE(l.font.pointSize(), 10 - l.fontReductions);
    QVERIFY(QFontMetrics(l.font).horizontalAdvance(QStringLiteral("123456")) < 40 - 6 - 1
            || l.font.pointSize() == 1);
    QCOMPARE(scale.scaleFont().pointSize(), 10);

    QImage image(40, 301, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QFont before(QStringLiteral("Nimbus Mono PS"), 13);
    painter.setFont(before);
    scale.draw(painter);
    QCOMPARE(painter.font(), before);
}

void TestScales::narrowRulerStopsShrinkingAtOnePoint()
{
    TestScale scale;
    scale.setScaleRect(QRect(0, 0, 5, 200)); // no room at all beside 6-pixel ticks
    scale.setPosition(2);
    scale.setTickLength(6);
    scale.setRange(0.0, 100.0);
    scale.setTicks(0.0, 20.0, 10.0);
    const ScaleLayout& l = scale.scaleLayout();
    QCOMPARE(l.font.pointSize(), 1);
    QCOMPARE(l.fontReductions, 9);
    QCOMPARE(l.majorTicks.size(), 6);

    // A font given in pixels has no point size to take from: painting goes on unchanged.
    QFont pixelFont;
    pixelFont.setPixelSize(12);
    scale.setScaleFont(pixelFont);
    QCOMPARE(scale.scaleLayout().fontReductions, 0);
}

void TestScales::labelsNeverOverlap_data()
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
        QTest::newRow(side + "negative") << position << size << -0.75 << 0.5 << 0.0 << 0.05;
        QTest::newRow(side + "too fine a step") << position << size << 0.0 << 100.0 << 0.0 << 0.5;
        QTest::newRow(side + "far too fine") << position << size << 0.0 << 1.0 << 0.0 << 1e-7;
        QTest::newRow(side + "odd origin") << position << size << 12.5 << 7.25 << 0.333 << 0.2;
        QTest::newRow(side + "zero span") << position << size << 3.0 << 0.0 << 0.0 << 1.0;
        QTest::newRow(side + "narrow") << position << QSize(12, 12) << 0.0 << 100.0 << 0.0 << 1.0;
    }
}

void TestScales::labelsNeverOverlap()
{
    QFETCH(int, position);
    QFETCH(QSize, size);
    QFETCH(double, start);
    QFETCH(double, span);
    QFETCH(double, origin);
    QFETCH(double, step);
    TestScale scale;
    scale.setScaleRect(QRect(QPoint(0, 0), size));
    scale.setPosition(position);
    scale.setTickLength(6);
    scale.setRange(start, span);
    scale.setTicks(origin, step, step / 2);
    scale.setName(QStringLiteral("Z"));
    scale.setUnit(QStringLiteral("m"));
    const ScaleLayout& l = scale.scaleLayout();
    for (int i = 0; i < l.labels.size(); ++i) {
        for (int j = i + 1; j < l.labels.size(); ++j) {
            QVERIFY2(!labelBox(l.labels[i], l.font).intersects(labelBox(l.labels[j], l.font)),
                     qPrintable(l.labels[i].text + " / " + l.labels[j].text));
        }
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    scale.draw(painter);
}

void TestScales::tickPixels_data()
{
    // Where a ruler's ticks land in what the user sees: the shown frame itself, or the same
    // ruler copied into a strip of a composed picture. The probe is a row (horizontal ruler) or
    // a column (vertical) just inside the tick length.
    QTest::addColumn<int>("position");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("direction");
    QTest::addColumn<double>("origin");
    QTest::addColumn<double>("minor");
    QTest::addColumn<QRect>("copyTo"); // empty: grab the frame
    QTest::addColumn<int>("probe");
    QTest::addColumn<QList<int>>("pixels");
    const QRect frame;
    const QSize wide(501, 30);
    QTest::newRow("below, minors 6 px") << 3 << wide << 1 << 0.0 << 10.0 << frame << 2 << series(0, 500, 50);
    QTest::newRow("below, majors") << 3 << wide << 1 << 0.0 << 10.0 << frame << 8 << series(0, 500, 100);
    QTest::newRow("below, origin 5") << 3 << wide << 1 << 5.0 << 0.0 << frame << 8 << series(25, 425, 100);
    QTest::newRow("left") << 0 << QSize(60, 201) << 1 << 0.0 << 10.0 << frame << 51 << series(0, 200, 40);
    QTest::newRow("above, copied at x 10") << 1 << QSize(201, 20) << 1 << 0.0 << 10.0 << QRect(10, 0, 201, 20) << 11
                                           << series(10, 210, 40);
    QTest::newRow("left, upwards, copied at y 20") << 0 << QSize(60, 301) << -1 << 0.0 << 10.0
                                                   << QRect(0, 20, 60, 151) << 51 << series(20, 170, 30);
}

void TestScales::tickPixels()
{
    QFETCH(int, position);
    QFETCH(QSize, size);
    QFETCH(int, direction);
    QFETCH(double, origin);
    QFETCH(double, minor);
    QFETCH(QRect, copyTo);
    QFETCH(int, probe);
    QScaleFrame frame;
    frame.resize(size);
    frame.setPosition(position);
    frame.setDirection(direction);
    frame.setTickLength(9);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    (void)frame.grab(); // painted once before the ticks change: no stale picture may remain
    frame.setTicks(origin, 20.0, minor);
    QImage image;
    if (copyTo.isEmpty()) {
        image = frame.grab().toImage();
    } else {
        QAbstractScale ruler(frame);
        ruler.setScaleRect(copyTo);
        image = QImage(copyTo.right() + 30, copyTo.bottom() + 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(Qt::black);
        ruler.draw(painter);
        QCOMPARE(frame.scaleRect(), QRect(QPoint(0, 0), size)); // the copy leaves the frame alone
    }
    QList<int> dark;
    const bool horizontal = position == 1 || position == 3;
    const int length = horizontal ? image.width() : image.height();
    for (int n = 0; n < length; ++n) {
        if (isDark(horizontal ? image.pixel(n, probe) : image.pixel(probe, n)))
            dark.append(n);
    }
    QTEST(dark, "pixels");
}

QTEST_MAIN(TestScales)
#include "tst_scales.moc"
