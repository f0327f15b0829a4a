#pragma once
// Drawing of one signal (an A-scan column of the map) into a picture: three styles, either axis,
// a dotted grid and a depth marker. No widget: the map view's frame and the report both use it.

#include <QColor>
#include <QImage>
#include <QSize>
#include <QtGlobal>

#include <vector>

//! The samples are not owned: the caller passes new ones (or clears) whenever its data changes.
//! Per pixel of the signal axis the plot keeps the last sample index the pixel covers and the
//! values to draw: fewer samples than pixels give a smoothed staircase, more samples than
//! pixels keep each pixel's largest value, so short peaks are never lost.
class AScanPlot
{
public:
    enum Style { Bipolar = 0, RectifiedLine = 1, RectifiedBars = 2 };
    enum Orientation { AlongX = 0, AlongY = 1 };

    //! One axis in the caller's units: values start … start + range over the picture, grid lines
    //! at origin + k · step.
    struct Axis
    {
        double start = 0.0;
        double range = 0.0;
        double origin = 0.0;
        double step = 0.0;
    };

    AScanPlot();

    //! Picture size; the per-pixel arrays follow it.
    void setSize(const QSize& size);
    QSize size() const { return m_size; }

    //! 0 bipolar (RF), 1 rectified line, 2 rectified bars (default).
    void setStyle(int iStyle);
    int style() const { return m_iStyle; }
    //! 0 signal along x, 1 signal along y (default; depth downwards).
    void setOrientation(int iOrientation);
    int orientation() const { return m_iOrientation; }

    //! count samples at pSamples (not owned); null or count ≤ 0 is no signal.
    void setSignal(const qint16* pSamples, int iCount);
    //! Forgets the samples.
    void forgetSignal() { setSignal(nullptr, 0); }
    bool hasSignal() const { return m_pSamples && m_iCount > 0; }
    int count() const { return m_iCount; }

    //! Multiplier of every sample (the map view passes 10^(brightness / 20)).
    void setGain(double dGain) { m_dGain = dGain; }
    double gain() const { return m_dGain; }
    //! Amplitude axis range in sample units (the map view: 0 … 511, or −511 … 511 for RF).
    void setAmplitudeRange(int iMin, int iMax);
    int amplitudeMinimum() const { return m_iAmpMin; }
    int amplitudeMaximum() const { return m_iAmpMax; }

    //! Grid of the amplitude axis (across the signal axis) and of the signal axis.
    void setAmplitudeAxis(const Axis& axis) { m_ampAxis = axis; }
    void setSignalAxis(const Axis& axis) { m_sigAxis = axis; }
    Axis amplitudeAxis() const { return m_ampAxis; }
    Axis signalAxis() const { return m_sigAxis; }
    //! Grid lines across the signal axis and along it (both on by default).
    void setGridLines(bool bAcross, bool bAlong);

    //! Marker pixel along the signal axis; 0 is none.
    void setMarker(int iPixel) { m_iMarker = iPixel; }
    int marker() const { return m_iMarker; }
    void setMarkerEnabled(bool bOn) { m_bMarkerEnabled = bOn; }
    bool markerEnabled() const { return m_bMarkerEnabled; }

    void setBackgroundColour(const QColor& c) { m_background = c; }
    void setSignalColour(const QColor& c) { m_signal = c; }
    QColor backgroundColour() const { return m_background; }

    //! Length of the signal axis in pixels.
    int pixelCount() const { return m_iPixels; }
    //! Per pixel: the last sample index it covers (never past count − 1; the last pixel ends
    //! at the last sample when there are more samples than pixels).
    const std::vector<int>& indexMap() const { return m_indexMap; }
    //! Per-pixel values after computeColumns(): the rectified value (maxima only) or the
    //! bipolar maximum and minimum.
    const std::vector<int>& columnMaxima() const { return m_max; }
    const std::vector<int>& columnMinima() const { return m_min; }
    void computeColumns();

    //! Grid positions in pixels along the picture's x or y axis (rounded halves away from
    //! zero), for every whole k that falls inside.
    std::vector<int> gridPositions(bool bAlongSignalAxis) const;

    //! Background, signal, grid and (when enabled and set) marker, into a picture of size().
    //! Without a signal only the background (and no marker).
    QImage render();
    //! The background alone.
    QImage blankPicture() const;

private:
    void rebuildIndexMap();
    int amplitudeExtent() const;
    int signalExtent() const;
    void drawSignal(QImage& picture) const;
    void drawGrid(QImage& picture) const;
    void drawMarker(QImage& picture) const;

    QSize m_size;
    int m_iStyle = RectifiedBars;
    int m_iOrientation = AlongY;
    const qint16* m_pSamples = nullptr;
    int m_iCount = 0;
    double m_dGain = 1.0;
    int m_iAmpMin = 0;
    int m_iAmpMax = 0;
    int m_iMarker = 0;
    bool m_bMarkerEnabled = true;
    QColor m_background = Qt::black;
    QColor m_signal = Qt::green;
    std::vector<int> m_max;
    std::vector<int> m_min;
    int m_iPixels = 0;
    std::vector<int> m_indexMap;
    bool m_bGridAcross = true;
    bool m_bGridAlong = true;
    Axis m_ampAxis;
    Axis m_sigAxis;
};
