#pragma once

#include <QFont>
#include <QLine>
#include <QList>
#include <QPoint>
#include <QString>

//! One text of a ruler, drawn with its baseline starting at a point.
struct ScaleText
{
    QPoint baseline;
    QString text;

    bool operator==(const ScaleText& other) const = default;
};

//! Everything a ruler draws, worked out before painting: tick lines, labels and caption in the
//! font they are drawn with (a vertical ruler may have shrunk it to fit its labels).
struct ScaleLayout
{
    QFont font; //!< font of labels and caption
    int fontReductions = 0; //!< points taken off the ruler's font to fit the labels
    QList<QLine> minorTicks; //!< drawn first
    QList<QLine> majorTicks; //!< drawn over the minor ones
    QList<ScaleText> labels; //!< major tick labels, never overlapping each other
    QList<ScaleText> caption; //!< name and unit ("X, m" on one line, or two lines vertically)
};
