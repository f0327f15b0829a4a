#pragma once

#include "app/language.h"

#include <QIcon>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace Vantar {
class DrivePlatform;
}

class QAction;
class QDialog;
class QLabel;
class QPrinter;
class QProgressBar;
class QToolButton;
class ScanWgt;
class CMapScans;

//! Content of one main-window tab: a toolbar of commands over the view of its mode
//! (mode 0 hosts the A-scan view, mode 1 the map view).
class CWinDataTempl : public QWidget
{
    Q_OBJECT

public:
    enum DataMode { AScanMode = 0, MapMode = 1 };

    //! Asks the user for a file to open: (parent, caption, folder, filter) -> path or empty.
    using OpenFileChooser = std::function<QString(QWidget*, const QString&, const QString&, const QString&)>;
    //! Asks the user for a folder: (parent, caption, folder) -> path or empty.
    using FolderChooser = std::function<QString(QWidget*, const QString&, const QString&)>;

    explicit CWinDataTempl(QWidget* parent = nullptr);
    ~CWinDataTempl() override;

    void setDataMode(int iMode);
    int dataMode() const { return m_iDataMode; }

    void applyLanguage(ECurrentLanguage eLang, const QIcon& iconLang);

    QString workingDir() const { return m_strWorkingDir; }
    QString savingDir() const { return m_strSavingDir; }
    void setWorkingDir(const QString& strDir) { m_strWorkingDir = strDir; }
    void setSavingDir(const QString& strDir) { m_strSavingDir = strDir; }
    void setPrinter(QPrinter* pPrinter) { m_pPrinter = pPrinter; }
    void setLogoPath(const QString& strPath) { m_strLogoPath = strPath; }
    QString logoPath() const { return m_strLogoPath; }

    //! At close: lets the map view offer to keep changed viewing settings and comments.
    void askToSaveMapChanges();

    //! Opens a chosen file as the Open command does.
    void openData(const QString& strPath, const QString& strDir);
    void clearView();
    void enableMapCommands(bool bLoaded, bool bSaved);

    //! The hosted views; null in the other mode or when the view could not be made.
    ScanWgt* ascanView() const;
    CMapScans* mapView() const;

    //! Replaces the file dialogs (tests, scripted use).
    void setOpenFileChooser(OpenFileChooser chooser) { m_openChooser = std::move(chooser); }
    void setFolderChooser(FolderChooser chooser) { m_folderChooser = std::move(chooser); }
    //! Replaces this computer's drive table in the refusal of the instrument's drive (tests).
    void setDrivePlatform(std::shared_ptr<const Vantar::DrivePlatform> platform);

    //! False when strFolder lies on the instrument's drive (read afresh at every call).
    bool isOutsideInstrument(const QString& strFolder) const;

signals:
    void changeLanguage(ECurrentLanguage eLang);
    void showHelp();
    void showInfoAbout();

private slots:
    void slot_loadDataDir();
    void slot_saveSelectedData();
    void slot_printSelectedData();
    void slot_changeScansViewingMode(bool checked);
    void slot_changeMeasuringMode(bool checked);
    void slot_changeScanDragMode(bool checked);
    void slot_showMapSettings();
    void slot_resetMapSettings();
    void slot_showLangMenu();
    void slot_selectLangActivated(QAction* pAction);
    void slot_dataLoadingRejected();
    void slot_newDataLoaded(bool bLoaded);
    void slot_scansViewingModeChanged(bool checked);
    void slot_measuringModeChanged(bool checked);
    void slot_mapDataLoaded(bool bLoaded, bool bDataSaved);
    void slot_scanDraggingPossible(bool bEnabled);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setupUi();
    void createView();
    void updateModeButtons();
    void setToolTips();
    class SavingObserver;
    //! The saving progress dialog, made anew for each copying loop; deleteSavingDialog ends it.
    void createSavingDialog();
    void deleteSavingDialog();
    bool saveAScansTo(const QString& strFolder);
    bool saveMapTo();
    QToolButton* makeToolButton(const char* objectName, const QPoint& pos, const QString& icon,
                                bool checkable, bool enabled, int iconSize = 32);

    QToolButton* tbtn_save = nullptr;
    QToolButton* tbtn_open = nullptr;
    QToolButton* tbtn_print = nullptr;
    QToolButton* tbtn_help = nullptr;
    QToolButton* tbtn_info = nullptr;
    QWidget* wgt_viewing = nullptr;
    QToolButton* tbtn_settings = nullptr;
    QToolButton* tbtn_slicesfusion = nullptr;
    QToolButton* tbtn_language = nullptr;
    QToolButton* tbtn_selectrect = nullptr;
    QLabel* lbl_filename = nullptr;
    QToolButton* tbtn_scandrag = nullptr;
    QToolButton* tbtn_reset_settings = nullptr;

    QLabel* lbl_procInfo = nullptr;
    QProgressBar* prgb_procInfo = nullptr;
    QAction* m_pActRussian = nullptr;
    QAction* m_pActEnglish = nullptr;
    QWidget* m_pView = nullptr;
    QPrinter* m_pPrinter = nullptr;
    QDialog* m_pSavingDialog = nullptr;
    QString m_strLogoPath;
    QString m_strWorkingDir;
    QString m_strSavingDir;
    ECurrentLanguage m_eLang = Russian;
    int m_iDataMode = MapMode;

    OpenFileChooser m_openChooser;
    FolderChooser m_folderChooser;
    std::shared_ptr<const Vantar::DrivePlatform> m_drivePlatform;
};
