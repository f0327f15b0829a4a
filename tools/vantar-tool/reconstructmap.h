#pragma once
// One map of "vantar-tool reconstruct": opened as the map view opens it, its volumes, scan
// pictures and summary written to a folder.

#include "tools/vantar-tool/mapopenoptions.h"

#include <QString>
#include <QTextStream>

#include <optional>

namespace VantarTool {

struct ReconstructOptions : MapOpenOptions
{
    bool stepLines = true;    // a line per long step on the error stream
    bool metaImage = false;   // also processed.mha and raw.mha
    bool pictures = true;     // cscan.png, bscan.png and dscan.png
    std::optional<int> brightnessDb; // of the pictures, as the view's; else the maximum at the top
};

//! What became of one map.
struct ReconstructOutcome
{
    bool ok = false;
    QString reason;  // why not, one sentence
    int dim0 = 0, dim1 = 0, dim2 = 0;
    int maximum = 0; // of the volume shown (processed when it exists)
    int at[3] = {0, 0, 0};
    double seconds = 0.0;
};

//! Opens the map of config, writes into outDir (made when missing) and tells how it went.
//! Step lines, when wished, go to err.
ReconstructOutcome reconstructMap(const QString& config, const QString& outDir, const ReconstructOptions& options,
                                  QTextStream& err);

} // namespace VantarTool
