#include "ascan/reportpictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryDir>

ReportPictureStore::ReportPictureStore(const QString& strTempRoot)
{
    const QString root = strTempRoot.isEmpty() ? QDir::tempPath() : strTempRoot;
    QTemporaryDir dir(root + QStringLiteral("/vantar-report-XXXXXX"));
    if (!dir.isValid())
        return;
    // The folder is removed by removeAll(), which deletes only the files written here.
    dir.setAutoRemove(false);
    m_strDir = dir.path();
}

ReportPictureStore::~ReportPictureStore()
{
    removeAll();
}

QString ReportPictureStore::pathFor(const QString& strFileName) const
{
    if (m_strDir.isEmpty())
        return QString();
    return m_strDir + QLatin1Char('/') + strFileName;
}

QString ReportPictureStore::save(const QImage& image, const QString& strFileName)
{
    // Only plain names inside the run's folder; a separator would write elsewhere.
    if (m_strDir.isEmpty() || image.isNull() || strFileName.isEmpty()
        || strFileName.contains(QLatin1Char('/')) || strFileName.contains(QLatin1Char('\\'))
        || strFileName == QLatin1String(".") || strFileName == QLatin1String(".."))
        return QString();
    const QString path = pathFor(strFileName);
    QImageWriter writer(path, "JPG");
    // JPEG has no alpha; a transparent picture is put on white as paper shows it.
    QImage opaque = image;
    if (image.hasAlphaChannel()) {
        opaque = QImage(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        opaque.setDevicePixelRatio(image.devicePixelRatio());
        QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < source.height(); ++y) {
            const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
            QRgb* out = reinterpret_cast<QRgb*>(opaque.scanLine(y));
            for (int x = 0; x < source.width(); ++x) {
                const int a = qAlpha(in[x]);
                out[x] = qRgb(qRed(in[x]) + 255 - a, qGreen(in[x]) + 255 - a, qBlue(in[x]) + 255 - a);
            }
        }
    }
    const bool bWritten = writer.write(opaque);
    if (!m_files.contains(path) && (bWritten || QFile::exists(path)))
        m_files.append(path);
    if (!bWritten)
        return QString();
    return path;
}

void ReportPictureStore::removeAll()
{
    for (qsizetype i = m_files.size() - 1; i >= 0; --i)
        if (QFile::exists(m_files.at(i)))
            QFile::remove(m_files.at(i));
    m_files.clear();
    if (!m_strDir.isEmpty()) {
        // rmdir refuses a folder that still holds something, which is left to its owner.
        QDir().rmdir(m_strDir);
        if (!QFileInfo::exists(m_strDir))
            m_strDir.clear();
    }
}
