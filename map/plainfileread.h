#pragma once
// Opening a file the program reads. Only regular files (or links to them) are opened: a pipe
// or a device under an expected name would block the read, or never end it.

#include <QFile>

namespace Vantar {

//! Opens file read-only when it names a regular file (links followed); false otherwise,
//! with file left closed.
bool openPlainFile(QFile& file);

} // namespace Vantar
