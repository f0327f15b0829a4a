#include "mapview/cscanogrammframe.h"

#include "mapview/mappalette.h"
#include "mapview/mappicture.h"
#include "mapview/scanimage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace {

// Unlike std::clamp this tolerates an empty range (hi < lo), as limits of an empty image are.
int clampTo(int v, int lo, int hi)
{
    return std::max(lo, std::min(v, hi));
}

} // namespace

CScanogrammFrame::CScanogrammFrame(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_pMenu = new QMenu(this);
    m_pCopyAction = new QAction(this);
    m_pCopyAction->setObjectName(QStringLiteral("act_copyImage"));
    m_pMenu->addAction(m_pCopyAction);
    connect(m_pCopyAction, &QAction::triggered, this, &CScanogrammFrame::copyImageToClipboard);
    retranslate();
}

CScanogrammFrame::~CScanogrammFrame() = default;

void CScanogrammFrame::retranslate()
{
    m_pCopyAction->setText(tr("Copy Image To Clipboard"));
}

void CScanogrammFrame::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void CScanogrammFrame::setImage(ScanImage* pImage)
{
    m_pImage = pImage;
    resetLimits();
    update();
}

void CScanogrammFrame::setSecondCorner(int px, int py, int ix, int iy)
{
    if (px >= 0 || ix >= 0) {
        m_second.setX(px);
        m_secondIdx.setX(ix);
    }
    if (py >= 0 || iy >= 0) {
        m_second.setY(py);
        m_secondIdx.setY(iy);
    }
}

void CScanogrammFrame::setFirstCorner(int px, int py, int ix, int iy)
{
    if (px >= 0 || ix >= 0) {
        m_first.setX(px);
        m_firstIdx.setX(ix);
    }
    if (py >= 0 || iy >= 0) {
        m_first.setY(py);
        m_firstIdx.setY(iy);
    }
}

void CScanogrammFrame::setCursorPixel(int px, int py)
{
    if (px >= 0)
        m_second.setX(px);
    if (py >= 0)
        m_second.setY(py);
}

void CScanogrammFrame::setFirstCornerPixel(int px, int py)
{
    if (px >= 0)
        m_first.setX(px);
    if (py >= 0)
        m_first.setY(py);
}

void CScanogrammFrame::resetSelection(bool bNotify)
{
    setMouseTracking(false);
    m_bEdgeHover = false;
    m_iEdge = NoEdge;
    m_iDragEdge = NoEdge;
    m_pDraggedCorner = nullptr;
    m_iDragDelta = 0;
    m_first = m_firstIdx = m_second = m_secondIdx = QPoint(-1, -1);
    if (!m_bDragging)
        unsetCursor();
    update();
    if (bNotify)
        emit cursorsReseted();
}

void CScanogrammFrame::setMeasuring(int iMeasuring)
{
    m_iMeasuring = iMeasuring;
    update();
}

void CScanogrammFrame::setOffset(int x, int y)
{
    m_offset = QPoint(x, y);
    update();
}

void CScanogrammFrame::setMinRectSize(int w, int h)
{
    m_minSize = QSize(w, h);
}

void CScanogrammFrame::setDraggingMode(bool bOn)
{
    m_bDragging = bOn;
    m_bPanning = false;
    if (bOn)
        setCursor(Qt::OpenHandCursor);
    else
        unsetCursor();
}

int CScanogrammFrame::visibleWidth() const
{
    return m_pImage ? std::min(m_pImage->targetWidth(), m_pImage->frameWidth()) : 0;
}

int CScanogrammFrame::visibleHeight() const
{
    return m_pImage ? std::min(m_pImage->targetHeight(), m_pImage->frameHeight()) : 0;
}

void CScanogrammFrame::resetLimits()
{
    m_xLimits = QPoint(0, visibleWidth() - 1);
    m_yLimits = QPoint(0, visibleHeight() - 1);
}

// ---- painting ----

void CScanogrammFrame::drawOverlay(QImage& picture, const QPoint& offset) const
{
    QPainter painter(&picture);
    painter.translate(-offset);
    drawMarks(painter);
    if (m_iMeasuring == 0) {
        if (m_second.x() < 0 && m_second.y() < 0)
            return;
        painter.setPen(QPen(m_penColour, 0));
        // In image coordinates, so the lines move with the image when it is panned.
        if (m_second.x() >= 0)
            painter.drawLine(m_second.x(), offset.y(), m_second.x(), offset.y() + picture.height() - 1);
        if (m_second.y() >= 0)
            painter.drawLine(offset.x(), m_second.y(), offset.x() + picture.width() - 1, m_second.y());
        return;
    }
    const bool firstSet = m_first.x() >= 0 || m_first.y() >= 0;
    const bool secondSet = m_second.x() >= 0 || m_second.y() >= 0;
    if (!firstSet || !secondSet)
        return;
    painter.setPen(QPen(m_penColour, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    if (m_first == m_second) {
        painter.drawPoint(m_first);
        return;
    }
    const QPoint a = m_first, b = m_second;
    painter.drawLine(a.x(), a.y(), b.x(), a.y());
    painter.drawLine(b.x(), a.y(), b.x(), b.y());
    painter.drawLine(b.x(), b.y(), a.x(), b.y());
    painter.drawLine(a.x(), b.y(), a.x(), a.y());
}

void CScanogrammFrame::drawMarks(QPainter& painter) const
{
    if (m_marks.empty())
        return;
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    for (const Mark& m : m_marks) {
        const int r = m.selected ? kSelectedMarkRadius : kMarkRadius;
        // A dark outline keeps ring and number readable on the light end of the palette too.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawEllipse(m.pixel, r + 2, r + 2);
        painter.setPen(QPen(markColour(), 2));
        painter.drawEllipse(m.pixel, r, r);
        const QString text = QString::number(m.number);
        const QPoint at = m.pixel + QPoint(r + 3, -r);
        painter.setPen(Qt::black);
        painter.drawText(at + QPoint(1, 1), text);
        painter.setPen(markColour());
        painter.drawText(at, text);
    }
    painter.restore();
}

QImage CScanogrammFrame::visiblePicture() const
{
    if (!m_pImage)
        return QImage();
    m_pImage->setOffset(m_offset);
    const QImage& display = m_pImage->displayImage();
    if (display.isNull())
        return QImage();
    QImage picture = display.copy();
    if (picture.isNull())
        return QImage();
    drawOverlay(picture, m_pImage->offset());
    return picture;
}

void CScanogrammFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage picture = visiblePicture();
    const QColor background = QColor::fromRgb(MapPalette::colour(0));
    if (picture.isNull()) {
        painter.fillRect(rect(), background);
        return;
    }
    painter.drawImage(0, 0, picture);
    // Whatever of the widget the picture does not cover.
    if (picture.width() < width())
        painter.fillRect(picture.width(), 0, width() - picture.width(), height(), background);
    if (picture.height() < height())
        painter.fillRect(0, picture.height(), picture.width(), height() - picture.height(), background);
}

QImage CScanogrammFrame::composedImage(const QAbstractScale* pVertical, const QAbstractScale* pHorizontal,
                                       int iScaleThickness) const
{
    return MapPicture::compose(visiblePicture(), pVertical, pHorizontal, iScaleThickness);
}

bool CScanogrammFrame::copyToClipboard(const QAbstractScale* pVertical, const QAbstractScale* pHorizontal,
                                       int iScaleThickness) const
{
    const QImage image = composedImage(pVertical, pHorizontal, iScaleThickness);
    if (image.isNull())
        return false;
    QApplication::clipboard()->setImage(image);
    return true;
}

// ---- mouse ----

QPoint CScanogrammFrame::dragOffset(const QPoint& mouse) const
{
    const int maxX = m_pImage ? std::max(0, m_pImage->targetWidth() - m_pImage->frameWidth()) : 0;
    const int maxY = m_pImage ? std::max(0, m_pImage->targetHeight() - m_pImage->frameHeight()) : 0;
    const QPoint p = m_dragOrigin - mouse;
    return QPoint(clampTo(p.x(), 0, maxX), clampTo(p.y(), 0, maxY));
}

void CScanogrammFrame::placeSecondCorner(const QPoint& mouse)
{
    m_second = QPoint(clampTo(mouse.x(), m_xLimits.x(), m_xLimits.y()) + m_offset.x(),
                      clampTo(mouse.y(), m_yLimits.x(), m_yLimits.y()) + m_offset.y());
}

void CScanogrammFrame::moveDraggedEdge(const QPoint& mouse)
{
    if (!m_pDraggedCorner)
        return;
    if (m_iDragEdge == LeftEdge || m_iDragEdge == RightEdge)
        m_pDraggedCorner->setX(clampTo(mouse.x() + m_iDragDelta, m_xLimits.x(), m_xLimits.y()) + m_offset.x());
    else
        m_pDraggedCorner->setY(clampTo(mouse.y() + m_iDragDelta, m_yLimits.x(), m_yLimits.y()) + m_offset.y());
}

void CScanogrammFrame::updateHover(const QPoint& mouse)
{
    const QPoint q = mouse + m_offset;
    int edge = NoEdge;
    if (m_first.y() - 2 < q.y() && q.y() < m_second.y() + 2) {
        if (std::abs(q.x() - m_first.x()) < 2)
            edge = LeftEdge;
        else if (std::abs(q.x() - m_second.x()) < 2)
            edge = RightEdge;
    }
    if (edge == NoEdge && m_first.x() - 2 < q.x() && q.x() < m_second.x() + 2) {
        if (std::abs(q.y() - m_first.y()) < 2)
            edge = TopEdge;
        else if (std::abs(q.y() - m_second.y()) < 2)
            edge = BottomEdge;
    }
    m_iEdge = edge;
    m_bEdgeHover = edge != NoEdge;
    if (edge == LeftEdge || edge == RightEdge)
        setCursor(Qt::SizeHorCursor);
    else if (edge != NoEdge)
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
}

void CScanogrammFrame::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    const QPoint mouse = event->position().toPoint();
    if (m_bDragging) {
        m_bPanning = true;
        m_dragOrigin = m_offset + mouse;
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (m_iMeasuring == 0) {
        emit cursorPositionChanged(mouse + m_offset);
        return;
    }
    if (m_bEdgeHover && m_iEdge != NoEdge) {
        switch (m_iEdge) {
        case LeftEdge:
            m_xLimits = QPoint(0, m_second.x() - m_minSize.width() - m_offset.x());
            m_pDraggedCorner = &m_first;
            m_iDragDelta = m_first.x() - m_offset.x() - mouse.x();
            break;
        case RightEdge:
            m_xLimits = QPoint(m_first.x() + m_minSize.width() - m_offset.x(), visibleWidth() - 1);
            m_pDraggedCorner = &m_second;
            m_iDragDelta = m_second.x() - m_offset.x() - mouse.x();
            break;
        case TopEdge:
            m_yLimits = QPoint(0, m_second.y() - m_minSize.height() - m_offset.y());
            m_pDraggedCorner = &m_first;
            m_iDragDelta = m_first.y() - m_offset.y() - mouse.y();
            break;
        default:
            m_yLimits = QPoint(m_first.y() + m_minSize.height() - m_offset.y(), visibleHeight() - 1);
            m_pDraggedCorner = &m_second;
            m_iDragDelta = m_second.y() - m_offset.y() - mouse.y();
            break;
        }
        m_iDragEdge = m_iEdge;
        return;
    }
    if (mouse.x() >= m_xLimits.x() && mouse.x() <= m_xLimits.y() && mouse.y() >= m_yLimits.x()
        && mouse.y() <= m_yLimits.y()) {
        resetSelection(false);
        emit rectangleSelectionBegun(mouse + m_offset);
    } else {
        resetSelection(true);
    }
}

void CScanogrammFrame::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint mouse = event->position().toPoint();
    const bool left = event->buttons() & Qt::LeftButton;
    if (m_bDragging) {
        if (left && m_bPanning) {
            m_offset = dragOffset(mouse);
            update();
            emit offsetChanged(m_offset);
        }
        return;
    }
    if (m_iMeasuring == 0)
        return;
    if (left) {
        if (m_pDraggedCorner) {
            moveDraggedEdge(mouse);
            update();
        } else if (firstCornerSet()) {
            placeSecondCorner(mouse);
            update();
        }
        return;
    }
    if (event->buttons() == Qt::NoButton && hasMouseTracking())
        updateHover(mouse);
}

void CScanogrammFrame::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint mouse = event->position().toPoint();
    if (event->button() != Qt::LeftButton) {
        if (!m_bDragging && m_iMeasuring != 0 && hasMouseTracking())
            updateHover(mouse);
        QFrame::mouseReleaseEvent(event);
        return;
    }
    if (m_bDragging) {
        if (!m_bPanning)
            return;
        m_offset = dragOffset(mouse);
        m_bPanning = false;
        setCursor(Qt::OpenHandCursor);
        m_dragOrigin = QPoint();
        update();
        emit offsetChanged(m_offset);
        return;
    }
    if (m_iMeasuring == 0)
        return;
    if (m_pDraggedCorner) {
        moveDraggedEdge(mouse);
        m_pDraggedCorner = nullptr;
        m_iDragDelta = 0;
        m_iDragEdge = NoEdge;
        resetLimits();
        updateHover(mouse);
        update();
        emit rectangleBorderChanged(m_first, m_second);
        return;
    }
    if (firstCornerSet()) {
        placeSecondCorner(mouse);
        if (std::abs(m_first.x() - m_second.x()) >= m_minSize.width()
            && std::abs(m_first.y() - m_second.y()) >= m_minSize.height()) {
            if (m_second.x() < m_first.x()) {
                std::swap(m_first.rx(), m_second.rx());
                std::swap(m_firstIdx.rx(), m_secondIdx.rx());
            }
            if (m_second.y() < m_first.y()) {
                std::swap(m_first.ry(), m_second.ry());
                std::swap(m_firstIdx.ry(), m_secondIdx.ry());
            }
        } else {
            resetSelection(false);
        }
        update();
    }
    emit rectangleSelected(m_first, m_second);
}

void CScanogrammFrame::wheelEvent(QWheelEvent* event)
{
    const int steps = (event->angleDelta().y() / 8) / 15;
    emit mouseWheelScrolled(steps);
    event->accept();
}

void CScanogrammFrame::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_pImage || !m_pImage->hasSamples())
        return;
    m_pMenu->popup(event->globalPos());
}
