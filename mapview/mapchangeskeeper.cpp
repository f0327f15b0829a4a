#include "mapview/mapchangeskeeper.h"

#include "app/constants.h"
#include "map/mapstoredfiles.h"

#include <QCoreApplication>
#include <QMessageBox>

MapChangesKeeper::MapChangesKeeper(MapStoredFiles& stored, const SAFTsettings& saft,
                                   std::function<MapViewState()> state, std::function<bool()> loaded,
                                   std::function<void(const QString&)> warn, QWidget* pParent)
    : m_stored(stored)
    , m_saft(saft)
    , m_state(std::move(state))
    , m_loaded(std::move(loaded))
    , m_warn(std::move(warn))
    , m_pParent(pParent)
{
}

void MapChangesKeeper::askToSave(const QString& strFolder)
{
    if (!m_loaded())
        return;
    const MapViewState state = m_state();
    const bool bSettings = m_stored.settingsChanged(m_saft, state);
    const bool bComments = m_stored.commentsChanged();
    const bool bIndications = m_stored.indicationsChanged();
    const QString strText = questionText(bSettings, bComments, bIndications);
    if (strText.isEmpty())
        return;
    if (QMessageBox::question(m_pParent, QString::fromLatin1(Vantar::kApplicationName), strText,
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    QString strError;
    if (bSettings && !m_stored.saveViewSettings(strFolder, m_saft, state, &strError))
        m_warn(strError);
    if (bComments && !m_stored.saveComments(strFolder, &strError))
        m_warn(strError);
    if (bIndications && !m_stored.saveIndications(strFolder, &strError))
        m_warn(strError);
}

QString MapChangesKeeper::questionText(bool bSettings, bool bComments, bool bIndications)
{
    if (!bIndications) {
        if (bSettings && bComments)
            return QCoreApplication::translate("CMapScans", "Map's viewing settings and comments were changed.\nDo you want to save them?");
        if (bSettings)
            return QCoreApplication::translate("CMapScans", "Map's viewing settings were changed. Do you want to save them?");
        if (bComments)
            return QCoreApplication::translate("CMapScans", "Map's comments were changed. Do you want to save them?");
        return QString();
    }
    if (bSettings && bComments)
        return QCoreApplication::translate("CMapScans", "Map's viewing settings, comments and indications were changed.\nDo you want to save them?");
    if (bSettings)
        return QCoreApplication::translate("CMapScans", "Map's viewing settings and indications were changed.\nDo you want to save them?");
    if (bComments)
        return QCoreApplication::translate("CMapScans", "Map's comments and indications were changed.\nDo you want to save them?");
    return QCoreApplication::translate("CMapScans", "Map's indications were changed. Do you want to save them?");
}

int MapChangesKeeper::pendingChanges() const
{
    if (!m_loaded())
        return NoMapFileWritten;
    int bits = NoMapFileWritten;
    if (m_stored.settingsChanged(m_saft, m_state()))
        bits |= ViewSettingsWritten;
    if (m_stored.commentsChanged())
        bits |= CommentsWritten;
    if (m_stored.indicationsChanged())
        bits |= IndicationsWritten;
    return bits;
}

bool MapChangesKeeper::writeChanges(const QString& strFolder, int& iWritten)
{
    iWritten = NoMapFileWritten;
    if (!m_loaded())
        return true;
    QStringList errors;
    const bool bOk = m_stored.saveChanges(strFolder, m_saft, m_state(), iWritten, &errors);
    for (const QString& e : errors)
        m_warn(e);
    return bOk;
}

void MapChangesKeeper::markChangesSaved()
{
    if (m_loaded())
        m_stored.markSaved(m_saft, m_state());
}
