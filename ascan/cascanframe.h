#pragma once

#include "ascan/ascandisplaymath.h"

#include <QFrame>
#include <QImage>
#include <QList>
#include <QPoint>

class QAction;

//! The drawing of one A-scan: the signal of a window reduced to columns, the grid, the TVG
//! curve, the strobe, the cursor and the measured point, kept in an off-screen picture.
//! The user draws and drags the strobe and places the cursor with the left button.
class CAScanFrame : public QFrame
{
    Q_OBJECT

public:
    enum EDragState { DragNone, DragClickOrDraw, DragClickOnly, DragDrawing, DragCursor,
                      DragStrobeStart, DragStrobeEnd };
    enum EHoverZone { HoverNone, HoverCursor, HoverStrobeStart, HoverStrobeEnd };

    explicit CAScanFrame(QWidget* parent = nullptr);

    //! The window's samples (not owned; must outlive the next setSignal or clearFrame).
    void setSignal(const qint16* pSamples, int iLength);
    //! Signal type 0, 1 or 2 and whether the signal is drawn yellow instead of green.
    void setDrawMode(int iMode, bool bYellow);
    //! Strobe in samples within the window, end exclusive; start < 0 means no strobe drawn.
    void setStrobe(bool bShown, int iStart, int iEnd, int iLevel);
    void setCursor(bool bOn, int iSample);
    void setAutomatic(bool bAutomatic) { m_bAutomatic = bAutomatic; }
    //! The measured point; a negative sample draws no marker.
    void setMarker(int iSample, int iAmplitude);
    //! TVG points as (sample within the window, level dB); bOn false draws no curve.
    void setTvg(bool bOn, const QList<QPoint>& points);
    //! Grid lines: spacing and a place they pass through, as fractions of the drawing's width
    //! (x) and of its amplitude span (y: the height for type 0, the height less one for
    //! types 1 and 2), so they follow a resize; a spacing ≤ 0 draws none.
    void setGrid(double dXStep, double dXOrigin, double dYStep, double dYOrigin);
    void setMinStrobeWidth(int iSamples);
    void setLoupe(bool bLoupe) { m_bLoupe = bLoupe; }
    void setHasData(bool bHasData);
    //! Forgets the signal and every mark.
    void clearFrame();
    //! Draws everything into the picture and schedules a repaint.
    void redraw();

    const QImage& picture() const { return m_picture; }
    int drawMode() const { return m_iDrawMode; }
    bool isAutomatic() const { return m_bAutomatic; }
    int strobeStart() const { return m_iStrobeStart; }
    int strobeEnd() const { return m_iStrobeEnd; }
    int strobeLevel() const { return m_iStrobeLevel; }
    bool strobeShown() const { return m_bStrobeShown; }
    int cursorSample() const { return m_iCursorSample; }
    EDragState dragState() const { return m_eDrag; }
    EHoverZone hoverZone() const { return m_eHover; }

    // Pixel positions of what is drawn, for the owner and for checks.
    int sampleToX(double iSample) const;
    int xToSample(int x) const;
    int levelToY(int iLevel) const;
    int yToLevel(int y) const;
    int strobeStartX() const { return sampleToX(m_iStrobeStart); }
    int strobeEndX() const { return sampleToX(m_iStrobeEnd); }
    int cursorX() const { return sampleToX(m_iCursorSample); }

    QAction* cursorToMaxAction() const { return m_pActCursorToMax; }
    void retranslate();

public slots:
    //! Turns automatic mode on when the strobe holds a peak, then asks for a new measurement.
    void slot_setCursorToMax();

signals:
    void mouseWheelScrolled(int iSteps);
    void cursorPositionChanged(int iSample, int iAmplitude);
    void strobePositionChanged(int iStart, int iEnd, int iLevel);
    //! While a strobe edge is dragged or a strobe drawn: where it is now (not yet applied).
    void strobeDragged(int iStart, int iEnd, int iLevel);
    void setCursorToMax();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void ensurePicture();
    void reduce();
    void drawSignal(QPainter& p) const;
    void drawGrid(QPainter& p) const;
    void drawTvg(QPainter& p) const;
    void drawStrobe(QPainter& p) const;
    void drawCursorAndMarker(QPainter& p) const;
    EHoverZone zoneAt(const QPoint& pos) const;
    int amplitudeAt(int iSample) const;
    bool strobeHasPeak() const;
    void showCursorMenu(const QPoint& globalPos);

    QImage m_picture;
    QImage m_background; // signal, grid and TVG curve
    bool m_bBackgroundValid = false;
    const qint16* m_pSignal = nullptr;
    int m_iLength = 0;
    AScanMath::Columns m_columns;
    int m_iDrawMode = 2;
    QColor m_signalColor;

    bool m_bStrobeShown = false;
    int m_iStrobeStart = -1;
    int m_iStrobeEnd = -1;
    int m_iStrobeLevel = 0;

    bool m_bCursorOn = false;
    int m_iCursorSample = 0;
    bool m_bAutomatic = true;
    int m_iMarkerSample = -1;
    int m_iMarkerAmplitude = 0;

    bool m_bTvgOn = false;
    QList<QPoint> m_tvg;

    double m_dGridXStep = 0.0;
    double m_dGridXOrigin = 0.0;
    double m_dGridYStep = 0.0;
    double m_dGridYOrigin = 0.0;

    int m_iMinStrobeSamples = 0;
    bool m_bLoupe = false;
    bool m_bHasData = false;

    QPoint m_pressPos;
    EDragState m_eDrag = DragNone;
    EHoverZone m_eHover = HoverNone;
    // The strobe being drawn or dragged, in samples.
    int m_iDragStart = -1;
    int m_iDragEnd = -1;
    int m_iDragLevel = 0;

    QAction* m_pActCursorToMax = nullptr;
};
