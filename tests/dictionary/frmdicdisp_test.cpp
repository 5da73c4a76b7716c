#include "dictionary/frmdicdisp.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDate>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

#include "app/frmjmain.h"
#include "controls/flex_grid.h"
#include "controls/tab_strip.h"
#include "controls/text_box.h"
#include "dictionary/dictionary_window.h"
#include "dictionary/frmdicedit.h"
#include "dictionary/term_fixture.h"
#include "support/files.h"
#include "support/test_app.h"

namespace {

class DicWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(writeTermDatabase(dbFile()));
        t.app().setFormOwner(&owner);
    }
    QString dbFile() { return DictionarySearch::fileIn(t.app().dataDir()); }
    frmDicDisp& show() {
        ShowDictionary(t.app(), false);
        return t.app().form<frmDicDisp>();
    }
    // Panel n's row count, count label and first word found.
    static QString panel(frmDicDisp& f, int n) {
        FlexGrid& g = *f.MSFlexGrid1[n];
        return QString::number(g.Rows()) + "|" + f.Label5[n]->text() + "|" + g.TextMatrix(2, 1);
    }
    // The clipboard and what panel n's copied-word display shows.
    QString copied(frmDicDisp& f, int n) {
        return t.clipboard.text() + "|" +
               (f.Label6[n]->isVisible() ? f.Label6[n]->text() : QStringLiteral("hidden"));
    }

    TestApp t;
    QWidget owner;  // deletes the windows while the shared state still exists
};

TEST_F(DicWindowTest, LoadListsTheWholeTableOnEveryTabAndEachPanelSearchesInItsOwnMode) {
    frmDicDisp& f = show();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("KalvoretStatWord"));
    EXPECT_EQ(frmDicDisp::caption(f.Command1[1]) + "|" + frmDicDisp::caption(f.Command1[2]),
              "検索\r実行|検索");
    const QString all = QString::number(kTermCount), rows = QString::number(2 + kTermCount);
    EXPECT_EQ(panel(f, 1) + "/" + panel(f, 2) + "/" + panel(f, 3),
              rows + "|検索件数 = " + all + "|統計學/" + rows + "|検索項目 = " + all + "|統計学/" + rows +
                  "|検索件数 = " + all + "|statistics");
    EXPECT_FALSE(f.Label6[1]->isVisible() || f.Label6[2]->isVisible() || f.Label6[3]->isVisible());
    QWidget* front = f.Frame1->childAt(f.Picture1[1]->geometry().center());
    EXPECT_TRUE(front == f.Picture1[1] || f.Picture1[1]->isAncestorOf(front));

    // The search text is shared: typed on the Japanese tab, searched as a Chinese key.
    QTest::keyClicks(f.Text1[2]->editor(), QStringLiteral("tongji"));
    EXPECT_EQ(f.SearchText, QStringLiteral("tongji"));
    f.Option2[1]->click();
    f.Command1[1]->click();
    EXPECT_EQ(panel(f, 1), "3|検索件数 = 1|統計");
    f.Option2[0]->click();
    f.Command1[1]->click();
    EXPECT_EQ(panel(f, 1), "4|検索件数 = 2|統計學");
    f.Command1[2]->click();  // no Japanese key is "tongji": a zero count, not the earlier one
    EXPECT_EQ(panel(f, 2), "2|検索項目 = 0|");
    EXPECT_TRUE(t.msgBox.calls.empty());
}

// The dictionary shares the main window's rectangle keys; its minimum size is its own,
// and one side short sets both.
TEST_F(DicWindowTest, RectangleComesFromTheSharedKeysThroughTheMinimumSize) {
    const char* keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    const char* saved[] = {"2000", "1500", "9300", "5000"};
    for (int i = 0; i < 4; ++i) t.settings.SaveSetting("Settings", keys[i], saved[i]);
    frmDicDisp& f = show();
    QCoreApplication::processEvents();
    EXPECT_EQ((std::array{f.Left(), f.Top(), f.Width(), f.Height()}), (std::array{2000, 1500, 8700, 7000}));
    f.Move(1500, 1500, 9600, 7800);
    QCoreApplication::processEvents();
    f.Unload();
    EXPECT_EQ(t.settings.value("Settings", "MainHeight"), QStringLiteral("7800"));
}

TEST_F(DicWindowTest, EnterSearchesTheTabAndTheFocusComesBackToTheBoxWithItsTextSelected) {
    frmDicDisp& f = show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    const std::tuple<int, const char*, QString> cases[] = {
        // panel, typed, first word of the first hit
        {1, "ji lu", "機率"},
        {2, "ﾃﾞｰﾀ", "データ"},
        {3, "ANOVA", "analysis of variance"},
        {1, "zzz", ""},  // no hits: the box is ready for another try all the same
    };
    for (const auto& [n, typed, first] : cases) {
        SCOPED_TRACE(typed);
        f.TabStrip1->setSelectedIndex(n);
        QWidget* box = f.Text1[n]->editor();
        f.Text1[n]->setText(QString());
        // Kana arrive from the input method, as a committed string.
        QInputMethodEvent im;
        im.setCommitString(QString::fromUtf8(typed));
        QCoreApplication::sendEvent(box, &im);
        // The first hit, and whether the box has the focus with its whole text selected.
        const auto state = [&, n = n] {
            return f.MSFlexGrid1[n]->TextMatrix(2, 1) + (box->hasFocus() ? "|focus" : "|elsewhere") +
                   (f.Text1[n]->SelLength() == f.Text1[n]->Text().size() ? "|selected" : "|not selected");
        };
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_EQ(state(), first + "|focus|selected");
        QTest::mouseClick(f.Command1[n], Qt::LeftButton);  // the button takes the focus, and gives it back
        EXPECT_EQ(state(), first + "|focus|selected");
    }
    EXPECT_TRUE(t.msgBox.calls.empty());
}

TEST_F(DicWindowTest, LeftClickOnASingleResultCellOrThePopUpCopiesTheWord) {
    frmDicDisp& f = show();
    FlexGrid* g = f.MSFlexGrid1[1];
    t.clipboard.setText(QStringLiteral("before"));
    const std::pair<int, int> noCopy[] = {{0, 2}, {1, 3}, {3, 0}};  // headers and the number column
    for (auto [row, col] : noCopy) {
        clickCell(g, row, col);
        EXPECT_EQ(copied(f, 1), "before|hidden") << row << "," << col;
    }
    const QPoint from = g->visualRect(g->model()->index(2, 2)).center();
    const QPoint to = g->visualRect(g->model()->index(3, 4)).center();
    QTest::mousePress(g->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(g->viewport(), to);
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, to);
    ASSERT_NE(g->RowSel(), g->Row());
    EXPECT_EQ(copied(f, 1), "before|hidden");

    clickCell(g, 3, 3);
    EXPECT_EQ(copied(f, 1), "統計|統計");

    // Typing in any box hides every copied word and empties the clipboard.
    QTest::keyClicks(f.Text1[3]->editor(), QStringLiteral("s"));
    EXPECT_EQ(copied(f, 1) + f.Label6[1]->text(), "|hidden");
    EXPECT_EQ(t.clipboard.clears, 1);
    EXPECT_EQ(f.Label5[3]->text() + QString::number(f.MSFlexGrid1[3]->Rows()), "2");
    EXPECT_EQ(g->Rows(), 2 + kTermCount);  // the other panels keep their results

    // A right click on a result offers the pop-up; only its entry copies.
    std::vector<QMenu*> shown;
    f.showPopupMenu = [&shown](QMenu& m, const QPoint&) { shown.push_back(&m); };
    clickCell(f.MSFlexGrid1[2], 1, 2, Qt::RightButton);
    EXPECT_TRUE(shown.empty());
    clickCell(f.MSFlexGrid1[2], 4, 1, Qt::RightButton);
    EXPECT_EQ(shown, std::vector<QMenu*>{f.PopUp});
    EXPECT_EQ(f.PopUpCopy->text(), QStringLiteral("コピー"));
    EXPECT_EQ(copied(f, 2), "|hidden");
    f.PopUpCopy->trigger();
    EXPECT_EQ(copied(f, 2), "平均|平均");
}

TEST_F(DicWindowTest, BrokenFileIsReportedOnceAndTheWindowStaysUsable) {
    writeFile(dbFile(), "not a database at all");
    frmDicDisp& f = show();
    ASSERT_EQ(t.msgBox.calls.size(), 1u);
    EXPECT_EQ(t.msgBox.calls[0].buttons, mb::OKOnly | mb::Exclamation);
    EXPECT_TRUE(t.msgBox.calls[0].prompt.contains(QStringLiteral("Mox5StatWordDataBase.sqlite")));
    EXPECT_TRUE(f.isVisible());
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(f.MSFlexGrid1[n]->Rows(), 2);

    f.Command1[2]->click();
    EXPECT_EQ(t.msgBox.calls.size(), 2u);
    ASSERT_TRUE(writeTermDatabase(dbFile()));
    f.Command1[2]->click();
    EXPECT_EQ(t.msgBox.calls.size(), 2u);
    EXPECT_EQ(f.MSFlexGrid1[2]->Rows(), 2 + kTermCount);
}

TEST_F(DicWindowTest, MenusAndToolButtonsShowTheirCaptionsAndAct) {
    frmDicDisp& f = show();
    QStringList menus;  // what the user sees: captions and separators
    for (QAction* top : f.menuBar()->actions()) {
        menus << top->text() + ':';
        for (QAction* a : top->menu()->actions())
            menus << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(menus.join('|').toStdString(),
              "ﾌｧｲﾙ(&F):|新規作成(&N)|開く(&O)...|閉じる(&C)|-|上書き保存(&S)|名前を付けて保存(&A)...|"
              "すべて保存(&L)|-|ﾌﾟﾛﾊﾟﾃｨ(&I)|-|ﾍﾟｰｼﾞ設定(&U)...|印刷ﾌﾟﾚﾋﾞｭｰ(&V)|印刷(&P)...|-|送信(&D)...|"
              "-||||-|終了(&X)|編集(&E):|元に戻す(&U)|-|切り取り(&T)|ｺﾋﾟｰ(&C)|貼り付け(&P)|"
              "形式を選択して貼り付け(&S)...|ツール:|辞書編集(&E)|表示(&V):|ﾂｰﾙ ﾊﾞｰ(&T)|ｽﾃｰﾀｽ ﾊﾞｰ(&B)|-|"
              "最新の情報に更新(&R)|ｵﾌﾟｼｮﾝ(&O)...|WWW ﾌﾞﾗｳｻﾞ(&W)|ﾍﾙﾌﾟ(&H):|目次(&C)|ﾄﾋﾟｯｸの検索(&S)...|-|"
              "ﾊﾞｰｼﾞｮﾝ情報(&A)");
    // Every message the entries show, as prompt#buttons: the idle buttons, Open and Page
    // Setup show none.
    t.fileDialog.answer(QStringLiteral("/tmp/anything.txt"));
    for (const char* item : {"mnuFileNew", "mnuViewWebBrowser", "mnuHelpContents", "mnuHelpSearchForHelpOn",
                             "mnuHelpAbout", "mnuFilePageSetup"})
        f.menuItem(item)->trigger();
    for (const char* button :
         {"新規作成", "上書き保存", "開く", "太字", "斜体", "下線", "左揃え", "中央揃え", "右揃え"})
        f.toolButton(button)->trigger();
    QStringList said;
    for (const auto& c : t.msgBox.calls) said << c.prompt + '#' + QString::number(c.buttons);
    const QString stub = QStringLiteral(" '%1' のｺｰﾄﾞを追加します。#0");  // not built yet
    const QString noHelp = "ﾍﾙﾌﾟの目次を表示できません。 このﾌﾟﾛｼﾞｪｸﾄに関連付けられたﾍﾙﾌﾟが存在しません。#" +
                           QString::number(mb::Information);
    EXPECT_EQ(said, (QStringList{stub.arg("mnuFileNew_Click"), stub.arg("mnuViewWebBrowser_Click"), noHelp,
                                 noHelp, "ﾊﾞｰｼﾞｮﾝ 1.1.51#0", " '新規作成' ﾎﾞﾀﾝのｺｰﾄﾞを追加します。#0",
                                 stub.arg("mnuFileSave_Click")}));
    ASSERT_EQ(t.fileDialog.requests.size(), 1u);
    EXPECT_EQ(t.fileDialog.requests[0].title + "|" + t.fileDialog.requests[0].filter,
              QStringLiteral("開く|すべてのﾌｧｲﾙ (*.*)|*.*"));
    EXPECT_EQ(t.fileDialog.printerTitles, QStringList({"ﾍﾟｰｼﾞ設定"}));
    for (QAction* a : f.tbToolBar->actions()) EXPECT_TRUE(a->isSeparator() || !a->icon().isNull());
    EXPECT_EQ(f.toolButton("DB編集")->toolTip(), QStringLiteral("データベース・編集/追加"));

    f.menuItem("mnuViewToolbar")->trigger();  // the bar shows exactly while its entry is checked
    EXPECT_FALSE(f.tbToolBar->isVisible());
    EXPECT_EQ(f.StatusPanel[1]->text() + "|" + f.StatusPanel[2]->text(),
              "ｽﾃｰﾀｽ|" + QDate::currentDate().toString("yyyy/MM/dd"));

    // The editor is not built: it says so and stays open until closed.
    QString editor;
    runOnNextModal([&](QWidget* w) {
        editor = w->windowTitle() + (w->isVisible() ? "|visible" : "|hidden");
        static_cast<frmDicEdit*>(w)->Unload();
    });
    f.toolButton("DB編集")->trigger();
    EXPECT_EQ(
        t.msgBox.lastPrompt() + '#' + QString::number(t.msgBox.calls.back().buttons),
        QStringLiteral("この機能は現在作成中です。間もなく公開の予定はありません！#%1").arg(mb::Exclamation));
    EXPECT_EQ(editor, QStringLiteral("KalvoretStatWord Dictionary|visible"));

    f.menuItem("mnuFileExit")->trigger();
    EXPECT_FALSE(f.isLoaded());
}

TEST_F(DicWindowTest, OneWindowModelessFromTheMainWindowModalFromTheLibrary) {
    frmjMain& main = t.showMain();
    t.app().setFormOwner(&owner);
    main.menuItem("mnuToolDict")->trigger();
    frmDicDisp& f = t.app().form<frmDicDisp>();
    QSignalSpy loads(&f, &VbForm::loaded);
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.isModal());
    ShowDictionary(t.app(), false);  // brought forward, not loaded again
    EXPECT_EQ(loads.count(), 0);

    // Asked for modally while open: it becomes modal so it stays reachable.
    QWidget* modal = nullptr;
    runOnNextModal([&](QWidget* w) {
        modal = w;
        static_cast<VbForm*>(w)->Unload();
    });
    ShowDictionary(t.app(), true);
    EXPECT_EQ(modal, &f);
    EXPECT_FALSE(f.isLoaded());
    EXPECT_EQ(loads.count(), 0);
}

}  // namespace
