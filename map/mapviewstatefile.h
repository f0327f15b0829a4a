#pragma once
// The viewing-settings file of a map ("usr_map.set"): the SAFT record and the viewing state,
// 108 bytes in the Qt 4.6 stream format, no header.

#include "map/mapviewstate.h"
#include "map/saftsettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

//! Size of every viewing-settings file.
inline constexpr qsizetype kViewSettingsFileSize = 108;

//! What reading one of a map's stored files found.
enum class StoredFileStatus {
    Missing,    // no such file
    Unreadable, // there, but it could not be opened or read
    Invalid,    // read, but of the wrong size, damaged or holding values that fail the checks
    Loaded,     // read and taken over
};

//! The 108 bytes of a viewing-settings file.
QByteArray encodeViewSettingsFile(const SAFTsettings& saft, const MapViewState& state);

//! Reads the bytes of a viewing-settings file. Fails, leaving both records unchanged, unless
//! there are exactly 108 bytes and every flag byte is 0 or 1. Values are not range-checked.
bool decodeViewSettingsFile(QByteArrayView bytes, SAFTsettings& saft, MapViewState& state);

//! The checks a stored pair must pass to be taken over. A frequency outside 25 … 250 is
//! replaced by 50 and a velocity outside 0.5 … 15.0 by 2.6; a depth outside 0 … 35000, a
//! bandwidth other than 25, 50, 75 or 100, a tcg outside 0 … 30 or a state that fails
//! MapViewState::isValid() reject the pair. saft is changed only when the result is true.
bool checkViewSettings(SAFTsettings& saft, const MapViewState& state);

//! Reads, decodes and checks the file at strPath; both records change only on Loaded.
//! Never more than one byte beyond the valid size is read.
StoredFileStatus readViewSettingsFile(const QString& strPath, SAFTsettings& saft, MapViewState& state);

//! Writes through a temporary file that replaces strPath only when complete; on failure
//! the old file stays as it was and the result is false with
//! "Couldn't save comments to file "PATH"!" (the text the program has always shown here).
bool writeViewSettingsFile(const QString& strPath, const SAFTsettings& saft, const MapViewState& state,
                           QString* pError = nullptr);
