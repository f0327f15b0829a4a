#include "mapview/mapviewreport.h"

#include "app/creportprinter.h"
#include "map/mapconfig.h"

#include <QFile>

MapReportData MapViewReport::collect(const MapConfig& config, const QString& strDate, const QString& strComments,
                                     const QList<QStringList>& readouts, const MapPictureParts& parts,
                                     const QString& strLogoPath)
{
    MapReportData d;
    d.title = MapReport::titleFor(config.mapName, strDate);
    if (!strLogoPath.isEmpty() && QFile::exists(strLogoPath))
        d.logoPath = strLogoPath;
    d.readouts = readouts;
    d.picture = MapReport::composePicture(parts);
    // The settings are headed by the configuration's own title, as the settings window is.
    d.setupName = config.title;
    d.settings = config.settings;
    d.stepH = config.stepH;
    d.stepV = config.stepV;
    d.sizeH = config.sizeH;
    d.sizeV = config.sizeV;
    d.comments = strComments;
    return d;
}

bool MapViewReport::print(QPrinter* pPrinter, QWidget* pParent, const MapReportData& data)
{
    CReportPrinter printer(pPrinter, pParent);
    const bool bPrinted = printer.printMapReport(data);
    return printer.finish() && bPrinted;
}
