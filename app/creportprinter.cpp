#include "app/creportprinter.h"

#include "app/constants.h"

#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QWidget>

namespace {

// The page range of the dialog, or nothing when all pages are wanted.
QPageRanges chosenRanges(const QPrinter* pPrinter)
{
    if (pPrinter->printRange() != QPrinter::PageRange)
        return {};
    return pPrinter->pageRanges();
}

} // namespace

bool CReportPrinter::execPrintDialog(QPrinter* pPrinter, QWidget* pParent)
{
    if (!pPrinter)
        return false;
    QPrintDialog dialog(pPrinter, pParent);
    dialog.setObjectName(QStringLiteral("dlg_print"));
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

bool CReportPrinter::printDocumentWithDialog(QPrinter* pPrinter, QTextDocument& doc, QWidget* pParent)
{
    if (!execPrintDialog(pPrinter, pParent))
        return false;
    CReportPrinter run(pPrinter, pParent);
    const bool bPrinted = run.printDocument(doc);
    return run.finish() && bPrinted;
}

CReportPrinter::CReportPrinter(QPrinter* pPrinter, QWidget* pParent, const QString& strTempRoot)
    : m_pPrinter(pPrinter), m_pParent(pParent), m_pictures(std::make_unique<ReportPictureStore>(strTempRoot))
{
    if (m_pPrinter)
        m_job = std::make_unique<ReportPrintJob>(m_pPrinter, chosenRanges(m_pPrinter));
}

CReportPrinter::~CReportPrinter()
{
    if (!m_bFinished) {
        // No boxes from a destructor: the job is ended and the pictures go quietly.
        if (m_job)
            m_job->end();
        m_pictures->removeAll();
    }
}

QString CReportPrinter::cannotPrintText(const QPrinter* pPrinter)
{
    QString target;
    if (pPrinter) {
        target = pPrinter->outputFormat() == QPrinter::PdfFormat ? pPrinter->outputFileName()
                                                                  : pPrinter->printerName();
    }
    if (target.isEmpty())
        return tr("Couldn't print the report!");
    return tr("Couldn't print the report on ") + QLatin1Char('"') + target + QLatin1Char('"') + QLatin1Char('!');
}

void CReportPrinter::warn(const QString& strText)
{
    QMessageBox::warning(m_pParent, Vantar::applicationName(), strText, QMessageBox::Ok);
}

bool CReportPrinter::printHtml(const QString& strHtml)
{
    QTextDocument doc;
    doc.setHtml(strHtml);
    return printDocument(doc);
}

bool CReportPrinter::printDocument(QTextDocument& doc)
{
    if (!m_job || m_bFailed || m_bFinished)
        return false;
    if (!m_job->printDocument(doc)) {
        m_bFailed = true;
        // Said once; the reports after it are not tried on a printer that refused.
        if (!m_bFailureShown) {
            m_bFailureShown = true;
            warn(cannotPrintText(m_pPrinter));
        }
        return false;
    }
    return true;
}

bool CReportPrinter::printAScanReport(const AScanReportData& data, int iNumber)
{
    if (!m_job || m_bFailed || m_bFinished)
        return false;
    const ReportBuild report = AScanReport::build(data, *m_pictures, iNumber);
    if (!report.warning.isEmpty())
        warn(report.warning);
    return printHtml(report.html);
}

bool CReportPrinter::printMapReport(const MapReportData& data)
{
    if (!m_job || m_bFailed || m_bFinished)
        return false;
    const ReportBuild report = MapReport::build(data, *m_pictures);
    if (!report.warning.isEmpty())
        warn(report.warning);
    return printHtml(report.html);
}

bool CReportPrinter::finish()
{
    if (m_bFinished)
        return !m_bFailed;
    m_bFinished = true;
    // Nothing started means nothing to end: an empty run is not a failure.
    const bool bStarted = m_job && m_job->isActive();
    if (bStarted && !m_job->end())
        m_bFailed = true;
    m_pictures->removeAll();
    if (m_bFailed && !m_bFailureShown) {
        m_bFailureShown = true;
        warn(cannotPrintText(m_pPrinter));
    }
    return !m_bFailed && m_pPrinter != nullptr;
}
