#pragma once
// The printed report of one A-scan: header with the title, the picture of the display and
// the table of its instrument settings. Built from plain data, so the A-scan tab only has
// to hand over its texts and pictures.

#include "ascan/configsettings.h"
#include "ascan/reporthtml.h"

#include <QCoreApplication>
#include <QImage>
#include <QList>
#include <QString>

class ReportPictureStore;

//! The parts of the A-scan display that make up the report picture; null parts are left out.
struct AScanPictureParts
{
    QImage display;         // the drawing of the signal, strobe, cursor and TVG curve
    QImage verticalScale;   // amplitude scale, put left of the drawing
    QImage horizontalScale; // time or depth scale, put under the drawing
    QImage readouts;        // the row of time, depth and amplitude read-outs, put above
};

//! What one A-scan report shows.
struct AScanReportData
{
    QString title;           // the list item's text, three blanks and the date (titleWithDate)
    QString logoPath;        // empty: the report starts with a plain title
    QImage picture;          // composePicture() of the display's parts
    QString setupName;       // heading of the settings table; empty: "Instrument Settings"
    QList<ReportRow> rows;   // SettingsRows::ascanTable() of the A-scan's current settings
};

class AScanReport
{
    Q_DECLARE_TR_FUNCTIONS(AScanReport)

public:
    //! Gap and frame around each part of the picture, in pixels.
    static constexpr int kPictureMargin = 6;

    //! The settings table with one row per entry of rows.
    static QString writeSettingsTable(const QList<ReportRow>& rows);
    //! The whole report; strPicturePath empty leaves the picture out.
    static QString writeAScanReport(const AScanReportData& data, const QString& strPicturePath);

    //! Name of the picture file of the n-th selected A-scan: "temp<n>.jpg".
    static QString pictureFileName(int iNumber);
    //! Saves the picture as pictureFileName(iNumber) in store and writes the report. When the
    //! picture cannot be written the report goes without it and warning says why.
    static ReportBuild build(const AScanReportData& data, ReportPictureStore& store, int iNumber);

    //! A white RGB picture of the parts, each framed by a black rectangle: read-outs on top,
    //! the vertical scale left of the drawing and the horizontal scale under it.
    static QImage composePicture(const AScanPictureParts& parts);
};
