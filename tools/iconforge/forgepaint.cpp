#include "forgepaint.h"

#include <QPainterPathStroker>
#include <QtMath>

namespace Forge {

QImage render(int px, double units, const DrawFn& draw)
{
    QImage image(px, px, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(px / units, px / units);
    draw(p);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QPen inkPen(double width, const QColor& colour)
{
    QPen pen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    return pen;
}

void outlined(QPainter& p, const QPainterPath& shape, const QColor& fill, const QColor& line,
              double width)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(shape);
    if (width > 0) {
        p.setBrush(Qt::NoBrush);
        p.setPen(inkPen(width, line));
        p.drawPath(shape);
    }
    p.restore();
}

QPainterPath tube(const QPainterPath& centre, double width, Qt::PenCapStyle cap,
                  Qt::PenJoinStyle join)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(join);
    stroker.setMiterLimit(4);
    return stroker.createStroke(centre).simplified();
}

QPainterPath arrowShape(const QPainterPath& centre, double width, double headLength,
                        double headWidth)
{
    // angleAtPercent counts degrees anticlockwise on screen (y grows downwards).
    const double a = qDegreesToRadians(centre.angleAtPercent(1.0));
    const QPointF dir(std::cos(a), -std::sin(a));
    const QPointF normal(-dir.y(), dir.x());
    const QPointF end = centre.pointAtPercent(1.0);
    // Let the tube run a little under the head so the union has no seam.
    QPainterPath body = centre;
    body.lineTo(end + dir * 0.5);
    QPainterPath head;
    head.moveTo(end + dir * headLength);
    head.lineTo(end + normal * (headWidth / 2));
    head.lineTo(end - normal * (headWidth / 2));
    head.closeSubpath();
    return tube(body, width, Qt::RoundCap).united(head).simplified();
}

QPainterPath curve(const std::function<double(double)>& f, double x0, double x1, int steps)
{
    QPainterPath path;
    for (int i = 0; i <= steps; ++i) {
        const double x = x0 + (x1 - x0) * i / steps;
        if (i == 0)
            path.moveTo(x, f(x));
        else
            path.lineTo(x, f(x));
    }
    return path;
}

QPainterPath roundedRect(const QRectF& r, double radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath circle(QPointF c, double r)
{
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

} // namespace Forge
