#pragma once
// Helpers shared by the map settings window tests.

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QByteArray>
#include <QLineEdit>
#include <QTranslator>
#include <QWidget>
#include <QtTest>

namespace mapwintest {

template <typename T>
T* child(QWidget* parent, const char* name)
{
    T* w = parent->findChild<T*>(QLatin1String(name));
    if (!w)
        qFatal("no child %s", name);
    return w;
}

//! Replaces the whole text of a line edit by typing, as a user does.
inline void retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

//! Types into a spin box's field and finishes the entry with Return.
inline void typeIntoSpinBox(QAbstractSpinBox* box, const QString& text)
{
    auto* edit = box->findChild<QLineEdit*>();
    QVERIFY(edit);
    box->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

//! Clicks a check box on its indicator, where a user clicks a box that has no text.
inline void clickCheckBox(QCheckBox* box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

//! A stand-in for a second language: every text of the given contexts comes back marked, so
//! a test sees which texts followed a language change.
class MarkingTranslator : public QTranslator
{
public:
    explicit MarkingTranslator(QList<QByteArray> contexts) : m_contexts(std::move(contexts)) {}

    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* = nullptr, int = -1) const override
    {
        if (!m_contexts.contains(QByteArray(context)))
            return QString();
        return QStringLiteral("\u00abRU\u00bb ") + QString::fromUtf8(sourceText);
    }

    static QString marked(const QString& text) { return QStringLiteral("\u00abRU\u00bb ") + text; }

private:
    QList<QByteArray> m_contexts;
};

} // namespace mapwintest
