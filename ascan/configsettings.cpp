#include "ascan/configsettings.h"

#include <QCoreApplication>

#include <cmath>
#include <limits>

namespace {

QString number(qint64 value)
{
    return QCoreApplication::translate("ConfigSettings", "%1").arg(value, 0, 10, QLatin1Char(' '));
}

QString fixed1(double value)
{
    return QCoreApplication::translate("ConfigSettings", "%1").arg(value, 0, 'f', 1, QLatin1Char(' '));
}

// floor(x + 0.5) into an int; a value beyond the int range (a record not validated yet)
// saturates instead of overflowing, NaN gives 0.
int roundHalfUp(double x)
{
    const double r = std::floor(x + 0.5);
    if (std::isnan(r))
        return 0;
    if (r >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(r);
}

int ceilToInt(double x)
{
    return roundHalfUp(std::ceil(x));
}

bool realsEqual(double a, double b)
{
    return std::fabs(a - b) < ConfigSettings::kRealTolerance;
}

// NaN fails every range test, so a NaN field is repaired like any other bad value.
bool inRange(double v, double lo, double hi)
{
    return v >= lo && v <= hi;
}

// Samples per µs; 0 for an unvalidated record with no usable rate.
double samplesPerUs(const ConfigSettings& s)
{
    return s.iSamplesPer10us / 10.0;
}

} // namespace

void ConfigSettings::resetToDefaults()
{
    const auto points = tvg.points;
    *this = ConfigSettings();
    tvg.points = points;
}

bool ConfigSettings::validateAndRepair()
{
    bool ok = true;
    auto check = [&ok](bool pass) {
        ok = ok && pass;
        return pass;
    };
    auto clearCurve = [this] {
        tvg.iCount = 0;
        tvg.points.fill(TvgPoint());
    };

    if (!check(tvg.iOn == 0 || tvg.iOn == 1))
        tvg.iOn = 0;
    // The instrument keeps at most 24 points in use although the array holds 25.
    if (!check(tvg.iCount >= 0 && tvg.iCount <= 24))
        clearCurve();
    for (TvgPoint& p : tvg.points) {
        if (p.iPosition < 0 || p.iPosition > kSampleCount)
            p.iPosition = 0;
        if (p.iLevel < 0 || p.iLevel > 30)
            p.iLevel = 0;
    }
    for (int i = 0; i + 1 < tvg.iCount; ++i) {
        if (tvg.points[i].iPosition > tvg.points[i + 1].iPosition) {
            clearCurve();
            break;
        }
    }

    if (!check(iSamplesPer10us >= 10 && iSamplesPer10us <= 100))
        iSamplesPer10us = 100;
    if (!check(iFrequency >= 25 && iFrequency <= 250))
        iFrequency = 50;
    if (!check(iWindowStart >= 0 && iWindowStart <= 39360))
        iWindowStart = 0;
    if (!check(iWindowEnd >= 640 && iWindowEnd <= kSampleCount))
        iWindowEnd = 10000;
    if (!check(iWindowEnd > iWindowStart)) {
        iWindowStart = 0;
        iWindowEnd = 10000;
    }
    if (!check(eSignalType >= 0 && eSignalType <= 2))
        eSignalType = SignalOneSided;
    if (!check(iLoupe == 0 || iLoupe == 1))
        iLoupe = 0;
    if (!check(eTestingMethod == 0 || eTestingMethod == 1))
        eTestingMethod = Reflection;
    if (!check(eResponseType == 0 || eResponseType == 1))
        eResponseType = ResponseFront;
    if (!check(iCursor == 0 || iCursor == 1))
        iCursor = 0;
    if (!check(eDiscreteness == 0 || eDiscreteness == 1))
        eDiscreteness = Discreteness01;
    if (!check(eScaleUnits == 0 || eScaleUnits == 1))
        eScaleUnits = UnitsMm;
    if (!check(iStrobe == 0 || iStrobe == 1))
        iStrobe = 1;
    if (!check(inRange(fStrobeStart, 0.0, 4000.0)))
        fStrobeStart = 31.0f;
    if (!check(inRange(fStrobeEnd, 0.0, 4000.0)))
        fStrobeEnd = 31.0f;
    if (!check(iStrobeLevel >= -511 && iStrobeLevel <= 511))
        iStrobeLevel = 255;
    if (!check(fStrobeEnd >= fStrobeStart + 5.0f)) {
        fStrobeEnd = fStrobeStart + 5.0f;
        // Widening a strobe that starts within 5 µs of the end would leave it out of range.
        if (fStrobeEnd > 4000.0f) {
            fStrobeStart = 3995.0f;
            fStrobeEnd = 4000.0f;
        }
    }
    if (!check(iBaseMode == 0 || iBaseMode == 1))
        iBaseMode = 1;
    if (!check(inRange(dBase, 10.0, 15000.0)))
        dBase = 200.0;
    if (!check(eProbeType == 0 || eProbeType == 1))
        eProbeType = ProbeSingle;
    if (bAveraging && !check(iAveraging >= 1 && iAveraging <= 128))
        iAveraging = 1;
    if (!check(iPeriodHalves >= 1 && iPeriodHalves <= 10))
        iPeriodHalves = 2;
    const quint32 rate = quint32(iRepetitionRate);
    if (!check(rate >= 5 && rate <= 45))
        iRepetitionRate = 45;
    if (!check(iGain >= 0 && iGain <= 100))
        iGain = 40;
    if (!check(iVelocity >= 500 && iVelocity <= 15000))
        iVelocity = 3240;
    if (!check(inRange(dDelay, 0.0, 100.0)))
        dDelay = 0.0;
    if (!check(ePulseVoltage >= 0 && ePulseVoltage <= 2))
        ePulseVoltage = Voltage20;
    if (!check(iInputFilter == 0 || iInputFilter == 1))
        iInputFilter = 0;
    return ok;
}

bool ConfigSettings::operator==(const ConfigSettings& o) const
{
    if (tvg.iOn != o.tvg.iOn || tvg.iCount != o.tvg.iCount)
        return false;
    // A count out of range cannot index past the array.
    const int n = qBound(0, tvg.iCount, TvgCurve::kMaxPoints);
    for (int i = 0; i < n; ++i) {
        if (tvg.points[i] != o.tvg.points[i])
            return false;
    }
    return eProbeType == o.eProbeType && iFrequency == o.iFrequency
        && iPeriodHalves == o.iPeriodHalves && realsEqual(dDelay, o.dDelay) && iGain == o.iGain
        && ePulseVoltage == o.ePulseVoltage && iRepetitionRate == o.iRepetitionRate
        && iSamplesPer10us == o.iSamplesPer10us && iInputFilter == o.iInputFilter
        && eTestingMethod == o.eTestingMethod && bSpectrum == o.bSpectrum
        && eSignalType == o.eSignalType && bAveraging == o.bAveraging
        && iAveraging == o.iAveraging && bAuxFlag == o.bAuxFlag && iAuxMode == o.iAuxMode
        && iLoupe == o.iLoupe && eResponseType == o.eResponseType && iVelocity == o.iVelocity
        && iBaseMode == o.iBaseMode && realsEqual(dBase, o.dBase)
        && realsEqual(fBaseVelocity, o.fBaseVelocity) && eScaleUnits == o.eScaleUnits
        && iCursor == o.iCursor && eDiscreteness == o.eDiscreteness
        && iWindowStart == o.iWindowStart && iWindowEnd == o.iWindowEnd
        && iExtra1 == o.iExtra1 && iExtra2 == o.iExtra2 && bMeasured == o.bMeasured
        && realsEqual(fMeasuredTime, o.fMeasuredTime) && realsEqual(fPeakTime, o.fPeakTime)
        && iPeakAmplitude == o.iPeakAmplitude && iStrobe == o.iStrobe
        && realsEqual(fStrobeStart, o.fStrobeStart) && realsEqual(fStrobeEnd, o.fStrobeEnd)
        && iStrobeLevel == o.iStrobeLevel;
}

int ConfigSettings::timeToSample(double t) const
{
    return roundHalfUp(iSamplesPer10us * t / 10.0);
}

double ConfigSettings::sampleToTime(double s) const
{
    // A record with no sampling rate has no time axis; 0 rather than infinity.
    if (iSamplesPer10us == 0)
        return 0.0;
    return s * 10.0 / iSamplesPer10us;
}

double ConfigSettings::timeToDepth(double t) const
{
    const double depth = iVelocity * t / 1000.0;
    return eTestingMethod == Reflection ? depth / 2.0 : depth;
}

int ConfigSettings::measuredSample() const
{
    return roundHalfUp(fMeasuredTime * double(iSamplesPer10us) / 10.0);
}

int ConfigSettings::peakSample() const
{
    return roundHalfUp(fPeakTime * double(iSamplesPer10us) / 10.0);
}

double ConfigSettings::windowEndTime() const
{
    return sampleToTime(iWindowEnd);
}

void ConfigSettings::setWindowEndTime(double t)
{
    if (std::isnan(t))
        return;
    iWindowEnd = qBound(0, ceilToInt(samplesPerUs(*this) * t), int(kSampleCount));
}

int ConfigSettings::samplesIn75us() const
{
    return ceilToInt(samplesPerUs(*this) * 75.0);
}

void ConfigSettings::setBaseVelocityFromTime(double t)
{
    if (t == 0.0)
        return;
    double v = dBase / t * 1000.0;
    if (eTestingMethod == Reflection)
        v *= 2.0;
    fBaseVelocity = float(qBound(-double(std::numeric_limits<float>::max()), v,
                                 double(std::numeric_limits<float>::max())));
}

QString ConfigSettings::probeTypeText() const
{
    return eProbeType == ProbeSingle ? tr("single") : tr("double");
}

QString ConfigSettings::frequencyText() const { return number(iFrequency); }
QString ConfigSettings::delayText() const { return fixed1(dDelay); }
QString ConfigSettings::gainText() const { return number(iGain); }

QString ConfigSettings::pulseVoltageText() const
{
    switch (ePulseVoltage) {
    case Voltage20: return tr("20");
    case Voltage100: return tr("100");
    case Voltage200: return tr("200");
    }
    return QString();
}

QString ConfigSettings::periodText() const { return fixed1(iPeriodHalves * 0.5); }
QString ConfigSettings::repetitionRateText() const { return number(quint32(iRepetitionRate)); }

QString ConfigSettings::averagingText() const
{
    return bAveraging ? number(iAveraging) : tr("Off");
}

QString ConfigSettings::velocityText() const { return number(iVelocity); }

QString ConfigSettings::baseText() const
{
    return iBaseMode == 0 ? tr("Off") : fixed1(dBase);
}

QString ConfigSettings::tvgText() const { return tvg.iOn != 0 ? tr("On") : tr("Off"); }

QString ConfigSettings::scaleUnitsText() const
{
    switch (eScaleUnits) {
    case UnitsMm: return tr("mm");
    case UnitsUs: return tr("\xc2\xb5s");
    }
    return QString();
}

QString ConfigSettings::discretenessText() const
{
    return eDiscreteness == Discreteness01 ? tr("0.1") : tr("1");
}

QString ConfigSettings::cursorText() const { return iCursor != 0 ? tr("On") : tr("Off"); }
QString ConfigSettings::inputFilterText() const { return iInputFilter == 0 ? tr("On") : tr("Off"); }

QString ConfigSettings::testingMethodText() const
{
    switch (eTestingMethod) {
    case Reflection: return tr("Reflection");
    case Transmission: return tr("Transmission");
    }
    return QString();
}
