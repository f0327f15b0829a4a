#pragma once
// Generated A-scans in the instrument's own layouts, for tests, benchmarks and the demo:
// a screen picture with the data area appended (N.bmp) and a signal with echoes (N.raw).
// Everything is derived from a seed, so the same seed always gives the same files.

#include "ascan/configsettings.h"
#include "map/progress.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

//! One generated A-scan before it is written.
struct GeneratedAScan
{
    int number = 1;            // N of N.bmp
    QString name;              // A-scan name
    QString setupName;         // may be empty, as the instrument leaves it
    int versionMajor = 3;
    int versionMinor = 4;
    ConfigSettings settings;   // valid settings, measurement filled in from the signal
    QList<qint16> samples;     // 40000 samples within the instrument's ±511
    QList<double> echoTimes;   // µs of the echoes put into the signal, first the main one
};

//! What real records of concrete carry besides the echoes; all off by default (clean signals).
struct AScanMaterial
{
    double attenuation = 0.0;  // dB per metre of travel at 50 kHz, in proportion to frequency
    double backscatter = 0.0;  // rms of the grain echoes, relative to the main echo at its time
    double backWall = 0.0;     // back-wall echo relative to the main echo, placed beyond it; 0: none
    double coupling = 0.0;     // spread of the probe's coupling from A-scan to A-scan, dB
    double directWave = 1.0;   // scale of the probe's near-surface pulse and ring-down
    double noise = 1.0;        // scale of the electronics' noise

    bool any() const
    {
        return attenuation > 0 || backscatter > 0 || backWall > 0 || coupling > 0 || directWave != 1.0 || noise != 1.0;
    }
    //! The values vantar-tool gen-ascans uses unless told otherwise.
    static AScanMaterial realistic() { return AScanMaterial{10.0, 0.05, 0.8, 1.5, 1.0, 1.0}; }
};

//! Size of the generated screen pictures.
inline constexpr int kAScanScreenWidth = 320;
inline constexpr int kAScanScreenHeight = 240;

//! The A-scan number `number` of the set made from seed: varied settings, one or two echoes.
//! With material ingredients the settings stay the same; only the signal and what is measured
//! on it (strobe level, times, peak) change.
GeneratedAScan generateAScan(int number, quint32 seed, const AScanMaterial& material = {});

//! Signal of tone bursts at the settings' frequency as the converter sees it: a near-surface
//! pulse of the given amplitude, one burst per echo time (µs) with its amplitude, exponential
//! decay and a little noise (times noiseScale); clipped to ±511.
QList<qint16> synthesizeAScanSignal(const ConfigSettings& settings, const QList<double>& echoTimes,
                                    const QList<double>& amplitudes, double nearSurface,
                                    quint64 noiseSeed, double noiseScale = 1.0);

//! Measures the signal as the instrument does within the strobe (peak and front by the
//! response type) and stores bMeasured, the times and the peak amplitude in settings.
void measureAScan(ConfigSettings& settings, const QList<qint16>& samples);

//! The instrument screen: grid, signal trace, strobe, cursor and read-outs. Needs a
//! QGuiApplication for its fonts.
QImage renderAScanScreen(const GeneratedAScan& ascan);

//! The 5403-byte data area (5398 before version 3.4): version, "M773", names, the four
//! screen arrays and the settings block.
QByteArray encodeAScanDataArea(const GeneratedAScan& ascan);

//! N.bmp: the picture as BMP with the data area appended at its size.
QByteArray encodeAScanFile(const QImage& picture, const QByteArray& dataArea);

//! N.raw: the samples, little-endian 16-bit.
QByteArray encodeAScanSamples(const QList<qint16>& samples);

//! Writes N.bmp and N.raw for N = 1…count into folder (made when missing). False with a
//! message when a file cannot be written or progress asks to stop.
bool generateAScans(const QString& strFolder, int count, quint32 seed, QString* pError = nullptr,
                    const Vantar::ProgressFn& progress = {}, const AScanMaterial& material = {});
