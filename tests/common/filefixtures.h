#pragma once
// The instrument's settings block inside the files that carry it (A-scan data areas, map
// configurations): its own layout is checked byte by byte in the settings test; here a few
// recognisable values placed at the block's offset show that a reader finds the block where
// the file keeps it.

#include "ascan/configsettings.h"

#include "common/bytes.h"

namespace TestFiles {

inline void markInstrumentBlock(QByteArray& b, qsizetype block)
{
    TestBytes::putLe(b, block + 0x58, 20000, 2);   // window end
    TestBytes::putLe(b, block + 0x70, 4100, 2);    // velocity
    b[block + 0x76] = 55;                          // gain
    b[block + 0x78] = 60;                          // frequency
    b[block + 0x7D] = 50;                          // samples per 10 µs
    TestBytes::putLe(b, block + 0x90, 2750500, 4); // base velocity 2750.5, read from 3.4 on
}

// The marked values as read; the base velocity only where the version carries it.
inline bool blockMarked(const ConfigSettings& s, bool bVersion34)
{
    return s.iWindowEnd == 20000 && s.iVelocity == 4100 && s.iGain == 55 && s.iFrequency == 60
           && s.iSamplesPer10us == 50 && s.fBaseVelocity == (bVersion34 ? 2750.5f : 3240.0f);
}

} // namespace TestFiles
