#include "matrix/cell_check.h"
#include "controls/sheet_model.h"

#include <gtest/gtest.h>

namespace {

QStringList header(bool formB) {
    const QString b = formB ? QStringLiteral(" ") : QString();
    return {QStringLiteral("**エラーコードの説明 (データ番号､変数番号)") + b + QStringLiteral("**"),
            QStringLiteral("**E-01 = セルが空白です") + b + QStringLiteral("**"),
            QStringLiteral("**E-02 = 小数点が2個以上あります") + b + QStringLiteral("**"),
            QStringLiteral("**E-03 = 負の記号の位置が不正です") + b + QStringLiteral("**"),
            QStringLiteral("**E-04 = 数値と認識できません") + b + QStringLiteral("**"),
            QStringLiteral("******** データーエラー一覧 ****************")};
}

// One cell at data number 2, variable number 3: its value, then the lines listed and
// whether a run of refusals was started.
std::pair<std::optional<double>, QStringList> check(const char* raw) {
    QString text = QString::fromUtf8(raw);
    DataErrorList list;
    std::int16_t started = 0;
    const std::optional<double> v = CheckAndConvertCell(2, 3, text, list, started);
    return {v, list.lines() << QString::number(started)};
}

// A value, or the header chosen by the code and one line quoting the trimmed text.
// Which texts are stored at all, and their values, is the random property test's
// business; these pin the edges and the codes.
TEST(CellCheck, RefusalOrValue) {
    for (const auto& [raw, value] :
         {std::pair{"1E-400", 0.0}, {"1.7976931348623157E308", 1.7976931348623157E308}})
        EXPECT_EQ(check(raw), std::pair(std::optional(value), QStringList{"0"})) << raw;
    const std::pair<QString, std::vector<const char*>> refused[] = {
        {"E-01", {"", "   ", "\u3000 \u3000"}},
        {"E-02", {"1.2.3"}},
        {"E-03", {"5-", "--5", "1-2"}},
        // The last five pass the character check but are no finite number.
        {"E-04", {"+5", "１", "1.5E+20", "abc", "-", ".", "1E5E3", "1E5-3", "1E400"}}};
    for (const auto& [code, texts] : refused)
        for (const char* raw : texts) {
            // Refused texts here carry no blanks, except the blank-only ones that trim to nothing.
            const QString shown = code == "E-01" ? QString() : QString::fromUtf8(raw);
            const QStringList lines = header(code == "E-02") << code + "(2,3) = \"" + shown + "\""
                                                             << "1";
            EXPECT_EQ(check(raw), std::pair(std::optional<double>(), lines)) << raw;
        }
}

// The first refusal of a run picks the header; later ones only add their line.
TEST(DataErrorList, HeaderOnceThenBoundedLines) {
    DataErrorList list(3);
    std::int16_t started = 0;
    list.add(CellError::E02, 1, 2, u"1..", started);
    for (int i = 2; i <= 6; ++i) list.add(CellError::E01, i, 1, u"", started);
    EXPECT_EQ(list.lines(),
              header(true) << "E-02(1,2) = \"1..\""
                           << "E-01(2,1) = \"\""
                           << "E-01(3,1) = \"\""
                           << "（ほかに 3 件のエラーがあります。一覧に載せるのは最初の 3 件までです。）");
    EXPECT_EQ(list.refusals(), 6);
}

TEST(ReadCheckedMatrix, NumbersExactRefusalsInRowOrder) {
    SheetModel sheet;
    sheet.setValue(1, 1, 1.0 / 3.0);  // more digits than the general text form keeps
    sheet.setValue(1, 2, 1e20);       // shown as 1E+20, a number all the same
    sheet.setValue(2, 1, QStringLiteral(" -7.5 "));
    sheet.setValue(2, 2, -0.0);
    DataErrorList list;
    std::int16_t started = 0;
    const std::optional<HostValue> v = ReadCheckedMatrix(sheet, {1, 1, 2, 2}, list, started);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->dims(), (std::vector<std::int64_t>{2, 2}));
    EXPECT_EQ(*v->doubles(), (std::vector<double>{1.0 / 3.0, 1e20, -7.5, -0.0}));

    sheet.setValue(1, 2, QStringLiteral("abc"));
    sheet.setValue(2, 1, std::numeric_limits<double>::infinity());
    EXPECT_FALSE(ReadCheckedMatrix(sheet, {1, 1, 3, 2}, list, started));
    EXPECT_EQ(list.lines().mid(6),
              (QStringList{QStringLiteral("E-04(1,2) = \"abc\""), QStringLiteral("E-04(2,1) = \"_\""),
                           QStringLiteral("E-01(3,1) = \"\""), QStringLiteral("E-01(3,2) = \"\"")}));
}

// The whole sheet of a nearly empty sheet: 16.7 million E-01 cells counted
// without listing them all and without building a huge array.
TEST(ReadCheckedMatrix, WholeSheetStaysBounded) {
    SheetModel sheet;
    sheet.setValue(1, 1, 1.0);
    DataErrorList list;
    std::int16_t started = 0;
    EXPECT_FALSE(ReadCheckedMatrix(sheet, SheetRange::whole(), list, started));
    EXPECT_EQ(list.refusals(), std::int64_t{65536} * 256 - 1);
    EXPECT_EQ(list.lines().size(), 6 + DataErrorList::kMaxLines + 1);
}

}  // namespace
