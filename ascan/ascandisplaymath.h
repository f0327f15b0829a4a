#pragma once
// Arithmetic of the A-scan display: the shown window of samples, columns of the drawing,
// pixel rows, the cursor measurement, the time base and the read-out texts. Plain functions,
// so every rule can be checked without a window.

#include "ascan/configsettings.h"

#include <QList>
#include <QString>

namespace AScanMath {

//! Samples first…last (inclusive) of the signal are shown; never empty, always inside it.
struct Window
{
    int first = 0;
    int last = ConfigSettings::kSampleCount - 1;
    int length() const { return last - first + 1; }
};

//! Fewest samples a window holds, so every map from samples to pixels has a span.
inline constexpr int kMinWindowLength = 2;

//! A window of samples a…b of a signal of count samples: the ends are put in order and
//! clamped into the signal, and a window narrower than two samples is widened.
Window clampWindow(int a, int b, int count = ConfigSettings::kSampleCount);

//! The window the settings show: the time base, or the strobe when the loupe and the strobe
//! are both on.
Window windowFor(const ConfigSettings& settings);

//! Amplitudes a draw mode can show: −511…511 for the bipolar signal, 0…511 otherwise.
int lowestAmplitude(int iDrawMode);
int highestAmplitude(int iDrawMode);

//! Sample index (within a window of length samples) at which column c of width columns
//! starts: round(c × length / width), never beyond length − 1.
int columnStart(int c, int length, int width);
//! Column (of width) of the sample index within a window of length samples.
int sampleToColumn(double index, int length, int width);
//! Sample index within the window under column x.
int columnToSample(int x, int length, int width);

//! A window reduced to picture columns: one value per column for the one-sided modes, a
//! top and a bottom value for the bipolar mode.
struct Columns
{
    QList<int> top;
    QList<int> bottom;
};

//! Reduces length samples to width columns for the draw mode (0 bipolar, 1 line, 2 bars).
//! Every sample falls into some column, the deepest ones into the last.
Columns reduceColumns(const qint16* samples, int length, int width, int iDrawMode);

//! Picture row of an amplitude in a picture height rows high for the draw mode; one-sided
//! values are limited to the amplitude range first. Always inside the picture.
int amplitudeRow(int value, int height, int iDrawMode);

//! Peak and front search inside samples [start, end) of a window by the rules of the draw
//! type: |s| > |level| for the one-sided types; s > level (or s < level for a negative level)
//! for the bipolar one. −1 when no sample qualifies.
int findPeak(const qint16* samples, int length, int start, int end, int level, int iSignalType);
int findFront(const qint16* samples, int length, int start, int end, int level, int iSignalType);

//! Grid and label step of an axis of the span: the least of 1, 2, 5 × 10^k not below span / 12.
double axisStep(double span);

//! One step of the time base from end time t (µs): ×1.11 up to 4000 for a positive step,
//! ÷1.11 down to 75 for a negative one; repeated |steps| times.
double stepTimeBase(double t, int iSteps);

//! Amplitude read-out in dB: 20 log10 |a| + (100 − gain); only the gain part when a is 0.
double amplitudeDb(int iAmplitude, int iGain);

//! A read-out value: one decimal with discreteness 0.1 below 1000, else a whole number.
QString readoutText(double value, int iDiscreteness);

//! Samples of the minimum strobe width: ten points of the instrument's screen.
int minStrobeSamples(const ConfigSettings& settings);

//! Period of the probe frequency in samples for the band-pass filter; 0 when unknown.
int filterPeriod(const ConfigSettings& settings);

} // namespace AScanMath
