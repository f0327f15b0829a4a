#include "app/platform/sysfsdriveplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QtEndian>

#include <algorithm>

namespace Vantar {

namespace {

constexpr int kDescriptorHeaderSize = 40;
constexpr quint32 kBusTypeUsb = 7;
// Attribute files are short; anything longer is not an attribute.
constexpr qint64 kAttributeLimit = 4096;
// Mapped devices stacked deeper than this are not traced.
constexpr int kMaxStacking = 8;
// Levels walked up from a disk's device to find the USB device that carries its serial.
constexpr int kMaxUsbLevels = 10;

// SCSI peripheral types that are disks: direct access, optical memory, reduced block commands.
bool isDiskType(int iType)
{
    return iType == 0 || iType == 7 || iType == 14;
}

// Contents of an attribute file without its line end; a null array when it cannot be read.
QByteArray readAttribute(const QString& strPath)
{
    QFile file(strPath);
    if (!QFileInfo(strPath).isFile() || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray bytes = file.read(kAttributeLimit);
    if (bytes.isNull())
        bytes = QByteArray("");
    while (!bytes.isEmpty() && (bytes.endsWith('\n') || bytes.endsWith('\0')))
        bytes.chop(1);
    return bytes;
}

QByteArray firstAttribute(const QString& strDir, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        QByteArray value = readAttribute(strDir + u'/' + QLatin1String(name));
        if (!value.isNull())
            return value;
    }
    return QByteArray();
}

quint64 deviceKey(quint32 iMajor, quint32 iMinor)
{
    return (quint64(iMajor) << 32) | iMinor;
}

// "8:17" into its numbers.
bool parseDeviceNumber(QByteArrayView text, quint32& iMajor, quint32& iMinor)
{
    const qsizetype colon = text.indexOf(':');
    if (colon <= 0 || colon == text.size() - 1)
        return false;
    bool bMajor = false;
    bool bMinor = false;
    iMajor = text.first(colon).toUInt(&bMajor);
    iMinor = text.sliced(colon + 1).trimmed().toUInt(&bMinor);
    return bMajor && bMinor;
}

bool readDeviceNumber(const QString& strDir, quint64& key)
{
    const QByteArray text = readAttribute(strDir + QLatin1String("/dev"));
    quint32 iMajor = 0;
    quint32 iMinor = 0;
    if (text.isNull() || !parseDeviceNumber(text.trimmed(), iMajor, iMinor))
        return false;
    key = deviceKey(iMajor, iMinor);
    return true;
}

// The mount table writes blanks, tabs, line ends and backslashes as octal escapes.
QString unescapeMountField(QByteArrayView field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArrayView digits = field.sliced(i + 1, 3);
            const bool bOk = std::all_of(digits.begin(), digits.end(), [](char d) { return d >= '0' && d <= '7'; });
            if (bOk) {
                const int value = (digits.at(0) - '0') * 64 + (digits.at(1) - '0') * 8 + (digits.at(2) - '0');
                if (value <= 0xFF) {
                    out.append(char(value));
                    i += 3;
                    continue;
                }
            }
        }
        out.append(c);
    }
    return QString::fromUtf8(out);
}

void appendLE32(QByteArray& bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

struct BlockEntry
{
    QString name;
    QString dir;
    bool bDisk = false;
    QStringList slaves;
};

bool isDiskEntry(const QString& strDir, int& iType)
{
    iType = 0;
    // Devices made by the kernel alone (loop, ram, zram, mapped devices) have no device behind.
    if (!QFileInfo(strDir + QLatin1String("/device")).isDir())
        return false;
    if (readAttribute(strDir + QLatin1String("/hidden")).trimmed() == "1")
        return false;
    const QByteArray type = readAttribute(strDir + QLatin1String("/device/type")).trimmed();
    if (!type.isEmpty()) {
        bool bNumber = false;
        const int iValue = type.toInt(&bNumber);
        // Memory cards write their kind as a word ("SD", "MMC"): they are disks.
        if (bNumber) {
            if (!isDiskType(iValue))
                return false;
            iType = iValue;
        }
    }
    return true;
}

DiskAttributes readDiskAttributes(const QString& strDir, const QString& strSysRoot, int iType)
{
    const QString device = strDir + QLatin1String("/device");
    DiskAttributes attributes;
    attributes.deviceType = iType;
    attributes.vendor = readAttribute(device + QLatin1String("/vendor"));
    attributes.product = firstAttribute(device, {"model", "name"});
    attributes.revision = firstAttribute(device, {"rev", "firmware_rev", "fwrev"});
    attributes.serial = readAttribute(strDir + QLatin1String("/serial"));
    if (attributes.serial.isNull())
        attributes.serial = readAttribute(device + QLatin1String("/serial"));
    attributes.removable = readAttribute(strDir + QLatin1String("/removable")).trimmed() == "1";

    // A USB storage device keeps its serial on the USB device a few levels above the disk.
    QString path = QFileInfo(device).canonicalFilePath();
    attributes.usb = path.contains(QLatin1String("/usb"));
    for (int level = 0; level < kMaxUsbLevels && attributes.serial.isNull(); ++level) {
        if (path.isEmpty() || !path.startsWith(strSysRoot + u'/'))
            break;
        if (QFileInfo::exists(path + QLatin1String("/idVendor")))
            attributes.serial = readAttribute(path + QLatin1String("/serial"));
        path = QFileInfo(path).path();
    }
    return attributes;
}

} // namespace

QByteArray buildStorageDescriptor(const DiskAttributes& attributes)
{
    const QByteArray* strings[] = {&attributes.vendor, &attributes.product, &attributes.revision,
                                   &attributes.serial};
    quint32 offsets[4] = {0, 0, 0, 0};
    QByteArray tail;
    for (int i = 0; i < 4; ++i) {
        if (strings[i]->isNull())
            continue;
        offsets[i] = quint32(kDescriptorHeaderSize + tail.size());
        tail.append(*strings[i]);
        tail.append('\0');
    }

    QByteArray bytes;
    bytes.reserve(kDescriptorHeaderSize + tail.size());
    appendLE32(bytes, kDescriptorHeaderSize);
    appendLE32(bytes, quint32(kDescriptorHeaderSize + tail.size()));
    bytes.append(char(quint8(attributes.deviceType)));
    bytes.append('\0');
    bytes.append(attributes.removable ? '\1' : '\0');
    bytes.append('\0');
    for (quint32 offset : offsets)
        appendLE32(bytes, offset);
    appendLE32(bytes, attributes.usb ? kBusTypeUsb : 0);
    appendLE32(bytes, 0);
    bytes.append(4, '\0');
    bytes.append(tail);
    if (bytes.size() > kDescriptorWindow)
        bytes.truncate(kDescriptorWindow);
    return bytes;
}

QList<MountEntry> parseMountTable(QByteArrayView text)
{
    QList<MountEntry> entries;
    const QList<QByteArray> lines = text.toByteArray().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3 || fields.first().isEmpty())
            continue;
        MountEntry entry;
        quint32 iMajor = 0;
        quint32 iMinor = 0;
        const qsizetype dash = fields.indexOf(QByteArray("-"), 6);
        if (fields.size() >= 9 && dash >= 6 && dash + 2 < fields.size()
            && parseDeviceNumber(fields.at(2), iMajor, iMinor)) {
            // mountinfo: id, parent, major:minor, root, mount point, options, tags…, -, type, source, …
            entry.mountPoint = unescapeMountField(fields.at(4));
            entry.fsType = unescapeMountField(fields.at(dash + 1));
            entry.source = unescapeMountField(fields.at(dash + 2));
            entry.major = iMajor;
            entry.minor = iMinor;
            entry.hasDevice = true;
        } else if (fields.size() <= 6 && fields.at(1).startsWith('/')) {
            // mounts: source, mount point, type, options, dump, pass
            entry.source = unescapeMountField(fields.at(0));
            entry.mountPoint = unescapeMountField(fields.at(1));
            entry.fsType = unescapeMountField(fields.at(2));
        } else {
            continue;
        }
        if (!entry.mountPoint.startsWith(u'/'))
            continue;
        entries.append(entry);
    }
    return entries;
}

DriveTable readSysfsDriveTable(const QString& strBlockDir, QByteArrayView mountTable)
{
    DriveTable table;
    const QDir blockDir(strBlockDir);
    const QString sysRoot = QFileInfo(QFileInfo(strBlockDir).canonicalFilePath()).path();

    // sda, sdb, …, sdz, sdaa: shorter names first, as the kernel hands them out.
    QStringList names = blockDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });

    QList<BlockEntry> entries;
    QHash<quint64, int> diskOfDevice;
    QHash<QString, int> diskOfName;
    for (const QString& name : names) {
        BlockEntry entry;
        entry.name = name;
        entry.dir = strBlockDir + u'/' + name;
        int iType = 0;
        entry.bDisk = isDiskEntry(entry.dir, iType);
        if (entry.bDisk) {
            const int index = int(table.disks.size());
            table.disks.append({name, buildStorageDescriptor(readDiskAttributes(entry.dir, sysRoot, iType))});
            diskOfName.insert(name, index);
            quint64 key = 0;
            if (readDeviceNumber(entry.dir, key))
                diskOfDevice.insert(key, index);
            // Partitions are folders of the disk that hold a "partition" attribute.
            const QStringList children = QDir(entry.dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            for (const QString& child : children) {
                const QString childDir = entry.dir + u'/' + child;
                if (!QFileInfo(childDir + QLatin1String("/partition")).isFile())
                    continue;
                diskOfName.insert(child, index);
                if (readDeviceNumber(childDir, key))
                    diskOfDevice.insert(key, index);
            }
        } else {
            entry.slaves = QDir(entry.dir + QLatin1String("/slaves"))
                               .entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
        }
        entries.append(entry);
    }

    // Mapped devices (encrypted, logical volumes, arrays) belong to the disk beneath their
    // first traceable member; stacked ones are resolved over a few rounds.
    for (int round = 0; round < kMaxStacking; ++round) {
        bool bChanged = false;
        for (const BlockEntry& entry : std::as_const(entries)) {
            if (entry.bDisk || diskOfName.contains(entry.name))
                continue;
            for (const QString& slave : entry.slaves) {
                const auto it = diskOfName.constFind(slave);
                if (it == diskOfName.constEnd())
                    continue;
                diskOfName.insert(entry.name, it.value());
                quint64 key = 0;
                if (readDeviceNumber(entry.dir, key))
                    diskOfDevice.insert(key, it.value());
                bChanged = true;
                break;
            }
        }
        if (!bChanged)
            break;
    }

    for (const MountEntry& mount : parseMountTable(mountTable)) {
        PlatformVolume volume;
        volume.root = mount.mountPoint;
        if (mount.hasDevice)
            volume.disk = diskOfDevice.value(deviceKey(mount.major, mount.minor), -1);
        // Some file systems report a device number of their own; their source still names the disk.
        if (volume.disk < 0 && mount.source.startsWith(QLatin1String("/dev/"))) {
            const QString device = mount.source.mid(5);
            volume.disk = diskOfName.value(device, -1);
        }
        table.volumes.append(volume);
    }
    return table;
}

LinuxDrivePlatform::LinuxDrivePlatform(QString strBlockDir, QString strMountInfo)
    : m_strBlockDir(std::move(strBlockDir)), m_strMountInfo(std::move(strMountInfo))
{
}

DriveTable LinuxDrivePlatform::read() const
{
    QByteArray mounts;
    QFile file(m_strMountInfo);
    if (file.open(QIODevice::ReadOnly))
        mounts = file.readAll();
    // The older table names sources and mount points only; it is still enough to match by name.
    if (mounts.isEmpty() && m_strMountInfo == QLatin1String("/proc/self/mountinfo")) {
        QFile fallback(QStringLiteral("/proc/mounts"));
        if (fallback.open(QIODevice::ReadOnly))
            mounts = fallback.readAll();
    }
    return readSysfsDriveTable(m_strBlockDir, mounts);
}

} // namespace Vantar
