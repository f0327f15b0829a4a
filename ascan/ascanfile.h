#pragma once
// Reading the files of one A-scan: N.bmp (picture with the instrument's data area appended),
// N.raw (the signal) and N.sss (edited settings), and ordering A-scan files by number.

#include "ascan/ascanrecord.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

// Layout of the data area that follows the picture; offsets from its first byte.
inline constexpr int kAScanDataAreaSize = 5403;
inline constexpr int kAScanDataAreaMinSize = 384; // less than this is not an A-scan
inline constexpr int kAScanTitleSize = 70;        // version, signature and name
inline constexpr int kAScanSignatureOffset = 2;
inline constexpr int kAScanNameOffset = 6;
inline constexpr int kAScanArraysOffset = 70;     // four arrays of 640 16-bit values
inline constexpr int kAScanArrayLength = 640;
inline constexpr int kAScanSetupNameOffset = 5190;
inline constexpr int kAScanBlockOffset = 5254;
//! The data area starts at the offset stored in bytes 2–5 of N.bmp; it must exceed this.
inline constexpr int kAScanMinDataOffset = 6;

//! True when the file has a data area with the instrument's signature "M773".
bool isAScanFile(const QString& strPath);

//! The A-scan name, or an empty text when the file is not a usable A-scan file.
QString readAScanTitle(const QString& strPath);

//! Reads the data area of N.bmp: names, version and the instrument block into
//! record.fileSettings (fields the block lacks keep their values). The area is read into a
//! zero-filled buffer of its full size, never past the end of the file. False, with the
//! record unchanged, when fewer than 384 bytes of it exist.
bool readAScanHeader(const QString& strPath, AScanRecord& record);

//! The same on a data area already in memory (at most its first 5403 bytes are used).
bool parseAScanDataArea(QByteArrayView area, AScanRecord& record);

//! Reads exactly count little-endian samples from the start of a signal file into samples.
//! A missing, unreadable or short file fails with a message and leaves samples untouched, so
//! that a previous signal can never be shown under a new A-scan's name.
bool readAScanSamples(const QString& strRawPath, qint16* samples, int count,
                      QString* pError = nullptr);

//! Loads a whole A-scan as the tab does: data area, settings file (when one exists and reads),
//! validateAndRepair, signal and date; currentSettings becomes a copy of fileSettings.
//! A settings file that exists but does not read leaves its message in pWarning and the
//! instrument's settings are used. On failure the record is unchanged.
bool loadAScanRecord(const QString& strPath, AScanRecord& record, QString* pError = nullptr,
                     QString* pWarning = nullptr);

//! Companions of N.bmp: the path less its last three characters plus "raw" or "sss".
QString samplesPathFor(const QString& strPath);
QString settingsPathFor(const QString& strPath);

//! "dd.MM.yy   hh:mm" (three blanks).
QString ascanDateText(const QDateTime& time);
//! Creation time of the file (last modification where the file system keeps none).
QString ascanDateText(const QString& strPath);

//! Orders A-scan file names ("N.bmp") by their number N; names that are not a positive number
//! are dropped, and of two with the same number the later one stays. Returns the count.
int sortNumbered(QStringList& names);
