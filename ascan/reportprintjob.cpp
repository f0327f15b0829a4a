#include "ascan/reportprintjob.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QScreen>
#include <QTextDocument>

#include <cmath>

ReportPrintJob::ReportPrintJob(QPagedPaintDevice* pDevice, QPageRanges ranges)
    : m_pDevice(pDevice), m_ranges(std::move(ranges))
{
}

ReportPrintJob::~ReportPrintJob()
{
    if (m_painter.isActive())
        m_painter.end();
}

qreal ReportPrintJob::layoutDpi()
{
    // A document without a paint device measures its fonts at the primary screen's resolution.
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi))
        return 96.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return std::round(screen->logicalDotsPerInchY());
    return 100.0;
}

bool ReportPrintJob::begin()
{
    if (m_painter.isActive())
        return true;
    if (!m_pDevice || m_bFailed)
        return false;
    if (!m_painter.begin(m_pDevice)) {
        m_bFailed = true;
        return false;
    }
    return true;
}

bool ReportPrintJob::printHtml(const QString& strHtml)
{
    QTextDocument doc;
    doc.setHtml(strHtml);
    return printDocument(doc);
}

bool ReportPrintJob::printDocument(QTextDocument& doc)
{
    if (!begin())
        return false;
    const qreal sourceDpi = layoutDpi();
    const qreal scaleX = m_pDevice->logicalDpiX() / sourceDpi;
    const qreal scaleY = m_pDevice->logicalDpiY() / sourceDpi;
    // The printable area of the page, in the units the document is laid out in.
    const QSizeF page(m_pDevice->width() / scaleX, m_pDevice->height() / scaleY);
    if (page.width() < 1 || page.height() < 1)
        return false;
    doc.setPageSize(page);
    const int pages = doc.pageCount();
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    for (int i = 0; i < pages; ++i) {
        ++m_iPageCount;
        if (!m_ranges.isEmpty() && !m_ranges.contains(m_iPageCount))
            continue;
        // A new sheet for every page after the first one put on paper.
        if (m_iPrinted > 0 && !m_pDevice->newPage()) {
            m_bFailed = true;
            return false;
        }
        m_painter.save();
        m_painter.scale(scaleX, scaleY);
        const QRectF view(0, i * page.height(), page.width(), page.height());
        m_painter.translate(0, -view.top());
        m_painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&m_painter, context);
        m_painter.restore();
        ++m_iPrinted;
    }
    return true;
}

bool ReportPrintJob::end()
{
    if (!m_painter.isActive())
        return false;
    const bool bEnded = m_painter.end();
    return bEnded && !m_bFailed;
}
