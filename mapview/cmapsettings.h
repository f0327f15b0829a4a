#pragma once
// The map settings window: the map's instrument settings, the SAFT processing panel and the
// comments editor. It works on copies and hands every change back to the map view by signals.

#include "ascan/configsettings.h"
#include "map/saftsettings.h"

#include <QString>
#include <QWidget>

class CWgtSAFTparam;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QTableWidget;
struct MapConfig;

//! "Map Viewing Settings", a tool window of the map view. Made for one open map; the view
//! destroys it when the map is cleared.
class CMapSettings : public QWidget
{
    Q_OBJECT

public:
    //! The map's grid as the configuration file gives it.
    struct Geometry
    {
        qint32 stepH = 0; // horizontal probe step, mm
        qint32 stepV = 0; // vertical probe step, mm
        qint32 sizeH = 0; // horizontal size in points; 0 when not recorded
        qint32 sizeV = 0; // vertical size in points; 0 when not recorded

        static Geometry fromConfig(const MapConfig& config);
    };

    static constexpr int kTableRows = 21;

    //! openedSAFT is what the panel's Reset returns to and what Execute results are compared
    //! with; currentSAFT is shown in the panel. Processing is available unless the settings
    //! say transmission. The comments are shown without counting as a change.
    CMapSettings(const Geometry& geometry, const ConfigSettings& settings, const SAFTsettings& openedSAFT,
                 const SAFTsettings& currentSAFT, const QString& strTitle, EScanProcessing eViewing,
                 const QString& strComments, QWidget* parent = nullptr);

    //! The record the window was made with.
    SAFTsettings openedSAFT() const { return m_openedSAFT; }
    //! The record of the last Execute; openedSAFT until the first one.
    SAFTsettings lastSAFT() const { return m_lastSAFT; }
    //! The panel's current record (Reset or Execute may have changed it since lastSAFT).
    SAFTsettings currentSAFT() const;
    //! Whether an Execute applied a record other than the one the window was made with.
    bool saftChanged() const { return m_lastSAFT != m_openedSAFT; }
    EScanProcessing viewingMode() const;
    bool processingAvailable() const { return m_bProcessingAvailable; }
    const QString& comments() const { return m_comments; }
    const QString& title() const { return m_strTitle; }
    const Geometry& geometryInfo() const { return m_geometry; }
    const ConfigSettings& settings() const { return m_settings; }
    CWgtSAFTparam* saftPanel() const { return wgt_saft; }

    //! Replaces the editor's text without emitting commentsChanged.
    void setComments(const QString& strComments);
    //! Shows a mode the view switched to by itself; emits nothing.
    void setViewingMode(EScanProcessing eViewing);
    //! For the settings command on an existing window: when hidden, the panel first goes back
    //! to lastSAFT (entries never executed are dropped); then the window is shown and raised.
    void showAgain();

    //! Texts in the current language; called on every language change.
    void retranslateUi();

signals:
    void viewingModeChanged(const EScanProcessing& eViewing);
    void executeProcessing(const SAFTsettings& params);
    void commentsChanged(const QString& s);

public slots:
    void slot_commentsChanged();
    void slot_executeMapProcessing();

protected:
    void changeEvent(QEvent* event) override;

private:
    void setupUi();
    void fillTable();

    QGroupBox* grpb_table = nullptr;
    QTableWidget* tw_settings = nullptr;
    CWgtSAFTparam* wgt_saft = nullptr;
    QLabel* lbl_comments = nullptr;
    QPlainTextEdit* tedt_comments = nullptr;

    QString m_strTitle;
    Geometry m_geometry;
    ConfigSettings m_settings;
    SAFTsettings m_openedSAFT;
    SAFTsettings m_lastSAFT;
    bool m_bProcessingAvailable = true;
    QString m_comments;
};
