#include "map/mapviewgeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

int MapViewGeometry::roundHalfAway(double v)
{
    if (!std::isfinite(v))
        return 0;
    const double r = std::round(v);
    if (r >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(r);
}

int MapViewGeometry::zoomLimit(int points)
{
    return int(std::min<qint64>(qint64(points) * kMaxZoom, std::numeric_limits<int>::max()));
}

void MapViewGeometry::clear()
{
    *this = MapViewGeometry();
}

void MapViewGeometry::setMap(int positionsX, int positionsY, int stepX, int stepY, double depthStart,
                             double depthRange)
{
    m_positionsX = std::max(positionsX, 0);
    m_positionsY = std::max(positionsY, 0);
    m_stepX = std::max(stepX, 0);
    m_stepY = std::max(stepY, 0);
    m_lengthX = m_positionsX * m_stepX / 1000.0;
    m_lengthY = m_positionsY * m_stepY / 1000.0;
    m_depthStart = depthStart;
    m_depthRange = depthRange;
    m_grid = MapVolumeGrid::compute(m_positionsX, m_positionsY, m_stepX, m_stepY, depthRange);
    // On a coarsened grid the cells are no longer square multiples of 5 mm: the factors
    // correct the fitted image's aspect.
    m_aspectX = m_grid.reduced ? std::max(1, m_grid.pitchX / MapVolumeGrid::kCellMm) : 1;
    m_aspectY = m_grid.reduced ? std::max(1, m_grid.pitchY / MapVolumeGrid::kCellMm) : 1;
}

void MapViewGeometry::setDepthRange(double depthRange)
{
    m_depthRange = depthRange;
    m_grid.dim2 = MapVolumeGrid::layersFor(depthRange);
}

void MapViewGeometry::setFrameSize(int frameWidth, int frameHeight)
{
    m_frameW = std::max(frameWidth, 0);
    m_frameH = std::max(frameHeight, 0);
}

void MapViewGeometry::fit()
{
    m_fitW = m_frameW;
    m_fitH = m_frameH;
    if (m_frameW <= 0 || m_frameH <= 0 || !(m_lengthX > 0) || !(m_lengthY > 0))
        return;
    const double mx = m_lengthX / m_frameW;
    const double my = m_lengthY / m_frameH;
    if (my > mx)
        m_fitW = roundHalfAway(m_frameW / (my / mx));
    else
        m_fitH = roundHalfAway(m_frameH / (mx / my));
}

void MapViewGeometry::updatePixelsPerPosition()
{
    m_ppX = m_positionsX > 0 ? double(m_imageW) / m_positionsX : 1.0;
    m_ppY = m_positionsY > 0 ? double(m_imageH) / m_positionsY : 1.0;
}

void MapViewGeometry::resetZoom()
{
    m_zoomed = false;
    if (m_aspectX < m_aspectY) {
        m_imageW = m_fitW;
        m_imageH = roundHalfAway(double(m_fitH) * m_aspectX / m_aspectY);
    } else if (m_aspectX > m_aspectY) {
        m_imageW = roundHalfAway(double(m_fitW) * m_aspectY / m_aspectX);
        m_imageH = m_fitH;
    } else {
        m_imageW = m_fitW;
        m_imageH = m_fitH;
    }
    m_imageD = m_frameH;
    m_offX = m_offY = m_offZ = 0;
    updatePixelsPerPosition();
}

bool MapViewGeometry::refit()
{
    fit();
    if (m_zoomed && m_imageW > m_fitW && m_imageH > m_fitH) {
        setOffsetX(m_offX);
        setOffsetY(m_offY);
        setOffsetZ(m_offZ);
        return true;
    }
    resetZoom();
    return false;
}

MapViewGeometry::ZoomResult MapViewGeometry::zoom(int iSteps)
{
    if (iSteps == 0 || !isLoaded() || m_frameW <= 0 || m_frameH <= 0)
        return ZoomResult::Ignored;
    const int halfW = m_frameW / 2;
    const int halfH = m_frameH / 2;
    const int cx = halfW >= m_imageW ? 0 : indexX(m_offX + halfW);
    const int cy = halfH >= m_imageH ? 0 : indexY(m_offY + halfH);
    const int cz = indexZ(m_offZ + halfH);
    const double f = std::pow(kZoomFactor, std::abs(iSteps));
    auto scaled = [](int size, double factor) {
        const double v = std::trunc(size * factor);
        return v >= double(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(v);
    };

    if (iSteps < 0) {
        if (!m_zoomed)
            return ZoomResult::Ignored;
        const int w = scaled(m_imageW, 1.0 / f);
        const int h = scaled(m_imageH, 1.0 / f);
        const int d = scaled(m_imageD, 1.0 / f);
        if (!(w > m_fitW && h > m_fitH && d >= m_frameH)) {
            resetZoom();
            return ZoomResult::Reset;
        }
        m_imageW = w;
        m_imageH = h;
        m_imageD = d;
    } else {
        // Already at (or, on a tiny map, beyond) the 64× limit on some axis: nothing to gain.
        if (m_imageW >= maxImageX() || m_imageH >= maxImageY() || m_imageD >= maxImageZ())
            return ZoomResult::Ignored;
        m_zoomed = true;
        const int w = scaled(m_imageW, f);
        const int h = scaled(m_imageH, f);
        const int d = scaled(m_imageD, f);
        if (w >= maxImageX() || h >= maxImageY() || d >= maxImageZ()) {
            m_imageW = maxImageX();
            m_imageH = maxImageY();
            m_imageD = maxImageZ();
        } else {
            m_imageW = w;
            m_imageH = h;
            m_imageD = d;
        }
    }
    updatePixelsPerPosition();
    setOffsetX(pixelX(cx) - halfW);
    setOffsetY(pixelY(cy) - halfH);
    setOffsetZ(pixelZ(cz) - halfH);
    return ZoomResult::Zoomed;
}

bool MapViewGeometry::canDrag() const
{
    return m_imageW > m_frameW || m_imageH > m_frameH || m_imageD > m_frameH;
}

int MapViewGeometry::clampOffset(int v, int image, int frame)
{
    if (image <= frame)
        return 0;
    return std::clamp(v, 0, image - frame);
}

int MapViewGeometry::indexFromPixel(int pixel, int pixels, int points)
{
    if (pixels <= 1 || points <= 1)
        return 0;
    const int i = roundHalfAway(double(pixel) / (pixels - 1) * (points - 1));
    return std::clamp(i, 0, points - 1);
}

int MapViewGeometry::pixelFromIndex(int index, int points, int pixels)
{
    if (pixels <= 1 || points <= 1)
        return 0;
    const int p = roundHalfAway(double(index) / (points - 1) * (pixels - 1));
    return std::clamp(p, 0, pixels - 1);
}

double MapViewGeometry::metresX(int px) const
{
    return m_imageW > 1 ? px * m_lengthX / (m_imageW - 1) : 0.0;
}

double MapViewGeometry::metresY(int py) const
{
    return m_imageH > 1 ? py * m_lengthY / (m_imageH - 1) : 0.0;
}

double MapViewGeometry::metresZ(int pz) const
{
    return (m_imageD > 1 ? pz * m_depthRange / (m_imageD - 1) : 0.0) + m_depthStart;
}

int MapViewGeometry::positionNumber(int pixel, double perPosition)
{
    if (pixel <= 0 || !(perPosition > 0))
        return 1;
    return std::max(1, int(std::ceil(pixel / perPosition)));
}

int MapViewGeometry::positionCentreX(int n) const
{
    return roundHalfAway((n - 0.5) * m_ppX);
}

int MapViewGeometry::positionCentreY(int n) const
{
    return roundHalfAway((n - 0.5) * m_ppY);
}

double MapViewGeometry::tickStep(double visible)
{
    static constexpr std::array<double, 10> steps{0.003, 0.01, 0.02, 0.05, 0.1, 0.25, 0.5, 1.0, 2.5, 5.0};
    for (double s : steps) {
        const double n = std::trunc(visible / s);
        if (n >= 3 && n < 9)
            return s;
    }
    return 0.01;
}

MapAxisScale MapViewGeometry::lateralScale(int image, int frame, int offset, double length) const
{
    MapAxisScale s;
    if (image == frame || image <= 0) {
        s.visible = length;
    } else {
        s.visible = double(frame) / image * length;
        s.start = double(offset) / image * length;
    }
    s.step = tickStep(s.visible);
    return s;
}

MapAxisScale MapViewGeometry::scaleX() const
{
    return lateralScale(m_imageW, m_frameW, m_offX, m_lengthX);
}

MapAxisScale MapViewGeometry::scaleY() const
{
    return lateralScale(m_imageH, m_frameH, m_offY, m_lengthY);
}

MapAxisScale MapViewGeometry::scaleZ() const
{
    MapAxisScale s;
    if (m_imageD == 0 || m_imageD == m_frameH) {
        s.visible = m_depthRange;
    } else {
        s.visible = double(m_frameH) / m_imageD * m_depthRange;
        s.start = double(m_offZ) / m_imageD * m_depthRange;
    }
    s.start += m_depthStart;
    s.step = tickStep(s.visible);
    return s;
}

MapBand MapViewGeometry::ascanWindow() const
{
    if (!m_zoomed || pointsZ() <= 0)
        return {0, -1};
    const MapAxisScale z = scaleZ();
    const int first = std::max(0, roundHalfAway((z.start - m_depthStart) / kDepthPoint));
    const int last = std::min(pointsZ() - 1, roundHalfAway((z.end() - m_depthStart) / kDepthPoint));
    if (last < first)
        return {0, -1};
    return {first, last};
}

QSize MapViewGeometry::minRectC() const
{
    auto two = [](int image, int points) { return points > 0 ? roundHalfAway(2.0 * image / points) : 0; };
    return QSize(two(m_imageW, pointsX()), two(m_imageH, pointsY()));
}

QSize MapViewGeometry::minRectB() const
{
    auto two = [](int image, int points) { return points > 0 ? roundHalfAway(2.0 * image / points) : 0; };
    return QSize(two(m_imageW, pointsX()), two(m_imageD, pointsZ()));
}

QSize MapViewGeometry::minRectD() const
{
    auto two = [](int image, int points) { return points > 0 ? roundHalfAway(2.0 * image / points) : 0; };
    return QSize(two(m_imageD, pointsZ()), two(m_imageH, pointsY()));
}

MapBand MapViewGeometry::band(int points, int image, int frame, int offset) const
{
    if (points <= 0)
        return {0, -1};
    if (!m_zoomed) {
        if (points < 5)
            return {0, points - 1};
        const int c = points / 2;
        return {c - 2, c + 2};
    }
    const int c = indexFromPixel(frame / 2 + offset, image, points);
    MapBand b{c - 2, c + 2};
    if (b.last >= points)
        b = {points - 5, points - 1};
    b.first = std::max(0, b.first);
    b.last = std::min(points - 1, b.last);
    // Keep the band inside what the frame shows.
    const int winFirst = offset;
    const int winLast = offset + frame - 1;
    const int p1 = std::clamp(pixelFromIndex(b.first, points, image), winFirst, winLast);
    const int p2 = std::clamp(pixelFromIndex(b.last, points, image), winFirst, winLast);
    return {indexFromPixel(p1, image, points), indexFromPixel(p2, image, points)};
}

int MapViewGeometry::amplitudeDb(int iValue, int iGain)
{
    if (iValue < 1)
        return 100 - iGain;
    return roundHalfAway(20.0 * std::log10(double(iValue))) - iGain + 100;
}
