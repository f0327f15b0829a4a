#pragma once
// The comments file of a map ("map.cmm"): one QString in the Qt 4.6 stream format, a 32-bit
// byte length (0xFFFFFFFF for a null string) followed by the text in UTF-16, big-endian.

#include "map/mapviewstatefile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

//! Longest comment text stored, in bytes of UTF-16; longer files are not comments files.
inline constexpr qsizetype kMaxCommentsBytes = qsizetype(64) * 1024 * 1024;

//! The bytes of a comments file; empty when the text is longer than kMaxCommentsBytes.
QByteArray encodeCommentsFile(const QString& strComments);

//! Reads the bytes of a comments file. Fails, leaving strComments unchanged, unless they hold
//! exactly one string: a null marker alone, or an even length that is what follows it.
bool decodeCommentsFile(QByteArrayView bytes, QString& strComments);

//! Reads the file at strPath; strComments changes only on Loaded. On Unreadable and Invalid
//! pError gets "Couldn't read file "PATH"!". Files above the size limit are not read in.
StoredFileStatus readCommentsFile(const QString& strPath, QString& strComments, QString* pError = nullptr);

//! Writes through a temporary file that replaces strPath only when complete; on failure the
//! old file stays and the result is false with "Couldn't save comments to file "PATH"!".
bool writeCommentsFile(const QString& strPath, const QString& strComments, QString* pError = nullptr);
