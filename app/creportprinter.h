#pragma once
// Printing of reports from the tabs: the print dialog on the shared printer, and one printing
// run that saves the report pictures, tells the user what went wrong, prints every report into
// one job and removes the pictures again.

#include "ascan/ascanreport.h"
#include "ascan/reportpictures.h"
#include "ascan/reportprintjob.h"
#include "map/mapreport.h"

#include <QCoreApplication>
#include <QPointer>

#include <memory>

class QPrinter;
class QTextDocument;
class QWidget;

class CReportPrinter
{
    Q_DECLARE_TR_FUNCTIONS(CReportPrinter)

public:
    //! The print dialog on pPrinter with the current-page choice switched off; true when the
    //! user accepted it. Printing to a PDF file is one of the dialog's printers.
    static bool execPrintDialog(QPrinter* pPrinter, QWidget* pParent);
    //! The dialog, then doc printed on the chosen printer; false when cancelled or failed.
    static bool printDocumentWithDialog(QPrinter* pPrinter, QTextDocument& doc, QWidget* pParent);

    //! A run on pPrinter (not owned); messages go to boxes over pParent. strTempRoot chooses
    //! where the run's picture folder is made (the system temporary folder when empty).
    explicit CReportPrinter(QPrinter* pPrinter, QWidget* pParent, const QString& strTempRoot = QString());
    //! Finishes the job and removes the pictures when finish() was not called.
    ~CReportPrinter();
    CReportPrinter(const CReportPrinter&) = delete;
    CReportPrinter& operator=(const CReportPrinter&) = delete;

    //! Prints the report of the iNumber-th selected A-scan (its picture is "temp<n>.jpg").
    //! A picture that cannot be written is reported and the report goes without it.
    bool printAScanReport(const AScanReportData& data, int iNumber);
    //! Prints the map report (its picture is "temp.jpg").
    bool printMapReport(const MapReportData& data);
    //! Prints a prepared document after what was printed so far.
    bool printDocument(QTextDocument& doc);

    //! Ends the job and removes the pictures of the run. False, after telling the user, when
    //! the printer could not print.
    bool finish();

    ReportPictureStore& pictures() { return *m_pictures; }
    int printedPages() const { return m_job ? m_job->printedPages() : 0; }

    //! Message shown when the printer cannot take the job.
    static QString cannotPrintText(const QPrinter* pPrinter);

private:
    bool printHtml(const QString& strHtml);
    void warn(const QString& strText);

    QPrinter* m_pPrinter = nullptr;
    QPointer<QWidget> m_pParent;
    std::unique_ptr<ReportPictureStore> m_pictures;
    std::unique_ptr<ReportPrintJob> m_job;
    bool m_bFailed = false;
    bool m_bFailureShown = false;
    bool m_bFinished = false;
};
