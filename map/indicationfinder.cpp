#include "map/indicationfinder.h"

#include "map/mapdata.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace {

// Level given to values with no level of their own (0 or below).
constexpr double kFloorDb = -200.0;

struct Candidate
{
    qint16 value;
    qint64 index;
};

// Calls f(a, b, e) for each of the up to 26 neighbours of (i, j, k) inside the volume; stops
// and returns true as soon as f does.
template<typename F>
bool anyNeighbour(const MapVolumeView& v, int i, int j, int k, F f)
{
    for (int a = std::max(0, i - 1); a <= std::min(v.dim0 - 1, i + 1); ++a)
        for (int b = std::max(0, j - 1); b <= std::min(v.dim1 - 1, j + 1); ++b)
            for (int e = std::max(0, k - 1); e <= std::min(v.dim2 - 1, k + 1); ++e)
                if ((a != i || b != j || e != k) && f(a, b, e))
                    return true;
    return false;
}

bool hasLargerNeighbour(const MapVolumeView& v, int i, int j, int k)
{
    const qint16 c = v.at(i, j, k);
    return anyNeighbour(v, i, j, k, [&](int a, int b, int e) { return v.at(a, b, e) > c; });
}

struct Cell
{
    int i, j, k;
};

// The flat top a peak belongs to: its cells of equal value connected to it. A top that some
// larger value borders is a shoulder, not a peak: no cell then. Otherwise the cell nearest the
// top's centre, so that a flat (clipped) top is placed in its middle, not at its first corner.
// Every cell of the top is marked in seen.
bool plateauCentre(const MapVolumeView& v, Cell c, std::vector<quint8>& seen, std::vector<Cell>& members, Cell& centre)
{
    const qint16 value = v.at(c.i, c.j, c.k);
    auto index = [&](int a, int b, int e) { return size_t((qint64(a) * v.dim1 + b) * v.dim2 + e); };
    members.assign(1, c);
    seen[index(c.i, c.j, c.k)] = 1;
    bool shoulder = false;
    double si = 0, sj = 0, sk = 0;
    for (size_t n = 0; n < members.size(); ++n) {
        const Cell m = members[n];
        si += m.i;
        sj += m.j;
        sk += m.k;
        anyNeighbour(v, m.i, m.j, m.k, [&](int a, int b, int e) {
            const qint16 w = v.at(a, b, e);
            if (w > value)
                shoulder = true;
            else if (w == value && !seen[index(a, b, e)]) {
                seen[index(a, b, e)] = 1;
                members.push_back({a, b, e});
            }
            return false;
        });
    }
    if (shoulder)
        return false;
    const double count = double(members.size());
    const double ci = si / count, cj = sj / count, ck = sk / count;
    // Of equally near cells the first in the volume's order.
    double best = -1;
    size_t bestIndex = 0;
    for (const Cell& m : members) {
        const double d = (m.i - ci) * (m.i - ci) + (m.j - cj) * (m.j - cj) + (m.k - ck) * (m.k - ck);
        const size_t at = index(m.i, m.j, m.k);
        if (best < 0 || d < best || (d == best && at < bestIndex)) {
            best = d;
            bestIndex = at;
            centre = m;
        }
    }
    return true;
}

// Where the values along one axis through the peak fall below half of it, in cells from the
// peak's cell (fractional, interpolated between the last cell at or above half and the first
// below); the volume's edge when they never do.
template<typename At>
double fallOff(At value, int from, int count, int step, double half)
{
    double last = value(from);
    for (int n = from + step; n >= 0 && n < count; n += step) {
        const double v = value(n);
        if (v < half) {
            const double t = (last - half) / (last - v);
            return std::abs(n - step - from) + t;
        }
        last = v;
    }
    // Up to the outer face of the last cell.
    return (step > 0 ? count - 1 - from : from) + 0.5;
}

double extent(double spacing, const auto& value, int from, int count, double half)
{
    return (fallOff(value, from, count, +1, half) + fallOff(value, from, count, -1, half)) * spacing;
}

} // namespace

IndicationFinderOptions IndicationFinderOptions::forSteps(int stepH, int stepV)
{
    IndicationFinderOptions o;
    o.minDistanceX = std::max(0, stepH);
    o.minDistanceY = std::max(0, stepV);
    return o;
}

double IndicationFinder::levelDb(int iValue, int iMaximum)
{
    if (iValue <= 0 || iMaximum <= 0)
        return kFloorDb;
    return std::max(kFloorDb, 20.0 * std::log10(double(iValue) / iMaximum));
}

MapVolumeView IndicationFinder::volumeOf(const MapData& data, EScanProcessing eVolume)
{
    const std::vector<qint16>& v = eVolume == RawView ? data.rawVolume() : data.processedVolume();
    MapVolumeView view;
    if (v.empty() || qint64(v.size()) != data.voxelCount())
        return view;
    view.values = v.data();
    view.dim0 = data.dim0();
    view.dim1 = data.dim1();
    view.dim2 = data.dim2();
    return view;
}

MapIndication IndicationFinder::measure(const MapVolumeView& v, const MapVoxelFrame& frame, int i, int j, int k,
                                        int iMaximum)
{
    MapIndication ind;
    if (v.isEmpty() || i < 0 || j < 0 || k < 0 || i >= v.dim0 || j >= v.dim1 || k >= v.dim2)
        return ind;
    ind.x = frame.centreX(i);
    ind.y = frame.centreY(j);
    ind.z = frame.centreZ(k);
    ind.amplitude = v.at(i, j, k);
    ind.db = levelDb(ind.amplitude, iMaximum);
    if (ind.amplitude > 0) {
        const double half = ind.amplitude / 2.0;
        ind.sizeX = extent(frame.spacing[0], [&](int n) { return double(v.at(n, j, k)); }, i, v.dim0, half);
        ind.sizeY = extent(frame.spacing[1], [&](int n) { return double(v.at(i, n, k)); }, j, v.dim1, half);
        ind.sizeZ = extent(frame.spacing[2], [&](int n) { return double(v.at(i, j, n)); }, k, v.dim2, half);
    }
    return ind;
}

bool IndicationFinder::strongestCell(const MapVolumeView& v, int i0, int i1, int j0, int j1, int k0, int k1, int& i,
                                     int& j, int& k)
{
    if (v.isEmpty())
        return false;
    i0 = std::max(i0, 0);
    j0 = std::max(j0, 0);
    k0 = std::max(k0, 0);
    i1 = std::min(i1, v.dim0 - 1);
    j1 = std::min(j1, v.dim1 - 1);
    k1 = std::min(k1, v.dim2 - 1);
    if (i0 > i1 || j0 > j1 || k0 > k1)
        return false;
    int best = std::numeric_limits<int>::min();
    for (int a = i0; a <= i1; ++a)
        for (int b = j0; b <= j1; ++b)
            for (int e = k0; e <= k1; ++e)
                if (v.at(a, b, e) > best) {
                    best = v.at(a, b, e);
                    i = a;
                    j = b;
                    k = e;
                }
    return true;
}

int IndicationFinder::median(const MapVolumeView& v)
{
    if (v.isEmpty())
        return 0;
    // A histogram of the 16-bit values: one pass, no copy of the volume.
    std::vector<qint64> counts(65536, 0);
    const qint64 count = qint64(v.dim0) * v.dim1 * v.dim2;
    for (qint64 n = 0; n < count; ++n)
        ++counts[size_t(int(v.values[n]) + 32768)];
    const qint64 middle = (count - 1) / 2;
    qint64 seen = 0;
    for (int b = 0; b < 65536; ++b) {
        seen += counts[size_t(b)];
        if (seen > middle)
            return b - 32768;
    }
    return 0;
}

IndicationSearch IndicationFinder::find(const MapData& data, EScanProcessing eVolume, const MapVoxelFrame& frame,
                                        const IndicationFinderOptions& options)
{
    return find(volumeOf(data, eVolume), frame, options);
}

IndicationSearch IndicationFinder::find(const MapVolumeView& v, const MapVoxelFrame& frame,
                                        const IndicationFinderOptions& options)
{
    // The search needs two bytes per cell besides its lists; without them it finds nothing
    // rather than taking the program down.
    try {
        return search(v, frame, options);
    } catch (const std::bad_alloc&) {
        IndicationSearch failed;
        failed.outOfMemory = true;
        return failed;
    }
}

IndicationSearch IndicationFinder::search(const MapVolumeView& v, const MapVoxelFrame& frame,
                                          const IndicationFinderOptions& options)
{
    IndicationSearch result;
    if (v.isEmpty() || options.maxCount <= 0 || !(options.thresholdDb <= 0.0))
        return result;
    const qint64 count = qint64(v.dim0) * v.dim1 * v.dim2;
    const qint16 maximum = *std::max_element(v.values, v.values + count);
    result.volumeMaximum = maximum;
    if (maximum <= 0)
        return result;
    // The smallest whole value at or above the threshold and the contrast, never below 1.
    result.background = median(v);
    const double limit = std::max(maximum * std::pow(10.0, options.thresholdDb / 20.0),
                                  result.background * std::pow(10.0, std::max(0.0, options.minContrastDb) / 20.0));
    const int threshold = std::max(1, int(std::ceil(limit - 1e-9)));

    std::vector<Candidate> candidates;
    for (int i = 0; i < v.dim0; ++i)
        for (int j = 0; j < v.dim1; ++j) {
            const qint64 base = (qint64(i) * v.dim1 + j) * v.dim2;
            const qint16* column = v.values + base;
            for (int k = 0; k < v.dim2; ++k)
                if (column[k] >= threshold && !hasLargerNeighbour(v, i, j, k))
                    candidates.push_back({column[k], base + k});
        }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.value != b.value ? a.value > b.value : a.index < b.index;
    });

    // Cells within the minimum distances of a kept indication, as a mask: each candidate is
    // then checked in one step, however many were kept.
    std::vector<quint8> taken;
    const double d[3] = {std::max(0.0, options.minDistanceX), std::max(0.0, options.minDistanceY),
                         std::max(0.0, options.minDistanceZ)};
    const int dims[3] = {v.dim0, v.dim1, v.dim2};
    int reach[3];
    for (int a = 0; a < 3; ++a) {
        const double cells = frame.spacing[a] > 0 ? std::ceil(d[a] / frame.spacing[a]) : 0.0;
        reach[a] = int(std::min(cells, double(dims[a])));
    }
    // Squared distance in units of the minimum distances; an axis with distance 0 only
    // counts the same cell as near.
    auto term = [&](int a, int cells) {
        if (cells == 0)
            return 0.0;
        if (d[a] <= 0)
            return 2.0;
        const double t = cells * frame.spacing[a] / d[a];
        return t * t;
    };
    const bool bSeparate = reach[0] + reach[1] + reach[2] > 0;
    if (bSeparate)
        taken.assign(size_t(count), 0);
    std::vector<quint8> seen(size_t(count), 0);
    std::vector<Cell> members;

    for (const Candidate& c : candidates) {
        if (seen[size_t(c.index)])
            continue;
        Cell peak{int(c.index / (qint64(v.dim2) * v.dim1)), int((c.index / v.dim2) % v.dim1), int(c.index % v.dim2)};
        if (!plateauCentre(v, peak, seen, members, peak))
            continue;
        const int i = peak.i, j = peak.j, k = peak.k;
        if (bSeparate && taken[size_t((qint64(i) * v.dim1 + j) * v.dim2 + k)])
            continue;
        if (int(result.indications.size()) == options.maxCount) {
            result.truncated = true;
            break;
        }
        MapIndication ind = measure(v, frame, i, j, k, maximum);
        ind.number = int(result.indications.size()) + 1;
        result.indications.push_back(ind);
        if (!bSeparate)
            continue;
        for (int di = -reach[0]; di <= reach[0]; ++di) {
            const int a = i + di;
            const double tx = term(0, di);
            if (a < 0 || a >= v.dim0 || tx >= 1.0)
                continue;
            for (int dj = -reach[1]; dj <= reach[1]; ++dj) {
                const int b = j + dj;
                const double txy = tx + term(1, dj);
                if (b < 0 || b >= v.dim1 || txy >= 1.0)
                    continue;
                quint8* column = taken.data() + (qint64(a) * v.dim1 + b) * v.dim2;
                for (int dk = -reach[2]; dk <= reach[2]; ++dk) {
                    const int e = k + dk;
                    if (e >= 0 && e < v.dim2 && txy + term(2, dk) < 1.0)
                        column[e] = 1;
                }
            }
        }
    }
    return result;
}
