#include "mapview/colorscalepicture.h"

#include "mapview/mappalette.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace ColorScalePicture {

int limitPosition(int iPercent, int iWidth)
{
    if (iWidth < 1)
        return 0;
    const qint64 p = std::clamp(iPercent, 0, 100);
    return int((2 * p * (iWidth - 1) + 100) / 200);
}

int rightMargin(int iWidth)
{
    return iWidth < 1 ? 0 : (iWidth - 1 + 5) / 10;
}

int percentAt(int iLimit, int iWidth)
{
    if (iWidth <= 1 || iLimit <= 0)
        return 0;
    const qint64 d = iWidth - 1;
    return int((200 * qint64(iLimit) + d) / (2 * d));
}

int clampLimit(int x, int iWidth)
{
    return std::clamp(x, 0, std::max(0, (iWidth - 1) - rightMargin(iWidth)));
}

QImage strip()
{
    QImage image(kStripWidth, kHeight, QImage::Format_RGB16);
    if (image.isNull())
        return image;
    image.fill(MapPalette::colour(0));
    const auto& colours = MapPalette::colours565();
    for (int y = 1; y <= kHeight - 2; ++y) {
        auto* line = reinterpret_cast<quint16*>(image.scanLine(y));
        for (int x = 0; x < kStripWidth; ++x)
            line[x] = colours[size_t(x)];
    }
    return image;
}

QImage render(const QImage& stripImage, int iWidth, int iLimit, const QString& strText)
{
    if (iWidth < 1 || stripImage.isNull())
        return QImage();
    QImage picture(iWidth, kHeight, QImage::Format_RGB16);
    if (picture.isNull())
        return picture;
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawImage(0, 0, stripImage.scaled(iWidth, kHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    // Values under the threshold are drawn black in the scans, and so here.
    if (iLimit > 0)
        p.fillRect(0, 0, iLimit, kHeight, QColor::fromRgb(MapPalette::colour(0)));

    p.setPen(QPen(Qt::white, 0));
    p.drawLine(0, 0, iWidth - 1, 0);
    p.drawLine(0, kHeight - 1, iWidth - 1, kHeight - 1);
    p.drawLine(iWidth - 1, 0, iWidth - 1, kHeight - 1);
    p.drawLine(iLimit, 0, iLimit, kHeight - 1);

    const int y = (kHeight - 1) / 2;
    p.drawLine(iLimit - 5, y, iLimit + 5, y);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(iLimit + 5, y - 3), QPoint(iLimit + 5, y + 3), QPoint(iLimit + 9, y)}));
    p.drawPolygon(QPolygon({QPoint(iLimit - 5, y - 3), QPoint(iLimit - 5, y + 3), QPoint(iLimit - 9, y)}));

    QFont font(QStringLiteral("Arial"), 12, QFont::Normal);
    p.setFont(font);
    const int textWidth = QFontMetrics(font, &picture).horizontalAdvance(strText);
    // Right of the limit when there is no room on its left.
    const int x = textWidth > iLimit - 13 ? iLimit + 11 : iLimit - textWidth - 11;
    p.drawText(x, y + 6, strText);
    p.end();
    return picture;
}

} // namespace ColorScalePicture
