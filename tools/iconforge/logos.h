#pragma once

// The mark (an echo pulse on a rounded badge), the About box wordmark, the black-and-white
// report logo and the window icon images.

#include <QImage>
#include <QList>

namespace Forge {

/// The mark alone on a transparent square of side `px`, in colour.
QImage markImage(int px);

/// About box logo: mark and "Vantar" on white, 24-bit.
QImage aboutLogo();

/// Report logo: mark and "Norvik Software", pure black on white.
QImage reportLogo();

/// The window icon's images, smallest first.
QList<QImage> windowIconImages();

} // namespace Forge
