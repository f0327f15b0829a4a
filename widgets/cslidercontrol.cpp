#include "widgets/cslidercontrol.h"

#include "widgets/controlmath.h"
#include "widgets/cslidebar.h"
#include "widgets/qvertcounter.h"

#include <QLabel>
#include <QResizeEvent>
#include <QSignalBlocker>

#include <climits>

CSliderControl::CSliderControl(QWidget* parent)
    : QWidget(parent)
{
    setupUi();
    setRange(0, 0, 0);
    setValues(0, 0);
    showValues();
    connect(vc_bottomCounter, &QVertCounter::counterValueChanged, this, &CSliderControl::slot_minValueChanged);
    connect(vc_topCounter, &QVertCounter::counterValueChanged, this, &CSliderControl::slot_maxValueChanged);
    // The bar counts from 0; the control from the range minimum.
    connect(frm_slidebar, &CSlidebar::bottomLimitChanged, this,
            [this](int iValue) { slot_minValueChanged(controlValue(iValue)); });
    connect(frm_slidebar, &CSlidebar::topLimitChanged, this,
            [this](int iValue) { slot_maxValueChanged(controlValue(iValue)); });
}

void CSliderControl::setupUi()
{
    setObjectName(QStringLiteral("CSliderControl"));
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

    auto makeCounter = [this](const char* name, int y) {
        auto* counter = new QVertCounter(this);
        counter->setObjectName(QLatin1String(name));
        counter->setGeometry(0, y, 40, 60);
        counter->setFixedSize(40, 60);
        counter->setMultiplier(5.0);
        return counter;
    };
    vc_bottomCounter = makeCounter("vc_bottomCounter", 30);

    frm_slidebar = new CSlidebar(this, 0, 0, 2);
    frm_slidebar->setObjectName(QStringLiteral("frm_slidebar"));
    frm_slidebar->setGeometry(0, 90, 40, 380);
    frm_slidebar->setMinimumSize(40, 380);
    frm_slidebar->setMaximumWidth(40);
    frm_slidebar->setFrameShape(QFrame::StyledPanel);

    vc_topCounter = makeCounter("vc_topCounter", 470);
}

QString CSliderControl::title() const
{
    return lbl_title->text();
}

void CSliderControl::setTitle(const QString& strTitle)
{
    lbl_title->setText(strTitle);
}

void CSliderControl::slot_minValueChanged(int iValue)
{
    if (iValue == m_iLowerValue || iValue < m_iRangeMin || qint64(iValue) > qint64(m_iUpperValue) - m_iGap) {
        showValues(); // a child that asked for more than the gap allows is put back
        return;
    }
    m_iLowerValue = iValue;
    showValues();
    emit minValueChanged(iValue);
}

void CSliderControl::slot_maxValueChanged(int iValue)
{
    if (iValue == m_iUpperValue || iValue > m_iRangeMax || qint64(iValue) < qint64(m_iLowerValue) + m_iGap) {
        showValues();
        return;
    }
    m_iUpperValue = iValue;
    showValues();
    emit maxValueChanged(iValue);
}

void CSliderControl::setValues(int iLower, int iUpper)
{
    const ControlMath::LimitRange range{m_iRangeMin, m_iRangeMax, m_iGap};
    if (!ControlMath::limitsFit(iLower, iUpper, range))
        return;
    const bool moved = iLower != m_iLowerValue || iUpper != m_iUpperValue;
    m_iLowerValue = iLower;
    m_iUpperValue = iUpper;
    showValues();
    if (moved)
        emit valuesChanged(iLower, iUpper);
}

void CSliderControl::setRange(int iMin, int iMax, int iGap)
{
    const ControlMath::LimitRange range = ControlMath::normalizeLimitRange(iMin, iMax, iGap);
    m_iRangeMin = range.min;
    m_iRangeMax = range.max;
    m_iGap = range.gap;
    m_iLowerValue = qBound(range.min, m_iLowerValue, range.max - range.gap);
    m_iUpperValue = qBound(m_iLowerValue + range.gap, m_iUpperValue, range.max);
    showValues();
}

void CSliderControl::setPrecision(bool bPrecision)
{
    vc_bottomCounter->setPrecision(bPrecision);
    vc_topCounter->setPrecision(bPrecision);
}

void CSliderControl::setMultiplier(double dMultiplier)
{
    vc_bottomCounter->setMultiplier(dMultiplier);
    vc_topCounter->setMultiplier(dMultiplier);
}

// The bar counts from 0 to at most INT_MAX, whatever range the control has.
int CSliderControl::barValue(int iValue) const
{
    return int(qBound(qint64(0), qint64(iValue) - m_iRangeMin, qint64(INT_MAX)));
}

int CSliderControl::controlValue(int iBarValue) const
{
    return int(qBound(qint64(m_iRangeMin), qint64(iBarValue) + m_iRangeMin, qint64(m_iRangeMax)));
}

// Brings the counters' limits and the bar in line with the control; the children's echoes
// are blocked, the control announces its own changes.
void CSliderControl::showValues()
{
    const QSignalBlocker bottomBlocker(vc_bottomCounter);
    const QSignalBlocker topBlocker(vc_topCounter);
    const QSignalBlocker barBlocker(frm_slidebar);
    vc_bottomCounter->setRange(m_iRangeMin, m_iUpperValue - m_iGap);
    vc_bottomCounter->setCurrentValue(m_iLowerValue);
    vc_topCounter->setRange(m_iLowerValue + m_iGap, m_iRangeMax);
    vc_topCounter->setCurrentValue(m_iUpperValue);
    if (frm_slidebar->gap() != m_iGap)
        frm_slidebar->setGap(m_iGap);
    const int barRange = barValue(m_iRangeMax);
    if (frm_slidebar->range() != barRange)
        frm_slidebar->setRange(barRange);
    frm_slidebar->setLimits(barValue(m_iLowerValue), barValue(m_iUpperValue));
}

void CSliderControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = qMin(event->size().width(), lbl_title->maximumWidth());
    const int h = event->size().height();
    const int titleHeight = lbl_title->height();
    const int counterHeight = vc_bottomCounter->height();
    lbl_title->setGeometry(0, 0, w, titleHeight);
    vc_bottomCounter->setGeometry(0, titleHeight, w, counterHeight);
    frm_slidebar->setGeometry(0, titleHeight + counterHeight, w, h - titleHeight - 2 * counterHeight);
    vc_topCounter->setGeometry(0, h - counterHeight, w, counterHeight);
}
