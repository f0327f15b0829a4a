// The map view's frames alone, at their limits; what the whole view shows is tests/mapview's.

#include "common/windowfixture.h"
#include "mapview/ccolorscale.h"
#include "mapview/cscanogrammframe.h"
#include "mapview/cvectordrawframe.h"
#include "mapview/cwgtdigitsdisplay.h"
#include "mapview/readoutformat.h"
#include "mapview/scanimage.h"
#include "widgets/qscaleframe.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLCDNumber>
#include <QMenu>
#include <QSignalSpy>

using namespace TestInput;

namespace {

bool contextMenuOpens(QWidget* w, QMenu* menu)
{
    w->show();
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w, &e);
    const bool bOpen = menu->isVisible();
    menu->hide();
    return bOpen;
}

std::vector<qint16> ramp(int columns, int rows)
{
    std::vector<qint16> s(size_t(columns) * size_t(rows));
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            s[size_t(c) * size_t(rows) + size_t(r)] = qint16(((c * 7 + r * 13) % 16) * 16);
    return s;
}

//! 40 × 30 points zoomed to 400 × 300 pixels in a 200 × 150 frame, answering as the map view does.
struct FrameFixture
{
    ScanImage image;
    CScanogrammFrame frame;

    explicit FrameFixture(int iMeasuring = 0)
    {
        const auto s = ramp(40, 30);
        image.setData(s.data(), 40, 30);
        image.setGeometry(200, 150, 400, 300);
        frame.resize(200, 150);
        frame.setImage(&image);
        frame.resetLimits();
        frame.setMeasuring(iMeasuring);
        QObject::connect(&frame, &CScanogrammFrame::rectangleSelectionBegun, &frame, [this](QPoint p) {
            frame.setFirstCorner(p.x(), p.y(), p.x() / 10, p.y() / 10);
            frame.setSecondCorner(p.x(), p.y(), -1, -1);
        });
    }
};

//! An A-scan of 100 samples with one full-scale echo at sample 50, in a 100 × 100 frame.
struct AScanFixture
{
    std::vector<qint16> samples;
    CVectorDrawFrame frame;

    AScanFixture()
        : samples(100, 0)
    {
        samples[50] = 511;
        frame.resize(100, 100);
        frame.setAmplitudeRange(0, 511);
        frame.setAmplitudeAxis(0.0, 100.0, 0.0, 25.0);
        frame.setSignalAxis(0.0, 0.5, 0.0, 0.1);
        frame.setSignal(samples.data(), int(samples.size()));
    }
};

void setUpRuler(QScaleFrame& ruler, QSize size, double end, double step, const char* name, int position = 0)
{
    ruler.setPosition(position);
    ruler.resize(size);
    ruler.setTickLength(6);
    ruler.setRange(0.0, end);
    ruler.setTicks(0.0, step, step / 2);
    ruler.setName(QString::fromLatin1(name));
    ruler.setUnit(QStringLiteral("m"));
}

QImage grabbed(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);

} // namespace

class TestMapFrames : public QObject
{
    Q_OBJECT

private slots:
    void wheelSteps_data();
    void wheelSteps();
    void rectangleDrawnAndNormalised_data();
    void rectangleDrawnAndNormalised();
    void edgesHoverAndDrag();
    void panDragClamps();
    void paintsPannedImageCursorAndRectangle();
    void copiesComposedImageToClipboard();
    void ascanPaintsBarsAndMarker();
    void colourScaleDragStopsShortOfTheEnd();
    void readoutsKeepEveryDigit();
};

void TestMapFrames::wheelSteps_data()
{
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("steps");
    QTest::newRow("fine wheel 119") << 119 << 0;
    QTest::newRow("down 239 towards zero") << -239 << -1;
}

void TestMapFrames::wheelSteps()
{
    QFETCH(int, delta);
    QFETCH(int, steps);
    FrameFixture fx;
    QSignalSpy spy(&fx.frame, &CScanogrammFrame::mouseWheelScrolled);
    wheel(&fx.frame, delta);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), steps);
}

void TestMapFrames::rectangleDrawnAndNormalised_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QRect>("selected"); // corners in image pixels; none when discarded
    const QSize big(400, 300), narrow(120, 100); // narrow: smaller than the 200 × 150 frame
    const QRect box(QPoint(10, 20), QPoint(60, 70));
    QTest::newRow("up right, panned") << QPoint(10, 70) << QPoint(60, 20) << QPoint(150, 90) << 0 << big
                                      << box.translated(150, 90);
    QTest::newRow("exactly the minimum") << QPoint(10, 10) << QPoint(30, 30) << QPoint(0, 0) << 20 << big
                                         << QRect(QPoint(10, 10), QPoint(30, 30));
    QTest::newRow("too low: discarded") << QPoint(10, 10) << QPoint(80, 25) << QPoint(0, 0) << 20 << big
                                        << QRect(QPoint(-1, -1), QPoint(-1, -1));
    QTest::newRow("past the image's end") << QPoint(50, 50) << QPoint(190, 140) << QPoint(0, 0) << 0 << narrow
                                          << QRect(QPoint(50, 50), QPoint(119, 99));
    QTest::newRow("before its start") << QPoint(50, 50) << QPoint(-30, -40) << QPoint(0, 0) << 0 << narrow
                                      << QRect(QPoint(0, 0), QPoint(50, 50));
    // A press beside the image tells the view to reset; the drag and release make nothing.
    QTest::newRow("pressed beside the image") << QPoint(150, 20) << QPoint(160, 30) << QPoint(0, 0) << 0 << narrow
                                              << QRect(QPoint(-1, -1), QPoint(-1, -1));
}

void TestMapFrames::rectangleDrawnAndNormalised()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QPoint, offset);
    QFETCH(int, minimum);
    QFETCH(QSize, image);
    QFETCH(QRect, selected);
    FrameFixture fx(1);
    fx.image.setGeometry(200, 150, image.width(), image.height());
    fx.frame.resetLimits();
    fx.frame.setMinRectSize(minimum, minimum);
    fx.frame.setOffset(offset.x(), offset.y());
    QSignalSpy begun(&fx.frame, &CScanogrammFrame::rectangleSelectionBegun);
    QSignalSpy done(&fx.frame, &CScanogrammFrame::rectangleSelected);
    QSignalSpy reset(&fx.frame, &CScanogrammFrame::cursorsReseted);
    press(&fx.frame, from);
    const bool bOnImage = from.x() < image.width();
    QCOMPARE(reset.count(), bOnImage ? 0 : 1);
    QCOMPARE(begun.value(0).value(0).toPoint(), bOnImage ? from + offset : QPoint());
    move(&fx.frame, (from + to) / 2);
    if (image.width() > 200 || !bOnImage)
        QCOMPARE(fx.frame.secondCorner(), bOnImage ? (from + to) / 2 + offset : QPoint(-1, -1));
    move(&fx.frame, to);
    release(&fx.frame, to);
    QCOMPARE(done.count(), 1);
    QCOMPARE(done.at(0).at(0).toPoint(), selected.topLeft());
    QCOMPARE(done.at(0).at(1).toPoint(), selected.bottomRight());
}

void TestMapFrames::edgesHoverAndDrag()
{
    FrameFixture fx(1);
    fx.frame.setMinRectSize(10, 12);
    QSignalSpy changed(&fx.frame, &CScanogrammFrame::rectangleBorderChanged);
    press(&fx.frame, QPoint(40, 30));
    release(&fx.frame, QPoint(120, 100));
    fx.frame.setMouseTracking(true); // the map view does this once a rectangle is finished

    // An edge is found one pixel inside it; the inside and a point off the box are no edge.
    const struct { QPoint at; int edge; Qt::CursorShape shape; } hovers[] = {
        {{41, 60}, CScanogrammFrame::LeftEdge, Qt::SizeHorCursor},
        {{80, 101}, CScanogrammFrame::BottomEdge, Qt::SizeVerCursor},
        {{80, 60}, CScanogrammFrame::NoEdge, Qt::ArrowCursor},
        {{41, 140}, CScanogrammFrame::NoEdge, Qt::ArrowCursor},
    };
    for (const auto& h : hovers) {
        move(&fx.frame, h.at, Qt::NoButton);
        QCOMPARE(fx.frame.hoveredEdge(), h.edge);
        if (h.edge != CScanogrammFrame::NoEdge)
            QCOMPARE(fx.frame.cursor().shape(), h.shape);
    }
    // The left edge grabbed one pixel inside moves by the mouse's travel.
    drag(&fx.frame, QPoint(41, 60), QPoint(21, 62));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toPoint(), QPoint(20, 30));
    QCOMPARE(changed.at(0).at(1).toPoint(), QPoint(120, 100));
    QCOMPARE(fx.frame.xLimits(), QPoint(0, 199)); // reset after the drag
    drag(&fx.frame, QPoint(80, 100), QPoint(80, 115));
    QCOMPARE(changed.at(1).at(0).toPoint(), QPoint(20, 30));
    QCOMPARE(changed.at(1).at(1).toPoint(), QPoint(120, 115));
    // Left edge far right: stops the minimum width short of the right edge.
    drag(&fx.frame, QPoint(20, 60), QPoint(190, 60));
    QCOMPARE(changed.last().at(0).toPoint(), QPoint(110, 30));
    // Right edge out of the window: stops at its last visible pixel.
    drag(&fx.frame, QPoint(120, 60), QPoint(400, 60));
    QCOMPARE(changed.last().at(1).toPoint(), QPoint(199, 115));
    // Top edge up out of the window: stops at the window's top row.
    drag(&fx.frame, QPoint(150, 30), QPoint(150, -50));
    QCOMPARE(changed.last().at(0).toPoint(), QPoint(110, 0));
    // Bottom edge up: stops the minimum height under the top edge.
    drag(&fx.frame, QPoint(150, 115), QPoint(150, -50));
    QCOMPARE(changed.last().at(1).toPoint(), QPoint(199, 12));
    QCOMPARE(changed.count(), 6);
}

// In dragging mode a drag pans within the image's limits; no cursor or rectangle follows.
void TestMapFrames::panDragClamps()
{
    FrameFixture fx(1); // 400 × 300 in 200 × 150: offsets 0…200 and 0…150
    fx.frame.setDraggingMode(true);
    QCOMPARE(fx.frame.cursor().shape(), Qt::OpenHandCursor);
    QSignalSpy spy(&fx.frame, &CScanogrammFrame::offsetChanged);
    QSignalSpy others(&fx.frame, &CScanogrammFrame::rectangleSelectionBegun);
    press(&fx.frame, QPoint(100, 100));
    QCOMPARE(fx.frame.cursor().shape(), Qt::ClosedHandCursor);
    move(&fx.frame, QPoint(70, 60));
    QCOMPARE(spy.last().at(0).toPoint(), QPoint(30, 40));
    move(&fx.frame, QPoint(150, 180)); // would be negative
    QCOMPARE(spy.last().at(0).toPoint(), QPoint(0, 0));
    move(&fx.frame, QPoint(-500, -500));
    QCOMPARE(spy.last().at(0).toPoint(), QPoint(200, 150));
    release(&fx.frame, QPoint(90, 95));
    QCOMPARE(fx.frame.offset(), QPoint(10, 5));
    // A further drag starts from the new offset.
    drag(&fx.frame, QPoint(100, 100), QPoint(90, 90));
    QCOMPARE(fx.frame.offset(), QPoint(20, 15));
    QCOMPARE(others.count(), 0);
}

void TestMapFrames::paintsPannedImageCursorAndRectangle()
{
    FrameFixture fx;
    fx.frame.setCursorPixel(100, 80);
    fx.frame.setOffset(40, 30);
    // The cursor lines cross the frame at the panned pixel; elsewhere the panned image's colours.
    const QImage shot = grabbed(fx.frame);
    for (const QPoint p : {QPoint(60, 3), QPoint(60, 149), QPoint(3, 50), QPoint(199, 50)})
        QCOMPARE(shot.pixel(p), kWhite);
    fx.image.setOffset(40, 30);
    const QImage expected = fx.image.displayImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.pixel(150, 120), expected.pixel(150, 120));
    // A click on the panned image gives the image's pixel; other buttons do nothing.
    QSignalSpy clicked(&fx.frame, &CScanogrammFrame::cursorPositionChanged);
    press(&fx.frame, QPoint(15, 25));
    press(&fx.frame, QPoint(15, 25), Qt::RightButton);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toPoint(), QPoint(55, 55));

    // Measuring: a rectangle two pixels wide, nothing of the cursor.
    FrameFixture measuring(1);
    const QImage display = measuring.image.displayImage().convertToFormat(QImage::Format_RGB32);
    measuring.frame.setFirstCorner(30, 40, 3, 4);
    measuring.frame.setSecondCorner(90, 100, 9, 10);
    const QImage rect = grabbed(measuring.frame);
    for (const QPoint p : {QPoint(60, 40), QPoint(60, 100), QPoint(30, 70), QPoint(90, 70)})
        QCOMPARE(rect.pixel(p), kWhite);
    QCOMPARE(rect.pixel(60, 70), display.pixel(60, 70));
}

void TestMapFrames::copiesComposedImageToClipboard()
{
    FrameFixture fx;
    QVERIFY(contextMenuOpens(&fx.frame, fx.frame.contextMenu()));
    fx.frame.setCursorPixel(60, 50);
    QScaleFrame vertical, horizontal;
    setUpRuler(vertical, QSize(40, 150), 0.3, 0.05, "Y");
    setUpRuler(horizontal, QSize(200, 30), 0.4, 0.1, "X", 1);
    const int s = vertical.width();
    QObject::connect(&fx.frame, &CScanogrammFrame::copyImageToClipboard, &fx.frame,
                     [&] { QVERIFY(fx.frame.copyToClipboard(&vertical, &horizontal, s)); });
    QApplication::clipboard()->clear();
    fx.frame.copyAction()->trigger();
    const QImage clip = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(clip.size(), QSize(200 + s + 2, 150 + s + 2));
    const QImage seen = fx.frame.visiblePicture().convertToFormat(QImage::Format_RGB32);
    // The picture fills the image up to its last column and row, where the outer frame lies.
    QCOMPARE(clip.copy(s + 2, s + 2, 199, 149), seen.copy(0, 0, 199, 149));
    QCOMPARE(clip.pixel(s + 2 + 60, s + 2 + 5), kWhite); // the cursor is in the copy
    for (const QPoint p : {QPoint(0, 0), QPoint(clip.width() - 1, clip.height() - 1), QPoint(s + 1, s + 50)})
        QCOMPARE(clip.pixel(p), kBlack);
    // Both strips carry their ruler: ticks at the first row and column of the picture.
    QCOMPARE(clip.pixel(s - 2, s + 2), kBlack);
    QCOMPARE(clip.pixel(s + 2, s - 2), kBlack);

    // The A-scan frame copies with its depth ruler alone.
    AScanFixture ascan;
    QScaleFrame depth;
    setUpRuler(depth, QSize(36, 100), 0.5, 0.1, "Z");
    QObject::connect(&ascan.frame, &CVectorDrawFrame::copyImageToClipboard, &ascan.frame,
                     [&] { QVERIFY(ascan.frame.copyToClipboard(&depth, nullptr, depth.width())); });
    ascan.frame.copyAction()->trigger();
    const QImage aclip = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    const int d = depth.width();
    QCOMPARE(aclip.size(), QSize(100 + d + 2, 100 + d + 2));
    QCOMPARE(aclip.pixel(d - 2, d + 2), kBlack); // depth ruler's first tick
    QCOMPARE(aclip.pixel(d + 30, 10), kWhite);   // no ruler above
}

// The bar halved at −6 dB; a click reports only with the marker and a signal; grid after resize.
void TestMapFrames::ascanPaintsBarsAndMarker()
{
    AScanFixture fx;
    fx.frame.setGridLines(false, false);
    fx.frame.setMarker(20);
    QImage shot = grabbed(fx.frame);
    QCOMPARE(shot.pixel(70, 20), kWhite);
    fx.frame.setGain(0.5);
    shot = grabbed(fx.frame);
    QCOMPARE(shot.pixel(50, 50), kGreen);
    QCOMPARE(shot.pixel(52, 50), kBlack);
    QSignalSpy spy(&fx.frame, &CVectorDrawFrame::cursorPositionChanged);
    press(&fx.frame, QPoint(30, 40));
    QCOMPARE(spy.count(), 1);
    fx.frame.setMarkerEnabled(false); // measuring mode
    QCOMPARE(grabbed(fx.frame).pixel(70, 20), kBlack);
    press(&fx.frame, QPoint(30, 40));
    fx.frame.setMarkerEnabled(true);
    fx.frame.blank();
    press(&fx.frame, QPoint(30, 40));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(grabbed(fx.frame).pixel(50, 50), kBlack);
    CVectorDrawFrame empty;
    empty.resize(50, 50);
    QVERIFY(!contextMenuOpens(&empty, empty.contextMenu()));

    // 0.5 m over 100 pixels, lines every 0.1 m; after a resize to 200 the same depths.
    QCOMPARE(fx.frame.plot().gridPositions(true), std::vector<int>({0, 20, 40, 60, 80}));
    fx.frame.resize(200, 200);
    QCOMPARE(fx.frame.plot().gridPositions(true), std::vector<int>({0, 40, 80, 120, 160}));
    QCOMPARE(fx.frame.plot().gridPositions(false), std::vector<int>({0, 50, 100, 150}));
}

void TestMapFrames::colourScaleDragStopsShortOfTheEnd()
{
    CColorScale scale;
    scale.resize(301, 50);
    scale.show();
    scale.fillPaletteStrip();
    QCOMPARE(scale.rightMargin(), 30);
    QSignalSpy spy(&scale, &CColorScale::leftLimitChanged);
    move(&scale, QPoint(40, 20), Qt::NoButton);
    QVERIFY(!scale.limitHovered());
    move(&scale, QPoint(1, 20), Qt::NoButton);
    QCOMPARE(scale.cursor().shape(), Qt::SplitHCursor);
    press(&scale, QPoint(1, 20));
    move(&scale, QPoint(150, 20));
    QCOMPARE(spy.last().at(0).toInt(), 50);
    move(&scale, QPoint(600, 20));
    QCOMPARE(scale.limitPosition(), 270);
    QCOMPARE(spy.last().at(0).toInt(), 90);
    move(&scale, QPoint(650, 20)); // no change, nothing emitted
    QCOMPARE(spy.count(), 2);
    release(&scale, QPoint(-30, 20));
    QCOMPARE(scale.limitPosition(), 0);
    QCOMPARE(scale.value(), 0);
    // A press away from the limit drags nothing.
    drag(&scale, QPoint(100, 20), QPoint(200, 20));
    QCOMPARE(spy.count(), 3);

    // Set by the view: kept in percent through a resize, drawn white over the palette.
    scale.resize(512, 50);
    scale.setValue(30);
    QCOMPARE(scale.limitPosition(), 153);
    const QImage shot = grabbed(scale);
    QCOMPARE(shot.pixel(153, 10), kWhite);
    QCOMPARE(shot.pixel(20, 40), kBlack);
}

// Metres without a minus zero; a long value widens its display instead of losing its first digits.
void TestMapFrames::readoutsKeepEveryDigit()
{
    QCOMPARE(Readout::metres(-0.001), QStringLiteral("0.00"));
    CWgtDigitsDisplay d;
    auto* lcd = child<QLCDNumber>(&d, "lcd_value");
    QCOMPARE(lcd->digitCount(), 4);
    d.setValue(12.346);
    QCOMPARE(lcd->digitCount(), 5);
    QCOMPARE(lcd->value(), 12.35);
    d.setValue(0.5);
    QCOMPARE(lcd->digitCount(), 4);
}

QTEST_MAIN(TestMapFrames)
#include "tst_mapframes.moc"
