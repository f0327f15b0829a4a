#include "map/nrrdwriter.h"

#include <QSaveFile>

namespace {

QByteArray number(double v)
{
    return QByteArray::number(v, 'g', 17);
}

} // namespace

QByteArray NrrdWriter::header(const NrrdVolume& v)
{
    QByteArray h = "NRRD0004\n";
    for (const QString& c : v.comments)
        h += "# " + c.toUtf8().replace('\n', ' ') + '\n';
    h += "type: int16\n";
    h += "dimension: 3\n";
    h += "space dimension: 3\n";
    h += "sizes: " + QByteArray::number(v.dim0) + ' ' + QByteArray::number(v.dim1) + ' ' + QByteArray::number(v.dim2)
         + '\n';
    h += "space directions: (" + number(v.spacing[0]) + ",0,0) (0," + number(v.spacing[1]) + ",0) (0,0,"
         + number(v.spacing[2]) + ")\n";
    h += "space units: \"mm\" \"mm\" \"mm\"\n";
    h += "space origin: (" + number(v.origin[0]) + ',' + number(v.origin[1]) + ',' + number(v.origin[2]) + ")\n";
    h += "encoding: raw\n";
    h += "endian: little\n";
    h += '\n';
    return h;
}

QByteArray NrrdWriter::data(const NrrdVolume& v)
{
    if (!v.values || v.dim0 <= 0 || v.dim1 <= 0 || v.dim2 <= 0)
        return QByteArray();
    const qint64 count = qint64(v.dim0) * v.dim1 * v.dim2;
    QByteArray b(qsizetype(count * 2), Qt::Uninitialized);
    char* out = b.data();
    for (int k = 0; k < v.dim2; ++k)
        for (int j = 0; j < v.dim1; ++j)
            for (int i = 0; i < v.dim0; ++i) {
                const quint16 u = quint16(v.values[(qint64(i) * v.dim1 + j) * v.dim2 + k]);
                *out++ = char(u & 0xFF);
                *out++ = char(u >> 8);
            }
    return b;
}

bool NrrdWriter::write(const QString& path, const NrrdVolume& v, QString* pError)
{
    return writeFile(path, header(v), v, pError);
}

bool NrrdWriter::writeFile(const QString& path, const QByteArray& head, const NrrdVolume& v, QString* pError)
{
    const QByteArray body = data(v);
    if (body.isEmpty()) {
        if (pError)
            *pError = tr("There is no volume to write to \"%1\".").arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(head) != head.size() || file.write(body) != body.size()
        || !file.commit()) {
        if (pError)
            *pError = tr("Couldn't write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
