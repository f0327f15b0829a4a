#include "mapview/cvectordrawframe.h"

#include "mapview/mappicture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

CVectorDrawFrame::CVectorDrawFrame(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_pMenu = new QMenu(this);
    m_pCopyAction = new QAction(this);
    m_pCopyAction->setObjectName(QStringLiteral("act_copyImage"));
    m_pMenu->addAction(m_pCopyAction);
    connect(m_pCopyAction, &QAction::triggered, this, &CVectorDrawFrame::copyImageToClipboard);
    m_plot.setSize(size());
    retranslate();
}

CVectorDrawFrame::~CVectorDrawFrame() = default;

void CVectorDrawFrame::retranslate()
{
    m_pCopyAction->setText(tr("Copy Image To Clipboard"));
}

void CVectorDrawFrame::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void CVectorDrawFrame::changed()
{
    m_bDirty = true;
    update();
}

void CVectorDrawFrame::setSignal(const qint16* pSamples, int iCount)
{
    m_plot.setSignal(pSamples, iCount);
    changed();
}

void CVectorDrawFrame::clear()
{
    m_plot.setMarker(0);
    m_plot.forgetSignal();
    changed();
}

void CVectorDrawFrame::blank()
{
    m_plot.forgetSignal();
    changed();
}

void CVectorDrawFrame::setStyle(int iStyle)
{
    m_plot.setStyle(iStyle);
    changed();
}

void CVectorDrawFrame::setOrientation(int iOrientation)
{
    m_plot.setOrientation(iOrientation);
    changed();
}

void CVectorDrawFrame::setGain(double dGain)
{
    m_plot.setGain(dGain);
    changed();
}

void CVectorDrawFrame::setAmplitudeRange(int iMin, int iMax)
{
    m_plot.setAmplitudeRange(iMin, iMax);
    changed();
}

void CVectorDrawFrame::setAmplitudeAxis(double dStart, double dRange, double dOrigin, double dStep)
{
    m_plot.setAmplitudeAxis({dStart, dRange, dOrigin, dStep});
    changed();
}

void CVectorDrawFrame::setSignalAxis(double dStart, double dRange, double dOrigin, double dStep)
{
    m_plot.setSignalAxis({dStart, dRange, dOrigin, dStep});
    changed();
}

void CVectorDrawFrame::setGridLines(bool bAcross, bool bAlong)
{
    m_plot.setGridLines(bAcross, bAlong);
    changed();
}

void CVectorDrawFrame::setMarker(int iPixel)
{
    if (!m_plot.hasSignal())
        return;
    m_plot.setMarker(iPixel);
    changed();
}

void CVectorDrawFrame::clearMarker()
{
    m_plot.setMarker(0);
    changed();
}

void CVectorDrawFrame::setMarkerEnabled(bool bOn)
{
    m_plot.setMarkerEnabled(bOn);
    changed();
}

const AScanPlot& CVectorDrawFrame::plot() const
{
    // A hidden frame gets no resize events; its picture still has the frame's size.
    if (m_plot.size() != size()) {
        m_plot.setSize(size());
        m_bDirty = true;
    }
    return m_plot;
}

QImage CVectorDrawFrame::picture() const
{
    plot();
    if (m_bDirty) {
        m_picture = m_plot.render();
        m_bDirty = false;
    }
    return m_picture;
}

void CVectorDrawFrame::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    // The axes are kept in their own units, so the grid follows the new size by itself.
    m_plot.setSize(size());
    m_bDirty = true;
}

void CVectorDrawFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage image = picture();
    if (image.isNull())
        painter.fillRect(rect(), m_plot.backgroundColour());
    else
        painter.drawImage(0, 0, image);
}

QImage CVectorDrawFrame::composedImage(const QAbstractScale* pVertical, const QAbstractScale* pHorizontal,
                                       int iScaleThickness) const
{
    return MapPicture::compose(picture(), pVertical, pHorizontal, iScaleThickness);
}

bool CVectorDrawFrame::copyToClipboard(const QAbstractScale* pVertical, const QAbstractScale* pHorizontal,
                                       int iScaleThickness) const
{
    const QImage image = composedImage(pVertical, pHorizontal, iScaleThickness);
    if (image.isNull())
        return false;
    QApplication::clipboard()->setImage(image);
    return true;
}

void CVectorDrawFrame::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_plot.markerEnabled() && m_plot.hasSignal() && !size().isEmpty())
        emit cursorPositionChanged(event->position().toPoint());
    QFrame::mousePressEvent(event);
}

void CVectorDrawFrame::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_plot.hasSignal())
        m_pMenu->popup(event->globalPos());
}
