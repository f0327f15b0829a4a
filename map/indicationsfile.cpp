#include "map/indicationsfile.h"

#include "app/constants.h"
#include "map/storedfilewrite.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSet>

#include <cmath>

namespace {

const QLatin1String kFormat("vantar-indications");

// Largest coordinate or size taken from a file, mm: far beyond any map, small enough that
// nothing computed from it overflows.
constexpr double kMaxMm = 1.0e7;
constexpr double kMinDb = -1000.0;

QByteArray csvField(const QString& text)
{
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r')
                       || (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!quote)
        return text.toUtf8();
    QString q = text;
    q.replace(u'"', QLatin1String("\"\""));
    return '"' + q.toUtf8() + '"';
}

// A number from an entry, finite and within lo … hi.
bool number(const QJsonObject& o, const char* key, double lo, double hi, double& out)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (!std::isfinite(d) || d < lo || d > hi)
        return false;
    out = d;
    return true;
}

bool whole(const QJsonObject& o, const char* key, int lo, int hi, int& out)
{
    double d = 0;
    if (!number(o, key, lo, hi, d) || d != std::floor(d))
        return false;
    out = int(d);
    return true;
}

bool text(const QJsonObject& o, const char* key, int iMaxLength, QString& out)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isString() || v.toString().size() > iMaxLength)
        return false;
    out = v.toString();
    return true;
}

// The first key of an entry that is missing or fails its check, or null when all pass.
const char* readEntry(const QJsonObject& o, MapIndication& ind)
{
    if (!whole(o, "number", 1, IndicationsFile::kMaxIndications * 100, ind.number))
        return "number";
    if (!text(o, "label", IndicationsFile::kMaxLabelLength, ind.label))
        return "label";
    if (!text(o, "comment", IndicationsFile::kMaxCommentLength, ind.comment))
        return "comment";
    if (!number(o, "x", -kMaxMm, kMaxMm, ind.x))
        return "x";
    if (!number(o, "y", -kMaxMm, kMaxMm, ind.y))
        return "y";
    if (!number(o, "z", -kMaxMm, kMaxMm, ind.z))
        return "z";
    if (!whole(o, "amplitude", -32768, 32767, ind.amplitude))
        return "amplitude";
    if (!number(o, "db", kMinDb, 0.0, ind.db))
        return "db";
    if (!number(o, "sizeX", 0.0, kMaxMm, ind.sizeX))
        return "sizeX";
    if (!number(o, "sizeY", 0.0, kMaxMm, ind.sizeY))
        return "sizeY";
    if (!number(o, "sizeZ", 0.0, kMaxMm, ind.sizeZ))
        return "sizeZ";
    const QJsonValue manual = o.value(QLatin1String("manual"));
    if (!manual.isBool())
        return "manual";
    ind.manual = manual.toBool();
    return nullptr;
}

} // namespace

QString IndicationsFile::fileName()
{
    return QLatin1String(Vantar::kIndicationsFileName);
}

QString IndicationsFile::path(const QString& strFolder)
{
    return strFolder + u'/' + fileName();
}

QByteArray IndicationsFile::encode(const std::vector<MapIndication>& list)
{
    QJsonArray entries;
    for (const MapIndication& ind : list)
        entries.append(QJsonObject{{"number", ind.number},
                                   {"label", ind.label},
                                   {"comment", ind.comment},
                                   {"x", ind.x},
                                   {"y", ind.y},
                                   {"z", ind.z},
                                   {"amplitude", ind.amplitude},
                                   {"db", ind.db},
                                   {"sizeX", ind.sizeX},
                                   {"sizeY", ind.sizeY},
                                   {"sizeZ", ind.sizeZ},
                                   {"manual", ind.manual}});
    const QJsonObject root{{"format", kFormat}, {"version", kVersion}, {"indications", entries}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool IndicationsFile::decode(QByteArrayView bytes, std::vector<MapIndication>& list, QString* pWhy)
{
    auto fail = [pWhy](const QString& why) {
        if (pWhy)
            *pWhy = why;
        return false;
    };
    if (bytes.size() > kMaxFileBytes)
        return fail(tr("it is larger than %1 MB").arg(kMaxFileBytes / (1024 * 1024)));
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes.toByteArray(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        // Text that does not even start like a JSON object is some other kind of file.
        const QByteArray start = bytes.toByteArray().trimmed().left(1);
        if (start != "{")
            return fail(tr("it is not an indications file of this program"));
        return fail(tr("it is damaged or cut short (at byte %1)").arg(parse.offset));
    }
    if (!doc.isObject() || doc.object().value(QLatin1String("format")).toString() != kFormat)
        return fail(tr("it is not an indications file of this program"));
    const QJsonObject root = doc.object();
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() != std::floor(version.toDouble()) || version.toDouble() < 1)
        return fail(tr("its format version is missing or damaged"));
    if (version.toDouble() > kVersion)
        return fail(tr("it was written by a newer version of the program (format version %1)")
                        .arg(version.toDouble(), 0, 'f', 0));
    const QJsonValue entries = root.value(QLatin1String("indications"));
    if (!entries.isArray())
        return fail(tr("it holds no list of indications"));
    const QJsonArray array = entries.toArray();
    if (array.size() > kMaxIndications)
        return fail(tr("it holds more than %1 indications").arg(kMaxIndications));
    std::vector<MapIndication> read;
    read.reserve(size_t(array.size()));
    QSet<int> numbers;
    for (qsizetype n = 0; n < array.size(); ++n) {
        if (!array.at(n).isObject())
            return fail(tr("its entry %1 is not an indication").arg(n + 1));
        MapIndication ind;
        if (const char* key = readEntry(array.at(n).toObject(), ind))
            return fail(tr("its entry %1 has no valid \"%2\"").arg(n + 1).arg(QLatin1String(key)));
        if (numbers.contains(ind.number))
            return fail(tr("its entry %1 repeats the number %2").arg(n + 1).arg(ind.number));
        numbers.insert(ind.number);
        read.push_back(ind);
    }
    list = std::move(read);
    return true;
}

StoredFileStatus IndicationsFile::read(const QString& strPath, std::vector<MapIndication>& list, QString* pError)
{
    auto fail = [&](StoredFileStatus eStatus, const QString& why) {
        if (pError)
            *pError = tr("The indications file \"%1\" was not read: %2.").arg(strPath, why);
        return eStatus;
    };
    QFile file(strPath);
    if (!file.exists())
        return StoredFileStatus::Missing;
    // A folder, a pipe or a device under this name is never read: a pipe would block.
    if (!QFileInfo(strPath).isFile())
        return fail(StoredFileStatus::Unreadable, tr("it is not a plain file"));
    if (!file.open(QIODevice::ReadOnly))
        return fail(StoredFileStatus::Unreadable, tr("it cannot be opened (%1)").arg(file.errorString()));
    // One byte past the limit tells a file that is too large without reading it all in.
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(StoredFileStatus::Unreadable, tr("it cannot be read (%1)").arg(file.errorString()));
    QString why;
    if (!decode(bytes, list, &why))
        return fail(StoredFileStatus::Invalid, why);
    return StoredFileStatus::Loaded;
}

bool IndicationsFile::write(const QString& strPath, const std::vector<MapIndication>& list, QString* pError)
{
    if (Vantar::writeWholeFile(strPath, encode(list)))
        return true;
    if (pError)
        *pError = tr("Couldn't save indications to file \"%1\"!").arg(strPath);
    return false;
}

QByteArray IndicationsFile::csvHeader(bool bWithMap)
{
    return QByteArray(bWithMap ? "map," : "") + "number,label,x,y,z,amplitude,db,sizeX,sizeY,sizeZ,manual,comment\n";
}

QByteArray IndicationsFile::csvRows(const std::vector<MapIndication>& list, const QString* pMap)
{
    QByteArray csv;
    for (const MapIndication& ind : list) {
        if (pMap)
            csv += csvField(*pMap) + ',';
        const QStringList numbers{QString::number(ind.number), MapIndication::decimal(ind.x),     MapIndication::decimal(ind.y),
                                  MapIndication::decimal(ind.z),             QString::number(ind.amplitude),
                                  MapIndication::decimal(ind.db),            MapIndication::decimal(ind.sizeX), MapIndication::decimal(ind.sizeY),
                                  MapIndication::decimal(ind.sizeZ)};
        csv += numbers.first().toUtf8() + ',' + csvField(ind.label);
        for (qsizetype n = 1; n < numbers.size(); ++n)
            csv += ',' + numbers[n].toUtf8();
        csv += QByteArray(ind.manual ? ",true," : ",false,") + csvField(ind.comment) + '\n';
    }
    return csv;
}

bool IndicationsFile::writeCsv(const QString& strPath, const std::vector<MapIndication>& list, QString* pError)
{
    if (Vantar::writeWholeFile(strPath, csvHeader() + csvRows(list)))
        return true;
    if (pError)
        *pError = tr("Couldn't write the file \"%1\"!").arg(strPath);
    return false;
}
