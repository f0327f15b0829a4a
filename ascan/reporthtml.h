#pragma once
// Pieces of HTML shared by the A-scan and the map reports. Every text that comes from a file
// or from the user is escaped here, so a name or a comment can never break the layout.

#include <QCoreApplication>
#include <QString>

//! One row of a report's settings table: label and value as the settings table shows them.
struct ReportRow
{
    QString label;
    QString value;
};

//! HTML text and the warning to show (empty when none) of one built report.
struct ReportBuild
{
    QString html;
    QString warning;
    QString picturePath; // where the picture went; empty when it was not written
};

class ReportHtml
{
    Q_DECLARE_TR_FUNCTIONS(ReportHtml)

public:
    //! Width of the A-scan report's tables and pictures, in pixels of the page.
    static constexpr int kAScanWidth = 620;
    //! Width of the map report's tables and pictures.
    static constexpr int kMapWidth = 610;
    //! Height of the logo in the header.
    static constexpr int kLogoHeight = 45;

    //! Plain text made safe for HTML: &, <, > and " become entities.
    static QString escaped(const QString& strText);
    //! As escaped(), and what HTML would fold away is kept: a run of blanks stays as wide
    //! as typed (the three blanks before a date) and line breaks become <BR>.
    static QString escapedText(const QString& strText);

    //! The title block: a logo table with the title and a second table with the application
    //! name when a logo is given, otherwise a centred H3 title. iWidth is the report width.
    static QString writeReportHeader(const QString& strTitle, const QString& strLogoPath, int iWidth);
    //! The centred picture of a report, read from strPicturePath.
    static QString writePictureBlock(const QString& strPicturePath, int iWidth);
    //! H3 with the setup name, or "Instrument Settings" when it is empty.
    static QString writeSettingsHeading(const QString& strSetupName);
    //! One label/value row of a settings table.
    static QString writeSettingsRow(const QString& strLabel, const QString& strValue);
    static QString writeSettingsRow(const ReportRow& row) { return writeSettingsRow(row.label, row.value); }

    //! Title of a report: the name, then three blanks and the date when there is one.
    static QString titleWithDate(const QString& strName, const QString& strDate);
    //! Message shown when a picture of a report could not be written.
    static QString pictureNotSavedText(const QString& strPath);
};
