#include <gtest/gtest.h>

#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

#include "engine/j_session.h"
#include "engine/jdll_engine.h"

namespace {

HostValue eval(IJEngine& j, const QString& sentence) {
    EXPECT_EQ(j.Do(QStringLiteral("J_Get=: ") + sentence), 0) << sentence.toStdString();
    HostValue v;
    EXPECT_EQ(j.GetB(QStringLiteral("J_Get"), v), 0);
    return v;
}

}  // namespace

// Runaway sentences, explicit and tacit, stopped from another thread while the caller
// waits in its event loop; what was defined before stays and the session goes on.
TEST(JSession, BreakStopsARunawaySentenceAndTheSessionGoesOn) {
    QString error;
    std::unique_ptr<JSession> s =
        JSession::start([](QString* e) -> std::unique_ptr<IJEngine> { return JEngine::create(e); }, &error);
    ASSERT_TRUE(s) << error.toStdString();
    ASSERT_EQ(s->Do(QStringLiteral("keep=: 42")), 0);
    for (const char* runaway : {"(3 : 'while. 1 do. end.') 0", "(1&+)^:_ ] 0x"}) {
        int waits = 0;
        QObject::connect(s.get(), &JSession::waitStarted, s.get(), [&] { ++waits; });
        std::atomic<bool> done{false};
        std::thread stopper([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            // Until it answers, however long it takes (a test that never answers is killed by CTest).
            for (; !done; std::this_thread::sleep_for(std::chrono::milliseconds(200))) s->interrupt();
        });
        // A second call from inside the wait (a timer, say) is refused without reaching J.
        int nested = -1;
        QTimer::singleShot(100, s.get(), [&] { nested = s->Do(QStringLiteral("1+1")); });
        const int rc = s->Do(QString::fromLatin1(runaway));
        done = true;
        stopper.join();
        QObject::disconnect(s.get(), &JSession::waitStarted, s.get(), nullptr);
        EXPECT_TRUE(rc == 1 || rc == 2) << runaway << ": " << rc;
        EXPECT_EQ(std::make_pair(waits, nested), std::make_pair(1, int{JSession::kBusy})) << runaway;
        EXPECT_EQ(eval(*s, QStringLiteral("keep")), HostValue::longValue(42));
    }
    // Asking while nothing runs changes nothing.
    s->interrupt();
    EXPECT_EQ(eval(*s, QStringLiteral("1+2")), HostValue::longValue(3));
}
