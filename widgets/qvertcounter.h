#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QPushButton;

//! A narrow vertical counter: an up-arrow button that lowers the value, a text field and a
//! down-arrow button that raises it. The value is an integer within [minimum, maximum]; it is
//! shown multiplied (by a cell size, for example) and rounded, or with two decimals.
class QVertCounter : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int currentValue READ currentValue WRITE setCurrentValue)
    Q_PROPERTY(int minValue READ minValue WRITE setMinValue)
    Q_PROPERTY(int maxValue READ maxValue WRITE setMaxValue)
    Q_PROPERTY(int stepValue READ stepValue WRITE setStepValue)
    Q_PROPERTY(bool precision READ precision WRITE setPrecision)
    Q_PROPERTY(double multiplier READ multiplier WRITE setMultiplier)

public:
    explicit QVertCounter(QWidget* parent = nullptr);
    ~QVertCounter() override;

    int currentValue() const { return m_iCurrentValue; }
    int minValue() const { return m_iMinValue; }
    int maxValue() const { return m_iMaxValue; }
    int stepValue() const { return m_iStepValue; }
    bool precision() const { return m_bPrecision; }
    double multiplier() const { return m_dMultiplier; }
    QString text() const { return m_strText; }
    //! The form's size, so layouts give the 40-pixel children their room.
    QSize sizeHint() const override { return QSize(40, 60); }

    //! Clamps to [minimum, maximum]; emits counterValueChanged when the value moves.
    void setCurrentValue(int iValue);
    //! Ignored when equal to the minimum or above the maximum; pulls the value up if needed.
    void setMinValue(int iValue);
    //! Ignored when equal to the maximum or below the minimum; pulls the value down if needed.
    void setMaxValue(int iValue);
    //! Both limits, set in the order that lets a range move past the old one; ignored when
    //! iMin > iMax.
    void setRange(int iMin, int iMax);
    //! Taken when 1, or when above 1 and at most maximum - minimum.
    void setStepValue(int iValue);
    //! Two decimals when on, a whole number when off.
    void setPrecision(bool bPrecision);
    //! Ignored when its absolute value is below 0.0001.
    void setMultiplier(double dMultiplier);

signals:
    void counterValueChanged(int value);

public slots:
    void slot_increaseValue();
    void slot_decreaseValue();
    void slot_textEdited(const QString& s);

private:
    void setupUi();
    void refresh();
    void updateButtons();
    void showText();

    QLineEdit* m_edt_value = nullptr;
    QPushButton* m_btn_decrease = nullptr;
    QPushButton* m_btn_increase = nullptr;

    int m_iCurrentValue = 0;
    int m_iMinValue = 0;
    int m_iMaxValue = 99999;
    int m_iStepValue = 1;
    bool m_bPrecision = false;
    double m_dMultiplier = 1.0;
    QString m_strText;
    bool m_bTyping = false; //!< a typed value is being taken: leave the field as typed
};
