#include "console/jsession_command.h"
#include "console/jsession_window.h"
#include "engine/jdll_engine.h"
#include "support/j_test_engine.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(JSession, CommandLines) {
    using K = JSessionCommand::Kind;
    EXPECT_EQ(parseSessionCommand("Quit").kind, K::Quit);
    const JSessionCommand d = parseSessionCommand("Do 11!:0 :: ] 'psel minijx;pclose'\n");
    EXPECT_EQ(d.kind, K::Do);
    EXPECT_EQ(d.sentence, QStringLiteral("11!:0 :: ] 'psel minijx;pclose'"));
    EXPECT_EQ(parseSessionCommand("Show 1").number, 1);
    EXPECT_EQ(parseSessionCommand("Log 0").kind, K::Log);
    for (const char* bad : {"", "quit", "Show", "Show x", "Log 1 2", "Frobnicate 1", "Quit now"})
        EXPECT_EQ(parseSessionCommand(bad).kind, K::Invalid) << bad;
}

TEST(JSession, ShowsWhatJPrintsOnceLoggingIsOn) {
    JEngine* e = sharedTestEngine();
    ASSERT_TRUE(e);
    JEngine& engine = *e;
    JSessionWindow w(engine);
    engine.setOutputHandler([&w](int kind, const QString& text) { w.jOutput(kind, text); });
    QSignalSpy finished(&w, &JSessionWindow::finished);

    EXPECT_TRUE(w.command("Quit"));
    EXPECT_TRUE(w.command("Do 0!:0 < 1!:45 ''"));  // before logging: nothing shown
    EXPECT_TRUE(w.logText().isEmpty());
    EXPECT_TRUE(w.command("Show 1"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.command("Log 1"));
    EXPECT_TRUE(w.command("Do 1+2"));
    EXPECT_EQ(w.logText(), QStringLiteral("   1+2\n3\n"));
    EXPECT_FALSE(w.command("Nonsense"));

    EXPECT_TRUE(w.command("Do exit_z_=: 2!:55"));
    EXPECT_TRUE(w.command("Do exit ''"));  // J's own exit ends the session
    EXPECT_EQ(finished.count(), 1);
    w.parentGone();  // after Quit, the session ends with the program that started it
    EXPECT_EQ(finished.count(), 2);
    engine.setOutputHandler({});
}
