// vantar-tool's batch commands, run as a user would run them, on our own generated data.

#include "ascan/ascanfile.h"
#include "ascan/ascangenerator.h"
#include "map/depthconversion.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runTool(const QStringList& args)
{
    QProcess tool;
    tool.start(QStringLiteral(VANTAR_BIN_DIR "/vantar-tool"), args);
    Run r;
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = tool.exitCode();
    r.out = QString::fromUtf8(tool.readAllStandardOutput());
    r.err = QString::fromUtf8(tool.readAllStandardError());
    return r;
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT

private slots:
    void exportAScanCsv();
    void exportAScanBadInput();
    void helpForEveryCommand();
};

void TestBatch::exportAScanCsv()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY2(generateAScans(dir.path(), 2, 7, &error), qPrintable(error));
    const QString bmp = dir.filePath(QStringLiteral("2.bmp"));
    const QString csv = dir.filePath(QStringLiteral("2.csv"));
    const Run r = runTool({QStringLiteral("export-ascan"), bmp, QStringLiteral("--csv"), csv});
    QCOMPARE(r.exitCode, 0);

    AScanRecord record;
    QVERIFY(loadAScanRecord(bmp, record, &error));
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QCOMPARE(lines.first(), QByteArray("sample,time_us,depth_m,amplitude"));
    QCOMPARE(lines.size() - 2, record.samples.size()); // header and the empty tail
    const double perUs = record.currentSettings.iSamplesPer10us / 10.0;
    for (int n : {0, 1, 777, int(record.samples.size()) - 1}) {
        const QList<QByteArray> cols = lines[n + 1].split(',');
        QCOMPARE(cols.size(), 4);
        QCOMPARE(cols[0].toInt(), n);
        QVERIFY(qAbs(cols[1].toDouble() - n / perUs) < 1e-3);
        QVERIFY(qAbs(cols[2].toDouble() - sampleToDepth(record.currentSettings, n)) < 1e-6);
        QCOMPARE(cols[3].toInt(), int(record.samples[n]));
    }
}

void TestBatch::exportAScanBadInput()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY(generateAScans(dir.path(), 1, 3, &error));
    const QString csv = dir.filePath(QStringLiteral("out.csv"));
    // An earlier table stays when the A-scan cannot be read.
    {
        QFile f(csv);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old\n");
    }
    QFile::remove(dir.filePath(QStringLiteral("1.raw")));
    Run r = runTool({QStringLiteral("export-ascan"), dir.filePath(QStringLiteral("1.bmp")),
                     QStringLiteral("--csv"), csv});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains(QLatin1String("1.bmp")));
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("old\n"));

    r = runTool({QStringLiteral("export-ascan"), dir.filePath(QStringLiteral("nothing.bmp")),
                 QStringLiteral("--csv"), csv});
    QCOMPARE(r.exitCode, 1);
    r = runTool({QStringLiteral("export-ascan"), QStringLiteral("--csv")});
    QCOMPARE(r.exitCode, 2);
}

void TestBatch::helpForEveryCommand()
{
    const Run list = runTool({QStringLiteral("--help")});
    QCOMPARE(list.exitCode, 0);
    const QStringList lines = list.out.split(QLatin1Char('\n'));
    int commands = 0;
    for (const QString& line : lines) {
        // Command lines are indented by two blanks; usage lines by more.
        if (!line.startsWith(QLatin1String("  ")) || line.startsWith(QLatin1String("   ")))
            continue;
        const QString name = line.trimmed().section(QLatin1Char(' '), 0, 0);
        const Run help = runTool({name, QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.contains(QLatin1String("SYNOPSIS")) && help.out.contains(QLatin1String("NAME")),
                 qPrintable(name));
        ++commands;
    }
    QVERIFY(commands >= 4);
}

QTEST_MAIN(TestBatch)
#include "tst_batch.moc"
