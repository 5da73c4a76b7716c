#include <gtest/gtest.h>

#include "app/frmjmain.h"
#include "controls/flex_grid.h"
#include "controls/sheet_widget.h"
#include "controls/tab_strip.h"
#include "controls/text_box.h"
#include "support/test_app.h"

namespace {

// Answers the runner's sentence and read with the codes a test sets; everything else 0.
class CodeEngine final : public IJEngine {
public:
    int Do(const QString& s) override {
        sentences << s;
        return s.startsWith("J_Get_base_=: ") ? doCode : 0;
    }
    int GetB(const QString&, HostValue& v) override {
        v = HostValue::longValue(7);
        return getCode;
    }
    int Set(const QString&, const HostValue&) override { return 0; }
    QString ErrorText(int) override { return {}; }
    void Clear() override {}

    int doCode = 0, getCode = 0;
    QStringList sentences;
};

class CellRunnerTest : public ::testing::Test {
protected:
    frmjMain& start() {
        frmjMain& m = t.showMain();
        m.TabStrip2->setSelectedIndex(1);
        return m;
    }
    CodeEngine* startScripted() {
        auto holder = std::make_shared<std::unique_ptr<CodeEngine>>(std::make_unique<CodeEngine>());
        CodeEngine* engine = holder->get();
        t.engineFactory = [holder](QString*) -> std::unique_ptr<IJEngine> { return std::move(*holder); };
        start();
        return engine;
    }
    // Types the text into a cell and clicks it.
    void run(int row, int col, const QString& text) {
        SheetWidget& s = *t.main().Spreadsheet1;
        s.setValue(row, col, text);
        s.select(SheetRange::cell(row, col));
        emit s.cellEvent();
    }
    QString cell(int row, int col) { return t.main().Spreadsheet1->text(row, col); }

    TestApp t;
};

TEST_F(CellRunnerTest, ResultsGoBelowAndDefinitionsAreReportedToTheRight) {
    frmjMain& m = start();
    m.Spreadsheet1->setValue(2, 3, QStringLiteral("J Command Error 2"));
    run(2, 2, "J/1+2");
    EXPECT_EQ(cell(3, 2) + "|" + cell(2, 3), "3|");
    EXPECT_EQ(m.Spreadsheet1->currentCell(), (SheetCell{3, 2}));
    EXPECT_EQ(m.TabStrip2->SelectedIndex(), 2);

    run(5, 1, "j/i.2 3");
    EXPECT_EQ(cell(6, 1), " 0 1 2\r\n 3 4 5\r\n");

    m.Spreadsheet1->setValue(9, 1, QStringLiteral("keep"));
    run(8, 1, "J/mean=: +/ % #");
    EXPECT_EQ(cell(8, 2) + "|" + cell(9, 1), "J Definition OK!|keep");
    EXPECT_EQ(m.Spreadsheet1->currentCell(), (SheetCell{8, 2}));
    run(11, 1, "J/mean 2 4 6");
    EXPECT_EQ(cell(12, 1), "4");
    // Nouns assigned on the way are listed, J_Get never.
    run(14, 1, "J/+/ side1 =: 1 2 3");
    EXPECT_EQ(m.MSFlexGrid2->TextMatrix(1, 0) + QString::number(m.MSFlexGrid2->Rows()), "side12");
}

TEST_F(CellRunnerTest, OnlyJSlashTextsRunAndEveryEngineCodeHasItsTextToTheRight) {
    CodeEngine* j = startScripted();
    int row = 1;
    for (const char* text : {"JJ/1", "/1", " J/1", "J1+2", "j /1", "Ｊ/1"}) {
        run(row, 1, text);
        EXPECT_EQ(cell(row, 2) + cell(row + 1, 1), "") << text;
        row += 2;
    }
    EXPECT_FALSE(j->sentences.join(QLatin1Char(10)).contains("J_Get_base_=: "));
    EXPECT_EQ(t.main().TabStrip2->SelectedIndex(), 1);

    const std::tuple<int, int, const char*> cases[] = {
        {16, 0, "J Command Error 1"}, {3, 0, "J Command Error 2"},  {21, 0, "J Command Error 9"},
        {9, 0, "J Command Error 9"},  {19, 0, "J Command Error 9"}, {0, 16, "J Command Error 11"},
        {0, 3, "J Definition OK!"},   {0, 4, "J Command Error 99"}};
    for (const auto& [doCode, getCode, message] : cases) {
        j->doCode = doCode;
        j->getCode = getCode;
        run(row, 1, "j/x");  // nothing goes below
        EXPECT_EQ(cell(row, 2) + "|" + cell(row + 1, 1), QString(message) + "|") << doCode << "/" << getCode;
        row += 2;
    }
    EXPECT_TRUE(j->sentences.contains("J_Get_base_=: x"));
}

TEST_F(CellRunnerTest, AtTheSheetsEdgeWhatCannotBeWrittenIsSaid) {
    frmjMain& m = start();
    run(1, sheet::kCols, "J/1+2");  // last column: no old message to clear, nothing to say
    EXPECT_EQ(cell(2, sheet::kCols), "3");
    run(4, sheet::kCols, "J/'a'+1");
    m.Spreadsheet1->setValue(sheet::kRows, 2, QStringLiteral("old"));
    run(sheet::kRows, 1, "J/1+2");
    EXPECT_EQ(cell(sheet::kRows, 2), "");
    EXPECT_EQ(t.msgBox.prompts(),
              QStringList({"セル IV4 は最終列にあるため、右のセルに「J Command Error 2」を書けません。",
                           "セル A65536 は最終行にあるため、実行結果を下のセルに書けません。"}));
}

TEST_F(CellRunnerTest, WithoutAnEngineTheUserIsToldAndNothingWritten) {
    t.engineFactory = [](QString*) -> std::unique_ptr<IJEngine> { return nullptr; };
    start();
    run(1, 1, "J/1+2");
    EXPECT_EQ(t.msgBox.prompts().mid(1),
              QStringList{"J エンジンが使えないため、セル A1 の J コマンドを実行できません。"});
    EXPECT_EQ(cell(2, 1), "");
}

}  // namespace
