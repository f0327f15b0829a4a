#pragma once
// How the probe positions of a map are laid onto the cells of its volume.

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

//! Cells per position, volume size and voxel pitch of a map. Cells are 5 mm wide and depth
//! layers 5 mm thick; a map whose plane would exceed 200000 cells gets 2 × 2 cells per position.
struct MapVolumeGrid
{
    Q_DECLARE_TR_FUNCTIONS(MapVolumeGrid)

public:
    static constexpr int kCellMm = 5;
    static constexpr double kLayerMetres = 0.005;
    static constexpr qint64 kMaxPlaneCells = 200000;
    static constexpr int kReducedRepetition = 2;

    int repH = 0;   // cells per position, horizontally
    int repV = 0;   // cells per position, vertically
    int dim0 = 0;   // horizontal cells
    int dim1 = 0;   // vertical cells
    int dim2 = 0;   // depth layers
    int pitchX = kCellMm; // voxel pitch in x, mm
    int pitchY = kCellMm; // voxel pitch in y, mm
    bool reduced = false; // the 200000-cell rule applied

    //! The grid of columns × rows positions at the probe steps (mm) over depthRange metres.
    //! Negative counts or steps are taken as 0; sizes are computed in 64 bits and held to int.
    static MapVolumeGrid compute(int columns, int rows, int stepH, int stepV, double depthRange);

    //! Depth layers of a depth range in metres: range / 0.005 rounded halves up, at least 0.
    static int layersFor(double depthRange);

    qint64 voxelCount() const { return qint64(dim0) * qint64(dim1) * qint64(dim2); }

    //! Most bytes the volumes of this grid take at once while a map is opened or reconstructed:
    //! two 16-bit volumes and the three projections.
    qint64 bytesNeeded() const;

    //! False with a message when bytesNeeded() exceeds limit (bytes).
    bool fitsMemory(qint64 limit, QString* error = nullptr) const;

    //! Cells [first, end) owned by position i (from 1) along x, and j along y.
    int firstCellH(int i) const { return (i - 1) * repH; }
    int endCellH(int i) const { return i * repH; }
    int firstCellV(int j) const { return (j - 1) * repV; }
    int endCellV(int j) const { return j * repV; }
    //! Position (from 1) owning a cell, or 0 when no position does.
    int positionOfCellH(int a) const { return (repH > 0 && a >= 0 && a < dim0) ? a / repH + 1 : 0; }
    int positionOfCellV(int b) const { return (repV > 0 && b >= 0 && b < dim1) ? b / repV + 1 : 0; }

    bool operator==(const MapVolumeGrid&) const = default;
};
