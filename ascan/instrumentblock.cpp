#include "ascan/instrumentblock.h"

#include <cmath>
#include <cstring>

namespace {

// Reads from a block that was copied into a zero-filled buffer of full size.
class BlockReader
{
public:
    explicit BlockReader(const unsigned char* p) : m_p(p) {}
    quint32 u8(int at) const { return m_p[at]; }
    quint32 u16(int at) const { return m_p[at] | (quint32(m_p[at + 1]) << 8); }
    qint16 i16(int at) const { return qint16(u16(at)); }
    quint32 u24(int at) const { return u16(at) | (quint32(m_p[at + 2]) << 16); }
    qint32 i32(int at) const { return qint32(u24(at) | (quint32(m_p[at + 3]) << 24)); }

private:
    const unsigned char* m_p;
};

class BlockWriter
{
public:
    explicit BlockWriter(QByteArray& b) : m_b(b) {}
    void u8(int at, qint64 v) { m_b[at] = char(clamp(v, 0, 0xFF)); }
    void u16(int at, qint64 v) { put(at, quint32(clamp(v, 0, 0xFFFF)), 2); }
    void i16(int at, qint64 v) { put(at, quint32(clamp(v, -32768, 32767)), 2); }
    void u24(int at, qint64 v) { put(at, quint32(clamp(v, 0, 0xFFFFFF)), 3); }
    void i32(int at, qint64 v) { put(at, quint32(clamp(v, INT32_MIN, INT32_MAX)), 4); }

private:
    static qint64 clamp(qint64 v, qint64 lo, qint64 hi) { return qBound(lo, v, hi); }
    void put(int at, quint32 v, int n)
    {
        for (int i = 0; i < n; ++i)
            m_b[at + i] = char((v >> (8 * i)) & 0xFF);
    }
    QByteArray& m_b;
};

// Scaled real into an integer of the block; NaN is stored as 0.
qint64 scaled(double v, double scale)
{
    const double r = std::round(v * scale);
    if (std::isnan(r))
        return 0;
    return qint64(qBound(-1.0e15, r, 1.0e15));
}

} // namespace

bool isVersion34OrLater(int major, int minor)
{
    return major > 3 || (major == 3 && minor >= 4);
}

int parseInstrumentBlock(QByteArrayView block, bool bVersion34, ConfigSettings& s)
{
    unsigned char buf[kInstrumentBlockSize34] = {};
    const int size = bVersion34 ? kInstrumentBlockSize34 : kInstrumentBlockSize;
    if (!block.isEmpty())
        std::memcpy(buf, block.data(), size_t(qMin<qsizetype>(block.size(), size)));
    const BlockReader r(buf);

    s.bMeasured = r.u8(0x00) != 0;
    s.fMeasuredTime = float(r.u24(0x01) / 100.0);
    s.fPeakTime = float(r.u24(0x04) / 100.0);
    s.iPeakAmplitude = r.i16(0x07);
    s.tvg.iOn = qint32(r.u8(0x09));
    s.tvg.iCount = qint32(r.u8(0x0A));
    for (int i = 0; i < TvgCurve::kMaxPoints; ++i) {
        s.tvg.points[i].iPosition = qint32(r.u16(0x0B + 3 * i));
        s.tvg.points[i].iLevel = qint32(r.u8(0x0B + 3 * i + 2));
    }
    s.iWindowStart = qint32(r.u16(0x56));
    s.iWindowEnd = qint32(r.u16(0x58));
    s.bSpectrum = r.u8(0x5C) != 0;
    s.iAuxMode = qint32(r.u8(0x5D));
    s.eSignalType = ConfigSettings::ESignalType(r.u8(0x5E));
    s.bAveraging = (r.u8(0x5F) & 0x01) != 0;
    s.bAuxFlag = (r.u8(0x5F) & 0x02) != 0;
    s.iLoupe = qint32(r.u8(0x60));
    s.eResponseType = ConfigSettings::EResponseType(r.u8(0x61));
    s.iCursor = qint32(r.u8(0x62));
    s.eDiscreteness = ConfigSettings::EDiscreteness(r.u8(0x63));
    s.eScaleUnits = ConfigSettings::EScaleUnits(r.u8(0x64));
    s.iStrobe = qint32(r.u8(0x65));
    s.fStrobeStart = float(r.i32(0x66) / 1000.0);
    s.fStrobeEnd = float(r.i32(0x6A) / 1000.0);
    s.iStrobeLevel = r.i16(0x6E);
    s.iVelocity = r.i16(0x70);
    s.dBase = r.u24(0x72) / 100.0;
    s.iBaseMode = qint32(r.u8(0x75));
    s.iGain = qint16(r.u8(0x76));
    s.eProbeType = ConfigSettings::EProbeType(r.u8(0x77));
    s.iFrequency = qint32(r.u8(0x78));
    s.iPeriodHalves = qint16(r.u8(0x79));
    s.dDelay = r.i16(0x7A) / 10.0;
    s.ePulseVoltage = ConfigSettings::EPulseVoltage(r.u8(0x7C));
    s.iSamplesPer10us = qint16(r.u8(0x7D));
    s.eTestingMethod = ConfigSettings::ETestingMethod(r.u8(0x7E));
    s.iAveraging = qint16(r.u8(0x7F));
    s.iRepetitionRate = qint32(r.u8(0x80));
    s.iInputFilter = qint32(r.u8(0x81));
    s.iExtra1 = qint32(r.u16(0x82));
    s.iExtra2 = qint32(r.u16(0x84));
    if (bVersion34) {
        s.fBaseVelocity = float(r.i32(0x90) / 1000.0);
        return kInstrumentTextSize + kInstrumentBlockSize34;
    }
    s.fBaseVelocity = 3240.0f;
    return kInstrumentTextSize + kInstrumentBlockSize;
}

QByteArray encodeInstrumentBlock(const ConfigSettings& s, bool bVersion34)
{
    QByteArray block(bVersion34 ? kInstrumentBlockSize34 : kInstrumentBlockSize, '\0');
    BlockWriter w(block);
    w.u8(0x00, s.bMeasured ? 1 : 0);
    w.u24(0x01, scaled(s.fMeasuredTime, 100.0));
    w.u24(0x04, scaled(s.fPeakTime, 100.0));
    w.i16(0x07, s.iPeakAmplitude);
    w.u8(0x09, s.tvg.iOn);
    w.u8(0x0A, s.tvg.iCount);
    for (int i = 0; i < TvgCurve::kMaxPoints; ++i) {
        w.u16(0x0B + 3 * i, s.tvg.points[i].iPosition);
        w.u8(0x0B + 3 * i + 2, s.tvg.points[i].iLevel);
    }
    w.u16(0x56, s.iWindowStart);
    w.u16(0x58, s.iWindowEnd);
    w.u8(0x5C, s.bSpectrum ? 1 : 0);
    w.u8(0x5D, s.iAuxMode);
    w.u8(0x5E, s.eSignalType);
    w.u8(0x5F, (s.bAveraging ? 0x01 : 0) | (s.bAuxFlag ? 0x02 : 0));
    w.u8(0x60, s.iLoupe);
    w.u8(0x61, s.eResponseType);
    w.u8(0x62, s.iCursor);
    w.u8(0x63, s.eDiscreteness);
    w.u8(0x64, s.eScaleUnits);
    w.u8(0x65, s.iStrobe);
    w.i32(0x66, scaled(s.fStrobeStart, 1000.0));
    w.i32(0x6A, scaled(s.fStrobeEnd, 1000.0));
    w.i16(0x6E, s.iStrobeLevel);
    w.i16(0x70, s.iVelocity);
    w.u24(0x72, scaled(s.dBase, 100.0));
    w.u8(0x75, s.iBaseMode);
    w.u8(0x76, s.iGain);
    w.u8(0x77, s.eProbeType);
    w.u8(0x78, s.iFrequency);
    w.u8(0x79, s.iPeriodHalves);
    w.i16(0x7A, scaled(s.dDelay, 10.0));
    w.u8(0x7C, s.ePulseVoltage);
    w.u8(0x7D, s.iSamplesPer10us);
    w.u8(0x7E, s.eTestingMethod);
    w.u8(0x7F, s.iAveraging);
    w.u8(0x80, s.iRepetitionRate);
    w.u8(0x81, s.iInputFilter);
    w.u16(0x82, s.iExtra1);
    w.u16(0x84, s.iExtra2);
    if (bVersion34)
        w.i32(0x90, scaled(s.fBaseVelocity, 1000.0));
    return block;
}

QString instrumentText(QByteArrayView field)
{
    const QByteArrayView used = field.first(qMin<qsizetype>(field.size(), kInstrumentTextSize - 1));
    const qsizetype end = used.indexOf('\0');
    return QString::fromUtf8(end < 0 ? used : used.first(end));
}

QByteArray encodeInstrumentText(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    qsizetype n = qMin<qsizetype>(utf8.size(), kInstrumentTextSize - 1);
    while (n > 0 && n < utf8.size() && (uchar(utf8[n]) & 0xC0) == 0x80)
        --n; // do not split a multi-byte character
    QByteArray field = utf8.left(n);
    field.append(QByteArray(kInstrumentTextSize - n, '\0'));
    return field;
}
