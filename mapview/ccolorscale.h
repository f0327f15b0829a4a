#pragma once

#include <QFrame>
#include <QImage>

//! The palette strip with a draggable limit that sets the display threshold in percent.
//! Values left of the limit are drawn black, as the scans draw values under the threshold.
//! The limit cannot enter the right 10 % of the strip (about 90 % at most).
class CColorScale : public QFrame
{
    Q_OBJECT

public:
    explicit CColorScale(QWidget* parent = nullptr);

    //! Sets the threshold percent; emits leftLimitChanged only when it differs.
    void setValue(int iPercent);
    int value() const { return m_iPercent; }
    //! Draws the palette into the strip (the map view calls it once after construction).
    void fillPaletteStrip();

    int limitPosition() const { return m_iLimit; }
    int rightMargin() const { return m_iMargin; }
    bool limitHovered() const { return m_bHover; }
    const QImage& picture() const { return m_picture; }

signals:
    void leftLimitChanged(int iPercent);
    //! A double click with the left button: the view sets the brightness so the brightest
    //! value shown reaches the top colour.
    void autoBrightnessRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void updateGeometryValues();
    void renderPicture();
    void updateHover(int x);
    void dragTo(int x);

    QImage m_strip;
    QImage m_picture;
    int m_iStripWidth = 256;
    int m_iStripHeight = 50;
    int m_iLimit = 0;
    int m_iMargin = 0;
    int m_iPercent = 0;
    bool m_bHover = false;
};
