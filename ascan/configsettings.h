#pragma once
// The instrument settings record: what the instrument was set to when a signal was taken.

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <array>

//! One point of the time-varied gain curve.
struct TvgPoint
{
    qint32 iPosition = 0; // sample position, 0…40000
    qint32 iLevel = 0;    // gain level, 0…30 dB

    bool operator==(const TvgPoint&) const = default;
};

//! Time-varied gain curve: only the first iCount points are meaningful.
struct TvgCurve
{
    static constexpr int kMaxPoints = 25;

    qint32 iOn = 0;    // 0 off, 1 on
    qint32 iCount = 0; // points in use
    std::array<TvgPoint, kMaxPoints> points{};
};

//! Instrument settings record; a plain value type, copied freely.
struct ConfigSettings
{
    Q_DECLARE_TR_FUNCTIONS(ConfigSettings)

public:
    // Enumerations are 32-bit in memory and may hold any value read from a file until
    // validateAndRepair() brings them into range.
    enum EProbeType : qint32 { ProbeSingle = 0, ProbeDouble = 1 };
    enum EPulseVoltage : qint32 { Voltage20 = 0, Voltage100 = 1, Voltage200 = 2 };
    enum ETestingMethod : qint32 { Reflection = 0, Transmission = 1 };
    enum ESignalType : qint32 { SignalRadio = 0, SignalOneSided = 1, SignalFilled = 2 };
    enum EResponseType : qint32 { ResponseFront = 0, ResponsePeak = 1 };
    enum EScaleUnits : qint32 { UnitsMm = 0, UnitsUs = 1 };
    enum EDiscreteness : qint32 { Discreteness1 = 0, Discreteness01 = 1 };

    static constexpr int kSampleCount = 40000; // samples of every signal
    static constexpr double kRealTolerance = 0.0001;

    EProbeType eProbeType = ProbeDouble;       // 0 single, 1 dual-element
    qint32 iFrequency = 50;                    // operating frequency, kHz
    qint16 iPeriodHalves = 2;                  // pulse length in half periods
    double dDelay = 0.0;                       // delay, µs
    qint16 iGain = 40;                         // gain, dB
    EPulseVoltage ePulseVoltage = Voltage20;   // 0 → 20 V, 1 → 100 V, 2 → 200 V
    qint32 iRepetitionRate = 45;               // pulse repetition rate, Hz (shown unsigned)
    qint16 iSamplesPer10us = 100;              // sampling rate, samples per 10 µs
    qint32 iInputFilter = 0;                   // input signals filter: 0 on, 1 off
    ETestingMethod eTestingMethod = Reflection;
    bool bSpectrum = false;                    // horizontal unit is kHz when set
    ESignalType eSignalType = SignalFilled;    // display type 0, 1 or 2
    bool bAveraging = false;                   // averaging on
    qint16 iAveraging = 1;                     // averaging quantity
    bool bAuxFlag = false;                     // instrument display flag
    qint32 iAuxMode = 0;                       // instrument display mode
    qint32 iLoupe = 0;                         // display restricted to the strobe: 0 off, 1 on
    EResponseType eResponseType = ResponsePeak; // 0 by front, 1 by peak
    qint16 iVelocity = 3240;                   // sound velocity, m/s
    qint32 iBaseMode = 0;                      // velocity measured over a known base: 0 off, 1 on
    double dBase = 20.0;                       // base, mm
    float fBaseVelocity = 3240.0f;             // velocity computed from the base, m/s
    EScaleUnits eScaleUnits = UnitsMm;         // horizontal scale units: 0 mm, 1 µs
    qint32 iCursor = 1;                        // cursor measurement: 0 off, 1 on
    EDiscreteness eDiscreteness = Discreteness1; // readings discreteness: 0 → "1", 1 → "0.1"
    qint32 iWindowStart = 0;                   // first displayed sample
    qint32 iWindowEnd = 10000;                 // last displayed sample (the time base)
    qint32 iExtra1 = 256;                      // points across the instrument's screen
    qint32 iExtra2 = 256;                      // carried unchanged
    bool bMeasured = false;                    // the signal reached the strobe
    float fMeasuredTime = 0.0f;                // measured time, µs
    float fPeakTime = 0.0f;                    // time of the maximum inside the strobe, µs
    qint16 iPeakAmplitude = 0;                 // amplitude at that maximum
    float fExtra3 = 75.0f;                     // carried unchanged
    float fExtra4 = 0.0f;                      // carried unchanged
    TvgCurve tvg;                              // time-varied gain curve
    qint32 iStrobe = 1;                        // strobe (gate): 0 off, 1 on
    float fStrobeStart = 100.0f;               // strobe start, µs
    float fStrobeEnd = 200.0f;                 // strobe end, µs
    qint16 iStrobeLevel = 255;                 // strobe threshold, −511…511

    //! All TVG points zero, every other field at its default.
    ConfigSettings() = default;

    //! Every field back to its default; the 25 TVG points keep their values (flag and count 0).
    void resetToDefaults();

    //! Brings every field into its range; true when nothing had to be repaired.
    bool validateAndRepair();

    //! Equal when all fields match, reals within 0.0001, TVG over the first count points;
    //! fExtra3 and fExtra4 take no part.
    bool operator==(const ConfigSettings& other) const;
    bool operator!=(const ConfigSettings& other) const { return !(*this == other); }

    // Conversions: t in µs, s in samples; rounding is floor(x + 0.5).
    int timeToSample(double t) const;
    double sampleToTime(double s) const;
    //! Depth in mm reached in time t: halved in reflection, where sound goes there and back.
    double timeToDepth(double t) const;
    int measuredSample() const;
    int peakSample() const;
    double windowEndTime() const;
    //! iWindowEnd = ceil(samples per µs × t), at most 40000.
    void setWindowEndTime(double t);
    int samplesIn75us() const;
    //! fBaseVelocity from the time t over the base; nothing changes when t is 0.
    void setBaseVelocityFromTime(double t);

    // Texts of the settings tables and reports.
    QString probeTypeText() const;
    QString frequencyText() const;
    QString delayText() const;
    QString gainText() const;
    QString pulseVoltageText() const;
    QString periodText() const;
    QString repetitionRateText() const;
    QString averagingText() const;
    QString velocityText() const;
    QString baseText() const;
    QString tvgText() const;
    QString scaleUnitsText() const;
    QString discretenessText() const;
    QString cursorText() const;
    QString inputFilterText() const;
    QString testingMethodText() const;
};
