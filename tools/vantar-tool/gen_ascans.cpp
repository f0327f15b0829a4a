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
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        bool ok = true;
        if (a == QLatin1String("--count") && i + 1 < args.size()) {
            count = args[++i].toInt(&ok);
            ok = ok && count >= 1 && count <= kMaxCount;
        } else if (a == QLatin1String("--seed") && i + 1 < args.size()) {
            seed = args[++i].toUInt(&ok);
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
    if (!generateAScans(folder, count, seed, &error)) {
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
           "    vantar-tool gen-ascans DIR [--count N] [--seed S]\n"
           "\n"
           "DESCRIPTION\n"
           "    Writes the A-scan file sets 1.bmp/1.raw ... N.bmp/N.raw into DIR (made when\n"
           "    missing), in the instrument's own layouts. Each N.bmp is a picture of the\n"
           "    instrument screen (grid, signal trace, strobe, read-outs) with the data area\n"
           "    appended: format version 3.4 (every fifth A-scan 3.3), signature \"M773\", the\n"
           "    A-scan and setup names and the instrument settings block. Each N.raw holds\n"
           "    40000 samples: a near-surface pulse and one or two echoes, tone bursts at the\n"
           "    probe frequency with exponential decay, plus a little noise. Settings (gain,\n"
           "    frequency, velocity, strobe, time base, TVG ...) vary from file to file.\n"
           "    The same seed always gives the same files.\n"
           "\n"
           "OPTIONS\n"
           "    --count N   number of A-scans, 1 to 10000 (default 12)\n"
           "    --seed S    seed of the generator, an unsigned integer (default 1)\n"
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
