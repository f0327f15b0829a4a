// The main window and the data windows, driven as a user would: start-up state, preferences,
// Open, the toolbar following the views, the language menu, F1 and the layout on resize.

#include "app/cdatamanager.h"
#include "app/chelpviewer.h"
#include "app/constants.h"
#include "app/datawindow/cwindatatempl.h"
#include "ascan/ascangenerator.h"
#include "ascan/clistwidgetheir.h"
#include "ascan/scanwgt.h"
#include "common/modaldriver.h"
#include "map/mapgenerator.h"
#include "mapview/cmapscans.h"

#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

QSettings store()
{
    return QSettings(QLatin1String(Vantar::kOrganisationName), QLatin1String(Vantar::kApplicationName));
}

QToolButton* button(CWinDataTempl* window, const char* name)
{
    auto* b = window->findChild<QToolButton*>(QLatin1String(name));
    if (!b)
        qFatal("no tool button %s", name);
    return b;
}

// The first run speaks Russian: texts are compared with what the installed translation gives.
QString translated(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text);
}

const char* const kMapOnly[] = {"tbtn_settings", "tbtn_slicesfusion", "tbtn_selectrect", "tbtn_scandrag",
                                "tbtn_reset_settings"};

// Picks an entry of the language menu with the keys: 1 Russian, 2 English.
void pickLanguage(CWinDataTempl* window, int downPresses)
{
    QTimer::singleShot(50, [downPresses] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (int i = 0; i < downPresses; ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::mouseClick(button(window, "tbtn_language"), Qt::LeftButton);
}

} // namespace

class TestApp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstStart();
    void preferencesSurviveRestart();
    void missingFolderIsDropped();
    void cutShortStartupKeepsPreferences();
    void openRemembersFolder();
    void openPathArgument();
    void mapCommandsFollowView();
    void ascanCommandsFollowView();
    void languageMenu();
    void f1OpensHelpOnce();
    void aboutBox();
    void toolbarLayoutOnResize();
};

void TestApp::init()
{
    QSettings s = store();
    s.clear();
    s.sync();
}

void TestApp::firstStart()
{
    CDataManager w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The map tab first, in Russian, with nothing to save or print yet.
    QCOMPARE(w.tabs()->currentIndex(), 1);
    QCOMPARE(w.tabs()->tabText(1), translated("CDataManager", "Map"));
    QCOMPARE(w.language(), Russian);
    QCOMPARE(w.helpFile(), QStringLiteral("helpVT_4.0_rus.htm"));

    CWinDataTempl* ascan = w.ascanWindow();
    CWinDataTempl* map = w.mapWindow();
    for (CWinDataTempl* window : {ascan, map})
        for (const char* name : {"tbtn_save", "tbtn_print"})
            QVERIFY2(!button(window, name)->isEnabled(), name);
    // The map commands exist only on the map tab.
    for (const char* name : kMapOnly) {
        QVERIFY2(!button(ascan, name)->isVisibleTo(ascan), name);
        QVERIFY2(button(map, name)->isVisibleTo(map), name);
        QVERIFY2(!button(map, name)->isEnabled(), name);
    }
    QVERIFY(!ascan->findChild<QLabel*>(QStringLiteral("lbl_filename"))->isVisibleTo(ascan));
}

// The language picked in the menu and the folders in use come back at the next start.
void TestApp::preferencesSurviveRestart()
{
    QTemporaryDir a, b, c, d;
    {
        CDataManager w;
        w.show();
        w.ascanWindow()->setWorkingDir(a.path());
        w.mapWindow()->setWorkingDir(b.path());
        w.ascanWindow()->setSavingDir(c.path() + QLatin1Char('/'));
        w.mapWindow()->setSavingDir(d.path() + QLatin1Char('/'));
        pickLanguage(w.mapWindow(), 2);
        w.close();
    }
    CDataManager w;
    QCOMPARE(w.language(), English);
    QCOMPARE(w.helpFile(), QStringLiteral("helpVT_4.0_eng.htm"));
    QCOMPARE(w.ascanWindow()->workingDir(), a.path());
    QCOMPARE(w.mapWindow()->workingDir(), b.path());
    QCOMPARE(w.ascanWindow()->savingDir(), c.path() + QLatin1Char('/'));
    QCOMPARE(w.mapWindow()->savingDir(), d.path() + QLatin1Char('/'));
}

void TestApp::missingFolderIsDropped()
{
    QTemporaryDir kept;
    {
        QSettings s = store();
        s.setValue(QStringLiteral("AScanWorkingDir"), kept.path() + QStringLiteral("/gone"));
        s.setValue(QStringLiteral("MapWorkingDir"), kept.path());
        s.setValue(QStringLiteral("DefLang"), 7);
    }
    {
        CDataManager w;
        QVERIFY(w.ascanWindow()->workingDir().isEmpty());
        QCOMPARE(w.mapWindow()->workingDir(), kept.path());
        // An unknown language is taken as read; it leaves the help page unchosen.
        QCOMPARE(int(w.language()), 7);
        QVERIFY(w.helpFile().isEmpty());
        w.close();
    }
    QSettings s = store();
    QCOMPARE(s.value(QStringLiteral("AScanWorkingDir")).toString(), QString());
    QCOMPARE(s.value(QStringLiteral("MapWorkingDir")).toString(), kept.path());
}

void TestApp::cutShortStartupKeepsPreferences()
{
    QTemporaryDir dir;
    {
        QSettings s = store();
        s.setValue(QStringLiteral("MapWorkingDir"), dir.path());
        s.setValue(QStringLiteral("DefLang"), 1);
    }
    ModalDriver driver({QMessageBox::Ok});
    {
        CDataManager w(nullptr, [] { return static_cast<QPrinter*>(nullptr); });
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("Memory exhausted!")});
        QCOMPARE(driver.seen().first().title, QStringLiteral("Vantar 4.0"));
        // Start-up stopped before the views were made and the preferences read.
        QVERIFY(!w.mapWindow()->mapView());
        QVERIFY(w.mapWindow()->workingDir().isEmpty());
        w.show();
        // Open has no view to open into and does nothing.
        w.mapWindow()->setOpenFileChooser([](QWidget*, const QString&, const QString&, const QString&) {
            return QStringLiteral("/nowhere/map.cfg");
        });
        QTest::mouseClick(button(w.mapWindow(), "tbtn_open"), Qt::LeftButton);
        QVERIFY(w.mapWindow()->workingDir().isEmpty());
        QTest::keyClick(w.mapWindow(), Qt::Key_Plus);
        w.close();
    }
    QSettings s = store();
    QCOMPARE(s.value(QStringLiteral("MapWorkingDir")).toString(), dir.path());
    QCOMPARE(s.value(QStringLiteral("DefLang")).toInt(), 1);
}

void TestApp::openRemembersFolder()
{
    QTemporaryDir dir;
    CDataManager w;
    CWinDataTempl* map = w.mapWindow();
    QString askedCaption, askedFolder, askedFilter;
    QString answer = dir.path() + QStringLiteral("/scan/area.cfg");
    QDir().mkpath(dir.path() + QStringLiteral("/scan"));
    map->setOpenFileChooser([&](QWidget*, const QString& caption, const QString& folder, const QString& filter) {
        askedCaption = caption;
        askedFolder = folder;
        askedFilter = filter;
        return answer;
    });
    QSignalSpy loaded(map->mapView(), &CMapScans::mapDataLoaded);
    ModalDriver driver({QMessageBox::Ok}); // the map view says why the map does not open
    QTest::mouseClick(button(map, "tbtn_open"), Qt::LeftButton);
    QCOMPARE(askedCaption, translated("CWinDataTempl", "Open File"));
    QCOMPARE(askedFilter, translated("CWinDataTempl", "Configuration File (*.cfg)"));
    QVERIFY(askedFolder.isEmpty());
    // The folder is taken even though the map could not be loaded.
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(map->workingDir(), dir.path() + QStringLiteral("/scan"));

    // The next Open starts there; cancelling changes nothing.
    answer.clear();
    QTest::mouseClick(button(map, "tbtn_open"), Qt::LeftButton);
    QCOMPARE(askedFolder, dir.path() + QStringLiteral("/scan"));
    QCOMPARE(map->workingDir(), dir.path() + QStringLiteral("/scan"));
    QCOMPARE(loaded.count(), 1);

    CWinDataTempl* ascan = w.ascanWindow();
    ascan->setOpenFileChooser([&](QWidget*, const QString&, const QString&, const QString& filter) {
        askedFilter = filter;
        return dir.path() + QStringLiteral("/12.bmp");
    });
    QTest::mouseClick(button(ascan, "tbtn_open"), Qt::LeftButton);
    QCOMPARE(askedFilter, translated("CWinDataTempl", "A-scans (*.bmp)"));
    QCOMPARE(ascan->workingDir(), dir.path());
}

void TestApp::openPathArgument()
{
    QTemporaryDir dir;
    QFile cfg(dir.filePath(QStringLiteral("area.cfg")));
    QVERIFY(cfg.open(QIODevice::WriteOnly));
    cfg.close();
    QFile bmp(dir.filePath(QStringLiteral("3.bmp")));
    QVERIFY(bmp.open(QIODevice::WriteOnly));
    bmp.close();

    CDataManager w;
    QSignalSpy loaded(w.mapWindow()->mapView(), &CMapScans::mapDataLoaded);
    ModalDriver driver({QMessageBox::Ok}); // the empty configuration file is refused with a message
    w.openPath(dir.filePath(QStringLiteral("3.bmp")));
    QCOMPARE(w.tabs()->currentIndex(), 0);
    QCOMPARE(w.ascanWindow()->workingDir(), dir.path());
    w.openPath(cfg.fileName());
    QCOMPARE(w.tabs()->currentIndex(), 1);
    QCOMPARE(w.mapWindow()->workingDir(), dir.path());
    QCOMPARE(loaded.count(), 1);
    // Anything else, or a file that is not there, is left alone.
    QVERIFY(!w.openPath(dir.filePath(QStringLiteral("notes.txt"))));
    QVERIFY(!w.openPath(dir.filePath(QStringLiteral("missing.cfg"))));
    QCOMPARE(loaded.count(), 1);

    // Several paths: each opens in its tab, the first one's tab is shown.
    w.openPaths({dir.filePath(QStringLiteral("notes.txt")), cfg.fileName(), dir.filePath(QStringLiteral("3.bmp"))});
    QCOMPARE(loaded.count(), 2);
    QCOMPARE(w.tabs()->currentIndex(), 1);
}

void TestApp::mapCommandsFollowView()
{
    QTemporaryDir dir;
    MapGeneratorOptions options;
    options.columns = 8;
    options.rows = 5;
    options.depth = 200.0;
    options.reflectors = {{40.0, 20.0, 100.0, 1.0}};
    QString error;
    QVERIFY2(MapGenerator::write(dir.path(), options, &error), qPrintable(error));
    CDataManager w;
    w.show();
    CWinDataTempl* window = w.mapWindow();
    const char* const loadedOnes[] = {"tbtn_save", "tbtn_print", "tbtn_slicesfusion", "tbtn_selectrect",
                                      "tbtn_settings"};
    for (const char* name : loadedOnes)
        QVERIFY2(!button(window, name)->isEnabled(), name);

    ModalDriver driver({QMessageBox::No});
    QVERIFY(w.openPath(dir.filePath(QStringLiteral("map.cfg"))));
    QVERIFY(driver.seen().isEmpty());
    for (const char* name : loadedOnes)
        QVERIFY2(button(window, name)->isEnabled(), name);
    // No stored viewing settings to reset; dragging waits for a zoom.
    QVERIFY(!button(window, "tbtn_reset_settings")->isEnabled());
    QVERIFY(!button(window, "tbtn_scandrag")->isEnabled());
    QVERIFY(window->findChild<QLabel*>(QStringLiteral("lbl_filename"))->text().contains(options.mapName));

    // A mode chosen on the toolbar is left when a map is opened again.
    QToolButton* rect = button(window, "tbtn_selectrect");
    QTest::mouseClick(rect, Qt::LeftButton);
    QVERIFY(rect->isChecked());
    QVERIFY(w.openPath(dir.filePath(QStringLiteral("map.cfg"))));
    QVERIFY(!rect->isChecked());
    QVERIFY(!button(window, "tbtn_slicesfusion")->isChecked());
    QVERIFY(rect->isEnabled());
}

void TestApp::ascanCommandsFollowView()
{
    QTemporaryDir dir;
    QVERIFY(generateAScans(dir.path(), 2, 5));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("2.raw"))));
    CDataManager w;
    w.show();
    w.tabs()->setCurrentIndex(0);
    CWinDataTempl* window = w.ascanWindow();
    QVERIFY(!button(window, "tbtn_save")->isEnabled());
    w.openPath(dir.filePath(QStringLiteral("1.bmp")));
    QVERIFY(button(window, "tbtn_save")->isEnabled());
    QVERIFY(button(window, "tbtn_print")->isEnabled());
    // The A-scan whose signal is missing shows nothing to save or print.
    CListWidgetHeir* list = window->ascanView()->fileList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(1)).center());
    QCOMPARE(window->ascanView()->selectedFiles(), QStringList{dir.filePath(QStringLiteral("2.bmp"))});
    QVERIFY(!button(window, "tbtn_save")->isEnabled());
    QVERIFY(!button(window, "tbtn_print")->isEnabled());
}

void TestApp::languageMenu()
{
    CDataManager w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    CWinDataTempl* window = w.mapWindow();
    QSignalSpy changed(window, &CWinDataTempl::changeLanguage);
    pickLanguage(window, 2); // English
    QCOMPARE(w.language(), English);
    QCOMPARE(w.helpFile(), QStringLiteral("helpVT_4.0_eng.htm"));
    QCOMPARE(button(window, "tbtn_open")->toolTip(), QStringLiteral("Open File"));
    pickLanguage(window, 2); // English again: nothing to change
    QCOMPARE(changed.count(), 1);
    pickLanguage(window, 1); // Russian
    QCOMPARE(changed.count(), 2);
    QCOMPARE(w.language(), Russian);
}

void TestApp::f1OpensHelpOnce()
{
    CDataManager w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(!w.helpViewer());
    QTest::keyClick(w.mapWindow(), Qt::Key_F1);
    CHelpViewer* help = w.helpViewer();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->windowTitle(), translated("CHelpViewer", "Vantar 4.0 Help"));
    QTest::keyClick(w.ascanWindow(), Qt::Key_F1);
    QCOMPARE(w.helpViewer(), help);

    // The help button does the same.
    help->hide();
    QTest::mouseClick(button(w.mapWindow(), "tbtn_help"), Qt::LeftButton);
    QCOMPARE(w.helpViewer(), help);
    QVERIFY(help->isVisible());

    // Closing the main window deletes it.
    w.close();
    QVERIFY(!w.helpViewer());
}

void TestApp::aboutBox()
{
    CDataManager w;
    QTest::mouseClick(button(w.mapWindow(), "tbtn_info"), Qt::LeftButton);
    QWidget* about = w.aboutWindow();
    QVERIFY(about);
    // A title bar with its close button, and Esc closes the box as well.
    QVERIFY(about->windowFlags().testFlag(Qt::WindowTitleHint));
    QVERIFY(about->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(about->isVisible());
    QTest::keyClick(about, Qt::Key_Escape);
    QVERIFY(!about->isVisible());
    QTest::mouseClick(button(w.mapWindow(), "tbtn_info"), Qt::LeftButton);
    QCOMPARE(w.aboutWindow(), about);
    QVERIFY(about->isVisible());
}

void TestApp::toolbarLayoutOnResize()
{
    CWinDataTempl window;
    window.setDataMode(CWinDataTempl::MapMode);
    window.resize(1020, 710);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(button(&window, "tbtn_info")->pos(), QPoint(970, 10));

    // The right-hand buttons keep to the right edge; the name and the view take the rest.
    window.resize(1300, 900);
    QTRY_COMPARE(button(&window, "tbtn_info")->pos(), QPoint(1250, 10));
    QCOMPARE(button(&window, "tbtn_help")->pos(), QPoint(1200, 10));
    QCOMPARE(button(&window, "tbtn_language")->pos(), QPoint(1150, 10));
    QCOMPARE(button(&window, "tbtn_open")->pos(), QPoint(10, 10));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lbl_filename"))->geometry(), QRect(450, 15, 690, 30));
    QCOMPARE(window.mapView()->geometry(), QRect(10, 60, 1280, 830));
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
