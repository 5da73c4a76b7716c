#include "app/frmabout.h"
#include "app/frmjmain.h"
#include "dictionary/frmdicdisp.h"
#include "dictionary/frmdicedit.h"
#include "jlink/frmjserver.h"
#include "library/frmcommand.h"
#include "matrix/frmerrdisp.h"
#include "viewers/frmmatrixdisp.h"
#include "viewers/frmmatrixdisp2.h"
#include "app/main_layout.h"
#include "controls/flex_grid.h"
#include "controls/sheet_widget.h"
#include "controls/tab_strip.h"
#include "controls/text_box.h"
#include "support/test_app.h"

#include <QAction>
#include <QApplication>
#include <QAbstractSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

const TabInsets kInsets;  // the designed 120 / 360 / 120 / 120 twips

}  // namespace

TEST(StartUp, ColoursCaptionAndSharedState) {
    TestApp t;
    frmjMain& w = t.showMain();
    const auto& c = t.app().MatrixColors;
    EXPECT_EQ(c[0], 0);
    EXPECT_EQ(c[1], 12648447);
    EXPECT_EQ(c[22], 255);
    EXPECT_EQ(c[25], 33603776);  // palette-relative flag kept
    EXPECT_EQ(c[26], 2146304);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("J言語 Kalvoret(JDLL Server For j601c) By QZT"));
    EXPECT_EQ(t.app().MainWindowLink, &w);
    EXPECT_EQ(t.app().PendingKind, 0);
    EXPECT_TRUE(t.app().PendingCall.isEmpty());
    EXPECT_EQ(w.objectName(), QStringLiteral("frmjMain"));
    for (const char* name : {"Frame1", "TabStrip1", "Frame2(1)", "Frame2(2)", "Text1", "Text2", "Text3", "Label2",
                             "Command1", "Command2", "TabStrip2", "Frame3", "MSFlexGrid1", "MSFlexGrid2",
                             "Spreadsheet1", "tbToolBar", "sbStatusBar", "ProgressBar1", "Label1(0)", "Label1(1)"})
        EXPECT_TRUE(w.findChild<QWidget*>(QString::fromLatin1(name))) << name;
    EXPECT_EQ(w.Spreadsheet1->currentCell(), (SheetCell{1, 1}));
    EXPECT_EQ(w.Spreadsheet1->model().fontName(), QStringLiteral("ＭＳ ゴシック"));
}

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

TEST(MainLayoutRules, ThresholdsAndDesignedSizes) {
    const MainLayout start = initialMainLayout();
    // At exactly the thresholds the rules reproduce the designed widths.
    MainLayout l = resizeMainLayout(start, 9360, 6525, kInsets, kInsets);
    EXPECT_EQ(l.Frame1.width, 9015);
    EXPECT_EQ(l.TabStrip1.width, 9015);
    EXPECT_EQ(l.Frame2_1, (TwipsRect{120, 360, 8775, 4335}));
    EXPECT_EQ(l.Frame2_2, (TwipsRect{120, 360, 8775 - 2655, 4335}));  // the rule, 15 twips off the drawing
    EXPECT_EQ(l.Text1.width, 6015);
    EXPECT_EQ(l.Command1.left, 4320);
    EXPECT_EQ(l.Command2.left, 4920);
    EXPECT_EQ(l.TabStrip2.left, 6120);
    EXPECT_EQ(l.Text2.height, 2895);
    EXPECT_EQ(l.Spreadsheet1, (TwipsRect{120, 120, 8775 - 2655 - 240, 4170}));
    // One twip below a threshold leaves that direction alone.
    EXPECT_EQ(resizeMainLayout(start, 9359, 6524, kInsets, kInsets), start);
    l = resizeMainLayout(start, 9359, 8000, kInsets, kInsets);
    EXPECT_EQ(l.Frame1.width, 9015);
    EXPECT_EQ(l.Frame1.height, 8000 - 1710);
    // A wide window widens the expression page; the sheet page stays 2655 narrower.
    l = resizeMainLayout(start, 15000, 9000, kInsets, kInsets);
    EXPECT_EQ(l.Frame1.width, 15000 - 345);
    EXPECT_EQ(l.Frame2_1.width - l.Frame2_2.width, 2655);
    EXPECT_EQ(l.Text1.width, l.Frame2_1.width - 2760);
    EXPECT_EQ(l.TabStrip2.left + l.TabStrip2.width, l.Frame2_1.width);
    EXPECT_EQ(l.Grids.width, l.Frame3.width);
    EXPECT_EQ(l.Spreadsheet1.height, l.Frame2_2.height - 165);
}

TEST(MainWindow, RectangleFromSettingsAndBack) {
    {
        TestApp t;  // first start: the defaults, below both thresholds
        frmjMain& w = t.showMain();
        EXPECT_EQ(w.Left(), 1000);
        EXPECT_EQ(w.Top(), 1000);
        EXPECT_EQ(w.Width(), 6500);
        EXPECT_EQ(w.Height(), 6500);
        EXPECT_EQ(w.layout(), initialMainLayout());
        w.Unload();
        EXPECT_EQ(t.settings.value("Settings", "MainWidth"), QStringLiteral("6500"));
        EXPECT_EQ(t.settings.value("Settings", "MainLeft"), QStringLiteral("1000"));
    }
    {
        TestApp t;  // a value that is not a number falls back to its default without a message
        t.settings.SaveSetting("Settings", "MainWidth", "wide");
        t.settings.SaveSetting("Settings", "MainHeight", "9000");
        frmjMain& w = t.showMain();
        EXPECT_EQ(w.Width(), 6500);
        EXPECT_EQ(w.Height(), 9000);
        EXPECT_EQ(w.layout().Frame1.height, 9000 - 1710);
        EXPECT_TRUE(t.msgBox.calls.empty());
    }
    {
        TestApp t;  // closing while minimised keeps the saved rectangle
        t.settings.SaveSetting("Settings", "MainWidth", "12000");
        frmjMain& w = t.showMain();
        w.setSize(10000, 8000);
        w.showMinimized();
        w.Unload();
        EXPECT_EQ(t.settings.value("Settings", "MainWidth"), QStringLiteral("12000"));
    }
}

TEST(MainWindow, PageSwitchingChoosesTheMatchingList) {
    TestApp t;
    frmjMain& w = t.showMain();
    w.TabStrip1->setSelectedIndex(2);
    EXPECT_EQ(w.PageIndex, 2);
    EXPECT_EQ(w.TabStrip2->SelectedIndex(), 1);
    w.TabStrip1->setSelectedIndex(1);
    EXPECT_EQ(w.PageIndex, 1);
    EXPECT_EQ(w.TabStrip2->SelectedIndex(), 2);
    EXPECT_TRUE(w.Text1->editor()->hasFocus() || QApplication::focusWidget() == w.Text1->editor() ||
                w.Text1->editor() == w.focusWidget());
}

TEST(MainWindow, EditOperationsUseTheRecordedSelection) {
    TestApp t;
    frmjMain& w = t.showMain();
    w.Text1->setText(QStringLiteral("abcd"));
    t.clipboard.setText(QStringLiteral("XY"));
    const int writesBefore = t.clipboard.writes;
    w.mnuEditCut_Click();  // no mouse-up yet: nothing happens
    EXPECT_EQ(w.Text1->Text(), QStringLiteral("abcd"));

    w.LastTextBox = w.Text1;  // the user selected "bc" with the mouse
    w.LastSelStart = 2;
    w.LastSelLength = 2;
    w.mnuEditCopy_Click();
    EXPECT_EQ(t.clipboard.text(), QStringLiteral("bc"));
    t.clipboard.setText(QStringLiteral("XY"));
    w.mnuEditCut_Click();
    EXPECT_EQ(w.Text1->Text(), QStringLiteral("ad"));
    EXPECT_EQ(t.clipboard.text(), QStringLiteral("XY"));  // Cut leaves the clipboard alone
    EXPECT_EQ(t.clipboard.writes, writesBefore + 2);
    w.mnuEditPaste_Click();  // same positions again: after "a", dropping the two characters "d"
    EXPECT_EQ(w.Text1->Text(), QStringLiteral("aXY"));
    EXPECT_EQ(w.LastSelStart, 2);
}

TEST(MainWindow, FileNewAsksFirst) {
    TestApp t;
    frmjMain& w = t.showMain();
    w.Text1->setText(QStringLiteral("1+2"));
    w.Text2->setText(QStringLiteral("log\r\n"));
    t.msgBox.answer(mb::No);
    w.mnuFileNew_Click();
    EXPECT_EQ(t.msgBox.lastPrompt(),
              QStringLiteral("新しい画面を作成すると、これまでのデータはすべて消失します。\r作成しますか？"));
    EXPECT_EQ(t.msgBox.calls.back().buttons, mb::YesNo);
    EXPECT_EQ(w.Answer, mb::No);
    EXPECT_EQ(w.Text1->Text(), QStringLiteral("1+2"));
    t.msgBox.answer(mb::Yes);
    w.mnuFileNew_Click();
    EXPECT_TRUE(w.Text1->Text().isEmpty());
    EXPECT_TRUE(w.Text2->Text().isEmpty());
    EXPECT_TRUE(w.Text3->Text().isEmpty());
}

TEST(MainWindow, MenusToolbarAndPlaceholderMessages) {
    TestApp t;
    frmjMain& w = t.showMain();
    QStringList tops;
    for (QAction* a : w.menuBar()->actions()) tops << a->text();
    EXPECT_EQ(tops, (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "ツール(&T)", "ﾍﾙﾌﾟ(&H)"}));
    struct Item {
        const char* name;
        const char* caption;
    };
    for (const Item& i : {Item{"mnuFileExcelOpen", "Jデータ・EXCELファイルを開く"}, Item{"mnuFileNew", "新規作成(&N)"},
                          Item{"mnuFileOpen", "開く(&O)..."}, Item{"mnuFileSave", "上書き保存(&S)"},
                          Item{"mnuFileSaveAs", "名前を付けて保存(&A)..."}, Item{"mnuFileExit", "終了(&X)"},
                          Item{"mnuEditUndo", "元に戻す(&U)"}, Item{"mnuEditCut", "切り取り(&T)"},
                          Item{"mnuEditCopy", "ｺﾋﾟｰ(&C)"}, Item{"mnuEditPaste", "貼り付け(&P)"},
                          Item{"mnuEditPasteSpecial", "形式を選択して貼り付け(&S)..."},
                          Item{"mnuToolDataBase", "J Expression 参照"}, Item{"mnuToolTest", "j.EXE起動"},
                          Item{"mnuToolDict", "「日・中・英語」統計用語対応表"}, Item{"mnuHelpContents", "Kalvoretのヘルプ"},
                          Item{"mnuHelpAuther", "製作者の宣伝"}, Item{"mnuHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)"}}) {
        QAction* a = w.menuItem(QString::fromLatin1(i.name));
        ASSERT_TRUE(a) << i.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(i.caption)) << i.name;
    }

    QStringList keys, tips;
    for (QAction* a : w.tbToolBar->actions()) {
        if (a->isSeparator()) {
            keys << "|";
            continue;
        }
        keys << a->data().toString();
        tips << a->toolTip();
        EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
    }
    EXPECT_EQ(keys, (QStringList{"新規作成", "開く", "上書き保存", "|", "切り取り", "ｺﾋﾟｰ", "貼り付け", "|", "行列確定", "行列解除"}));
    EXPECT_EQ(tips.mid(6), (QStringList{"VB行列確定", "VB行列解除"}));
    EXPECT_FALSE(w.toolButton("行列解除")->isEnabled());

    w.menuItem("mnuFileSave")->trigger();
    EXPECT_EQ(t.msgBox.lastPrompt(), QStringLiteral(" 'ただ今、工事中！！。"));
    EXPECT_EQ(t.msgBox.calls.back().buttons, mb::OKOnly);
    w.tbToolBar_ButtonClick("上書き保存");
    EXPECT_EQ(t.msgBox.calls.size(), 2u);
    w.menuItem("mnuEditPasteSpecial")->trigger();
    EXPECT_EQ(t.msgBox.lastPrompt(), QStringLiteral("ただ今、工事中です。しばらくお待ちください。"));
    w.menuItem("mnuHelpContents")->trigger();
    EXPECT_EQ(t.msgBox.calls.back().buttons, mb::Information);
    EXPECT_EQ(t.msgBox.calls.back().title, kMainCaption);

    // File Open: a chosen file only gets the placeholder; a cancelled dialog nothing.
    const size_t before = t.msgBox.calls.size();
    w.mnuFileOpen_Click();
    EXPECT_EQ(t.msgBox.calls.size(), before);
    EXPECT_EQ(t.fileDialog.requests.back().title, QStringLiteral("開く"));
    EXPECT_EQ(t.fileDialog.requests.back().filter, QStringLiteral("すべてのﾌｧｲﾙ (*.*)|*.*"));
    t.fileDialog.answer("/tmp/x.txt");
    w.mnuFileOpen_Click();
    EXPECT_EQ(t.msgBox.lastPrompt(), kUnderConstruction);
}

TEST(MainWindow, SeparateJSessionIsStartedInOrder) {
    TestApp t;
    frmjMain& w = t.showMain();
    w.mnuToolTest_Click();
    EXPECT_EQ(t.jsession.commands,
              (QStringList{"Quit", "Do exit_z_=: 2!:55", "Do 11!:0 :: ] 'psel minijx;pclose'", "Do 0!:0 < 1!:45 ''",
                           "Show 1", "Log 1"}));
    EXPECT_TRUE(t.msgBox.calls.empty());
    EXPECT_EQ(t.app().jExeServers.size(), 1u);

    const QString failure = QStringLiteral(
        "jEXEserver(j.exe)がインストールされていません。\r現在状況を調査中です。V2の開発までお待ちください。");
    t.jsession.startSucceeds = false;  // the program is missing
    w.mnuToolTest_Click();
    EXPECT_EQ(t.msgBox.lastPrompt(), failure);
    EXPECT_EQ(t.msgBox.calls.back().buttons, mb::Exclamation);
    t.jsession.startSucceeds = true;  // it starts but stops answering half-way
    t.jsession.commands.clear();
    t.jsession.failAfter = 3;
    w.mnuToolTest_Click();
    EXPECT_EQ(t.msgBox.calls.size(), 2u);
    EXPECT_EQ(t.app().jExeServers.size(), 1u);
}

TEST(Accessibility, EveryControlHasANameAScreenReaderCanSpeak) {
    TestApp t;
    frmjMain& w = t.showMain();
    std::vector<VbForm*> forms{&w,
                               &t.app().form<frmAbout>(),
                               &t.app().form<frmjServer>(),
                               &t.app().form<frmErrDisp>(),
                               &t.app().form<frmMatrixDisp>(),
                               &t.app().form<frmMatrixDisp2>(),
                               &t.app().form<frmCommand>(),
                               &t.app().form<frmDicDisp>(),
                               &t.app().form<frmDicEdit>()};
    for (VbForm* f : forms) {
        for (QWidget* c : f->findChildren<QWidget*>()) {
            QString spoken = c->accessibleName();
            if (auto* b = qobject_cast<QAbstractButton*>(c)) spoken += b->text();
            if (auto* l = qobject_cast<QLabel*>(c)) spoken += l->text() + QString(l->pixmap().isNull() ? "" : "icon");
            const bool needsName = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                                   qobject_cast<QPlainTextEdit*>(c) || qobject_cast<QListWidget*>(c) ||
                                   qobject_cast<FlexGrid*>(c) || qobject_cast<SheetWidget*>(c) ||
                                   qobject_cast<TabStrip*>(c);
            // Pieces inside our own controls are named through the control itself.
            const bool inner = qobject_cast<FlexGrid*>(c->parentWidget()) || qobject_cast<SheetWidget*>(c->parentWidget()) ||
                               qobject_cast<QAbstractSpinBox*>(c->parentWidget()) || c->objectName().startsWith("qt_") ||
                               QByteArray(c->metaObject()->className()) == "QTableCornerButton";
            if (needsName && !inner)
                EXPECT_FALSE(spoken.trimmed().isEmpty())
                    << f->objectName().toStdString() << ": " << c->metaObject()->className() << " "
                    << c->objectName().toStdString();
        }
    }
}
