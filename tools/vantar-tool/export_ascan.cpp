#include "tools/vantar-tool/commands.h"

#include "ascan/ascanfile.h"
#include "ascan/cascanwgt.h"
#include "map/depthconversion.h"

#include <QApplication>
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

constexpr int kDefaultWidth = 1000;
constexpr int kDefaultHeight = 520;

//! The A-scan tab's display with the record's signal and settings in use, laid out at the size
//! given but never shown on a screen, grabbed as it paints itself.
bool writePng(const AScanRecord& record, const QString& path, const QSize& size, QString* error)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        *error = QStringLiteral("drawing needs the widgets application");
        return false;
    }
    CAScanWgt display;
    display.setAttribute(Qt::WA_DontShowOnScreen);
    display.resize(size);
    display.show();
    QCoreApplication::processEvents();
    display.setData(record.samples, record.fileSettings, record.currentSettings);
    QCoreApplication::processEvents();
    const QImage picture = display.grab().toImage();
    // Through a temporary file, so that a failed write leaves an earlier picture alone.
    QSaveFile file(path);
    if (picture.isNull() || !file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit()) {
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
    QString png;
    QSize size(kDefaultWidth, kDefaultHeight);
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--csv") && i + 1 < args.size()) {
            csv = args[++i];
        } else if (a == QLatin1String("--png") && i + 1 < args.size()) {
            png = args[++i];
        } else if (a == QLatin1String("--size") && i + 1 < args.size()) {
            const QStringList wh = args[++i].split(QLatin1Char('x'));
            bool okW = false, okH = false;
            if (wh.size() == 2)
                size = QSize(wh[0].toInt(&okW), wh[1].toInt(&okH));
            if (!okW || !okH || size.width() < 400 || size.height() < 300 || size.width() > 8000
                || size.height() > 8000) {
                err << "vantar-tool export-ascan: bad argument \"--size\" \"" << args[i] << "\"\n\n";
                helpExportAScan(err);
                return 2;
            }
        } else if (!a.startsWith(QLatin1Char('-')) && input.isEmpty()) {
            input = a;
        } else {
            err << "vantar-tool export-ascan: bad argument \"" << a << "\"\n\n";
            helpExportAScan(err);
            return 2;
        }
    }
    if (input.isEmpty() || (csv.isEmpty() && png.isEmpty())) {
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
    if (!csv.isEmpty()) {
        if (!writeCsv(record, csv, &error)) {
            err << "vantar-tool export-ascan: " << error << '\n';
            return 1;
        }
        out << "wrote " << record.samples.size() << " samples of \"" << record.name << "\" to " << csv << '\n';
    }
    if (!png.isEmpty()) {
        if (!writePng(record, png, size, &error)) {
            err << "vantar-tool export-ascan: " << error << '\n';
            return 1;
        }
        out << "wrote the display of \"" << record.name << "\" to " << png << '\n';
    }
    return 0;
}

void helpExportAScan(QTextStream& out)
{
    out << "NAME\n"
           "    vantar-tool export-ascan - write an A-scan's signal as a table or a picture\n"
           "\n"
           "SYNOPSIS\n"
           "    vantar-tool export-ascan FILE.bmp [--csv OUT.csv] [--png OUT.png [--size WxH]]\n"
           "\n"
           "DESCRIPTION\n"
           "    Reads the A-scan FILE.bmp with its signal FILE.raw and, when present, its edited\n"
           "    settings FILE.sss, and writes one line per sample with the columns\n"
           "    sample, time_us (from the first sample, by the sampling rate), depth_m (by the\n"
           "    velocity and the testing method, as the display measures depth) and amplitude\n"
           "    (the raw 16-bit value). With --png it draws the A-scan as the A-scan tab's\n"
           "    display shows it, under the settings in use, and writes the picture. A file is\n"
           "    replaced only when it was written in full. At least one of --csv and --png.\n"
           "\n"
           "OPTIONS\n"
           "    --csv OUT.csv   the table\n"
           "    --png OUT.png   the display as drawn\n"
           "    --size WxH      size of the display in pixels (default 1000x520, at least\n"
           "                    400x300)\n"
           "\n"
           "EXIT STATUS\n"
           "    0 written; 1 the A-scan could not be read or a file not written; 2 bad usage.\n";
}

} // namespace VantarTool
