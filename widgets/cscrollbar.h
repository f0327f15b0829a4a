#pragma once

#include <QWidget>

class MySlider;
class QLabel;
class QVertCounter;

//! A titled vertical scroll bar: title, counter and slider showing one value. The counter and
//! the slider follow each other; the value is announced once per change.
class CScrollBar : public QWidget
{
    Q_OBJECT

public:
    explicit CScrollBar(QWidget* parent = nullptr);

    int value() const { return m_iValue; }
    int minimum() const { return m_iMinimum; }
    int maximum() const { return m_iMaximum; }
    int step() const { return m_iStep; }
    QString title() const;
    QSize sizeHint() const override { return QSize(40, 530); }

    void setTitle(const QString& strTitle);
    //! Applied when iMin <= iMax; a value outside moves to the nearer limit and is announced.
    void setRange(int iMin, int iMax);
    //! The counter's step, applied when 1, or when above 1 and smaller than maximum - minimum.
    void setStep(int iStep);
    void setPrecision(bool bPrecision);
    void setMultiplier(double dMultiplier);

signals:
    void valueChanged(int iValue);

public slots:
    //! Sets the value (clamped to the range) from the owner, the counter or the slider.
    void slot_valueChanged(int iValue);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setupUi();
    void showValue();

    QLabel* lbl_title = nullptr;
    MySlider* ms_slider = nullptr;
    QVertCounter* vc_counter = nullptr;

    int m_iValue = 0;
    int m_iMinimum = 0;
    int m_iMaximum = 0;
    int m_iStep = 1;
};
