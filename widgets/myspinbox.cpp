#include "widgets/myspinbox.h"

#include "widgets/controlmath.h"

#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>

MySpinBox::MySpinBox(QWidget* parent)
    : QWidget(parent)
{
    setupUi();
    updateButtons();
}

void MySpinBox::setupUi()
{
    setObjectName(QStringLiteral("MySpinBox"));
    resize(100, 30);
    setMinimumSize(100, 30);
    setMaximumSize(180, 30);
    QFont widgetFont = font();
    widgetFont.setPointSize(12);
    setFont(widgetFont);

    auto makeButton = [this](const char* name, const QString& text, int x) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(x, 0, 30, 30);
        button->setFixedSize(30, 30);
        button->setFocusPolicy(Qt::ClickFocus);
        QFont f = button->font();
        f.setPointSize(20);
        f.setBold(true);
        button->setFont(f);
        button->setIconSize(QSize(22, 22));
        return button;
    };
    btn_decrease = makeButton("btn_decrease", QStringLiteral("-"), 0);

    edt_value = new QLineEdit(this);
    edt_value->setObjectName(QStringLiteral("edt_value"));
    edt_value->setGeometry(30, 0, 40, 30);
    edt_value->setMinimumSize(40, 30);
    edt_value->setMaximumSize(120, 30);
    edt_value->setFocusPolicy(Qt::ClickFocus);
    QFont editFont = edt_value->font();
    editFont.setPointSize(16);
    edt_value->setFont(editFont);
    edt_value->setAlignment(Qt::AlignCenter);
    edt_value->setText(m_strText);

    btn_increase = makeButton("btn_increase", QStringLiteral("+"), 70);

    connect(btn_increase, &QPushButton::clicked, this, &MySpinBox::slot_increaseValue);
    connect(btn_decrease, &QPushButton::clicked, this, &MySpinBox::slot_decreaseValue);
    connect(edt_value, &QLineEdit::textEdited, this, &MySpinBox::slot_textEdited);
}

void MySpinBox::setValue(int iValue)
{
    if (iValue == m_iValue)
        return;
    m_iValue = qBound(m_iMinimum, iValue, m_iMaximum);
    refresh();
}

void MySpinBox::setRange(int iMin, int iMax)
{
    if (iMin > iMax)
        return;
    m_iMinimum = iMin;
    m_iMaximum = iMax;
    if (m_iValue < iMin || m_iValue > iMax)
        setValue(qBound(iMin, m_iValue, iMax));
    else
        updateButtons();
}

void MySpinBox::setStep(int iStep)
{
    if (iStep >= 1)
        m_iStep = iStep;
}

void MySpinBox::slot_increaseValue()
{
    m_iValue = ControlMath::steppedValue(m_iValue, m_iStep, m_iMinimum, m_iMaximum);
    refresh();
}

void MySpinBox::slot_decreaseValue()
{
    m_iValue = ControlMath::steppedValue(m_iValue, -m_iStep, m_iMinimum, m_iMaximum);
    refresh();
}

void MySpinBox::slot_textEdited(const QString& s)
{
    bool ok = false;
    const int typed = s.toInt(&ok);
    if (ok && typed >= m_iMinimum && typed <= m_iMaximum) {
        m_iValue = typed;
        refresh();
    } else {
        edt_value->setText(m_strText);
    }
}

void MySpinBox::updateButtons()
{
    btn_decrease->setEnabled(m_iValue > m_iMinimum);
    btn_increase->setEnabled(m_iValue < m_iMaximum);
}

void MySpinBox::refresh()
{
    updateButtons();
    m_strText = QString::number(m_iValue);
    edt_value->setText(m_strText);
    emit valueChanged(m_iValue);
}

void MySpinBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = event->size().width();
    const int h = btn_decrease->height();
    edt_value->setGeometry(h, 0, w - 2 * h, h);
    btn_increase->move(w - h, 0);
}
