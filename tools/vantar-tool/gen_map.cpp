#include "tools/vantar-tool/commands.h"

#include "map/mapgenerator.h"
#include "map/maplimits.h"

#include <cmath>

namespace VantarTool {

namespace {

// X,Y,Z in mm, optionally ,A for the relative amplitude.
bool parseReflector(const QString& text, MapReflector& r)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 3 && parts.size() != 4)
        return false;
    double v[4] = {0, 0, 0, 1.0};
    for (int k = 0; k < parts.size(); ++k) {
        bool ok = false;
        v[k] = parts[k].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v[k]))
            return false;
    }
    if (v[2] < 0 || v[3] <= 0)
        return false;
    r = MapReflector{v[0], v[1], v[2], v[3]};
    return true;
}

} // namespace

int runGenMap(const QStringList& args, QTextStream& out, QTextStream& err)
{
    MapGeneratorOptions o;
    QString folder;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        auto intValue = [&](int lo, int hi) {
            const int v = args[++i].toInt(&ok);
            ok = ok && v >= lo && v <= hi;
            return v;
        };
        if (a == QLatin1String("--columns") && hasValue) {
            o.columns = intValue(1, Vantar::kMaxPositionIndex);
        } else if (a == QLatin1String("--rows") && hasValue) {
            o.rows = intValue(1, Vantar::kMaxPositionIndex);
        } else if (a == QLatin1String("--step-h") && hasValue) {
            o.stepH = intValue(10, 1000);
        } else if (a == QLatin1String("--step-v") && hasValue) {
            o.stepV = intValue(10, 1000);
        } else if (a == QLatin1String("--depth") && hasValue) {
            o.depth = intValue(10, 5000);
        } else if (a == QLatin1String("--velocity") && hasValue) {
            o.velocity = intValue(500, 15000);
        } else if (a == QLatin1String("--frequency") && hasValue) {
            o.frequency = intValue(25, 250);
        } else if (a == QLatin1String("--seed") && hasValue) {
            o.seed = args[++i].toUInt(&ok);
        } else if (a == QLatin1String("--name") && hasValue) {
            o.name = args[++i];
            ok = !o.name.isEmpty() && !o.name.contains(u'/');
        } else if (a == QLatin1String("--title") && hasValue) {
            o.title = o.mapName = args[++i];
        } else if (a == QLatin1String("--reflector") && hasValue) {
            MapReflector r;
            ok = parseReflector(args[++i], r);
            if (ok)
                o.reflectors.push_back(r);
        } else if (!a.startsWith(u'-') && folder.isEmpty()) {
            folder = a;
        } else {
            ok = false;
        }
        if (!ok) {
            err << "vantar-tool gen-map: bad argument \"" << a << "\"";
            if (args[i] != a)
                err << " \"" << args[i] << "\"";
            err << "\n\n";
            helpGenMap(err);
            return 2;
        }
    }
    if (folder.isEmpty()) {
        helpGenMap(err);
        return 2;
    }
    if (o.reflectors.empty())
        o.reflectors.push_back(MapReflector{o.columns * o.stepH / 2.0, o.rows * o.stepV / 2.0, o.depth * 0.4, 1.0});

    QString error;
    QStringList written;
    if (!MapGenerator::write(folder, o, &error, &written)) {
        err << "vantar-tool gen-map: " << error << '\n';
        return 1;
    }
    out << "wrote " << o.name << ".cfg, " << o.name << ".lbv and " << (written.size() - 2) << " signal files ("
        << o.columns << " x " << o.rows << " positions, steps " << o.stepH << " x " << o.stepV << " mm, "
        << o.reflectors.size() << " reflector" << (o.reflectors.size() == 1 ? "" : "s") << ") to " << folder
        << '\n';
    return 0;
}

void helpGenMap(QTextStream& out)
{
    out << "NAME\n"
           "    vantar-tool gen-map - write a generated map with point reflectors\n"
           "\n"
           "SYNOPSIS\n"
           "    vantar-tool gen-map DIR [--columns C] [--rows R] [--step-h MM] [--step-v MM]\n"
           "                        [--depth MM] [--velocity M/S] [--frequency KHZ]\n"
           "                        [--reflector X,Y,Z[,A] ...] [--name NAME] [--title TEXT]\n"
           "                        [--seed S]\n"
           "\n"
           "DESCRIPTION\n"
           "    Writes a map into DIR (made when missing) in the instrument's own layouts:\n"
           "    NAME.cfg (format 3.4, signature \"M773\", title, instrument settings with 100\n"
           "    samples per 10 us, the velocity and frequency given, reflection, a time base\n"
           "    covering the depth, the probe steps and grid size, the map name), NAME.lbv,\n"
           "    and one signal file i_j.raw of 40000 little-endian 16-bit samples for each\n"
           "    position i = 1..C, j = 1..R.\n"
           "\n"
           "    Probe (i, j) sits at x = (i - 0.5) * step-h, y = (j - 0.5) * step-v. Each\n"
           "    reflector at (X, Y, Z) gives a Gaussian-windowed tone burst at the probe\n"
           "    frequency centred on sample floor(2 * (R - 200) / v * 10 + 0.5) + 119, with\n"
           "    R = sqrt((X - x)^2 + (Y - y)^2 + (200 + Z)^2) in mm and v in mm/us: the travel\n"
           "    times the SAFT reconstruction assumes, so each reflector focuses where it was\n"
           "    placed. Echoes fall off as (200 + Z) / R. Every signal also carries the same\n"
           "    near-surface signal and a little seeded noise; the same options always give\n"
           "    the same files.\n"
           "\n"
           "OPTIONS\n"
           "    --columns C       positions across, 1 to 1000 (default 30)\n"
           "    --rows R          positions down, 1 to 1000 (default 20)\n"
           "    --step-h MM       horizontal probe step, 10 to 1000 mm (default 10)\n"
           "    --step-v MM       vertical probe step, 10 to 1000 mm (default 10)\n"
           "    --depth MM        depth covered by the time base, 10 to 5000 mm (default 500)\n"
           "    --velocity M/S    sound velocity, 500 to 15000 m/s (default 2600)\n"
           "    --frequency KHZ   probe frequency, 25 to 250 kHz (default 50)\n"
           "    --reflector X,Y,Z[,A]\n"
           "                      a point reflector at X, Y across the map and Z below the\n"
           "                      surface, in mm, with relative amplitude A (default 1);\n"
           "                      repeat for more. Default: one in the middle of the map at\n"
           "                      0.4 of the depth\n"
           "    --name NAME       base name of the .cfg and .lbv files (default map)\n"
           "    --title TEXT      configuration title and map name (default Generated map)\n"
           "    --seed S          noise seed, an unsigned integer (default 1)\n"
           "\n"
           "EXIT STATUS\n"
           "    0  the files were written\n"
           "    1  a file could not be written; the reason is written to standard error\n"
           "    2  wrong arguments\n"
           "\n"
           "EXAMPLE\n"
           "    vantar-tool gen-map /tmp/map --columns 30 --rows 20 --step-h 10 --step-v 10 \\\n"
           "        --reflector 80,60,150 --reflector 200,120,260 --reflector 150,150,380\n";
}

} // namespace VantarTool
