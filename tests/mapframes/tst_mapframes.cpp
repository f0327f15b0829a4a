#include "mapview/ccolorscale.h"
#include "mapview/cscanogrammframe.h"
#include "mapview/cvectordrawframe.h"
#include "mapview/cwgtdbldigdisplay.h"
#include "mapview/cwgtdigitsdisplay.h"
#include "mapview/cwgtdisplaysdiff.h"
#include "mapview/cwgtdisplaysstd.h"
#include "mapview/cwgtextdigdisplay.h"
#include "mapview/readoutformat.h"
#include "mapview/mappalette.h"
#include "mapview/mappicture.h"
#include "mapview/scanimage.h"
#include "widgets/qscaleframe.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLCDNumber>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

Q_DECLARE_METATYPE(QPoint)

namespace {

void press(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(p), w->mapToGlobal(QPointF(p)), b, b, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void move(QWidget* w, QPoint p, Qt::MouseButtons held = Qt::LeftButton)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void release(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    QMouseEvent e(QEvent::MouseButtonRelease, QPointF(p), w->mapToGlobal(QPointF(p)), b, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void wheel(QWidget* w, int delta)
{
    QWheelEvent e(QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

std::vector<qint16> ramp(int columns, int rows)
{
    std::vector<qint16> s(size_t(columns) * size_t(rows));
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            s[size_t(c) * size_t(rows) + size_t(r)] = qint16(((c * 7 + r * 13) % 16) * 16);
    return s;
}

//! A frame on an image of 40 × 30 points zoomed to 400 × 300 pixels, shown in a 200 × 150 window,
//! answering rectangle starts the way the map view does.
struct FrameFixture
{
    ScanImage image;
    CScanogrammFrame frame;

    explicit FrameFixture(bool bAnswerSelection = true)
    {
        const auto s = ramp(40, 30);
        image.setData(s.data(), 40, 30);
        image.setGeometry(200, 150, 400, 300);
        frame.resize(200, 150);
        frame.setImage(&image);
        frame.resetLimits();
        if (bAnswerSelection) {
            QObject::connect(&frame, &CScanogrammFrame::rectangleSelectionBegun, &frame, [this](QPoint p) {
                frame.setFirstCorner(p.x(), p.y(), p.x() / 10, p.y() / 10);
                frame.setSecondCorner(p.x(), p.y(), -1, -1);
            });
        }
    }
};

QImage grabbed(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

const QRgb kWhite = qRgb(255, 255, 255);

} // namespace

class TestMapFrames : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<QPoint>(); }

    // Scan image frame
    void cornerSetters();
    void cursorClickReportsImagePixel();
    void wheelSteps_data();
    void wheelSteps();
    void rectangleDrawnAndNormalised_data();
    void rectangleDrawnAndNormalised();
    void tooSmallRectangleIsDiscarded();
    void rectangleStaysInsideVisibleImage();
    void pressOutsideImageResetsWithNotice();
    void edgesHoverAndDrag();
    void edgeCannotPassMinimumOrLeaveImage();
    void panDragClamps();
    void draggingModeOverridesCursorAndRectangles();
    void paintsImageCursorAndRectangle();
    void cursorMovesWithImageWhenPanned();
    void contextMenuOnlyWithSamples();
    void copiesComposedImageToClipboard();
    void emptyFramePaintsBlack();

    // A-scan frame
    void ascanClickOnlyWithMarkerAndSignal();
    void ascanMarkerNeedsSamplesAndClearForgetsIt();
    void ascanPaintsBarsAndMarker();
    void ascanGridFollowsResize();
    void ascanContextMenuAndClipboard();

    // Colour scale
    void colourScaleDragStopsShortOfTheEnd();
    void colourScaleSetValue();
    void colourScaleOtherButtonsClearHover();
    void colourScalePaintsThreshold();

    // Read-outs
    void readoutNumbers();
    void readoutLayouts();
    void standardGroup();
    void differenceGroup();
    void longValuesAreNotCut();
    void groupsLayOutTheirReadouts();
};

void TestMapFrames::cornerSetters()
{
    CScanogrammFrame f;
    QCOMPARE(f.secondCorner(), QPoint(-1, -1));
    QCOMPARE(f.firstCornerIndices(), QPoint(-1, -1));
    f.setSecondCorner(10, 20, 1, 2);
    f.setSecondCorner(-1, 30, -1, -1); // x kept: both negative; y: pixel given, index −1 taken
    QCOMPARE(f.secondCorner(), QPoint(10, 30));
    QCOMPARE(f.secondCornerIndices(), QPoint(1, -1));
    f.setCursorPixel(-1, 44);
    QCOMPARE(f.cursorPixel(), QPoint(10, 44));
    f.setFirstCorner(5, 6, 0, 0);
    f.setFirstCornerPixel(7, -1);
    QCOMPARE(f.firstCorner(), QPoint(7, 6));
    QSignalSpy reset(&f, &CScanogrammFrame::cursorsReseted);
    f.setMouseTracking(true);
    f.resetSelection(false);
    QCOMPARE(reset.count(), 0);
    QVERIFY(!f.hasMouseTracking());
    QCOMPARE(f.firstCorner(), QPoint(-1, -1));
    QCOMPARE(f.secondCornerIndices(), QPoint(-1, -1));
    f.resetSelection(true);
    QCOMPARE(reset.count(), 1);
}

void TestMapFrames::cursorClickReportsImagePixel()
{
    FrameFixture fx;
    QSignalSpy spy(&fx.frame, &CScanogrammFrame::cursorPositionChanged);
    press(&fx.frame, QPoint(15, 25));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toPoint(), QPoint(15, 25));
    fx.frame.setOffset(100, 40);
    press(&fx.frame, QPoint(15, 25));
    QCOMPARE(spy.at(1).at(0).toPoint(), QPoint(115, 65));
    // Other buttons do nothing.
    press(&fx.frame, QPoint(15, 25), Qt::RightButton);
    QCOMPARE(spy.count(), 2);
}

void TestMapFrames::wheelSteps_data()
{
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("steps");
    QTest::newRow("one notch") << 120 << 1;
    QTest::newRow("two notches") << 240 << 2;
    QTest::newRow("fine wheel 119") << 119 << 0;
    QTest::newRow("fine wheel 60") << 60 << 0;
    QTest::newRow("down") << -120 << -1;
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
    QTest::newRow("down right") << QPoint(10, 20) << QPoint(60, 70) << QPoint(0, 0);
    QTest::newRow("up left") << QPoint(60, 70) << QPoint(10, 20) << QPoint(0, 0);
    QTest::newRow("up right") << QPoint(10, 70) << QPoint(60, 20) << QPoint(0, 0);
    QTest::newRow("panned") << QPoint(60, 70) << QPoint(10, 20) << QPoint(150, 90);
}

void TestMapFrames::rectangleDrawnAndNormalised()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QPoint, offset);
    FrameFixture fx;
    fx.frame.setMeasuring(1);
    fx.frame.setOffset(offset.x(), offset.y());
    QSignalSpy begun(&fx.frame, &CScanogrammFrame::rectangleSelectionBegun);
    QSignalSpy selected(&fx.frame, &CScanogrammFrame::rectangleSelected);
    QSignalSpy reset(&fx.frame, &CScanogrammFrame::cursorsReseted);
    press(&fx.frame, from);
    QCOMPARE(begun.count(), 1);
    QCOMPARE(begun.at(0).at(0).toPoint(), from + offset);
    move(&fx.frame, (from + to) / 2);
    QCOMPARE(fx.frame.secondCorner(), (from + to) / 2 + offset);
    move(&fx.frame, to);
    release(&fx.frame, to);
    QCOMPARE(selected.count(), 1);
    const QPoint tl(std::min(from.x(), to.x()), std::min(from.y(), to.y()));
    const QPoint br(std::max(from.x(), to.x()), std::max(from.y(), to.y()));
    QCOMPARE(selected.at(0).at(0).toPoint(), tl + offset);
    QCOMPARE(selected.at(0).at(1).toPoint(), br + offset);
    QCOMPARE(fx.frame.firstCorner(), tl + offset);
    QCOMPARE(fx.frame.secondCorner(), br + offset);
    QCOMPARE(reset.count(), 0);
}

void TestMapFrames::tooSmallRectangleIsDiscarded()
{
    FrameFixture fx;
    fx.frame.setMeasuring(1);
    fx.frame.setMinRectSize(20, 20);
    QSignalSpy selected(&fx.frame, &CScanogrammFrame::rectangleSelected);
    QSignalSpy reset(&fx.frame, &CScanogrammFrame::cursorsReseted);
    press(&fx.frame, QPoint(10, 10));
    move(&fx.frame, QPoint(80, 25));
    release(&fx.frame, QPoint(80, 25)); // 70 wide, only 15 high
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0).at(0).toPoint(), QPoint(-1, -1));
    QCOMPARE(selected.at(0).at(1).toPoint(), QPoint(-1, -1));
    QCOMPARE(reset.count(), 0);
    // Exactly the minimum is kept.
    press(&fx.frame, QPoint(10, 10));
    release(&fx.frame, QPoint(30, 30));
    QCOMPARE(selected.at(1).at(0).toPoint(), QPoint(10, 10));
    QCOMPARE(selected.at(1).at(1).toPoint(), QPoint(30, 30));
}

void TestMapFrames::rectangleStaysInsideVisibleImage()
{
    FrameFixture fx;
    // The image is narrower than the frame: 120 × 100 pixels in a 200 × 150 window.
    fx.image.setGeometry(200, 150, 120, 100);
    fx.frame.resetLimits();
    QCOMPARE(fx.frame.xLimits(), QPoint(0, 119));
    QCOMPARE(fx.frame.yLimits(), QPoint(0, 99));
    fx.frame.setMeasuring(1);
    QSignalSpy selected(&fx.frame, &CScanogrammFrame::rectangleSelected);
    press(&fx.frame, QPoint(50, 50));
    move(&fx.frame, QPoint(190, 140));
    release(&fx.frame, QPoint(190, 140));
    QCOMPARE(selected.at(0).at(1).toPoint(), QPoint(119, 99));
    press(&fx.frame, QPoint(50, 50));
    release(&fx.frame, QPoint(-30, -40));
    QCOMPARE(selected.at(1).at(0).toPoint(), QPoint(0, 0));
    QCOMPARE(selected.at(1).at(1).toPoint(), QPoint(50, 50));
}

void TestMapFrames::pressOutsideImageResetsWithNotice()
{
    FrameFixture fx;
    fx.image.setGeometry(200, 150, 120, 100);
    fx.frame.resetLimits();
    fx.frame.setMeasuring(1);
    QSignalSpy begun(&fx.frame, &CScanogrammFrame::rectangleSelectionBegun);
    QSignalSpy reset(&fx.frame, &CScanogrammFrame::cursorsReseted);
    QSignalSpy selected(&fx.frame, &CScanogrammFrame::rectangleSelected);
    press(&fx.frame, QPoint(150, 20));
    QCOMPARE(begun.count(), 0);
    QCOMPARE(reset.count(), 1);
    move(&fx.frame, QPoint(160, 30));
    QCOMPARE(fx.frame.secondCorner(), QPoint(-1, -1));
    release(&fx.frame, QPoint(160, 30));
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0).at(0).toPoint(), QPoint(-1, -1));
}

void TestMapFrames::edgesHoverAndDrag()
{
    FrameFixture fx;
    fx.frame.setMeasuring(1);
    fx.frame.setMinRectSize(10, 10);
    QSignalSpy changed(&fx.frame, &CScanogrammFrame::rectangleBorderChanged);
    press(&fx.frame, QPoint(40, 30));
    release(&fx.frame, QPoint(120, 100));
    fx.frame.setMouseTracking(true); // the map view does this once a rectangle is finished

    move(&fx.frame, QPoint(41, 60), Qt::NoButton);
    QCOMPARE(fx.frame.hoveredEdge(), int(CScanogrammFrame::LeftEdge));
    QCOMPARE(fx.frame.cursor().shape(), Qt::SizeHorCursor);
    move(&fx.frame, QPoint(119, 60), Qt::NoButton);
    QCOMPARE(fx.frame.hoveredEdge(), int(CScanogrammFrame::RightEdge));
    move(&fx.frame, QPoint(80, 31), Qt::NoButton);
    QCOMPARE(fx.frame.hoveredEdge(), int(CScanogrammFrame::TopEdge));
    QCOMPARE(fx.frame.cursor().shape(), Qt::SizeVerCursor);
    move(&fx.frame, QPoint(80, 101), Qt::NoButton);
    QCOMPARE(fx.frame.hoveredEdge(), int(CScanogrammFrame::BottomEdge));
    move(&fx.frame, QPoint(80, 60), Qt::NoButton);
    QCOMPARE(fx.frame.hoveredEdge(), int(CScanogrammFrame::NoEdge));
    move(&fx.frame, QPoint(41, 140), Qt::NoButton); // beside the left edge, below the box
    QCOMPARE(fx.frame.hoveredEdge(), int(CScanogrammFrame::NoEdge));

    // Grab the left edge one pixel inside and drag it: it moves by the mouse's travel.
    move(&fx.frame, QPoint(41, 60), Qt::NoButton);
    press(&fx.frame, QPoint(41, 60));
    move(&fx.frame, QPoint(21, 62));
    QCOMPARE(fx.frame.firstCorner(), QPoint(20, 30));
    release(&fx.frame, QPoint(21, 62));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toPoint(), QPoint(20, 30));
    QCOMPARE(changed.at(0).at(1).toPoint(), QPoint(120, 100));
    QCOMPARE(fx.frame.xLimits(), QPoint(0, 199)); // reset after the drag

    // Bottom edge down by 15.
    move(&fx.frame, QPoint(80, 100), Qt::NoButton);
    QCOMPARE(fx.frame.hoveredEdge(), int(CScanogrammFrame::BottomEdge));
    press(&fx.frame, QPoint(80, 100));
    release(&fx.frame, QPoint(80, 115));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).toPoint(), QPoint(20, 30));
    QCOMPARE(changed.at(1).at(1).toPoint(), QPoint(120, 115));
}

void TestMapFrames::edgeCannotPassMinimumOrLeaveImage()
{
    FrameFixture fx;
    fx.frame.setMeasuring(1);
    fx.frame.setMinRectSize(10, 12);
    fx.frame.setOffset(50, 20);
    QSignalSpy changed(&fx.frame, &CScanogrammFrame::rectangleBorderChanged);
    press(&fx.frame, QPoint(40, 30));
    release(&fx.frame, QPoint(120, 100)); // image corners (90, 50) and (170, 120)
    fx.frame.setMouseTracking(true);

    // Left edge dragged far right stops minimum width short of the right edge.
    move(&fx.frame, QPoint(40, 60), Qt::NoButton);
    press(&fx.frame, QPoint(40, 60));
    move(&fx.frame, QPoint(190, 60));
    release(&fx.frame, QPoint(190, 60));
    QCOMPARE(changed.last().at(0).toPoint(), QPoint(160, 50));
    // Right edge dragged out of the window stops at its last visible pixel.
    move(&fx.frame, QPoint(120, 60), Qt::NoButton);
    QCOMPARE(fx.frame.hoveredEdge(), int(CScanogrammFrame::RightEdge));
    press(&fx.frame, QPoint(120, 60));
    move(&fx.frame, QPoint(400, 60));
    release(&fx.frame, QPoint(400, 60));
    QCOMPARE(changed.last().at(1).toPoint(), QPoint(50 + 199, 120));
    // Top edge dragged up out of the window stops at the window's top row.
    move(&fx.frame, QPoint(150, 30), Qt::NoButton);
    QCOMPARE(fx.frame.hoveredEdge(), int(CScanogrammFrame::TopEdge));
    press(&fx.frame, QPoint(150, 30));
    release(&fx.frame, QPoint(150, -50));
    QCOMPARE(changed.last().at(0).toPoint(), QPoint(160, 20));
    // Bottom edge dragged up stops minimum height under the top edge.
    move(&fx.frame, QPoint(150, 100), Qt::NoButton);
    press(&fx.frame, QPoint(150, 100));
    release(&fx.frame, QPoint(150, -50));
    QCOMPARE(changed.last().at(1).toPoint(), QPoint(249, 32));
}

void TestMapFrames::panDragClamps()
{
    FrameFixture fx; // 400 × 300 in 200 × 150: offsets 0…200 and 0…150
    fx.frame.setDraggingMode(true);
    QCOMPARE(fx.frame.cursor().shape(), Qt::OpenHandCursor);
    QSignalSpy spy(&fx.frame, &CScanogrammFrame::offsetChanged);
    press(&fx.frame, QPoint(100, 100));
    QCOMPARE(fx.frame.cursor().shape(), Qt::ClosedHandCursor);
    move(&fx.frame, QPoint(70, 60));
    QCOMPARE(spy.last().at(0).toPoint(), QPoint(30, 40));
    move(&fx.frame, QPoint(150, 180)); // would be negative
    QCOMPARE(spy.last().at(0).toPoint(), QPoint(0, 0));
    move(&fx.frame, QPoint(-500, -500));
    QCOMPARE(spy.last().at(0).toPoint(), QPoint(200, 150));
    release(&fx.frame, QPoint(90, 95));
    QCOMPARE(spy.last().at(0).toPoint(), QPoint(10, 5));
    QCOMPARE(fx.frame.offset(), QPoint(10, 5));
    QCOMPARE(fx.frame.cursor().shape(), Qt::OpenHandCursor);
    // A further drag starts from the new offset.
    press(&fx.frame, QPoint(100, 100));
    release(&fx.frame, QPoint(90, 90));
    QCOMPARE(fx.frame.offset(), QPoint(20, 15));

    // An image that fits its frame cannot be panned.
    fx.image.setGeometry(200, 150, 200, 150);
    press(&fx.frame, QPoint(100, 100));
    move(&fx.frame, QPoint(10, 10));
    QCOMPARE(spy.last().at(0).toPoint(), QPoint(0, 0));
    release(&fx.frame, QPoint(10, 10));
    fx.frame.setDraggingMode(false);
    QCOMPARE(fx.frame.cursor().shape(), Qt::ArrowCursor);
}

void TestMapFrames::draggingModeOverridesCursorAndRectangles()
{
    FrameFixture fx;
    fx.frame.setDraggingMode(true);
    QSignalSpy cursor(&fx.frame, &CScanogrammFrame::cursorPositionChanged);
    QSignalSpy begun(&fx.frame, &CScanogrammFrame::rectangleSelectionBegun);
    QSignalSpy selected(&fx.frame, &CScanogrammFrame::rectangleSelected);
    press(&fx.frame, QPoint(50, 50));
    release(&fx.frame, QPoint(50, 50));
    fx.frame.setMeasuring(1);
    press(&fx.frame, QPoint(50, 50));
    move(&fx.frame, QPoint(80, 80));
    release(&fx.frame, QPoint(80, 80));
    QCOMPARE(cursor.count(), 0);
    QCOMPARE(begun.count(), 0);
    QCOMPARE(selected.count(), 0);
}

void TestMapFrames::paintsImageCursorAndRectangle()
{
    FrameFixture fx;
    fx.frame.setCursorPixel(50, 70);
    const QImage shot = grabbed(fx.frame);
    QCOMPARE(shot.size(), QSize(200, 150));
    QCOMPARE(shot.pixel(50, 3), kWhite);
    QCOMPARE(shot.pixel(50, 149), kWhite);
    QCOMPARE(shot.pixel(3, 70), kWhite);
    QCOMPARE(shot.pixel(199, 70), kWhite);
    // Elsewhere the image's colours: pixel (20, 20) shows point (2, 2) of the 40 × 30 plane.
    const QImage display = fx.image.displayImage().convertToFormat(QImage::Format_RGB32);
    const int i = fx.image.columnAt(20), j = fx.image.rowAt(20);
    const int entry = ScanImage::paletteIndex(fx.image.sample(i, j), 0, 1.0);
    QCOMPARE(shot.pixel(20, 20), display.pixel(20, 20));
    QCOMPARE(qRed(shot.pixel(20, 20)) >> 3, qRed(MapPalette::colour(entry)) >> 3);
    QCOMPARE(qGreen(shot.pixel(20, 20)) >> 2, qGreen(MapPalette::colour(entry)) >> 2);
    QVERIFY(shot.pixel(51, 20) != kWhite || display.pixel(51, 20) == kWhite);

    // Measuring: a rectangle two pixels wide, nothing of the cursor.
    fx.frame.setMeasuring(1);
    fx.frame.setFirstCorner(30, 40, 3, 4);
    fx.frame.setSecondCorner(90, 100, 9, 10);
    const QImage rect = grabbed(fx.frame);
    QCOMPARE(rect.pixel(60, 40), kWhite);
    QCOMPARE(rect.pixel(60, 100), kWhite);
    QCOMPARE(rect.pixel(30, 70), kWhite);
    QCOMPARE(rect.pixel(90, 70), kWhite);
    QCOMPARE(rect.pixel(60, 70), display.pixel(60, 70));
    QCOMPARE(rect.pixel(50, 140), display.pixel(50, 140));
}

void TestMapFrames::cursorMovesWithImageWhenPanned()
{
    FrameFixture fx;
    fx.frame.setCursorPixel(100, 80);
    fx.frame.setOffset(40, 30);
    const QImage shot = grabbed(fx.frame);
    QCOMPARE(shot.pixel(60, 5), kWhite);
    QCOMPARE(shot.pixel(5, 50), kWhite);
    // The image moved by the same amount: widget pixel (10, 10) shows image pixel (50, 40).
    ScanImage reference;
    const auto s = ramp(40, 30);
    reference.setData(s.data(), 40, 30);
    reference.setGeometry(200, 150, 400, 300);
    reference.setOffset(40, 30);
    const QImage expected = reference.displayImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.pixel(10, 10), expected.pixel(10, 10));
    QCOMPARE(shot.pixel(150, 120), expected.pixel(150, 120));
}

void TestMapFrames::contextMenuOnlyWithSamples()
{
    ScanImage empty;
    empty.setGeometry(200, 150, 200, 150);
    CScanogrammFrame frame;
    frame.resize(200, 150);
    frame.setImage(&empty);
    frame.show();
    QContextMenuEvent e1(QContextMenuEvent::Mouse, QPoint(10, 10), frame.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&frame, &e1);
    QVERIFY(!frame.contextMenu()->isVisible());

    FrameFixture fx;
    fx.frame.show();
    QSignalSpy copy(&fx.frame, &CScanogrammFrame::copyImageToClipboard);
    QContextMenuEvent e2(QContextMenuEvent::Mouse, QPoint(10, 10), fx.frame.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&fx.frame, &e2);
    QVERIFY(fx.frame.contextMenu()->isVisible());
    QCOMPARE(fx.frame.contextMenu()->actions().size(), 1);
    QCOMPARE(fx.frame.copyAction()->text(), QStringLiteral("Copy Image To Clipboard"));
    fx.frame.copyAction()->trigger();
    QCOMPARE(copy.count(), 1);
    fx.frame.contextMenu()->hide();
}

void TestMapFrames::copiesComposedImageToClipboard()
{
    FrameFixture fx;
    fx.frame.setCursorPixel(60, 50);
    QScaleFrame vertical, horizontal;
    vertical.resize(40, 150);
    vertical.setTickLength(6);
    vertical.setRange(0.0, 0.3);
    vertical.setTicks(0.0, 0.05, 0.025);
    vertical.setName(QStringLiteral("Y"));
    vertical.setUnit(QStringLiteral("m"));
    horizontal.setPosition(1);
    horizontal.resize(200, 30);
    horizontal.setTickLength(6);
    horizontal.setRange(0.0, 0.4);
    horizontal.setTicks(0.0, 0.1, 0.05);
    horizontal.setName(QStringLiteral("X"));
    horizontal.setUnit(QStringLiteral("m"));
    const int s = vertical.width();
    QObject::connect(&fx.frame, &CScanogrammFrame::copyImageToClipboard, &fx.frame,
                     [&] { QVERIFY(fx.frame.copyToClipboard(&vertical, &horizontal, s)); });
    QApplication::clipboard()->clear();
    fx.frame.copyAction()->trigger();

    const QImage clip = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(clip.size(), QSize(200 + s + 2, 150 + s + 2));
    const QImage seen = fx.frame.visiblePicture().convertToFormat(QImage::Format_RGB32);
    const QImage part = clip.copy(s + 2, s + 2, 200, 150);
    // The picture fills the image up to its last column and row, where the outer frame lies.
    int differing = 0;
    for (int y = 0; y < 149; ++y)
        for (int x = 0; x < 199; ++x)
            differing += part.pixel(x, y) != seen.pixel(x, y);
    QCOMPARE(differing, 0);
    QCOMPARE(clip.pixel(s + 2 + 60, s + 2 + 5), kWhite); // the cursor is in the copy
    const QRgb black = qRgb(0, 0, 0);
    QCOMPARE(clip.pixel(0, 0), black);
    QCOMPARE(clip.pixel(clip.width() - 1, clip.height() - 1), black);
    QCOMPARE(clip.pixel(s + 1, s + 50), black);
    QCOMPARE(clip.pixel(s + 50, s + 1), black);
    QCOMPARE(clip.pixel(5, 5), kWhite);
    // Both strips carry their ruler: ticks at the first row and column of the picture.
    QCOMPARE(clip.pixel(s - 2, s + 2), black);
    QCOMPARE(clip.pixel(s + 2, s - 2), black);

    // An empty frame copies nothing.
    CScanogrammFrame empty;
    QVERIFY(!empty.copyToClipboard(&vertical, &horizontal, s));
}

void TestMapFrames::emptyFramePaintsBlack()
{
    CScanogrammFrame frame;
    frame.resize(50, 40);
    const QImage shot = grabbed(frame);
    QCOMPARE(shot.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(shot.pixel(49, 39), qRgb(0, 0, 0));
}

namespace {

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

} // namespace

void TestMapFrames::ascanClickOnlyWithMarkerAndSignal()
{
    AScanFixture fx;
    QSignalSpy spy(&fx.frame, &CVectorDrawFrame::cursorPositionChanged);
    press(&fx.frame, QPoint(30, 40));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toPoint(), QPoint(30, 40));
    press(&fx.frame, QPoint(30, 40), Qt::RightButton);
    QCOMPARE(spy.count(), 1);
    // Measuring mode: the map view disables the marker, and clicks do nothing.
    fx.frame.setMarkerEnabled(false);
    press(&fx.frame, QPoint(30, 40));
    QCOMPARE(spy.count(), 1);
    fx.frame.setMarkerEnabled(true);
    fx.frame.blank();
    press(&fx.frame, QPoint(30, 40));
    QCOMPARE(spy.count(), 1);
}

void TestMapFrames::ascanMarkerNeedsSamplesAndClearForgetsIt()
{
    AScanFixture fx;
    fx.frame.setMarker(30);
    QCOMPARE(fx.frame.marker(), 30);
    fx.frame.blank(); // the marker stays, the samples go
    QCOMPARE(fx.frame.marker(), 30);
    QVERIFY(!fx.frame.hasSignal());
    fx.frame.setMarker(60);
    QCOMPARE(fx.frame.marker(), 30);
    fx.frame.setSignal(fx.samples.data(), 100);
    fx.frame.clear();
    QCOMPARE(fx.frame.marker(), 0);
    QVERIFY(!fx.frame.hasSignal());
    QCOMPARE(fx.frame.plot().count(), 0);
}

void TestMapFrames::ascanPaintsBarsAndMarker()
{
    AScanFixture fx;
    fx.frame.setGridLines(false, false);
    fx.frame.setMarker(20);
    QImage shot = grabbed(fx.frame);
    const QRgb green = qRgb(0, 255, 0);
    QCOMPARE(shot.pixel(99, 50), green); // full-scale echo at its depth pixel
    QCOMPARE(shot.pixel(50, 49), qRgb(0, 0, 0));
    QCOMPARE(shot.pixel(70, 20), kWhite);
    // −6 dB: the bar ends half way.
    fx.frame.setGain(0.5);
    shot = grabbed(fx.frame);
    QCOMPARE(shot.pixel(50, 50), green);
    QCOMPARE(shot.pixel(52, 50), qRgb(0, 0, 0));
    // No marker when it is disabled.
    fx.frame.setMarkerEnabled(false);
    shot = grabbed(fx.frame);
    QCOMPARE(shot.pixel(70, 20), qRgb(0, 0, 0));
}

void TestMapFrames::ascanGridFollowsResize()
{
    AScanFixture fx;
    // 0.5 m over 100 pixels, lines every 0.1 m; after a resize to 200 the same depths.
    QCOMPARE(fx.frame.plot().gridPositions(true), std::vector<int>({0, 20, 40, 60, 80}));
    fx.frame.resize(200, 200);
    QCOMPARE(fx.frame.plot().gridPositions(true), std::vector<int>({0, 40, 80, 120, 160}));
    QCOMPARE(fx.frame.plot().gridPositions(false), std::vector<int>({0, 50, 100, 150}));
    QCOMPARE(fx.frame.plot().pixelCount(), 200);
    QCOMPARE(grabbed(fx.frame).size(), QSize(200, 200));
}

void TestMapFrames::ascanContextMenuAndClipboard()
{
    CVectorDrawFrame empty;
    empty.resize(50, 50);
    empty.show();
    QContextMenuEvent e1(QContextMenuEvent::Mouse, QPoint(5, 5), empty.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&empty, &e1);
    QVERIFY(!empty.contextMenu()->isVisible());

    AScanFixture fx;
    fx.frame.show();
    QContextMenuEvent e2(QContextMenuEvent::Mouse, QPoint(5, 5), fx.frame.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&fx.frame, &e2);
    QVERIFY(fx.frame.contextMenu()->isVisible());
    fx.frame.contextMenu()->hide();

    QScaleFrame depth;
    depth.resize(36, 100);
    depth.setTickLength(6);
    depth.setRange(0.0, 0.5);
    depth.setTicks(0.0, 0.1, 0.05);
    depth.setName(QStringLiteral("Z"));
    depth.setUnit(QStringLiteral("m"));
    QObject::connect(&fx.frame, &CVectorDrawFrame::copyImageToClipboard, &fx.frame,
                     [&] { QVERIFY(fx.frame.copyToClipboard(&depth, nullptr, depth.width())); });
    QApplication::clipboard()->clear();
    fx.frame.copyAction()->trigger();
    const QImage clip = QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    const int s = depth.width();
    QCOMPARE(clip.size(), QSize(100 + s + 2, 100 + s + 2));
    QCOMPARE(clip.pixel(s + 2 + 98, s + 2 + 50), qRgb(0, 255, 0));
    QCOMPARE(clip.pixel(s + 1, s + 40), qRgb(0, 0, 0));
    QCOMPARE(clip.pixel(s - 2, s + 2), qRgb(0, 0, 0)); // depth ruler's first tick
    QCOMPARE(clip.pixel(s + 30, 10), kWhite);           // no ruler above
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
    QVERIFY(scale.limitHovered());
    QCOMPARE(scale.cursor().shape(), Qt::SplitHCursor);
    press(&scale, QPoint(1, 20));
    move(&scale, QPoint(150, 20));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().at(0).toInt(), 50);
    move(&scale, QPoint(600, 20));
    QCOMPARE(scale.limitPosition(), 270);
    QCOMPARE(spy.last().at(0).toInt(), 90);
    move(&scale, QPoint(650, 20)); // no change, nothing emitted
    QCOMPARE(spy.count(), 2);
    release(&scale, QPoint(-30, 20));
    QCOMPARE(scale.limitPosition(), 0);
    QCOMPARE(spy.last().at(0).toInt(), 0);
    QCOMPARE(scale.value(), 0);
    // A press away from the limit drags nothing.
    move(&scale, QPoint(100, 20), Qt::NoButton);
    press(&scale, QPoint(100, 20));
    move(&scale, QPoint(200, 20));
    release(&scale, QPoint(200, 20));
    QCOMPARE(spy.count(), 3);
}

void TestMapFrames::colourScaleSetValue()
{
    CColorScale scale;
    scale.resize(301, 50);
    scale.show();
    QSignalSpy spy(&scale, &CColorScale::leftLimitChanged);
    scale.setValue(0);
    QCOMPARE(spy.count(), 0);
    scale.setValue(40);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().at(0).toInt(), 40);
    QCOMPARE(scale.limitPosition(), 120);
    scale.setValue(40);
    QCOMPARE(spy.count(), 1);
    // The limit keeps its percent through a resize.
    scale.resize(101, 50);
    QCOMPARE(scale.limitPosition(), 40);
    QCOMPARE(scale.rightMargin(), 10);
}

void TestMapFrames::colourScaleOtherButtonsClearHover()
{
    CColorScale scale;
    scale.resize(301, 50);
    scale.show();
    scale.setValue(10); // limit 30
    move(&scale, QPoint(31, 20), Qt::NoButton);
    QVERIFY(scale.limitHovered());
    press(&scale, QPoint(31, 20), Qt::RightButton);
    QVERIFY(!scale.limitHovered());
    release(&scale, QPoint(30, 20), Qt::RightButton); // the hover is looked at again
    QVERIFY(scale.limitHovered());
}

void TestMapFrames::colourScalePaintsThreshold()
{
    CColorScale scale;
    scale.resize(512, 50);
    scale.fillPaletteStrip();
    scale.setValue(30);
    const QImage shot = grabbed(scale);
    const int limit = scale.limitPosition();
    QCOMPARE(limit, 153);
    QCOMPARE(shot.pixel(limit, 10), kWhite);
    QCOMPARE(shot.pixel(20, 40), qRgb(0, 0, 0));
    QImage entry(1, 1, QImage::Format_RGB16);
    entry.setPixel(0, 0, MapPalette::colour(200));
    QCOMPARE(shot.pixel(400, 10), entry.convertToFormat(QImage::Format_RGB32).pixel(0, 0));
}

void TestMapFrames::readoutNumbers()
{
    QCOMPARE(Readout::metres(0.5), QStringLiteral("0.50"));
    QCOMPARE(Readout::metres(0.0), QStringLiteral("0.00"));
    QCOMPARE(Readout::metres(-0.001), QStringLiteral("0.00"));
    QCOMPARE(Readout::metres(-0.25), QStringLiteral("-0.25"));
    QCOMPARE(Readout::metres(12.3456), QStringLiteral("12.35"));
    QCOMPARE(Readout::whole(-7), QStringLiteral("-7"));
    QCOMPARE(Readout::reportText(QStringLiteral("X"), QStringLiteral("m"), 0.25), QStringLiteral("X, m = 0.25"));
    QCOMPARE(Readout::digitsFor(QStringLiteral("0.25"), 4), 4);
    QCOMPARE(Readout::digitsFor(QStringLiteral("105.20"), 4), 6);
}

void TestMapFrames::readoutLayouts()
{
    // Wide: maximum widths and three equal gaps.
    auto s = Readout::standardLayout(1100, 260, 320, 140, 200);
    QCOMPARE(s.width, (std::array<int, 4>{320, 320, 200, 200}));
    QCOMPARE(s.x, (std::array<int, 4>{0, 340, 680, 900}));
    // Narrower: gaps of 10 and a quarter of the spare width on each.
    s = Readout::standardLayout(900, 260, 320, 140, 200);
    QCOMPARE(s.width, (std::array<int, 4>{277, 277, 157, 157}));
    QCOMPARE(s.x, (std::array<int, 4>{0, 287, 574, 741}));
    // Below the minimum: minimum widths.
    s = Readout::standardLayout(500, 260, 320, 140, 200);
    QCOMPARE(s.width, (std::array<int, 4>{260, 260, 140, 140}));

    auto d = Readout::differenceLayout(1200, 220, 320, 140, 200);
    QCOMPARE(d.width, (std::array<int, 4>{320, 320, 320, 200}));
    QCOMPARE(d.x, (std::array<int, 4>{0, 333, 666, 999}));
    d = Readout::differenceLayout(900, 220, 320, 140, 200);
    QCOMPARE(d.width, (std::array<int, 4>{237, 237, 237, 159}));
    QCOMPARE(d.x, (std::array<int, 4>{0, 247, 494, 741}));
}

void TestMapFrames::standardGroup()
{
    CWgtDisplaysStd g;
    QCOMPARE(g.minimumWidth(), 830);
    QCOMPARE(g.height(), 40);
    QVERIFY(g.findChild<CWgtExtDigDisplay*>(QStringLiteral("wgt_displayX")));
    QVERIFY(g.findChild<CWgtDigitsDisplay*>(QStringLiteral("wgt_displayA")));
    g.setX(0.5, 3);
    g.setY(0.0, 1);
    g.setZ(0.155);
    g.setAmplitude(-12); // gains above 100 dB plus the level read negative
    QCOMPARE(g.displayX()->text(), QStringLiteral("0.50"));
    QCOMPARE(g.displayY()->text(), QStringLiteral("0.00"));
    QCOMPARE(g.displayX()->stepNumber(), 3);
    QCOMPARE(g.displayA()->text(), QStringLiteral("-12"));
    QCOMPARE(g.displayA()->property("intValue").toInt(), -12);
    QCOMPARE(g.displayX()->property("value").toDouble(), 0.5);
    const QLabel* step1 = g.displayX()->findChild<QLabel*>(QStringLiteral("lbl_stepnum1"));
    const QLabel* step2 = g.displayX()->findChild<QLabel*>(QStringLiteral("lbl_stepnum2"));
    QVERIFY(step1 && step2);
    QCOMPARE(step1->text(), QStringLiteral("Step"));
    QCOMPARE(step2->text(), QStringLiteral("Number"));
    QVERIFY(g.displayX()->findChild<QLCDNumber*>(QStringLiteral("lcd_stepnum")));

    const QList<QStringList> texts = g.reportTexts();
    QCOMPARE(texts.size(), 4);
    QCOMPARE(texts[0], QStringList({QStringLiteral("X, m = 0.50"), QStringLiteral("Step # 3")}));
    QCOMPARE(texts[1], QStringList({QStringLiteral("Y, m = 0.00"), QStringLiteral("Step # 1")}));
    QCOMPARE(texts[2].size(), 1);
    QVERIFY(texts[2][0].startsWith(QStringLiteral("Z, m = 0.1")));
    QCOMPARE(texts[3], QStringList({QStringLiteral("A, dB = -12.00")}));

    g.clear();
    QCOMPARE(g.displayX()->text(), QStringLiteral("0.00"));
    QCOMPARE(g.displayZ()->text(), QStringLiteral("0.00"));
    QCOMPARE(g.displayA()->text(), QStringLiteral("0"));
    QCOMPARE(g.displayX()->stepNumber(), 3); // position numbers are left
}

void TestMapFrames::differenceGroup()
{
    CWgtDisplaysDiff g;
    QCOMPARE(g.minimumWidth(), 830);
    g.setX(0.1, 0.25);
    g.setY(0.05, 0.5);
    g.setZ(0.02, 0.04);
    g.setAmplitude(36);
    const QString delta(QChar(0x2206));
    QCOMPARE(g.displayX()->name(1), delta + QStringLiteral("X"));
    QCOMPARE(g.displayZ()->name(0), QStringLiteral("Z"));
    QCOMPARE(g.displayY()->text(1), QStringLiteral("0.50"));
    const QList<QStringList> texts = g.reportTexts();
    QCOMPARE(texts.size(), 4);
    QCOMPARE(texts[0], QStringList({QStringLiteral("X, m = 0.10"), delta + QStringLiteral("X, m = 0.25")}));
    QCOMPARE(texts[2], QStringList({QStringLiteral("Z, m = 0.02"), delta + QStringLiteral("Z, m = 0.04")}));
    QCOMPARE(texts[3], QStringList({QStringLiteral("A, dB = 36.00")}));
    g.clear();
    QCOMPARE(g.displayX()->text(1), QStringLiteral("0.00"));
    QCOMPARE(g.displayA()->text(), QStringLiteral("0"));
    for (const char* name : {"lbl_value1", "lcd_value1", "lbl_units1", "lbl_value2", "lcd_value2", "lbl_units2"})
        QVERIFY2(g.displayX()->findChild<QWidget*>(QString::fromLatin1(name)), name);
}

void TestMapFrames::longValuesAreNotCut()
{
    // A 4-digit display keeps the last digits of a longer text: 12.35 m would read 2.35.
    CWgtDigitsDisplay d;
    auto* lcd = d.findChild<QLCDNumber*>(QStringLiteral("lcd_value"));
    QVERIFY(lcd);
    QCOMPARE(lcd->digitCount(), 4);
    d.setValue(12.346);
    QCOMPARE(d.text(), QStringLiteral("12.35"));
    QCOMPARE(lcd->digitCount(), 5);
    QCOMPARE(lcd->value(), 12.35);
    d.setValue(0.5);
    QCOMPARE(lcd->digitCount(), 4);
    CWgtExtDigDisplay e;
    e.setStepNumber(1234);
    QCOMPARE(e.findChild<QLCDNumber*>(QStringLiteral("lcd_stepnum"))->digitCount(), 4);
}

void TestMapFrames::groupsLayOutTheirReadouts()
{
    CWgtDisplaysStd std;
    std.resize(900, 40);
    std.show();
    QCOMPARE(std.displayY()->geometry(), QRect(287, 0, 277, 40));
    QCOMPARE(std.displayA()->geometry(), QRect(741, 0, 157, 40));
    CWgtDisplaysDiff diff;
    diff.resize(1200, 40);
    diff.show();
    QCOMPARE(diff.displayZ()->geometry(), QRect(666, 0, 320, 40));
    QCOMPARE(diff.displayA()->geometry(), QRect(999, 0, 200, 40));
}

QTEST_MAIN(TestMapFrames)
#include "tst_mapframes.moc"
