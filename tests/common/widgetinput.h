#pragma once
// Driving widgets as a user does: show them, press, drag and hover with the buttons a real
// drag holds, and read back what they announced and what they show.

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

namespace WidgetInput {

// Shows a widget (at a size, when given) and waits until it can take input and be grabbed.
inline bool shown(QWidget& w, QSize size = QSize())
{
    if (size.isValid())
        w.resize(size);
    w.show();
    return QTest::qWaitForWindowExposed(&w);
}

// A mouse event sent straight to the widget; moves carry the button when one is held.
inline void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    Qt::MouseButtons buttons = Qt::NoButton;
    if (type == QEvent::MouseButtonPress || (type == QEvent::MouseMove && button != Qt::NoButton))
        buttons = button;
    QMouseEvent event(type, QPointF(pos), w->mapToGlobal(QPointF(pos)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

inline void hover(QWidget* w, QPoint pos)
{
    mouse(w, QEvent::MouseMove, pos, Qt::NoButton);
}

// Hovers the start, presses there, moves through the points between in steps, releases.
inline void drag(QWidget* w, QPoint from, QPoint to, int steps = 8)
{
    hover(w, from);
    mouse(w, QEvent::MouseButtonPress, from);
    for (int i = 1; i <= steps; ++i)
        mouse(w, QEvent::MouseMove, from + (to - from) * i / steps);
    mouse(w, QEvent::MouseButtonRelease, to);
}

// The named child; a missing one ends the test program, as no check could mean anything.
template <typename T = QWidget>
T* child(const QObject* parent, const char* name)
{
    T* w = parent->findChild<T*>(QLatin1String(name));
    if (!w)
        qFatal("no child %s", name);
    return w;
}

// The first argument of every emission, in order.
inline QList<int> intsOf(const QSignalSpy& spy, int argument = 0)
{
    QList<int> values;
    for (const QList<QVariant>& call : spy)
        values.append(call.at(argument).toInt());
    return values;
}

// The positions along a row (horizontal) or a column where the picture is dark.
inline QList<int> darkAlong(const QImage& image, bool horizontal, int probe)
{
    QList<int> dark;
    const int length = horizontal ? image.width() : image.height();
    for (int n = 0; n < length; ++n) {
        if (qGray(horizontal ? image.pixel(n, probe) : image.pixel(probe, n)) < 100)
            dark.append(n);
    }
    return dark;
}

} // namespace WidgetInput
