#include "widgets/qvertcounter.h"

#include "widgets/controlmath.h"

#include <QLineEdit>
#include <QPushButton>

#include <cmath>

QVertCounter::QVertCounter(QWidget* parent)
    : QWidget(parent)
{
    setupUi();
    refresh();
}

QVertCounter::~QVertCounter()
{
    // The field loses its focus while the widget is taken down and reports that editing ended.
    m_edt_value->disconnect(this);
}

void QVertCounter::setupUi()
{
    setObjectName(QStringLiteral("QVertCounter"));
    resize(40, 60);
    setMinimumSize(30, 60);
    setMaximumSize(40, 60);
    setBaseSize(30, 60);

    auto makeButton = [this](const char* name, const char* icon, int y) {
        auto* button = new QPushButton(this);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(0, y, 40, 20);
        button->setFixedSize(40, 20);
        button->setFocusPolicy(Qt::ClickFocus);
        button->setIcon(QIcon(QLatin1String(icon)));
        button->setIconSize(QSize(28, 28));
        return button;
    };
    // The upper button shows the upward arrow and lowers the value (values grow downwards).
    m_btn_decrease = makeButton("m_btn_decrease", ":/Resources/Images/arrow_up.png", 0);

    m_edt_value = new QLineEdit(this);
    m_edt_value->setObjectName(QStringLiteral("m_edt_value"));
    m_edt_value->setGeometry(0, 20, 40, 20);
    m_edt_value->setFixedSize(40, 20);
    m_edt_value->setFocusPolicy(Qt::ClickFocus);
    QFont editFont = m_edt_value->font();
    editFont.setPointSize(10);
    m_edt_value->setFont(editFont);
    m_edt_value->setAlignment(Qt::AlignCenter);
    // The field is narrow: give the digits the room the frame's inner margin would take.
    m_edt_value->setTextMargins(-2, 0, -2, 0);

    m_btn_increase = makeButton("m_btn_increase", ":/Resources/Images/arrow_down.png", 40);

    connect(m_edt_value, &QLineEdit::textEdited, this, &QVertCounter::slot_textEdited);
    connect(m_edt_value, &QLineEdit::editingFinished, this, [this] { m_edt_value->setText(m_strText); });
    connect(m_btn_decrease, &QPushButton::clicked, this, &QVertCounter::slot_decreaseValue);
    connect(m_btn_increase, &QPushButton::clicked, this, &QVertCounter::slot_increaseValue);
}

void QVertCounter::setCurrentValue(int iValue)
{
    if (iValue == m_iCurrentValue)
        return;
    const int stored = qBound(m_iMinValue, iValue, m_iMaxValue);
    if (stored == m_iCurrentValue)
        return;
    m_iCurrentValue = stored;
    refresh();
    emit counterValueChanged(m_iCurrentValue);
}

void QVertCounter::setMinValue(int iValue)
{
    if (iValue == m_iMinValue || iValue > m_iMaxValue)
        return;
    m_iMinValue = iValue;
    if (m_iCurrentValue < iValue)
        setCurrentValue(iValue);
    else
        updateButtons();
}

void QVertCounter::setMaxValue(int iValue)
{
    if (iValue == m_iMaxValue || iValue < m_iMinValue)
        return;
    m_iMaxValue = iValue;
    if (m_iCurrentValue > iValue)
        setCurrentValue(iValue);
    else
        updateButtons();
}

void QVertCounter::setRange(int iMin, int iMax)
{
    if (iMin > iMax)
        return;
    if (iMin > m_iMaxValue) {
        setMaxValue(iMax);
        setMinValue(iMin);
    } else {
        setMinValue(iMin);
        setMaxValue(iMax);
    }
}

void QVertCounter::setStepValue(int iValue)
{
    // A step of one never overshoots, so it is taken even on an empty range (a reset to 0..0).
    if (iValue == 1 || (iValue > 1 && qint64(iValue) <= qint64(m_iMaxValue) - m_iMinValue))
        m_iStepValue = iValue;
}

void QVertCounter::setPrecision(bool bPrecision)
{
    if (bPrecision == m_bPrecision)
        return;
    m_bPrecision = bPrecision;
    showText();
}

void QVertCounter::setMultiplier(double dMultiplier)
{
    if (!(std::abs(dMultiplier) >= 0.0001) || !std::isfinite(dMultiplier))
        return;
    m_dMultiplier = dMultiplier;
    showText();
}

void QVertCounter::slot_increaseValue()
{
    setCurrentValue(ControlMath::steppedValue(m_iCurrentValue, m_iStepValue, m_iMinValue, m_iMaxValue));
}

void QVertCounter::slot_decreaseValue()
{
    setCurrentValue(ControlMath::steppedValue(m_iCurrentValue, -m_iStepValue, m_iMinValue, m_iMaxValue));
}

void QVertCounter::slot_textEdited(const QString& s)
{
    const std::optional<int> typed = ControlMath::counterValueFromText(s, m_dMultiplier);
    if (typed && *typed >= m_iMinValue && *typed <= m_iMaxValue) {
        // The field keeps what is being typed: rewriting it after every key would turn the
        // "1" of "100" (x 5 mm) into "0" before the next digit arrives.
        m_bTyping = true;
        setCurrentValue(*typed);
        m_bTyping = false;
    } else {
        m_edt_value->setText(m_strText);
    }
}

void QVertCounter::refresh()
{
    updateButtons();
    showText();
}

void QVertCounter::updateButtons()
{
    m_btn_decrease->setEnabled(m_iCurrentValue > m_iMinValue);
    m_btn_increase->setEnabled(m_iCurrentValue < m_iMaxValue);
}

void QVertCounter::showText()
{
    m_strText = ControlMath::counterText(m_iCurrentValue, m_dMultiplier, m_bPrecision);
    if (!m_bTyping)
        m_edt_value->setText(m_strText);
}
