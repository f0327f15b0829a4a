#pragma once
// The processing panel of the map settings window: SAFT parameters, the choice between the
// reconstructed and the unprocessed volume, Execute and Reset.

#include "map/saftsettings.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

//! Edits a copy of the map's SAFT record. Nothing reaches the map until Execute: the panel
//! then reads its widgets into its current record and emits executeProcessing(); the owner
//! fetches the record with parameters(). The SAFT check box switches the shown volume at once.
class CWgtSAFTparam : public QWidget
{
    Q_OBJECT

public:
    //! Fewest depth layers (5 mm each) a reconstruction is run with.
    static constexpr int kMinDepthLayers = 2;

    explicit CWgtSAFTparam(QWidget* parent = nullptr);

    //! Copies both records and the mode and shows the current record. Without processing
    //! (transmission testing) the SAFT check box and its label are disabled and hidden.
    //! Emits nothing.
    void setParameters(const SAFTsettings& defaults, const SAFTsettings& current, EScanProcessing eViewing,
                       bool bProcessingAvailable);
    //! The current record: what was set, reset or read back by the last Execute.
    SAFTsettings parameters() const { return m_current; }
    SAFTsettings defaults() const { return m_defaults; }
    EScanProcessing viewingMode() const { return m_eViewing; }
    bool processingAvailable() const { return m_bProcessingAvailable; }
    //! Shows a mode the view switched to by itself (SAFT failed, saved state); emits nothing.
    void setViewingMode(EScanProcessing eViewing);

    //! Texts in the current language; called on every language change.
    void retranslateUi();

    //! Depth layers of a depth in mm: depth / 5 rounded, halves up.
    static int depthLayers(int iDepthMm);
    //! mm/µs shown as m/s: × 1000 rounded, halves up.
    static int velocityToMetresPerSecond(double dVelocity);

signals:
    void viewingModeChanged(const EScanProcessing& eViewing);
    void executeProcessing();

public slots:
    void slot_frequencyChanged(int iValue);
    void slot_bandwidthChanged(int iValue);
    void slot_chb_SAFT_toggled(bool bChecked);
    void slot_btn_reset_clicked();
    void slot_btn_run_clicked();

protected:
    void changeEvent(QEvent* event) override;

private:
    void setupUi();
    void showRecord(const SAFTsettings& s);
    void readWidgets();

    QGroupBox* grpb_saftparam = nullptr;
    QLabel* lbl_depth = nullptr;
    QLineEdit* edt_depth = nullptr;
    QLabel* lbl_velocity = nullptr;
    QLineEdit* edt_velocity = nullptr;
    QLabel* lbl_freq = nullptr;
    QSpinBox* spb_freq = nullptr;
    QLabel* lbl_bandwidth = nullptr;
    QSpinBox* spb_bandwidth = nullptr;
    QLabel* lbl_tcg = nullptr;
    QSpinBox* spb_tcg = nullptr;
    QLabel* lbl_comp_sw = nullptr;
    QCheckBox* chb_comp_sw = nullptr;
    QLabel* lbl_viewSAFT = nullptr;
    QCheckBox* chb_viewSAFT = nullptr;
    QPushButton* btn_run = nullptr;
    QPushButton* btn_reset = nullptr;

    SAFTsettings m_defaults;
    SAFTsettings m_current;
    EScanProcessing m_eViewing = ProcessedView;
    bool m_bProcessingAvailable = true;
};
