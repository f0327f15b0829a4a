// The map's stored files: "usr_map.set" and "map.cmm" against hand-built bytes, the checks on
// reading, damaged files left alone, writes that fail cleanly (for every file the program
// writes in place), change tracking and saving.

#include "ascan/ascanfile.h"
#include "ascan/settingsfile.h"
#include "map/mapcommentsfile.h"
#include "map/mapconfig.h"
#include "map/mapstoredfiles.h"
#include "map/mapviewstate.h"
#include "map/mapviewstatefile.h"

#include "common/bytes.h"
#include "common/filesizelimit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <functional>
#include <limits>

using StateMutator = std::function<void(SAFTsettings&, MapViewState&)>;
Q_DECLARE_METATYPE(StateMutator)
using FileReader = std::function<bool(const QString&)>;
Q_DECLARE_METATYPE(FileReader)
using FileWriter = std::function<bool(const QString&, QString*)>;
Q_DECLARE_METATYPE(FileWriter)

using TestBytes::appendBe;
using TestBytes::readAll;
using TestBytes::writeBytes;

namespace {

// A record pair with a different value in every field, all passing the checks.
void distinctValues(SAFTsettings& s, MapViewState& v)
{
    s = SAFTsettings{1234, 115, 75, 3.25, 17, false};
    v.brightness = -23;
    v.threshold = 64;
    v.limitsMode = true;
    v.measuringMode = 1;
    v.box = MapBox{3, 5, 7, 11, 13, 17};
    v.sliceX = 19;
    v.sliceY = 21;
    v.sliceZ = 200;
    v.ranges = MapViewRanges{RawView, 60, 40, 247, {2, 58}, {4, 39}, {6, 246}};
}

// The same values laid out by hand: int32 fields big-endian, flags and modes one byte.
const QByteArray kViewSettings = QByteArray::fromHex(
    "000004d2 00000073 0000004b 400a000000000000 00000011 00" // depth, frequency, bandwidth,
                                                              // velocity 3.25, tcg, filterSW
    "ffffffe9 00000040 01 01"                                 // brightness -23, threshold, limits,
                                                              // measuring
    "00000003 00000005 00000007 0000000b 0000000d 00000011"   // box
    "00000013 00000015 000000c8 01"                           // slices, raw view
    "0000003c 00000028 000000f7"                              // dimensions 60, 40, 247
    "00000002 0000003a 00000004 00000027 00000006 000000f6"); // ranges

// A consistent state over a 10 × 8 × 20 volume, the kind a map without measuring stores.
void plainValues(SAFTsettings& s, MapViewState& v)
{
    s = SAFTsettings();
    v = MapViewState();
    v.sliceX = 4;
    v.sliceY = 3;
    v.sliceZ = 9;
    v.ranges = MapViewRanges{ProcessedView, 10, 8, 20, {0, 9}, {0, 7}, {0, 19}};
}

QByteArray handBuiltComments(const QString& text)
{
    if (text.isNull())
        return QByteArray::fromHex("ffffffff");
    QByteArray b;
    appendBe(b, quint32(text.size() * 2), 4);
    for (QChar c : text)
        appendBe(b, c.unicode(), 2);
    return b;
}

} // namespace

class TestMapSettings : public QObject
{
    Q_OBJECT

private slots:
    void viewSettingsBytes();
    void viewSettingsChecks_data();
    void viewSettingsChecks();
    void commentsBytes_data();
    void commentsBytes();
    void storedFileRefused_data();
    void storedFileRefused();
    void writeFailuresKeepOldFile_data();
    void writeFailuresKeepOldFile();
    void storedSaveChangesWritesOnlyChanged_data();
    void storedSaveChangesWritesOnlyChanged();
    void storedSaveChangesReportsFailures();
    void pipesAreNotRead_data();
    void pipesAreNotRead();
};

void TestMapSettings::viewSettingsBytes()
{
    SAFTsettings s;
    MapViewState v;
    distinctValues(s, v);
    QTemporaryDir dir;
    const QString path = MapStoredFiles::viewSettingsPath(dir.path());
    QCOMPARE(path, dir.path() + QStringLiteral("/usr_map.set"));
    QVERIFY(writeBytes(path, QByteArray(500, 'x'))); // an older, longer file is replaced
    QString error = QStringLiteral("untouched");
    QVERIFY(writeViewSettingsFile(path, s, v, &error));
    QCOMPARE(error, QStringLiteral("untouched"));
    QCOMPARE(readAll(path).toHex(' '), kViewSettings.toHex(' '));
    MapStoredFiles files;
    QCOMPARE(files.readViewSettings(dir.path()), StoredFileStatus::Loaded);
    QVERIFY(files.hasStoredViewSettings());
    QVERIFY(files.savedSAFT() == s);
    QVERIFY(files.savedState() == v);
    QVERIFY(!files.settingsChanged(s, v));

    // Defaults: SAFT 500, 50, 100, 2.6, 0, true; everything else 0 and ProcessedView.
    QByteArray d = QByteArray::fromHex("000001f4 00000032 00000064 4004cccccccccccd 00000000 01");
    d.append(QByteArray(kViewSettingsFileSize - d.size(), '\0'));
    QCOMPARE(encodeViewSettingsFile(SAFTsettings(), MapViewState()).toHex(' '), d.toHex(' '));
}

void TestMapSettings::viewSettingsChecks_data()
{
    QTest::addColumn<StateMutator>("mutate");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<double>("velocity");

    auto row = [](const char* name, StateMutator m, bool ok, int f = 50, double vel = 2.6) {
        QTest::newRow(name) << m << ok << f << vel;
    };
    row("plain", [](SAFTsettings&, MapViewState&) {}, true);
    // MapViewRanges
    row("range first == last", [](SAFTsettings&, MapViewState& v) { v.ranges.range1 = {3, 3}; }, false);
    row("range last == dim", [](SAFTsettings&, MapViewState& v) { v.ranges.range0 = {0, 10}; }, false);
    row("range first negative", [](SAFTsettings&, MapViewState& v) { v.ranges.range0 = {-1, 5}; }, false);
    row("dim 0", [](SAFTsettings&, MapViewState& v) { v.ranges.dim1 = 0; }, false);
    // SAFT record
    row("depth 35000", [](SAFTsettings& s, MapViewState&) { s.depth = 35000; }, true);
    row("depth -1 refused", [](SAFTsettings& s, MapViewState&) { s.depth = -1; }, false);
    row("depth 35001 refused", [](SAFTsettings& s, MapViewState&) { s.depth = 35001; }, false);
    row("frequency 250", [](SAFTsettings& s, MapViewState&) { s.frequency = 250; }, true, 250);
    row("frequency 24 becomes 50", [](SAFTsettings& s, MapViewState&) { s.frequency = 24; }, true, 50);
    row("frequency 251 becomes 50", [](SAFTsettings& s, MapViewState&) { s.frequency = 251; }, true, 50);
    row("bandwidth 25", [](SAFTsettings& s, MapViewState&) { s.bandwidth = 25; }, true);
    row("bandwidth 60", [](SAFTsettings& s, MapViewState&) { s.bandwidth = 60; }, false);
    row("bandwidth 125", [](SAFTsettings& s, MapViewState&) { s.bandwidth = 125; }, false);
    row("velocity 15", [](SAFTsettings& s, MapViewState&) { s.velocity = 15.0; }, true, 50, 15.0);
    row("velocity 0.3 becomes 2.6", [](SAFTsettings& s, MapViewState&) { s.velocity = 0.3; }, true);
    row("velocity 15.01 becomes 2.6", [](SAFTsettings& s, MapViewState&) { s.velocity = 15.01; }, true);
    row("velocity NaN becomes 2.6",
        [](SAFTsettings& s, MapViewState&) { s.velocity = std::numeric_limits<double>::quiet_NaN(); }, true);
    row("tcg 30", [](SAFTsettings& s, MapViewState&) { s.tcg = 30; }, true);
    row("tcg 31", [](SAFTsettings& s, MapViewState&) { s.tcg = 31; }, false);
    // Brightness and threshold
    row("brightness 40", [](SAFTsettings&, MapViewState& v) { v.brightness = 40; }, true);
    row("brightness 41", [](SAFTsettings&, MapViewState& v) { v.brightness = 41; }, false);
    row("threshold 90", [](SAFTsettings&, MapViewState& v) { v.threshold = 90; }, true);
    row("threshold 91", [](SAFTsettings&, MapViewState& v) { v.threshold = 91; }, false);
    // Slices
    row("slices at the last point", [](SAFTsettings&, MapViewState& v) { v.sliceX = 9; v.sliceY = 7; v.sliceZ = 19; }, true);
    row("slice X == dim", [](SAFTsettings&, MapViewState& v) { v.sliceX = 10; }, false);
    row("slice Y == dim", [](SAFTsettings&, MapViewState& v) { v.sliceY = 8; }, false);
    row("slice Z == dim", [](SAFTsettings&, MapViewState& v) { v.sliceZ = 20; }, false);
    row("slice negative", [](SAFTsettings&, MapViewState& v) { v.sliceZ = -1; }, false);
    // Measuring
    row("measuring mode 2", [](SAFTsettings&, MapViewState& v) { v.measuringMode = 2; }, false);
    row("box ignored when not measuring", [](SAFTsettings&, MapViewState& v) { v.box = {50, -3, 9, 1, 99, 0}; }, true);
    row("box of points", [](SAFTsettings&, MapViewState& v) { v.measuringMode = 1; v.box = {2, 2, 2, 2, 2, 2}; }, true);
    row("box to the last point", [](SAFTsettings&, MapViewState& v) { v.measuringMode = 1; v.box = {0, 0, 0, 9, 7, 19}; }, true);
    row("box reversed", [](SAFTsettings&, MapViewState& v) { v.measuringMode = 1; v.box = {0, 5, 0, 9, 4, 19}; }, false);
    row("box beyond", [](SAFTsettings&, MapViewState& v) { v.measuringMode = 1; v.box = {0, 0, 0, 9, 7, 20}; }, false);
}

void TestMapSettings::viewSettingsChecks()
{
    QFETCH(StateMutator, mutate);
    QFETCH(bool, accepted);
    SAFTsettings s;
    MapViewState v;
    plainValues(s, v);
    mutate(s, v);
    const SAFTsettings before = s;
    QCOMPARE(checkViewSettings(s, v), accepted);
    // Accepted with an out-of-range frequency or velocity replaced; refused: nothing changed.
    QCOMPARE(s.depth, before.depth);
    if (accepted) {
        QTEST(s.frequency, "frequency");
        QTEST(s.velocity, "velocity");
    } else {
        QVERIFY(s == before);
    }
}

void TestMapSettings::commentsBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("cyrillic and micro") << QStringLiteral(u"Шов 3 — 12 µs\nповторить при 2,5 МГц");
    QTest::newRow("surrogate pair") << QString::fromUtf8("\xF0\x9F\x94\x8D found");
    QTest::newRow("empty") << QString(QLatin1String(""));
    QTest::newRow("null: the marker alone") << QString();
}

void TestMapSettings::commentsBytes()
{
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = MapStoredFiles::commentsPath(dir.path());
    QCOMPARE(path, dir.path() + QStringLiteral("/map.cmm"));
    QVERIFY(writeCommentsFile(path, text));
    QCOMPARE(readAll(path).toHex(' '), handBuiltComments(text).toHex(' '));
    MapStoredFiles files;
    QCOMPARE(files.readComments(dir.path()), StoredFileStatus::Loaded);
    QCOMPARE(files.comments(), text);
    QCOMPARE(files.comments().isNull(), text.isNull());
    QVERIFY(!files.commentsChanged());
}

void TestMapSettings::storedFileRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    const QString set = QStringLiteral("usr_map.set");
    auto changed = [](int at, char value) {
        QByteArray b = kViewSettings;
        b[at] = value;
        return b;
    };
    QTest::newRow("set empty") << set << QByteArray();
    QTest::newRow("set one short") << set << kViewSettings.left(kViewSettingsFileSize - 1);
    QTest::newRow("set one long") << set << kViewSettings + QByteArray(1, '\0');
    QTest::newRow("set oversized") << set << kViewSettings + QByteArray(4096, 'x');
    QTest::newRow("set filterSW byte 2") << set << changed(24, 2);
    QTest::newRow("set limits mode byte 255") << set << changed(33, char(0xFF));
    QTest::newRow("set viewing mode 2") << set << changed(71, 2);
    QTest::newRow("set viewing mode -1") << set << changed(71, char(0xFF));
    QTest::newRow("set bandwidth 60") << set << changed(11, 60);
    QTest::newRow("set range reversed") << set << changed(91, 0); // range0 last 0 < first 2

    const QString cmm = QStringLiteral("map.cmm");
    const QByteArray good = handBuiltComments(QStringLiteral("abc"));
    QTest::newRow("cmm empty") << cmm << QByteArray();
    QTest::newRow("cmm length cut") << cmm << good.left(3);
    QTest::newRow("cmm text cut") << cmm << good.left(good.size() - 1);
    QTest::newRow("cmm text cut by a character") << cmm << good.left(good.size() - 2);
    QTest::newRow("cmm trailing bytes") << cmm << good + QByteArray("zz");
    QTest::newRow("cmm odd length") << cmm << QByteArray::fromHex("00000005") + "abcde";
    QTest::newRow("cmm length beyond the file") << cmm << QByteArray::fromHex("7ffffffe") + "ab";
    QTest::newRow("cmm length near 4 GiB") << cmm << QByteArray::fromHex("fffffffe") + "abcd";
    QTest::newRow("cmm null with text after it") << cmm << QByteArray::fromHex("ffffffff") + "ab";
    QByteArray huge(4 + kMaxCommentsBytes + 2, '\0');
    TestBytes::putBe(huge, 0, quint32(kMaxCommentsBytes + 2), 4);
    QTest::newRow("cmm beyond the largest comments") << cmm << huge;
}

void TestMapSettings::storedFileRefused()
{
    // Refused whole and reported: nothing taken from it, and with nothing changed by the user
    // saving writes nothing, so the file stays as it was.
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const bool comments = name == QLatin1String("map.cmm");
    QString text = QStringLiteral("kept");
    QVERIFY(!comments || !decodeCommentsFile(bytes, text));
    QCOMPARE(text, QStringLiteral("kept"));
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(writeBytes(path, bytes));
    MapStoredFiles files;
    QString error;
    QCOMPARE(comments ? files.readComments(dir.path(), &error) : files.readViewSettings(dir.path()),
             StoredFileStatus::Invalid);
    QCOMPARE(error, comments ? QStringLiteral("Couldn't read file \"%1\"!").arg(path) : QString());
    QVERIFY(!files.hasStoredViewSettings());
    QVERIFY(files.savedSAFT() == SAFTsettings());
    QVERIFY(files.savedState() == MapViewState());
    QVERIFY(files.comments().isEmpty());
    QVERIFY(!files.commentsChanged());
    int written = -1;
    QVERIFY(files.saveChanges(dir.path(), files.savedSAFT(), files.savedState(), written));
    QCOMPARE(written, int(NoMapFileWritten));
    QCOMPARE(QFileInfo(path).size(), bytes.size());
}

void TestMapSettings::writeFailuresKeepOldFile_data()
{
    // Every file the program rewrites in place, each with its own message.
    QTest::addColumn<QString>("name");
    QTest::addColumn<FileWriter>("write");
    QTest::addColumn<QString>("message");
    const QString comments = QStringLiteral("Couldn't save comments to file \"%1\"!");
    const QString settings = QStringLiteral("Couldn't save changed configuration to file \"%1\"!");
    QTest::newRow("usr_map.set") << QStringLiteral("usr_map.set") << FileWriter([](const QString& p, QString* e) {
        SAFTsettings s;
        MapViewState v;
        plainValues(s, v);
        return writeViewSettingsFile(p, s, v, e);
    }) << comments;
    QTest::newRow("map.cmm") << QStringLiteral("map.cmm") << FileWriter([](const QString& p, QString* e) {
        return writeCommentsFile(p, QString(200, QLatin1Char('n')), e);
    }) << comments;
    QTest::newRow("N.sss") << QStringLiteral("3.sss") << FileWriter([](const QString& p, QString* e) {
        ConfigSettings s;
        s.tvg.iCount = 3;
        return writeConfigFile(p, s, e);
    }) << settings;
}

void TestMapSettings::writeFailuresKeepOldFile()
{
    QFETCH(QString, name);
    QFETCH(FileWriter, write);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const QByteArray old(40, 'o');
    QVERIFY(writeBytes(path, old));
    QString error;
    {
        // The disk fills part way through the write: the file on disk stays the old one, whole.
        FileSizeLimit limit(50);
        QVERIFY(!write(path, &error));
    }
    QCOMPARE(error, message.arg(path));
    QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name}); // no leftovers
    // A missing folder, and a folder standing where the file goes.
    const QString inMissing = dir.filePath(QStringLiteral("gone/") + name);
    QVERIFY(!write(inMissing, &error));
    QCOMPARE(error, message.arg(inMissing));
    QVERIFY(!QFile::exists(inMissing));
    QVERIFY(QFile::remove(path) && QDir(dir.path()).mkdir(name));
    QVERIFY(!write(path, &error));
    QVERIFY(QFileInfo(path).isDir());
}

void TestMapSettings::storedSaveChangesWritesOnlyChanged_data()
{
    // A change to the saved state, new comments or not, and which files a save writes.
    QTest::addColumn<StateMutator>("mutate");
    QTest::addColumn<bool>("comments");
    QTest::addColumn<int>("written");
    auto row = [](const char* name, const StateMutator& m, bool comments, int written) {
        QTest::newRow(name) << m << comments << written;
    };
    const StateMutator none = [](SAFTsettings&, MapViewState&) {};
    row("nothing", none, false, NoMapFileWritten);
    row("velocity within 0.0001", [](SAFTsettings& s, MapViewState&) { s.velocity += 0.00005; }, false, 0);
    row("velocity beyond 0.0001", [](SAFTsettings& s, MapViewState&) { s.velocity += 0.00015; }, false, 1);
    row("frequency", [](SAFTsettings& s, MapViewState&) { s.frequency = 55; }, false, 1);
    row("depth range", [](SAFTsettings&, MapViewState& v) { v.ranges.range2 = {3, 19}; }, false, 1);
    row("viewing mode", [](SAFTsettings&, MapViewState& v) { v.ranges.viewingMode = RawView; }, false, 1);
    row("brightness", [](SAFTsettings&, MapViewState& v) { v.brightness = 1; }, false, 1);
    row("slice", [](SAFTsettings&, MapViewState& v) { v.sliceZ = 0; }, false, 1);
    row("box", [](SAFTsettings&, MapViewState& v) { v.box.z2 = 1; }, false, 1);
    row("comments", none, true, CommentsWritten);
    row("both", [](SAFTsettings&, MapViewState& v) { v.threshold = 30; }, true, 3);
}

void TestMapSettings::storedSaveChangesWritesOnlyChanged()
{
    QFETCH(StateMutator, mutate);
    QFETCH(bool, comments);
    QFETCH(int, written);
    const bool settings = written & 1;
    QTemporaryDir dir;
    MapStoredFiles files;
    SAFTsettings s;
    MapViewState v;
    plainValues(s, v);
    files.setSavedViewSettings(s, v);
    // Comments typed and deleted again are what was stored: nothing to save.
    files.setComments(QStringLiteral("a"));
    files.setComments(QString(QLatin1String("")));
    QVERIFY(!files.commentsChanged());
    mutate(s, v);
    if (comments)
        files.setComments(QStringLiteral("changed"));
    int iWritten = -1;
    QStringList errors;
    QVERIFY(files.saveChanges(dir.path(), s, v, iWritten, &errors));
    QCOMPARE(iWritten, written);
    QVERIFY(errors.isEmpty());
    QCOMPARE(QFile::exists(MapStoredFiles::viewSettingsPath(dir.path())), settings);
    QCOMPARE(QFile::exists(MapStoredFiles::commentsPath(dir.path())), comments);
    if (settings)
        QCOMPARE(readAll(MapStoredFiles::viewSettingsPath(dir.path())), encodeViewSettingsFile(s, v));
    if (comments)
        QCOMPARE(readAll(MapStoredFiles::commentsPath(dir.path())), handBuiltComments(QStringLiteral("changed")));
    // Saving elsewhere does not mark anything as saved.
    QCOMPARE(files.settingsChanged(s, v), settings);
    QCOMPARE(files.commentsChanged(), comments);
}

void TestMapSettings::storedSaveChangesReportsFailures()
{
    QTemporaryDir dir;
    MapStoredFiles files;
    SAFTsettings s;
    MapViewState v;
    plainValues(s, v);
    files.setSavedViewSettings(s, v);
    v.brightness = 10;
    files.setComments(QStringLiteral("c"));

    // The viewing settings cannot be written (a folder holds their name); the comments can.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("usr_map.set")));
    int iWritten = -1;
    QStringList errors;
    QVERIFY(!files.saveChanges(dir.path(), s, v, iWritten, &errors));
    QCOMPARE(iWritten, int(CommentsWritten));
    QCOMPARE(errors, QStringList{QStringLiteral("Couldn't save comments to file \"%1\"!")
                                     .arg(MapStoredFiles::viewSettingsPath(dir.path()))});
    // Both fail; the records stay unsaved.
    const QString missing = dir.filePath(QStringLiteral("missing"));
    errors.clear();
    QVERIFY(!files.saveChanges(missing, s, v, iWritten, &errors));
    QCOMPARE(iWritten, int(NoMapFileWritten));
    QCOMPARE(errors.size(), 2);
    QVERIFY(files.settingsChanged(s, v));
    QVERIFY(files.commentsChanged());

    // Saved where they can be: marked as stored; after a whole-map save elsewhere, the current
    // values count as stored.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("saved")));
    QVERIFY(files.saveViewSettings(dir.filePath(QStringLiteral("saved")), s, v));
    QVERIFY(!files.settingsChanged(s, v));
    QVERIFY(files.savedState() == v);
    QVERIFY(files.saveComments(dir.filePath(QStringLiteral("saved"))));
    QVERIFY(!files.commentsChanged());
    v.threshold = 12;
    files.setComments(QStringLiteral("m"));
    files.markSaved(s, v);
    QVERIFY(!files.settingsChanged(s, v));
    QVERIFY(!files.commentsChanged());
}

// A pipe under a name the program reads would block the read forever (nobody writes into it).
void TestMapSettings::pipesAreNotRead_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<FileReader>("read");
    QTest::newRow("usr_map.set") << QStringLiteral("usr_map.set") << FileReader([](const QString& p) {
        SAFTsettings s;
        MapViewState v;
        return readViewSettingsFile(p, s, v) == StoredFileStatus::Loaded;
    });
    QTest::newRow("map.cmm") << QStringLiteral("map.cmm") << FileReader([](const QString& p) {
        QString text;
        return readCommentsFile(p, text) == StoredFileStatus::Loaded;
    });
    QTest::newRow("configuration") << QStringLiteral("map.cfg") << FileReader([](const QString& p) {
        MapConfig c;
        return MapConfig::read(p, c);
    });
    QTest::newRow("settings file") << QStringLiteral("1.sss") << FileReader([](const QString& p) {
        ConfigSettings c;
        return readConfigFile(p, c);
    });
    QTest::newRow("A-scan") << QStringLiteral("1.bmp") << FileReader([](const QString& p) {
        AScanRecord r;
        return readAScanHeader(p, r);
    });
    QTest::newRow("signal") << QStringLiteral("1.raw") << FileReader([](const QString& p) {
        qint16 samples[4];
        return readAScanSamples(p, samples, 4);
    });
}

void TestMapSettings::pipesAreNotRead()
{
    QFETCH(QString, name);
    QFETCH(FileReader, read);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    QVERIFY(!read(path));
}

QTEST_MAIN(TestMapSettings)
#include "tst_mapsettings.moc"
