#include "widgets/cwgtscrollbars.h"

#include "widgets/cscrollbar.h"

#include <QEvent>
#include <QResizeEvent>

namespace {
constexpr int kBarWidth = 40;
constexpr int kBarSpacing = 2;
} // namespace

CWgtScrollBars::CWgtScrollBars(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CWgtScrollBars"));
    auto makeBar = [this](const char* name, int column) {
        auto* bar = new CScrollBar(this);
        bar->setObjectName(QLatin1String(name));
        bar->move(column * (kBarWidth + kBarSpacing), 0);
        return bar;
    };
    sb_cscan = makeBar("sb_cscan", 0);
    sb_bscan = makeBar("sb_bscan", 1);
    sb_dscan = makeBar("sb_dscan", 2);
    setMinimumSize(3 * kBarWidth + 2 * kBarSpacing, sb_cscan->minimumHeight());
    resize(minimumSize());

    connect(sb_cscan, &CScrollBar::valueChanged, this, &CWgtScrollBars::cscanValueChanged);
    connect(sb_bscan, &CScrollBar::valueChanged, this, &CWgtScrollBars::bscanValueChanged);
    connect(sb_dscan, &CScrollBar::valueChanged, this, &CWgtScrollBars::dscanValueChanged);
    retranslateUi();
}

CScrollBar* CWgtScrollBars::scrollBar(int iScan) const
{
    switch (iScan) {
    case 1:
        return sb_cscan;
    case 2:
        return sb_dscan;
    case 3:
        return sb_bscan;
    default:
        return nullptr;
    }
}

void CWgtScrollBars::setRange(int iScan, int iMin, int iMax)
{
    if (CScrollBar* bar = scrollBar(iScan))
        bar->setRange(iMin, iMax);
}

void CWgtScrollBars::setValue(int iScan, int iValue)
{
    if (CScrollBar* bar = scrollBar(iScan))
        bar->slot_valueChanged(iValue);
}

void CWgtScrollBars::setStep(int iScan, int iStep)
{
    if (CScrollBar* bar = scrollBar(iScan))
        bar->setStep(iStep);
}

void CWgtScrollBars::reset()
{
    for (CScrollBar* bar : {sb_cscan, sb_bscan, sb_dscan}) {
        bar->setRange(0, 0);
        bar->setStep(1);
        bar->slot_valueChanged(0);
        bar->setMultiplier(5.0);
        bar->setPrecision(false);
    }
}

void CWgtScrollBars::retranslateUi()
{
    sb_cscan->setTitle(tr("C"));
    sb_bscan->setTitle(tr("B"));
    sb_dscan->setTitle(tr("D"));
}

void CWgtScrollBars::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

void CWgtScrollBars::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    for (CScrollBar* bar : {sb_cscan, sb_bscan, sb_dscan})
        bar->resize(bar->width(), event->size().height());
}
