#pragma once

#include "mapview/ascanplot.h"

#include <QFrame>
#include <QImage>

class QAbstractScale;
class QAction;
class QMenu;

//! Draws one signal in a frame: bipolar, rectified line or rectified bars, along x or y, with a
//! dotted grid and a depth marker; the map view uses it beside the B-scan with the signal
//! running downwards (orientation 1) as rectified bars. The samples are not owned: the owner
//! passes new ones (or clears) whenever its data changes. A left click reports its position
//! (for the depth cursor) while the marker is enabled and a signal is shown.
class CVectorDrawFrame : public QFrame
{
    Q_OBJECT

public:
    explicit CVectorDrawFrame(QWidget* parent = nullptr);
    ~CVectorDrawFrame() override;

    //! Stores the samples (not owned) and recomputes the pixel index map.
    void setSignal(const qint16* pSamples, int iCount);
    //! Background only, no marker, no samples.
    void clear();
    //! Background only and no samples (the marker is kept): no A-scan available.
    void blank();

    //! 0 bipolar, 1 rectified line, 2 rectified bars.
    void setStyle(int iStyle);
    int style() const { return m_plot.style(); }
    //! 0 signal along x, 1 along y.
    void setOrientation(int iOrientation);
    int orientation() const { return m_plot.orientation(); }
    void setGain(double dGain);
    double gain() const { return m_plot.gain(); }
    void setAmplitudeRange(int iMin, int iMax);
    //! Range across the signal axis and its grid (origin + k · step), in the caller's units.
    void setAmplitudeAxis(double dStart, double dRange, double dOrigin, double dStep);
    //! Range along the signal axis (the map view: visible depth in metres, origin 0, tick step).
    void setSignalAxis(double dStart, double dRange, double dOrigin, double dStep);
    void setGridLines(bool bAcross, bool bAlong);

    //! Marker at a pixel of the signal axis; ignored without samples.
    void setMarker(int iPixel);
    void clearMarker();
    int marker() const { return m_plot.marker(); }
    void setMarkerEnabled(bool bOn);
    bool markerEnabled() const { return m_plot.markerEnabled(); }
    bool hasSignal() const { return m_plot.hasSignal(); }

    const AScanPlot& plot() const;
    //! The picture as painted.
    QImage picture() const;
    //! picture() with the depth ruler at its left (see MapPicture::compose); pHorizontal may
    //! be null.
    QImage composedImage(const QAbstractScale* pVertical, const QAbstractScale* pHorizontal,
                         int iScaleThickness) const;
    bool copyToClipboard(const QAbstractScale* pVertical, const QAbstractScale* pHorizontal,
                         int iScaleThickness) const;

    QAction* copyAction() const { return m_pCopyAction; }
    QMenu* contextMenu() const { return m_pMenu; }
    void retranslate();

signals:
    void cursorPositionChanged(QPoint curPos);
    void copyImageToClipboard();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void changed();

    mutable AScanPlot m_plot;
    mutable QImage m_picture;
    mutable bool m_bDirty = true;
    QAction* m_pCopyAction = nullptr;
    QMenu* m_pMenu = nullptr;
};
