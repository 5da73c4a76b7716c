#include "dictionary/dictionary_grid.h"

#include <gtest/gtest.h>

#include <QRawFont>
#include <QTableView>
#include <QTest>

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

TEST(ResultGrid, AColumnTheUserWidenedKeepsItsWidthThroughLaterSearches) {
    FlexGrid g;
    setUpResultGrid(g);
    resetResultGrid(g, DicSearchKind::English);
    g.resize(600, 200);
    g.show();
    QWidget* header = g.findChild<QTableView*>()->viewport();
    const int border = g.columnViewportPosition(1) + g.columnWidth(1), y = g.rowHeight(1) / 2;
    QTest::mousePress(header, Qt::LeftButton, {}, QPoint(border, y));
    QTest::mouseMove(header, QPoint(border + 150, y));
    QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(border + 150, y));
    fillResultGrid(g, DicSearchKind::English, {DicRow{"a", "b", "c", "d", "e", "f", "g"}});
    EXPECT_EQ(g.ColWidth(1), 1500 + 150 * 15);
    EXPECT_EQ(g.ColWidth(2), 2500);
}

TEST(ResultGrid, PinyinCellsUseAFontThatHasEveryToneMarkedVowel) {
    const QString vowels = QStringLiteral("āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜü");
    const std::pair<DicSearchKind, int> cases[] = {
        {DicSearchKind::Chinese, 2}, {DicSearchKind::Japanese, 4}, {DicSearchKind::English, 5}};
    for (const auto& [kind, column] : cases) {
        FlexGrid g;
        setUpResultGrid(g);
        fillResultGrid(g, kind, {DicRow{"a", "b", "c", "d", "e", "f", "g"}});
        EXPECT_EQ(pinyinColumn(kind), column);
        for (int c = 1; c < g.Cols(); ++c) {
            const QVariant font = g.grid().data(g.grid().index(2, c), Qt::FontRole);
            EXPECT_EQ(font.isValid(), c == column) << c;
            EXPECT_FALSE(g.grid().data(g.grid().index(1, c), Qt::FontRole).isValid()) << "header " << c;
        }
        // The font the cell is drawn with, asked for each glyph.
        const QRawFont raw =
            QRawFont::fromFont(g.grid().data(g.grid().index(2, column), Qt::FontRole).value<QFont>());
        ASSERT_TRUE(raw.isValid());
        EXPECT_EQ(raw.familyName(), QStringLiteral("DejaVu Sans"));
        const QList<quint32> glyphs = raw.glyphIndexesForString(vowels);
        ASSERT_EQ(glyphs.size(), vowels.size());
        for (qsizetype i = 0; i < vowels.size(); ++i) {
            EXPECT_TRUE(raw.supportsCharacter(vowels[i])) << QString(vowels[i]).toStdString();
            EXPECT_NE(glyphs[i], 0u) << QString(vowels[i]).toStdString();
        }
    }
}

}  // namespace
