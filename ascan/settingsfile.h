#pragma once
// The settings file kept beside an A-scan ("N.sss"): one ConfigSettings in the Qt 4.6
// stream format, nothing else.

#include "ascan/configsettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

//! Size of a settings file holding n TVG points: 135 + 8n bytes.
qsizetype configFileSize(int iTvgCount);

//! The bytes of a settings file. A TVG count outside 0…25 is stored limited to that range.
QByteArray encodeConfigFile(const ConfigSettings& settings);

//! Reads the bytes of a settings file into settings. Fails, leaving settings unchanged, unless
//! the size is exactly the one its TVG count (0…25) implies and every real is a finite value of
//! sane size. Points beyond the count keep their values.
bool decodeConfigFile(QByteArrayView bytes, ConfigSettings& settings);

//! Writes through a temporary file in the same folder that replaces path only when complete
//! (a link standing at path is replaced, never written through). On failure returns false with "Couldn't save changed configuration to file "PATH"!".
bool writeConfigFile(const QString& strPath, const ConfigSettings& settings,
                     QString* pError = nullptr);

//! On failure returns false with "Couldn't read configuration file "PATH"!" and leaves
//! settings unchanged, so the caller keeps what it had (the instrument's own block).
bool readConfigFile(const QString& strPath, ConfigSettings& settings, QString* pError = nullptr);
