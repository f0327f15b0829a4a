#include "mapview/scanimage.h"

#include "map/mapplane.h"
#include "map/mapviewgeometry.h"
#include "mapview/mappalette.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

ScanImage::ScanImage()
{
    // The palette is shared; touching it here builds it before the first render.
    MapPalette::colours565();
}

int ScanImage::thresholdLevelFor(int iPercent)
{
    const int p = std::clamp(iPercent, 0, 100);
    return (p * 511 * 2 + 100) / 200;
}

double ScanImage::brightnessFactorFor(int iDb)
{
    return std::pow(10.0, iDb / 20.0);
}

int ScanImage::brightnessToTop(int iSample, int iMinDb, int iMaxDb)
{
    if (iSample <= 0)
        return iMaxDb;
    const auto top = [iSample](int iDb) { return paletteIndex(iSample, 0, brightnessFactorFor(iDb)) == MapPalette::kSize - 1; };
    // Start near the answer and settle it by the rendering rule itself, so that no rounding
    // of the logarithm can leave the top colour one step away.
    int b = std::clamp(int(std::ceil(20.0 * std::log10((MapPalette::kSize - 1.5) / iSample))), iMinDb, iMaxDb);
    while (b > iMinDb && top(b - 1))
        --b;
    while (b < iMaxDb && !top(b))
        ++b;
    return b;
}

int ScanImage::maximumSample() const
{
    return m_samples.empty() ? 0 : *std::max_element(m_samples.begin(), m_samples.end());
}

int ScanImage::paletteIndex(int iSample, int iLevel, double dFactor)
{
    if (iSample < iLevel)
        return 0;
    const double v = iSample * dFactor;
    if (std::isnan(v) || v <= 0.0)
        return 0;
    if (v >= MapPalette::kSize - 1)
        return MapPalette::kSize - 1;
    return int(std::floor(v + 0.5));
}

bool ScanImage::setData(const qint16* samples, int columns, int rows)
{
    m_samples.clear();
    m_raw = QImage();
    m_columns = m_rows = 0;
    invalidateDisplay();

    const qint64 count = qint64(std::max(columns, 0)) * qint64(std::max(rows, 0));
    bool ok = columns >= 0 && rows >= 0 && count <= kMaxSamples;
    if (ok && count > 0) {
        try {
            m_samples.assign(size_t(count), 0);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
        if (ok) {
            m_raw = QImage(columns, rows, QImage::Format_RGB16);
            ok = !m_raw.isNull();
        }
        if (ok) {
            m_columns = columns;
            m_rows = rows;
            if (samples)
                std::memcpy(m_samples.data(), samples, size_t(count) * sizeof(qint16));
        } else {
            std::vector<qint16>().swap(m_samples);
            m_raw = QImage();
        }
    }
    renderColours();
    return ok;
}

bool ScanImage::setPlane(const MapPlane& plane)
{
    if (plane.isNull() || qint64(plane.size0) * plane.size1 != qint64(plane.values.size()))
        return setData(nullptr, 0, 0) && plane.isNull();
    return setData(plane.values.data(), plane.size0, plane.size1);
}

void ScanImage::clear()
{
    std::fill(m_samples.begin(), m_samples.end(), qint16(0));
    if (!m_raw.isNull())
        m_raw.fill(MapPalette::colour(0));
    invalidateDisplay();
}

void ScanImage::setGeometry(int iFrameWidth, int iFrameHeight, int iTargetWidth, int iTargetHeight)
{
    m_frameW = std::max(iFrameWidth, 0);
    m_frameH = std::max(iFrameHeight, 0);
    m_targetW = std::max(iTargetWidth, 0);
    m_targetH = std::max(iTargetHeight, 0);
    setOffset(m_offset.x(), m_offset.y());
    invalidateDisplay();
}

void ScanImage::setOffset(int x, int y)
{
    const QPoint p(std::clamp(x, 0, std::max(0, m_targetW - m_frameW)),
                   std::clamp(y, 0, std::max(0, m_targetH - m_frameH)));
    if (p != m_offset) {
        m_offset = p;
        invalidateDisplay();
    }
}

void ScanImage::setThreshold(int iPercent)
{
    m_thresholdPercent = std::clamp(iPercent, 0, 100);
    m_thresholdLevel = thresholdLevelFor(m_thresholdPercent);
    renderColours();
}

void ScanImage::setBrightness(double dFactor)
{
    m_brightness = dFactor;
    renderColours();
}

qint16 ScanImage::sample(int c, int r) const
{
    if (c < 0 || r < 0 || c >= m_columns || r >= m_rows)
        return 0;
    return m_samples[size_t(c) * size_t(m_rows) + size_t(r)];
}

void ScanImage::renderColours()
{
    invalidateDisplay();
    if (m_raw.isNull())
        return;
    ++m_colourRenders;
    const auto& palette = MapPalette::colours565();
    const qsizetype stride = m_raw.bytesPerLine() / qsizetype(sizeof(quint16));
    quint16* bits = reinterpret_cast<quint16*>(m_raw.bits());
    for (int c = 0; c < m_columns; ++c) {
        const qint16* column = m_samples.data() + size_t(c) * size_t(m_rows);
        quint16* pixel = bits + c;
        for (int r = 0; r < m_rows; ++r, pixel += stride)
            *pixel = palette[size_t(paletteIndex(column[r], m_thresholdLevel, m_brightness))];
    }
}

int ScanImage::columnAt(int px) const
{
    if (px < 0 || px >= m_targetW || m_columns <= 0)
        return -1;
    return MapViewGeometry::indexFromPixel(px, m_targetW, m_columns);
}

int ScanImage::rowAt(int py) const
{
    if (py < 0 || py >= m_targetH || m_rows <= 0)
        return -1;
    return MapViewGeometry::indexFromPixel(py, m_targetH, m_rows);
}

const QImage& ScanImage::displayImage() const
{
    if (m_displayDirty)
        renderDisplay();
    return m_display;
}

void ScanImage::renderDisplay() const
{
    m_displayDirty = false;
    if (m_frameW <= 0 || m_frameH <= 0) {
        m_display = QImage();
        return;
    }
    if (m_display.width() != m_frameW || m_display.height() != m_frameH
        || m_display.format() != QImage::Format_RGB16) {
        m_display = QImage(m_frameW, m_frameH, QImage::Format_RGB16);
        // Out of memory: nothing to show, and the frame paints its background instead.
        if (m_display.isNull())
            return;
    }
    ++m_displayRenders;
    const quint16 black = MapPalette::colours565()[0];
    const bool drawn = m_targetW > 0 && m_targetH > 0 && !m_raw.isNull();
    if (!drawn) {
        m_display.fill(MapPalette::colour(0));
        return;
    }

    // Which raw column every display column shows; past the target's end it stays black.
    std::vector<int> columnOf(size_t(m_frameW), -1);
    for (int x = 0; x < m_frameW; ++x)
        columnOf[size_t(x)] = columnAt(x + m_offset.x());

    int previousRow = -2;
    const quint16* previousLine = nullptr;
    const size_t lineBytes = size_t(m_frameW) * sizeof(quint16);
    for (int y = 0; y < m_frameH; ++y) {
        auto* line = reinterpret_cast<quint16*>(m_display.scanLine(y));
        const int row = rowAt(y + m_offset.y());
        if (row < 0) {
            std::fill(line, line + m_frameW, black);
        } else if (row == previousRow) {
            // Zoomed rows repeat: copy the line already made.
            std::memcpy(line, previousLine, lineBytes);
        } else {
            const auto* source = reinterpret_cast<const quint16*>(m_raw.constScanLine(row));
            for (int x = 0; x < m_frameW; ++x) {
                const int c = columnOf[size_t(x)];
                line[x] = c < 0 ? black : source[c];
            }
        }
        previousRow = row;
        previousLine = line;
    }
}
