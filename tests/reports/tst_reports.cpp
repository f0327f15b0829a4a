// Printable reports: settings rows, pictures of a run, both reports printed to PDF and read back.

#include "app/cdatamanager.h"
#include "app/creportprinter.h"
#include "app/datawindow/cwindatatempl.h"
#include "ascan/ascanfile.h"
#include "ascan/ascanreport.h"
#include "ascan/clistwidgetheir.h"
#include "ascan/reporthtml.h"
#include "ascan/reportpictures.h"
#include "ascan/reportprintjob.h"
#include "ascan/scanwgt.h"
#include "ascan/settingsrows.h"
#include "common/ascanfolder.h"
#include "common/modaldriver.h"
#include "map/mapreport.h"

#include <QComboBox>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QtTest>

namespace {

struct PdfImage
{
    int page, width, height;
};

bool havePoppler()
{
    for (const char* tool : {"pdftotext", "pdfimages"})
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

// Ligatures of the font (ﬁ, ﬀ) back to letters, every run of white space one blank.
QString plain(const QString& text)
{
    QString result = text;
    const char* const letters[] = {"ff", "fi", "fl", "ffi", "ffl"};
    for (int i = 0; i < 5; ++i)
        result.replace(QChar(0xFB00 + i), QLatin1String(letters[i]));
    result.replace(QChar(0x00A0), QLatin1Char(' '));
    return result.simplified();
}

// The text of each page, rows kept on their lines.
QStringList pdfPages(const QString& pdf)
{
    QStringList pages = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                                          QStringLiteral("UTF-8"), pdf, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    pages.removeLast(); // after the last page's form feed
    for (QString& page : pages)
        page = plain(page);
    return pages;
}

QList<PdfImage> pdfImages(const QString& pdf)
{
    QList<PdfImage> images;
    const QStringList lines = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        bool bPage = false;
        if (f.size() < 5 || (f.at(0).toInt(&bPage), !bPage) || f.at(2) != QLatin1String("image"))
            continue;
        images.append({f.at(0).toInt(), f.at(3).toInt(), f.at(4).toInt()});
    }
    return images;
}

QImage filled(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A PDF printer as the main window makes it, writing into path.
std::unique_ptr<QPrinter> pdfPrinter(const QString& path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
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
    data.logoPath = QStringLiteral(VANTAR_BIN_DIR "/Norvik_logo_bw.bmp");
    data.readouts = {{QStringLiteral("X, m = 0.50"), QStringLiteral("Step # 6")},
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
    void settingsTables_data();
    void settingsTables();
    void picturesOfOneRunApart();
    void composedPictures();
    void mapReportToPdf();
    void pageRangeAndFailures();
    void printButtonOfAScanTab();

private:
    QString m_strAScans; // generated A-scans
    QTemporaryDir m_work;
};

void TestReports::initTestCase()
{
    m_strAScans = m_work.filePath(QStringLiteral("ascans"));
    QVERIFY(QDir().mkpath(m_strAScans));
    // The second A-scan's names look like markup; the fourth has no signal and is not printed.
    for (int n = 1; n <= 4; ++n)
        TestAScans::write(m_strAScans, n, 7, [n](GeneratedAScan& a) {
            if (n == 2) {
                a.name = QStringLiteral("<b>Pier</b> & \"7\"");
                a.setupName = QStringLiteral("<i>wet</i> %1 &amp;");
            }
        });
    QVERIFY(QFile::remove(m_strAScans + QStringLiteral("/4.raw")));
}

using RowValues = QMap<int, QString>;

// Every settings table comes from one builder: its labels, and the values that depend on a choice.
void TestReports::settingsTables_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<RowValues>("values");
    const QStringList steps = {"Horizontal step, mm", "Vertical step, mm", "Horizontal size (points)",
                               "Vertical size (points)"};
    const QStringList ascan = {"Probe type", "Operating frequency, KHz", "Delay, \u00B5s", "Gain, dB",
                               "Pulse voltage, V", "Period number", "Pulse repetition rate, Hz",
                               "Averaging, quantity", "Velocity, m/s", "Base, mm", "TGV", "Scale",
                               "Readings discreteness", "Cursor", "Input signals filter", "Testing method"};
    QTest::newRow("A-scan tab and report") << 0 << ascan
                                           << RowValues{{1, "70"}, {7, "16"}, {8, "4170"}, {9, "Off"},
                                                        {11, "\u00B5s"}, {15, "Transmission"}};
    QTest::newRow("map settings window") << 1 << steps + ascan + QStringList{"Sampling rate, MHz"}
        << RowValues{{0, "50"}, {1, "100"}, {2, "Off"}, {3, "12"}, {12, "4170"}, {20, "2.5"}};
    QTest::newRow("map report, left") << 2 << steps + QStringList{""} + ascan.mid(0, 5)
        << RowValues{{0, "50"}, {2, "Off"}, {3, "12"}, {4, ""}, {6, "70"}, {8, "52"}};
    QTest::newRow("map report, right")
        << 3 << QStringList{"Period number", "Repetition rate, Hz", "Accumulation"} + ascan.mid(8, 7)
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
}

// Each run's pictures in a folder of their own, under a root whose name means something in a URL.
void TestReports::picturesOfOneRunApart()
{
    const QString root = m_work.filePath(QStringLiteral("odd #1 %41 ?&'"));
    QVERIFY(QDir().mkpath(root));
    QVERIFY(TestAScans::writeBytes(root + QStringLiteral("/temp1.jpg"), "not ours"));
    ReportPictureStore first(root);
    ReportPictureStore second(root);
    QVERIFY(first.isValid() && first.folder() != second.folder());
    const QImage image = filled(64, 48, QColor(200, 10, 10));
    const QString path = first.save(image, AScanReport::pictureFileName(1));
    QCOMPARE(path, first.folder() + QStringLiteral("/temp1.jpg"));
    QTextDocument doc;
    doc.setHtml(ReportHtml::writePictureBlock(path, 620));
    const QTextCursor at = doc.find(QString(QChar::ObjectReplacementCharacter));
    const QUrl source(at.charFormat().toImageFormat().name());
    QCOMPARE(QImage(source.toLocalFile()).size(), QSize(64, 48));
    QVERIFY(!second.save(image, MapReport::pictureFileName()).isEmpty());
    QVERIFY(first.save(image, QStringLiteral("../escape.jpg")).isEmpty());
    QVERIFY(first.save(image, QStringLiteral("..")).isEmpty());
    QVERIFY(!QFile::exists(root + QStringLiteral("/escape.jpg")));
    first.removeAll();
    QCOMPARE(reportFolders(root).size(), 1);
    QVERIFY(QFile::exists(second.files().value(0)));
    QCOMPARE(TestAScans::readAll(root + QStringLiteral("/temp1.jpg")), QByteArray("not ours"));
    // A transparent picture is put on white, not on black; the destructor cleans up as well.
    QString folder;
    {
        QImage clear(20, 20, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        ReportPictureStore third(root);
        folder = third.folder();
        QVERIFY(QImage(third.save(clear, QStringLiteral("a.jpg"))).pixelColor(10, 10).lightness() > 240);
    }
    QVERIFY(!QFileInfo::exists(folder));
}

// Each part of a report picture at its place; on the map D right of C, B under C, A under D.
void TestReports::composedPictures()
{
    AScanPictureParts parts;
    parts.display = filled(200, 100, Qt::black);
    parts.verticalScale = filled(30, 100, Qt::gray);
    parts.horizontalScale = filled(200, 20, Qt::darkGray);
    parts.readouts = filled(150, 25, Qt::yellow);
    const QImage picture = AScanReport::composePicture(parts);
    const int m = AScanReport::kPictureMargin;
    const int left = m + 32 + m, top = m + 27 + m;
    QCOMPARE(picture.pixelColor(left + 100, top + 50), QColor(Qt::black));
    QCOMPARE(picture.pixelColor(m + 1, m + 10), QColor(Qt::yellow));
    QCOMPARE(picture.pixelColor(m + 1, top + 50), QColor(Qt::gray));
    QCOMPARE(picture.pixelColor(left + 100, top + 102 + m + 10), QColor(Qt::darkGray));
    const QImage map = sampleMap().picture;
    QCOMPARE(map.pixelColor(8 + 150, 8 + 100), QColor(220, 30, 30));
    QCOMPARE(map.pixelColor(8 + 300 + 8 + 100, 8 + 100), QColor(30, 30, 220));
    QCOMPARE(map.pixelColor(8 + 150, 8 + 200 + 8 + 60), QColor(30, 180, 30));
    QCOMPARE(map.pixelColor(8 + 300 + 8 + 100, 8 + 200 + 8 + 60), QColor(240, 200, 0));
    QCOMPARE(map.pixelColor(8 + 300 + 8 + 200 + 8 + 15, 100), QColor(120, 0, 160));
}

// The map report printed: texts as typed and in order, the picture embedded, its folder gone.
void TestReports::mapReportToPdf()
{
    if (!havePoppler())
        QSKIP("poppler-utils are not installed");
    const QString pdf = m_work.filePath(QStringLiteral("map.pdf"));
    auto printer = pdfPrinter(pdf);
    const MapReportData data = sampleMap();
    const QString tempRoot = m_work.filePath(QStringLiteral("map-tmp"));
    QVERIFY(QDir().mkpath(tempRoot));
    {
        CReportPrinter run(printer.get(), nullptr, tempRoot);
        QVERIFY(run.printMapReport(data));
        QVERIFY(run.finish());
    }
    QVERIFY(reportFolders(tempRoot).isEmpty());
    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 1);
    const QString& text = pages.first();
    qsizetype at = 0;
    for (const char* mark : {"Map Name: Pier <4> & deck 12.03.24 10:15", "X, m = 0.50 Step # 6", "A, dB = 42",
                             "Thick wall", "Horizontal size (points) Off", "Accumulation 16",
                             "Comments: Crack near <joint> 3 & void at 35%1 cm second line."}) {
        const qsizetype next = text.indexOf(QString::fromUtf8(mark), at);
        QVERIFY2(next >= at, qPrintable(QString::fromUtf8(mark) + QStringLiteral(" | ") + text));
        at = next;
    }
    bool bPicture = false;
    for (const PdfImage& image : pdfImages(pdf))
        bPicture = bPicture || QSize(image.width, image.height) == data.picture.size();
    QVERIFY(bPicture);
}

void TestReports::pageRangeAndFailures()
{
    if (!havePoppler())
        QSKIP("poppler-utils are not installed");
    // Only the second of three reports is wanted: one page, the second report's.
    const QString pdf = m_work.filePath(QStringLiteral("range.pdf"));
    {
        QPdfWriter writer(pdf);
        QPageRanges ranges;
        ranges.addPage(2);
        ReportPrintJob ranged(&writer, ranges);
        for (int i = 1; i <= 3; ++i)
            QVERIFY(ranged.printHtml(QStringLiteral("<H3>Report %1</H3>").arg(i)));
        QCOMPARE(ranged.printedPages(), 1);
        QVERIFY(ranged.end());
    }
    QCOMPARE(pdfPages(pdf), QStringList{QStringLiteral("Report 2")});
    // A long report runs onto further pages.
    const QString longPdf = m_work.filePath(QStringLiteral("long.pdf"));
    AScanReportData data;
    data.title = QStringLiteral("Long");
    for (int i = 0; i < 120; ++i)
        data.rows << ReportRow{QStringLiteral("Row %1").arg(i), QString::number(i)};
    data.picture = filled(100, 50, Qt::black);
    {
        auto printer = pdfPrinter(longPdf);
        CReportPrinter run(printer.get(), nullptr, m_work.path());
        QVERIFY(run.printAScanReport(data, 1));
        QVERIFY(run.finish());
        QVERIFY(run.printedPages() >= 2);
    }
    const QString longText = pdfPages(longPdf).join(QLatin1Char(' '));
    QVERIFY(longText.contains(QStringLiteral("Row 0 0")) && longText.contains(QStringLiteral("Row 119 119")));
    // A PDF file that cannot be written: said once, nothing printed, the pictures removed.
    const QString badPdf = m_work.filePath(QStringLiteral("missing-folder/x.pdf"));
    const QString tempRoot = m_work.filePath(QStringLiteral("bad-tmp"));
    QVERIFY(QDir().mkpath(tempRoot));
    {
        ModalDriver driver({QMessageBox::Ok});
        {
            auto printer = pdfPrinter(badPdf);
            CReportPrinter run(printer.get(), nullptr, tempRoot);
            QVERIFY(!run.printAScanReport(data, 1));
            QVERIFY(!run.printAScanReport(data, 2));
            QVERIFY(!run.finish());
        }
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("Couldn't print the report on \"%1\"!").arg(badPdf)});
    }
    QVERIFY(!QFile::exists(badPdf));
    QVERIFY(reportFolders(tempRoot).isEmpty());
    // A picture that cannot be written (its root is a plain file) is told about; the report prints.
    QVERIFY(TestAScans::writeBytes(m_work.filePath(QStringLiteral("a-file")), "a plain file"));
    const QString partPdf = m_work.filePath(QStringLiteral("no-picture.pdf"));
    ModalDriver pictureDriver({QMessageBox::Ok});
    {
        auto printer = pdfPrinter(partPdf);
        CReportPrinter run(printer.get(), nullptr, m_work.filePath(QStringLiteral("a-file")));
        data.rows.clear();
        data.title = QStringLiteral("Without picture");
        QVERIFY(run.printAScanReport(data, 1));
        QVERIFY(run.finish());
    }
    QCOMPARE(pictureDriver.texts(), QStringList{QStringLiteral("Couldn't create temporary file \"temp1.jpg\"!")});
    QCOMPARE(pdfPages(partPdf), QStringList{QStringLiteral("Without picture Instrument Settings")});
    QVERIFY(pdfImages(partPdf).isEmpty());
}

// Print with all A-scans selected: a page per A-scan with a signal, names as typed, the edit kept.
void TestReports::printButtonOfAScanTab()
{
    if (!havePoppler())
        QSKIP("poppler-utils are not installed");
    QSettings(QStringLiteral("Norvik Software"), QStringLiteral("Vantar 4.0")).setValue(QStringLiteral("DefLang"), 1);
    const QString pdf = m_work.filePath(QStringLiteral("tab.pdf"));
    CDataManager w(nullptr, [pdf] { return pdfPrinter(pdf).release(); });
    w.show();
    QVERIFY(w.openPath(TestAScans::pathOf(m_strAScans, 1)));
    ScanWgt* tab = w.ascanWindow()->ascanView();
    QTRY_COMPARE(tab->fileList()->count(), 4);
    auto method = [tab] {
        return qobject_cast<QComboBox*>(
            tab->findChild<QTableWidget*>(QStringLiteral("tw_settings"))->cellWidget(ScanWgt::RowTestingMethod, 1));
    };
    QTest::keyClick(method(), method()->currentIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
    const QString edited = method()->currentText();
    QTest::keyClick(tab->fileList(), Qt::Key_A, Qt::ControlModifier);
    const QStringList before = reportFolders(QDir::tempPath());
    bool bDialog = false;
    ModalDriver driver({QMessageBox::Ok});
    driver.setOtherHandler([&](QWidget* modal) {
        if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
            bDialog = !dialog->testOption(QAbstractPrintDialog::PrintCurrentPage);
            dialog->accept();
        }
    });
    QTest::mouseClick(w.ascanWindow()->findChild<QToolButton*>(QStringLiteral("tbtn_print")), Qt::LeftButton);
    QVERIFY(bDialog);
    QVERIFY(driver.seen().isEmpty());
    QCOMPARE(reportFolders(QDir::tempPath()), before);
    QCOMPARE(tab->currentPath(), TestAScans::pathOf(m_strAScans, 1));
    QVERIFY(tab->isEdited());
    QCOMPARE(method()->currentText(), edited);
    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 3);
    const QList<PdfImage> images = pdfImages(pdf);
    for (int i = 0; i < 3; ++i) {
        AScanRecord r;
        QVERIFY(loadAScanRecord(TestAScans::pathOf(m_strAScans, i + 1), r));
        const ConfigSettings& s = r.currentSettings;
        for (const QString& expected : {r.name + QLatin1Char(' ') + r.date.simplified(),
                                        r.setupName.isEmpty() ? QStringLiteral("Instrument Settings") : r.setupName,
                                        QStringLiteral("Velocity, m/s ") + s.velocityText(),
                                        QStringLiteral("Testing method ") + (i == 0 ? edited : s.testingMethodText())})
            QVERIFY2(pages.at(i).contains(expected), qPrintable(expected + QStringLiteral(" | ") + pages.at(i)));
        int pictures = 0;
        for (const PdfImage& image : images) {
            pictures += image.page == i + 1 && image.width >= 600;
        }
        QCOMPARE(pictures, 1);
    }
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
