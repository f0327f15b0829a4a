#include "map/metaimagewriter.h"

namespace {

QByteArray triple(const std::array<double, 3>& v)
{
    return QByteArray::number(v[0], 'g', 17) + ' ' + QByteArray::number(v[1], 'g', 17) + ' '
           + QByteArray::number(v[2], 'g', 17);
}

} // namespace

QByteArray MetaImageWriter::header(const NrrdVolume& v)
{
    QByteArray h;
    h += "ObjectType = Image\n";
    h += "NDims = 3\n";
    h += "BinaryData = True\n";
    h += "BinaryDataByteOrderMSB = False\n";
    h += "CompressedData = False\n";
    h += "TransformMatrix = 1 0 0 0 1 0 0 0 1\n";
    h += "Offset = " + triple(v.origin) + '\n';
    h += "ElementSpacing = " + triple(v.spacing) + '\n';
    h += "DimSize = " + QByteArray::number(v.dim0) + ' ' + QByteArray::number(v.dim1) + ' '
         + QByteArray::number(v.dim2) + '\n';
    h += "ElementType = MET_SHORT\n";
    h += "ElementDataFile = LOCAL\n";
    return h;
}

bool MetaImageWriter::write(const QString& path, const NrrdVolume& v, QString* pError)
{
    return NrrdWriter::writeFile(path, header(v), v, pError);
}
