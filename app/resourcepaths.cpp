#include "app/resourcepaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace Vantar {

QStringList dataFolders()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    QStringList folders{appDir};
    const QString installed = QDir::cleanPath(appDir + QStringLiteral("/../share/vantar"));
    if (QFileInfo(installed).isDir())
        folders << installed;
    return folders;
}

QString findDataFile(const QString& name)
{
    for (const QString& folder : dataFolders()) {
        const QString path = folder + u'/' + name;
        if (QFileInfo::exists(path))
            return path;
    }
    return QString();
}

QString dataFolderOf(const QString& name)
{
    const QString path = findDataFile(name);
    return path.isEmpty() ? QCoreApplication::applicationDirPath() : QFileInfo(path).absolutePath();
}

QString windowIconFile()
{
    const QString name = QStringLiteral("norvik.ico");
    return QFileInfo::exists(name) ? name : findDataFile(name);
}

QString qtTranslationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QStringList resolvedDataFiles()
{
    QStringList lines;
    auto line = [&lines](const char* what, const QString& path) {
        lines << QLatin1String(what) + QStringLiteral(": ") + (path.isEmpty() ? QStringLiteral("not found") : path);
    };
    auto loaded = [](const QString& base, const QString& folder) {
        QTranslator translator;
        return translator.load(base, folder) ? translator.filePath() : QString();
    };
    line("translation", loaded(QStringLiteral("vantar_ru"), dataFolderOf(QStringLiteral("vantar_ru.qm"))));
    line("qt translation", loaded(QStringLiteral("qt_ru"), qtTranslationsFolder()));
    line("help", findDataFile(QStringLiteral("helpVT_4.0_eng.htm")));
    line("help", findDataFile(QStringLiteral("helpVT_4.0_rus.htm")));
    line("help pictures", findDataFile(QStringLiteral("images")));
    line("logo", findDataFile(QStringLiteral("Norvik_logo_bw.bmp")));
    const QString icon = windowIconFile();
    line("icon", icon.isEmpty() ? icon : QFileInfo(icon).absoluteFilePath());
    return lines;
}

} // namespace Vantar
