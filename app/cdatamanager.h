#pragma once

#include "app/language.h"

#include <QIcon>
#include <QMainWindow>
#include <QTranslator>

#include <functional>

class CHelpViewer;
class CWinDataTempl;
class QPrinter;
class QTabWidget;

//! The main window: the "A-Scan" and "Map" tabs, the shared printer, help, About and language.
class CDataManager : public QMainWindow
{
    Q_OBJECT

public:
    //! Makes the shared printer; returns null when it cannot be made.
    using PrinterFactory = std::function<QPrinter*()>;

    explicit CDataManager(QWidget* parent = nullptr, PrinterFactory printerFactory = {});
    ~CDataManager() override;

    CWinDataTempl* ascanWindow() const { return wgt_ascan; }
    CWinDataTempl* mapWindow() const { return wgt_map; }
    QTabWidget* tabs() const { return tbwgt_modes; }
    ECurrentLanguage language() const { return m_eLang; }
    QString helpFile() const { return m_strHelpFile; }
    CHelpViewer* helpViewer() const { return m_pHelpViewer; }
    QWidget* aboutWindow() const { return m_pAboutWindow; }

    //! Opens an A-scan file or a map configuration file in its tab, as Open would; false when
    //! the path is neither or does not exist.
    bool openPath(const QString& strPath);
    //! Opens each path in its tab; the tab of the first one opened is shown.
    void openPaths(const QStringList& paths);

    QString aboutHtml() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void slot_switchLanguage(ECurrentLanguage eLang);
    void slot_showHelp();
    void slot_showInfoAbout();

private:
    void setupUi();
    bool createPrinter(const PrinterFactory& factory);
    void readSettings();
    void writeSettings();
    void initDataWindows();
    void retranslate();
    void setAboutTexts();

    QWidget* centralwidget = nullptr;
    QTabWidget* tbwgt_modes = nullptr;
    QWidget* tab_scan = nullptr;
    QWidget* tab_map = nullptr;
    CWinDataTempl* wgt_ascan = nullptr;
    CWinDataTempl* wgt_map = nullptr;

    QWidget* m_pAboutWindow = nullptr;
    CHelpViewer* m_pHelpViewer = nullptr;
    QPrinter* m_pPrinter = nullptr;
    ECurrentLanguage m_eLang = Russian;
    QTranslator m_translator;
    QTranslator m_qtTranslator; // Qt's own texts, switched with ours
    QString m_strAppDir;
    QString m_strHelpFile;
    QIcon m_iconLang;
    // Start-up ran to its end; only then may closing write the preferences back.
    bool m_bStarted = false;
};
