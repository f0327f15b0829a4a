// Scan image frames: a 200 × 200 plane shown in a 1000 × 800 frame, fitted, at 8 and 64 pixels
// per point, still and while panning. The fast path resamples only the visible window row by
// row; the reference looks up every display pixel on its own. The headline is the worst
// milliseconds per frame of the fast path.

#include "map/mapviewgeometry.h"
#include "mapview/mappalette.h"
#include "mapview/scanimage.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kPoints = 200;
constexpr int kFrameW = 1000;
constexpr int kFrameH = 800;

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// A generated plane: a few reflector spots on a noisy background, as a C-scan of a map looks.
std::vector<qint16> makePlane()
{
    std::vector<qint16> s(size_t(kPoints) * kPoints);
    unsigned state = 12345u;
    for (int c = 0; c < kPoints; ++c) {
        for (int r = 0; r < kPoints; ++r) {
            state = state * 1664525u + 1013904223u;
            double v = 20.0 + (state >> 24) % 30;
            for (const auto& spot : {std::pair{50, 60}, std::pair{120, 140}, std::pair{170, 30}}) {
                const double d2 = double((c - spot.first) * (c - spot.first) + (r - spot.second) * (r - spot.second));
                v += 400.0 * std::exp(-d2 / 40.0);
            }
            s[size_t(c) * kPoints + size_t(r)] = qint16(std::min(v, 32767.0));
        }
    }
    return s;
}

// Straightforward reference: every display pixel looks up its point by itself.
QImage referenceWindow(const ScanImage& image)
{
    QImage out(image.frameWidth(), image.frameHeight(), QImage::Format_RGB16);
    const QImage& raw = image.rawImage();
    const QPoint off = image.offset();
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<quint16*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int tx = x + off.x(), ty = y + off.y();
            if (tx >= image.targetWidth() || ty >= image.targetHeight()) {
                line[x] = MapPalette::colours565()[0];
                continue;
            }
            const int c = MapViewGeometry::indexFromPixel(tx, image.targetWidth(), image.columns());
            const int r = MapViewGeometry::indexFromPixel(ty, image.targetHeight(), image.rows());
            line[x] = reinterpret_cast<const quint16*>(raw.constScanLine(r))[c];
        }
    }
    return out;
}

int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.width() * a.height() + 1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* pa = reinterpret_cast<const quint16*>(a.constScanLine(y));
        const auto* pb = reinterpret_cast<const quint16*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            n += pa[x] != pb[x];
    }
    return n;
}

struct Case
{
    const char* name;
    int target;   // pixels along each axis of the zoomed image
    bool panning; // move the window every frame
};

struct Outcome
{
    double fastMs = 0;
    double worstMs = 0;
    double referenceMs = 0;
    int maxDiff = 0;
};

Outcome run(const Case& c, const std::vector<qint16>& plane, int frames)
{
    ScanImage image;
    image.setData(plane.data(), kPoints, kPoints);
    image.setGeometry(kFrameW, kFrameH, c.target, c.target);
    const int maxX = std::max(0, c.target - kFrameW), maxY = std::max(0, c.target - kFrameH);
    Outcome o;
    double total = 0;
    for (int f = 0; f < frames; ++f) {
        // Panning moves by a drag's step; a still frame is asked again after a geometry update.
        const int ox = c.panning ? (f * 37) % (maxX + 1) : maxX / 2;
        const int oy = c.panning ? (f * 23) % (maxY + 1) : maxY / 2;
        const auto t0 = Clock::now();
        if (c.panning)
            image.setOffset(ox, oy);
        else
            image.setGeometry(kFrameW, kFrameH, c.target, c.target), image.setOffset(ox, oy);
        const QImage& shown = image.displayImage();
        const double ms = msSince(t0);
        total += ms;
        o.worstMs = std::max(o.worstMs, ms);
        if (f % 10 == 0) {
            const auto r0 = Clock::now();
            const QImage ref = referenceWindow(image);
            o.referenceMs += msSince(r0);
            o.maxDiff = std::max(o.maxDiff, differingPixels(shown, ref));
        }
    }
    o.fastMs = total / frames;
    o.referenceMs /= (frames + 9) / 10;
    return o;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv); // images only; no window is opened
    const std::vector<qint16> plane = makePlane();
    const Case cases[] = {
        {"fitted 800x800", 800, false},
        {"8 px/point", kPoints * 8, false},
        {"64 px/point", kPoints * 64, false},
        {"8 px/point panning", kPoints * 8, true},
        {"64 px/point panning", kPoints * 64, true},
    };
    const int frames = 200;
    double worst = 0;
    int maxDiff = 0;
    double slowestRatio = 1e9;
    for (const Case& c : cases) {
        const Outcome o = run(c, plane, frames);
        const double ratio = o.fastMs > 0 ? o.referenceMs / o.fastMs : 0;
        std::printf("%-22s fast %.3f ms/frame (worst %.3f)  reference %.3f ms  speedup %.1f  maxdiff %d\n", c.name,
                    o.fastMs, o.worstMs, o.referenceMs, ratio, o.maxDiff);
        worst = std::max(worst, o.fastMs);
        maxDiff = std::max(maxDiff, o.maxDiff);
        slowestRatio = std::min(slowestRatio, ratio);
    }

    // Colours are mapped again only on data, threshold or brightness changes.
    ScanImage image;
    image.setData(plane.data(), kPoints, kPoints);
    const auto t0 = Clock::now();
    for (int i = 0; i < frames; ++i)
        image.setThreshold(i % 50);
    std::printf("%-22s %.3f ms per change\n", "threshold 200x200", msSince(t0) / frames);

    std::printf("speedup=%.1f maxdiff=%d\n", slowestRatio, maxDiff);
    std::printf("ms_per_frame=%.3f\n", worst);
    return maxDiff == 0 ? 0 : 1;
}
