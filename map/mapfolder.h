#pragma once
// The signal files of a map folder: i_j.raw, one per probe position.

#include "map/maplimits.h"
#include "map/mappositionkey.h"

#include <QCoreApplication>
#include <QString>

//! Listing of a map folder: which positions have a signal file.
class MapFolder
{
    Q_DECLARE_TR_FUNCTIONS(MapFolder)

public:
    //! What a scan found.
    struct Scan
    {
        MapPositionTable positions; // position → folder + "/" + file name, in key order
        int columns = 0;            // largest i found
        int rows = 0;               // largest j found
        int ignored = 0;            // "*.raw" names that are not i_j
        int outOfRange = 0;         // i_j names with an index outside 1 … kMaxPositionIndex
    };

    //! Position of a signal file name: the name without its last four characters, split at
    //! "_" leaving out empty parts, must give exactly two base-10 integers, each in
    //! 1 … kMaxPositionIndex. outOfRange (optional) tells whether a name of two integers was
    //! refused for its range.
    static bool parseSignalFileName(const QString& name, MapPositionKey& key, bool* outOfRange = nullptr);

    //! Lists the "*.raw" files of folder (no directories, no symbolic links) in name order.
    //! False with a message when the folder cannot be listed, or when the signals of the
    //! positions found would need more than memoryLimit bytes.
    static bool scan(const QString& folder, Scan& out, QString* error = nullptr,
                     qint64 memoryLimit = Vantar::kMapMemoryLimit);

    //! Bytes the signals of count positions take in memory (three arrays of 40000 samples).
    static qint64 signalBytes(qint64 count);
};
