#include "tools/vantar-tool/commands.h"

#include "ascan/ascanfile.h"
#include "map/depthconversion.h"

#include <QFile>
#include <QSaveFile>

namespace VantarTool {

namespace {

//! Samples, time and depth, one line per sample; the depth follows the A-scan's settings in use
//! (its edited settings file when there is one), as the display measures it.
bool writeCsv(const AScanRecord& record, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    const ConfigSettings& s = record.currentSettings;
    QTextStream ts(&file);
    ts << "sample,time_us,depth_m,amplitude\n";
    const double perUs = s.iSamplesPer10us / 10.0;
    for (int n = 0; n < record.samples.size(); ++n) {
        const double t = perUs > 0 ? n / perUs : 0.0;
        ts << n << ',' << QString::number(t, 'f', 3) << ','
           << QString::number(sampleToDepth(s, n), 'f', 6) << ',' << record.samples[n] << '\n';
    }
    ts.flush();
    if (ts.status() != QTextStream::Ok || !file.commit()) {
        *error = QStringLiteral("cannot write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

int runExportAScan(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString input;
    QString csv;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--csv") && i + 1 < args.size()) {
            csv = args[++i];
        } else if (!a.startsWith(QLatin1Char('-')) && input.isEmpty()) {
            input = a;
        } else {
            err << "vantar-tool export-ascan: bad argument \"" << a << "\"\n\n";
            helpExportAScan(err);
            return 2;
        }
    }
    if (input.isEmpty() || csv.isEmpty()) {
        helpExportAScan(err);
        return 2;
    }
    AScanRecord record;
    QString error;
    QString warning;
    if (!loadAScanRecord(input, record, &error, &warning)) {
        err << "vantar-tool export-ascan: " << input << ": " << error << '\n';
        return 1;
    }
    if (!warning.isEmpty())
        err << "vantar-tool export-ascan: " << input << ": " << warning << '\n';
    if (!writeCsv(record, csv, &error)) {
        err << "vantar-tool export-ascan: " << error << '\n';
        return 1;
    }
    out << "wrote " << record.samples.size() << " samples of \"" << record.name << "\" to " << csv << '\n';
    return 0;
}

void helpExportAScan(QTextStream& out)
{
    out << "NAME\n"
           "    vantar-tool export-ascan - write an A-scan's signal as a table\n"
           "\n"
           "SYNOPSIS\n"
           "    vantar-tool export-ascan FILE.bmp --csv OUT.csv\n"
           "\n"
           "DESCRIPTION\n"
           "    Reads the A-scan FILE.bmp with its signal FILE.raw and, when present, its edited\n"
           "    settings FILE.sss, and writes one line per sample with the columns\n"
           "    sample, time_us (from the first sample, by the sampling rate), depth_m (by the\n"
           "    velocity and the testing method, as the display measures depth) and amplitude\n"
           "    (the raw 16-bit value). The file is replaced only when it was written in full.\n"
           "\n"
           "EXIT STATUS\n"
           "    0 written; 1 the A-scan could not be read or the table not written; 2 bad usage.\n";
}

} // namespace VantarTool
