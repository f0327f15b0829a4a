#include "tools/vantar-tool/commands.h"

#include "map/indicationfinder.h"
#include "map/indicationsfile.h"
#include "map/mapdata.h"
#include "map/mapviewgeometry.h"
#include "map/storedfilewrite.h"
#include "tools/vantar-tool/mapopenoptions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <optional>

namespace VantarTool {

namespace {

struct IndicationsOptions
{
    MapOpenOptions open;
    double thresholdDb = -6.0;
    std::optional<double> minDistance;      // mm, X and Y; else one probe step
    double minDepthDistance = IndicationFinderOptions::kDefaultDepthDistance;
    double minContrast = IndicationFinderOptions::kDefaultContrast;
    int maxCount = IndicationFinderOptions::kDefaultMaxCount;
    bool raw = false;
    bool json = false;
    QString csvPath;
};

// What one map gave.
struct MapIndications
{
    bool ok = false;
    QString reason;
    QString name;
    bool raw = false;
    int dim0 = 0, dim1 = 0, dim2 = 0;
    IndicationSearch search;
};

bool realOption(const QString& text, double lo, double hi, double& value)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !(v >= lo && v <= hi))
        return false;
    value = v;
    return true;
}

// One decimal, as the table and the CSV show millimetres and dB.
double tenth(double v)
{
    return std::round(v * 10.0) / 10.0;
}

MapIndications findInMap(const QString& config, const IndicationsOptions& options)
{
    MapIndications m;
    MapData data;
    const MapOpenResult r = openMap(data, config, options.open);
    m.name = r.config.mapName;
    if (!r.loaded) {
        m.reason = r.message.isEmpty() ? QStringLiteral("the map could not be opened") : r.message;
        return m;
    }
    // Without SAFT by design the window shows the unprocessed volume, so that is searched;
    // a reconstruction that failed is a failure.
    m.raw = options.raw || r.transmission;
    if (!m.raw && !r.processed) {
        m.reason = r.message.isEmpty() ? QStringLiteral("no processed volume") : r.message;
        return m;
    }
    // The cells in the millimetres of the window's read-outs.
    MapViewGeometry geometry;
    geometry.setMap(r.scan.columns, r.scan.rows, r.config.stepH, r.config.stepV, r.depthStart, r.depthRange);
    IndicationFinderOptions finder = IndicationFinderOptions::forSteps(r.config.stepH, r.config.stepV);
    finder.thresholdDb = options.thresholdDb;
    if (options.minDistance)
        finder.minDistanceX = finder.minDistanceY = *options.minDistance;
    finder.minDistanceZ = options.minDepthDistance;
    finder.minContrastDb = options.minContrast;
    finder.maxCount = options.maxCount;
    m.search = IndicationFinder::find(data, m.raw ? RawView : ProcessedView, MapVoxelFrame::of(geometry), finder);
    if (m.search.outOfMemory) {
        m.reason = QStringLiteral("not enough memory to search the volume");
        return m;
    }
    m.dim0 = data.dim0();
    m.dim1 = data.dim1();
    m.dim2 = data.dim2();
    m.ok = true;
    return m;
}

QJsonObject mapJson(const QString& config, const MapIndications& m, double thresholdDb)
{
    QJsonArray list;
    for (const MapIndication& ind : m.search.indications)
        list.append(QJsonObject{{"number", ind.number},
                                {"x", tenth(ind.x)},
                                {"y", tenth(ind.y)},
                                {"z", tenth(ind.z)},
                                {"amplitude", ind.amplitude},
                                {"db", tenth(ind.db)},
                                {"sizeX", tenth(ind.sizeX)},
                                {"sizeY", tenth(ind.sizeY)},
                                {"sizeZ", tenth(ind.sizeZ)}});
    QJsonObject o{{"map", config},
                  {"name", m.name},
                  {"volume", m.raw ? "raw" : "processed"},
                  {"maximum", m.search.volumeMaximum},
                  {"background", m.search.background},
                  {"threshold", thresholdDb},
                  {"indications", list}};
    if (m.search.truncated)
        o.insert("truncated", true);
    return o;
}

void printTable(QTextStream& out, const QString& config, const MapIndications& m, double thresholdDb)
{
    const int n = int(m.search.indications.size());
    out << config << ": \"" << m.name << "\", " << (m.raw ? "unprocessed" : "processed") << " volume " << m.dim0
        << " x " << m.dim1 << " x " << m.dim2 << ", maximum " << m.search.volumeMaximum << ", median "
        << m.search.background << "; " << n
        << (n == 1 ? " indication" : " indications") << " at " << QString::number(thresholdDb, 'f', 1)
        << " dB or above" << (m.search.truncated ? " (the strongest only)" : "") << '\n';
    if (n == 0)
        return;
    const QStringList head{"#", "X mm", "Y mm", "Z mm", "Amplitude", "dB", "Size X", "Size Y", "Size Z"};
    const int widths[] = {4, 9, 9, 9, 10, 7, 8, 8, 8};
    for (int c = 0; c < head.size(); ++c)
        out << head[c].rightJustified(widths[c]);
    out << '\n';
    for (const MapIndication& ind : m.search.indications) {
        const QStringList cells{QString::number(ind.number),       MapIndication::decimal(ind.x),
                                MapIndication::decimal(ind.y),     MapIndication::decimal(ind.z),
                                QString::number(ind.amplitude),     MapIndication::decimal(ind.db),
                                MapIndication::decimal(ind.sizeX), MapIndication::decimal(ind.sizeY),
                                MapIndication::decimal(ind.sizeZ)};
        for (int c = 0; c < cells.size(); ++c)
            out << cells[c].rightJustified(widths[c]);
        out << '\n';
    }
}

} // namespace

int runIndications(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QStringList inputs;
    IndicationsOptions options;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        const OptionTaken taken = takeMapOpenOption(args, i, options.open);
        if (taken != OptionTaken::No) {
            ok = taken == OptionTaken::Yes;
        } else if (a == QLatin1String("--threshold") && hasValue) {
            ok = realOption(args[++i], -100.0, 0.0, options.thresholdDb);
        } else if (a == QLatin1String("--min-distance") && hasValue) {
            double d = 0;
            ok = realOption(args[++i], 0.0, 100000.0, d);
            options.minDistance = d;
        } else if (a == QLatin1String("--min-depth-distance") && hasValue) {
            ok = realOption(args[++i], 0.0, 100000.0, options.minDepthDistance);
        } else if (a == QLatin1String("--min-contrast") && hasValue) {
            ok = realOption(args[++i], 0.0, 100.0, options.minContrast);
        } else if (a == QLatin1String("--max") && hasValue) {
            std::optional<qint32> n;
            ok = intOption(args[++i], 1, IndicationsFile::kMaxIndications, 1, n);
            options.maxCount = n.value_or(options.maxCount);
        } else if (a == QLatin1String("--raw")) {
            options.raw = true;
        } else if (a == QLatin1String("--json")) {
            options.json = true;
        } else if (a == QLatin1String("--csv") && hasValue) {
            options.csvPath = args[++i];
        } else if (!a.startsWith(u'-')) {
            inputs << a;
        } else {
            ok = false;
        }
        if (!ok)
            return badArgument(err, "indications", a, args, i, helpIndications);
    }
    if (inputs.isEmpty()) {
        helpIndications(err);
        return 2;
    }

    int emptyFolders = 0;
    const QStringList maps = collectMaps(inputs, "indications", err, emptyFolders);
    int failed = emptyFolders;
    const bool bSeveral = maps.size() + emptyFolders > 1;
    QByteArray csv = IndicationsFile::csvHeader(bSeveral);
    for (int n = 0; n < maps.size(); ++n) {
        const MapIndications m = findInMap(maps[n], options);
        if (!m.ok) {
            err << "vantar-tool indications: " << maps[n] << ": failed: " << m.reason << '\n';
            err.flush();
            ++failed;
            continue;
        }
        if (options.json)
            out << QJsonDocument(mapJson(maps[n], m, options.thresholdDb)).toJson(QJsonDocument::Compact) << '\n';
        else
            printTable(out, maps[n], m, options.thresholdDb);
        out.flush();
        csv += IndicationsFile::csvRows(m.search.indications, bSeveral ? &maps[n] : nullptr);
    }
    if (!options.csvPath.isEmpty()) {
        if (!Vantar::writeWholeFile(options.csvPath, csv)) {
            err << "vantar-tool indications: couldn't write \"" << options.csvPath << "\"\n";
            ++failed;
        }
    }
    return failed ? 1 : 0;
}

void helpIndications(QTextStream& out)
{
    out << "NAME\n"
           "    vantar-tool indications - find and size what a map's volume shows\n"
           "\n"
           "SYNOPSIS\n"
           "    vantar-tool indications CFG|FOLDER ... [--threshold DB] [--min-distance MM]\n"
           "                [--min-depth-distance MM] [--min-contrast DB] [--max N] [--raw]\n"
           "                [--json] [--csv FILE]\n"
           "                [--depth MM] [--velocity M/S] [--frequency KHZ] [--bandwidth PCT]\n"
           "                [--tcg DB/M] [--no-filter-sw] [--filter-sw] [--ignore-saved]\n"
           "                [--threads N]\n"
           "\n"
           "DESCRIPTION\n"
           "    Opens the map of each configuration file CFG (a FOLDER is searched, with its\n"
           "    subfolders, for *.cfg) as the program's window does: with the parameters saved\n"
           "    in the map's \"usr_map.set\" when they are valid for it (unless --ignore-saved)\n"
           "    or else those derived from the map's settings, the parameter options replacing\n"
           "    either, as \"vantar-tool reconstruct\" does. It then lists the indications of\n"
           "    the processed volume (the unprocessed one with --raw, or when the map was\n"
           "    recorded in transmission): the local maxima at or above the threshold below\n"
           "    the volume's maximum and standing at least the contrast above the volume's\n"
           "    median (so that a map of noise alone lists nothing), strongest first, each kept\n"
           "    only when no stronger one lies within the minimum distances (an ellipsoid of the\n"
           "    lateral distance across X and Y and the depth distance along Z). A flat top\n"
           "    counts once, at its middle.\n"
           "\n"
           "    For each indication: its number, X, Y and Z of the cell's centre in mm as the\n"
           "    map view's read-outs count them (X and Y from the map's edge, Z from the top of\n"
           "    the depth window), the peak value, its level in dB against the volume's\n"
           "    maximum, and its -6 dB sizes along X, Y and Z in mm: where the values along the\n"
           "    axis through the peak fall below half of it, interpolated between cells (the\n"
           "    volume's edge when they never do).\n"
           "\n"
           "    By default a table per map goes to the standard output. With --json each map\n"
           "    gives one line holding a JSON object {\"map\": CFG, \"name\", \"volume\",\n"
           "    \"maximum\", \"background\" (the median), \"threshold\", \"indications\":\n"
           "    [{\"number\", \"x\", \"y\", \"z\", \"amplitude\", \"db\", \"sizeX\", \"sizeY\",\n"
           "    \"sizeZ\"}, ...]} (mm and dB with one decimal; \"truncated\": true when more\n"
           "    than --max qualified). A map that fails is reported with the reason on the\n"
           "    error stream and the others go on.\n"
           "\n"
           "OPTIONS\n"
           "    --threshold DB     lowest level kept, -100 to 0 dB below the maximum (-6)\n"
           "    --min-distance MM  lateral distance between indications (one probe step)\n"
           "    --min-depth-distance MM\n"
           "                       distance in depth between indications (20)\n"
           "    --min-contrast DB  lowest level above the volume's median, 0 to 100 dB (20)\n"
           "    --max N            the strongest N at most, 1 to 10000 (1000)\n"
           "    --raw              search the unprocessed volume\n"
           "    --json             JSON lines instead of the table\n"
           "    --csv FILE         also write the lists to FILE as CSV: a header line, then\n"
           "                       number,label,x,y,z,amplitude,db,sizeX,sizeY,sizeZ,manual,\n"
           "                       comment per indication (with a first column \"map\" when\n"
           "                       several maps are named)\n";
    helpMapOpenOptions(out);
    out << "\n"
           "EXIT STATUS\n"
           "    0 every map searched; 1 one or more failed or the CSV file could not be\n"
           "    written (the others are listed); 2 bad usage.\n"
           "\n"
           "EXAMPLES\n"
           "    vantar-tool indications /data/weld/map.cfg\n"
           "    vantar-tool indications /data/maps --threshold -10 --json --csv /tmp/all.csv\n";
}

} // namespace VantarTool
