#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QPushButton;

//! A horizontal spin box: "-" button, text field, "+" button, for an integer within
//! [minimum, maximum] (by default -40..40, the brightness range in dB). Every button press and
//! every accepted value announces the value, also when it could not move.
class MySpinBox : public QWidget
{
    Q_OBJECT

public:
    explicit MySpinBox(QWidget* parent = nullptr);

    int value() const { return m_iValue; }
    int minimum() const { return m_iMinimum; }
    int maximum() const { return m_iMaximum; }
    int step() const { return m_iStep; }
    QSize sizeHint() const override { return QSize(100, 30); }

    //! Clamps to the range; refreshes and emits valueChanged when v differs from the value.
    void setValue(int iValue);
    //! Ignored when iMin > iMax; a value outside the new range moves to the nearer limit
    //! (and is announced), otherwise only the buttons are re-evaluated.
    void setRange(int iMin, int iMax);
    //! Taken when positive.
    void setStep(int iStep);

signals:
    void valueChanged(int i);

public slots:
    void slot_increaseValue();
    void slot_decreaseValue();
    void slot_textEdited(const QString& s);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setupUi();
    void updateButtons();
    void refresh();

    QLineEdit* edt_value = nullptr;
    QPushButton* btn_increase = nullptr;
    QPushButton* btn_decrease = nullptr;

    int m_iValue = 0;
    int m_iMinimum = -40;
    int m_iMaximum = 40;
    int m_iStep = 1;
    QString m_strText = QStringLiteral("0");
};
