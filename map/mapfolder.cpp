#include "map/mapfolder.h"

#include "map/maptrace.h"

#include <QDir>
#include <QFileInfo>

bool MapFolder::parseSignalFileName(const QString& name, MapPositionKey& key, bool* outOfRange)
{
    if (outOfRange)
        *outOfRange = false;
    const QString stem = name.left(qMax<qsizetype>(0, name.size() - 4));
    const QStringList parts = stem.split(u'_', Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return false;
    bool okI = false;
    bool okJ = false;
    const qlonglong i = parts[0].toLongLong(&okI, 10);
    const qlonglong j = parts[1].toLongLong(&okJ, 10);
    if (!okI || !okJ)
        return false;
    if (i < 1 || j < 1 || i > Vantar::kMaxPositionIndex || j > Vantar::kMaxPositionIndex) {
        if (outOfRange)
            *outOfRange = true;
        return false;
    }
    key = MapPositionKey{int(i), int(j)};
    return true;
}

qint64 MapFolder::signalBytes(qint64 count)
{
    return count * MapTrace::bytesFor(Vantar::kMapSampleCount);
}

bool MapFolder::scan(const QString& folder, Scan& out, QString* error, qint64 memoryLimit)
{
    Scan s;
    const QDir dir(folder);
    if (!dir.exists()) {
        if (error)
            *error = tr("The map folder \"%1\" cannot be read.").arg(folder);
        out = s;
        return false;
    }
    const QStringList names =
        dir.entryList(QStringList{QStringLiteral("*.raw")}, QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QString& name : names) {
        MapPositionKey key;
        bool rangeRefused = false;
        if (!parseSignalFileName(name, key, &rangeRefused)) {
            ++(rangeRefused ? s.outOfRange : s.ignored);
            continue;
        }
        s.positions[key] = folder + u'/' + name;
        s.columns = qMax(s.columns, key.i);
        s.rows = qMax(s.rows, key.j);
    }
    const qint64 bytes = signalBytes(qint64(s.positions.size()));
    if (bytes > memoryLimit) {
        if (error)
            *error = tr("The map has %1 signal files; their signals need %2 MB of memory, more than the %3 MB "
                        "that a map may take.")
                         .arg(s.positions.size())
                         .arg(bytes / (1024 * 1024))
                         .arg(memoryLimit / (1024 * 1024));
        out = Scan();
        return false;
    }
    out = s;
    return true;
}
