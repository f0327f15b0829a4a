#pragma once
// The label and value texts of the instrument settings tables. The A-scan tab's table, the
// map settings window's table and the tables of both printed reports are all built here, so
// a label or a value text is written once.

#include "ascan/configsettings.h"
#include "ascan/reporthtml.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

//! The probe grid of a map as its settings tables show it: steps in mm, sizes in points
//! (0 shows "Off").
struct SettingsGrid
{
    int stepH = 0;
    int stepV = 0;
    int sizeH = 0;
    int sizeV = 0;
};

class SettingsRows
{
    Q_DECLARE_TR_FUNCTIONS(SettingsRows)

public:
    //! The rows a settings table can show. ReportRate and Accumulation are the printed map
    //! report's shorter labels of Rate and Averaging; Blank is an empty row.
    enum Row { Probe, Frequency, Delay, Gain, Voltage, Period, Rate, Averaging, Velocity, Base, Tvg,
               Scale, Discreteness, Cursor, InputFilter, TestingMethod, StepH, StepV, SizeH, SizeV,
               SamplingRate, ReportRate, Accumulation, Blank };

    //! The sixteen rows of the A-scan tab's table, in its order; the A-scan report prints them.
    static const QList<Row>& ascanTable();
    //! The rows of the map settings window.
    static const QList<Row>& mapWindowTable();
    //! The left and right columns of the printed map report.
    static const QList<Row>& mapReportLeft();
    static const QList<Row>& mapReportRight();

    //! Label in the current language.
    static QString label(Row row);
    //! Value text of settings (and, for the grid rows, of grid).
    static QString value(Row row, const ConfigSettings& settings, const SettingsGrid& grid = SettingsGrid());
    //! Label and value of each row in turn.
    static QList<ReportRow> rows(const QList<Row>& which, const ConfigSettings& settings, const SettingsGrid& grid = SettingsGrid());
};
