// The progress dialog of the long steps: steps run on a worker thread while the GUI thread keeps
// serving timers and repaints, and the bar follows what a step reports without going back.

#include "map/mapdata.h"
#include "map/mapgenerator.h"
#include "map/mapopener.h"
#include "mapview/cinfosavedialog.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <thread>

namespace {

CInfoSaveDialog* shownDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<CInfoSaveDialog*>(w); d && d->isVisible())
            return d;
    return nullptr;
}

// What the GUI thread sees of the dialog, every few milliseconds while a step runs.
struct Watcher
{
    QTimer timer;
    int ticks = 0;
    QList<int> values;
    QStringList titles;
    QStringList labels;
    bool bModal = true;
    bool bEscapeIgnored = true;

    Watcher()
    {
        timer.setInterval(2);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ++ticks;
            CInfoSaveDialog* d = shownDialog();
            if (!d)
                return;
            const int v = d->findChild<QProgressBar*>("prgb_procInfo")->value();
            const QString title = d->windowTitle();
            if (titles.isEmpty() || titles.last() != title) {
                titles << title;
                labels << d->findChild<QLabel*>("lbl_procInfo")->text();
            }
            if (values.isEmpty() || values.last() != v)
                values << v;
            bModal = bModal && QApplication::activeModalWidget() == d;
            QTest::keyClick(d, Qt::Key_Escape);
            d->close();
            bEscapeIgnored = bEscapeIgnored && d->isVisible();
        });
        timer.start();
    }
};

} // namespace

class TestProgressDialog : public QObject
{
    Q_OBJECT

private slots:
    void stepRunsOnWorkerWhileGuiLives();
    void progressSequences_data();
    void progressSequences();
    void mapOpeningStepByStep();
    void failedStepReturnsFalse();
};

void TestProgressDialog::stepRunsOnWorkerWhileGuiLives()
{
    Watcher w;
    QThread* gui = QThread::currentThread();
    bool bOnWorker = false;
    const bool bOk = CInfoSaveDialog::runStep(nullptr, "Data Preparing", "Data preparing progress:",
                                               [&](const Vantar::ProgressFn& progress) {
                                                   bOnWorker = QThread::currentThread() != gui;
                                                   for (int k = 1; k <= 10; ++k) {
                                                       std::this_thread::sleep_for(std::chrono::milliseconds(30));
                                                       progress(k * 9, 100);
                                                   }
                                                   return true;
                                               });
    QVERIFY(bOk);
    QVERIFY(bOnWorker);
    QVERIFY2(w.ticks > 20, qPrintable(QString::number(w.ticks))); // the GUI thread kept running
    QCOMPARE(w.titles, QStringList{"Data Preparing"});
    QCOMPARE(w.labels, QStringList{"Data preparing progress:"});
    QVERIFY(w.values.size() >= 3);
    QVERIFY(std::is_sorted(w.values.begin(), w.values.end()));
    QVERIFY(w.bModal);
    QVERIFY(w.bEscapeIgnored);
    QVERIFY(!shownDialog());
}

void TestProgressDialog::progressSequences_data()
{
    // What a step reports (done of total) and what the bar shows: never back, never past 100,
    // percentages rounded with halves up.
    QTest::addColumn<QList<int>>("reports");
    QTest::addColumn<int>("total");
    QTest::addColumn<QList<int>>("shown");
    QTest::newRow("back steps ignored") << QList<int>{20, 60, 30, 50, 70} << 100 << QList<int>{20, 60, 70};
    QTest::newRow("halves up") << QList<int>{1, 3} << 8 << QList<int>{13, 38};
    QTest::newRow("beyond the total") << QList<int>{50, 150} << 100 << QList<int>{50, 100};
    QTest::newRow("nothing to do") << QList<int>{0, 5} << 0 << QList<int>{0};
}

void TestProgressDialog::progressSequences()
{
    QFETCH(QList<int>, reports);
    QFETCH(int, total);
    QList<int> seen;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (CInfoSaveDialog* d = shownDialog())
            if (seen.isEmpty() || seen.last() != d->progress())
                seen << d->progress();
    });
    timer.start(1);
    CInfoSaveDialog::runStep(nullptr, "t", "l", [&](const Vantar::ProgressFn& progress) {
        for (int v : reports) {
            progress(v, total);
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        }
        return true;
    });
    // The timer may miss a value on a busy machine, but never sees one out of turn, and the
    // last one stands long enough to be seen.
    QFETCH(QList<int>, shown);
    seen.removeAll(0); // the bar before the first report
    shown.removeAll(0);
    qsizetype at = 0;
    for (int v : std::as_const(seen)) {
        while (at < shown.size() && shown[at] != v)
            ++at;
        QVERIFY2(at < shown.size(), qPrintable(QString::number(v)));
    }
    if (!shown.isEmpty()) {
        QVERIFY(!seen.isEmpty());
        QCOMPARE(seen.last(), shown.last());
    }
}

void TestProgressDialog::mapOpeningStepByStep()
{
    QTemporaryDir dir;
    MapGeneratorOptions o;
    o.columns = 8;
    o.rows = 6;
    o.depth = 200;
    o.reflectors = {MapReflector{40, 30, 100, 1.0}};
    QVERIFY(MapGenerator::write(dir.path(), o));
    MapData data;
    MapOpenRequest request;
    request.configPath = dir.filePath("map.cfg");
    MapOpenResult result;
    Watcher w;
    const bool bOk = CInfoSaveDialog::runSteps(nullptr, [&](MapStepReporter& r) {
        result = MapOpener::open(data, request, &r);
        return result.loaded;
    });
    QVERIFY2(bOk && result.processed, qPrintable(result.message));
    QVERIFY(data.hasProcessedVolume());
    QVERIFY(!shownDialog());
    // Whichever steps the timer caught, they came in order with their own texts.
    const QStringList all{"Data Reading", "Data Preparing", "Data Processing"};
    int at = -1;
    for (const QString& t : w.titles) {
        const int k = int(all.indexOf(t));
        QVERIFY2(k > at, qPrintable(w.titles.join(", ")));
        at = k;
    }
    for (int k = 0; k < w.titles.size(); ++k)
        QCOMPARE(w.labels[k], MapOpener::stepLabel(MapStep(all.indexOf(w.titles[k]))));
}

void TestProgressDialog::failedStepReturnsFalse()
{
    QVERIFY(!CInfoSaveDialog::runStep(nullptr, "t", "l", [](const Vantar::ProgressFn&) { return false; }));
    QVERIFY(!CInfoSaveDialog::runStep(nullptr, "t", "l", [](const Vantar::ProgressFn&) -> bool {
        throw std::bad_alloc();
    }));
    QVERIFY(!shownDialog());
}

QTEST_MAIN(TestProgressDialog)
#include "tst_progressdialog.moc"
