#include "dictionary/dictionary_grid.h"

#include <gtest/gtest.h>

#include "controls/flex_grid.h"

namespace {

QString rowText(FlexGrid& g, int row) {
    QStringList out;
    for (int c = 0; c < g.Cols(); ++c) out << g.TextMatrix(row, c);
    return out.join('|');
}

std::optional<std::uint32_t> shade(FlexGrid& g, int row, int col) { return g.grid().cellBackColor(row, col); }

// Each search heads the first word column with its own language and shades the column it searches.
TEST(ResultGrid, ResetLeavesTheHeadersOfTheSearchedLanguageAndItsShadedKeyColumn) {
    const std::tuple<DicSearchKind, const char*, int> cases[] = {{DicSearchKind::Chinese, "中国語", 2},
                                                                 {DicSearchKind::Japanese, "日本語", 2},
                                                                 {DicSearchKind::English, "英語", 1}};
    for (const auto& [kind, language, key] : cases) {
        FlexGrid g;
        setUpResultGrid(g);
        fillResultGrid(g, kind, {DicRow{"a", "b", "c", "d", "e", "f", "g"}});
        resetResultGrid(g, kind);
        EXPECT_EQ(g.Rows(), 2);
        EXPECT_EQ(g.TextMatrix(0, 1), QString::fromUtf8(language));
        EXPECT_EQ(g.columnSpan(0, 6), 2);  // the two note columns share one header
        EXPECT_EQ(shade(g, 1, key), kKeyColumnColour);
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
    EXPECT_EQ(rowText(g, 2), "1|statistics|統計学|とうけいがく|統計學|tǒng jì xué||記述統計");
    EXPECT_EQ(rowText(g, 3), "2||平均|へいきん|平均數|píng jūn shù||");
    EXPECT_EQ(shade(g, 3, 1), kKeyColumnColour);
    EXPECT_EQ(shade(g, 3, 2), std::nullopt);

    // A later search with fewer hits leaves nothing of the earlier one behind.
    fillResultGrid(g, DicSearchKind::Chinese, {rows[0]});
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(shade(g, 2, 1), std::nullopt);
    EXPECT_EQ(shade(g, 2, 2), kKeyColumnColour);
}

}  // namespace
