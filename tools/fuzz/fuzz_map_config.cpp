// Map configuration files and signal file names from arbitrary bytes: parsing must never
// crash or read past the input, and what it accepts must be in range.

#include "map/depthconversion.h"
#include "map/mapconfig.h"
#include "map/mapfolder.h"
#include "map/mapvolumegrid.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    MapConfig config;
    if (MapConfig::parse(bytes, config)) {
        const ConfigSettings& s = config.settings;
        if (s.iSamplesPer10us < 10 || s.iSamplesPer10us > 100 || s.iWindowEnd <= s.iWindowStart)
            std::abort();
        if (config.title.toUtf8().size() > 63 * 3 || config.sizeH > 255 || config.sizeV > 255)
            std::abort();
        MapConfig geometry = config;
        geometry.validateGeometry();
        const double range = sampleToDepth(s, s.iWindowEnd - s.iWindowStart);
        const MapVolumeGrid grid =
            MapVolumeGrid::compute(geometry.sizeH, geometry.sizeV, geometry.stepH, geometry.stepV, range);
        if (grid.dim0 < 0 || grid.dim1 < 0 || grid.dim2 < 0 || grid.bytesNeeded() < 0)
            std::abort();
        (void)grid.fitsMemory(Vantar::kMapMemoryLimit);
        (void)depthToSample(s, range);
        // What was read writes back and reads again with the same geometry.
        MapConfig back;
        if (!MapConfig::parse(config.encode(), back) || back.stepH != config.stepH || back.stepV != config.stepV
            || back.sizeH != config.sizeH || back.sizeV != config.sizeV || back.newFormat != config.newFormat)
            std::abort();
    } else if (size >= size_t(MapConfig::kMinimumSize) && bytes.sliced(2, 4) == QByteArrayView("M773")) {
        std::abort(); // a long enough file with the signature is always taken
    }

    MapPositionKey key;
    if (MapFolder::parseSignalFileName(QString::fromUtf8(bytes), key)
        && (key.i < 1 || key.j < 1 || key.i > Vantar::kMaxPositionIndex || key.j > Vantar::kMaxPositionIndex))
        std::abort();
    return 0;
}
