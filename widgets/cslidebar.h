#pragma once

#include "widgets/controlmath.h"

#include <QColor>
#include <QFrame>
#include <QImage>

//! A drawn two-handle bar: the band between a lower and an upper limit (values 0..R) is
//! coloured, and either limit line is dragged with the left mouse button. The limits always
//! keep the minimal gap G between them and never cross.
class CSlidebar : public QFrame
{
    Q_OBJECT

public:
    //! iHorizontal 1 makes a horizontal bar; iRange is R, iGap the minimal gap G.
    explicit CSlidebar(QWidget* parent = nullptr, int iHorizontal = 0, int iRange = 0, int iGap = 0);

    int bottomLimit() const { return m_iLowerValue; }
    int topLimit() const { return m_iUpperValue; }
    int range() const { return m_iRange; }
    int gap() const { return m_iGap; }
    int gapPixels() const { return m_iGapPixels; }
    int barLength() const { return m_iLength; }
    int bottomLimitPosition() const { return m_iLowerPos; }
    int topLimitPosition() const { return m_iUpperPos; }
    //! 0 none, 1 lower limit, 2 upper limit: the limit the mouse holds or hovers over.
    int grabbedHandle() const { return m_iGrabbed; }
    bool isHorizontal() const { return m_iHorizontal == 1; }

    //! Applied when 0 <= v <= upper limit - G; emits bottomLimitChanged.
    void setBottomLimit(int iValue);
    //! Applied when lower limit + G <= v <= R; emits topLimitChanged.
    void setTopLimit(int iValue);
    //! Both limits at once, applied when 0 <= lower, lower + G <= upper <= R; each limit that
    //! moves is announced. Needed when both move past each other's old place.
    void setLimits(int iLower, int iUpper);
    //! New range R: limits that no longer fit are reset to the whole range.
    void setRange(int iRange);
    //! The minimal gap in values (not below 0); the limits are not moved.
    void setGap(int iGap);

signals:
    void bottomLimitChanged(int value);
    void topLimitChanged(int value);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ControlMath::SlidebarGeometry barGeometry() const;
    int along(const QMouseEvent* event) const;
    void markHandle(int iCoord);
    void dragTo(int iCoord);
    void recompute();
    void redraw();

    QImage m_image;
    QColor m_bgColor;
    QColor m_bandColor;
    int m_iW = 0; //!< image width - 1
    int m_iH = 0; //!< image height - 1
    int m_iLowerPos = 0;
    int m_iUpperPos = 0;
    int m_iLowerValue = 0;
    int m_iUpperValue = 0;
    int m_iRange = 0;
    int m_iLength = 0; //!< N: bar length in pixels
    int m_iGap = 0;
    int m_iGapPixels = 0;
    int m_iHorizontal = 0;
    int m_iGrabbed = 0;
    bool m_bOnHandle = false;
};
