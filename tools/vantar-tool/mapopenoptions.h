#pragma once
// How the commands that read maps open them: the options they share with "reconstruct", the
// maps named on the command line, and the opening itself as the map view does it.

#include "map/mapopener.h"
#include "map/saftoverrides.h"

#include <QStringList>
#include <QTextStream>

#include <optional>

class MapData;

namespace VantarTool {

//! Parameters given by hand and whether the map's stored ones are used.
struct MapOpenOptions
{
    SAFTOverrides overrides;
    bool ignoreSaved = false; // derive the parameters from the map's settings
};

//! An integer option within lo … hi and a multiple of step from lo; false leaves value alone.
bool intOption(const QString& text, int lo, int hi, int step, std::optional<qint32>& value);

enum class OptionTaken { No, Yes, Bad };

//! When args[i] is one of the opening options (the SAFT parameters, --filter-sw,
//! --no-filter-sw, --ignore-saved, --threads), takes it with its value and leaves i on the
//! last argument used; Bad when its value is missing or out of range.
OptionTaken takeMapOpenOption(const QStringList& args, int& i, MapOpenOptions& options);
//! The OPTIONS lines of those options, for the commands' help.
void helpMapOpenOptions(QTextStream& out);

//! Says which argument (and value) a command could not use, then its help; returns 2.
int badArgument(QTextStream& err, const char* command, const QString& argument, const QStringList& args, int i,
                void (*help)(QTextStream&));

//! The maps named on the command line: configuration files as given, folders searched (with
//! their subfolders) for "*.cfg". A folder without one is reported on err as a failure of the
//! command and counted in iEmptyFolders.
QStringList collectMaps(const QStringList& inputs, const char* command, QTextStream& err, int& iEmptyFolders);

//! Opens the map of strConfig into data as the map view does, with the options applied.
MapOpenResult openMap(MapData& data, const QString& strConfig, const MapOpenOptions& options,
                      MapStepReporter* pReporter = nullptr);

} // namespace VantarTool
