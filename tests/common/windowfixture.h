#pragma once
// Input as a user gives it to a widget (presses, moves, drags, wheel steps, typing) and the
// lookups of named children, shared by the tests of windows and frames.

#include "common/widgetinput.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <functional>

namespace TestInput {

inline void mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void press(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonPress, p, b, b);
}

inline void move(QWidget* w, QPoint p, Qt::MouseButtons held = Qt::LeftButton)
{
    mouse(w, QEvent::MouseMove, p, Qt::NoButton, held);
}

inline void release(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
}

//! Hovers the start, presses there, moves in four steps and lets go at the end.
inline void drag(QWidget* w, QPoint from, QPoint to)
{
    WidgetInput::drag(w, from, to, 4);
}

inline void wheel(QWidget* w, int delta)
{
    QWheelEvent e(QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

//! Replaces the whole text of a line edit by typing.
inline void retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

using WidgetInput::child;

inline int countPixels(const QImage& image, const std::function<bool(QRgb)>& test)
{
    int n = 0;
    for (int i = 0; i < image.width() * image.height(); ++i)
        n += test(image.pixel(i % image.width(), i / image.width())) ? 1 : 0;
    return n;
}

} // namespace TestInput
