#include "base/fixed_table.h"
#include "base/jvar_tables.h"
#include "controls/sheet_widget.h"
#include "support/test_app.h"
#include "viewers/frmmatrixdisp.h"
#include "viewers/frmmatrixdisp2.h"

#include <gtest/gtest.h>

namespace {

// Every filled cell of a sheet as "row,col=text", numbers marked with '#'.
QStringList cells(const SheetModel& s) {
    QStringList out;
    for (int r = 1; r <= 12; ++r)
        for (int c = 1; c <= 6; ++c) {
            const SheetModel::CellValue v = s.value(r, c);
            if (v.index() == 0) continue;
            out << QStringLiteral("%1,%2=%3%4").arg(r).arg(c).arg(v.index() == 1 ? "#" : "", s.text(r, c));
        }
    EXPECT_EQ(s.filledCells(), out.size()) << "cells filled beyond the looked-at area";
    return out;
}

QStringList header(const QString& name, const QString& type, const QString& size) {
    return {QStringLiteral("1,1=行列名="), QStringLiteral("1,2=") + name, QStringLiteral("2,1=Type  ="),
            QStringLiteral("2,2=") + type, QStringLiteral("3,1=サイズ="), QStringLiteral("3,2=") + size};
}

TEST(FixedMatrixLayout, ValuesFromRowSixAndFreeSlotsShowOnlyTheHeader) {
    FixedMatrixState f;
    const QString type = QStringLiteral("配列, [倍精度浮動小数点数型 (Double)]");
    f.FixedTable[1] = {0, QStringLiteral("VB_A"), {2, 2, 4, 3}, 3, 2, 2, 4, 2, 3, type};
    f.FixedValues[1] = HostValue::doubleArray({3, 2}, {1.5, 2, 3, 4, 5, -6});
    SheetModel s;
    LayoutFixedMatrix(s, f, 1);
    EXPECT_EQ(cells(s), header(QStringLiteral("VB_A"), type, QStringLiteral("[3,2]")) +
                            QStringList({"6,1=#1.5", "6,2=#2", "7,1=#3", "7,2=#4", "8,1=#5", "8,2=#-6"}));
    for (int slot : {5, -1, 300}) {
        SheetModel empty;
        LayoutFixedMatrix(empty, f, slot);
        EXPECT_EQ(cells(empty), header({}, {}, QStringLiteral("[0,0]"))) << slot;
    }
}

TEST(JVariableLayout, CasesByExtents) {
    const QString dbl = QStringLiteral("配列, [倍浮動小数型]");
    const std::tuple<JVarRecord, HostValue, QStringList> cases[] = {
        // cells after the header, the size cell first
        {{0, "s", "[文字列型]", 0, 0},
         HostValue::string(QStringLiteral("日本語です")),
         {"3,2=5 文字", "6,1=日本語です"}},
        {{0, "l", dbl, 0, 4},
         HostValue::doubleArray({4}, {1, 2, 3, 4}),
         {"3,2=[4]", "6,1=#1", "6,2=#2", "6,3=#3", "6,4=#4"}},
        {{0, "t", dbl, 2, 3},
         HostValue::doubleArray({2, 3}, {1, 2, 3, 4, 5, 6}),
         {"3,2=[2,3]", "6,1=#1", "6,2=#2", "6,3=#3", "7,1=#4", "7,2=#5", "7,3=#6"}},
        {{0, "t0", dbl, 3, 0}, HostValue::doubleArray({3, 0}, {}), {"3,2=[3,0]"}},
        {{0, "e", dbl, 0, 0}, HostValue::doubleArray({0}, {}), {"3,2=0 文字"}},  // a list of no items
        {{0, "x", dbl, 0, -1}, HostValue::doubleValue(1), {"3,2=[0,-1]"}},
        // A boxed list, and an integer a double cannot hold exactly, which keeps its digits.
        {{0, "b", "配列, [bariant型]", 0, 3},
         HostValue::variantArray({3}, {HostValue::string("ab"), HostValue::longValue(9007199254740993LL),
                                       HostValue::longArray({2}, {7, 8})}),
         {"3,2=[3]", "6,1=ab", "6,2=9007199254740993", "6,3=7 8"}},
    };
    for (const auto& [rec, value, values] : cases) {
        SheetModel sheet;
        LayoutJVariable(sheet, rec, value);
        EXPECT_EQ(cells(sheet), header(rec.name, rec.typeText, values.front().mid(4)) + values.mid(1))
            << rec.name.toStdString();
    }
}

// A list wider than the sheet shows what fits, and a note in row 4 says so.
TEST(JVariableLayout, WhatDoesNotFitTheSheetIsCutWithANote) {
    SheetModel sheet;
    LayoutJVariable(sheet, {1, "w", "配列, [長整数型]", 0, 300},
                    HostValue::longArray({300}, std::vector<std::int64_t>(300, 7)));
    EXPECT_EQ(sheet.value(6, 256), SheetModel::CellValue(7.0));
    EXPECT_TRUE(sheet.text(4, 1).contains(QStringLiteral("256 列")));
}

// The window handling both viewers share, each under its own settings keys.
template <class Form>
class ViewerWindow : public ::testing::Test {};
using ViewerForms = ::testing::Types<frmMatrixDisp, frmMatrixDisp2>;
TYPED_TEST_SUITE(ViewerWindow, ViewerForms);

TYPED_TEST(ViewerWindow, OpensCentredInTheSavedSizeUnderItsOwnKeysAndSavesIt) {
    TestApp t;
    const QString suffix = std::is_same_v<TypeParam, frmMatrixDisp> ? QString() : QStringLiteral("2");
    const auto key = [&](const char* k) { return "Settings/" + QString::fromLatin1(k) + suffix; };
    t.settings.values[key("DispLeft")] = QStringLiteral("3000");
    t.settings.values[key("DispWidth")] = QStringLiteral("8000.5");
    TypeParam& f = t.app().template form<TypeParam>();
    f.Show();
    EXPECT_EQ(f.windowTitle(), suffix.isEmpty() ? QStringLiteral("Kalvoret VB定義行列表示")
                                                : QStringLiteral("Kalvoret J 定義行列表示"));
    EXPECT_NEAR(f.Width(), 8000, 15);
    EXPECT_NEAR(f.Left(), (VbForm::screenWidth() - f.Width()) / 2, 15);  // centred, not at 3000
    f.Move(f.Left(), f.Top(), 3000, 2000);
    f.Spreadsheet1->setValue(30, 30, QStringLiteral("typed by the user"));
    f.Unload();
    EXPECT_EQ(t.settings.values[key("DispWidth")] + "|" + t.settings.values[key("DispLeft")],
              QString::number(f.Width()) + "|" + QString::number(f.Left()));

    f.Show();  // filled afresh: an empty entry shows its header alone
    EXPECT_EQ(f.Spreadsheet1->model().filledCells(), 6);
}

}  // namespace
