// Printable reports: the HTML of both reports against hand-written text, escaping of names and
// comments, the pictures of one run in a folder of their own, and both reports printed to PDF
// and read back with the poppler tools (texts, embedded pictures, rendered pages).

#include "app/cdatamanager.h"
#include "app/creportprinter.h"
#include "app/datawindow/cwindatatempl.h"
#include "ascan/clistwidgetheir.h"
#include "ascan/scanwgt.h"
#include "ascan/ascanfile.h"
#include "ascan/ascangenerator.h"
#include "ascan/ascanreport.h"
#include "ascan/reporthtml.h"
#include "ascan/reportpictures.h"
#include "ascan/reportprintjob.h"
#include "ascan/settingsrows.h"
#include "common/modaldriver.h"
#include "map/mapreport.h"

#include <QComboBox>
#include <QListWidget>
#include <QToolButton>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTranslator>
#include <QtTest>

namespace {

struct PdfImage
{
    int page = 0;
    int width = 0;
    int height = 0;
};

bool havePoppler()
{
    for (const char* tool : {"pdftotext", "pdfimages", "pdftoppm", "pdfinfo"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    return true;
}

QString run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Ligatures of the font (ﬁ, ﬀ) back to letters, kept blanks to blanks, every run of white
// space one blank.
QString plain(const QString& text)
{
    QString result = text;
    const char* const letters[] = {"ff", "fi", "fl", "ffi", "ffl"};
    for (int i = 0; i < 5; ++i)
        result.replace(QChar(0xFB00 + i), QLatin1String(letters[i]));
    result.replace(QChar(0x00A0), QLatin1Char(' '));
    return result.simplified();
}

// The text of the file (rows kept on their lines) with every run of white space made one blank, so that the layout's
// line breaks and the kept blanks before dates do not matter.
QString pdfText(const QString& pdf)
{
    return plain(run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                   pdf, QStringLiteral("-")}));
}

QStringList pdfPageTexts(const QString& pdf, int pages)
{
    QStringList texts;
    for (int p = 1; p <= pages; ++p) {
        texts << plain(run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(p),
                                                         QStringLiteral("-l"), QString::number(p), QStringLiteral("-enc"),
                                                         QStringLiteral("UTF-8"), pdf, QStringLiteral("-")}));
    }
    return texts;
}

int pdfPages(const QString& pdf)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QList<PdfImage> pdfImages(const QString& pdf)
{
    QList<PdfImage> images;
    const QStringList lines = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        // page num type width height ...; the two heading lines do not start with a number.
        bool bPage = false;
        if (f.size() < 5 || (f.at(0).toInt(&bPage), !bPage) || f.at(2) != QLatin1String("image"))
            continue;
        images.append({f.at(0).toInt(), f.at(3).toInt(), f.at(4).toInt()});
    }
    return images;
}

// Renders the pages to PNG files prefix-1.png, prefix-2.png, ... at 60 dpi.
QStringList renderPages(const QString& pdf, const QString& prefix)
{
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"), pdf, prefix});
    const QFileInfo info(prefix);
    QStringList files;
    const QStringList names = QDir(info.path()).entryList({info.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name);
    for (const QString& name : names)
        files << info.path() + QLatin1Char('/') + name;
    return files;
}

// Share of pixels of the picture that are clearly of the colour (within tolerance per channel).
double shareOf(const QImage& image, QColor colour, int tolerance = 40)
{
    int hits = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) <= tolerance && qAbs(c.green() - colour.green()) <= tolerance
                && qAbs(c.blue() - colour.blue()) <= tolerance)
                ++hits;
        }
    return image.isNull() ? 0.0 : double(hits) / (image.width() * image.height());
}

QImage filled(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A display drawing of the signal: the samples of the window as a green trace on black.
QImage drawSignal(const QList<qint16>& samples, int w, int h)
{
    QImage image = filled(w, h, Qt::black);
    QPainter painter(&image);
    painter.setPen(QPen(QColor(0, 220, 0), 1));
    const int count = qMin<int>(samples.size(), 4000);
    QPointF last(0, h / 2.0);
    for (int x = 0; x < w && count > 0; ++x) {
        const qint16 s = samples.at(x * count / w);
        const QPointF p(x, h / 2.0 - s * (h / 2.0 - 2) / 511.0);
        painter.drawLine(last, p);
        last = p;
    }
    return image;
}

QImage scaleStrip(int w, int h, Qt::Orientation o)
{
    QImage image = filled(w, h, QColor(235, 235, 235));
    QPainter painter(&image);
    painter.setPen(Qt::black);
    for (int i = 0; i < 10; ++i) {
        if (o == Qt::Horizontal)
            painter.drawLine(i * w / 10, 0, i * w / 10, h / 3);
        else
            painter.drawLine(w - w / 3, i * h / 10, w, i * h / 10);
    }
    return image;
}

QString logoPath()
{
    return QStringLiteral(VANTAR_BIN_DIR "/Norvik_logo_bw.bmp");
}

// A PDF printer as the main window makes it, writing into path.
std::unique_ptr<QPrinter> pdfPrinter(const QString& path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return printer;
}

QStringList reportFolders(const QString& root)
{
    return QDir(root).entryList({QStringLiteral("vantar-report-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
}

MapReportData sampleMap()
{
    MapReportData data;
    data.title = MapReport::titleFor(QStringLiteral("Pier <4> & deck"), QStringLiteral("12.03.24   10:15"));
    data.logoPath = logoPath();
    data.readouts = {{QStringLiteral("X, m = 0.50"), QStringLiteral("Step # 6")},
                     {QStringLiteral("Y, m = 0.25"), QStringLiteral("Step # 3")},
                     {QStringLiteral("Z, m = 0.35")},
                     {QStringLiteral("A, dB = 42")}};
    data.setupName = QStringLiteral("Thick wall");
    data.settings.iVelocity = 4170;
    data.settings.iFrequency = 70;
    data.settings.iGain = 52;
    data.settings.bAveraging = true;
    data.settings.iAveraging = 16;
    data.stepH = 50;
    data.stepV = 100;
    data.sizeH = 0;
    data.sizeV = 12;
    data.comments = QStringLiteral("Crack near <joint> 3 & void at 35%1 cm\nsecond line");
    MapPictureParts parts;
    parts.cScan = filled(300, 200, QColor(220, 30, 30));
    parts.dScan = filled(200, 200, QColor(30, 30, 220));
    parts.bScan = filled(300, 120, QColor(30, 180, 30));
    parts.aScan = filled(200, 120, QColor(240, 200, 0));
    parts.colourScale = filled(30, 328, QColor(120, 0, 160));
    data.picture = MapReport::composePicture(parts);
    return data;
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void header_data();
    void header();
    void escapingOfUserText();
    void settingsTables_data();
    void settingsTables();
    void ascanReportHtml();
    void mapSettingsAndReadouts();
    void mapCommentsOnlyWhenPresent();

    void picturesOfOneRunApart();
    void pictureThatCannotBeWritten();
    void composedPictures();

    void ascanReportsToPdf();
    void mapReportToPdf();
    void russianReport();
    void pageRangeAndFailures();
    void printDialogOnSharedPrinter();
    void printButtonOfAScanTab();

private:
    QString m_strOut;       // PDFs and page pictures, kept for looking at
    QString m_strAScans;    // generated A-scans
    QTemporaryDir m_work;
};

void TestReports::initTestCase()
{
    QVERIFY(m_work.isValid());
    m_strOut = QDir::temp().filePath(QStringLiteral("reports-out"));
    QDir(m_strOut).removeRecursively();
    QVERIFY(QDir().mkpath(m_strOut));
    m_strAScans = m_work.filePath(QStringLiteral("ascans"));
    QString error;
    QVERIFY2(generateAScans(m_strAScans, 3, 7, &error), qPrintable(error));
    QVERIFY(QFile::exists(logoPath()));
}

void TestReports::header_data()
{
    QTest::addColumn<QString>("logo");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    const QString logoUrl = QUrl::fromLocalFile(QStringLiteral("/opt/v/logo.bmp")).toString();
    QTest::newRow("no logo") << QString() << 620 << QStringLiteral("<H3 ALIGN=\"CENTER\">Scan 1 &nbsp;&nbsp;01.02.24</H3>");
    QTest::newRow("logo, A-scan width") << QStringLiteral("/opt/v/logo.bmp") << 620
        << (QStringLiteral("<TABLE WIDTH=620 ALIGN=\"CENTER\" BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"0\">\n"
                           "<TR><TD WIDTH=45 ALIGN=LEFT><IMG SRC=\"") + logoUrl + QStringLiteral("\" HEIGHT=45></TD>"
                           "<TD ALIGN=CENTER VALIGN=MIDDLE><FONT SIZE=4><b>Scan 1 &nbsp;&nbsp;01.02.24</b></font></TD>"
                           "<TD WIDTH=45></TD></TR></TABLE>\n"
                           "<TABLE WIDTH=620 ALIGN=\"CENTER\" BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"0\">\n"
                           "<TR><TD WIDTH=150 ALIGN=LEFT><FONT SIZE=4>Vantar 4.0</font></TD><TD HEIGHT=200></TD></TR></TABLE>\n<BR>\n"));
    QTest::newRow("logo, map width") << QStringLiteral("/opt/v/logo.bmp") << 610
        << (QStringLiteral("<TABLE WIDTH=610 ALIGN=\"CENTER\" BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"0\">\n"
                           "<TR><TD WIDTH=45 ALIGN=LEFT><IMG SRC=\"") + logoUrl + QStringLiteral("\" HEIGHT=45></TD>"
                           "<TD ALIGN=CENTER VALIGN=MIDDLE><FONT SIZE=4><b>Scan 1 &nbsp;&nbsp;01.02.24</b></font></TD>"
                           "<TD WIDTH=45></TD></TR></TABLE>\n"
                           "<TABLE WIDTH=610 ALIGN=\"CENTER\" BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"0\">\n"
                           "<TR><TD WIDTH=150 ALIGN=LEFT><FONT SIZE=4>Vantar 4.0</font></TD><TD HEIGHT=200></TD></TR></TABLE>\n<BR>\n"));
}

void TestReports::header()
{
    QFETCH(QString, logo);
    QFETCH(int, width);
    QFETCH(QString, expected);
    const QString title = ReportHtml::titleWithDate(QStringLiteral("Scan 1"), QStringLiteral("01.02.24"));
    QCOMPARE(title, QStringLiteral("Scan 1   01.02.24"));
    QCOMPARE(ReportHtml::writeReportHeader(title, logo, width), expected);
    QCOMPARE(ReportHtml::titleWithDate(QStringLiteral("Scan 1"), QString()), QStringLiteral("Scan 1"));
}

void TestReports::escapingOfUserText()
{
    // A name, a setup name or a comment is shown as typed and never read as markup.
    const QString hostile = QStringLiteral("<img src=x>\"A&B\" </TD></TABLE>");
    const QString header = ReportHtml::writeReportHeader(hostile, QString(), 620);
    QVERIFY(!header.contains(QStringLiteral("<img")));
    QVERIFY(!header.contains(QStringLiteral("</TD>")));
    QTextDocument doc;
    doc.setHtml(header + ReportHtml::writeSettingsHeading(hostile) + ReportHtml::writeSettingsRow(hostile, hostile));
    QCOMPARE(doc.toPlainText().count(hostile), 4);

    const QString comments = MapReport::writeComments(QStringLiteral("<b>x</b> & %2 %1\n  next"));
    QVERIFY(comments.contains(QStringLiteral("&lt;b&gt;x&lt;/b&gt; &amp; %2 %1<BR>&nbsp;&nbsp;next.")));
    doc.setHtml(comments);
    QCOMPARE(doc.toPlainText().trimmed(), QStringLiteral("Comments: <b>x</b> & %2 %1\n  next."));

    // Pictures in folders with characters that mean something in a URL still load.
    QTemporaryDir odd(m_work.filePath(QStringLiteral("odd #1 %41 ?&'XXXXXX")));
    QVERIFY(odd.isValid());
    const QString picture = odd.filePath(QStringLiteral("p.jpg"));
    QVERIFY(filled(40, 30, Qt::red).save(picture, "JPG"));
    doc.setHtml(ReportHtml::writePictureBlock(picture, 620));
    bool found = false;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QUrl source(it.fragment().charFormat().toImageFormat().name());
                QCOMPARE(source.toLocalFile(), picture);
                found = QImage(source.toLocalFile()).width() == 40;
            }
    QVERIFY(found);
}

// Values expected at some rows of a settings table.
using RowValues = QMap<int, QString>;

// Every settings table (the A-scan tab, the map settings window, both reports) comes from
// one builder; each list is checked by its labels and by the values that depend on a choice.
void TestReports::settingsTables_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<RowValues>("values");
    const QStringList ascan = {"Probe type", "Operating frequency, KHz", "Delay, \u00B5s", "Gain, dB",
                               "Pulse voltage, V", "Period number", "Pulse repetition rate, Hz",
                               "Averaging, quantity", "Velocity, m/s", "Base, mm", "TGV", "Scale",
                               "Readings discreteness", "Cursor", "Input signals filter", "Testing method"};
    QTest::newRow("A-scan tab and report") << 0 << ascan
                                           << RowValues{{1, "70"}, {7, "16"}, {8, "4170"}, {9, "Off"},
                                                                 {11, "\u00B5s"}, {15, "Transmission"}};
    QTest::newRow("map settings window")
        << 1
        << (QStringList{"Horizontal step, mm", "Vertical step, mm", "Horizontal size (points)", "Vertical size (points)"}
            + ascan + QStringList{"Sampling rate, MHz"})
        << RowValues{{0, "50"}, {1, "100"}, {2, "Off"}, {3, "12"}, {12, "4170"}, {20, "2.5"}};
    QTest::newRow("map report, left")
        << 2
        << QStringList{"Horizontal step, mm", "Vertical step, mm", "Horizontal size (points)", "Vertical size (points)",
                       "", "Probe type", "Operating frequency, KHz", "Delay, \u00B5s", "Gain, dB", "Pulse voltage, V"}
        << RowValues{{0, "50"}, {2, "Off"}, {3, "12"}, {4, ""}, {6, "70"}, {8, "52"}};
    QTest::newRow("map report, right")
        << 3
        << QStringList{"Period number", "Repetition rate, Hz", "Accumulation", "Velocity, m/s", "Base, mm", "TGV",
                       "Scale", "Readings discreteness", "Cursor", "Input signals filter"}
        << RowValues{{2, "16"}, {3, "4170"}, {4, "Off"}};
}

void TestReports::settingsTables()
{
    QFETCH(int, table);
    QFETCH(QStringList, labels);
    QFETCH(RowValues, values);
    const QList<SettingsRows::Row>* lists[] = {&SettingsRows::ascanTable(), &SettingsRows::mapWindowTable(),
                                               &SettingsRows::mapReportLeft(), &SettingsRows::mapReportRight()};
    MapReportData map = sampleMap();
    map.settings.eScaleUnits = ConfigSettings::UnitsUs;
    map.settings.eTestingMethod = ConfigSettings::Transmission;
    map.settings.iSamplesPer10us = 25;
    const QList<ReportRow> rows =
        SettingsRows::rows(*lists[table], map.settings, {map.stepH, map.stepV, map.sizeH, map.sizeV});
    QStringList shown;
    for (const ReportRow& row : rows)
        shown << row.label;
    QCOMPARE(shown, labels);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        QCOMPARE(rows.at(it.key()).value, it.value());
    // The map report prints these very rows.
    if (table >= 2)
        QVERIFY(MapReport::writeMapReport(map, QString())
                    .contains(ReportHtml::writeSettingsRow(rows.at(table == 2 ? 3 : 2))));
}

void TestReports::ascanReportHtml()
{
    ConfigSettings s;
    s.iBaseMode = 0;
    s.iVelocity = 2710;
    s.eScaleUnits = ConfigSettings::UnitsUs;
    const QList<ReportRow> rows = SettingsRows::rows(SettingsRows::ascanTable(), s);

    QCOMPARE(AScanReport::writeSettingsTable({{QStringLiteral("Gain, dB"), QStringLiteral("40")}}),
             QStringLiteral("<TABLE ALIGN=\"CENTER\" WIDTH=620 BORDER CELLSPACING=\"0\" CELLPADDING=\"1\">\n"
                            "<TR><TD ALIGN=\"LEFT\">Gain, dB</TD><TD ALIGN=\"CENTER\">40</TD></TR>\n</TABLE>\n"));

    AScanReportData data;
    data.title = QStringLiteral("Wall");
    data.rows = rows.mid(0, 1);
    const QString withPicture = AScanReport::writeAScanReport(data, QStringLiteral("/t/temp2.jpg"));
    QCOMPARE(withPicture,
             QStringLiteral("<H3 ALIGN=\"CENTER\">Wall</H3>"
                            "<P ALIGN = CENTER >\n\t<IMG  SRC = \"file:///t/temp2.jpg\" WIDTH=620 VSPACE = \"50\">    <BR></P>\n"
                            "<H3 ALIGN=\"CENTER\">Instrument Settings</H3>"
                            "<TABLE ALIGN=\"CENTER\" WIDTH=620 BORDER CELLSPACING=\"0\" CELLPADDING=\"1\">\n"
                            "<TR><TD ALIGN=\"LEFT\">Probe type</TD><TD ALIGN=\"CENTER\">double</TD></TR>\n</TABLE>\n"));
    data.setupName = QStringLiteral("Concrete");
    const QString without = AScanReport::writeAScanReport(data, QString());
    QVERIFY(!without.contains(QStringLiteral("<IMG")));
    QVERIFY(without.contains(QStringLiteral("<H3 ALIGN=\"CENTER\">Concrete</H3>")));
    QCOMPARE(AScanReport::pictureFileName(3), QStringLiteral("temp3.jpg"));
}

void TestReports::mapSettingsAndReadouts()
{
    const MapReportData data = sampleMap();
    QCOMPARE(MapReport::writeReadoutTable({{QStringLiteral("X, m = 0.50"), QStringLiteral("Step # 6")}, {QStringLiteral("A, dB = 7")}}),
             QStringLiteral("<TABLE ALIGN=\"CENTER\" WIDTH=610 BORDER CELLSPACING=\"0\" CELLPADDING=\"5\">\n<TR>"
                            "<TD ALIGN=CENTER><TABLE WIDTH=100% ALIGN=\"CENTER\" BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"0\">\n"
                            "<TR><TD ALIGN=CENTER><H4>X, m = 0.50</H4></TD><TD ALIGN=CENTER><H4>Step # 6</H4></TD></TR></TABLE>\n</TD>"
                            "<TD ALIGN=CENTER><H4>A, dB = 7</H4></TD>"
                            "<TD ALIGN=CENTER></TD><TD ALIGN=CENTER></TD></TR></TABLE>\n"));

    const QString table = MapReport::writeSettingsTable({{QStringLiteral("a"), QStringLiteral("1")}}, {{QStringLiteral("b"), QStringLiteral("2")}});
    QCOMPARE(table, QStringLiteral("<TABLE ALIGN=\"CENTER\" WIDTH=610 BORDER=0 CELLSPACING=\"2\" CELLPADDING=\"2\">\n<TR>\n<TD ALIGN=CENTER>\n"
                                   "<TABLE ALIGN=\"CENTER\" WIDTH=100% BORDER CELLSPACING=\"0\" CELLPADDING=\"5\">\n"
                                   "<TR><TD ALIGN=\"LEFT\">a</TD><TD ALIGN=\"CENTER\">1</TD></TR>\n</TABLE>\n</TD>\n"
                                   "<TD ALIGN=CENTER>\n"
                                   "<TABLE ALIGN=\"CENTER\" WIDTH=100% BORDER CELLSPACING=\"0\" CELLPADDING=\"5\">\n"
                                   "<TR><TD ALIGN=\"LEFT\">b</TD><TD ALIGN=\"CENTER\">2</TD></TR>\n</TABLE>\n</TD>\n</TR>\n</TABLE>\n"));

    // Order of the parts: header, read-outs, picture, heading, settings, comments.
    const QString html = MapReport::writeMapReport(data, QStringLiteral("/t/temp.jpg"));
    const QStringList marks = {QStringLiteral("Map Name: Pier &lt;4&gt; &amp; deck &nbsp;&nbsp;12.03.24"),
                               QStringLiteral("<H4>X, m = 0.50</H4>"), QStringLiteral("file:///t/temp.jpg\" WIDTH=610"),
                               QStringLiteral("<H3 ALIGN=\"CENTER\">Thick wall</H3>"), QStringLiteral(">Horizontal step, mm<"),
                               QStringLiteral(">Input signals filter<"), QStringLiteral("<b>Comments:</b>")};
    qsizetype at = 0;
    for (const QString& mark : marks) {
        const qsizetype next = html.indexOf(mark, at);
        QVERIFY2(next >= at, qPrintable(mark));
        at = next;
    }
}

void TestReports::mapCommentsOnlyWhenPresent()
{
    MapReportData data = sampleMap();
    for (const QString& blank : {QString(), QStringLiteral("  \n ")}) {
        data.comments = blank;
        const QString html = MapReport::writeMapReport(data, QString());
        QVERIFY(!html.contains(QStringLiteral("Comments")));
        QVERIFY(!html.contains(QStringLiteral("<BR>\n<TABLE WIDTH=610")));
    }
    QCOMPARE(MapReport::writeComments(QStringLiteral("ok")),
             QStringLiteral("<BR>\n<TABLE WIDTH=610 ALIGN=\"CENTER\" BORDER=0 CELLSPACING=\"0\" CELLPADDING=\"0\">\n"
                            "<TR><TD WIDTH=100% ALIGN=LEFT><p WIDTH=100%><b>Comments:</b> ok.</p>\n</TD></TR></TABLE>\n"));
}

void TestReports::picturesOfOneRunApart()
{
    const QString root = m_work.filePath(QStringLiteral("tmp-root"));
    QVERIFY(QDir().mkpath(root));
    // Files of the same names that belong to somebody else in the shared folder.
    for (const QString& name : {QStringLiteral("temp1.jpg"), QStringLiteral("temp.jpg")}) {
        QFile f(root + QLatin1Char('/') + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not ours");
    }
    ReportPictureStore first(root);
    ReportPictureStore second(root);
    QVERIFY(first.isValid() && second.isValid());
    QVERIFY(first.folder() != second.folder());
    QCOMPARE(reportFolders(root).size(), 2);

    const QImage image = filled(64, 48, QColor(200, 10, 10));
    for (int i = 1; i <= 3; ++i) {
        const QString path = first.save(image, AScanReport::pictureFileName(i));
        QCOMPARE(path, first.folder() + QStringLiteral("/temp%1.jpg").arg(i));
        QImage back(path);
        QCOMPARE(back.size(), image.size());
        QVERIFY(shareOf(back, QColor(200, 10, 10), 12) > 0.95);
    }
    QVERIFY(!second.save(image, MapReport::pictureFileName()).isEmpty());
    // Names that would leave the run's folder are refused.
    QVERIFY(first.save(image, QStringLiteral("../escape.jpg")).isEmpty());
    QVERIFY(first.save(image, QStringLiteral("..")).isEmpty());
    QVERIFY(!QFile::exists(root + QStringLiteral("/escape.jpg")));
    QCOMPARE(first.files().size(), 3);

    first.removeAll();
    QVERIFY(!first.isValid());
    QCOMPARE(reportFolders(root).size(), 1);
    QVERIFY(QFile::exists(second.files().value(0)));
    // Something else put into the run's folder is left, and so is the folder.
    QFile stranger(second.folder() + QStringLiteral("/keep.txt"));
    QVERIFY(stranger.open(QIODevice::WriteOnly));
    stranger.close();
    const QString secondFolder = second.folder();
    second.removeAll();
    QVERIFY(QFile::exists(secondFolder + QStringLiteral("/keep.txt")));
    QVERIFY(!QFile::exists(secondFolder + QStringLiteral("/temp.jpg")));
    QVERIFY(QFile::exists(root + QStringLiteral("/temp1.jpg")));
    QVERIFY(QFile::exists(root + QStringLiteral("/temp.jpg")));

    // The destructor cleans up as well.
    QString folder;
    {
        ReportPictureStore third(root);
        folder = third.folder();
        QVERIFY(!third.save(image, QStringLiteral("temp.jpg")).isEmpty());
    }
    QVERIFY(!QFileInfo::exists(folder));

    // A transparent picture is put on white, not on black.
    QImage clear(20, 20, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    ReportPictureStore fourth(root);
    QImage white(fourth.save(clear, QStringLiteral("a.jpg")));
    QVERIFY(shareOf(white, Qt::white, 8) > 0.99);
}

void TestReports::pictureThatCannotBeWritten()
{
    // The temporary root is a plain file: no folder can be made there.
    const QString root = m_work.filePath(QStringLiteral("a-file"));
    QFile f(root);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    ReportPictureStore store(root);
    QVERIFY(!store.isValid());

    AScanReportData data;
    data.title = QStringLiteral("Slab");
    data.picture = filled(10, 10, Qt::red);
    const ReportBuild build = AScanReport::build(data, store, 2);
    QVERIFY(build.picturePath.isEmpty());
    QCOMPARE(build.warning, QStringLiteral("Couldn't create temporary file \"temp2.jpg\"!"));
    QVERIFY(!build.html.contains(QStringLiteral("<IMG")));
    QVERIFY(build.html.contains(QStringLiteral("Instrument Settings")));

    // A null picture cannot be written either; the path in the message is the full one.
    ReportPictureStore good(m_work.path());
    MapReportData map = sampleMap();
    map.picture = QImage();
    const ReportBuild mapBuild = MapReport::build(map, good);
    QCOMPARE(mapBuild.warning, QStringLiteral("Couldn't create temporary file \"%1/temp.jpg\"!").arg(good.folder()));
    QVERIFY(!mapBuild.html.contains(QStringLiteral("temp.jpg")));
    QVERIFY(good.files().isEmpty());
}

void TestReports::composedPictures()
{
    AScanPictureParts parts;
    parts.display = filled(200, 100, Qt::black);
    parts.verticalScale = filled(30, 100, Qt::gray);
    parts.horizontalScale = filled(200, 20, Qt::gray);
    parts.readouts = filled(150, 25, Qt::yellow);
    const QImage picture = AScanReport::composePicture(parts);
    const int m = AScanReport::kPictureMargin;
    QCOMPARE(picture.format(), QImage::Format_RGB32);
    QCOMPARE(picture.width(), m + 32 + m + 202 + m);
    QCOMPARE(picture.height(), m + 27 + m + 102 + m + 22 + m);
    QCOMPARE(picture.pixelColor(0, 0), QColor(Qt::white));
    // The drawing sits right of the scale and under the read-outs, framed in black.
    const int left = m + 32 + m, top = m + 27 + m;
    QCOMPARE(picture.pixelColor(left, top + 50), QColor(Qt::black));
    QCOMPARE(picture.pixelColor(left - 1, top + 50), QColor(Qt::white));
    QCOMPARE(picture.pixelColor(m, m + 10), QColor(Qt::black));          // read-out frame
    QCOMPARE(picture.pixelColor(m + 1, m + 10), QColor(Qt::yellow));
    QCOMPARE(picture.pixelColor(m + 1, top + 1), QColor(Qt::gray));       // vertical scale
    QCOMPARE(picture.pixelColor(left + 1, top + 102 + m + 1), QColor(Qt::gray)); // horizontal scale
    QCOMPARE(picture.pixelColor(left + 202, top + 102 + m + 1), QColor(Qt::white));
    QVERIFY(AScanReport::composePicture({}).isNull());

    // Only the drawing: no room is kept for the missing parts.
    AScanPictureParts only;
    only.display = filled(50, 40, Qt::black);
    QCOMPARE(AScanReport::composePicture(only).size(), QSize(m + 52 + m, m + 42 + m));

    const QImage map = sampleMap().picture;
    QCOMPARE(map.size(), QSize(8 + 300 + 8 + 200 + 8 + 30 + 8, 8 + 200 + 8 + 120 + 8));
    QCOMPARE(map.pixelColor(8 + 150, 8 + 100), QColor(220, 30, 30));       // C-scan top left
    QCOMPARE(map.pixelColor(8 + 300 + 8 + 100, 8 + 100), QColor(30, 30, 220)); // D-scan right of it
    QCOMPARE(map.pixelColor(8 + 150, 8 + 200 + 8 + 60), QColor(30, 180, 30));  // B-scan under it
    QCOMPARE(map.pixelColor(8 + 300 + 8 + 100, 8 + 200 + 8 + 60), QColor(240, 200, 0));
    QCOMPARE(map.pixelColor(8 + 300 + 8 + 200 + 8 + 15, 100), QColor(120, 0, 160));
    QVERIFY(MapReport::composePicture({}).isNull());
}

void TestReports::ascanReportsToPdf()
{
    if (!havePoppler())
        QSKIP("poppler-utils are not installed");
    QStringList files = QDir(m_strAScans).entryList({QStringLiteral("*.bmp")}, QDir::Files);
    sortNumbered(files);
    QCOMPARE(files.size(), 3);

    const QString pdf = m_strOut + QStringLiteral("/ascans.pdf");
    auto printer = pdfPrinter(pdf);
    const QString tempRoot = m_work.filePath(QStringLiteral("ascan-tmp"));
    QVERIFY(QDir().mkpath(tempRoot));
    QList<AScanRecord> records;
    QList<QSize> sizes;
    {
        CReportPrinter run(printer.get(), nullptr, tempRoot);
        int number = 0;
        for (const QString& file : files) {
            AScanRecord record;
            QString error;
            QVERIFY2(loadAScanRecord(m_strAScans + QLatin1Char('/') + file, record, &error), qPrintable(error));
            AScanReportData data;
            data.title = ReportHtml::titleWithDate(record.name, record.date);
            data.logoPath = logoPath();
            data.setupName = record.setupName;
            data.rows = SettingsRows::rows(SettingsRows::ascanTable(), record.currentSettings);
            AScanPictureParts parts;
            parts.display = drawSignal(record.samples, 640, 300);
            parts.verticalScale = scaleStrip(40, 300, Qt::Vertical);
            parts.horizontalScale = scaleStrip(640, 30, Qt::Horizontal);
            parts.readouts = filled(400, 40, QColor(255, 255, 160));
            data.picture = AScanReport::composePicture(parts);
            sizes << data.picture.size();
            QVERIFY(run.printAScanReport(data, ++number));
            // The pictures wait in the run's folder until the job is done.
            QCOMPARE(run.pictures().files().size(), number);
            QVERIFY(run.pictures().files().last().endsWith(QStringLiteral("/temp%1.jpg").arg(number)));
            records << record;
        }
        QCOMPARE(reportFolders(tempRoot).size(), 1);
        QVERIFY(run.finish());
        QCOMPARE(run.printedPages(), 3);
    }
    // temp1.jpg … temp3.jpg and their folder are gone.
    QVERIFY(reportFolders(tempRoot).isEmpty());

    QCOMPARE(pdfPages(pdf), 3);
    const QStringList pages = pdfPageTexts(pdf, 3);
    for (int i = 0; i < 3; ++i) {
        const AScanRecord& r = records.at(i);
        const QString& text = pages.at(i);
        QVERIFY2(text.contains(r.name), qPrintable(r.name + QStringLiteral(" | ") + text));
        QVERIFY2(text.contains(r.date.simplified()), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Vantar 4.0")));
        QVERIFY(text.contains(r.setupName.isEmpty() ? QStringLiteral("Instrument Settings") : r.setupName));
        const ConfigSettings& s = r.currentSettings;
        QVERIFY(text.contains(QStringLiteral("Velocity, m/s ") + s.velocityText()));
        QVERIFY(text.contains(QStringLiteral("Gain, dB ") + s.gainText()));
        QVERIFY(text.contains(QStringLiteral("Operating frequency, KHz ") + s.frequencyText()));
        QVERIFY(text.contains(QStringLiteral("Testing method ") + s.testingMethodText()));
        QVERIFY(text.contains(QStringLiteral("Delay, \u00B5s ") + s.delayText()));
    }

    // Each page carries the logo and its A-scan picture at full resolution.
    const QList<PdfImage> images = pdfImages(pdf);
    for (int page = 1; page <= 3; ++page) {
        int pictures = 0, logos = 0;
        for (const PdfImage& image : images) {
            if (image.page != page)
                continue;
            if (QSize(image.width, image.height) == sizes.at(page - 1))
                ++pictures;
            else if (image.height == QImage(logoPath()).height())
                ++logos;
        }
        QCOMPARE(pictures, 1);
        QCOMPARE(logos, 1);
    }

    // On the rendered first page the picture spans the report width under the header.
    const QStringList pngs = renderPages(pdf, m_strOut + QStringLiteral("/ascans"));
    QCOMPARE(pngs.size(), 3);
    const QImage first(pngs.first());
    QVERIFY(!first.isNull());
    QVERIFY(shareOf(first, Qt::black, 30) > 0.05);           // the signal's background
    QVERIFY(shareOf(first, QColor(255, 255, 160), 20) > 0.003); // the read-outs strip
    qInfo("%s", qPrintable(pngs.first()));
}

void TestReports::mapReportToPdf()
{
    if (!havePoppler())
        QSKIP("poppler-utils are not installed");
    const QString pdf = m_strOut + QStringLiteral("/map.pdf");
    auto printer = pdfPrinter(pdf);
    const MapReportData data = sampleMap();
    const QString tempRoot = m_work.filePath(QStringLiteral("map-tmp"));
    QVERIFY(QDir().mkpath(tempRoot));
    {
        CReportPrinter run(printer.get(), nullptr, tempRoot);
        QVERIFY(run.printMapReport(data));
        QCOMPARE(run.pictures().files().size(), 1);
        QVERIFY(run.pictures().files().first().endsWith(QStringLiteral("/temp.jpg")));
        QVERIFY(run.finish());
    }
    QVERIFY(reportFolders(tempRoot).isEmpty());

    QCOMPARE(pdfPages(pdf), 1);
    const QString text = pdfText(pdf);
    for (const QString& expected : {QStringLiteral("Map Name: Pier <4> & deck 12.03.24 10:15"), QStringLiteral("Vantar 4.0"),
                                    QStringLiteral("X, m = 0.50"), QStringLiteral("Step # 6"), QStringLiteral("Z, m = 0.35"),
                                    QStringLiteral("A, dB = 42"), QStringLiteral("Thick wall"),
                                    QStringLiteral("Horizontal step, mm 50"), QStringLiteral("Vertical step, mm 100"),
                                    QStringLiteral("Horizontal size (points) Off"), QStringLiteral("Vertical size (points) 12"),
                                    QStringLiteral("Velocity, m/s 4170"), QStringLiteral("Accumulation 16"),
                                    QStringLiteral("Operating frequency, KHz 70"),
                                    QStringLiteral("Comments: Crack near <joint> 3 & void at 35%1 cm second line.")})
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" | ") + text));

    const QList<PdfImage> images = pdfImages(pdf);
    bool bPicture = false;
    for (const PdfImage& image : images)
        bPicture = bPicture || QSize(image.width, image.height) == data.picture.size();
    QVERIFY(bPicture);

    const QStringList pngs = renderPages(pdf, m_strOut + QStringLiteral("/map"));
    QCOMPARE(pngs.size(), 1);
    const QImage page(pngs.first());
    for (const QColor& colour : {QColor(220, 30, 30), QColor(30, 30, 220), QColor(30, 180, 30), QColor(240, 200, 0)})
        QVERIFY2(shareOf(page, colour, 30) > 0.01, qPrintable(colour.name()));
    qInfo("%s", qPrintable(pngs.first()));
}

void TestReports::russianReport()
{
    if (!havePoppler())
        QSKIP("poppler-utils are not installed");
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral("vantar_ru"), QStringLiteral(VANTAR_BIN_DIR)));
    QCoreApplication::installTranslator(&translator);
    MapReportData data = sampleMap();
    data.title = MapReport::titleFor(QStringLiteral("Плита П1"), QString());
    data.setupName.clear();
    data.logoPath.clear();
    const QString pdf = m_strOut + QStringLiteral("/map-ru.pdf");
    auto printer = pdfPrinter(pdf);
    {
        CReportPrinter run(printer.get(), nullptr, m_work.path());
        QVERIFY(run.printMapReport(data));
        AScanReportData ascan;
        ascan.title = QStringLiteral("Стена 3");
        ascan.rows = SettingsRows::rows(SettingsRows::ascanTable(), data.settings);
        ascan.picture = filled(100, 50, Qt::black);
        QVERIFY(run.printAScanReport(ascan, 1));
        QVERIFY(run.finish());
    }
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(pdfPages(pdf), 2);
    const QStringList pages = pdfPageTexts(pdf, 2);
    for (const QString& expected : {QStringLiteral("Плита П1"), QStringLiteral("Комментарии:"), QStringLiteral("Шаг по горизонтали, мм 50"),
                                    QStringLiteral("Размер по горизонтали"), QStringLiteral("База, мм Выкл"), QStringLiteral("Накопление 16"),
                                    QStringLiteral("Параметры прибора")})
        QVERIFY2(pages.at(0).contains(expected), qPrintable(expected + QStringLiteral(" | ") + pages.at(0)));
    QVERIFY(!pages.at(0).contains(QStringLiteral("Map Name")));
    QVERIFY(!pages.at(0).contains(QStringLiteral("Comments")));
    for (const QString& expected : {QStringLiteral("Стена 3"), QStringLiteral("Тип преобразователя"), QStringLiteral("Метод контроля")})
        QVERIFY2(pages.at(1).contains(expected), qPrintable(expected + QStringLiteral(" | ") + pages.at(1)));
    renderPages(pdf, m_strOut + QStringLiteral("/map-ru"));
}

void TestReports::pageRangeAndFailures()
{
    if (!havePoppler())
        QSKIP("poppler-utils are not installed");
    // Only the second of three reports is wanted: one page, the second report's.
    const QString pdf = m_strOut + QStringLiteral("/range.pdf");
    {
        QPdfWriter writer(pdf);
        ReportPrintJob job(&writer, QPageRanges());
        QPageRanges ranges;
        ranges.addPage(2);
        ReportPrintJob ranged(&writer, ranges);
        for (int i = 1; i <= 3; ++i)
            QVERIFY(ranged.printHtml(QStringLiteral("<H3>Report %1</H3>").arg(i)));
        QCOMPARE(ranged.pageCount(), 3);
        QCOMPARE(ranged.printedPages(), 1);
        QVERIFY(ranged.end());
        QVERIFY(!job.isActive());
    }
    QCOMPARE(pdfPages(pdf), 1);
    QCOMPARE(pdfText(pdf), QStringLiteral("Report 2"));

    // A long report runs onto further pages.
    const QString longPdf = m_strOut + QStringLiteral("/long.pdf");
    {
        auto printer = pdfPrinter(longPdf);
        CReportPrinter run(printer.get(), nullptr, m_work.path());
        AScanReportData data;
        data.title = QStringLiteral("Long");
        for (int i = 0; i < 120; ++i)
            data.rows << ReportRow{QStringLiteral("Row %1").arg(i), QString::number(i)};
        data.picture = filled(100, 50, Qt::black);
        QVERIFY(run.printAScanReport(data, 1));
        QVERIFY(run.finish());
        QVERIFY(run.printedPages() >= 2);
    }
    const QString longText = pdfText(longPdf);
    QVERIFY(longText.contains(QStringLiteral("Row 0 0")) && longText.contains(QStringLiteral("Row 119 119")));

    // A PDF file that cannot be written: said once, nothing printed, the pictures removed.
    const QString badPdf = m_work.filePath(QStringLiteral("missing-folder/x.pdf"));
    auto printer = pdfPrinter(badPdf);
    const QString tempRoot = m_work.filePath(QStringLiteral("bad-tmp"));
    QVERIFY(QDir().mkpath(tempRoot));
    {
        ModalDriver driver({QMessageBox::Ok});
        {
            CReportPrinter run(printer.get(), nullptr, tempRoot);
            AScanReportData data;
            data.title = QStringLiteral("x");
            data.picture = filled(10, 10, Qt::red);
            QVERIFY(!run.printAScanReport(data, 1));
            QVERIFY(!run.printAScanReport(data, 2));
            QVERIFY(!run.finish());
        }
        QCOMPARE(driver.seen().size(), 1);
        QCOMPARE(driver.seen().first().title, QStringLiteral("Vantar 4.0"));
        QCOMPARE(driver.seen().first().text, QStringLiteral("Couldn't print the report on \"%1\"!").arg(badPdf));
    }
    QVERIFY(!QFile::exists(badPdf));
    QVERIFY(reportFolders(tempRoot).isEmpty());

    // A picture that cannot be written is told about; the report still prints.
    const QString partPdf = m_strOut + QStringLiteral("/no-picture.pdf");
    auto partPrinter = pdfPrinter(partPdf);
    ModalDriver pictureDriver({QMessageBox::Ok});
    {
        CReportPrinter run(partPrinter.get(), nullptr, m_work.filePath(QStringLiteral("a-file")));
        AScanReportData data;
        data.title = QStringLiteral("Without picture");
        data.picture = filled(10, 10, Qt::red);
        QVERIFY(run.printAScanReport(data, 1));
        QVERIFY(run.finish());
    }
    QCOMPARE(pictureDriver.texts(), QStringList{QStringLiteral("Couldn't create temporary file \"temp1.jpg\"!")});
    QVERIFY(pdfText(partPdf).contains(QStringLiteral("Without picture")));
    QVERIFY(pdfImages(partPdf).isEmpty());

    // An empty run is no failure and writes nothing.
    const QString emptyPdf = m_work.filePath(QStringLiteral("empty.pdf"));
    auto emptyPrinter = pdfPrinter(emptyPdf);
    CReportPrinter empty(emptyPrinter.get(), nullptr, m_work.path());
    QVERIFY(empty.finish());
    QVERIFY(!QFile::exists(emptyPdf));
}

void TestReports::printDialogOnSharedPrinter()
{
    QPrinter printer(QPrinter::ScreenResolution);
    const QString pdf = m_strOut + QStringLiteral("/dialog.pdf");
    printer.setOutputFileName(pdf);
    bool bCurrentPageOffered = true;
    QStringList printers;
    ModalDriver driver({QMessageBox::Ok});
    driver.setOtherHandler([&](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        if (!dialog)
            return;
        bCurrentPageOffered = dialog->testOption(QAbstractPrintDialog::PrintCurrentPage);
        for (QComboBox* box : dialog->findChildren<QComboBox*>())
            for (int i = 0; i < box->count(); ++i)
                printers << box->itemText(i);
        dialog->accept();
    });
    QVERIFY(CReportPrinter::execPrintDialog(&printer, nullptr));
    QVERIFY(!bCurrentPageOffered);
    QVERIFY2(printers.join(QLatin1Char('|')).contains(QStringLiteral("PDF")), qPrintable(printers.join(QLatin1Char('|'))));

    // The dialog, then a document on the printer chosen there.
    QTextDocument doc;
    doc.setHtml(QStringLiteral("<H3>Printed through the dialog</H3>"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(CReportPrinter::printDocumentWithDialog(&printer, doc, nullptr));
    if (havePoppler())
        QCOMPARE(pdfText(pdf), QStringLiteral("Printed through the dialog"));

    // Cancelled: nothing printed.
    driver.setOtherHandler([](QWidget* modal) {
        if (auto* dialog = qobject_cast<QPrintDialog*>(modal))
            dialog->reject();
    });
    QFile::remove(pdf);
    QVERIFY(!CReportPrinter::printDocumentWithDialog(&printer, doc, nullptr));
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(!CReportPrinter::execPrintDialog(nullptr, nullptr));
}

void TestReports::printButtonOfAScanTab()
{
    if (!havePoppler())
        QSKIP("poppler-utils are not installed");
    {
        QSettings s(QStringLiteral("Norvik Software"), QStringLiteral("Vantar 4.0"));
        s.setValue(QStringLiteral("DefLang"), 1);
    }
    // The shared printer writes a PDF file, so accepting the dialog prints into it.
    const QString pdf = m_strOut + QStringLiteral("/tab.pdf");
    CDataManager w(nullptr, [pdf] {
        auto* printer = new QPrinter(QPrinter::ScreenResolution);
        printer->setPageOrientation(QPageLayout::Portrait);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return printer;
    });
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QStringList files = QDir(m_strAScans).entryList({QStringLiteral("*.bmp")}, QDir::Files);
    sortNumbered(files);
    QVERIFY(w.openPath(m_strAScans + QLatin1Char('/') + files.first()));
    ScanWgt* tab = w.ascanWindow()->ascanView();
    QVERIFY(tab);
    QTRY_COMPARE(tab->fileList()->count(), 3);
    for (int row = 0; row < 3; ++row)
        tab->fileList()->item(row)->setSelected(true);
    auto* print = w.ascanWindow()->findChild<QToolButton*>(QStringLiteral("tbtn_print"));
    QVERIFY(print && print->isEnabled());

    const QStringList before = reportFolders(QDir::tempPath());
    bool bDialog = false;
    ModalDriver driver({QMessageBox::Ok});
    driver.setOtherHandler([&](QWidget* modal) {
        if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
            bDialog = !dialog->testOption(QAbstractPrintDialog::PrintCurrentPage);
            dialog->accept();
        }
    });
    QFile::remove(pdf);
    QTest::mouseClick(print, Qt::LeftButton);
    QVERIFY(bDialog);
    QVERIFY(driver.seen().isEmpty());
    QCOMPARE(reportFolders(QDir::tempPath()), before);

    QCOMPARE(pdfPages(pdf), 3);
    const QStringList pages = pdfPageTexts(pdf, 3);
    for (int i = 0; i < 3; ++i) {
        AScanRecord record;
        QVERIFY(loadAScanRecord(m_strAScans + QLatin1Char('/') + files.at(i), record));
        QVERIFY2(pages.at(i).contains(record.name), qPrintable(pages.at(i)));
        QVERIFY(pages.at(i).contains(QStringLiteral("Velocity, m/s ") + record.currentSettings.velocityText()));
        QVERIFY(pages.at(i).contains(QStringLiteral("Vantar 4.0")));
    }
    // Every page holds the logo and one picture of the display at least 600 pixels wide.
    int wide = 0;
    for (const PdfImage& image : pdfImages(pdf))
        wide += image.width >= 600 ? 1 : 0;
    QCOMPARE(wide, 3);
    const QStringList pngs = renderPages(pdf, m_strOut + QStringLiteral("/tab"));
    QCOMPARE(pngs.size(), 3);
    qInfo("%s", qPrintable(pngs.first()));
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
