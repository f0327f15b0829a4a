// Takes the screenshots that the help pages show: the main window on both tabs with generated
// data and the map settings window, once per interface language.

#include "app/cdatamanager.h"
#include "app/datawindow/cwindatatempl.h"
#include "ascan/ascangenerator.h"
#include "map/mapgenerator.h"
#include "mapview/cmapscans.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>

#include <cstdio>

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

bool save(const QImage& image, const QString& folder, const QString& name)
{
    const QString path = QDir(folder).filePath(name);
    if (image.isNull() || !image.save(path, "PNG")) {
        std::fprintf(stderr, "vantar-helpshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QWidget* topLevelNamed(const QString& name)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    return nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's preferences of this run go to a scratch folder, never the user's.
    QTemporaryDir scratch;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("config"))));
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantar-helpshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    // The demo data: realistic signals, the map opening on its stored view that shows every
    // reflector, with the A-scan under the cursor on the first one.
    MapGeneratorOptions map;
    map.name = QStringLiteral("weld");
    map.title = QStringLiteral("Column C4");
    map.mapName = QStringLiteral("Column C4");
    map.columns = 30;
    map.rows = 20;
    map.reflectors = {{80, 60, 150, 1.0}, {200, 120, 260, 1.0}, {150, 150, 380, 1.0}};
    map = MapGenerator::realistic(map);
    const QString mapFolder = scratch.filePath(QStringLiteral("map"));
    const QString ascanFolder = scratch.filePath(QStringLiteral("ascans"));
    QString error;
    if (!MapGenerator::write(mapFolder, map, &error)
        || !MapGenerator::writeViewState(mapFolder, map, map.reflectors.front(), true, &error)
        || !generateAScans(ascanFolder, 8, 7, &error, {}, AScanMaterial::realistic())) {
        std::fprintf(stderr, "vantar-helpshots: %s\n", qPrintable(error));
        return 1;
    }

    bool ok = true;
    for (ECurrentLanguage lang : {Russian, English}) {
        const QString suffix = lang == Russian ? QStringLiteral("_ru.png") : QStringLiteral("_en.png");
        CDataManager window;
        emit window.mapWindow()->changeLanguage(lang);
        window.show();
        settle();
        window.openPath(QDir(ascanFolder).filePath(QStringLiteral("5.bmp")));
        window.openPath(QDir(mapFolder).filePath(QStringLiteral("weld.cfg")));
        settle();

        window.tabs()->setCurrentIndex(1);
        settle();
        ok &= save(window.grab().toImage(), out, QStringLiteral("map_tab") + suffix);
        if (lang == English)
            ok &= save(window.mapWindow()->grab(QRect(0, 0, 1020, 60)).toImage(), out, QStringLiteral("toolbar.png"));

        window.tabs()->setCurrentIndex(0);
        settle();
        ok &= save(window.grab().toImage(), out, QStringLiteral("ascan_tab") + suffix);

        if (CMapScans* view = window.mapWindow()->mapView()) {
            view->showSettingsWindow();
            settle();
            if (QWidget* settings = topLevelNamed(QStringLiteral("CMapSettings")))
                ok &= save(settings->grab().toImage(), out, QStringLiteral("map_settings") + suffix);
        }
    }
    return ok ? 0 : 1;
}
