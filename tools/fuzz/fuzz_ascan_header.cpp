// Feeds arbitrary bytes to the A-scan readers, both as a whole N.bmp on disk and as a data
// area in memory, then uses the record as the program would.

#include "ascan/ascanfile.h"
#include "ascan/instrumentblock.h"
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
    QString path = QDir::tempPath() + QStringLiteral("/fuzz_ascan_header_%1.bmp").arg(getpid());
    ~Scratch() { QFile::remove(path); }
};

QString scratchPath()
{
    static const Scratch scratch;
    return scratch.path;
}

void use(ConfigSettings s)
{
    s.validateAndRepair();
    if (!s.validateAndRepair())
        std::abort(); // a repaired record must stay valid
    volatile double sink = s.timeToDepth(s.sampleToTime(s.iWindowEnd)) + s.measuredSample()
        + s.peakSample() + s.samplesIn75us() + s.timeToSample(s.fStrobeEnd);
    (void)sink;
    ConfigSettings back;
    parseInstrumentBlock(encodeInstrumentBlock(s, true), true, back);
    ConfigSettings fromFile = s;
    if (!decodeConfigFile(encodeConfigFile(s), fromFile) || !(fromFile == s))
        std::abort(); // every record goes through the settings file unchanged
    s.probeTypeText();
    s.baseText();
    s.scaleUnitsText();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    AScanRecord inMemory;
    if (parseAScanDataArea(bytes, inMemory)) {
        if (inMemory.name.toUtf8().size() > 63 * 3)
            std::abort();
        use(inMemory.fileSettings);
    }
    ConfigSettings fromBlock;
    parseInstrumentBlock(bytes, size % 2 == 0, fromBlock);
    use(fromBlock);

    QFile file(scratchPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes.data(), bytes.size());
    file.close();
    readAScanTitle(scratchPath());
    AScanRecord onDisk;
    if (readAScanHeader(scratchPath(), onDisk))
        use(onDisk.fileSettings);
    return 0;
}
