#include "lettering.h"

#include <QRectF>

namespace Forge {
namespace {

struct Glyph
{
    double width = 0;
    QPainterPath strokes;
    QPainterPath dots;
};

QRectF box(double cx, double cy, double rx, double ry)
{
    return QRectF(cx - rx, cy - ry, 2 * rx, 2 * ry);
}

Glyph glyph(QChar c, double stroke)
{
    Glyph g;
    QPainterPath& s = g.strokes;
    const QRectF bowl = box(2.5, -2.5, 2.5, 2.5);
    switch (c.unicode()) {
    case 'V':
        g.width = 5.6;
        s.moveTo(0, -7);
        s.lineTo(2.8, 0);
        s.lineTo(5.6, -7);
        break;
    case 'N':
        g.width = 5.2;
        s.moveTo(0, 0);
        s.lineTo(0, -7);
        s.lineTo(5.2, 0);
        s.lineTo(5.2, -7);
        break;
    case 'S': {
        g.width = 4.8;
        const QRectF top = box(2.4, -5.25, 2.3, 1.75);
        const QRectF bottom = box(2.4, -1.75, 2.4, 1.75);
        s.arcMoveTo(top, 20);
        s.arcTo(top, 20, 250);
        s.arcTo(bottom, 90, -270 + 20);
        break;
    }
    case 'a':
        g.width = 5;
        s.addEllipse(bowl);
        s.moveTo(5, -5);
        s.lineTo(5, 0);
        break;
    case 'e':
        g.width = 5;
        s.moveTo(0.1, -2.5);
        s.lineTo(5, -2.5);
        s.arcTo(bowl, 0, 310);
        break;
    case 'f':
        g.width = 3.2;
        s.moveTo(1.1, 0);
        s.lineTo(1.1, -5.6);
        s.arcTo(box(2.7, -5.6, 1.6, 1.6), 180, -110);
        s.moveTo(0, -5);
        s.lineTo(3, -5);
        break;
    case 'i':
        g.width = 0;
        s.moveTo(0, -5);
        s.lineTo(0, 0);
        g.dots.addEllipse(QPointF(0, -7), stroke * 0.62, stroke * 0.62);
        break;
    case 'k':
        g.width = 3.8;
        s.moveTo(0, -7.5);
        s.lineTo(0, 0);
        s.moveTo(3.6, -5);
        s.lineTo(0, -1.7);
        s.moveTo(1.35, -2.9);
        s.lineTo(3.8, 0);
        break;
    case 'n':
        g.width = 4.8;
        s.moveTo(0, -5);
        s.lineTo(0, 0);
        s.moveTo(0, -2.6);
        s.arcTo(box(2.4, -2.6, 2.4, 2.4), 180, -180);
        s.lineTo(4.8, 0);
        break;
    case 'o':
        g.width = 5;
        s.addEllipse(bowl);
        break;
    case 'r':
        g.width = 3.2;
        s.moveTo(0, -5);
        s.lineTo(0, 0);
        s.moveTo(0, -2.4);
        s.arcTo(box(2.6, -2.4, 2.6, 2.6), 180, -95);
        break;
    case 't':
        g.width = 3;
        s.moveTo(1.1, -6.8);
        s.lineTo(1.1, -1.2);
        s.quadTo(1.1, 0, 2.6, 0);
        s.moveTo(0, -5);
        s.lineTo(3, -5);
        break;
    case 'v':
        g.width = 5;
        s.moveTo(0, -5);
        s.lineTo(2.5, 0);
        s.lineTo(5, -5);
        break;
    case 'w':
        g.width = 7;
        s.moveTo(0, -5);
        s.lineTo(1.75, 0);
        s.lineTo(3.5, -5);
        s.lineTo(5.25, 0);
        s.lineTo(7, -5);
        break;
    case ' ':
        g.width = 1.6;
        break;
    default:
        g.width = 3;
        break;
    }
    return g;
}

} // namespace

Lettering letter(const QString& text, double stroke, double tracking)
{
    Lettering out;
    double x = 0;
    for (int i = 0; i < text.size(); ++i) {
        const Glyph g = glyph(text.at(i), stroke);
        out.strokes.addPath(g.strokes.translated(x, 0));
        out.dots.addPath(g.dots.translated(x, 0));
        x += g.width;
        out.width = x;
        x += tracking * stroke + 0.4;
    }
    return out;
}

} // namespace Forge
