#include "mapview/ccolorscale.h"

#include "mapview/colorscalepicture.h"
#include "mapview/mappalette.h"

#include <QMouseEvent>
#include <QPainter>

#include <cstdlib>

CColorScale::CColorScale(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    setMinimumHeight(ColorScalePicture::kHeight);
}

void CColorScale::fillPaletteStrip()
{
    m_strip = ColorScalePicture::strip();
    renderPicture();
    update();
}

void CColorScale::updateGeometryValues()
{
    m_iLimit = ColorScalePicture::limitPosition(m_iPercent, width());
    m_iMargin = ColorScalePicture::rightMargin(width());
}

void CColorScale::renderPicture()
{
    if (m_strip.isNull())
        m_strip = ColorScalePicture::strip();
    m_picture = ColorScalePicture::render(m_strip, width(), m_iLimit, tr("%1 %").arg(m_iPercent));
}

void CColorScale::setValue(int iPercent)
{
    if (iPercent == m_iPercent)
        return;
    m_iPercent = iPercent;
    updateGeometryValues();
    renderPicture();
    update();
    emit leftLimitChanged(m_iPercent);
}

void CColorScale::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (width() >= 1 && height() >= 1) {
        updateGeometryValues();
        renderPicture();
    }
}

void CColorScale::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!m_picture.isNull())
        painter.drawImage(0, 0, m_picture);
}

void CColorScale::updateHover(int x)
{
    m_bHover = std::abs(x - m_iLimit) < 2;
    if (m_bHover)
        setCursor(Qt::SplitHCursor);
    else
        unsetCursor();
}

void CColorScale::dragTo(int x)
{
    const int limit = ColorScalePicture::clampLimit(x, width());
    if (limit == m_iLimit)
        return;
    m_iLimit = limit;
    m_iPercent = ColorScalePicture::percentAt(m_iLimit, width());
    renderPicture();
    update();
    emit leftLimitChanged(m_iPercent);
}

void CColorScale::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    if (event->buttons() == Qt::NoButton)
        updateHover(x);
    else if ((event->buttons() & Qt::LeftButton) && m_bHover)
        dragTo(x);
}

void CColorScale::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        m_bHover = false;
        unsetCursor();
    }
    QFrame::mousePressEvent(event);
}

void CColorScale::mouseReleaseEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    if (event->button() == Qt::LeftButton && m_bHover)
        dragTo(x);
    else if (event->button() != Qt::LeftButton)
        updateHover(x);
    QFrame::mouseReleaseEvent(event);
}

void CColorScale::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit autoBrightnessRequested();
    QFrame::mouseDoubleClickEvent(event);
}
