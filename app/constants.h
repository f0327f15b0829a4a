#pragma once
// Strings shared by every module. Header-only so that the core library can use it too.

#include <QLatin1StringView>
#include <QString>

namespace Vantar {

inline constexpr char kOrganisationName[] = "Norvik Software";
inline constexpr char kApplicationName[] = "Vantar 4.0";

// Preference keys of the settings store.
inline constexpr char kKeyLanguage[] = "DefLang";
inline constexpr char kKeyAScanWorkingDir[] = "AScanWorkingDir";
inline constexpr char kKeyMapWorkingDir[] = "MapWorkingDir";
inline constexpr char kKeyAScanSavingDir[] = "AScanSavingDir";
inline constexpr char kKeyMapSavingDir[] = "MapSavingDir";

// Compared with the model field of an instrument file header.
inline constexpr char kInstrumentSignature[] = "M773";
// Looked for in the storage descriptor of each disk to find the instrument's drive.
inline constexpr char kInstrumentModel[] = "M7730";

// Kept with the set of names; nothing uses them.
inline constexpr char kAScanFolderName[] = "ascans";
inline constexpr char kMapFolderName[] = "maps";

inline constexpr char kSettingsExtension[] = "sss";
inline constexpr char kCommentsFileName[] = "map.cmm";
inline constexpr char kViewSettingsFileName[] = "usr_map.set";
inline constexpr char kIndicationsFileName[] = "indications.json";
inline constexpr QChar kPathSeparator = u'/';

inline QString applicationName() { return QString::fromLatin1(kApplicationName); }

} // namespace Vantar
