#pragma once
// Folders of generated A-scans: N.bmp and N.raw of generateAScan(N, seed), each one changeable
// before it is written (its name, its settings, its signal).

#include "ascan/ascangenerator.h"
#include "common/bytes.h"

#include <functional>

namespace TestAScans {

using TestBytes::readAll;
using TestBytes::writeBytes;

inline QString pathOf(const QString& folder, int n)
{
    return folder + QLatin1Char('/') + QString::number(n) + QLatin1String(".bmp");
}

// Writes N.bmp and N.raw of A-scan n of the seed's set, changed by change first.
inline GeneratedAScan write(const QString& folder, int n, quint32 seed,
                            const std::function<void(GeneratedAScan&)>& change = {})
{
    GeneratedAScan a = generateAScan(n, seed);
    if (change)
        change(a);
    const QString stem = folder + QLatin1Char('/') + QString::number(n) + QLatin1Char('.');
    writeBytes(stem + QLatin1String("bmp"), encodeAScanFile(renderAScanScreen(a), encodeAScanDataArea(a)));
    writeBytes(stem + QLatin1String("raw"), encodeAScanSamples(a.samples));
    return a;
}

} // namespace TestAScans
