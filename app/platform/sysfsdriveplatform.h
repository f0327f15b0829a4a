#pragma once
// Drive table of a Linux system: the disks from sysfs ("/sys/block"), the volumes from the
// mount table ("/proc/self/mountinfo"). The same reader runs on a folder tree laid out like
// sysfs and a mount-table text, which is how the tests drive it.

#include "app/platform/drivediscovery.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace Vantar {

//! What sysfs tells about one disk; the strings as the attribute files hold them.
struct DiskAttributes
{
    QByteArray vendor;   // absent when the attribute is missing (null array)
    QByteArray product;
    QByteArray revision;
    QByteArray serial;
    int deviceType = 0;  // SCSI peripheral type; 0 for a direct-access disk
    bool removable = false;
    bool usb = false;    // reached over USB
};

//! One line of the mount table.
struct MountEntry
{
    QString mountPoint;  // where it is mounted, escapes (\040 …) decoded
    QString source;      // "/dev/sdb1", "tmpfs", …
    QString fsType;
    quint32 major = 0;   // device of the mounted file system; both 0 when the line has none
    quint32 minor = 0;
    bool hasDevice = false;
};

//! The descriptor block built from a disk's attributes, laid out as a standard storage
//! device descriptor, all numbers little-endian:
//!   0 version (40, the header size), 4 total size, 8 device type, 9 type modifier (0),
//!   10 removable media, 11 command queueing (0), 12 vendor offset, 16 product offset,
//!   20 revision offset, 24 serial offset, 28 bus type (7 for USB, else 0),
//!   32 raw properties length (0), 36 four zero bytes,
//!   40 the present strings in that order, each followed by a zero byte.
//! An absent string has offset 0 and no bytes. The block is cut at 256 bytes.
QByteArray buildStorageDescriptor(const DiskAttributes& attributes);

//! Reads a mount table: the lines of "/proc/self/mountinfo", or of "/proc/mounts" (source,
//! mount point, type, …). Lines that do not parse are skipped.
QList<MountEntry> parseMountTable(QByteArrayView text);

//! Reads the disks below strBlockDir (laid out like "/sys/block") and matches every mount
//! entry to the disk that carries it: by device number (the disk itself or one of its
//! partitions, or a mapped device built on them), else by the "/dev/NAME" source. Only disk
//! devices count: entries without a device behind them (loop, ram, zram, dm …) and SCSI
//! devices of another type than a disk (CD drives, scanners …) are no disks, though volumes
//! on mapped devices are traced to the disks beneath.
DriveTable readSysfsDriveTable(const QString& strBlockDir, QByteArrayView mountTable);

//! The drive table of this machine.
class LinuxDrivePlatform : public DrivePlatform
{
public:
    explicit LinuxDrivePlatform(QString strBlockDir = QStringLiteral("/sys/block"),
                                QString strMountInfo = QStringLiteral("/proc/self/mountinfo"));
    DriveTable read() const override;

private:
    QString m_strBlockDir;
    QString m_strMountInfo;
};

} // namespace Vantar
