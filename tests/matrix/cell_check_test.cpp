#include "controls/sheet_model.h"
#include "matrix/cell_check.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace {

const QStringList kHeaderA = {
    QStringLiteral("**エラーコードの説明 (データ番号､変数番号)**"),
    QStringLiteral("**E-01 = セルが空白です**"),
    QStringLiteral("**E-02 = 小数点が2個以上あります**"),
    QStringLiteral("**E-03 = 負の記号の位置が不正です**"),
    QStringLiteral("**E-04 = 数値と認識できません**"),
    QStringLiteral("******** データーエラー一覧 ****************"),
};
const QStringList kHeaderB = {
    QStringLiteral("**エラーコードの説明 (データ番号､変数番号) **"),
    QStringLiteral("**E-01 = セルが空白です **"),
    QStringLiteral("**E-02 = 小数点が2個以上あります **"),
    QStringLiteral("**E-03 = 負の記号の位置が不正です **"),
    QStringLiteral("**E-04 = 数値と認識できません **"),
    QStringLiteral("******** データーエラー一覧 ****************"),
};

struct CellCase {
    const char* text;  // UTF-8 cell text
    const char* code;  // "" when the cell is sound
    double value;      // expected value when sound
    const char* shown; // the trimmed text in the error line
};

class CellTextCases : public ::testing::TestWithParam<CellCase> {};

// One cell at data number 2, variable number 3: either a value, or exactly one
// header plus one error line quoting the trimmed text.
TEST_P(CellTextCases, RefusalOrValue) {
    const CellCase& c = GetParam();
    QString text = QString::fromUtf8(c.text);
    DataErrorList list;
    std::int16_t started = 0;
    const std::optional<double> v = CheckAndConvertCell(2, 3, text, list, started);
    if (*c.code == '\0') {
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(*v, c.value) << c.text;
        EXPECT_EQ(started, 0);
        EXPECT_TRUE(list.lines().isEmpty());
    } else {
        EXPECT_FALSE(v.has_value()) << c.text;
        EXPECT_EQ(started, 1);
        const QStringList lines = list.lines();
        ASSERT_EQ(lines.size(), 7) << c.text;
        EXPECT_EQ(lines.mid(0, 6), QString::fromUtf8(c.code) == QStringLiteral("E-02") ? kHeaderB : kHeaderA);
        EXPECT_EQ(lines[6], QString::fromUtf8(c.code) + QStringLiteral("(2,3) = \"") + QString::fromUtf8(c.shown) +
                                QStringLiteral("\""));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Check, CellTextCases,
    ::testing::Values(
        // Blanks only: E-01 with nothing between the quotes.
        CellCase{"", "E-01", 0, ""}, CellCase{"   ", "E-01", 0, ""}, CellCase{"\u3000 \u3000", "E-01", 0, ""},
        // Sound numbers, blanks of either width trimmed.
        CellCase{"  12.5  ", "", 12.5, ""}, CellCase{"\u300012.5\u3000", "", 12.5, ""}, CellCase{".5", "", 0.5, ""},
        CellCase{"5.", "", 5, ""}, CellCase{"-5", "", -5, ""}, CellCase{"1E-5", "", 1e-5, ""},
        CellCase{"-1E-5", "", -1e-5, ""}, CellCase{"1e-5", "", 1e-5, ""}, CellCase{"007", "", 7, ""},
        CellCase{"-.25", "", -0.25, ""}, CellCase{"1E-400", "", 0, ""},
        CellCase{"1.7976931348623157E308", "", std::numeric_limits<double>::max(), ""},
        // The character check.
        CellCase{"1.2.3", "E-02", 0, "1.2.3"}, CellCase{"5-", "E-03", 0, "5-"}, CellCase{"--5", "E-03", 0, "--5"},
        CellCase{"1-2", "E-03", 0, "1-2"}, CellCase{"+5", "E-04", 0, "+5"}, CellCase{"1,000", "E-04", 0, "1,000"},
        CellCase{"１", "E-04", 0, "１"}, CellCase{"\t5", "E-04", 0, "\t5"}, CellCase{"1.5E+20", "E-04", 0, "1.5E+20"},
        CellCase{"abc", "E-04", 0, "abc"}, CellCase{" 12 5 ", "E-04", 0, "12 5"}, CellCase{"inf", "E-04", 0, "inf"},
        // Texts that pass the check but are no number, refused by the conversion.
        CellCase{"-", "E-04", 0, "-"}, CellCase{".", "E-04", 0, "."}, CellCase{"E", "E-04", 0, "E"},
        CellCase{"1E5E3", "E-04", 0, "1E5E3"}, CellCase{"1E5-3", "E-04", 0, "1E5-3"}, CellCase{"1E", "E-04", 0, "1E"},
        CellCase{"-E5", "E-04", 0, "-E5"}, CellCase{"1E400", "E-04", 0, "1E400"},
        CellCase{"-1.8E308", "E-04", 0, "-1.8E308"}));

TEST(CellCheck, TextIsTrimmedInPlaceAndOnlyTheFirstRefusalCounts) {
    QString text = QStringLiteral(" \u30001.2.3-x ");
    DataErrorList list;
    std::int16_t started = 0;
    CheckCellData(1, 1, text, list, started);
    EXPECT_EQ(text, QStringLiteral("1.2.3-x"));
    EXPECT_EQ(list.refusals(), 1);
    EXPECT_TRUE(list.lines().back().startsWith(QStringLiteral("E-02(1,1)")));
}

TEST(CellCheck, ConversionIgnoresTheProcessLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    int tried = 0;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
        if (!std::setlocale(LC_NUMERIC, name)) continue;
        ++tried;
        EXPECT_EQ(cellTextToDouble(u"1.5"), 1.5) << name;
        EXPECT_EQ(cellTextToDouble(u"-2.5E-3"), -2.5e-3) << name;
        EXPECT_EQ(cellTextToDouble(u"1,5"), std::nullopt) << name;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (tried == 0) GTEST_SKIP() << "no locale with a decimal comma is installed";
}

// The header is written once per run and chosen by the run's first refusal.
TEST(DataErrorList, HeaderOnceChosenByTheFirstRefusal) {
    struct Run {
        CellError first;
        const QStringList& header;
    };
    for (const Run& run : {Run{CellError::E02, kHeaderB}, Run{CellError::E04, kHeaderA}, Run{CellError::E01, kHeaderA},
                           Run{CellError::E03, kHeaderA}}) {
        DataErrorList list;
        std::int16_t started = 0;
        list.add(run.first, 1, 2, u"x", started);
        list.add(CellError::E02, 3, 1, u"1..", started);
        const QStringList lines = list.lines();
        ASSERT_EQ(lines.size(), 8);
        EXPECT_EQ(lines.mid(0, 6), run.header);
        EXPECT_EQ(lines[7], QStringLiteral("E-02(3,1) = \"1..\""));
    }
}

TEST(DataErrorList, LongRunsKeepTheFirstLinesAndSumUpTheRest) {
    DataErrorList list(3);
    std::int16_t started = 0;
    for (int i = 1; i <= 5; ++i) list.add(CellError::E01, i, 1, u"", started);
    const QStringList lines = list.lines();
    ASSERT_EQ(lines.size(), 6 + 3 + 1);
    EXPECT_EQ(lines[8], QStringLiteral("E-01(3,1) = \"\""));
    EXPECT_TRUE(lines[9].contains(QStringLiteral("ほかに 2 件")));
    EXPECT_EQ(list.refusals(), 5);
    EXPECT_EQ(list.omitted(), 2);
    list.clear();
    EXPECT_TRUE(list.lines().isEmpty());
}

TEST(ReadCheckedMatrix, StoresNumbersExactlyRowMajor) {
    SheetModel sheet;
    const double third = 1.0 / 3.0;  // more digits than the general text form keeps
    sheet.setValue(2, 2, third);
    sheet.setValue(2, 3, 1e20);  // shown as 1E+20, still a number
    sheet.setValue(3, 2, QStringLiteral(" -7.5 "));
    sheet.setValue(3, 3, -0.0);
    DataErrorList list;
    std::int16_t started = 0;
    const std::optional<HostValue> v = ReadCheckedMatrix(sheet, {2, 2, 3, 3}, list, started);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->type(), vt::Double + vt::Array);
    EXPECT_EQ(v->dims(), (std::vector<std::int64_t>{2, 2}));
    EXPECT_EQ(*v->doubles(), (std::vector<double>{third, 1e20, -7.5, -0.0}));
    EXPECT_EQ(started, 0);
}

TEST(ReadCheckedMatrix, EveryRefusalIsListedInRowOrderAndNothingReturned) {
    SheetModel sheet;
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 2; ++c) sheet.setValue(r, c, static_cast<double>(r * 10 + c));
    sheet.setValue(1, 2, QStringLiteral("abc"));
    sheet.setValue(3, 1, QStringLiteral("1E5E3"));  // passes the character check, not a number
    sheet.setValue(2, 2, std::numeric_limits<double>::infinity());
    DataErrorList list;
    std::int16_t started = 0;
    EXPECT_FALSE(ReadCheckedMatrix(sheet, {1, 1, 3, 2}, list, started).has_value());
    EXPECT_EQ(started, 1);
    const QStringList lines = list.lines();
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines.mid(0, 6), kHeaderA);
    EXPECT_EQ(lines[6], QStringLiteral("E-04(1,2) = \"abc\""));
    EXPECT_EQ(lines[7], QStringLiteral("E-04(2,2) = \"_\""));
    EXPECT_EQ(lines[8], QStringLiteral("E-04(3,1) = \"1E5E3\""));
}

// A whole-sheet selection of a nearly empty sheet: 16.7 million E-01 cells,
// counted without listing them all and without building a huge array.
TEST(ReadCheckedMatrix, WholeSheetOfEmptyCellsStaysBounded) {
    SheetModel sheet;
    sheet.setValue(1, 1, 1.0);
    sheet.setValue(65536, 256, 2.0);
    DataErrorList list;
    std::int16_t started = 0;
    EXPECT_FALSE(ReadCheckedMatrix(sheet, SheetRange::whole(), list, started).has_value());
    EXPECT_EQ(list.refusals(), std::int64_t{65536} * 256 - 2);
    const QStringList lines = list.lines();
    ASSERT_EQ(lines.size(), 6 + DataErrorList::kMaxLines + 1);
    EXPECT_EQ(lines[6], QStringLiteral("E-01(1,2) = \"\""));
    EXPECT_TRUE(lines.back().contains(QString::number(list.omitted())));
}

}  // namespace
