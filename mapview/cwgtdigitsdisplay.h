#pragma once

#include <QWidget>

class QLabel;
class QLCDNumber;

//! One digital read-out: name, seven-segment value (4 digits, more when a value needs them)
//! and unit. Metre values are shown with two decimals, whole values as they are.
class CWgtDigitsDisplay : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(double value READ value WRITE setValue)
    Q_PROPERTY(int intValue READ intValue WRITE setIntValue)

public:
    explicit CWgtDigitsDisplay(QWidget* parent = nullptr);

    void setName(const QString& strName);
    void setUnit(const QString& strUnit);
    QString name() const;
    QString unit() const;

    //! Shows a value with two decimals.
    void setValue(double dValue);
    double value() const { return m_dValue; }
    //! Shows a whole number.
    void setIntValue(int iValue);
    int intValue() const { return m_iValue; }
    //! The text on the display.
    QString text() const { return m_strText; }
    //! "<name>, <unit> = " and the value with two decimals.
    QString reportText() const;

private:
    void show(const QString& strText);

    QLabel* lbl_value = nullptr;
    QLCDNumber* lcd_value = nullptr;
    QLabel* lbl_units = nullptr;
    double m_dValue = 0.0;
    int m_iValue = 0;
    QString m_strText;
};
