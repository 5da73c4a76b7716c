#include "engine/j_session.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <chrono>
#include <deque>
#include <thread>

namespace {

// J recurses deeply on big nested definitions; the main thread of a console has 8 MiB.
constexpr uint kSessionStackBytes = 64u * 1024 * 1024;

// A thread that sleeps can take 50 µs and more to wake on a virtual machine, longer than
// most J calls; both sides of a call look for the other a moment before they sleep.
constexpr auto kSpin = std::chrono::microseconds(200);

template <class Ready>
bool spinUntil(Ready ready) {
    const auto until = std::chrono::steady_clock::now() + kSpin;
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::yield();
    }
    return true;
}

bool onUiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

}  // namespace

// Runs one task at a time, in order, until it is told to stop.
class JSessionThread final : public QThread {
public:
    void post(std::function<void()> task) {
        {
            std::lock_guard lock(m_mutex);
            m_tasks.push_back(std::move(task));
            m_pending.fetch_add(1);
        }
        m_cv.notify_one();
    }
    void stop() {
        post({});
        wait();
    }

protected:
    void run() override {
        for (;;) {
            std::function<void()> task;
            spinUntil([this] { return m_pending.load() > 0; });  // calls come in runs
            {
                std::unique_lock lock(m_mutex);
                m_cv.wait(lock, [this] { return !m_tasks.empty(); });
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
                m_pending.fetch_sub(1);
            }
            if (!task) return;
            task();
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::function<void()>> m_tasks;
    std::atomic<int> m_pending{0};
};

JSession::JSession() : m_thread(std::make_unique<JSessionThread>()) {
    m_thread->setObjectName(QStringLiteral("J session"));
    m_thread->setStackSize(kSessionStackBytes);
    m_thread->start();
}

std::unique_ptr<JSession> JSession::start(const Factory& factory, QString* error) {
    std::unique_ptr<JSession> s(new JSession);
    QString why;
    s->m_busy = true;
    {
        std::unique_lock lock(s->m_mutex);
        s->m_done = false;
    }
    JSession* raw = s.get();
    s->m_thread->post([raw, &factory, &why] {
        try {
            raw->m_engine = factory ? factory(&why) : nullptr;
        } catch (...) {
            raw->m_engine.reset();
        }
        raw->finishedOnSessionThread();
    });
    {
        // Start-up is one short wait before any window shows.
        std::unique_lock lock(s->m_mutex);
        s->m_doneCv.wait(lock, [raw] { return raw->m_done; });
    }
    s->m_busy = false;
    if (!s->m_engine) {
        if (error) *error = why.isEmpty() ? QStringLiteral("J エンジンがありません。") : why;
        return nullptr;
    }
    return s;
}

JSession::~JSession() {
    // A sentence still running when the program ends is asked to stop first.
    interrupt();
    m_thread->post([this] { m_engine.reset(); });
    m_thread->stop();
}

void JSession::finishedOnSessionThread() {
    bool wake;
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
        m_doneFlag = true;
        wake = m_loopWaiting;
    }
    m_doneCv.notify_all();
    if (wake) QMetaObject::invokeMethod(this, &JSession::wakeWaitingLoop, Qt::QueuedConnection);
}

void JSession::wakeWaitingLoop() {
    if (m_loop) m_loop->quit();
}

bool JSession::run(const std::function<void(IJEngine&)>& task) {
    if (m_busy.exchange(true)) return false;
    m_breakRequested = false;
    {
        std::lock_guard lock(m_mutex);
        m_done = false;
        m_doneFlag = false;
        m_loopWaiting = false;
    }
    m_thread->post([this, &task] {
        try {
            task(*m_engine);
        } catch (...) {
            // The caller sees the codes its task left; nothing may unwind the session thread.
        }
        finishedOnSessionThread();
    });

    bool longWait = false;
    spinUntil([this] { return m_doneFlag.load(); });
    {
        std::unique_lock lock(m_mutex);
        const bool quick =
            m_doneCv.wait_for(lock, std::chrono::milliseconds(kShortWaitMs), [this] { return m_done; });
        if (!quick) {
            if (onUiThread()) {
                m_loopWaiting = true;
                longWait = true;
            } else {
                m_doneCv.wait(lock, [this] { return m_done; });
            }
        }
    }
    if (longWait) {
        QEventLoop loop;
        m_loop = &loop;
        emit waitStarted();
        // A wake-up queued for an earlier call may end the loop early: only this call's end counts.
        while (!m_doneFlag.load()) loop.exec();
        m_loop = nullptr;
        emit waitFinished();
    }
    m_busy = false;
    return true;
}

int JSession::Do(const QString& sentence) {
    int rc = kBusy;
    run([&](IJEngine& e) { rc = e.Do(sentence); });
    return rc;
}

int JSession::GetB(const QString& name, HostValue& value) {
    int rc = kBusy;
    if (!run([&](IJEngine& e) { rc = e.GetB(name, value); })) value = HostValue();
    return rc;
}

int JSession::Set(const QString& name, const HostValue& value) {
    int rc = kBusy;
    run([&](IJEngine& e) { rc = e.Set(name, value); });
    return rc;
}

QString JSession::ErrorText(int code) {
    QString text;
    run([&](IJEngine& e) { text = e.ErrorText(code); });
    return text;
}

void JSession::Clear() {
    run([](IJEngine& e) { e.Clear(); });
}

std::vector<JOutput> JSession::takeOutputChunks() {
    std::vector<JOutput> out;
    run([&](IJEngine& e) { out = e.takeOutputChunks(); });
    return out;
}

void JSession::interrupt() {
    if (!m_busy.load() || !m_engine) return;
    m_breakRequested = true;
    m_engine->interrupt();
}
