#pragma once

#include <QWidget>

class CSliderControl;

//! The three layer-limit controls of the map view side by side: C-scan, B-scan, D-scan.
//! Per-scan setters take a scan index: 1 C-scan, 2 D-scan, 3 B-scan; other indices are ignored.
class CWgtSliderControl : public QWidget
{
    Q_OBJECT

public:
    explicit CWgtSliderControl(QWidget* parent = nullptr);

    //! The control of a scan index, or null for an unknown index.
    CSliderControl* sliderControl(int iScan) const;
    QSize sizeHint() const override { return minimumSize(); }

    void setRange(int iScan, int iMin, int iMax, int iGap);
    void setValues(int iScan, int iLower, int iUpper);
    //! Every control back to range 0..0, gap 0, limits 0 and 0, multiplier 5.0, precision off.
    void reset();
    void retranslateUi();

signals:
    void cscanMinValueChanged(int iValue);
    void cscanMaxValueChanged(int iValue);
    void cscanValuesChanged(int iMin, int iMax);
    void bscanMinValueChanged(int iValue);
    void bscanMaxValueChanged(int iValue);
    void bscanValuesChanged(int iMin, int iMax);
    void dscanMinValueChanged(int iValue);
    void dscanMaxValueChanged(int iValue);
    void dscanValuesChanged(int iMin, int iMax);

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CSliderControl* sc_cscan = nullptr;
    CSliderControl* sc_bscan = nullptr;
    CSliderControl* sc_dscan = nullptr;
};
