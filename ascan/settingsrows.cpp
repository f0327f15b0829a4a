#include "ascan/settingsrows.h"

const QList<SettingsRows::Row>& SettingsRows::ascanTable()
{
    static const QList<Row> rows = {Probe, Frequency, Delay, Gain, Voltage, Period, Rate, Averaging,
                                    Velocity, Base, Tvg, Scale, Discreteness, Cursor, InputFilter, TestingMethod};
    return rows;
}

const QList<SettingsRows::Row>& SettingsRows::mapWindowTable()
{
    // The sampling rate sets the depth resolution of the volume, so the window shows it too.
    static const QList<Row> rows = {StepH, StepV, SizeH, SizeV, Probe, Frequency, Delay, Gain, Voltage,
                                    Period, Rate, Averaging, Velocity, Base, Tvg, Scale, Discreteness,
                                    Cursor, InputFilter, TestingMethod, SamplingRate};
    return rows;
}

const QList<SettingsRows::Row>& SettingsRows::mapReportLeft()
{
    static const QList<Row> rows = {StepH, StepV, SizeH, SizeV, Blank, Probe, Frequency, Delay, Gain, Voltage};
    return rows;
}

const QList<SettingsRows::Row>& SettingsRows::mapReportRight()
{
    static const QList<Row> rows = {Period, ReportRate, Accumulation, Velocity, Base, Tvg, Scale,
                                    Discreteness, Cursor, InputFilter};
    return rows;
}

QString SettingsRows::label(Row row)
{
    switch (row) {
    case Probe: return tr("Probe type");
    case Frequency: return tr("Operating frequency, KHz");
    case Delay: return tr("Delay, \u00B5s");
    case Gain: return tr("Gain, dB");
    case Voltage: return tr("Pulse voltage, V");
    case Period: return tr("Period number");
    case Rate: return tr("Pulse repetition rate, Hz");
    case Averaging: return tr("Averaging, quantity");
    case Velocity: return tr("Velocity, m/s");
    case Base: return tr("Base, mm");
    case Tvg: return tr("TGV");
    case Scale: return tr("Scale");
    case Discreteness: return tr("Readings discreteness");
    case Cursor: return tr("Cursor");
    case InputFilter: return tr("Input signals filter");
    case TestingMethod: return tr("Testing method");
    case StepH: return tr("Horizontal step, mm");
    case StepV: return tr("Vertical step, mm");
    case SizeH: return tr("Horizontal size (points)");
    case SizeV: return tr("Vertical size (points)");
    case SamplingRate: return tr("Sampling rate, MHz");
    case ReportRate: return tr("Repetition rate, Hz");
    case Accumulation: return tr("Accumulation");
    case Blank: break;
    }
    return QString();
}

QString SettingsRows::value(Row row, const ConfigSettings& s, const SettingsGrid& grid)
{
    const auto size = [](int iPoints) { return iPoints == 0 ? ConfigSettings::tr("Off") : QString::number(iPoints); };
    switch (row) {
    case Probe: return s.probeTypeText();
    case Frequency: return s.frequencyText();
    case Delay: return s.delayText();
    case Gain: return s.gainText();
    case Voltage: return s.pulseVoltageText();
    case Period: return s.periodText();
    case Rate:
    case ReportRate: return s.repetitionRateText();
    case Averaging:
    case Accumulation: return s.averagingText();
    case Velocity: return s.velocityText();
    case Base: return s.baseText();
    case Tvg: return s.tvgText();
    case Scale: return s.scaleUnitsText();
    case Discreteness: return s.discretenessText();
    case Cursor: return s.cursorText();
    case InputFilter: return s.inputFilterText();
    case TestingMethod: return s.testingMethodText();
    case StepH: return QString::number(grid.stepH);
    case StepV: return QString::number(grid.stepV);
    case SizeH: return size(grid.sizeH);
    case SizeV: return size(grid.sizeV);
    // Counted in samples per 10 µs, that is in units of 100 kHz.
    case SamplingRate: return QString::number(s.iSamplesPer10us / 10.0, 'f', 1);
    case Blank: break;
    }
    return QString();
}

QList<ReportRow> SettingsRows::rows(const QList<Row>& which, const ConfigSettings& settings, const SettingsGrid& grid)
{
    QList<ReportRow> list;
    list.reserve(which.size());
    for (Row row : which)
        list.append({label(row), value(row, settings, grid)});
    return list;
}
