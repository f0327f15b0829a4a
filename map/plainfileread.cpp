#include "map/plainfileread.h"

#include <QFileInfo>

namespace Vantar {

bool openPlainFile(QFile& file)
{
    if (!QFileInfo(file.fileName()).isFile())
        return false;
    return file.open(QIODevice::ReadOnly);
}

} // namespace Vantar
