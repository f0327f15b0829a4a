// The main window and the data windows driven as a user would: start-up, preferences, Open, toolbar.

#include "app/cdatamanager.h"
#include "app/constants.h"
#include "app/datawindow/cwindatatempl.h"
#include "ascan/ascangenerator.h"
#include "ascan/clistwidgetheir.h"
#include "ascan/scanwgt.h"
#include "common/modaldriver.h"
#include "common/windowfixture.h"
#include "map/mapgenerator.h"
#include "mapview/cmapscans.h"

#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QSettings>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {

QSettings store()
{
    return QSettings(QLatin1String(Vantar::kOrganisationName), QLatin1String(Vantar::kApplicationName));
}

QToolButton* button(CWinDataTempl* window, const char* name)
{
    return TestInput::child<QToolButton>(window, name);
}

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
    void commandsFollowView();
    void aboutBox();
    void toolbarLayoutOnResize();
};

void TestApp::init()
{
    QSettings s = store();
    s.clear();
    s.sync();
}

// The map tab first, in Russian, with nothing to save or print; map commands on its tab only.
void TestApp::firstStart()
{
    CDataManager w;
    w.show();
    QCOMPARE(w.tabs()->currentIndex(), 1);
    CWinDataTempl* ascan = w.ascanWindow();
    CWinDataTempl* map = w.mapWindow();
    for (CWinDataTempl* window : {ascan, map})
        for (const char* name : {"tbtn_save", "tbtn_print"})
            QVERIFY2(!button(window, name)->isEnabled(), name);
    for (const char* name :
         {"tbtn_settings", "tbtn_slicesfusion", "tbtn_selectrect", "tbtn_scandrag", "tbtn_reset_settings"}) {
        QVERIFY2(!button(ascan, name)->isVisibleTo(ascan), name);
        QVERIFY2(button(map, name)->isVisibleTo(map) && !button(map, name)->isEnabled(), name);
    }
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
    }
    CDataManager w;
    QVERIFY(w.ascanWindow()->workingDir().isEmpty());
    QCOMPARE(w.mapWindow()->workingDir(), kept.path());
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
        QVERIFY(!w.mapWindow()->mapView());
        w.show();
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
    QString askedFolder;
    QString answer = dir.path() + QStringLiteral("/scan/area.cfg");
    QDir().mkpath(dir.path() + QStringLiteral("/scan"));
    map->setOpenFileChooser([&](QWidget*, const QString&, const QString& folder, const QString&) {
        askedFolder = folder;
        return answer;
    });
    QSignalSpy loaded(map->mapView(), &CMapScans::mapDataLoaded);
    ModalDriver driver({QMessageBox::Ok});
    QTest::mouseClick(button(map, "tbtn_open"), Qt::LeftButton);
    // Taken even though the map could not be loaded; the next Open starts there, a cancel keeps it.
    QCOMPARE(map->workingDir(), dir.path() + QStringLiteral("/scan"));
    answer.clear();
    QTest::mouseClick(button(map, "tbtn_open"), Qt::LeftButton);
    QCOMPARE(askedFolder, dir.path() + QStringLiteral("/scan"));
    QCOMPARE(map->workingDir(), dir.path() + QStringLiteral("/scan"));
    QCOMPARE(loaded.count(), 1);
}

void TestApp::openPathArgument()
{
    QTemporaryDir dir;
    for (const char* name : {"area.cfg", "3.bmp"})
        QVERIFY(QFile(dir.filePath(QLatin1String(name))).open(QIODevice::WriteOnly));
    const QString cfg = dir.filePath(QStringLiteral("area.cfg"));
    CDataManager w;
    QSignalSpy loaded(w.mapWindow()->mapView(), &CMapScans::mapDataLoaded);
    ModalDriver driver({QMessageBox::Ok});
    w.openPath(dir.filePath(QStringLiteral("3.bmp")));
    QCOMPARE(w.tabs()->currentIndex(), 0);
    QCOMPARE(w.ascanWindow()->workingDir(), dir.path());
    w.openPath(cfg);
    QCOMPARE(w.tabs()->currentIndex(), 1);
    QCOMPARE(w.mapWindow()->workingDir(), dir.path());
    QVERIFY(!w.openPath(dir.filePath(QStringLiteral("notes.txt"))));
    QVERIFY(!w.openPath(dir.filePath(QStringLiteral("missing.cfg"))));
    w.openPaths({dir.filePath(QStringLiteral("notes.txt")), cfg, dir.filePath(QStringLiteral("3.bmp"))});
    QCOMPARE(loaded.count(), 2);
    QCOMPARE(w.tabs()->currentIndex(), 1);
}

// The commands of each tab follow what its view holds: a map, an A-scan, one without signal.
void TestApp::commandsFollowView()
{
    QTemporaryDir dir;
    MapGeneratorOptions options;
    options.columns = 8;
    options.rows = 5;
    QVERIFY(MapGenerator::write(dir.path(), options));
    QVERIFY(generateAScans(dir.path(), 2, 5));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("2.raw"))));
    CDataManager w;
    w.show();
    CWinDataTempl* window = w.mapWindow();
    ModalDriver driver({QMessageBox::No});
    QVERIFY(w.openPath(dir.filePath(QStringLiteral("map.cfg"))));
    for (const char* name : {"tbtn_save", "tbtn_print", "tbtn_slicesfusion", "tbtn_selectrect", "tbtn_settings"})
        QVERIFY2(button(window, name)->isEnabled(), name);
    // No stored viewing settings to reset; dragging waits for a zoom.
    QVERIFY(!button(window, "tbtn_reset_settings")->isEnabled());
    QVERIFY(!button(window, "tbtn_scandrag")->isEnabled());
    // A mode chosen on the toolbar is left when a map is opened again.
    QToolButton* rect = button(window, "tbtn_selectrect");
    QTest::mouseClick(rect, Qt::LeftButton);
    QVERIFY(rect->isChecked());
    QVERIFY(w.openPath(dir.filePath(QStringLiteral("map.cfg"))));
    QVERIFY(!rect->isChecked());
    QVERIFY(!button(window, "tbtn_slicesfusion")->isChecked());
    QVERIFY(rect->isEnabled());
    window = w.ascanWindow();
    w.openPath(dir.filePath(QStringLiteral("1.bmp")));
    QVERIFY(button(window, "tbtn_save")->isEnabled());
    QVERIFY(button(window, "tbtn_print")->isEnabled());
    CListWidgetHeir* list = window->ascanView()->fileList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(1)).center());
    QCOMPARE(window->ascanView()->selectedFiles(), QStringList{dir.filePath(QStringLiteral("2.bmp"))});
    QVERIFY(!button(window, "tbtn_save")->isEnabled());
    QVERIFY(!button(window, "tbtn_print")->isEnabled());
}

// A title bar with its close button; Esc closes the box and the button shows it again.
void TestApp::aboutBox()
{
    CDataManager w;
    QTest::mouseClick(button(w.mapWindow(), "tbtn_info"), Qt::LeftButton);
    QWidget* about = w.aboutWindow();
    QVERIFY(about && about->isVisible());
    QVERIFY(about->windowFlags().testFlags(Qt::WindowTitleHint | Qt::WindowCloseButtonHint));
    QTest::keyClick(about, Qt::Key_Escape);
    QVERIFY(!about->isVisible());
    QTest::mouseClick(button(w.mapWindow(), "tbtn_info"), Qt::LeftButton);
    QCOMPARE(w.aboutWindow(), about);
    QVERIFY(about->isVisible());
}

// The right-hand buttons keep to the right edge; the name and the view take the rest.
void TestApp::toolbarLayoutOnResize()
{
    CWinDataTempl window;
    window.setDataMode(CWinDataTempl::MapMode);
    window.resize(1020, 710);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(1300, 900);
    QTRY_COMPARE(button(&window, "tbtn_info")->pos(), QPoint(1250, 10));
    QCOMPARE(button(&window, "tbtn_language")->pos(), QPoint(1150, 10));
    QCOMPARE(button(&window, "tbtn_open")->pos(), QPoint(10, 10));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lbl_filename"))->geometry(), QRect(450, 15, 690, 30));
    QCOMPARE(window.mapView()->geometry(), QRect(10, 60, 1280, 830));
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
