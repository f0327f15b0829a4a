#pragma once
// The indications of the open map as a table, with the commands that find, add, remove and
// export them. The window shows what the map view hands it and reports the user's commands
// and edits back by signals; the view owns the list.

#include "map/mapindication.h"

#include <QWidget>

#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

//! "Indications", a tool window of the map view.
class CIndicationsWindow : public QWidget
{
    Q_OBJECT

public:
    //! Columns of tw_indications.
    enum Column { ColNumber, ColLabel, ColX, ColY, ColZ, ColDb, ColSizeX, ColSizeY, ColSizeZ, ColComment, ColumnCount };

    explicit CIndicationsWindow(QWidget* parent = nullptr);

    //! Shows the list; iSelected (or −1) is the row selected afterwards. Emits nothing.
    void setIndications(const std::vector<MapIndication>& list, int iSelected = -1);
    //! The line under the table: how many the last search found, and whether there were more.
    void setFound(int iCount, bool bTruncated);
    //! In measuring mode an indication is added at the box's strongest point.
    void setMeasuring(bool bMeasuring);
    int selectedRow() const;

    void retranslateUi();

signals:
    void findRequested();
    void addRequested();
    void removeRequested(int iRow);
    void exportRequested();
    void rowSelected(int iRow);
    void labelChanged(int iRow, const QString& strLabel);
    void commentChanged(int iRow, const QString& strComment);

protected:
    void changeEvent(QEvent* event) override;
    //! The Delete key in the table removes the selected indication, as Remove does.
    bool eventFilter(QObject* pWatched, QEvent* event) override;

private:
    void setupUi();
    void cellEdited(int iRow, int iColumn);
    void updateButtons();

    QPushButton* btn_find = nullptr;
    QPushButton* btn_add = nullptr;
    QPushButton* btn_remove = nullptr;
    QPushButton* btn_export = nullptr;
    QTableWidget* tw_indications = nullptr;
    QLabel* lbl_status = nullptr;
    bool m_bMeasuring = false;
    bool m_bFilling = false;
    int m_iFound = -1; // −1: no search yet
    bool m_bTruncated = false;
};
