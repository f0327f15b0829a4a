#pragma once
// Pixel geometry of the map view: how the volume is fitted into the scan frames, zoomed and
// panned, and how pixels, volume points, metres and probe positions convert into each other.
// Kept apart from the widgets so that every rule can be checked headless.

#include "map/mapvolumegrid.h"

#include <QSize>

#include <algorithm>

//! Visible extent of one axis scale in metres and its tick step (minor ticks every step / 2).
struct MapAxisScale
{
    double start = 0.0;
    double visible = 0.0;
    double step = 0.01;

    double end() const { return start + visible; }
};

//! Inclusive band of volume points along one axis.
struct MapBand
{
    int first = 0;
    int last = 0;

    bool operator==(const MapBand&) const = default;
};

//! The map geometry and the zoom/pan state of the three scan frames. Axis X is the first
//! position index, Y the second, Z depth. All conversions clamp to the volume and the image,
//! so callers may pass any pixel or index.
class MapViewGeometry
{
public:
    static constexpr int kMaxZoom = 64;            // pixels per volume point at most
    static constexpr double kZoomFactor = 1.5;     // per wheel step
    static constexpr double kDepthPoint = 0.005;   // metres per depth point

    enum class ZoomResult { Ignored, Zoomed, Reset };

    MapViewGeometry() = default;

    //! Back to the state of construction: no map, default steps and cells, not zoomed.
    void clear();

    //! A map of positionsX × positionsY probe positions at the given steps (mm), showing the
    //! depth window [depthStart, depthStart + depthRange) metres. Applies the volume grid rule.
    void setMap(int positionsX, int positionsY, int stepX, int stepY, double depthStart, double depthRange);
    //! A new depth range (SAFT depth changed): renews points Z and the depth zoom limit.
    void setDepthRange(double depthRange);

    bool isLoaded() const { return m_positionsX > 0 && m_positionsY > 0; }

    // Map geometry.
    int positionsX() const { return m_positionsX; }
    int positionsY() const { return m_positionsY; }
    int stepX() const { return m_stepX; }
    int stepY() const { return m_stepY; }
    double lengthX() const { return m_lengthX; }
    double lengthY() const { return m_lengthY; }
    double depthStart() const { return m_depthStart; }
    double depthRange() const { return m_depthRange; }
    int cellX() const { return m_grid.pitchX; }
    int cellY() const { return m_grid.pitchY; }
    int pointsPerStepX() const { return m_grid.repH; }
    int pointsPerStepY() const { return m_grid.repV; }
    int aspectX() const { return m_aspectX; }
    int aspectY() const { return m_aspectY; }
    int pointsX() const { return m_grid.dim0; }
    int pointsY() const { return m_grid.dim1; }
    int pointsZ() const { return m_grid.dim2; }
    const MapVolumeGrid& grid() const { return m_grid; }
    int maxImageX() const { return zoomLimit(m_grid.dim0); }
    int maxImageY() const { return zoomLimit(m_grid.dim1); }
    int maxImageZ() const { return zoomLimit(m_grid.dim2); }

    // Frames and images.
    //! Size of the C- and B-scan frames; the D-scan frame is frameHeight square.
    void setFrameSize(int frameWidth, int frameHeight);
    int frameWidth() const { return m_frameW; }
    int frameHeight() const { return m_frameH; }
    int fitWidth() const { return m_fitW; }
    int fitHeight() const { return m_fitH; }
    int imageWidth() const { return m_imageW; }
    int imageHeight() const { return m_imageH; }
    int imageDepth() const { return m_imageD; }
    double pixelsPerPositionX() const { return m_ppX; }
    double pixelsPerPositionY() const { return m_ppY; }
    bool isZoomed() const { return m_zoomed; }

    //! Largest C-scan image of the map's aspect that fits the frame.
    void fit();
    //! Images at the fitted size, offsets 0, not zoomed.
    void resetZoom();
    //! After a resize: refits, keeps the zoom while the images stay larger than the fit
    //! (offsets clamped), otherwise resets it. True when the zoom was kept.
    bool refit();
    //! iSteps wheel steps (positive: in) about the volume point in the middle of the frames.
    ZoomResult zoom(int iSteps);
    //! True when any image is larger than its frame, so dragging can pan.
    bool canDrag() const;

    // Pan offsets, always kept within 0 … image − frame.
    int offsetX() const { return m_offX; }
    int offsetY() const { return m_offY; }
    int offsetZ() const { return m_offZ; }
    void setOffsetX(int v) { m_offX = clampOffset(v, m_imageW, m_frameW); }
    void setOffsetY(int v) { m_offY = clampOffset(v, m_imageH, m_frameH); }
    void setOffsetZ(int v) { m_offZ = clampOffset(v, m_imageD, m_frameH); }
    int maxOffsetX() const { return std::max(0, m_imageW - m_frameW); }
    int maxOffsetY() const { return std::max(0, m_imageH - m_frameH); }
    int maxOffsetZ() const { return std::max(0, m_imageD - m_frameH); }

    // Conversions between image pixels and volume points, halves away from zero.
    static int indexFromPixel(int pixel, int pixels, int points);
    static int pixelFromIndex(int index, int points, int pixels);
    int indexX(int px) const { return indexFromPixel(px, m_imageW, pointsX()); }
    int indexY(int py) const { return indexFromPixel(py, m_imageH, pointsY()); }
    int indexZ(int pz) const { return indexFromPixel(pz, m_imageD, pointsZ()); }
    int pixelX(int i) const { return pixelFromIndex(i, pointsX(), m_imageW); }
    int pixelY(int j) const { return pixelFromIndex(j, pointsY(), m_imageH); }
    int pixelZ(int k) const { return pixelFromIndex(k, pointsZ(), m_imageD); }
    double metresX(int px) const;
    double metresY(int py) const;
    double metresZ(int pz) const;
    //! 1-based probe position under an image pixel.
    int positionNumberX(int px) const { return positionNumber(px, m_ppX); }
    int positionNumberY(int py) const { return positionNumber(py, m_ppY); }
    //! Pixel in the middle of probe position number n (from 1).
    int positionCentreX(int n) const;
    int positionCentreY(int n) const;

    // Scales and measuring.
    MapAxisScale scaleX() const;
    MapAxisScale scaleY() const;
    MapAxisScale scaleZ() const;
    //! Tick step for a visible extent: 3 to 8 whole steps, else 0.01.
    static double tickStep(double visible);
    //! Depth points of the A-scan shown while zoomed: those of the visible depth interval,
    //! counted from the first volume point. Count 0 when not zoomed or empty.
    MapBand ascanWindow() const;
    //! Smallest rectangles in pixels, two volume points on each axis.
    QSize minRectC() const;
    QSize minRectB() const;
    QSize minRectD() const;
    //! Five points of the axis a rectangle drawn in another frame does not span: about the
    //! middle of what is visible, inside the volume and the visible window.
    MapBand bandX() const { return band(pointsX(), m_imageW, m_frameW, m_offX); }
    MapBand bandY() const { return band(pointsY(), m_imageH, m_frameH, m_offY); }
    MapBand bandZ() const { return band(pointsZ(), m_imageD, m_frameH, m_offZ); }

    //! Amplitude read-out in dB of a sample value at the map's 16-bit gain.
    static int amplitudeDb(int iValue, int iGain);
    //! Halves away from zero, saturated to int.
    static int roundHalfAway(double v);

private:
    static int clampOffset(int v, int image, int frame);
    static int positionNumber(int pixel, double perPosition);
    static int zoomLimit(int points);
    MapBand band(int points, int image, int frame, int offset) const;
    void updatePixelsPerPosition();
    MapAxisScale lateralScale(int image, int frame, int offset, double length) const;

    int m_positionsX = 0;
    int m_positionsY = 0;
    int m_stepX = 100;
    int m_stepY = 100;
    double m_lengthX = 0.0;
    double m_lengthY = 0.0;
    double m_depthStart = 0.0;
    double m_depthRange = 0.0;
    MapVolumeGrid m_grid = defaultGrid();
    int m_aspectX = 1;
    int m_aspectY = 1;

    int m_frameW = 0;
    int m_frameH = 0;
    int m_fitW = 0;
    int m_fitH = 0;
    int m_imageW = 0;
    int m_imageH = 0;
    int m_imageD = 0;
    double m_ppX = 1.0;
    double m_ppY = 1.0;
    int m_offX = 0;
    int m_offY = 0;
    int m_offZ = 0;
    bool m_zoomed = false;

    static MapVolumeGrid defaultGrid()
    {
        MapVolumeGrid g;
        g.repH = g.repV = 2;
        return g;
    }
};
