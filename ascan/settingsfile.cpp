#include "ascan/settingsfile.h"
#include "map/plainfileread.h"

#include "map/storedfilewrite.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>

#include <cmath>

namespace {

constexpr int kFixedSize = 135;
constexpr int kPointSize = 8;
constexpr int kCountOffset = 112;
// Times are at most a few thousand µs and lengths and velocities some ten thousands; a value
// beyond this is damage, not data, and would not even fit the float it is narrowed to.
constexpr double kRealLimit = 1.0e9;

void prepare(QDataStream& stream)
{
    stream.setVersion(QDataStream::Qt_4_6);
    stream.setByteOrder(QDataStream::BigEndian);
    stream.setFloatingPointPrecision(QDataStream::DoublePrecision);
}

void writeInt8(QDataStream& out, qint32 v)
{
    out << quint8(v & 0xFF);
}

qint32 readInt8(QDataStream& in)
{
    quint8 v = 0;
    in >> v;
    return v;
}

class RealReader
{
public:
    explicit RealReader(QDataStream& in) : m_in(in) {}
    double read()
    {
        double v = 0.0;
        m_in >> v;
        if (!std::isfinite(v) || std::fabs(v) > kRealLimit) {
            m_ok = false;
            return 0.0;
        }
        return v;
    }
    float readFloat() { return float(read()); }
    bool ok() const { return m_ok; }

private:
    QDataStream& m_in;
    bool m_ok = true;
};

QString saveError(const QString& path)
{
    return QCoreApplication::translate("ConfigSettings",
                                       "Couldn't save changed configuration to file \"%1\"!")
        .arg(path);
}

QString readError(const QString& path)
{
    return QCoreApplication::translate("ConfigSettings", "Couldn't read configuration file \"%1\"!")
        .arg(path);
}

bool fail(QString* pError, const QString& text)
{
    if (pError)
        *pError = text;
    return false;
}

void writeRecord(QDataStream& out, const ConfigSettings& s)
{
    const qint32 count = qBound(0, s.tvg.iCount, TvgCurve::kMaxPoints);
    writeInt8(out, s.eProbeType);
    out << qint32(s.iFrequency) << qint16(s.iPeriodHalves) << double(s.dDelay) << qint16(s.iGain);
    writeInt8(out, s.ePulseVoltage);
    out << qint32(s.iRepetitionRate) << qint16(s.iSamplesPer10us);
    writeInt8(out, s.iInputFilter);
    writeInt8(out, s.eTestingMethod);
    out << s.bSpectrum;
    writeInt8(out, s.eSignalType);
    out << s.bAveraging << qint16(s.iAveraging) << s.bAuxFlag << qint32(s.iAuxMode);
    writeInt8(out, s.iLoupe);
    writeInt8(out, s.eResponseType);
    out << qint16(s.iVelocity);
    writeInt8(out, s.iBaseMode);
    out << double(s.dBase) << double(s.fBaseVelocity);
    writeInt8(out, s.eScaleUnits);
    writeInt8(out, s.iCursor);
    writeInt8(out, s.eDiscreteness);
    out << qint32(s.iWindowStart) << qint32(s.iWindowEnd) << qint32(s.iExtra1) << qint32(s.iExtra2)
        << s.bMeasured << double(s.fMeasuredTime) << double(s.fPeakTime) << qint16(s.iPeakAmplitude)
        << double(s.fExtra3) << double(s.fExtra4);
    writeInt8(out, s.tvg.iOn);
    out << count;
    for (int i = 0; i < count; ++i)
        out << qint32(s.tvg.points[i].iPosition) << qint32(s.tvg.points[i].iLevel);
    writeInt8(out, s.iStrobe);
    out << double(s.fStrobeStart) << double(s.fStrobeEnd) << qint16(s.iStrobeLevel);
}

} // namespace

qsizetype configFileSize(int iTvgCount)
{
    return kFixedSize + qsizetype(kPointSize) * iTvgCount;
}

QByteArray encodeConfigFile(const ConfigSettings& settings)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    prepare(out);
    writeRecord(out, settings);
    return out.status() == QDataStream::Ok ? bytes : QByteArray();
}

bool decodeConfigFile(QByteArrayView bytes, ConfigSettings& settings)
{
    if (bytes.size() < kFixedSize)
        return false;
    // The count decides the size; check it before a single point is read.
    const auto at = reinterpret_cast<const uchar*>(bytes.data()) + kCountOffset;
    const qint32 count = qint32((quint32(at[0]) << 24) | (quint32(at[1]) << 16)
                                | (quint32(at[2]) << 8) | quint32(at[3]));
    if (count < 0 || count > TvgCurve::kMaxPoints || bytes.size() != configFileSize(count))
        return false;

    const QByteArray copy = bytes.toByteArray();
    QDataStream in(copy);
    prepare(in);
    RealReader real(in);
    ConfigSettings s = settings;
    qint32 i32 = 0;
    qint16 i16 = 0;

    s.eProbeType = ConfigSettings::EProbeType(readInt8(in));
    in >> i32;
    s.iFrequency = i32;
    in >> s.iPeriodHalves;
    s.dDelay = real.read();
    in >> s.iGain;
    s.ePulseVoltage = ConfigSettings::EPulseVoltage(readInt8(in));
    in >> i32;
    s.iRepetitionRate = i32;
    in >> s.iSamplesPer10us;
    s.iInputFilter = readInt8(in);
    s.eTestingMethod = ConfigSettings::ETestingMethod(readInt8(in));
    in >> s.bSpectrum;
    s.eSignalType = ConfigSettings::ESignalType(readInt8(in));
    in >> s.bAveraging >> s.iAveraging >> s.bAuxFlag >> i32;
    s.iAuxMode = i32;
    s.iLoupe = readInt8(in);
    s.eResponseType = ConfigSettings::EResponseType(readInt8(in));
    in >> s.iVelocity;
    s.iBaseMode = readInt8(in);
    s.dBase = real.read();
    s.fBaseVelocity = real.readFloat();
    s.eScaleUnits = ConfigSettings::EScaleUnits(readInt8(in));
    s.iCursor = readInt8(in);
    s.eDiscreteness = ConfigSettings::EDiscreteness(readInt8(in));
    in >> i32;
    s.iWindowStart = i32;
    in >> i32;
    s.iWindowEnd = i32;
    in >> i32;
    s.iExtra1 = i32;
    in >> i32;
    s.iExtra2 = i32;
    in >> s.bMeasured;
    s.fMeasuredTime = real.readFloat();
    s.fPeakTime = real.readFloat();
    in >> s.iPeakAmplitude;
    s.fExtra3 = real.readFloat();
    s.fExtra4 = real.readFloat();
    s.tvg.iOn = readInt8(in);
    in >> i32;
    s.tvg.iCount = i32;
    for (int i = 0; i < count; ++i) {
        in >> i32;
        s.tvg.points[i].iPosition = i32;
        in >> i32;
        s.tvg.points[i].iLevel = i32;
    }
    s.iStrobe = readInt8(in);
    s.fStrobeStart = real.readFloat();
    s.fStrobeEnd = real.readFloat();
    in >> i16;
    s.iStrobeLevel = i16;

    if (in.status() != QDataStream::Ok || !in.atEnd() || !real.ok())
        return false;
    settings = s;
    return true;
}

bool writeConfigFile(const QString& strPath, const ConfigSettings& settings, QString* pError)
{
    const QByteArray bytes = encodeConfigFile(settings);
    if (bytes.isEmpty() || !Vantar::writeWholeFile(strPath, bytes))
        return fail(pError, saveError(strPath));
    return true;
}

bool readConfigFile(const QString& strPath, ConfigSettings& settings, QString* pError)
{
    QFile file(strPath);
    if (!Vantar::openPlainFile(file))
        return fail(pError, readError(strPath));
    // One byte more than the largest valid file is enough to see that a file is too long.
    const QByteArray bytes = file.read(configFileSize(TvgCurve::kMaxPoints) + 1);
    if (file.error() != QFileDevice::NoError || !decodeConfigFile(bytes, settings))
        return fail(pError, readError(strPath));
    return true;
}
