#include "ascan/cascanframe.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QWheelEvent>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

const QColor kBackground(Qt::black);
const QColor kGreen(0, 230, 0);
const QColor kYellow(255, 230, 0);
const QColor kStrobe(230, 0, 0);
const QColor kTvg(96, 96, 96);

int roundHalfUp(double x)
{
    return int(std::floor(x + 0.5));
}

} // namespace

CAScanFrame::CAScanFrame(QWidget* parent)
    : QFrame(parent)
    , m_signalColor(kGreen)
{
    setFrameShape(QFrame::NoFrame);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(64, 48);
    m_pActCursorToMax = new QAction(this);
    m_pActCursorToMax->setObjectName(QStringLiteral("act_cursorToMax"));
    connect(m_pActCursorToMax, &QAction::triggered, this, &CAScanFrame::slot_setCursorToMax);
    retranslate();
    m_picture = QImage(qMax(1, width()), qMax(1, height()), QImage::Format_RGB32);
    m_picture.fill(kBackground);
}

void CAScanFrame::retranslate()
{
    m_pActCursorToMax->setText(tr("Set Cursor To Maximum"));
}

void CAScanFrame::ensurePicture()
{
    // A frame resized while hidden gets no resize event until shown.
    const QSize size(qMax(1, width()), qMax(1, height()));
    if (m_picture.size() != size) {
        m_picture = QImage(size, QImage::Format_RGB32);
        m_picture.fill(kBackground);
        reduce();
    }
}

void CAScanFrame::setSignal(const qint16* pSamples, int iLength)
{
    ensurePicture();
    m_pSignal = iLength > 0 ? pSamples : nullptr;
    m_iLength = m_pSignal ? iLength : 0;
    reduce();
}

void CAScanFrame::setDrawMode(int iMode, bool bYellow)
{
    const int mode = qBound(0, iMode, 2);
    const QColor colour = bYellow ? kYellow : kGreen;
    if (colour != m_signalColor)
        m_bBackgroundValid = false;
    m_signalColor = colour;
    if (mode != m_iDrawMode) {
        m_iDrawMode = mode;
        reduce();
    }
}

void CAScanFrame::setStrobe(bool bShown, int iStart, int iEnd, int iLevel)
{
    m_bStrobeShown = bShown;
    if (iStart < 0 || iEnd < 0) {
        m_iStrobeStart = m_iStrobeEnd = -1;
    } else {
        if (iEnd < iStart)
            std::swap(iStart, iEnd);
        m_iStrobeStart = qBound(0, iStart, m_iLength);
        m_iStrobeEnd = qBound(m_iStrobeStart, iEnd, m_iLength);
    }
    m_iStrobeLevel = qBound(-511, iLevel, 511);
}

void CAScanFrame::setCursor(bool bOn, int iSample)
{
    m_bCursorOn = bOn;
    m_iCursorSample = qBound(0, iSample, qMax(0, m_iLength - 1));
}

void CAScanFrame::setMarker(int iSample, int iAmplitude)
{
    m_iMarkerSample = iSample < 0 || iSample >= m_iLength ? -1 : iSample;
    m_iMarkerAmplitude = iAmplitude;
}

void CAScanFrame::setTvg(bool bOn, const QList<QPoint>& points)
{
    if (bOn != m_bTvgOn || points != m_tvg)
        m_bBackgroundValid = false;
    m_bTvgOn = bOn;
    m_tvg = points;
}

void CAScanFrame::setGrid(double dXStep, double dXOrigin, double dYStep, double dYOrigin)
{
    m_bBackgroundValid = m_bBackgroundValid && dXStep == m_dGridXStep && dXOrigin == m_dGridXOrigin
                         && dYStep == m_dGridYStep && dYOrigin == m_dGridYOrigin;
    m_dGridXStep = dXStep;
    m_dGridXOrigin = dXOrigin;
    m_dGridYStep = dYStep;
    m_dGridYOrigin = dYOrigin;
}

void CAScanFrame::setMinStrobeWidth(int iSamples)
{
    m_iMinStrobeSamples = qMax(0, iSamples);
}

void CAScanFrame::setHasData(bool bHasData)
{
    if (bHasData != m_bHasData)
        m_bBackgroundValid = false;
    m_bHasData = bHasData;
    if (!bHasData) {
        m_eDrag = DragNone;
        m_eHover = HoverNone;
        unsetCursor();
    }
}

void CAScanFrame::clearFrame()
{
    m_pSignal = nullptr;
    m_iLength = 0;
    m_columns = {};
    m_bStrobeShown = false;
    m_iStrobeStart = m_iStrobeEnd = -1;
    m_iStrobeLevel = 0;
    m_bCursorOn = false;
    m_iCursorSample = 0;
    m_bAutomatic = true;
    m_iMarkerSample = -1;
    m_bTvgOn = false;
    m_tvg.clear();
    m_dGridXStep = m_dGridYStep = 0.0;
    m_bBackgroundValid = false;
    setHasData(false);
    redraw();
}

int CAScanFrame::sampleToX(double iSample) const
{
    return AScanMath::sampleToColumn(iSample, m_iLength, m_picture.width());
}

int CAScanFrame::xToSample(int x) const
{
    return AScanMath::columnToSample(x, m_iLength, m_picture.width());
}

int CAScanFrame::levelToY(int iLevel) const
{
    return AScanMath::amplitudeRow(iLevel, m_picture.height(), m_iDrawMode);
}

int CAScanFrame::yToLevel(int y) const
{
    const int h = m_picture.height();
    if (h <= 1)
        return 0;
    if (m_iDrawMode == ConfigSettings::SignalRadio)
        return qBound(-511, roundHalfUp((h / 2 - y) * 1022.0 / h), 511);
    const double scale = m_iDrawMode == ConfigSettings::SignalOneSided ? h - 1 : h;
    return qBound(0, roundHalfUp((h - 1 - y) * 511.0 / scale), 511);
}

int CAScanFrame::amplitudeAt(int iSample) const
{
    if (!m_pSignal || iSample < 0 || iSample >= m_iLength)
        return 0;
    return m_pSignal[iSample];
}

void CAScanFrame::reduce()
{
    m_bBackgroundValid = false;
    m_columns = AScanMath::reduceColumns(m_pSignal, m_iLength, m_picture.width(), m_iDrawMode);
}

void CAScanFrame::redraw()
{
    ensurePicture();
    // The signal, grid and TVG curve change rarely; strobe and cursor drags only repaint the
    // front layer over a copy of them.
    if (!m_bBackgroundValid || m_background.size() != m_picture.size()) {
        m_background = QImage(m_picture.size(), QImage::Format_RGB32);
        m_background.fill(kBackground);
        if (m_bHasData && m_iLength > 0) {
            QPainter p(&m_background);
            drawSignal(p);
            drawGrid(p);
            drawTvg(p);
        }
        m_bBackgroundValid = true;
    }
    std::memcpy(m_picture.bits(), m_background.constBits(), size_t(m_picture.sizeInBytes()));
    if (m_bHasData && m_iLength > 0) {
        QPainter p(&m_picture);
        drawStrobe(p);
        drawCursorAndMarker(p);
    }
    update();
}

void CAScanFrame::drawSignal(QPainter& p) const
{
    const int w = m_picture.width();
    const int h = m_picture.height();
    if (m_columns.top.size() != w)
        return;
    p.setPen(QPen(m_signalColor, 1));
    if (m_iDrawMode == ConfigSettings::SignalRadio) {
        int prevMid = levelToY(0);
        for (int x = 0; x < w; ++x) {
            const int top = levelToY(m_columns.top[x]);
            const int bottom = levelToY(m_columns.bottom[x]);
            // Join each column to the previous one at its mid-point, so the trace is unbroken.
            const int y1 = qMin(qMin(top, bottom), prevMid);
            const int y2 = qMax(qMax(top, bottom), prevMid);
            p.drawLine(x, y1, x, y2);
            prevMid = (top + bottom) / 2;
        }
    } else if (m_iDrawMode == ConfigSettings::SignalOneSided) {
        int prev = levelToY(m_columns.top[0]);
        for (int x = 0; x < w; ++x) {
            const int row = levelToY(m_columns.top[x]);
            p.drawLine(x, prev, x, row);
            prev = row;
        }
    } else {
        for (int x = 0; x < w; ++x)
            p.drawLine(x, h - 1, x, levelToY(m_columns.top[x]));
    }
}

void CAScanFrame::drawGrid(QPainter& p) const
{
    const int w = m_picture.width();
    const int h = m_picture.height();
    QPen pen(QColor(255, 255, 255, 128), 1, Qt::DotLine);
    p.setPen(pen);
    // Kept as fractions of the drawing, so the lines follow every resize.
    const double xSpan = w;
    const double ySpan = m_iDrawMode == 0 ? h : h - 1;
    auto lines = [&](double step, double origin, int extent, auto draw) {
        if (!(step >= 2.0))
            return; // denser than every other pixel would only grey the picture
        const double first = origin - std::floor(origin / step) * step;
        for (double v = first; v < extent; v += step)
            draw(roundHalfUp(v));
    };
    lines(m_dGridXStep * xSpan, m_dGridXOrigin * xSpan, w, [&](int x) { p.drawLine(x, 0, x, h - 1); });
    lines(m_dGridYStep * ySpan, m_dGridYOrigin * ySpan, h, [&](int y) { p.drawLine(0, y, w - 1, y); });
}

void CAScanFrame::drawTvg(QPainter& p) const
{
    if (!m_bTvgOn)
        return;
    const int w = m_picture.width();
    const int h = m_picture.height();
    const int span = m_iDrawMode == ConfigSettings::SignalRadio ? h / 2 : h - 1;
    auto row = [&](int level) { return qMax(0, span - roundHalfUp(level / 30.0 * span)); };
    QPolygon line;
    for (const QPoint& pt : m_tvg) {
        if (pt.x() < 0 || pt.x() >= m_iLength)
            continue;
        line << QPoint(roundHalfUp(double(w) * pt.x() / m_iLength), row(pt.y()));
    }
    if (line.isEmpty()) {
        line << QPoint(0, row(0)) << QPoint(w - 1, row(0));
    } else {
        line.prepend(QPoint(0, line.first().y()));
        line.append(QPoint(w - 1, line.last().y()));
    }
    p.setPen(QPen(kTvg, 2));
    p.drawPolyline(line);
}

void CAScanFrame::drawStrobe(QPainter& p) const
{
    if (!m_bStrobeShown || m_iStrobeStart < 0 || m_iStrobeEnd <= m_iStrobeStart)
        return;
    const int x1 = strobeStartX();
    const int x2 = strobeEndX();
    const int y = levelToY(m_iStrobeLevel);
    p.setPen(QPen(kStrobe, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(x1, y, x2, y);
    p.drawLine(x1, y - 3, x1, y + 3);
    p.drawLine(x2, y - 3, x2, y + 3);
}

void CAScanFrame::drawCursorAndMarker(QPainter& p) const
{
    const int h = m_picture.height();
    if (m_bCursorOn) {
        p.setPen(QPen(Qt::white, 1));
        const int x = cursorX();
        p.drawLine(x, 0, x, h - 1);
    }
    if (m_iMarkerSample >= 0) {
        const int x = sampleToX(m_iMarkerSample);
        const int y = levelToY(m_iMarkerAmplitude);
        QPolygon tri;
        tri << QPoint(x, y) << QPoint(x - 3, y - 7) << QPoint(x + 3, y - 7);
        p.setPen(QPen(kYellow, 1));
        p.setBrush(kYellow);
        p.drawPolygon(tri);
        p.setBrush(Qt::NoBrush);
    }
}

void CAScanFrame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_picture);
}

void CAScanFrame::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    m_picture = QImage(qMax(1, width()), qMax(1, height()), QImage::Format_RGB32);
    reduce();
    redraw();
}

CAScanFrame::EHoverZone CAScanFrame::zoneAt(const QPoint& pos) const
{
    if (!m_bHasData)
        return HoverNone;
    if (m_bCursorOn && std::abs(pos.x() - cursorX()) < 2)
        return HoverCursor;
    if (!m_bLoupe && m_bStrobeShown && m_iStrobeStart >= 0 && m_iStrobeEnd > m_iStrobeStart) {
        const int y = levelToY(m_iStrobeLevel);
        if (std::abs(pos.y() - y) <= 4) {
            if (std::abs(pos.x() - strobeStartX()) <= 1)
                return HoverStrobeStart;
            if (std::abs(pos.x() - strobeEndX()) <= 1)
                return HoverStrobeEnd;
        }
    }
    return HoverNone;
}

void CAScanFrame::mousePressEvent(QMouseEvent* event)
{
    if (!m_bHasData || m_iLength <= 0) {
        event->ignore();
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        const int y = levelToY(m_iStrobeLevel);
        const bool onStrobe = m_bStrobeShown && m_iStrobeStart >= 0 && m_iStrobeEnd > m_iStrobeStart
                              && pos.x() >= strobeStartX() && pos.x() <= strobeEndX()
                              && std::abs(pos.y() - y) < 4;
        if (onStrobe && m_bCursorOn && !m_bAutomatic)
            showCursorMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_pressPos = pos;
    switch (zoneAt(pos)) {
    case HoverCursor: m_eDrag = DragCursor; break;
    case HoverStrobeStart: m_eDrag = DragStrobeStart; break;
    case HoverStrobeEnd: m_eDrag = DragStrobeEnd; break;
    case HoverNone:
        if (m_bStrobeShown && m_bCursorOn)
            m_eDrag = m_bLoupe ? DragClickOnly : DragClickOrDraw;
        else if (m_bStrobeShown && !m_bLoupe)
            m_eDrag = DragDrawing;
        else if (!m_bStrobeShown && m_bCursorOn)
            m_eDrag = DragClickOnly;
        else
            m_eDrag = DragNone;
        break;
    }
    m_iDragStart = m_iStrobeStart;
    m_iDragEnd = m_iStrobeEnd;
    m_iDragLevel = m_iStrobeLevel;
    if (m_eDrag == DragDrawing) {
        m_iDragStart = m_iDragEnd = xToSample(pos.x());
        m_iDragLevel = yToLevel(pos.y());
    }
}

void CAScanFrame::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton) || m_eDrag == DragNone) {
        const EHoverZone zone = event->buttons() == Qt::NoButton ? zoneAt(pos) : HoverNone;
        if (zone != m_eHover) {
            m_eHover = zone;
            if (zone == HoverNone)
                unsetCursor();
            else
                QWidget::setCursor(Qt::SplitHCursor);
        }
        return;
    }
    const int sample = xToSample(pos.x());
    switch (m_eDrag) {
    case DragClickOrDraw:
        if ((pos - m_pressPos).manhattanLength() > 2) {
            m_eDrag = DragDrawing;
            m_iDragStart = xToSample(m_pressPos.x());
            m_iDragLevel = yToLevel(m_pressPos.y());
        } else {
            return;
        }
        [[fallthrough]];
    case DragDrawing: {
        const int a = xToSample(m_pressPos.x());
        m_iDragStart = qMin(a, sample);
        m_iDragEnd = qMax(a, sample);
        break;
    }
    case DragClickOnly:
        if ((pos - m_pressPos).manhattanLength() > 2)
            m_eDrag = DragNone;
        return;
    case DragCursor:
        m_iCursorSample = qBound(0, sample, m_iLength - 1);
        m_bAutomatic = false;
        redraw();
        emit cursorPositionChanged(m_iCursorSample, amplitudeAt(m_iCursorSample));
        return;
    case DragStrobeStart:
        m_iDragStart = qBound(0, sample, qMax(0, m_iDragEnd - 1));
        break;
    case DragStrobeEnd:
        m_iDragEnd = qBound(m_iDragStart + 1, sample, m_iLength);
        break;
    case DragNone:
        return;
    }
    m_bStrobeShown = true;
    m_iStrobeStart = m_iDragStart;
    m_iStrobeEnd = m_iDragEnd;
    m_iStrobeLevel = m_iDragLevel;
    redraw();
    emit strobeDragged(m_iStrobeStart, m_iStrobeEnd, m_iStrobeLevel);
}

void CAScanFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_eDrag == DragNone) {
        m_eDrag = DragNone;
        return;
    }
    const QPoint pos = event->position().toPoint();
    const EDragState state = m_eDrag;
    m_eDrag = DragNone;
    const bool click = (pos - m_pressPos).manhattanLength() < 3;
    switch (state) {
    case DragClickOrDraw:
    case DragClickOnly:
        if (click) {
            m_iCursorSample = qBound(0, xToSample(m_pressPos.x()), m_iLength - 1);
            m_bAutomatic = false;
            redraw();
            emit cursorPositionChanged(m_iCursorSample, amplitudeAt(m_iCursorSample));
        }
        break;
    case DragDrawing: {
        int minPixels = roundHalfUp(double(m_iMinStrobeSamples) * m_picture.width() / qMax(1, m_iLength));
        if (minPixels < 1)
            minPixels = 10;
        if (m_iDragEnd <= m_iDragStart || sampleToX(m_iDragEnd) - sampleToX(m_iDragStart) < minPixels) {
            m_iStrobeStart = m_iStrobeEnd = -1;
            redraw();
            emit strobePositionChanged(-1, -1, m_iDragLevel);
        } else {
            redraw();
            emit strobePositionChanged(m_iStrobeStart, m_iStrobeEnd, m_iStrobeLevel);
            slot_setCursorToMax();
        }
        break;
    }
    case DragStrobeStart:
    case DragStrobeEnd:
        emit strobePositionChanged(m_iStrobeStart, m_iStrobeEnd, m_iStrobeLevel);
        slot_setCursorToMax();
        break;
    case DragCursor:
    case DragNone:
        break;
    }
}

void CAScanFrame::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y() / 8 / 15;
    if (m_bHasData && steps != 0)
        emit mouseWheelScrolled(steps);
    event->accept();
}

void CAScanFrame::leaveEvent(QEvent* event)
{
    m_eHover = HoverNone;
    unsetCursor();
    QFrame::leaveEvent(event);
}

bool CAScanFrame::strobeHasPeak() const
{
    return AScanMath::findPeak(m_pSignal, m_iLength, m_iStrobeStart, m_iStrobeEnd, m_iStrobeLevel,
                               m_iDrawMode) >= 0;
}

void CAScanFrame::slot_setCursorToMax()
{
    if (m_iStrobeStart >= 0 && strobeHasPeak())
        m_bAutomatic = true;
    emit setCursorToMax();
}

void CAScanFrame::showCursorMenu(const QPoint& globalPos)
{
    QMenu menu(this);
    menu.addAction(m_pActCursorToMax);
    menu.exec(globalPos);
}
