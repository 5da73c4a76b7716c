#include "app/frmabout.h"
#include "app/frmjmain.h"
#include "app/sys_info.h"
#include "controls/tab_strip.h"
#include "support/files.h"
#include "support/test_app.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kQuestion = QStringLiteral(
    "EXCEL.EXE "
    "が見つかりません。手動で探して下さい。？\r次回からは、自動的に起動します。\r(EXCELは、一般的には\r"
    "[…\\Program Files\\Microsoft Office\\Office\\EXCEL.EXE])\rにあるはずですが…。");

// A stand-in spreadsheet program: an executable file in the test's data folder.
QString standInProgram(TestApp& t) {
    const QString path = writeFile(QDir(t.dataDir.path()).filePath("my calc"), "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

class ExcelHandoffTest : public ::testing::Test {
protected:
    TestApp t;
    frmjMain& w = t.showMain();
};

}  // namespace

TEST_F(ExcelHandoffTest, FirstUseAsksAndRemembersLaterUseStartsAtOnce) {
    const QString calc = standInProgram(t);
    const QString data = QStringLiteral("/home/user/My Data/sales 2026.csv");
    t.fileDialog.answer(data);
    t.fileDialog.answer(calc);
    w.mnuFileExcelOpen_Click();

    ASSERT_EQ(t.fileDialog.requests.size(), 2u);
    EXPECT_EQ(t.fileDialog.requests[0].title, QStringLiteral("Kalvoret J言語用 データ･EXCELファイルを開く"));
    EXPECT_TRUE(t.fileDialog.requests[0].filter.startsWith(
        QStringLiteral("EXCELﾌｧｲﾙ (*.xls)|*.xls|CVSﾌｧｲﾙ (*.csv)|*.csv")));
    EXPECT_EQ(t.fileDialog.requests[1].title, QStringLiteral("Microsoft EXCEL.exe を発見する"));
    EXPECT_TRUE(t.fileDialog.requests[1].filter.contains(QStringLiteral("|*")));  // any program can be picked
    ASSERT_EQ(t.msgBox.calls.size(), 1u);
    EXPECT_EQ(t.msgBox.calls[0].prompt, kQuestion);
    EXPECT_EQ(t.msgBox.calls[0].buttons, mb::YesNo);
    // The data file is one argument even with blanks in its path.
    ASSERT_EQ(t.process.starts.size(), 1u);
    EXPECT_EQ(t.process.starts[0].program, calc);
    EXPECT_EQ(t.process.starts[0].arguments, QStringList{data});
    EXPECT_EQ(t.settings.value("Setting", "ExcelPath"), calc);
    EXPECT_EQ(w.TabStrip1->SelectedIndex(), 2);

    // Second use: no question, the remembered program at once.
    w.TabStrip1->setSelectedIndex(1);
    t.fileDialog.answer("/tmp/b.xls");
    w.mnuFileExcelOpen_Click();
    EXPECT_EQ(t.msgBox.calls.size(), 1u);
    EXPECT_EQ(t.fileDialog.requests.size(), 3u);
    ASSERT_EQ(t.process.starts.size(), 2u);
    EXPECT_EQ(t.process.starts[1].program, calc);
    EXPECT_EQ(w.TabStrip1->SelectedIndex(), 2);
}

TEST(ExcelHandoffRefused, RefusalsAndFailuresStoreNothing) {
    const std::tuple<QStringList, int, bool, const char*> cases[] = {
        // files chosen, reply, program runs, message
        {{}, mb::Yes, true, nullptr},  // the data file dialog cancelled: nothing at all
        {{"/tmp/a.csv"}, mb::No, true, ""},
        {{"/tmp/a.csv", ""}, mb::Yes, true, "表計算ソフトが選ばれなかった"},  // the program picker cancelled
        {{"/tmp/a.csv", "/usr/bin/false-calc"}, mb::Yes, false, "表計算ソフトを起動できませんでした。"}};
    for (const auto& [files, reply, runs, message] : cases) {
        TestApp t;
        frmjMain& w = t.showMain();
        for (const QString& f : files) t.fileDialog.answer(f);
        t.msgBox.answer(reply);
        t.process.succeed = runs;
        w.mnuFileExcelOpen_Click();
        EXPECT_EQ(t.msgBox.calls.empty(), !message);
        EXPECT_TRUE(!message || t.msgBox.lastPrompt().contains(QString::fromUtf8(message)));
        EXPECT_EQ(t.process.starts.size(), runs ? 0u : 1u);  // only the picked program that fails was tried
        EXPECT_FALSE(t.settings.values.contains("Setting/ExcelPath"));
        EXPECT_EQ(w.TabStrip1->SelectedIndex(), 1);
    }
}

TEST_F(ExcelHandoffTest, AStoredProgramThatHasGoneIsAskedForAgain) {
    t.settings.SaveSetting("Setting", "ExcelPath", "/nowhere/soffice");
    const QString calc = standInProgram(t);
    t.fileDialog.answer("/tmp/a.csv");
    t.fileDialog.answer(calc);
    w.mnuFileExcelOpen_Click();
    ASSERT_EQ(t.msgBox.calls.size(), 2u);
    EXPECT_TRUE(t.msgBox.calls[0].prompt.contains(QStringLiteral("/nowhere/soffice")));
    EXPECT_EQ(t.msgBox.calls[1].prompt, kQuestion);
    ASSERT_EQ(t.process.starts.size(), 1u);
    EXPECT_EQ(t.process.starts[0].program, calc);
    EXPECT_EQ(t.settings.value("Setting", "ExcelPath"), calc);
}

TEST(AboutWindow, LabelsBlinkingAndSystemInformation) {
    TestApp t;
    t.showMain();
    frmAbout& about = t.app().form<frmAbout>();
    about.Show();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 Kalvoret(jDLLserver for j601c)"));
    EXPECT_EQ(about.lblVersion->text(), QStringLiteral("V1.1.51"));
    EXPECT_TRUE(about.lblTitle->text().startsWith(QStringLiteral("Kalvoret [jDLLserver for j601c]\n\n")));
    EXPECT_TRUE(
        about.lblTitle->text().endsWith(QStringLiteral("ＪDLL および Ｊ言語のための外部入出力プロセッサ")));
    EXPECT_TRUE(about.lblDescription->text().contains(
        QStringLiteral("\n\njDLLserver Jsoftware Inc.\n\njEXEserver Jsoftware Inc.")));
    EXPECT_TRUE(about.Timer1->isActive());
    const bool firstShown = !about.picIcon1->isHidden();
    about.Timer1_Timer();  // the two icons take turns
    EXPECT_EQ(std::make_pair(about.picIcon1->isHidden(), about.PicIcon2->isHidden()),
              std::make_pair(firstShown, !firstShown));

    // No registry values: the button says so.
    about.cmdSysInfo->click();
    EXPECT_EQ(t.msgBox.lastPrompt(), QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
    EXPECT_TRUE(t.process.starts.empty());
    // A tools folder without MSINFO32.EXE: the same message.
    t.registry.set(kMsInfoLocationKey, "MSINFO", {1, QByteArray("/no/such/folder")});
    about.cmdSysInfo_Click();
    EXPECT_EQ(t.msgBox.calls.size(), 2u);
    EXPECT_TRUE(t.process.starts.empty());
    // The tool's path: started.
    t.registry.set(kMsInfoKey, "PATH", {1, QByteArray("/usr/bin/hardinfo\0junk", 23)});
    about.cmdSysInfo_Click();
    ASSERT_EQ(t.process.starts.size(), 1u);
    EXPECT_EQ(t.process.starts[0].program, QStringLiteral("/usr/bin/hardinfo"));

    about.cmdOK_Click();
    EXPECT_FALSE(about.isLoaded());
    EXPECT_FALSE(about.Timer1->isActive());
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
