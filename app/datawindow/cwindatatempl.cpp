#include "app/datawindow/cwindatatempl.h"

#include "app/constants.h"
#include "app/datawindow/datasaver.h"
#include "app/platform/drivediscovery.h"
#include "map/mapconfig.h"
#include "map/progress.h"

#include "ascan/scanwgt.h"
#include "mapview/cmapscans.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QToolButton>

namespace {
constexpr int kButtonSize = 40;
}

CWinDataTempl::CWinDataTempl(QWidget* parent)
    : QWidget(parent)
{
    setupUi();

    m_pActRussian = new QAction(QIcon(QStringLiteral(":/vantar/images/russian.png")), QString(), this);
    m_pActRussian->setCheckable(true);
    m_pActEnglish = new QAction(QIcon(QStringLiteral(":/vantar/images/english.png")), QString(), this);
    m_pActEnglish->setCheckable(true);

    connect(tbtn_open, &QToolButton::clicked, this, &CWinDataTempl::slot_loadDataDir);
    connect(tbtn_save, &QToolButton::clicked, this, &CWinDataTempl::slot_saveSelectedData);
    connect(tbtn_print, &QToolButton::clicked, this, &CWinDataTempl::slot_printSelectedData);
    connect(tbtn_slicesfusion, &QToolButton::toggled, this, &CWinDataTempl::slot_changeScansViewingMode);
    connect(tbtn_selectrect, &QToolButton::toggled, this, &CWinDataTempl::slot_changeMeasuringMode);
    connect(tbtn_scandrag, &QToolButton::toggled, this, &CWinDataTempl::slot_changeScanDragMode);
    connect(tbtn_settings, &QToolButton::clicked, this, &CWinDataTempl::slot_showMapSettings);
    connect(tbtn_reset_settings, &QToolButton::clicked, this, &CWinDataTempl::slot_resetMapSettings);
    connect(tbtn_language, &QToolButton::clicked, this, &CWinDataTempl::slot_showLangMenu);
    connect(tbtn_help, &QToolButton::clicked, this, &CWinDataTempl::showHelp);
    connect(tbtn_info, &QToolButton::clicked, this, &CWinDataTempl::showInfoAbout);
}

CWinDataTempl::~CWinDataTempl() = default;

QToolButton* CWinDataTempl::makeToolButton(const char* objectName, const QPoint& pos, const QString& icon,
                                           bool checkable, bool enabled, int iconSize)
{
    auto* button = new QToolButton(this);
    button->setObjectName(QLatin1String(objectName));
    button->setGeometry(QRect(pos, QSize(kButtonSize, kButtonSize)));
    button->setMinimumSize(kButtonSize, kButtonSize);
    button->setMaximumSize(kButtonSize, kButtonSize);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(iconSize, iconSize));
    button->setCheckable(checkable);
    button->setEnabled(enabled);
    button->setAutoRaise(true);
    return button;
}

void CWinDataTempl::setupUi()
{
    setObjectName(QStringLiteral("CWinDataTempl"));
    resize(1020, 710);
    setMinimumSize(1020, 710);
    setFocusPolicy(Qt::StrongFocus);

    const QString img = QStringLiteral(":/vantar/images/");
    tbtn_save = makeToolButton("tbtn_save", {60, 10}, img + "save.png", false, false);
    tbtn_open = makeToolButton("tbtn_open", {10, 10}, img + "fileopen.png", false, true);
    tbtn_print = makeToolButton("tbtn_print", {110, 10}, img + "fileprint.png", false, false);
    tbtn_help = makeToolButton("tbtn_help", {920, 10}, img + "help.png", false, true);
    tbtn_info = makeToolButton("tbtn_info", {970, 10}, img + "info.png", false, true);

    wgt_viewing = new QWidget(this);
    wgt_viewing->setObjectName(QStringLiteral("wgt_viewing"));
    wgt_viewing->setGeometry(10, 60, 1000, 640);
    wgt_viewing->setMinimumSize(1000, 640);

    tbtn_settings = makeToolButton("tbtn_settings", {350, 10}, img + "settings.png", false, false);
    tbtn_slicesfusion = makeToolButton("tbtn_slicesfusion", {180, 10}, img + "section.png", true, false);
    tbtn_language = makeToolButton("tbtn_language", {870, 10}, img + "english.png", false, true);
    tbtn_selectrect = makeToolButton("tbtn_selectrect", {230, 10}, img + "rectangle.png", true, false);

    lbl_filename = new QLabel(this);
    lbl_filename->setObjectName(QStringLiteral("lbl_filename"));
    lbl_filename->setGeometry(450, 15, 410, 30);
    lbl_filename->setMinimumSize(0, 30);
    lbl_filename->setMaximumSize(QWIDGETSIZE_MAX, 30);
    QFont labelFont = lbl_filename->font();
    labelFont.setPointSize(12);
    lbl_filename->setFont(labelFont);
    lbl_filename->setAlignment(Qt::AlignCenter);

    tbtn_scandrag = makeToolButton("tbtn_scandrag", {280, 10}, img + "cursor_hand.png", true, false);
    tbtn_reset_settings = makeToolButton("tbtn_reset_settings", {400, 10}, img + "undo.png", false, false, 24);
}

ScanWgt* CWinDataTempl::ascanView() const
{
    return m_iDataMode == AScanMode ? static_cast<ScanWgt*>(m_pView) : nullptr;
}

CMapScans* CWinDataTempl::mapView() const
{
    return m_iDataMode == MapMode ? static_cast<CMapScans*>(m_pView) : nullptr;
}

void CWinDataTempl::setDataMode(int iMode)
{
    m_iDataMode = iMode;
    createView();
}

void CWinDataTempl::createView()
{
    delete m_pView;
    m_pView = nullptr;

    if (m_iDataMode == AScanMode) {
        auto* view = new (std::nothrow) ScanWgt(this);
        if (view) {
            connect(view, &ScanWgt::dataLoadingRejected, this, &CWinDataTempl::slot_dataLoadingRejected);
            connect(view, &ScanWgt::newDataLoaded, this, &CWinDataTempl::slot_newDataLoaded);
            m_pView = view;
        }
    } else {
        auto* view = new (std::nothrow) CMapScans(this);
        if (view) {
            connect(view, &CMapScans::scansViewingModeChanged, this, &CWinDataTempl::slot_scansViewingModeChanged);
            connect(view, &CMapScans::measuringModeChanged, this, &CWinDataTempl::slot_measuringModeChanged);
            connect(view, &CMapScans::scanDraggingPossible, this, &CWinDataTempl::slot_scanDraggingPossible);
            connect(view, &CMapScans::mapDataLoaded, this, &CWinDataTempl::slot_mapDataLoaded);
            m_pView = view;
        }
    }

    if (m_pView) {
        m_pView->setGeometry(wgt_viewing->geometry());
        m_pView->show();
    }
    updateModeButtons();
}

void CWinDataTempl::updateModeButtons()
{
    const bool bMap = m_iDataMode == MapMode;
    tbtn_reset_settings->setVisible(bMap);
    tbtn_slicesfusion->setVisible(bMap);
    tbtn_selectrect->setVisible(bMap);
    tbtn_scandrag->setVisible(bMap);
    tbtn_settings->setVisible(bMap);
    lbl_filename->setVisible(bMap);
}

void CWinDataTempl::setToolTips()
{
    tbtn_open->setToolTip(tr("Open File"));
    tbtn_save->setToolTip(tr("Save Selected Files"));
    tbtn_print->setToolTip(tr("Print Selected Files"));
    tbtn_slicesfusion->setToolTip(tr("Viewing Mode \"Limits\""));
    tbtn_selectrect->setToolTip(tr("Anomalous Zone Selection"));
    tbtn_scandrag->setToolTip(tr("Enter Scans Dragging Mode"));
    tbtn_settings->setToolTip(tr("Map Settings"));
    tbtn_reset_settings->setToolTip(tr("Reset Scan View"));
    tbtn_language->setToolTip(tr("Change Current Language"));
    tbtn_help->setToolTip(tr("View Help"));
    tbtn_info->setToolTip(tr("About Program"));
}

void CWinDataTempl::applyLanguage(ECurrentLanguage eLang, const QIcon& iconLang)
{
    m_eLang = eLang;
    tbtn_language->setIcon(iconLang);
    setToolTips();
    m_pActRussian->setText(tr("Russian"));
    m_pActEnglish->setText(tr("English"));
    if (m_pSavingDialog) {
        m_pSavingDialog->setWindowTitle(tr("Data Saving"));
        lbl_procInfo->setText(tr("Data saving progress:"));
    }
    if (CMapScans* map = mapView()) {
        map->retranslate();
        lbl_filename->setText(map->titleText());
    } else if (ScanWgt* ascan = ascanView()) {
        ascan->retranslate();
    }
}

void CWinDataTempl::askToSaveMapChanges()
{
    if (CMapScans* map = mapView())
        map->askToSave(m_strWorkingDir);
}

void CWinDataTempl::slot_loadDataDir()
{
    // Without a view there is nothing to open into.
    if (!m_pView)
        return;
    const QString caption = tr("Open File");
    const QString filter = m_iDataMode == AScanMode ? tr("A-scans (*.bmp)") : tr("Configuration File (*.cfg)");
    const QString path = m_openChooser ? m_openChooser(this, caption, m_strWorkingDir, filter)
                                       : QFileDialog::getOpenFileName(this, caption, m_strWorkingDir, filter);
    if (path.isEmpty())
        return;
    openData(path, QFileInfo(path).absolutePath());
}

void CWinDataTempl::openData(const QString& strPath, const QString& strDir)
{
    if (!m_pView)
        return;
    if (CMapScans* map = mapView())
        map->askToSave(m_strWorkingDir);
    else if (ScanWgt* ascan = ascanView(); ascan && !ascan->confirmDiscardEdits())
        return;

    m_strWorkingDir = strDir;
    clearView();

    if (ScanWgt* ascan = ascanView())
        ascan->loadFolder(strPath, strDir);
    else if (CMapScans* map = mapView())
        map->openMap(strPath, strDir);
}

void CWinDataTempl::clearView()
{
    if (ScanWgt* ascan = ascanView()) {
        ascan->clear();
    } else if (CMapScans* map = mapView()) {
        map->clearMap();
        lbl_filename->setText(map->titleText());
        if (tbtn_scandrag->isChecked())
            tbtn_scandrag->setChecked(false);
        tbtn_scandrag->setEnabled(false);
        if (tbtn_selectrect->isChecked())
            tbtn_selectrect->setChecked(false);
        if (tbtn_slicesfusion->isChecked())
            tbtn_slicesfusion->setChecked(false);
    }
}

void CWinDataTempl::slot_dataLoadingRejected()
{
    // The A-scans listed before the cancel stay listed; none is selected, so there is nothing
    // to save or print.
    slot_newDataLoaded(false);
    QCoreApplication::processEvents();
}

void CWinDataTempl::slot_newDataLoaded(bool bLoaded)
{
    tbtn_save->setEnabled(bLoaded);
    tbtn_print->setEnabled(bLoaded);
}

void CWinDataTempl::slot_mapDataLoaded(bool bLoaded, bool bDataSaved)
{
    enableMapCommands(bLoaded, bDataSaved);
    // A map lost on the way (a failed reconstruction) takes its name away with it.
    if (CMapScans* map = mapView())
        lbl_filename->setText(map->titleText());
}

void CWinDataTempl::enableMapCommands(bool bLoaded, bool bSaved)
{
    tbtn_save->setEnabled(bLoaded);
    tbtn_print->setEnabled(bLoaded);
    tbtn_slicesfusion->setEnabled(bLoaded);
    tbtn_selectrect->setEnabled(bLoaded);
    tbtn_settings->setEnabled(bLoaded);
    tbtn_reset_settings->setEnabled(bLoaded && bSaved);
    if (tbtn_scandrag->isChecked())
        tbtn_scandrag->setChecked(false);
    tbtn_scandrag->setEnabled(false);
}

void CWinDataTempl::slot_scanDraggingPossible(bool bEnabled)
{
    if (!bEnabled && tbtn_scandrag->isChecked())
        tbtn_scandrag->setChecked(false);
    tbtn_scandrag->setEnabled(bEnabled);
}

void CWinDataTempl::slot_scansViewingModeChanged(bool checked)
{
    tbtn_slicesfusion->setChecked(checked);
}

void CWinDataTempl::slot_measuringModeChanged(bool checked)
{
    tbtn_selectrect->setChecked(checked);
}

void CWinDataTempl::slot_changeScansViewingMode(bool checked)
{
    if (CMapScans* map = mapView())
        map->setLimitsMode(checked);
}

void CWinDataTempl::slot_changeMeasuringMode(bool checked)
{
    if (CMapScans* map = mapView())
        map->setMeasuringMode(checked);
}

void CWinDataTempl::slot_changeScanDragMode(bool checked)
{
    if (CMapScans* map = mapView())
        map->setScanDragMode(checked);
}

void CWinDataTempl::slot_showMapSettings()
{
    if (CMapScans* map = mapView())
        map->showSettingsWindow();
}

void CWinDataTempl::slot_resetMapSettings()
{
    CMapScans* map = mapView();
    if (!map || !map->resetViewSettings(m_strWorkingDir))
        return;
    const QString cfgPath = map->configPath();
    clearView();
    map->openMap(cfgPath, m_strWorkingDir);
}

// Questions, warnings and progress of one save, shown by this window.
class CWinDataTempl::SavingObserver : public Vantar::SaveObserver
{
public:
    explicit SavingObserver(CWinDataTempl& window) : m_window(window) {}
    bool question(const QString& strText) override
    {
        return QMessageBox::question(&m_window, Vantar::applicationName(), strText,
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton)
            == QMessageBox::Yes;
    }
    void warning(const QString& strText) override
    {
        QMessageBox::warning(&m_window, Vantar::applicationName(), strText);
    }
    void loopStarted() override
    {
        m_window.createSavingDialog();
        QCoreApplication::processEvents();
    }
    void progress(int iPercent) override
    {
        if (m_window.m_pSavingDialog) {
            m_window.prgb_procInfo->setValue(iPercent);
            QCoreApplication::processEvents();
        }
    }
    void loopEnded() override { m_window.deleteSavingDialog(); }

private:
    CWinDataTempl& m_window;
};

// For a map view that keeps no stored files of its own: nothing is pending, nothing written.
namespace {
class NoMapChanges : public Vantar::MapChangesWriter
{
public:
    int pendingChanges() const override { return 0; }
    bool writeChanges(const QString&, int& iWritten) override
    {
        iWritten = 0;
        return true;
    }
};
} // namespace

void CWinDataTempl::setDrivePlatform(std::shared_ptr<const Vantar::DrivePlatform> platform)
{
    m_drivePlatform = std::move(platform);
}

bool CWinDataTempl::isOutsideInstrument(const QString& strFolder) const
{
    if (m_drivePlatform)
        return Vantar::isOutsideInstrument(strFolder, *m_drivePlatform);
    return Vantar::isOutsideInstrument(strFolder, *Vantar::createSystemDrivePlatform());
}

void CWinDataTempl::createSavingDialog()
{
    deleteSavingDialog();
    // A title but no buttons on it: the copy loop runs under this dialog and must not lose it.
    auto* dialog = new QDialog(this, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog->installEventFilter(this);
    dialog->setObjectName(QStringLiteral("dlg_infoSave"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setFixedSize(400, 120);
    lbl_procInfo = new QLabel(dialog);
    lbl_procInfo->setObjectName(QStringLiteral("lbl_procInfo"));
    lbl_procInfo->setGeometry(10, 10, 380, 40);
    lbl_procInfo->setAlignment(Qt::AlignJustify | Qt::AlignVCenter);
    prgb_procInfo = new QProgressBar(dialog);
    prgb_procInfo->setObjectName(QStringLiteral("prgb_procInfo"));
    prgb_procInfo->setGeometry(10, 60, 380, 40);
    prgb_procInfo->setRange(0, 100);
    prgb_procInfo->setValue(0);
    dialog->setWindowTitle(tr("Data Saving"));
    lbl_procInfo->setText(tr("Data saving progress:"));
    m_pSavingDialog = dialog;
    dialog->show();
}

void CWinDataTempl::deleteSavingDialog()
{
    delete m_pSavingDialog;
    m_pSavingDialog = nullptr;
    lbl_procInfo = nullptr;
    prgb_procInfo = nullptr;
}

void CWinDataTempl::slot_saveSelectedData()
{
    if (!m_pView)
        return;
    const QString caption = tr("Select Folder To Save Data");
    QString folder = m_folderChooser
        ? m_folderChooser(this, caption, m_strSavingDir)
        : QFileDialog::getExistingDirectory(this, caption, m_strSavingDir,
                                            QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (folder.isEmpty())
        return;
    // Only where a backslash separates folders; elsewhere it is a character of a folder's name.
    folder = QDir::fromNativeSeparators(folder);
    if (!isOutsideInstrument(folder)) {
        QMessageBox::warning(this, Vantar::applicationName(), Vantar::DataSaver::deviceRefusedText());
        return;
    }

    m_strSavingDir = folder;
    if (!QDir(m_strSavingDir).exists())
        QDir().mkpath(m_strSavingDir);
    if (!m_strSavingDir.endsWith(u'/'))
        m_strSavingDir += u'/';

    const bool bSaved = ascanView() ? saveAScansTo(folder) : saveMapTo();
    if (!bSaved)
        QMessageBox::warning(this, Vantar::applicationName(), Vantar::DataSaver::saveFailedText());
}

bool CWinDataTempl::saveAScansTo(const QString& strFolder)
{
    ScanWgt* ascan = ascanView();
    const QStringList paths = ascan->selectedFiles();
    SavingObserver observer(*this);
    // Read once for the run: every file written is checked against the same table.
    Vantar::DataSaver saver(observer, m_drivePlatform ? m_drivePlatform->read()
                                                      : Vantar::createSystemDrivePlatform()->read());
    const Vantar::AScanSettingsWriter writer = [ascan](const QString& strPath, const QString& strStem,
                                                       const QString& strSavingDir, Vantar::OverwriteAnswers& answers,
                                                       bool& bWritten) {
        return ascan->saveEditedSettings(strPath, strStem, strSavingDir, answers.asked, answers.yes, bWritten);
    };
    bool bSameFolder = false;
    QStringList written;
    if (!saver.saveSelectedAScans(paths, m_strSavingDir, writer, bSameFolder, written))
        return false;
    // Edits now kept in settings files are no longer unsaved.
    if (!written.isEmpty())
        ascan->forgetEdits(written);
    if (!bSameFolder) {
        QString folder = strFolder;
        while (folder.size() > 1 && folder.endsWith(u'/'))
            folder.chop(1);
        const QString first = QDir::fromNativeSeparators(paths.first());
        openData(m_strSavingDir + first.mid(first.lastIndexOf(u'/') + 1), folder);
    }
    return true;
}

bool CWinDataTempl::saveMapTo()
{
    CMapScans* map = mapView();
    if (!map)
        return false;
    const QString configPath = QDir::fromNativeSeparators(map->configPath());
    if (configPath.isEmpty())
        return false;
    // An unreadable name gives an empty one; the saver then takes the map folder's name.
    MapConfig config;
    const QString mapName = MapConfig::read(configPath, config) ? config.mapName : QString();
    SavingObserver observer(*this);
    Vantar::DataSaver saver(observer, m_drivePlatform ? m_drivePlatform->read()
                                                      : Vantar::createSystemDrivePlatform()->read());
    NoMapChanges none;
    auto* viewChanges = dynamic_cast<Vantar::MapChangesWriter*>(map);
    Vantar::MapChangesWriter& changes = viewChanges ? *viewChanges : none;
    if (!saver.saveCurrentMap(configPath, mapName, m_strSavingDir, changes))
        return false;
    changes.markChangesSaved();
    return true;
}

void CWinDataTempl::slot_printSelectedData()
{
    if (!m_pPrinter || !m_pView)
        return;
    QPrintDialog dialog(m_pPrinter, this);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (ScanWgt* ascan = ascanView())
        ascan->printAScanReports(m_pPrinter, m_strLogoPath);
    else if (CMapScans* map = mapView())
        map->printMapReport(m_pPrinter, m_strLogoPath);
}

void CWinDataTempl::slot_showLangMenu()
{
    const QPoint pos = tbtn_language->mapToGlobal(QPoint(0, 0)) - QPoint(88, 47);
    QMenu menu(this);
    menu.addAction(m_pActRussian);
    menu.addAction(m_pActEnglish);
    m_pActRussian->setChecked(m_eLang == Russian);
    m_pActEnglish->setChecked(m_eLang == English);
    connect(&menu, &QMenu::triggered, this, &CWinDataTempl::slot_selectLangActivated);
    menu.exec(pos);
}

void CWinDataTempl::slot_selectLangActivated(QAction* pAction)
{
    const ECurrentLanguage eLang = pAction == m_pActRussian ? Russian : English;
    if (eLang != m_eLang)
        emit changeLanguage(eLang);
}

bool CWinDataTempl::eventFilter(QObject* watched, QEvent* event)
{
    // While the copy loop runs, Esc and closing would hide its modal dialog and let other
    // commands run inside the loop.
    if (watched == m_pSavingDialog
        && ((event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            || event->type() == QEvent::Close)) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CWinDataTempl::keyPressEvent(QKeyEvent* event)
{
    if (CMapScans* map = mapView()) {
        if (event->key() == Qt::Key_Plus)
            map->stepBrightness(1);
        else if (event->key() == Qt::Key_Minus)
            map->stepBrightness(-1);
    }
    QWidget::keyPressEvent(event);
}

void CWinDataTempl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    const int b = kButtonSize;
    const QRect viewRect(10, b + 20, w - 20, h - b - 30);
    wgt_viewing->setGeometry(viewRect);
    if (m_pView)
        m_pView->setGeometry(viewRect);
    tbtn_info->move(w - b - 10, 10);
    tbtn_help->move(w - 2 * b - 20, 10);
    tbtn_language->move(w - 3 * b - 30, 10);
    const QRect label = lbl_filename->geometry();
    lbl_filename->setGeometry(label.left(), label.top(), tbtn_language->x() - 10 - label.left(), label.height());
}
