#include "widgets/cslidebar.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

CSlidebar::CSlidebar(QWidget* parent, int iHorizontal, int iRange, int iGap)
    : QFrame(parent)
    , m_bgColor(palette().color(QPalette::Active, QPalette::Light))
    , m_bandColor(palette().color(QPalette::Active, QPalette::Button))
    , m_iUpperValue(qMax(0, iRange))
    , m_iRange(qMax(0, iRange))
    , m_iGap(qMax(0, iGap))
    , m_iHorizontal(iHorizontal)
{
    setMouseTracking(true);
    recompute();
}

void CSlidebar::setBottomLimit(int iValue)
{
    if (iValue == m_iLowerValue || iValue < 0 || qint64(iValue) > qint64(m_iUpperValue) - m_iGap)
        return;
    m_iLowerValue = iValue;
    recompute();
    redraw();
    emit bottomLimitChanged(m_iLowerValue);
}

void CSlidebar::setTopLimit(int iValue)
{
    if (iValue == m_iUpperValue || iValue > m_iRange || qint64(iValue) < qint64(m_iLowerValue) + m_iGap)
        return;
    m_iUpperValue = iValue;
    recompute();
    redraw();
    emit topLimitChanged(m_iUpperValue);
}

void CSlidebar::setLimits(int iLower, int iUpper)
{
    if (iLower < 0 || iUpper > m_iRange || qint64(iLower) > qint64(iUpper) - m_iGap)
        return;
    const bool lowerMoved = iLower != m_iLowerValue;
    const bool upperMoved = iUpper != m_iUpperValue;
    if (!lowerMoved && !upperMoved)
        return;
    m_iLowerValue = iLower;
    m_iUpperValue = iUpper;
    recompute();
    redraw();
    if (lowerMoved)
        emit bottomLimitChanged(m_iLowerValue);
    if (upperMoved)
        emit topLimitChanged(m_iUpperValue);
}

void CSlidebar::setRange(int iRange)
{
    m_iRange = qMax(0, iRange);
    if (m_iRange == 0) {
        m_iLowerValue = 0;
        m_iUpperValue = 0;
    } else if (m_iUpperValue == 0 || m_iLowerValue >= m_iRange || m_iUpperValue > m_iRange
               || qint64(m_iLowerValue) > qint64(m_iUpperValue) - m_iGap) {
        m_iUpperValue = m_iRange;
        m_iLowerValue = 0;
    }
    recompute();
    redraw();
}

void CSlidebar::setGap(int iGap)
{
    m_iGap = qMax(0, iGap);
    recompute();
}

// Interaction: hovering near a limit line marks it; dragging with the left button moves it,
// held apart from the other limit by the gap.

ControlMath::SlidebarGeometry CSlidebar::barGeometry() const
{
    return {m_iLength, m_iRange};
}

int CSlidebar::along(const QMouseEvent* event) const
{
    const QPoint p = event->position().toPoint();
    return isHorizontal() ? p.x() : p.y();
}

void CSlidebar::markHandle(int iCoord)
{
    m_iGrabbed = ControlMath::slidebarHandleAt(iCoord, m_iLowerPos, m_iUpperPos);
    const bool onHandle = m_iGrabbed != 0;
    if (onHandle == m_bOnHandle)
        return;
    m_bOnHandle = onHandle;
    if (onHandle)
        setCursor(isHorizontal() ? Qt::SplitHCursor : Qt::SplitVCursor);
    else
        unsetCursor();
}

void CSlidebar::dragTo(int iCoord)
{
    const ControlMath::SlidebarGeometry g = barGeometry();
    if (m_iGrabbed == 1) {
        const int pos = qBound(0, iCoord, m_iUpperPos - m_iGapPixels);
        if (pos == m_iLowerPos)
            return;
        m_iLowerPos = pos;
        // The pixel gap is rounded, so the value is held to the gap as well.
        const int value = qBound(0, g.valueAt(pos), qMax(0, m_iUpperValue - m_iGap));
        const bool moved = value != m_iLowerValue;
        m_iLowerValue = value;
        redraw();
        if (moved)
            emit bottomLimitChanged(value);
    } else if (m_iGrabbed == 2) {
        const int pos = qMin(m_iLength, qBound(m_iLowerPos + m_iGapPixels, iCoord, m_iLength));
        if (pos == m_iUpperPos)
            return;
        m_iUpperPos = pos;
        const int value = qBound(qMin(m_iRange, m_iLowerValue + m_iGap), g.valueAt(pos), m_iRange);
        const bool moved = value != m_iUpperValue;
        m_iUpperValue = value;
        redraw();
        if (moved)
            emit topLimitChanged(value);
    }
}

void CSlidebar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        // A press without a hover before it (a pen, a touch) still picks the limit under it.
        if (event->buttons() == Qt::LeftButton)
            markHandle(along(event));
        return;
    }
    if (m_bOnHandle) {
        m_iGrabbed = 0;
        m_bOnHandle = false;
        unsetCursor();
    }
}

void CSlidebar::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        dragTo(along(event));
    else if (event->buttons() == Qt::NoButton)
        markHandle(along(event));
}

void CSlidebar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragTo(along(event));
    else
        markHandle(along(event));
}

void CSlidebar::leaveEvent(QEvent* event)
{
    QFrame::leaveEvent(event);
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton) && m_bOnHandle) {
        m_iGrabbed = 0;
        m_bOnHandle = false;
        unsetCursor();
    }
}

void CSlidebar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    m_iW = qMax(0, width() - 1);
    m_iH = qMax(0, height() - 1);
    m_iLength = isHorizontal() ? m_iW : m_iH;
    m_image = width() >= 1 && height() >= 1 ? QImage(size(), QImage::Format_RGB32) : QImage();
    recompute();
    redraw();
}

void CSlidebar::recompute()
{
    const ControlMath::SlidebarGeometry g = barGeometry();
    m_iLowerPos = g.positionOf(m_iLowerValue, false);
    m_iUpperPos = g.positionOf(m_iUpperValue, true);
    m_iGapPixels = g.gapPixels(m_iGap);
}

// Drawing: background outside the limits, the band between them, a black line at each limit.

void CSlidebar::redraw()
{
    if (m_image.isNull())
        return;
    QPainter p(&m_image);
    m_image.fill(m_bgColor);
    p.setPen(Qt::black);
    if (isHorizontal()) {
        p.fillRect(QRect(QPoint(m_iLowerPos, 0), QPoint(m_iUpperPos, m_iH)), m_bandColor);
        p.drawLine(m_iLowerPos, 0, m_iLowerPos, m_iH);
        p.drawLine(m_iUpperPos, 0, m_iUpperPos, m_iH);
    } else {
        p.fillRect(QRect(QPoint(0, m_iLowerPos), QPoint(m_iW, m_iUpperPos)), m_bandColor);
        p.drawLine(0, m_iLowerPos, m_iW, m_iLowerPos);
        p.drawLine(0, m_iUpperPos, m_iW, m_iUpperPos);
    }
    p.end();
    update();
}

void CSlidebar::paintEvent(QPaintEvent* event)
{
    {
        QPainter p(this);
        p.drawImage(0, 0, m_image);
    }
    QFrame::paintEvent(event);
}
