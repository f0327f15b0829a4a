#pragma once
// Where the program finds the files it is supplied with (its translation, the help pages with
// their pictures, the report logo, the window icon): beside itself first, as it always has,
// then in share/vantar beside its bin folder, where an installed program keeps them.

#include <QString>
#include <QStringList>

namespace Vantar {

//! The folders looked in, in order: the application folder, then ../share/vantar next to it
//! when that exists.
QStringList dataFolders();

//! Full path of name in the first of dataFolders() that holds it; empty when none does.
QString findDataFile(const QString& name);

//! The first of dataFolders() that holds name, or the application folder when none does.
QString dataFolderOf(const QString& name);

//! The window icon: "norvik.ico" in the current folder (a relative path, as the program has
//! always looked for it), else from dataFolders(); empty when there is none.
QString windowIconFile();

//! Folder of Qt's own translations (message box buttons, file and print dialogs).
QString qtTranslationsFolder();

//! One line per file the program looks for, "what: path" or "what: not found", as the program
//! itself resolves them; the translations only count as found when they load.
QStringList resolvedDataFiles();

} // namespace Vantar
