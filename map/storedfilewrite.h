#pragma once
// Replacing a small file the program owns in one step, so that a failed write never leaves a
// half-written file behind.

#include <QByteArray>
#include <QString>

namespace Vantar {

//! Writes bytes through a temporary file in the same folder that replaces strPath only when
//! all of them reached it; false, with any old file left as it was, otherwise.
bool writeWholeFile(const QString& strPath, const QByteArray& bytes);

} // namespace Vantar
