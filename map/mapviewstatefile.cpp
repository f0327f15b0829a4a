#include "map/mapviewstatefile.h"
#include "map/plainfileread.h"

#include "map/storedfilewrite.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>

namespace {

constexpr qint32 kMaxDepth = 35000;
constexpr qint32 kMinFrequency = 25;
constexpr qint32 kMaxFrequency = 250;
constexpr qint32 kFallbackFrequency = 50;
constexpr double kMinVelocity = 0.5;
constexpr double kMaxVelocity = 15.0;
constexpr double kFallbackVelocity = 2.6;
constexpr qint32 kMaxTcg = 30;

void prepare(QDataStream& stream)
{
    stream.setVersion(QDataStream::Qt_4_6);
    stream.setByteOrder(QDataStream::BigEndian);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
}

// Flags are single bytes; anything but 0 or 1 is damage, not a setting.
class FlagReader
{
public:
    explicit FlagReader(QDataStream& in) : m_in(in) {}
    bool read()
    {
        quint8 v = 0;
        m_in >> v;
        if (v > 1)
            m_ok = false;
        return v == 1;
    }
    bool ok() const { return m_ok; }

private:
    QDataStream& m_in;
    bool m_ok = true;
};

QString saveError(const QString& strPath)
{
    return QCoreApplication::translate("CMapScans", "Couldn't save comments to file \"") + strPath
           + QLatin1String("\"!");
}

} // namespace

QByteArray encodeViewSettingsFile(const SAFTsettings& saft, const MapViewState& state)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    prepare(out);
    out << qint32(saft.depth) << qint32(saft.frequency) << qint32(saft.bandwidth) << double(saft.velocity)
        << qint32(saft.tcg) << bool(saft.filterSW);
    out << qint32(state.brightness) << qint32(state.threshold) << bool(state.limitsMode)
        << qint8(state.measuringMode);
    const MapBox& b = state.box;
    out << b.x1 << b.y1 << b.z1 << b.x2 << b.y2 << b.z2;
    out << qint32(state.sliceX) << qint32(state.sliceY) << qint32(state.sliceZ);
    const MapViewRanges& r = state.ranges;
    out << qint8(r.viewingMode) << r.dim0 << r.dim1 << r.dim2;
    out << r.range0.first << r.range0.last << r.range1.first << r.range1.last << r.range2.first
        << r.range2.last;
    return out.status() == QDataStream::Ok ? bytes : QByteArray();
}

bool decodeViewSettingsFile(QByteArrayView bytes, SAFTsettings& saft, MapViewState& state)
{
    if (bytes.size() != kViewSettingsFileSize)
        return false;
    const QByteArray copy = bytes.toByteArray();
    QDataStream in(copy);
    prepare(in);
    FlagReader flag(in);
    SAFTsettings s;
    MapViewState v;
    qint8 i8 = 0;

    in >> s.depth >> s.frequency >> s.bandwidth >> s.velocity >> s.tcg;
    s.filterSW = flag.read();
    in >> v.brightness >> v.threshold;
    v.limitsMode = flag.read();
    in >> i8;
    v.measuringMode = i8;
    MapBox& b = v.box;
    in >> b.x1 >> b.y1 >> b.z1 >> b.x2 >> b.y2 >> b.z2;
    in >> v.sliceX >> v.sliceY >> v.sliceZ;
    MapViewRanges& r = v.ranges;
    in >> i8;
    if (i8 != ProcessedView && i8 != RawView)
        return false;
    r.viewingMode = EScanProcessing(i8);
    in >> r.dim0 >> r.dim1 >> r.dim2;
    in >> r.range0.first >> r.range0.last >> r.range1.first >> r.range1.last >> r.range2.first
        >> r.range2.last;

    if (in.status() != QDataStream::Ok || !in.atEnd() || !flag.ok())
        return false;
    saft = s;
    state = v;
    return true;
}

bool checkViewSettings(SAFTsettings& saft, const MapViewState& state)
{
    if (!state.isValid())
        return false;
    SAFTsettings s = saft;
    // A depth of nothing or beyond the instrument builds no volume worth showing, so such a
    // file is refused rather than repaired.
    if (s.depth < 0 || s.depth > kMaxDepth)
        return false;
    if (s.bandwidth < 25 || s.bandwidth > 100 || s.bandwidth % 25 != 0)
        return false;
    if (s.tcg < 0 || s.tcg > kMaxTcg)
        return false;
    if (s.frequency < kMinFrequency || s.frequency > kMaxFrequency)
        s.frequency = kFallbackFrequency;
    // Written this way so that a NaN is replaced too.
    if (!(s.velocity >= kMinVelocity && s.velocity <= kMaxVelocity))
        s.velocity = kFallbackVelocity;
    saft = s;
    return true;
}

StoredFileStatus readViewSettingsFile(const QString& strPath, SAFTsettings& saft, MapViewState& state)
{
    QFile file(strPath);
    if (!file.exists())
        return StoredFileStatus::Missing;
    if (!Vantar::openPlainFile(file))
        return StoredFileStatus::Unreadable;
    // One byte more than the only valid size is enough to see that a file is too long.
    const QByteArray bytes = file.read(kViewSettingsFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return StoredFileStatus::Unreadable;
    SAFTsettings s = saft;
    MapViewState v = state;
    if (!decodeViewSettingsFile(bytes, s, v) || !checkViewSettings(s, v))
        return StoredFileStatus::Invalid;
    saft = s;
    state = v;
    return StoredFileStatus::Loaded;
}

bool writeViewSettingsFile(const QString& strPath, const SAFTsettings& saft, const MapViewState& state,
                           QString* pError)
{
    const QByteArray bytes = encodeViewSettingsFile(saft, state);
    if (bytes.size() == kViewSettingsFileSize && Vantar::writeWholeFile(strPath, bytes))
        return true;
    if (pError)
        *pError = saveError(strPath);
    return false;
}
