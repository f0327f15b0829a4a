#include "map/mapgenerator.h"

#include "map/depthconversion.h"
#include "map/mapconfig.h"
#include "map/maplimits.h"
#include "map/mapopener.h"
#include "map/mapviewstatefile.h"
#include "map/mapvolumegrid.h"
#include "map/parallel.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Gaussian-windowed sine burst centred on sample centre, added into x.
void addBurst(std::vector<double>& x, double centre, double amplitude, double period, double width)
{
    const int from = std::max(0, int(std::floor(centre - 5 * width)));
    const int to = std::min(int(x.size()), int(std::ceil(centre + 5 * width)) + 1);
    for (int n = from; n < to; ++n) {
        const double t = n - centre;
        x[size_t(n)] += amplitude * std::exp(-t * t / (2 * width * width)) * std::sin(kTwoPi * t / period);
    }
}

// Draws that read the same on every platform: mt19937's outputs are fixed by the standard,
// the library's distributions are not.
class Draw
{
public:
    explicit Draw(quint32 seed) : m_rng(seed) {}
    double uniform() { return (double(m_rng()) + 0.5) / 4294967296.0; }
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    double gauss()
    {
        const double u1 = uniform();
        const double u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(kTwoPi * u2);
    }

private:
    std::mt19937 m_rng;
};

// Loss over a travel path (down and back) of travelMm: dB per metre at 50 kHz, in proportion
// to the frequency.
double attenuationFactor(const MapGeneratorOptions& o, double travelMm)
{
    if (o.attenuation <= 0.0)
        return 1.0;
    const double dB = o.attenuation * (o.frequency / 50.0) * std::max(travelMm, 0.0) / 1000.0;
    return std::pow(10.0, -dB / 20.0);
}

struct Scatterer
{
    double x, y, depth, amplitude;
};

// The backscattering grains of the material: the same field for every position, from the seed,
// in a box 100 mm wider than the map on each side, from 10 mm down to the back wall (or to 1.2
// times the time base's depth when there is none).
std::vector<Scatterer> scattererField(const MapGeneratorOptions& o)
{
    std::vector<Scatterer> field;
    if (o.scatterers <= 0.0 || o.scatterAmplitude <= 0.0)
        return field;
    const double margin = 100.0;
    const double x0 = -margin, x1 = o.columns * o.stepH + margin;
    const double y0 = -margin, y1 = o.rows * o.stepV + margin;
    const double z0 = 10.0, z1 = std::max(z0, o.backWall > 0.0 ? o.backWall : 1.2 * o.depth);
    const double litres = (x1 - x0) * (y1 - y0) * (z1 - z0) / 1e6;
    const auto count = size_t(std::min(o.scatterers * litres, 2e5));
    Draw draw(o.seed * 2246822519u + 0x5CA77E12u);
    field.reserve(count);
    for (size_t n = 0; n < count; ++n) {
        Scatterer s;
        s.x = draw.uniform(x0, x1);
        s.y = draw.uniform(y0, y1);
        s.depth = draw.uniform(z0, z1);
        s.amplitude = o.scatterAmplitude * draw.gauss();
        field.push_back(s);
    }
    return field;
}

bool contains(const std::vector<std::pair<int, int>>& list, int i, int j)
{
    return std::find(list.begin(), list.end(), std::make_pair(i, j)) != list.end();
}

QByteArray littleEndian(const std::vector<qint16>& s)
{
    QByteArray b(qsizetype(s.size()) * 2, '\0');
    for (size_t n = 0; n < s.size(); ++n) {
        const quint16 u = quint16(s[n]);
        b[qsizetype(2 * n)] = char(u & 0xFF);
        b[qsizetype(2 * n + 1)] = char(u >> 8);
    }
    return b;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    // Plain writes: hundreds of signal files per map, a synced save for each would be slow.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()
        || !file.flush()) {
        if (error)
            *error = MapGenerator::tr("Couldn't write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

// Adds to the clean signal x of position (i, j) what the material and the coupling give:
// backscatter, the back wall, and the position's coupling gain on all of it.
void addMaterial(const MapGeneratorOptions& o, int i, int j, std::vector<double>& x)
{
    const int n = int(x.size());
    const double period = 1000.0 * MapGenerator::kSamplesPerMicrosecond / std::max(o.frequency, 1);
    const double width = 0.5 * period;
    const double xs = (i - 0.5) * o.stepH, ys = (j - 0.5) * o.stepV;

    // Backscatter: one burst per grain, cut at 3 widths (the rest is below a hundredth) and
    // added from a table, since there are thousands; grains more than 45 degrees off the probe's
    // axis are outside its beam.
    const std::vector<Scatterer> field = scattererField(o);
    if (!field.empty()) {
        const int half = int(std::ceil(3.0 * width));
        std::vector<double> shape(size_t(2 * half + 1));
        for (int t = -half; t <= half; ++t)
            shape[size_t(t + half)] = std::exp(-double(t) * t / (2 * width * width)) * std::sin(kTwoPi * t / period);
        for (const Scatterer& g : field) {
            const double z = MapGenerator::kStandOff + g.depth;
            const double R = std::sqrt((g.x - xs) * (g.x - xs) + (g.y - ys) * (g.y - ys) + z * z);
            if (z / R < 0.7071067811865476)
                continue;
            const int at = MapGenerator::echoSample(o, MapReflector{g.x, g.y, g.depth, 1.0}, i, j);
            if (at - half < 0 || at + half >= n)
                continue;
            double a = o.echoAmplitude * g.amplitude * attenuationFactor(o, 2.0 * (R - MapGenerator::kStandOff));
            if (o.amplitudeFalloff)
                a *= z / R;
            double* out = x.data() + (at - half);
            for (size_t k = 0; k < shape.size(); ++k)
                out[k] += a * shape[k];
        }
    }

    // The back wall answers straight below every position, followed by its multiples (the
    // wave bouncing between the faces), each losing half at the surface and the way's
    // attenuation.
    if (o.backWall > 0.0 && o.backWallAmplitude > 0.0) {
        double a = o.echoAmplitude * o.backWallAmplitude;
        const double samplesPerMm = 2.0 / (o.velocity / 1000.0) * MapGenerator::kSamplesPerMicrosecond;
        for (int bounce = 1; bounce <= 3; ++bounce, a *= -0.5) {
            const double depth = bounce * o.backWall;
            const int at = int(std::floor(depth * samplesPerMm + 0.5)) + MapGenerator::kSurfaceSample;
            if (at >= n)
                break;
            addBurst(x, at, a * attenuationFactor(o, 2.0 * depth), period, width);
        }
    }

    // Coupling: the probe sits a little better or worse at each position; everything that
    // came through the surface is scaled, the electronics' noise added later is not.
    if (o.coupling > 0.0) {
        Draw draw(o.seed * 2654435761u + quint32(j) * 69069u + quint32(i) * 1103515245u + 0xC0u);
        const double gain = std::pow(10.0, o.coupling * draw.gauss() / 20.0);
        for (double& v : x)
            v *= gain;
    }
}

} // namespace

MapGeneratorOptions MapGenerator::realistic(MapGeneratorOptions o)
{
    // Levels as an instrument set up for concrete records them: the direct wave near full
    // scale, a point reflector some 45 dB below it, the back wall (a whole face) far above a
    // point, and the electronics' noise at a sample or two.
    o.surfaceAmplitude = 20000.0;
    o.echoAmplitude = 120.0;
    o.noise = 1.5;
    o.attenuation = 10.0;
    o.scatterers = 20.0;
    o.scatterAmplitude = 0.05;
    o.backWall = 1.2 * o.depth;
    o.backWallAmplitude = 40.0;
    o.coupling = 1.5;
    return o;
}

int MapGenerator::windowEnd(const MapGeneratorOptions& o)
{
    // Reflection: the time base spans the way down and back at 10 samples per µs.
    const double samples = 2.0 * o.depth / (o.velocity / 1000.0) * kSamplesPerMicrosecond;
    if (!(samples > 640))
        return 640;
    return int(std::min(std::ceil(samples), double(Vantar::kMapSampleCount)));
}

int MapGenerator::echoSample(const MapGeneratorOptions& o, const MapReflector& r, int i, int j)
{
    const double xs = (i - 0.5) * o.stepH;
    const double ys = (j - 0.5) * o.stepV;
    const double z = kStandOff + r.depth;
    const double R = std::sqrt((r.x - xs) * (r.x - xs) + (r.y - ys) * (r.y - ys) + z * z);
    const double v = o.velocity / 1000.0;
    return int(std::floor(2.0 * (R - kStandOff) / v * kSamplesPerMicrosecond + 0.5)) + kSurfaceSample;
}

QByteArray MapGenerator::configuration(const MapGeneratorOptions& o)
{
    MapConfig c;
    c.newFormat = o.newFormat;
    c.versionMajor = 3;
    c.versionMinor = o.newFormat ? 4 : 3;
    c.title = o.title;
    c.mapName = o.mapName;
    c.stepH = o.stepH;
    c.stepV = o.stepV;
    c.sizeH = o.columns;
    c.sizeV = o.rows;
    ConfigSettings& s = c.settings;
    s.iSamplesPer10us = 10 * kSamplesPerMicrosecond;
    s.iFrequency = o.frequency;
    s.iVelocity = qint16(std::clamp(o.velocity, 500, 15000));
    s.eTestingMethod = ConfigSettings::Reflection;
    s.iInputFilter = 1; // off: the map is read with the full bandwidth
    s.iWindowStart = 0;
    s.iWindowEnd = windowEnd(o);
    s.fBaseVelocity = float(o.velocity);
    return c.encode();
}

std::vector<qint16> MapGenerator::signal(const MapGeneratorOptions& o, int i, int j)
{
    const int n = Vantar::kMapSampleCount;
    std::vector<double> x(static_cast<size_t>(n), 0.0);
    const double period = 1000.0 * kSamplesPerMicrosecond / std::max(o.frequency, 1); // samples per cycle
    const double width = 0.5 * period;

    // Near-surface signal: the entry echo and its ringing, the same at every position; it
    // dies out within about 3.5 periods of the surface.
    addBurst(x, kSurfaceSample + 0.5 * period, o.surfaceAmplitude, period, width);
    addBurst(x, kSurfaceSample + 2.0 * period, -0.3 * o.surfaceAmplitude, period, width);

    for (const MapReflector& r : o.reflectors) {
        const int at = echoSample(o, r, i, j);
        if (at < 0 || at >= n)
            continue;
        const double xs = (i - 0.5) * o.stepH, ys = (j - 0.5) * o.stepV, z = kStandOff + r.depth;
        const double R = std::sqrt((r.x - xs) * (r.x - xs) + (r.y - ys) * (r.y - ys) + z * z);
        double a = o.echoAmplitude * r.amplitude;
        if (o.amplitudeFalloff)
            a *= z / R;
        a *= attenuationFactor(o, 2.0 * (R - kStandOff));
        addBurst(x, at, a, period, width);
    }
    addMaterial(o, i, j, x);

    // Noise of its own per position, reproducible from the seed.
    std::mt19937 rng(o.seed * 2654435761u + quint32(j) * 40503u + quint32(i));
    std::normal_distribution<double> noise(0.0, std::max(o.noise, 0.0));
    std::vector<qint16> s(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        const double v = x[size_t(k)] + (o.noise > 0 ? noise(rng) : 0.0);
        s[size_t(k)] = qint16(std::clamp(std::floor(v + 0.5), -32768.0, 32767.0));
    }
    return s;
}

bool MapGenerator::write(const QString& folder, const MapGeneratorOptions& o, QString* error, QStringList* written)
{
    if (o.columns < 1 || o.rows < 1 || o.columns > Vantar::kMaxPositionIndex || o.rows > Vantar::kMaxPositionIndex) {
        if (error)
            *error = tr("The map needs 1 … %1 columns and rows.").arg(Vantar::kMaxPositionIndex);
        return false;
    }
    if (o.stepH < 1 || o.stepV < 1 || o.stepH > 0xFFFF || o.stepV > 0xFFFF) {
        if (error)
            *error = tr("The probe steps must be 1 … 65535 mm.");
        return false;
    }
    if (o.velocity < 500 || o.velocity > 15000 || o.frequency < 1 || o.frequency > 255) {
        if (error)
            *error = tr("The velocity must be 500 … 15000 m/s and the frequency 1 … 255 kHz.");
        return false;
    }
    if (o.name.isEmpty() || o.name.contains(u'/')) {
        if (error)
            *error = tr("The map's file name \"%1\" cannot be used.").arg(o.name);
        return false;
    }
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = tr("Couldn't make the folder \"%1\".").arg(folder);
        return false;
    }
    const QString base = folder + u'/';
    auto put = [&](const QString& path, const QByteArray& bytes) {
        if (!writeFile(path, bytes, error))
            return false;
        if (written)
            written->append(path);
        return true;
    };
    if (!put(base + o.name + QStringLiteral(".cfg"), configuration(o)))
        return false;
    // Never read by the program; only copied with the map.
    if (!put(base + o.name + QStringLiteral(".lbv"), QByteArray("generated map\n")))
        return false;
    // The signals of a row are made on all cores (realistic ones take a few ms each), then
    // written in order.
    std::vector<QByteArray> row(size_t(o.columns));
    for (int j = 1; j <= o.rows; ++j) {
        Vantar::runTasks(o.columns, [&](int k) {
            row[size_t(k)] = contains(o.missing, k + 1, j) ? QByteArray() : littleEndian(signal(o, k + 1, j));
            return true;
        });
        for (int i = 1; i <= o.columns; ++i) {
            if (contains(o.missing, i, j))
                continue;
            QByteArray& bytes = row[size_t(i - 1)];
            if (contains(o.truncated, i, j))
                bytes.chop(1);
            if (!put(base + QStringLiteral("%1_%2.raw").arg(i).arg(j), bytes))
                return false;
        }
    }
    return true;
}

bool MapGenerator::writeViewState(const QString& folder, const MapGeneratorOptions& o, const MapReflector& at,
                                  bool bLimits, QString* error)
{
    MapConfig config;
    if (!MapConfig::read(QDir(folder).filePath(o.name + QStringLiteral(".cfg")), config, error))
        return false;
    const ConfigSettings& s = config.settings;
    const double start = sampleToDepth(s, s.iWindowStart);
    const double range = sampleToDepth(s, s.iWindowEnd - s.iWindowStart);
    const SAFTsettings saft = MapOpener::derivedSettings(s, start, range, SAFTsettings());
    const MapVolumeGrid g = MapVolumeGrid::compute(o.columns, o.rows, config.stepH, config.stepV, saft.depth / 1000.0);
    // SAFT voxel a lies at (a + 1) pitches across and layer k at 5 (k + 1) mm down.
    auto index = [](double mm, int pitch, int dim) {
        return std::clamp(int(std::floor(mm / pitch + 0.5)) - 1, 0, std::max(0, dim - 1));
    };
    MapViewState state;
    state.limitsMode = bLimits;
    state.sliceX = index(at.x, g.pitchX, g.dim0);
    state.sliceY = index(at.y, g.pitchY, g.dim1);
    state.sliceZ = index(at.depth, MapVolumeGrid::kCellMm, g.dim2);
    state.ranges.viewingMode = ProcessedView;
    state.ranges.dim0 = g.dim0;
    state.ranges.dim1 = g.dim1;
    state.ranges.dim2 = g.dim2;
    state.ranges.range0 = {0, g.dim0 - 1};
    state.ranges.range1 = {0, g.dim1 - 1};
    state.ranges.range2 = {0, g.dim2 - 1};
    if (!state.isValid()) {
        if (error)
            *error = tr("The map is too small for a viewing state.");
        return false;
    }
    return writeViewSettingsFile(QDir(folder).filePath(QStringLiteral("usr_map.set")), saft, state, error);
}

