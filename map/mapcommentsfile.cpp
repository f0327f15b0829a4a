#include "map/mapcommentsfile.h"
#include "map/plainfileread.h"

#include "map/storedfilewrite.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>

namespace {

constexpr qsizetype kLengthSize = 4;
constexpr quint32 kNullLength = 0xFFFFFFFFu;

QString readError(const QString& strPath)
{
    return QCoreApplication::translate("CMapScans", "Couldn't read file \"") + strPath + QLatin1String("\"!");
}

QString saveError(const QString& strPath)
{
    return QCoreApplication::translate("CMapScans", "Couldn't save comments to file \"") + strPath
           + QLatin1String("\"!");
}

StoredFileStatus fail(StoredFileStatus eStatus, const QString& strPath, QString* pError)
{
    if (pError)
        *pError = readError(strPath);
    return eStatus;
}

} // namespace

QByteArray encodeCommentsFile(const QString& strComments)
{
    if (qsizetype(strComments.size()) * 2 > kMaxCommentsBytes)
        return QByteArray();
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_6);
    out.setByteOrder(QDataStream::BigEndian);
    out << strComments;
    return out.status() == QDataStream::Ok ? bytes : QByteArray();
}

bool decodeCommentsFile(QByteArrayView bytes, QString& strComments)
{
    if (bytes.size() < kLengthSize)
        return false;
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const quint32 length = (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
    const qsizetype rest = bytes.size() - kLengthSize;
    if (length == kNullLength) {
        if (rest != 0)
            return false;
        strComments = QString();
        return true;
    }
    // The length is checked against the bytes that are really there before any text is made,
    // so a damaged length can neither ask for a huge buffer nor read past the end.
    if (length % 2 != 0 || qsizetype(length) != rest || rest > kMaxCommentsBytes)
        return false;
    const qsizetype count = rest / 2;
    QString text(count, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < count; ++i)
        out[i] = char16_t((quint32(p[kLengthSize + 2 * i]) << 8) | quint32(p[kLengthSize + 2 * i + 1]));
    strComments = text;
    return true;
}

StoredFileStatus readCommentsFile(const QString& strPath, QString& strComments, QString* pError)
{
    QFile file(strPath);
    if (!file.exists())
        return StoredFileStatus::Missing;
    if (!Vantar::openPlainFile(file))
        return fail(StoredFileStatus::Unreadable, strPath, pError);
    // A file beyond the largest valid one is not read in at all.
    if (file.size() > kLengthSize + kMaxCommentsBytes)
        return fail(StoredFileStatus::Invalid, strPath, pError);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(StoredFileStatus::Unreadable, strPath, pError);
    if (!decodeCommentsFile(bytes, strComments))
        return fail(StoredFileStatus::Invalid, strPath, pError);
    return StoredFileStatus::Loaded;
}

bool writeCommentsFile(const QString& strPath, const QString& strComments, QString* pError)
{
    const QByteArray bytes = encodeCommentsFile(strComments);
    if (!bytes.isEmpty() && Vantar::writeWholeFile(strPath, bytes))
        return true;
    if (pError)
        *pError = saveError(strPath);
    return false;
}
