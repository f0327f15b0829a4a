#pragma once
// The printed report of a map: title, the read-outs at the cursor or of the measured box,
// the picture of the scans, the instrument settings in two columns and the comments.
// Built from plain data, so the map view only hands over texts, numbers and pictures.

#include "ascan/configsettings.h"
#include "ascan/reporthtml.h"
#include "map/mapindication.h"

#include <QCoreApplication>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class ReportPictureStore;

//! The pictures the map view composes (each already framed with its scales); null parts are
//! left out of the report picture.
struct MapPictureParts
{
    QImage cScan;       // the plane seen from above, top left
    QImage dScan;       // the vertical section along Y, right of the C-scan
    QImage bScan;       // the vertical section along X, under the C-scan
    QImage aScan;       // the signal at the cursor, under the D-scan
    QImage colourScale; // the palette with its threshold, at the right
};

//! What the map report shows.
struct MapReportData
{
    QString title;              // titleFor(map name, map date)
    QString logoPath;           // empty: the report starts with a plain title
    //! Report texts of the shown read-outs in the order X, Y, Z, amplitude; each holds one
    //! text, or two (coordinate and position number, or start and length).
    QList<QStringList> readouts;
    QImage picture;             // composePicture() of the view's scans
    QString setupName;          // heading of the settings; empty: "Instrument Settings"
    ConfigSettings settings;    // the map's instrument settings
    int stepH = 0;              // probe steps, mm
    int stepV = 0;
    int sizeH = 0;              // sizes in points; 0 shows "Off"
    int sizeV = 0;
    QString comments;           // the map's comments; blank leaves the comments table out
    std::vector<MapIndication> indications; // listed after the comments; none: no table
};

class MapReport
{
    Q_DECLARE_TR_FUNCTIONS(MapReport)

public:
    //! Name of the picture file of the map: "temp.jpg".
    static QString pictureFileName() { return QStringLiteral("temp.jpg"); }

    //! "Map Name: " and the name, then three blanks and the date when there is one.
    static QString titleFor(const QString& strMapName, const QString& strDate);

    static QString writeReadoutTable(const QList<QStringList>& readouts);
    static QString writeSettingsTable(const QList<ReportRow>& left, const QList<ReportRow>& right);
    //! Empty when the comments are blank.
    static QString writeComments(const QString& strComments);
    //! The table of indications with its heading: number (with "*" and a note below for those
    //! added by hand), label, X, Y, Z, level, sizes and comment. Empty when there are none.
    static QString writeIndications(const std::vector<MapIndication>& list);
    //! The whole report; strPicturePath empty leaves the picture out.
    static QString writeMapReport(const MapReportData& data, const QString& strPicturePath);

    //! Saves the picture as pictureFileName() in store and writes the report. When the picture
    //! cannot be written the report goes without it and warning says why.
    static ReportBuild build(const MapReportData& data, ReportPictureStore& store);

    //! A white RGB picture of the scans laid out as in the view: C-scan and D-scan side by
    //! side, B-scan and A-scan under them, the colour scale at the right.
    static QImage composePicture(const MapPictureParts& parts);
};
