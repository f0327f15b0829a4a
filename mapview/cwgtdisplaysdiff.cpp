#include "mapview/cwgtdisplaysdiff.h"

#include "mapview/cwgtdbldigdisplay.h"
#include "mapview/cwgtdigitsdisplay.h"
#include "mapview/readoutformat.h"

#include <QEvent>

namespace {
constexpr int kMinXYZ = 220, kMaxXYZ = 320, kMinA = 140, kMaxA = 200;
const QChar kIncrement(0x2206);
}

CWgtDisplaysDiff::CWgtDisplaysDiff(QWidget* parent)
    : QWidget(parent)
{
    setMinimumWidth(830);
    setFixedHeight(40);
    wgt_displayX = new CWgtDblDigDisplay(this);
    wgt_displayX->setObjectName(QStringLiteral("wgt_displayX"));
    wgt_displayY = new CWgtDblDigDisplay(this);
    wgt_displayY->setObjectName(QStringLiteral("wgt_displayY"));
    wgt_displayZ = new CWgtDblDigDisplay(this);
    wgt_displayZ->setObjectName(QStringLiteral("wgt_displayZ"));
    wgt_displayA = new CWgtDigitsDisplay(this);
    wgt_displayA->setObjectName(QStringLiteral("wgt_displayA"));
    for (QWidget* w : {static_cast<QWidget*>(wgt_displayX), static_cast<QWidget*>(wgt_displayY),
                       static_cast<QWidget*>(wgt_displayZ)}) {
        w->setMinimumWidth(kMinXYZ);
        w->setMaximumWidth(kMaxXYZ);
    }
    wgt_displayA->setMinimumWidth(kMinA);
    wgt_displayA->setMaximumWidth(kMaxA);
    wgt_displayA->setIntValue(0);
    retranslate();
}

void CWgtDisplaysDiff::retranslate()
{
    wgt_displayX->setNames(tr("X"), tr("%1X").arg(kIncrement));
    wgt_displayY->setNames(tr("Y"), tr("%1Y").arg(kIncrement));
    wgt_displayZ->setNames(tr("Z"), tr("%1Z").arg(kIncrement));
    for (CWgtDblDigDisplay* d : {wgt_displayX, wgt_displayY, wgt_displayZ})
        d->setUnits(tr("m"), tr("m"));
    wgt_displayA->setName(tr("A"));
    wgt_displayA->setUnit(tr("dB"));
}

void CWgtDisplaysDiff::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void CWgtDisplaysDiff::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const Readout::Slots s = Readout::differenceLayout(width(), kMinXYZ, kMaxXYZ, kMinA, kMaxA);
    const QList<QWidget*> order = {wgt_displayX, wgt_displayY, wgt_displayZ, wgt_displayA};
    for (int i = 0; i < 4; ++i)
        order[i]->setGeometry(s.x[size_t(i)], 0, s.width[size_t(i)], height());
}

void CWgtDisplaysDiff::setX(double dStart, double dLength)
{
    wgt_displayX->setValues(dStart, dLength);
}

void CWgtDisplaysDiff::setY(double dStart, double dLength)
{
    wgt_displayY->setValues(dStart, dLength);
}

void CWgtDisplaysDiff::setZ(double dStart, double dLength)
{
    wgt_displayZ->setValues(dStart, dLength);
}

void CWgtDisplaysDiff::setAmplitude(int iDb)
{
    wgt_displayA->setIntValue(iDb);
}

void CWgtDisplaysDiff::clear()
{
    for (CWgtDblDigDisplay* d : {wgt_displayX, wgt_displayY, wgt_displayZ})
        d->setValues(0.0, 0.0);
    wgt_displayA->setIntValue(0);
}

QList<QStringList> CWgtDisplaysDiff::reportTexts() const
{
    return {wgt_displayX->reportTexts(), wgt_displayY->reportTexts(), wgt_displayZ->reportTexts(),
            {wgt_displayA->reportText()}};
}
