#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QLCDNumber;

//! Two digital read-outs side by side, each with name, value (4 digits or more) and unit:
//! the start and the length of a measured box along one axis.
class CWgtDblDigDisplay : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int intValue READ intValue WRITE setIntValue)

public:
    explicit CWgtDblDigDisplay(QWidget* parent = nullptr);

    void setNames(const QString& strName1, const QString& strName2);
    void setUnits(const QString& strUnit1, const QString& strUnit2);
    QString name(int i) const;
    QString unit(int i) const;

    //! Both values with two decimals.
    void setValues(double dValue1, double dValue2);
    double value(int i) const { return i == 0 ? m_dValue1 : m_dValue2; }
    //! The first value as a whole number (the second is left).
    void setIntValue(int iValue);
    int intValue() const { return int(m_dValue1); }
    QString text(int i) const { return i == 0 ? m_strText1 : m_strText2; }
    //! One report text per value.
    QStringList reportTexts() const;

private:
    QLabel* lbl_value1 = nullptr;
    QLCDNumber* lcd_value1 = nullptr;
    QLabel* lbl_units1 = nullptr;
    QLabel* lbl_value2 = nullptr;
    QLCDNumber* lcd_value2 = nullptr;
    QLabel* lbl_units2 = nullptr;
    double m_dValue1 = 0.0;
    double m_dValue2 = 0.0;
    QString m_strText1;
    QString m_strText2;
};
