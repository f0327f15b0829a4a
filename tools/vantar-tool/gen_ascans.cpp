#include "tools/vantar-tool/commands.h"

#include "ascan/ascangenerator.h"

namespace VantarTool {

namespace {

constexpr int kDefaultCount = 12;
constexpr int kMaxCount = 10000;
constexpr quint32 kDefaultSeed = 1;

} // namespace

int runGenAScans(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString folder;
    int count = kDefaultCount;
    quint32 seed = kDefaultSeed;
    AScanMaterial material = AScanMaterial::realistic();
    if (args.contains(QLatin1String("--clean")))
        material = AScanMaterial();
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        bool ok = true;
        const bool hasValue = i + 1 < args.size();
        // A value 0 … hi; 0 drops the ingredient.
        auto realOption = [&](double& field, double hi) {
            field = args[++i].toDouble(&ok);
            ok = ok && field >= 0 && field <= hi;
        };
        if (a == QLatin1String("--count") && hasValue) {
            count = args[++i].toInt(&ok);
            ok = ok && count >= 1 && count <= kMaxCount;
        } else if (a == QLatin1String("--seed") && hasValue) {
            seed = args[++i].toUInt(&ok);
        } else if (a == QLatin1String("--clean")) {
            // Taken before the loop, so that the ingredient options apply over it in any order.
        } else if (a == QLatin1String("--attenuation") && hasValue) {
            realOption(material.attenuation, 200);
        } else if (a == QLatin1String("--backscatter") && hasValue) {
            realOption(material.backscatter, 10);
        } else if (a == QLatin1String("--back-wall") && hasValue) {
            realOption(material.backWall, 10);
        } else if (a == QLatin1String("--coupling") && hasValue) {
            realOption(material.coupling, 20);
        } else if (a == QLatin1String("--direct-wave") && hasValue) {
            realOption(material.directWave, 10);
        } else if (a == QLatin1String("--noise") && hasValue) {
            realOption(material.noise, 100);
        } else if (!a.startsWith(QLatin1Char('-')) && folder.isEmpty()) {
            folder = a;
        } else {
            ok = false;
        }
        if (!ok) {
            err << "vantar-tool gen-ascans: bad argument \"" << a << "\"\n\n";
            helpGenAScans(err);
            return 2;
        }
    }
    if (folder.isEmpty()) {
        helpGenAScans(err);
        return 2;
    }
    QString error;
    if (!generateAScans(folder, count, seed, &error, {}, material)) {
        err << "vantar-tool gen-ascans: " << error << '\n';
        return 1;
    }
    out << "wrote " << count << " A-scans (1.bmp/1.raw ... " << count << ".bmp/" << count
        << ".raw) to " << folder << '\n';
    return 0;
}

void helpGenAScans(QTextStream& out)
{
    out << "NAME\n"
           "    vantar-tool gen-ascans - write a folder of generated A-scans\n"
           "\n"
           "SYNOPSIS\n"
           "    vantar-tool gen-ascans DIR [--count N] [--seed S] [--clean] [--attenuation DB]\n"
           "                           [--backscatter A] [--back-wall A] [--coupling DB]\n"
           "                           [--direct-wave F] [--noise F]\n"
           "\n"
           "DESCRIPTION\n"
           "    Writes the A-scan file sets 1.bmp/1.raw ... N.bmp/N.raw into DIR (made when\n"
           "    missing), in the instrument's own layouts. Each N.bmp is a picture of the\n"
           "    instrument screen (grid, signal trace, strobe, read-outs) with the data area\n"
           "    appended: format version 3.4 (every fifth A-scan 3.3), signature \"M773\", the\n"
           "    A-scan and setup names and the instrument settings block. Each N.raw holds\n"
           "    40000 samples within the converter's +-511. Settings (gain, frequency,\n"
           "    velocity, strobe, time base, TVG ...) vary from file to file.\n"
           "\n"
           "    The signal carries what records of concrete carry; 0 drops an ingredient:\n"
           "      direct wave   the probe's near-surface pulse and ring-down, times\n"
           "                    --direct-wave (1)\n"
           "      echoes        one or two, tone bursts at the probe frequency\n"
           "      attenuation   --attenuation dB per metre of travel at 50 kHz (10), in\n"
           "                    proportion to the frequency; the gain is set for the main\n"
           "                    echo, so what comes before it is stronger, what comes after\n"
           "                    weaker\n"
           "      backscatter   grain echoes about one per period all along the record, of\n"
           "                    rms --backscatter times the main echo at its time (0.05),\n"
           "                    attenuated alike\n"
           "      back wall     in reflection an echo beyond the main one, --back-wall times\n"
           "                    its amplitude (0.8)\n"
           "      coupling      the whole received signal scaled by a gain of Gaussian spread\n"
           "                    --coupling dB (1.5) from A-scan to A-scan\n"
           "      noise         the electronics' noise, 1.5 to 4 samples rms, times --noise (1)\n"
           "    --clean leaves out attenuation, backscatter, back wall and coupling (the\n"
           "    ingredient options still apply). The settings are the same either way.\n"
           "    The same seed and options always give the same files.\n"
           "\n"
           "OPTIONS\n"
           "    --count N          number of A-scans, 1 to 10000 (default 12)\n"
           "    --seed S           seed of the generator, an unsigned integer (default 1)\n"
           "    --clean            clean signals (see above)\n"
           "    --attenuation DB   dB per metre of travel at 50 kHz, 0 to 200\n"
           "    --backscatter A    grain echoes relative to the main echo, 0 to 10\n"
           "    --back-wall A      back-wall echo relative to the main echo, 0 to 10\n"
           "    --coupling DB      spread of the coupling, 0 to 20 dB\n"
           "    --direct-wave F    scale of the direct wave, 0 to 10\n"
           "    --noise F          scale of the noise, 0 to 100\n"
           "\n"
           "EXIT STATUS\n"
           "    0  the files were written\n"
           "    1  a file could not be written; the reason is written to standard error\n"
           "    2  wrong arguments\n"
           "\n"
           "EXAMPLE\n"
           "    vantar-tool gen-ascans /tmp/ascans --count 20\n";
}

} // namespace VantarTool
