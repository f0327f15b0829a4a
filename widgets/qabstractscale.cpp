#include "widgets/qabstractscale.h"

#include "widgets/scalemath.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

namespace {

QFontMetrics metricsOn(const QFont& font, const QPaintDevice* device)
{
    return device ? QFontMetrics(font, device) : QFontMetrics(font);
}

// Adds a label unless it would overlap one already placed (a step too fine for the ruler's
// length would otherwise print a smear of digits).
void placeLabel(ScaleLayout& layout, QList<QRect>& taken, const QRect& box, const QPoint& baseline,
                const QString& text)
{
    for (const QRect& other : std::as_const(taken)) {
        if (box.intersects(other))
            return;
    }
    taken.append(box);
    layout.labels.append({baseline, text});
}

} // namespace

QAbstractScale::QAbstractScale()
    : m_font(QStringLiteral("Arial"), 10, QFont::Normal, false)
{
}

QAbstractScale::~QAbstractScale() = default;

void QAbstractScale::setRange(double dStart, double dSpan)
{
    m_dStart = dStart;
    m_dSpan = dSpan;
    changed();
}

void QAbstractScale::setStart(double dStart)
{
    m_dStart = dStart;
    changed();
}

void QAbstractScale::setSpan(double dSpan)
{
    m_dSpan = dSpan;
    changed();
}

void QAbstractScale::setTicks(double dOrigin, double dMajor, double dMinor)
{
    m_dOrigin = dOrigin;
    m_dMajorStep = dMajor;
    m_dMinorStep = dMinor;
    changed();
}

void QAbstractScale::setScaleRect(const QRect& rect)
{
    m_rect = rect;
    changed();
}

void QAbstractScale::setPosition(int iPosition)
{
    m_iPosition = iPosition;
    changed();
}

void QAbstractScale::setDirection(int iDirection)
{
    m_iDirection = iDirection;
    changed();
}

void QAbstractScale::setScaleFont(const QFont& font)
{
    m_font = font;
    changed();
}

void QAbstractScale::setTickLength(int iLength)
{
    m_iTickLength = iLength;
    changed();
}

void QAbstractScale::setLabelAlignment(int iAlignment)
{
    m_iLabelAlignment = iAlignment;
    changed();
}

void QAbstractScale::setCaptionSide(int iSide)
{
    m_iCaptionSide = iSide;
    changed();
}

void QAbstractScale::setName(const QString& strName)
{
    m_strName = strName;
    changed();
}

void QAbstractScale::setUnit(const QString& strUnit)
{
    m_strUnit = strUnit;
    changed();
}

void QAbstractScale::changed()
{
    m_bLayoutValid = false;
    scaleChanged();
}

const ScaleLayout& QAbstractScale::scaleLayout(const QPaintDevice* device) const
{
    const int dpi = device ? device->logicalDpiY() : -1;
    if (!m_bLayoutValid || dpi != m_iLayoutDpi) {
        m_layout = isHorizontal() ? horizontalLayout(device) : verticalLayout(device);
        m_iLayoutDpi = dpi;
        m_bLayoutValid = true;
    }
    return m_layout;
}

void QAbstractScale::draw(QPainter& painter) const
{
    const ScaleLayout& l = scaleLayout(painter.device());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(l.font);
    painter.drawLines(l.minorTicks);
    painter.drawLines(l.majorTicks);
    for (const ScaleText& t : l.labels)
        painter.drawText(t.baseline, t.text);
    for (const ScaleText& t : l.caption)
        painter.drawText(t.baseline, t.text);
    painter.restore();
}

ScaleLayout QAbstractScale::horizontalLayout(const QPaintDevice* device) const
{
    ScaleLayout l;
    l.font = m_font;
    const int x1 = m_rect.left(), x2 = m_rect.right(), y1 = m_rect.top(), y2 = m_rect.bottom();
    if (x2 < x1 || y2 < y1)
        return l;
    const QFontMetrics fm = metricsOn(l.font, device);

    const QString caption = m_strName.isEmpty() ? m_strUnit : m_strName + QStringLiteral(", ") + m_strUnit;
    const int w = fm.horizontalAdvance(caption);
    const bool captionAtEnd = m_iCaptionSide == 1;
    const int captionX = captionAtEnd ? x2 - w - 3 : x1 + 3;
    const int left = captionAtEnd ? x1 : x1 + 6 + w;
    const int right = captionAtEnd ? x2 - w - 6 : x2;

    // Above the picture the ticks grow upwards from the bottom edge, below it downwards.
    const int b = m_iPosition == 1 ? y2 : y1;
    const int d = m_iPosition == 1 ? -1 : 1;
    int baseline = b + (m_iTickLength + 3) * d;
    if (d == 1)
        baseline = int(baseline + 0.6 * fm.height());

    const ScaleMath::Map map = ScaleMath::makeMap(m_dStart, m_dSpan, x1, x2, m_iDirection);
    const int minorLength = 2 * m_iTickLength / 3;
    for (const ScaleMath::Tick& t : ScaleMath::ticks(map, m_dStart, m_dSpan, m_dOrigin, m_dMinorStep, x1, x2))
        l.minorTicks.append(QLine(t.pixel, b, t.pixel, b + d * minorLength));

    QList<QRect> taken;
    for (const ScaleMath::Tick& t : ScaleMath::ticks(map, m_dStart, m_dSpan, m_dOrigin, m_dMajorStep, x1, x2)) {
        l.majorTicks.append(QLine(t.pixel, b, t.pixel, b + d * m_iTickLength));
        const QString text = ScaleMath::label(t.value, m_dMajorStep);
        const int width = fm.horizontalAdvance(text);
        for (int x : ScaleMath::horizontalLabelStarts(t.pixel, width / 2, left, right)) {
            // One pixel of air on each side keeps neighbouring numbers apart.
            const QRect box(x - 1, baseline - fm.ascent(), width + 2, fm.height());
            placeLabel(l, taken, box, QPoint(x, baseline), text);
        }
    }
    if (!caption.isEmpty())
        l.caption.append({QPoint(captionX, baseline), caption});
    return l;
}

ScaleLayout QAbstractScale::verticalLayout(const QPaintDevice* device) const
{
    ScaleLayout l;
    l.font = m_font;
    const int x1 = m_rect.left(), x2 = m_rect.right(), y1 = m_rect.top(), y2 = m_rect.bottom();
    if (x2 < x1 || y2 < y1)
        return l;
    const int H = int(0.6 * metricsOn(l.font, device).height());

    // Shrink the font until the step's label fits beside the ticks; a point is the floor, so a
    // ruler too narrow for any text still paints.
    const QString stepText = ScaleMath::label(m_dMajorStep, m_dMajorStep);
    const int room = x2 - x1 - m_iTickLength - 1;
    while (l.font.pointSize() > 1 && metricsOn(l.font, device).horizontalAdvance(stepText) >= room) {
        l.font.setPointSize(l.font.pointSize() - 1);
        ++l.fontReductions;
    }
    const QFontMetrics fm = metricsOn(l.font, device);
    const int fh = fm.height();

    int unitBaseline = 0;
    int nameBaseline = 0;
    int top = y1;
    int bottom = y2;
    if (m_iCaptionSide == 1) {
        unitBaseline = y2 - 3;
        if (m_strName.isEmpty()) {
            bottom = unitBaseline - H - 3;
        } else {
            nameBaseline = unitBaseline - H - 6;
            bottom = nameBaseline - fh;
        }
    } else {
        if (m_strName.isEmpty()) {
            unitBaseline = y1 + 3 + H;
        } else {
            nameBaseline = y1 + fh + 3;
            unitBaseline = nameBaseline + 3 + H;
        }
        top = unitBaseline + 3;
    }

    // Right of the picture the ticks grow rightwards from the left edge, else leftwards.
    const int b = m_iPosition == 2 ? x1 : x2;
    const int d = m_iPosition == 2 ? 1 : -1;
    const int o = ScaleMath::verticalLabelOffset(m_iLabelAlignment, fh);

    const ScaleMath::Map map = ScaleMath::makeMap(m_dStart, m_dSpan, y1, y2, m_iDirection);
    const int minorLength = 2 * m_iTickLength / 3;
    for (const ScaleMath::Tick& t : ScaleMath::ticks(map, m_dStart, m_dSpan, m_dOrigin, m_dMinorStep, y1, y2))
        l.minorTicks.append(QLine(b, t.pixel, b + d * minorLength, t.pixel));

    QList<QRect> taken;
    for (const ScaleMath::Tick& t : ScaleMath::ticks(map, m_dStart, m_dSpan, m_dOrigin, m_dMajorStep, y1, y2)) {
        l.majorTicks.append(QLine(b, t.pixel, b + d * m_iTickLength, t.pixel));
        const QString text = ScaleMath::label(t.value, m_dMajorStep);
        const int width = fm.horizontalAdvance(text);
        int x = d > 0 ? b : b - width - 2;
        if (m_iLabelAlignment == 1)
            x += 2 + d * m_iTickLength;
        for (int y : ScaleMath::verticalLabelBaselines(t.pixel, o, H, top, bottom))
            placeLabel(l, taken, QRect(x, y - fm.ascent(), width, fh), QPoint(x, y), text);
    }

    const int captionX = x2 - m_iTickLength - fm.horizontalAdvance(m_strUnit) - 2;
    if (!m_strName.isEmpty())
        l.caption.append({QPoint(captionX, nameBaseline), m_strName});
    if (!m_strUnit.isEmpty())
        l.caption.append({QPoint(captionX, unitBaseline), m_strUnit});
    return l;
}
