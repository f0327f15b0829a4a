#include "app/datawindow/datasaver.h"

#include "app/constants.h"
#include "app/platform/realpath.h"
#include "map/mapstoredfiles.h"
#include "map/progress.h"
#include "map/storedfilewrite.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace Vantar {

namespace {

constexpr qint64 kChunkSize = 1 << 20;

// Only where a backslash separates folders; elsewhere it is a character of a name.
QString slashed(const QString& strPath)
{
    return QDir::fromNativeSeparators(strPath);
}

QString withSlash(const QString& strFolder)
{
    return strFolder.endsWith(u'/') ? strFolder : strFolder + u'/';
}

// The folder part of a path with '/' separators, without the last '/'.
QString folderOf(const QString& strPath)
{
    const qsizetype slash = strPath.lastIndexOf(u'/');
    return slash < 0 ? QString() : strPath.left(slash);
}

bool sameFolder(const QString& a, const QString& b)
{
    return realPath(a) == realPath(b);
}

bool isInside(const QString& strPath, const QString& strFolder)
{
    const QString folder = realPath(strFolder);
    const QString path = realPath(strPath);
    return path != folder && isSameOrInside(path, folder);
}

} // namespace

QString cleanFolderName(const QString& strName, const QString& strFallback)
{
    static const QString kRefused = QStringLiteral("/\\:*?\"<>|");
    QString name;
    name.reserve(strName.size());
    for (const QChar c : strName) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format
            || category == QChar::Other_Surrogate || category == QChar::Other_NotAssigned)
            continue;
        name.append(kRefused.contains(c) ? QChar(u'_') : c);
    }
    name = name.trimmed();
    // Leading dots would hide the folder; trailing dots and blanks are dropped by removable
    // media, and "." or ".." would leave the chosen folder.
    while (!name.isEmpty() && name.front() == u'.')
        name.remove(0, 1);
    while (!name.isEmpty() && (name.back() == u'.' || name.back().isSpace()))
        name.chop(1);
    name = name.trimmed();
    if (name.isEmpty() && !strFallback.isEmpty())
        return cleanFolderName(strFallback);
    return name;
}

QString ascanStem(const QString& strFileName)
{
    return strFileName.size() > 3 ? strFileName.chopped(3) : QString();
}

DataSaver::DataSaver(SaveObserver& observer, DriveTable drives)
    : m_observer(observer), m_drives(std::move(drives))
{
}

bool DataSaver::confirmOverwrite(const QString& strDestination, OverwriteAnswers& answers)
{
    if (!answers.asked) {
        answers.yes = m_observer.question(overwriteText(strDestination));
        answers.asked = true;
    }
    return answers.yes;
}

bool DataSaver::copyFileAsked(const QString& strSource, const QString& strDestination, OverwriteAnswers& answers)
{
    const QFileInfo source(strSource);
    if (!source.exists() || !source.isFile())
        return false;
    const QFileInfo destination(strDestination);
    const bool bReplacing = destination.exists() || destination.isSymLink();
    // The plain string comparison of old could take a file for another and delete it.
    if (destination.exists() && destination.canonicalFilePath() == source.canonicalFilePath())
        return true;
    if (refusedOnInstrument(strDestination))
        return false;
    if (bReplacing && !confirmOverwrite(strDestination, answers))
        return false;
    return copyContents(strSource, strDestination, bReplacing);
}

bool DataSaver::copyContents(const QString& strSource, const QString& strDestination, bool bReplacing)
{
    QFile in(strSource);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const std::unique_ptr<QTemporaryFile> temporary = temporaryBeside(strDestination);
    if (!temporary)
        return false;
    QTemporaryFile& out = *temporary;

    QByteArray buffer;
    qint64 written = 0;
    for (;;) {
        buffer = in.read(kChunkSize);
        if (buffer.isEmpty()) {
            if (in.error() != QFileDevice::NoError)
                return false;
            break;
        }
        if (out.write(buffer) != buffer.size())
            return false;
        written += buffer.size();
        if (m_chunkCheck && !m_chunkCheck(strDestination, written))
            return false;
    }
    if (written != in.size() || !out.flush())
        return false;
    out.setPermissions(in.permissions());
    out.setFileTime(QFileInfo(in).lastModified(), QFileDevice::FileModificationTime);
    // A link standing at the destination is replaced by the copy, never written through.
    if (!replaceWithTemporary(out, strDestination)) {
        if (bReplacing && out.error() == QFileDevice::NoError)
            m_observer.warning(deleteFailedText(strDestination));
        return false;
    }
    return true;
}

bool DataSaver::refusedOnInstrument(const QString& strTarget)
{
    // The folder where the new file lands, and where a link standing there leads: the
    // saving folder was checked, but a link inside it can still point onto the device.
    if (isOutsideInstrument(QFileInfo(strTarget).absolutePath(), m_drives) && isOutsideInstrument(strTarget, m_drives))
        return false;
    m_observer.warning(deviceRefusedText());
    return true;
}

bool DataSaver::copyAScanFiles(const QString& strSourceDir, const QString& strStem, const QString& strSavingDir,
                               OverwriteAnswers& answers, bool bSettingsWritten)
{
    QStringList names;
    QStringList wanted = {strStem + QStringLiteral("raw"), strStem + QStringLiteral("bmp")};
    if (!bSettingsWritten)
        wanted << strStem + QLatin1String(kSettingsExtension);
    for (const QString& name : wanted) {
        const QFileInfo info(strSourceDir + name);
        if (info.isFile() && !info.isSymLink())
            names << name;
    }
    names.sort();
    for (const QString& name : names)
        if (!copyFileAsked(strSourceDir + name, strSavingDir + name, answers))
            return false;
    return true;
}

bool DataSaver::saveSelectedAScans(const QStringList& paths, const QString& strSavingDir,
                                   const AScanSettingsWriter& writer, bool& bSameFolder, QStringList& written)
{
    bSameFolder = false;
    if (paths.isEmpty())
        return false;
    const QString savingDir = withSlash(slashed(strSavingDir));
    OverwriteAnswers answers;
    if (sameFolder(folderOf(slashed(paths.first())), savingDir)) {
        if (!m_observer.question(sameFolderText()))
            return false;
        bSameFolder = true;
        answers.asked = true;
        answers.yes = true;
    }

    m_observer.loopStarted();
    m_observer.progress(0);
    bool bResult = false;
    const int count = int(paths.size());
    for (int i = 0; i < count; ++i) {
        const QString path = slashed(paths.at(i));
        const QString folder = folderOf(path) + u'/';
        const QString stem = ascanStem(path.mid(folder.size()));
        bool bWritten = false;
        if (refusedOnInstrument(savingDir + stem + QLatin1String(kSettingsExtension))) {
            bResult = false;
            break;
        }
        if (writer && !writer(path, stem, savingDir, answers, bWritten)) {
            bResult = false;
            break;
        }
        if (bWritten)
            written << paths.at(i);
        // Decided per A-scan: one of a mixed selection may already be in the saving folder.
        if (sameFolder(folder, savingDir)) {
            bResult = true;
        } else if (!QFileInfo(path).isFile()) {
            // Listed a moment ago and gone now (or named in a way that was misread): a save
            // that finds nothing to copy must not pass for done.
            m_observer.warning(notFoundText(path));
            bResult = false;
            break;
        } else {
            bResult = copyAScanFiles(folder, stem, savingDir, answers, bWritten);
            if (!bResult)
                break;
        }
        m_observer.progress(roundedPercent(i + 1, count));
    }
    m_observer.loopEnded();
    return bResult;
}

QString DataSaver::mapDestination(const QString& strConfigPath, const QString& strMapName,
                                  const QString& strSavingDir)
{
    const QString sourceDir = folderOf(slashed(strConfigPath));
    const QString name = cleanFolderName(strMapName, QFileInfo(sourceDir).fileName());
    QString destination = withSlash(slashed(strSavingDir)) + name;
    if (destination.size() > 1 && destination.endsWith(u'/'))
        destination.chop(1);
    return destination;
}

bool DataSaver::saveCurrentMap(const QString& strConfigPath, const QString& strMapName, const QString& strSavingDir,
                               MapChangesWriter& writer)
{
    const QString sourceDir = folderOf(slashed(strConfigPath));
    const QString destDir = mapDestination(strConfigPath, strMapName, strSavingDir);
    // The saving folder was checked; a link named like the map could still lead onto the device.
    if (!isOutsideInstrument(destDir, m_drives)) {
        m_observer.warning(deviceRefusedText());
        return false;
    }
    // The view writes its stored files itself; a link standing in their place must not lead
    // onto the device either.
    for (const char* name : {kViewSettingsFileName, kCommentsFileName, kIndicationsFileName})
        if (refusedOnInstrument(withSlash(destDir) + QLatin1String(name)))
            return false;
    if (sameFolder(sourceDir, destDir)) {
        int iWritten = 0;
        return writer.writeChanges(destDir, iWritten);
    }
    // A copy inside the map's own folder would be taken for part of the map next time.
    if (isInside(destDir, sourceDir))
        return false;
    // Without its configuration file there is no map to copy, and a save that copied nothing
    // must not pass for done.
    if (!QFileInfo(slashed(strConfigPath)).isFile()) {
        m_observer.warning(notFoundText(slashed(strConfigPath)));
        return false;
    }
    if (!QFileInfo(destDir).isDir())
        QDir().mkpath(destDir);

    const QString source = withSlash(sourceDir);
    const QString destination = withSlash(destDir);
    OverwriteAnswers answers;
    // The view writes its changed files without asking; the question comes first here.
    const int pending = writer.pendingChanges();
    const std::pair<int, const char*> storedFiles[] = {{ViewSettingsWritten, kViewSettingsFileName},
                                                       {CommentsWritten, kCommentsFileName},
                                                       {IndicationsWritten, kIndicationsFileName}};
    for (const auto& [bit, name] : storedFiles) {
        const QString target = destination + QLatin1String(name);
        if ((pending & bit) && (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            && !confirmOverwrite(target, answers))
            return false;
    }
    int iWritten = 0;
    if (!writer.writeChanges(destDir, iWritten))
        return false;

    QDir dir(sourceDir);
    QStringList names = dir.entryList({QStringLiteral("*.cfg"), QStringLiteral("*.lbv"), QStringLiteral("*.raw")},
                                      QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const auto& [bit, name] : storedFiles) {
        const QFileInfo info(source + QLatin1String(name));
        if (!(iWritten & bit) && info.isFile() && !info.isSymLink())
            names << QLatin1String(name);
    }
    names.sort();

    m_observer.loopStarted();
    m_observer.progress(0);
    int copied = 0;
    for (const QString& name : names) {
        if (!copyFileAsked(source + name, destination + name, answers))
            break;
        ++copied;
        m_observer.progress(roundedPercent(copied, names.size()));
    }
    m_observer.loopEnded();
    return copied == names.size();
}

} // namespace Vantar
