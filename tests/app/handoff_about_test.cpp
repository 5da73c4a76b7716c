#include "app/excel_handoff.h"
#include "app/frmabout.h"
#include "app/frmjmain.h"
#include "app/qt_ports.h"
#include "app/sys_info.h"
#include "controls/tab_strip.h"
#include "support/files.h"
#include "support/test_app.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kQuestion = QStringLiteral(
    "EXCEL.EXE "
    "が見つかりません。手動で探して下さい。？\r次回からは、自動的に起動します。\r(EXCELは、一般的には\r"
    "[…\\Program Files\\Microsoft Office\\Office\\EXCEL.EXE])\rにあるはずですが…。");

class ExcelHandoffTest : public ::testing::Test {
protected:
    // A stand-in spreadsheet program: an executable file in the test's data folder.
    QString standInProgram() {
        const QString path = writeFile(QDir(t.dataDir.path()).filePath("my calc"), "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    // Every program started, each as "program|argument|...".
    QStringList started() const {
        QStringList out;
        for (const auto& s : t.process.starts) out << (QStringList{s.program} + s.arguments).join('|');
        return out;
    }
    QString remembered() const { return t.settings.value("Setting", "ExcelPath"); }

    TestApp t;
    frmjMain& w = t.showMain();
};

}  // namespace

TEST_F(ExcelHandoffTest, FirstUseAsksAndRemembersLaterUseStartsAtOnce) {
    const QString calc = standInProgram();
    const QString data = QStringLiteral("/home/user/My Data/sales 2026.csv");
    t.fileDialog.answer(data);
    t.fileDialog.answer(calc);
    w.mnuFileExcelOpen_Click();

    ASSERT_EQ(t.fileDialog.requests.size(), 2u);
    EXPECT_EQ(t.fileDialog.requests[0].title + "|" + t.fileDialog.requests[1].title,
              QStringLiteral("Kalvoret J言語用 データ･EXCELファイルを開く|Microsoft EXCEL.exe を発見する"));
    // The data file's own filter; any program can be picked.
    EXPECT_TRUE(t.fileDialog.requests[0].filter == kExcelDataFilter &&
                t.fileDialog.requests[1].filter.contains(QStringLiteral("|*")));
    EXPECT_EQ(t.desktop.opened, QStringList{data});  // the desktop had no application for it
    EXPECT_EQ(t.msgBox.prompts(), QStringList{kQuestion});
    EXPECT_EQ(t.msgBox.calls[0].buttons, mb::YesNo);
    EXPECT_EQ(started(), QStringList{calc + "|" + data});  // one argument, blanks and all
    EXPECT_EQ(remembered(), calc);
    EXPECT_EQ(w.TabStrip1->SelectedIndex(), 2);

    // Second use: no question, the remembered program at once.
    w.TabStrip1->setSelectedIndex(1);
    t.fileDialog.answer("/tmp/b.xls");
    w.mnuFileExcelOpen_Click();
    EXPECT_EQ(t.msgBox.calls.size(), 1u);
    EXPECT_EQ(t.fileDialog.requests.size(), 3u);
    EXPECT_EQ(started().value(1), calc + "|/tmp/b.xls");
    EXPECT_EQ(w.TabStrip1->SelectedIndex(), 2);
}

TEST_F(ExcelHandoffTest, TheDesktopsDefaultApplicationComesFirstUnlessAProgramWasPicked) {
    t.desktop.answer = IDesktop::Open::Opened;
    t.fileDialog.answer("/tmp/a b.ods");
    w.mnuFileExcelOpen_Click();
    EXPECT_EQ(t.desktop.opened, QStringList{"/tmp/a b.ods"});
    EXPECT_TRUE(t.msgBox.calls.empty() && t.process.starts.empty());
    EXPECT_FALSE(t.settings.values.contains("Setting/ExcelPath"));
    EXPECT_EQ(w.TabStrip1->SelectedIndex(), 2);

    // A program picked in the Tools menu is used instead of the desktop's.
    const QString calc = standInProgram();
    t.fileDialog.answer(calc);
    w.menuItem("mnuToolPickSheetApp")->trigger();
    EXPECT_EQ(t.fileDialog.requests.back().title, QStringLiteral("表計算ソフトを選択"));
    EXPECT_EQ(remembered(), calc);
    t.fileDialog.answer("/tmp/b.csv");
    w.mnuFileExcelOpen_Click();
    EXPECT_EQ(t.desktop.opened.size(), 1);
    EXPECT_EQ(started(), QStringList{calc + "|/tmp/b.csv"});

    // Cancelling the picker offers to forget it; いいえ is the default and keeps it.
    const size_t asked = t.msgBox.calls.size();
    t.msgBox.answer(mb::No);
    w.menuItem("mnuToolPickSheetApp")->trigger();
    ASSERT_EQ(t.msgBox.calls.size(), asked + 1);
    EXPECT_EQ(t.msgBox.calls.back().buttons, mb::YesNo | mb::Question | mb::DefaultButton2);
    EXPECT_TRUE(t.msgBox.lastPrompt().contains(calc));
    EXPECT_EQ(remembered(), calc);
    w.menuItem("mnuToolPickSheetApp")->trigger();  // unscripted: はい forgets it
    t.fileDialog.answer("/tmp/c.csv");
    w.mnuFileExcelOpen_Click();
    EXPECT_EQ(t.desktop.opened.back(), QStringLiteral("/tmp/c.csv"));
    EXPECT_EQ(t.process.starts.size(), 1u);
    // Nothing remembered and the picker cancelled: no question.
    w.menuItem("mnuToolPickSheetApp")->trigger();
    EXPECT_EQ(t.msgBox.calls.size(), asked + 2);
}

TEST_F(ExcelHandoffTest, AStoredProgramThatHasGoneIsAskedForAgain) {
    t.settings.SaveSetting("Setting", "ExcelPath", "/nowhere/soffice");
    const QString calc = standInProgram();
    t.fileDialog.answer("/tmp/a.csv");
    t.fileDialog.answer(calc);
    w.mnuFileExcelOpen_Click();
    EXPECT_EQ(t.msgBox.prompts(),
              QStringList({"記憶している表計算ソフトが見つかりません。\r/nowhere/soffice\r"
                           "もう一度、表計算ソフトを指定して下さい。",
                           kQuestion}));
    EXPECT_EQ(started(), QStringList{calc + "|/tmp/a.csv"});
    EXPECT_EQ(remembered(), calc);
}

// The desktop fails to open the file here, which asks for a program as having none does.
TEST(ExcelHandoffRefused, RefusalsAndFailuresStoreNothing) {
    const std::tuple<QStringList, int, bool, const char*> cases[] = {
        // files chosen, reply, program runs, message
        {{}, mb::Yes, true, nullptr},  // the data file dialog cancelled: nothing at all
        {{"/tmp/a.csv"}, mb::No, true, "EXCEL.EXE が見つかりません"},
        {{"/tmp/a.csv", ""}, mb::Yes, true, "表計算ソフトが選ばれなかった"},  // the program picker cancelled
        {{"/tmp/a.csv", "/usr/bin/false-calc"}, mb::Yes, false, "表計算ソフトを起動できませんでした。"}};
    for (const auto& [files, reply, runs, message] : cases) {
        TestApp t;
        frmjMain& w = t.showMain();
        for (const QString& f : files) t.fileDialog.answer(f);
        t.msgBox.answer(reply);
        t.process.succeed = runs;
        t.desktop.answer = IDesktop::Open::Failed;
        w.mnuFileExcelOpen_Click();
        EXPECT_EQ(t.msgBox.calls.empty(), !message);
        EXPECT_TRUE(!message || t.msgBox.lastPrompt().contains(QString::fromUtf8(message)));
        EXPECT_EQ(t.process.starts.size(), runs ? 0u : 1u);  // only the picked program that fails was tried
        EXPECT_FALSE(t.settings.values.contains("Setting/ExcelPath"));
        EXPECT_EQ(w.TabStrip1->SelectedIndex(), 1);
    }
}

// Qt's own file dialog shows every label once, as written; "*.*" becomes "*", which also
// takes a file without a dot.
TEST(OpenDialog, LabelsShowTheirPatternsOnceAndAllFilesTakesNamesWithoutADot) {
    EXPECT_EQ(qtFilters(kExcelDataFilter),
              (QStringList{"EXCELﾌｧｲﾙ (*.xls) (*.xls)", "CVSﾌｧｲﾙ (*.csv) (*.csv)",
                           "表計算ﾌｧｲﾙ (*.xlsx;*.ods) (*.xlsx *.ods)", "すべてのﾌｧｲﾙ (*.*) (*)"}));
    QFileDialog dlg;
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    setUpOpenDialog(dlg, {kExcelDataTitle, kExcelDataFilter, 2});
    auto* combo = dlg.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_TRUE(combo);
    QStringList labels;
    for (int i = 0; i < combo->count(); ++i) labels << combo->itemText(i);
    EXPECT_EQ(labels, (QStringList{"EXCELﾌｧｲﾙ (*.xls)", "CVSﾌｧｲﾙ (*.csv)", "表計算ﾌｧｲﾙ (*.xlsx;*.ods)",
                                   "すべてのﾌｧｲﾙ (*.*)"}));
    EXPECT_EQ(combo->currentIndex(), 1);
}

// Enter answers a question with its default button: はい, or いいえ when asked for.
TEST(QuestionBox, TheSecondButtonCanBeTheDefault) {
    for (const auto& [flags, button, answer] :
         {std::tuple{0, "はい(&Y)", mb::Yes},
          {mb::DefaultButton2, "いいえ(&N)", mb::No},
          {mb::DefaultButton2 | mb::Exclamation, "いいえ(&N)", mb::No}}) {
        QString shownDefault;
        runOnNextModal([&shownDefault](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_TRUE(box);
            shownDefault = box->defaultButton()->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QtMessageBox msgBox;
        EXPECT_EQ(msgBox.MsgBox(QStringLiteral("よろしいですか？"), mb::YesNo | flags, {}), answer) << flags;
        EXPECT_EQ(shownDefault, QString::fromUtf8(button));
    }
}

TEST(AboutWindow, LabelsBlinkingAndSystemInformation) {
    TestApp t;
    t.showMain();
    frmAbout& about = t.app().form<frmAbout>();
    about.Show();
    EXPECT_EQ(
        (QStringList{about.windowTitle(), about.lblVersion->text(), about.lblTitle->text(),
                     about.lblDescription->text()}),
        (QStringList{"ﾊﾞｰｼﾞｮﾝ情報 Kalvoret(jDLLserver for j601c)", "V1.1.51",
                     "Kalvoret [jDLLserver for j601c]\n\nＪDLL および Ｊ言語のための外部入出力プロセッサ",
                     "計算は Jsoftware Inc. の J エンジンによります。\n\njDLLserver Jsoftware Inc.\n\n"
                     "jEXEserver Jsoftware Inc."}));
    EXPECT_TRUE(about.Timer1->isActive());
    const bool firstShown = !about.picIcon1->isHidden();
    about.Timer1_Timer();  // the two icons take turns
    EXPECT_EQ(std::make_pair(about.picIcon1->isHidden(), about.PicIcon2->isHidden()),
              std::make_pair(firstShown, !firstShown));

    // No registry values, then a tools folder without MSINFO32.EXE: the button says so.
    about.cmdSysInfo->click();
    t.registry.set(kMsInfoLocationKey, "MSINFO", {1, QByteArray("/no/such/folder")});
    about.cmdSysInfo_Click();
    EXPECT_EQ(t.msgBox.calls.size(), 2u);
    EXPECT_EQ(t.msgBox.lastPrompt(), QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
    // The tool's path: started.
    t.registry.set(kMsInfoKey, "PATH", {1, QByteArray("/usr/bin/hardinfo\0junk", 23)});
    about.cmdSysInfo_Click();
    EXPECT_EQ(t.process.starts.size(), 1u);
    EXPECT_EQ(t.process.starts.front().program, QStringLiteral("/usr/bin/hardinfo"));

    about.cmdOK_Click();
    EXPECT_FALSE(about.isLoaded() || about.Timer1->isActive());
}

TEST(AboutWindow, RegistryValuesAsText) {
    ScriptedRegistry reg;
    QString v = QStringLiteral("old");
    EXPECT_FALSE(GetKeyValue(reg, RegistryRoot::LocalMachine, "K", "V", v));
    EXPECT_TRUE(v.isEmpty());
    // Text up to its NUL; a 32-bit little-endian number, 0x00000102 is 258 (digits are not
    // run together); any other type leaves the text as it was.
    const std::tuple<int, QByteArray, const char*> cases[] = {
        {1, QByteArray("C:\\Tools\0\0", 10), "C:\\Tools"},
        {4, QByteArray("\x02\x01\x00\x00", 4), "258"},
        {4, QByteArray(4, '\0'), "0"},
        {3, QByteArray("\x01", 1), "kept"}};
    for (const auto& [type, data, text] : cases) {
        v = QStringLiteral("kept");
        reg.set("K", "S", {type, data});
        EXPECT_TRUE(GetKeyValue(reg, RegistryRoot::LocalMachine, "K", "S", v));
        EXPECT_EQ(v, QString::fromLatin1(text)) << type;
    }
}
