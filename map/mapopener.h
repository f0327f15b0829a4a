#pragma once
// The opening sequence of a map without any window: configuration, stored viewing settings,
// folder scan, signals, unprocessed volume, comments, preparing and SAFT. The map view runs it
// under its progress dialog, vantar-tool runs it on the command line.

#include "ascan/configsettings.h"
#include "map/mapconfig.h"
#include "map/mapfolder.h"
#include "map/mappositionkey.h"
#include "map/mapviewstate.h"
#include "map/mapvolumegrid.h"
#include "map/saftoverrides.h"
#include "map/saftsettings.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class MapData;
class MapStoredFiles;

//! The long steps, each with a progress dialog of its own.
enum class MapStep { Reading, Preparing, Processing };

//! Told about each long step as it runs, on the thread that runs the sequence.
class MapStepReporter
{
public:
    virtual ~MapStepReporter();
    //! A step begins; its dialog shows strTitle and strLabel (translated already).
    virtual void stepStarted(MapStep eStep, const QString& strTitle, const QString& strLabel);
    //! iDone of iTotal (always 100: a percentage) of the running step; false asks it to stop.
    virtual bool stepProgress(int iDone, int iTotal);
    //! The step ended, successfully or not.
    virtual void stepFinished(MapStep eStep, bool bOk);
};

//! What to open.
struct MapOpenRequest
{
    QString configPath;            // the chosen "*.cfg"; its folder is the map folder
    SAFTsettings current;          // the view's record: its Filter SW is kept when the
                                   // parameters are derived from the map's settings
    bool useStoredSettings = true; // take over "usr_map.set" when it is valid for the map
    //! When given, "usr_map.set" and "map.cmm" are read into it; otherwise "usr_map.set" is
    //! read on its own and the comments are left alone.
    MapStoredFiles* storedFiles = nullptr;
    //! Parameters given by hand: they replace the stored or derived ones; a depth given so
    //! sets the depth window as the processing panel does.
    SAFTOverrides overrides;
};

//! What opening found and did.
struct MapOpenResult
{
    bool loaded = false;        // read and unprocessed volume built (bLoaded)
    bool savedSettings = false; // stored viewing settings taken over (bSaved)
    bool processed = false;     // preparing and SAFT succeeded: a processed volume exists
    bool transmission = false;  // testing method transmission: no SAFT by design
    bool stopped = false;       // a progress callback asked to stop
    //! Empty when everything went as wished; else why the map is not shown or not processed,
    //! a translated sentence for the user.
    QString message;
    QStringList failedFiles;    // signal files that could not be read
    QString commentsWarning;    // "map.cmm" exists but could not be read

    QString folder;
    MapConfig config;           // validated settings and geometry
    MapFolder::Scan scan;
    MapPositionKey firstPosition; // the first key of the position table
    double lengthX = 0.0;       // metres: stepH × columns / 1000
    double lengthY = 0.0;
    double depthStart = 0.0;    // metres
    double depthRange = 0.0;    // metres
    SAFTsettings saft;          // the parameters given to MapData
    MapViewState savedState;    // the stored state when savedSettings
    MapVolumeGrid grid;
    int firstSample = 0;        // sample window of the unprocessed volume
    int sampleSpan = 0;
    QString createdText;        // creation time of the configuration file, "dd.MM.yy   hh:mm"
};

//! What a new SAFT run from the processing panel did.
struct MapProcessResult
{
    bool accepted = false;      // the record could be used at all
    bool volumeBuilt = false;   // the unprocessed volume exists again
    bool processed = false;     // a processed volume exists
    bool stopped = false;
    QString message;            // empty on full success
    MapVolumeGrid grid;
    double depthRange = 0.0;    // metres: depth / 1000
    int firstSample = 0;
    int sampleSpan = 0;
};

//! The sequences. MapData must not be touched by anyone else while one runs (it may run on a
//! worker thread); the reporter is called on that thread.
class MapOpener
{
    Q_DECLARE_TR_FUNCTIONS(MapOpener)

public:
    //! Opens the map into data. On failure data holds nothing (no traces, no volumes) and
    //! loaded is false. On success the viewing mode is the stored one or ProcessedView when
    //! SAFT ran, RawView when it did not (transmission) or failed.
    static MapOpenResult open(MapData& data, const MapOpenRequest& request, MapStepReporter* pReporter = nullptr);

    //! Runs SAFT again with a new record on an open map: new filter period and bandwidth,
    //! grid and unprocessed volume for depth / 1000 m from depthStart, then (unless the
    //! settings say transmission) preparing and SAFT. A depth giving fewer than 2 layers is
    //! refused before anything changes. A failed volume build stops there. The viewing mode
    //! is kept, but falls back to RawView when no processed volume came out.
    static MapProcessResult reprocess(MapData& data, const ConfigSettings& settings, double depthStart,
                                      const SAFTsettings& saft, MapStepReporter* pReporter = nullptr);

    //! The SAFT parameters derived from a map's settings for a depth window (metres), Filter
    //! SW taken from current.
    static SAFTsettings derivedSettings(const ConfigSettings& settings, double depthStart, double depthRange,
                                        const SAFTsettings& current);
    //! round(100 × S / F) halves up, 0 when F is not positive.
    static int filterPeriod(const ConfigSettings& settings, int frequencyKHz);
    //! Depth layers of a SAFT depth in mm.
    static int layersForDepth(int depthMm);
    //! A SAFT depth the reconstruction accepts: at least 2 layers.
    static bool acceptsDepth(int depthMm) { return layersForDepth(depthMm) >= 2; }
    //! Samples of the depth window: first = depthToSample(start), last = depthToSample(start +
    //! range) held below sampleCount, span = last + 1 − first.
    static void sampleWindow(const ConfigSettings& settings, double depthStart, double depthRange, int sampleCount,
                             int& firstSample, int& sampleSpan);

    //! Title and label of each step's dialog, translated (context "MapData").
    static QString stepTitle(MapStep eStep);
    static QString stepLabel(MapStep eStep);
};
