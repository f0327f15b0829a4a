// Finding the instrument's drive on a made-up sysfs tree, and refusing folders on it however reached.

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
    QByteArray dev;    // "8:16"
    QByteArray vendor; // null: no attribute file
    QByteArray model;
    QByteArray type = "0";
    QList<QPair<QByteArray, QByteArray>> partitions; // name, dev
};

// Lays a disk out as sysfs does: the block entry is a link into the device tree. With a serial,
// the disk sits below a USB device holding it.
void addDisk(const QString& strTree, const FakeDisk& disk, const QByteArray& usbSerial = {})
{
    const QString name = QString::fromLatin1(disk.name);
    const QString usb = strTree + QLatin1String("/devices/pci0/usb-") + name;
    const QString real = (usbSerial.isNull() ? strTree + QLatin1String("/devices/pci0") : usb + "/1.0")
                         + QLatin1String("/host0/target0/0:0:0:") + name;
    const QString deviceDir = real + QLatin1String("/device-") + name;
    const QString blockDir = real + QLatin1String("/block/") + name;
    writeText(blockDir + QLatin1String("/dev"), disk.dev + '\n');
    if (!disk.vendor.isNull()) {
        writeText(deviceDir + QLatin1String("/vendor"), disk.vendor + '\n');
        writeText(deviceDir + QLatin1String("/model"), disk.model + '\n');
        writeText(deviceDir + QLatin1String("/rev"), "1.00\n");
    }
    writeText(deviceDir + QLatin1String("/type"), disk.type + '\n');
    QFile::link(deviceDir, blockDir + QLatin1String("/device"));
    if (!usbSerial.isNull()) {
        writeText(usb + QLatin1String("/idVendor"), "1234\n");
        writeText(usb + QLatin1String("/serial"), usbSerial + '\n');
    }
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
                const QByteArray& slave = {})
{
    const QString real = strTree + QLatin1String("/devices/virtual/block/") + QString::fromLatin1(name);
    QDir().mkpath(real + QLatin1String("/slaves/") + QString::fromLatin1(slave));
    writeText(real + QLatin1String("/dev"), dev + '\n');
    QFile::link(real, strTree + QLatin1String("/block/") + QString::fromLatin1(name));
}

QByteArray mountLine(int id, const QByteArray& dev, const QByteArray& point, const QByteArray& source,
                     const QByteArray& type = "vfat")
{
    return QByteArray::number(id) + " 1 " + dev + " / " + point + " rw,relatime shared:1 - " + type + ' '
           + source + " rw\n";
}

// What the search sees of a descriptor: the header, then the zero-ended texts.
const QByteArray kInstrument = QByteArray(40, '\0') + QByteArray("NORVIK\0M7730\0", 13);

// The instrument's disk (number 0) and one volume.
DriveTable instrumentAt(const QString& root, int disk = 0)
{
    DriveTable table;
    table.disks = {{QStringLiteral("d"), kInstrument}};
    table.volumes = {{root, disk}};
    return table;
}

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void descriptorLayout();
    void modelSearch_data();
    void modelSearch();
    void mountTableParsing();
    void volumesOfTheTree_data();
    void volumesOfTheTree();
    void disksOfTheTree();
    void refusalThroughLinksAndPaths();

private:
    QTemporaryDir m_tree;
    QByteArray m_mounts;
};

void TestPlatform::initTestCase()
{
    // System, data and instrument disks, a CD drive naming it, loop, zram, a disk whose device has
    // gone, nonsense attributes, a dangling entry, mapped volumes, a USB stick naming it by serial.
    const QString tree = m_tree.path();
    addDisk(tree, {"sda", "8:0", "ATA     ", "Samsung SSD 870 ", "0", {{"sda1", "8:1"}, {"sda2", "8:2"}}});
    addDisk(tree, {"sdb", "8:16", "Generic ", "Flash Disk      ", "0", {{"sdb1", "8:17"}}});
    addDisk(tree, {"sdc", "8:32", "NORVIK  ", "M7730 Storage   ", "0", {{"sdc1", "8:33"}, {"sdc2", "8:34"}}});
    addDisk(tree, {"sr0", "11:0", "NORVIK  ", "M7730 CD        ", "5", {}});
    addDisk(tree, {"sdd", "8:48", "NORVIK", "M7730", "0", {{"sdd1", "8:49"}}});
    QVERIFY(QDir(QFileInfo(tree + "/block/sdd/device").symLinkTarget()).removeRecursively());
    addDisk(tree, {"sde", "garbage", QByteArray(), QByteArray(), "disk", {{"sde1", "8:x"}}});
    QDir().mkpath(QFileInfo(tree + "/block/sde/device").symLinkTarget() + "/model");
    QVERIFY(QFile::link(tree + "/devices/nowhere", tree + "/block/sdf"));
    addDisk(tree, {"sdg", "8:96", "Generic ", "Mass Storage    ", "0", {}}, "M7730-000123");
    addVirtual(tree, "loop0", "7:0");
    addVirtual(tree, "zram0", "253:0");
    addVirtual(tree, "dm-0", "254:0", "sdc2");
    addVirtual(tree, "dm-1", "254:1", "dm-0");
    addVirtual(tree, "dm-2", "254:2", "sda2");
    m_mounts = mountLine(21, "0:20", "/proc", "proc", "proc") + mountLine(26, "8:1", "/", "/dev/sda1", "ext4")
               + mountLine(40, "8:17", "/media/user/DATA", "/dev/sdb1")
               + mountLine(41, "8:33", "/media/user/M7730", "/dev/sdc1")
               + mountLine(42, "7:0", "/snap/core", "/dev/loop0", "squashfs")
               + mountLine(50, "8:49", "/media/user/GONE", "/dev/sdd1")
               + mountLine(51, "8:80", "/media/user/E", "/dev/sde1") + "52 1 broken\n"
               + mountLine(53, "254:1", "/media/crypt", "/dev/mapper/x")
               + mountLine(54, "254:2", "/home", "/dev/mapper/home")
               + mountLine(55, "0:45", "/media/btrfs", "/dev/sdc1", "btrfs") // a device number of its own
               + mountLine(56, "8:96", "/media/u/USB", "/dev/sdg")
               + mountLine(57, "8:33", "/srv/copy", "/dev/sdc1"); // the same partition bound again
}

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
    a.serial = "";
    QCOMPARE(buildStorageDescriptor(a).at(24), char(54)); // an empty serial still has its place
    // Long texts: the block stops at the search window, its size field says how much was cut.
    a.vendor = QByteArray(100, 'V');
    a.product = QByteArray(100, 'P');
    a.serial = QByteArray(100, 'S') + "M7730";
    const QByteArray d = buildStorageDescriptor(a);
    QCOMPARE(d.size(), kDescriptorWindow);
    QCOMPARE(qFromLittleEndian<quint32>(d.constData() + 4), quint32(40 + 101 + 101 + 4 + 106));
    QVERIFY(!descriptorNamesInstrument(d));
}

void TestPlatform::modelSearch_data()
{
    QTest::addColumn<QByteArray>("descriptor");
    QTest::addColumn<bool>("found");
    QTest::newRow("in product") << kInstrument << true;
    QTest::newRow("mixed case") << QByteArray("x\0Mm7730", 8) << true;
    QTest::newRow("split across fields") << QByteArray("M77\0" "30", 6) << false;
    QTest::newRow("other model") << QByteArray("NORVIK\0M7731", 12) << false;
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

void TestPlatform::mountTableParsing()
{
    const QByteArray text = "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw\n"
                            "37 35 8:33 / /media/u/M7730\\040DISK rw - vfat /dev/sdc1 rw\n"
                            "38 35 8:34 / /media/u/tab\\011x rw shared:2 master:3 - vfat /dev/sdc2 rw\n"
                            "garbage line\n"
                            "39 35 x:y / /bad rw - vfat /dev/sdc3 rw\n"
                            "/dev/sdd1 /media/u/OLD vfat rw 0 0\n"
                            "40 35 0:45 / relative rw - btrfs /dev/sde1 rw\n";
    const QList<MountEntry> e = parseMountTable(text);
    QCOMPARE(e.size(), 4);
    QCOMPARE(e[0].mountPoint, QStringLiteral("/mnt/parent"));
    QCOMPARE(e[1].mountPoint, QStringLiteral("/media/u/M7730 DISK"));
    QCOMPARE(e[2].mountPoint, QStringLiteral("/media/u/tab\tx"));
    QCOMPARE(e[2].source, QStringLiteral("/dev/sdc2"));
    QCOMPARE(e[3].mountPoint, QStringLiteral("/media/u/OLD"));
    QVERIFY(!e[3].hasDevice);
}

void TestPlatform::volumesOfTheTree_data()
{
    // Disks listed: sda 0, sdb 1, sdc 2 (the instrument), sde 3, sdg 4 (the instrument by serial).
    QTest::addColumn<QString>("volume");
    QTest::addColumn<int>("disk");
    QTest::newRow("system") << "/" << 0;
    QTest::newRow("instrument") << "/media/user/M7730" << 2;
    QTest::newRow("loop") << "/snap/core" << -1;
    QTest::newRow("device gone") << "/media/user/GONE" << -1;
    QTest::newRow("numbers unreadable: by device name") << "/media/user/E" << 3;
    QTest::newRow("encrypted under logical") << "/media/crypt" << 2;
    QTest::newRow("mapped on the system disk") << "/home" << 0;
    QTest::newRow("own device number: by source") << "/media/btrfs" << 2;
    QTest::newRow("USB stick") << "/media/u/USB" << 4;
    QTest::newRow("bound again") << "/srv/copy" << 2;
}

void TestPlatform::volumesOfTheTree()
{
    QFETCH(QString, volume);
    QFETCH(int, disk);
    const DriveTable table = FakeDrivePlatform(m_tree.path(), m_mounts).read();
    QCOMPARE(diskNumberOfVolume(table, volume), disk);
    QCOMPARE(isOutsideInstrument(volume + "/maps/new", table), disk != 2 && disk != 4);
}

void TestPlatform::disksOfTheTree()
{
    FakeDrivePlatform platform(m_tree.path(), m_mounts);
    const DriveTable table = platform.read();
    // Only disk devices that still have a device: no CD drive, loop, zram, mapped or gone ones.
    QCOMPARE(table.disks.size(), 5);
    const QString instrument = descriptorText(table.disks.at(2).descriptor);
    QVERIFY(instrument.contains(QLatin1String("NORVIK  _M7730 Storage   _1.00_")));
    QCOMPARE(descriptorText(table.disks.at(3).descriptor).size(), 40);
    const QByteArray usb = table.disks.at(4).descriptor;
    QCOMPARE(usb.at(28), char(7));
    QVERIFY(descriptorText(usb).endsWith(QLatin1String("Generic _Mass Storage    _1.00_M7730-000123_")));
    // The first instrument's volume mounted last.
    QCOMPARE(findInstrumentDrive(platform), QStringLiteral("/srv/copy"));
    // Unplugged: the next reading no longer finds it; nothing at all: nothing found.
    platform.setMountTable(mountLine(26, "8:1", "/", "/dev/sda1", "ext4"));
    QCOMPARE(findInstrumentDrive(platform), QString());
    QCOMPARE(findInstrumentDrive(instrumentAt("/media/X", 5)), QString()); // no such disk
    FakeDrivePlatform nothing(m_tree.path() + "/missing", QByteArray());
    QVERIFY(nothing.read().disks.isEmpty());
    QCOMPARE(findInstrumentDrive(nothing), QString());
}

void TestPlatform::refusalThroughLinksAndPaths()
{
    QTemporaryDir tmp;
    const QString base = QFileInfo(tmp.path()).canonicalFilePath();
    const QString mount = base + "/run/media/M7730";
    QDir().mkpath(mount + "/maps");
    QDir().mkpath(base + "/home");
    QVERIFY(QFile::link(base + "/run/media", base + "/media"));
    QVERIFY(QFile::link(mount + "/maps", base + "/home/shortcut"));
    QVERIFY(QFile::link(mount + "/not-yet", base + "/home/later"));
    // The platform names the mount point through a link, or as it is; the user may type either.
    for (const DriveTable& t : {instrumentAt(base + "/media/M7730"), instrumentAt(mount)}) {
        QVERIFY(!isOutsideInstrument(mount + "/maps", t));
        QVERIFY(!isOutsideInstrument(base + "/home/shortcut/sub/new", t));
        QVERIFY(!isOutsideInstrument(base + "/home/later/x", t));
        QVERIFY(isOutsideInstrument(base + "/media/M77301", t));
        QVERIFY(isOutsideInstrument(base + "/media/M7730/../saved", t));
        QVERIFY(isOutsideInstrument(base + "/home/shortcut/../../../../home/x", t));
    }
    QVERIFY(!isOutsideInstrument("/MEDIA/User/m7730/x", instrumentAt("/media/user/M7730")));
    const QString cwd = QDir::currentPath();
    QCOMPARE(realPath(cwd + "//a/./b/../c///"), cwd + "/a/c");
    QCOMPARE(realPath("/../.."), QStringLiteral("/"));
    QCOMPARE(realPath(QString()), QString());
    QVERIFY(isSameOrInside("/x", "/"));
    QVERIFY(!isSameOrInside("/A/B/c", "/a/b"));
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
