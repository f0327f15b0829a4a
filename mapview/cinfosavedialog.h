#pragma once
// The small progress dialog of the long steps (reading, preparing, SAFT, saving): a title, a
// label and a 0 … 100 bar, application-modal, without a cancel button. It runs the step itself
// on a worker thread, so that the window keeps repainting while the step computes.

#include "map/mapopener.h"
#include "map/progress.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;

//! Progress dialog "dlg_infoSave" with its label "lbl_procInfo" and bar "prgb_procInfo".
class CInfoSaveDialog : public QDialog
{
    Q_OBJECT

public:
    //! A long step: gets the progress callback to report (done, total) through.
    using StepJob = std::function<bool(const Vantar::ProgressFn& progress)>;
    //! Several steps, told to the reporter as they begin and end (the map's opening sequence).
    using StepsJob = std::function<bool(MapStepReporter& reporter)>;

    explicit CInfoSaveDialog(QWidget* pParent = nullptr);
    ~CInfoSaveDialog() override;

    //! Window title and label text.
    void setTexts(const QString& strTitle, const QString& strLabel);
    //! The bar's value, held within 0 … 100; while a step runs it never goes back.
    void setProgress(int iValue);
    int progress() const;
    //! The built-in texts "Data Saving" and "Data saving progress:" in the current language.
    void retranslate();
    //! A step is running: Escape and closing the window do nothing.
    bool isRunning() const { return m_bRunning; }

    //! Shows a dialog with the texts and runs job on a worker thread; pending events are
    //! processed until it ends, then the dialog closes. Returns job's result.
    static bool runStep(QWidget* pParent, const QString& strTitle, const QString& strLabel, const StepJob& job);
    //! Runs job on a worker thread; the dialog shows each step the job reports with that
    //! step's texts, from 0, and hides between steps. Returns job's result.
    //! For the map: runSteps(this, [&](MapStepReporter& r) { result = MapOpener::open(data, request, &r);
    //! return result.loaded; }).
    static bool runSteps(QWidget* pParent, const StepsJob& job);

protected:
    void reject() override;
    void closeEvent(QCloseEvent* pEvent) override;

private:
    class Reporter;
    bool runOnWorker(const std::function<bool()>& work);
    void beginStep(const QString& strTitle, const QString& strLabel);
    void endStep(bool bOk);

    QLabel* lbl_procInfo = nullptr;
    QProgressBar* prgb_procInfo = nullptr;
    bool m_bRunning = false;
};
