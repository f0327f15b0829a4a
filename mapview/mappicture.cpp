#include "mapview/mappicture.h"

#include "widgets/qabstractscale.h"

#include <QPainter>

#include <algorithm>

namespace MapPicture {

QImage compose(const QImage& picture, const QAbstractScale* vertical, const QAbstractScale* horizontal,
               int iScaleThickness)
{
    if (picture.isNull())
        return QImage();
    const int s = std::max(iScaleThickness, 0);
    const int fw = picture.width(), fh = picture.height();
    QImage out(fw + s + 2, fh + s + 2, QImage::Format_RGB32);
    if (out.isNull())
        return QImage();
    out.fill(Qt::white);

    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPoint origin = pictureOrigin(s);
    painter.drawImage(origin, picture);

    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(s + 1, s + 1, out.width() - 1, s + 1);
    painter.drawLine(s + 1, s + 1, s + 1, out.height() - 1);
    painter.drawRect(0, 0, out.width() - 1, out.height() - 1);

    if (s > 0) {
        // The strips lie inside the outer rectangle, beside the picture they describe.
        if (vertical) {
            QAbstractScale ruler(*vertical);
            ruler.setPosition(0);
            ruler.setScaleRect(QRect(1, origin.y(), s, fh));
            ruler.draw(painter);
        }
        if (horizontal) {
            QAbstractScale ruler(*horizontal);
            ruler.setPosition(1);
            ruler.setScaleRect(QRect(origin.x(), 1, fw, s));
            ruler.draw(painter);
        }
    }
    painter.end();
    return out;
}

} // namespace MapPicture
