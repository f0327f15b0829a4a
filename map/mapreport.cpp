#include "map/mapreport.h"

#include "ascan/reportpictures.h"
#include "ascan/settingsrows.h"

#include <QPainter>

namespace {

QString innerTableHead()
{
    return QStringLiteral("<TABLE ALIGN=\"CENTER\" WIDTH=100% BORDER CELLSPACING=\"0\" CELLPADDING=\"5\">\n");
}

QString heading4(const QString& strText)
{
    return QStringLiteral("<H4>") + ReportHtml::escapedText(strText) + QStringLiteral("</H4>");
}

} // namespace

QString MapReport::titleFor(const QString& strMapName, const QString& strDate)
{
    return ReportHtml::titleWithDate(tr("Map Name: ") + strMapName, strDate);
}

QString MapReport::writeReadoutTable(const QList<QStringList>& readouts)
{
    QString html = QStringLiteral("<TABLE ALIGN=\"CENTER\" WIDTH=%1 BORDER CELLSPACING=\"0\" CELLPADDING=\"5\">\n")
                       .arg(ReportHtml::kMapWidth);
    html += QStringLiteral("<TR>");
    // Always the four cells X, Y, Z and amplitude, so a missing read-out leaves its place empty.
    for (int i = 0; i < 4; ++i) {
        const QStringList texts = i < readouts.size() ? readouts.at(i) : QStringList();
        html += QStringLiteral("<TD ALIGN=CENTER>");
        if (texts.size() >= 2) {
            html += QStringLiteral("<TABLE WIDTH=100% ALIGN=\"CENTER\" BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"0\">\n");
            html += QStringLiteral("<TR>");
            html += QStringLiteral("<TD ALIGN=CENTER>") + heading4(texts.at(0)) + QStringLiteral("</TD>");
            html += QStringLiteral("<TD ALIGN=CENTER>") + heading4(texts.at(1)) + QStringLiteral("</TD>");
            html += QStringLiteral("</TR>");
            html += QStringLiteral("</TABLE>\n");
        } else if (texts.size() == 1) {
            html += heading4(texts.at(0));
        }
        html += QStringLiteral("</TD>");
    }
    html += QStringLiteral("</TR>");
    html += QStringLiteral("</TABLE>\n");
    return html;
}

QString MapReport::writeSettingsTable(const QList<ReportRow>& left, const QList<ReportRow>& right)
{
    QString html;
    html += QStringLiteral("<TABLE ALIGN=\"CENTER\" WIDTH=%1 BORDER=0 CELLSPACING=\"2\" CELLPADDING=\"2\">\n")
                .arg(ReportHtml::kMapWidth);
    html += QStringLiteral("<TR>\n") + QStringLiteral("<TD ALIGN=CENTER>\n");
    html += innerTableHead();
    for (const ReportRow& row : left)
        html += ReportHtml::writeSettingsRow(row);
    html += QStringLiteral("</TABLE>\n") + QStringLiteral("</TD>\n");
    html += QStringLiteral("<TD ALIGN=CENTER>\n");
    html += innerTableHead();
    for (const ReportRow& row : right)
        html += ReportHtml::writeSettingsRow(row);
    html += QStringLiteral("</TABLE>\n") + QStringLiteral("</TD>\n") + QStringLiteral("</TR>\n")
            + QStringLiteral("</TABLE>\n");
    return html;
}

QString MapReport::writeComments(const QString& strComments)
{
    if (strComments.trimmed().isEmpty())
        return QString();
    QString html;
    html += QStringLiteral("<BR>\n");
    html += QStringLiteral("<TABLE WIDTH=%1 ALIGN=\"CENTER\" BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"0\">\n")
                .arg(ReportHtml::kMapWidth);
    html += QStringLiteral("<TR>") + QStringLiteral("<TD WIDTH=100% ALIGN=LEFT>");
    // Both parts in one go: a "%1" typed into the comments stays as typed.
    html += QStringLiteral("<p WIDTH=100%><b>%1:</b> %2.</p>\n")
                .arg(ReportHtml::escapedText(tr("Comments")), ReportHtml::escapedText(strComments));
    html += QStringLiteral("</TD>") + QStringLiteral("</TR>") + QStringLiteral("</TABLE>\n");
    return html;
}

QString MapReport::writeIndications(const std::vector<MapIndication>& list)
{
    if (list.empty())
        return QString();
    auto cell = [](const QString& strText, bool bCentre = true) {
        // Numbers are never broken over lines.
        return bCentre ? QStringLiteral("<TD ALIGN=CENTER><span style=\"white-space:nowrap\">")
                             + ReportHtml::escapedText(strText) + QStringLiteral("</span></TD>")
                       : QStringLiteral("<TD ALIGN=LEFT>") + ReportHtml::escapedText(strText) + QStringLiteral("</TD>");
    };
    auto mm = [](double v) { return MapIndication::decimal(v); };
    QString html = QStringLiteral("<BR>\n<H3 ALIGN=\"CENTER\">") + ReportHtml::escapedText(tr("Indications"))
                   + QStringLiteral("</H3>\n");
    html += QStringLiteral("<TABLE ALIGN=\"CENTER\" WIDTH=%1 BORDER CELLSPACING=\"0\" CELLPADDING=\"3\">\n")
                .arg(ReportHtml::kMapWidth);
    html += QStringLiteral("<TR>");
    // The user's texts get the widest columns.
    const std::pair<QString, int> heads[] = {{tr("No."), 0},        {tr("Label"), 14},      {tr("X, mm"), 0},
                                             {tr("Y, mm"), 0},      {tr("Z, mm"), 0},       {tr("Level, dB"), 0},
                                             {tr("Size X, mm"), 0}, {tr("Size Y, mm"), 0}, {tr("Size Z, mm"), 0},
                                             {tr("Comment"), 16}};
    for (const auto& [head, percent] : heads)
        html += (percent ? QStringLiteral("<TH WIDTH=%1%>").arg(percent) : QStringLiteral("<TH>"))
                + ReportHtml::escapedText(head) + QStringLiteral("</TH>");
    html += QStringLiteral("</TR>\n");
    bool bManual = false;
    for (const MapIndication& ind : list) {
        bManual = bManual || ind.manual;
        html += QStringLiteral("<TR>") + cell(QString::number(ind.number) + (ind.manual ? QStringLiteral("*") : QString()))
                + cell(ind.label, false) + cell(mm(ind.x)) + cell(mm(ind.y)) + cell(mm(ind.z)) + cell(mm(ind.db))
                + cell(mm(ind.sizeX)) + cell(mm(ind.sizeY)) + cell(mm(ind.sizeZ)) + cell(ind.comment, false)
                + QStringLiteral("</TR>\n");
    }
    html += QStringLiteral("</TABLE>\n");
    if (bManual)
        html += QStringLiteral("<TABLE WIDTH=%1 ALIGN=\"CENTER\" BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"0\">\n<TR><TD>")
                    .arg(ReportHtml::kMapWidth)
                + ReportHtml::escapedText(tr("* added by hand")) + QStringLiteral("</TD></TR></TABLE>\n");
    return html;
}

QString MapReport::writeMapReport(const MapReportData& data, const QString& strPicturePath)
{
    QString html = ReportHtml::writeReportHeader(data.title, data.logoPath, ReportHtml::kMapWidth);
    html += writeReadoutTable(data.readouts);
    if (!strPicturePath.isEmpty())
        html += ReportHtml::writePictureBlock(strPicturePath, ReportHtml::kMapWidth);
    html += ReportHtml::writeSettingsHeading(data.setupName);
    const SettingsGrid grid{data.stepH, data.stepV, data.sizeH, data.sizeV};
    html += writeSettingsTable(SettingsRows::rows(SettingsRows::mapReportLeft(), data.settings, grid),
                               SettingsRows::rows(SettingsRows::mapReportRight(), data.settings));
    html += writeComments(data.comments);
    html += writeIndications(data.indications);
    return html;
}

ReportBuild MapReport::build(const MapReportData& data, ReportPictureStore& store)
{
    ReportBuild result;
    result.picturePath = store.save(data.picture, pictureFileName());
    if (result.picturePath.isEmpty()) {
        const QString shownPath = store.isValid() ? store.pathFor(pictureFileName()) : pictureFileName();
        result.warning = ReportHtml::pictureNotSavedText(shownPath);
    }
    result.html = writeMapReport(data, result.picturePath);
    return result;
}

QImage MapReport::composePicture(const MapPictureParts& parts)
{
    constexpr int m = 8;
    auto size = [](const QImage& image) { return image.isNull() ? QSize(0, 0) : image.size(); };
    const QSize c = size(parts.cScan), d = size(parts.dScan), b = size(parts.bScan), a = size(parts.aScan);
    const QSize scale = size(parts.colourScale);
    const int col0 = qMax(c.width(), b.width());
    const int col1 = qMax(d.width(), a.width());
    const int row0 = qMax(c.height(), d.height());
    const int row1 = qMax(b.height(), a.height());
    if (col0 + col1 + scale.width() == 0)
        return QImage();

    const int x1 = m + col0 + (col0 > 0 ? m : 0);
    const int xScale = x1 + col1 + (col1 > 0 ? m : 0);
    const int y1 = m + row0 + (row0 > 0 ? m : 0);
    const int width = xScale + scale.width() + (scale.width() > 0 ? m : 0);
    const int height = qMax(y1 + row1 + (row1 > 0 ? m : 0), 2 * m + scale.height());

    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull())
        return QImage();
    picture.fill(Qt::white);
    QPainter painter(&picture);
    auto place = [&painter](const QImage& image, int x, int y) {
        if (!image.isNull())
            painter.drawImage(x, y, image);
    };
    place(parts.cScan, m, m);
    place(parts.dScan, x1, m);
    place(parts.bScan, m, y1);
    place(parts.aScan, x1, y1);
    place(parts.colourScale, xScale, m);
    return picture;
}
