#pragma once

#include <QWidget>

class CSlidebar;
class QLabel;
class QVertCounter;

//! A titled two-limit control: the lower limit's counter, a two-handle slide bar and the upper
//! limit's counter, top to bottom (values grow downwards). The limits stay inside the range
//! and at least the minimal gap apart; every change is announced once.
class CSliderControl : public QWidget
{
    Q_OBJECT

public:
    explicit CSliderControl(QWidget* parent = nullptr);

    int lowerValue() const { return m_iLowerValue; }
    int upperValue() const { return m_iUpperValue; }
    int rangeMinimum() const { return m_iRangeMin; }
    int rangeMaximum() const { return m_iRangeMax; }
    int gap() const { return m_iGap; }
    QString title() const;
    QSize sizeHint() const override { return QSize(40, 530); }

    void setTitle(const QString& strTitle);
    //! Range iMin..iMax with a minimal gap: a gap wider than the range shrinks to it, a
    //! minimum above the maximum collapses onto the maximum with gap 0. Limits outside are
    //! pulled in without a signal; the owner sets the values it wants next.
    void setRange(int iMin, int iMax, int iGap);
    //! Both limits, applied when they lie in the range and keep the gap; emits valuesChanged
    //! when either moves.
    void setValues(int iLower, int iUpper);
    void setPrecision(bool bPrecision);
    void setMultiplier(double dMultiplier);

signals:
    void minValueChanged(int iValue);
    void maxValueChanged(int iValue);
    void valuesChanged(int iMin, int iMax);

public slots:
    //! A new lower limit, taken when it keeps the gap to the upper one.
    void slot_minValueChanged(int iValue);
    //! A new upper limit, taken when it keeps the gap to the lower one.
    void slot_maxValueChanged(int iValue);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setupUi();
    void showValues();
    int barValue(int iValue) const;
    int controlValue(int iBarValue) const;

    QLabel* lbl_title = nullptr;
    CSlidebar* frm_slidebar = nullptr;
    QVertCounter* vc_topCounter = nullptr;
    QVertCounter* vc_bottomCounter = nullptr;

    int m_iLowerValue = 0;
    int m_iUpperValue = 0;
    int m_iRangeMin = 0;
    int m_iRangeMax = 0;
    int m_iGap = 0;
};
