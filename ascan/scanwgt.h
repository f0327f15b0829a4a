#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QPrinter;

//! Viewing area of the A-scan tab: the file strip, the A-scan display and its settings table.
class ScanWgt : public QWidget
{
    Q_OBJECT

public:
    explicit ScanWgt(QWidget* parent = nullptr);
    ~ScanWgt() override;

    //! Lists every A-scan of the folder and selects strCurrentFile.
    void loadFolder(const QString& strCurrentFile, const QString& strFolder);
    void clear();
    void retranslate();

    //! True when the user may drop the unsaved edits (none, or agreed to discard them).
    bool confirmDiscardEdits();

    bool printAScanReports(QPrinter* pPrinter, const QString& strLogoPath);

signals:
    void dataLoadingRejected();
    void newDataLoaded(bool bLoaded);
};
