#pragma once
// What a map keeps in its own folder besides the instrument's files: the viewing settings
// ("usr_map.set"), the comments ("map.cmm") and the indications ("indications.json"), with
// what has changed since they were read or last written. The map view owns one; prompts and warnings are the widgets' side.

#include "map/mapcommentsfile.h"
#include "map/mapindication.h"
#include "map/mapviewstate.h"
#include "map/mapviewstatefile.h"
#include "map/saftsettings.h"

#include <QString>
#include <QStringList>

#include <vector>

//! Bits of what a save wrote.
enum MapFilesWritten : int {
    NoMapFileWritten = 0,
    ViewSettingsWritten = 1, // "usr_map.set"
    CommentsWritten = 2,     // "map.cmm"
    IndicationsWritten = 4,  // "indications.json"
};

//! The stored viewing settings and comments of the open map.
class MapStoredFiles
{
public:
    //! strFolder + "/usr_map.set" and strFolder + "/map.cmm".
    static QString viewSettingsPath(const QString& strFolder);
    static QString commentsPath(const QString& strFolder);
    static QString indicationsPath(const QString& strFolder);

    //! Reads the folder's viewing settings. On Loaded the file's records, which passed every
    //! check, become the saved ones and hasStoredViewSettings() is true; otherwise nothing
    //! changes. Whether the stored volume size matches the map is the caller's check
    //! (MapViewState::fitsVolume), done once the grid is known.
    StoredFileStatus readViewSettings(const QString& strFolder);
    //! The saved records came from the map's file (and still count as applied).
    bool hasStoredViewSettings() const { return m_bStoredViewSettings; }
    //! Drops records taken over from a file that turned out not to fit the map.
    void forgetStoredViewSettings();

    const SAFTsettings& savedSAFT() const { return m_savedSAFT; }
    const MapViewState& savedState() const { return m_savedState; }
    //! What counts as stored from now on: after opening a map without stored settings (so
    //! that an untouched map is not taken as changed) and after a successful write.
    void setSavedViewSettings(const SAFTsettings& saft, const MapViewState& state);

    //! Reads the folder's comments. Loaded: they become the text and count as stored.
    //! Missing: nothing changes, no message. Unreadable or Invalid: nothing changes and
    //! pError gets the warning text; the damaged file is left alone.
    StoredFileStatus readComments(const QString& strFolder, QString* pError = nullptr);
    const QString& comments() const { return m_comments; }
    //! The editor's text; it counts as changed while it differs from the stored text.
    void setComments(const QString& strComments) { m_comments = strComments; }
    bool commentsChanged() const { return m_comments != m_storedComments; }

    //! Reads the folder's indications. Loaded: they become the list and count as stored.
    //! Missing: nothing changes. Unreadable or Invalid: nothing changes, pError says why and
    //! the file stays as it is until the user changes the list and agrees to store it.
    StoredFileStatus readIndications(const QString& strFolder, QString* pError = nullptr);
    const std::vector<MapIndication>& indications() const { return m_indications; }
    void setIndications(std::vector<MapIndication> list) { m_indications = std::move(list); }
    bool indicationsChanged() const { return m_indications != m_storedIndications; }
    //! Writes the list into strFolder's "indications.json"; on success it counts as stored.
    bool saveIndications(const QString& strFolder, QString* pError = nullptr);

    //! The current SAFT record or viewing state differ from the saved ones.
    bool settingsChanged(const SAFTsettings& current, const MapViewState& currentState) const;

    //! Writes the current records into strFolder's "usr_map.set"; on success they become the
    //! saved ones. False with the warning text in pError otherwise.
    bool saveViewSettings(const QString& strFolder, const SAFTsettings& current, const MapViewState& currentState,
                          QString* pError = nullptr);
    //! Writes the comments into strFolder's "map.cmm"; on success they count as stored.
    bool saveComments(const QString& strFolder, QString* pError = nullptr);

    //! Writes, without asking and without marking anything as saved, what changed: the
    //! viewing settings, the comments and the indications, each when it changed. iWritten gets
    //! the MapFilesWritten bits of the files really written; the result is false when any
    //! write failed, with one warning text per failure appended to pErrors.
    bool saveChanges(const QString& strFolder, const SAFTsettings& current, const MapViewState& currentState,
                     int& iWritten, QStringList* pErrors = nullptr) const;
    //! After the whole map was saved: the current records and comments count as stored.
    void markSaved(const SAFTsettings& current, const MapViewState& currentState);

    //! No map: default records, no comments, nothing changed.
    void clear();

private:
    SAFTsettings m_savedSAFT;
    MapViewState m_savedState;
    bool m_bStoredViewSettings = false;
    QString m_comments;
    QString m_storedComments;
    std::vector<MapIndication> m_indications;
    std::vector<MapIndication> m_storedIndications;
};
