#include "app/datawindow/cwindatatempl.h"
#include "app/datawindow/datasaver.h"
#include "app/platform/fakedriveplatform.h"
#include "ascan/ascangenerator.h"
#include "ascan/cascanwgt.h"
#include "ascan/scanwgt.h"
#include "ascan/clistwidgetheir.h"
#include "ascan/settingsfile.h"
#include "common/ascanfolder.h"
#include "common/modaldriver.h"
#include "map/mapstoredfiles.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <unistd.h>

using namespace Vantar;

namespace {

class RecordingObserver : public SaveObserver
{
public:
    explicit RecordingObserver(QList<bool> answers = {}) : m_answers(std::move(answers)) {}
    bool question(const QString& strText) override
    {
        questions << strText;
        return m_answers.isEmpty() ? false : m_answers.takeFirst();
    }
    void warning(const QString& strText) override { warnings << strText; }
    void loopStarted() override {}
    void progress(int iPercent) override { progressValues << iPercent; }

    QStringList questions;
    QStringList warnings;
    QList<int> progressValues;

private:
    QList<bool> m_answers;
};

// The map view's part, backed by the real stored-files record.
class StoredFilesWriter : public MapChangesWriter
{
public:
    int pendingChanges() const override
    {
        return (files.settingsChanged(saft, state) ? ViewSettingsWritten : 0)
             | (files.commentsChanged() ? CommentsWritten : 0);
    }
    bool writeChanges(const QString& strFolder, int& iWritten) override
    {
        ++calls;
        folders << strFolder;
        return files.saveChanges(strFolder, saft, state, iWritten);
    }
    MapStoredFiles files;
    SAFTsettings saft;
    MapViewState state;
    int calls = 0;
    QStringList folders;
};

using TestAScans::writeBytes;
using TestAScans::readAll;

QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + seed * 7) & 0xFF);
    return bytes;
}

QStringList leftovers(const QString& strFolder)
{
    return QDir(strFolder).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden);
}

// A map folder: configuration, label file, three signals, both stored files and a stranger.
struct MapFolder
{
    MapFolder()
    {
        const std::pair<const char*, int> files[] = {{"bridge.cfg", 293}, {"bridge.lbv", 50}, {"0_0.raw", 8000},
                                                     {"0_1.raw", 8000},   {"1_0.raw", 8000},  {"usr_map.set", 120},
                                                     {"map.cmm", 40}};
        QDir().mkpath(saved);
        QDir().mkpath(map);
        writeBytes(map + QStringLiteral("/notes.txt"), "not part of it");
        for (int i = 0; i < 7; ++i)
            writeBytes(map + u'/' + QLatin1String(files[i].first), pattern(files[i].second, i + 1));
    }
    bool save(DataSaver& saver, const QString& strName, const QString& strFolder)
    {
        return saver.saveCurrentMap(cfg, strName, strFolder, writer);
    }
    QTemporaryDir dir;
    QString map = dir.filePath(QStringLiteral("MAP_0001"));
    QString cfg = map + QStringLiteral("/bridge.cfg");
    QString saved = dir.filePath(QStringLiteral("saved"));
    StoredFilesWriter writer;
};

} // namespace

class TestSaving : public QObject
{
    Q_OBJECT

private slots:
    void copyNewFile();
    void failedReplacementKeepsOldCopy_data();
    void failedReplacementKeepsOldCopy();
    void mapToAnotherFolder();
    void mapStoredFilesAskFirst();
    void mapIntoItsOwnFolder();
    void mapFailsHalfway();
    void mapLinkOntoInstrument();
    void folderNames_data();
    void folderNames();
    void windowSavesAScans_data();
    void windowSavesAScans();
    void windowRefusesInstrument();
    void windowReportsFailure();
    void windowLinksAtTargets_data();
    void windowLinksAtTargets();
    void windowEscDuringSave();

private:
    struct Window;
};

// A data window over three generated A-scans, the first open; the instrument mounted at <tmp>/M7730.
struct TestSaving::Window
{
    explicit Window(const QString& strSource = QStringLiteral("src"), int iCount = 3)
        : src(dir.filePath(strSource)), count(iCount)
    {
    }
    QTemporaryDir dir;
    QString src;
    int count = 3;
    QString instrument = dir.filePath(QStringLiteral("M7730"));
    CWinDataTempl window;
    QString chosen;

    bool prepare()
    {
        const std::pair<const char*, const char*> sys[] = {
            {"dev", "8:16\n"},          {"device/vendor", "NORVIK  \n"}, {"device/model", "M7730 Storage\n"},
            {"device/type", "0\n"}, {"sdb1/dev", "8:17\n"},           {"sdb1/partition", "1\n"}};
        bool bMade = generateAScans(src, count, 11) && QDir().mkpath(instrument)
                  && QDir().mkpath(dir.filePath(QStringLiteral("sys/block/sdb/device")))
                  && QDir().mkpath(dir.filePath(QStringLiteral("sys/block/sdb/sdb1")));
        for (const auto& [path, text] : sys)
            bMade = bMade && writeBytes(dir.filePath(QStringLiteral("sys/block/sdb/") + QLatin1String(path)), text);
        if (!bMade)
            return false;
        const QByteArray mounts = "30 1 8:17 / " + QFile::encodeName(instrument)
                                + " rw,relatime shared:1 - vfat /dev/sdb1 rw\n";
        window.setDrivePlatform(std::make_shared<FakeDrivePlatform>(dir.filePath(QStringLiteral("sys")), mounts));
        window.setDataMode(CWinDataTempl::AScanMode);
        window.setFolderChooser([this](QWidget*, const QString&, const QString&) { return chosen; });
        window.show();
        window.openData(src + QStringLiteral("/1.bmp"), src);
        return window.ascanView() && window.ascanView()->selectedFiles().size() == 1;
    }
    QToolButton* saveButton() { return window.findChild<QToolButton*>(QStringLiteral("tbtn_save")); }
    QStringList copied(const QString& strFolder) const { return QDir(strFolder).entryList(QDir::Files, QDir::Name); }
};

// Copied in chunks with its time; a missing source copies nothing; the same file is left alone.
void TestSaving::copyNewFile()
{
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("data/a.raw"));
    const QString dst = dir.filePath(QStringLiteral("out/a.raw"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("out"))) && QDir().mkpath(dir.filePath(QStringLiteral("data"))));
    const QByteArray bytes = pattern(3 * 1024 * 1024 + 17, 1);
    QVERIFY(writeBytes(src, bytes));
    QFile(src).setFileTime(QDateTime(QDate(2019, 5, 3), QTime(10, 20, 30)), QFileDevice::FileModificationTime);
    RecordingObserver observer({true});
    DataSaver saver(observer);
    OverwriteAnswers answers;
    QVERIFY(saver.copyFileAsked(src, dst, answers));
    QCOMPARE(readAll(dst), bytes);
    QCOMPARE(QFileInfo(dst).lastModified(), QFileInfo(src).lastModified());
    QVERIFY(leftovers(dir.filePath(QStringLiteral("out"))).isEmpty());
    QVERIFY(!saver.copyFileAsked(dir.filePath(QStringLiteral("none.raw")), dir.filePath(QStringLiteral("out/none.raw")),
                                 answers));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("out/none.raw"))));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("data")), dir.filePath(QStringLiteral("alias"))));
    for (const char* same : {"data/a.raw", "alias/a.raw", "data/../data/a.raw"})
        QVERIFY(saver.copyFileAsked(src, dir.filePath(QLatin1String(same)), answers));
    QVERIFY(observer.questions.isEmpty());
    QCOMPARE(readAll(src), bytes);
}

void TestSaving::failedReplacementKeepsOldCopy_data()
{
    QTest::addColumn<int>("obstacle");
    QTest::addColumn<QString>("warning");
    QTest::newRow("a folder in the file's place") << 1 << QStringLiteral("Couldn't delete file \"%1\"!");
    QTest::newRow("read-only folder") << 2 << QString();
}

// A copy that cannot be completed leaves the earlier copy, the source and no part file.
void TestSaving::failedReplacementKeepsOldCopy()
{
    QFETCH(int, obstacle);
    QFETCH(QString, warning);
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("big.raw"));
    const QString out = dir.filePath(QStringLiteral("out"));
    const QString dst = out + QStringLiteral("/big.raw");
    const QString kept = obstacle == 1 ? dst + QStringLiteral("/inside") : dst;
    QVERIFY(QDir().mkpath(QFileInfo(kept).path()));
    QVERIFY(writeBytes(src, pattern(3 * 1024 * 1024, 2)));
    QVERIFY(writeBytes(kept, "earlier copy"));
    RecordingObserver observer({true});
    DataSaver saver(observer);
    if (obstacle == 2) {
        if (::geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        QFile::setPermissions(out, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    OverwriteAnswers answers;
    const bool copied = saver.copyFileAsked(src, dst, answers);
    QFile::setPermissions(out, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!copied);
    QCOMPARE(readAll(kept), QByteArray("earlier copy"));
    QCOMPARE(readAll(src), pattern(3 * 1024 * 1024, 2));
    QVERIFY(leftovers(out).isEmpty());
    QCOMPARE(observer.warnings, warning.isEmpty() ? QStringList() : QStringList{warning.arg(dst)});
}

void TestSaving::mapToAnotherFolder()
{
    MapFolder m;
    QVERIFY(QFile::link(m.map + QStringLiteral("/0_0.raw"), m.map + QStringLiteral("/9_9.raw")));
    RecordingObserver observer;
    DataSaver saver(observer);
    // A name that would leave the saving folder falls back to the map's own.
    QVERIFY(m.save(saver, QStringLiteral(".."), m.saved + u'/'));
    const QString dest = m.saved + QStringLiteral("/MAP_0001");
    QCOMPARE(m.writer.folders, QStringList{dest});
    QCOMPARE(QDir(dest).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             QStringList({"0_0.raw", "0_1.raw", "1_0.raw", "bridge.cfg", "bridge.lbv", "map.cmm", "usr_map.set"}));
    for (const QString& name : QDir(dest).entryList(QDir::Files))
        QCOMPARE(readAll(dest + u'/' + name), readAll(m.map + u'/' + name));
    QCOMPARE(observer.progressValues, QList<int>({0, 14, 29, 43, 57, 71, 86, 100}));
    QCOMPARE(QDir(m.saved).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"MAP_0001"});
}

// A stored file at the target is asked about first; Yes also replaces a link, not its target.
void TestSaving::mapStoredFilesAskFirst()
{
    MapFolder m;
    const QString dest = m.saved + QStringLiteral("/Weld");
    QVERIFY(QDir().mkpath(dest));
    QVERIFY(writeBytes(m.dir.filePath(QStringLiteral("other.cmm")), "other comments"));
    QVERIFY(QFile::link(m.dir.filePath(QStringLiteral("other.cmm")), dest + QStringLiteral("/map.cmm")));
    m.writer.files.setComments(QStringLiteral("new"));
    for (bool yes : {false, true}) {
        QVERIFY(writeBytes(dest + QStringLiteral("/0_0.raw"), "old signal"));
        RecordingObserver observer({yes});
        DataSaver saver(observer);
        QCOMPARE(m.save(saver, QStringLiteral("Weld"), m.saved), yes);
        QCOMPARE(observer.questions, QStringList{DataSaver::overwriteText(dest + QStringLiteral("/map.cmm"))});
        QCOMPARE(m.writer.calls, yes ? 1 : 0);
        QCOMPARE(readAll(dest + QStringLiteral("/0_0.raw")), yes ? pattern(8000, 3) : QByteArray("old signal"));
        QCOMPARE(QFileInfo(dest + QStringLiteral("/map.cmm")).isSymLink(), !yes);
    }
    QCOMPARE(readAll(m.dir.filePath(QStringLiteral("other.cmm"))), QByteArray("other comments"));
    MapStoredFiles back;
    QCOMPARE(back.readComments(dest), StoredFileStatus::Loaded);
    QCOMPARE(back.comments(), QStringLiteral("new"));
    QCOMPARE(readAll(dest + QStringLiteral("/usr_map.set")), readAll(m.map + QStringLiteral("/usr_map.set")));
    QCOMPARE(readAll(m.map + QStringLiteral("/map.cmm")), pattern(40, 7));
}

void TestSaving::mapIntoItsOwnFolder()
{
    MapFolder m;
    QVERIFY(QFile::link(m.dir.path(), m.dir.filePath(QStringLiteral("up"))));
    RecordingObserver observer;
    DataSaver saver(observer);
    // Unchanged: a success, nothing written; through a link, changed comments written in place.
    QVERIFY(m.save(saver, QStringLiteral("MAP_0001"), m.dir.path()));
    m.writer.files.setComments(QStringLiteral("in place"));
    QVERIFY(m.save(saver, QStringLiteral("MAP_0001"), m.dir.filePath(QStringLiteral("up"))));
    QCOMPARE(m.writer.calls, 2);
    QVERIFY(observer.questions.isEmpty());
    MapStoredFiles back;
    QCOMPARE(back.readComments(m.map), StoredFileStatus::Loaded);
    QCOMPARE(back.comments(), QStringLiteral("in place"));
    QCOMPARE(readAll(m.map + QStringLiteral("/0_0.raw")), pattern(8000, 3));
    // Into a folder inside itself: refused.
    QVERIFY(!m.save(saver, QStringLiteral("copy"), m.map));
    QVERIFY(!QFileInfo::exists(m.map + QStringLiteral("/copy")));
    QCOMPARE(m.writer.calls, 2);
    // A map whose configuration file is gone is not "saved" by copying nothing.
    QVERIFY(QFile::remove(m.cfg));
    QVERIFY(!m.save(saver, QStringLiteral("copy"), m.dir.path()));
    QCOMPARE(observer.warnings, QStringList{DataSaver::notFoundText(m.cfg)});
    QCOMPARE(m.writer.calls, 2);
}

void TestSaving::mapFailsHalfway()
{
    MapFolder m;
    const QString dest = m.saved + QStringLiteral("/M");
    QVERIFY(QDir().mkpath(dest));
    QVERIFY(writeBytes(dest + QStringLiteral("/1_0.raw"), "earlier copy"));
    RecordingObserver observer({true});
    DataSaver saver(observer);
    saver.setChunkCheck([](const QString& strTo, qint64) { return !strTo.endsWith(QStringLiteral("1_0.raw")); });
    QVERIFY(!m.save(saver, QStringLiteral("M"), m.saved));
    QCOMPARE(QDir(dest).entryList(QDir::Files | QDir::Hidden, QDir::Name), QStringList({"0_0.raw", "0_1.raw", "1_0.raw"}));
    QCOMPARE(readAll(dest + QStringLiteral("/1_0.raw")), QByteArray("earlier copy"));
    QCOMPARE(readAll(m.map + QStringLiteral("/1_0.raw")), pattern(8000, 5));
    QCOMPARE(observer.progressValues, QList<int>({0, 14, 29}));
}

void TestSaving::mapLinkOntoInstrument()
{
    MapFolder m;
    const QString instrument = m.dir.filePath(QStringLiteral("M7730"));
    QVERIFY(QDir().mkpath(instrument + QStringLiteral("/maps")));
    QVERIFY(QFile::link(instrument + QStringLiteral("/maps"), m.saved + QStringLiteral("/Weld")));
    DriveTable drives;
    drives.disks << PlatformDisk{QStringLiteral("sdb"), QByteArray(40, '\0') + QByteArray("NORVIK\0M7730\0", 13)};
    drives.volumes << PlatformVolume{instrument, 0};
    RecordingObserver observer;
    DataSaver saver(observer, drives);
    QVERIFY(!m.save(saver, QStringLiteral("Weld"), m.saved));
    QCOMPARE(observer.warnings, QStringList{QStringLiteral("Data couldn't be saved to the device!")});
    QVERIFY(QDir(instrument + QStringLiteral("/maps")).isEmpty());
    QCOMPARE(m.writer.calls, 0);
}

void TestSaving::folderNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("expected");
    QTest::newRow("climbing") << "../../etc" << "MAP_1" << "_.._etc";
    QTest::newRow("separators") << "a/b\\c" << "MAP_1" << "a_b_c";
    QTest::newRow("control") << QStringLiteral("we\x01ld\t\n") << "MAP_1" << "weld";
    QTest::newRow("refused by media") << "x:y*?<>|\"" << "MAP_1" << "x_y______";
    QTest::newRow("hidden") << ".secret" << "MAP_1" << "secret";
    QTest::newRow("trailing dots") << "name. . " << "MAP_1" << "name";
    QTest::newRow("only blanks") << "  \x02 " << "MAP_1" << "MAP_1";
    QTest::newRow("no fallback") << "." << "" << "";
    QTest::newRow("cyrillic") << QStringLiteral("Мост 7") << "MAP_1" << QStringLiteral("Мост 7");
}

void TestSaving::folderNames()
{
    QFETCH(QString, name);
    QFETCH(QString, fallback);
    QFETCH(QString, expected);
    QCOMPARE(cleanFolderName(name, fallback), expected);
}

void TestSaving::windowSavesAScans_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::newRow("plain") << "src" << "saved/day one";
    // Where a backslash is a character of a name, such folders are used as they are named.
    QTest::newRow("backslash in names") << "scans\\2024" << "saved\\copy";
}

void TestSaving::windowSavesAScans()
{
    QFETCH(QString, source);
    QFETCH(QString, target);
    Window w(source);
    QVERIFY(w.prepare());
    const QString out = w.dir.filePath(target);
    w.chosen = out;
    {
        ModalDriver driver({QMessageBox::Ok});
        QTest::mouseClick(w.saveButton(), Qt::LeftButton);
        QVERIFY(driver.seen().isEmpty());
    }
    QCOMPARE(w.copied(out), QStringList({"1.bmp", "1.raw"}));
    QCOMPARE(readAll(out + QStringLiteral("/1.raw")), readAll(w.src + QStringLiteral("/1.raw")));
    QCOMPARE(QDir(w.dir.path()).entryList({QStringLiteral("saved*")}, QDir::Dirs), QStringList{target.section(u'/', 0, 0)});
    QCOMPARE(w.window.savingDir(), out + u'/');
    QCOMPARE(w.window.workingDir(), out);
    QCOMPARE(w.window.ascanView()->selectedFiles(), QStringList{out + QStringLiteral("/1.bmp")});
    // A selected A-scan that is gone is not "saved" by copying nothing.
    QVERIFY(QFile::remove(out + QStringLiteral("/1.bmp")));
    w.chosen = w.dir.filePath(QStringLiteral("again"));
    ModalDriver gone({QMessageBox::Ok});
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QCOMPARE(gone.texts(), QStringList({DataSaver::notFoundText(out + QStringLiteral("/1.bmp")), DataSaver::saveFailedText()}));
}

void TestSaving::windowRefusesInstrument()
{
    Window w;
    QVERIFY(w.prepare());
    w.window.setSavingDir(QStringLiteral("/earlier/"));
    // Typed in other letters and reached below the mount point: refused all the same.
    for (const QString& folder : {w.instrument + QStringLiteral("/maps/new"),
                                  QString(w.instrument).replace(QStringLiteral("M7730"), QStringLiteral("m7730"))}) {
        w.chosen = folder;
        ModalDriver driver({QMessageBox::Ok});
        QTest::mouseClick(w.saveButton(), Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("Data couldn't be saved to the device!")});
    }
    QVERIFY(QDir(w.instrument).isEmpty());
    QCOMPARE(w.window.savingDir(), QStringLiteral("/earlier/"));
    QCOMPARE(w.window.workingDir(), w.src);
}

void TestSaving::windowReportsFailure()
{
    Window w;
    QVERIFY(w.prepare());
    const QString out = w.dir.filePath(QStringLiteral("saved"));
    QVERIFY(QDir().mkpath(out));
    QVERIFY(writeBytes(out + QStringLiteral("/1.bmp"), "earlier copy"));
    w.chosen = out;
    {
        ModalDriver driver({QMessageBox::No, QMessageBox::Ok});
        QTest::mouseClick(w.saveButton(), Qt::LeftButton);
        QCOMPARE(driver.texts(), QStringList({DataSaver::overwriteText(out + QStringLiteral("/1.bmp")),
                                              QStringLiteral("Unable to save data!")}));
    }
    QCOMPARE(readAll(out + QStringLiteral("/1.bmp")), QByteArray("earlier copy"));
    QVERIFY(!QFileInfo::exists(out + QStringLiteral("/1.raw")));
    QCOMPARE(w.window.workingDir(), w.src);
}

void TestSaving::windowLinksAtTargets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("onInstrument");
    QTest::addColumn<bool>("edited");
    QTest::newRow("copied signal, link onto the instrument") << "1.raw" << true << false;
    QTest::newRow("edited settings, link onto the instrument") << "1.sss" << true << true;
    QTest::newRow("copied signal, link elsewhere") << "1.raw" << false << false;
    QTest::newRow("edited settings, link elsewhere") << "1.sss" << false << true;
}

// A link where a saved file goes: onto the instrument refused; elsewhere replaced, target kept.
void TestSaving::windowLinksAtTargets()
{
    QFETCH(QString, name);
    QFETCH(bool, onInstrument);
    QFETCH(bool, edited);
    Window w;
    QVERIFY(w.prepare());
    if (edited)
        QTest::mouseClick(w.window.ascanView()->display()->findChild<QPushButton*>(QStringLiteral("btn_signalType")),
                          Qt::LeftButton);
    QCOMPARE(w.window.ascanView()->isEdited(), edited);
    const QString out = w.dir.filePath(QStringLiteral("saved"));
    const QString elsewhere = w.dir.filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(out) && QDir().mkpath(elsewhere));
    const QString target = (onInstrument ? w.instrument : elsewhere) + u'/' + name;
    QVERIFY(writeBytes(target, "the file the link leads to"));
    QVERIFY(QFile::link(target, out + u'/' + name));
    w.chosen = out;
    ModalDriver driver({QMessageBox::Yes, QMessageBox::Ok});
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    QCOMPARE(readAll(target), QByteArray("the file the link leads to"));
    if (onInstrument) {
        QCOMPARE(driver.texts(), QStringList({DataSaver::deviceRefusedText(), DataSaver::saveFailedText()}));
        QVERIFY(QFileInfo(out + u'/' + name).isSymLink());
        QCOMPARE(w.window.workingDir(), w.src);
    } else {
        QCOMPARE(driver.texts(), QStringList{DataSaver::overwriteText(out + u'/' + name)});
        QVERIFY(!QFileInfo(out + u'/' + name).isSymLink());
        if (edited) {
            ConfigSettings back;
            QVERIFY(readConfigFile(out + u'/' + name, back));
        } else {
            QCOMPARE(readAll(out + u'/' + name), readAll(w.src + u'/' + name));
        }
        QCOMPARE(w.window.workingDir(), out);
    }
    QVERIFY(leftovers(out).isEmpty());
}

// Esc and closing during a long save leave its dialog in place; the save runs to its end.
void TestSaving::windowEscDuringSave()
{
    Window w(QStringLiteral("src"), 40);
    QVERIFY(w.prepare());
    CListWidgetHeir* list = w.window.ascanView()->fileList();
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    const QString out = w.dir.filePath(QStringLiteral("saved"));
    w.chosen = out;
    bool bTried = false;
    bool bStillShown = false;
    QTimer timer;
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, &w.window, [&] {
        auto* dialog = w.window.findChild<QDialog*>(QStringLiteral("dlg_infoSave"));
        if (bTried || !dialog || !dialog->isVisible())
            return;
        bTried = true;
        QTest::keyClick(dialog, Qt::Key_Escape);
        dialog->close();
        bStillShown = dialog->isVisible() && QApplication::activeModalWidget() == dialog;
    });
    timer.start();
    ModalDriver driver({QMessageBox::Ok});
    QTest::mouseClick(w.saveButton(), Qt::LeftButton);
    timer.stop();
    QVERIFY(bTried);
    QVERIFY(bStillShown);
    QVERIFY(driver.seen().isEmpty());
    QCOMPARE(w.copied(out).size(), 80);
    QVERIFY(!w.window.findChild<QDialog*>(QStringLiteral("dlg_infoSave")));
}

QTEST_MAIN(TestSaving)
#include "tst_saving.moc"
