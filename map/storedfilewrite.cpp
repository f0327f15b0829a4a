#include "map/storedfilewrite.h"

#include <QSaveFile>

namespace Vantar {

bool writeWholeFile(const QString& strPath, const QByteArray& bytes)
{
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // A write cut short by a full disk can still look done, so the size that reached the
    // file is checked before it replaces the old one.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.size() != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

} // namespace Vantar
