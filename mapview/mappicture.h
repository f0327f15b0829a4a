#pragma once
// Pictures of the map view's frames with their rulers, for the clipboard and the map report.

#include <QImage>

class QAbstractScale;

namespace MapPicture {

//! The frame's visible picture (fw × fh) with its rulers: an opaque 32-bit image of
//! (fw + s + 2) × (fh + s + 2) on white, s being the thickness of the vertical ruler. The
//! picture sits at (s + 2, s + 2) with a black line along its top and left edges, a black
//! rectangle surrounds the whole (over the picture's last column and row), the vertical ruler fills the left strip and the horizontal
//! one the top strip (drawn from copies with the same title, unit, range and ticks). Either
//! ruler may be null, leaving its strip empty. Null when the picture is null or memory runs out.
QImage compose(const QImage& picture, const QAbstractScale* vertical, const QAbstractScale* horizontal,
               int iScaleThickness);

//! Where compose puts the picture inside the composed image.
inline QPoint pictureOrigin(int iScaleThickness)
{
    return QPoint(iScaleThickness + 2, iScaleThickness + 2);
}

} // namespace MapPicture
