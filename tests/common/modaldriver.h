#pragma once
// Answers modal message boxes, dialogs and menus that a tested operation opens and waits on.
// Arm it before the call; it polls for the modal widget and answers it, recording what it saw.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

class ModalDriver : public QObject
{
public:
    struct Seen
    {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };

    //! Each modal message box that appears is answered with the next button of the list;
    //! when the list is used up, further boxes get the last answer.
    explicit ModalDriver(QList<QMessageBox::StandardButton> answers, QObject* parent = nullptr)
        : QObject(parent), m_answers(std::move(answers))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

    //! Calls handler for any other modal widget (file dialogs, custom dialogs).
    void setOtherHandler(std::function<void(QWidget*)> handler) { m_other = std::move(handler); }

    const QList<Seen>& seen() const { return m_seen; }
    QStringList texts() const
    {
        QStringList list;
        for (const Seen& s : m_seen)
            list << s.text;
        return list;
    }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_lastHandled)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_lastHandled = box;
            m_seen.append({box->windowTitle(), box->text(), box->icon()});
            const int index = qMin<int>(m_next++, m_answers.size() - 1);
            QAbstractButton* button = index >= 0 ? box->button(m_answers.at(index)) : nullptr;
            if (button)
                button->click();
            else
                box->reject();
        } else if (m_other) {
            m_lastHandled = modal;
            m_other(modal);
        }
    }

    QList<QMessageBox::StandardButton> m_answers;
    std::function<void(QWidget*)> m_other;
    QList<Seen> m_seen;
    QPointer<QWidget> m_lastHandled;
    int m_next = 0;
    QTimer m_timer;
};
