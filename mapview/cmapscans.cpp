#include "mapview/cmapscans.h"

#include "app/constants.h"
#include "app/creportprinter.h"
#include "map/depthconversion.h"
#include "mapview/ccolorscale.h"
#include "mapview/cinfosavedialog.h"
#include "mapview/cmapsettings.h"
#include "mapview/cscanogrammframe.h"
#include "mapview/cvectordrawframe.h"
#include "mapview/cwgtdisplaysdiff.h"
#include "mapview/cwgtdisplaysstd.h"
#include "mapview/mappicture.h"
#include "mapview/scanimage.h"
#include "map/mapopener.h"
#include "widgets/cwgtscrollbars.h"
#include "widgets/cwgtslidercontrol.h"
#include "widgets/myspinbox.h"
#include "widgets/qscaleframe.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kHorScaleHeight = 28;
constexpr int kVerScaleWidth = 50;
constexpr int kScrollBarThickness = 16;
constexpr int kSlideBarsWidth = 128; // three 40-pixel bars, their gaps and a margin
constexpr int kReadoutHeight = 40;
constexpr int kSpinBoxMaxWidth = 120;

//! Brightness in dB as the multiplier applied to samples.
double brightnessFactor(int iDb)
{
    return std::pow(10.0, iDb / 20.0);
}

} // namespace

CMapScans::CMapScans(QWidget* parent)
    : QWidget(parent)
    , m_imageC(std::make_unique<ScanImage>())
    , m_imageB(std::make_unique<ScanImage>())
    , m_imageD(std::make_unique<ScanImage>())
{
    setObjectName(QStringLiteral("CMapScans"));
    setMinimumSize(1000, 640);
    createChildren();
    setupScales();
    createReadouts();
    createSliderGroup();
    m_pSliderControl ? m_pSliderControl->setEnabled(false) : m_pScrollBars->setEnabled(false);
    updateScrollBars();
}

CMapScans::~CMapScans()
{
    delete m_pSettingsWindow;
}

void CMapScans::createChildren()
{
    m_pFrameC = new CScanogrammFrame(this);
    m_pFrameC->setObjectName(QStringLiteral("frameCScan"));
    m_pFrameB = new CScanogrammFrame(this);
    m_pFrameB->setObjectName(QStringLiteral("frameBScan"));
    m_pFrameD = new CScanogrammFrame(this);
    m_pFrameD->setObjectName(QStringLiteral("frameDScan"));
    m_pFrameC->setImage(m_imageC.get());
    m_pFrameB->setImage(m_imageB.get());
    m_pFrameD->setImage(m_imageD.get());
    m_pFrameA = new CVectorDrawFrame(this);
    m_pFrameA->setObjectName(QStringLiteral("frameAScan"));

    auto scale = [this](const char* name) {
        auto* s = new QScaleFrame(this);
        s->setObjectName(QLatin1String(name));
        return s;
    };
    m_pCHor = scale("cscanHorScale");
    m_pCVer = scale("cscanVerScale");
    m_pBHor = scale("bscanHorScale");
    m_pBVer = scale("bscanVerScale");
    m_pDHor = scale("dscanHorScale");
    m_pDVer = scale("dscanVerScale");
    m_pAVer = scale("ascanVerScale");
    for (QScaleFrame* s : {m_pCHor, m_pBHor, m_pDHor})
        s->setFixedHeight(kHorScaleHeight);
    for (QScaleFrame* s : {m_pCVer, m_pBVer, m_pDVer, m_pAVer})
        s->setFixedWidth(kVerScaleWidth);

    m_pColourScale = new CColorScale(this);
    m_pColourScale->setObjectName(QStringLiteral("colourScale"));
    m_pColourScale->fillPaletteStrip();

    m_pWgtLcd = new QWidget(this);
    m_pWgtLcd->setObjectName(QStringLiteral("wgt_lcd"));
    m_pWgtLcd->setFixedHeight(kReadoutHeight);
    m_pWgtLcd->setMinimumWidth(600);

    m_pLblBrightness = new QLabel(this);
    m_pLblBrightness->setObjectName(QStringLiteral("lbl_brightness"));
    m_pLblBrightness->setPixmap(QPixmap(QStringLiteral(":/vantar/images/contrast.png"))
                                    .scaled(kHorScaleHeight - 4, kHorScaleHeight - 4, Qt::KeepAspectRatio,
                                            Qt::SmoothTransformation));
    m_pLblBrightness->setAlignment(Qt::AlignCenter);
    m_pSpbBrightness = new MySpinBox(this);
    m_pSpbBrightness->setObjectName(QStringLiteral("myspb_brightness"));
    m_pSpbBrightness->setRange(MapViewState::kMinBrightness, MapViewState::kMaxBrightness);
    m_pSpbBrightness->setValue(0);
    m_pSpbBrightness->setMaximumWidth(kSpinBoxMaxWidth);
    m_pLblBrightnessUnits = new QLabel(this);
    m_pLblBrightnessUnits->setObjectName(QStringLiteral("lbl_brightnessUnits"));
    m_pLblBrightnessUnits->setAlignment(Qt::AlignCenter);

    m_pWgtSlidebars = new QWidget(this);
    m_pWgtSlidebars->setObjectName(QStringLiteral("wgt_slidebars"));
    m_pWgtSlidebars->setFixedWidth(kSlideBarsWidth);

    m_pScrollX = new QScrollBar(Qt::Horizontal, this);
    m_pScrollX->setObjectName(QStringLiteral("scb_scrollingX"));
    m_pScrollX->setFixedHeight(kScrollBarThickness);
    m_pScrollY = new QScrollBar(Qt::Vertical, this);
    m_pScrollY->setObjectName(QStringLiteral("scb_scrollingY"));
    m_pScrollY->setFixedWidth(kScrollBarThickness);
    m_pScrollZ = new QScrollBar(Qt::Vertical, this);
    m_pScrollZ->setObjectName(QStringLiteral("scb_scrollingZ"));
    m_pScrollZ->setFixedWidth(kScrollBarThickness);

    connect(m_pFrameA, &CVectorDrawFrame::cursorPositionChanged, this, &CMapScans::slot_AscanCursorPositionChanged);
    connect(m_pFrameB, &CScanogrammFrame::cursorPositionChanged, this, &CMapScans::slot_BscanCursorPositionChanged);
    connect(m_pFrameC, &CScanogrammFrame::cursorPositionChanged, this, &CMapScans::slot_CscanCursorPositionChanged);
    connect(m_pFrameD, &CScanogrammFrame::cursorPositionChanged, this, &CMapScans::slot_DscanCursorPositionChanged);
    connect(m_pFrameB, &CScanogrammFrame::rectangleSelectionBegun, this, &CMapScans::slot_BscanRectSelectBegun);
    connect(m_pFrameC, &CScanogrammFrame::rectangleSelectionBegun, this, &CMapScans::slot_CscanRectSelectBegun);
    connect(m_pFrameD, &CScanogrammFrame::rectangleSelectionBegun, this, &CMapScans::slot_DscanRectSelectBegun);
    connect(m_pFrameB, &CScanogrammFrame::rectangleSelected, this, &CMapScans::slot_BscanRectangleSelected);
    connect(m_pFrameC, &CScanogrammFrame::rectangleSelected, this, &CMapScans::slot_CscanRectangleSelected);
    connect(m_pFrameD, &CScanogrammFrame::rectangleSelected, this, &CMapScans::slot_DscanRectangleSelected);
    connect(m_pFrameB, &CScanogrammFrame::rectangleBorderChanged, this, &CMapScans::slot_BscanRectangleBorderChanged);
    connect(m_pFrameC, &CScanogrammFrame::rectangleBorderChanged, this, &CMapScans::slot_CscanRectangleBorderChanged);
    connect(m_pFrameD, &CScanogrammFrame::rectangleBorderChanged, this, &CMapScans::slot_DscanRectangleBorderChanged);
    for (CScanogrammFrame* f : {m_pFrameB, m_pFrameC, m_pFrameD})
        connect(f, &CScanogrammFrame::mouseWheelScrolled, this, &CMapScans::slot_onMouseWheelScrolled);
    connect(m_pFrameB, &CScanogrammFrame::offsetChanged, this, &CMapScans::slot_BScanOffsetChanged);
    connect(m_pFrameC, &CScanogrammFrame::offsetChanged, this, &CMapScans::slot_CScanOffsetChanged);
    connect(m_pFrameD, &CScanogrammFrame::offsetChanged, this, &CMapScans::slot_DScanOffsetChanged);
    connect(m_pScrollX, &QScrollBar::valueChanged, this, &CMapScans::slot_XscrollingChanged);
    connect(m_pScrollY, &QScrollBar::valueChanged, this, &CMapScans::slot_YscrollingChanged);
    connect(m_pScrollZ, &QScrollBar::valueChanged, this, &CMapScans::slot_ZscrollingChanged);
    connect(m_pFrameC, &CScanogrammFrame::cursorsReseted, this, &CMapScans::slot_clearLCDpanels);
    connect(m_pColourScale, &CColorScale::leftLimitChanged, this, &CMapScans::slot_setScanThreshold);
    connect(m_pSpbBrightness, &MySpinBox::valueChanged, this, &CMapScans::slot_setScanBrightness);
    connect(m_pFrameC, &CScanogrammFrame::copyImageToClipboard, this, &CMapScans::slot_copyCScanToClipboard);
    connect(m_pFrameB, &CScanogrammFrame::copyImageToClipboard, this, &CMapScans::slot_copyBScanToClipboard);
    connect(m_pFrameD, &CScanogrammFrame::copyImageToClipboard, this, &CMapScans::slot_copyDScanToClipboard);
    connect(m_pFrameA, &CVectorDrawFrame::copyImageToClipboard, this, &CMapScans::slot_copyAScanToClipboard);
    retranslate();
}

void CMapScans::setupScales()
{
    // Horizontal rulers sit above their frames, vertical ones left of them; values grow
    // rightwards and downwards, as the images' axes do.
    for (QScaleFrame* s : {m_pCHor, m_pBHor, m_pDHor}) {
        s->setPosition(1);
        s->setDirection(1);
    }
    for (QScaleFrame* s : {m_pCVer, m_pBVer, m_pDVer, m_pAVer}) {
        s->setPosition(0);
        s->setDirection(1);
    }
    m_pCHor->setName(QStringLiteral("X"));
    m_pBHor->setName(QStringLiteral("X"));
    m_pDHor->setName(QStringLiteral("Z"));
    m_pCVer->setName(QStringLiteral("Y"));
    m_pDVer->setName(QStringLiteral("Y"));
    m_pBVer->setName(QStringLiteral("Z"));
    m_pAVer->setName(QStringLiteral("Z"));
    for (QScaleFrame* s : {m_pCHor, m_pBHor, m_pDHor, m_pCVer, m_pBVer, m_pDVer, m_pAVer})
        s->setUnit(QStringLiteral("m"));
}

void CMapScans::retranslate()
{
    m_pLblBrightnessUnits->setText(tr("dB"));
    m_pSpbBrightness->setToolTip(tr("Brightness"));
    m_pColourScale->setToolTip(tr("Drag the marker to set the threshold"));
}

void CMapScans::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

// ----- children made per mode ---------------------------------------------------------------

void CMapScans::createReadouts()
{
    delete m_pDisplaysStd;
    delete m_pDisplaysDiff;
    m_pDisplaysStd = nullptr;
    m_pDisplaysDiff = nullptr;
    QWidget* group = nullptr;
    if (m_bMeasuringMode)
        group = m_pDisplaysDiff = new CWgtDisplaysDiff(this);
    else
        group = m_pDisplaysStd = new CWgtDisplaysStd(this);
    group->setGeometry(m_pWgtLcd->geometry());
    group->show();
}

void CMapScans::createSliderGroup()
{
    const bool bEnabled = isMapLoaded();
    delete m_pScrollBars;
    delete m_pSliderControl;
    m_pScrollBars = nullptr;
    m_pSliderControl = nullptr;
    QWidget* group = nullptr;
    if (m_bLimitsMode) {
        m_pSliderControl = new CWgtSliderControl(this);
        group = m_pSliderControl;
        connect(m_pSliderControl, &CWgtSliderControl::cscanMinValueChanged, this, &CMapScans::slot_minLayerChanged_Z);
        connect(m_pSliderControl, &CWgtSliderControl::cscanMaxValueChanged, this, &CMapScans::slot_maxLayerChanged_Z);
        connect(m_pSliderControl, &CWgtSliderControl::cscanValuesChanged, this, &CMapScans::slot_layerLimitsChanged_Z);
        connect(m_pSliderControl, &CWgtSliderControl::bscanMinValueChanged, this, &CMapScans::slot_minLayerChanged_Y);
        connect(m_pSliderControl, &CWgtSliderControl::bscanMaxValueChanged, this, &CMapScans::slot_maxLayerChanged_Y);
        connect(m_pSliderControl, &CWgtSliderControl::bscanValuesChanged, this, &CMapScans::slot_layerLimitsChanged_Y);
        connect(m_pSliderControl, &CWgtSliderControl::dscanMinValueChanged, this, &CMapScans::slot_minLayerChanged_X);
        connect(m_pSliderControl, &CWgtSliderControl::dscanMaxValueChanged, this, &CMapScans::slot_maxLayerChanged_X);
        connect(m_pSliderControl, &CWgtSliderControl::dscanValuesChanged, this, &CMapScans::slot_layerLimitsChanged_X);
    } else {
        m_pScrollBars = new CWgtScrollBars(this);
        group = m_pScrollBars;
        connect(m_pScrollBars, &CWgtScrollBars::cscanValueChanged, this, &CMapScans::slot_sliceChanged_Z);
        connect(m_pScrollBars, &CWgtScrollBars::bscanValueChanged, this, &CMapScans::slot_sliceChanged_Y);
        connect(m_pScrollBars, &CWgtScrollBars::dscanValueChanged, this, &CMapScans::slot_sliceChanged_X);
    }
    group->setGeometry(m_pWgtSlidebars->geometry());
    group->setEnabled(bEnabled);
    group->show();
    if (bEnabled)
        updateSliderRanges();
}

void CMapScans::updateSliderRanges()
{
    const int nx = std::max(m_geometry.pointsX() - 1, 0);
    const int ny = std::max(m_geometry.pointsY() - 1, 0);
    const int nz = std::max(m_geometry.pointsZ() - 1, 0);
    if (m_pSliderControl) {
        const QSignalBlocker block(m_pSliderControl);
        m_pSliderControl->setRange(0, 0, nz, 1);
        m_pSliderControl->setRange(1, 0, ny, 1);
        m_pSliderControl->setRange(2, 0, nx, 1);
        m_pSliderControl->setValues(0, m_data.range2().first, m_data.range2().last);
        m_pSliderControl->setValues(1, m_data.range1().first, m_data.range1().last);
        m_pSliderControl->setValues(2, m_data.range0().first, m_data.range0().last);
    }
    if (m_pScrollBars) {
        const QSignalBlocker block(m_pScrollBars);
        m_pScrollBars->setRange(0, 0, nz);
        m_pScrollBars->setRange(1, 0, ny);
        m_pScrollBars->setRange(2, 0, nx);
        updateSliceBars();
    }
}

void CMapScans::updateSliceBars()
{
    if (!m_pScrollBars)
        return;
    const QSignalBlocker block(m_pScrollBars);
    m_pScrollBars->setValue(0, m_sliceZ);
    m_pScrollBars->setValue(1, m_sliceY);
    m_pScrollBars->setValue(2, m_sliceX);
}

// ----- layout -------------------------------------------------------------------------------

void CMapScans::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    doLayout();
}

void CMapScans::doLayout()
{
    const int W = width();
    const int H = height();
    const int hs = m_pCHor->height();
    const int vs = m_pCVer->width();
    const int sb = m_pScrollX->height();
    const int sl = m_pWgtSlidebars->width();
    const int lh = m_pWgtLcd->height();

    const int spinW = std::max(0, std::min(W - m_pWgtLcd->minimumWidth() - (2 * hs + 10),
                                           m_pSpbBrightness->maximumWidth()));
    const int b = W - 2 * hs - spinW;
    m_pLblBrightness->setGeometry(b, 0, hs, hs);
    m_pSpbBrightness->setGeometry(b + hs, 0, spinW, hs);
    m_pLblBrightnessUnits->setGeometry(b + hs + spinW, 0, hs, hs);
    m_pWgtLcd->setGeometry(0, 0, std::max(0, b - 10), lh);
    if (QWidget* g = m_pDisplaysStd ? static_cast<QWidget*>(m_pDisplaysStd) : m_pDisplaysDiff)
        g->setGeometry(m_pWgtLcd->geometry());

    const int fh = std::max(0, (H - (2 * hs + 10) - sb - lh) / 2);
    const int fw = std::max(0, W - 2 * vs - fh - sl - sb);
    const int yB = H - fh;
    int x = sl;
    m_pBVer->setGeometry(x, yB, vs, fh);
    x += vs;
    m_pFrameB->setGeometry(x, yB, fw, fh);
    m_pBHor->setGeometry(x, yB - hs, fw, hs);
    m_pScrollX->setGeometry(x, yB - hs - sb, fw, sb);
    x += fw;
    m_pScrollZ->setGeometry(x, yB, sb, fh);
    x += sb;
    m_pAVer->setGeometry(x, yB, vs, fh);
    x += vs;
    m_pFrameA->setGeometry(x, yB, fh, fh);
    m_pColourScale->setGeometry(x, yB - hs - sb, fh, sb + hs);

    const int yT = yB - hs - sb - fh;
    x = sl;
    m_pCVer->setGeometry(x, yT, vs, fh);
    x += vs;
    m_pFrameC->setGeometry(x, yT, fw, fh);
    m_pCHor->setGeometry(x, yT - hs, fw, hs);
    x += fw;
    m_pScrollY->setGeometry(x, yT, sb, fh);
    x += sb;
    m_pDVer->setGeometry(x, yT, vs, fh);
    x += vs;
    m_pFrameD->setGeometry(x, yT, fh, fh);
    m_pDHor->setGeometry(x, yT - hs, fh, hs);

    m_pWgtSlidebars->setGeometry(0, yT - hs, sl, sb + 2 * (fh + hs));
    if (QWidget* g = m_pScrollBars ? static_cast<QWidget*>(m_pScrollBars) : m_pSliderControl)
        g->setGeometry(m_pWgtSlidebars->geometry());

    m_geometry.setFrameSize(fw, fh);
    if (m_geometry.isLoaded()) {
        const bool bKept = m_geometry.refit();
        if (!bKept)
            m_pFrameA->clearMarker();
        applyGeometryToImages();
        updateScales();
        updateCursorPixels();
        updateMinimumRectangles();
        updateScrollBars();
        if (m_geometry.isZoomed())
            emitDragPossible();
        else
            emit scanDraggingPossible(false);
        updateAScan();
        repaintFrames();
    } else {
        applyGeometryToImages();
    }
}

// ----- geometry to the children -------------------------------------------------------------

void CMapScans::applyGeometryToImages()
{
    const MapViewGeometry& g = m_geometry;
    m_imageC->setGeometry(g.frameWidth(), g.frameHeight(), g.imageWidth(), g.imageHeight());
    m_imageB->setGeometry(g.frameWidth(), g.frameHeight(), g.imageWidth(), g.imageDepth());
    m_imageD->setGeometry(g.frameHeight(), g.frameHeight(), g.imageDepth(), g.imageHeight());
    m_imageC->setOffset(g.offsetX(), g.offsetY());
    m_imageB->setOffset(g.offsetX(), g.offsetZ());
    m_imageD->setOffset(g.offsetZ(), g.offsetY());
    m_pFrameC->setOffset(g.offsetX(), g.offsetY());
    m_pFrameB->setOffset(g.offsetX(), g.offsetZ());
    m_pFrameD->setOffset(g.offsetZ(), g.offsetY());
    for (CScanogrammFrame* f : {m_pFrameC, m_pFrameB, m_pFrameD})
        f->resetLimits();
}

void CMapScans::updateScale(QScaleFrame* scale, const MapAxisScale& s)
{
    scale->setRange(s.start, s.visible);
    scale->setTicks(0.0, s.step, s.step / 2);
    scale->update();
}

void CMapScans::updateScales()
{
    const MapAxisScale x = m_geometry.scaleX();
    const MapAxisScale y = m_geometry.scaleY();
    const MapAxisScale z = m_geometry.scaleZ();
    updateScale(m_pCHor, x);
    updateScale(m_pBHor, x);
    updateScale(m_pCVer, y);
    updateScale(m_pDVer, y);
    updateScale(m_pBVer, z);
    updateScale(m_pDHor, z);
    updateScale(m_pAVer, z);
    m_pFrameA->setSignalAxis(z.start, z.visible, 0.0, z.step);
}

void CMapScans::updateScrollBars()
{
    const bool bZoomed = m_geometry.isZoomed();
    const struct
    {
        QScrollBar* bar;
        int max;
        int value;
        int page;
    } bars[] = {{m_pScrollX, m_geometry.maxOffsetX(), m_geometry.offsetX(), m_geometry.frameWidth()},
                {m_pScrollY, m_geometry.maxOffsetY(), m_geometry.offsetY(), m_geometry.frameHeight()},
                {m_pScrollZ, m_geometry.maxOffsetZ(), m_geometry.offsetZ(), m_geometry.frameHeight()}};
    for (const auto& b : bars) {
        const QSignalBlocker block(b.bar);
        b.bar->setEnabled(bZoomed);
        b.bar->setRange(0, bZoomed ? b.max : 0);
        b.bar->setPageStep(std::max(1, b.page));
        b.bar->setSingleStep(std::max(1, b.page / 20));
        if (bZoomed && b.max > 0)
            b.bar->setValue(b.value);
    }
}

void CMapScans::emitDragPossible()
{
    emit scanDraggingPossible(m_geometry.canDrag());
}

void CMapScans::resetZoom()
{
    m_geometry.resetZoom();
    updateScrollBars();
    emit scanDraggingPossible(false);
}

void CMapScans::updateMinimumRectangles()
{
    const QSize c = m_geometry.minRectC();
    const QSize b = m_geometry.minRectB();
    const QSize d = m_geometry.minRectD();
    m_pFrameC->setMinRectSize(c.width(), c.height());
    m_pFrameB->setMinRectSize(b.width(), b.height());
    m_pFrameD->setMinRectSize(d.width(), d.height());
}

void CMapScans::repaintFrames()
{
    for (QWidget* w : {static_cast<QWidget*>(m_pFrameC), static_cast<QWidget*>(m_pFrameB),
                       static_cast<QWidget*>(m_pFrameD), static_cast<QWidget*>(m_pFrameA)})
        w->update();
}

// ----- images and the A-scan ----------------------------------------------------------------

void CMapScans::renderImages()
{
    if (!m_data.currentVolume()) {
        clearImages();
        return;
    }
    auto show = [](ScanImage& image, const MapPlane& plane) {
        if (!image.setPlane(plane))
            image.clear();
    };
    if (m_bLimitsMode) {
        show(*m_imageC, m_data.projectionC());
        show(*m_imageB, m_data.projectionB());
        show(*m_imageD, m_data.projectionD());
    } else {
        show(*m_imageC, m_data.sliceC(m_sliceZ));
        show(*m_imageB, m_data.sliceB(m_sliceY));
        show(*m_imageD, m_data.sliceD(m_sliceX));
    }
}

void CMapScans::clearImages()
{
    m_imageC->clear();
    m_imageB->clear();
    m_imageD->clear();
}

int CMapScans::signalTypeAmplitudeMin() const
{
    return m_settings.eSignalType == ConfigSettings::SignalRadio ? -511 : 0;
}

void CMapScans::setAScanAxes()
{
    m_pFrameA->setAmplitudeRange(signalTypeAmplitudeMin(), 511);
    m_pFrameA->setAmplitudeAxis(0.0, 100.0, 0.0, 25.0);
}

void CMapScans::updateAScan()
{
    m_ascan.clear();
    if (!isMapLoaded() || !m_data.currentVolume()) {
        m_pFrameA->blank();
        return;
    }
    const int nz = m_data.dim2();
    if (m_bLimitsMode) {
        const MapPlane& b = m_data.projectionB();
        if (m_sliceX >= 0 && m_sliceX < b.size0 && b.size1 == nz && !b.isNull()) {
            const qint16* col = b.values.data() + qint64(m_sliceX) * nz;
            m_ascan.assign(col, col + nz);
        }
    } else {
        const std::span<const qint16> col = m_data.column(m_sliceX, m_sliceY);
        m_ascan.assign(col.begin(), col.end());
    }
    if (m_ascan.empty()) {
        m_pFrameA->blank();
        return;
    }
    const MapBand w = m_geometry.ascanWindow();
    if (m_geometry.isZoomed() && w.last >= w.first && w.last < int(m_ascan.size()))
        m_ascan = std::vector<qint16>(m_ascan.begin() + w.first, m_ascan.begin() + w.last + 1);
    m_pFrameA->setSignal(m_ascan.data(), int(m_ascan.size()));
    if (!m_bMeasuringMode)
        m_pFrameA->setMarker(m_geometry.pixelZ(m_sliceZ) - m_geometry.offsetZ());
}

void CMapScans::updateAmplitudeReadout()
{
    if (!isMapLoaded())
        return;
    if (m_bMeasuringMode) {
        const MapBox box = currentBox();
        if (box.x2 < box.x1 || box.y2 < box.y1 || box.z2 < box.z1 || box.x1 < 0)
            return;
        int x1 = box.x1, x2 = box.x2, y1 = box.y1, y2 = box.y2, z1 = box.z1, z2 = box.z2;
        if (m_bLimitsMode) {
            x1 = std::max(x1, int(m_data.range0().first));
            x2 = std::min(x2, int(m_data.range0().last));
            y1 = std::max(y1, int(m_data.range1().first));
            y2 = std::min(y2, int(m_data.range1().last));
            z1 = std::max(z1, int(m_data.range2().first));
            z2 = std::min(z2, int(m_data.range2().last));
        }
        const int a = m_data.boxMaximum(x1, x2, y1, y2, z1, z2);
        if (m_pDisplaysDiff)
            m_pDisplaysDiff->setAmplitude(MapViewGeometry::amplitudeDb(a, m_settings.iGain));
        return;
    }
    const int a = m_data.voxel(m_sliceX, m_sliceY, m_sliceZ);
    if (m_pDisplaysStd)
        m_pDisplaysStd->setAmplitude(MapViewGeometry::amplitudeDb(a, m_settings.iGain));
}

// ----- cursors ------------------------------------------------------------------------------

void CMapScans::placeCursor(int x, int y, int z)
{
    // Pixels of the three images at one volume point: C (x, y), B (x, z), D (z, y).
    m_pFrameC->setSecondCorner(x, y, m_sliceX, m_sliceY);
    m_pFrameB->setSecondCorner(x, z, m_sliceX, m_sliceZ);
    m_pFrameD->setSecondCorner(z, y, m_sliceZ, m_sliceY);
    if (m_pDisplaysStd) {
        m_pDisplaysStd->setX(m_geometry.metresX(x), m_positionX);
        m_pDisplaysStd->setY(m_geometry.metresY(y), m_positionY);
        m_pDisplaysStd->setZ(m_geometry.metresZ(z));
    }
    if (!m_bMeasuringMode)
        m_pFrameA->setMarker(z - m_geometry.offsetZ());
    updateAmplitudeReadout();
}

void CMapScans::restoreCursorsFromSlices()
{
    if (!isMapLoaded() || m_bMeasuringMode)
        return;
    const int x = m_geometry.pixelX(m_sliceX);
    const int y = m_geometry.pixelY(m_sliceY);
    m_positionX = m_geometry.positionNumberX(x);
    m_positionY = m_geometry.positionNumberY(y);
    placeCursor(x, y, m_geometry.pixelZ(m_sliceZ));
}

void CMapScans::updateCursorPixels()
{
    if (m_bMeasuringMode)
        updateRectanglesFromIndices();
    else if (isMapLoaded())
        restoreCursorsFromSlices();
}

void CMapScans::updateRectanglesFromIndices()
{
    const MapBox box = currentBox();
    if (box.x1 < 0 || box.x2 < 0)
        return;
    const MapViewGeometry& g = m_geometry;
    m_pFrameC->setFirstCorner(g.pixelX(box.x1), g.pixelY(box.y1), box.x1, box.y1);
    m_pFrameC->setSecondCorner(g.pixelX(box.x2), g.pixelY(box.y2), box.x2, box.y2);
    m_pFrameB->setFirstCorner(g.pixelX(box.x1), g.pixelZ(box.z1), box.x1, box.z1);
    m_pFrameB->setSecondCorner(g.pixelX(box.x2), g.pixelZ(box.z2), box.x2, box.z2);
    m_pFrameD->setFirstCorner(g.pixelZ(box.z1), g.pixelY(box.y1), box.z1, box.y1);
    m_pFrameD->setSecondCorner(g.pixelZ(box.z2), g.pixelY(box.y2), box.z2, box.y2);
}

MapBox CMapScans::currentBox() const
{
    // X and Y from the C-scan's rectangle, Z from the B-scan's.
    MapBox b;
    b.x1 = m_pFrameC->firstCornerIndices().x();
    b.y1 = m_pFrameC->firstCornerIndices().y();
    b.x2 = m_pFrameC->secondCornerIndices().x();
    b.y2 = m_pFrameC->secondCornerIndices().y();
    b.z1 = m_pFrameB->firstCornerIndices().y();
    b.z2 = m_pFrameB->secondCornerIndices().y();
    return b;
}

void CMapScans::slot_CscanCursorPositionChanged(QPoint curPos)
{
    if (!isMapLoaded())
        return;
    const int x = curPos.x();
    const int y = curPos.y();
    if (x < 0 || x >= m_geometry.imageWidth() || y < 0 || y >= m_geometry.imageHeight())
        return;
    m_positionX = m_geometry.positionNumberX(x);
    m_positionY = m_geometry.positionNumberY(y);
    const int sx = m_geometry.indexX(x);
    const int sy = m_geometry.indexY(y);
    const bool bChanged = sx != m_sliceX || sy != m_sliceY;
    m_sliceX = sx;
    m_sliceY = sy;
    if (bChanged && !m_bLimitsMode)
        renderImages();
    updateSliceBars();
    updateAScan();
    placeCursor(x, y, m_geometry.pixelZ(m_sliceZ));
    repaintFrames();
}

void CMapScans::slot_BscanCursorPositionChanged(QPoint curPos)
{
    if (!isMapLoaded())
        return;
    const int x = curPos.x();
    const int z = curPos.y();
    if (x < 0 || x >= m_geometry.imageWidth() || z < 0 || z >= m_geometry.imageDepth())
        return;
    m_positionX = m_geometry.positionNumberX(x);
    const int sx = m_geometry.indexX(x);
    const int sz = m_geometry.indexZ(z);
    const bool bChanged = sx != m_sliceX || sz != m_sliceZ;
    m_sliceX = sx;
    m_sliceZ = sz;
    if (bChanged && !m_bLimitsMode)
        renderImages();
    updateSliceBars();
    updateAScan();
    placeCursor(x, m_geometry.pixelY(m_sliceY), z);
    repaintFrames();
}

void CMapScans::slot_DscanCursorPositionChanged(QPoint curPos)
{
    if (!isMapLoaded())
        return;
    const int z = curPos.x();
    const int y = curPos.y();
    if (y < 0 || y >= m_geometry.imageHeight() || z < 0 || z >= m_geometry.imageDepth())
        return;
    m_positionY = m_geometry.positionNumberY(y);
    const int sy = m_geometry.indexY(y);
    const int sz = m_geometry.indexZ(z);
    const bool bChanged = sy != m_sliceY || sz != m_sliceZ;
    m_sliceY = sy;
    m_sliceZ = sz;
    if (bChanged && !m_bLimitsMode)
        renderImages();
    updateSliceBars();
    updateAScan();
    placeCursor(m_geometry.pixelX(m_sliceX), y, z);
    repaintFrames();
}

void CMapScans::slot_AscanCursorPositionChanged(QPoint curPos)
{
    if (!isMapLoaded())
        return;
    const int z = curPos.y() + m_geometry.offsetZ();
    if (z < 0 || z >= m_geometry.imageDepth())
        return;
    const int sz = m_geometry.indexZ(z);
    if (sz != m_sliceZ) {
        m_sliceZ = sz;
        if (!m_bLimitsMode)
            renderImages();
    }
    updateSliceBars();
    placeCursor(m_geometry.pixelX(m_sliceX), m_geometry.pixelY(m_sliceY), z);
    repaintFrames();
}

// ----- slices and layer limits --------------------------------------------------------------

void CMapScans::sliceChanged(int iAxis, int iValue)
{
    if (!isMapLoaded())
        return;
    int* slice = iAxis == 0 ? &m_sliceX : iAxis == 1 ? &m_sliceY : &m_sliceZ;
    if (*slice == iValue)
        return;
    *slice = iValue;
    if (!m_bLimitsMode || iAxis == 2)
        renderImages();
    if (iAxis != 2 || !m_bLimitsMode)
        updateAScan();
    if (!m_bMeasuringMode) {
        const int x = m_geometry.pixelX(m_sliceX);
        const int y = m_geometry.pixelY(m_sliceY);
        if (iAxis == 0)
            m_positionX = m_geometry.positionNumberX(x);
        if (iAxis == 1)
            m_positionY = m_geometry.positionNumberY(y);
        placeCursor(x, y, m_geometry.pixelZ(m_sliceZ));
    }
    repaintFrames();
}

void CMapScans::slot_sliceChanged_X(int iValue)
{
    sliceChanged(0, iValue);
}

void CMapScans::slot_sliceChanged_Y(int iValue)
{
    sliceChanged(1, iValue);
}

void CMapScans::slot_sliceChanged_Z(int iValue)
{
    sliceChanged(2, iValue);
}

void CMapScans::layerLimitsChanged(int iAxis, int iMin, int iMax)
{
    if (!isMapLoaded())
        return;
    if (iAxis == 0)
        m_data.setRange0(iMin, iMax);
    else if (iAxis == 1)
        m_data.setRange1(iMin, iMax);
    else
        m_data.setRange2(iMin, iMax);
    renderImages();
    updateAScan();
    if (m_bMeasuringMode)
        updateAmplitudeReadout();
    repaintFrames();
}

void CMapScans::slot_minLayerChanged_Z(int iMin)
{
    layerLimitsChanged(2, iMin, m_data.range2().last);
}

void CMapScans::slot_maxLayerChanged_Z(int iMax)
{
    layerLimitsChanged(2, m_data.range2().first, iMax);
}

void CMapScans::slot_layerLimitsChanged_Z(int iMin, int iMax)
{
    layerLimitsChanged(2, iMin, iMax);
}

void CMapScans::slot_minLayerChanged_Y(int iMin)
{
    layerLimitsChanged(1, iMin, m_data.range1().last);
}

void CMapScans::slot_maxLayerChanged_Y(int iMax)
{
    layerLimitsChanged(1, m_data.range1().first, iMax);
}

void CMapScans::slot_layerLimitsChanged_Y(int iMin, int iMax)
{
    layerLimitsChanged(1, iMin, iMax);
}

void CMapScans::slot_minLayerChanged_X(int iMin)
{
    layerLimitsChanged(0, iMin, m_data.range0().last);
}

void CMapScans::slot_maxLayerChanged_X(int iMax)
{
    layerLimitsChanged(0, m_data.range0().first, iMax);
}

void CMapScans::slot_layerLimitsChanged_X(int iMin, int iMax)
{
    layerLimitsChanged(0, iMin, iMax);
}

// ----- rectangles ---------------------------------------------------------------------------

void CMapScans::rectSelectBegun(Frame eFrame, QPoint p)
{
    if (!isMapLoaded())
        return;
    CScanogrammFrame* frames[] = {m_pFrameC, m_pFrameB, m_pFrameD};
    CScanogrammFrame* self = frames[int(eFrame)];
    for (CScanogrammFrame* f : frames)
        if (f != self)
            f->resetSelection(false);
    slot_clearLCDpanels();
    int ix = -1, iy = -1;
    switch (eFrame) {
    case Frame::C: ix = m_geometry.indexX(p.x()); iy = m_geometry.indexY(p.y()); break;
    case Frame::B: ix = m_geometry.indexX(p.x()); iy = m_geometry.indexZ(p.y()); break;
    case Frame::D: ix = m_geometry.indexZ(p.x()); iy = m_geometry.indexY(p.y()); break;
    }
    self->setFirstCorner(p.x(), p.y(), ix, iy);
    self->setSecondCorner(p.x(), p.y(), -1, -1);
    self->update();
}

void CMapScans::rectangleSelected(Frame eFrame, QPoint p1, QPoint p2)
{
    CScanogrammFrame* frames[] = {m_pFrameC, m_pFrameB, m_pFrameD};
    CScanogrammFrame* self = frames[int(eFrame)];
    if (p1.x() < 0 || p1.y() < 0) {
        for (CScanogrammFrame* f : frames)
            if (f != self)
                f->resetSelection(false);
        repaintFrames();
        return;
    }
    if (!isMapLoaded())
        return;
    const MapViewGeometry& g = m_geometry;
    MapBand bx = g.bandX(), by = g.bandY(), bz = g.bandZ();
    switch (eFrame) {
    case Frame::C:
        bx = {g.indexX(p1.x()), g.indexX(p2.x())};
        by = {g.indexY(p1.y()), g.indexY(p2.y())};
        break;
    case Frame::B:
        bx = {g.indexX(p1.x()), g.indexX(p2.x())};
        bz = {g.indexZ(p1.y()), g.indexZ(p2.y())};
        break;
    case Frame::D:
        bz = {g.indexZ(p1.x()), g.indexZ(p2.x())};
        by = {g.indexY(p1.y()), g.indexY(p2.y())};
        break;
    }
    // The frame that drew keeps its pixels; the others get theirs from the indices.
    m_pFrameC->setFirstCorner(g.pixelX(bx.first), g.pixelY(by.first), bx.first, by.first);
    m_pFrameC->setSecondCorner(g.pixelX(bx.last), g.pixelY(by.last), bx.last, by.last);
    m_pFrameB->setFirstCorner(g.pixelX(bx.first), g.pixelZ(bz.first), bx.first, bz.first);
    m_pFrameB->setSecondCorner(g.pixelX(bx.last), g.pixelZ(bz.last), bx.last, bz.last);
    m_pFrameD->setFirstCorner(g.pixelZ(bz.first), g.pixelY(by.first), bz.first, by.first);
    m_pFrameD->setSecondCorner(g.pixelZ(bz.last), g.pixelY(by.last), bz.last, by.last);
    self->setFirstCorner(p1.x(), p1.y(), -1, -1);
    self->setSecondCorner(p2.x(), p2.y(), -1, -1);
    showMeasurement(true, true, true);
    for (CScanogrammFrame* f : frames)
        f->setMouseTracking(true);
    repaintFrames();
}

void CMapScans::rectangleBorderChanged(Frame eFrame, QPoint p1, QPoint p2)
{
    if (!isMapLoaded())
        return;
    const MapViewGeometry& g = m_geometry;
    switch (eFrame) {
    case Frame::C: {
        const int x1 = g.indexX(p1.x()), x2 = g.indexX(p2.x());
        const int y1 = g.indexY(p1.y()), y2 = g.indexY(p2.y());
        m_pFrameC->setFirstCorner(p1.x(), p1.y(), x1, y1);
        m_pFrameC->setSecondCorner(p2.x(), p2.y(), x2, y2);
        m_pFrameB->setFirstCorner(p1.x(), -1, x1, -1);
        m_pFrameB->setSecondCorner(p2.x(), -1, x2, -1);
        m_pFrameD->setFirstCorner(-1, p1.y(), -1, y1);
        m_pFrameD->setSecondCorner(-1, p2.y(), -1, y2);
        showMeasurement(true, true, false);
        break;
    }
    case Frame::B: {
        const int x1 = g.indexX(p1.x()), x2 = g.indexX(p2.x());
        const int z1 = g.indexZ(p1.y()), z2 = g.indexZ(p2.y());
        m_pFrameB->setFirstCorner(p1.x(), p1.y(), x1, z1);
        m_pFrameB->setSecondCorner(p2.x(), p2.y(), x2, z2);
        m_pFrameC->setFirstCorner(p1.x(), -1, x1, -1);
        m_pFrameC->setSecondCorner(p2.x(), -1, x2, -1);
        m_pFrameD->setFirstCorner(p1.y(), -1, z1, -1);
        m_pFrameD->setSecondCorner(p2.y(), -1, z2, -1);
        showMeasurement(true, false, true);
        break;
    }
    case Frame::D: {
        const int z1 = g.indexZ(p1.x()), z2 = g.indexZ(p2.x());
        const int y1 = g.indexY(p1.y()), y2 = g.indexY(p2.y());
        m_pFrameD->setFirstCorner(p1.x(), p1.y(), z1, y1);
        m_pFrameD->setSecondCorner(p2.x(), p2.y(), z2, y2);
        m_pFrameB->setFirstCorner(-1, p1.x(), -1, z1);
        m_pFrameB->setSecondCorner(-1, p2.x(), -1, z2);
        m_pFrameC->setFirstCorner(-1, p1.y(), -1, y1);
        m_pFrameC->setSecondCorner(-1, p2.y(), -1, y2);
        showMeasurement(false, true, true);
        break;
    }
    }
    repaintFrames();
}

void CMapScans::showMeasurement(bool bX, bool bY, bool bZ)
{
    if (!m_pDisplaysDiff)
        return;
    const MapBox b = currentBox();
    if (bX)
        m_pDisplaysDiff->setX(b.x1 * m_geometry.cellX() / 1000.0, (b.x2 - b.x1) * m_geometry.cellX() / 1000.0);
    if (bY)
        m_pDisplaysDiff->setY(b.y1 * m_geometry.cellY() / 1000.0, (b.y2 - b.y1) * m_geometry.cellY() / 1000.0);
    if (bZ)
        m_pDisplaysDiff->setZ(MapViewGeometry::kDepthPoint * b.z1, MapViewGeometry::kDepthPoint * (b.z2 - b.z1));
    updateAmplitudeReadout();
}

void CMapScans::slot_BscanRectSelectBegun(QPoint p)
{
    rectSelectBegun(Frame::B, p);
}

void CMapScans::slot_CscanRectSelectBegun(QPoint p)
{
    rectSelectBegun(Frame::C, p);
}

void CMapScans::slot_DscanRectSelectBegun(QPoint p)
{
    rectSelectBegun(Frame::D, p);
}

void CMapScans::slot_BscanRectangleSelected(QPoint p1, QPoint p2)
{
    rectangleSelected(Frame::B, p1, p2);
}

void CMapScans::slot_CscanRectangleSelected(QPoint p1, QPoint p2)
{
    rectangleSelected(Frame::C, p1, p2);
}

void CMapScans::slot_DscanRectangleSelected(QPoint p1, QPoint p2)
{
    rectangleSelected(Frame::D, p1, p2);
}

void CMapScans::slot_BscanRectangleBorderChanged(QPoint p1, QPoint p2)
{
    rectangleBorderChanged(Frame::B, p1, p2);
}

void CMapScans::slot_CscanRectangleBorderChanged(QPoint p1, QPoint p2)
{
    rectangleBorderChanged(Frame::C, p1, p2);
}

void CMapScans::slot_DscanRectangleBorderChanged(QPoint p1, QPoint p2)
{
    rectangleBorderChanged(Frame::D, p1, p2);
}

// ----- zoom and pan -------------------------------------------------------------------------

void CMapScans::slot_onMouseWheelScrolled(int iSteps)
{
    if (!isMapLoaded() || iSteps == 0)
        return;
    const MapViewGeometry::ZoomResult r = m_geometry.zoom(iSteps);
    if (r == MapViewGeometry::ZoomResult::Ignored)
        return;
    applyGeometryToImages();
    updateScales();
    updateCursorPixels();
    updateMinimumRectangles();
    updateAScan();
    updateScrollBars();
    if (r == MapViewGeometry::ZoomResult::Reset)
        emit scanDraggingPossible(false);
    else
        emitDragPossible();
    repaintFrames();
}

void CMapScans::slot_XscrollingChanged(int iPosition)
{
    if (iPosition == m_geometry.offsetX())
        return;
    m_geometry.setOffsetX(iPosition);
    applyGeometryToImages();
    updateScale(m_pCHor, m_geometry.scaleX());
    updateScale(m_pBHor, m_geometry.scaleX());
    m_pFrameC->update();
    m_pFrameB->update();
}

void CMapScans::slot_YscrollingChanged(int iPosition)
{
    if (iPosition == m_geometry.offsetY())
        return;
    m_geometry.setOffsetY(iPosition);
    applyGeometryToImages();
    updateScale(m_pCVer, m_geometry.scaleY());
    updateScale(m_pDVer, m_geometry.scaleY());
    m_pFrameC->update();
    m_pFrameD->update();
}

void CMapScans::slot_ZscrollingChanged(int iPosition)
{
    if (iPosition == m_geometry.offsetZ())
        return;
    m_geometry.setOffsetZ(iPosition);
    applyGeometryToImages();
    updateScales();
    updateAScan();
    m_pFrameB->update();
    m_pFrameD->update();
    m_pFrameA->update();
}

void CMapScans::offsetDragged(Frame eFrame, QPoint p)
{
    switch (eFrame) {
    case Frame::C: m_geometry.setOffsetX(p.x()); m_geometry.setOffsetY(p.y()); break;
    case Frame::B: m_geometry.setOffsetX(p.x()); m_geometry.setOffsetZ(p.y()); break;
    case Frame::D: m_geometry.setOffsetZ(p.x()); m_geometry.setOffsetY(p.y()); break;
    }
    applyGeometryToImages();
    updateScales();
    updateScrollBars();
    if (eFrame != Frame::C)
        updateAScan();
    repaintFrames();
}

void CMapScans::slot_BScanOffsetChanged(QPoint p)
{
    offsetDragged(Frame::B, p);
}

void CMapScans::slot_CScanOffsetChanged(QPoint p)
{
    offsetDragged(Frame::C, p);
}

void CMapScans::slot_DScanOffsetChanged(QPoint p)
{
    offsetDragged(Frame::D, p);
}

// ----- threshold, brightness, read-outs, clipboard ------------------------------------------

void CMapScans::slot_clearLCDpanels()
{
    if (m_pDisplaysDiff)
        m_pDisplaysDiff->clear();
    if (m_pDisplaysStd)
        m_pDisplaysStd->clear();
}

void CMapScans::slot_setScanThreshold(int iValue)
{
    m_imageC->setThreshold(iValue);
    m_imageB->setThreshold(iValue);
    m_imageD->setThreshold(iValue);
    m_pFrameC->update();
    m_pFrameB->update();
    m_pFrameD->update();
}

void CMapScans::slot_setScanBrightness(int iValue)
{
    const double f = brightnessFactor(iValue);
    m_imageC->setBrightness(f);
    m_imageB->setBrightness(f);
    m_imageD->setBrightness(f);
    m_pFrameA->setGain(f);
    repaintFrames();
}

void CMapScans::stepBrightness(int iSteps)
{
    m_pSpbBrightness->setValue(m_pSpbBrightness->value() + iSteps);
}

QImage CMapScans::composed(const CScanogrammFrame* frame, const QScaleFrame* hor, const QScaleFrame* ver) const
{
    return frame->composedImage(ver, hor, ver->width());
}

QImage CMapScans::composedCScan() const
{
    return composed(m_pFrameC, m_pCHor, m_pCVer);
}

QImage CMapScans::composedBScan() const
{
    return composed(m_pFrameB, m_pBHor, m_pBVer);
}

QImage CMapScans::composedDScan() const
{
    return composed(m_pFrameD, m_pDHor, m_pDVer);
}

QImage CMapScans::composedAScan() const
{
    return MapPicture::compose(m_pFrameA->picture(), m_pAVer, nullptr, m_pAVer->width());
}

void CMapScans::slot_copyCScanToClipboard()
{
    QGuiApplication::clipboard()->setImage(composedCScan());
}

void CMapScans::slot_copyBScanToClipboard()
{
    QGuiApplication::clipboard()->setImage(composedBScan());
}

void CMapScans::slot_copyDScanToClipboard()
{
    QGuiApplication::clipboard()->setImage(composedDScan());
}

void CMapScans::slot_copyAScanToClipboard()
{
    QGuiApplication::clipboard()->setImage(composedAScan());
}

QList<QStringList> CMapScans::readoutTexts() const
{
    if (m_pDisplaysStd)
        return m_pDisplaysStd->reportTexts();
    if (m_pDisplaysDiff)
        return m_pDisplaysDiff->reportTexts();
    return {};
}

// ----- modes --------------------------------------------------------------------------------

void CMapScans::setLimitsMode(bool bOn)
{
    m_bLimitsMode = bOn;
    createSliderGroup();
    if (isMapLoaded()) {
        renderImages();
        updateAScan();
    }
    repaintFrames();
}

void CMapScans::setMeasuringMode(bool bOn)
{
    m_bMeasuringMode = bOn;
    for (CScanogrammFrame* f : {m_pFrameC, m_pFrameB, m_pFrameD}) {
        f->resetSelection(false);
        f->setMeasuring(bOn ? 1 : 0);
    }
    m_pFrameA->clearMarker();
    m_pFrameA->setMarkerEnabled(!bOn);
    createReadouts();
    if (!bOn && isMapLoaded())
        restoreCursorsFromSlices();
    repaintFrames();
}

void CMapScans::setScanDragMode(bool bOn)
{
    m_bDragMode = bOn;
    for (CScanogrammFrame* f : {m_pFrameC, m_pFrameB, m_pFrameD}) {
        f->setDraggingMode(bOn);
        f->update();
    }
    m_pFrameA->update();
}

void CMapScans::slot_viewingModeChanged(EScanProcessing eViewingMode)
{
    if (!isMapLoaded())
        return;
    m_data.setViewingMode(eViewingMode);
    renderImages();
    updateAScan();
    updateAmplitudeReadout();
    repaintFrames();
}

void CMapScans::slot_commentsChanged(QString s)
{
    m_stored.setComments(s);
}

// ----- opening, processing, clearing --------------------------------------------------------

void CMapScans::openMap(const QString& strConfigPath, const QString& strFolder)
{
    clearMap();
    MapOpenRequest request;
    request.configPath = strConfigPath;
    request.current = m_saft;
    request.storedFiles = &m_stored;
    MapOpenResult r;
    runSequence([&](MapStepReporter* pReporter) {
        r = MapOpener::open(m_data, request, pReporter);
        return r.loaded;
    });
    if (!r.loaded) {
        m_data.clear();
        m_stored.clear();
        // A map that cannot be opened just stays empty; the reason is kept for the command line.
        m_strLastMessage = r.message;
        emit mapDataLoaded(false, r.savedSettings);
        return;
    }
    m_config = r.config;
    m_settings = r.config.settings;
    m_saft = r.saft;
    m_openedSaft = r.saft;
    m_strMapName = r.config.mapName;
    m_strFolder = strFolder.isEmpty() ? r.folder : strFolder;
    m_strConfigPath = strConfigPath;
    m_strDate = r.createdText;
    m_firstPositionX = r.firstPosition.i;
    m_firstPositionY = r.firstPosition.j;
    m_sampleWindowFirst = r.firstSample;
    m_sampleWindowCount = r.sampleSpan;

    m_geometry.setMap(r.scan.columns, r.scan.rows, r.config.stepH, r.config.stepV, r.depthStart, r.depthRange);
    m_geometry.fit();
    resetZoom();
    applyGeometryToImages();
    updateScales();
    setAScanAxes();
    updateMinimumRectangles();
    if (!r.message.isEmpty() && !r.transmission)
        warn(r.message);
    emit mapDataLoaded(true, r.savedSettings);

    if (r.savedSettings) {
        applySavedState(r.savedState);
    } else {
        createSliderGroup();
        putCursorOnFirstPosition();
        m_state.sliceX = m_sliceX;
        m_state.sliceY = m_sliceY;
        m_state.sliceZ = m_sliceZ;
        // An untouched map is not a changed one.
        m_stored.setSavedViewSettings(m_saft, collectViewingState());
    }
    repaintFrames();
}

bool CMapScans::runSequence(const std::function<bool(MapStepReporter*)>& sequence)
{
    // Headless runs need no dialog; the window shows one per step while a worker computes.
    if (!m_bShowMessages)
        return sequence(nullptr);
    return CInfoSaveDialog::runSteps(this, [&sequence](MapStepReporter& r) { return sequence(&r); });
}

void CMapScans::putCursorOnFirstPosition()
{
    const int x = m_geometry.positionCentreX(m_firstPositionX);
    const int y = m_geometry.positionCentreY(m_firstPositionY);
    m_sliceX = m_geometry.indexX(x);
    m_sliceY = m_geometry.indexY(y);
    m_sliceZ = 0;
    m_positionX = m_geometry.positionNumberX(x);
    m_positionY = m_geometry.positionNumberY(y);
    renderImages();
    updateSliderRanges();
    updateAScan();
    if (!m_bMeasuringMode)
        placeCursor(x, y, 0);
}

void CMapScans::applySavedState(const MapViewState& state)
{
    m_pSpbBrightness->setValue(state.brightness);
    m_pColourScale->setValue(state.threshold);
    slot_setScanThreshold(state.threshold);
    if (state.limitsMode)
        emit scansViewingModeChanged(true);
    if (state.measuringMode == 1)
        emit measuringModeChanged(true);
    // The data window answers the signals by setting the modes; make sure they hold even
    // when no data window listens.
    if (state.limitsMode != m_bLimitsMode)
        setLimitsMode(state.limitsMode);
    if ((state.measuringMode == 1) != m_bMeasuringMode)
        setMeasuringMode(state.measuringMode == 1);
    if (m_bLimitsMode) {
        m_data.setRange0(state.ranges.range0.first, state.ranges.range0.last);
        m_data.setRange1(state.ranges.range1.first, state.ranges.range1.last);
        m_data.setRange2(state.ranges.range2.first, state.ranges.range2.last);
    }
    createSliderGroup();
    m_sliceX = std::clamp(int(state.sliceX), 0, std::max(0, m_geometry.pointsX() - 1));
    m_sliceY = std::clamp(int(state.sliceY), 0, std::max(0, m_geometry.pointsY() - 1));
    m_sliceZ = std::clamp(int(state.sliceZ), 0, std::max(0, m_geometry.pointsZ() - 1));
    m_positionX = m_geometry.positionNumberX(m_geometry.pixelX(m_sliceX));
    m_positionY = m_geometry.positionNumberY(m_geometry.pixelY(m_sliceY));
    m_state = state;
    renderImages();
    updateSliceBars();
    updateAScan();
    if (!m_bMeasuringMode) {
        restoreCursorsFromSlices();
    } else if (state.box.isProper()) {
        const MapViewGeometry& g = m_geometry;
        const MapBox& b = state.box;
        m_pFrameC->setFirstCorner(g.pixelX(b.x1), g.pixelY(b.y1), b.x1, b.y1);
        m_pFrameC->setSecondCorner(g.pixelX(b.x2), g.pixelY(b.y2), b.x2, b.y2);
        m_pFrameB->setFirstCorner(g.pixelX(b.x1), g.pixelZ(b.z1), b.x1, b.z1);
        m_pFrameB->setSecondCorner(g.pixelX(b.x2), g.pixelZ(b.z2), b.x2, b.z2);
        m_pFrameD->setFirstCorner(g.pixelZ(b.z1), g.pixelY(b.y1), b.z1, b.y1);
        m_pFrameD->setSecondCorner(g.pixelZ(b.z2), g.pixelY(b.y2), b.z2, b.y2);
        for (CScanogrammFrame* f : {m_pFrameC, m_pFrameB, m_pFrameD})
            f->setMouseTracking(true);
        showMeasurement(true, true, true);
    }
}

void CMapScans::slot_executeMapProcessing(SAFTsettings strSaftSet)
{
    if (!isMapLoaded() || strSaftSet == m_saft)
        return;
    if (!MapOpener::acceptsDepth(strSaftSet.depth)) {
        warn(tr("The depth must give at least two depth layers."));
        return;
    }
    if (m_bMeasuringMode)
        emit measuringModeChanged(true);
    m_saft = strSaftSet;
    m_geometry.setDepthRange(m_saft.depth / 1000.0);
    clearImages();
    for (CScanogrammFrame* f : {m_pFrameC, m_pFrameB, m_pFrameD})
        f->resetSelection(false);
    m_pFrameA->clear();
    m_geometry.fit();
    resetZoom();
    applyGeometryToImages();
    updateScales();
    MapProcessResult r;
    runSequence([&](MapStepReporter* pReporter) {
        r = MapOpener::reprocess(m_data, m_settings, m_geometry.depthStart(), m_saft, pReporter);
        return r.volumeBuilt;
    });
    if (!r.volumeBuilt) {
        // Nothing half-built stays visible: the view goes back to empty.
        const QString strMessage = r.message.isEmpty() ? tr("The volume could not be built.") : r.message;
        clearMap();
        warn(strMessage);
        emit mapDataLoaded(false, false);
        return;
    }
    m_sampleWindowFirst = r.firstSample;
    m_sampleWindowCount = r.sampleSpan;
    updateMinimumRectangles();
    if (!r.message.isEmpty())
        warn(r.message);
    if (m_pSettingsWindow)
        m_pSettingsWindow->setViewingMode(m_data.viewingMode());
    updateSliderRanges();
    putCursorOnFirstPosition();
    repaintFrames();
}

MapViewState CMapScans::collectViewingState()
{
    if (m_pSettingsWindow) {
        const SAFTsettings edited = m_pSettingsWindow->currentSAFT();
        if (edited != m_pSettingsWindow->lastSAFT() && edited != m_saft) {
            m_saft = edited;
            m_data.setSAFTsettings(m_saft);
        }
    }
    MapViewState s;
    s.brightness = m_pSpbBrightness->value();
    s.threshold = m_pColourScale->value();
    s.limitsMode = m_bLimitsMode;
    s.measuringMode = m_bMeasuringMode ? 1 : 0;
    if (m_bMeasuringMode) {
        const MapBox b = currentBox();
        if (b.x1 >= 0 && b.y1 >= 0 && b.z1 >= 0 && b.x2 >= 0 && b.y2 >= 0 && b.z2 >= 0)
            s.box = b;
    }
    s.sliceX = m_sliceX;
    s.sliceY = m_sliceY;
    s.sliceZ = m_sliceZ;
    s.ranges = m_data.viewRanges();
    m_state = s;
    return s;
}

void CMapScans::askToSave(const QString& strFolder)
{
    if (!isMapLoaded())
        return;
    const MapViewState state = collectViewingState();
    const bool bSettings = m_stored.settingsChanged(m_saft, state);
    const bool bComments = m_stored.commentsChanged();
    QString strText;
    if (bSettings && bComments)
        strText = tr("Map's viewing settings and comments were changed.\nDo you want to save them?");
    else if (bSettings)
        strText = tr("Map's viewing settings were changed. Do you want to save them?");
    else if (bComments)
        strText = tr("Map's comments were changed. Do you want to save them?");
    else
        return;
    if (QMessageBox::question(this, QString::fromLatin1(Vantar::kApplicationName), strText,
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    QString strError;
    if (bSettings && !m_stored.saveViewSettings(strFolder, m_saft, state, &strError))
        warn(strError);
    if (bComments && !m_stored.saveComments(strFolder, &strError))
        warn(strError);
}

bool CMapScans::resetViewSettings(const QString& strFolder)
{
    const QString strPath = MapStoredFiles::viewSettingsPath(strFolder);
    if (QFile::exists(strPath) && !QFile::remove(strPath)) {
        warn(tr("Couldn't delete file ") + QLatin1Char('"') + strPath + QStringLiteral("\"!"));
        return false;
    }
    return true;
}

int CMapScans::pendingChanges() const
{
    if (!isMapLoaded())
        return NoMapFileWritten;
    const MapViewState state = const_cast<CMapScans*>(this)->collectViewingState();
    int bits = NoMapFileWritten;
    if (m_stored.settingsChanged(m_saft, state))
        bits |= ViewSettingsWritten;
    if (m_stored.commentsChanged())
        bits |= CommentsWritten;
    return bits;
}

bool CMapScans::writeChanges(const QString& strFolder, int& iWritten)
{
    iWritten = NoMapFileWritten;
    if (!isMapLoaded())
        return true;
    const MapViewState state = collectViewingState();
    QStringList errors;
    const bool bOk = m_stored.saveChanges(strFolder, m_saft, state, iWritten, &errors);
    for (const QString& e : errors)
        warn(e);
    return bOk;
}

void CMapScans::markChangesSaved()
{
    if (isMapLoaded())
        m_stored.markSaved(m_saft, collectViewingState());
}

void CMapScans::warn(const QString& strText)
{
    m_strLastMessage = strText;
    if (m_bShowMessages)
        QMessageBox::warning(this, QString::fromLatin1(Vantar::kApplicationName), strText);
}

void CMapScans::clearMap()
{
    m_data.clear();
    m_stored.clear();
    m_state = MapViewState();
    m_saft = SAFTsettings();
    m_settings = ConfigSettings();
    m_strConfigPath.clear();
    m_strMapName.clear();
    m_strDate.clear();
    m_firstPositionX = m_firstPositionY = 0;
    m_sliceX = m_sliceY = m_sliceZ = 0;
    m_positionX = m_positionY = 1;
    m_sampleWindowFirst = 0;
    m_sampleWindowCount = Vantar::kMapSampleCount;
    m_ascan.clear();
    clearImages();
    for (CScanogrammFrame* f : {m_pFrameC, m_pFrameB, m_pFrameD})
        f->resetSelection(false);
    m_pFrameA->clear();
    {
        const QSignalBlocker b1(m_pSpbBrightness);
        const QSignalBlocker b2(m_pColourScale);
        m_pSpbBrightness->setValue(0);
        m_pColourScale->setValue(0);
    }
    slot_setScanBrightness(0);
    slot_setScanThreshold(0);
    const int fw = m_geometry.frameWidth();
    const int fh = m_geometry.frameHeight();
    m_geometry.clear();
    m_geometry.setFrameSize(fw, fh);
    if (m_pScrollBars) {
        m_pScrollBars->reset();
        m_pScrollBars->setEnabled(false);
    }
    if (m_pSliderControl) {
        // The limit controls go back to their empty state too.
        m_pSliderControl->reset();
        m_pSliderControl->setEnabled(false);
    }
    delete m_pSettingsWindow;
    slot_clearLCDpanels();
    applyGeometryToImages();
    updateScrollBars();
    repaintFrames();
}

QString CMapScans::titleText() const
{
    if (!isMapLoaded())
        return QString();
    return tr("Map Name: ") + m_strMapName;
}

QString CMapScans::configPath() const
{
    return m_strConfigPath;
}

void CMapScans::showSettingsWindow()
{
    if (!isMapLoaded())
        return;
    if (m_pSettingsWindow) {
        m_pSettingsWindow->showAgain();
        return;
    }
    m_pSettingsWindow = new CMapSettings(CMapSettings::Geometry::fromConfig(m_config), m_settings, m_openedSaft, m_saft,
                                         m_strMapName, m_data.viewingMode(), m_stored.comments(), this);
    connect(m_pSettingsWindow, &CMapSettings::executeProcessing, this, &CMapScans::slot_executeMapProcessing);
    connect(m_pSettingsWindow, &CMapSettings::viewingModeChanged, this, &CMapScans::slot_viewingModeChanged);
    connect(m_pSettingsWindow, &CMapSettings::commentsChanged, this, &CMapScans::slot_commentsChanged);
    m_pSettingsWindow->showAgain();
}

MapReportData CMapScans::reportData(const QString& strLogoPath) const
{
    MapReportData d;
    d.title = MapReport::titleFor(m_strMapName, m_strDate);
    if (!strLogoPath.isEmpty() && QFile::exists(strLogoPath))
        d.logoPath = strLogoPath;
    d.readouts = readoutTexts();
    MapPictureParts parts;
    parts.cScan = composedCScan();
    parts.bScan = composedBScan();
    parts.dScan = composedDScan();
    parts.aScan = composedAScan();
    parts.colourScale = m_pColourScale->grab().toImage();
    d.picture = MapReport::composePicture(parts);
    d.settings = m_settings;
    d.stepH = m_config.stepH;
    d.stepV = m_config.stepV;
    d.sizeH = m_config.sizeH;
    d.sizeV = m_config.sizeV;
    d.comments = m_stored.comments();
    return d;
}

bool CMapScans::printMapReport(QPrinter* pPrinter, const QString& strLogoPath)
{
    if (!pPrinter || !isMapLoaded())
        return false;
    CReportPrinter printer(pPrinter, this);
    const bool bPrinted = printer.printMapReport(reportData(strLogoPath));
    return printer.finish() && bPrinted;
}
