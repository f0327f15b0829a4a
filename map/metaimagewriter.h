#pragma once
// Volumes as single-file MetaImage (.mha), the other format volume viewers commonly open.

#include "map/nrrdwriter.h"

#include <QByteArray>
#include <QString>

class MetaImageWriter
{
public:
    //! The header lines up to and including "ElementDataFile = LOCAL": the samples follow it
    //! directly, in the order and byte order of NrrdWriter::data.
    static QByteArray header(const NrrdVolume& volume);
    //! Header and samples to path through a temporary file that replaces it only when
    //! complete. False with a message when the volume is empty or the write fails.
    static bool write(const QString& path, const NrrdVolume& volume, QString* pError = nullptr);
};
