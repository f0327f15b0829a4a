#include "app/platform/drivediscovery.h"

#include "app/constants.h"
#include "app/platform/realpath.h"
#include "app/platform/sysfsdriveplatform.h"

#include <QDir>

namespace Vantar {

DrivePlatform::~DrivePlatform() = default;

namespace {

#ifndef Q_OS_LINUX
class EmptyDrivePlatform : public DrivePlatform
{
public:
    DriveTable read() const override { return {}; }
};
#endif

// Mount points are compared as written by the platform, less a trailing separator.
QString normalisedRoot(const QString& strRoot)
{
    QString root = QDir::fromNativeSeparators(strRoot);
    while (root.size() > 1 && root.endsWith(u'/'))
        root.chop(1);
    return root;
}

} // namespace

std::unique_ptr<DrivePlatform> createSystemDrivePlatform()
{
#ifdef Q_OS_LINUX
    return std::make_unique<LinuxDrivePlatform>();
#else
    return std::make_unique<EmptyDrivePlatform>();
#endif
}

QString descriptorText(QByteArrayView descriptor)
{
    QByteArray window = descriptor.first(qMin<qsizetype>(descriptor.size(), kDescriptorWindow)).toByteArray();
    window.replace('\0', '_');
    return QString::fromLatin1(window);
}

bool descriptorNamesInstrument(QByteArrayView descriptor)
{
    return descriptorText(descriptor).contains(QLatin1String(kInstrumentModel), Qt::CaseInsensitive);
}

bool findInstrumentDisk(const QList<PlatformDisk>& disks, int& iIndex)
{
    for (int i = 0; i < disks.size(); ++i) {
        if (descriptorNamesInstrument(disks.at(i).descriptor)) {
            iIndex = i;
            return true;
        }
    }
    return false;
}

int diskNumberOfVolume(const DriveTable& table, const QString& strRoot)
{
    const QString root = normalisedRoot(strRoot);
    for (const PlatformVolume& volume : table.volumes) {
        if (normalisedRoot(volume.root) == root)
            return volume.disk >= 0 && volume.disk < table.disks.size() ? volume.disk : -1;
    }
    return -1;
}

namespace {

// Mount points of the disk's volumes, walked from the last volume to the first.
void appendVolumesOfDisk(const DriveTable& table, int iDisk, QStringList& roots)
{
    for (qsizetype i = table.volumes.size() - 1; i >= 0; --i) {
        const PlatformVolume& volume = table.volumes.at(i);
        if (volume.root.isEmpty() || volume.disk != iDisk)
            continue;
        const QString root = normalisedRoot(volume.root);
        if (!roots.contains(root))
            roots.append(root);
    }
}

} // namespace

QString findInstrumentDrive(const DriveTable& table)
{
    int iDisk = -1;
    if (!findInstrumentDisk(table.disks, iDisk))
        return QString();
    QStringList roots;
    appendVolumesOfDisk(table, iDisk, roots);
    return roots.isEmpty() ? QString() : roots.first();
}

QStringList findInstrumentVolumes(const DriveTable& table)
{
    // The first instrument's volumes come first; a second instrument connected at the same
    // time is no place to save onto either.
    QStringList roots;
    for (int i = 0; i < table.disks.size(); ++i) {
        if (descriptorNamesInstrument(table.disks.at(i).descriptor))
            appendVolumesOfDisk(table, i, roots);
    }
    return roots;
}

QString findInstrumentDrive(const DrivePlatform& platform)
{
    return findInstrumentDrive(platform.read());
}

bool isOutsideInstrument(const QString& strFolder, const DriveTable& table)
{
    const QStringList roots = findInstrumentVolumes(table);
    if (roots.isEmpty())
        return true;
    const QString folder = realPath(strFolder);
    for (const QString& root : roots) {
        // The mount point itself may be reached through a link (/media -> /run/media), and
        // the folder may be typed through one: both are compared as the folders they are.
        if (isSameOrInside(folder, root, Qt::CaseInsensitive)
            || isSameOrInside(folder, realPath(root), Qt::CaseInsensitive))
            return false;
    }
    return true;
}

bool isOutsideInstrument(const QString& strFolder, const DrivePlatform& platform)
{
    return isOutsideInstrument(strFolder, platform.read());
}

} // namespace Vantar
