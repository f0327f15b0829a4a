#pragma once

#include "widgets/qabstractscale.h"

#include <QFrame>

//! A frame that shows one axis ruler over its whole area, repainting whenever a setting of the
//! ruler changes. Starts as a vertical ruler left of its picture, 0..100, ticks every 20/10.
class QScaleFrame : public QFrame, public QAbstractScale
{
    Q_OBJECT

public:
    explicit QScaleFrame(QWidget* parent = nullptr);

    //! Paints the ruler with a given painter in the ruler's own font.
    virtual void paintScale(QPainter* painter);

protected:
    void scaleChanged() override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
