// Opens a generated map headless and writes PNG pictures of the map view's frames as they
// are drawn: C-, B- and D-scans with their rulers and cursor, a zoomed C-scan with a measured
// rectangle, the A-scan under the cursor in all six styles, the colour scale and the read-outs.

#include "map/mapdata.h"
#include "map/mapgenerator.h"
#include "map/mapopener.h"
#include "map/mapviewgeometry.h"
#include "mapview/ccolorscale.h"
#include "mapview/cscanogrammframe.h"
#include "mapview/cvectordrawframe.h"
#include "mapview/cwgtdisplaysdiff.h"
#include "mapview/cwgtdisplaysstd.h"
#include "mapview/scanimage.h"
#include "widgets/qscaleframe.h"

#include <QApplication>
#include <QDir>
#include <QImage>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kRuler = 44;

void setRuler(QScaleFrame& ruler, int iPosition, const QString& strName, const MapAxisScale& s, QSize size)
{
    ruler.setPosition(iPosition);
    ruler.resize(size);
    ruler.setScaleRect(QRect(QPoint(0, 0), size));
    ruler.setTickLength(6);
    ruler.setRange(s.start, s.visible);
    ruler.setTicks(0.0, s.step, s.step / 2);
    ruler.setName(strName);
    ruler.setUnit(QStringLiteral("m"));
}

bool save(const QImage& image, const QString& path)
{
    if (image.isNull() || !image.save(path, "PNG")) {
        std::fprintf(stderr, "vantar-mapshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: vantar-mapshots OUTDIR\n");
        return 2;
    }
    const QString out = args[1];
    QDir().mkpath(out + QStringLiteral("/map"));

    MapGeneratorOptions o;
    o.columns = 40;
    o.rows = 24;
    o.stepH = 10;
    o.stepV = 10;
    o.depth = 400.0;
    o.reflectors = {{120.0, 80.0, 150.0, 1.0}, {290.0, 170.0, 260.0, 0.8}, {330.0, 60.0, 90.0, 0.6}};
    QString error;
    if (!MapGenerator::write(out + QStringLiteral("/map"), o, &error)) {
        std::fprintf(stderr, "vantar-mapshots: %s\n", qPrintable(error));
        return 1;
    }
    MapData data;
    MapOpenRequest request;
    request.configPath = out + QStringLiteral("/map/") + o.name + QStringLiteral(".cfg");
    request.useStoredSettings = false;
    const MapOpenResult r = MapOpener::open(data, request);
    if (!r.loaded) {
        std::fprintf(stderr, "vantar-mapshots: %s\n", qPrintable(r.message));
        return 1;
    }

    MapViewGeometry g;
    g.setMap(r.scan.columns, r.scan.rows, r.config.stepH, r.config.stepV, r.depthStart, r.depthRange);
    g.setFrameSize(520, 300);
    g.fit();
    g.resetZoom();

    // The cursor on the strongest point of the volume shown.
    int bi = 0, bj = 0, bk = 0, best = -1;
    for (int i = 0; i < data.dim0(); ++i)
        for (int j = 0; j < data.dim1(); ++j)
            for (int k = 0; k < data.dim2(); ++k)
                if (data.voxel(i, j, k) > best) {
                    best = data.voxel(i, j, k);
                    bi = i, bj = j, bk = k;
                }
    std::printf("volume %d x %d x %d, maximum %d at (%d, %d, %d), %s\n", data.dim0(), data.dim1(), data.dim2(),
                best, bi, bj, bk, data.viewingMode() == RawView ? "unprocessed" : "SAFT");

    const int fw = g.frameWidth(), fh = g.frameHeight();
    ScanImage cImage, bImage, dImage;
    cImage.setPlane(data.sliceC(bk));
    bImage.setPlane(data.sliceB(bj));
    dImage.setPlane(data.sliceD(bi));
    cImage.setGeometry(fw, fh, g.imageWidth(), g.imageHeight());
    bImage.setGeometry(fw, fh, g.imageWidth(), g.imageDepth());
    dImage.setGeometry(fh, fh, g.imageDepth(), g.imageHeight());
    // Brightness brings the strongest echo to the top of the palette, as a user would set it.
    const int brightnessDb = best > 255 ? int(std::floor(20.0 * std::log10(255.0 / best))) : 0;
    const double gain = ScanImage::brightnessFactorFor(brightnessDb);
    for (ScanImage* s : {&cImage, &bImage, &dImage}) {
        s->setThreshold(5);
        s->setBrightness(gain);
    }

    QScaleFrame rulerX, rulerY, rulerZv, rulerZh;
    setRuler(rulerX, 1, QStringLiteral("X"), g.scaleX(), QSize(fw, kRuler));
    setRuler(rulerY, 0, QStringLiteral("Y"), g.scaleY(), QSize(kRuler, fh));
    setRuler(rulerZv, 0, QStringLiteral("Z"), g.scaleZ(), QSize(kRuler, fh));
    setRuler(rulerZh, 1, QStringLiteral("Z"), g.scaleZ(), QSize(fh, kRuler));

    const int px = g.pixelX(bi), py = g.pixelY(bj), pz = g.pixelZ(bk);
    CScanogrammFrame cFrame, bFrame, dFrame;
    cFrame.resize(fw, fh);
    bFrame.resize(fw, fh);
    dFrame.resize(fh, fh);
    cFrame.setImage(&cImage);
    bFrame.setImage(&bImage);
    dFrame.setImage(&dImage);
    cFrame.setCursorPixel(px, py);
    bFrame.setCursorPixel(px, pz);
    dFrame.setCursorPixel(pz, py);
    bool ok = save(cFrame.composedImage(&rulerY, &rulerX, kRuler), out + QStringLiteral("/cscan.png"));
    ok &= save(bFrame.composedImage(&rulerZv, &rulerX, kRuler), out + QStringLiteral("/bscan.png"));
    ok &= save(dFrame.composedImage(&rulerY, &rulerZh, kRuler), out + QStringLiteral("/dscan.png"));

    // Zoomed in three wheel steps about the reflector, with a measured box.
    g.setOffsetX(0);
    for (int step = 0; step < 3; ++step)
        g.zoom(1);
    g.setOffsetX(g.pixelX(bi) - fw / 2);
    g.setOffsetY(g.pixelY(bj) - fh / 2);
    cImage.setGeometry(fw, fh, g.imageWidth(), g.imageHeight());
    cFrame.setOffset(g.offsetX(), g.offsetY());
    cFrame.setMeasuring(1);
    cFrame.setFirstCorner(g.pixelX(bi - 3), g.pixelY(bj - 2), bi - 3, bj - 2);
    cFrame.setSecondCorner(g.pixelX(bi + 3), g.pixelY(bj + 2), bi + 3, bj + 2);
    setRuler(rulerX, 1, QStringLiteral("X"), g.scaleX(), QSize(fw, kRuler));
    setRuler(rulerY, 0, QStringLiteral("Y"), g.scaleY(), QSize(kRuler, fh));
    ok &= save(cFrame.composedImage(&rulerY, &rulerX, kRuler), out + QStringLiteral("/cscan_zoomed.png"));

    // The A-scan under the cursor in every style and along both axes.
    const std::span<const qint16> column = data.column(bi, bj);
    g.resetZoom();
    const MapAxisScale z = g.scaleZ();
    static const char* const kStyles[] = {"bipolar", "line", "bars"};
    for (int style = 0; style < 3; ++style) {
        for (int orientation = 0; orientation < 2; ++orientation) {
            CVectorDrawFrame a;
            a.resize(fh, fh);
            a.setStyle(style);
            a.setOrientation(orientation);
            if (style == 0) {
                a.setAmplitudeRange(-511, 511);
                a.setAmplitudeAxis(-100.0, 200.0, 0.0, 50.0);
            } else {
                a.setAmplitudeRange(0, 511);
                a.setAmplitudeAxis(0.0, 100.0, 0.0, 25.0);
            }
            a.setSignalAxis(z.start, z.visible, 0.0, z.step);
            a.setGain(gain);
            a.setSignal(column.data(), int(column.size()));
            a.setMarker(pz);
            const QString name = QStringLiteral("/ascan_%1_%2.png").arg(QLatin1String(kStyles[style]))
                                     .arg(orientation == 0 ? QStringLiteral("x") : QStringLiteral("y"));
            const QImage img = orientation == 1 ? a.composedImage(&rulerZv, nullptr, kRuler)
                                                : a.composedImage(nullptr, &rulerZh, kRuler);
            ok &= save(img, out + name);
        }
    }

    CColorScale colours;
    colours.resize(fh, 50);
    colours.fillPaletteStrip();
    colours.setValue(30);
    ok &= save(colours.grab().toImage(), out + QStringLiteral("/colourscale.png"));

    CWgtDisplaysStd readouts;
    readouts.resize(1000, 40);
    readouts.setX(g.metresX(px), g.positionNumberX(px));
    readouts.setY(g.metresY(py), g.positionNumberY(py));
    readouts.setZ(g.metresZ(pz));
    readouts.setAmplitude(MapViewGeometry::amplitudeDb(best, r.config.settings.iGain));
    ok &= save(readouts.grab().toImage(), out + QStringLiteral("/readouts_cursor.png"));
    CWgtDisplaysDiff measured;
    measured.resize(1000, 40);
    measured.setX(0.09, 0.06);
    measured.setY(0.06, 0.04);
    measured.setZ(0.14, 0.025);
    measured.setAmplitude(MapViewGeometry::amplitudeDb(best, r.config.settings.iGain));
    ok &= save(measured.grab().toImage(), out + QStringLiteral("/readouts_box.png"));
    return ok ? 0 : 1;
}
