#pragma once
// One scan of the map view: its frame, its image and its two rulers, and what it knows of the
// volume axes it shows. The view keeps three of them and writes cursor, rectangle, slice,
// limit and zoom logic once against their axes.

#include "mapview/scanaxes.h"

#include <QImage>
#include <QPoint>

#include <memory>
#include <vector>

class CScanogrammFrame;
class QScaleFrame;
class QWidget;
class ScanImage;

//! An indication as the panes mark it: its volume cell on each axis and its number.
struct ScanMark
{
    PerAxis<int> cell = {0, 0, 0};
    int number = 0;
    bool selected = false;
};

class ScanPane
{
public:
    //! Makes the frame and rulers as children of parent, named as given. iControl is the scan
    //! index of the pane's slice bar and limit control in the slider groups.
    ScanPane(const ScanAxes& axes, int iControl, const char* pszFrame, const char* pszHorScale,
             const char* pszVerScale, QWidget* parent);
    ~ScanPane();
    ScanPane(ScanPane&&) noexcept;
    ScanPane& operator=(ScanPane&&) noexcept;

    const ScanAxes& axes() const { return m_axes; }
    int controlIndex() const { return m_iControl; }
    CScanogrammFrame* frame() const { return m_pFrame; }
    QScaleFrame* horizontalScale() const { return m_pHor; }
    QScaleFrame* verticalScale() const { return m_pVer; }
    ScanImage& image() const { return *m_image; }

    //! Frame width w and height h at (x, y); the vertical ruler of width vs to its left, the
    //! horizontal ruler of height hs above it.
    void place(int x, int y, int w, int h, int vs, int hs);
    //! Image size, pan offset, mouse limits and the smallest rectangle from the geometry.
    void applyGeometry(const MapViewGeometry& g);
    void applyScales(const MapViewGeometry& g);
    //! The slice at the pane's slice axis, or the projection over the layer limits.
    void render(const MapData& data, bool bLimits, const PerAxis<int>& slices);
    //! The cursor at image pixels px of the two shown axes, with their volume indices.
    void showCursor(const PerAxis<int>& px, const PerAxis<int>& indices);
    //! Both corners from a box of volume points.
    void showBox(const MapViewGeometry& g, const PerAxis<MapBand>& box);
    //! Both corners at the given image pixels, with the box's indices.
    void showCorners(QPoint p1, QPoint p2, const PerAxis<MapBand>& box);
    //! The band of volume points of the two shown axes between two image pixels.
    void bandsBetween(const MapViewGeometry& g, QPoint p1, QPoint p2, PerAxis<MapBand>& box) const;
    //! The indications drawn at the pixels of their cells on the two shown axes.
    void showMarks(const MapViewGeometry& g, const std::vector<ScanMark>& marks);
    //! The image with its rulers, as copied to the clipboard and printed.
    QImage composed() const;

private:
    ScanAxes m_axes;
    int m_iControl = 0;
    CScanogrammFrame* m_pFrame = nullptr;
    QScaleFrame* m_pHor = nullptr;
    QScaleFrame* m_pVer = nullptr;
    std::unique_ptr<ScanImage> m_image;
};
