// The progress dialog of the long steps: the step runs on a worker while the GUI thread lives.

#include "map/mapopener.h"
#include "mapview/cinfosavedialog.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
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
    // What the worker may wait for, so that a busy machine cannot make the watcher miss it.
    std::atomic<int> lastValue{-1};
    std::atomic<int> titlesSeen{0};

    Watcher()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            ++ticks;
            CInfoSaveDialog* d = shownDialog();
            if (!d)
                return;
            const int v = d->findChild<QProgressBar*>("prgb_procInfo")->value();
            if (titles.isEmpty() || titles.last() != d->windowTitle()) {
                titles << d->windowTitle();
                labels << d->findChild<QLabel*>("lbl_procInfo")->text();
                titlesSeen = int(titles.size());
            }
            if (values.isEmpty() || values.last() != v)
                values << v;
            lastValue = v;
            bModal = bModal && QApplication::activeModalWidget() == d;
            QTest::keyClick(d, Qt::Key_Escape);
            d->close();
            bEscapeIgnored = bEscapeIgnored && d->isVisible();
        });
        timer.start(2);
    }
};

// Waits on the worker until the condition holds or a few seconds have passed.
template<class Condition>
void waitOnWorker(Condition bSeen)
{
    QDeadlineTimer deadline(5000);
    while (!bSeen() && !deadline.hasExpired())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

} // namespace

class TestProgressDialog : public QObject
{
    Q_OBJECT

private slots:
    void progressSequences_data();
    void progressSequences();
    void stepsInTurnAndFailures();
};

void TestProgressDialog::progressSequences_data()
{
    // Reports (done of total), and the bar: never back, never past 100, halves rounded up.
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
    QFETCH(QList<int>, shown);
    Watcher w;
    QThread* gui = QThread::currentThread();
    bool bOnWorker = false;
    const auto step = [&](const Vantar::ProgressFn& progress) {
        bOnWorker = QThread::currentThread() != gui;
        for (int v : reports) {
            progress(v, total);
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        }
        const int last = shown.value(shown.size() - 1);
        waitOnWorker([&] { return last == 0 || w.lastValue == last; });
        return true;
    };
    const bool bOk = CInfoSaveDialog::runStep(nullptr, "Data Preparing", "Data preparing progress:", step);
    QVERIFY(bOk && bOnWorker);
    QVERIFY2(w.ticks > 5, qPrintable(QString::number(w.ticks))); // the GUI thread kept running
    QCOMPARE(w.titles, QStringList{"Data Preparing"});
    QCOMPARE(w.labels, QStringList{"Data preparing progress:"});
    QVERIFY(w.bModal);
    QVERIFY(w.bEscapeIgnored);
    // The watcher may miss a value on a busy machine, but never sees one out of turn, and the
    // step waits until the last one was seen.
    QList<int> seen = w.values;
    seen.removeAll(0); // the bar before the first report
    shown.removeAll(0);
    for (int v : std::as_const(seen))
        QVERIFY2(shown.contains(v), qPrintable(QString::number(v)));
    QVERIFY(std::is_sorted(seen.begin(), seen.end()));
    QCOMPARE(seen.value(seen.size() - 1), shown.value(shown.size() - 1));
}

void TestProgressDialog::stepsInTurnAndFailures()
{
    const QStringList titles{"Data Reading", "Data Preparing", "Data Processing"};
    Watcher w;
    const bool bOk = CInfoSaveDialog::runSteps(nullptr, [&](MapStepReporter& r) {
        for (int k = 0; k < 3; ++k) {
            r.stepStarted(MapStep(k), titles[k], titles[k] + ":");
            r.stepProgress(50, 100);
            std::this_thread::sleep_for(std::chrono::milliseconds(80));
            waitOnWorker([&] { return w.titlesSeen > k; });
            r.stepFinished(MapStep(k), true);
        }
        return true;
    });
    QVERIFY(bOk);
    // Whichever steps the watcher caught, they came in order with their own texts.
    QVERIFY(!w.titles.isEmpty());
    int at = -1;
    for (int k = 0; k < w.titles.size(); ++k) {
        const int step = int(titles.indexOf(w.titles[k]));
        QVERIFY2(step > at, qPrintable(w.titles.join(", ")));
        QCOMPARE(w.labels[k], titles[step] + ":");
        at = step;
    }
    // A failed step, or one that runs out of memory, ends the run with a failure.
    QVERIFY(!CInfoSaveDialog::runSteps(nullptr, [](MapStepReporter&) { return false; }));
    QVERIFY(!CInfoSaveDialog::runStep(nullptr, "t", "l", [](const Vantar::ProgressFn&) -> bool {
        throw std::bad_alloc();
    }));
    QVERIFY(!shownDialog());
}

QTEST_MAIN(TestProgressDialog)
#include "tst_progressdialog.moc"
