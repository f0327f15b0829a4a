#include "widgets/cscrollbar.h"

#include "widgets/myslider.h"
#include "widgets/qvertcounter.h"

#include <QLabel>
#include <QResizeEvent>
#include <QSignalBlocker>

CScrollBar::CScrollBar(QWidget* parent)
    : QWidget(parent)
{
    setupUi();
    lbl_title->clear();
    connect(vc_counter, &QVertCounter::counterValueChanged, this, &CScrollBar::slot_valueChanged);
    connect(ms_slider, &MySlider::valueChanged, this, &CScrollBar::slot_valueChanged);
}

void CScrollBar::setupUi()
{
    setObjectName(QStringLiteral("CScrollBar"));
    resize(40, 530);
    setMinimumSize(40, 530);
    setMaximumWidth(40);

    lbl_title = new QLabel(this);
    lbl_title->setObjectName(QStringLiteral("lbl_title"));
    lbl_title->setGeometry(0, 0, 40, 30);
    lbl_title->setFixedSize(40, 30);
    QFont titleFont = lbl_title->font();
    titleFont.setPointSize(16);
    lbl_title->setFont(titleFont);
    lbl_title->setFrameShape(QFrame::StyledPanel);
    lbl_title->setAlignment(Qt::AlignCenter);

    vc_counter = new QVertCounter(this);
    vc_counter->setObjectName(QStringLiteral("vc_counter"));
    vc_counter->setGeometry(0, 30, 40, 60);
    vc_counter->setMinimumSize(40, 60);
    vc_counter->setMultiplier(5.0);
    vc_counter->setRange(m_iMinimum, m_iMaximum);

    ms_slider = new MySlider(this, 0, 0);
    ms_slider->setObjectName(QStringLiteral("ms_slider"));
    ms_slider->setGeometry(0, 90, 40, 440);
    ms_slider->setMinimumSize(40, 440);
    ms_slider->setMaximumWidth(40);
}

QString CScrollBar::title() const
{
    return lbl_title->text();
}

void CScrollBar::setTitle(const QString& strTitle)
{
    lbl_title->setText(strTitle);
}

void CScrollBar::slot_valueChanged(int iValue)
{
    const int v = qBound(m_iMinimum, iValue, m_iMaximum);
    if (v == m_iValue) {
        showValue(); // a child asked for a value out of range: put it back
        return;
    }
    m_iValue = v;
    showValue();
    emit valueChanged(m_iValue);
}

void CScrollBar::setRange(int iMin, int iMax)
{
    if (iMin > iMax)
        return;
    m_iMinimum = iMin;
    m_iMaximum = iMax;
    {
        const QSignalBlocker counterBlocker(vc_counter);
        const QSignalBlocker sliderBlocker(ms_slider);
        vc_counter->setRange(iMin, iMax);
        ms_slider->setRange(iMin, iMax);
    }
    const int v = qBound(iMin, m_iValue, iMax);
    if (v != m_iValue) {
        m_iValue = v;
        showValue();
        emit valueChanged(m_iValue);
    }
}

void CScrollBar::setStep(int iStep)
{
    // A step of one never overshoots, so a reset to range 0..0 with step 1 really resets it.
    if (iStep != 1 && (iStep < 1 || qint64(iStep) >= qint64(m_iMaximum) - m_iMinimum))
        return;
    m_iStep = iStep;
    vc_counter->setStepValue(iStep);
}

void CScrollBar::setPrecision(bool bPrecision)
{
    vc_counter->setPrecision(bPrecision);
}

void CScrollBar::setMultiplier(double dMultiplier)
{
    vc_counter->setMultiplier(dMultiplier);
}

// The children echo every change back; blocking them here ends the echo at once.
void CScrollBar::showValue()
{
    const QSignalBlocker counterBlocker(vc_counter);
    const QSignalBlocker sliderBlocker(ms_slider);
    vc_counter->setCurrentValue(m_iValue);
    ms_slider->setValue(m_iValue);
}

void CScrollBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = event->size().width();
    const int h = event->size().height();
    const int titleHeight = lbl_title->height();
    lbl_title->setGeometry(0, 0, qMin(w, lbl_title->maximumWidth()), titleHeight);
    const int counterHeight = vc_counter->height();
    vc_counter->setGeometry(0, titleHeight, w, counterHeight);
    ms_slider->setGeometry(0, titleHeight + counterHeight, w, h - titleHeight - counterHeight);
}
