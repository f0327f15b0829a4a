// Feeds arbitrary bytes to the settings file reader, in memory and from disk; whatever it
// accepts must survive validation and a write/read round trip.

#include "ascan/settingsfile.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

// One scratch file per process, removed when the fuzzer exits.
struct Scratch
{
    QString path = QDir::tempPath() + QStringLiteral("/fuzz_settings_file_%1.sss").arg(getpid());
    ~Scratch() { QFile::remove(path); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ConfigSettings s;
    const ConfigSettings before = s;
    if (!decodeConfigFile(bytes, s)) {
        if (!(s == before))
            std::abort(); // a refused file changes nothing
        return 0;
    }
    if (s.tvg.iCount < 0 || s.tvg.iCount > TvgCurve::kMaxPoints
        || bytes.size() != configFileSize(s.tvg.iCount))
        std::abort();
    ConfigSettings again;
    if (!decodeConfigFile(encodeConfigFile(s), again) || !(again == s))
        std::abort();

    static const Scratch scratch;
    const QString& path = scratch.path;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes.data(), bytes.size());
        file.close();
        ConfigSettings fromDisk;
        if (!readConfigFile(path, fromDisk) || !(fromDisk == s))
            std::abort();
    }
    s.validateAndRepair();
    if (!s.validateAndRepair())
        std::abort();
    return 0;
}
