#include "logos.h"

#include "forgepaint.h"
#include "lettering.h"

#include <algorithm>

namespace Forge {
namespace {

// Echo pulse in badge units (0..1): baseline, a tall transmit pulse, then a smaller echo.
// Small icons get a simpler echo that survives 16 px.
QPainterPath echoLine(bool bSmall)
{
    QPainterPath path;
    if (bSmall) {
        path.moveTo(0.62, 0.60);
        path.lineTo(0.72, 0.40);
        path.lineTo(0.80, 0.60);
    } else {
        path.moveTo(0.63, 0.60);
        path.lineTo(0.70, 0.42);
        path.lineTo(0.77, 0.68);
        path.lineTo(0.81, 0.60);
    }
    return path;
}

QPainterPath pulseLine(bool bSmall)
{
    QPainterPath path;
    path.moveTo(0.13, 0.60);
    path.lineTo(0.28, 0.60);
    path.lineTo(0.38, 0.20);
    path.lineTo(0.48, 0.78);
    path.lineTo(0.55, 0.60);
    path.connectPath(echoLine(bSmall));
    path.lineTo(0.87, 0.60);
    return path;
}

// Draws the mark into the square `r`. In mono the badge is black and the pulse white.
void drawMark(QPainter& p, const QRectF& r, bool bMono)
{
    const double s = r.width();
    const bool bSmall = s < 40;
    p.save();
    p.translate(r.topLeft());
    const double inset = bSmall ? 0.02 * s : 0.03 * s;
    const QRectF badge(inset, inset, s - 2 * inset, s - 2 * inset);
    p.setPen(Qt::NoPen);
    p.setBrush(bMono ? QColor(Qt::black) : kSteelDark);
    p.drawRoundedRect(badge, s * 0.22, s * 0.22);
    if (!bMono) {
        // A lighter upper half gives the flat badge a little depth.
        p.setClipRect(QRectF(0, 0, s, s * 0.5));
        p.setBrush(kSteel);
        p.drawRoundedRect(badge, s * 0.22, s * 0.22);
        p.setClipping(false);
    }
    QTransform t;
    t.scale(s, s);
    const double width = bSmall ? std::max(1.7, s * 0.10) : s * 0.075;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(bMono ? QColor(Qt::white) : kPaper, width, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.drawPath(t.map(pulseLine(bSmall)));
    if (!bMono) {
        // The echo, the thing we look for, in the accent colour.
        p.setPen(QPen(kAccent, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(t.map(echoLine(bSmall)));
    }
    p.restore();
}

// Draws `text` with its baseline at `baseline`, left edge at x, cap height `cap` pixels.
void drawWords(QPainter& p, const QString& text, double x, double baseline, double cap,
               const QColor& colour, double weight = 1.0)
{
    const double unit = cap / 7.0;
    const double stroke = weight;
    const Lettering l = letter(text, stroke);
    QTransform t;
    t.translate(x + stroke * unit / 2, baseline);
    t.scale(unit, unit);
    p.save();
    p.setPen(QPen(colour, stroke * unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(t.map(l.strokes));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(t.map(l.dots));
    p.restore();
}

double wordsWidth(const QString& text, double cap, double weight = 1.0)
{
    const double unit = cap / 7.0;
    return (letter(text, weight).width + weight) * unit;
}

QImage whiteCanvas(int w, int h, int scale)
{
    QImage image(w * scale, h * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

QImage markImage(int px)
{
    return render(px, px, [px](QPainter& p) { drawMark(p, QRectF(0, 0, px, px), false); });
}

QImage aboutLogo()
{
    const int w = 220, h = 80;
    QImage image = whiteCanvas(w, h, 1);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double markSide = 56;
    drawMark(p, QRectF(8, (h - markSide) / 2, markSide, markSide), false);
    const double textX = 8 + markSide + 12;
    // The largest cap height that still fits the width, at most about half the height.
    const double room = w - 8 - textX;
    const double cap = std::min(34.0, 34.0 * room / wordsWidth("Vantar", 34.0));
    const double textW = wordsWidth("Vantar", cap);
    const double x = textX + ((w - 8 - textX) - textW) / 2;
    drawWords(p, "Vantar", x, h / 2 + cap / 2, cap, kInk);
    p.end();
    return image;
}

QImage reportLogo()
{
    // Drawn four times larger, reduced and cut at half grey: clean black-and-white edges.
    const int w = 300, h = 100, k = 4;
    QImage big = whiteCanvas(w, h, k);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    const double markSide = 80;
    drawMark(p, QRectF(8, 10, markSide, markSide), true);
    const double textX = 8 + markSide + 14;
    drawWords(p, "Norvik", textX, 52, 36, Qt::black, 1.05);
    drawWords(p, "Software", textX + 1, 84, 20, Qt::black, 1.0);
    p.end();
    QImage small = big.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(small.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qGray(line[x]) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    return small;
}

QList<QImage> windowIconImages()
{
    return {markImage(16), markImage(32), markImage(48), markImage(256)};
}

} // namespace Forge
