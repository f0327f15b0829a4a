#pragma once
// The indications of a map, kept by this program beside the map's files in "indications.json",
// and their export as CSV for other tools.

#include "map/mapindication.h"
#include "map/mapviewstatefile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>

#include <vector>

//! Reading, writing and exporting lists of indications. The file is a JSON object
//! {"format": "vantar-indications", "version": 1, "indications": [{...}, ...]}; each entry holds
//! number, label, comment, x, y, z, amplitude, db, sizeX, sizeY, sizeZ (mm) and manual.
class IndicationsFile
{
    Q_DECLARE_TR_FUNCTIONS(IndicationsFile)

public:
    static constexpr int kVersion = 1;
    //! Entries a file may hold, and its largest size in bytes.
    static constexpr int kMaxIndications = 10000;
    static constexpr qint64 kMaxFileBytes = qint64(8) * 1024 * 1024;
    //! Longest label and comment, in characters.
    static constexpr int kMaxLabelLength = 200;
    static constexpr int kMaxCommentLength = 10000;

    //! "indications.json".
    static QString fileName();
    //! strFolder + "/indications.json".
    static QString path(const QString& strFolder);

    static QByteArray encode(const std::vector<MapIndication>& list);
    //! Fails, leaving list unchanged and the reason in pWhy, unless the bytes are a complete
    //! file of this format and version whose every entry passes the checks.
    static bool decode(QByteArrayView bytes, std::vector<MapIndication>& list, QString* pWhy = nullptr);

    //! list changes only on Loaded; on Unreadable and Invalid pError says what is wrong with
    //! the file. Files above kMaxFileBytes are not read in.
    static StoredFileStatus read(const QString& strPath, std::vector<MapIndication>& list, QString* pError = nullptr);
    //! Replaces the file in one step; on failure the old file stays and pError says so.
    static bool write(const QString& strPath, const std::vector<MapIndication>& list, QString* pError = nullptr);

    //! The CSV header line (with a first column "map" when bWithMap) and the rows of a list,
    //! comma-separated, millimetres and dB with one decimal, texts quoted when they must be.
    static QByteArray csvHeader(bool bWithMap = false);
    static QByteArray csvRows(const std::vector<MapIndication>& list, const QString* pMap = nullptr);
    //! Header and rows written to strPath in one step.
    static bool writeCsv(const QString& strPath, const std::vector<MapIndication>& list, QString* pError = nullptr);
};
