#include "dictionary/dictionary_grid.h"

#include <gtest/gtest.h>

#include "controls/flex_grid.h"

namespace {

QStringList rowTexts(FlexGrid& g, int row) {
    QStringList out;
    for (int c = 0; c < g.Cols(); ++c) out << g.TextMatrix(row, c);
    return out;
}

std::optional<std::uint32_t> shade(FlexGrid& g, int row, int col) { return g.grid().cellBackColor(row, col); }

TEST(ResultGrid, ResetGivesEachSearchItsHeadersWidthsAndShadedKeyColumn) {
    struct Case {
        DicSearchKind kind;
        QStringList top;
        QStringList bottom;
        int key;
    };
    const QStringList bottom = {"検索No.", "語", "発音", "語", "発音", "語", "備考１", "備考２"};
    const Case cases[] = {
        {DicSearchKind::Chinese,
         {"", "中国語", "中国語", "日本語", "日本語", "英語", "備考", "備考"},
         bottom,
         2},
        {DicSearchKind::Japanese,
         {"", "日本語", "日本語", "中国語", "中国語", "英語", "備考", "備考"},
         bottom,
         2},
        {DicSearchKind::English,
         {"", "英語", "日本語", "日本語", "中国語", "中国語", "備考", "備考"},
         {"検索No.", "語", "語", "発音", "語", "発音", "備考１", "備考２"},
         1},
    };
    const int widths[] = {1500, 2500, 1500, 2500, 1500, 3000, 3000};
    for (const Case& c : cases) {
        FlexGrid g;
        setUpResultGrid(g);
        const int numberWidth = g.ColWidth(0);
        fillResultGrid(g, c.kind, {DicRow{"a", "b", "c", "d", "e", "f", "g"}});
        resetResultGrid(g, c.kind);
        EXPECT_EQ(g.Rows(), 2);
        EXPECT_EQ(g.Cols(), 8);
        EXPECT_EQ(rowTexts(g, 0), c.top);
        EXPECT_EQ(rowTexts(g, 1), c.bottom);
        EXPECT_TRUE(g.MergeRow(0));
        EXPECT_EQ(g.ColWidth(0), numberWidth);
        for (int col = 1; col < 8; ++col) EXPECT_EQ(g.ColWidth(col), widths[col - 1]);
        for (int r = 0; r < 2; ++r)
            for (int col = 0; col < 8; ++col) EXPECT_EQ(g.grid().cellAlignment(r, col), 4);
        EXPECT_EQ(keyColumn(c.kind), c.key);
        EXPECT_EQ(shade(g, 1, c.key), kKeyColumnColour);
        EXPECT_EQ(shade(g, 1, 3), std::nullopt);
    }
}

TEST(ResultGrid, FillNumbersFromRowTwoShadesKeysAndLeavesEmptyFieldsEmpty) {
    FlexGrid g;
    setUpResultGrid(g);
    const std::vector<DicRow> rows = {
        {"statistics", "統計学", "とうけいがく", "統計學", "tǒng jì xué", "", "記述統計"},
        {"", "平均", "へいきん", "平均數", "píng jūn shù", "", ""},
    };
    fillResultGrid(g, DicSearchKind::English, rows);
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(rowTexts(g, 2), QStringList({"1", "statistics", "統計学", "とうけいがく", "統計學",
                                           "tǒng jì xué", "", "記述統計"}));
    EXPECT_EQ(rowTexts(g, 3), QStringList({"2", "", "平均", "へいきん", "平均數", "píng jūn shù", "", ""}));
    EXPECT_EQ(shade(g, 2, 1), kKeyColumnColour);
    EXPECT_EQ(shade(g, 3, 1), kKeyColumnColour);
    EXPECT_EQ(shade(g, 3, 2), std::nullopt);

    // A later search with fewer hits leaves nothing of the earlier one behind.
    fillResultGrid(g, DicSearchKind::Chinese, {rows[0]});
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(shade(g, 2, 1), std::nullopt);
    EXPECT_EQ(shade(g, 2, 2), kKeyColumnColour);
    fillResultGrid(g, DicSearchKind::Chinese, {});
    EXPECT_EQ(g.Rows(), 2);
}

}  // namespace
