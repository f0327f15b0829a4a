// The interface languages switched through the language button's menu; the help pages and About box.

#include "app/cdatamanager.h"
#include "app/chelpviewer.h"
#include "app/constants.h"
#include "app/datawindow/cwindatatempl.h"
#include "mapview/cmapsettings.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

QSettings store()
{
    return QSettings(QLatin1String(Vantar::kOrganisationName), QLatin1String(Vantar::kApplicationName));
}

void switchTo(CDataManager& w, ECurrentLanguage eLang)
{
    auto* timer = new QTimer(&w);
    int tries = 0;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, eLang, &tries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu) {
            menu->setActiveAction(menu->actions().at(eLang == Russian ? 0 : 1));
            QTest::keyClick(menu, Qt::Key_Return);
        }
        if (menu || ++tries > 300)
            timer->deleteLater();
    });
    timer->start(10);
    QTest::mouseClick(w.mapWindow()->findChild<QToolButton*>(QStringLiteral("tbtn_language")), Qt::LeftButton);
}

QString yesButtonText(QWidget* parent)
{
    QString text;
    QTimer::singleShot(0, parent, [&text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->button(QMessageBox::Yes)->text();
            QTest::keyClick(box, Qt::Key_Escape);
        }
    });
    QMessageBox::question(parent, Vantar::applicationName(), QStringLiteral("?"));
    return text;
}

// Source texts whose Russian differs from the English (names and units that stay are left out).
QSet<QString> translatedSources()
{
    QSet<QString> sources;
    QFile file(QStringLiteral(VANTAR_SOURCE_DIR "/resources/vantar_ru.ts"));
    if (!file.open(QIODevice::ReadOnly))
        return sources;
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (!translation.isEmpty() && translation != source && !source.trimmed().isEmpty())
                sources.insert(source.trimmed());
        }
    }
    return sources;
}

// Every text a user can see in the window's visible widgets, cells and headers included.
QStringList visibleTexts(QWidget* window)
{
    QStringList texts{window->windowTitle()};
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        texts << w->toolTip();
        for (const char* name : {"text", "title", "placeholderText"})
            texts << w->property(name).toString();
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i) << tabs->tabToolTip(i);
        const QAbstractItemModel* model = qobject_cast<QAbstractItemView*>(w) ? qobject_cast<QAbstractItemView*>(w)->model()
                                          : qobject_cast<QComboBox*>(w)   ? qobject_cast<QComboBox*>(w)->model()
                                                                          : nullptr;
        for (int c = 0; model && c < model->columnCount(); ++c) {
            texts << model->headerData(c, Qt::Horizontal).toString();
            for (int r = 0; r < model->rowCount(); ++r)
                texts << model->index(r, c).data().toString();
        }
    }
    texts.removeAll(QString());
    return texts;
}

// Shown texts that are a source text, or start with one ending in a colon or followed by a blank.
QStringList englishLeft(const QStringList& texts, const QSet<QString>& sources)
{
    QStringList left;
    for (const QString& text : texts) {
        const QString t = text.trimmed();
        bool bEnglish = sources.contains(t);
        for (auto it = sources.begin(); !bEnglish && it != sources.end(); ++it)
            bEnglish = it->size() > 3 && (it->endsWith(QLatin1Char(':')) || text.startsWith(*it + QLatin1Char(' ')))
                       && text.startsWith(*it);
        if (bEnglish)
            left << text;
    }
    return left;
}

} // namespace

class TestI18n : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void startLanguage();
    void helpPagesLinksAndPictures();
    void helpFollowsLanguage();
    void noEnglishLeftAfterSwitch();
};

void TestI18n::init()
{
    store().clear();
}

// Russian without a stored choice; an unknown one loads nothing: source texts, no help page.
void TestI18n::startLanguage()
{
    {
        CDataManager w;
        QCOMPARE(w.tabs()->tabText(0), QStringLiteral("А-скан"));
    }
    store().setValue(QStringLiteral("DefLang"), 5);
    CDataManager w;
    QCOMPARE(w.tabs()->tabText(0), QStringLiteral("A-Scan"));
    QVERIFY(w.helpFile().isEmpty());
}

void TestI18n::helpPagesLinksAndPictures()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    QStringList anchorsOfFirst;
    CHelpViewer viewer;
    for (const QString page : {QStringLiteral("helpVT_4.0_eng.htm"), QStringLiteral("helpVT_4.0_rus.htm")}) {
        QFile file(appDir + QLatin1Char('/') + page);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(page));
        const QString html = QString::fromUtf8(file.readAll());
        // Links lead to the page's own sections, the same in both pages.
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
        QCOMPARE(anchors, anchorsOfFirst);
        // Every picture the shown page refers to loads, as the browser resolves it.
        viewer.setHelpFile(page);
        QTextBrowser* browser = viewer.browser();
        QStringList sources;
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isImageFormat())
                    sources << it.fragment().charFormat().toImageFormat().name();
        QVERIFY2(sources.size() >= 10, qPrintable(page));
        for (const QString& source : sources) {
            const QVariant resource = browser->loadResource(QTextDocument::ImageResource, QUrl(source));
            QImage image = resource.value<QImage>();
            if (image.isNull())
                image.loadFromData(resource.toByteArray());
            QVERIFY2(image.width() >= 16, qPrintable(page + QStringLiteral(": ") + source));
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
    help->hide();
    QTest::mouseClick(w.mapWindow()->findChild<QToolButton*>(QStringLiteral("tbtn_help")), Qt::LeftButton);
    QCOMPARE(w.helpViewer(), help);
    QVERIFY(help->isVisible());
    QTest::mouseClick(w.mapWindow()->findChild<QToolButton*>(QStringLiteral("tbtn_info")), Qt::LeftButton);
    auto* about = w.aboutWindow()->findChild<QTextBrowser*>(QStringLiteral("aboutTBrowser"));
    QCOMPARE(w.aboutWindow()->windowTitle(), QStringLiteral("О программе Vantar 4.0"));
    for (const char* part : {"Vantar 4.0 Версия 1.62", "https://ru.norvik.example", "Благодарим"})
        QVERIFY2(about->toPlainText().contains(QString::fromUtf8(part)), part);
    // An open help window and the About box change with the language.
    switchTo(w, English);
    QCOMPARE(w.aboutWindow()->windowTitle(), QStringLiteral("About Vantar 4.0"));
    for (const char* part : {"Vantar 4.0 Version 1.62", "https://en.norvik.example", "Thank you for using our"})
        QVERIFY2(about->toPlainText().contains(QLatin1String(part)), part);
    QCOMPARE(help->windowTitle(), QStringLiteral("Vantar 4.0 Help"));
    QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("Getting started")));
    // A link to a section scrolls there.
    help->browser()->verticalScrollBar()->setValue(0);
    help->browser()->setSource(QUrl(QStringLiteral("#print")));
    QTRY_VERIFY(help->browser()->verticalScrollBar()->value() > 0);
    // Closing and reopening: the page of the current language.
    w.close();
    QVERIFY(!w.helpViewer());
    switchTo(w, Russian);
    QTest::keyClick(w.mapWindow(), Qt::Key_F1);
    QVERIFY(w.helpViewer());
    QVERIFY(w.helpViewer()->browser()->toPlainText().contains(QStringLiteral("Вкладка «Карта»")));
}

void TestI18n::noEnglishLeftAfterSwitch()
{
    const QSet<QString> sources = translatedSources();
    store().setValue(QStringLiteral("DefLang"), 1);
    CDataManager w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ConfigSettings settings;
    settings.bAveraging = true;
    settings.iAveraging = 8;
    CMapSettings mapSettings({50, 50, 0, 12}, settings, SAFTsettings(), SAFTsettings(), QStringLiteral("Pier 4"),
                             ProcessedView, QStringLiteral("crack at 0.3"), &w);
    mapSettings.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mapSettings));
    // Both tabs and the settings window (told of the language through posted events).
    auto shown = [&] {
        QCoreApplication::processEvents();
        QStringList texts;
        for (int tab = 0; tab < 2; ++tab) {
            w.tabs()->setCurrentIndex(tab);
            texts << visibleTexts(&w);
        }
        return texts << visibleTexts(&mapSettings);
    };
    // The English start shows English texts, so the check below can find them.
    QVERIFY(englishLeft(shown(), sources).size() > 10);
    switchTo(w, Russian);
    const QStringList left = englishLeft(shown(), sources);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QStringLiteral(" | "))));
    QCOMPARE(yesButtonText(&w), QStringLiteral("&Да")); // Qt's own texts follow as well
    // And back: no Russian left, except in the names the data brings; the choice is kept.
    switchTo(w, English);
    const QStringList russian = shown().filter(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}]")));
    QVERIFY2(russian.isEmpty(), qPrintable(russian.join(QStringLiteral(" | "))));
    QCOMPARE(yesButtonText(&w), QStringLiteral("&Yes"));
    w.close();
    QCOMPARE(store().value(QStringLiteral("DefLang")).toInt(), 1);
}

QTEST_MAIN(TestI18n)
#include "tst_i18n.moc"
