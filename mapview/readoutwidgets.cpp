#include "mapview/readoutwidgets.h"

#include "mapview/readoutformat.h"

#include <QFont>
#include <QLCDNumber>
#include <QLabel>

namespace ReadoutWidgets {

QLabel* label(QWidget* parent, const QString& strObjectName, int iPointSize, int iMinWidth, int iMaxWidth)
{
    auto* l = new QLabel(parent);
    l->setObjectName(strObjectName);
    QFont f = l->font();
    f.setPointSize(iPointSize);
    l->setFont(f);
    l->setMinimumWidth(iMinWidth);
    l->setMaximumWidth(iMaxWidth);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QLCDNumber* lcd(QWidget* parent, const QString& strObjectName, int iDigits, int iMinWidth, int iMaxWidth)
{
    auto* d = new QLCDNumber(iDigits, parent);
    d->setObjectName(strObjectName);
    d->setSegmentStyle(QLCDNumber::Flat);
    d->setMinimumWidth(iMinWidth);
    d->setMaximumWidth(iMaxWidth);
    return d;
}

void display(QLCDNumber* pLcd, const QString& strText, int iDigits)
{
    // The display keeps only the last digits of a text longer than it: 12.35 would read 2.35.
    const int digits = Readout::digitsFor(strText, iDigits);
    if (pLcd->digitCount() != digits)
        pLcd->setDigitCount(digits);
    pLcd->display(strText);
}

} // namespace ReadoutWidgets
