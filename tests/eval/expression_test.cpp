#include "app/frmjmain.h"
#include "base/mouse_pointer.h"
#include "controls/flex_grid.h"
#include "controls/text_box.h"
#include "eval/expression_page.h"
#include "eval/jvar_list.h"
#include "support/files.h"
#include "support/test_app.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kHeader = QStringLiteral("【jExpression】");

class ExpressionTest : public ::testing::Test {
protected:
    void SetUp() override {
        m = &t.showMain();
        ASSERT_TRUE(t.app().hasEngine());
    }
    void enter(const QString& sentence) { ::enter(m->Text1, sentence); }
    QString log() const { return m->Text2->Text(); }

    TestApp t;
    frmjMain* m = nullptr;
};

TEST_F(ExpressionTest, ResultsAreLoggedUnderTheirSentenceWhichStaysSelected) {
    QTest::keyClicks(m->Text1->editor(), "1+2");
    EXPECT_EQ(log(), QString());  // keys other than Enter never reach J
    QTest::keyClick(m->Text1->editor(), Qt::Key_Return);
    EXPECT_EQ(log(), kHeader + "1+2\r\n3\r\n");
    EXPECT_EQ(m->Text3->Text(), "3");
    EXPECT_EQ(m->Text1->Text(), "1+2");
    EXPECT_EQ(m->focusWidget(), m->Text1->editor());
    EXPECT_EQ(MousePointer(), kPointerDefault);

    enter("i. 2 3");
    enter("s=: '日本語'");
    EXPECT_EQ(log(), kHeader + "1+2\r\n3\r\n" + kHeader + "i. 2 3\r\n 0 1 2\r\n 3 4 5\r\n\r\n" + kHeader +
                         "s=: '日本語'\r\n日本語\r\n");
    EXPECT_EQ(m->Text2->SelStart(), log().size());
    EXPECT_EQ(m->MSFlexGrid2->TextMatrix(1, 0), "s");  // listed, J_Get never

    m->Command2->click();
    EXPECT_EQ(log(), QString());
    EXPECT_EQ(m->Text3->Text(), "日本語");

    // A sentence that leaves another locale current still shows its own result.
    enter("42 [ cocurrent 'abc'");
    EXPECT_EQ(log(), kHeader + "42 [ cocurrent 'abc'\r\n42\r\n");
}

TEST_F(ExpressionTest, ErrorsAreLoggedWithTheirCodeThenJsReportForTheSentenceAsTyped) {
    QString manyWords = QStringLiteral("0");
    while (manyWords.size() < 100'000) manyWords += QStringLiteral("+1");
    const QString misc = QStringLiteral("Miscellaneous Error(doCode=%1)"),
                  defined = QStringLiteral("【(ユーザ)定義 OK】"),
                  value = QStringLiteral("Value Error(doCode=16)");
    struct Case {
        QString sentence, line, report;  // report: J's lines; "?" any report
    };
    const Case cases[] = {
        {"xyz+1", value, "|value error: xyz\r\n|       xyz+1\r\n"},
        {"xyz", value, "|value error: xyz\r\n"},  // J takes an unknown name for a verb
        {"1+'a'", "Domain Error(doCode=3)",
         "|domain error, executing dyad +\r\n|y is character\r\n|   1    +'a'\r\n"},
        {"1 2 + 1 2 3", misc.arg(9),
         "|length error, executing dyad +\r\n|shapes 2 and 3 do not conform\r\n|   1 2    +1 2 3\r\n"},
        {"'abc", misc.arg(13), "|open quote\r\n"},
        {"2!:55 ''", misc.arg(15), "?"},
        {manyWords, misc.arg(10), "?"},
        {"+/", defined, ""},
        {"f=: 3 : 'y+1'   NB.jCMD9", defined, ""},
        {"g=: 3 : 0", defined, ""}};
    ASSERT_EQ(t.app().J().Do("zz=: 1"), 0);
    for (const auto& [sentence, line, report] : cases) {
        m->Text2->setText(QString());
        enter(sentence);
        const QString head = kHeader + sentence + "\r\n" + line + "\r\n";
        if (report == "?")
            EXPECT_TRUE(log().startsWith(head) && log().endsWith("\r\n\r\n"))
                << log().left(200).toStdString();
        else
            EXPECT_EQ(log().toStdString(), (head + report + "\r\n").toStdString());
        EXPECT_EQ(m->Text1->SelLength(), sentence.size());
        if (sentence == "xyz") {
            EXPECT_EQ(t.app().J().Do("J_Get"), 16) << "an unknown name leaves no verb behind";
        }
    }
    EXPECT_EQ(m->MSFlexGrid2->Rows(), 1);  // no refresh after a failure
    enter("1+2");
    EXPECT_TRUE(log().endsWith(kHeader + "1+2\r\n3\r\n"));
}

TEST_F(ExpressionTest, BigResultsShowInFullUpToTheLimitThenAreCutWithANote) {
    const QString text(99'997, QLatin1Char('a'));
    enter("#'" + text + "'");  // a sentence of 100,000 characters
    EXPECT_EQ(log(), kHeader + "#'" + text + "'\r\n99997\r\n");

    m->Command2->click();
    enter("i. 1000 1000");
    EXPECT_EQ(m->Text3->Text().size(), 6'890'890);
    EXPECT_TRUE(log().endsWith(" 999998 999999\r\n\r\n"));

    m->Command2->click();
    enter("i. 20000000");
    EXPECT_EQ(log(), kHeader + "i. 20000000\r\n" + m->Text3->Text() +
                         "\r\n※ 結果が大きすぎるため、表示を全 20000000 要素のうち先頭の 35185 "
                         "要素で打ち切りました。\r\n\r\n");
    EXPECT_TRUE(t.msgBox.calls.empty());

    // A box holding an array cannot be shown: reported, and what came before it is logged.
    m->Command2->click();
    enter("4;((<1 2),<3)");
    EXPECT_EQ(t.msgBox.lastPrompt(), "Grid Cell 内でプログラムエラーが発生しました。");
    EXPECT_EQ(t.msgBox.calls.back().buttons, mb::Exclamation);
    EXPECT_EQ(log(), kHeader + "4;((<1 2),<3)\r\n 4\r\n");
}

TEST_F(ExpressionTest, WhatJPrintsComesInOrderBeforeTheResultAndScriptsRunLineByLine) {
    enter("(smoutput 'a') ] 5");
    enter("e=: 3 : 'echo y+1'");
    enter("e 1");
    EXPECT_EQ(log(), kHeader + "(smoutput 'a') ] 5\r\na\r\n5\r\n" + kHeader + "e=: 3 : 'echo y+1'\r\n" +
                         "【(ユーザ)定義 OK】\r\n\r\n" + kHeader + "e 1\r\n2\r\n\r\n");

    // Text of several lines pasted into the expression box runs as a script, as J shows it.
    m->Command2->click();
    t.clipboard.setText("f=: 3 : 0\r\necho 'in f'\r\ny*2\r\n)\r\nf 4\r\n");
    m->Text1->setText("kept");
    QTest::keySequence(m->Text1->editor(), QKeySequence::Paste);
    EXPECT_EQ(log(), kHeader + "（貼り付けたスクリプト 5 行）\r\n   f=: 3 : 0\r\necho 'in f'\r\n" +
                         "y*2\r\n)\r\n   f 4\r\nin f\r\n8\r\n\r\n");
    EXPECT_EQ(m->Text1->Text(), "kept");
    EXPECT_EQ(t.app().history().entries().back(), "f=: 3 : 0\necho 'in f'\ny*2\n)\nf 4");  // one entry
    enter("f 5");
    EXPECT_TRUE(log().endsWith(kHeader + "f 5\r\nin f\r\n10\r\n"));
    m->Text1->setText("kept");
    m->Text1->setSelStart(4);
    t.clipboard.setText("1+\n");  // one line: pasted into the box without its line end
    QTest::keySequence(m->Text1->editor(), QKeySequence::Paste);
    EXPECT_EQ(m->Text1->Text(), "kept1+");

    // A long script is not one long sentence: J would refuse that with a limit error.
    t.clipboard.setText("n=: 0\n" + QString("n=: n+1\n").repeated(20'000));
    QTest::keySequence(m->Text1->editor(), QKeySequence::Paste);
    HostValue n;
    EXPECT_TRUE(t.app().J().GetB("n", n) == 0 && n.numberAt(0) == 20000);
    EXPECT_TRUE(log().endsWith("   n=: n+1\r\n\r\n"));

    // A script's progress follows the lines J has run.
    std::vector<int> shown;
    QObject::connect(m->ProgressBar1, &QProgressBar::valueChanged, [&](int v) { shown.push_back(v); });
    std::int64_t now = 0;
    t.app().progress.setClock([&] { return now += 300; });
    t.clipboard.setText("6!:3 ] 0.2\n6!:3 ] 0.2\n6!:3 ] 0.2\n6!:3 ] 0.2");
    QTest::keySequence(m->Text1->editor(), QKeySequence::Paste);
    EXPECT_TRUE(!shown.empty() && std::is_sorted(shown.begin(), shown.end()) && shown.back() <= 100);
    EXPECT_TRUE(m->ProgressBar1->isHidden());

    // A script file stops at its first error and says where.
    QTemporaryDir dir;
    const QString path = writeFile(dir.filePath("s.ijs"), "a=: 1\n1+'a'\nb=: 2\n");
    t.fileDialog.answer(path);
    m->Command2->click();
    m->menuItem("mnuToolRunScript")->trigger();
    EXPECT_EQ(log(), kHeader + "（スクリプト " + path + "）\r\n   a=: 1\r\n   1+'a'\r\n" +
                         "Domain Error(doCode=3)\r\n|domain error, executing dyad +\r\n|y is character\r\n" +
                         "|   1    +'a'\r\n|[-2] " + path + "\r\n\r\n");
    EXPECT_EQ(t.app().J().Do("b"), 16);
    EXPECT_EQ(m->MSFlexGrid2->TextMatrix(1, 0) + m->MSFlexGrid2->TextMatrix(2, 0), "na");  // listed at once
}

TEST_F(ExpressionTest, WithJFormatOnTheLogShowsResultsAsJsConsolePrintsThem) {
    m->menuItem("mnuToolJFormat")->trigger();
    EXPECT_EQ(t.settings.value("Settings", "JFormat"), "1");
    const std::pair<const char*, const char*> cases[] = {
        {"2 3$<'ab'", "┌──┬──┬──┐\n│ab│ab│ab│\n├──┼──┼──┤\n│ab│ab│ab│\n└──┴──┴──┘\n"},
        {"1;(i.2 2);<<'x'", "┌─┬───┬───┐\n│1│0 1│┌─┐│\n│ │2 3││x││\n│ │   │└─┘│\n└─┴───┴───┘\n"},
        {"3 4$'abcdefghijkl'", "abcd\nefgh\nijkl\n"},
        {"i.2 2 3", "0  1  2\n3  4  5\n\n6  7  8\n9 10 11\n"},
        {"_1 _ __ 2.5", "_1 _ __ 2.5\n"},
        {"0$0", "\n"},
        {"i.0 3", ""},
        {"1j2 _3j0.5", "1j2 _3j0.5\n"},
        {"!20x", "2432902008176640000\n"},
        {"1r3 _2r5", "1r3 _2r5\n"}};
    for (const auto& [sentence, shown] : cases) {
        m->Command2->click();
        enter(QString::fromUtf8(sentence));
        EXPECT_EQ(log().toStdString(), (kHeader + QString::fromUtf8(sentence) + "\r\n" +
                                        QString::fromUtf8(shown).replace("\n", "\r\n") + "\r\n")
                                           .toStdString());
    }
    EXPECT_TRUE(t.msgBox.calls.empty());
    m->menuItem("mnuToolJFormat")->trigger();
    EXPECT_EQ(t.settings.value("Settings", "JFormat"), "0");
    m->Command2->click();
    enter("2 3$<'ab'");
    EXPECT_EQ(log(), kHeader + "2 3$<'ab'\r\n ab ab ab\r\n ab ab ab\r\n\r\n");
}

TEST_F(ExpressionTest, KindHintsFollowTheFirstMarkerAndAPendingCallReplacesTheSentenceOnce) {
    const std::pair<const char*, const char*> cases[] = {
        {"+/ % #   NB.jCMD0", "[一般形] そのまま計算可能。"},
        {"+/ y   NB.jCMD1", "[片側形] y にＪ定義変数を対応。"},
        {"x + y   NB.jCMD2 ", "[両側形] x, y にＪ定義変数を対応。"},
        {"f=: 3 : 'y'   NB.jCMD9", "[関数定義] このまま定義を実行し、つぎに関数を実行。"},
        {"1+2 NB.jCMD", nullptr},
        {"1+2 NB.jCMD5", nullptr},
        {"NB.jCMDx NB.jCMD1", nullptr}};  // nullptr: the hint stays
    for (const auto& [sentence, hint] : cases) {
        m->Label2->setText("before");
        m->Text1->setText(QString::fromUtf8(sentence));
        EXPECT_EQ(m->Label2->text(), QString::fromUtf8(hint ? hint : "before")) << sentence;
    }
    // A definition taken from the library is followed by its call, once.
    t.app().PendingKind = 9;
    t.app().PendingCall = "f 3";
    enter("f=: 3 : 'y*2'");
    EXPECT_EQ(m->Text1->Text(), "f 3   NB.jCMD1 ");
    EXPECT_EQ(t.app().PendingKind, 0);
    QTest::keyClick(m->Text1->editor(), Qt::Key_Return);
    EXPECT_TRUE(log().endsWith(kHeader + "f 3   NB.jCMD1 \r\n6\r\n"));
}

// The edit menu acts on the selection the last mouse-up recorded, in whichever box, CR LF
// counted as two. Past 32767 a 16-bit start would wrap and Cut would hit the wrong characters.
TEST_F(ExpressionTest, EditOperationsUseTheSelectionTheLastMouseUpRecorded) {
    const QString as(40'000, QLatin1Char('a'));
    m->Text1->setText(as + "bcd");
    t.clipboard.setText("XY");
    m->mnuEditCut_Click();  // no mouse-up yet: nothing happens
    EXPECT_EQ(m->Text1->Text(), as + "bcd");

    m->Text1->setSelStart(40'000);
    m->Text1->setSelLength(2);
    emit m->Text1->MouseUp(1, 0, 0, 0);
    m->mnuEditCopy_Click();
    EXPECT_EQ(t.clipboard.text(), "bc");
    t.clipboard.setText("XY");
    m->mnuEditCut_Click();
    EXPECT_EQ(m->Text1->Text(), as + "d");
    EXPECT_EQ(t.clipboard.text(), "XY");  // Cut leaves the clipboard alone
    m->mnuEditPaste_Click();  // same positions again: after the a's, dropping the two characters "d"
    EXPECT_EQ(m->Text1->Text(), as + "XY");

    m->Text2->setText("x\r\nyz");
    m->Text2->setSelStart(3);
    emit m->Text2->MouseUp(2, 0, 0, 0);
    EXPECT_EQ(m->expression->LastTextBox, m->Text2);
    EXPECT_EQ(m->expression->LastSelStart, 4);
}

// Up and Down step through the sentences of this run and of earlier ones, newest first;
// Down past the newest gives back what was being typed, and Enter runs what is shown.
TEST(ExpressionHistory, UpRecallsTheSentencesOfAnEarlierRun) {
    QTemporaryDir dir;
    {
        TestApp before;
        before.historyFile = dir.filePath("history.txt");
        frmjMain& m = before.showMain();
        enter(m.Text1, "1+2");
        enter(m.Text1, "i. 3");
    }
    TestApp t;
    t.historyFile = dir.filePath("history.txt");
    frmjMain& m = t.showMain();
    m.Text1->setText(QString());
    QTest::keyClicks(m.Text1->editor(), "2*");
    const auto press = [&](Qt::Key key) {
        QTest::keyClick(m.Text1->editor(), key);
        return m.Text1->Text();
    };
    QStringList shown;
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up})
        shown << press(key);
    EXPECT_EQ(shown, QStringList({"i. 3", "1+2", "i. 3", "2*", "i. 3", "1+2"}));
    press(Qt::Key_Return);
    EXPECT_EQ(m.Text2->Text(), kHeader + "1+2\r\n3\r\n");
    EXPECT_EQ(press(Qt::Key_Up), "1+2");  // now the newest
}

}  // namespace
