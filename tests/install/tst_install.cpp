// The program as a user installs it: "cmake --install" into a scratch prefix lays out the
// programs, their files, the desktop entry, icon and map file type, and the installed programs
// find their files in share/vantar when started from elsewhere.

#include "map/mapgenerator.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QString& program, const QStringList& args, const QString& workingDir)
{
    QProcess p;
    p.setWorkingDirectory(workingDir);
    p.start(program, args);
    Run r;
    if (!p.waitForFinished(300000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void installedProgramsFindTheirFiles();
};

void TestInstall::installedProgramsFindTheirFiles()
{
    QTemporaryDir scratch;
    const QString prefix = scratch.filePath(QStringLiteral("prefix"));
    const Run install = run(QStringLiteral(VANTAR_CMAKE_COMMAND),
                            {"--install", QStringLiteral(VANTAR_BUILD_DIR), "--prefix", prefix}, scratch.path());
    QVERIFY2(install.exitCode == 0, qPrintable(install.out + install.err));
    const QDir p(prefix);
    for (const char* file : {"bin/vantar", "bin/vantar-tool", "share/vantar/vantar_ru.qm",
                             "share/vantar/helpVT_4.0_eng.htm", "share/vantar/helpVT_4.0_rus.htm",
                             "share/vantar/images/map_tab_en.png", "share/vantar/Norvik_logo_bw.bmp",
                             "share/vantar/norvik.ico", "share/applications/vantar.desktop",
                             "share/icons/hicolor/256x256/apps/vantar.png",
                             "share/icons/hicolor/48x48/apps/vantar.png", "share/mime/packages/vantar-map.xml"})
        QVERIFY2(QFile::exists(p.filePath(QLatin1String(file))), file);

    // The map file type is told by the instrument's signature where a map's configuration
    // file has it, and the desktop entry opens that type with the program.
    QXmlStreamReader xml(readAll(p.filePath(QStringLiteral("share/mime/packages/vantar-map.xml"))));
    QString type, magic;
    int offset = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("mime-type"))
            type = xml.attributes().value(QLatin1String("type")).toString();
        if (xml.name() == QLatin1String("match")) {
            magic = xml.attributes().value(QLatin1String("value")).toString();
            offset = xml.attributes().value(QLatin1String("offset")).toInt();
        }
    }
    MapGeneratorOptions o;
    o.columns = 3;
    o.rows = 2;
    const QByteArray config = MapGenerator::configuration(o);
    QVERIFY(!magic.isEmpty());
    QCOMPARE(config.mid(offset, magic.size()), magic.toLatin1());
    const QString desktop = QString::fromUtf8(readAll(p.filePath(QStringLiteral("share/applications/vantar.desktop"))));
    QVERIFY(desktop.contains(QStringLiteral("\nExec=vantar %F\n")));
    QVERIFY(desktop.contains(QStringLiteral("\nIcon=vantar\n")));
    QVERIFY2(desktop.contains(QStringLiteral("MimeType=") + type + u';'), qPrintable(type));

    // The installed programs run from another folder.
    const QString map = scratch.filePath(QStringLiteral("map"));
    QString error;
    QVERIFY2(MapGenerator::write(map, o, &error), qPrintable(error));
    const Run info = run(p.filePath(QStringLiteral("bin/vantar-tool")), {"info", map + "/map.cfg"}, scratch.path());
    QVERIFY2(info.exitCode == 0, qPrintable(info.err));
    QCOMPARE(QJsonDocument::fromJson(info.out.toUtf8()).object().value("kind").toString(), QStringLiteral("map"));

    const Run paths = run(p.filePath(QStringLiteral("bin/vantar")), {"--data-paths"}, scratch.path());
    QVERIFY2(paths.exitCode == 0, qPrintable(paths.err));
    const QString share = QDir(p.filePath(QStringLiteral("share/vantar"))).canonicalPath();
    for (const QString& line : {QStringLiteral("translation: ") + share + QStringLiteral("/vantar_ru.qm"),
                                QStringLiteral("help: ") + share + QStringLiteral("/helpVT_4.0_rus.htm"),
                                QStringLiteral("logo: ") + share + QStringLiteral("/Norvik_logo_bw.bmp"),
                                QStringLiteral("icon: ") + share + QStringLiteral("/norvik.ico")})
        QVERIFY2(paths.out.split(u'\n').contains(line), qPrintable(line + QStringLiteral("\n---\n") + paths.out));
    QVERIFY2(!paths.out.contains(QStringLiteral("not found")), qPrintable(paths.out));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
