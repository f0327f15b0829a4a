#include "mapview/cwgtdbldigdisplay.h"

#include "mapview/readoutformat.h"
#include "mapview/readoutwidgets.h"

#include <QHBoxLayout>
#include <QLCDNumber>
#include <QLabel>

CWgtDblDigDisplay::CWgtDblDigDisplay(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(40);
    lbl_value1 = ReadoutWidgets::label(this, QStringLiteral("lbl_value1"), 16, 30, 30);
    lcd_value1 = ReadoutWidgets::lcd(this, QStringLiteral("lcd_value1"), 4, 60, 110);
    lbl_units1 = ReadoutWidgets::label(this, QStringLiteral("lbl_units1"), 12, 20, 20);
    lbl_value2 = ReadoutWidgets::label(this, QStringLiteral("lbl_value2"), 16, 30, 30);
    lcd_value2 = ReadoutWidgets::lcd(this, QStringLiteral("lcd_value2"), 4, 60, 110);
    lbl_units2 = ReadoutWidgets::label(this, QStringLiteral("lbl_units2"), 12, 20, 20);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(lbl_value1);
    layout->addWidget(lcd_value1, 1);
    layout->addWidget(lbl_units1);
    layout->addWidget(lbl_value2);
    layout->addWidget(lcd_value2, 1);
    layout->addWidget(lbl_units2);
    setValues(0.0, 0.0);
}

void CWgtDblDigDisplay::setNames(const QString& strName1, const QString& strName2)
{
    lbl_value1->setText(strName1);
    lbl_value2->setText(strName2);
}

void CWgtDblDigDisplay::setUnits(const QString& strUnit1, const QString& strUnit2)
{
    lbl_units1->setText(strUnit1);
    lbl_units2->setText(strUnit2);
}

QString CWgtDblDigDisplay::name(int i) const
{
    return (i == 0 ? lbl_value1 : lbl_value2)->text();
}

QString CWgtDblDigDisplay::unit(int i) const
{
    return (i == 0 ? lbl_units1 : lbl_units2)->text();
}

void CWgtDblDigDisplay::setValues(double dValue1, double dValue2)
{
    m_dValue1 = dValue1;
    m_dValue2 = dValue2;
    m_strText1 = Readout::metres(dValue1);
    m_strText2 = Readout::metres(dValue2);
    ReadoutWidgets::display(lcd_value1, m_strText1, 4);
    ReadoutWidgets::display(lcd_value2, m_strText2, 4);
}

void CWgtDblDigDisplay::setIntValue(int iValue)
{
    m_dValue1 = iValue;
    m_strText1 = Readout::whole(iValue);
    ReadoutWidgets::display(lcd_value1, m_strText1, 4);
}

QStringList CWgtDblDigDisplay::reportTexts() const
{
    return {Readout::reportText(name(0), unit(0), m_dValue1), Readout::reportText(name(1), unit(1), m_dValue2)};
}
