// The interface languages: the Russian translation loaded from the application folder at
// start-up and on every switch, the help pages of both languages with their pictures, and the
// About box. Screenshots of the help window and the About box go to the temporary folder.

#include "app/cdatamanager.h"
#include "app/chelpviewer.h"
#include "app/constants.h"
#include "app/datawindow/cwindatatempl.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QToolButton>
#include <QtTest>

namespace {

QSettings store()
{
    return QSettings(QLatin1String(Vantar::kOrganisationName), QLatin1String(Vantar::kApplicationName));
}

void switchTo(CDataManager& w, ECurrentLanguage eLang)
{
    emit w.mapWindow()->changeLanguage(eLang);
}

QString readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// Every picture that the shown document refers to, as the browser resolves it.
QStringList imageSources(const QTextDocument* doc)
{
    QStringList sources;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                sources << format.toImageFormat().name();
        }
    return sources;
}

QString savedShot(QWidget* widget, const QString& name)
{
    const QString path = QDir::temp().filePath(name);
    if (!widget->grab().save(path, "PNG"))
        return QString();
    qInfo("%s", qPrintable(path));
    return path;
}

const QString kPages[] = {QStringLiteral("helpVT_4.0_eng.htm"), QStringLiteral("helpVT_4.0_rus.htm")};

} // namespace

class TestI18n : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void russianLoadedAtStart();
    void switchingReloadsTranslation();
    void unknownLanguageKeepsState();
    void helpPagesBesideProgram();
    void helpFollowsLanguage();
    void helpPicturesResolve();
    void aboutBoxInBothLanguages();
};

void TestI18n::init()
{
    QSettings s = store();
    s.clear();
    s.sync();
}

void TestI18n::russianLoadedAtStart()
{
    QVERIFY2(QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/vantar_ru.qm")),
             "the build places the translation next to the programs");
    CDataManager w;
    QCOMPARE(w.language(), Russian);
    QCOMPARE(w.tabs()->tabText(0), QStringLiteral("А-скан"));
    QCOMPARE(w.tabs()->tabText(1), QStringLiteral("Карта"));
    auto* open = w.mapWindow()->findChild<QToolButton*>(QStringLiteral("tbtn_open"));
    QVERIFY(open);
    QCOMPARE(open->toolTip(), QStringLiteral("Открыть файл"));
    // Texts of the core library come from the same file.
    QCOMPARE(QCoreApplication::translate("ConfigSettings", "Reflection"), QStringLiteral("Отражение"));
}

void TestI18n::switchingReloadsTranslation()
{
    {
        QSettings s = store();
        s.setValue(QStringLiteral("DefLang"), 1);
    }
    CDataManager w;
    QCOMPARE(w.language(), English);
    QCOMPARE(w.tabs()->tabText(0), QStringLiteral("A-Scan"));
    auto* open = w.ascanWindow()->findChild<QToolButton*>(QStringLiteral("tbtn_open"));
    QCOMPARE(open->toolTip(), QStringLiteral("Open File"));

    switchTo(w, Russian);
    QCOMPARE(w.tabs()->tabText(0), QStringLiteral("А-скан"));
    QCOMPARE(open->toolTip(), QStringLiteral("Открыть файл"));
    switchTo(w, English);
    QCOMPARE(w.tabs()->tabText(1), QStringLiteral("Map"));
    QCOMPARE(open->toolTip(), QStringLiteral("Open File"));
    switchTo(w, Russian);
    QCOMPARE(w.tabs()->tabText(1), QStringLiteral("Карта"));
    w.close();
    QCOMPARE(store().value(QStringLiteral("DefLang")).toInt(), 0);
}

void TestI18n::unknownLanguageKeepsState()
{
    {
        QSettings s = store();
        s.setValue(QStringLiteral("DefLang"), 5);
    }
    // No file is loaded for an unknown language: the source texts show, no help page is chosen.
    CDataManager w;
    QCOMPARE(int(w.language()), 5);
    QCOMPARE(w.tabs()->tabText(0), QStringLiteral("A-Scan"));
    QVERIFY(w.helpFile().isEmpty());
}

void TestI18n::helpPagesBesideProgram()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    QStringList anchorsOfFirst;
    for (const QString& page : kPages) {
        const QString html = readFile(appDir + QLatin1Char('/') + page);
        QVERIFY2(!html.isEmpty(), qPrintable(page));
        // Links inside the page lead to its own sections, and both pages have the same ones.
        QStringList anchors;
        const QRegularExpression anchor(QStringLiteral("<a name=\"([a-z]+)\">"));
        for (auto it = anchor.globalMatch(html); it.hasNext();)
            anchors << it.next().captured(1);
        QVERIFY(anchors.size() >= 8);
        const QRegularExpression link(QStringLiteral("href=\"#([a-z]+)\""));
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            QVERIFY2(anchors.contains(target), qPrintable(page + QStringLiteral(" #") + target));
        }
        if (anchorsOfFirst.isEmpty())
            anchorsOfFirst = anchors;
        else
            QCOMPARE(anchors, anchorsOfFirst);
        // Pictures of the pages lie beside them too.
        const QRegularExpression image(QStringLiteral("src=\"(images/[^\"]+)\""));
        for (auto it = image.globalMatch(html); it.hasNext();) {
            const QString file = it.next().captured(1);
            QVERIFY2(QFile::exists(appDir + QLatin1Char('/') + file), qPrintable(file));
        }
    }
}

void TestI18n::helpFollowsLanguage()
{
    CDataManager w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::keyClick(w.mapWindow(), Qt::Key_F1);
    CHelpViewer* help = w.helpViewer();
    QVERIFY(help);
    QCOMPARE(help->windowTitle(), QStringLiteral("Справка Vantar 4.0"));
    QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("Начало работы")));
    QCOMPARE(help->browser()->source().toString(), QStringLiteral("helpVT_4.0_rus.htm"));
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QVERIFY(!savedShot(help, QStringLiteral("vantar-help-ru.png")).isEmpty());

    // An open help window changes its page with the language.
    switchTo(w, English);
    QCOMPARE(help->windowTitle(), QStringLiteral("Vantar 4.0 Help"));
    QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("Getting started")));
    QVERIFY(!help->browser()->toPlainText().contains(QStringLiteral("Начало работы")));
    QVERIFY(!savedShot(help, QStringLiteral("vantar-help-en.png")).isEmpty());

    // A link to a section scrolls there.
    help->browser()->verticalScrollBar()->setValue(0);
    help->browser()->setSource(QUrl(QStringLiteral("#print")));
    QTRY_VERIFY(help->browser()->verticalScrollBar()->value() > 0);
    help->browser()->setSource(QUrl(QStringLiteral("#toolbar")));
    QVERIFY(!savedShot(help, QStringLiteral("vantar-help-en-toolbar.png")).isEmpty());

    // Closing and reopening: the page of the current language.
    w.close();
    QVERIFY(!w.helpViewer());
    switchTo(w, Russian);
    QTest::keyClick(w.mapWindow(), Qt::Key_F1);
    QVERIFY(w.helpViewer());
    QVERIFY(w.helpViewer()->browser()->toPlainText().contains(QStringLiteral("Вкладка «Карта»")));
}

void TestI18n::helpPicturesResolve()
{
    CHelpViewer viewer;
    for (const QString& page : kPages) {
        viewer.setHelpFile(page);
        QTextBrowser* browser = viewer.browser();
        const QStringList sources = imageSources(browser->document());
        QVERIFY2(sources.size() >= 10, qPrintable(page));
        for (const QString& source : sources) {
            const QVariant resource = browser->loadResource(QTextDocument::ImageResource, QUrl(source));
            QImage image = resource.value<QImage>();
            if (image.isNull())
                image.loadFromData(resource.toByteArray());
            QVERIFY2(!image.isNull(), qPrintable(page + QStringLiteral(": ") + source));
            QVERIFY(image.width() >= 16);
        }
    }
}

void TestI18n::aboutBoxInBothLanguages()
{
    CDataManager w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.mapWindow()->findChild<QToolButton*>(QStringLiteral("tbtn_info")), Qt::LeftButton);
    QWidget* about = w.aboutWindow();
    QVERIFY(about);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QCOMPARE(about->windowTitle(), QStringLiteral("О программе Vantar 4.0"));
    auto* browser = about->findChild<QTextBrowser*>(QStringLiteral("aboutTBrowser"));
    QVERIFY(browser);
    QString text = browser->toPlainText();
    QVERIFY(text.contains(QStringLiteral("Vantar 4.0 Версия 1.62")));
    QVERIFY(text.contains(QStringLiteral("https://ru.norvik.example")));
    QVERIFY(text.contains(QStringLiteral("Благодарим")));
    const QImage ru = about->grab().toImage();
    QVERIFY(!savedShot(about, QStringLiteral("vantar-about-ru.png")).isEmpty());

    // The logo is drawn at the top: something dark in the upper part of a white box.
    bool dark = false;
    for (int y = 0; y < 120 && !dark; ++y)
        for (int x = 0; x < ru.width() && !dark; ++x)
            dark = qGray(ru.pixel(x, y)) < 100;
    QVERIFY(dark);

    switchTo(w, English);
    QCOMPARE(about->windowTitle(), QStringLiteral("About Vantar 4.0"));
    text = browser->toPlainText();
    QVERIFY(text.contains(QStringLiteral("Vantar 4.0 Version 1.62")));
    QVERIFY(text.contains(QStringLiteral("https://en.norvik.example")));
    QVERIFY(text.contains(QStringLiteral("Thank you for using our products!")));
    QVERIFY(!text.contains(QStringLiteral("Благодарим")));
    QVERIFY(!savedShot(about, QStringLiteral("vantar-about-en.png")).isEmpty());
    QVERIFY(about->grab().toImage() != ru);
}

QTEST_MAIN(TestI18n)
#include "tst_i18n.moc"
