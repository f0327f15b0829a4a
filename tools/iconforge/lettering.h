#pragma once

// A small monoline geometric alphabet of our own for the wordmarks, so the logos do not
// depend on whatever fonts a machine has. Glyphs sit on the baseline y = 0 with the x-height
// at y = -5 and capitals at y = -7 (y grows downwards); strokes are drawn with round ends.

#include <QPainterPath>
#include <QString>

namespace Forge {

struct Lettering
{
    QPainterPath strokes; // centre lines of all glyphs, starting at x = 0
    QPainterPath dots;    // filled parts (the dot of i), already full size
    double width = 0;     // advance of the whole text without the trailing gap
};

/// Lays out `text` (only the letters the wordmarks need, and space). `stroke` is the stroke
/// width in glyph units, used for the dots and for spacing.
Lettering letter(const QString& text, double stroke, double tracking = 1.5);

} // namespace Forge
