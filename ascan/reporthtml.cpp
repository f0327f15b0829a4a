#include "ascan/reporthtml.h"

#include "app/constants.h"

#include <QUrl>

namespace {

// Pictures are named by file URL: a plain path with '#', '%' or '?' in a folder name would
// otherwise be read as a URL with a fragment or escapes and the picture would be lost.
QString imageSource(const QString& strPath)
{
    return ReportHtml::escaped(QUrl::fromLocalFile(strPath).toString());
}

QString tableHead(int iWidth)
{
    return QStringLiteral("<TABLE WIDTH=%1 ALIGN=\"CENTER\" BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"0\">\n")
        .arg(iWidth);
}

} // namespace

QString ReportHtml::escaped(const QString& strText)
{
    return strText.toHtmlEscaped();
}

QString ReportHtml::escapedText(const QString& strText)
{
    QString text = strText;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    const QString safe = escaped(text);
    QString html;
    html.reserve(safe.size() + 16);
    for (qsizetype i = 0; i < safe.size(); ++i) {
        const QChar c = safe.at(i);
        if (c == QLatin1Char('\n')) {
            html += QLatin1String("<BR>");
        } else if (c == QLatin1Char(' ')) {
            // The first blank of a run may break the line; the others, and blanks that start
            // a line, must not fold away.
            const bool bKept = i == 0 || safe.at(i - 1) == QLatin1Char(' ') || safe.at(i - 1) == QLatin1Char('\n');
            html += bKept ? QLatin1String("&nbsp;") : QLatin1String(" ");
        } else {
            html += c;
        }
    }
    return html;
}

QString ReportHtml::writeReportHeader(const QString& strTitle, const QString& strLogoPath, int iWidth)
{
    if (strLogoPath.isEmpty())
        return QStringLiteral("<H3 ALIGN=\"CENTER\">") + escapedText(strTitle) + QStringLiteral("</H3>");

    QString html;
    html += tableHead(iWidth);
    html += QStringLiteral("<TR>") + QStringLiteral("<TD WIDTH=45 ALIGN=LEFT>");
    html += QStringLiteral("<IMG SRC=") + QLatin1Char('"') + imageSource(strLogoPath) + QLatin1Char('"')
            + QStringLiteral(" HEIGHT=45>");
    html += QStringLiteral("</TD>");
    html += QStringLiteral("<TD ALIGN=CENTER VALIGN=MIDDLE>") + QStringLiteral("<FONT SIZE=4><b>")
            + escapedText(strTitle) + QStringLiteral("</b></font>") + QStringLiteral("</TD>");
    html += QStringLiteral("<TD WIDTH=45>") + QStringLiteral("</TD>") + QStringLiteral("</TR>")
            + QStringLiteral("</TABLE>\n");
    html += tableHead(iWidth);
    html += QStringLiteral("<TR>") + QStringLiteral("<TD WIDTH=150 ALIGN=LEFT>") + QStringLiteral("<FONT SIZE=4>")
            + escaped(Vantar::applicationName()) + QStringLiteral("</font>") + QStringLiteral("</TD>");
    html += QStringLiteral("<TD HEIGHT=200>") + QStringLiteral("</TD>") + QStringLiteral("</TR>")
            + QStringLiteral("</TABLE>\n") + QStringLiteral("<BR>\n");
    return html;
}

QString ReportHtml::writePictureBlock(const QString& strPicturePath, int iWidth)
{
    QString html;
    html += QStringLiteral("<P ALIGN = CENTER >\n");
    html += QLatin1Char('\t') + QStringLiteral("<IMG  SRC = ") + QLatin1Char('"') + imageSource(strPicturePath)
            + QLatin1Char('"') + QStringLiteral(" WIDTH=%1 VSPACE = ").arg(iWidth) + QLatin1Char('"')
            + QStringLiteral("50") + QLatin1Char('"') + QLatin1Char('>');
    html += QStringLiteral("    <BR>");
    html += QStringLiteral("</P>\n");
    return html;
}

QString ReportHtml::writeSettingsHeading(const QString& strSetupName)
{
    const QString heading = strSetupName.isEmpty() ? tr("Instrument Settings") : strSetupName;
    return QStringLiteral("<H3 ALIGN=\"CENTER\">") + escapedText(heading) + QStringLiteral("</H3>");
}

QString ReportHtml::writeSettingsRow(const QString& strLabel, const QString& strValue)
{
    return QStringLiteral("<TR>") + QStringLiteral("<TD ALIGN=\"LEFT\">") + escaped(strLabel)
           + QStringLiteral("</TD>") + QStringLiteral("<TD ALIGN=\"CENTER\">") + escaped(strValue)
           + QStringLiteral("</TD>") + QStringLiteral("</TR>\n");
}

QString ReportHtml::titleWithDate(const QString& strName, const QString& strDate)
{
    if (strDate.isEmpty())
        return strName;
    return strName + QStringLiteral("   ") + strDate;
}

QString ReportHtml::pictureNotSavedText(const QString& strPath)
{
    return tr("Couldn't create temporary file ") + QLatin1Char('"') + strPath + QLatin1Char('"')
           + QLatin1Char('!');
}
