#include "tools/vantar-tool/mapopenoptions.h"

#include "map/parallel.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace VantarTool {

bool intOption(const QString& text, int lo, int hi, int step, std::optional<qint32>& value)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < lo || v > hi || (v - lo) % step != 0)
        return false;
    value = v;
    return true;
}

OptionTaken takeMapOpenOption(const QStringList& args, int& i, MapOpenOptions& options)
{
    const QString& a = args[i];
    if (a == QLatin1String("--no-filter-sw")) {
        options.overrides.filterSW = false;
        return OptionTaken::Yes;
    }
    if (a == QLatin1String("--filter-sw")) {
        options.overrides.filterSW = true;
        return OptionTaken::Yes;
    }
    if (a == QLatin1String("--ignore-saved")) {
        options.ignoreSaved = true;
        return OptionTaken::Yes;
    }
    const bool valued = a == QLatin1String("--depth") || a == QLatin1String("--frequency")
                        || a == QLatin1String("--bandwidth") || a == QLatin1String("--tcg")
                        || a == QLatin1String("--velocity") || a == QLatin1String("--threads");
    if (!valued)
        return OptionTaken::No;
    if (i + 1 >= args.size())
        return OptionTaken::Bad;
    const QString& value = args[++i];
    bool ok = false;
    if (a == QLatin1String("--depth")) {
        ok = intOption(value, 10, 35000, 1, options.overrides.depth);
    } else if (a == QLatin1String("--frequency")) {
        ok = intOption(value, 25, 250, 5, options.overrides.frequency);
    } else if (a == QLatin1String("--bandwidth")) {
        ok = intOption(value, 25, 100, 25, options.overrides.bandwidth);
    } else if (a == QLatin1String("--tcg")) {
        ok = intOption(value, 0, 30, 1, options.overrides.tcg);
    } else if (a == QLatin1String("--velocity")) {
        const double v = value.toDouble(&ok);
        ok = ok && v >= 500.0 && v <= 15000.0;
        if (ok)
            options.overrides.velocity = v / 1000.0;
    } else {
        const int n = value.toInt(&ok);
        ok = ok && n >= 1 && n <= 256;
        if (ok)
            Vantar::setWorkerThreads(n);
    }
    return ok ? OptionTaken::Yes : OptionTaken::Bad;
}

void helpMapOpenOptions(QTextStream& out)
{
    out << "    --depth MM         SAFT depth, at least 2 layers of 5 mm (10 to 35000)\n"
           "    --velocity M/S     sound velocity, 500 to 15000 m/s\n"
           "    --frequency KHZ    probe frequency, 25 to 250 kHz in steps of 5\n"
           "    --bandwidth PCT    filter bandwidth, 25, 50, 75 or 100 %\n"
           "    --tcg DB/M         depth gain, 0 to 30 dB/m\n"
           "    --no-filter-sw     keep the signal all positions share (--filter-sw removes it)\n"
           "    --ignore-saved     derive the parameters from the map's settings\n"
           "    --threads N        worker threads (default: all cores)\n";
}

int badArgument(QTextStream& err, const char* command, const QString& argument, const QStringList& args, int i,
                void (*help)(QTextStream&))
{
    err << "vantar-tool " << command << ": bad argument \"" << argument << "\"";
    // An option whose value was taken: the value too.
    if (argument.startsWith(u'-') && i < args.size() && args[i] != argument)
        err << " \"" << args[i] << "\"";
    err << "\n\n";
    help(err);
    return 2;
}

QStringList collectMaps(const QStringList& inputs, const char* command, QTextStream& err, int& iEmptyFolders)
{
    iEmptyFolders = 0;
    QStringList maps;
    for (const QString& input : inputs) {
        if (!QFileInfo(input).isDir()) {
            maps << input;
            continue;
        }
        QStringList found;
        QDirIterator it(input, {QStringLiteral("*.cfg"), QStringLiteral("*.CFG")}, QDir::Files,
                        QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext())
            found << it.next();
        found.sort();
        if (found.isEmpty()) {
            err << "vantar-tool " << command << ": " << input
                << ": failed: no map configuration (*.cfg) in the folder\n";
            ++iEmptyFolders;
        }
        maps << found;
    }
    return maps;
}

MapOpenResult openMap(MapData& data, const QString& strConfig, const MapOpenOptions& options,
                      MapStepReporter* pReporter)
{
    MapOpenRequest request;
    request.configPath = strConfig;
    request.useStoredSettings = !options.ignoreSaved;
    request.overrides = options.overrides;
    return MapOpener::open(data, request, pReporter);
}

} // namespace VantarTool
