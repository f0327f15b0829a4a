#pragma once
// The SAFT delay-and-sum and the envelope of its depth columns, in two forms with the same
// result: the straightforward loops (the reference) and the tabulated, multi-threaded path the
// program runs, which sums sample-major copies of the signals with vector multiply-adds (AVX-512
// or AVX2 where the processor has them) whenever the grid repeats with the positions along y.

#include "map/progress.h"

#include <QtGlobal>

#include <vector>

namespace Saft {

//! Half-angle of the cone inside which a position sees a voxel with full weight: 7°.
inline constexpr double kConeAngle = 0.12217304763960307;
//! Depth of the first layer's top, mm: every travel path starts this far above the volume.
inline constexpr double kStandOff = 200.0;
//! Layer thickness, mm.
inline constexpr double kLayerMm = 5.0;
//! Sample of travel time 0.
inline constexpr int kSurfaceSample = 119;
//! Every accumulated column is scaled by this after its envelope.
inline constexpr double kOutputScale = 0.0625;

//! What the reconstruction needs of a map. Probe position (i, j), from 1, lies at
//! ((i − 0.5)·stepH, (j − 0.5)·stepV); voxel (a, b, c), from 1, at (a·pitchX, b·pitchY) and
//! depth coordinate 200 + 5c. Lengths are mm, velocity mm/µs.
struct Geometry
{
    int columns = 0;
    int rows = 0;
    int stepH = 0;
    int stepV = 0;
    int pitchX = 0;
    int pitchY = 0;
    int dim0 = 0;
    int dim1 = 0;
    int dim2 = 0;
    int sampleCount = 0;
    double velocity = 0.0;
    //! Record sample of each signal's first entry: signals hold samples firstSample … on,
    //! at least as far as sampleRange() reaches.
    int firstSample = 0;

    qint64 voxelCount() const { return qint64(dim0) * qint64(dim1) * qint64(dim2); }
    //! Every size positive, the velocity positive and finite.
    bool isValid() const;
};

//! Prepared samples of each position, from record sample firstSample on, at (i − 1)·rows +
//! (j − 1); null where a position has no signal.
using Signals = std::vector<const qint16*>;

//! Index of position (i, j) (from 1) in Signals.
inline int signalIndex(const Geometry& g, int i, int j)
{
    return (i - 1) * g.rows + (j - 1);
}

//! Progress of the delay-and-sum as the reference reports it: before position k (from 1,
//! i outer, j inner) the percentage round(100·k / (columns·rows)); the callback is called
//! whenever that value changes. Returning false stops the step.
class PositionProgress
{
public:
    PositionProgress(const Vantar::ProgressFn& progress, int positions);
    //! Position k (from 1) is about to be summed; false when the step is to stop.
    bool reach(int k);

private:
    const Vantar::ProgressFn& m_progress;
    int m_positions;
    int m_reached = 0;
    int m_lastPercent = -1;
};

//! acc (voxelCount doubles, layout (a·dim1 + b)·dim2 + c) += the delay-and-sum of every
//! signal, loop by loop. False when stopped or the geometry is not valid.
bool accumulateReference(const Geometry& g, const Signals& s, double* acc, const Vantar::ProgressFn& progress = {});

//! The same sums, bit for bit, from tables of delay index and weight per lateral offset and
//! layer, over tiles of the volume on every worker thread. Falls back to per-voxel arithmetic
//! on the threads when the tables would not fit memory. False when stopped, the geometry is
//! not valid or memory runs out.
bool accumulateFast(const Geometry& g, const Signals& s, double* acc, const Vantar::ProgressFn& progress = {});

//! The tiled, multi-threaded path with per-voxel arithmetic, which accumulateFast takes when
//! its tables would be too large; the same sums bit for bit.
bool accumulateDirect(const Geometry& g, const Signals& s, double* acc, const Vantar::ProgressFn& progress = {});

//! The processed volume straight from the signals: every tile of columns summed as
//! accumulateFast does and turned into its envelope as envelopeReference does, so that no
//! whole-volume accumulator is needed. The same 16-bit values as the reference.
bool reconstructFast(const Geometry& g, const Signals& s, qint16* out, const Vantar::ProgressFn& progress = {});

//! Record samples [first, end) that the delay-and-sum can read for this geometry (with a
//! sample of margin on either side), held to 0 … sampleCount.
void sampleRange(const Geometry& g, int& first, int& end);

//! Which kernel the sample-major path uses on this machine: "avx512", "avx2" or "plain".
const char* vectorPath();
//! Limits the sample-major path for tests and benchmarks: 0 plain, 1 at most AVX2, anything
//! else the best the machine has.
void setVectorPath(int iPath);

//! Size and exponent of the envelope transform: N = 2^e, the smallest power of two (at least
//! 2) not below dim2.
void transformSize(int dim2, int& N, int& e);

//! In-place radix-2 decimation-in-time transform of 2^e points (bit reversal, then spans 1,
//! 2, 4, …); the twiddle step of each span is −1, then ∓i, then the principal square root of
//! the previous step. The inverse does not divide by N.
void fft(double* re, double* im, int e, bool bInverse);

//! out (voxelCount values) = round(0.0625 × |analytic signal|) of every depth column of acc,
//! halves up, saturated to 16 bits, column by column on this thread.
bool envelopeReference(const Geometry& g, const double* acc, qint16* out);

} // namespace Saft
