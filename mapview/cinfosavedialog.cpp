#include "mapview/cinfosavedialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

const char* const kContext = "dlg_infoSave";

} // namespace

// Hands the worker's reports to the dialog on the GUI thread.
class CInfoSaveDialog::Reporter : public MapStepReporter
{
public:
    explicit Reporter(CInfoSaveDialog* pDialog) : m_dialog(pDialog) {}

    void stepStarted(MapStep, const QString& strTitle, const QString& strLabel) override
    {
        post([d = m_dialog, strTitle, strLabel] {
            if (d)
                d->beginStep(strTitle, strLabel);
        });
    }
    bool stepProgress(int iDone, int iTotal) override
    {
        const int percent = Vantar::roundedPercent(iDone, iTotal);
        // Only changes travel: a step may report far more often than the bar can move.
        if (percent != m_lastPercent.exchange(percent))
            post([d = m_dialog, percent] {
                if (d)
                    d->setProgress(percent);
            });
        return true; // no cancel: a step that shows the dialog runs to its end
    }
    void stepFinished(MapStep, bool bOk) override
    {
        m_lastPercent = -1;
        post([d = m_dialog, bOk] {
            if (d)
                d->endStep(bOk);
        });
    }

private:
    template <class F>
    void post(F&& f)
    {
        if (m_dialog)
            QMetaObject::invokeMethod(m_dialog.data(), std::forward<F>(f), Qt::QueuedConnection);
    }

    QPointer<CInfoSaveDialog> m_dialog;
    std::atomic<int> m_lastPercent{-1};
};

CInfoSaveDialog::CInfoSaveDialog(QWidget* pParent)
    : QDialog(pParent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("dlg_infoSave"));
    setWindowModality(Qt::ApplicationModal);
    setModal(true);
    setMinimumSize(400, 120);
    setMaximumSize(400, 120);
    resize(400, 120);
    lbl_procInfo = new QLabel(this);
    lbl_procInfo->setObjectName(QStringLiteral("lbl_procInfo"));
    lbl_procInfo->setGeometry(10, 10, 380, 40);
    lbl_procInfo->setAlignment(Qt::AlignJustify | Qt::AlignVCenter);
    prgb_procInfo = new QProgressBar(this);
    prgb_procInfo->setObjectName(QStringLiteral("prgb_procInfo"));
    prgb_procInfo->setGeometry(10, 60, 380, 40);
    prgb_procInfo->setRange(0, 100);
    prgb_procInfo->setValue(0);
    retranslate();
}

CInfoSaveDialog::~CInfoSaveDialog() = default;

void CInfoSaveDialog::retranslate()
{
    setTexts(QCoreApplication::translate(kContext, "Data Saving"),
             QCoreApplication::translate(kContext, "Data saving progress:"));
}

void CInfoSaveDialog::setTexts(const QString& strTitle, const QString& strLabel)
{
    setWindowTitle(strTitle);
    lbl_procInfo->setText(strLabel);
}

void CInfoSaveDialog::setProgress(int iValue)
{
    iValue = std::clamp(iValue, 0, 100);
    if (m_bRunning && iValue < prgb_procInfo->value())
        return;
    prgb_procInfo->setValue(iValue);
}

int CInfoSaveDialog::progress() const
{
    return prgb_procInfo->value();
}

void CInfoSaveDialog::reject()
{
    if (!m_bRunning)
        QDialog::reject();
}

void CInfoSaveDialog::closeEvent(QCloseEvent* pEvent)
{
    if (m_bRunning)
        pEvent->ignore();
    else
        QDialog::closeEvent(pEvent);
}

void CInfoSaveDialog::beginStep(const QString& strTitle, const QString& strLabel)
{
    setTexts(strTitle, strLabel);
    prgb_procInfo->setValue(0);
    show();
    raise();
}

void CInfoSaveDialog::endStep(bool bOk)
{
    // A finished step shows a full bar for the moment before the dialog goes.
    if (bOk)
        prgb_procInfo->setValue(100);
    hide();
}

bool CInfoSaveDialog::runOnWorker(const std::function<bool()>& work)
{
    bool bResult = false;
    std::atomic<bool> bDone{false};
    QEventLoop loop;
    m_bRunning = true;
    std::thread worker([&] {
        bool bOk = false;
        try {
            bOk = work();
        } catch (...) {
            bOk = false; // out of memory inside the step: it failed
        }
        bResult = bOk;
        bDone = true;
        QMetaObject::invokeMethod(&loop, [] {}, Qt::QueuedConnection); // wakes the loop below
    });
    // Windows repaint and timers run. While a step shows the dialog it keeps input away from
    // every other window; between steps, when it is hidden, input waits until it shows again
    // (and is then refused) or the work is done.
    while (!bDone) {
        const QEventLoop::ProcessEventsFlags flags =
            isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
        loop.processEvents(flags | QEventLoop::WaitForMoreEvents);
    }
    worker.join();
    // Reports the worker queued after its last step come before the dialog goes.
    QCoreApplication::sendPostedEvents(this);
    m_bRunning = false;
    hide();
    return bResult;
}

bool CInfoSaveDialog::runStep(QWidget* pParent, const QString& strTitle, const QString& strLabel,
                              const StepJob& job)
{
    CInfoSaveDialog dialog(pParent);
    Reporter reporter(&dialog);
    return dialog.runOnWorker([&] {
        reporter.stepStarted(MapStep::Reading, strTitle, strLabel);
        const bool bOk = job([&](int iDone, int iTotal) { return reporter.stepProgress(iDone, iTotal); });
        reporter.stepFinished(MapStep::Reading, bOk);
        return bOk;
    });
}

bool CInfoSaveDialog::runSteps(QWidget* pParent, const StepsJob& job)
{
    CInfoSaveDialog dialog(pParent);
    Reporter reporter(&dialog);
    return dialog.runOnWorker([&] { return job(reporter); });
}
