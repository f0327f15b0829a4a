#include "app/cdatamanager.h"

#include "app/chelpviewer.h"
#include "app/constants.h"
#include "app/datawindow/cwindatatempl.h"
#include "app/resourcepaths.h"
#include "ascan/scanwgt.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrinter>
#include <QSettings>
#include <QTabWidget>
#include <QTextBrowser>

namespace {

QString stringFromStore(QSettings& store, const char* key)
{
    return store.value(QLatin1String(key), QString()).toString();
}

// A stored folder is taken only when it still exists.
bool usableFolder(const QString& strDir)
{
    return !strDir.isEmpty() && QFile::exists(strDir);
}

} // namespace

CDataManager::CDataManager(QWidget* parent, PrinterFactory printerFactory)
    : QMainWindow(parent)
{
    setupUi();
    m_strAppDir = QCoreApplication::applicationDirPath();
    if (!createPrinter(printerFactory))
        return;
    m_pHelpViewer = nullptr;
    m_pAboutWindow = nullptr;
    readSettings();
    initDataWindows();
    slot_switchLanguage(m_eLang);
    m_bStarted = true;
}

CDataManager::~CDataManager()
{
    delete m_pPrinter;
    delete m_pAboutWindow;
    delete m_pHelpViewer;
}

void CDataManager::setupUi()
{
    setObjectName(QStringLiteral("CDataManagerTempl"));
    centralwidget = new QWidget(this);
    centralwidget->setObjectName(QStringLiteral("centralwidget"));
    auto* gridLayout_3 = new QGridLayout(centralwidget);
    gridLayout_3->setObjectName(QStringLiteral("gridLayout_3"));

    tbwgt_modes = new QTabWidget(centralwidget);
    tbwgt_modes->setObjectName(QStringLiteral("tbwgt_modes"));
    tbwgt_modes->setMinimumSize(1040, 750);
    gridLayout_3->addWidget(tbwgt_modes, 0, 0);

    tab_scan = new QWidget();
    tab_scan->setObjectName(QStringLiteral("tab_scan"));
    auto* gridLayout = new QGridLayout(tab_scan);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    wgt_ascan = new CWinDataTempl(tab_scan);
    wgt_ascan->setObjectName(QStringLiteral("wgt_ascan"));
    wgt_ascan->setMinimumSize(1020, 710);
    gridLayout->addWidget(wgt_ascan, 0, 0);
    tbwgt_modes->addTab(tab_scan, QString());

    tab_map = new QWidget();
    tab_map->setObjectName(QStringLiteral("tab_map"));
    auto* gridLayout_2 = new QGridLayout(tab_map);
    gridLayout_2->setObjectName(QStringLiteral("gridLayout_2"));
    wgt_map = new CWinDataTempl(tab_map);
    wgt_map->setObjectName(QStringLiteral("wgt_map"));
    wgt_map->setMinimumSize(1020, 710);
    gridLayout_2->addWidget(wgt_map, 0, 0);
    tbwgt_modes->addTab(tab_map, QString());

    setCentralWidget(centralwidget);
    resize(1060, 790);
    setMinimumSize(1060, 790);
    setWindowTitle(Vantar::applicationName());
    // A missing file keeps the default icon.
    const QString icon = Vantar::windowIconFile();
    if (!icon.isEmpty())
        setWindowIcon(QIcon(icon));

    tbwgt_modes->setTabText(0, tr("A-Scan"));
    tbwgt_modes->setTabText(1, tr("Map"));
    tbwgt_modes->setCurrentIndex(1);
}

bool CDataManager::createPrinter(const PrinterFactory& factory)
{
    if (factory) {
        m_pPrinter = factory();
    } else {
        m_pPrinter = new (std::nothrow) QPrinter(QPrinter::ScreenResolution);
        if (m_pPrinter)
            m_pPrinter->setPageOrientation(QPageLayout::Portrait);
    }
    if (!m_pPrinter) {
        QMessageBox::warning(this, Vantar::applicationName(), tr("Memory exhausted!"), QMessageBox::Ok);
        return false;
    }
    return true;
}

void CDataManager::readSettings()
{
    QSettings store(QLatin1String(Vantar::kOrganisationName), QLatin1String(Vantar::kApplicationName));
    m_eLang = static_cast<ECurrentLanguage>(store.value(QLatin1String(Vantar::kKeyLanguage), 0).toInt());

    const QString ascanWorking = stringFromStore(store, Vantar::kKeyAScanWorkingDir);
    if (usableFolder(ascanWorking))
        wgt_ascan->setWorkingDir(ascanWorking);
    const QString mapWorking = stringFromStore(store, Vantar::kKeyMapWorkingDir);
    if (usableFolder(mapWorking))
        wgt_map->setWorkingDir(mapWorking);
    const QString ascanSaving = stringFromStore(store, Vantar::kKeyAScanSavingDir);
    if (usableFolder(ascanSaving))
        wgt_ascan->setSavingDir(ascanSaving);
    const QString mapSaving = stringFromStore(store, Vantar::kKeyMapSavingDir);
    if (usableFolder(mapSaving))
        wgt_map->setSavingDir(mapSaving);
}

void CDataManager::writeSettings()
{
    QSettings store(QLatin1String(Vantar::kOrganisationName), QLatin1String(Vantar::kApplicationName));
    store.setValue(QLatin1String(Vantar::kKeyLanguage), int(m_eLang));
    store.setValue(QLatin1String(Vantar::kKeyAScanWorkingDir), wgt_ascan->workingDir());
    store.setValue(QLatin1String(Vantar::kKeyMapWorkingDir), wgt_map->workingDir());
    store.setValue(QLatin1String(Vantar::kKeyAScanSavingDir), wgt_ascan->savingDir());
    store.setValue(QLatin1String(Vantar::kKeyMapSavingDir), wgt_map->savingDir());
    store.sync();
}

void CDataManager::initDataWindows()
{
    const QString logoPath = Vantar::findDataFile(QStringLiteral("Norvik_logo_bw.bmp"));

    wgt_ascan->setDataMode(CWinDataTempl::AScanMode);
    wgt_map->setDataMode(CWinDataTempl::MapMode);

    for (CWinDataTempl* window : {wgt_ascan, wgt_map}) {
        window->setPrinter(m_pPrinter);
        window->setLogoPath(logoPath);
    }
    for (CWinDataTempl* window : {wgt_ascan, wgt_map})
        connect(window, &CWinDataTempl::showHelp, this, &CDataManager::slot_showHelp);
    for (CWinDataTempl* window : {wgt_ascan, wgt_map})
        connect(window, &CWinDataTempl::showInfoAbout, this, &CDataManager::slot_showInfoAbout);
    for (CWinDataTempl* window : {wgt_ascan, wgt_map})
        connect(window, &CWinDataTempl::changeLanguage, this, &CDataManager::slot_switchLanguage);

    wgt_map->setFocus(Qt::OtherFocusReason);
}

bool CDataManager::openPath(const QString& strPath)
{
    if (!m_bStarted)
        return false;
    const QFileInfo info(strPath);
    if (!info.isFile())
        return false;
    const QString suffix = info.suffix().toLower();
    int tab = -1;
    if (suffix == QLatin1String("cfg"))
        tab = 1;
    else if (suffix == QLatin1String("bmp"))
        tab = 0;
    if (tab < 0)
        return false;
    tbwgt_modes->setCurrentIndex(tab);
    (tab == 0 ? wgt_ascan : wgt_map)->openData(info.absoluteFilePath(), info.absolutePath());
    return true;
}

void CDataManager::openPaths(const QStringList& paths)
{
    int firstTab = -1;
    for (const QString& path : paths)
        if (openPath(path) && firstTab < 0)
            firstTab = tbwgt_modes->currentIndex();
    if (firstTab >= 0)
        tbwgt_modes->setCurrentIndex(firstTab);
}

void CDataManager::slot_switchLanguage(ECurrentLanguage eLang)
{
    m_eLang = eLang;
    if (eLang == Russian) {
        const bool bLoaded =
            m_translator.load(QStringLiteral("vantar_ru"), Vantar::dataFolderOf(QStringLiteral("vantar_ru.qm")));
        // Qt's own texts (the buttons of message boxes, the file and print dialogs) follow ours,
        // so that a missing translation leaves the whole interface in English.
        (void)m_qtTranslator.load(bLoaded ? QStringLiteral("qt_ru") : QString(), Vantar::qtTranslationsFolder());
        m_strHelpFile = QStringLiteral("helpVT_4.0_rus.htm");
        m_iconLang = QIcon(QStringLiteral(":/vantar/images/russian.png"));
    } else if (eLang == English) {
        // Loading nothing empties the translator, so the source texts show.
        (void)m_translator.load(QString(), m_strAppDir);
        (void)m_qtTranslator.load(QString(), m_strAppDir);
        m_strHelpFile = QStringLiteral("helpVT_4.0_eng.htm");
        m_iconLang = QIcon(QStringLiteral(":/vantar/images/english.png"));
    }
    // Taken out first so that it is never listed twice, and so that open windows are told
    // even when the translator is now empty: installing an empty one sends no language change.
    QCoreApplication::removeTranslator(&m_qtTranslator);
    QCoreApplication::removeTranslator(&m_translator);
    QCoreApplication::installTranslator(&m_qtTranslator);
    QCoreApplication::installTranslator(&m_translator);
    retranslate();
}

void CDataManager::retranslate()
{
    tbwgt_modes->setTabText(0, tr("A-Scan"));
    tbwgt_modes->setTabText(1, tr("Map"));
    wgt_ascan->applyLanguage(m_eLang, m_iconLang);
    wgt_map->applyLanguage(m_eLang, m_iconLang);
    if (m_pHelpViewer)
        m_pHelpViewer->setHelpFile(m_strHelpFile);
    if (m_pAboutWindow)
        setAboutTexts();
}

void CDataManager::slot_showHelp()
{
    if (!m_pHelpViewer) {
        m_pHelpViewer = new (std::nothrow) CHelpViewer();
        if (!m_pHelpViewer) {
            QMessageBox::warning(this, Vantar::applicationName(), tr("Memory exhausted!"), QMessageBox::Ok);
            return;
        }
        m_pHelpViewer->setHelpFile(m_strHelpFile);
    }
    m_pHelpViewer->show();
}

void CDataManager::slot_showInfoAbout()
{
    if (!m_pAboutWindow) {
        // Customised hints need the title hint as well, or X11 window managers draw no title
        // bar and so no close button.
        m_pAboutWindow = new (std::nothrow) QWidget(this, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                                              | Qt::WindowCloseButtonHint);
        if (!m_pAboutWindow) {
            QMessageBox::warning(this, Vantar::applicationName(), tr("Memory exhausted!"), QMessageBox::Ok);
            return;
        }
        m_pAboutWindow->setObjectName(QStringLiteral("AboutWindowGUI"));
        m_pAboutWindow->installEventFilter(this);
        m_pAboutWindow->setWindowModality(Qt::WindowModal);
        m_pAboutWindow->setFixedSize(300, 450);
        m_pAboutWindow->setFocusPolicy(Qt::NoFocus);
        m_pAboutWindow->setContextMenuPolicy(Qt::NoContextMenu);
        auto* aboutTBrowser = new QTextBrowser(m_pAboutWindow);
        aboutTBrowser->setObjectName(QStringLiteral("aboutTBrowser"));
        aboutTBrowser->setGeometry(0, 0, 300, 450);
        aboutTBrowser->setFixedSize(300, 450);
        aboutTBrowser->setFocusPolicy(Qt::NoFocus);
        aboutTBrowser->setContextMenuPolicy(Qt::NoContextMenu);
        aboutTBrowser->setFrameShape(QFrame::NoFrame);
        aboutTBrowser->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        aboutTBrowser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        aboutTBrowser->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        aboutTBrowser->setOpenLinks(true);
        aboutTBrowser->setOpenExternalLinks(true);
        setAboutTexts();
    }
    m_pAboutWindow->show();
}

void CDataManager::setAboutTexts()
{
    m_pAboutWindow->setWindowTitle(tr("About ") + Vantar::applicationName());
    if (auto* browser = m_pAboutWindow->findChild<QTextBrowser*>(QStringLiteral("aboutTBrowser")))
        browser->setHtml(aboutHtml());
}

QString CDataManager::aboutHtml() const
{
    const QString paragraph = QStringLiteral("<p align=\"center\" style=\" font-size:12pt;\">");
    const QString spacer = QStringLiteral("<p style=\" font-size:4pt;\">&nbsp;</p>");
    const QString address = m_eLang == English ? QStringLiteral("https://en.norvik.example")
                                               : QStringLiteral("https://ru.norvik.example");
    QString html;
    html += QStringLiteral("<body style=\" font-family:'Arial';\">\n");
    html += QStringLiteral("<p align=\"center\">") + QStringLiteral("<img src=\":/vantar/images/logo.bmp\"></p>\n");
    html += QStringLiteral("<p align=\"center\" style=\" font-size:16pt; font-weight:600;\">")
            + Vantar::applicationName() + tr(" Version %1.%2").arg(1).arg(62) + QStringLiteral("</p>\n");
    html += spacer;
    html += paragraph + tr("Norvik Software") + QStringLiteral("</p>\n");
    html += paragraph + tr("Software for ultrasonic inspection instruments") + QStringLiteral("</p>\n");
    html += paragraph + tr("Viewing, reconstruction and reporting of test data") + QStringLiteral("</p>\n");
    html += paragraph + tr("Thank you for using our products!") + QStringLiteral("</p>\n");
    if (m_eLang == English)
        html += spacer;
    html += QStringLiteral("<p align=\"center\" style=\" font-size:12pt; ");
    html += QStringLiteral("text-decoration: underline; color:#0000ff;\"> <a href=\"");
    html += address;
    html += QStringLiteral("\">");
    html += address;
    html += QStringLiteral("</a></p>\n");
    html += QStringLiteral("</body>");
    return html;
}

bool CDataManager::eventFilter(QObject* watched, QEvent* event)
{
    // The About box is a plain window without focusable children: Esc reaches it directly.
    if (watched == m_pAboutWindow && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_pAboutWindow->close();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CDataManager::closeEvent(QCloseEvent* event)
{
    delete m_pHelpViewer;
    m_pHelpViewer = nullptr;
    // When start-up was cut short nothing was read, so writing would wipe the stored values.
    if (m_bStarted) {
        writeSettings();
        wgt_map->askToSaveMapChanges();
        if (ScanWgt* ascan = wgt_ascan->ascanView())
            ascan->offerToSaveEdits();
    }
    event->accept();
}

void CDataManager::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1)
        slot_showHelp();
    QMainWindow::keyPressEvent(event);
}
