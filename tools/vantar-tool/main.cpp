#include "tools/vantar-tool/commands.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

using namespace VantarTool;

namespace {

const Command kCommands[] = {
    {"info", "print what is read from an A-scan, a settings file or a map configuration", runInfo, helpInfo},
    {"gen-ascans", "write a folder of generated A-scans", runGenAScans, helpGenAScans},
    {"gen-map", "write a generated map with point reflectors", runGenMap, helpGenMap},
    {"render", "draw a map's scans as the map view shows them, as PNG files", runRender, helpRender},
    {"export-ascan", "write an A-scan's signal with time and depth as CSV", runExportAScan, helpExportAScan},
    {"drives", "print the disks and volumes and where the instrument is mounted", runDrives, helpDrives},
    {"reconstruct", "reconstruct maps headless: volumes, scan pictures, summary", runReconstruct, helpReconstruct},
    {"indications", "find and size the indications of maps: table, JSON lines, CSV", runIndications,
     helpIndications},
};

void usage(QTextStream& out)
{
    out << "Usage: vantar-tool COMMAND [ARGS...]\n"
           "       vantar-tool COMMAND --help\n\nCommands:\n";
    for (const Command& c : kCommands)
        out << "  " << QString::fromLatin1(c.name).leftJustified(14) << c.summary << '\n';
}

} // namespace

int main(int argc, char* argv[])
{
    // Pictures are drawn with fonts and the map view's widgets; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        usage(args.isEmpty() ? err : out);
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Command& c : kCommands) {
        if (name == QLatin1String(c.name)) {
            if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
                c.help(out);
                return 0;
            }
            return c.run(args, out, err);
        }
    }
    err << "vantar-tool: unknown command \"" << name << "\"\n";
    usage(err);
    return 2;
}
