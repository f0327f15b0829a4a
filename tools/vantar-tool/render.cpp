#include "tools/vantar-tool/commands.h"

#include "mapview/cmapscans.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace VantarTool {

namespace {

constexpr int kDefaultWidth = 1280;
constexpr int kDefaultHeight = 860;

} // namespace

int runRender(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString cfg;
    QString outDir;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    bool bRaw = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        bool ok = true;
        if (a == QLatin1String("--out") && i + 1 < args.size()) {
            outDir = args[++i];
        } else if (a == QLatin1String("--size") && i + 1 < args.size()) {
            const QStringList wh = args[++i].split(QLatin1Char('x'));
            bool okW = false, okH = false;
            if (wh.size() == 2) {
                width = wh[0].toInt(&okW);
                height = wh[1].toInt(&okH);
            }
            ok = okW && okH && width >= 1000 && height >= 640 && width <= 8000 && height <= 8000;
        } else if (a == QLatin1String("--raw")) {
            bRaw = true;
        } else if (!a.startsWith(QLatin1Char('-')) && cfg.isEmpty()) {
            cfg = a;
        } else {
            ok = false;
        }
        if (!ok) {
            err << "vantar-tool render: bad argument \"" << a << "\"\n\n";
            helpRender(err);
            return 2;
        }
    }
    if (cfg.isEmpty() || outDir.isEmpty()) {
        helpRender(err);
        return 2;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        err << "vantar-tool render: needs the widgets application\n";
        return 1;
    }
    if (!QDir().mkpath(outDir)) {
        err << "vantar-tool render: cannot make \"" << outDir << "\"\n";
        return 1;
    }

    // The map view itself, laid out at the given size but never shown on a screen.
    CMapScans view;
    view.setMessagesShown(false);
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(width, height);
    view.show();
    QCoreApplication::processEvents();
    bool bLoaded = false;
    QObject::connect(&view, &CMapScans::mapDataLoaded, &view, [&bLoaded](bool b, bool) { bLoaded = b; });
    view.openMap(cfg, QFileInfo(cfg).absolutePath());
    if (!bLoaded) {
        err << "vantar-tool render: " << cfg << ": the map could not be opened";
        if (!view.lastMessage().isEmpty())
            err << ": " << view.lastMessage();
        err << '\n';
        return 1;
    }
    if (bRaw)
        view.slot_viewingModeChanged(RawView);
    QCoreApplication::processEvents();

    const struct
    {
        const char* object;
        const char* file;
    } parts[] = {{"frameCScan", "cscan.png"}, {"frameBScan", "bscan.png"}, {"frameDScan", "dscan.png"},
                 {"frameAScan", "ascan.png"}};
    QDir dir(outDir);
    for (const auto& p : parts) {
        QWidget* w = view.findChild<QWidget*>(QLatin1String(p.object));
        const QString path = dir.filePath(QLatin1String(p.file));
        if (!w || !w->grab().save(path)) {
            err << "vantar-tool render: cannot write \"" << path << "\"\n";
            return 1;
        }
    }
    const QString whole = dir.filePath(QStringLiteral("view.png"));
    if (!view.grab().save(whole)) {
        err << "vantar-tool render: cannot write \"" << whole << "\"\n";
        return 1;
    }
    out << "wrote cscan.png, bscan.png, dscan.png, ascan.png and view.png to " << outDir << '\n';
    return 0;
}

void helpRender(QTextStream& out)
{
    out << "NAME\n"
           "    vantar-tool render - draw a map's scans as the map view shows them\n"
           "\n"
           "SYNOPSIS\n"
           "    vantar-tool render CFG --out DIR [--size WxH] [--raw]\n"
           "\n"
           "DESCRIPTION\n"
           "    Opens the map of the configuration file CFG as the program's map view does (its\n"
           "    saved viewing settings in \"usr_map.set\" applied when present and valid), without\n"
           "    a window, and writes the C-, B- and D-scan frames and the A-scan frame as\n"
           "    DIR/cscan.png, bscan.png, dscan.png and ascan.png, and the whole view as view.png.\n"
           "\n"
           "OPTIONS\n"
           "    --size WxH   size of the view in pixels (default 1280x860, at least 1000x640)\n"
           "    --raw        show the unprocessed volume instead of the SAFT reconstruction\n"
           "\n"
           "EXIT STATUS\n"
           "    0 written; 1 the map could not be opened or a picture not written; 2 bad usage.\n";
}

} // namespace VantarTool
