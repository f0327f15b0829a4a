#include "tools/vantar-tool/commands.h"

#include "app/platform/drivediscovery.h"
#include "app/platform/sysfsdriveplatform.h"

#include <QFile>

namespace VantarTool {

void helpDrives(QTextStream& out)
{
    out << "NAME\n"
           "    vantar-tool drives - the disks and volumes, and where the instrument is mounted\n\n"
           "SYNOPSIS\n"
           "    vantar-tool drives [--sys DIR] [--mounts FILE] [--check FOLDER]...\n\n"
           "DESCRIPTION\n"
           "    Prints the disk devices with the text of their descriptor blocks, every mounted\n"
           "    volume with the index of the disk that carries it (- when none), and the mount\n"
           "    point of the instrument's volume (empty when it is not connected), as the\n"
           "    saving command sees them.\n"
           "    --sys DIR       a tree laid out like /sys (default /sys)\n"
           "    --mounts FILE   a mount table as /proc/self/mountinfo writes it (the default)\n"
           "    --check FOLDER  tells whether saving into FOLDER would be allowed\n\n"
           "EXIT STATUS\n"
           "    0 printed; 1 the mount table cannot be read; 2 bad usage.\n";
}

int runDrives(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString sys = QStringLiteral("/sys");
    QString mounts = QStringLiteral("/proc/self/mountinfo");
    QStringList checks;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--sys") && i + 1 < args.size()) {
            sys = args[++i];
        } else if (a == QLatin1String("--mounts") && i + 1 < args.size()) {
            mounts = args[++i];
        } else if (a == QLatin1String("--check") && i + 1 < args.size()) {
            checks << args[++i];
        } else {
            err << "vantar-tool drives: bad argument \"" << a << "\"\n\n";
            helpDrives(err);
            return 2;
        }
    }
    if (!QFile::exists(mounts)) {
        err << "vantar-tool drives: no mount table \"" << mounts << "\"\n";
        return 1;
    }

    const Vantar::LinuxDrivePlatform platform(sys + QLatin1String("/block"), mounts);
    const Vantar::DriveTable table = platform.read();
    out << "disks: " << table.disks.size() << '\n';
    for (int i = 0; i < table.disks.size(); ++i) {
        const Vantar::PlatformDisk& disk = table.disks.at(i);
        // The header's numbers are no text; the strings follow it.
        out << "  [" << i << "] " << disk.name << "  " << disk.descriptor.size() << " bytes  \""
            << Vantar::descriptorText(disk.descriptor).mid(40) << "\""
            << (Vantar::descriptorNamesInstrument(disk.descriptor) ? "  instrument" : "") << '\n';
    }
    out << "volumes: " << table.volumes.size() << '\n';
    for (const Vantar::PlatformVolume& volume : table.volumes) {
        out << "  " << (volume.disk >= 0 ? QString::number(volume.disk) : QStringLiteral("-")).rightJustified(3) << "  "
            << volume.root << '\n';
    }
    out << "instrument: \"" << Vantar::findInstrumentDrive(table) << "\"\n";
    const QStringList all = Vantar::findInstrumentVolumes(table);
    if (all.size() > 1)
        out << "all instrument volumes: " << all.join(QLatin1String(", ")) << '\n';
    for (const QString& folder : checks)
        out << "save into \"" << folder << "\": "
            << (Vantar::isOutsideInstrument(folder, table) ? "allowed" : "refused (on the instrument)") << '\n';
    return 0;
}

} // namespace VantarTool
