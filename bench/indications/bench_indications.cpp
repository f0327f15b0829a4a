// The indication finder on 200 × 200 × 100 volumes (the largest 100 × 100 maps give): a
// reconstruction-like volume of blobs over noise, noise alone searched deep, and a flat
// volume; the fast finder against the plain one that checks every kept indication in turn.

#include "map/indicationfinder.h"

#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kN0 = 200, kN1 = 200, kN2 = 100;

double seconds(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

std::vector<qint16> blobs(int count, double noise, unsigned seed)
{
    std::vector<qint16> v(size_t(kN0) * kN1 * kN2);
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<double> field(v.size(), 0.0);
    for (int b = 0; b < count; ++b) {
        const double ci = u(rng) * kN0, cj = u(rng) * kN1, ck = u(rng) * kN2, a = 2000 + 8000 * u(rng);
        const double w = 3 + 4 * u(rng), wk = 2 + 2 * u(rng);
        for (int i = std::max(0, int(ci - 4 * w)); i < std::min(kN0, int(ci + 4 * w)); ++i)
            for (int j = std::max(0, int(cj - 4 * w)); j < std::min(kN1, int(cj + 4 * w)); ++j)
                for (int k = std::max(0, int(ck - 4 * wk)); k < std::min(kN2, int(ck + 4 * wk)); ++k) {
                    const double r2 = ((i - ci) * (i - ci) + (j - cj) * (j - cj)) / (w * w) + (k - ck) * (k - ck) / (wk * wk);
                    field[(size_t(i) * kN1 + size_t(j)) * kN2 + size_t(k)] += a * std::exp(-r2 / 2);
                }
    }
    for (size_t n = 0; n < v.size(); ++n)
        v[n] = qint16(std::min(32767.0, std::round(field[n] + noise * u(rng))));
    return v;
}

// The plain finder: the same candidates, but each against every indication kept so far.
std::vector<MapIndication> plain(const MapVolumeView& v, const MapVoxelFrame& f, const IndicationFinderOptions& o)
{
    IndicationFinderOptions all = o;
    all.minDistanceX = all.minDistanceY = all.minDistanceZ = 0;
    all.maxCount = 1 << 30;
    const IndicationSearch every = IndicationFinder::find(v, f, all);
    std::vector<MapIndication> kept;
    const double d[3] = {o.minDistanceX, o.minDistanceY, o.minDistanceZ};
    for (const MapIndication& c : every.indications) {
        bool close = false;
        for (const MapIndication& k : kept) {
            const double delta[3] = {c.x - k.x, c.y - k.y, c.z - k.z};
            double sum = 0;
            for (int a = 0; a < 3; ++a)
                sum += std::abs(delta[a]) < 1e-9 ? 0.0 : d[a] <= 0 ? 2.0 : (delta[a] / d[a]) * (delta[a] / d[a]);
            if (sum < 1.0) {
                close = true;
                break;
            }
        }
        if (close)
            continue;
        if (int(kept.size()) == o.maxCount)
            break;
        kept.push_back(c);
        kept.back().number = int(kept.size());
    }
    return kept;
}

} // namespace

int main()
{
    MapVoxelFrame frame;
    struct Case
    {
        const char* name;
        std::vector<qint16> volume;
        double threshold;
        double contrast;
    };
    std::vector<Case> cases;
    cases.push_back({"40 blobs over noise, -6 dB", blobs(40, 300, 1), -6.0, 20.0});
    cases.push_back({"40 blobs over noise, -40 dB", blobs(40, 300, 1), -40.0, 0.0});
    cases.push_back({"noise alone, -40 dB", blobs(0, 3000, 2), -40.0, 0.0});
    cases.push_back({"flat", std::vector<qint16>(size_t(kN0) * kN1 * kN2, 100), -6.0, 0.0});
    double tFastAll = 0, tPlainAll = 0;
    int differences = 0;
    for (const Case& c : cases) {
        const MapVolumeView view{c.volume.data(), kN0, kN1, kN2};
        IndicationFinderOptions o = IndicationFinderOptions::forSteps(10, 10);
        o.thresholdDb = c.threshold;
        o.minContrastDb = c.contrast;
        auto t0 = std::chrono::steady_clock::now();
        const IndicationSearch fast = IndicationFinder::find(view, frame, o);
        const double tFast = seconds(t0);
        t0 = std::chrono::steady_clock::now();
        const std::vector<MapIndication> reference = plain(view, frame, o);
        const double tPlain = seconds(t0);
        const bool same = reference == fast.indications;
        differences += same ? 0 : 1;
        tFastAll += tFast;
        tPlainAll += tPlain;
        std::printf("%-28s %4zu indications%s: finder %.3f s, plain %.3f s%s\n", c.name, fast.indications.size(),
                    fast.truncated ? " (the strongest 1000)" : "", tFast, tPlain, same ? "" : "  DIFFERENT");
    }
    std::printf("speedup=%.1f maxdiff=%d\n", tPlainAll / tFastAll, differences);
    return differences ? 1 : 0;
}
