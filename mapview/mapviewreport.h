#pragma once
// The map report of what the map view shows: its data gathered from the open map and the
// view's pictures and read-outs, and its printing.

#include "map/mapreport.h"

class QPrinter;
class QWidget;
struct MapConfig;

class MapViewReport
{
public:
    //! The report of the map of config (its name, setup name, steps and sizes, settings), made
    //! on strDate, with the read-out texts, the scan pictures and the comments. The logo is
    //! left out when its file does not exist.
    static MapReportData collect(const MapConfig& config, const QString& strDate, const QString& strComments,
                                 const QList<QStringList>& readouts, const MapPictureParts& parts,
                                 const QString& strLogoPath);
    //! Prints the report on pPrinter; messages go to boxes over pParent.
    static bool print(QPrinter* pPrinter, QWidget* pParent, const MapReportData& data);
};
