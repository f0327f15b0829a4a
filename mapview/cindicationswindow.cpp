#include "mapview/cindicationswindow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidgetItem* item(const QString& text, bool bEditable)
{
    auto* it = new QTableWidgetItem(text);
    it->setFlags(bEditable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                           : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    it->setTextAlignment(bEditable ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    return it;
}

} // namespace

CIndicationsWindow::CIndicationsWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("CIndicationsWindow"));
    setupUi();
    retranslateUi();
    updateButtons();
}

void CIndicationsWindow::setupUi()
{
    resize(720, 400);
    setMinimumSize(480, 240);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    btn_find = button("btn_find");
    btn_add = button("btn_add");
    btn_remove = button("btn_remove");
    buttons->addStretch(1);
    btn_export = button("btn_export");
    layout->addLayout(buttons);

    tw_indications = new QTableWidget(0, ColumnCount, this);
    tw_indications->setObjectName(QStringLiteral("tw_indications"));
    tw_indications->setSelectionBehavior(QAbstractItemView::SelectRows);
    tw_indications->setSelectionMode(QAbstractItemView::SingleSelection);
    tw_indications->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::AnyKeyPressed);
    tw_indications->verticalHeader()->hide();
    tw_indications->verticalHeader()->setDefaultSectionSize(22);
    QHeaderView* header = tw_indications->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ColComment, QHeaderView::Stretch);
    layout->addWidget(tw_indications, 1);

    lbl_status = new QLabel(this);
    lbl_status->setObjectName(QStringLiteral("lbl_status"));
    layout->addWidget(lbl_status);

    tw_indications->installEventFilter(this);

    connect(btn_find, &QPushButton::clicked, this, &CIndicationsWindow::findRequested);
    connect(btn_add, &QPushButton::clicked, this, &CIndicationsWindow::addRequested);
    connect(btn_remove, &QPushButton::clicked, this, [this] {
        if (selectedRow() >= 0)
            emit removeRequested(selectedRow());
    });
    connect(btn_export, &QPushButton::clicked, this, &CIndicationsWindow::exportRequested);
    connect(tw_indications, &QTableWidget::itemSelectionChanged, this, [this] {
        updateButtons();
        if (!m_bFilling && selectedRow() >= 0)
            emit rowSelected(selectedRow());
    });
    connect(tw_indications, &QTableWidget::cellChanged, this, &CIndicationsWindow::cellEdited);
}

void CIndicationsWindow::retranslateUi()
{
    setWindowTitle(tr("Indications"));
    btn_find->setText(tr("Find Indications"));
    btn_find->setToolTip(tr("Find the indications of the volume shown, strongest first"));
    btn_add->setText(m_bMeasuring ? tr("Add at Box Maximum") : tr("Add at Cursor"));
    btn_remove->setText(tr("Remove"));
    btn_export->setText(tr("Export CSV..."));
    tw_indications->setHorizontalHeaderLabels({tr("No."), tr("Label"), tr("X, mm"), tr("Y, mm"), tr("Z, mm"),
                                               tr("dB"), tr("Size X, mm"), tr("Size Y, mm"), tr("Size Z, mm"),
                                               tr("Comment")});
    if (m_iFound < 0)
        lbl_status->clear();
    else if (m_bTruncated)
        lbl_status->setText(tr("Indications found: %1, the strongest of more.").arg(m_iFound));
    else
        lbl_status->setText(tr("Indications found: %1.").arg(m_iFound));
}

void CIndicationsWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

bool CIndicationsWindow::eventFilter(QObject* pWatched, QEvent* event)
{
    // An open cell editor has the focus and takes its own Delete key.
    if (pWatched == tw_indications && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && selectedRow() >= 0) {
        emit removeRequested(selectedRow());
        return true;
    }
    return QWidget::eventFilter(pWatched, event);
}

void CIndicationsWindow::setIndications(const std::vector<MapIndication>& list, int iSelected)
{
    m_bFilling = true;
    const QSignalBlocker block(tw_indications);
    tw_indications->clearSelection();
    tw_indications->setRowCount(int(list.size()));
    for (int row = 0; row < int(list.size()); ++row) {
        const MapIndication& ind = list[size_t(row)];
        // Those added by hand carry a star, as in the report.
        tw_indications->setItem(row, ColNumber,
                                item(QString::number(ind.number) + (ind.manual ? QStringLiteral("*") : QString()), false));
        tw_indications->setItem(row, ColLabel, item(ind.label, true));
        const double values[] = {ind.x, ind.y, ind.z, ind.db, ind.sizeX, ind.sizeY, ind.sizeZ};
        for (int c = ColX; c <= ColSizeZ; ++c)
            tw_indications->setItem(row, c, item(MapIndication::decimal(values[c - ColX]), false));
        tw_indications->setItem(row, ColComment, item(ind.comment, true));
    }
    if (iSelected >= 0 && iSelected < int(list.size()))
        tw_indications->selectRow(iSelected);
    m_bFilling = false;
    updateButtons();
}

void CIndicationsWindow::setFound(int iCount, bool bTruncated)
{
    m_iFound = iCount;
    m_bTruncated = bTruncated;
    retranslateUi();
}

void CIndicationsWindow::setMeasuring(bool bMeasuring)
{
    m_bMeasuring = bMeasuring;
    retranslateUi();
}

int CIndicationsWindow::selectedRow() const
{
    const QList<QTableWidgetSelectionRange> ranges = tw_indications->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void CIndicationsWindow::cellEdited(int iRow, int iColumn)
{
    const QTableWidgetItem* it = tw_indications->item(iRow, iColumn);
    if (m_bFilling || !it)
        return;
    if (iColumn == ColLabel)
        emit labelChanged(iRow, it->text());
    else if (iColumn == ColComment)
        emit commentChanged(iRow, it->text());
}

void CIndicationsWindow::updateButtons()
{
    btn_remove->setEnabled(selectedRow() >= 0);
    btn_export->setEnabled(tw_indications->rowCount() > 0);
}
