#include "mapview/cmapscans.h"

#include "app/constants.h"
#include "map/mapopener.h"
#include "map/indicationfinder.h"
#include "map/indicationsfile.h"
#include "map/mapvoxelframe.h"
#include "mapview/ccolorscale.h"
#include "mapview/cindicationswindow.h"
#include "mapview/cinfosavedialog.h"
#include "mapview/cmapsettings.h"
#include "mapview/cscanogrammframe.h"
#include "mapview/cvectordrawframe.h"
#include "mapview/cwgtdisplaysdiff.h"
#include "mapview/cwgtdisplaysstd.h"
#include "mapview/mappicture.h"
#include "mapview/mapviewreport.h"
#include "mapview/scanimage.h"
#include "widgets/cwgtscrollbars.h"
#include "widgets/cwgtslidercontrol.h"
#include "widgets/myspinbox.h"
#include "widgets/qscaleframe.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPainter>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace AxisGeometry;

namespace {

constexpr int kHorScaleHeight = 28;
constexpr int kVerScaleWidth = 50;
constexpr int kScrollBarThickness = 16;
constexpr int kSlideBarsWidth = 128; // three 40-pixel bars, their gaps and a margin
constexpr int kReadoutHeight = 40;
constexpr int kReadoutMinWidth = 830; // the narrowest the read-out groups lay themselves out
constexpr int kSpinBoxMaxWidth = 120;
constexpr int kTickLength = 6;
constexpr int kIndicationsButtonSize = 40;

//! Brightness in dB as the multiplier applied to samples.
double brightnessFactor(int iDb)
{
    return std::pow(10.0, iDb / 20.0);
}

//! The icon of the indications button: a mark as the scans draw it.
QIcon indicationsIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(CScanogrammFrame::markColour(), 3));
    painter.drawEllipse(QPoint(11, 20), 8, 8);
    QFont font = painter.font();
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(16, 0, 16, 16), Qt::AlignCenter, QStringLiteral("1"));
    return QIcon(pixmap);
}

} // namespace

CMapScans::CMapScans(QWidget* parent)
    : QWidget(parent)
    // Scan indices of the slider groups: 1 C-scan, 3 B-scan, 2 D-scan.
    , m_panes{ScanPane(kCScanAxes, 1, "frameCScan", "cscanHorScale", "cscanVerScale", this),
              ScanPane(kBScanAxes, 3, "frameBScan", "bscanHorScale", "bscanVerScale", this),
              ScanPane(kDScanAxes, 2, "frameDScan", "dscanHorScale", "dscanVerScale", this)}
    , m_changes(m_stored, m_saft, [this] { return viewingStateNow(); }, [this] { return isMapLoaded(); },
                [this](const QString& s) { warn(s); }, this)
    , m_memoryLimit(Vantar::kMapMemoryLimit)
{
    setObjectName(QStringLiteral("CMapScans"));
    setMinimumSize(1000, 640);
    createChildren();
    createReadouts();
    createSliderGroup();
    updateScrollBars();
}

CMapScans::~CMapScans()
{
    delete m_pSettingsWindow;
    delete m_pIndicationsWindow;
}

void CMapScans::createChildren()
{
    m_pFrameA = new CVectorDrawFrame(this);
    m_pFrameA->setObjectName(QStringLiteral("frameAScan"));
    m_pAVer = new QScaleFrame(this);
    m_pAVer->setObjectName(QStringLiteral("ascanVerScale"));
    m_pAVer->setPosition(0);
    m_pAVer->setDirection(1);
    m_pAVer->setTickLength(kTickLength);
    m_pAVer->setName(QStringLiteral("Z"));
    m_pAVer->setUnit(QStringLiteral("m"));
    m_pAVer->setFixedWidth(kVerScaleWidth);
    for (ScanPane& p : m_panes) {
        p.horizontalScale()->setFixedHeight(kHorScaleHeight);
        p.verticalScale()->setFixedWidth(kVerScaleWidth);
    }

    m_pColourScale = new CColorScale(this);
    m_pColourScale->setObjectName(QStringLiteral("colourScale"));
    m_pColourScale->fillPaletteStrip();

    m_pWgtLcd = new QWidget(this);
    m_pWgtLcd->setObjectName(QStringLiteral("wgt_lcd"));
    m_pWgtLcd->setFixedHeight(kReadoutHeight);
    m_pWgtLcd->setMinimumWidth(kReadoutMinWidth);

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

    m_pBtnIndications = new QToolButton(this);
    m_pBtnIndications->setObjectName(QStringLiteral("tbtn_indications"));
    m_pBtnIndications->setIcon(indicationsIcon());
    m_pBtnIndications->setIconSize(QSize(28, 28));
    m_pBtnIndications->setAutoRaise(true);
    m_pBtnIndications->setEnabled(false);
    connect(m_pBtnIndications, &QToolButton::clicked, this, &CMapScans::showIndicationsWindow);

    m_pWgtSlidebars = new QWidget(this);
    m_pWgtSlidebars->setObjectName(QStringLiteral("wgt_slidebars"));
    m_pWgtSlidebars->setFixedWidth(kSlideBarsWidth);

    const struct
    {
        Axis axis;
        Qt::Orientation orientation;
        const char* name;
        void (CMapScans::*slot)(int);
    } bars[] = {{Axis::X, Qt::Horizontal, "scb_scrollingX", &CMapScans::slot_XscrollingChanged},
                {Axis::Y, Qt::Vertical, "scb_scrollingY", &CMapScans::slot_YscrollingChanged},
                {Axis::Z, Qt::Vertical, "scb_scrollingZ", &CMapScans::slot_ZscrollingChanged}};
    for (const auto& b : bars) {
        auto* bar = new QScrollBar(b.orientation, this);
        bar->setObjectName(QLatin1String(b.name));
        if (b.orientation == Qt::Horizontal)
            bar->setFixedHeight(kScrollBarThickness);
        else
            bar->setFixedWidth(kScrollBarThickness);
        connect(bar, &QScrollBar::valueChanged, this, b.slot);
        m_scroll[axisIndex(b.axis)] = bar;
    }

    using F = CScanogrammFrame;
    for (Scan eScan : {Scan::C, Scan::B, Scan::D}) {
        F* f = pane(eScan).frame();
        connect(f, &F::cursorPositionChanged, this, [this, eScan](QPoint p) { cursorClicked(eScan, p); });
        connect(f, &F::rectangleSelectionBegun, this, [this, eScan](QPoint p) { rectSelectBegun(eScan, p); });
        connect(f, &F::rectangleSelected, this, [this, eScan](QPoint p1, QPoint p2) { rectangleSelected(eScan, p1, p2); });
        connect(f, &F::rectangleBorderChanged, this,
                [this, eScan](QPoint p1, QPoint p2) { rectangleBorderChanged(eScan, p1, p2); });
        connect(f, &F::offsetChanged, this, [this, eScan](QPoint p) { offsetDragged(eScan, p); });
        connect(f, &F::copyImageToClipboard, this, [this, eScan] { copyToClipboard(composedScan(eScan)); });
        connect(f, &F::mouseWheelScrolled, this, &CMapScans::slot_onMouseWheelScrolled);
        // A press outside the image ends the measurement in every frame.
        connect(f, &F::cursorsReseted, this, [this, f] {
            m_bBoxSet = false;
            for (ScanPane& p : m_panes)
                if (p.frame() != f)
                    p.frame()->resetSelection(false);
            slot_clearLCDpanels();
            repaintFrames();
        });
    }
    connect(m_pFrameA, &CVectorDrawFrame::cursorPositionChanged, this, &CMapScans::slot_AscanCursorPositionChanged);
    connect(m_pFrameA, &CVectorDrawFrame::copyImageToClipboard, this, &CMapScans::slot_copyAScanToClipboard);
    connect(m_pColourScale, &CColorScale::leftLimitChanged, this, &CMapScans::slot_setScanThreshold);
    connect(m_pColourScale, &CColorScale::autoBrightnessRequested, this, &CMapScans::autoBrightness);
    connect(m_pSpbBrightness, &MySpinBox::valueChanged, this, &CMapScans::slot_setScanBrightness);
    retranslate();
}

void CMapScans::retranslate()
{
    m_pLblBrightnessUnits->setText(tr("dB"));
    m_pSpbBrightness->setToolTip(tr("Brightness"));
    m_pColourScale->setToolTip(tr("Drag the marker to set the threshold; double-click to set the brightness "
                                  "so that the brightest value shown reaches the top colour"));
    m_pBtnIndications->setToolTip(tr("Indications"));
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
    delete m_pScrollBars;
    delete m_pSliderControl;
    m_pScrollBars = nullptr;
    m_pSliderControl = nullptr;
    QWidget* group = nullptr;
    if (m_bLimitsMode) {
        using S = CWgtSliderControl;
        group = m_pSliderControl = new S(this);
        connect(m_pSliderControl, &S::cscanMinValueChanged, this, &CMapScans::slot_minLayerChanged_Z);
        connect(m_pSliderControl, &S::cscanMaxValueChanged, this, &CMapScans::slot_maxLayerChanged_Z);
        connect(m_pSliderControl, &S::cscanValuesChanged, this, &CMapScans::slot_layerLimitsChanged_Z);
        connect(m_pSliderControl, &S::bscanMinValueChanged, this, &CMapScans::slot_minLayerChanged_Y);
        connect(m_pSliderControl, &S::bscanMaxValueChanged, this, &CMapScans::slot_maxLayerChanged_Y);
        connect(m_pSliderControl, &S::bscanValuesChanged, this, &CMapScans::slot_layerLimitsChanged_Y);
        connect(m_pSliderControl, &S::dscanMinValueChanged, this, &CMapScans::slot_minLayerChanged_X);
        connect(m_pSliderControl, &S::dscanMaxValueChanged, this, &CMapScans::slot_maxLayerChanged_X);
        connect(m_pSliderControl, &S::dscanValuesChanged, this, &CMapScans::slot_layerLimitsChanged_X);
    } else {
        group = m_pScrollBars = new CWgtScrollBars(this);
        connect(m_pScrollBars, &CWgtScrollBars::cscanValueChanged, this, &CMapScans::slot_sliceChanged_Z);
        connect(m_pScrollBars, &CWgtScrollBars::bscanValueChanged, this, &CMapScans::slot_sliceChanged_Y);
        connect(m_pScrollBars, &CWgtScrollBars::dscanValueChanged, this, &CMapScans::slot_sliceChanged_X);
    }
    group->setGeometry(m_pWgtSlidebars->geometry());
    group->setEnabled(isMapLoaded());
    group->show();
    if (isMapLoaded())
        updateSliderRanges();
}

void CMapScans::updateSliderRanges()
{
    // Each scan's bar or control runs over the axis that scan slices.
    for (const ScanPane& p : m_panes) {
        const Axis a = p.axes().slice;
        const int last = std::max(points(m_geometry, a) - 1, 0);
        if (m_pSliderControl) {
            const QSignalBlocker block(m_pSliderControl);
            const MapRange r = layerLimits(m_data, a);
            m_pSliderControl->setRange(p.controlIndex(), 0, last, 1);
            m_pSliderControl->setValues(p.controlIndex(), r.first, r.last);
        }
        if (m_pScrollBars) {
            const QSignalBlocker block(m_pScrollBars);
            m_pScrollBars->setRange(p.controlIndex(), 0, last);
        }
    }
    updateSliceBars();
}

void CMapScans::updateSliceBars()
{
    if (!m_pScrollBars)
        return;
    const QSignalBlocker block(m_pScrollBars);
    for (const ScanPane& p : m_panes)
        m_pScrollBars->setValue(p.controlIndex(), slice(p.axes().slice));
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
    const int hs = kHorScaleHeight;
    const int vs = kVerScaleWidth;
    const int sb = kScrollBarThickness;
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
    const int yT = yB - hs - sb - fh;
    pane(Scan::B).place(sl, yB, fw, fh, vs, hs);
    pane(Scan::C).place(sl, yT, fw, fh, vs, hs);
    pane(Scan::D).place(sl + vs + fw + sb, yT, fh, fh, vs, hs);
    m_scroll[axisIndex(Axis::X)]->setGeometry(sl + vs, yB - hs - sb, fw, sb);
    m_scroll[axisIndex(Axis::Y)]->setGeometry(sl + vs + fw, yT, sb, fh);
    m_scroll[axisIndex(Axis::Z)]->setGeometry(sl + vs + fw, yB, sb, fh);
    const int xA = sl + vs + fw + sb;
    m_pAVer->setGeometry(xA, yB, vs, fh);
    m_pFrameA->setGeometry(xA + vs, yB, fh, fh);
    m_pColourScale->setGeometry(xA + vs, yB - hs - sb, fh, sb + hs);
    // The corner between the D-scan's foot and the A-scan's ruler, left of the colour scale.
    m_pBtnIndications->setGeometry(xA + (vs - kIndicationsButtonSize) / 2, yB - hs - sb + (hs + sb - kIndicationsButtonSize) / 2,
                                   kIndicationsButtonSize, kIndicationsButtonSize);

    m_pWgtSlidebars->setGeometry(0, yT - hs, sl, sb + 2 * (fh + hs));
    if (QWidget* g = m_pScrollBars ? static_cast<QWidget*>(m_pScrollBars) : m_pSliderControl)
        g->setGeometry(m_pWgtSlidebars->geometry());

    m_geometry.setFrameSize(fw, fh);
    if (!isMapLoaded()) {
        applyGeometryToImages();
        return;
    }
    if (!m_geometry.refit())
        m_pFrameA->clearMarker();
    geometryChanged();
}

void CMapScans::geometryChanged()
{
    applyGeometryToImages();
    updateScales();
    updateCursorPixels();
    updateScrollBars();
    if (m_geometry.isZoomed())
        emitDragPossible();
    else
        emit scanDraggingPossible(false);
    updateAScan();
    repaintFrames();
}

// ----- geometry to the children -------------------------------------------------------------

void CMapScans::applyGeometryToImages()
{
    for (ScanPane& p : m_panes)
        p.applyGeometry(m_geometry);
    updateMarks();
}

void CMapScans::updateScales()
{
    for (ScanPane& p : m_panes)
        p.applyScales(m_geometry);
    const MapAxisScale z = m_geometry.scaleZ();
    m_pAVer->setRange(z.start, z.visible);
    m_pAVer->setTicks(0.0, z.step, z.step / 2);
    m_pAVer->update();
    m_pFrameA->setSignalAxis(z.start, z.visible, 0.0, z.step);
}

void CMapScans::updateScrollBars()
{
    const bool bZoomed = m_geometry.isZoomed();
    for (Axis a : kAxes) {
        QScrollBar* bar = m_scroll[axisIndex(a)];
        const QSignalBlocker block(bar);
        const int page = AxisGeometry::frameSize(m_geometry, a);
        bar->setEnabled(bZoomed);
        bar->setRange(0, bZoomed ? maxOffset(m_geometry, a) : 0);
        bar->setPageStep(std::max(1, page));
        bar->setSingleStep(std::max(1, page / 20));
        if (bZoomed && bar->maximum() > 0)
            bar->setValue(offset(m_geometry, a));
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

void CMapScans::repaintFrames()
{
    for (ScanPane& p : m_panes)
        p.frame()->update();
    m_pFrameA->update();
}

// ----- images and the A-scan ----------------------------------------------------------------

void CMapScans::renderImages()
{
    if (!isMapLoaded() || !m_data.currentVolume()) {
        clearImages();
        return;
    }
    for (ScanPane& p : m_panes)
        p.render(m_data, m_bLimitsMode, m_slice);
}

void CMapScans::clearImages()
{
    for (ScanPane& p : m_panes)
        p.image().clear();
}

void CMapScans::setAScanAxes()
{
    m_pFrameA->setAmplitudeRange(m_settings.eSignalType == ConfigSettings::SignalRadio ? -511 : 0, 511);
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
    const int sx = slice(Axis::X);
    if (m_bLimitsMode) {
        // The column of the B-scan's projection: the largest sample over the Y layers.
        const MapPlane& b = m_data.projectionB();
        if (sx >= 0 && sx < b.size0 && b.size1 == nz && !b.isNull()) {
            const qint16* col = b.values.data() + qint64(sx) * nz;
            m_ascan.assign(col, col + nz);
        }
    } else {
        const std::span<const qint16> col = m_data.column(sx, slice(Axis::Y));
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
        m_pFrameA->setMarker(m_cursorPx[axisIndex(Axis::Z)] - m_geometry.offsetZ());
}

void CMapScans::updateAmplitudeReadout()
{
    if (!isMapLoaded())
        return;
    if (!m_bMeasuringMode) {
        const int a = m_data.voxel(slice(Axis::X), slice(Axis::Y), slice(Axis::Z));
        if (m_pDisplaysStd)
            m_pDisplaysStd->setAmplitude(MapViewGeometry::amplitudeDb(a, m_settings.iGain));
        return;
    }
    if (!m_bBoxSet || !m_pDisplaysDiff)
        return;
    // In limits mode only the layers shown count.
    PerAxis<MapBand> b = m_box;
    if (m_bLimitsMode)
        for (Axis a : kAxes) {
            const MapRange r = layerLimits(m_data, a);
            MapBand& band = b[axisIndex(a)];
            band = {std::max(band.first, int(r.first)), std::min(band.last, int(r.last))};
        }
    const int a = m_data.boxMaximum(b[0].first, b[0].last, b[1].first, b[1].last, b[2].first, b[2].last);
    m_pDisplaysDiff->setAmplitude(MapViewGeometry::amplitudeDb(a, m_settings.iGain));
}

// ----- cursors ------------------------------------------------------------------------------

void CMapScans::showCursor()
{
    if (!isMapLoaded() || m_bMeasuringMode)
        return;
    for (ScanPane& p : m_panes)
        p.showCursor(m_cursorPx, m_slice);
    const int x = m_cursorPx[axisIndex(Axis::X)];
    const int y = m_cursorPx[axisIndex(Axis::Y)];
    const int z = m_cursorPx[axisIndex(Axis::Z)];
    if (m_pDisplaysStd) {
        m_pDisplaysStd->setX(m_geometry.metresX(x), m_geometry.positionNumberX(x));
        m_pDisplaysStd->setY(m_geometry.metresY(y), m_geometry.positionNumberY(y));
        m_pDisplaysStd->setZ(m_geometry.metresZ(z));
    }
    m_pFrameA->setMarker(z - m_geometry.offsetZ());
    updateAmplitudeReadout();
}

void CMapScans::restoreCursorsFromSlices()
{
    for (Axis a : kAxes)
        m_cursorPx[axisIndex(a)] = pixel(m_geometry, a, slice(a));
    showCursor();
}

void CMapScans::updateCursorPixels()
{
    if (m_bMeasuringMode)
        showBoxInFrames();
    else
        restoreCursorsFromSlices();
}

void CMapScans::showBoxInFrames()
{
    if (!m_bBoxSet)
        return;
    for (ScanPane& p : m_panes)
        p.showBox(m_geometry, m_box);
}

void CMapScans::cursorClicked(Scan eScan, QPoint p)
{
    const ScanAxes& axes = pane(eScan).axes();
    if (!isMapLoaded())
        return;
    if (p.x() < 0 || p.x() >= imageSize(m_geometry, axes.across) || p.y() < 0 ||
        p.y() >= imageSize(m_geometry, axes.down))
        return;
    moveCursor({{axes.across, p.x()}, {axes.down, p.y()}});
}

void CMapScans::slot_AscanCursorPositionChanged(QPoint curPos)
{
    if (!isMapLoaded())
        return;
    const int z = curPos.y() + m_geometry.offsetZ();
    if (z >= 0 && z < m_geometry.imageDepth())
        moveCursor({{Axis::Z, z}});
}

void CMapScans::moveCursor(std::initializer_list<std::pair<Axis, int>> pixels)
{
    bool bChanged = false;
    for (const auto& [a, px] : pixels) {
        const int i = index(m_geometry, a, px);
        bChanged = bChanged || i != slice(a);
        m_slice[axisIndex(a)] = i;
        m_cursorPx[axisIndex(a)] = px;
    }
    if (bChanged && !m_bLimitsMode)
        renderImages();
    updateSliceBars();
    updateAScan();
    showCursor();
    repaintFrames();
}

// ----- slices and layer limits --------------------------------------------------------------

void CMapScans::sliceChanged(Axis a, int iValue)
{
    if (!isMapLoaded() || iValue == slice(a) || iValue < 0 || iValue >= points(m_geometry, a))
        return;
    m_slice[axisIndex(a)] = iValue;
    m_cursorPx[axisIndex(a)] = pixel(m_geometry, a, iValue);
    if (!m_bLimitsMode)
        renderImages();
    updateAScan();
    showCursor();
    repaintFrames();
}

void CMapScans::minLayerChanged(Axis a, int iMin)
{
    layerLimitsChanged(a, iMin, layerLimits(m_data, a).last);
}

void CMapScans::maxLayerChanged(Axis a, int iMax)
{
    layerLimitsChanged(a, layerLimits(m_data, a).first, iMax);
}

void CMapScans::layerLimitsChanged(Axis a, int iMin, int iMax)
{
    if (!isMapLoaded())
        return;
    setLayerLimits(m_data, a, iMin, iMax);
    renderImages();
    updateAScan();
    updateAmplitudeReadout();
    repaintFrames();
}

// ----- rectangles ---------------------------------------------------------------------------

void CMapScans::resetSelections(const ScanPane* pExcept)
{
    for (ScanPane& p : m_panes)
        if (&p != pExcept)
            p.frame()->resetSelection(false);
}

void CMapScans::rectSelectBegun(Scan eScan, QPoint p)
{
    if (!isMapLoaded())
        return;
    ScanPane& self = pane(eScan);
    resetSelections(&self);
    m_bBoxSet = false;
    slot_clearLCDpanels();
    PerAxis<MapBand> b = m_box;
    self.bandsBetween(m_geometry, p, p, b);
    self.frame()->setFirstCorner(p.x(), p.y(), b[axisIndex(self.axes().across)].first,
                                 b[axisIndex(self.axes().down)].first);
    self.frame()->setSecondCorner(p.x(), p.y(), -1, -1);
    repaintFrames();
}

void CMapScans::rectangleSelected(Scan eScan, QPoint p1, QPoint p2)
{
    ScanPane& self = pane(eScan);
    if (p1.x() < 0 || p1.y() < 0 || !isMapLoaded()) {
        resetSelections(&self);
        m_bBoxSet = false;
        repaintFrames();
        return;
    }
    // The axis the frame does not show gets five points about the middle of what is visible.
    for (Axis a : kAxes)
        m_box[axisIndex(a)] = band(m_geometry, a);
    self.bandsBetween(m_geometry, p1, p2, m_box);
    m_bBoxSet = true;
    showBoxInFrames();
    self.showCorners(p1, p2, m_box);
    showMeasurement({Axis::X, Axis::Y, Axis::Z});
    for (ScanPane& p : m_panes)
        p.frame()->setMouseTracking(true);
    repaintFrames();
}

void CMapScans::rectangleBorderChanged(Scan eScan, QPoint p1, QPoint p2)
{
    if (!isMapLoaded() || !m_bBoxSet)
        return;
    ScanPane& self = pane(eScan);
    self.bandsBetween(m_geometry, p1, p2, m_box);
    for (ScanPane& p : m_panes)
        if (&p != &self)
            p.showBox(m_geometry, m_box);
    self.showCorners(p1, p2, m_box);
    showMeasurement({self.axes().across, self.axes().down});
    repaintFrames();
}

void CMapScans::showMeasurement(std::initializer_list<Axis> axes)
{
    if (!m_pDisplaysDiff || !m_bBoxSet)
        return;
    for (Axis a : axes) {
        const MapBand& b = m_box[axisIndex(a)];
        const double start = bandStart(m_geometry, a, b);
        const double length = bandLength(m_geometry, a, b);
        switch (a) {
        case Axis::X: m_pDisplaysDiff->setX(start, length); break;
        case Axis::Y: m_pDisplaysDiff->setY(start, length); break;
        case Axis::Z: m_pDisplaysDiff->setZ(start, length); break;
        }
    }
    updateAmplitudeReadout();
}

// ----- zoom and pan -------------------------------------------------------------------------

void CMapScans::slot_onMouseWheelScrolled(int iSteps)
{
    if (!isMapLoaded() || iSteps == 0)
        return;
    if (m_geometry.zoom(iSteps) != MapViewGeometry::ZoomResult::Ignored)
        geometryChanged();
}

void CMapScans::panned(Axis a, int iOffset)
{
    if (iOffset == offset(m_geometry, a))
        return;
    setOffset(m_geometry, a, iOffset);
    applyGeometryToImages();
    updateScales();
    if (a == Axis::Z)
        updateAScan();
    repaintFrames();
}

void CMapScans::offsetDragged(Scan eScan, QPoint p)
{
    const ScanAxes& axes = pane(eScan).axes();
    setOffset(m_geometry, axes.across, p.x());
    setOffset(m_geometry, axes.down, p.y());
    applyGeometryToImages();
    updateScales();
    updateScrollBars();
    if (axes.shows(Axis::Z))
        updateAScan();
    repaintFrames();
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
    for (ScanPane& p : m_panes) {
        p.image().setThreshold(iValue);
        p.frame()->update();
    }
}

void CMapScans::slot_setScanBrightness(int iValue)
{
    const double f = brightnessFactor(iValue);
    for (ScanPane& p : m_panes)
        p.image().setBrightness(f);
    m_pFrameA->setGain(f);
    repaintFrames();
}

void CMapScans::stepBrightness(int iSteps)
{
    m_pSpbBrightness->setValue(m_pSpbBrightness->value() + iSteps);
}

QImage CMapScans::composedAScan() const
{
    return MapPicture::compose(m_pFrameA->picture(), m_pAVer, nullptr, m_pAVer->width());
}

void CMapScans::copyToClipboard(const QImage& image)
{
    QGuiApplication::clipboard()->setImage(image);
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
    renderImages();
    updateAScan();
    repaintFrames();
}

void CMapScans::setMeasuringMode(bool bOn)
{
    m_bMeasuringMode = bOn;
    m_bBoxSet = false;
    for (ScanPane& p : m_panes) {
        p.frame()->resetSelection(false);
        p.frame()->setMeasuring(bOn ? 1 : 0);
    }
    m_pFrameA->clearMarker();
    m_pFrameA->setMarkerEnabled(!bOn);
    createReadouts();
    restoreCursorsFromSlices();
    if (m_pIndicationsWindow)
        m_pIndicationsWindow->setMeasuring(bOn);
    repaintFrames();
}

void CMapScans::setScanDragMode(bool bOn)
{
    for (ScanPane& p : m_panes)
        p.frame()->setDraggingMode(bOn);
    repaintFrames();
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
    const std::optional<std::vector<MapIndication>> kept = std::exchange(m_keptIndications, std::nullopt);
    clearMap();
    MapOpenRequest request;
    request.configPath = strConfigPath;
    // The record's Filter SW stays the user's choice when the parameters are derived.
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
        if (!r.message.isEmpty())
            warn(r.message);
        emit mapDataLoaded(false, r.savedSettings);
        return;
    }
    m_bLoaded = true;
    m_config = r.config;
    m_settings = r.config.settings;
    m_saft = r.saft;
    m_openedSaft = r.saft;
    m_strFolder = strFolder.isEmpty() ? r.folder : strFolder;
    m_strConfigPath = strConfigPath;
    m_strDate = r.createdText;
    m_firstPositionX = r.firstPosition.i;
    m_firstPositionY = r.firstPosition.j;

    m_geometry.setMap(r.scan.columns, r.scan.rows, r.config.stepH, r.config.stepV, r.depthStart, r.depthRange);
    m_geometry.fit();
    resetZoom();
    applyGeometryToImages();
    updateScales();
    setAScanAxes();
    if (!r.message.isEmpty() && !r.transmission)
        warn(r.message);
    if (!r.commentsWarning.isEmpty())
        warn(r.commentsWarning);
    // A damaged or foreign file is reported and left as it is: it is replaced only when the
    // user changes the list and agrees to store it.
    QString strIndicationsError;
    const StoredFileStatus eIndications = m_stored.readIndications(m_strFolder, &strIndicationsError);
    if (eIndications == StoredFileStatus::Unreadable || eIndications == StoredFileStatus::Invalid)
        warn(strIndicationsError);
    if (kept && m_strKeptFolder == m_strFolder)
        m_stored.setIndications(*kept);
    updateMarks();
    m_pBtnIndications->setEnabled(true);
    emit mapDataLoaded(true, r.savedSettings);

    if (r.savedSettings) {
        applySavedState(r.savedState);
    } else {
        createSliderGroup();
        putCursorOnFirstPosition();
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
    m_slice = {m_geometry.indexX(x), m_geometry.indexY(y), 0};
    m_cursorPx = {x, y, 0};
    renderImages();
    updateSliderRanges();
    updateAScan();
    showCursor();
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
    m_slice = {state.sliceX, state.sliceY, state.sliceZ};
    for (Axis a : kAxes)
        m_slice[axisIndex(a)] = std::clamp(slice(a), 0, std::max(0, points(m_geometry, a) - 1));
    m_state = state;
    createSliderGroup();
    renderImages();
    updateAScan();
    if (!m_bMeasuringMode) {
        restoreCursorsFromSlices();
    } else if (state.box.isProper()) {
        const MapBox& b = state.box;
        m_box = {MapBand{b.x1, b.x2}, MapBand{b.y1, b.y2}, MapBand{b.z1, b.z2}};
        m_bBoxSet = true;
        showBoxInFrames();
        for (ScanPane& p : m_panes)
            p.frame()->setMouseTracking(true);
        showMeasurement({Axis::X, Axis::Y, Axis::Z});
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
    // Refused before anything is released: the map, its comments and its state stay.
    QString strError;
    const MapVolumeGrid grid = MapVolumeGrid::compute(m_data.columns(), m_data.rows(), m_data.stepH(),
                                                      m_data.stepV(), strSaftSet.depth / 1000.0);
    if (!grid.fitsMemory(m_memoryLimit, &strError)) {
        warn(strError);
        return;
    }
    if (m_bMeasuringMode)
        emit measuringModeChanged(true);
    m_saft = strSaftSet;
    m_geometry.setDepthRange(m_saft.depth / 1000.0);
    clearImages();
    resetSelections(nullptr);
    m_bBoxSet = false;
    m_pFrameA->clear();
    MapProcessResult r;
    // The worker owns m_data until it is done; resizes meanwhile only lay out the frames.
    m_bBusy = true;
    runSequence([&](MapStepReporter* pReporter) {
        r = MapOpener::reprocess(m_data, m_settings, m_geometry.depthStart(), m_saft, pReporter);
        return r.volumeBuilt;
    });
    m_bBusy = false;
    if (!r.volumeBuilt) {
        // Nothing half-built stays visible: the view goes back to empty.
        const QString strMessage = r.message.isEmpty() ? tr("The volume could not be built.") : r.message;
        clearMap();
        warn(strMessage);
        emit mapDataLoaded(false, false);
        return;
    }
    m_geometry.fit();
    resetZoom();
    applyGeometryToImages();
    updateScales();
    if (!r.message.isEmpty())
        warn(r.message);
    if (m_pSettingsWindow)
        m_pSettingsWindow->setViewingMode(m_data.viewingMode());
    putCursorOnFirstPosition();
    repaintFrames();
}

MapViewState CMapScans::viewingStateNow() const
{
    MapViewState s;
    s.brightness = m_pSpbBrightness->value();
    s.threshold = m_pColourScale->value();
    s.limitsMode = m_bLimitsMode;
    s.measuringMode = m_bMeasuringMode ? 1 : 0;
    if (m_bMeasuringMode && m_bBoxSet)
        s.box = {m_box[0].first, m_box[1].first, m_box[2].first, m_box[0].last, m_box[1].last, m_box[2].last};
    s.sliceX = slice(Axis::X);
    s.sliceY = slice(Axis::Y);
    s.sliceZ = slice(Axis::Z);
    s.ranges = m_data.viewRanges();
    return s;
}

MapViewState CMapScans::collectViewingState()
{
    m_state = viewingStateNow();
    return m_state;
}

bool CMapScans::writeChanges(const QString& strFolder, int& iWritten)
{
    return m_changes.writeChanges(strFolder, iWritten);
}

bool CMapScans::resetViewSettings(const QString& strFolder)
{
    const QString strPath = MapStoredFiles::viewSettingsPath(strFolder);
    if (QFile::exists(strPath) && !QFile::remove(strPath)) {
        warn(tr("Couldn't delete file ") + QLatin1Char('"') + strPath + QStringLiteral("\"!"));
        return false;
    }
    if (isMapLoaded() && m_stored.indicationsChanged()) {
        m_keptIndications = m_stored.indications();
        m_strKeptFolder = strFolder;
    }
    return true;
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
    m_bLoaded = false;
    m_state = MapViewState();
    // The record stays: its Filter SW is the user's choice for the next map too.
    m_settings = ConfigSettings();
    m_config = MapConfig();
    m_strConfigPath.clear();
    m_strDate.clear();
    m_firstPositionX = m_firstPositionY = 0;
    m_slice = {0, 0, 0};
    m_cursorPx = {0, 0, 0};
    m_bBoxSet = false;
    m_ascan.clear();
    clearImages();
    resetSelections(nullptr);
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
    delete m_pIndicationsWindow;
    m_iSelectedIndication = -1;
    m_pBtnIndications->setEnabled(false);
    slot_clearLCDpanels();
    applyGeometryToImages();
    updateScrollBars();
    repaintFrames();
}

QString CMapScans::titleText() const
{
    return m_bLoaded ? tr("Map Name: ") + m_config.mapName : QString();
}

void CMapScans::showSettingsWindow()
{
    if (!isMapLoaded())
        return;
    if (!m_pSettingsWindow) {
        m_pSettingsWindow = new CMapSettings(CMapSettings::Geometry::fromConfig(m_config), m_settings, m_openedSaft,
                                             m_saft, m_config.title, m_data.viewingMode(), m_stored.comments(),
                                             this);
        connect(m_pSettingsWindow, &CMapSettings::executeProcessing, this, &CMapScans::slot_executeMapProcessing);
        connect(m_pSettingsWindow, &CMapSettings::viewingModeChanged, this, &CMapScans::slot_viewingModeChanged);
        connect(m_pSettingsWindow, &CMapSettings::commentsChanged, this, &CMapScans::slot_commentsChanged);
    }
    m_pSettingsWindow->showAgain();
}

MapReportData CMapScans::reportData(const QString& strLogoPath) const
{
    MapPictureParts parts;
    parts.cScan = composedScan(Scan::C);
    parts.bScan = composedScan(Scan::B);
    parts.dScan = composedScan(Scan::D);
    parts.aScan = composedAScan();
    parts.colourScale = m_pColourScale->grab().toImage();
    MapReportData d =
        MapViewReport::collect(m_config, m_strDate, m_stored.comments(), readoutTexts(), parts, strLogoPath);
    d.indications = m_stored.indications();
    return d;
}

bool CMapScans::printMapReport(QPrinter* pPrinter, const QString& strLogoPath)
{
    return pPrinter && isMapLoaded() && MapViewReport::print(pPrinter, this, reportData(strLogoPath));
}

// ----- indications --------------------------------------------------------------------------

CIndicationsWindow* CMapScans::indicationsWindow() const
{
    return m_pIndicationsWindow;
}

void CMapScans::showIndicationsWindow()
{
    if (!isMapLoaded())
        return;
    if (!m_pIndicationsWindow) {
        using W = CIndicationsWindow;
        m_pIndicationsWindow = new W(this);
        connect(m_pIndicationsWindow, &W::findRequested, this, &CMapScans::findIndications);
        connect(m_pIndicationsWindow, &W::addRequested, this, &CMapScans::addIndication);
        connect(m_pIndicationsWindow, &W::removeRequested, this, &CMapScans::removeIndication);
        connect(m_pIndicationsWindow, &W::rowSelected, this, &CMapScans::selectIndication);
        connect(m_pIndicationsWindow, &W::exportRequested, this, &CMapScans::exportIndications);
        connect(m_pIndicationsWindow, &W::labelChanged, this,
                [this](int iRow, const QString& s) { editIndication(iRow, s, true); });
        connect(m_pIndicationsWindow, &W::commentChanged, this,
                [this](int iRow, const QString& s) { editIndication(iRow, s, false); });
        m_pIndicationsWindow->setMeasuring(m_bMeasuringMode);
        m_pIndicationsWindow->setIndications(m_stored.indications(), m_iSelectedIndication);
    }
    m_pIndicationsWindow->show();
    m_pIndicationsWindow->raise();
    m_pIndicationsWindow->activateWindow();
}

void CMapScans::setIndications(std::vector<MapIndication> list, int iSelected)
{
    m_iSelectedIndication = iSelected >= 0 && iSelected < int(list.size()) ? iSelected : -1;
    m_stored.setIndications(std::move(list));
    if (m_pIndicationsWindow)
        m_pIndicationsWindow->setIndications(m_stored.indications(), m_iSelectedIndication);
    updateMarks();
    repaintFrames();
}

void CMapScans::findIndications()
{
    if (!isMapLoaded() || !m_data.currentVolume())
        return;
    // The volume shown, processed or not, in the read-outs' millimetres.
    const IndicationSearch found =
        IndicationFinder::find(m_data, m_data.viewingMode(), MapVoxelFrame::of(m_geometry),
                               IndicationFinderOptions::forSteps(m_data.stepH(), m_data.stepV()));
    if (found.outOfMemory) {
        warn(tr("There is not enough memory to search the volume."));
        return;
    }
    // A new search replaces what the last one found. What the user wrote is not lost: an
    // indication found again keeps its label and comment, one added by hand or given a label
    // or comment stays, after the new ones.
    std::vector<MapIndication> list = found.indications;
    const auto samePlace = [](const MapIndication& a, const MapIndication& b) {
        return std::abs(a.x - b.x) < 0.05 && std::abs(a.y - b.y) < 0.05 && std::abs(a.z - b.z) < 0.05;
    };
    int number = int(list.size());
    for (const MapIndication& old : m_stored.indications()) {
        const auto again = std::find_if(list.begin(), list.begin() + int(found.indications.size()),
                                        [&](const MapIndication& ind) { return !old.manual && samePlace(ind, old); });
        if (again != list.begin() + int(found.indications.size())) {
            again->label = old.label;
            again->comment = old.comment;
        } else if (old.manual || !old.label.isEmpty() || !old.comment.isEmpty()) {
            list.push_back(old);
            list.back().number = ++number;
        }
    }
    if (m_pIndicationsWindow)
        m_pIndicationsWindow->setFound(int(found.indications.size()), found.truncated);
    setIndications(std::move(list), -1);
}

void CMapScans::addIndication()
{
    if (!isMapLoaded() || !m_data.currentVolume())
        return;
    const MapVolumeView volume = IndicationFinder::volumeOf(m_data, m_data.viewingMode());
    if (volume.isEmpty())
        return;
    PerAxis<int> cell = m_slice;
    // In measuring mode the box's strongest point, else the cursor.
    if (m_bMeasuringMode) {
        if (!m_bBoxSet)
            return;
        if (!IndicationFinder::strongestCell(volume, m_box[0].first, m_box[0].last, m_box[1].first, m_box[1].last,
                                             m_box[2].first, m_box[2].last, cell[0], cell[1], cell[2]))
            return;
    }
    const int maximum = m_data.boxMaximum(0, volume.dim0 - 1, 0, volume.dim1 - 1, 0, volume.dim2 - 1);
    MapIndication ind = IndicationFinder::measure(volume, MapVoxelFrame::of(m_geometry), cell[0], cell[1], cell[2],
                                                  maximum);
    ind.manual = true;
    int number = 0;
    for (const MapIndication& other : m_stored.indications())
        number = std::max(number, other.number);
    ind.number = number + 1;
    std::vector<MapIndication> list = m_stored.indications();
    list.push_back(ind);
    const int row = int(list.size()) - 1;
    setIndications(std::move(list), row);
}

void CMapScans::removeIndication(int iRow)
{
    std::vector<MapIndication> list = m_stored.indications();
    if (iRow < 0 || iRow >= int(list.size()))
        return;
    // The others keep their numbers: they may already be written down or printed.
    list.erase(list.begin() + iRow);
    setIndications(std::move(list), -1);
}

void CMapScans::editIndication(int iRow, const QString& strText, bool bLabel)
{
    std::vector<MapIndication> list = m_stored.indications();
    if (iRow < 0 || iRow >= int(list.size()))
        return;
    // Kept within what the file accepts, so that it can be read again.
    if (bLabel)
        list[size_t(iRow)].label = strText.left(IndicationsFile::kMaxLabelLength);
    else
        list[size_t(iRow)].comment = strText.left(IndicationsFile::kMaxCommentLength);
    m_stored.setIndications(std::move(list));
}

void CMapScans::selectIndication(int iRow)
{
    const std::vector<MapIndication>& list = m_stored.indications();
    if (!isMapLoaded() || iRow < 0 || iRow >= int(list.size()))
        return;
    m_iSelectedIndication = iRow;
    const PerAxis<int> cell = indicationCell(list[size_t(iRow)]);
    const bool bChanged = cell != m_slice;
    m_slice = cell;
    bool bPanned = false;
    for (Axis a : kAxes) {
        const int px = pixel(m_geometry, a, slice(a));
        m_cursorPx[axisIndex(a)] = px;
        // A zoomed view pans so that the indication comes to the middle of what is shown.
        const int shown = AxisGeometry::frameSize(m_geometry, a);
        if (m_geometry.isZoomed() && (px < offset(m_geometry, a) || px >= offset(m_geometry, a) + shown)) {
            setOffset(m_geometry, a, px - shown / 2);
            bPanned = true;
        }
    }
    if (bPanned) {
        applyGeometryToImages();
        updateScales();
        updateScrollBars();
    }
    if (bChanged && !m_bLimitsMode)
        renderImages();
    updateSliceBars();
    updateAScan();
    showCursor();
    updateMarks();
    repaintFrames();
}

void CMapScans::exportIndications()
{
    if (m_stored.indications().empty())
        return;
    const QString strPath = QFileDialog::getSaveFileName(
        m_pIndicationsWindow ? static_cast<QWidget*>(m_pIndicationsWindow) : this, tr("Export Indications"),
        m_strFolder + QStringLiteral("/indications.csv"), tr("CSV files (*.csv)"));
    if (strPath.isEmpty())
        return;
    QString strError;
    if (!IndicationsFile::writeCsv(strPath, m_stored.indications(), &strError))
        warn(strError);
}

PerAxis<int> CMapScans::indicationCell(const MapIndication& ind) const
{
    const MapVoxelFrame f = MapVoxelFrame::of(m_geometry);
    const double mm[] = {ind.x, ind.y, ind.z};
    PerAxis<int> cell{};
    for (Axis a : kAxes)
        cell[axisIndex(a)] = std::clamp(f.cellOf(axisIndex(a), mm[axisIndex(a)]), 0,
                                        std::max(0, points(m_geometry, a) - 1));
    return cell;
}

void CMapScans::updateMarks()
{
    std::vector<ScanMark> marks;
    if (isMapLoaded()) {
        const std::vector<MapIndication>& list = m_stored.indications();
        marks.reserve(list.size());
        for (size_t n = 0; n < list.size(); ++n)
            marks.push_back({indicationCell(list[n]), list[n].number, int(n) == m_iSelectedIndication});
    }
    for (ScanPane& p : m_panes)
        p.showMarks(m_geometry, marks);
}

void CMapScans::autoBrightness()
{
    if (!isMapLoaded())
        return;
    int maximum = 0;
    for (const ScanPane& p : m_panes)
        maximum = std::max(maximum, p.image().maximumSample());
    if (maximum <= 0)
        return;
    m_pSpbBrightness->setValue(
        ScanImage::brightnessToTop(maximum, MapViewState::kMinBrightness, MapViewState::kMaxBrightness));
}
