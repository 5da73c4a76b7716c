#include "controls/sheet_model.h"
#include "controls/sheet_widget.h"
#include "jlink/jvar_tables.h"
#include "matrix/fixed_table.h"
#include "support/test_app.h"
#include "viewers/frmmatrixdisp.h"
#include "viewers/frmmatrixdisp2.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Cells = std::map<std::pair<int, int>, QString>;

// Every filled cell as it shows, numbers marked with '#' so that a number and
// its digits as text are told apart.
Cells filledCells(const SheetModel& s, int rows = 20, int cols = 20) {
    Cells out;
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c) {
            const SheetModel::CellValue v = s.value(r, c);
            if (std::holds_alternative<double>(v)) out[{r, c}] = u'#' + s.text(r, c);
            if (std::holds_alternative<QString>(v)) out[{r, c}] = s.text(r, c);
        }
    EXPECT_EQ(s.filledCells(), static_cast<std::int64_t>(out.size())) << "cells filled outside the looked-at area";
    return out;
}

Cells header(const QString& name, const QString& type, const QString& size) {
    return {{{1, 1}, QStringLiteral("行列名=")}, {{1, 2}, name},          {{2, 1}, QStringLiteral("Type  =")},
            {{2, 2}, type},                       {{3, 1}, QStringLiteral("サイズ=")}, {{3, 2}, size}};
}

Cells with(Cells base, const Cells& more) {
    for (const auto& [k, v] : more) base[k] = v;
    return base;
}

TEST(ViewerResize, TheSheetFillsTheWindowUnlessItIsTooSmall) {
    struct Case {
        int width, height;
        TwipsRect expected;
    };
    const TwipsRect before{30, 45, 5000, 3000};
    for (const Case& c : {Case{7005, 4290, {0, 0, 6865, 3770}}, Case{142, 522, {0, 0, 2, 2}},
                          Case{141, 4290, {0, 0, 5000, 3770}}, Case{7005, 521, {0, 0, 6865, 3000}},
                          Case{0, 0, {0, 0, 5000, 3000}}, Case{-500, 100000, {0, 0, 5000, 99480}}}) {
        EXPECT_EQ(viewer::sheetRect(before, c.width, c.height), c.expected) << c.width << "x" << c.height;
    }
}

TEST(FixedMatrixLayout, ValuesStartOnRowSixAsNumbers) {
    FixedMatrixState f;
    f.FixedTable[1] = {0, QStringLiteral("VB_A"), {2, 2, 4, 3}, 3, 2, 2, 4, 2, 3, QStringLiteral("配列, [倍精度浮動小数点数型 (Double)]")};
    f.FixedValues[1] = HostValue::doubleArray({3, 2}, {1.5, 2, 3, 4, 5, -6});
    f.FixedTable[2] = {0, QStringLiteral("VB_B"), {1, 1, 1, 1}, 1, 1, 1, 1, 1, 1, QStringLiteral("配列, [倍精度浮動小数点数型 (Double)]")};
    f.FixedValues[2] = HostValue::doubleArray({1, 1}, {42});

    SheetModel three;
    LayoutFixedMatrix(three, f, 1);
    EXPECT_EQ(filledCells(three),
              with(header(QStringLiteral("VB_A"), f.FixedTable[1].typeText, QStringLiteral("[3,2]")),
                   {{{6, 1}, "#1.5"}, {{6, 2}, "#2"}, {{7, 1}, "#3"}, {{7, 2}, "#4"}, {{8, 1}, "#5"}, {{8, 2}, "#-6"}}));

    SheetModel one;
    LayoutFixedMatrix(one, f, 2);
    EXPECT_EQ(filledCells(one), with(header(QStringLiteral("VB_B"), f.FixedTable[2].typeText, QStringLiteral("[1,1]")),
                                     {{{6, 1}, "#42"}}));
}

TEST(FixedMatrixLayout, AFreeOrUnknownSlotShowsOnlyTheHeader) {
    FixedMatrixState f;
    for (int slot : {5, 0, -1, 27, 300}) {
        SheetModel s;
        LayoutFixedMatrix(s, f, slot);
        EXPECT_EQ(filledCells(s), with(header({}, {}, QStringLiteral("[0,0]")), {})) << slot;
    }
}

// A matrix of every sheet row cannot start on row 6: the rows that fit are
// shown and a note in row 4 says so.
TEST(FixedMatrixLayout, AMatrixTallerThanTheSheetIsCutWithANote) {
    FixedMatrixState f;
    const int rows = 65536;
    std::vector<double> data(static_cast<std::size_t>(rows) * 2);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<double>(i);
    f.FixedTable[1] = {0, QStringLiteral("VB_A"), {1, 1, rows, 2}, rows, 2, 1, rows, 1, 2, QStringLiteral("配列, [倍精度浮動小数点数型 (Double)]")};
    f.FixedValues[1] = HostValue::doubleArray({rows, 2}, std::move(data));
    SheetModel s;
    LayoutFixedMatrix(s, f, 1);
    EXPECT_EQ(s.text(3, 2), QStringLiteral("[65536,2]"));
    EXPECT_TRUE(s.text(4, 1).contains(QStringLiteral("65531 行")));
    EXPECT_EQ(s.value(65536, 2), SheetModel::CellValue(65530.0 * 2 + 1));
    EXPECT_EQ(s.filledCells(), 6 + 1 + 65531 * 2);
}

struct JCase {
    const char* what;
    JVarRecord rec;
    HostValue value;
    Cells expected;
};

class JVariableLayout : public ::testing::TestWithParam<int> {};

std::vector<JCase> jCases() {
    const QString num = QStringLiteral("[倍浮動小数型]"), str = QStringLiteral("[文字列型]");
    const QString longArr = QStringLiteral("配列, [長整数型]"), dblArr = QStringLiteral("配列, [倍浮動小数型]");
    const auto h = [](const char* name, const QString& type, const char* size) {
        return header(QString::fromUtf8(name), type, QString::fromUtf8(size));
    };
    return {
        {"atom 42", {0, "n", QStringLiteral("[長整数型]"), 0, 0}, HostValue::longValue(42),
         with(h("n", QStringLiteral("[長整数型]"), "2 文字"), {{{6, 1}, "#42"}})},
        {"string", {0, "s", str, 0, 0}, HostValue::string(QStringLiteral("hello")),
         with(h("s", str, "5 文字"), {{{6, 1}, "hello"}})},
        {"Japanese string", {0, "s", str, 0, 0}, HostValue::string(QStringLiteral("日本語")),
         with(h("s", str, "3 文字"), {{{6, 1}, QStringLiteral("日本語")}})},
        {"list of four", {0, "l", longArr, 0, 4}, HostValue::longArray({4}, {1, 2, 3, 4}),
         with(h("l", longArr, "[4]"), {{{6, 1}, "#1"}, {{6, 2}, "#2"}, {{6, 3}, "#3"}, {{6, 4}, "#4"}})},
        {"table 2x3", {0, "t", dblArr, 2, 3}, HostValue::doubleArray({2, 3}, {1, 2, 3, 4, 5, 6.5}),
         with(h("t", dblArr, "[2,3]"),
              {{{6, 1}, "#1"}, {{6, 2}, "#2"}, {{6, 3}, "#3"}, {{7, 1}, "#4"}, {{7, 2}, "#5"}, {{7, 3}, "#6.5"}})},
        {"table without columns", {0, "t0", dblArr, 3, 0}, HostValue::doubleArray({3, 0}, {}),
         h("t0", dblArr, "[3,0]")},
        {"empty list", {0, "e", dblArr, 0, 0}, HostValue::doubleArray({0}, {}), h("e", dblArr, "0 文字")},
        {"free row", {}, HostValue(), h("", {}, "0 文字")},
        {"negative extents", {0, "x", num, 0, -1}, HostValue::doubleValue(1), h("x", num, "[0,-1]")},
        {"booleans and a boxed list", {0, "b", QStringLiteral("配列, [bariant型]"), 0, 3},
         HostValue::variantArray({3}, {HostValue::string(QStringLiteral("ab")), HostValue::boolean(true),
                                       HostValue::longArray({2}, {7, 8})}),
         with(h("b", QStringLiteral("配列, [bariant型]"), "[3]"), {{{6, 1}, "ab"}, {{6, 2}, "#1"}, {{6, 3}, "7 8"}})},
        // A double cannot hold every 64-bit integer; such a one keeps its digits.
        {"huge integer", {0, "h", longArr, 0, 2}, HostValue::longArray({2}, {9007199254740993LL, -5}),
         with(h("h", longArr, "[2]"), {{{6, 1}, "9007199254740993"}, {{6, 2}, "#-5"}})},
        // Extents that claim more than the value holds read only what is there.
        {"extents beyond the value", {0, "w", dblArr, 4, 4}, HostValue::doubleArray({1, 2}, {1, 2}),
         with(h("w", dblArr, "[4,4]"), {{{6, 1}, "#1"}, {{6, 2}, "#2"}})},
    };
}

TEST_P(JVariableLayout, CasesByExtents) {
    const JCase c = jCases()[static_cast<std::size_t>(GetParam())];
    JVarState s;
    s.JVarTable[3] = c.rec;
    s.JValues[3] = c.value;
    SheetModel sheet;
    LayoutJVariable(sheet, s, 3);
    EXPECT_EQ(filledCells(sheet), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(All, JVariableLayout, ::testing::Range(0, static_cast<int>(jCases().size())));

TEST(JVariableLayout, AListLongerThanTheSheetIsWideIsCutWithANote) {
    JVarState s;
    std::vector<std::int64_t> items(300);
    for (std::size_t i = 0; i < items.size(); ++i) items[i] = static_cast<std::int64_t>(i);
    s.JVarTable[1] = {1, QStringLiteral("big"), QStringLiteral("配列, [長整数型]"), 0, 300};
    s.JValues[1] = HostValue::longArray({300}, std::move(items));
    SheetModel sheet;
    LayoutJVariable(sheet, s, 1);
    EXPECT_EQ(sheet.text(3, 2), QStringLiteral("[300]"));
    EXPECT_EQ(sheet.value(6, 256), SheetModel::CellValue(255.0));
    EXPECT_TRUE(sheet.text(4, 1).contains(QStringLiteral("256 列")));
}

// The window handling both viewers share, each with its own settings keys.
template <class Form>
struct ViewerKind {
    static const char* keySuffix;
    static const char* caption;
};
template <>
const char* ViewerKind<frmMatrixDisp>::keySuffix = "";
template <>
const char* ViewerKind<frmMatrixDisp>::caption = "Kalvoret VB定義行列表示";
template <>
const char* ViewerKind<frmMatrixDisp2>::keySuffix = "2";
template <>
const char* ViewerKind<frmMatrixDisp2>::caption = "Kalvoret J 定義行列表示";

template <class Form>
class ViewerWindow : public ::testing::Test {
protected:
    QString key(const char* base) { return QString::fromLatin1(base) + QString::fromLatin1(ViewerKind<Form>::keySuffix); }
    QString setting(const char* base) { return t.settings.value(QStringLiteral("Settings"), key(base)); }
    Form& form() { return t.app().form<Form>(); }

    TestApp t;
};

using ViewerForms = ::testing::Types<frmMatrixDisp, frmMatrixDisp2>;
TYPED_TEST_SUITE(ViewerWindow, ViewerForms);

TYPED_TEST(ViewerWindow, OpensCentredInTheSavedSizeAndSavesOnUnload) {
    this->t.settings.values[QStringLiteral("Settings/") + this->key("DispLeft")] = QStringLiteral("3000");
    this->t.settings.values[QStringLiteral("Settings/") + this->key("DispWidth")] = QStringLiteral("8000.5");
    TypeParam& f = this->form();
    f.Show();
    EXPECT_EQ(f.objectName(), QString::fromLatin1(TypeParam::staticMetaObject.className()));
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8(ViewerKind<TypeParam>::caption));
    EXPECT_EQ(f.Spreadsheet1->objectName(), QStringLiteral("Spreadsheet1"));
    EXPECT_EQ(f.Spreadsheet1->model().fontName(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_NEAR(f.Width(), 8000, 15);
    EXPECT_NEAR(f.Height(), 4290, 15);
    EXPECT_NEAR(f.Left(), (VbForm::screenWidth() - f.Width()) / 2, 15);  // centred, not at 3000
    EXPECT_NEAR(f.Top(), (VbForm::screenHeight() - f.Height()) / 2, 15);
    EXPECT_EQ(f.Spreadsheet1->model().text(1, 1), QStringLiteral("行列名="));

    f.Move(f.Left(), f.Top(), 3000, 2000);
    EXPECT_EQ(twipsGeometry(f.Spreadsheet1), (TwipsRect{0, 0, 2865, 1485}));  // 2860 x 1480 to the pixel

    f.Unload();
    EXPECT_EQ(this->setting("DispWidth"), QString::number(f.Width()));
    EXPECT_EQ(this->setting("DispHeight"), QString::number(f.Height()));
    EXPECT_EQ(this->setting("DispLeft"), QString::number(f.Left()));
    EXPECT_EQ(this->setting("DispTop"), QString::number(f.Top()));
}

TYPED_TEST(ViewerWindow, DefaultsWithoutSettingsAndNothingSavedWhileMinimised) {
    this->t.settings.values[QStringLiteral("Settings/") + this->key("DispHeight")] = QStringLiteral("not a number");
    TypeParam& f = this->form();
    f.Show();
    EXPECT_NEAR(f.Width(), 7005, 15);
    EXPECT_NEAR(f.Height(), 4290, 15);
    f.showMinimized();
    ASSERT_EQ(f.WindowState(), 1);
    f.Unload();
    EXPECT_FALSE(this->t.settings.has(QStringLiteral("Settings"), this->key("DispWidth")));
    EXPECT_EQ(this->setting("DispHeight"), QStringLiteral("not a number"));
}

TYPED_TEST(ViewerWindow, WildSettingsStillGiveAUsableWindow) {
    for (const char* k : {"DispLeft", "DispTop", "DispWidth", "DispHeight"})
        this->t.settings.values[QStringLiteral("Settings/") + this->key(k)] = QStringLiteral("1e30");
    TypeParam& f = this->form();
    f.Show();
    EXPECT_GT(f.Width(), 0);
    EXPECT_LE(f.Width(), 200000);
    f.Unload();
}

TEST(ViewerWindow, EachShowingIsFilledAfreshFromTheTables) {
    TestApp t;
    FixedMatrixState& fixed = t.app().fixed;
    fixed.FixedTable[1] = {1, QStringLiteral("VB_A"), {1, 1, 2, 2}, 2, 2, 1, 2, 1, 2, QStringLiteral("配列, [倍精度浮動小数点数型 (Double)]")};
    fixed.FixedValues[1] = HostValue::doubleArray({2, 2}, {1, 2, 3, 4});
    fixed.FixedTable[2] = {0, QStringLiteral("VB_B"), {1, 1, 1, 1}, 1, 1, 1, 1, 1, 1, fixed.FixedTable[1].typeText};
    fixed.FixedValues[2] = HostValue::doubleArray({1, 1}, {9});
    frmMatrixDisp& f = t.app().form<frmMatrixDisp>();
    fixed.FixedCurrent = 1;
    f.Show();
    f.Spreadsheet1->setValue(30, 30, QStringLiteral("typed by the user"));
    f.Unload();
    fixed.FixedCurrent = 2;
    f.Show();
    EXPECT_EQ(filledCells(f.Spreadsheet1->model(), 40, 40),
              with(header(QStringLiteral("VB_B"), fixed.FixedTable[1].typeText, QStringLiteral("[1,1]")), {{{6, 1}, "#9"}}));
    f.Unload();
}

}  // namespace
