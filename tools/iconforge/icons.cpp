#include "icons.h"

#include <QtMath>

namespace Forge {
namespace {

// ---------------------------------------------------------------- toolbar

void drawSave(QPainter& p)
{
    // Floppy disk: steel body with a clipped corner, metal shutter and a paper label.
    QPainterPath body;
    body.moveTo(10, 8);
    body.lineTo(47, 8);
    body.lineTo(56, 17);
    body.lineTo(56, 54);
    body.lineTo(8, 54);
    body.lineTo(8, 10);
    body.closeSubpath();
    outlined(p, body, kSteel);
    outlined(p, roundedRect(QRectF(18, 8, 26, 16), 1.5), kPaper);
    p.fillRect(QRectF(34, 12, 6, 8), kInk);
    outlined(p, roundedRect(QRectF(16, 34, 32, 20), 1.5), kPaper);
    p.setPen(inkPen(2));
    p.drawLine(QPointF(22, 41), QPointF(42, 41));
    p.drawLine(QPointF(22, 47), QPointF(36, 47));
}

void drawFileOpen(QPainter& p)
{
    // Open folder: darker back with its tab, a sheet inside, lighter front flap tipped open.
    QPainterPath back;
    back.moveTo(6, 14);
    back.lineTo(6, 12);
    back.lineTo(24, 12);
    back.lineTo(29, 18);
    back.lineTo(50, 18);
    back.lineTo(50, 52);
    back.lineTo(6, 52);
    back.closeSubpath();
    outlined(p, back, kAccentDark);
    outlined(p, roundedRect(QRectF(12, 22, 32, 20), 1), kPaper);
    QPainterPath front;
    front.moveTo(16, 28);
    front.lineTo(60, 28);
    front.lineTo(50, 52);
    front.lineTo(6, 52);
    front.closeSubpath();
    outlined(p, front, kAccentLight);
}

void drawFilePrint(QPainter& p)
{
    // Printer: paper feeding in at the back, steel body, a printed sheet coming out.
    outlined(p, roundedRect(QRectF(18, 6, 28, 18), 1), kPaper);
    outlined(p, roundedRect(QRectF(6, 22, 52, 24), 5), kSteel);
    p.fillRect(QRectF(14, 34, 36, 4), kInk);
    outlined(p, roundedRect(QRectF(18, 36, 28, 22), 1), kPaper);
    p.setPen(inkPen(2));
    p.drawLine(QPointF(23, 45), QPointF(41, 45));
    p.drawLine(QPointF(23, 51), QPointF(35, 51));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(49, 28), 3, 3);
}

void roundBadge(QPainter& p)
{
    outlined(p, circle(QPointF(32, 32), 26), kSteel);
}

void drawHelp(QPainter& p)
{
    roundBadge(p);
    QPainterPath hook;
    const QRectF bowl(23, 15, 18, 18);
    hook.arcMoveTo(bowl, 160);
    hook.arcTo(bowl, 160, -230);
    hook.quadTo(QPointF(32, 35), QPointF(32, 40));
    p.setPen(QPen(kPaper, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(32, 48.5), 3.8, 3.8);
}

void drawInfo(QPainter& p)
{
    roundBadge(p);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(32, 18.5), 4, 4);
    QPainterPath stem;
    stem.moveTo(26, 27);
    stem.lineTo(35, 27);
    stem.lineTo(35, 45);
    stem.lineTo(39, 45);
    stem.lineTo(39, 50);
    stem.lineTo(25, 50);
    stem.lineTo(25, 45);
    stem.lineTo(29, 45);
    stem.lineTo(29, 32);
    stem.lineTo(26, 32);
    stem.closeSubpath();
    p.drawPath(stem);
}

void drawSettings(QPainter& p)
{
    // Gear of eight teeth with a hole through the hub.
    const QPointF c(32, 32);
    const int teeth = 8;
    const double rOuter = 27, rInner = 20;
    QPainterPath gear;
    for (int i = 0; i < teeth; ++i) {
        const double a0 = 2 * M_PI * i / teeth;
        const double half = 2 * M_PI / teeth / 2;
        const double pts[4][2] = {{a0 - half * 0.62, rInner}, {a0 - half * 0.36, rOuter},
                                  {a0 + half * 0.36, rOuter}, {a0 + half * 0.62, rInner}};
        for (int k = 0; k < 4; ++k) {
            const QPointF pt = c + QPointF(std::cos(pts[k][0]), std::sin(pts[k][0])) * pts[k][1];
            if (i == 0 && k == 0)
                gear.moveTo(pt);
            else
                gear.lineTo(pt);
        }
    }
    gear.closeSubpath();
    gear = gear.subtracted(circle(c, 8.5));
    outlined(p, gear, kSteel);
}

void drawSection(QPainter& p)
{
    // A slab of the volume held between an upper and a lower limit line.
    QPainterPath top;
    top.moveTo(10, 28);
    top.lineTo(20, 20);
    top.lineTo(54, 20);
    top.lineTo(44, 28);
    top.closeSubpath();
    QPainterPath front = roundedRect(QRectF(10, 28, 34, 16), 0.5);
    QPainterPath side;
    side.moveTo(44, 28);
    side.lineTo(54, 20);
    side.lineTo(54, 36);
    side.lineTo(44, 44);
    side.closeSubpath();
    outlined(p, side, kSteelDark);
    outlined(p, front, kSteel);
    outlined(p, top, kSteelLight);

    // Limit lines with inward arrow tips at the left end.
    p.setPen(QPen(kAccent, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 10), QPointF(58, 10));
    p.drawLine(QPointF(6, 54), QPointF(58, 54));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    QPolygonF down({QPointF(26, 10), QPointF(38, 10), QPointF(32, 17)});
    QPolygonF up({QPointF(26, 54), QPointF(38, 54), QPointF(32, 47)});
    p.drawPolygon(down);
    p.drawPolygon(up);
}

void drawRectangle(QPainter& p)
{
    // Dashed zone outline (ink dashes over paper, visible on any background) with handles.
    const QRectF r(10, 14, 44, 36);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(kSteel.red(), kSteel.green(), kSteel.blue(), 70));
    p.drawRect(r);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kPaper, 4, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawRect(r);
    QPen dash(kInk, 4, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    dash.setDashPattern({1.5, 1.5});
    p.setPen(dash);
    p.drawRect(r);
    for (const QPointF& corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
        outlined(p, roundedRect(QRectF(corner - QPointF(5, 5), QSizeF(10, 10)), 1), kAccent,
                 kInk, 2);
}

void drawHand(QPainter& p)
{
    // Open hand seen from the palm side, fingers slightly spread, thumb to the left.
    auto capsule = [](double x, double y0, double y1, double w) {
        return roundedRect(QRectF(x - w / 2, y0, w, y1 - y0), w / 2);
    };
    // Finger boundaries fall on odd units, so the separators are whole pixel columns.
    QPainterPath hand = roundedRect(QRectF(16, 28, 34, 30), 11);
    hand = hand.united(capsule(21, 12, 40, 8));
    hand = hand.united(capsule(29, 7, 40, 8));
    hand = hand.united(capsule(37, 9, 40, 8));
    hand = hand.united(capsule(45, 15, 42, 8));
    QPainterPath thumb = capsule(0, 0, 22, 8.5);
    QTransform t;
    t.translate(19, 48);
    t.rotate(-38);
    t.translate(0, -22);
    hand = hand.united(t.map(thumb)).simplified();
    outlined(p, hand, kPaper);
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(25, 17), QPointF(25, 34));
    p.drawLine(QPointF(33, 14), QPointF(33, 34));
    p.drawLine(QPointF(41, 19), QPointF(41, 35));
}

void drawUndo(QPainter& p)
{
    // Shown at 24 px: a broad hook arrow turning back to the left.
    QPainterPath c;
    c.moveTo(22, 52);
    c.lineTo(38, 52);
    c.arcTo(QRectF(24, 24, 28, 28), -90, 180);
    c.lineTo(20, 24);
    outlined(p, arrowShape(c, 9, 14, 26), kSteel, kInk, 4.5);
}

void flagFrame(QPainter& p, const std::function<void(QPainter&)>& inside)
{
    const QPainterPath frame = roundedRect(QRectF(4, 12, 56, 40), 5);
    p.save();
    p.setClipPath(frame);
    inside(p);
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(kInk.red(), kInk.green(), kInk.blue(), 150), 2));
    p.drawPath(frame);
}

void drawEnglish(QPainter& p)
{
    // Union-style flag, simplified: blue field, white and red saltire, white and red cross.
    flagFrame(p, [](QPainter& q) {
        const QColor blue(0x23, 0x3f, 0x8c), red(0xd0, 0x2f, 0x3a);
        q.fillRect(QRectF(0, 0, 64, 64), blue);
        q.setPen(QPen(Qt::white, 9, Qt::SolidLine, Qt::FlatCap));
        q.drawLine(QPointF(4, 12), QPointF(60, 52));
        q.drawLine(QPointF(60, 12), QPointF(4, 52));
        q.setPen(QPen(red, 3.5, Qt::SolidLine, Qt::FlatCap));
        q.drawLine(QPointF(4, 12), QPointF(60, 52));
        q.drawLine(QPointF(60, 12), QPointF(4, 52));
        q.fillRect(QRectF(26, 0, 12, 64), Qt::white);
        q.fillRect(QRectF(0, 26, 64, 12), Qt::white);
        q.fillRect(QRectF(29, 0, 6, 64), red);
        q.fillRect(QRectF(0, 29, 64, 6), red);
    });
}

void drawRussian(QPainter& p)
{
    flagFrame(p, [](QPainter& q) {
        q.fillRect(QRectF(0, 0, 64, 26), Qt::white);
        q.fillRect(QRectF(0, 26, 64, 12), QColor(0x1f, 0x4f, 0xb0));
        q.fillRect(QRectF(0, 38, 64, 26), QColor(0xd0, 0x2f, 0x3a));
    });
}

void chevron(QPainter& p, bool bNext)
{
    QPainterPath c;
    const double tip = bNext ? 42 : 22, back = bNext ? 24 : 40;
    c.moveTo(back, 12);
    c.lineTo(tip, 32);
    c.lineTo(back, 52);
    outlined(p, tube(c, 11, Qt::RoundCap, Qt::MiterJoin), kSteel);
}

void drawContrast(QPainter& p)
{
    // Brightness: a half-lit disc with short rays around it.
    const QPointF c(32, 32);
    p.setPen(QPen(kSteel, 4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const double a = M_PI / 4 * i;
        const QPointF d(std::cos(a), std::sin(a));
        p.drawLine(c + d * 22, c + d * 28);
    }
    outlined(p, circle(c, 15), kPaper);
    QPainterPath right;
    right.moveTo(32, 17);
    right.arcTo(QRectF(17, 17, 30, 30), 90, -180);
    right.closeSubpath();
    outlined(p, right, kInk, kInk, 0);
    p.setPen(inkPen());
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 15, 15);
}

// ---------------------------------------------------------------- A-scan display buttons

const QRectF kScreen(6, 10, 52, 44);

// Small signal screen that holds every waveform glyph of the A-scan buttons.
void screen(QPainter& p, bool bMuted = false)
{
    outlined(p, roundedRect(kScreen, 6), bMuted ? kMutedLight : kPaper);
}

void trace(QPainter& p, const QPainterPath& path, const QColor& colour, double width = 4)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

double bell(double x, double centre, double width)
{
    const double u = (x - centre) / width;
    return std::exp(-u * u);
}

// Echo used by the strobe and response glyphs: a single hump on the baseline.
double echo(double x)
{
    return 47 - 28 * bell(x, 32, 6.5);
}

void gate(QPainter& p, double x0, double x1, double y, const QColor& colour)
{
    p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(x0, y), QPointF(x1, y));
    p.drawLine(QPointF(x0, y - 5), QPointF(x0, y + 5));
    p.drawLine(QPointF(x1, y - 5), QPointF(x1, y + 5));
}

void drawStrobe(QPainter& p, bool bOn)
{
    screen(p, !bOn);
    trace(p, curve(echo, 11, 53), bOn ? kSteel : kMuted);
    gate(p, 18, 46, 28, bOn ? kAccent : kMuted);
    if (!bOn) {
        p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 48), QPointF(50, 16));
    }
}

void marker(QPainter& p, QPointF tip)
{
    // The display's measured-point marker: a filled triangle pointing at the point.
    QPolygonF tri({tip, tip + QPointF(-6, -9), tip + QPointF(6, -9)});
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kAccent);
    p.drawPolygon(tri);
}

void drawResponse(QPainter& p, bool bPeak)
{
    screen(p);
    const double level = 36;
    QPen dashed(kMuted, 2, Qt::DashLine, Qt::FlatCap);
    p.setPen(dashed);
    p.drawLine(QPointF(10, level), QPointF(54, level));
    trace(p, curve(echo, 11, 53), kSteel);
    double x = 32;
    if (!bPeak) {
        // Rising edge: where the echo first passes the level.
        x = 11;
        while (echo(x) > level && x < 32)
            x += 0.05;
    }
    const QPointF point(x, echo(x));
    p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(point, QPointF(x, 50));
    marker(p, point);
}

// Radio-frequency echo: a few periods of a carrier under a bell.
double rfWave(double x, double period)
{
    return std::sin(2 * M_PI * (x - 32) / period + M_PI / 2) * bell(x, 32, 11.0);
}

void drawSignalBipolar(QPainter& p)
{
    screen(p);
    p.setPen(QPen(kMuted, 2));
    p.drawLine(QPointF(10, 32), QPointF(54, 32));
    trace(p, curve([](double x) { return 32 - 17 * rfWave(x, 12.0); }, 10, 54, 200), kSteel, 3.5);
}

void drawSignalOneSided(QPainter& p)
{
    screen(p);
    trace(p, curve([](double x) { return 48 - 31 * std::abs(rfWave(x, 19.0)); }, 10, 54, 200),
          kSteel, 3.5);
}

void drawSignalEnvelope(QPainter& p)
{
    screen(p);
    auto env = [](double x) { return 48 - 31 * bell(x, 32, 8.5); };
    QPainterPath fill = curve(env, 10, 54);
    fill.lineTo(54, 50);
    fill.lineTo(10, 50);
    fill.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kSteelLight);
    p.drawPath(fill);
    trace(p, curve(env, 10, 54), kSteel);
}

void drawLoupe(QPainter& p, bool bOn)
{
    const QPointF c(27, 27);
    const double r = 18;
    QPainterPath handle;
    handle.moveTo(c + QPointF(r, r) * 0.78);
    handle.lineTo(54, 54);
    outlined(p, tube(handle, 10, Qt::RoundCap), bOn ? kAccent : kMuted);
    outlined(p, circle(c, r), bOn ? kPaper : kMutedLight);
    // Enlarged echo seen through the lens.
    p.save();
    p.setClipPath(circle(c, r - 2));
    trace(p, curve([&](double x) { return 37 - 18 * bell(x, 27, 5.0); }, 8, 46),
          bOn ? kSteel : kMuted);
    p.restore();
    p.setPen(inkPen());
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r, r);
}

void drawTimeBase(QPainter& p, bool bRight)
{
    // Scale ruler with an arrow above it.
    outlined(p, roundedRect(QRectF(6, 40, 52, 16), 2), kPaper);
    p.setPen(inkPen(2, kInk));
    // Odd unit positions put each 1 px tick on a whole pixel column at 32 px.
    for (int i = 0; i < 8; ++i) {
        const double x = 11 + i * 6;
        p.drawLine(QPointF(x, 40), QPointF(x, i % 2 ? 45 : 49));
    }
    QPainterPath c;
    c.moveTo(bRight ? 10 : 54, 22);
    c.lineTo(bRight ? 42 : 22, 22);
    outlined(p, arrowShape(c, 8, 12, 22), kSteel);
}

void drawReset(QPainter& p)
{
    QPainterPath c;
    const QRectF r(14, 14, 36, 36);
    c.arcMoveTo(r, 120);
    c.arcTo(r, 120, 270);
    outlined(p, arrowShape(c, 8, 11, 21), kSteel);
}

// ---------------------------------------------------------------- spin box arrows (56 units)

void drawSpinArrow(QPainter& p, bool bUp)
{
    QPolygonF tri = bUp ? QPolygonF({QPointF(28, 13), QPointF(48, 39), QPointF(8, 39)})
                        : QPolygonF({QPointF(28, 43), QPointF(48, 17), QPointF(8, 17)});
    QPainterPath path;
    path.addPolygon(tri);
    path.closeSubpath();
    outlined(p, path, kSteel);
}

} // namespace

QList<IconSpec> iconSpecs()
{
    return {
        {"save.png", 32, kUnits, drawSave},
        {"fileopen.png", 32, kUnits, drawFileOpen},
        {"fileprint.png", 32, kUnits, drawFilePrint},
        {"help.png", 32, kUnits, drawHelp},
        {"info.png", 32, kUnits, drawInfo},
        {"settings.png", 32, kUnits, drawSettings},
        {"section.png", 32, kUnits, drawSection},
        {"rectangle.png", 32, kUnits, drawRectangle},
        {"cursor_hand.png", 32, kUnits, drawHand},
        {"undo.png", 32, kUnits, drawUndo},
        {"english.png", 32, kUnits, drawEnglish},
        {"russian.png", 32, kUnits, drawRussian},
        {"previous.png", 32, kUnits, [](QPainter& p) { chevron(p, false); }},
        {"next.png", 32, kUnits, [](QPainter& p) { chevron(p, true); }},
        {"contrast.png", 32, kUnits, drawContrast},
        {"F1_1.png", 32, kUnits, [](QPainter& p) { drawStrobe(p, false); }},
        {"F1_2.png", 32, kUnits, [](QPainter& p) { drawStrobe(p, true); }},
        {"F3_1.png", 32, kUnits, [](QPainter& p) { drawResponse(p, false); }},
        {"F3_2.png", 32, kUnits, [](QPainter& p) { drawResponse(p, true); }},
        {"F4_3.png", 32, kUnits, drawSignalBipolar},
        {"F4_2.png", 32, kUnits, drawSignalOneSided},
        {"F4_1.png", 32, kUnits, drawSignalEnvelope},
        {"F5_1.png", 32, kUnits, [](QPainter& p) { drawLoupe(p, false); }},
        {"F5_2.png", 32, kUnits, [](QPainter& p) { drawLoupe(p, true); }},
        {"arrow_left.png", 32, kUnits, [](QPainter& p) { drawTimeBase(p, false); }},
        {"arrow_right.png", 32, kUnits, [](QPainter& p) { drawTimeBase(p, true); }},
        {"arrow_reset.png", 32, kUnits, drawReset},
        {"arrow_up.png", 28, 56, [](QPainter& p) { drawSpinArrow(p, true); }},
        {"arrow_down.png", 28, 56, [](QPainter& p) { drawSpinArrow(p, false); }},
    };
}

} // namespace Forge
