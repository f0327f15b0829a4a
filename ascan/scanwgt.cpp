#include "ascan/scanwgt.h"

#include "app/constants.h"
#include "app/creportprinter.h"
#include "ascan/ascanreport.h"
#include "ascan/ascanfile.h"
#include "ascan/cascanwgt.h"
#include "ascan/settingsfile.h"
#include "ascan/settingsrows.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kColumnWidth = 163;
constexpr int kRowHeight = 29;

QString joinPath(const QString& folder, const QString& name)
{
    // Folders come with '/' separators; a backslash at the end is part of a folder's name.
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + Vantar::kPathSeparator + name;
}

bool samePath(const QString& a, const QString& b)
{
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

// A picture for an A-scan whose screen picture does not read.
QIcon placeholderIcon()
{
    QPixmap pm(CListWidgetHeir::kIconWidth, CListWidgetHeir::kIconHeight);
    pm.fill(QColor(64, 64, 64));
    QPainter p(&pm);
    p.setPen(QPen(QColor(160, 160, 160), 2));
    p.drawLine(8, 8, pm.width() - 8, pm.height() - 8);
    p.drawLine(pm.width() - 8, 8, 8, pm.height() - 8);
    return QIcon(pm);
}

} // namespace

ScanWgt::ScanWgt(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ScanWgt"));
    setMinimumSize(1000, 640);
    setupUi();
    retranslate();
    clear();
}

ScanWgt::~ScanWgt()
{
    // A loading loop still running sees the flag and stops.
    m_bLoadingOpen = false;
    delete m_pLoadingDialog;
}

void ScanWgt::setupUi()
{
    auto* main = new QVBoxLayout(this);
    main->setObjectName(QStringLiteral("verticalLayout"));
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(4);

    auto* strip = new QHBoxLayout;
    strip->setObjectName(QStringLiteral("horizontalLayout"));
    strip->setSpacing(4);
    btn_shiftLeft = new QPushButton(this);
    btn_shiftLeft->setObjectName(QStringLiteral("btn_shiftLeft"));
    btn_shiftLeft->setIcon(QIcon(QStringLiteral(":/vantar/images/previous.png")));
    btn_shiftLeft->setIconSize(QSize(24, 24));
    btn_shiftLeft->setFixedWidth(32);
    btn_shiftLeft->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    fileListWidget = new CListWidgetHeir(this);
    fileListWidget->setObjectName(QStringLiteral("fileListWidget"));
    fileListWidget->setFixedHeight(CListWidgetHeir::kIconHeight + 60);
    btn_shiftRight = new QPushButton(this);
    btn_shiftRight->setObjectName(QStringLiteral("btn_shiftRight"));
    btn_shiftRight->setIcon(QIcon(QStringLiteral(":/vantar/images/next.png")));
    btn_shiftRight->setIconSize(QSize(24, 24));
    btn_shiftRight->setFixedWidth(32);
    btn_shiftRight->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    strip->addWidget(btn_shiftLeft);
    strip->addWidget(fileListWidget, 1);
    strip->addWidget(btn_shiftRight);
    main->addLayout(strip);

    auto* body = new QHBoxLayout;
    body->setObjectName(QStringLiteral("horizontalLayout_2"));
    body->setSpacing(6);
    auto* left = new QVBoxLayout;
    left->setObjectName(QStringLiteral("verticalLayout_2"));
    left->setSpacing(2);
    lbl_filename = new QLabel(this);
    lbl_filename->setObjectName(QStringLiteral("lbl_filename"));
    QFont f = lbl_filename->font();
    f.setPointSize(11);
    f.setBold(true);
    lbl_filename->setFont(f);
    lbl_filename->setFixedHeight(22);
    frameGraph = new QFrame(this);
    frameGraph->setObjectName(QStringLiteral("frameGraph"));
    frameGraph->setFrameShape(QFrame::StyledPanel);
    frameGraph->setMinimumSize(640, 480);
    auto* graph = new QVBoxLayout(frameGraph);
    graph->setObjectName(QStringLiteral("gridLayout"));
    graph->setContentsMargins(1, 1, 1, 1);
    m_pDisplay = new CAScanWgt(frameGraph);
    graph->addWidget(m_pDisplay);
    left->addWidget(lbl_filename);
    left->addWidget(frameGraph, 1);
    body->addLayout(left, 1);

    grpb_table = new QGroupBox(this);
    grpb_table->setObjectName(QStringLiteral("grpb_table"));
    auto* tableBox = new QVBoxLayout(grpb_table);
    tableBox->setObjectName(QStringLiteral("gridLayout_2"));
    tableBox->setContentsMargins(4, 4, 4, 4);
    tw_settings = new QTableWidget(RowCount, 2, grpb_table);
    tw_settings->setObjectName(QStringLiteral("tw_settings"));
    tw_settings->setSelectionMode(QAbstractItemView::SingleSelection);
    tw_settings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tw_settings->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tw_settings->horizontalHeader()->hide();
    tw_settings->verticalHeader()->hide();
    tw_settings->horizontalHeader()->setMinimumSectionSize(100);
    tw_settings->verticalHeader()->setMinimumSectionSize(10);
    for (int c = 0; c < 2; ++c)
        tw_settings->setColumnWidth(c, kColumnWidth);
    for (int r = 0; r < RowCount; ++r)
        tw_settings->setRowHeight(r, kRowHeight);
    tw_settings->setFixedSize(2 * kColumnWidth + 2 * tw_settings->frameWidth(),
                              RowCount * kRowHeight + 2 * tw_settings->frameWidth());
    tableBox->addWidget(tw_settings);
    tableBox->addStretch(1);
    body->addWidget(grpb_table, 0, Qt::AlignTop);
    main->addLayout(body, 1);

    connect(btn_shiftLeft, &QPushButton::clicked, fileListWidget, &CListWidgetHeir::slot_btn_shiftLeft_clicked);
    connect(btn_shiftRight, &QPushButton::clicked, fileListWidget, &CListWidgetHeir::slot_btn_shiftRight_clicked);
    connect(fileListWidget, &CListWidgetHeir::filesSelectionChanged, this, &ScanWgt::slot_filesSelectionChanged);
    connect(fileListWidget->horizontalScrollBar(), &QScrollBar::valueChanged, this, &ScanWgt::slot_fileListScrollBarChanged);
    connect(fileListWidget->horizontalScrollBar(), &QScrollBar::rangeChanged, this, &ScanWgt::slot_fileListScrollBarRangeChanged);
    connect(m_pDisplay, &CAScanWgt::settingsChanged, this, &ScanWgt::slot_settingsChanged);
    connect(m_pDisplay, &CAScanWgt::settingsReset, this, &ScanWgt::slot_settingsReset);
}

void ScanWgt::retranslate()
{
    m_pDisplay->retranslate();
    updateGroupTitle();
    updateInfoLine();
    if (m_pLoadingDialog) {
        m_pLoadingDialog->setWindowTitle(tr("Data Loading"));
        if (auto* b = m_pLoadingDialog->findChild<QPushButton*>(QStringLiteral("btn_cancel")))
            b->setText(tr("Cancel"));
    }
    btn_shiftLeft->setToolTip(tr("Previous A-scans"));
    btn_shiftRight->setToolTip(tr("Next A-scans"));
    if (m_strCurrentPath.isEmpty())
        tw_settings->clearContents();
    else
        buildTable(m_bTableEditable);
}

// ---------------------------------------------------------------------------------------------
// Listing a folder

QIcon ScanWgt::pictureIcon(const QString& strPath) const
{
    QImageReader reader(strPath);
    const QImage picture = reader.read();
    if (picture.isNull())
        return placeholderIcon();
    return QIcon(QPixmap::fromImage(picture.scaled(CListWidgetHeir::kIconWidth, CListWidgetHeir::kIconHeight,
                                                   Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void ScanWgt::loadFolder(const QString& strCurrentFile, const QString& strFolder)
{
    // One listing at a time: the dialog is modal, so only a program could ask twice.
    if (m_pLoadingDialog)
        return;
    QPointer<ScanWgt> self(this);

    auto* dlg = new QDialog(this);
    dlg->setObjectName(QStringLiteral("dlg_infoLoad"));
    dlg->setWindowTitle(tr("Data Loading"));
    dlg->setWindowModality(Qt::ApplicationModal);
    dlg->setFixedSize(400, 170);
    auto* box = new QVBoxLayout(dlg);
    m_pLoadingLabel = new QLabel(tr("The program is loading available data. Please, wait."), dlg);
    m_pLoadingLabel->setObjectName(QStringLiteral("lbl_infoLoading"));
    m_pLoadingLabel->setWordWrap(true);
    m_pLoadingBar = new QProgressBar(dlg);
    m_pLoadingBar->setObjectName(QStringLiteral("prgb_loading"));
    m_pLoadingBar->setRange(0, 100);
    m_pLoadingBar->setValue(0);
    auto* cancel = new QPushButton(tr("Cancel"), dlg);
    cancel->setObjectName(QStringLiteral("btn_cancel"));
    box->addWidget(m_pLoadingLabel);
    box->addWidget(m_pLoadingBar);
    box->addWidget(cancel, 0, Qt::AlignHCenter | Qt::AlignBottom);
    connect(cancel, &QPushButton::clicked, dlg, &QDialog::reject);
    connect(dlg, &QDialog::rejected, this, &ScanWgt::slot_dataLoadingRejected);
    m_pLoadingDialog = dlg;
    m_bLoadingOpen = true;
    dlg->show();
    QCoreApplication::processEvents();

    QStringList names;
    if (self && m_bLoadingOpen)
        names = QDir(strFolder).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Unsorted);
    const int total = sortNumbered(names);
    int remembered = -1;
    int done = 0;
    for (const QString& name : std::as_const(names)) {
        if (!self || !m_bLoadingOpen)
            break;
        const QString path = joinPath(strFolder, name);
        const QString title = readAScanTitle(path);
        if (!title.isEmpty()) {
            const AScanListEntry entry{pictureIcon(path), title, path};
            const int row = fileListWidget->addEntry(entry);
            m_entries.append(entry);
            if (!strCurrentFile.isEmpty() && remembered < 0 && samePath(path, strCurrentFile))
                remembered = row;
        }
        ++done;
        if (done == 1)
            m_pLoadingLabel->setText(tr("Data loading progress:"));
        m_pLoadingBar->setValue(int(std::floor(double(done) / total * 100.0 + 0.5)));
        QCoreApplication::processEvents();
    }
    if (!self)
        return;

    const bool cancelled = !m_bLoadingOpen;
    m_bLoadingOpen = false;
    m_pLoadingDialog = nullptr;
    m_pLoadingLabel = nullptr;
    m_pLoadingBar = nullptr;
    dlg->hide();
    dlg->deleteLater();
    if (cancelled)
        return;

    if (fileListWidget->count() == 0) {
        m_strMessage = tr("No A-scans were found in the folder \"%1\".").arg(QDir::toNativeSeparators(strFolder));
        updateInfoLine();
        return;
    }
    const int row = remembered >= 0 ? remembered : 0;
    fileListWidget->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    if (row != 0)
        fileListWidget->scrollToItem(fileListWidget->item(row));
    updateShiftButtons();
}

void ScanWgt::slot_dataLoadingRejected()
{
    if (!m_bLoadingOpen)
        return;
    m_bLoadingOpen = false;
    emit dataLoadingRejected();
}

void ScanWgt::slot_fileListScrollBarChanged(int value)
{
    fileListWidget->setLastScrollValue(value);
    updateShiftButtons();
}

void ScanWgt::slot_fileListScrollBarRangeChanged(int, int)
{
    updateShiftButtons();
}

void ScanWgt::updateShiftButtons()
{
    const QScrollBar* bar = fileListWidget->horizontalScrollBar();
    btn_shiftLeft->setEnabled(bar->value() > bar->minimum());
    btn_shiftRight->setEnabled(bar->value() < bar->maximum());
}

QStringList ScanWgt::selectedFiles() const
{
    return fileListWidget->selectedPaths();
}

QStringList ScanWgt::listedFiles() const
{
    return fileListWidget->paths();
}

// ---------------------------------------------------------------------------------------------
// Showing one A-scan

bool ScanWgt::loadAScan(const QString& strPath, QString* pError)
{
    AScanRecord record;
    QString error;
    QString warning;
    if (!loadAScanRecord(strPath, record, &error, &warning)) {
        if (pError)
            *pError = error;
        return false;
    }
    if (!warning.isEmpty() && !m_warnedSettings.contains(strPath)) {
        // Said once per file; the instrument's own settings are shown instead.
        m_warnedSettings << strPath;
        warn(warning);
    }
    const auto edit = m_edits.constFind(strPath);
    const ConfigSettings current = edit != m_edits.constEnd() ? *edit : record.fileSettings;
    m_pDisplay->setData(record.samples, record.fileSettings, current);
    m_strName = record.name;
    m_strDate = record.date;
    m_strSetupName = record.setupName;
    m_shown = current;
    return true;
}

void ScanWgt::slot_filesSelectionChanged(QString filename)
{
    QString error;
    const bool loaded = loadAScan(filename, &error);
    if (loaded) {
        m_strCurrentPath = filename;
        m_strMessage.clear();
        m_bEdited = m_edits.contains(filename);
        updateInfoLine();
        updateGroupTitle();
        tw_settings->clearSelection();
        buildTable(true);
    } else {
        // Only this A-scan is not shown: the list and the other files' edits stay.
        clearShown(error);
    }
    emit newDataLoaded(loaded);
}

void ScanWgt::clearShown(const QString& strMessage)
{
    m_strCurrentPath.clear();
    m_strName.clear();
    m_strDate.clear();
    m_strSetupName.clear();
    m_strMessage = strMessage;
    m_bEdited = false;
    m_shown = ConfigSettings();
    m_pDisplay->clear();
    tw_settings->clearContents();
    updateGroupTitle();
    updateInfoLine();
    // The strip may select this file again to retry.
    fileListWidget->resetAnnounced();
}

void ScanWgt::clear()
{
    m_strCurrentPath.clear();
    m_strName.clear();
    m_strDate.clear();
    m_strSetupName.clear();
    m_strMessage.clear();
    m_edits.clear();
    m_entries.clear();
    m_warnedSettings.clear();
    m_pDisplay->clear();
    tw_settings->clearContents();
    fileListWidget->clearEntries();
    updateShiftButtons();
    m_bEdited = false;
    m_shown = ConfigSettings();
    updateGroupTitle();
    updateInfoLine();
}

QString ScanWgt::infoText() const
{
    return lbl_filename->text();
}

void ScanWgt::updateInfoLine()
{
    if (!m_strMessage.isEmpty()) {
        lbl_filename->setText(m_strMessage);
        lbl_filename->setStyleSheet(QStringLiteral("color: #b00000;"));
        return;
    }
    QString text = tr("A-Scan Name");
    if (m_bEdited)
        text += QLatin1Char('*');
    text += QStringLiteral(": ") + m_strName;
    if (!m_strDate.isEmpty())
        text += QStringLiteral("   ") + m_strDate;
    lbl_filename->setText(text);
    lbl_filename->setStyleSheet(m_bEdited && !m_strName.isEmpty() ? QStringLiteral("color: red;")
                                                                  : QStringLiteral("color: black;"));
}

void ScanWgt::updateGroupTitle()
{
    grpb_table->setTitle(m_strSetupName.isEmpty() ? tr("Instrument Settings") : m_strSetupName);
}

// ---------------------------------------------------------------------------------------------
// Settings table

void ScanWgt::buildTable(bool bEditable)
{
    disconnect(tw_settings, &QTableWidget::cellChanged, this, &ScanWgt::slot_cellChanged);
    m_bTableEditable = bEditable;
    tw_settings->clearContents();
    // The rows of SettingsRows::ascanTable(), in the order of ETableRow.
    const QList<ReportRow> rows = SettingsRows::rows(SettingsRows::ascanTable(), m_shown);
    for (int row = 0; row < RowCount; ++row) {
        auto* label = new QTableWidgetItem(rows.at(row).label);
        label->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        label->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        tw_settings->setItem(row, 0, label);
        auto* value = new QTableWidgetItem(rows.at(row).value);
        Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        if (bEditable && (row == RowVelocity || row == RowBase))
            flags |= Qt::ItemIsEditable;
        value->setFlags(flags);
        value->setTextAlignment(Qt::AlignCenter);
        tw_settings->setItem(row, 1, value);
    }
    if (bEditable) {
        struct Combo { int row; QStringList texts; int index; };
        const Combo combos[] = {
            {RowScale, {tr("mm"), tr("\xc2\xb5s")}, m_shown.eScaleUnits == ConfigSettings::UnitsUs ? 1 : 0},
            {RowDiscreteness, {tr("1"), tr("0.1")}, m_shown.eDiscreteness == ConfigSettings::Discreteness01 ? 1 : 0},
            {RowCursor, {tr("Off"), tr("On")}, m_shown.iCursor != 0 ? 1 : 0},
            {RowTestingMethod, {tr("Reflection"), tr("Transmission")}, m_shown.eTestingMethod == ConfigSettings::Transmission ? 1 : 0},
        };
        for (const Combo& c : combos) {
            auto* combo = new QComboBox(tw_settings);
            combo->setObjectName(QStringLiteral("cmb_row%1").arg(c.row));
            combo->addItems(c.texts);
            combo->setCurrentIndex(c.index);
            combo->setFocusPolicy(Qt::StrongFocus);
            connect(combo, &QComboBox::currentIndexChanged, this,
                    [this, combo](int) { slot_wgtCellTextChanged(combo->currentText()); });
            tw_settings->setCellWidget(c.row, 1, combo);
        }
    } else {
        for (int row : {int(RowScale), int(RowDiscreteness), int(RowCursor), int(RowTestingMethod)})
            tw_settings->removeCellWidget(row, 1);
    }
    connect(tw_settings, &QTableWidget::cellChanged, this, &ScanWgt::slot_cellChanged);
}

void ScanWgt::setValueText(int iRow, const QString& text)
{
    if (QTableWidgetItem* item = tw_settings->item(iRow, 1)) {
        const QSignalBlocker block(tw_settings);
        item->setText(text);
    }
}

void ScanWgt::slot_wgtCellTextChanged(QString text)
{
    if (!m_pDisplay->hasData())
        return;
    if (text == tr("mm")) {
        m_shown.eScaleUnits = ConfigSettings::UnitsMm;
        m_pDisplay->setScaleUnits(0);
    } else if (text == tr("\xc2\xb5s")) {
        m_shown.eScaleUnits = ConfigSettings::UnitsUs;
        m_pDisplay->setScaleUnits(1);
    } else if (text == tr("1")) {
        m_shown.eDiscreteness = ConfigSettings::Discreteness1;
        m_pDisplay->setDiscreteness(0);
    } else if (text == tr("0.1")) {
        m_shown.eDiscreteness = ConfigSettings::Discreteness01;
        m_pDisplay->setDiscreteness(1);
    } else if (text == tr("Off")) {
        m_shown.iCursor = 0;
        m_pDisplay->setCursorOn(false);
    } else if (text == tr("On")) {
        m_shown.iCursor = 1;
        m_pDisplay->setCursorOn(true);
    } else if (text == tr("Reflection")) {
        m_shown.eTestingMethod = ConfigSettings::Reflection;
        m_pDisplay->setTestingMethod(0);
    } else if (text == tr("Transmission")) {
        m_shown.eTestingMethod = ConfigSettings::Transmission;
        m_pDisplay->setTestingMethod(1);
    }
}

void ScanWgt::slot_cellChanged(int row, int column)
{
    if (column != 1 || !m_pDisplay->hasData())
        return;
    const QTableWidgetItem* labelItem = tw_settings->item(row, 0);
    const QTableWidgetItem* valueItem = tw_settings->item(row, 1);
    if (!labelItem || !valueItem)
        return;
    const QString text = valueItem->text().trimmed();

    if (row == RowVelocity) {
        bool ok = false;
        const int v = text.toInt(&ok, 10);
        if (ok && v >= 500 && v <= 15000 && v != m_shown.iVelocity) {
            m_shown.iVelocity = qint16(v);
            setValueText(row, m_shown.velocityText());
            m_pDisplay->setVelocity(v);
        } else {
            setValueText(row, m_shown.velocityText());
        }
        return;
    }
    if (row != RowBase)
        return;

    QString number = text;
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = number.toDouble(&ok);
    const bool off = tr("Off").startsWith(text, Qt::CaseInsensitive) || text == QLatin1String("0")
                     || (ok && std::abs(v) < 0.0001);
    if (off) {
        const bool wasOn = m_shown.iBaseMode != 0;
        m_shown.iBaseMode = 0;
        setValueText(row, m_shown.baseText());
        if (wasOn)
            m_pDisplay->setBase(false, m_shown.dBase);
        return;
    }
    if (!ok || !std::isfinite(v)) {
        setValueText(row, m_shown.baseText());
        return;
    }
    setValueText(row, QString::number(v, 'f', 1));
    if (v >= 10.0 && v <= 15000.0) {
        if (std::abs(v - m_shown.dBase) > 0.001 || m_shown.iBaseMode == 0) {
            m_shown.dBase = v;
            m_shown.iBaseMode = 1;
            m_pDisplay->setBase(true, v);
        }
    } else {
        setValueText(row, m_shown.baseText());
    }
}

void ScanWgt::slot_settingsChanged(bool bEdited)
{
    if (m_strCurrentPath.isEmpty())
        return;
    // The display holds the whole record, measurement included; the table follows it.
    m_shown = m_pDisplay->currentSettings();
    if (bEdited)
        m_edits.insert(m_strCurrentPath, m_pDisplay->currentSettings());
    if (bEdited != m_bEdited) {
        if (m_bEdited)
            m_edits.remove(m_strCurrentPath);
        m_bEdited = bEdited;
        updateInfoLine();
    }
}

void ScanWgt::slot_settingsReset(ConfigSettings settings)
{
    m_shown = settings;
    tw_settings->clearSelection();
    m_bEdited = false;
    m_edits.remove(m_strCurrentPath);
    updateInfoLine();
    buildTable(true);
}

// ---------------------------------------------------------------------------------------------
// Keeping and dropping edits

void ScanWgt::warn(const QString& text)
{
    QMessageBox::warning(this, Vantar::applicationName(), text, QMessageBox::Ok);
}

bool ScanWgt::confirmDiscardEdits()
{
    if (m_edits.isEmpty())
        return true;
    const QString text = tr("The settings of %n A-scan(s) were changed and not saved.\n"
                            "Do you want to discard the changes?", nullptr, int(m_edits.size()));
    return QMessageBox::question(this, Vantar::applicationName(), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool ScanWgt::saveEditedSettings(const QString& strKeyPath, const QString& strStem,
                                 const QString& strFolder, bool& bAsked, bool& bOverwrite,
                                 bool& bWritten)
{
    bWritten = false;
    const auto edit = m_edits.constFind(strKeyPath);
    if (edit == m_edits.constEnd())
        return true;
    const QString target = strFolder + strStem + QLatin1String(Vantar::kSettingsExtension);
    if (!bAsked && QFileInfo::exists(target)) {
        const QString text = tr("The file \"%1\" already exists!").arg(target) + QLatin1Char('\n')
                             + tr("Do you want to rewrite it?");
        bAsked = true;
        bOverwrite = QMessageBox::question(this, Vantar::applicationName(), text,
                                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
        if (!bOverwrite)
            return false;
    }
    QString error;
    bWritten = writeConfigFile(target, *edit, &error);
    if (!bWritten)
        warn(error);
    return bWritten;
}

void ScanWgt::forgetEdits(const QStringList& paths)
{
    bool current = false;
    for (const QString& path : paths) {
        m_edits.remove(path);
        current = current || path == m_strCurrentPath;
    }
    if (current && !m_strCurrentPath.isEmpty()) {
        const QString path = m_strCurrentPath;
        slot_filesSelectionChanged(path);
    }
}

bool ScanWgt::saveAllEditsInPlace()
{
    QStringList saved;
    bool all = true;
    for (auto it = m_edits.constBegin(); it != m_edits.constEnd(); ++it) {
        QString error;
        if (writeConfigFile(settingsPathFor(it.key()), it.value(), &error)) {
            saved << it.key();
        } else {
            all = false;
            warn(error);
        }
    }
    forgetEdits(saved);
    return all;
}

void ScanWgt::offerToSaveEdits()
{
    if (m_edits.isEmpty())
        return;
    const QString text = tr("The settings of %n A-scan(s) were changed and not saved.\n"
                            "Do you want to save them into the settings files beside the A-scans?",
                            nullptr, int(m_edits.size()));
    if (QMessageBox::question(this, Vantar::applicationName(), text, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes)
        saveAllEditsInPlace();
}

// ---------------------------------------------------------------------------------------------

bool ScanWgt::printAScanReports(QPrinter* pPrinter, const QString& strLogoPath)
{
    if (!pPrinter)
        return false;
    QList<int> rows;
    for (int row = 0; row < fileListWidget->count(); ++row)
        if (fileListWidget->item(row)->isSelected())
            rows << row;
    if (rows.isEmpty())
        return false;

    const QString shownPath = m_strCurrentPath;
    const bool shownEditable = m_bTableEditable;
    bool ok = true;
    {
        CReportPrinter run(pPrinter, this);
        int number = 0;
        for (int row : std::as_const(rows)) {
            ++number; // an A-scan that does not load keeps its number
            const QString path = fileListWidget->pathAt(row);
            if (!loadAScan(path))
                continue;
            tw_settings->clearSelection();
            buildTable(false);
            AScanReportData data;
            data.title = fileListWidget->item(row)->text();
            if (!m_strDate.isEmpty())
                data.title += QStringLiteral("   ") + m_strDate;
            data.logoPath = strLogoPath;
            AScanPictureParts parts;
            parts.display = m_pDisplay->displayImage();
            parts.verticalScale = m_pDisplay->verticalScaleImage();
            parts.horizontalScale = m_pDisplay->horizontalScaleImage();
            parts.readouts = m_pDisplay->readoutsImage();
            data.picture = AScanReport::composePicture(parts);
            data.setupName = m_strSetupName;
            data.rows = SettingsRows::rows(SettingsRows::ascanTable(), m_shown);
            if (!run.printAScanReport(data, number)) {
                ok = false;
                break;
            }
        }
        ok = run.finish() && ok;
    }

    // Back to what was shown before printing, with its unsaved edits.
    if (!shownPath.isEmpty() && loadAScan(shownPath)) {
        tw_settings->clearSelection();
        buildTable(shownEditable);
    } else {
        const QString message = m_strMessage;
        clearShown(message);
    }
    return ok;
}
