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

    //! Writes "<name>.cfg", "<name>.lbv" and one i_j.raw per position into folder (made
    //! when missing). False with a message on a bad option or a failed write.
    static bool write(const QString& folder, const MapGeneratorOptions& options, QString* error = nullptr,
                      QStringList* written = nullptr);

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
