// Finding the instrument's drive: the descriptor block and its search, the sysfs and mount
// table reader on made-up trees, the walk over volumes, and the refusal of folders on the
// instrument however they are reached.

#include "app/platform/drivediscovery.h"
#include "app/platform/fakedriveplatform.h"
#include "app/platform/realpath.h"
#include "app/platform/sysfsdriveplatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Vantar;

namespace {

void writeText(const QString& strPath, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(strPath).path());
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(strPath));
}

struct FakeDisk
{
    QByteArray name;
    QByteArray dev;         // "8:16"; empty: no dev file
    QByteArray vendor;      // null: no attribute file
    QByteArray model;
    QByteArray rev;
    QByteArray type = "0";  // null: no type file
    QList<QPair<QByteArray, QByteArray>> partitions; // name, dev
};

// Lays a disk out as sysfs does: the block entry is a link into the device tree.
void addDisk(const QString& strTree, const FakeDisk& disk)
{
    const QString name = QString::fromLatin1(disk.name);
    const QString real = strTree + QLatin1String("/devices/pci0/host0/target0/0:0:0:") + name;
    const QString deviceDir = real + QLatin1String("/device-") + name;
    const QString blockDir = real + QLatin1String("/block/") + name;
    QDir().mkpath(blockDir);
    QDir().mkpath(deviceDir);
    QFile::link(deviceDir, blockDir + QLatin1String("/device"));
    if (!disk.dev.isEmpty())
        writeText(blockDir + QLatin1String("/dev"), disk.dev + '\n');
    if (!disk.vendor.isNull())
        writeText(deviceDir + QLatin1String("/vendor"), disk.vendor + '\n');
    if (!disk.model.isNull())
        writeText(deviceDir + QLatin1String("/model"), disk.model + '\n');
    if (!disk.rev.isNull())
        writeText(deviceDir + QLatin1String("/rev"), disk.rev + '\n');
    if (!disk.type.isNull())
        writeText(deviceDir + QLatin1String("/type"), disk.type + '\n');
    writeText(blockDir + QLatin1String("/removable"), "1\n");
    for (const auto& part : disk.partitions) {
        const QString partDir = blockDir + u'/' + QString::fromLatin1(part.first);
        writeText(partDir + QLatin1String("/partition"), "1\n");
        writeText(partDir + QLatin1String("/dev"), part.second + '\n');
    }
    QDir().mkpath(strTree + QLatin1String("/block"));
    QFile::link(blockDir, strTree + QLatin1String("/block/") + name);
}

// A block device made by the kernel alone (loop, zram, mapped devices): no device behind it.
void addVirtual(const QString& strTree, const QByteArray& name, const QByteArray& dev,
                const QList<QByteArray>& slaves = {})
{
    const QString real = strTree + QLatin1String("/devices/virtual/block/") + QString::fromLatin1(name);
    QDir().mkpath(real + QLatin1String("/slaves"));
    writeText(real + QLatin1String("/dev"), dev + '\n');
    for (const QByteArray& slave : slaves)
        QDir().mkpath(real + QLatin1String("/slaves/") + QString::fromLatin1(slave));
    QDir().mkpath(strTree + QLatin1String("/block"));
    QFile::link(real, strTree + QLatin1String("/block/") + QString::fromLatin1(name));
}

QByteArray mountLine(int id, const QByteArray& dev, const QByteArray& point, const QByteArray& source,
                     const QByteArray& type = "vfat")
{
    return QByteArray::number(id) + " 1 " + dev + " / " + point + " rw,relatime shared:1 - " + type + ' '
           + source + " rw\n";
}

// A system disk, a data disk and the instrument, with a CD drive, loop and zram around them.
void addUsualDisks(const QString& strTree)
{
    addDisk(strTree, {"sda", "8:0", "ATA     ", "Samsung SSD 870 ", "1B6Q", "0", {{"sda1", "8:1"}, {"sda2", "8:2"}}});
    addDisk(strTree, {"sdb", "8:16", "Generic ", "Flash Disk      ", "8.07", "0", {{"sdb1", "8:17"}}});
    addDisk(strTree, {"sdc", "8:32", "NORVIK  ", "M7730 Storage   ", "1.00", "0",
                      {{"sdc1", "8:33"}, {"sdc2", "8:34"}}});
    // A CD drive whose model names the instrument is not the instrument's disk.
    addDisk(strTree, {"sr0", "11:0", "NORVIK  ", "M7730 CD        ", "1.00", "5", {}});
    addVirtual(strTree, "loop0", "7:0");
    addVirtual(strTree, "zram0", "253:0");
}

QByteArray usualMounts()
{
    return mountLine(21, "0:20", "/proc", "proc", "proc") + mountLine(26, "8:1", "/", "/dev/sda1", "ext4")
           + mountLine(40, "8:17", "/media/user/DATA", "/dev/sdb1") + mountLine(41, "8:33", "/media/user/M7730", "/dev/sdc1")
           + mountLine(42, "7:0", "/snap/core", "/dev/loop0", "squashfs");
}

QStringList diskNames(const DriveTable& table)
{
    QStringList names;
    for (const PlatformDisk& disk : table.disks)
        names << disk.name;
    return names;
}

DriveTable tableOf(const QList<QByteArray>& descriptors, const QList<QPair<QString, int>>& volumes)
{
    DriveTable table;
    for (const QByteArray& d : descriptors)
        table.disks.append({QStringLiteral("d"), d});
    for (const auto& v : volumes)
        table.volumes.append({v.first, v.second});
    return table;
}

QByteArray descriptorWith(const QByteArray& vendor, const QByteArray& product)
{
    DiskAttributes a;
    a.vendor = vendor;
    a.product = product;
    a.revision = "1.0";
    return buildStorageDescriptor(a);
}

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void descriptorLayout();
    void descriptorCutAt256();
    void modelSearch_data();
    void modelSearch();
    void volumeWalk();
    void mountTableParsing();
    void instrumentAmongSeveralDisks();
    void severalVolumesLastWins();
    void noInstrumentOrNothingMounted();
    void unreadableEntries();
    void mappedAndRenumberedVolumes();
    void usbSerialAboveDisk();
    void realPathResolution();
    void refusalInsideMountPoint();
    void refusalThroughLinks();
    void systemTableIsConsistent();
};

void TestPlatform::descriptorLayout()
{
    DiskAttributes a;
    a.vendor = "NRV";
    a.product = "M7730";
    a.revision = "1.0";
    a.removable = true;
    a.usb = true;
    // Serial absent: offset 0 and no bytes.
    QByteArray expected;
    const char header[40] = {
        40, 0, 0, 0,   54, 0, 0, 0,   // version, total size (40 + 4 + 6 + 4)
        0, 0, 1, 0,                   // type, modifier, removable, queueing
        40, 0, 0, 0,   44, 0, 0, 0,   // vendor, product offsets
        50, 0, 0, 0,   0, 0, 0, 0,    // revision, serial offsets
        7, 0, 0, 0,    0, 0, 0, 0,    // bus type USB, raw length
        0, 0, 0, 0};
    expected.append(header, 40);
    expected.append("NRV\0M7730\0" "1.0\0", 14);
    QCOMPARE(buildStorageDescriptor(a), expected);
    QCOMPARE(descriptorText(expected).mid(40), QStringLiteral("NRV_M7730_1.0_"));

    a.serial = "";
    a.usb = false;
    const QByteArray withSerial = buildStorageDescriptor(a);
    QCOMPARE(withSerial.size(), 55);
    QCOMPARE(withSerial.at(24), char(54)); // an empty serial still has its place
    QCOMPARE(withSerial.at(28), char(0));
}

void TestPlatform::descriptorCutAt256()
{
    DiskAttributes a;
    a.vendor = QByteArray(100, 'V');
    a.product = QByteArray(100, 'P');
    a.serial = QByteArray(100, 'S') + "M7730";
    const QByteArray d = buildStorageDescriptor(a);
    QCOMPARE(d.size(), kDescriptorWindow);
    QCOMPARE(qFromLittleEndian<quint32>(d.constData() + 4), quint32(40 + 308));
    QVERIFY(!descriptorNamesInstrument(d));
}

void TestPlatform::modelSearch_data()
{
    QTest::addColumn<QByteArray>("descriptor");
    QTest::addColumn<bool>("found");
    QTest::newRow("in product") << descriptorWith("NORVIK", "M7730") << true;
    QTest::newRow("lower case") << descriptorWith("norvik", "m7730 disk") << true;
    QTest::newRow("mixed case") << descriptorWith("x", "Mm7730") << true;
    QTest::newRow("split across fields") << descriptorWith("M77", "30") << false;
    QTest::newRow("split by zero inside") << QByteArray("M77\0" "30", 6) << false;
    QTest::newRow("other model") << descriptorWith("NORVIK", "M7731") << false;
    QTest::newRow("ends at byte 256") << QByteArray(251, 'x') + "M7730" << true;
    QTest::newRow("past byte 256") << QByteArray(252, 'x') + "M7730" << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestPlatform::modelSearch()
{
    QFETCH(QByteArray, descriptor);
    QFETCH(bool, found);
    QCOMPARE(descriptorNamesInstrument(descriptor), found);
}

void TestPlatform::volumeWalk()
{
    const QByteArray other = descriptorWith("ATA", "Disk");
    const QByteArray inst = descriptorWith("NORVIK", "M7730");
    // The first disk that names the instrument is its disk.
    int index = -1;
    QVERIFY(findInstrumentDisk(tableOf({other, inst, inst}, {}).disks, index));
    QCOMPARE(index, 1);
    QVERIFY(!findInstrumentDisk(tableOf({other}, {}).disks, index));

    // Two volumes on the instrument: the later one wins; an unknown disk is skipped.
    DriveTable t = tableOf({other, inst}, {{"/", 0}, {"/media/E", 1}, {"/media/F", 1}, {"/media/G", -1}});
    QCOMPARE(findInstrumentDrive(t), QStringLiteral("/media/F"));
    QCOMPARE(findInstrumentVolumes(t), (QStringList{"/media/F", "/media/E"}));
    QCOMPARE(diskNumberOfVolume(t, "/media/E/"), 1);
    QCOMPARE(diskNumberOfVolume(t, "/media/G"), -1);
    QCOMPARE(diskNumberOfVolume(t, "/media/none"), -1);

    // A second instrument: findInstrumentDrive keeps to the first, refusal covers both.
    t = tableOf({inst, other, inst}, {{"/media/A", 2}, {"/media/B", 0}, {"/", 1}});
    QCOMPARE(findInstrumentDrive(t), QStringLiteral("/media/B"));
    QCOMPARE(findInstrumentVolumes(t), (QStringList{"/media/B", "/media/A"}));
    QVERIFY(!isOutsideInstrument("/media/A/x", t));
    QVERIFY(isOutsideInstrument("/home/x", t));

    // A disk index beyond the list never counts.
    t = tableOf({inst}, {{"/media/X", 5}});
    QCOMPARE(findInstrumentDrive(t), QString());
}

void TestPlatform::mountTableParsing()
{
    const QByteArray text = "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw\n"
                            "37 35 8:33 / /media/u/M7730\\040DISK rw - vfat /dev/sdc1 rw\n"
                            "38 35 8:34 / /media/u/tab\\011x rw shared:2 master:3 - vfat /dev/sdc2 rw\n"
                            "garbage line\n"
                            "39 35 x:y / /bad rw - vfat /dev/sdc3 rw\n"
                            "\n"
                            "/dev/sdd1 /media/u/OLD vfat rw 0 0\n"
                            "40 35 0:45 / relative rw - btrfs /dev/sde1 rw\n";
    const QList<MountEntry> e = parseMountTable(text);
    QCOMPARE(e.size(), 4);
    QCOMPARE(e[0].mountPoint, QStringLiteral("/mnt/parent"));
    QCOMPARE(e[0].major, 98u);
    QCOMPARE(e[0].source, QStringLiteral("/dev/root"));
    QCOMPARE(e[1].mountPoint, QStringLiteral("/media/u/M7730 DISK"));
    QCOMPARE(e[1].minor, 33u);
    QCOMPARE(e[1].fsType, QStringLiteral("vfat"));
    QCOMPARE(e[2].mountPoint, QStringLiteral("/media/u/tab\tx"));
    QCOMPARE(e[2].source, QStringLiteral("/dev/sdc2"));
    QCOMPARE(e[3].mountPoint, QStringLiteral("/media/u/OLD"));
    QCOMPARE(e[3].source, QStringLiteral("/dev/sdd1"));
    QVERIFY(!e[3].hasDevice);
}

void TestPlatform::instrumentAmongSeveralDisks()
{
    QTemporaryDir tmp;
    addUsualDisks(tmp.path());
    FakeDrivePlatform platform(tmp.path(), usualMounts());
    const DriveTable table = platform.read();
    // Only disk devices are listed: no CD drive, loop or zram.
    QCOMPARE(diskNames(table), (QStringList{"sda", "sdb", "sdc"}));
    QCOMPARE(table.volumes.size(), 5);
    QCOMPARE(diskNumberOfVolume(table, "/"), 0);
    QCOMPARE(diskNumberOfVolume(table, "/media/user/DATA"), 1);
    QCOMPARE(diskNumberOfVolume(table, "/proc"), -1);
    QCOMPARE(diskNumberOfVolume(table, "/snap/core"), -1);
    QCOMPARE(findInstrumentDrive(platform), QStringLiteral("/media/user/M7730"));
    QVERIFY(descriptorText(table.disks.at(2).descriptor).contains(QLatin1String("NORVIK  _M7730 Storage   _1.00_")));

    // Unplugged: the next reading no longer finds it.
    platform.setMountTable(mountLine(26, "8:1", "/", "/dev/sda1", "ext4"));
    QCOMPARE(findInstrumentDrive(platform), QString());
}

void TestPlatform::severalVolumesLastWins()
{
    QTemporaryDir tmp;
    addUsualDisks(tmp.path());
    const QByteArray two = usualMounts() + mountLine(43, "8:34", "/media/user/M7730-2", "/dev/sdc2")
                           + mountLine(44, "8:17", "/media/user/LATER", "/dev/sdb1");
    FakeDrivePlatform platform(tmp.path(), two);
    QCOMPARE(findInstrumentDrive(platform), QStringLiteral("/media/user/M7730-2"));
    QCOMPARE(findInstrumentVolumes(platform.read()),
             (QStringList{"/media/user/M7730-2", "/media/user/M7730"}));

    // The same partition bound at a second place: the later place wins, both are refused.
    platform.setMountTable(usualMounts() + mountLine(45, "8:33", "/srv/copy", "/dev/sdc1"));
    QCOMPARE(findInstrumentDrive(platform), QStringLiteral("/srv/copy"));
    QVERIFY(!isOutsideInstrument("/media/user/M7730/maps", platform));
    QVERIFY(!isOutsideInstrument("/srv/copy/maps", platform));
}

void TestPlatform::noInstrumentOrNothingMounted()
{
    QTemporaryDir tmp;
    addDisk(tmp.path(), {"sda", "8:0", "ATA", "Disk", "1", "0", {{"sda1", "8:1"}}});
    FakeDrivePlatform platform(tmp.path(), mountLine(1, "8:1", "/", "/dev/sda1"));
    QCOMPARE(findInstrumentDrive(platform), QString());
    QVERIFY(isOutsideInstrument("/anything", platform));

    // The instrument is there but none of its volumes is mounted.
    addDisk(tmp.path(), {"sdb", "8:16", "NORVIK", "M7730", "1", "0", {{"sdb1", "8:17"}}});
    QCOMPARE(diskNames(platform.read()), (QStringList{"sda", "sdb"}));
    QCOMPARE(findInstrumentDrive(platform), QString());

    // No sysfs at all, no mount table at all.
    FakeDrivePlatform nothing(tmp.path() + "/missing", QByteArray());
    QVERIFY(nothing.read().disks.isEmpty());
    QCOMPARE(findInstrumentDrive(nothing), QString());
}

void TestPlatform::unreadableEntries()
{
    QTemporaryDir tmp;
    const QString tree = tmp.path();
    addUsualDisks(tree);
    // A disk whose device has gone (dangling link), one whose attributes are folders and
    // whose dev file is nonsense, and a block entry that is a dangling link itself.
    addDisk(tree, {"sdd", "8:48", "NORVIK", "M7730", "1", "0", {{"sdd1", "8:49"}}});
    const QString sddDevice = QFileInfo(tree + "/block/sdd/device").symLinkTarget();
    QVERIFY(QDir(sddDevice).removeRecursively());
    addDisk(tree, {"sde", "garbage", QByteArray(), QByteArray(), QByteArray(), "disk", {{"sde1", "8:x"}}});
    const QString sdeDevice = QFileInfo(tree + "/block/sde/device").symLinkTarget();
    QDir().mkpath(sdeDevice + "/model");
    QVERIFY(QFile::link(tree + "/devices/nowhere", tree + "/block/sdf"));

    const QByteArray mounts = usualMounts() + mountLine(50, "8:49", "/media/user/GONE", "/dev/sdd1")
                              + mountLine(51, "8:80", "/media/user/E", "/dev/sde1") + "51 1 broken\n";
    FakeDrivePlatform platform(tree, mounts);
    const DriveTable table = platform.read();
    // sdd lost its device, sdf is nothing: neither counts; sde is listed with what it has.
    QCOMPARE(diskNames(table), (QStringList{"sda", "sdb", "sdc", "sde"}));
    QCOMPARE(descriptorText(table.disks.at(3).descriptor).size(), 40);
    // sde's numbers cannot be read, but its volume is still known by its device name.
    QCOMPARE(diskNumberOfVolume(table, "/media/user/E"), 3);
    QCOMPARE(diskNumberOfVolume(table, "/media/user/GONE"), -1);
    QCOMPARE(findInstrumentDrive(table), QStringLiteral("/media/user/M7730"));
}

void TestPlatform::mappedAndRenumberedVolumes()
{
    QTemporaryDir tmp;
    const QString tree = tmp.path();
    addUsualDisks(tree);
    // An encrypted volume on the instrument's second partition, and a logical volume on top.
    addVirtual(tree, "dm-0", "254:0", {"sdc2"});
    addVirtual(tree, "dm-1", "254:1", {"dm-0"});
    addVirtual(tree, "dm-2", "254:2", {"sda2"});
    const QByteArray mounts = mountLine(1, "8:1", "/", "/dev/sda1") + mountLine(2, "254:1", "/media/crypt", "/dev/mapper/x")
                              + mountLine(3, "254:2", "/home", "/dev/mapper/home")
                              // A file system with a device number of its own.
                              + mountLine(4, "0:45", "/media/btrfs", "/dev/sdc1", "btrfs");
    FakeDrivePlatform platform(tree, mounts);
    const DriveTable table = platform.read();
    QCOMPARE(diskNumberOfVolume(table, "/home"), 0);
    QCOMPARE(diskNumberOfVolume(table, "/media/crypt"), 2);
    QCOMPARE(diskNumberOfVolume(table, "/media/btrfs"), 2);
    QCOMPARE(findInstrumentVolumes(table), (QStringList{"/media/btrfs", "/media/crypt"}));
}

void TestPlatform::usbSerialAboveDisk()
{
    QTemporaryDir tmp;
    const QString tree = tmp.path();
    // The USB device holds idVendor and serial; the SCSI disk below names a plain product.
    const QString usb = tree + "/devices/pci0/usb1/1-1";
    const QString disk = usb + "/1-1:1.0/host6/target6:0:0/6:0:0:0";
    QDir().mkpath(disk + "/block/sdg");
    writeText(usb + "/idVendor", "1234\n");
    writeText(usb + "/serial", "M7730-000123\n");
    writeText(disk + "/vendor", "Generic \n");
    writeText(disk + "/model", "Mass Storage    \n");
    writeText(disk + "/type", "0\n");
    writeText(disk + "/block/sdg/dev", "8:96\n");
    QFile::link(disk, disk + "/block/sdg/device");
    QDir().mkpath(tree + "/block");
    QFile::link(disk + "/block/sdg", tree + "/block/sdg");

    FakeDrivePlatform platform(tree, mountLine(1, "8:96", "/media/u/USB", "/dev/sdg"));
    const DriveTable table = platform.read();
    QCOMPARE(table.disks.size(), 1);
    const QByteArray d = table.disks.first().descriptor;
    QCOMPARE(d.at(28), char(7));
    QVERIFY(descriptorText(d).endsWith(QLatin1String("Generic _Mass Storage    _M7730-000123_")));
    QCOMPARE(findInstrumentDrive(platform), QStringLiteral("/media/u/USB"));
}

void TestPlatform::realPathResolution()
{
    QTemporaryDir tmp;
    const QString base = QFileInfo(tmp.path()).canonicalFilePath();
    QDir().mkpath(base + "/b/c");
    QDir().mkpath(base + "/a");
    QVERIFY(QFile::link(base + "/b/c", base + "/a/link"));
    QVERIFY(QFile::link(base + "/nowhere/deep", base + "/a/dangling"));

    QCOMPARE(realPath(base + "/a/link"), base + "/b/c");
    // ".." after a link goes to the parent of where the link leads, as the system does.
    QCOMPARE(realPath(base + "/a/link/.."), base + "/b");
    QCOMPARE(realPath(base + "/a/link/new/./x/../y/"), base + "/b/c/new/y");
    QCOMPARE(realPath(base + "//a///"), base + "/a");
    QCOMPARE(realPath(base + "/a/dangling/z"), base + "/nowhere/deep/z");
    QCOMPARE(realPath("/../.."), QStringLiteral("/"));
    QCOMPARE(realPath(QString()), QString());
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(base + "/a");
    QCOMPARE(realPath("link/q"), base + "/b/c/q");
    QDir::setCurrent(cwd);

    QVERIFY(isSameOrInside("/a/b", "/a/b"));
    QVERIFY(isSameOrInside("/a/b/c", "/a/b"));
    QVERIFY(!isSameOrInside("/a/bc", "/a/b"));
    QVERIFY(!isSameOrInside("/a", "/a/b"));
    QVERIFY(isSameOrInside("/x", "/"));
    QVERIFY(isSameOrInside("/A/B/c", "/a/b", Qt::CaseInsensitive));
    QVERIFY(!isSameOrInside("/A/B/c", "/a/b"));
}

void TestPlatform::refusalInsideMountPoint()
{
    const DriveTable t = tableOf({descriptorWith("NORVIK", "M7730")}, {{"/media/user/M7730", 0}});
    QVERIFY(!isOutsideInstrument("/media/user/M7730", t));
    QVERIFY(!isOutsideInstrument("/media/user/M7730/", t));
    QVERIFY(!isOutsideInstrument("/media/user/M7730/maps/new/deeper", t));
    QVERIFY(!isOutsideInstrument("/MEDIA/User/m7730/maps", t));
    QVERIFY(!isOutsideInstrument("/media/user/other/../M7730/x", t));
    QVERIFY(isOutsideInstrument("/media/user/M77301", t));
    QVERIFY(isOutsideInstrument("/media/user/M7730/../saved", t));
    QVERIFY(isOutsideInstrument("/media/user", t));
    QVERIFY(isOutsideInstrument("/home/user/M7730", t));
}

void TestPlatform::refusalThroughLinks()
{
    QTemporaryDir tmp;
    const QString base = QFileInfo(tmp.path()).canonicalFilePath();
    const QString mount = base + "/run/media/M7730";
    QDir().mkpath(mount + "/maps");
    QDir().mkpath(base + "/home");
    QVERIFY(QFile::link(base + "/run/media", base + "/media"));
    QVERIFY(QFile::link(mount + "/maps", base + "/home/shortcut"));
    QVERIFY(QFile::link(mount + "/not-yet", base + "/home/later"));

    // The platform names the mount point through a link; the user types the real path.
    const DriveTable viaLink = tableOf({descriptorWith("NORVIK", "M7730")}, {{base + "/media/M7730", 0}});
    QVERIFY(!isOutsideInstrument(mount + "/maps", viaLink));
    const DriveTable direct = tableOf({descriptorWith("NORVIK", "M7730")}, {{mount, 0}});
    for (const DriveTable& t : {viaLink, direct}) {
        QVERIFY(!isOutsideInstrument(base + "/media/M7730/new", t));
        QVERIFY(!isOutsideInstrument(base + "/home/shortcut", t));
        QVERIFY(!isOutsideInstrument(base + "/home/shortcut/sub/new", t));
        QVERIFY(!isOutsideInstrument(base + "/home/later/x", t));
        QVERIFY(isOutsideInstrument(base + "/home/shortcut/../../../../home/x", t));
        QVERIFY(isOutsideInstrument(base + "/home", t));
    }
}

void TestPlatform::systemTableIsConsistent()
{
    const std::unique_ptr<DrivePlatform> platform = createSystemDrivePlatform();
    const DriveTable table = platform->read();
    // Whatever this machine has: the reader never makes a volume point at a disk it did not list.
    for (const PlatformVolume& volume : table.volumes) {
        QVERIFY(volume.disk >= -1 && volume.disk < table.disks.size());
        QVERIFY(volume.root.startsWith(u'/'));
    }
    (void)findInstrumentDrive(*platform);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
