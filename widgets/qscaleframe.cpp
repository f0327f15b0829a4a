#include "widgets/qscaleframe.h"

#include <QPainter>

QScaleFrame::QScaleFrame(QWidget* parent)
    : QFrame(parent)
{
    setPosition(0);
    setDirection(1);
    setRange(0.0, 100.0);
    setTicks(0.0, 20.0, 10.0);
}

void QScaleFrame::paintScale(QPainter* painter)
{
    painter->setFont(scaleFont());
    draw(*painter);
}

void QScaleFrame::scaleChanged()
{
    update();
}

void QScaleFrame::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    setScaleRect(rect());
    scaleLayout(this);
}

void QScaleFrame::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    paintScale(&painter);
}
