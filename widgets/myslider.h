#pragma once

#include "widgets/controlmath.h"

#include <QColor>
#include <QFrame>
#include <QImage>

//! A drawn single-handle slider: a bordered bar with a 30-pixel handle that is dragged with the
//! left mouse button. The handle follows the mouse smoothly while the value moves in whole
//! steps; on release it snaps to the value's position. Values grow from the left or top edge.
class MySlider : public QFrame
{
    Q_OBJECT

public:
    //! iHorizontal non-zero makes a horizontal slider; the range is 0..iMaximum (iMaximum
    //! is taken only when it is 0 or more).
    explicit MySlider(QWidget* parent = nullptr, int iHorizontal = 0, int iMaximum = 0);

    int value() const { return m_iValue; }
    int minimum() const { return m_iMinimum; }
    int maximum() const { return m_iMaximum; }
    bool isHorizontal() const { return m_iHorizontal != 0; }
    //! Handle position in pixels from the start edge (1 .. image length - 32).
    int handlePosition() const { return m_iHandlePos; }
    int handleLength() const { return m_iHandleLength; }
    bool isDragging() const { return m_bDragging; }

    //! Clamps to the range; emits valueChanged when the value moves.
    void setValue(int iValue);
    //! Ignored when unchanged or when iMin > iMax; a value outside moves to the nearer limit.
    void setRange(int iMin, int iMax);

signals:
    void valueChanged(int value);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ControlMath::SliderGeometry sliderGeometry() const;
    int along(const QMouseEvent* event) const;
    int valueAtDrag(int iCoord) const;
    void redraw();
    void drawHandleAt(int iPos);

    QImage m_image;
    QColor m_bgColor;
    QColor m_handleColor;
    QColor m_gripDark;
    QColor m_gripLight;
    int m_iValue = 0;
    int m_iMinimum = 0;
    int m_iMaximum = 0;
    int m_iW = 0; //!< image width - 1
    int m_iH = 0; //!< image height - 1
    int m_iHandlePos = 1;
    int m_iHandleLength = 30;
    int m_iHorizontal = 0;
    bool m_bDragging = false;
    int m_iPressCoord = 0;
    int m_iPressHandlePos = 0;
};
