#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QLCDNumber;

//! A coordinate read-out with the probe position number beside it: name, value (4 digits or
//! more), unit, step number (3 digits or more) under "Step" / "Number".
class CWgtExtDigDisplay : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(double value READ value WRITE setValue)
    Q_PROPERTY(int intValue READ intValue WRITE setIntValue)

public:
    explicit CWgtExtDigDisplay(QWidget* parent = nullptr);

    void setName(const QString& strName);
    void setUnit(const QString& strUnit);
    QString name() const;
    QString unit() const;

    void setValue(double dValue);
    double value() const { return m_dValue; }
    void setIntValue(int iValue);
    int intValue() const { return int(m_dValue); }
    void setStepNumber(int iNumber);
    int stepNumber() const { return m_iStep; }
    QString text() const { return m_strText; }
    QString stepText() const { return m_strStep; }

    //! The coordinate's report text and "Step #" with the position number.
    QStringList reportTexts() const;
    void retranslate();

protected:
    void changeEvent(QEvent* event) override;

private:
    QLabel* lbl_value = nullptr;
    QLCDNumber* lcd_value = nullptr;
    QLabel* lbl_units = nullptr;
    QLCDNumber* lcd_stepnum = nullptr;
    QLabel* lbl_stepnum1 = nullptr;
    QLabel* lbl_stepnum2 = nullptr;
    double m_dValue = 0.0;
    int m_iStep = 0;
    QString m_strText;
    QString m_strStep;
};
