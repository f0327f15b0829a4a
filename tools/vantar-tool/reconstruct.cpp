#include "tools/vantar-tool/commands.h"

#include "map/mapviewstate.h"
#include "tools/vantar-tool/mapopenoptions.h"
#include "tools/vantar-tool/reconstructmap.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace VantarTool {

namespace {

// Output folder of each map when there are several: the map folder's name, made unique.
QStringList outputFolders(const QStringList& maps, const QString& outDir)
{
    QStringList dirs;
    if (maps.size() == 1)
        return {outDir};
    QSet<QString> used;
    for (const QString& map : maps) {
        const QFileInfo info(map);
        QString base = info.absoluteDir().dirName();
        if (base.isEmpty())
            base = info.completeBaseName();
        QString name = base;
        for (int n = 2; used.contains(name); ++n)
            name = QStringLiteral("%1-%2").arg(base).arg(n);
        used.insert(name);
        dirs << QDir(outDir).filePath(name);
    }
    return dirs;
}

} // namespace

int runReconstruct(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QStringList inputs;
    QString outDir;
    ReconstructOptions options;
    bool bQuiet = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        const OptionTaken taken = takeMapOpenOption(args, i, options);
        if (taken != OptionTaken::No) {
            ok = taken == OptionTaken::Yes;
        } else if (a == QLatin1String("--out") && hasValue) {
            outDir = args[++i];
        } else if (a == QLatin1String("--metaimage")) {
            options.metaImage = true;
        } else if (a == QLatin1String("--brightness") && hasValue) {
            std::optional<qint32> db;
            ok = intOption(args[++i], MapViewState::kMinBrightness, MapViewState::kMaxBrightness, 1, db);
            options.brightnessDb = db;
        } else if (a == QLatin1String("--no-pictures")) {
            options.pictures = false;
        } else if (a == QLatin1String("--quiet")) {
            bQuiet = true;
        } else if (!a.startsWith(u'-')) {
            inputs << a;
        } else {
            ok = false;
        }
        if (!ok)
            return badArgument(err, "reconstruct", a, args, i, helpReconstruct);
    }
    if (inputs.isEmpty() || outDir.isEmpty()) {
        helpReconstruct(err);
        return 2;
    }

    int emptyFolders = 0;
    const QStringList maps = collectMaps(inputs, "reconstruct", err, emptyFolders);
    int failed = emptyFolders;
    const QStringList dirs = outputFolders(maps, outDir);
    const bool bSingle = maps.size() == 1 && emptyFolders == 0;
    options.stepLines = bSingle && !bQuiet;
    for (int n = 0; n < maps.size(); ++n) {
        const ReconstructOutcome o = reconstructMap(maps[n], dirs[n], options, err);
        if (!bQuiet || !o.ok) {
            err << "vantar-tool reconstruct: ";
            if (!bSingle)
                err << '[' << n + 1 << '/' << maps.size() << "] ";
            err << maps[n] << ": ";
            if (o.ok)
                err << "done in " << QString::number(o.seconds, 'f', 2) << " s, " << o.dim0 << " x " << o.dim1
                    << " x " << o.dim2 << " voxels, maximum " << o.maximum << " at (" << o.at[0] << ", " << o.at[1]
                    << ", " << o.at[2] << ") -> " << dirs[n] << '\n';
            else
                err << "failed: " << o.reason << '\n';
            err.flush();
        }
        if (!o.ok)
            ++failed;
        else
            out << "wrote " << dirs[n] << '\n';
    }
    const int all = int(maps.size() + emptyFolders);
    if (all > 1)
        err << "vantar-tool reconstruct: " << all - failed << " of " << all << " maps reconstructed"
            << (failed ? QStringLiteral(", %1 failed\n").arg(failed) : QStringLiteral("\n"));
    return failed ? 1 : 0;
}

void helpReconstruct(QTextStream& out)
{
    out << "NAME\n"
           "    vantar-tool reconstruct - open maps as the program does and write their volumes\n"
           "\n"
           "SYNOPSIS\n"
           "    vantar-tool reconstruct CFG|FOLDER ... --out DIR [--depth MM] [--velocity M/S]\n"
           "                [--frequency KHZ] [--bandwidth PCT] [--tcg DB/M] [--no-filter-sw]\n"
           "                [--filter-sw] [--ignore-saved] [--metaimage] [--brightness DB]\n"
           "                [--no-pictures] [--threads N] [--quiet]\n"
           "\n"
           "DESCRIPTION\n"
           "    Reads the map of each configuration file CFG (a FOLDER is searched, with its\n"
           "    subfolders, for *.cfg) and its signal files, builds the unprocessed volume,\n"
           "    prepares the signals and reconstructs them with SAFT, with the parameters saved\n"
           "    in the map's \"usr_map.set\" when they are valid for it (unless --ignore-saved) or\n"
           "    else those derived from the map's settings; the parameter options replace\n"
           "    either. For each map it writes\n"
           "\n"
           "      processed.nrrd, raw.nrrd  the SAFT and the unprocessed volume (NRRD 4, int16,\n"
           "                    raw, little-endian, sizes dim0 dim1 dim2 with the first axis\n"
           "                    fastest, space directions and origin in mm)\n"
           "      processed.mha, raw.mha    the same as MetaImage, with --metaimage\n"
           "      cscan.png, bscan.png, dscan.png\n"
           "                    slices through the volume's maximum in the map palette, at true\n"
           "                    proportions; the maximum gets the palette's last colour unless\n"
           "                    --brightness is given; the stored threshold applies\n"
           "      summary.json  parameters used, sizes, pitches, each volume's maximum with its\n"
           "                    voxel indices, and the time of each step in seconds\n"
           "\n"
           "    into DIR for a single map, or into DIR/NAME for each of several, NAME being the\n"
           "    map folder's name (made unique). One line per map goes to the error stream\n"
           "    (with a single map also one line per step). A map recorded in transmission, or\n"
           "    one whose reading or reconstruction fails, is reported with the reason and\n"
           "    gets no processed volume; the other maps go on.\n"
           "\n"
           "OPTIONS\n"
           "    --out DIR          folder for the results (made when missing)\n"
           "    --metaimage        also write the volumes as MetaImage (.mha)\n"
           "    --brightness DB    brightness of the pictures as in the map view, -40 to 40 dB\n"
           "    --no-pictures      no scan pictures\n"
           "    --quiet            only failures on the error stream\n";
    helpMapOpenOptions(out);
    out << "\n"
           "EXIT STATUS\n"
           "    0 every map reconstructed; 1 one or more failed (the others are written);\n"
           "    2 bad usage.\n"
           "\n"
           "EXAMPLES\n"
           "    vantar-tool reconstruct /data/weld/map.cfg --out /tmp/weld --depth 400\n"
           "    vantar-tool reconstruct /data/maps --out /tmp/all --quiet --metaimage\n";
}

} // namespace VantarTool
