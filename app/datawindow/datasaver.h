#pragma once
// Copying selected A-scans or the open map to another folder. No widgets: questions,
// warnings and progress go through a SaveObserver, so the data window shows boxes and a
// progress dialog while tests answer from a list.

#include "app/platform/drivediscovery.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

namespace Vantar {

//! Shared by every overwrite question of one run: the first answer decides for the run.
struct OverwriteAnswers
{
    bool asked = false; // a question has been answered
    bool yes = false;   // and the answer was Yes
};

//! What a save run shows the user.
class SaveObserver
{
public:
    virtual ~SaveObserver() = default;
    //! A Yes/No question; true for Yes.
    virtual bool question(const QString& strText) = 0;
    virtual void warning(const QString& strText) = 0;
    //! A copying loop starts (the progress dialog appears) and ends (it goes away).
    virtual void loopStarted() {}
    virtual void progress(int iPercent) { Q_UNUSED(iPercent); }
    virtual void loopEnded() {}
};

//! What the map view contributes to a map save: its changed stored files. The map view
//! takes part by deriving from it; the data window finds it there.
class MapChangesWriter
{
public:
    virtual ~MapChangesWriter() = default;
    //! MapFilesWritten bits of the files writeChanges would write now.
    virtual int pendingChanges() const = 0;
    //! Writes the changed viewing settings, comments and indications into strFolder without asking;
    //! iWritten gets the bits of the files written.
    virtual bool writeChanges(const QString& strFolder, int& iWritten) = 0;
    //! After the whole map was saved: the current viewing settings, comments and indications count as stored.
    virtual void markChangesSaved() {}
};

//! Writes the edited settings of one A-scan (path, stem, saving folder, shared answers,
//! out: whether it wrote the file); false when the user refused or writing failed.
using AScanSettingsWriter =
    std::function<bool(const QString& strPath, const QString& strStem, const QString& strSavingDir,
                       OverwriteAnswers& answers, bool& bWritten)>;

//! A name read from a file made usable as one folder name: control characters dropped,
//! separators and characters that removable media refuse turned into '_', surrounding
//! blanks and trailing dots cut; "." and ".." give nothing. strFallback (cleaned the same
//! way) is used when nothing is left.
QString cleanFolderName(const QString& strName, const QString& strFallback = QString());

//! The file name without its last three characters: "12.bmp" gives "12." (the dot stays).
QString ascanStem(const QString& strFileName);

class DataSaver
{
    Q_DECLARE_TR_FUNCTIONS(CWinDataTempl)

public:
    //! observer must outlive the saver. drives: read once for the run; nothing is written on
    //! a volume of an instrument in it.
    explicit DataSaver(SaveObserver& observer, DriveTable drives = DriveTable());

    //! Copies in chunks; a test can make the copy fail after a chunk by returning false.
    void setChunkCheck(std::function<bool(const QString& strDestination, qint64 iWritten)> check)
    {
        m_chunkCheck = std::move(check);
    }

    //! Copies one file. An existing destination is replaced only after the run's answer was
    //! Yes, and only once the new copy is complete (written under a temporary name in the
    //! destination folder, then renamed over it). A destination that is the source itself
    //! is left alone and counts as copied. A link standing at the destination is replaced
    //! by the copy; when it leads onto the instrument's drive the copy is refused.
    bool copyFileAsked(const QString& strSource, const QString& strDestination, OverwriteAnswers& answers);

    //! Copies N.raw, N.bmp and (unless already written) N.sss of one A-scan that exist in
    //! strSourceDir (with trailing '/'); true when every file found was copied.
    bool copyAScanFiles(const QString& strSourceDir, const QString& strStem, const QString& strSavingDir,
                        OverwriteAnswers& answers, bool bSettingsWritten);

    //! Saves the selected A-scans into strSavingDir (with trailing '/'). bSameFolder tells
    //! whether they were saved into their own folder; written gets the A-scans whose edited
    //! settings were written into the saving folder.
    bool saveSelectedAScans(const QStringList& paths, const QString& strSavingDir, const AScanSettingsWriter& writer,
                            bool& bSameFolder, QStringList& written);

    //! Saves the open map (configuration file strConfigPath, name from that file) into
    //! strSavingDir + its cleaned name. Into its own folder only the changes are written.
    bool saveCurrentMap(const QString& strConfigPath, const QString& strMapName, const QString& strSavingDir,
                        MapChangesWriter& writer);

    //! The folder saveCurrentMap copies into.
    static QString mapDestination(const QString& strConfigPath, const QString& strMapName,
                                  const QString& strSavingDir);

    // Texts of the boxes.
    static QString deviceRefusedText() { return tr("Data couldn't be saved to the device!"); }
    static QString sameFolderText()
    {
        return tr("The files you're trying to save already exist!\nDo you want to rewrite them?");
    }
    static QString overwriteText(const QString& strDestination)
    {
        return tr("The file \"") + strDestination + tr("\" already exists!\nDo you want to rewrite it?");
    }
    static QString deleteFailedText(const QString& strDestination)
    {
        return tr("Couldn't delete file \"") + strDestination + tr("\"!");
    }
    static QString saveFailedText() { return tr("Unable to save data!"); }
    static QString notFoundText(const QString& strPath)
    {
        return tr("The file \"%1\" to be saved was not found!").arg(strPath);
    }

private:
    bool confirmOverwrite(const QString& strDestination, OverwriteAnswers& answers);
    bool copyContents(const QString& strSource, const QString& strDestination, bool bReplacing);
    //! True, after the warning, when strTarget or where a link standing there leads lies on
    //! the instrument's drive.
    bool refusedOnInstrument(const QString& strTarget);

    SaveObserver& m_observer;
    DriveTable m_drives;
    std::function<bool(const QString&, qint64)> m_chunkCheck;
};

} // namespace Vantar
