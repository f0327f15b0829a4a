#pragma once
// Deciding what folder a path really names, so that "same folder" and "on the instrument"
// are never fooled by symbolic links, "..", or a folder that is still to be created.

#include <QString>

namespace Vantar {

//! The absolute path strPath names, with '/' separators and no trailing '/' (except for the
//! root): every part that exists is taken with symbolic links resolved, "." and ".." are
//! resolved in order as the system would, and the part that does not exist yet is appended
//! as written. A dangling symbolic link is followed to where it points.
QString realPath(const QString& strPath);

//! True when strPath is strFolder or lies beneath it, compared whole part by whole part
//! ("/a/bc" is not inside "/a/b"). Both are expected as realPath gives them.
bool isSameOrInside(const QString& strPath, const QString& strFolder,
                    Qt::CaseSensitivity cs = Qt::CaseSensitive);

} // namespace Vantar
