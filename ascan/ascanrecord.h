#pragma once
// One loaded A-scan: where it came from, its names and date, its settings and its signal.

#include "ascan/configsettings.h"

#include <QList>
#include <QString>

struct AScanRecord
{
    QString path;                   // full path of N.bmp
    QString name;                   // A-scan name from the data area
    QString setupName;              // setup name; empty when the instrument stored none
    QString date;                   // creation time of N.bmp, "dd.MM.yy   hh:mm"
    int versionMajor = 0;           // format version of the data area
    int versionMinor = 0;
    ConfigSettings fileSettings;    // the settings file when one reads, else the instrument's block
    ConfigSettings currentSettings; // the settings in use (unsaved edits or a copy of the above)
    bool settingsFromFile = false;  // fileSettings came from N.sss
    QList<qint16> samples;          // the signal from N.raw, 40000 samples once loaded
};
