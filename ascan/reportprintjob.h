#pragma once
// One printing run of reports on a paged device (a printer or a PDF file). Every report is a
// text document laid out on the device's page and printed on pages of its own; all reports of
// the run go into one job, so a PDF file holds them all and a printer gets one job.

#include <QPageRanges>
#include <QPainter>
#include <QString>

class QPagedPaintDevice;
class QTextDocument;

class ReportPrintJob
{
public:
    //! pDevice is not owned and must outlive the job. Only the pages of ranges are put on
    //! paper (numbered over the whole run from 1); empty ranges print everything.
    explicit ReportPrintJob(QPagedPaintDevice* pDevice, QPageRanges ranges = {});
    //! Ends the job when it is still open.
    ~ReportPrintJob();
    ReportPrintJob(const ReportPrintJob&) = delete;
    ReportPrintJob& operator=(const ReportPrintJob&) = delete;

    //! Starts the job; false when the device cannot be painted on (e.g. a PDF file that
    //! cannot be written). Printing starts the job by itself when needed.
    bool begin();
    bool isActive() const { return m_painter.isActive(); }

    //! Lays the HTML out on pages of the device's printable size and prints them after the
    //! pages printed so far. False when the job could not start.
    bool printHtml(const QString& strHtml);
    //! As printHtml for a prepared document; its page size is set to the device's page.
    bool printDocument(QTextDocument& doc);

    //! Finishes the job; false when it was never started or the device reported a failure.
    bool end();

    //! Pages laid out so far over the run, put on paper or not.
    int pageCount() const { return m_iPageCount; }
    //! Pages put on paper so far.
    int printedPages() const { return m_iPrinted; }

    //! Resolution the documents are laid out at: the screen's, so that picture widths and
    //! font sizes in the HTML mean what they mean on screen whatever the printer's resolution.
    static qreal layoutDpi();

private:
    QPagedPaintDevice* m_pDevice = nullptr;
    QPageRanges m_ranges;
    QPainter m_painter;
    int m_iPageCount = 0;
    int m_iPrinted = 0;
    bool m_bFailed = false;
};
