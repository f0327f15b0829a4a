#include "mapview/ascanplot.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int roundHalfAway(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::clamp(std::round(v), -1.0e9, 1.0e9));
}

} // namespace

AScanPlot::AScanPlot() = default;

void AScanPlot::setSize(const QSize& size)
{
    m_size = QSize(std::max(size.width(), 0), std::max(size.height(), 0));
    m_iPixels = signalExtent();
    m_max.assign(size_t(m_iPixels), 0);
    m_min.assign(size_t(m_iPixels), 0);
    rebuildIndexMap();
}

void AScanPlot::setStyle(int iStyle)
{
    m_iStyle = std::clamp(iStyle, int(Bipolar), int(RectifiedBars));
}

void AScanPlot::setOrientation(int iOrientation)
{
    m_iOrientation = iOrientation == AlongX ? AlongX : AlongY;
    setSize(m_size);
}

void AScanPlot::setSignal(const qint16* pSamples, int iCount)
{
    m_pSamples = iCount > 0 ? pSamples : nullptr;
    m_iCount = m_pSamples ? iCount : 0;
    rebuildIndexMap();
}

void AScanPlot::setAmplitudeRange(int iMin, int iMax)
{
    m_iAmpMin = iMin;
    m_iAmpMax = iMax;
}

void AScanPlot::setGridLines(bool bAcross, bool bAlong)
{
    m_bGridAcross = bAcross;
    m_bGridAlong = bAlong;
}

int AScanPlot::signalExtent() const
{
    return m_iOrientation == AlongX ? m_size.width() : m_size.height();
}

int AScanPlot::amplitudeExtent() const
{
    return m_iOrientation == AlongX ? m_size.height() : m_size.width();
}

void AScanPlot::rebuildIndexMap()
{
    const int L = m_iPixels;
    m_indexMap.assign(size_t(L), 0);
    if (L <= 0 || m_iCount <= 0)
        return;
    const double ratio = double(m_iCount) / L;
    for (int i = 0; i < L; ++i)
        m_indexMap[size_t(i)] = std::min(roundHalfAway(i * ratio), m_iCount - 1);
    // With more samples than pixels the last pixel reaches the deepest sample.
    if (m_iCount > L)
        m_indexMap[size_t(L - 1)] = m_iCount - 1;
}

void AScanPlot::computeColumns()
{
    const int L = m_iPixels;
    m_max.assign(size_t(std::max(L, 0)), 0);
    m_min.assign(size_t(std::max(L, 0)), 0);
    if (!hasSignal() || L <= 0)
        return;
    const auto v = [this](int k) {
        return roundHalfAway(std::floor(double(m_pSamples[k]) * m_dGain));
    };
    const int n = m_iCount;
    if (m_iStyle != Bipolar) {
        if (n < L) {
            for (int i = 0; i < L; ++i)
                m_max[size_t(i)] = std::abs(v(m_indexMap[size_t(i)]));
            const int w = roundHalfAway(double(L) / n);
            if (w >= 2) {
                // Forward moving average: each value only reads values not yet replaced.
                for (int i = 0; i < L; ++i) {
                    const int last = std::min(i + w - 1, L - 1);
                    double sum = 0.0;
                    for (int k = i; k <= last; ++k)
                        sum += m_max[size_t(k)];
                    m_max[size_t(i)] = roundHalfAway(sum / (last - i + 1));
                }
            }
        } else if (n == L) {
            for (int i = 0; i < L; ++i)
                m_max[size_t(i)] = std::abs(v(i));
        } else {
            int first = 0;
            for (int i = 0; i < L; ++i) {
                int m = m_iAmpMin;
                for (int k = first; k <= m_indexMap[size_t(i)]; ++k)
                    m = std::max(m, std::abs(v(k)));
                m_max[size_t(i)] = std::min(m, m_iAmpMax);
                first = m_indexMap[size_t(i)] + 1;
            }
        }
        m_min = m_max;
        return;
    }
    if (n < L) {
        int previous = (m_iAmpMax + m_iAmpMin) / 2;
        for (int i = 0; i < L; ++i) {
            m_max[size_t(i)] = v(m_indexMap[size_t(i)]);
            m_min[size_t(i)] = previous;
            previous = m_max[size_t(i)];
        }
    } else if (n == L) {
        for (int i = 0; i < L; ++i)
            m_max[size_t(i)] = m_min[size_t(i)] = v(i);
    } else {
        int first = 0;
        for (int i = 0; i < L; ++i) {
            int hi = v(first), lo = hi;
            for (int k = first + 1; k <= m_indexMap[size_t(i)]; ++k) {
                const int s = v(k);
                hi = std::max(hi, s);
                lo = std::min(lo, s);
            }
            m_max[size_t(i)] = std::clamp(hi, m_iAmpMin, std::max(m_iAmpMin, m_iAmpMax));
            m_min[size_t(i)] = std::clamp(lo, m_iAmpMin, std::max(m_iAmpMin, m_iAmpMax));
            first = std::min(m_indexMap[size_t(i)] + 1, n - 1);
        }
    }
}

void AScanPlot::drawSignal(QImage& picture) const
{
    const int A = m_iAmpMax - m_iAmpMin;
    const int w = m_size.width(), h = m_size.height();
    const int L = m_iPixels;
    if (A <= 0 || w <= 0 || h <= 0 || L <= 0)
        return;
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(m_signal, 0));
    const auto clampAmp = [this](int value) { return std::clamp(value, m_iAmpMin, m_iAmpMax); };
    const auto rectified = [&](int i) { return std::abs(clampAmp(m_max[size_t(i)])); };

    if (m_iStyle == Bipolar) {
        if (m_iOrientation == AlongX) {
            const int s = std::max(A / h, 1);
            const int mid = h / 2;
            int previousCentre = 0;
            for (int x = 0; x < L; ++x) {
                const int lo = clampAmp(m_min[size_t(x)]), hi = clampAmp(m_max[size_t(x)]);
                p.drawLine(x, mid - lo / s, x, mid - hi / s);
                const int centre = mid - (lo + hi) / 2 / s;
                if (x > 0)
                    p.drawLine(x - 1, previousCentre, x, centre);
                previousCentre = centre;
            }
        } else {
            const int s = std::max(A / w, 1);
            const int mid = w / 2;
            for (int y = 0; y < L; ++y) {
                const int lo = clampAmp(m_min[size_t(y)]), hi = clampAmp(m_max[size_t(y)]);
                p.drawLine(mid + lo / s, y, mid + hi / s, y);
            }
        }
        return;
    }
    if (m_iStyle == RectifiedLine) {
        if (m_iOrientation == AlongX) {
            if (h < 2)
                return;
            const double u = double(A) / (h - 1);
            int previous = h - 1;
            for (int x = 0; x < L; ++x) {
                const int y = (h - 1) - roundHalfAway(rectified(x) / u);
                p.drawLine(x, previous, x, y);
                previous = y;
            }
        } else {
            if (w < 10 || A / w < 1)
                return;
            const int s = A / w;
            int previous = 0;
            for (int y = 0; y < L; ++y) {
                const int x = rectified(y) / s;
                p.drawLine(previous, y, x, y);
                previous = x;
            }
        }
        return;
    }
    if (m_iOrientation == AlongX) {
        const int s = std::max(A / h, 1);
        for (int x = 0; x < L; ++x)
            p.drawLine(x, h - 1, x, h - 1 - rectified(x) / s);
    } else {
        const double u = double(A) / w;
        for (int y = 0; y < L; ++y)
            p.drawLine(0, y, roundHalfAway(rectified(y) / u), y);
    }
}

std::vector<int> AScanPlot::gridPositions(bool bSignalAxis) const
{
    std::vector<int> out;
    const Axis& a = bSignalAxis ? m_sigAxis : m_ampAxis;
    const int extent = bSignalAxis ? signalExtent() : amplitudeExtent();
    if (extent <= 0 || !(a.range > 0.0) || !(a.step > 0.0) || !std::isfinite(a.range + a.step + a.origin + a.start))
        return out;
    const double perPixel = a.range / extent;
    const double first = (a.origin - a.start) / perPixel;
    const double step = a.step / perPixel;
    const double kMin = std::ceil((-0.5 - first) / step);
    const double kMax = std::floor((extent - 0.5 - first) / step);
    // A grid denser than the pixels would only paint the picture over.
    if (kMax < kMin || kMax - kMin > extent)
        return out;
    for (double k = kMin; k <= kMax; ++k) {
        const int pos = roundHalfAway(first + k * step);
        if (pos >= 0 && pos < extent)
            out.push_back(pos);
    }
    return out;
}

void AScanPlot::drawGrid(QImage& picture) const
{
    const int w = m_size.width(), h = m_size.height();
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setOpacity(0.5);
    p.setPen(QPen(Qt::white, 0, Qt::DotLine));
    // Positions along x become vertical lines, along y horizontal ones.
    const auto drawAt = [&](const std::vector<int>& positions, bool bAlongX) {
        for (int pos : positions) {
            if (bAlongX)
                p.drawLine(pos, 1, pos, h);
            else
                p.drawLine(1, pos, w, pos);
        }
    };
    const bool signalAlongX = m_iOrientation == AlongX;
    if (m_bGridAcross)
        drawAt(gridPositions(true), signalAlongX);
    if (m_bGridAlong)
        drawAt(gridPositions(false), !signalAlongX);
}

void AScanPlot::drawMarker(QImage& picture) const
{
    QPainter p(&picture);
    p.setPen(QPen(Qt::white, 0));
    if (m_iOrientation == AlongY)
        p.drawLine(0, m_iMarker, m_size.width() - 1, m_iMarker);
    else
        p.drawLine(m_iMarker, 0, m_iMarker, m_size.height() - 1);
}

QImage AScanPlot::blankPicture() const
{
    if (m_size.isEmpty())
        return QImage();
    QImage picture(m_size, QImage::Format_RGB32);
    if (!picture.isNull())
        picture.fill(m_background);
    return picture;
}

QImage AScanPlot::render()
{
    QImage picture = blankPicture();
    if (picture.isNull() || !hasSignal())
        return picture;
    computeColumns();
    drawSignal(picture);
    drawGrid(picture);
    if (m_bMarkerEnabled && m_iMarker != 0)
        drawMarker(picture);
    return picture;
}
