#pragma once

// The program's toolbar and button icons: name, pixel size and drawing of each.

#include "forgepaint.h"

#include <QList>
#include <QString>

namespace Forge {

struct IconSpec
{
    QString name;     // file name as the program loads it
    int px = 32;      // side in pixels
    double units = kUnits; // side of the design square
    DrawFn draw;
};

QList<IconSpec> iconSpecs();

} // namespace Forge
