#include "map/mapopener.h"

#include "map/depthconversion.h"
#include "map/maplimits.h"
#include "map/mapdata.h"
#include "map/mapstoredfiles.h"
#include "map/mapviewstatefile.h"

#include <QDateTime>
#include <QFileInfo>

#include <cmath>

namespace {

const char* const kStepTexts[3][2] = {
    {QT_TRANSLATE_NOOP("MapData", "Data Reading"), QT_TRANSLATE_NOOP("MapData", "Data reading progress:")},
    {QT_TRANSLATE_NOOP("MapData", "Data Preparing"), QT_TRANSLATE_NOOP("MapData", "Data preparing progress:")},
    {QT_TRANSLATE_NOOP("MapData", "Data Processing"), QT_TRANSLATE_NOOP("MapData", "Data processing progress:")},
};

// Runs one long step with the reporter told about it and its progress routed to it.
template <class Step>
bool runStep(MapData& data, MapStep eStep, MapStepReporter* pReporter, bool& bStopped, Step&& step)
{
    if (!pReporter)
        return step();
    const Vantar::ProgressFn saved = data.progressCallback();
    bool bStop = false;
    pReporter->stepStarted(eStep, MapOpener::stepTitle(eStep), MapOpener::stepLabel(eStep));
    data.setProgressCallback([&](int iDone, int iTotal) {
        const bool bGoOn = pReporter->stepProgress(iDone, iTotal);
        if (!bGoOn)
            bStop = true;
        return bGoOn;
    });
    const bool bOk = step();
    data.setProgressCallback(saved);
    pReporter->stepFinished(eStep, bOk);
    if (bStop)
        bStopped = true;
    return bOk;
}

struct BuildOutcome
{
    bool built = false;
    bool processed = false;
    bool stopped = false;
    QString message;
    MapVolumeGrid grid;
    int firstSample = 0;
    int sampleSpan = 0;
};

// Grid, unprocessed volume and, unless in transmission, preparing and SAFT.
BuildOutcome buildAndProcess(MapData& data, const ConfigSettings& settings, double depthStart, double depthRange,
                             MapStepReporter* pReporter)
{
    BuildOutcome out;
    out.grid = MapVolumeGrid::compute(data.columns(), data.rows(), data.stepH(), data.stepV(), depthRange);
    MapOpener::sampleWindow(settings, depthStart, depthRange, data.sampleCount(), out.firstSample, out.sampleSpan);
    QString error;
    if (!out.grid.fitsMemory(Vantar::kMapMemoryLimit, &error)) {
        data.releaseVolumes();
        out.message = error;
        return out;
    }
    if (out.grid.dim2 < 1 || out.sampleSpan < 1) {
        data.releaseVolumes();
        out.message = MapOpener::tr("The depth window of the map lies outside its signals.");
        return out;
    }
    // Only what this volume and its SAFT read of the signals is kept from here on.
    data.planSamples(out.firstSample, out.sampleSpan, out.grid.dim0, out.grid.dim1, out.grid.dim2, out.grid.pitchX,
                     out.grid.pitchY);
    if (!data.buildVolume(out.grid.dim0, out.grid.dim1, out.grid.dim2, out.grid.repH, out.grid.repV,
                          out.firstSample, out.sampleSpan)) {
        out.message = data.rereadFailed()
                          ? MapOpener::tr("The map's signal files could not be read again: they were changed, "
                                          "moved or removed since the map was opened.")
                          : MapOpener::tr("The map's volume could not be built: there is not enough memory.");
        return out;
    }
    out.built = true;
    if (settings.eTestingMethod == ConfigSettings::Transmission)
        return out;
    const double recordDepth = sampleToDepth(settings, data.sampleCount());
    const bool bPrepared =
        runStep(data, MapStep::Preparing, pReporter, out.stopped, [&] { return data.prepare(recordDepth); });
    if (!bPrepared) {
        out.message = out.stopped ? MapOpener::tr("Preparing the signals was stopped; the map is shown unprocessed.")
                      : data.rereadFailed()
                          ? MapOpener::tr("The map's signal files could not be read again: they were changed, "
                                          "moved or removed since the map was opened. The map is shown unprocessed.")
                          : MapOpener::tr("The signals could not be prepared for SAFT: there is not "
                                          "enough memory. The map is shown unprocessed.");
        return out;
    }
    out.processed = runStep(data, MapStep::Processing, pReporter, out.stopped,
                            [&] { return data.processSAFT(out.grid.pitchX, out.grid.pitchY); });
    if (!out.processed)
        out.message = out.stopped ? MapOpener::tr("SAFT processing was stopped; the map is shown unprocessed.")
                                  : MapOpener::tr("SAFT processing could not be done: there is not enough memory "
                                                  "or a parameter is unusable. The map is shown unprocessed.");
    return out;
}

} // namespace

MapStepReporter::~MapStepReporter() = default;

void MapStepReporter::stepStarted(MapStep, const QString&, const QString&) {}

bool MapStepReporter::stepProgress(int, int)
{
    return true;
}

void MapStepReporter::stepFinished(MapStep, bool) {}

QString MapOpener::stepTitle(MapStep eStep)
{
    return QCoreApplication::translate("MapData", kStepTexts[int(eStep)][0]);
}

QString MapOpener::stepLabel(MapStep eStep)
{
    return QCoreApplication::translate("MapData", kStepTexts[int(eStep)][1]);
}

int MapOpener::filterPeriod(const ConfigSettings& settings, int frequencyKHz)
{
    if (frequencyKHz <= 0)
        return 0;
    return int(std::floor(100.0 * settings.iSamplesPer10us / frequencyKHz + 0.5));
}

int MapOpener::layersForDepth(int depthMm)
{
    return MapVolumeGrid::layersFor(depthMm / 1000.0);
}

void MapOpener::sampleWindow(const ConfigSettings& settings, double depthStart, double depthRange, int sampleCount,
                             int& firstSample, int& sampleSpan)
{
    firstSample = depthToSample(settings, depthStart);
    int last = depthToSample(settings, depthStart + depthRange);
    if (last > sampleCount - 1)
        last = sampleCount - 1;
    const qint64 span = qint64(last) + 1 - firstSample;
    sampleSpan = (firstSample < 0 || firstSample >= sampleCount || span < 1) ? 0 : int(span);
}

SAFTsettings MapOpener::derivedSettings(const ConfigSettings& settings, double depthStart, double depthRange,
                                        const SAFTsettings& current)
{
    SAFTsettings s = current;
    s.depth = int(std::floor(1000.0 * (depthStart + depthRange) + 0.5));
    s.frequency = settings.iFrequency;
    s.bandwidth = settings.iInputFilter != 0 ? 100 : 50;
    s.velocity = settings.iVelocity / 1000.0;
    s.tcg = settings.tvg.iOn > 0 ? 15 : 0;
    return s;
}

MapOpenResult MapOpener::open(MapData& data, const MapOpenRequest& request, MapStepReporter* pReporter)
{
    MapOpenResult r;
    const QFileInfo configInfo(request.configPath);
    r.folder = configInfo.absolutePath();
    auto fail = [&](const QString& message) {
        data.clear();
        r.loaded = false;
        r.processed = false;
        r.message = message;
        return r;
    };

    QString error;
    if (!MapConfig::read(request.configPath, r.config, &error))
        return fail(tr("The map cannot be opened: %1").arg(error));
    r.config.validateGeometry();
    const ConfigSettings& settings = r.config.settings;
    r.transmission = settings.eTestingMethod == ConfigSettings::Transmission;

    if (!MapFolder::scan(r.folder, r.scan, &error))
        return fail(error);
    if (!r.scan.positions.empty())
        r.firstPosition = r.scan.positions.begin()->first;
    r.lengthX = r.config.stepH * r.scan.columns / 1000.0;
    r.lengthY = r.config.stepV * r.scan.rows / 1000.0;

    // Stored viewing settings, when they belong to this map: valid, a usable depth, and a
    // stored volume of the size this map gets with them.
    r.depthStart = sampleToDepth(settings, settings.iWindowStart);
    SAFTsettings storedSaft;
    MapViewState storedState;
    bool bStored = false;
    if (request.useStoredSettings) {
        const QString path = MapStoredFiles::viewSettingsPath(r.folder);
        StoredFileStatus eStatus;
        if (request.storedFiles) {
            eStatus = request.storedFiles->readViewSettings(r.folder);
            storedSaft = request.storedFiles->savedSAFT();
            storedState = request.storedFiles->savedState();
        } else {
            eStatus = readViewSettingsFile(path, storedSaft, storedState);
        }
        if (eStatus == StoredFileStatus::Loaded && acceptsDepth(storedSaft.depth)) {
            const MapVolumeGrid g = MapVolumeGrid::compute(r.scan.columns, r.scan.rows, r.config.stepH,
                                                           r.config.stepV, storedSaft.depth / 1000.0);
            bStored = storedState.fitsVolume(g.dim0, g.dim1, g.dim2);
        }
        if (!bStored && request.storedFiles && request.storedFiles->hasStoredViewSettings())
            request.storedFiles->forgetStoredViewSettings();
    }
    if (bStored) {
        r.saft = storedSaft;
        r.savedState = storedState;
        r.depthRange = storedSaft.depth / 1000.0;
    } else {
        r.depthRange = sampleToDepth(settings, settings.iWindowEnd - settings.iWindowStart);
        r.saft = derivedSettings(settings, r.depthStart, r.depthRange, request.current);
    }
    if (request.overrides.any()) {
        request.overrides.applyTo(r.saft);
        if (request.overrides.depth) {
            if (!acceptsDepth(r.saft.depth))
                return fail(tr("A SAFT depth of %1 mm gives fewer than 2 depth layers; the map is not opened.")
                                .arg(r.saft.depth));
            r.depthRange = r.saft.depth / 1000.0;
            // Slices, limits and box of a stored state only mean something in its own volume.
            const MapVolumeGrid g = MapVolumeGrid::compute(r.scan.columns, r.scan.rows, r.config.stepH,
                                                           r.config.stepV, r.depthRange);
            if (bStored && !storedState.fitsVolume(g.dim0, g.dim1, g.dim2)) {
                bStored = false;
                r.savedState = MapViewState();
            }
        }
        if (!(r.saft.velocity > 0) || !std::isfinite(r.saft.velocity))
            return fail(tr("A velocity of %1 mm/µs cannot be used; the map is not opened.").arg(r.saft.velocity));
    }
    r.savedSettings = bStored;
    data.setSAFTsettings(r.saft);
    data.setFilterPeriod(filterPeriod(settings, r.saft.frequency));
    data.setSteps(r.config.stepH, r.config.stepV);
    data.setPositionCount(r.scan.columns, r.scan.rows);

    if (r.scan.columns <= 0 || r.scan.rows <= 0 || r.firstPosition.i < 1 || r.firstPosition.j < 1)
        return fail(tr("The folder \"%1\" holds no signal files (i_j.raw) of the map.").arg(r.folder));

    {
        // Reading keeps only what the volume and SAFT will read of the signals.
        const MapVolumeGrid g = MapVolumeGrid::compute(data.columns(), data.rows(), data.stepH(), data.stepV(),
                                                       r.depthRange);
        int firstSample = 0;
        int sampleSpan = 0;
        sampleWindow(settings, r.depthStart, r.depthRange, data.sampleCount(), firstSample, sampleSpan);
        data.planSamples(firstSample, sampleSpan, g.dim0, g.dim1, g.dim2, g.pitchX, g.pitchY);
    }
    const bool bRead = runStep(data, MapStep::Reading, pReporter, r.stopped,
                               [&] { return data.readSignals(r.scan.positions, &r.failedFiles); });
    if (!bRead) {
        if (r.stopped)
            return fail(tr("Reading the map was stopped."));
        if (r.failedFiles.isEmpty())
            return fail(tr("The map's signals could not be read: there is not enough memory."));
        return fail(tr("%n signal file(s) of the map could not be read (missing, unreadable or shorter than "
                       "%1 samples), the first of them \"%2\"; the map is not shown.",
                       nullptr, int(r.failedFiles.size()))
                        .arg(data.sampleCount())
                        .arg(r.failedFiles.first()));
    }

    const BuildOutcome built = buildAndProcess(data, settings, r.depthStart, r.depthRange, pReporter);
    r.grid = built.grid;
    r.firstSample = built.firstSample;
    r.sampleSpan = built.sampleSpan;
    r.stopped = r.stopped || built.stopped;
    if (!built.built) {
        const QString message = built.message;
        data.clear();
        r.message = message;
        return r;
    }
    r.loaded = true;

    if (request.storedFiles) {
        QString warning;
        const StoredFileStatus eComments = request.storedFiles->readComments(r.folder, &warning);
        if (eComments == StoredFileStatus::Unreadable || eComments == StoredFileStatus::Invalid)
            r.commentsWarning = warning;
    }

    r.processed = built.processed;
    if (r.transmission) {
        data.setViewingMode(RawView);
        r.message = tr("The map was recorded in transmission: it is shown unprocessed, SAFT does not apply.");
    } else if (r.processed) {
        data.setViewingMode(bStored ? storedState.ranges.viewingMode : ProcessedView);
    } else {
        data.setViewingMode(RawView);
        r.message = built.message;
    }

    QDateTime created = configInfo.birthTime();
    if (!created.isValid())
        created = configInfo.lastModified();
    r.createdText = created.toString(QStringLiteral("dd.MM.yy   hh:mm"));
    return r;
}

MapProcessResult MapOpener::reprocess(MapData& data, const ConfigSettings& settings, double depthStart,
                                      const SAFTsettings& saft, MapStepReporter* pReporter)
{
    MapProcessResult r;
    if (!acceptsDepth(saft.depth)) {
        r.message = tr("A SAFT depth of %1 mm gives fewer than 2 depth layers; the map is left as it was.")
                        .arg(saft.depth);
        return r;
    }
    if (!(saft.velocity > 0) || !std::isfinite(saft.velocity)) {
        r.message = tr("A velocity of %1 mm/µs cannot be used; the map is left as it was.").arg(saft.velocity);
        return r;
    }
    r.accepted = true;
    r.depthRange = saft.depth / 1000.0;
    const EScanProcessing eMode = data.viewingMode();
    data.setSAFTsettings(saft);
    data.setFilterPeriod(filterPeriod(settings, saft.frequency));
    const BuildOutcome built = buildAndProcess(data, settings, depthStart, r.depthRange, pReporter);
    r.grid = built.grid;
    r.firstSample = built.firstSample;
    r.sampleSpan = built.sampleSpan;
    r.volumeBuilt = built.built;
    r.processed = built.processed;
    r.stopped = built.stopped;
    r.message = built.message;
    if (!built.built)
        return r;
    if (settings.eTestingMethod == ConfigSettings::Transmission)
        r.message = tr("The map was recorded in transmission: it is shown unprocessed, SAFT does not apply.");
    // Without a processed volume the processed view would show nothing.
    data.setViewingMode(r.processed ? eMode : RawView);
    return r;
}
