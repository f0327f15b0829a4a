#include "map/saftkernel.h"

#include "map/parallel.h"

#include <immintrin.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

namespace Saft {

namespace {

// 1/√2 as the transform has always used it for its square roots.
constexpr double kHalfRoot = 0.70710678;
// Lateral offsets are kept in half millimetres; beyond this their squares are no longer
// exact in a double and the tables could differ from the loops, so the direct path runs.
constexpr qint64 kMaxExactOffset = qint64(1) << 25;
// Tables larger than this (bytes) are not built.
constexpr qint64 kMaxTableBytes = qint64(512) << 20;
constexpr int kTileColumns = 16;
constexpr int kTileLayers = 256;

const double kCosLimit = std::cos(kConeAngle);

// Delay index and squared weight of a voxel at lateral offset (dx, dy) mm and layer c (from
// 1), exactly as the loops compute them. False when the sample lies outside the record.
inline bool delayAndWeightAt(double lateral, int c, double velocity, int sampleCount, int& n, double& w2)
{
    const double z = kStandOff + kLayerMm * c;
    const double R = std::sqrt(lateral + z * z);
    const double q = z / R;
    const double w = q >= kCosLimit ? 1.0 : std::pow(q / kCosLimit, 20.0);
    const double t = std::floor(2.0 * (R - kStandOff) / velocity * 10.0 + 0.5);
    if (!(t >= -double(kSurfaceSample) && t < double(sampleCount) - kSurfaceSample))
        return false;
    n = int(t) + kSurfaceSample;
    w2 = w * w;
    return true;
}

// The same at lateral offset (dx, dy) mm.
inline bool delayAndWeight(double dx, double dy, int c, double velocity, int sampleCount, int& n, double& w2)
{
    return delayAndWeightAt(dx * dx + dy * dy, c, velocity, sampleCount, n, w2);
}

// Tiles of the volume: up to kTileColumns × kTileColumns columns and, when the sums go to
// a whole-volume accumulator, at most kTileLayers layers. A tile that is also turned into its
// envelope spans every layer and has as many columns as keep it near 256 kB.
struct Tiling
{
    int side = kTileColumns;
    int tilesA = 0;
    int tilesB = 0;
    int tilesC = 0;
    int layers = 0;

    Tiling(const Geometry& g, bool bFullDepth)
    {
        if (bFullDepth) {
            layers = g.dim2;
            side = int(std::clamp(std::floor(std::sqrt(32768.0 / std::max(g.dim2, 1))), 1.0, double(kTileColumns)));
        } else {
            layers = std::min(g.dim2, kTileLayers);
        }
        tilesA = (g.dim0 + side - 1) / side;
        tilesB = (g.dim1 + side - 1) / side;
        tilesC = (g.dim2 + layers - 1) / layers;
    }
    int count() const { return tilesA * tilesB * tilesC; }

    struct Tile
    {
        int a0, a1, b0, b1, c0, c1; // half-open, from 0
    };
    Tile tile(const Geometry& g, int index) const
    {
        const int tc = index % tilesC;
        const int tb = (index / tilesC) % tilesB;
        const int ta = index / (tilesC * tilesB);
        Tile t;
        t.a0 = ta * side;
        t.a1 = std::min(g.dim0, t.a0 + side);
        t.b0 = tb * side;
        t.b1 = std::min(g.dim1, t.b0 + side);
        t.c0 = tc * layers;
        t.c1 = std::min(g.dim2, t.c0 + layers);
        return t;
    }
};

// Offsets along one axis in half millimetres, 2·a·pitch − (2i − 1)·step, for positions
// i = 1 … count and cells a = 1 … dim.
qint64 halfOffset(int a, int pitch, int i, int step)
{
    return 2 * qint64(a) * pitch - (2 * qint64(i) - 1) * step;
}

// The distinct absolute offsets of one axis and, for every (position, cell), its index.
struct AxisOffsets
{
    std::vector<qint64> values;  // sorted, distinct |offset|
    std::vector<int> index;      // (i − 1)·dim + (a − 1) → index into values
    qint64 largest = 0;

    void build(int positions, int dim, int pitch, int step)
    {
        values.clear();
        values.reserve(size_t(positions) * size_t(dim));
        for (int i = 1; i <= positions; ++i)
            for (int a = 1; a <= dim; ++a)
                values.push_back(std::abs(halfOffset(a, pitch, i, step)));
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end()), values.end());
        largest = values.empty() ? 0 : values.back();
        index.assign(size_t(positions) * size_t(dim), 0);
        for (int i = 1; i <= positions; ++i)
            for (int a = 1; a <= dim; ++a) {
                const qint64 v = std::abs(halfOffset(a, pitch, i, step));
                index[size_t(i - 1) * size_t(dim) + size_t(a - 1)] =
                    int(std::lower_bound(values.begin(), values.end(), v) - values.begin());
            }
    }
};

// Delay index and squared weight of every lateral offset and layer. With the grid rule |dx|
// and |dy| take few values, and offsets of equal dx² + dy² share a row.
struct Tables
{
    AxisOffsets ox;
    AxisOffsets oy;
    int sy = 0;                 // distinct |dy|
    std::vector<int> rowOf;     // (index of |dx|)·sy + (index of |dy|) → row
    std::vector<quint16> delay; // row·dim2 + (c − 1); outside the record: 0
    std::vector<double> weight; // squared weight; outside the record: 0, so nothing is added

    // False when the tables would be inexact or too large: the direct path is taken then.
    // Throws std::bad_alloc when memory runs out.
    bool build(const Geometry& g)
    {
        ox.build(g.columns, g.dim0, g.pitchX, g.stepH);
        oy.build(g.rows, g.dim1, g.pitchY, g.stepV);
        const qint64 pairs = qint64(ox.values.size()) * qint64(oy.values.size());
        if (ox.largest >= kMaxExactOffset || oy.largest >= kMaxExactOffset || g.sampleCount > 0xFFFF
            || pairs > (qint64(1) << 24))
            return false;
        // A row per distinct kx² + ky² (half millimetres): the lateral part of R² is all that
        // matters, and it is exact, so mirrored pairs and pairs of equal sums share a row.
        sy = int(oy.values.size());
        std::vector<quint64> keys(static_cast<size_t>(pairs));
        for (size_t x = 0; x < ox.values.size(); ++x) {
            const quint64 kx = quint64(ox.values[x]);
            for (int y = 0; y < sy; ++y) {
                const quint64 ky = quint64(oy.values[size_t(y)]);
                keys[x * size_t(sy) + size_t(y)] = kx * kx + ky * ky;
            }
        }
        std::vector<quint64> rowKeys(keys);
        std::sort(rowKeys.begin(), rowKeys.end());
        rowKeys.erase(std::unique(rowKeys.begin(), rowKeys.end()), rowKeys.end());
        const qint64 rows = qint64(rowKeys.size());
        if (rows * g.dim2 * qint64(sizeof(quint16) + sizeof(double)) > kMaxTableBytes)
            return false;
        rowOf.resize(static_cast<size_t>(pairs));
        for (size_t p = 0; p < keys.size(); ++p)
            rowOf[p] = int(std::lower_bound(rowKeys.begin(), rowKeys.end(), keys[p]) - rowKeys.begin());
        keys = std::vector<quint64>();

        const size_t stride = size_t(g.dim2);
        delay.assign(size_t(rows) * stride, 0);
        weight.assign(size_t(rows) * stride, 0.0);
        constexpr int kRowsPerTask = 64;
        const int tasks = int((rows + kRowsPerTask - 1) / kRowsPerTask);
        auto buildRows = [&](int task) {
            const qint64 first = qint64(task) * kRowsPerTask;
            const qint64 last = std::min(rows, first + kRowsPerTask);
            for (qint64 r = first; r < last; ++r) {
                // dx² + dy² = key / 4, exactly the loops' (X − xs)² + (Y − ys)².
                const double lateral = double(rowKeys[size_t(r)]) / 4.0;
                quint16* n = delay.data() + size_t(r) * stride;
                double* w = weight.data() + size_t(r) * stride;
                for (int c = 1; c <= g.dim2; ++c) {
                    int index = 0;
                    double w2 = 0.0;
                    if (delayAndWeightAt(lateral, c, g.velocity, g.sampleCount, index, w2)) {
                        n[c - 1] = quint16(index);
                        w[c - 1] = w2;
                    }
                }
            }
            return true;
        };
        if (!Vantar::runTasks(tasks, buildRows))
            throw std::bad_alloc();
        return true;
    }
};

// Sums every position into the columns of a tile, positions in the loops' order so that each
// voxel's sum is taken in the same order. column(a, b) is the accumulator of cell (a, b) (from
// 0) at layer c0.
template <class Column>
void sumTile(const Geometry& g, const Signals& s, const Tables* tables, const Tiling::Tile& t, Column column)
{
    const int layers = t.c1 - t.c0;
    for (int i = 1; i <= g.columns; ++i) {
        const double xs = (i - 0.5) * g.stepH;
        for (int j = 1; j <= g.rows; ++j) {
            const qint16* sig = s[size_t(signalIndex(g, i, j))];
            if (!sig)
                continue;
            if (tables) {
                const int* ix = tables->ox.index.data() + size_t(i - 1) * size_t(g.dim0);
                const int* iy = tables->oy.index.data() + size_t(j - 1) * size_t(g.dim1);
                for (int a = t.a0; a < t.a1; ++a) {
                    const int* rowBase = tables->rowOf.data() + size_t(ix[a]) * size_t(tables->sy);
                    for (int b = t.b0; b < t.b1; ++b) {
                        const size_t at = size_t(rowBase[iy[b]]) * size_t(g.dim2) + size_t(t.c0);
                        const quint16* n = tables->delay.data() + at;
                        const double* w = tables->weight.data() + at;
                        double* col = column(a, b);
                        for (int c = 0; c < layers; ++c)
                            col[c] += sig[n[c] - g.firstSample] * w[c];
                    }
                }
            } else {
                const double ys = (j - 0.5) * g.stepV;
                for (int a = t.a0; a < t.a1; ++a) {
                    const double dx = double(a + 1) * g.pitchX - xs;
                    for (int b = t.b0; b < t.b1; ++b) {
                        const double dy = double(b + 1) * g.pitchY - ys;
                        double* col = column(a, b);
                        for (int c = 0; c < layers; ++c) {
                            int n = 0;
                            double w2 = 0.0;
                            if (delayAndWeight(dx, dy, t.c0 + c + 1, g.velocity, g.sampleCount, n, w2))
                                col[c] += sig[n - g.firstSample] * w2;
                        }
                    }
                }
            }
        }
    }
}

// Which work is done, turned into the positions the reference would have reached.
class TaskProgress
{
public:
    TaskProgress(PositionProgress& p, int positions, int tasks) : m_p(p), m_positions(positions), m_tasks(tasks) {}
    bool operator()(int finished)
    {
        const qint64 k = qint64(finished) * m_positions / std::max(m_tasks, 1) + 1;
        return m_p.reach(int(std::min<qint64>(k, m_positions)));
    }

private:
    PositionProgress& m_p;
    int m_positions;
    int m_tasks;
};

// The twiddle factors of every span in the order the butterflies use them: span 1 at 0,
// span 2 at 1 … 2, span 4 at 3 … 6, and so on (N − 1 values).
void twiddles(int e, bool bInverse, double* re, double* im)
{
    double stepRe = -1.0;
    double stepIm = 0.0;
    int at = 0;
    for (int level = 0, span = 1; level < e; ++level, span *= 2) {
        if (span == 2) {
            stepRe = 0.0;
            stepIm = bInverse ? 1.0 : -1.0;
        } else if (span > 2) {
            // Principal square root of the previous step.
            const double r = std::sqrt(stepRe * stepRe + stepIm * stepIm);
            const double sr = kHalfRoot * std::sqrt(r + stepRe);
            double si = kHalfRoot * std::sqrt(std::max(r - stepRe, 0.0));
            if (stepIm < 0)
                si = -si;
            stepRe = sr;
            stepIm = si;
        }
        double uRe = 1.0;
        double uIm = 0.0;
        for (int m = 0; m < span; ++m) {
            re[at] = uRe;
            im[at] = uIm;
            ++at;
            const double nRe = uRe * stepRe - uIm * stepIm;
            const double nIm = uRe * stepIm + uIm * stepRe;
            uRe = nRe;
            uIm = nIm;
        }
    }
}

void butterflies(double* re, double* im, int e, const double* twRe, const double* twIm)
{
    const int N = 1 << e;
    for (int i = 1, j = 0; i < N; ++i) {
        int bit = N >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    int at = 0;
    for (int span = 1; span < N; span *= 2) {
        for (int m = 0; m < span; ++m, ++at) {
            const double uRe = twRe[at];
            const double uIm = twIm[at];
            for (int k = m; k < N; k += 2 * span) {
                const int l = k + span;
                const double tRe = uRe * re[l] - uIm * im[l];
                const double tIm = uRe * im[l] + uIm * re[l];
                re[l] = re[k] - tRe;
                im[l] = im[k] - tIm;
                re[k] += tRe;
                im[k] += tIm;
            }
        }
    }
}

struct EnvelopeBuffers
{
    std::vector<double> re, im, fwRe, fwIm, invRe, invIm;
    int N = 0;
    int e = 0;

    explicit EnvelopeBuffers(int dim2)
    {
        transformSize(dim2, N, e);
        re.resize(size_t(N));
        im.resize(size_t(N));
        fwRe.resize(size_t(N));
        fwIm.resize(size_t(N));
        invRe.resize(size_t(N));
        invIm.resize(size_t(N));
        twiddles(e, false, fwRe.data(), fwIm.data());
        twiddles(e, true, invRe.data(), invIm.data());
    }
};

qint16 outputValue(double magnitude)
{
    const double v = std::floor(kOutputScale * magnitude + 0.5);
    if (!(v >= 0)) // NaN
        return 0;
    return v >= 32767.0 ? qint16(32767) : qint16(v);
}

void envelopeColumn(EnvelopeBuffers& b, const double* column, int dim2, qint16* out)
{
    const int N = b.N;
    std::fill(b.re.begin(), b.re.end(), 0.0);
    std::fill(b.im.begin(), b.im.end(), 0.0);
    std::copy(column, column + dim2, b.re.begin());
    butterflies(b.re.data(), b.im.data(), b.e, b.fwRe.data(), b.fwIm.data());
    // One-sided spectrum: the analytic signal, whose magnitude is the envelope.
    for (int k = 1; k < N / 2; ++k) {
        b.re[size_t(k)] *= 2.0;
        b.im[size_t(k)] *= 2.0;
    }
    for (int k = N / 2 + 1; k < N; ++k) {
        b.re[size_t(k)] *= 0.0;
        b.im[size_t(k)] *= 0.0;
    }
    butterflies(b.re.data(), b.im.data(), b.e, b.invRe.data(), b.invIm.data());
    for (int c = 0; c < dim2; ++c) {
        const double re = b.re[size_t(c)] / N;
        const double im = b.im[size_t(c)] / N;
        out[c] = outputValue(std::sqrt(re * re + im * im));
    }
}


// The sample-major path. Along y the grid repeats with the positions when stepV = repV·pitchY:
// cell b = repV·v + ψ (from 0) and position j' (from 0) are then dy apart for every v with
// v − j' = e, so for one position column i, cell column a, phase ψ, shift e and layer c the
// delay and the weight are the same for all the positions of the column. With the prepared
// samples stored sample-major (S[i][n][j']), each such step is a multiply-add of a run of
// contiguous samples onto a run of contiguous accumulators, which vectorises without gathers.
// Each voxel still gets its terms in the loops' order (i, then j), so the sums are the same.

// One step of the sums: position column i onto the voxel columns of a few cell columns a at
// phase ψ, every shift e and layer c. Accumulators of cell column a (the k-th of the step) and
// layer c are acc[k][c·stride + v] for cell b = repV·v + ψ; the samples of position j' (from 0)
// at record sample n are band[(n − bandFirst)·stride + j'].
struct BlockArgs
{
    double* const* acc;
    const int* const* rowBase; // per cell column: table row by index of |dy|
    int count;                 // cell columns
    const int* iy;             // per shift e (at e + rows − 1): index of |dy|
    const qint16* band;
    int stride;
    int bandFirst;
    int rows;
    int dim2;
    const quint16* delay; // 0 = outside the record
    const double* weight;
    bool prefetch;        // the band is too large for the caches: fetch runs ahead
};

using BlockFn = void (*)(const BlockArgs&);

// Runs of contiguous accumulators: for each shift (from the largest down, so that position
// j' = v − e rises as in the loops), cell column and layer, dst[k] += src[k] × w over the
// positions that exist. The cell columns of a step are close, so their samples of one shift
// lie close together; layers go in chunks whose accumulators stay in the caches.
// A macro rather than a template: the multiply-add must be inlined into a function of its own
// instruction set, which a template shared by all of them cannot be.
#define SAFT_BLOCK_RUNS(a, MADD)                                                                        \
    do {                                                                                                \
        const int rows_ = (a).rows;                                                                    \
        const int chunk_ = std::clamp(((a).stride < 64 ? 2 : 1) * kChunkDoubles / (a).stride, 1, (a).dim2);                        \
        for (int c0 = 0; c0 < (a).dim2; c0 += chunk_) {                                                \
            const int c1 = std::min((a).dim2, c0 + chunk_);                                            \
            for (int e = rows_ - 1; e >= -(rows_ - 1); --e) {                                          \
                const int iy_ = (a).iy[e + rows_ - 1];                                                 \
                const int vLo = std::max(0, e);                                                        \
                const int len = std::min(rows_, rows_ + e) - vLo;                                      \
                const qint16* band_ = (a).band + (vLo - e) - ptrdiff_t((a).bandFirst) * (a).stride;     \
                for (int k_ = 0; k_ < (a).count; ++k_) {                                               \
                    const size_t at_ = size_t((a).rowBase[k_][iy_]) * size_t((a).dim2);                \
                    const quint16* delay_ = (a).delay + at_;                                           \
                    const double* weight_ = (a).weight + at_;                                          \
                    double* acc_ = (a).acc[k_] + vLo;                                                  \
                    for (int c = c0; c < c1; ++c) {                                                    \
                        if ((a).prefetch && c + kAhead < c1 && delay_[c + kAhead])                     \
                            prefetchRun(band_ + ptrdiff_t(delay_[c + kAhead]) * (a).stride, len);      \
                        const int n_ = delay_[c];                                                      \
                        if (n_)                                                                        \
                            MADD(acc_ + ptrdiff_t(c) * (a).stride, band_ + ptrdiff_t(n_) * (a).stride, \
                                 weight_[c], len);                                                     \
                    }                                                                                  \
                }                                                                                      \
            }                                                                                          \
        }                                                                                              \
    } while (false)

// Accumulators of this many doubles per cell column stay in the first-level cache (twice as
// many for short runs, whose per-shift work then spreads over more layers).
constexpr int kChunkDoubles = 2048;
// The samples of a layer this many layers ahead are asked for early: each layer's run lies
// elsewhere in the band, too far for the processor to guess.
constexpr int kAhead = 4;

inline void prefetchRun(const qint16* p, int len)
{
    const char* c = reinterpret_cast<const char*>(p);
    for (int b = 0; b < len * int(sizeof(qint16)); b += 64)
        __builtin_prefetch(c + b);
}

inline void maddPlain(double* dst, const qint16* src, double w, int len)
{
    for (int k = 0; k < len; ++k)
        dst[k] += src[k] * w;
}

void blockPlain(const BlockArgs& a)
{
    SAFT_BLOCK_RUNS(a, maddPlain);
}

__attribute__((target("avx2"))) inline void maddAvx2(double* dst, const qint16* src, double w, int len)
{
    const __m256d vw = _mm256_set1_pd(w);
    int k = 0;
    for (; k + 8 <= len; k += 8) {
        const __m128i s16 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + k));
        const __m256d lo = _mm256_cvtepi32_pd(_mm_cvtepi16_epi32(s16));
        const __m256d hi = _mm256_cvtepi32_pd(_mm_cvtepi16_epi32(_mm_unpackhi_epi64(s16, s16)));
        _mm256_storeu_pd(dst + k, _mm256_add_pd(_mm256_loadu_pd(dst + k), _mm256_mul_pd(lo, vw)));
        _mm256_storeu_pd(dst + k + 4, _mm256_add_pd(_mm256_loadu_pd(dst + k + 4), _mm256_mul_pd(hi, vw)));
    }
    for (; k < len; ++k)
        dst[k] += src[k] * w;
}

__attribute__((target("avx2"))) void blockAvx2(const BlockArgs& a)
{
    SAFT_BLOCK_RUNS(a, maddAvx2);
}

// GCC's own header leaves the unused half of a conversion undefined on purpose.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
__attribute__((target("avx512f,avx512bw,avx512vl"))) inline void maddAvx512(double* dst, const qint16* src, double w,
                                                                              int len)
{
    const __m512d vw = _mm512_set1_pd(w);
    int k = 0;
    for (; k + 8 <= len; k += 8) {
        const __m128i s16 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + k));
        const __m512d v = _mm512_cvtepi32_pd(_mm256_cvtepi16_epi32(s16));
        _mm512_storeu_pd(dst + k, _mm512_add_pd(_mm512_loadu_pd(dst + k), _mm512_mul_pd(v, vw)));
    }
    if (k < len) {
        const __mmask8 m = __mmask8((1u << (len - k)) - 1u);
        const __m128i s16 = _mm_maskz_loadu_epi16(m, src + k);
        const __m512d v = _mm512_cvtepi32_pd(_mm256_cvtepi16_epi32(s16));
        _mm512_mask_storeu_pd(dst + k, m, _mm512_add_pd(_mm512_maskz_loadu_pd(m, dst + k), _mm512_mul_pd(v, vw)));
    }
}

__attribute__((target("avx512f,avx512bw,avx512vl"))) void blockAvx512(const BlockArgs& a)
{
    SAFT_BLOCK_RUNS(a, maddAvx512);
}
#pragma GCC diagnostic pop

#undef SAFT_BLOCK_RUNS


struct BlockChoice
{
    BlockFn fn;
    const char* name;
};

BlockChoice chooseBlock()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl"))
        return {blockAvx512, "avx512"};
    if (__builtin_cpu_supports("avx2"))
        return {blockAvx2, "avx2"};
#endif
    return {blockPlain, "plain"};
}

std::atomic<int> g_forcedPath{-1};

BlockChoice blockChoice()
{
    static const BlockChoice best = chooseBlock();
    switch (g_forcedPath.load()) {
    case 0:
        return {blockPlain, "plain"};
    case 1:
        return best.fn == blockPlain ? best : BlockChoice{blockAvx2, "avx2"};
    default:
        return best;
    }
}

// The sample-major path with its tables; false (nothing done) when the geometry does not
// repeat along y, the tables cannot be made or their delays fall outside the signals.
struct Shifted
{
    int repV = 0;
    int stride = 0;    // positions of a column, padded
    int bandFirst = 0; // record samples [bandFirst, bandFirst + bandLen) of S
    int bandLen = 0;
    std::vector<qint16> S; // [i − 1][n − bandFirst][j − 1]
    std::vector<int> iyOf; // ψ·(2·rows − 1) + (e + rows − 1) → index of |dy|

    static bool applies(const Geometry& g)
    {
        return g.rows > 0 && g.dim1 % g.rows == 0 && qint64(g.dim1 / g.rows) * g.pitchY == g.stepV;
    }

    // Throws std::bad_alloc when memory runs out.
    bool build(const Geometry& g, const Signals& s, const Tables& t)
    {
        repV = g.dim1 / g.rows;
        stride = (g.rows + 7) / 8 * 8;
        int lo = std::numeric_limits<int>::max();
        int hi = -1;
        for (quint16 n : t.delay)
            if (n) {
                lo = std::min(lo, int(n));
                hi = std::max(hi, int(n));
            }
        if (hi < 0) {
            lo = hi = g.firstSample; // nothing is summed
        }
        int first = 0;
        int end = 0;
        sampleRange(g, first, end);
        if (lo < std::max(first, g.firstSample) || hi >= end)
            return false; // the signals do not reach that far
        bandFirst = lo;
        bandLen = hi + 1 - lo;
        const int span = 2 * g.rows - 1;
        iyOf.assign(size_t(repV) * size_t(span), 0);
        for (int psi = 0; psi < repV; ++psi)
            for (int e = -(g.rows - 1); e <= g.rows - 1; ++e) {
                const int j0 = e >= 0 ? 0 : -e; // a position j' (from 0) of this shift
                const int v = j0 + e;
                const int b = repV * v + psi;
                iyOf[size_t(psi) * size_t(span) + size_t(e + g.rows - 1)] = t.oy.index[size_t(j0) * size_t(g.dim1) + size_t(b)];
            }
        S.assign(size_t(g.columns) * size_t(bandLen) * size_t(stride), 0);
        auto fill = [&](int column) {
            qint16* out = S.data() + size_t(column) * size_t(bandLen) * size_t(stride);
            for (int j = 1; j <= g.rows; ++j) {
                const qint16* sig = s[size_t(signalIndex(g, column + 1, j))];
                if (!sig)
                    continue;
                const qint16* from = sig + (bandFirst - g.firstSample);
                for (int k = 0; k < bandLen; ++k)
                    out[size_t(k) * size_t(stride) + size_t(j - 1)] = from[k];
            }
            return true;
        };
        if (!Vantar::runTasks(g.columns, fill))
            throw std::bad_alloc();
        return true;
    }
};

// Sums every position into the voxel columns a0 … a1 − 1 (all of y and depth) held in acc:
// ((a − a0)·repV + ψ)·dim2·stride + c·stride + v for cell b = repV·v + ψ.
void sumShifted(const Geometry& g, const Tables& t, const Shifted& sh, int a0, int a1, double* acc)
{
    const BlockFn block = blockChoice().fn;
    const int span = 2 * g.rows - 1;
    const size_t columnBand = size_t(sh.bandLen) * size_t(sh.stride);
    std::vector<double*> accs(static_cast<size_t>(a1 - a0));
    std::vector<const int*> rowBases(static_cast<size_t>(a1 - a0));
    BlockArgs args{};
    args.acc = accs.data();
    args.rowBase = rowBases.data();
    args.count = a1 - a0;
    args.stride = sh.stride;
    args.bandFirst = sh.bandFirst;
    args.rows = g.rows;
    args.dim2 = g.dim2;
    args.delay = t.delay.data();
    args.weight = t.weight.data();
    args.prefetch = columnBand * sizeof(qint16) > (size_t(1) << 20);
    for (int i = 1; i <= g.columns; ++i) {
        args.band = sh.S.data() + size_t(i - 1) * columnBand;
        const int* ix = t.ox.index.data() + size_t(i - 1) * size_t(g.dim0);
        for (int a = a0; a < a1; ++a)
            rowBases[size_t(a - a0)] = t.rowOf.data() + size_t(ix[a]) * size_t(t.sy);
        for (int psi = 0; psi < sh.repV; ++psi) {
            args.iy = sh.iyOf.data() + size_t(psi) * size_t(span);
            for (int a = a0; a < a1; ++a)
                accs[size_t(a - a0)] = acc + size_t((a - a0) * sh.repV + psi) * size_t(g.dim2) * size_t(sh.stride);
            block(args);
        }
    }
}

// The sample-major path over tiles of whole voxel columns (every b and layer of a few a),
// each summed in a buffer of its own: into acc (adding to what it holds) or, with out,
// turned into its envelopes at once.
bool runShifted(const Geometry& g, const Tables& t, const Shifted& sh, double* acc, qint16* out,
                PositionProgress& pp)
{
    const size_t perA = size_t(sh.repV) * size_t(g.dim2) * size_t(sh.stride);
    const int threads = Vantar::workerThreads();
    // About 1 MB of accumulators per tile, and at least two tiles per thread.
    int side = int(std::clamp<qint64>(qint64(1 << 20) / qint64(perA * sizeof(double)), 1, g.dim0));
    side = std::min(side, std::max(1, (g.dim0 + 2 * threads - 1) / (2 * threads)));
    const int tasks = (g.dim0 + side - 1) / side;
    std::unique_ptr<EnvelopeBuffers> shared;
    if (out)
        shared = std::make_unique<EnvelopeBuffers>(g.dim2);
    auto task = [&](int index) {
        const int a0 = index * side;
        const int a1 = std::min(g.dim0, a0 + side);
        std::vector<double> local(size_t(a1 - a0) * perA, 0.0);
        auto at = [&](int a, int b) {
            return local.data() + size_t((a - a0) * sh.repV + b % sh.repV) * size_t(g.dim2) * size_t(sh.stride)
                   + size_t(b / sh.repV);
        };
        if (!out)
            for (int a = a0; a < a1; ++a)
                for (int b = 0; b < g.dim1; ++b) {
                    const double* src = acc + (qint64(a) * g.dim1 + b) * g.dim2;
                    double* col = at(a, b);
                    for (int c = 0; c < g.dim2; ++c)
                        col[size_t(c) * size_t(sh.stride)] = src[c];
                }
        sumShifted(g, t, sh, a0, a1, local.data());
        if (!out) {
            for (int a = a0; a < a1; ++a)
                for (int b = 0; b < g.dim1; ++b) {
                    double* dst = acc + (qint64(a) * g.dim1 + b) * g.dim2;
                    const double* col = at(a, b);
                    for (int c = 0; c < g.dim2; ++c)
                        dst[c] = col[size_t(c) * size_t(sh.stride)];
                }
            return true;
        }
        EnvelopeBuffers buffers = *shared;
        std::vector<double> column(size_t(g.dim2));
        for (int a = a0; a < a1; ++a)
            for (int b = 0; b < g.dim1; ++b) {
                const double* col = at(a, b);
                for (int c = 0; c < g.dim2; ++c)
                    column[size_t(c)] = col[size_t(c) * size_t(sh.stride)];
                envelopeColumn(buffers, column.data(), g.dim2, out + (qint64(a) * g.dim1 + b) * g.dim2);
            }
        return true;
    };
    TaskProgress tp(pp, g.columns * g.rows, tasks);
    return Vantar::runTasks(tasks, task, tp);
}

// The fast paths: sums into acc (whole volume) or, with out, each tile summed in a buffer of
// its own and turned into its envelope at once, so that no whole-volume accumulator is needed.
bool runFast(const Geometry& g, const Signals& s, double* acc, qint16* out, const Vantar::ProgressFn& progress,
             bool bDirect)
{
    if (!g.isValid() || (!acc && !out) || qint64(s.size()) != qint64(g.columns) * g.rows)
        return false;
    PositionProgress pp(progress, g.columns * g.rows);
    if (!pp.reach(1))
        return false;
    try {
        Tables tables;
        const bool bTables = !bDirect && tables.build(g);
        const Tables* t = bTables ? &tables : nullptr;
        Shifted shifted;
        if (bTables && Shifted::applies(g) && shifted.build(g, s, tables)) {
            return runShifted(g, tables, shifted, acc, out, pp);
        }
        const Tiling tiling(g, out != nullptr);
        const int tasks = tiling.count();
        std::unique_ptr<EnvelopeBuffers> shared;
        if (out)
            shared = std::make_unique<EnvelopeBuffers>(g.dim2);
        auto task = [&](int index) {
            const Tiling::Tile tile = tiling.tile(g, index);
            if (!out) {
                sumTile(g, s, t, tile, [&](int a, int b) { return acc + (qint64(a) * g.dim1 + b) * g.dim2 + tile.c0; });
                return true;
            }
            const int width = tile.b1 - tile.b0;
            std::vector<double> local(size_t(tile.a1 - tile.a0) * size_t(width) * size_t(g.dim2), 0.0);
            auto column = [&](int a, int b) {
                return local.data() + (size_t(a - tile.a0) * size_t(width) + size_t(b - tile.b0)) * size_t(g.dim2);
            };
            sumTile(g, s, t, tile, column);
            EnvelopeBuffers buffers = *shared;
            for (int a = tile.a0; a < tile.a1; ++a)
                for (int b = tile.b0; b < tile.b1; ++b)
                    envelopeColumn(buffers, column(a, b), g.dim2, out + (qint64(a) * g.dim1 + b) * g.dim2);
            return true;
        };
        TaskProgress tp(pp, g.columns * g.rows, tasks);
        return Vantar::runTasks(tasks, task, tp);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace

bool Geometry::isValid() const
{
    return columns > 0 && rows > 0 && stepH > 0 && stepV > 0 && pitchX > 0 && pitchY > 0 && dim0 > 0 && dim1 > 0
           && dim2 > 0 && sampleCount > 0 && velocity > 0 && std::isfinite(velocity);
}

PositionProgress::PositionProgress(const Vantar::ProgressFn& progress, int positions)
    : m_progress(progress), m_positions(positions)
{
}

bool PositionProgress::reach(int k)
{
    for (int kk = m_reached + 1; kk <= k; ++kk) {
        m_reached = kk;
        const int percent = Vantar::roundedPercent(kk, m_positions);
        if (percent == m_lastPercent)
            continue;
        m_lastPercent = percent;
        if (m_progress && !m_progress(percent, 100))
            return false;
    }
    return true;
}

bool accumulateReference(const Geometry& g, const Signals& s, double* acc, const Vantar::ProgressFn& progress)
{
    if (!g.isValid() || !acc || qint64(s.size()) != qint64(g.columns) * g.rows)
        return false;
    PositionProgress pp(progress, g.columns * g.rows);
    int k = 0;
    for (int i = 1; i <= g.columns; ++i) {
        for (int j = 1; j <= g.rows; ++j) {
            if (!pp.reach(++k))
                return false;
            const qint16* sig = s[size_t(signalIndex(g, i, j))];
            if (!sig)
                continue;
            const double xs = (i - 0.5) * g.stepH;
            const double ys = (j - 0.5) * g.stepV;
            for (int a = 1; a <= g.dim0; ++a) {
                const double X = double(a) * g.pitchX;
                for (int b = 1; b <= g.dim1; ++b) {
                    const double Y = double(b) * g.pitchY;
                    double* col = acc + (qint64(a - 1) * g.dim1 + (b - 1)) * g.dim2;
                    for (int c = 1; c <= g.dim2; ++c) {
                        int n = 0;
                        double w2 = 0.0;
                        if (delayAndWeight(X - xs, Y - ys, c, g.velocity, g.sampleCount, n, w2))
                            col[c - 1] += sig[n - g.firstSample] * w2;
                    }
                }
            }
        }
    }
    return true;
}

bool accumulateFast(const Geometry& g, const Signals& s, double* acc, const Vantar::ProgressFn& progress)
{
    return runFast(g, s, acc, nullptr, progress, false);
}

bool accumulateDirect(const Geometry& g, const Signals& s, double* acc, const Vantar::ProgressFn& progress)
{
    return runFast(g, s, acc, nullptr, progress, true);
}

bool reconstructFast(const Geometry& g, const Signals& s, qint16* out, const Vantar::ProgressFn& progress)
{
    return runFast(g, s, nullptr, out, progress, false);
}

void sampleRange(const Geometry& g, int& first, int& end)
{
    first = 0;
    end = std::max(g.sampleCount, 0);
    if (!g.isValid())
        return;
    // The nearest and the farthest lateral offsets along each axis, in half millimetres.
    auto extremes = [](int positions, int dim, int pitch, int step, qint64& lo, qint64& hi) {
        lo = std::numeric_limits<qint64>::max();
        hi = 0;
        for (int i = 1; i <= positions; ++i) {
            // |offset| is convex in a: its smallest value lies where the cell meets the position.
            const qint64 centre = (2 * qint64(i) - 1) * step;
            const qint64 guess = std::clamp<qint64>(centre / (2 * qint64(pitch)), 1, dim);
            for (qint64 a : {qint64(1), qint64(dim), guess - 1, guess, guess + 1}) {
                if (a < 1 || a > dim)
                    continue;
                const qint64 v = std::abs(halfOffset(int(a), pitch, i, step));
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        }
    };
    qint64 loX = 0, hiX = 0, loY = 0, hiY = 0;
    extremes(g.columns, g.dim0, g.pitchX, g.stepH, loX, hiX);
    extremes(g.rows, g.dim1, g.pitchY, g.stepV, loY, hiY);
    auto sampleAt = [&](double lateral, double z) {
        const double R = std::sqrt(lateral + z * z);
        const double t = std::floor(2.0 * (R - kStandOff) / g.velocity * 10.0 + 0.5);
        return t + kSurfaceSample;
    };
    const double nearest = sampleAt((double(loX) * loX + double(loY) * loY) / 4.0, kStandOff + kLayerMm);
    const double farthest = sampleAt((double(hiX) * hiX + double(hiY) * hiY) / 4.0, kStandOff + kLayerMm * g.dim2);
    first = int(std::clamp(nearest - 1.0, 0.0, double(g.sampleCount)));
    end = int(std::clamp(farthest + 2.0, double(first), double(g.sampleCount)));
}

const char* vectorPath()
{
    return blockChoice().name;
}

void setVectorPath(int iPath)
{
    g_forcedPath.store(iPath);
}

void transformSize(int dim2, int& N, int& e)
{
    N = 2;
    e = 1;
    while (N < dim2) {
        N *= 2;
        ++e;
    }
}

void fft(double* re, double* im, int e, bool bInverse)
{
    if (!re || !im || e < 1 || e > 30)
        return;
    const size_t N = size_t(1) << e;
    std::vector<double> twRe(N), twIm(N);
    twiddles(e, bInverse, twRe.data(), twIm.data());
    butterflies(re, im, e, twRe.data(), twIm.data());
}

bool envelopeReference(const Geometry& g, const double* acc, qint16* out)
{
    if (!acc || !out || g.dim0 <= 0 || g.dim1 <= 0 || g.dim2 <= 0)
        return false;
    EnvelopeBuffers b(g.dim2);
    for (qint64 col = 0; col < qint64(g.dim0) * g.dim1; ++col)
        envelopeColumn(b, acc + col * g.dim2, g.dim2, out + col * g.dim2);
    return true;
}

} // namespace Saft
