#pragma once
// Commands of vantar-tool. Each takes the arguments after its name and returns the exit status.

#include <QJsonObject>
#include <QStringList>
#include <QTextStream>

struct ConfigSettings;

namespace VantarTool {

struct Command
{
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args, QTextStream& out, QTextStream& err);
    void (*help)(QTextStream& out);
};

int runInfo(const QStringList& args, QTextStream& out, QTextStream& err);
void helpInfo(QTextStream& out);
//! Prints what is read from a map configuration file as JSON; part of "info".
int infoMapConfig(const QString& path, QTextStream& out, QTextStream& err);
//! A settings record as JSON: keys are the field names in the code, the TVG curve under "tvg"
//! as {"on", "count", "points": [[position, level], ...]} with the first count points.
QJsonObject settingsJson(const ConfigSettings& settings);

int runGenAScans(const QStringList& args, QTextStream& out, QTextStream& err);
void helpGenAScans(QTextStream& out);
int runGenMap(const QStringList& args, QTextStream& out, QTextStream& err);
void helpGenMap(QTextStream& out);
int runRender(const QStringList& args, QTextStream& out, QTextStream& err);
void helpRender(QTextStream& out);
int runExportAScan(const QStringList& args, QTextStream& out, QTextStream& err);
void helpExportAScan(QTextStream& out);
int runDrives(const QStringList& args, QTextStream& out, QTextStream& err);
void helpDrives(QTextStream& out);
int runReconstruct(const QStringList& args, QTextStream& out, QTextStream& err);
void helpReconstruct(QTextStream& out);
int runIndications(const QStringList& args, QTextStream& out, QTextStream& err);
void helpIndications(QTextStream& out);

} // namespace VantarTool
