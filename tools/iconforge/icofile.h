#pragma once

// Windows icon container: small sizes as 32-bit DIBs with an AND mask (read by everything),
// 256 px as an embedded PNG (the usual way for the large entry).

#include <QByteArray>
#include <QImage>
#include <QList>

namespace Forge {

QByteArray icoFile(const QList<QImage>& images);

} // namespace Forge
