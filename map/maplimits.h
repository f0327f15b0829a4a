#pragma once
// Limits that keep a map's memory bounded whatever its files say.

#include <QtGlobal>

namespace Vantar {

//! Samples of every map signal.
inline constexpr int kMapSampleCount = 40000;
//! Largest position index accepted in a signal file name i_j.raw.
inline constexpr int kMaxPositionIndex = 1000;
//! Memory a map's signals, or its volumes, may take.
inline constexpr qint64 kMapMemoryLimit = qint64(4) << 30;

} // namespace Vantar
