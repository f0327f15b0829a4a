#pragma once

#include "ascan/clistwidgetheir.h"
#include "ascan/configsettings.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QWidget>

class CAScanWgt;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPrinter;
class QPushButton;
class QTableWidget;

//! Viewing area of the A-scan tab: the file strip, the A-scan display and its settings table.
//! Edits made in the table or on the display are kept per A-scan until saved or reset.
class ScanWgt : public QWidget
{
    Q_OBJECT

public:
    //! Rows of the settings table (SettingsRows::ascanTable()).
    enum ETableRow { RowProbe, RowFrequency, RowDelay, RowGain, RowVoltage, RowPeriod, RowRate,
                     RowAveraging, RowVelocity, RowBase, RowTvg, RowScale, RowDiscreteness,
                     RowCursor, RowInputFilter, RowTestingMethod, RowCount };

    explicit ScanWgt(QWidget* parent = nullptr);
    ~ScanWgt() override;

    //! Lists every A-scan of the folder in the order of their numbers under a cancellable
    //! dialog and selects strCurrentFile (the first A-scan when it is not listed).
    void loadFolder(const QString& strCurrentFile, const QString& strFolder);
    //! Empties the tab and drops every unsaved edit.
    void clear();
    void retranslate();

    //! True when the user may drop the unsaved edits (none, or agreed to discard them).
    bool confirmDiscardEdits();

    bool printAScanReports(QPrinter* pPrinter, const QString& strLogoPath);

    //! Reads one A-scan and shows it (with its unsaved edits, when it has any). On failure
    //! the display and the table are emptied, the list and other files' edits stay, and
    //! pError says why.
    bool loadAScan(const QString& strPath, QString* pError = nullptr);

    //! Full paths of the selected A-scans, in the order of the strip.
    QStringList selectedFiles() const;
    int selectedCount() const { return int(selectedFiles().size()); }
    //! Paths of every listed A-scan.
    QStringList listedFiles() const;

    //! Writes the unsaved edits of strKeyPath (if any) as strFolder + strStem + "sss", asking
    //! once (through bAsked) before replacing an existing file. False when the user refused
    //! or writing failed; bWritten tells whether the file was written.
    bool saveEditedSettings(const QString& strKeyPath, const QString& strStem,
                            const QString& strFolder, bool& bAsked, bool& bOverwrite,
                            bool& bWritten);
    //! Drops the edits of these A-scans (their settings files now hold them); the shown one
    //! is read again so its file settings are what was written.
    void forgetEdits(const QStringList& paths);
    //! Writes every unsaved edit into its own settings file; false when one failed (its edit
    //! is kept).
    bool saveAllEditsInPlace();
    //! At close: asks whether the unsaved edits go into their settings files and writes them
    //! on Yes. Nothing is asked without edits.
    void offerToSaveEdits();

    bool hasUnsavedEdits() const { return !m_edits.isEmpty(); }
    QStringList editedFiles() const { return m_edits.keys(); }
    bool isEdited() const { return m_bEdited; }
    QString currentPath() const { return m_strCurrentPath; }
    QString ascanName() const { return m_strName; }
    QString ascanDate() const { return m_strDate; }
    QString setupName() const { return m_strSetupName; }
    const ConfigSettings& shownSettings() const { return m_shown; }
    //! The information line as shown.
    QString infoText() const;

    //! Rebuilds the settings table; read-only mode shows texts in every cell (for printing).
    void buildTable(bool bEditable);
    CAScanWgt* display() const { return m_pDisplay; }
    CListWidgetHeir* fileList() const { return fileListWidget; }

signals:
    void dataLoadingRejected();
    void newDataLoaded(bool bLoaded);

public slots:
    void slot_dataLoadingRejected();
    void slot_settingsChanged(bool bEdited);
    void slot_settingsReset(ConfigSettings settings);
    void slot_fileListScrollBarChanged(int value);
    void slot_fileListScrollBarRangeChanged(int min, int max);
    void slot_filesSelectionChanged(QString filename);
    void slot_cellChanged(int row, int column);
    void slot_wgtCellTextChanged(QString text);

private:
    void setupUi();
    void updateInfoLine();
    void updateGroupTitle();
    void updateShiftButtons();
    void clearShown(const QString& strMessage);
    void setValueText(int iRow, const QString& text);
    QIcon pictureIcon(const QString& strPath) const;
    void warn(const QString& text);

    QPushButton* btn_shiftLeft = nullptr;
    QPushButton* btn_shiftRight = nullptr;
    CListWidgetHeir* fileListWidget = nullptr;
    QLabel* lbl_filename = nullptr;
    QFrame* frameGraph = nullptr;
    CAScanWgt* m_pDisplay = nullptr;
    QGroupBox* grpb_table = nullptr;
    QTableWidget* tw_settings = nullptr;

    QString m_strCurrentPath;
    QString m_strName;
    QString m_strDate;
    QString m_strSetupName;
    QString m_strMessage; // why the selected A-scan is not shown
    ConfigSettings m_shown;
    QMap<QString, ConfigSettings> m_edits;
    bool m_bEdited = false;
    bool m_bTableEditable = false;
    QList<AScanListEntry> m_entries;
    QStringList m_warnedSettings; // settings files already reported as unreadable

    QDialog* m_pLoadingDialog = nullptr;
    QLabel* m_pLoadingLabel = nullptr;
    QProgressBar* m_pLoadingBar = nullptr;
    bool m_bLoadingOpen = false;
};
