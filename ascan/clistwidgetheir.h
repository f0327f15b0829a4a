#pragma once

#include <QIcon>
#include <QListWidget>
#include <QString>
#include <QStringList>

//! One entry of the A-scan strip: the picture, the A-scan name and the file's path.
struct AScanListEntry
{
    QIcon icon;
    QString name;
    QString path;
};

//! The strip of A-scan pictures: one horizontal row of icons that keeps each item's path
//! beside it and the last position of its horizontal scroll bar.
class CListWidgetHeir : public QListWidget
{
    Q_OBJECT

public:
    static constexpr int kIconWidth = 96;
    static constexpr int kIconHeight = 72;

    explicit CListWidgetHeir(QWidget* parent = nullptr);

    //! Appends an item; returns its row.
    int addEntry(const AScanListEntry& entry);
    //! Removes every item and path and sets the scroll bar's maximum to 0.
    void clearEntries();

    QString pathAt(int iRow) const;
    int rowOfPath(const QString& strPath) const;
    const QStringList& paths() const { return m_paths; }
    //! Paths of the selected items, in the order of the strip.
    QStringList selectedPaths() const;
    int lastScrollValue() const { return m_iLastScroll; }
    void setLastScrollValue(int iValue) { m_iLastScroll = iValue; }
    //! Forgets which file was announced last, so selecting it again loads it again.
    void resetAnnounced() { m_strAnnounced.clear(); }

signals:
    void filesSelectionChanged(QString filename);

public slots:
    void slot_btn_shiftRight_clicked();
    void slot_btn_shiftLeft_clicked();
    void slot_itemSelectionChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    //! Row of the item under a point of the viewport's middle line at x; the nearest item
    //! when x falls between two.
    int rowAtViewportX(int x, bool bTowardsStart) const;
    bool fullyVisible(int iRow) const;

    QStringList m_paths;
    int m_iLastScroll = 0;
    QString m_strAnnounced;
    bool m_bPressOnItem = false;
    bool m_bLeftPressed = false;
    QPoint m_pressPos;
    QPoint m_pressGlobalPos;
    Qt::KeyboardModifiers m_pressModifiers;
};
