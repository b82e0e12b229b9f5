#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

// Answers modal dialogs that a call under test opens with exec(): each time a modal widget of
// type T comes up, the next step of the script runs on it. Polls, so it also catches
// dialogs opened inside nested event loops.
template <typename T> class ModalDriver {
  public:
    using Step = std::function<void(T*)>;

    explicit ModalDriver(QList<Step> steps) : m_steps(std::move(steps)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(10);
    }
    // Answers every dialog of type T that comes up while the driver lives with the same step.
    enum class Every { Dialog };
    ModalDriver(Every, Step step) : ModalDriver(QList<Step>()) { m_every = std::move(step); }

    int Handled() const { return m_nHandled; }

  private:
    void Poll() {
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        // A mark on the object tells a dialog already answered from a new one at the same address.
        if (!dialog || !dialog->isVisible() || dialog->property("modalDriverSeen").toBool())
            return;
        dialog->setProperty("modalDriverSeen", true);
        ++m_nHandled;
        // The step runs from the event loop, not inside this timer's slot: a step that opens
        // the next modal dialog would otherwise block the timer that answers it.
        Step step = m_steps.isEmpty() ? m_every : m_steps.takeFirst();
        if (step)
            QMetaObject::invokeMethod(
                dialog, [dialog, step] { step(dialog); }, Qt::QueuedConnection);
    }

    QList<Step> m_steps;
    Step m_every;
    QTimer m_timer;
    int m_nHandled = 0;
};
