#pragma once
// Recognising the instrument's own drive, so that nothing is ever saved onto it. The platform
// tells which disks are present and which disk carries each mounted volume; the rule that picks
// the instrument out of them is the same on every platform.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace Vantar {

//! Size of the storage descriptor window that is searched for the model string.
inline constexpr int kDescriptorWindow = 256;

//! One present disk device.
struct PlatformDisk
{
    QString name;          // the platform's name of the disk ("sdb"), for read-outs only
    QByteArray descriptor; // raw storage descriptor: header, then vendor, product, revision, serial
};

//! One mounted volume.
struct PlatformVolume
{
    QString root;   // where the volume is reached ("/media/user/M7730"); '/' separators
    int disk = -1;  // index into DriveTable::disks of the disk carrying it; -1 when unknown
};

//! What the platform reports at one moment; both lists come from the same reading, so the
//! volumes' disk indices always refer to this disk list.
struct DriveTable
{
    QList<PlatformDisk> disks;     // in the platform's order
    QList<PlatformVolume> volumes; // in the platform's order (on Linux, the order of mounting)
};

//! Source of the drive table. Every call reads afresh: an instrument plugged in or out
//! between two saves is seen at the next one. Failures only shrink the table.
class DrivePlatform
{
public:
    virtual ~DrivePlatform();
    virtual DriveTable read() const = 0;
};

//! The platform this program runs on (Linux: sysfs and the mount table; elsewhere an empty
//! table, so that no drive counts as the instrument's).
std::unique_ptr<DrivePlatform> createSystemDrivePlatform();

//! The descriptor's first 256 bytes, zero bytes replaced by '_', read as one Latin-1 text.
QString descriptorText(QByteArrayView descriptor);

//! True when descriptorText contains the instrument model "M7730", case ignored.
bool descriptorNamesInstrument(QByteArrayView descriptor);

//! Index of the first disk whose descriptor names the instrument; false when none does.
bool findInstrumentDisk(const QList<PlatformDisk>& disks, int& iIndex);

//! The disk index of the volume reached at strRoot, or -1 when no volume is mounted there
//! or its disk is not known.
int diskNumberOfVolume(const DriveTable& table, const QString& strRoot);

//! Where the instrument's volume is mounted: the volumes are walked from the last to the
//! first and the first one on the instrument's disk wins. Empty when there is no instrument,
//! or when nothing on it is mounted.
QString findInstrumentDrive(const DrivePlatform& platform);
QString findInstrumentDrive(const DriveTable& table);

//! Every place where a volume of an instrument's disk is reached, in the same walk, the first
//! instrument's first (so the first entry is findInstrumentDrive's result). A volume can be
//! mounted at several places, a disk can carry several volumes, and two instruments can be
//! connected: saving is refused on each of them.
QStringList findInstrumentVolumes(const DriveTable& table);

//! False when strFolder, taken as the real folder it names (symbolic links and "." / ".."
//! resolved, also for the part that does not exist yet), is one of the instrument's mount
//! points or lies beneath one; letters compared without regard to case. True otherwise,
//! also when no instrument is connected.
bool isOutsideInstrument(const QString& strFolder, const DrivePlatform& platform);
bool isOutsideInstrument(const QString& strFolder, const DriveTable& table);

} // namespace Vantar
