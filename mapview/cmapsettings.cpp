#include "mapview/cmapsettings.h"

#include "ascan/settingsrows.h"
#include "map/mapconfig.h"
#include "mapview/cwgtsaftparam.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTableWidget>

namespace {
constexpr int kWindowWidth = 690;
constexpr int kWindowHeight = 570;
constexpr int kRowHeight = 25;
constexpr int kValueColumnWidth = 100;

QFont pointFont(const QFont& base, int iPoints)
{
    QFont f = base;
    f.setPointSize(iPoints);
    return f;
}
// The value column is narrow and some translations are long: such a text is set smaller
// until it fits the cell rather than being cut off.
QFont fittingFont(const QFont& base, const QString& strText, int iCellWidth)
{
    constexpr int kPadding = 8;
    constexpr int kSmallestPoints = 7;
    QFont f = base;
    while (f.pointSize() > kSmallestPoints && QFontMetrics(f).horizontalAdvance(strText) > iCellWidth - kPadding)
        f.setPointSize(f.pointSize() - 1);
    return f;
}
} // namespace

CMapSettings::Geometry CMapSettings::Geometry::fromConfig(const MapConfig& config)
{
    return {config.stepH, config.stepV, config.sizeH, config.sizeV};
}

CMapSettings::CMapSettings(const Geometry& geometry, const ConfigSettings& settings, const SAFTsettings& openedSAFT,
                           const SAFTsettings& currentSAFT, const QString& strTitle, EScanProcessing eViewing,
                           const QString& strComments, QWidget* parent)
    : QWidget(parent, Qt::Tool)
    , m_strTitle(strTitle)
    , m_geometry(geometry)
    , m_settings(settings)
    , m_openedSAFT(openedSAFT)
    , m_lastSAFT(openedSAFT)
    , m_bProcessingAvailable(settings.eTestingMethod != ConfigSettings::Transmission)
    , m_comments(strComments)
{
    setObjectName(QStringLiteral("CMapSettings"));
    setupUi();
    wgt_saft->setParameters(openedSAFT, currentSAFT, eViewing, m_bProcessingAvailable);
    tedt_comments->setPlainText(m_comments);
    retranslateUi();

    connect(wgt_saft, &CWgtSAFTparam::viewingModeChanged, this, &CMapSettings::viewingModeChanged);
    connect(wgt_saft, &CWgtSAFTparam::executeProcessing, this, &CMapSettings::slot_executeMapProcessing);
    connect(tedt_comments, &QPlainTextEdit::textChanged, this, &CMapSettings::slot_commentsChanged);
}

void CMapSettings::setupUi()
{
    resize(kWindowWidth, kWindowHeight);
    // Everything is placed at fixed positions, so the window does not grow or shrink.
    setFixedSize(kWindowWidth, kWindowHeight);

    grpb_table = new QGroupBox(this);
    grpb_table->setObjectName(QStringLiteral("grpb_table"));
    grpb_table->setGeometry(0, 0, 350, 570);
    grpb_table->setMaximumWidth(350);
    grpb_table->setFont(pointFont(font(), 14));
    grpb_table->setAlignment(Qt::AlignHCenter);

    tw_settings = new QTableWidget(kTableRows, 2, grpb_table);
    tw_settings->setObjectName(QStringLiteral("tw_settings"));
    tw_settings->setGeometry(10, 30, 330, 530);
    tw_settings->setMaximumWidth(330);
    tw_settings->setFont(pointFont(font(), 10));
    tw_settings->setFocusPolicy(Qt::NoFocus);
    tw_settings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tw_settings->setSelectionMode(QAbstractItemView::NoSelection);
    tw_settings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tw_settings->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tw_settings->setWordWrap(false);
    tw_settings->setCornerButtonEnabled(false);
    QHeaderView* columns = tw_settings->horizontalHeader();
    columns->setDefaultSectionSize(163);
    columns->setMinimumSectionSize(100);
    columns->setSortIndicatorShown(true);
    columns->setSectionResizeMode(0, QHeaderView::Stretch);
    columns->setSectionResizeMode(1, QHeaderView::Fixed);
    columns->resizeSection(1, kValueColumnWidth);
    columns->hide();
    QHeaderView* rows = tw_settings->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(kRowHeight);
    rows->hide();

    wgt_saft = new CWgtSAFTparam(this);
    wgt_saft->setObjectName(QStringLiteral("wgt_saft"));
    wgt_saft->setGeometry(360, 0, 330, 400);

    lbl_comments = new QLabel(this);
    lbl_comments->setObjectName(QStringLiteral("lbl_comments"));
    lbl_comments->setGeometry(360, 410, 330, 30);
    lbl_comments->setAlignment(Qt::AlignCenter);
    lbl_comments->setFont(pointFont(font(), 12));

    tedt_comments = new QPlainTextEdit(this);
    tedt_comments->setObjectName(QStringLiteral("tedt_comments"));
    tedt_comments->setGeometry(360, 440, 330, 130);
    tedt_comments->setFont(pointFont(font(), 12));
}

void CMapSettings::retranslateUi()
{
    setWindowTitle(tr("Map Viewing Settings"));
    grpb_table->setTitle(m_strTitle.isEmpty() ? tr("Instrument Settings") : m_strTitle);
    lbl_comments->setText(tr("Comments"));
    fillTable();
}

void CMapSettings::fillTable()
{
    const QList<ReportRow> rows = SettingsRows::rows(
        SettingsRows::mapWindowTable(), m_settings,
        {m_geometry.stepH, m_geometry.stepV, m_geometry.sizeH, m_geometry.sizeV});
    const int labelWidth = tw_settings->width() - 2 * tw_settings->frameWidth() - kValueColumnWidth;
    for (int row = 0; row < rows.size(); ++row) {
        auto* label = new QTableWidgetItem(rows[row].label);
        label->setFlags(Qt::ItemIsEnabled);
        label->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setToolTip(rows[row].label);
        label->setFont(fittingFont(tw_settings->font(), rows[row].label, labelWidth));
        auto* value = new QTableWidgetItem(rows[row].value);
        value->setFlags(Qt::ItemIsEnabled);
        value->setTextAlignment(Qt::AlignCenter);
        value->setToolTip(rows[row].value);
        value->setFont(fittingFont(tw_settings->font(), rows[row].value, kValueColumnWidth));
        tw_settings->setItem(row, 0, label);
        tw_settings->setItem(row, 1, value);
    }
}

void CMapSettings::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

SAFTsettings CMapSettings::currentSAFT() const
{
    return wgt_saft->parameters();
}

EScanProcessing CMapSettings::viewingMode() const
{
    return wgt_saft->viewingMode();
}

void CMapSettings::setComments(const QString& strComments)
{
    m_comments = strComments;
    const QSignalBlocker blocker(tedt_comments);
    tedt_comments->setPlainText(strComments);
}

void CMapSettings::setViewingMode(EScanProcessing eViewing)
{
    wgt_saft->setViewingMode(eViewing);
}

void CMapSettings::showAgain()
{
    if (isHidden())
        wgt_saft->setParameters(m_openedSAFT, m_lastSAFT, wgt_saft->viewingMode(), m_bProcessingAvailable);
    show();
    raise();
    activateWindow();
}

void CMapSettings::slot_commentsChanged()
{
    // The editor also reports changes of layout alone; only a new text is a change.
    const QString text = tedt_comments->toPlainText();
    if (text == m_comments)
        return;
    m_comments = text;
    emit commentsChanged(m_comments);
}

void CMapSettings::slot_executeMapProcessing()
{
    m_lastSAFT = wgt_saft->parameters();
    emit executeProcessing(m_lastSAFT);
}
