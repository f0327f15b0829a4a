#pragma once

#include "widgets/scalelayout.h"

#include <QFont>
#include <QRect>
#include <QString>

class QPainter;
class QPaintDevice;

//! Description of one axis ruler (range, ticks, side, caption) and its painting into a
//! rectangle with any painter, so rulers can be drawn on screen, into images and on paper.
//!
//! Position: 0 left of the picture (ticks grow leftwards from the right edge), 1 above it,
//! 2 right of it, 3 below it. Direction 1 puts the start value at the left or top edge,
//! -1 at the right or bottom edge.
class QAbstractScale
{
public:
    QAbstractScale();
    virtual ~QAbstractScale();
    //! A copy draws the same ruler elsewhere, e.g. a frame's ruler into a clipboard image.
    QAbstractScale(const QAbstractScale&) = default;
    QAbstractScale& operator=(const QAbstractScale&) = default;

    //! Values start..start + span are shown.
    void setRange(double dStart, double dSpan);
    void setStart(double dStart);
    void setSpan(double dSpan);
    //! Ticks run through the origin: major every dMajor, minor every dMinor.
    void setTicks(double dOrigin, double dMajor, double dMinor);
    void setScaleRect(const QRect& rect);
    void setPosition(int iPosition);
    void setDirection(int iDirection);
    void setScaleFont(const QFont& font);
    //! Major tick length in pixels; minor ticks are two thirds of it.
    void setTickLength(int iLength);
    //! Vertical rulers: 0 label above its tick, 1 centred on it, 2 hanging below it.
    void setLabelAlignment(int iAlignment);
    //! 1 puts the caption at the end (right or bottom), anything else at the start.
    void setCaptionSide(int iSide);
    void setName(const QString& strName);
    void setUnit(const QString& strUnit);

    double start() const { return m_dStart; }
    double span() const { return m_dSpan; }
    double origin() const { return m_dOrigin; }
    double majorStep() const { return m_dMajorStep; }
    double minorStep() const { return m_dMinorStep; }
    QRect scaleRect() const { return m_rect; }
    int position() const { return m_iPosition; }
    int direction() const { return m_iDirection; }
    QFont scaleFont() const { return m_font; }
    int tickLength() const { return m_iTickLength; }
    int labelAlignment() const { return m_iLabelAlignment; }
    int captionSide() const { return m_iCaptionSide; }
    QString name() const { return m_strName; }
    QString unit() const { return m_strUnit; }
    bool isHorizontal() const { return m_iPosition == 1 || m_iPosition == 3; }

    //! What the ruler draws on a device (font metrics follow the device's resolution; null
    //! means the screen). Kept until a setting or the device's resolution changes.
    const ScaleLayout& scaleLayout(const QPaintDevice* device = nullptr) const;

    //! Paints the ruler into its rectangle; the painter's state is left as it was.
    void draw(QPainter& painter) const;

protected:
    virtual ScaleLayout verticalLayout(const QPaintDevice* device) const;
    virtual ScaleLayout horizontalLayout(const QPaintDevice* device) const;
    //! Called after every setting; a widget showing the ruler repaints here.
    virtual void scaleChanged() {}

private:
    void changed();

    double m_dStart = 0.0;
    double m_dSpan = 0.0;
    double m_dOrigin = 0.0;
    double m_dMajorStep = 0.0;
    double m_dMinorStep = 0.0;
    QRect m_rect;
    int m_iPosition = 3;
    int m_iDirection = 1;
    QFont m_font;
    int m_iTickLength = 0;
    int m_iLabelAlignment = 1;
    int m_iCaptionSide = 1;
    QString m_strName;
    QString m_strUnit;

    mutable ScaleLayout m_layout;
    mutable bool m_bLayoutValid = false;
    mutable int m_iLayoutDpi = 0;
};
