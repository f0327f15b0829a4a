#include "mapview/cwgtextdigdisplay.h"

#include "mapview/readoutformat.h"
#include "mapview/readoutwidgets.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLCDNumber>
#include <QLabel>
#include <QVBoxLayout>

CWgtExtDigDisplay::CWgtExtDigDisplay(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(40);
    lbl_value = ReadoutWidgets::label(this, QStringLiteral("lbl_value"), 24, 40, 40);
    lcd_value = ReadoutWidgets::lcd(this, QStringLiteral("lcd_value"), 4, 70, 130);
    lbl_units = ReadoutWidgets::label(this, QStringLiteral("lbl_units"), 16, 30, 30);
    lcd_stepnum = ReadoutWidgets::lcd(this, QStringLiteral("lcd_stepnum"), 3, 50, 50);
    lbl_stepnum1 = ReadoutWidgets::label(this, QStringLiteral("lbl_stepnum1"), 12, 70, 70);
    lbl_stepnum2 = ReadoutWidgets::label(this, QStringLiteral("lbl_stepnum2"), 12, 70, 70);
    lbl_stepnum1->setFixedHeight(20);
    lbl_stepnum2->setFixedHeight(20);
    auto* steps = new QVBoxLayout;
    steps->setContentsMargins(0, 0, 0, 0);
    steps->setSpacing(0);
    steps->addWidget(lbl_stepnum1);
    steps->addWidget(lbl_stepnum2);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(lbl_value);
    layout->addWidget(lcd_value, 1);
    layout->addWidget(lbl_units);
    layout->addWidget(lcd_stepnum);
    layout->addLayout(steps);
    setValue(0.0);
    setStepNumber(0);
    retranslate();
}

void CWgtExtDigDisplay::retranslate()
{
    lbl_stepnum1->setText(tr("Step"));
    lbl_stepnum2->setText(tr("Number"));
}

void CWgtExtDigDisplay::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void CWgtExtDigDisplay::setName(const QString& strName)
{
    lbl_value->setText(strName);
}

void CWgtExtDigDisplay::setUnit(const QString& strUnit)
{
    lbl_units->setText(strUnit);
}

QString CWgtExtDigDisplay::name() const
{
    return lbl_value->text();
}

QString CWgtExtDigDisplay::unit() const
{
    return lbl_units->text();
}

void CWgtExtDigDisplay::setValue(double dValue)
{
    m_dValue = dValue;
    m_strText = Readout::metres(dValue);
    ReadoutWidgets::display(lcd_value, m_strText, 4);
}

void CWgtExtDigDisplay::setIntValue(int iValue)
{
    m_dValue = iValue;
    m_strText = Readout::whole(iValue);
    ReadoutWidgets::display(lcd_value, m_strText, 4);
}

void CWgtExtDigDisplay::setStepNumber(int iNumber)
{
    m_iStep = iNumber;
    m_strStep = Readout::whole(iNumber);
    ReadoutWidgets::display(lcd_stepnum, m_strStep, 3);
}

QStringList CWgtExtDigDisplay::reportTexts() const
{
    return {Readout::reportText(name(), unit(), m_dValue), tr("Step #") + QStringLiteral(" %1").arg(m_iStep)};
}
