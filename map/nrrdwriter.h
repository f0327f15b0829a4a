#pragma once
// Volumes as NRRD files (format 4, raw little-endian 16-bit), for looking at a map's volumes
// in other tools.

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>

//! A volume in MapData's layout ((i·dim1 + j)·dim2 + k, depth fastest) and where its voxels lie.
struct NrrdVolume
{
    const qint16* values = nullptr;
    int dim0 = 0;
    int dim1 = 0;
    int dim2 = 0;
    std::array<double, 3> spacing{5.0, 5.0, 5.0}; // mm between voxel centres along i, j, k
    std::array<double, 3> origin{0.0, 0.0, 0.0};  // mm, centre of voxel (0, 0, 0)
    QStringList comments;                         // "# " lines of the header
};

class NrrdWriter
{
    Q_DECLARE_TR_FUNCTIONS(NrrdWriter)

public:
    //! The header, ending in its blank line: sizes dim0 dim1 dim2 with the first fastest.
    static QByteArray header(const NrrdVolume& volume);
    //! The samples reordered so that i runs fastest, then j, then k; little-endian.
    static QByteArray data(const NrrdVolume& volume);
    //! Writes header and data to path through a temporary file that replaces it only when
    //! complete. False with a message when the volume is empty or the write fails.
    static bool write(const QString& path, const NrrdVolume& volume, QString* pError = nullptr);
    //! The same with any header: head, then data(volume). Shared by the other volume formats.
    static bool writeFile(const QString& path, const QByteArray& head, const NrrdVolume& volume,
                          QString* pError = nullptr);
};
