#include "ascan/ascanfile.h"
#include "map/plainfileread.h"

#include "app/constants.h"
#include "ascan/instrumentblock.h"
#include "ascan/settingsfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <cstring>

namespace {

quint32 u32le(const char* p)
{
    const auto u = reinterpret_cast<const uchar*>(p);
    return quint32(u[0]) | (quint32(u[1]) << 8) | (quint32(u[2]) << 16) | (quint32(u[3]) << 24);
}

// Offset of the data area, or -1 when the file has none.
qint64 dataAreaOffset(QFile& file)
{
    char head[kAScanMinDataOffset];
    if (file.read(head, sizeof head) != qint64(sizeof head))
        return -1;
    const quint32 offset = u32le(head + 2);
    return offset > quint32(kAScanMinDataOffset) ? qint64(offset) : -1;
}

// Reads up to size bytes at offset into a zero-filled buffer; returns the bytes that existed.
qint64 readAt(QFile& file, qint64 offset, char* buffer, qint64 size)
{
    if (offset > file.size() || !file.seek(offset))
        return 0;
    const qint64 got = file.read(buffer, size);
    return got < 0 ? 0 : got;
}

bool readTitleArea(const QString& path, char (&area)[kAScanTitleSize])
{
    QFile file(path);
    if (!Vantar::openPlainFile(file))
        return false;
    const qint64 offset = dataAreaOffset(file);
    if (offset < 0 || readAt(file, offset, area, kAScanTitleSize) != kAScanTitleSize)
        return false;
    return std::memcmp(area + kAScanSignatureOffset, Vantar::kInstrumentSignature, 4) == 0;
}

QString companion(const QString& path, const char* extension)
{
    return path.left(qMax<qsizetype>(0, path.size() - 3)) + QLatin1String(extension);
}

} // namespace

bool isAScanFile(const QString& strPath)
{
    char area[kAScanTitleSize];
    return readTitleArea(strPath, area);
}

QString readAScanTitle(const QString& strPath)
{
    char area[kAScanTitleSize];
    if (!readTitleArea(strPath, area))
        return QString();
    return instrumentText(QByteArrayView(area + kAScanNameOffset, kInstrumentTextSize));
}

bool parseAScanDataArea(QByteArrayView area, AScanRecord& record)
{
    if (area.size() < kAScanDataAreaMinSize)
        return false;
    // What the file lacks of the layout reads as zero.
    QByteArray full(kAScanDataAreaSize, '\0');
    std::memcpy(full.data(), area.data(), size_t(qMin<qsizetype>(area.size(), kAScanDataAreaSize)));

    AScanRecord r = record;
    r.versionMajor = quint8(full[0]);
    r.versionMinor = quint8(full[1]);
    const bool v34 = isVersion34OrLater(r.versionMajor, r.versionMinor);
    r.name = instrumentText(QByteArrayView(full).sliced(kAScanNameOffset, kInstrumentTextSize));
    r.setupName = instrumentText(QByteArrayView(full).sliced(kAScanSetupNameOffset, kInstrumentTextSize));
    const int blockSize = v34 ? kInstrumentBlockSize34 : kInstrumentBlockSize;
    if (parseInstrumentBlock(QByteArrayView(full).sliced(kAScanBlockOffset, blockSize), v34,
                             r.fileSettings) == 0)
        return false;
    record = r;
    return true;
}

bool readAScanHeader(const QString& strPath, AScanRecord& record)
{
    QFile file(strPath);
    if (!Vantar::openPlainFile(file))
        return false;
    const qint64 offset = dataAreaOffset(file);
    if (offset < 0)
        return false;
    QByteArray area(kAScanDataAreaSize, '\0');
    const qint64 got = readAt(file, offset, area.data(), area.size());
    return parseAScanDataArea(QByteArrayView(area.constData(), got), record);
}

bool readAScanSamples(const QString& strRawPath, qint16* samples, int count, QString* pError)
{
    auto fail = [&](const QString& text) {
        if (pError)
            *pError = text;
        return false;
    };
    if (count < 0 || (count > 0 && !samples))
        return fail(QCoreApplication::translate("AScanFile", "Couldn't read signal file \"%1\"!").arg(strRawPath));
    QFile file(strRawPath);
    if (!file.exists())
        return fail(QCoreApplication::translate("AScanFile", "The signal file \"%1\" does not exist!").arg(strRawPath));
    if (!Vantar::openPlainFile(file))
        return fail(QCoreApplication::translate("AScanFile", "Couldn't read signal file \"%1\"!").arg(strRawPath));
    const qint64 bytes = qint64(count) * 2;
    QByteArray data(bytes, Qt::Uninitialized);
    if (file.read(data.data(), bytes) != bytes)
        return fail(QCoreApplication::translate("AScanFile", "The signal file \"%1\" is too short!").arg(strRawPath));
    const auto u = reinterpret_cast<const uchar*>(data.constData());
    for (int i = 0; i < count; ++i)
        samples[i] = qint16(quint16(u[2 * i]) | (quint16(u[2 * i + 1]) << 8));
    return true;
}

bool loadAScanRecord(const QString& strPath, AScanRecord& record, QString* pError,
                     QString* pWarning)
{
    auto fail = [&](const QString& text) {
        if (pError)
            *pError = text;
        return false;
    };
    if (strPath.isEmpty())
        return fail(QCoreApplication::translate("AScanFile", "No A-scan file was given!"));
    AScanRecord r = record;
    if (!readAScanHeader(strPath, r))
        return fail(QCoreApplication::translate("AScanFile", "The file \"%1\" is not a usable A-scan file!").arg(strPath));
    r.path = strPath;
    r.settingsFromFile = false;
    const QString settingsPath = settingsPathFor(strPath);
    if (QFileInfo::exists(settingsPath)) {
        QString warning;
        if (readConfigFile(settingsPath, r.fileSettings, &warning))
            r.settingsFromFile = true;
        else if (pWarning)
            *pWarning = warning;
    }
    r.fileSettings.validateAndRepair();
    r.currentSettings = r.fileSettings;
    r.samples.resize(ConfigSettings::kSampleCount);
    if (!readAScanSamples(samplesPathFor(strPath), r.samples.data(), int(r.samples.size()), pError))
        return false;
    r.date = ascanDateText(strPath);
    record = std::move(r);
    return true;
}

QString samplesPathFor(const QString& strPath)
{
    return companion(strPath, "raw");
}

QString settingsPathFor(const QString& strPath)
{
    return companion(strPath, Vantar::kSettingsExtension);
}

QString ascanDateText(const QDateTime& time)
{
    return time.toString(QStringLiteral("dd.MM.yy   hh:mm"));
}

QString ascanDateText(const QString& strPath)
{
    const QFileInfo info(strPath);
    const QDateTime born = info.birthTime();
    return ascanDateText(born.isValid() ? born : info.lastModified());
}

int sortNumbered(QStringList& names)
{
    QMap<int, QString> byNumber;
    for (const QString& name : std::as_const(names)) {
        if (name.size() <= 4)
            continue;
        bool ok = false;
        const int number = name.chopped(4).toInt(&ok, 10);
        if (ok && number > 0)
            byNumber.insert(number, name);
    }
    names = byNumber.values();
    return int(names.size());
}
