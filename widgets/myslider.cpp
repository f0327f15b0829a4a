#include "widgets/myslider.h"

#include <QMouseEvent>
#include <QPainter>

MySlider::MySlider(QWidget* parent, int iHorizontal, int iMaximum)
    : QFrame(parent)
    , m_bgColor(palette().color(QPalette::Active, QPalette::Light))
    , m_handleColor(palette().color(QPalette::Active, QPalette::Button))
    , m_gripDark(palette().color(QPalette::Active, QPalette::Dark))
    , m_gripLight(palette().color(QPalette::Active, QPalette::Light))
    , m_iMaximum(iMaximum >= 0 ? iMaximum : 0)
    , m_iHorizontal(iHorizontal)
{
}

void MySlider::setValue(int iValue)
{
    if (iValue == m_iValue)
        return;
    const int stored = qBound(m_iMinimum, iValue, m_iMaximum);
    if (stored == m_iValue)
        return;
    m_iValue = stored;
    if (!m_bDragging)
        redraw();
    emit valueChanged(m_iValue);
}

void MySlider::setRange(int iMin, int iMax)
{
    if ((iMin == m_iMinimum && iMax == m_iMaximum) || iMin > iMax)
        return;
    m_iMinimum = iMin;
    m_iMaximum = iMax;
    if (m_iValue < iMin || m_iValue > iMax)
        setValue(qBound(iMin, m_iValue, iMax));
    else
        redraw();
}

// Interaction: the handle is grabbed with the left button and dragged along the bar.

ControlMath::SliderGeometry MySlider::sliderGeometry() const
{
    return {isHorizontal() ? m_iW : m_iH, m_iHandleLength};
}

int MySlider::along(const QMouseEvent* event) const
{
    const QPoint p = event->position().toPoint();
    return isHorizontal() ? p.x() : p.y();
}

int MySlider::valueAtDrag(int iCoord) const
{
    return sliderGeometry().valueAt(m_iPressHandlePos + iCoord - m_iPressCoord, m_iMinimum, m_iMaximum);
}

void MySlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int c = along(event);
    if (c >= m_iHandlePos && c <= m_iHandlePos + m_iHandleLength) {
        m_bDragging = true;
        m_iPressCoord = c;
        m_iPressHandlePos = m_iHandlePos;
    }
}

void MySlider::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bDragging || !(event->buttons() & Qt::LeftButton))
        return;
    const int c = along(event);
    const int v = valueAtDrag(c);
    if (v != m_iValue)
        setValue(v);
    drawHandleAt(sliderGeometry().clampPosition(m_iPressHandlePos + c - m_iPressCoord));
}

void MySlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_bDragging)
        return;
    const int v = valueAtDrag(along(event));
    if (v != m_iValue)
        setValue(v);
    m_bDragging = false;
    redraw();
}

void MySlider::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (width() < 1 || height() < 1) {
        m_image = QImage();
        return;
    }
    m_image = QImage(size(), QImage::Format_RGB32);
    m_iW = width() - 1;
    m_iH = height() - 1;
    redraw();
}

// Drawing: a black border, the bar in the background colour, the handle in the button colour
// between two black lines across the bar.

void MySlider::redraw()
{
    drawHandleAt(sliderGeometry().positionOf(m_iValue, m_iMinimum, m_iMaximum));
}

void MySlider::drawHandleAt(int iPos)
{
    m_iHandlePos = iPos;
    if (m_image.isNull())
        return;
    const int L = m_iHandleLength;
    QPainter p(&m_image);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, m_iW, m_iH);
    const QRect interior(1, 1, m_iW - 1, m_iH - 1);
    p.fillRect(interior, m_bgColor);
    // Three etched grooves across the middle of the handle mark it as the part to drag.
    const int mid = iPos + L / 2;
    const int across = isHorizontal() ? m_iH : m_iW;
    const int inset = qMax(3, across / 4);
    if (isHorizontal()) {
        p.fillRect(QRect(iPos + 1, 1, L - 1, m_iH - 1).intersected(interior), m_handleColor);
        for (int k = -3; k <= 3; k += 3) {
            p.setPen(m_gripDark);
            p.drawLine(mid + k, inset, mid + k, across - inset);
            p.setPen(m_gripLight);
            p.drawLine(mid + k + 1, inset, mid + k + 1, across - inset);
        }
        p.setPen(Qt::black);
        p.drawLine(iPos, 1, iPos, m_iH - 1);
        p.drawLine(iPos + L, 1, iPos + L, m_iH - 1);
    } else {
        p.fillRect(QRect(1, iPos + 1, m_iW - 1, L - 1).intersected(interior), m_handleColor);
        for (int k = -3; k <= 3; k += 3) {
            p.setPen(m_gripDark);
            p.drawLine(inset, mid + k, across - inset, mid + k);
            p.setPen(m_gripLight);
            p.drawLine(inset, mid + k + 1, across - inset, mid + k + 1);
        }
        p.setPen(Qt::black);
        p.drawLine(1, iPos, m_iW - 1, iPos);
        p.drawLine(1, iPos + L, m_iW - 1, iPos + L);
    }
    p.end();
    update();
}

void MySlider::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_image);
}
