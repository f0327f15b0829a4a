#include "ascan/clistwidgetheir.h"

#include <QMouseEvent>
#include <QScrollBar>

CListWidgetHeir::CListWidgetHeir(QWidget* parent)
    : QListWidget(parent)
{
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(false);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    // Long folders are laid out a batch at a time, so the first pictures appear at once.
    setLayoutMode(QListView::Batched);
    setBatchSize(50);
    setIconSize(QSize(kIconWidth, kIconHeight));
    setGridSize(QSize(kIconWidth + 24, kIconHeight + 36));
    setTextElideMode(Qt::ElideRight);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(this, &QListWidget::itemSelectionChanged, this, &CListWidgetHeir::slot_itemSelectionChanged);
}

int CListWidgetHeir::addEntry(const AScanListEntry& entry)
{
    auto* item = new QListWidgetItem(entry.icon, entry.name);
    item->setToolTip(entry.name);
    item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    addItem(item);
    m_paths.append(entry.path);
    return count() - 1;
}

void CListWidgetHeir::clearEntries()
{
    blockSignals(true);
    clear();
    blockSignals(false);
    m_paths.clear();
    m_strAnnounced.clear();
    m_iLastScroll = 0;
    horizontalScrollBar()->setMaximum(0);
}

QString CListWidgetHeir::pathAt(int iRow) const
{
    return iRow >= 0 && iRow < m_paths.size() ? m_paths.at(iRow) : QString();
}

int CListWidgetHeir::rowOfPath(const QString& strPath) const
{
    return int(m_paths.indexOf(strPath));
}

QStringList CListWidgetHeir::selectedPaths() const
{
    QStringList list;
    for (int row = 0; row < count(); ++row)
        if (item(row)->isSelected())
            list << pathAt(row);
    return list;
}

void CListWidgetHeir::slot_itemSelectionChanged()
{
    int row = currentRow();
    if (row < 0 || !item(row) || !item(row)->isSelected()) {
        row = -1;
        for (int r = 0; r < count(); ++r)
            if (item(r)->isSelected()) {
                row = r;
                break;
            }
    }
    if (row < 0)
        return;
    const QString path = pathAt(row);
    if (path.isEmpty() || path == m_strAnnounced)
        return;
    m_strAnnounced = path;
    emit filesSelectionChanged(path);
}

bool CListWidgetHeir::fullyVisible(int iRow) const
{
    const QRect r = visualItemRect(item(iRow));
    return viewport()->rect().contains(r);
}

int CListWidgetHeir::rowAtViewportX(int x, bool bTowardsStart) const
{
    const int y = viewport()->height() / 2;
    const int step = bTowardsStart ? -4 : 4;
    for (int i = 0; i < 64; ++i) {
        const QModelIndex index = indexAt(QPoint(x + i * step, y));
        if (index.isValid())
            return index.row();
    }
    return -1;
}

void CListWidgetHeir::slot_btn_shiftRight_clicked()
{
    if (count() == 0)
        return;
    int row = rowAtViewportX(viewport()->width() - 1, true);
    if (row < 0)
        return;
    QScrollBar* bar = horizontalScrollBar();
    if (fullyVisible(row) && row < count() - 1)
        ++row;
    scrollToItem(item(row));
    if (row == count() - 1 && bar->value() < bar->maximum())
        bar->setValue(bar->maximum());
}

void CListWidgetHeir::slot_btn_shiftLeft_clicked()
{
    if (count() == 0)
        return;
    int row = rowAtViewportX(0, false);
    if (row < 0)
        return;
    if (fullyVisible(row) && row > 0)
        --row;
    scrollToItem(item(row));
    if (row == 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
}

void CListWidgetHeir::mousePressEvent(QMouseEvent* event)
{
    m_bLeftPressed = false;
    if (event->button() != Qt::LeftButton || count() == 0) {
        event->ignore();
        return;
    }
    m_bLeftPressed = true;
    m_pressPos = event->position().toPoint();
    m_pressGlobalPos = event->globalPosition().toPoint();
    m_pressModifiers = event->modifiers();
    m_bPressOnItem = itemAt(m_pressPos) != nullptr;
    // The selection changes only when the button is let go: a press dragged out of every
    // picture and released there changes nothing.
    if (m_bPressOnItem)
        setFocus(Qt::MouseFocusReason);
}

void CListWidgetHeir::mouseMoveEvent(QMouseEvent*)
{
    // No rubber band, no dragging: the gesture is judged at the release.
}

void CListWidgetHeir::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasLeft = m_bLeftPressed;
    m_bLeftPressed = false;
    if (event->button() != Qt::LeftButton || !wasLeft || count() == 0)
        return;
    const QPoint pos = event->position().toPoint();
    if (!m_bPressOnItem || (!itemAt(pos) && (pos - m_pressPos).manhattanLength() > 2))
        return;
    // The press as it was, then the way to the release, so a drag from one picture to another
    // selects the pictures between them as the list always did.
    QMouseEvent press(QEvent::MouseButtonPress, m_pressPos, m_pressGlobalPos, Qt::LeftButton, Qt::LeftButton,
                      m_pressModifiers);
    QListWidget::mousePressEvent(&press);
    if (pos != m_pressPos) {
        QMouseEvent move(QEvent::MouseMove, event->position(), event->globalPosition(), Qt::NoButton,
                         Qt::LeftButton, m_pressModifiers);
        QListWidget::mouseMoveEvent(&move);
    }
    QListWidget::mouseReleaseEvent(event);
}

void CListWidgetHeir::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || count() == 0)
        return;
    QListWidget::mouseDoubleClickEvent(event);
}
