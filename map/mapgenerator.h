#pragma once
// Writes map folders in the instrument's layouts with point reflectors at known places, so
// that tests, benchmarks and demos have maps whose reconstruction has a known answer.

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

//! A point reflector: position in mm (x across the columns, y across the rows, depth below
//! the surface) and a relative amplitude.
struct MapReflector
{
    double x = 0.0;
    double y = 0.0;
    double depth = 0.0;
    double amplitude = 1.0;
};

//! Options of a generated map.
struct MapGeneratorOptions
{
    QString name = QStringLiteral("map");              // base name of the .cfg and .lbv files
    QString title = QStringLiteral("Generated map");   // configuration title
    QString mapName = QStringLiteral("Generated map"); // map name
    int columns = 30;
    int rows = 20;
    int stepH = 10;          // mm
    int stepV = 10;          // mm
    double depth = 500.0;    // mm covered by the time base (sets iWindowEnd)
    int frequency = 50;      // probe frequency, kHz
    int velocity = 2600;     // m/s
    std::vector<MapReflector> reflectors;
    double echoAmplitude = 3000.0;   // samples, of a reflector of amplitude 1 straight below
    bool amplitudeFalloff = true;    // echoes fall with distance: × (200 + depth) / R
    double surfaceAmplitude = 8000.0; // near-surface signal, the same at every position
    double noise = 30.0;             // standard deviation of the noise, samples
    quint32 seed = 1;                // noise seed; each position gets its own stream from it
    bool newFormat = true;           // version 3.4 (map name at 229) or 3.3 (at 224)

    // What real signals of concrete carry besides the echoes; all off here, so the signals
    // are clean bursts over noise unless asked for (MapGenerator::realistic() turns them on).
    //! Attenuation, dB per metre of travel (down and back) at 50 kHz, growing in proportion
    //! to the frequency; applies to every echo.
    double attenuation = 0.0;
    //! Small scatterers per litre of material below and around the map: the structural
    //! backscatter (speckle), each one an echo on the same travel-time model as a reflector.
    double scatterers = 0.0;
    //! Amplitude of one scatterer relative to a reflector of amplitude 1 (standard deviation
    //! of a zero-mean Gaussian: scatterers reflect with either sign).
    double scatterAmplitude = 0.05;
    //! Depth of the back wall (the far side of the slab), mm; 0: none.
    double backWall = 0.0;
    //! Back-wall echo relative to a reflector of amplitude 1.
    double backWallAmplitude = 1.0;
    //! Standard deviation of the probe's coupling from position to position, dB; scales all
    //! that enters the probe at a position (near-surface signal, echoes, backscatter).
    double coupling = 0.0;
    //! Positions (i, j) whose signal file is not written.
    std::vector<std::pair<int, int>> missing;
    //! Positions whose signal file is written one byte short.
    std::vector<std::pair<int, int>> truncated;
};

//! Map folder writer.
class MapGenerator
{
    Q_DECLARE_TR_FUNCTIONS(MapGenerator)

public:
    //! Samples per µs of the generated maps (100 samples per 10 µs).
    static constexpr int kSamplesPerMicrosecond = 10;
    //! Sample of the surface echo: travel time 0 lies here.
    static constexpr int kSurfaceSample = 119;
    //! Distance added to every travel path, mm.
    static constexpr double kStandOff = 200.0;

    //! The options with every realistic ingredient on at the values the command line uses by
    //! default: attenuation, backscatter, a back wall beyond the time base and varying coupling.
    static MapGeneratorOptions realistic(MapGeneratorOptions options);

    //! Writes "<name>.cfg", "<name>.lbv" and one i_j.raw per position into folder (made
    //! when missing). False with a message on a bad option or a failed write.
    static bool write(const QString& folder, const MapGeneratorOptions& options, QString* error = nullptr,
                      QStringList* written = nullptr);

    //! Writes the map's "usr_map.set" (after write()): the SAFT parameters the program derives
    //! from the configuration, slices through the point at (x, y, depth) mm, layer limits mode
    //! over the whole volume when bLimits. False with a message when it cannot be written.
    static bool writeViewState(const QString& folder, const MapGeneratorOptions& options, const MapReflector& at,
                               bool bLimits, QString* error = nullptr);

    //! The configuration file's bytes.
    static QByteArray configuration(const MapGeneratorOptions& options);
    //! The 40000 samples of position (i, j), from 1.
    static std::vector<qint16> signal(const MapGeneratorOptions& options, int i, int j);
    //! Sample at which the echo of a reflector arrives at position (i, j):
    //! floor(2·(R − 200) / v · 10 + 0.5) + 119 with R the distance from the probe at
    //! ((i − 0.5)·stepH, (j − 0.5)·stepV) to (x, y, 200 + depth) and v in mm/µs.
    static int echoSample(const MapGeneratorOptions& options, const MapReflector& reflector, int i, int j);
    //! The time base end sample covering options.depth, within 640 … 40000.
    static int windowEnd(const MapGeneratorOptions& options);
};
