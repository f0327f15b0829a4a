#include "ascan/ascandisplaymath.h"

#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace AScanMath {

namespace {

int roundHalfUp(double x)
{
    return int(std::floor(x + 0.5));
}

bool passes(int s, int level, int iSignalType)
{
    if (iSignalType != ConfigSettings::SignalRadio)
        return std::abs(s) > std::abs(level);
    return level >= 0 ? s > level : s < level;
}

} // namespace

Window clampWindow(int a, int b, int count)
{
    count = qMax(count, kMinWindowLength);
    if (b < a)
        std::swap(a, b);
    Window w;
    w.first = qBound(0, a, count - kMinWindowLength);
    w.last = qBound(w.first + kMinWindowLength - 1, b, count - 1);
    return w;
}

Window windowFor(const ConfigSettings& s)
{
    if (s.iLoupe != 0 && s.iStrobe != 0)
        return clampWindow(s.timeToSample(s.fStrobeStart), s.timeToSample(s.fStrobeEnd));
    return clampWindow(s.iWindowStart, s.iWindowEnd);
}

int lowestAmplitude(int iDrawMode)
{
    return iDrawMode == ConfigSettings::SignalRadio ? -511 : 0;
}

int highestAmplitude(int)
{
    return 511;
}

int columnStart(int c, int length, int width)
{
    if (length <= 0 || width <= 0)
        return 0;
    const int s = roundHalfUp(double(c) * length / width);
    return qBound(0, s, length - 1);
}

int sampleToColumn(double index, int length, int width)
{
    if (length <= 0 || width <= 0)
        return 0;
    return qBound(0, roundHalfUp(index * width / length), width - 1);
}

int columnToSample(int x, int length, int width)
{
    return columnStart(qBound(0, x, qMax(0, width - 1)), length, width);
}

Columns reduceColumns(const qint16* samples, int length, int width, int iDrawMode)
{
    Columns cols;
    if (!samples || length <= 0 || width <= 0)
        return cols;
    cols.top.resize(width);
    cols.bottom.resize(width);
    const int hi = highestAmplitude(iDrawMode);
    const bool bipolar = iDrawMode == ConfigSettings::SignalRadio;

    if (length >= width) {
        for (int c = 0; c < width; ++c) {
            const int from = columnStart(c, length, width);
            // The last column runs to the end, so the deepest samples are never lost.
            const int to = c + 1 < width ? qMax(from + 1, columnStart(c + 1, length, width)) : length;
            int top = samples[from];
            int bottom = samples[from];
            int peak = 0;
            for (int i = from; i < to; ++i) {
                const int s = samples[i];
                top = qMax(top, s);
                bottom = qMin(bottom, s);
                peak = qMax(peak, std::abs(s));
            }
            if (bipolar) {
                cols.top[c] = top;
                cols.bottom[c] = bottom;
            } else {
                cols.top[c] = cols.bottom[c] = qMin(peak, hi);
            }
        }
        return cols;
    }

    for (int c = 0; c < width; ++c) {
        const int s = samples[columnStart(c, length, width)];
        if (bipolar) {
            cols.top[c] = s;
            cols.bottom[c] = c > 0 ? cols.top[c - 1] : s;
        } else {
            cols.top[c] = qMin(std::abs(s), hi);
        }
    }
    if (!bipolar) {
        // Few samples stretched over many columns: smooth the steps, k columns at a time.
        const int k = roundHalfUp(double(width) / length);
        if (k >= 2) {
            for (int c = 0; c < width; ++c) {
                const int n = qMin(k, width - c);
                long sum = 0;
                for (int j = 0; j < n; ++j)
                    sum += cols.top[c + j];
                cols.top[c] = roundHalfUp(double(sum) / n);
            }
        }
        cols.bottom = cols.top;
    }
    return cols;
}

int amplitudeRow(int value, int height, int iDrawMode)
{
    if (height <= 0)
        return 0;
    const int lo = lowestAmplitude(iDrawMode);
    const int hi = highestAmplitude(iDrawMode);
    const double range = hi - lo;
    int row;
    if (iDrawMode == ConfigSettings::SignalRadio) {
        row = height / 2 - roundHalfUp(qBound(lo, value, hi) * height / range);
    } else {
        const int v = qMin(std::abs(value), hi);
        if (iDrawMode == ConfigSettings::SignalOneSided)
            row = (height - 1) - roundHalfUp(v * (height - 1) / range);
        else
            row = (height - 1) - roundHalfUp(v * height / range);
    }
    return qBound(0, row, height - 1);
}

int findPeak(const qint16* samples, int length, int start, int end, int level, int iSignalType)
{
    if (!samples)
        return -1;
    start = qBound(0, start, length);
    end = qBound(start, end, length);
    int best = -1;
    for (int i = start; i < end; ++i) {
        const int s = samples[i];
        if (!passes(s, level, iSignalType))
            continue;
        if (best < 0) {
            best = i;
            continue;
        }
        const int b = samples[best];
        const bool better = iSignalType != ConfigSettings::SignalRadio ? std::abs(s) > std::abs(b)
                            : level >= 0                                ? s > b
                                                                        : s < b;
        if (better)
            best = i;
    }
    return best;
}

int findFront(const qint16* samples, int length, int start, int end, int level, int iSignalType)
{
    if (!samples)
        return -1;
    start = qBound(0, start, length);
    end = qBound(start, end, length);
    for (int i = start; i < end; ++i)
        if (passes(samples[i], level, iSignalType))
            return i;
    return -1;
}

double axisStep(double span)
{
    if (!(span > 0.0) || !std::isfinite(span))
        return 1.0;
    const double want = span / 12.0;
    double decade = std::pow(10.0, std::floor(std::log10(want)));
    for (int guard = 0; guard < 4; ++guard, decade *= 10.0) {
        for (double m : {1.0, 2.0, 5.0}) {
            // A hair of tolerance, so 0.1 × 10 is taken as the 1 it stands for.
            if (m * decade >= want * (1.0 - 1e-12))
                return m * decade;
        }
    }
    return decade;
}

double stepTimeBase(double t, int iSteps)
{
    const double factor = double(1.11f);
    for (int i = 0; i < iSteps; ++i)
        t = qMin(t * factor, 4000.0);
    for (int i = 0; i > iSteps; --i)
        t = qMax(t / factor, 75.0);
    return t;
}

double amplitudeDb(int iAmplitude, int iGain)
{
    const double gainPart = 100.0 - iGain;
    return iAmplitude == 0 ? gainPart : 20.0 * std::log10(std::abs(double(iAmplitude))) + gainPart;
}

QString readoutText(double value, int iDiscreteness)
{
    if (!std::isfinite(value))
        return QStringLiteral("-----");
    if (iDiscreteness == ConfigSettings::Discreteness01 && std::abs(value) < 1000.0)
        return QString::number(value, 'f', 1);
    return QString::number(qRound64(value));
}

int minStrobeSamples(const ConfigSettings& s)
{
    const int points = s.iExtra1 == 0 ? 200 : std::abs(s.iExtra1);
    return qMax(0, s.timeToSample(10.0 * s.windowEndTime() / points));
}

int filterPeriod(const ConfigSettings& s)
{
    if (s.iFrequency <= 0)
        return 0;
    return roundHalfUp(100.0 * s.iSamplesPer10us / s.iFrequency);
}

} // namespace AScanMath
