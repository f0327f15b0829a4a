#pragma once
// What the map view does with the map's stored viewing settings, comments and indications when the user
// leaves the map or saves a copy of it: the question, the writes and their warnings. Kept
// apart from the view, which only supplies the applied record and its viewing state.

#include "app/datawindow/datasaver.h"
#include "map/mapviewstate.h"
#include "map/saftsettings.h"

#include <QString>

#include <functional>

class MapStoredFiles;
class QWidget;

class MapChangesKeeper : public Vantar::MapChangesWriter
{
public:
    //! stored: the view's files; saft: the record that produced the shown volume; state: the
    //! viewing state as it is now; loaded: a map is open; warn shows a warning to the user.
    MapChangesKeeper(MapStoredFiles& stored, const SAFTsettings& saft, std::function<MapViewState()> state,
                     std::function<bool()> loaded, std::function<void(const QString&)> warn, QWidget* pParent);

    //! The question of which files changed; Yes writes them into strFolder.
    void askToSave(const QString& strFolder);
    int pendingChanges() const override;
    bool writeChanges(const QString& strFolder, int& iWritten) override;
    void markChangesSaved() override;
    //! The leave prompt's question for what changed; empty when nothing did.
    static QString questionText(bool bSettings, bool bComments, bool bIndications);

private:
    MapStoredFiles& m_stored;
    const SAFTsettings& m_saft;
    std::function<MapViewState()> m_state;
    std::function<bool()> m_loaded;
    std::function<void(const QString&)> m_warn;
    QWidget* m_pParent;
};
