#include "console/jsession_command.h"
#include "console/jsession_window.h"
#include "engine/jdll_engine.h"
#include "support/fake_ports.h"
#include "support/j_test_engine.h"

#include <QGuiApplication>
#include <QScreen>

#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(JSession, CommandLines) {
    const JSessionCommand d = parseSessionCommand("Do 11!:0 :: ] 'psel minijx;pclose'\n");
    EXPECT_EQ(d.kind, JSessionCommand::Kind::Do);
    EXPECT_EQ(d.sentence, QStringLiteral("11!:0 :: ] 'psel minijx;pclose'"));
    EXPECT_EQ(parseSessionCommand("Show 1").number, 1);
    for (const char* bad : {"", "quit", "Show", "Show x", "Log 1 2", "Frobnicate 1", "Quit now"})
        EXPECT_EQ(parseSessionCommand(bad).kind, JSessionCommand::Kind::Invalid) << bad;
}

TEST(JSession, ShowsWhatJPrintsOnceLoggingIsOn) {
    JEngine* engine = sharedTestEngine();
    ASSERT_TRUE(engine);
    JSessionWindow w(*engine);
    engine->setOutputHandler([&w](int kind, const QString& text) { w.jOutput(kind, text); });
    QSignalSpy finished(&w, &JSessionWindow::finished);

    EXPECT_TRUE(w.command("Quit"));
    const QString banner = w.logText();  // the engine's version, then nothing until logging is on
    EXPECT_TRUE(banner.startsWith(QStringLiteral("j9.7"))) << banner.toStdString();
    EXPECT_EQ(banner.count('\n'), 1);
    EXPECT_TRUE(w.command("Do 0!:0 < 1!:45 ''"));
    EXPECT_EQ(w.logText(), banner);
    EXPECT_TRUE(w.command("Show 1") && w.isVisible());
    EXPECT_TRUE(w.command("Log 1") && w.command("Do 1+2"));
    EXPECT_EQ(w.logText(), banner + QStringLiteral("   1+2\n3\n"));
    EXPECT_FALSE(w.command("Nonsense"));

    EXPECT_TRUE(w.command("Do exit_z_=: 2!:55") && w.command("Do exit ''"));  // J's own exit ends the session
    EXPECT_EQ(finished.count(), 1);
    w.parentGone();  // after Quit, the session ends with the program that started it
    EXPECT_EQ(finished.count(), 2);
    engine->setOutputHandler({});
}

// The window opens where it was closed, always wholly on the screen.
TEST(JSession, KeepsItsRectangleOnTheScreen) {
    JEngine* e = sharedTestEngine();
    ASSERT_TRUE(e);
    MemorySettings settings;
    {
        JSessionWindow w(*e, &settings);  // nothing kept: nothing written until it closes
        EXPECT_TRUE(settings.values.isEmpty());
        w.move(30, 45);
        w.resize(400, 300);
        w.close();
    }
    EXPECT_EQ(settings.value("Settings", "JSessionWidth") + "|" + settings.value("Settings", "JSessionLeft"),
              QStringLiteral("6000|450"));
    auto reopened = std::make_unique<JSessionWindow>(*e, &settings);
    EXPECT_EQ(QRect(reopened->pos(), reopened->size()), QRect(30, 45, 400, 300));
    reopened.reset();
    settings.SaveSetting("Settings", "JSessionLeft", "450000");  // far off the screen
    settings.SaveSetting("Settings", "JSessionTop", "-9000");
    JSessionWindow w(*e, &settings);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(QRect(w.pos(), w.size()))) << w.pos().x() << "," << w.pos().y();
}
