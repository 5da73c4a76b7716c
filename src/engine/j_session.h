#pragma once

#include "engine/j_engine.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class QEventLoop;
class JSessionThread;

// The J session: one engine, created, used and freed on a thread of its own, so that a
// long sentence never freezes the windows. Calls keep the engine's contract: each returns
// once J has answered, with the same codes and values. A caller on the UI thread waits in
// an event loop of its own when J takes longer than a moment, so the windows keep
// painting; whoever owns the windows keeps user input out meanwhile (waitStarted).
class JSession final : public QObject, public IJEngine {
    Q_OBJECT
public:
    using Factory = std::function<std::unique_ptr<IJEngine>(QString* error)>;

    // Starts the session thread and creates the engine on it; null, and why, on failure.
    static std::unique_ptr<JSession> start(const Factory& factory, QString* error);
    ~JSession() override;

    int Do(const QString& sentence) override;
    int GetB(const QString& name, HostValue& value) override;
    int Set(const QString& name, const HostValue& value) override;
    QString ErrorText(int code) override;
    void Clear() override;
    std::vector<JOutput> takeOutputChunks() override;
    // Asks the running sentence to stop; from any thread. Nothing happens while J is idle.
    void interrupt() override;
    qint64 echoedLines() const override { return m_engine ? m_engine->echoedLines() : 0; }

    // Runs task with the engine on the session thread and returns when it is done. False,
    // without running it, when a call is already under way (a caller reached from inside
    // the wait of another one).
    bool run(const std::function<void(IJEngine&)>& task);

    // A call is under way.
    bool busy() const { return m_busy.load(); }
    // Break was asked for during the current call.
    bool breakRequested() const { return m_breakRequested.load(); }

    // The code a call answers when it was refused because another one was under way.
    static constexpr int kBusy = 23;
    // How long a caller blocks before it waits in an event loop instead.
    static constexpr int kShortWaitMs = 25;

signals:
    // The UI thread began (and ended) waiting in an event loop for a long call.
    void waitStarted();
    void waitFinished();

private:
    JSession();
    void finishedOnSessionThread();
    void wakeWaitingLoop();

    std::unique_ptr<JSessionThread> m_thread;
    std::unique_ptr<IJEngine> m_engine;  // touched on the session thread only

    std::mutex m_mutex;
    std::condition_variable m_doneCv;
    bool m_done = true;            // guarded by m_mutex
    std::atomic<bool> m_doneFlag{true};  // m_done, readable without the mutex
    bool m_loopWaiting = false;    // guarded by m_mutex
    QEventLoop* m_loop = nullptr;  // UI thread only
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_breakRequested{false};
};
