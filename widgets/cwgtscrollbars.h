#pragma once

#include <QWidget>

class CScrollBar;

//! The three slice scroll bars of the map view side by side: C-scan, B-scan, D-scan.
//! Per-scan setters take a scan index: 1 C-scan, 2 D-scan, 3 B-scan; other indices are ignored.
class CWgtScrollBars : public QWidget
{
    Q_OBJECT

public:
    explicit CWgtScrollBars(QWidget* parent = nullptr);

    //! The scroll bar of a scan index, or null for an unknown index.
    CScrollBar* scrollBar(int iScan) const;
    QSize sizeHint() const override { return minimumSize(); }

    void setRange(int iScan, int iMin, int iMax);
    void setValue(int iScan, int iValue);
    void setStep(int iScan, int iStep);
    //! Every bar back to range 0..0, step 1, value 0, multiplier 5.0, precision off.
    void reset();
    void retranslateUi();

signals:
    void cscanValueChanged(int value);
    void bscanValueChanged(int value);
    void dscanValueChanged(int value);

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CScrollBar* sb_cscan = nullptr;
    CScrollBar* sb_bscan = nullptr;
    CScrollBar* sb_dscan = nullptr;
};
