#include "app/cdatamanager.h"
#include "app/resourcepaths.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Where the files the program is supplied with were found, for checking an installation.
    if (QCoreApplication::arguments().contains(QLatin1String("--data-paths"))) {
        for (const QString& line : Vantar::resolvedDataFiles())
            std::printf("%s\n", qPrintable(line));
        return 0;
    }
    // Lets the desktop match the window with its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vantar"));
    CDataManager window;
    window.show();

    // Paths given on the command line (A-scans, maps' configuration files) are opened once
    // the window is up, each in its tab as if chosen with Open.
    const QStringList paths = QCoreApplication::arguments().mid(1);
    if (!paths.isEmpty())
        QTimer::singleShot(0, &window, [&window, paths] { window.openPaths(paths); });
    return app.exec();
}
