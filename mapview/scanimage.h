#pragma once
// One scan image of the map view: a plane of volume samples, its colours through the map
// palette with threshold and brightness, and the visible window of its zoomed picture.

#include <QImage>
#include <QPoint>
#include <QtGlobal>

#include <vector>

struct MapPlane;

//! A plane of columns × rows samples (column-major: sample (c, r) at c·rows + r) shown through
//! the palette. Colours are mapped once per data, threshold or brightness change into the raw
//! image (one pixel per sample); zoom and pan only resample it (nearest neighbour) into the
//! display image, which covers just the visible frame, never the whole zoomed image.
//!
//! Image pixel p on an axis of P target pixels shows plane point round(p / (P − 1) · (N − 1)),
//! the same rule the map view uses to turn a click into a volume index, so the value read out
//! under the cursor is the one drawn there.
class ScanImage
{
public:
    //! Planes larger than this many samples are refused.
    static constexpr qint64 kMaxSamples = qint64(1) << 26;

    ScanImage();

    //! New plane of columns × rows; samples null leaves it zero. False (and an empty plane)
    //! for negative sizes, more than kMaxSamples or when memory runs out. Renders.
    bool setData(const qint16* samples, int columns, int rows);
    //! A plane of MapData (size0 columns × size1 rows, element (u, v) at u·size1 + v).
    bool setPlane(const MapPlane& plane);
    //! Samples zeroed, images black; the size is kept.
    void clear();

    //! Frame (visible window) and target (zoomed image) sizes in pixels; the offset is
    //! clamped to the new sizes.
    void setGeometry(int iFrameWidth, int iFrameHeight, int iTargetWidth, int iTargetHeight);
    //! Pan offset of the visible window inside the target image, clamped to
    //! 0 … max(0, target − frame) on each axis.
    void setOffset(int x, int y);
    void setOffset(const QPoint& p) { setOffset(p.x(), p.y()); }
    //! Threshold percent 0…100 (clamped); level = round(percent · 511 / 100). Renders.
    void setThreshold(int iPercent);
    //! Multiplier of sample values (the map view passes 10^(dB / 20)). Renders.
    void setBrightness(double dFactor);

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    bool hasSamples() const { return m_columns > 0 && m_rows > 0; }
    //! Sample (c, r); 0 outside the plane.
    qint16 sample(int c, int r) const;
    const std::vector<qint16>& samples() const { return m_samples; }

    int frameWidth() const { return m_frameW; }
    int frameHeight() const { return m_frameH; }
    int targetWidth() const { return m_targetW; }
    int targetHeight() const { return m_targetH; }
    QPoint offset() const { return m_offset; }
    int thresholdPercent() const { return m_thresholdPercent; }
    int thresholdLevel() const { return m_thresholdLevel; }
    double brightness() const { return m_brightness; }

    //! One pixel per sample, 16-bit 5-6-5; null for an empty plane.
    const QImage& rawImage() const { return m_raw; }
    //! The visible window, frame width × frame height, 16-bit 5-6-5: pixel (x, y) shows target
    //! pixel (x + offset x, y + offset y); black where the target ends. Rendered on demand and
    //! kept until something it shows changes. Null when the frame is empty or memory ran out.
    const QImage& displayImage() const;
    //! Plane column and row drawn at target pixel (px, py); −1 outside the target or the plane.
    int columnAt(int px) const;
    int rowAt(int py) const;

    //! How often the colours and the visible window were computed (for checks that nothing
    //! is redone needlessly).
    int colourRenderCount() const { return m_colourRenders; }
    int displayRenderCount() const { return m_displayRenders; }

    //! Palette entry of a sample: 0 below the level, else round(s · factor) (halves upwards)
    //! limited to 0…255.
    static int paletteIndex(int iSample, int iLevel, double dFactor);
    //! round(percent · 511 / 100), halves upwards.
    static int thresholdLevelFor(int iPercent);
    //! 10^(dB / 20).
    static double brightnessFactorFor(int iDb);
    //! The smallest whole brightness in iMinDb … iMaxDb at which iSample shows the top colour
    //! (the limit nearest to it when none does); iMaxDb for a sample that is not positive.
    static int brightnessToTop(int iSample, int iMinDb, int iMaxDb);
    //! The largest sample of the plane; 0 for an empty one.
    int maximumSample() const;

private:
    void renderColours();
    void renderDisplay() const;
    void invalidateDisplay() { m_displayDirty = true; }

    QImage m_raw;
    mutable QImage m_display;
    std::vector<qint16> m_samples;
    int m_columns = 0;
    int m_rows = 0;
    int m_targetW = 0;
    int m_targetH = 0;
    int m_frameW = 0;
    int m_frameH = 0;
    int m_thresholdPercent = 0;
    int m_thresholdLevel = 0;
    double m_brightness = 1.0;
    QPoint m_offset;

    mutable bool m_displayDirty = true;
    int m_colourRenders = 0;
    mutable int m_displayRenders = 0;
};
