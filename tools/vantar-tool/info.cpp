#include "tools/vantar-tool/commands.h"

#include "ascan/ascanfile.h"
#include "ascan/settingsfile.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace VantarTool {

namespace {

// Floats as they were meant (123.45, not 123.44999694824219).
double real(float v)
{
    return QString::number(v, 'g', 7).toDouble();
}

void print(QTextStream& out, const QJsonObject& object)
{
    out << QJsonDocument(object).toJson(QJsonDocument::Indented);
}

int refuse(QTextStream& err, const QString& text)
{
    err << "vantar-tool info: " << text << '\n';
    return 1;
}

int infoSettingsFile(const QString& path, QTextStream& out, QTextStream& err)
{
    ConfigSettings settings;
    QString error;
    if (!readConfigFile(path, settings, &error))
        return refuse(err, error);
    const bool valid = settings.validateAndRepair();
    print(out, QJsonObject{
                   {"file", path},
                   {"kind", "settings"},
                   {"size", double(QFileInfo(path).size())},
                   {"settingsValid", valid},
                   {"settings", settingsJson(settings)},
               });
    return 0;
}

QJsonObject samplesJson(const QString& path)
{
    QList<qint16> samples(ConfigSettings::kSampleCount);
    QString error;
    if (!readAScanSamples(path, samples.data(), int(samples.size()), &error))
        return QJsonObject{{"path", path}, {"error", error}};
    const auto [lo, hi] = std::minmax_element(samples.cbegin(), samples.cend());
    return QJsonObject{{"path", path}, {"count", int(samples.size())}, {"min", *lo}, {"max", *hi}};
}

// path is the A-scan file N.bmp; strGiven is the file of its set that was named.
int infoAScan(const QString& path, const QString& strGiven, QTextStream& out, QTextStream& err)
{
    if (!QFileInfo(path).isFile())
        return refuse(err, QStringLiteral("\"%1\" is not a file").arg(path));
    if (!isAScanFile(path))
        return refuse(err, QStringLiteral("\"%1\" is not an A-scan file (no instrument data area "
                                          "with the signature \"M773\")").arg(path));
    AScanRecord record;
    if (!readAScanHeader(path, record))
        return refuse(err, QStringLiteral("\"%1\": the instrument data area is shorter than %2 bytes")
                               .arg(path).arg(kAScanDataAreaMinSize));

    // The same steps as loading the A-scan into the tab, reported one by one.
    const QString settingsPath = settingsPathFor(path);
    QJsonObject settingsFile{{"path", settingsPath}, {"exists", QFileInfo::exists(settingsPath)}};
    bool overrides = false;
    if (QFileInfo::exists(settingsPath)) {
        QString error;
        overrides = readConfigFile(settingsPath, record.fileSettings, &error);
        if (!overrides)
            settingsFile.insert("error", error);
    }
    settingsFile.insert("overrides", overrides);
    const bool valid = record.fileSettings.validateAndRepair();
    const QJsonObject samples = samplesJson(samplesPathFor(path));

    print(out, QJsonObject{
                   {"file", strGiven},
                   {"kind", "ascan"},
                   {"ascanFile", path},
                   {"name", record.name},
                   {"setupName", record.setupName},
                   {"version", QStringLiteral("%1.%2").arg(record.versionMajor).arg(record.versionMinor)},
                   {"date", ascanDateText(path)},
                   {"settingsFile", settingsFile},
                   {"settingsValid", valid},
                   {"settings", settingsJson(record.fileSettings)},
                   {"samples", samples},
                   {"loads", !samples.contains("error")},
               });
    return 0;
}

} // namespace

QJsonObject settingsJson(const ConfigSettings& s)
{
    QJsonArray points;
    for (int i = 0; i < qBound(0, s.tvg.iCount, TvgCurve::kMaxPoints); ++i)
        points.append(QJsonArray{s.tvg.points[i].iPosition, s.tvg.points[i].iLevel});
    return QJsonObject{
        {"eProbeType", s.eProbeType},
        {"iFrequency", s.iFrequency},
        {"iPeriodHalves", s.iPeriodHalves},
        {"dDelay", s.dDelay},
        {"iGain", s.iGain},
        {"ePulseVoltage", s.ePulseVoltage},
        {"iRepetitionRate", double(quint32(s.iRepetitionRate))},
        {"iSamplesPer10us", s.iSamplesPer10us},
        {"iInputFilter", s.iInputFilter},
        {"eTestingMethod", s.eTestingMethod},
        {"bSpectrum", s.bSpectrum},
        {"eSignalType", s.eSignalType},
        {"bAveraging", s.bAveraging},
        {"iAveraging", s.iAveraging},
        {"bAuxFlag", s.bAuxFlag},
        {"iAuxMode", s.iAuxMode},
        {"iLoupe", s.iLoupe},
        {"eResponseType", s.eResponseType},
        {"iVelocity", s.iVelocity},
        {"iBaseMode", s.iBaseMode},
        {"dBase", s.dBase},
        {"fBaseVelocity", real(s.fBaseVelocity)},
        {"eScaleUnits", s.eScaleUnits},
        {"iCursor", s.iCursor},
        {"eDiscreteness", s.eDiscreteness},
        {"iWindowStart", s.iWindowStart},
        {"iWindowEnd", s.iWindowEnd},
        {"iExtra1", s.iExtra1},
        {"iExtra2", s.iExtra2},
        {"bMeasured", s.bMeasured},
        {"fMeasuredTime", real(s.fMeasuredTime)},
        {"fPeakTime", real(s.fPeakTime)},
        {"iPeakAmplitude", s.iPeakAmplitude},
        {"fExtra3", real(s.fExtra3)},
        {"fExtra4", real(s.fExtra4)},
        {"tvg", QJsonObject{{"on", s.tvg.iOn}, {"count", s.tvg.iCount}, {"points", points}}},
        {"iStrobe", s.iStrobe},
        {"fStrobeStart", real(s.fStrobeStart)},
        {"fStrobeEnd", real(s.fStrobeEnd)},
        {"iStrobeLevel", s.iStrobeLevel},
    };
}

int runInfo(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-'))) {
        helpInfo(err);
        return 2;
    }
    const QString& path = args.first();
    if (path.endsWith(QLatin1String(".cfg"), Qt::CaseInsensitive))
        return infoMapConfig(path, out, err);
    // N.raw and N.sss name the A-scan N.bmp beside them, as N.bmp does itself.
    const bool bRaw = path.endsWith(QLatin1String(".raw"), Qt::CaseInsensitive);
    const bool bSettings = path.endsWith(QLatin1String(".sss"), Qt::CaseInsensitive);
    if (bRaw || bSettings) {
        const QString ascan = path.chopped(3) + QStringLiteral("bmp");
        if (QFileInfo(ascan).isFile())
            return infoAScan(ascan, path, out, err);
        // A settings file on its own is still worth reading; a signal without its A-scan is not.
        if (bSettings)
            return infoSettingsFile(path, out, err);
        return refuse(err, QStringLiteral("\"%1\" belongs to no A-scan: \"%2\" is missing").arg(path, ascan));
    }
    return infoAScan(path, path, out, err);
}

void helpInfo(QTextStream& out)
{
    out << "NAME\n"
           "    vantar-tool info - print what Vantar reads from an instrument file\n"
           "\n"
           "SYNOPSIS\n"
           "    vantar-tool info FILE\n"
           "\n"
           "DESCRIPTION\n"
           "    Reads FILE as Vantar does and prints the result as one JSON object.\n"
           "    The kind of file is told by its name:\n"
           "\n"
           "    *.cfg   a map's configuration file: title, map name, the settings record,\n"
           "            the geometry under MapData's names (stepH, stepV, columns, rows) and\n"
           "            the configuration's sizes (sizeH, sizeV).\n"
           "    N.raw, N.sss   a file of the A-scan N.bmp beside it: reported as that A-scan.\n"
           "    *.sss   an A-scan settings file without its N.bmp: \"settings\" holds the record,\n"
           "            \"size\" the file's length (135 + 8 bytes per TVG point).\n"
           "    other   an A-scan file N.bmp (\"ascanFile\"; \"file\" is the file named):\n"
           "            \"name\", \"setupName\", \"version\" (major.minor of\n"
           "            the data area), \"date\", \"settings\" (from N.sss when that file exists\n"
           "            and reads, else the instrument's block), \"settingsFile\" with \"path\",\n"
           "            \"exists\", \"overrides\" and, when N.sss is refused, \"error\";\n"
           "            \"samples\" with the \"path\" of N.raw and its \"count\", \"min\" and \"max\",\n"
           "            or an \"error\" when it is missing or short; \"loads\" tells whether\n"
           "            the A-scan tab would show it.\n"
           "\n"
           "    Settings appear under the record's field names in the code (eProbeType,\n"
           "    iFrequency, ..., iStrobeLevel) after the program's range repair;\n"
           "    \"settingsValid\" is false when a value had to be repaired. The TVG curve is\n"
           "    \"tvg\": {\"on\": 0|1, \"count\": n, \"points\": [[position, level], ...]}.\n"
           "\n"
           "EXIT STATUS\n"
           "    0  the file was read\n"
           "    1  the file was refused; the reason is written to standard error\n"
           "    2  wrong arguments\n"
           "\n"
           "EXAMPLE\n"
           "    vantar-tool info ascans/3.bmp\n";
}

} // namespace VantarTool
