#include "tools/vantar-tool/commands.h"

#include "map/mapgenerator.h"
#include "map/maplimits.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

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
    bool bClean = false;
    std::optional<MapReflector> viewAt;
    bool bViewLimits = false;
    // Ingredient options apply over the realistic (or clean) set, whatever their order.
    std::vector<std::function<void(MapGeneratorOptions&)>> ingredients;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        auto intValue = [&](int lo, int hi) {
            const int v = args[++i].toInt(&ok);
            ok = ok && v >= lo && v <= hi;
            return v;
        };
        auto realValue = [&](double lo, double hi) {
            const double v = args[++i].toDouble(&ok);
            ok = ok && std::isfinite(v) && v >= lo && v <= hi;
            return v;
        };
        auto ingredient = [&](double lo, double hi, double MapGeneratorOptions::*field) {
            const double v = realValue(lo, hi);
            ingredients.push_back([field, v](MapGeneratorOptions& m) { m.*field = v; });
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
        } else if (a == QLatin1String("--view") && hasValue) {
            MapReflector r;
            ok = parseReflector(args[++i], r);
            viewAt = r;
        } else if (a == QLatin1String("--view-limits")) {
            bViewLimits = true;
        } else if (a == QLatin1String("--clean")) {
            bClean = true;
        } else if (a == QLatin1String("--echo") && hasValue) {
            ingredient(1, 30000, &MapGeneratorOptions::echoAmplitude);
        } else if (a == QLatin1String("--surface") && hasValue) {
            ingredient(0, 30000, &MapGeneratorOptions::surfaceAmplitude);
        } else if (a == QLatin1String("--noise") && hasValue) {
            ingredient(0, 10000, &MapGeneratorOptions::noise);
        } else if (a == QLatin1String("--attenuation") && hasValue) {
            ingredient(0, 200, &MapGeneratorOptions::attenuation);
        } else if (a == QLatin1String("--scatterers") && hasValue) {
            ingredient(0, 1000, &MapGeneratorOptions::scatterers);
        } else if (a == QLatin1String("--scatter") && hasValue) {
            ingredient(0, 10, &MapGeneratorOptions::scatterAmplitude);
        } else if (a == QLatin1String("--back-wall") && hasValue) {
            ingredient(0, 20000, &MapGeneratorOptions::backWall);
        } else if (a == QLatin1String("--back-wall-amplitude") && hasValue) {
            ingredient(0, 100, &MapGeneratorOptions::backWallAmplitude);
        } else if (a == QLatin1String("--coupling") && hasValue) {
            ingredient(0, 20, &MapGeneratorOptions::coupling);
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
    if (!bClean)
        o = MapGenerator::realistic(o);
    for (const auto& apply : ingredients)
        apply(o);

    QString error;
    QStringList written;
    if (!MapGenerator::write(folder, o, &error, &written)) {
        err << "vantar-tool gen-map: " << error << '\n';
        return 1;
    }
    if ((viewAt || bViewLimits)
        && !MapGenerator::writeViewState(folder, o, viewAt.value_or(o.reflectors.front()), bViewLimits, &error)) {
        err << "vantar-tool gen-map: " << error << '\n';
        return 1;
    }
    out << "wrote " << o.name << ".cfg, " << o.name << ".lbv and " << (written.size() - 2) << " signal files ("
        << o.columns << " x " << o.rows << " positions, steps " << o.stepH << " x " << o.stepV << " mm, "
        << o.reflectors.size() << " reflector" << (o.reflectors.size() == 1 ? "" : "s") << ") to " << folder
        << (viewAt || bViewLimits ? ", with usr_map.set" : "") << '\n';
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
           "                        [--seed S] [--clean] [--echo A] [--surface A] [--noise N]\n"
           "                        [--attenuation DB] [--scatterers N] [--scatter A]\n"
           "                        [--back-wall MM] [--back-wall-amplitude A] [--coupling DB]\n"
           "                        [--view X,Y,Z] [--view-limits]\n"
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
           "    placed. Echoes fall off as (200 + Z) / R.\n"
           "\n"
           "    The signals carry what records of concrete carry; each ingredient has an\n"
           "    option to change it, and 0 drops it:\n"
           "      direct wave   the near-surface wave from the probe, the same burst and\n"
           "                    ring at every position, near full scale (--surface, 20000)\n"
           "      echoes        a reflector of amplitude 1 straight below gives --echo\n"
           "                    (120), some 45 dB under the direct wave\n"
           "      attenuation   every echo loses --attenuation dB per metre of travel down\n"
           "                    and back at 50 kHz (10), in proportion to the frequency\n"
           "      backscatter   --scatterers grains per litre (20) in the material under the\n"
           "                    map and 100 mm around it, down to the back wall, each an echo\n"
           "                    on the same travel-time model with a Gaussian amplitude of\n"
           "                    standard deviation --scatter (0.05) times a reflector's;\n"
           "                    grains more than 45 degrees off the probe's axis are not seen\n"
           "      back wall     the slab's far face at --back-wall mm (1.2 times --depth,\n"
           "                    just beyond the time base) with --back-wall-amplitude times a\n"
           "                    reflector's echo (40), and two multiples, each halved\n"
           "      coupling      the probe's contact changes from position to position: all\n"
           "                    of the above is scaled by a gain of Gaussian spread\n"
           "                    --coupling dB (1.5)\n"
           "      noise         the electronics' Gaussian noise, --noise samples rms (1.5)\n"
           "    --clean gives clean signals instead: direct wave 8000, echoes 3000, noise 30,\n"
           "    no attenuation, backscatter, back wall or coupling; the ingredient options\n"
           "    still apply over it. Everything random is drawn from --seed: the same options\n"
           "    always give the same files.\n"
           "\n"
           "    --view and --view-limits also write the map's \"usr_map.set\", so that the\n"
           "    program opens the map with the SAFT parameters it derives from the\n"
           "    configuration, slices through a point, and (with --view-limits) the layer\n"
           "    limits mode over the whole volume, which shows every reflector at once.\n"
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
           "    --seed S          seed of the noise, backscatter and coupling, an unsigned\n"
           "                      integer (default 1)\n"
           "    --clean           clean signals (see above)\n"
           "    --echo A          echo of a reflector of amplitude 1, samples (1 to 30000)\n"
           "    --surface A       direct wave, samples (0 to 30000)\n"
           "    --noise N         noise, samples rms (0 to 10000)\n"
           "    --attenuation DB  dB per metre of travel at 50 kHz (0 to 200)\n"
           "    --scatterers N    backscattering grains per litre (0 to 1000)\n"
           "    --scatter A       grain amplitude relative to a reflector (0 to 10)\n"
           "    --back-wall MM    depth of the back wall (0 to 20000)\n"
           "    --back-wall-amplitude A\n"
           "                      back-wall echo relative to a reflector (0 to 100)\n"
           "    --coupling DB     spread of the coupling from position to position (0 to 20)\n"
           "    --view X,Y,Z      store a viewing state with slices through X, Y, Z mm\n"
           "    --view-limits     store a viewing state in layer limits mode (the slices go\n"
           "                      through --view or the first reflector)\n"
           "\n"
           "EXIT STATUS\n"
           "    0  the files were written\n"
           "    1  a file could not be written; the reason is written to standard error\n"
           "    2  wrong arguments\n"
           "\n"
           "EXAMPLE\n"
           "    vantar-tool gen-map /tmp/map --columns 30 --rows 20 --step-h 10 --step-v 10 \\\n"
           "        --reflector 80,60,150 --reflector 200,120,260 --reflector 150,150,380 \\\n"
           "        --view 80,60,150 --view-limits\n";
}

} // namespace VantarTool
