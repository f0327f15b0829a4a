#include "mapview/cwgtdigitsdisplay.h"

#include "mapview/readoutformat.h"
#include "mapview/readoutwidgets.h"

#include <QHBoxLayout>
#include <QLCDNumber>
#include <QLabel>

#include <algorithm>
#include <cmath>

CWgtDigitsDisplay::CWgtDigitsDisplay(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(40);
    lbl_value = ReadoutWidgets::label(this, QStringLiteral("lbl_value"), 24, 40, 50);
    lcd_value = ReadoutWidgets::lcd(this, QStringLiteral("lcd_value"), 4, 70, 200);
    lcd_value->setMinimumHeight(40);
    lcd_value->setMaximumHeight(50);
    lbl_units = ReadoutWidgets::label(this, QStringLiteral("lbl_units"), 16, 30, 50);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(lbl_value);
    layout->addWidget(lcd_value, 1);
    layout->addWidget(lbl_units);
    setIntValue(0);
}

void CWgtDigitsDisplay::setName(const QString& strName)
{
    lbl_value->setText(strName);
}

void CWgtDigitsDisplay::setUnit(const QString& strUnit)
{
    lbl_units->setText(strUnit);
}

QString CWgtDigitsDisplay::name() const
{
    return lbl_value->text();
}

QString CWgtDigitsDisplay::unit() const
{
    return lbl_units->text();
}

void CWgtDigitsDisplay::show(const QString& strText)
{
    m_strText = strText;
    ReadoutWidgets::display(lcd_value, strText, 4);
}

void CWgtDigitsDisplay::setValue(double dValue)
{
    m_dValue = dValue;
    m_iValue = std::isfinite(dValue) ? int(std::lround(std::clamp(dValue, -1e9, 1e9))) : 0;
    show(Readout::metres(dValue));
}

void CWgtDigitsDisplay::setIntValue(int iValue)
{
    m_iValue = iValue;
    m_dValue = iValue;
    show(Readout::whole(iValue));
}

QString CWgtDigitsDisplay::reportText() const
{
    return Readout::reportText(name(), unit(), m_dValue);
}
