#include "app/frmabout.h"
#include "app/frmjmain.h"
#include "base/screen_fit.h"
#include "base/shipped_database.h"
#include "console/frmjserver.h"
#include "controls/flex_grid.h"
#include "controls/sheet_widget.h"
#include "controls/tab_strip.h"
#include "controls/text_box.h"
#include "dictionary/dictionary_search.h"
#include "dictionary/frmdicdisp.h"
#include "dictionary/frmdicedit.h"
#include "library/frmcommand.h"
#include "matrix/frmerrdisp.h"
#include "support/files.h"
#include "support/test_app.h"
#include "viewers/frmmatrixdisp.h"
#include "viewers/frmmatrixdisp2.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

class MainWindow : public ::testing::Test {
protected:
    TestApp t;
    frmjMain& w = t.showMain();
};

}  // namespace

TEST(StartUp, AnEngineThatCannotStartIsReportedAndNothingElseRuns) {
    TestApp t;
    t.engineFactory = [](QString* error) -> std::unique_ptr<IJEngine> {
        *error = QStringLiteral("J エンジン (libj.so) を読み込めません。");
        return nullptr;
    };
    frmjMain& w = t.showMain();
    EXPECT_FALSE(t.app().hasEngine());
    ASSERT_EQ(t.msgBox.calls.size(), 1u);
    EXPECT_TRUE(t.msgBox.lastPrompt().contains(QStringLiteral("libj.so")));
    EXPECT_NE(w.windowTitle(), kMainCaption);
}

TEST(StartUp, ADictionaryFileThatCannotBeUpgradedIsToldOnceAndStillSearched) {
    TestApp t;
    QWidget owner;
    // A file of the first shipped content, which its user made read-only.
    const QString file = DictionarySearch::fileIn(t.app().dataDir());
    QString error;
    ASSERT_TRUE(createDatabaseFromSql(
        file, QString::fromUtf8(readFile(":/shipped/history/Mox5StatWord.v1.sql")), &error))
        << error.toStdString();
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray before = readFile(file);

    frmjMain& w = t.showMain();
    t.app().setFormOwner(&owner);
    ASSERT_EQ(t.msgBox.calls.size(), 1u);
    EXPECT_TRUE(t.msgBox.lastPrompt().contains(QStringLiteral("Mox5StatWordDataBase.sqlite")) &&
                t.msgBox.lastPrompt().contains(QStringLiteral("読み取り専用")));
    EXPECT_EQ(readFile(file), before);

    // The dictionary reads the file as it is, abbreviation column or not.
    w.menuItem("mnuToolDict")->trigger();
    frmDicDisp& d = t.app().form<frmDicDisp>();
    EXPECT_EQ(d.MSFlexGrid1[3]->Rows(), 2 + 776);
    d.Text1[3]->setText(QStringLiteral("PROBABILITY"));
    d.Command1[3]->click();
    EXPECT_GT(d.MSFlexGrid1[3]->Rows(), 2);
    EXPECT_EQ(t.msgBox.calls.size(), 1u);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
}

// The rectangle every window keeps through the window base: defaults, values that are
// no number, and a window closed while minimised.
TEST(MainWindowRectangle, FromSettingsAndBack) {
    {
        // First start: the default 6500 x 6500 is below the size where the resize rules
        // start, and the window stops there, where nothing is cut or overlaps.
        TestApp t;
        frmjMain& w = t.showMain();
        EXPECT_EQ((std::array{w.Left(), w.Top(), w.Width(), w.Height()}),
                  (std::array{1000, 1000, 9360, 6525}));
        w.setSize(3000, 2000);
        EXPECT_EQ((std::pair(w.Width(), w.Height())), std::pair(9360, 6525));
        const TwipsRect frame = twipsGeometry(w.Frame1), status = twipsGeometry(w.sbStatusBar);
        EXPECT_LE(frame.top + frame.height, status.top);
        EXPECT_LE(frame.left + frame.width, pixelsToTwips(w.client()->width()));
        // The dictionary shares the main window's keys but does not open exactly over it.
        w.mnuToolDict_Click();
        const frmDicDisp& dic = t.app().form<frmDicDisp>();
        EXPECT_EQ((std::pair(dic.Left(), dic.Top())), std::pair(1000 + 465, 1000 + 465));
        w.Unload();
        EXPECT_EQ(t.settings.value("Settings", "MainWidth"), QStringLiteral("9360"));
        EXPECT_EQ(t.settings.value("Settings", "MainLeft"), QStringLiteral("1000"));
    }
    // Wild stored places: the window is moved (not resized) wholly onto the screen.
    for (const auto& [left, top] : {std::pair("30000", "1000"), {"-8000", "-500"}, {"1e300", "20000"}}) {
        TestApp t;
        t.settings.SaveSetting("Settings", "MainLeft", left);
        t.settings.SaveSetting("Settings", "MainTop", top);
        frmjMain& w = t.showMain();
        EXPECT_TRUE(QRect(0, 0, VbForm::screenWidth(), VbForm::screenHeight())
                        .contains(QRect(w.Left(), w.Top(), w.Width(), w.Height())))
            << left << "," << top << ": " << w.Left() << "," << w.Top();
    }
    {
        TestApp t;  // a value that is not a number falls back to its default without a message
        t.settings.SaveSetting("Settings", "MainWidth", "wide");
        t.settings.SaveSetting("Settings", "MainHeight", "9000");
        t.settings.SaveSetting("Settings", "MainTop", "1e300");  // a huge one is clamped, not overflowed
        frmjMain& w = t.showMain();
        EXPECT_EQ(w.Width(), 9360);  // the default 6500, held to the minimum
        EXPECT_EQ(w.Height(), 9000);
        EXPECT_TRUE(w.Top() >= 0 && w.Top() <= 1'000'000) << w.Top();
        EXPECT_TRUE(t.msgBox.calls.empty());
        w.setSize(10000, 8000);  // closing while minimised keeps the saved rectangle
        w.showMinimized();
        w.Unload();
        EXPECT_EQ(t.settings.value("Settings", "MainWidth"), QStringLiteral("wide"));
    }
}

// Onto the screen that holds most of the window, else the primary one; moved, and
// shrunk only when larger than that screen.
TEST(KeepOnScreen, MovesOntoTheScreenHoldingMostOfTheWindow) {
    const std::vector<TwipsRect> screens = {{0, 0, 24000, 15000}, {24000, 0, 19200, 12000}};
    const std::tuple<TwipsRect, TwipsRect> cases[] = {
        {{1000, 1000, 9000, 6000}, {1000, 1000, 9000, 6000}},      // already on screen
        {{30000, 1000, 9000, 6000}, {30000, 1000, 9000, 6000}},    // on the second screen
        {{450000, 1000, 9000, 6000}, {15000, 1000, 9000, 6000}},   // on none: onto the primary
        {{20000, 1000, 9000, 6000}, {24000, 1000, 9000, 6000}},    // mostly on the second
        {{-5000, -3000, 9000, 6000}, {0, 0, 9000, 6000}},          // off to the top left
        {{0, 90000, 9000, 6000}, {0, 9000, 9000, 6000}},           // far below: the primary
        {{1000, 1000, 99000, 99000}, {0, 0, 24000, 15000}},        // larger than the screen
        {{23000, 14000, 2000, 2000}, {22000, 13000, 2000, 2000}},  // across the corner
    };
    for (const auto& [window, expected] : cases)
        EXPECT_EQ(fitOnScreens(window, screens, 0), expected) << window.left << "," << window.top;
    EXPECT_EQ(fitOnScreens({-500, 0, 100, 100}, screens, 1), (TwipsRect{24000, 0, 100, 100}));  // primary
    EXPECT_EQ(fitOnScreens({-500, 0, 100, 100}, {}, 0), (TwipsRect{-500, 0, 100, 100}));
}

TEST_F(MainWindow, StartsWithItsCaptionAtA1AndEachPageChoosesItsList) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("J言語 Kalvoret(JDLL Server For j601c) By QZT"));
    EXPECT_EQ(w.Spreadsheet1->currentCell(), (SheetCell{1, 1}));
    w.TabStrip1->setSelectedIndex(2);
    EXPECT_EQ((std::pair<int, int>(w.PageIndex, w.TabStrip2->SelectedIndex())), std::make_pair(2, 1));
    w.TabStrip1->setSelectedIndex(1);
    EXPECT_EQ((std::pair<int, int>(w.PageIndex, w.TabStrip2->SelectedIndex())), std::make_pair(1, 2));
    EXPECT_EQ(w.focusWidget(), w.Text1->editor());
}

// File New asks first, Enter keeping the data. Menu shortcuts act where no control has its
// own use for the keys; the sheet keeps its own copy and cut.
TEST_F(MainWindow, FileNewByItsShortcutAsksFirstAndTheSheetKeepsItsCopy) {
    w.Text1->setText(QStringLiteral("1+2"));
    w.Text2->setText(QStringLiteral("log\r\n"));
    t.msgBox.answer(mb::No);
    QApplication::setActiveWindow(&w);
    w.MSFlexGrid2->setFocus();
    QTest::keyClick(w.MSFlexGrid2, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(t.msgBox.prompts(),
              QStringList{"新しい画面を作成すると、これまでのデータはすべて消失します。\r作成しますか？"});
    EXPECT_EQ(t.msgBox.calls.back().buttons, mb::YesNo | mb::DefaultButton2);
    EXPECT_EQ(w.Text1->Text(), QStringLiteral("1+2"));
    t.msgBox.answer(mb::Yes);
    w.mnuFileNew_Click();
    EXPECT_EQ(w.Text1->Text() + w.Text2->Text() + w.Text3->Text(), QString());
    w.ReleaseAll();
    EXPECT_EQ(t.msgBox.lastPrompt(), QStringLiteral("行列確定をすべて解除します。よろしいですか？"));
    EXPECT_EQ(t.msgBox.calls.back().buttons, mb::YesNo | mb::Exclamation | mb::DefaultButton2);

    w.TabStrip1->setSelectedIndex(2);
    w.Spreadsheet1->setValue(1, 1, QStringLiteral("42"));
    w.Spreadsheet1->select(SheetRange::cell(1, 1));
    QWidget* view = w.Spreadsheet1->view();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(t.clipboard.text(), QStringLiteral("42\r\n"));
    QTest::keyClick(view, Qt::Key_X, Qt::ControlModifier);  // cut: copied, then emptied
    EXPECT_EQ(w.Spreadsheet1->text(1, 1), QString());
}

TEST_F(MainWindow, MenusToolbarAndPlaceholderMessages) {
    QStringList menus;  // what the user sees: captions, separators and tool tips
    for (QAction* top : w.menuBar()->actions()) {
        menus << top->text() + ":";
        for (QAction* a : top->menu()->actions()) {
            const QString key = a->shortcut().toString(QKeySequence::NativeText);
            menus << (a->isSeparator() ? QStringLiteral("-")
                                       : a->text() + (key.isEmpty() ? "" : "[" + key + "]"));
        }
    }
    EXPECT_EQ(
        menus.join('|').toStdString(),
        "ﾌｧｲﾙ(&F):|Jデータ・EXCELファイルを開く|-|新規作成(&N)[Ctrl+N]|開く(&O)...[Ctrl+O]|上書き保存(&S)|"
        "名前を付けて保存(&A)...|-|終了(&X)[Ctrl+Q]|編集(&E):|元に戻す(&U)[Ctrl+Z]|-|切り取り(&T)[Ctrl+X]|"
        "ｺﾋﾟｰ(&C)[Ctrl+C]|貼り付け(&P)[Ctrl+V]|形式を選択して貼り付け(&S)...|ツール(&T):|J Expression 参照|"
        "j.EXE起動|Ｊコンソール|Ｊスクリプトを実行...|-|Ｊ形式で表示|-|「日・中・英語」統計用語対応表|-|"
        "表計算ソフトを選択...|-|Ｊ実行の中断|"
        "ﾍﾙﾌﾟ(&H):|Kalvoretのヘルプ[F1]|製作者の宣伝|-|ﾊﾞｰｼﾞｮﾝ情報(&A)");
    QStringList buttons;
    for (QAction* a : w.tbToolBar->actions()) {
        buttons << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
        EXPECT_TRUE(a->isSeparator() || !a->icon().isNull()) << a->toolTip().toStdString();
    }
    EXPECT_EQ(buttons.join(' ').toStdString(),
              "新規作成 開く 上書き保存 | 切り取り ｺﾋﾟｰ 貼り付け | VB行列確定 VB行列解除 | 中断");
    EXPECT_FALSE(w.toolButton("行列解除")->isEnabled());
    EXPECT_FALSE(w.toolButton("中断")->isEnabled() || w.menuItem("mnuToolBreak")->isEnabled());  // J idle

    // The placeholders, each as prompt#buttons#title. File Open: a chosen file only gets the
    // placeholder; a cancelled dialog nothing.
    t.fileDialog.answer("");
    t.fileDialog.answer("/tmp/x.txt");
    for (const char* item :
         {"mnuFileSave", "mnuEditPasteSpecial", "mnuHelpContents", "mnuFileOpen", "mnuFileOpen"})
        w.menuItem(item)->trigger();
    w.tbToolBar_ButtonClick("上書き保存");
    QStringList said;
    for (const auto& c : t.msgBox.calls) said << c.prompt + "#" + QString::number(c.buttons) + "#" + c.title;
    const QString building = QStringLiteral(" 'ただ今、工事中！！。#0#"),
                  wait = QStringLiteral("ただ今、工事中です。しばらくお待ちください。#%1#");
    EXPECT_EQ(said, (QStringList{building, wait.arg(mb::OKOnly), wait.arg(mb::Information) + kMainCaption,
                                 building, building}));
    EXPECT_EQ(t.fileDialog.requests[0].title + "|" + t.fileDialog.requests[0].filter,
              QStringLiteral("開く|すべてのﾌｧｲﾙ (*.*)|*.*"));
}

TEST_F(MainWindow, SeparateJSessionIsStartedInOrder) {
    w.mnuToolTest_Click();
    EXPECT_EQ(t.jsession.commands,
              (QStringList{"Quit", "Do exit_z_=: 2!:55", "Do 11!:0 :: ] 'psel minijx;pclose'",
                           "Do 0!:0 < 1!:45 ''", "Show 1", "Log 1"}));
    EXPECT_TRUE(t.msgBox.calls.empty());
    EXPECT_EQ(t.app().jExeServers.size(), 1u);

    t.jsession.startSucceeds = false;  // the program is missing
    w.mnuToolTest_Click();
    EXPECT_EQ(t.msgBox.lastPrompt(), QStringLiteral("jEXEserver(j.exe)がインストールされていません。\r"
                                                    "現在状況を調査中です。V2の開発までお待ちください。"));
    EXPECT_EQ(t.msgBox.calls.back().buttons, mb::Exclamation);
    t.jsession.startSucceeds = true;  // it starts but stops answering half-way
    t.jsession.commands.clear();
    t.jsession.failAfter = 3;
    w.mnuToolTest_Click();
    EXPECT_EQ(t.msgBox.calls.size(), 2u);
    EXPECT_EQ(t.app().jExeServers.size(), 1u);
}

TEST_F(MainWindow, EveryControlHasANameAScreenReaderCanSpeak) {
    AppState& a = t.app();
    for (VbForm* f : std::initializer_list<VbForm*>{&w, &a.form<frmAbout>(), &a.form<frmjServer>(),
                                                    &a.form<frmErrDisp>(), &a.form<frmMatrixDisp>(),
                                                    &a.form<frmMatrixDisp2>(), &a.form<frmCommand>(),
                                                    &a.form<frmDicDisp>(), &a.form<frmDicEdit>()}) {
        for (QWidget* c : f->findChildren<QWidget*>()) {
            QString spoken = c->accessibleName();
            if (auto* b = qobject_cast<QAbstractButton*>(c)) spoken += b->text();
            if (auto* l = qobject_cast<QLabel*>(c))
                spoken += l->text() + QString(l->pixmap().isNull() ? "" : "icon");
            const bool needsName = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                                   qobject_cast<QPlainTextEdit*>(c) || qobject_cast<QListWidget*>(c) ||
                                   qobject_cast<FlexGrid*>(c) || qobject_cast<SheetWidget*>(c) ||
                                   qobject_cast<TabStrip*>(c);
            // Pieces inside our own controls are named through the control itself.
            const bool inner =
                qobject_cast<FlexGrid*>(c->parentWidget()) || qobject_cast<SheetWidget*>(c->parentWidget()) ||
                qobject_cast<QAbstractSpinBox*>(c->parentWidget()) || c->objectName().startsWith("qt_") ||
                QByteArray(c->metaObject()->className()) == "QTableCornerButton";
            EXPECT_TRUE(!needsName || inner || !spoken.trimmed().isEmpty())
                << f->objectName().toStdString() << ": " << c->metaObject()->className() << " "
                << c->objectName().toStdString();
        }
    }
}

// While a runaway sentence runs the window repaints and reports it, takes no input but
// Break (a second Enter does nothing, the menus other than Break are off), and Esc stops
// it: the log says so and the session goes on.
TEST_F(MainWindow, ARunawaySentenceTakesOnlyBreak) {
    const QString runaway = QStringLiteral("(3 : 'while. 1 do. end.') 0");
    QString status;
    bool libraryOff = false, breakOn = false;
    QTimer::singleShot(800, &w, [&] {
        status = w.sbStatusBar->currentMessage();
        libraryOff = !w.menuItem(QStringLiteral("mnuToolDataBase"))->isEnabled();
        breakOn = w.menuItem(QStringLiteral("mnuToolBreak"))->isEnabled() &&
                  w.toolButton(QStringLiteral("中断"))->isEnabled();
        QTest::keyClick(w.Text1->editor(), Qt::Key_Return);
        QTest::keyClick(w.Text1->editor(), Qt::Key_Escape);
    });
    w.Text1->setText(runaway);
    QTest::keyClick(w.Text1->editor(), Qt::Key_Return);

    EXPECT_EQ(w.Text2->Text(),
              QStringLiteral("【jExpression】") + runaway + "\r\n※ 実行を中断しました。\r\n\r\n");
    EXPECT_EQ(status, QStringLiteral("Ｊ実行中… 0 秒（Esc で中断）"));
    EXPECT_TRUE(libraryOff && breakOn);
    EXPECT_TRUE(w.menuItem(QStringLiteral("mnuToolDataBase"))->isEnabled());
    EXPECT_FALSE(w.menuItem(QStringLiteral("mnuToolBreak"))->isEnabled());
    EXPECT_TRUE(w.sbStatusBar->currentMessage().isEmpty());
    w.Text1->setText(QStringLiteral("1+2"));
    QTest::keyClick(w.Text1->editor(), Qt::Key_Return);
    EXPECT_TRUE(w.Text2->Text().endsWith(QStringLiteral("1+2\r\n3\r\n")));
}

// Closing the window while J runs asks first: いいえ keeps it running, はい stops J and
// then closes as usual, keeping the window's rectangle.
TEST_F(MainWindow, ClosingWhileJRunsAsksAndYesBreaksThenCloses) {
    t.msgBox.answer(mb::No);
    t.msgBox.answer(mb::Yes);
    QTimer::singleShot(300, &w, [&] { w.close(); });
    QTimer::singleShot(600, &w, [&] { w.close(); });
    w.Text1->setText(QStringLiteral("(3 : 'while. 1 do. end.') 0"));
    QTest::keyClick(w.Text1->editor(), Qt::Key_Return);
    QCoreApplication::processEvents();

    ASSERT_EQ(t.msgBox.calls.size(), 2u);
    EXPECT_EQ(t.msgBox.calls[0].prompt, QStringLiteral("Ｊが実行中です。中断して終了しますか？"));
    EXPECT_TRUE(w.Text2->Text().contains(QStringLiteral("※ 実行を中断しました。")));
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(t.settings.values.contains(QStringLiteral("Settings/MainLeft")));
}
