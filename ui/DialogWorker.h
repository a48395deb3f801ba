#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <thread>
#include <utility>

// A dialog's long network work on a thread of its own, so that the window
// stays responsive. The work touches no widget: it reports through post(),
// whose calls run later on the dialog's thread, and Qt drops a call that
// arrives after the dialog has gone. Cancelling sets the flag the work
// watches and waits for its thread.
class DialogWorker
{
public:
    explicit DialogWorker(QObject& dialog) : m_dialog(dialog) {}
    ~DialogWorker() { cancel(); }
    DialogWorker(const DialogWorker&) = delete;
    DialogWorker& operator=(const DialogWorker&) = delete;

    bool isRunning() const { return m_thread.joinable(); }

    // Starts the work with the flag it watches; none may be running.
    void start(std::function<void(const std::atomic<bool>& cancelled)> work);

    // From the work: the call runs on the dialog's thread.
    template <typename Call>
    void post(Call&& call) const
    {
        QMetaObject::invokeMethod(&m_dialog, std::forward<Call>(call), Qt::QueuedConnection);
    }

    // Asks the work to stop and waits for it; false when none was running.
    bool cancel();

    // On the dialog's thread, in the work's last report: every report before
    // it has arrived, and the thread ends with it.
    void finished();

private:
    QObject& m_dialog;
    std::atomic<bool> m_cancelled{false};
    std::thread m_thread;
};
