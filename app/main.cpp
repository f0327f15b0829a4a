#include "app/cdatamanager.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CDataManager window;
    window.show();

    // Paths given on the command line (A-scans, maps' configuration files) are opened once
    // the window is up, each in its tab as if chosen with Open.
    const QStringList paths = QCoreApplication::arguments().mid(1);
    if (!paths.isEmpty())
        QTimer::singleShot(0, &window, [&window, paths] { window.openPaths(paths); });
    return app.exec();
}
