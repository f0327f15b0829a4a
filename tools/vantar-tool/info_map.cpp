#include "tools/vantar-tool/commands.h"

#include "map/depthconversion.h"
#include "map/mapconfig.h"
#include "map/mapfolder.h"
#include "map/mapvolumegrid.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace VantarTool {

int infoMapConfig(const QString& path, QTextStream& out, QTextStream& err)
{
    if (!QFileInfo(path).isFile()) {
        err << "vantar-tool info: \"" << path << "\" is not a file\n";
        return 1;
    }
    MapConfig config;
    QString error;
    if (!MapConfig::read(path, config, &error)) {
        err << "vantar-tool info: " << error << '\n';
        return 1;
    }

    // The folder and the grid as opening the map would see them: geometry repaired, depth
    // window from the time base.
    const QString folder = QFileInfo(path).absolutePath();
    MapFolder::Scan scan;
    QString scanError;
    const bool scanned = MapFolder::scan(folder, scan, &scanError);
    MapConfig geometry = config;
    const bool geometryValid = geometry.validateGeometry();
    const ConfigSettings& s = config.settings;
    const double depthStart = sampleToDepth(s, s.iWindowStart);
    const double depthRange = sampleToDepth(s, s.iWindowEnd - s.iWindowStart);
    const MapVolumeGrid grid =
        MapVolumeGrid::compute(scan.columns, scan.rows, geometry.stepH, geometry.stepV, depthRange);
    QString gridError;
    const bool fits = grid.fitsMemory(Vantar::kMapMemoryLimit, &gridError);

    QJsonObject folderJson{
        {"path", folder},
        {"signalFiles", int(scan.positions.size())},
        {"ignoredFiles", scan.ignored},
        {"outOfRangeFiles", scan.outOfRange},
    };
    if (!scanned)
        folderJson.insert("error", scanError);
    if (!scan.positions.empty()) {
        const MapPositionKey first = scan.positions.begin()->first;
        folderJson.insert("firstPosition", QJsonObject{{"i", first.i}, {"j", first.j}});
    }
    QJsonObject gridJson{
        {"repH", grid.repH},     {"repV", grid.repV},     {"dim0", grid.dim0},
        {"dim1", grid.dim1},     {"dim2", grid.dim2},     {"pitchX", grid.pitchX},
        {"pitchY", grid.pitchY}, {"reduced", grid.reduced}, {"fitsMemory", fits},
    };
    if (!fits)
        gridJson.insert("error", gridError);

    const QJsonObject result{
        {"file", path},
        {"kind", "map"},
        {"version", QStringLiteral("%1.%2").arg(config.versionMajor).arg(config.versionMinor)},
        {"newFormat", config.newFormat},
        {"title", config.title},
        {"mapName", config.mapName},
        {"settingsValid", !config.settingsRepaired},
        {"settings", settingsJson(s)},
        {"stepH", config.stepH},
        {"stepV", config.stepV},
        {"sizeH", config.sizeH},
        {"sizeV", config.sizeV},
        {"geometryValid", geometryValid},
        {"columns", scan.columns},
        {"rows", scan.rows},
        {"signalFiles", int(scan.positions.size())},
        {"folder", folderJson},
        {"depthStart", depthStart},
        {"depthRange", depthRange},
        {"widthMetres", geometry.stepH * scan.columns / 1000.0},
        {"heightMetres", geometry.stepV * scan.rows / 1000.0},
        {"grid", gridJson},
    };
    out << QJsonDocument(result).toJson(QJsonDocument::Indented);
    return 0;
}

} // namespace VantarTool
