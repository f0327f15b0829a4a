#include "map/storedfilewrite.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace Vantar {

namespace {

std::filesystem::path fsPath(const QString& strPath)
{
    return std::filesystem::path(QFile::encodeName(strPath).toStdString());
}

} // namespace

std::unique_ptr<QTemporaryFile> temporaryBeside(const QString& strPath)
{
    const QFileInfo target(strPath);
    // Beside the target, so that the final rename stays on one volume; hidden and marked so
    // that a leftover is never taken for data.
    auto file = std::make_unique<QTemporaryFile>(target.absolutePath() + QStringLiteral("/.") + target.fileName()
                                                 + QStringLiteral(".XXXXXX.part"));
    if (!file->open())
        return nullptr;
    return file;
}

bool replaceWithTemporary(QTemporaryFile& temporary, const QString& strPath)
{
    if (!temporary.flush())
        return false;
#ifdef Q_OS_UNIX
    // The old file is replaced only by a new one that is really on the medium.
    if (::fsync(temporary.handle()) != 0)
        return false;
#endif
    temporary.close();
    if (temporary.error() != QFileDevice::NoError)
        return false;
    // rename() replaces the directory entry, so a link at strPath goes and its target stays.
    std::error_code error;
    std::filesystem::rename(fsPath(temporary.fileName()), fsPath(strPath), error);
    if (error)
        return false;
    temporary.setAutoRemove(false);
    return true;
}

bool writeWholeFile(const QString& strPath, const QByteArray& bytes)
{
    const std::unique_ptr<QTemporaryFile> file = temporaryBeside(strPath);
    if (!file)
        return false;
    // A write cut short by a full disk can still look done, so the size that reached the
    // file is checked before it replaces the old one.
    if (file->write(bytes) != bytes.size() || !file->flush() || file->size() != bytes.size())
        return false;
    // A temporary file is private to its owner; the file it becomes keeps the old file's
    // permissions, or gets the usual ones for a new document.
    const QFileInfo old(strPath);
    file->setPermissions(old.isFile() && !old.isSymLink()
                             ? old.permissions()
                             : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                                   | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return replaceWithTemporary(*file, strPath);
}

} // namespace Vantar
