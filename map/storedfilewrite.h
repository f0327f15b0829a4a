#pragma once
// Replacing a file the program writes in one step, so that a failed write never leaves a
// half-written file behind, and a symbolic link standing where the file goes is replaced by
// the new file instead of being written through (it could lead anywhere, even onto the
// instrument's own drive).

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryFile;

namespace Vantar {

//! Writes bytes through a temporary file in the same folder that replaces strPath only when
//! all of them reached it; false, with any old file left as it was, otherwise. A link at
//! strPath is replaced by a regular file; what it pointed at is not touched.
bool writeWholeFile(const QString& strPath, const QByteArray& bytes);

//! An open, empty temporary file in the folder of strPath, for a new version of that file;
//! null when it cannot be made. It removes itself unless replaceWithTemporary succeeds.
std::unique_ptr<QTemporaryFile> temporaryBeside(const QString& strPath);

//! Makes the complete temporary file the file at strPath: flushed onto the medium, closed
//! and renamed over strPath in one step. Whatever stands at strPath, a file or a symbolic
//! link, is replaced itself. False leaves strPath as it was.
bool replaceWithTemporary(QTemporaryFile& temporary, const QString& strPath);

} // namespace Vantar
