#include "widgets/cwgtslidercontrol.h"

#include "widgets/cslidercontrol.h"

#include <QEvent>
#include <QResizeEvent>

namespace {
constexpr int kControlWidth = 40;
constexpr int kControlSpacing = 2;
} // namespace

CWgtSliderControl::CWgtSliderControl(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CWgtSliderControl"));
    auto makeControl = [this](const char* name, int column) {
        auto* control = new CSliderControl(this);
        control->setObjectName(QLatin1String(name));
        control->move(column * (kControlWidth + kControlSpacing), 0);
        return control;
    };
    sc_cscan = makeControl("sc_cscan", 0);
    sc_bscan = makeControl("sc_bscan", 1);
    sc_dscan = makeControl("sc_dscan", 2);
    setMinimumSize(3 * kControlWidth + 2 * kControlSpacing, sc_cscan->minimumHeight());
    resize(minimumSize());

    connect(sc_cscan, &CSliderControl::minValueChanged, this, &CWgtSliderControl::cscanMinValueChanged);
    connect(sc_cscan, &CSliderControl::maxValueChanged, this, &CWgtSliderControl::cscanMaxValueChanged);
    connect(sc_cscan, &CSliderControl::valuesChanged, this, &CWgtSliderControl::cscanValuesChanged);
    connect(sc_bscan, &CSliderControl::minValueChanged, this, &CWgtSliderControl::bscanMinValueChanged);
    connect(sc_bscan, &CSliderControl::maxValueChanged, this, &CWgtSliderControl::bscanMaxValueChanged);
    connect(sc_bscan, &CSliderControl::valuesChanged, this, &CWgtSliderControl::bscanValuesChanged);
    connect(sc_dscan, &CSliderControl::minValueChanged, this, &CWgtSliderControl::dscanMinValueChanged);
    connect(sc_dscan, &CSliderControl::maxValueChanged, this, &CWgtSliderControl::dscanMaxValueChanged);
    connect(sc_dscan, &CSliderControl::valuesChanged, this, &CWgtSliderControl::dscanValuesChanged);
    retranslateUi();
}

CSliderControl* CWgtSliderControl::sliderControl(int iScan) const
{
    switch (iScan) {
    case 1:
        return sc_cscan;
    case 2:
        return sc_dscan;
    case 3:
        return sc_bscan;
    default:
        return nullptr;
    }
}

void CWgtSliderControl::setRange(int iScan, int iMin, int iMax, int iGap)
{
    if (CSliderControl* control = sliderControl(iScan))
        control->setRange(iMin, iMax, iGap);
}

void CWgtSliderControl::setValues(int iScan, int iLower, int iUpper)
{
    if (CSliderControl* control = sliderControl(iScan))
        control->setValues(iLower, iUpper);
}

void CWgtSliderControl::reset()
{
    for (CSliderControl* control : {sc_cscan, sc_bscan, sc_dscan}) {
        control->setRange(0, 0, 0);
        control->setValues(0, 0);
        control->setMultiplier(5.0);
        control->setPrecision(false);
    }
}

void CWgtSliderControl::retranslateUi()
{
    sc_cscan->setTitle(tr("C"));
    sc_bscan->setTitle(tr("B"));
    sc_dscan->setTitle(tr("D"));
}

void CWgtSliderControl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

void CWgtSliderControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    for (CSliderControl* control : {sc_cscan, sc_bscan, sc_dscan})
        control->resize(control->width(), event->size().height());
}
