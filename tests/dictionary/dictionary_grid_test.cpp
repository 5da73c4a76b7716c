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
QVariant font(FlexGrid& g, int row, int col) { return g.grid().data(g.grid().index(row, col), Qt::FontRole); }

const DicRow kRow = {"a", "b", "c", "d", "e", "f", "g"};

// Each search heads the first word column with its own language, shades the column it
// searches, and draws its pinyin column in a font with designed tone-marked vowels.
TEST(ResultGrid, EachSearchShowsItsLanguageItsShadedKeyAndPinyinWithEveryToneMark) {
    const QString vowels = QStringLiteral("āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜü");
    const std::tuple<DicSearchKind, const char*, int, int> cases[] = {
        // language, key column, pinyin column
        {DicSearchKind::Chinese, "中国語", 2, 2},
        {DicSearchKind::Japanese, "日本語", 2, 4},
        {DicSearchKind::English, "英語", 1, 5}};
    for (const auto& [kind, language, key, pinyin] : cases) {
        SCOPED_TRACE(language);
        FlexGrid g;
        setUpResultGrid(g);
        fillResultGrid(g, kind, {kRow});
        for (int c = 1; c < g.Cols(); ++c) {
            EXPECT_EQ(font(g, 2, c).isValid(), c == pinyin) << c;
            EXPECT_FALSE(font(g, 1, c).isValid()) << "header " << c;
        }
        // The font the cell is drawn with, asked for each glyph.
        const QRawFont raw = QRawFont::fromFont(font(g, 2, pinyin).value<QFont>());
        EXPECT_EQ(raw.familyName(), QStringLiteral("DejaVu Sans"));
        const QList<quint32> glyphs = raw.glyphIndexesForString(vowels);
        ASSERT_EQ(glyphs.size(), vowels.size());
        for (qsizetype i = 0; i < vowels.size(); ++i)
            EXPECT_TRUE(raw.supportsCharacter(vowels[i]) && glyphs[i] != 0)
                << QString(vowels[i]).toStdString();

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
    fillResultGrid(g, DicSearchKind::English, {kRow});
    EXPECT_EQ(g.ColWidth(1), 1500 + 150 * 15);
    EXPECT_EQ(g.ColWidth(2), 2500);
}

}  // namespace
