#include "app/frmjmain.h"
#include "console/frmjserver.h"
#include "controls/text_box.h"
#include "engine/jdll_engine.h"
#include "support/test_app.h"

#include <QAction>
#include <QApplication>

#include <gtest/gtest.h>

namespace {

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.engineFactory = [this](QString* error) -> std::unique_ptr<IJEngine> {
            ++enginesMade;
            if (!failNext) return JEngine::create(error);
            *error = QStringLiteral("J を起動できません。");
            return nullptr;
        };
        m = &t.showMain();
        ASSERT_TRUE(t.app().hasEngine());
    }
    frmjServer& open() {
        m->menuItem("mnuToolConsole")->trigger();
        return t.app().form<frmjServer>();
    }

    TestApp t;
    frmjMain* m = nullptr;
    int enginesMade = 0;
    bool failNext = false;
};

TEST_F(ConsoleTest, EachOpeningStartsAFreshEngineThatEveryWindowUses) {
    ASSERT_EQ(t.app().J().Do("a=: 5"), 0);
    frmjServer& c = open();
    EXPECT_EQ(c.windowTitle(), "J言語 JDLL Server For j601c");
    EXPECT_EQ(enginesMade, 2);
    enter(c.GetText, "a+1");
    EXPECT_EQ(c.Text1->Text(), "Get:a+1\r\nValue Error(Code=16)\r\n\r\n");
    enter(m->Text1, "1+2");
    EXPECT_EQ(m->Text2->Text(), "【jExpression】1+2\r\n3\r\n");

    open();  // already open
    c.Unload();
    failNext = true;
    open();  // a failed start keeps the engine in use
    EXPECT_EQ(enginesMade, 3);
    EXPECT_EQ(t.msgBox.lastPrompt(), "J を起動できません。");
    enter(c.GetText, "1+2");
    EXPECT_EQ(c.Text1->Text(), "Get:1+2\r\n3\r\n");
}

TEST_F(ConsoleTest, OpensCentredAtTheSharedRectangleResizesAndSavesIt) {
    t.settings.SaveSetting("Settings", "MainWidth", "7500");
    frmjServer& c = open();
    EXPECT_EQ(std::make_pair(c.Width(), c.Height()), std::make_pair(7500, 3615));
    EXPECT_NEAR(c.Left(), (VbForm::screenWidth() - 7500) / 2, 15);

    c.Move(1500, 1200, 9000, 6000);
    QApplication::processEvents();
    EXPECT_EQ(twipsGeometry(c.Text1), (TwipsRect{120, 960, 8640, 4185}));  // the log follows the window

    VbForm other(t.app(), nullptr, false);
    other.Show();
    c.Unload();
    EXPECT_FALSE(other.isLoaded());  // windows opened after the main window close with it
    EXPECT_TRUE(m->isLoaded());
    EXPECT_EQ(t.settings.value("Settings", "MainLeft"), "1500");
    EXPECT_EQ(t.settings.value("Settings", "MainHeight"), "6000");
}

TEST_F(ConsoleTest, TheBoxesLogWhatWasSentAndWhatCameBack) {
    frmjServer& c = open();
    const std::tuple<TextBox*, const char*, const char*> cases[] = {
        {c.DoText, "a=: 1+2", "Do:a=: 1+2\r\n"},
        {c.DoText, "xyz+1", "Do:xyz+1\r\nValue Error(Code=16)\r\n\r\n"},
        {c.DoText, "'abc", "Do:'abc\r\nMiscellaneous Error(Code=13)\r\n\r\n"},
        {c.GetText, "i.2 3", "Get:i.2 3\r\n 0 1 2\r\n 3 4 5\r\n\r\n"},
        {c.GetText, "1+'a'", "Get:1+'a'\r\nDomain Error(Code=3)\r\n\r\n"},
        {c.GetText, "1 2+1 2 3", "Get:1 2+1 2 3\r\nMiscellaneous Error(Code=9)\r\n\r\n"},
        {c.GetText, "+/", "Get:+/\r\nValue Error(Code=3)\r\n\r\n"}};
    for (const auto& [box, sentence, log] : cases) {
        c.Text1->setText(QString());
        enter(box, QString::fromUtf8(sentence));
        EXPECT_EQ(c.Text1->Text(), QString::fromUtf8(log));
        EXPECT_EQ(box->SelLength(), box->Text().size()) << sentence;  // ready to run again
        EXPECT_EQ(c.focusWidget(), box->editor()) << sentence;
    }
}

TEST_F(ConsoleTest, DoAndGetShareNounsUntilClearJ) {
    frmjServer& c = open();
    enter(c.DoText, "1+'a'");
    EXPECT_EQ(c.Text2->Text(), "domain error");  // J's own text
    enter(c.DoText, "b=: 7");
    enter(c.GetText, "b*2");
    EXPECT_TRUE(c.Text1->Text().endsWith("Do:b=: 7\r\nGet:b*2\r\n14\r\n"));
    c.mnuClearJ->trigger();
    for (TextBox* box : {c.DoText, c.GetText, c.Text1, c.Text2}) EXPECT_EQ(box->Text(), QString());
    EXPECT_EQ(c.focusWidget(), c.DoText->editor());
    enter(c.GetText, "b*2");
    EXPECT_EQ(c.Text1->Text(), "Get:b*2\r\nValue Error(Code=16)\r\n\r\n");
}

}  // namespace
