#include "ascan/ascangenerator.h"

#include "app/constants.h"
#include "ascan/ascanfile.h"
#include "ascan/instrumentblock.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kAdcLimit = 511; // the instrument's converter gives ±511

// splitmix64: small, fast and the same on every platform, unlike the std distributions.
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int pick(int lo, int hi) { return lo + int(next() % quint64(hi - lo + 1)); }
    bool chance(double p) { return uniform() < p; }
    double gauss()
    {
        const double u1 = std::max(uniform(), 1e-300);
        const double u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
    }
    template <typename T, size_t N> const T& of(const T (&items)[N]) { return items[next() % N]; }

private:
    quint64 m_state;
};

const char* const kObjects[] = {"Slab A", "Column C", "Wall W2", "Beam B", "Pier 4",
                                "Стена 3", "Плита П1", "Foundation F", "Tunnel lining"};
const char* const kSetups[] = {"Concrete 50 kHz", "", "Бетон М300", "Rock core",
                               "Thick wall", "", "Масса 2"};

double roundTo(double v, double step)
{
    return std::round(v / step) * step;
}

// One tone burst of the probe's frequency, its envelope rising over the pulse length.
double burst(double tau, double periodUs, double pulseUs)
{
    if (tau < 0.0)
        return 0.0;
    const double rise = std::max(pulseUs * 0.5, periodUs * 0.5);
    const double envelope = (tau / rise) * std::exp(1.0 - tau / rise);
    return envelope * std::sin(2.0 * std::numbers::pi * tau / periodUs);
}

// The trace as the screen shows it: per column the extreme of its samples.
QList<double> screenColumns(const GeneratedAScan& a, int columns, bool oneSided)
{
    const ConfigSettings& s = a.settings;
    const int first = qBound(0, s.iWindowStart, ConfigSettings::kSampleCount - 1);
    const int last = qBound(first, s.iWindowEnd, ConfigSettings::kSampleCount - 1);
    QList<double> out(columns * 2, 0.0);
    const double perColumn = double(last - first + 1) / columns;
    for (int c = 0; c < columns; ++c) {
        const int from = first + int(c * perColumn);
        const int to = std::max(from + 1, first + int((c + 1) * perColumn));
        double lo = 0.0, hi = 0.0;
        for (int i = from; i < to && i <= last; ++i) {
            const double v = oneSided ? std::abs(a.samples[i]) : a.samples[i];
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        out[2 * c] = lo;
        out[2 * c + 1] = hi;
    }
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* pError)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()
        && file.size() == bytes.size() && file.commit())
        return true;
    if (pError)
        *pError = QCoreApplication::translate("AScanGenerator", "Couldn't write file \"%1\"!").arg(path);
    return false;
}

} // namespace

QList<qint16> synthesizeAScanSignal(const ConfigSettings& s, const QList<double>& echoTimes,
                                    const QList<double>& amplitudes, double nearSurface,
                                    quint64 noiseSeed, double noiseScale)
{
    Random random(noiseSeed);
    const double samplesPerUs = std::max(1, int(s.iSamplesPer10us)) / 10.0;
    const double periodUs = 1000.0 / std::max(1, s.iFrequency);
    const double pulseUs = std::max(1, int(s.iPeriodHalves)) * periodUs / 2.0;
    const double noise = (1.5 + 2.5 * random.uniform()) * noiseScale;

    QList<qint16> samples(ConfigSettings::kSampleCount);
    for (int i = 0; i < samples.size(); ++i) {
        const double t = i / samplesPerUs;
        double v = nearSurface * burst(t - s.dDelay, periodUs, pulseUs) * std::exp(-t / (8.0 * periodUs));
        for (qsizetype k = 0; k < echoTimes.size(); ++k) {
            const double tau = t - echoTimes[k];
            if (tau > -1.0 && tau < 40.0 * periodUs)
                v += amplitudes.value(k) * burst(tau, periodUs, pulseUs) * std::exp(-tau / (3.0 * periodUs));
        }
        v += noise * random.gauss();
        samples[i] = qint16(std::clamp(std::lround(v), long(-kAdcLimit), long(kAdcLimit)));
    }
    return samples;
}

void measureAScan(ConfigSettings& s, const QList<qint16>& samples)
{
    const int first = qBound(0, s.timeToSample(s.fStrobeStart), int(samples.size()));
    const int last = qBound(first, s.timeToSample(s.fStrobeEnd), int(samples.size()));
    const bool oneSided = s.eSignalType != ConfigSettings::SignalRadio;
    const int level = s.iStrobeLevel;
    auto passes = [&](int v) {
        if (oneSided)
            return std::abs(v) > std::abs(level);
        return level >= 0 ? v > level : v < level;
    };
    int peak = -1, front = -1;
    for (int i = first; i < last; ++i) {
        const int v = samples[i];
        if (!passes(v))
            continue;
        if (front < 0)
            front = i;
        if (peak < 0) {
            peak = i;
            continue;
        }
        const int best = samples[peak];
        const bool better = oneSided ? std::abs(v) > std::abs(best) : (level >= 0 ? v > best : v < best);
        if (better)
            peak = i;
    }
    const int measured = s.eResponseType == ConfigSettings::ResponsePeak ? peak : front;
    s.bMeasured = measured >= 0;
    s.fMeasuredTime = measured >= 0 ? float(s.sampleToTime(measured)) : 0.0f;
    s.fPeakTime = peak >= 0 ? float(s.sampleToTime(peak)) : 0.0f;
    s.iPeakAmplitude = peak >= 0 ? samples[peak] : qint16(0);
    if (s.bMeasured && s.iBaseMode == 1)
        s.setBaseVelocityFromTime(s.fMeasuredTime);
}

GeneratedAScan generateAScan(int number, quint32 seed, const AScanMaterial& material)
{
    Random random((quint64(seed) << 32) ^ quint64(quint32(number)) * 0x2545F4914F6CDD1Dull);
    GeneratedAScan a;
    a.number = number;
    a.name = QStringLiteral("%1-%2").arg(QString::fromUtf8(random.of(kObjects))).arg(number);
    a.setupName = QString::fromUtf8(random.of(kSetups));
    // Every fifth A-scan comes from the older firmware that stores no base velocity.
    a.versionMinor = number % 5 == 0 ? 3 : 4;

    ConfigSettings& s = a.settings;
    static const int frequencies[] = {25, 40, 50, 50, 60, 70, 100};
    static const int rates[] = {100, 100, 50, 20};
    s.iFrequency = random.of(frequencies);
    s.iSamplesPer10us = qint16(random.of(rates));
    s.eProbeType = random.chance(0.7) ? ConfigSettings::ProbeDouble : ConfigSettings::ProbeSingle;
    s.iPeriodHalves = qint16(random.pick(1, 6));
    s.dDelay = random.chance(0.2) ? roundTo(random.uniform(0.5, 5.0), 0.1) : 0.0;
    s.iGain = qint16(random.pick(24, 66));
    s.ePulseVoltage = ConfigSettings::EPulseVoltage(random.pick(0, 2));
    s.iRepetitionRate = random.pick(5, 45);
    s.iInputFilter = random.chance(0.75) ? 0 : 1;
    s.eTestingMethod = random.chance(0.85) ? ConfigSettings::Reflection : ConfigSettings::Transmission;
    s.eSignalType = ConfigSettings::ESignalType(random.pick(0, 2));
    s.bAveraging = random.chance(0.3);
    s.iAveraging = qint16(s.bAveraging ? 1 << random.pick(1, 5) : 1);
    s.eResponseType = random.chance(0.6) ? ConfigSettings::ResponsePeak : ConfigSettings::ResponseFront;
    s.iVelocity = qint16(10 * random.pick(200, 480));
    s.eScaleUnits = random.chance(0.7) ? ConfigSettings::UnitsMm : ConfigSettings::UnitsUs;
    s.eDiscreteness = random.chance(0.5) ? ConfigSettings::Discreteness1 : ConfigSettings::Discreteness01;
    s.iCursor = random.chance(0.9) ? 1 : 0;

    // One reflector (a back wall or a flaw) and now and then a second one before it.
    const double velocityMmPerUs = s.iVelocity / 1000.0;
    // Far enough for the echo to come after the probe's ring-down.
    const double periodUs = 1000.0 / s.iFrequency;
    const double travel = s.eTestingMethod == ConfigSettings::Reflection ? 2.0 : 1.0;
    const double nearest = 12.0 * periodUs * velocityMmPerUs / travel;
    const double depth = roundTo(std::max(nearest, random.uniform(80.0, 900.0)), 5.0);
    const double path = travel * depth;
    const double echo = s.dDelay + path / velocityMmPerUs;
    a.echoTimes = {echo};
    // Amplitudes as the converter sees them: the operator set the gain so the echo shows well.
    QList<double> amplitudes = {random.uniform(150.0, 460.0)};
    if (random.chance(0.45)) {
        a.echoTimes.append(s.dDelay + random.uniform(0.3, 0.75) * (echo - s.dDelay));
        amplitudes.append(amplitudes.first() * random.uniform(0.25, 0.7));
    }
    // The probe rings down near the surface; twin probes see much less of it.
    const double nearSurface = amplitudes.first()
        * (s.eProbeType == ConfigSettings::ProbeDouble ? random.uniform(0.2, 0.6) : random.uniform(0.6, 1.4));

    // Time base: the echo in the middle half of the screen, in whole tens of µs.
    const double endTime = std::min(4000.0, roundTo(echo * random.uniform(1.5, 2.4), 10.0) + 10.0);
    s.setWindowEndTime(endTime);
    s.iWindowEnd = std::max(s.iWindowEnd, 640);
    s.iWindowStart = 0;

    s.iStrobe = 1;
    s.fStrobeStart = float(roundTo(std::max(0.0, echo - 1.5 * periodUs), 0.01));
    s.fStrobeEnd = float(roundTo(echo + 4.0 * periodUs, 0.01));
    s.iLoupe = random.chance(0.15) ? 1 : 0;

    if (random.chance(0.25)) {
        s.iBaseMode = 1;
        s.dBase = depth;
    }
    if (random.chance(0.35)) {
        s.tvg.iOn = 1;
        s.tvg.iCount = random.pick(3, 6);
        int position = 0;
        const int span = std::max(1, s.iWindowEnd / s.tvg.iCount);
        for (int i = 0; i < s.tvg.iCount; ++i) {
            position = std::min(ConfigSettings::kSampleCount, position + random.pick(span / 2, span));
            s.tvg.points[i] = {position, std::min(30, 2 + 5 * i + random.pick(0, 3))};
        }
    }

    const quint64 noiseSeed = random.next();
    if (material.any()) {
        // Draws of their own, so that the settings come out the same as without the material.
        Random extra(noiseSeed ^ 0xA5C3F00DB16B00B5ull);
        const double gain = std::pow(10.0, material.coupling * extra.gauss() / 20.0);
        // The operator set the gain for the main echo, so the attenuation shows in what comes
        // before it (stronger) and after it (weaker): losses are counted from the main echo.
        auto loss = [&](double timeUs) {
            const double travelM = (timeUs - echo) * velocityMmPerUs / 1000.0;
            return std::pow(10.0, -material.attenuation * (s.iFrequency / 50.0) * travelM / 20.0);
        };
        const double main = amplitudes.first();
        for (qsizetype k = 0; k < amplitudes.size(); ++k)
            amplitudes[k] *= gain * loss(a.echoTimes[k]);
        if (material.backWall > 0 && s.eTestingMethod == ConfigSettings::Reflection) {
            const double wall = echo + (echo - s.dDelay) * extra.uniform(0.3, 0.8);
            a.echoTimes.append(wall);
            amplitudes.append(main * material.backWall * gain * loss(wall));
        }
        const double direct = nearSurface * gain * material.directWave;
        QList<qint16> clean = synthesizeAScanSignal(s, a.echoTimes, amplitudes, direct, noiseSeed, material.noise);
        // Backscatter: grain echoes, about one per period, from the surface down, losing
        // with the way they travel (rms backscatter times the main echo where it is).
        const double samplesPerUs = std::max(1, int(s.iSamplesPer10us)) / 10.0;
        const double pulseUs = std::max(1, int(s.iPeriodHalves)) * periodUs / 2.0;
        QList<double> grains(clean.size(), 0.0);
        for (double t = s.dDelay + periodUs * extra.uniform(); t < clean.size() / samplesPerUs;
             t += periodUs * extra.uniform(0.2, 1.8)) {
            const double amplitude = main * material.backscatter * gain * loss(t) * extra.gauss();
            if (std::abs(amplitude) < 0.05)
                continue;
            const int from = int(t * samplesPerUs);
            const int to = std::min(int(clean.size()), int((t + 6.0 * periodUs) * samplesPerUs));
            for (int i = std::max(0, from); i < to; ++i) {
                const double tau = i / samplesPerUs - t;
                grains[i] += amplitude * burst(tau, periodUs, pulseUs) * std::exp(-tau / (2.0 * periodUs));
            }
        }
        for (qsizetype i = 0; i < clean.size(); ++i)
            clean[i] = qint16(std::clamp(std::lround(clean[i] + grains[i]), long(-kAdcLimit), long(kAdcLimit)));
        a.samples = clean;
    } else {
        a.samples = synthesizeAScanSignal(s, a.echoTimes, amplitudes, nearSurface, noiseSeed);
    }
    // The operator sets the strobe level somewhere below the echo's peak; on radio signals
    // sometimes on the negative half.
    const bool negative = s.eSignalType == ConfigSettings::SignalRadio && random.chance(0.3);
    int extreme = 0;
    const int from = qBound(0, s.timeToSample(s.fStrobeStart), ConfigSettings::kSampleCount);
    const int to = qBound(from, s.timeToSample(s.fStrobeEnd), ConfigSettings::kSampleCount);
    for (int i = from; i < to; ++i) {
        const int v = s.eSignalType == ConfigSettings::SignalRadio ? (negative ? -a.samples[i] : a.samples[i])
                                                                    : std::abs(a.samples[i]);
        extreme = std::max(extreme, v);
    }
    const int level = std::max(20, int(std::lround(extreme * random.uniform(0.3, 0.65))));
    s.iStrobeLevel = qint16(negative ? -level : level);
    measureAScan(s, a.samples);
    // Values as the block stores them, so that what is read back compares equal.
    s.fBaseVelocity = a.versionMinor < 4 ? 3240.0f : float(roundTo(s.fBaseVelocity, 0.001));
    s.fMeasuredTime = float(roundTo(s.fMeasuredTime, 0.01));
    s.fPeakTime = float(roundTo(s.fPeakTime, 0.01));
    return a;
}

QImage renderAScanScreen(const GeneratedAScan& a)
{
    const ConfigSettings& s = a.settings;
    QImage image(kAScanScreenWidth, kAScanScreenHeight, QImage::Format_RGB32);
    image.fill(QColor(8, 14, 10));
    QPainter p(&image);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(11);
    p.setFont(font);

    const QColor text(170, 230, 170);
    const QRect plot(20, 22, 290, 180);
    p.setPen(text);
    p.drawText(QRect(4, 2, 312, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("%1  G%2dB  %3kHz").arg(a.name.left(18)).arg(s.iGain).arg(s.iFrequency));
    p.drawText(QRect(4, 2, 312, 16), Qt::AlignRight | Qt::AlignVCenter,
               s.eTestingMethod == ConfigSettings::Reflection ? QStringLiteral("R") : QStringLiteral("T"));

    // Grid: 10 × 8 divisions, dotted like the instrument's.
    p.setPen(QPen(QColor(60, 90, 70), 1, Qt::DotLine));
    for (int i = 0; i <= 10; ++i)
        p.drawLine(plot.left() + i * plot.width() / 10, plot.top(), plot.left() + i * plot.width() / 10, plot.bottom());
    for (int j = 0; j <= 8; ++j)
        p.drawLine(plot.left(), plot.top() + j * plot.height() / 8, plot.right(), plot.top() + j * plot.height() / 8);

    const bool oneSided = s.eSignalType != ConfigSettings::SignalRadio;
    const int columns = plot.width();
    const QList<double> trace = screenColumns(a, columns, oneSided);
    auto row = [&](double v) {
        if (oneSided)
            return plot.bottom() - int(std::lround(std::min(v, double(kAdcLimit)) * (plot.height() - 1) / kAdcLimit));
        return plot.center().y() - int(std::lround(v * (plot.height() / 2 - 1) / kAdcLimit));
    };
    const QColor green(60, 240, 80);
    p.setPen(QPen(green, 1));
    int previous = row(0.0);
    for (int c = 0; c < columns; ++c) {
        const int x = plot.left() + c;
        const double lo = trace[2 * c], hi = trace[2 * c + 1];
        if (s.eSignalType == ConfigSettings::SignalFilled) {
            p.drawLine(x, plot.bottom(), x, row(hi));
        } else if (oneSided) {
            p.drawLine(x, previous, x, row(hi));
            previous = row(hi);
        } else {
            p.drawLine(x, row(hi), x, row(lo));
        }
    }

    if (s.tvg.iOn == 1) {
        // The gain curve in dark grey, flat beyond its first and last points.
        QPolygon curve;
        const double window = std::max(1, s.iWindowEnd - s.iWindowStart);
        auto tvgRow = [&](int levelDb) { return plot.bottom() - levelDb * (plot.height() - 1) / 30; };
        for (int i = 0; i < s.tvg.iCount && i < TvgCurve::kMaxPoints; ++i) {
            const TvgPoint& pt = s.tvg.points[i];
            const int x = plot.left() + int(std::lround((pt.iPosition - s.iWindowStart) * columns / window));
            if (curve.isEmpty())
                curve << QPoint(plot.left(), tvgRow(pt.iLevel));
            curve << QPoint(std::clamp(x, plot.left(), plot.right()), tvgRow(pt.iLevel));
        }
        if (!curve.isEmpty()) {
            curve << QPoint(plot.right(), curve.last().y());
            p.setPen(QPen(QColor(110, 110, 110), 2));
            p.drawPolyline(curve);
        }
    }

    auto column = [&](double timeUs) {
        const double window = std::max(1, s.iWindowEnd - s.iWindowStart);
        return plot.left() + int(std::lround((s.timeToSample(timeUs) - s.iWindowStart) * columns / window));
    };
    if (s.iStrobe == 1) {
        const int y = row(oneSided ? std::abs(s.iStrobeLevel) : s.iStrobeLevel);
        const int x1 = std::clamp(column(s.fStrobeStart), plot.left(), plot.right());
        const int x2 = std::clamp(column(s.fStrobeEnd), plot.left(), plot.right());
        p.setPen(QPen(QColor(240, 50, 40), 2));
        p.drawLine(x1, y, x2, y);
        p.drawLine(x1, y - 3, x1, y + 3);
        p.drawLine(x2, y - 3, x2, y + 3);
    }
    if (s.iCursor == 1 && s.bMeasured) {
        p.setPen(QPen(Qt::white, 1));
        const int x = std::clamp(column(s.fMeasuredTime), plot.left(), plot.right());
        p.drawLine(x, plot.top(), x, plot.bottom());
    }

    p.setPen(text);
    const double depth = s.timeToDepth(s.fMeasuredTime);
    const double amplitude = s.iPeakAmplitude != 0 ? 20.0 * std::log10(std::abs(s.iPeakAmplitude)) + (100 - s.iGain) : 0.0;
    const QString readouts = s.bMeasured
        ? QStringLiteral("T%1us  H%2mm  A%3dB").arg(s.fMeasuredTime, 0, 'f', 1).arg(depth, 0, 'f', 0).arg(amplitude, 0, 'f', 0)
        : QStringLiteral("T-----  H-----  A-----");
    p.drawText(QRect(4, 218, 312, 18), Qt::AlignLeft | Qt::AlignVCenter, readouts);
    p.drawText(QRect(4, 204, 312, 14), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("%1us").arg(s.windowEndTime(), 0, 'f', 0));
    p.end();
    return image;
}

QByteArray encodeAScanDataArea(const GeneratedAScan& a)
{
    const bool v34 = isVersion34OrLater(a.versionMajor, a.versionMinor);
    QByteArray area;
    area.reserve(kAScanDataAreaSize);
    area.append(char(a.versionMajor)).append(char(a.versionMinor));
    area.append(Vantar::kInstrumentSignature, 4);
    area.append(encodeInstrumentText(a.name));

    // The four screen arrays: the trace's upper and lower values, the TVG curve, and one the
    // instrument leaves empty.
    QByteArray arrays(4 * kAScanArrayLength * 2, '\0');
    auto put = [&arrays](int array, int i, int v) {
        const int at = 2 * (array * kAScanArrayLength + i);
        arrays[at] = char(v & 0xFF);
        arrays[at + 1] = char((v >> 8) & 0xFF);
    };
    const QList<double> trace = screenColumns(a, kAScanArrayLength, false);
    for (int i = 0; i < kAScanArrayLength; ++i) {
        put(0, i, int(trace[2 * i + 1]));
        put(1, i, int(trace[2 * i]));
        put(2, i, a.settings.tvg.iOn ? a.settings.tvg.points[0].iLevel : 0);
    }
    area.append(arrays);
    area.append(encodeInstrumentText(a.setupName));
    area.append(encodeInstrumentBlock(a.settings, v34));
    return area;
}

QByteArray encodeAScanFile(const QImage& picture, const QByteArray& dataArea)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    buffer.close();
    // Bytes 2–5 hold the picture's size, where the data area begins.
    const quint32 size = quint32(bytes.size());
    for (int i = 0; i < 4 && bytes.size() >= 6; ++i)
        bytes[2 + i] = char((size >> (8 * i)) & 0xFF);
    bytes.append(dataArea);
    return bytes;
}

QByteArray encodeAScanSamples(const QList<qint16>& samples)
{
    QByteArray bytes(samples.size() * 2, '\0');
    for (qsizetype i = 0; i < samples.size(); ++i) {
        bytes[2 * i] = char(quint16(samples[i]) & 0xFF);
        bytes[2 * i + 1] = char(quint16(samples[i]) >> 8);
    }
    return bytes;
}

bool generateAScans(const QString& strFolder, int count, quint32 seed, QString* pError,
                    const Vantar::ProgressFn& progress, const AScanMaterial& material)
{
    if (!QDir().mkpath(strFolder)) {
        if (pError)
            *pError = QCoreApplication::translate("AScanGenerator", "Couldn't create folder \"%1\"!").arg(strFolder);
        return false;
    }
    for (int n = 1; n <= count; ++n) {
        const GeneratedAScan a = generateAScan(n, seed, material);
        const QString stem = strFolder + Vantar::kPathSeparator + QString::number(n) + QLatin1Char('.');
        if (!writeFile(stem + QLatin1String("bmp"), encodeAScanFile(renderAScanScreen(a), encodeAScanDataArea(a)), pError)
            || !writeFile(stem + QLatin1String("raw"), encodeAScanSamples(a.samples), pError))
            return false;
        if (progress && !progress(n, count)) {
            if (pError)
                *pError = QCoreApplication::translate("AScanGenerator", "Stopped.");
            return false;
        }
    }
    return true;
}
