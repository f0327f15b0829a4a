#include "mapview/scanpane.h"

#include "map/mapdata.h"
#include "mapview/cscanogrammframe.h"
#include "mapview/scanimage.h"
#include "widgets/qscaleframe.h"

namespace {

constexpr int kTickLength = 6;

const char* axisName(Axis a)
{
    return a == Axis::X ? "X" : a == Axis::Y ? "Y" : "Z";
}

} // namespace

ScanPane::ScanPane(const ScanAxes& axes, int iControl, const char* pszFrame, const char* pszHorScale,
                   const char* pszVerScale, QWidget* parent)
    : m_axes(axes)
    , m_iControl(iControl)
    , m_image(std::make_unique<ScanImage>())
{
    m_pFrame = new CScanogrammFrame(parent);
    m_pFrame->setObjectName(QLatin1String(pszFrame));
    m_pFrame->setImage(m_image.get());
    m_pHor = new QScaleFrame(parent);
    m_pHor->setObjectName(QLatin1String(pszHorScale));
    m_pVer = new QScaleFrame(parent);
    m_pVer->setObjectName(QLatin1String(pszVerScale));
    // The horizontal ruler sits above the image, the vertical one left of it; values grow
    // rightwards and downwards, as the image's axes do.
    m_pHor->setPosition(1);
    m_pVer->setPosition(0);
    m_pHor->setName(QLatin1String(axisName(axes.across)));
    m_pVer->setName(QLatin1String(axisName(axes.down)));
    for (QScaleFrame* s : {m_pHor, m_pVer}) {
        s->setDirection(1);
        s->setTickLength(kTickLength);
        s->setUnit(QStringLiteral("m"));
    }
}

ScanPane::~ScanPane() = default;
ScanPane::ScanPane(ScanPane&&) noexcept = default;
ScanPane& ScanPane::operator=(ScanPane&&) noexcept = default;

void ScanPane::place(int x, int y, int w, int h, int vs, int hs)
{
    m_pVer->setGeometry(x, y, vs, h);
    m_pFrame->setGeometry(x + vs, y, w, h);
    m_pHor->setGeometry(x + vs, y - hs, w, hs);
}

void ScanPane::applyGeometry(const MapViewGeometry& g)
{
    using namespace AxisGeometry;
    const Axis a = m_axes.across, d = m_axes.down;
    m_image->setGeometry(frameSize(g, a), frameSize(g, d), imageSize(g, a), imageSize(g, d));
    m_image->setOffset(offset(g, a), offset(g, d));
    m_pFrame->setOffset(offset(g, a), offset(g, d));
    m_pFrame->resetLimits();
    m_pFrame->setMinRectSize(minimumEdge(g, a), minimumEdge(g, d));
}

void ScanPane::applyScales(const MapViewGeometry& g)
{
    const auto apply = [](QScaleFrame* scale, const MapAxisScale& s) {
        scale->setRange(s.start, s.visible);
        scale->setTicks(0.0, s.step, s.step / 2);
        scale->update();
    };
    apply(m_pHor, AxisGeometry::scale(g, m_axes.across));
    apply(m_pVer, AxisGeometry::scale(g, m_axes.down));
}

void ScanPane::render(const MapData& data, bool bLimits, const PerAxis<int>& slices)
{
    const bool bShown = bLimits ? m_image->setPlane(AxisGeometry::projection(data, m_axes.slice))
                                : m_image->setPlane(AxisGeometry::slicePlane(data, m_axes.slice,
                                                                             slices[axisIndex(m_axes.slice)]));
    if (!bShown)
        m_image->clear();
}

void ScanPane::showCursor(const PerAxis<int>& px, const PerAxis<int>& indices)
{
    const int a = axisIndex(m_axes.across), d = axisIndex(m_axes.down);
    m_pFrame->setSecondCorner(px[a], px[d], indices[a], indices[d]);
}

void ScanPane::showBox(const MapViewGeometry& g, const PerAxis<MapBand>& box)
{
    const Axis a = m_axes.across, d = m_axes.down;
    const MapBand& ba = box[axisIndex(a)];
    const MapBand& bd = box[axisIndex(d)];
    showCorners(QPoint(AxisGeometry::pixel(g, a, ba.first), AxisGeometry::pixel(g, d, bd.first)),
                QPoint(AxisGeometry::pixel(g, a, ba.last), AxisGeometry::pixel(g, d, bd.last)), box);
}

void ScanPane::showCorners(QPoint p1, QPoint p2, const PerAxis<MapBand>& box)
{
    const MapBand& ba = box[axisIndex(m_axes.across)];
    const MapBand& bd = box[axisIndex(m_axes.down)];
    m_pFrame->setFirstCorner(p1.x(), p1.y(), ba.first, bd.first);
    m_pFrame->setSecondCorner(p2.x(), p2.y(), ba.last, bd.last);
}

void ScanPane::bandsBetween(const MapViewGeometry& g, QPoint p1, QPoint p2, PerAxis<MapBand>& box) const
{
    const Axis a = m_axes.across, d = m_axes.down;
    box[axisIndex(a)] = {AxisGeometry::index(g, a, p1.x()), AxisGeometry::index(g, a, p2.x())};
    box[axisIndex(d)] = {AxisGeometry::index(g, d, p1.y()), AxisGeometry::index(g, d, p2.y())};
}

void ScanPane::showMarks(const MapViewGeometry& g, const std::vector<ScanMark>& marks)
{
    std::vector<CScanogrammFrame::Mark> shown;
    shown.reserve(marks.size());
    const Axis a = m_axes.across, d = m_axes.down;
    for (const ScanMark& m : marks)
        shown.push_back({QPoint(AxisGeometry::pixel(g, a, m.cell[axisIndex(a)]),
                                AxisGeometry::pixel(g, d, m.cell[axisIndex(d)])),
                         m.number, m.selected});
    m_pFrame->setMarks(std::move(shown));
}

QImage ScanPane::composed() const
{
    return m_pFrame->composedImage(m_pVer, m_pHor, m_pVer->width());
}
