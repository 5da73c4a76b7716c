#include "app/frmjmain.h"
#include "console/frmjserver.h"
#include "controls/flex_grid.h"
#include "controls/text_box.h"
#include "engine/jdll_engine.h"
#include "support/test_app.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.engineFactory = [this](QString* error) -> std::unique_ptr<IJEngine> {
            ++enginesMade;
            return JEngine::create(error);
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
};

// The console works on the main window's J session: each sees what the other defines, and
// the names go only when the user agrees (いいえ is the default answer).
TEST_F(ConsoleTest, TheConsoleSharesTheMainWindowsSessionAndClearsOnlyWhenAsked) {
    enter(m->Text1, "a=: 5");
    t.msgBox.answer(mb::No);
    frmjServer& c = open();
    EXPECT_EQ(c.windowTitle(), "J言語 JDLL Server For j601c");
    EXPECT_EQ(enginesMade, 1);
    ASSERT_EQ(t.msgBox.calls.size(), 1u);
    EXPECT_EQ(t.msgBox.lastPrompt(), "定義済みのＪ変数 1 個をすべて消去します。よろしいですか？");
    EXPECT_EQ(t.msgBox.calls[0].buttons, mb::YesNo | mb::Exclamation | mb::DefaultButton2);
    enter(c.GetText, "a+1");
    EXPECT_EQ(c.Text1->Text(), "Get:a+1\r\n6\r\n");
    enter(c.DoText, "b=: 7");
    enter(m->Text1, "a+b");
    EXPECT_EQ(m->Text2->Text(), "【jExpression】a=: 5\r\n5\r\n【jExpression】a+b\r\n12\r\n");
    EXPECT_EQ(m->MSFlexGrid2->Rows(), 3);

    t.msgBox.answer(mb::Yes);
    c.mnuClearJ->trigger();
    EXPECT_EQ(t.msgBox.lastPrompt(), "定義済みのＪ変数 2 個をすべて消去します。よろしいですか？");
    EXPECT_EQ(m->MSFlexGrid2->Rows(), 1);  // the main window lists what is left at once
    EXPECT_EQ(c.DoText->Text() + c.GetText->Text() + c.Text1->Text() + c.Text2->Text(), QString());
    EXPECT_EQ(c.focusWidget(), c.DoText->editor());
    enter(m->Text1, "a+1");
    EXPECT_TRUE(
        m->Text2->Text().endsWith("a+1\r\nValue Error(doCode=16)\r\n|value error: a\r\n|       a+1\r\n\r\n"));
    c.mnuClearJ->trigger();  // nothing left to lose: no question
    EXPECT_EQ(t.msgBox.calls.size(), 2u);
}

TEST_F(ConsoleTest, OpensCentredAtTheSharedRectangleResizesAndSavesIt) {
    t.settings.SaveSetting("Settings", "MainWidth", "7500");
    frmjServer& c = open();
    EXPECT_EQ(std::make_pair(c.Width(), c.Height()), std::make_pair(7500, 3615));
    EXPECT_NEAR(c.Left(), (VbForm::screenWidth() - 7500) / 2, 15);

    c.Move(1500, 1200, 9000, 6000);
    VbForm other(t.app(), nullptr, false);
    other.Show();
    c.Unload();
    EXPECT_TRUE(!other.isLoaded() && m->isLoaded());  // windows opened after the main window close with it
    EXPECT_EQ(t.settings.value("Settings", "MainLeft") + "|" + t.settings.value("Settings", "MainHeight"),
              "1500|6000");
}

TEST_F(ConsoleTest, TheBoxesLogWhatWasSentAndWhatCameBack) {
    frmjServer& c = open();
    const std::tuple<TextBox*, const char*, const char*> cases[] = {
        {c.DoText, "a=: 1+2", "Do:a=: 1+2\r\n"},
        {c.DoText, "xyz+1", "Do:xyz+1\r\nValue Error(Code=16)\r\n|value error: xyz\r\n|       xyz+1\r\n\r\n"},
        {c.DoText, "(smoutput 'hi') ] 5", "Do:(smoutput 'hi') ] 5\r\nhi\r\n"},
        {c.DoText, "'abc", "Do:'abc\r\nMiscellaneous Error(Code=13)\r\n|open quote\r\n\r\n"},
        {c.GetText, "i.2 3", "Get:i.2 3\r\n 0 1 2\r\n 3 4 5\r\n\r\n"},
        {c.GetText, "1+'a'",
         "Get:1+'a'\r\nDomain Error(Code=3)\r\n|domain error, executing dyad +\r\n|y is character\r\n"
         "|   1    +'a'\r\n\r\n"},
        {c.GetText, "+/", "Get:+/\r\nValue Error(Code=3)\r\n\r\n"}};
    for (const auto& [box, sentence, log] : cases) {
        c.Text1->setText(QString());
        enter(box, QString::fromUtf8(sentence));
        EXPECT_EQ(c.Text1->Text().toStdString(), log);
        EXPECT_EQ(box->SelLength(), box->Text().size()) << sentence;  // ready to run again
        EXPECT_EQ(c.focusWidget(), box->editor()) << sentence;
    }
    enter(c.DoText, "1+'a'");
    EXPECT_EQ(c.Text2->Text(), "domain error");  // J's own text
    // The boxes share one history: Up in the Get box shows what was last run in the Do box.
    QTest::keyClick(c.GetText->editor(), Qt::Key_Up);
    EXPECT_EQ(c.GetText->Text(), "1+'a'");
    QTest::keyClick(c.GetText->editor(), Qt::Key_Up);
    EXPECT_EQ(c.GetText->Text(), "+/");
}

}  // namespace
