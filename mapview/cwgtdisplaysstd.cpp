#include "mapview/cwgtdisplaysstd.h"

#include "mapview/cwgtdigitsdisplay.h"
#include "mapview/cwgtextdigdisplay.h"
#include "mapview/readoutformat.h"

#include <QEvent>

namespace {
constexpr int kMinXY = 260, kMaxXY = 320, kMinZA = 140, kMaxZA = 200;
}

CWgtDisplaysStd::CWgtDisplaysStd(QWidget* parent)
    : QWidget(parent)
{
    setMinimumWidth(830);
    setFixedHeight(40);
    wgt_displayX = new CWgtExtDigDisplay(this);
    wgt_displayX->setObjectName(QStringLiteral("wgt_displayX"));
    wgt_displayY = new CWgtExtDigDisplay(this);
    wgt_displayY->setObjectName(QStringLiteral("wgt_displayY"));
    wgt_displayZ = new CWgtDigitsDisplay(this);
    wgt_displayZ->setObjectName(QStringLiteral("wgt_displayZ"));
    wgt_displayA = new CWgtDigitsDisplay(this);
    wgt_displayA->setObjectName(QStringLiteral("wgt_displayA"));
    for (QWidget* w : {static_cast<QWidget*>(wgt_displayX), static_cast<QWidget*>(wgt_displayY)}) {
        w->setMinimumWidth(kMinXY);
        w->setMaximumWidth(kMaxXY);
    }
    for (QWidget* w : {static_cast<QWidget*>(wgt_displayZ), static_cast<QWidget*>(wgt_displayA)}) {
        w->setMinimumWidth(kMinZA);
        w->setMaximumWidth(kMaxZA);
    }
    wgt_displayA->setIntValue(0);
    retranslate();
}

void CWgtDisplaysStd::retranslate()
{
    wgt_displayX->setName(tr("X"));
    wgt_displayX->setUnit(tr("m"));
    wgt_displayY->setName(tr("Y"));
    wgt_displayY->setUnit(tr("m"));
    wgt_displayZ->setName(tr("Z"));
    wgt_displayZ->setUnit(tr("m"));
    wgt_displayA->setName(tr("A"));
    wgt_displayA->setUnit(tr("dB"));
}

void CWgtDisplaysStd::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void CWgtDisplaysStd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const Readout::Slots s = Readout::standardLayout(width(), kMinXY, kMaxXY, kMinZA, kMaxZA);
    const QList<QWidget*> order = {wgt_displayX, wgt_displayY, wgt_displayZ, wgt_displayA};
    for (int i = 0; i < 4; ++i)
        order[i]->setGeometry(s.x[size_t(i)], 0, s.width[size_t(i)], height());
}

void CWgtDisplaysStd::setX(double dMetres, int iPositionNumber)
{
    wgt_displayX->setValue(dMetres);
    wgt_displayX->setStepNumber(iPositionNumber);
}

void CWgtDisplaysStd::setY(double dMetres, int iPositionNumber)
{
    wgt_displayY->setValue(dMetres);
    wgt_displayY->setStepNumber(iPositionNumber);
}

void CWgtDisplaysStd::setZ(double dMetres)
{
    wgt_displayZ->setValue(dMetres);
}

void CWgtDisplaysStd::setAmplitude(int iDb)
{
    wgt_displayA->setIntValue(iDb);
}

void CWgtDisplaysStd::clear()
{
    wgt_displayX->setValue(0.0);
    wgt_displayY->setValue(0.0);
    wgt_displayZ->setValue(0.0);
    wgt_displayA->setIntValue(0);
}

QList<QStringList> CWgtDisplaysStd::reportTexts() const
{
    return {wgt_displayX->reportTexts(), wgt_displayY->reportTexts(), {wgt_displayZ->reportText()},
            {wgt_displayA->reportText()}};
}
