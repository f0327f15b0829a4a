#include "map/mapstoredfiles.h"

#include "app/constants.h"
#include "map/indicationsfile.h"

QString MapStoredFiles::viewSettingsPath(const QString& strFolder)
{
    return strFolder + Vantar::kPathSeparator + QLatin1String(Vantar::kViewSettingsFileName);
}

QString MapStoredFiles::commentsPath(const QString& strFolder)
{
    return strFolder + Vantar::kPathSeparator + QLatin1String(Vantar::kCommentsFileName);
}

QString MapStoredFiles::indicationsPath(const QString& strFolder)
{
    return IndicationsFile::path(strFolder);
}

StoredFileStatus MapStoredFiles::readViewSettings(const QString& strFolder)
{
    SAFTsettings saft;
    MapViewState state;
    const StoredFileStatus eStatus = readViewSettingsFile(viewSettingsPath(strFolder), saft, state);
    if (eStatus == StoredFileStatus::Loaded) {
        m_savedSAFT = saft;
        m_savedState = state;
        m_bStoredViewSettings = true;
    }
    return eStatus;
}

void MapStoredFiles::forgetStoredViewSettings()
{
    m_savedSAFT = SAFTsettings();
    m_savedState = MapViewState();
    m_bStoredViewSettings = false;
}

void MapStoredFiles::setSavedViewSettings(const SAFTsettings& saft, const MapViewState& state)
{
    m_savedSAFT = saft;
    m_savedState = state;
}

StoredFileStatus MapStoredFiles::readComments(const QString& strFolder, QString* pError)
{
    QString text;
    const StoredFileStatus eStatus = readCommentsFile(commentsPath(strFolder), text, pError);
    if (eStatus == StoredFileStatus::Loaded) {
        m_comments = text;
        m_storedComments = text;
    }
    return eStatus;
}

StoredFileStatus MapStoredFiles::readIndications(const QString& strFolder, QString* pError)
{
    std::vector<MapIndication> list;
    const StoredFileStatus eStatus = IndicationsFile::read(indicationsPath(strFolder), list, pError);
    if (eStatus == StoredFileStatus::Loaded) {
        m_indications = list;
        m_storedIndications = std::move(list);
    }
    return eStatus;
}

bool MapStoredFiles::saveIndications(const QString& strFolder, QString* pError)
{
    if (!IndicationsFile::write(indicationsPath(strFolder), m_indications, pError))
        return false;
    m_storedIndications = m_indications;
    return true;
}

bool MapStoredFiles::settingsChanged(const SAFTsettings& current, const MapViewState& currentState) const
{
    return current != m_savedSAFT || currentState != m_savedState;
}

bool MapStoredFiles::saveViewSettings(const QString& strFolder, const SAFTsettings& current,
                                      const MapViewState& currentState, QString* pError)
{
    if (!writeViewSettingsFile(viewSettingsPath(strFolder), current, currentState, pError))
        return false;
    setSavedViewSettings(current, currentState);
    return true;
}

bool MapStoredFiles::saveComments(const QString& strFolder, QString* pError)
{
    if (!writeCommentsFile(commentsPath(strFolder), m_comments, pError))
        return false;
    m_storedComments = m_comments;
    return true;
}

bool MapStoredFiles::saveChanges(const QString& strFolder, const SAFTsettings& current,
                                 const MapViewState& currentState, int& iWritten, QStringList* pErrors) const
{
    iWritten = NoMapFileWritten;
    bool bOk = true;
    QString strError;
    // Each changed file is written; a failure is told and the others are still tried.
    const auto save = [&](bool bChanged, int iBit, bool bWritten) {
        if (!bChanged)
            return;
        if (bWritten) {
            iWritten |= iBit;
            return;
        }
        bOk = false;
        if (pErrors)
            pErrors->append(strError);
    };
    const bool bSettings = settingsChanged(current, currentState);
    save(bSettings, ViewSettingsWritten,
         bSettings && writeViewSettingsFile(viewSettingsPath(strFolder), current, currentState, &strError));
    save(commentsChanged(), CommentsWritten,
         commentsChanged() && writeCommentsFile(commentsPath(strFolder), m_comments, &strError));
    save(indicationsChanged(), IndicationsWritten,
         indicationsChanged() && IndicationsFile::write(indicationsPath(strFolder), m_indications, &strError));
    return bOk;
}

void MapStoredFiles::markSaved(const SAFTsettings& current, const MapViewState& currentState)
{
    setSavedViewSettings(current, currentState);
    m_storedComments = m_comments;
    m_storedIndications = m_indications;
}

void MapStoredFiles::clear()
{
    forgetStoredViewSettings();
    m_comments.clear();
    m_storedComments.clear();
    m_indications.clear();
    m_storedIndications.clear();
}
