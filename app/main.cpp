#include "app/cdatamanager.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CDataManager window;
    window.show();

    // A path given on the command line (an A-scan or a map's configuration file) is opened
    // once the window is up, as if chosen with Open.
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) {
        const QString path = args.at(1);
        QTimer::singleShot(0, &window, [&window, path] { window.openPath(path); });
    }
    return app.exec();
}
