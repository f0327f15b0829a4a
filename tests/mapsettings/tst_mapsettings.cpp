// The map's stored files: "usr_map.set" and "map.cmm" against hand-built bytes, the checks on
// reading, damaged files left alone, writes that fail cleanly, change tracking and saving.

#include "ascan/ascanfile.h"
#include "ascan/settingsfile.h"
#include "map/mapcommentsfile.h"
#include "map/mapconfig.h"
#include "map/mapstoredfiles.h"
#include "map/mapviewstate.h"
#include "map/mapviewstatefile.h"

#include "common/filesizelimit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

#include <sys/stat.h>

#include <functional>
#include <limits>

using StateMutator = std::function<void(SAFTsettings&, MapViewState&)>;
Q_DECLARE_METATYPE(StateMutator)
using FileReader = std::function<bool(const QString&)>;
Q_DECLARE_METATYPE(FileReader)

namespace {

void putBe(QByteArray& b, quint64 v, int n)
{
    for (int i = n - 1; i >= 0; --i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

void putBeDouble(QByteArray& b, double d)
{
    quint64 u = 0;
    std::memcpy(&u, &d, sizeof u);
    putBe(b, u, 8);
}

// A record pair with a different value in every field, all passing the checks.
void distinctValues(SAFTsettings& s, MapViewState& v)
{
    s.depth = 1234;
    s.frequency = 115;
    s.bandwidth = 75;
    s.velocity = 3.25;
    s.tcg = 17;
    s.filterSW = false;
    v.brightness = -23;
    v.threshold = 64;
    v.limitsMode = true;
    v.measuringMode = 1;
    v.box = MapBox{3, 5, 7, 11, 13, 17};
    v.sliceX = 19;
    v.sliceY = 21;
    v.sliceZ = 200;
    v.ranges.viewingMode = RawView;
    v.ranges.dim0 = 60;
    v.ranges.dim1 = 40;
    v.ranges.dim2 = 247;
    v.ranges.range0 = {2, 58};
    v.ranges.range1 = {4, 39};
    v.ranges.range2 = {6, 246};
}

// The same values laid out by hand: int32 fields big-endian, flags and modes one byte.
QByteArray handBuiltViewSettings()
{
    QByteArray b;
    putBe(b, 1234, 4);
    putBe(b, 115, 4);
    putBe(b, 75, 4);
    putBeDouble(b, 3.25);
    putBe(b, 17, 4);
    putBe(b, 0, 1);              // filterSW
    putBe(b, quint32(-23), 4);   // brightness
    putBe(b, 64, 4);
    putBe(b, 1, 1);              // limits mode
    putBe(b, 1, 1);              // measuring mode
    for (int v : {3, 5, 7, 11, 13, 17, 19, 21, 200})
        putBe(b, quint32(v), 4);
    putBe(b, 1, 1);              // viewing mode RawView
    for (int v : {60, 40, 247, 2, 58, 4, 39, 6, 246})
        putBe(b, quint32(v), 4);
    return b;
}

// A consistent state over a 10 × 8 × 20 volume, the kind a map without measuring stores.
void plainValues(SAFTsettings& s, MapViewState& v)
{
    s = SAFTsettings();
    v = MapViewState();
    v.sliceX = 4;
    v.sliceY = 3;
    v.sliceZ = 9;
    v.ranges.dim0 = 10;
    v.ranges.dim1 = 8;
    v.ranges.dim2 = 20;
    v.ranges.range0 = {0, 9};
    v.ranges.range1 = {0, 7};
    v.ranges.range2 = {0, 19};
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool putFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray handBuiltComments(const QString& text)
{
    QByteArray b;
    putBe(b, quint32(text.size() * 2), 4);
    for (QChar c : text)
        putBe(b, c.unicode(), 2);
    return b;
}

} // namespace

class TestMapSettings : public QObject
{
    Q_OBJECT

private slots:
    // "usr_map.set"
    void viewSettingsBytes();
    void viewSettingsBadBytes_data();
    void viewSettingsBadBytes();
    void viewSettingsChecks_data();
    void viewSettingsChecks();
    void viewSettingsFileRoundTrip();
    void viewSettingsDamagedFilesLeftAlone_data();
    void viewSettingsDamagedFilesLeftAlone();
    void viewSettingsFitsVolume();
    void viewSettingsWriteIntoMissingFolder();
    // "map.cmm"
    void commentsBytes_data();
    void commentsBytes();
    void commentsBadBytes_data();
    void commentsBadBytes();
    void commentsFileRoundTrip();
    void commentsDamagedFileLeftAlone_data();
    void commentsDamagedFileLeftAlone();
    void commentsHugeLengthRefused();
    void shortWriteKeepsOldFile_data();
    void shortWriteKeepsOldFile();
    // Change tracking and saving
    void storedReadsBothFiles();
    void storedSettingsChanged();
    void storedCommentsChanged();
    void storedSaveChangesWritesOnlyChanged_data();
    void storedSaveChangesWritesOnlyChanged();
    void storedSaveChangesReportsFailures();
    void storedSaveMarks();
    void storedForgetAndClear();

    void pipesAreNotRead_data();
    void pipesAreNotRead();
};

// ---- "usr_map.set" ---------------------------------------------------------------------------

void TestMapSettings::viewSettingsBytes()
{
    SAFTsettings s;
    MapViewState v;
    distinctValues(s, v);
    const QByteArray bytes = encodeViewSettingsFile(s, v);
    QCOMPARE(bytes.size(), kViewSettingsFileSize);
    QCOMPARE(bytes.toHex(' '), handBuiltViewSettings().toHex(' '));
    SAFTsettings rs;
    MapViewState rv;
    QVERIFY(decodeViewSettingsFile(handBuiltViewSettings(), rs, rv));
    QVERIFY(rs == s);
    QVERIFY(rv == v);
    QVERIFY(checkViewSettings(rs, rv));

    // Defaults: SAFT 500, 50, 100, 2.6, 0, true; everything else 0 and ProcessedView.
    QByteArray d;
    putBe(d, 500, 4);
    putBe(d, 50, 4);
    putBe(d, 100, 4);
    putBeDouble(d, 2.6);
    putBe(d, 0, 4);
    putBe(d, 1, 1);
    d.append(QByteArray(kViewSettingsFileSize - d.size(), '\0'));
    QCOMPARE(encodeViewSettingsFile(SAFTsettings(), MapViewState()).toHex(' '), d.toHex(' '));
}

void TestMapSettings::viewSettingsBadBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = handBuiltViewSettings();
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one short") << good.left(kViewSettingsFileSize - 1);
    QTest::newRow("one long") << good + QByteArray(1, '\0');
    QTest::newRow("twice") << good + good;
    QByteArray b = good;
    b[24] = 2;
    QTest::newRow("filterSW byte 2") << b;
    b = good;
    b[33] = char(0xFF);
    QTest::newRow("limits mode byte 255") << b;
    b = good;
    b[71] = 2;
    QTest::newRow("viewing mode 2") << b;
    b = good;
    b[71] = char(0xFF);
    QTest::newRow("viewing mode -1") << b;
}

void TestMapSettings::viewSettingsBadBytes()
{
    QFETCH(QByteArray, bytes);
    SAFTsettings s;
    s.depth = 777;
    MapViewState v;
    v.brightness = 5;
    QVERIFY(!decodeViewSettingsFile(bytes, s, v));
    QCOMPARE(s.depth, 777);
    QCOMPARE(v.brightness, 5);
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
    row("range first > last", [](SAFTsettings&, MapViewState& v) { v.ranges.range2 = {5, 4}; }, false);
    row("range last == dim", [](SAFTsettings&, MapViewState& v) { v.ranges.range0 = {0, 10}; }, false);
    row("range first negative", [](SAFTsettings&, MapViewState& v) { v.ranges.range0 = {-1, 5}; }, false);
    row("dim 0", [](SAFTsettings&, MapViewState& v) { v.ranges.dim1 = 0; }, false);
    row("dim negative", [](SAFTsettings&, MapViewState& v) { v.ranges.dim2 = -20; }, false);
    // SAFT record
    row("depth 0", [](SAFTsettings& s, MapViewState&) { s.depth = 0; }, true);
    row("depth 35000", [](SAFTsettings& s, MapViewState&) { s.depth = 35000; }, true);
    row("depth -1 refused", [](SAFTsettings& s, MapViewState&) { s.depth = -1; }, false);
    row("depth 35001 refused", [](SAFTsettings& s, MapViewState&) { s.depth = 35001; }, false);
    row("frequency 25", [](SAFTsettings& s, MapViewState&) { s.frequency = 25; }, true, 25);
    row("frequency 250", [](SAFTsettings& s, MapViewState&) { s.frequency = 250; }, true, 250);
    row("frequency 24 becomes 50", [](SAFTsettings& s, MapViewState&) { s.frequency = 24; }, true, 50);
    row("frequency 251 becomes 50", [](SAFTsettings& s, MapViewState&) { s.frequency = 251; }, true, 50);
    row("bandwidth 25", [](SAFTsettings& s, MapViewState&) { s.bandwidth = 25; }, true);
    row("bandwidth 60", [](SAFTsettings& s, MapViewState&) { s.bandwidth = 60; }, false);
    row("bandwidth 0", [](SAFTsettings& s, MapViewState&) { s.bandwidth = 0; }, false);
    row("bandwidth 125", [](SAFTsettings& s, MapViewState&) { s.bandwidth = 125; }, false);
    row("velocity 0.5", [](SAFTsettings& s, MapViewState&) { s.velocity = 0.5; }, true, 50, 0.5);
    row("velocity 15", [](SAFTsettings& s, MapViewState&) { s.velocity = 15.0; }, true, 50, 15.0);
    row("velocity 0.3 becomes 2.6", [](SAFTsettings& s, MapViewState&) { s.velocity = 0.3; }, true);
    row("velocity 15.01 becomes 2.6", [](SAFTsettings& s, MapViewState&) { s.velocity = 15.01; }, true);
    row("velocity NaN becomes 2.6",
        [](SAFTsettings& s, MapViewState&) { s.velocity = std::numeric_limits<double>::quiet_NaN(); }, true);
    row("tcg 30", [](SAFTsettings& s, MapViewState&) { s.tcg = 30; }, true);
    row("tcg 31", [](SAFTsettings& s, MapViewState&) { s.tcg = 31; }, false);
    row("tcg -1", [](SAFTsettings& s, MapViewState&) { s.tcg = -1; }, false);
    // Brightness and threshold
    row("brightness -40", [](SAFTsettings&, MapViewState& v) { v.brightness = -40; }, true);
    row("brightness 40", [](SAFTsettings&, MapViewState& v) { v.brightness = 40; }, true);
    row("brightness -41", [](SAFTsettings&, MapViewState& v) { v.brightness = -41; }, false);
    row("brightness 41", [](SAFTsettings&, MapViewState& v) { v.brightness = 41; }, false);
    row("threshold 90", [](SAFTsettings&, MapViewState& v) { v.threshold = 90; }, true);
    row("threshold 91", [](SAFTsettings&, MapViewState& v) { v.threshold = 91; }, false);
    row("threshold -1", [](SAFTsettings&, MapViewState& v) { v.threshold = -1; }, false);
    // Slices
    row("slices at the last point", [](SAFTsettings&, MapViewState& v) { v.sliceX = 9; v.sliceY = 7; v.sliceZ = 19; }, true);
    row("slice X == dim", [](SAFTsettings&, MapViewState& v) { v.sliceX = 10; }, false);
    row("slice Y == dim", [](SAFTsettings&, MapViewState& v) { v.sliceY = 8; }, false);
    row("slice Z == dim", [](SAFTsettings&, MapViewState& v) { v.sliceZ = 20; }, false);
    row("slice negative", [](SAFTsettings&, MapViewState& v) { v.sliceZ = -1; }, false);
    // Measuring
    row("measuring mode 2", [](SAFTsettings&, MapViewState& v) { v.measuringMode = 2; }, false);
    row("measuring mode -1", [](SAFTsettings&, MapViewState& v) { v.measuringMode = -1; }, false);
    row("box ignored when not measuring", [](SAFTsettings&, MapViewState& v) { v.box = {50, -3, 9, 1, 99, 0}; }, true);
    row("box of points", [](SAFTsettings&, MapViewState& v) { v.measuringMode = 1; v.box = {2, 2, 2, 2, 2, 2}; }, true);
    row("box to the last point", [](SAFTsettings&, MapViewState& v) { v.measuringMode = 1; v.box = {0, 0, 0, 9, 7, 19}; }, true);
    row("box reversed", [](SAFTsettings&, MapViewState& v) { v.measuringMode = 1; v.box = {0, 5, 0, 9, 4, 19}; }, false);
    row("box beyond", [](SAFTsettings&, MapViewState& v) { v.measuringMode = 1; v.box = {0, 0, 0, 9, 7, 20}; }, false);
    row("box negative", [](SAFTsettings&, MapViewState& v) { v.measuringMode = 1; v.box = {-1, 0, 0, 9, 7, 19}; }, false);
}

void TestMapSettings::viewSettingsChecks()
{
    QFETCH(StateMutator, mutate);
    QFETCH(bool, accepted);
    QFETCH(int, frequency);
    QFETCH(double, velocity);

    SAFTsettings s;
    MapViewState v;
    plainValues(s, v);
    mutate(s, v);

    // Through the bytes, as the file is read.
    SAFTsettings read;
    MapViewState readState;
    QVERIFY(decodeViewSettingsFile(encodeViewSettingsFile(s, v), read, readState));
    const SAFTsettings before = read;
    QCOMPARE(checkViewSettings(read, readState), accepted);
    if (accepted) {
        QCOMPARE(read.frequency, frequency);
        QCOMPARE(read.velocity, velocity);
        QCOMPARE(read.depth, s.depth);
    } else {
        QCOMPARE(read.depth, before.depth);
        QCOMPARE(read.frequency, before.frequency);
    }
}

void TestMapSettings::viewSettingsFileRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("usr_map.set"));
    SAFTsettings s;
    MapViewState v;
    distinctValues(s, v);
    QString error = QStringLiteral("untouched");
    QVERIFY(writeViewSettingsFile(path, s, v, &error));
    QCOMPARE(error, QStringLiteral("untouched"));
    QCOMPARE(fileBytes(path), handBuiltViewSettings());

    SAFTsettings rs;
    MapViewState rv;
    QCOMPARE(readViewSettingsFile(path, rs, rv), StoredFileStatus::Loaded);
    QVERIFY(rs == s);
    QVERIFY(rv == v);

    // Writing again replaces the old file.
    v.brightness = 7;
    QVERIFY(writeViewSettingsFile(path, s, v));
    QCOMPARE(readViewSettingsFile(path, rs, rv), StoredFileStatus::Loaded);
    QCOMPARE(rv.brightness, 7);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("usr_map.set")});
}

void TestMapSettings::viewSettingsDamagedFilesLeftAlone_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    const QByteArray good = handBuiltViewSettings();
    QTest::newRow("truncated") << good.left(60) << int(StoredFileStatus::Invalid);
    QTest::newRow("empty") << QByteArray() << int(StoredFileStatus::Invalid);
    QTest::newRow("oversized") << good + QByteArray(4096, 'x') << int(StoredFileStatus::Invalid);
    QByteArray b = good;
    b[11] = 60; // bandwidth 60
    QTest::newRow("bandwidth 60") << b << int(StoredFileStatus::Invalid);
    b = good;
    b[91] = 0; // range0 last 0 < first 2
    b[90] = 0;
    b[89] = 0;
    b[88] = 0;
    QTest::newRow("range reversed") << b << int(StoredFileStatus::Invalid);
    QTest::newRow("good") << good << int(StoredFileStatus::Loaded);
}

void TestMapSettings::viewSettingsDamagedFilesLeftAlone()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QTemporaryDir dir;
    MapStoredFiles files;
    QVERIFY(putFile(MapStoredFiles::viewSettingsPath(dir.path()), bytes));
    QCOMPARE(int(files.readViewSettings(dir.path())), status);
    QCOMPARE(files.hasStoredViewSettings(), status == int(StoredFileStatus::Loaded));
    if (status != int(StoredFileStatus::Loaded)) {
        QVERIFY(files.savedSAFT() == SAFTsettings());
        QVERIFY(files.savedState() == MapViewState());
    }
    // Nothing changed by the user: saving changes writes nothing, the file stays as it was.
    int written = -1;
    QVERIFY(files.saveChanges(dir.path(), files.savedSAFT(), files.savedState(), written));
    QCOMPARE(written, int(NoMapFileWritten));
    QCOMPARE(fileBytes(MapStoredFiles::viewSettingsPath(dir.path())), bytes);
}

void TestMapSettings::viewSettingsFitsVolume()
{
    SAFTsettings s;
    MapViewState v;
    distinctValues(s, v);
    QVERIFY(v.fitsVolume(60, 40, 247));
    QVERIFY(!v.fitsVolume(60, 40, 246));
    QVERIFY(!v.fitsVolume(61, 40, 247));
    QVERIFY(!v.fitsVolume(60, 41, 247));
    QVERIFY(!v.fitsVolume(0, 0, 0));
}

void TestMapSettings::viewSettingsWriteIntoMissingFolder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone/usr_map.set"));
    QString error;
    QVERIFY(!writeViewSettingsFile(path, SAFTsettings(), MapViewState(), &error));
    QCOMPARE(error, QStringLiteral("Couldn't save comments to file \"%1\"!").arg(path));

    SAFTsettings s;
    MapViewState v;
    QCOMPARE(readViewSettingsFile(path, s, v), StoredFileStatus::Missing);
    // A folder in the file's place cannot be read.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("usr_map.set")));
    QCOMPARE(readViewSettingsFile(dir.filePath(QStringLiteral("usr_map.set")), s, v), StoredFileStatus::Unreadable);
    QVERIFY(s == SAFTsettings());
}

// ---- "map.cmm" -------------------------------------------------------------------------------

void TestMapSettings::commentsBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QStringLiteral("Weld seam 3, left side");
    QTest::newRow("cyrillic and micro") << QStringLiteral(u"Шов 3 — 12 µs");
    QTest::newRow("line breaks") << QStringLiteral("first\nsecond\n");
    QTest::newRow("surrogate pair") << QString::fromUtf8("\xF0\x9F\x94\x8D found");
    QTest::newRow("empty") << QString(QLatin1String(""));
}

void TestMapSettings::commentsBytes()
{
    QFETCH(QString, text);
    const QByteArray bytes = encodeCommentsFile(text);
    QCOMPARE(bytes.toHex(' '), handBuiltComments(text).toHex(' '));
    QString back = QStringLiteral("old");
    QVERIFY(decodeCommentsFile(handBuiltComments(text), back));
    QCOMPARE(back, text);
    QVERIFY(!back.isNull());
}

void TestMapSettings::commentsBadBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = handBuiltComments(QStringLiteral("abc"));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("length cut") << good.left(3);
    QTest::newRow("text cut") << good.left(good.size() - 1);
    QTest::newRow("text cut by a character") << good.left(good.size() - 2);
    QTest::newRow("trailing bytes") << good + QByteArray("zz");
    QByteArray odd;
    putBe(odd, 5, 4);
    odd.append("abcde");
    QTest::newRow("odd length") << odd;
    QByteArray larger;
    putBe(larger, 0x7FFFFFFE, 4);
    larger.append("ab");
    QTest::newRow("length beyond the file") << larger;
    QByteArray nullTail;
    putBe(nullTail, 0xFFFFFFFF, 4);
    nullTail.append("ab");
    QTest::newRow("null with text after it") << nullTail;
}

void TestMapSettings::commentsBadBytes()
{
    QFETCH(QByteArray, bytes);
    QString text = QStringLiteral("kept");
    QVERIFY(!decodeCommentsFile(bytes, text));
    QCOMPARE(text, QStringLiteral("kept"));
}

void TestMapSettings::commentsFileRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map.cmm"));
    const QString text = QStringLiteral(u"Трещина у края\nповторить при 2,5 МГц");
    QVERIFY(writeCommentsFile(path, text));
    QCOMPARE(fileBytes(path), handBuiltComments(text));
    QString back;
    QCOMPARE(readCommentsFile(path, back), StoredFileStatus::Loaded);
    QCOMPARE(back, text);

    // A null string is stored as the null marker alone and read back as null.
    QVERIFY(writeCommentsFile(path, QString()));
    QCOMPARE(fileBytes(path), QByteArray::fromHex("ffffffff"));
    back = QStringLiteral("x");
    QCOMPARE(readCommentsFile(path, back), StoredFileStatus::Loaded);
    QVERIFY(back.isNull());
}

void TestMapSettings::commentsDamagedFileLeftAlone_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray odd;
    putBe(odd, 7, 4);
    odd.append("abcdefg");
    QTest::newRow("odd length") << odd;
    QTest::newRow("truncated") << handBuiltComments(QStringLiteral("longer text")).left(10);
    QTest::newRow("empty file") << QByteArray();
}

void TestMapSettings::commentsDamagedFileLeftAlone()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = MapStoredFiles::commentsPath(dir.path());
    QVERIFY(putFile(path, bytes));
    MapStoredFiles files;
    QString error;
    QCOMPARE(files.readComments(dir.path(), &error), StoredFileStatus::Invalid);
    QCOMPARE(error, QStringLiteral("Couldn't read file \"%1\"!").arg(path));
    QVERIFY(files.comments().isEmpty());
    QVERIFY(!files.commentsChanged());
    int written = -1;
    QVERIFY(files.saveChanges(dir.path(), files.savedSAFT(), files.savedState(), written));
    QCOMPARE(written, int(NoMapFileWritten));
    QCOMPARE(fileBytes(path), bytes);
}

void TestMapSettings::commentsHugeLengthRefused()
{
    // A length near 4 GiB over a tiny file: refused from the bytes at hand, nothing allocated.
    QByteArray b;
    putBe(b, 0xFFFFFFFE, 4);
    b.append("abcd");
    QString text;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map.cmm"));
    QVERIFY(putFile(path, b));
    QString error;
    QCOMPARE(readCommentsFile(path, text, &error), StoredFileStatus::Invalid);
    QVERIFY(!error.isEmpty());

    // A file beyond the largest comments file is not read in.
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.resize(4 + kMaxCommentsBytes + 2));
    f.close();
    QCOMPARE(readCommentsFile(path, text, &error), StoredFileStatus::Invalid);
    QVERIFY(text.isEmpty());
}

void TestMapSettings::shortWriteKeepsOldFile_data()
{
    QTest::addColumn<bool>("comments");
    QTest::newRow("usr_map.set") << false;
    QTest::newRow("map.cmm") << true;
}

void TestMapSettings::shortWriteKeepsOldFile()
{
    // The disk fills part way through the write: the file on disk stays the old one, whole.
    QFETCH(bool, comments);
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(QTest::currentDataTag()));
    const QByteArray old = comments ? handBuiltComments(QStringLiteral("old comment")) : handBuiltViewSettings();
    QVERIFY(putFile(path, old));
    SAFTsettings s;
    MapViewState v;
    plainValues(s, v);
    QString error;
    {
        FileSizeLimit limit(50);
        QVERIFY(comments ? !writeCommentsFile(path, QString(200, QLatin1Char('n')), &error)
                         : !writeViewSettingsFile(path, s, v, &error));
    }
    QCOMPARE(error, QStringLiteral("Couldn't save comments to file \"%1\"!").arg(path));
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QLatin1String(QTest::currentDataTag())});
    QVERIFY(!writeCommentsFile(dir.filePath(QStringLiteral("no/map.cmm")), QStringLiteral("x"), &error));
}

// ---- Change tracking and saving --------------------------------------------------------------

void TestMapSettings::storedReadsBothFiles()
{
    QTemporaryDir dir;
    MapStoredFiles files;
    QString error = QStringLiteral("none");
    QCOMPARE(files.readViewSettings(dir.path()), StoredFileStatus::Missing);
    QCOMPARE(files.readComments(dir.path(), &error), StoredFileStatus::Missing);
    QCOMPARE(error, QStringLiteral("none"));
    QVERIFY(!files.hasStoredViewSettings());

    SAFTsettings s;
    MapViewState v;
    distinctValues(s, v);
    QVERIFY(writeViewSettingsFile(MapStoredFiles::viewSettingsPath(dir.path()), s, v));
    QVERIFY(writeCommentsFile(MapStoredFiles::commentsPath(dir.path()), QStringLiteral("note")));
    QCOMPARE(files.readViewSettings(dir.path()), StoredFileStatus::Loaded);
    QCOMPARE(files.readComments(dir.path(), &error), StoredFileStatus::Loaded);
    QVERIFY(files.hasStoredViewSettings());
    QVERIFY(files.savedSAFT() == s);
    QVERIFY(files.savedState() == v);
    QCOMPARE(files.comments(), QStringLiteral("note"));
    QVERIFY(!files.commentsChanged());
    QVERIFY(!files.settingsChanged(s, v));
    QCOMPARE(MapStoredFiles::viewSettingsPath(QStringLiteral("/m")), QStringLiteral("/m/usr_map.set"));
    QCOMPARE(MapStoredFiles::commentsPath(QStringLiteral("/m")), QStringLiteral("/m/map.cmm"));
}

void TestMapSettings::storedSettingsChanged()
{
    MapStoredFiles files;
    SAFTsettings s;
    MapViewState v;
    plainValues(s, v);
    files.setSavedViewSettings(s, v);
    QVERIFY(!files.settingsChanged(s, v));

    // SAFT equality: velocity within 0.0001 is the same record.
    SAFTsettings near = s;
    near.velocity += 0.00005;
    QVERIFY(!files.settingsChanged(near, v));
    near.velocity += 0.0001;
    QVERIFY(files.settingsChanged(near, v));
    SAFTsettings other = s;
    other.frequency = 55;
    QVERIFY(files.settingsChanged(other, v));

    MapViewState w = v;
    w.ranges.range2 = {3, 19};
    QVERIFY(files.settingsChanged(s, w));
    w = v;
    w.ranges.viewingMode = RawView;
    QVERIFY(files.settingsChanged(s, w));
    w = v;
    w.brightness = 1;
    QVERIFY(files.settingsChanged(s, w));
    w = v;
    w.sliceZ = 0;
    QVERIFY(files.settingsChanged(s, w));
    w = v;
    w.box.z2 = 1;
    QVERIFY(files.settingsChanged(s, w));
}

void TestMapSettings::storedCommentsChanged()
{
    MapStoredFiles files;
    QVERIFY(!files.commentsChanged());
    files.setComments(QStringLiteral("a"));
    QVERIFY(files.commentsChanged());
    // Typed and deleted again: the text is what was stored, nothing to save.
    files.setComments(QString(QLatin1String("")));
    QVERIFY(!files.commentsChanged());
}

void TestMapSettings::storedSaveChangesWritesOnlyChanged_data()
{
    QTest::addColumn<bool>("settings");
    QTest::addColumn<bool>("comments");
    QTest::addColumn<int>("written");
    QTest::newRow("neither") << false << false << 0;
    QTest::newRow("settings") << true << false << 1;
    QTest::newRow("comments") << false << true << 2;
    QTest::newRow("both") << true << true << 3;
}

void TestMapSettings::storedSaveChangesWritesOnlyChanged()
{
    QFETCH(bool, settings);
    QFETCH(bool, comments);
    QFETCH(int, written);
    QTemporaryDir dir;
    MapStoredFiles files;
    SAFTsettings s;
    MapViewState v;
    plainValues(s, v);
    files.setSavedViewSettings(s, v);
    if (settings)
        v.threshold = 30;
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
        QCOMPARE(fileBytes(MapStoredFiles::viewSettingsPath(dir.path())), encodeViewSettingsFile(s, v));
    if (comments)
        QCOMPARE(fileBytes(MapStoredFiles::commentsPath(dir.path())), handBuiltComments(QStringLiteral("changed")));
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

    // Both fail.
    const QString missing = dir.filePath(QStringLiteral("missing"));
    errors.clear();
    QVERIFY(!files.saveChanges(missing, s, v, iWritten, &errors));
    QCOMPARE(iWritten, int(NoMapFileWritten));
    QCOMPARE(errors.size(), 2);

    // The single-file saves leave the records unsaved when they fail.
    QString error;
    QVERIFY(!files.saveViewSettings(missing, s, v, &error));
    QVERIFY(files.settingsChanged(s, v));
    QVERIFY(!files.saveComments(missing, &error));
    QVERIFY(files.commentsChanged());
    QVERIFY(!error.isEmpty());
}

void TestMapSettings::storedSaveMarks()
{
    QTemporaryDir dir;
    MapStoredFiles files;
    SAFTsettings s;
    MapViewState v;
    plainValues(s, v);
    files.setSavedViewSettings(s, v);
    v.sliceX = 1;
    files.setComments(QStringLiteral("n"));

    QVERIFY(files.saveViewSettings(dir.path(), s, v));
    QVERIFY(!files.settingsChanged(s, v));
    QVERIFY(files.savedState() == v);
    QVERIFY(files.commentsChanged());
    QVERIFY(files.saveComments(dir.path()));
    QVERIFY(!files.commentsChanged());

    // After a whole-map save elsewhere, the current values count as stored.
    v.threshold = 12;
    files.setComments(QStringLiteral("m"));
    files.markSaved(s, v);
    QVERIFY(!files.settingsChanged(s, v));
    QVERIFY(!files.commentsChanged());
}

void TestMapSettings::storedForgetAndClear()
{
    QTemporaryDir dir;
    SAFTsettings s;
    MapViewState v;
    distinctValues(s, v);
    QVERIFY(writeViewSettingsFile(MapStoredFiles::viewSettingsPath(dir.path()), s, v));
    MapStoredFiles files;
    QCOMPARE(files.readViewSettings(dir.path()), StoredFileStatus::Loaded);
    files.forgetStoredViewSettings();
    QVERIFY(!files.hasStoredViewSettings());
    QVERIFY(files.savedSAFT() == SAFTsettings());
    QVERIFY(files.savedState() == MapViewState());

    files.setComments(QStringLiteral("x"));
    files.clear();
    QVERIFY(files.comments().isEmpty());
    QVERIFY(!files.commentsChanged());
    QVERIFY(!files.hasStoredViewSettings());
}

// ---- Files that are not files -----------------------------------------------------------------

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
