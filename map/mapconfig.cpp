#include "map/mapconfig.h"
#include "map/plainfileread.h"

#include "app/constants.h"
#include "ascan/instrumentblock.h"

#include <QFile>

#include <cstring>

namespace {

quint32 u16At(const QByteArray& b, int at)
{
    return quint8(b[at]) | (quint32(quint8(b[at + 1])) << 8);
}

void putU16(QByteArray& b, int at, int v)
{
    const quint32 u = quint32(qBound(0, v, 0xFFFF));
    b[at] = char(u & 0xFF);
    b[at + 1] = char(u >> 8);
}

// A NUL-terminated text field of 64 bytes; the 64th byte counts as NUL.
QString textAt(const QByteArray& b, int at)
{
    const char* p = b.constData() + at;
    const int limit = MapConfig::kTextSize - 1;
    int n = 0;
    while (n < limit && p[n] != '\0')
        ++n;
    return QString::fromUtf8(p, n);
}

// Writes at most 63 bytes of UTF-8 without cutting a character, then NUL-fills the field.
void putText(QByteArray& b, int at, const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    if (utf8.size() > MapConfig::kTextSize - 1) {
        int n = MapConfig::kTextSize - 1;
        while (n > 0 && (quint8(utf8[n]) & 0xC0) == 0x80) // continuation byte: back to a start
            --n;
        utf8.truncate(n);
    }
    std::memset(b.data() + at, 0, MapConfig::kTextSize);
    std::memcpy(b.data() + at, utf8.constData(), size_t(utf8.size()));
}

// The four signature bytes as text when they are printable, else in hexadecimal.
QString signatureText(const QByteArray& signature)
{
    for (char ch : signature)
        if (ch < 0x20 || ch > 0x7E)
            return QString::fromLatin1(signature.toHex(' ')).toUpper();
    return QString::fromLatin1(signature);
}

} // namespace

bool MapConfig::parse(QByteArrayView bytes, MapConfig& out, QString* error)
{
    if (bytes.size() < kMinimumSize) {
        if (error)
            *error = tr("The configuration file holds only %n byte(s); it is not a map's configuration.", nullptr,
                        int(bytes.size()));
        return false;
    }
    // Zero-filled buffer larger than every layout: a short file never reads past its end.
    QByteArray b(kReadLimit, '\0');
    std::memcpy(b.data(), bytes.data(), size_t(qMin<qsizetype>(bytes.size(), kReadLimit)));

    const QByteArray signature = b.mid(kSignatureOffset, 4);
    if (signature != QByteArray(Vantar::kInstrumentSignature)) {
        if (error)
            *error = tr("The configuration file was not written by the instrument (signature \"%1\" instead of "
                        "\"%2\"); the map is not opened.")
                         .arg(signatureText(signature),
                              QString::fromLatin1(Vantar::kInstrumentSignature));
        return false;
    }

    MapConfig c;
    c.versionMajor = quint8(b[0]);
    c.versionMinor = quint8(b[1]);
    c.newFormat = isVersion34OrLater(c.versionMajor, c.versionMinor);
    c.title = textAt(b, kTitleOffset);
    const int blockSize = c.newFormat ? kInstrumentBlockSize34 : kInstrumentBlockSize;
    parseInstrumentBlock(QByteArrayView(b.constData() + kBlockOffset, blockSize), c.newFormat, c.settings);
    c.stepH = int(u16At(b, kStepHOffset));
    c.stepV = int(u16At(b, kStepVOffset));
    c.sizeH = quint8(b[kSizeHPresentOffset]) == 1 ? quint8(b[kSizeHOffset]) : 0;
    c.sizeV = quint8(b[kSizeVPresentOffset]) == 1 ? quint8(b[kSizeVOffset]) : 0;
    c.mapName = textAt(b, c.newFormat ? kNameOffsetNew : kNameOffsetOld);
    c.settingsRepaired = !c.settings.validateAndRepair();
    out = c;
    return true;
}

bool MapConfig::read(const QString& path, MapConfig& out, QString* error)
{
    QFile file(path);
    if (!Vantar::openPlainFile(file)) {
        if (error)
            *error = tr("Couldn't open the configuration file \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.read(kReadLimit);
    file.close();
    if (!parse(bytes, out, error)) {
        if (error)
            *error = QStringLiteral("\"%1\": %2").arg(path, *error);
        return false;
    }
    return true;
}

QByteArray MapConfig::encode() const
{
    QByteArray b(newFormat ? kLayoutSizeNew : kLayoutSizeOld, '\0');
    // The version bytes decide the layout on reading, so they must agree with newFormat.
    int major = qBound(0, versionMajor, 255);
    int minor = qBound(0, versionMinor, 255);
    if (isVersion34OrLater(major, minor) != newFormat) {
        major = 3;
        minor = newFormat ? 4 : 3;
    }
    b[0] = char(major);
    b[1] = char(minor);
    std::memcpy(b.data() + kSignatureOffset, Vantar::kInstrumentSignature, 4);
    putText(b, kTitleOffset, title);
    const QByteArray block = encodeInstrumentBlock(settings, newFormat);
    std::memcpy(b.data() + kBlockOffset, block.constData(), size_t(block.size()));
    putU16(b, kStepHOffset, stepH);
    putU16(b, kStepVOffset, stepV);
    if (sizeH > 0 && sizeH <= 255) {
        b[kSizeHPresentOffset] = 1;
        b[kSizeHOffset] = char(sizeH);
    }
    if (sizeV > 0 && sizeV <= 255) {
        b[kSizeVPresentOffset] = 1;
        b[kSizeVOffset] = char(sizeV);
    }
    putText(b, newFormat ? kNameOffsetNew : kNameOffsetOld, mapName);
    return b;
}

bool MapConfig::validateGeometry()
{
    bool ok = true;
    auto step = [&ok](int& v) {
        if (v < 10 || v > 1000) {
            v = 100;
            ok = false;
        }
    };
    auto size = [&ok](int& v) {
        if (v != 0 && (v < 1 || v > 100)) {
            v = 5;
            ok = false;
        }
    };
    step(stepH);
    step(stepV);
    size(sizeH);
    size(sizeV);
    return ok;
}
