#include "tools/gallery/cgallerywindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    // A screenshot needs no display: fall back to the offscreen platform unless one is chosen.
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--screenshot" && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vantar-gallery"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the control widgets of Vantar 4.0."));
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Render the window into a PNG file and quit."),
                                        QStringLiteral("FILE"));
    parser.addOption(screenshot);
    parser.process(app);

    CGalleryWindow window;
    window.show();
    if (!parser.isSet(screenshot))
        return app.exec();

    QApplication::processEvents();
    const QString file = parser.value(screenshot);
    if (!window.grab().save(file, "PNG")) {
        std::fprintf(stderr, "vantar-gallery: cannot write %s\n", qPrintable(file));
        return 1;
    }
    std::printf("%s\n", qPrintable(file));
    return 0;
}
