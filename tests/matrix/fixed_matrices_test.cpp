#include "app/frmjmain.h"
#include "controls/flex_grid.h"
#include "controls/sheet_widget.h"
#include "matrix/cell_check.h"
#include "matrix/fixed_matrices.h"
#include "matrix/frmerrdisp.h"
#include "support/test_app.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kSilver = 0xC0C0C0;
const QString kDoubleArrayLong = QStringLiteral("配列, [倍精度浮動小数点数型 (Double)]");

// The main window as the user meets it, driven through the controls' names.
class FixedMatricesTest : public ::testing::Test {
protected:
    void SetUp() override {
        main = &t.showMain();
        sheet = main->findChild<SheetWidget*>(QStringLiteral("Spreadsheet1"));
        list = main->findChild<FlexGrid*>(QStringLiteral("MSFlexGrid1"));
        fixButton = main->findChild<QAction*>(QStringLiteral("行列確定"));
        releaseButton = main->findChild<QAction*>(QStringLiteral("行列解除"));
        ASSERT_TRUE(sheet && list && fixButton && releaseButton);
    }

    void fill(const SheetRange& r, double base = 1) {
        for (int row = r.row1; row <= r.row2; ++row)
            for (int col = r.col1; col <= r.col2; ++col)
                sheet->setValue(row, col, base + (row - r.row1) * 10 + (col - r.col1));
    }

    void fix(const SheetRange& r) {
        sheet->select(r);
        fixButton->trigger();
    }

    // Fixes the selection expecting the data error window; returns its lines.
    QStringList fixExpectingErrors(const SheetRange& r) {
        QStringList lines;
        QWidget* shown = nullptr;
        runOnNextModal([&](QWidget* w) {
            shown = w;
            if (auto* e = qobject_cast<frmErrDisp*>(w)) {
                lines = e->lines();
                e->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
            }
        });
        fix(r);
        EXPECT_TRUE(qobject_cast<frmErrDisp*>(shown)) << "no data error window";
        return lines;
    }

    HostValue jValue(const QString& name, int* code = nullptr) {
        HostValue v;
        const int c = t.app().J().GetB(name, v);
        if (code) *code = c;
        return v;
    }

    TestApp t;
    frmjMain* main = nullptr;
    SheetWidget* sheet = nullptr;
    FlexGrid* list = nullptr;
    QAction* fixButton = nullptr;
    QAction* releaseButton = nullptr;
};

TEST_F(FixedMatricesTest, TheListStartsWithAllSlotsFreeInTheirColours) {
    ASSERT_EQ(list->Rows(), 27);
    ASSERT_EQ(list->Cols(), 2);
    EXPECT_EQ(list->ColWidth(0), 600);
    EXPECT_EQ(list->ColWidth(1), 1850);
    EXPECT_EQ(list->ColAlignment(0), 4);
    EXPECT_EQ(list->TextMatrix(0, 0), QStringLiteral("変数"));
    EXPECT_EQ(list->TextMatrix(0, 1), QStringLiteral("セル範囲"));
    EXPECT_EQ(list->grid().cellAlignment(0, 1), 4);
    for (int n = 1; n <= 26; ++n) {
        EXPECT_EQ(list->TextMatrix(n, 0), QStringLiteral("VB_") + QChar(u'@' + n));
        EXPECT_EQ(list->grid().cellBackColor(n, 0), static_cast<std::uint32_t>(t.app().MatrixColors[n])) << n;
        EXPECT_TRUE(list->TextMatrix(n, 1).isEmpty());
    }
    EXPECT_EQ(t.app().fixed.count(), 0);
    EXPECT_FALSE(releaseButton->isEnabled());
}

TEST_F(FixedMatricesTest, FirstFixOfAThreeByTwoSelectionFillsSlotOneAndJ) {
    const SheetRange r{2, 2, 4, 3};
    fill(r);
    fix(r);

    const FixedMatrixState& f = t.app().fixed;
    EXPECT_EQ(f.count(), 1);
    EXPECT_EQ(f.FixedCurrent, 1);
    EXPECT_EQ(f.ErrFlag, 0);
    const FixedRecord& rec = f.FixedTable[1];
    EXPECT_EQ(rec.name, QStringLiteral("VB_A"));
    EXPECT_EQ(rec.range, r);
    EXPECT_EQ((std::array{rec.rows, rec.cols, rec.firstRow, rec.lastRow, rec.firstCol, rec.lastCol}),
              (std::array{3, 2, 2, 4, 2, 3}));
    EXPECT_EQ(rec.typeText, kDoubleArrayLong);
    EXPECT_EQ(f.FixedValues[1].type(), 8197);

    EXPECT_EQ(list->TextMatrix(1, 1), QStringLiteral("B2:C4(3,2)"));
    EXPECT_TRUE(releaseButton->isEnabled());
    EXPECT_EQ(sheet->selection(), r);
    EXPECT_EQ(sheet->fill(3, 3), static_cast<std::uint32_t>(t.app().MatrixColors[1]));
    EXPECT_EQ(sheet->fill(1, 1), SheetModel::kDefaultFill);
    ASSERT_TRUE(sheet->model().border(4, 2));
    EXPECT_EQ(sheet->model().border(4, 2)->lineStyle, 1);
    EXPECT_EQ(vbColorNumber(sheet->model().border(4, 2)->color), kSilver);

    int code = -1;
    const HostValue j = jValue(QStringLiteral("J_A"), &code);
    ASSERT_EQ(code, 0);
    EXPECT_EQ(j.type(), vt::Double + vt::Array);
    EXPECT_EQ(j.dims(), (std::vector<std::int64_t>{3, 2}));
    EXPECT_EQ(*j.doubles(), (std::vector<double>{1, 2, 11, 12, 21, 22}));

    // The J variable list gains the new noun.
    const FlexGrid* jList = main->findChild<FlexGrid*>(QStringLiteral("MSFlexGrid2"));
    ASSERT_EQ(jList->Rows(), 2);
    EXPECT_EQ(jList->TextMatrix(1, 0), QStringLiteral("J_A"));
    EXPECT_EQ(jList->TextMatrix(1, 1), QStringLiteral("(3,2)"));
    EXPECT_EQ(jList->TextMatrix(1, 2), QStringLiteral("配列, [倍浮動小数型]"));
}

TEST_F(FixedMatricesTest, NumbersReachJExactlyAndOneCellIsAOneByOneTable) {
    sheet->setValue(1, 1, 1.0 / 3.0);
    sheet->setValue(1, 2, 1e20);  // shown as 1E+20 but a number all the same
    fix({1, 1, 1, 2});
    EXPECT_EQ(*jValue(QStringLiteral("J_A")).doubles(), (std::vector<double>{1.0 / 3.0, 1e20}));

    sheet->setValue(5, 5, QStringLiteral(" -2.5 "));
    fix(SheetRange::cell(5, 5));
    const HostValue b = jValue(QStringLiteral("J_B"));
    EXPECT_EQ(b.dims(), (std::vector<std::int64_t>{1, 1}));
    EXPECT_EQ(*b.doubles(), std::vector<double>{-2.5});
    EXPECT_EQ(list->TextMatrix(2, 1), QStringLiteral("E5(1,1)"));
}

TEST_F(FixedMatricesTest, TheTwentySeventhFixIsRefused) {
    for (int n = 1; n <= 26; ++n) {
        sheet->setValue(n, 1, static_cast<double>(n));
        fix(SheetRange::cell(n, 1));
    }
    ASSERT_EQ(t.app().fixed.count(), 26);
    EXPECT_EQ(list->TextMatrix(26, 1), QStringLiteral("A26(1,1)"));
    EXPECT_EQ(*jValue(QStringLiteral("J_Z")).doubles(), std::vector<double>{26});
    ASSERT_TRUE(t.msgBox.calls.empty());

    sheet->setValue(30, 1, 30.0);
    fix(SheetRange::cell(30, 1));
    ASSERT_EQ(t.msgBox.calls.size(), 1u);
    EXPECT_EQ(t.msgBox.lastPrompt(), kTooManyMatrices);
    EXPECT_EQ(t.msgBox.calls.back().buttons, mb::Exclamation);
    EXPECT_EQ(t.app().fixed.count(), 26);
    EXPECT_EQ(sheet->fill(30, 1), SheetModel::kDefaultFill);
}

TEST_F(FixedMatricesTest, AnEmptyCellOpensTheErrorWindowAndFixesNothing) {
    const SheetRange r{1, 1, 3, 2};
    fill(r);
    sheet->setValue(2, 1, QStringLiteral("   "));
    const QStringList lines = fixExpectingErrors(r);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], QStringLiteral("**エラーコードの説明 (データ番号､変数番号)**"));
    EXPECT_EQ(lines[6], QStringLiteral("E-01(2,1) = \"\""));

    const FixedMatrixState& f = t.app().fixed;
    EXPECT_EQ(f.ErrFlag, 1);
    EXPECT_EQ(f.count(), 0);
    EXPECT_TRUE(list->TextMatrix(1, 1).isEmpty());
    EXPECT_FALSE(releaseButton->isEnabled());
    EXPECT_EQ(sheet->fill(1, 1), SheetModel::kDefaultFill);
    EXPECT_EQ(sheet->selection(), r);
    int code = 0;
    jValue(QStringLiteral("J_A"), &code);
    EXPECT_EQ(code, 16);

    // Mended, the same selection takes the same slot.
    sheet->setValue(2, 1, 4.0);
    fix(r);
    EXPECT_EQ(f.count(), 1);
    EXPECT_EQ(list->TextMatrix(1, 1), QStringLiteral("A1:B3(3,2)"));
}

TEST_F(FixedMatricesTest, EachErrorWindowHoldsOnlyItsOwnRun) {
    sheet->setValue(1, 1, QStringLiteral("1.2.3"));
    sheet->setValue(1, 2, QStringLiteral("abc"));
    QStringList first = fixExpectingErrors({1, 1, 1, 2});
    ASSERT_EQ(first.size(), 8);
    EXPECT_EQ(first[0], QStringLiteral("**エラーコードの説明 (データ番号､変数番号) **"));  // E-02 came first
    EXPECT_EQ(first[6], QStringLiteral("E-02(1,1) = \"1.2.3\""));
    EXPECT_EQ(first[7], QStringLiteral("E-04(1,2) = \"abc\""));

    sheet->setValue(4, 4, QStringLiteral("1E5E3"));
    const QStringList second = fixExpectingErrors(SheetRange::cell(4, 4));
    ASSERT_EQ(second.size(), 7);
    EXPECT_EQ(second[0], QStringLiteral("**エラーコードの説明 (データ番号､変数番号)**"));
    EXPECT_EQ(second[6], QStringLiteral("E-04(1,1) = \"1E5E3\""));
}

TEST_F(FixedMatricesTest, SeveralAreasAreRefusedWithAMessage) {
    fill({1, 1, 2, 2});
    fill({5, 5, 6, 6});
    sheet->select({1, 1, 2, 2});
    auto* sm = sheet->view()->selectionModel();
    sm->select(QItemSelection(sheet->model().index(4, 4), sheet->model().index(5, 5)), QItemSelectionModel::Select);
    ASSERT_EQ(sheet->selectionAreas().size(), 2);
    fixButton->trigger();
    ASSERT_EQ(t.msgBox.calls.size(), 1u);
    EXPECT_EQ(t.msgBox.lastPrompt(), kSeveralAreas);
    EXPECT_EQ(t.app().fixed.count(), 0);
    EXPECT_EQ(t.app().fixed.FixedCurrent, 0);
    EXPECT_EQ(sheet->fill(1, 1), SheetModel::kDefaultFill);
}

TEST_F(FixedMatricesTest, TheWholeSheetSelectedListsABoundedErrorListAndTheWindowStaysUsable) {
    fill({1, 1, 2, 2});
    sheet->selectAll();
    QStringList lines;
    runOnNextModal([&](QWidget* w) {
        lines = static_cast<frmErrDisp*>(w)->lines();
        static_cast<frmErrDisp*>(w)->Unload();
    });
    fixButton->trigger();
    ASSERT_EQ(lines.size(), 6 + DataErrorList::kMaxLines + 1);
    EXPECT_EQ(lines[6], QStringLiteral("E-01(1,3) = \"\""));
    EXPECT_TRUE(lines.back().contains(QString::number(65536LL * 256 - 4 - DataErrorList::kMaxLines)));
    EXPECT_EQ(t.app().fixed.count(), 0);

    fix({1, 1, 2, 2});
    EXPECT_EQ(t.app().fixed.count(), 1);
}

TEST_F(FixedMatricesTest, ReleaseAfterYesFreesEverySlotAndNumberingRestarts) {
    fill({1, 1, 2, 2});
    fill({4, 4, 4, 5}, 100);
    fix({1, 1, 2, 2});
    fix({4, 4, 4, 5});
    ASSERT_EQ(t.app().fixed.count(), 2);

    t.msgBox.answer(mb::No);
    releaseButton->trigger();
    EXPECT_EQ(t.app().fixed.count(), 2);
    EXPECT_EQ(list->TextMatrix(2, 1), QStringLiteral("D4:E4(1,2)"));

    t.msgBox.answer(mb::Yes);
    releaseButton->trigger();
    EXPECT_EQ(t.msgBox.lastPrompt(), QStringLiteral("行列確定をすべて解除します。よろしいですか？"));
    const FixedMatrixState& f = t.app().fixed;
    EXPECT_EQ(f.count(), 0);
    EXPECT_TRUE(f.FixedTable[2].name.isEmpty());
    EXPECT_TRUE(f.FixedValues[1].isEmpty());
    for (int n = 1; n <= 26; ++n) EXPECT_TRUE(list->TextMatrix(n, 1).isEmpty()) << n;
    EXPECT_EQ(list->TextMatrix(2, 0), QStringLiteral("VB_B"));
    EXPECT_FALSE(releaseButton->isEnabled());
    EXPECT_EQ(sheet->fill(1, 1), SheetModel::kDefaultFill);
    EXPECT_EQ(sheet->fill(4, 5), SheetModel::kDefaultFill);
    EXPECT_EQ(vbColorNumber(sheet->model().border(4, 5)->color), kSilver);
    EXPECT_EQ(sheet->selection(), SheetRange::cell(1, 1));
    EXPECT_EQ(main->findChild<FlexGrid*>(QStringLiteral("MSFlexGrid2"))->Rows(), 1);
    // J keeps its nouns until the next fix overwrites J_A.
    EXPECT_EQ(*jValue(QStringLiteral("J_B")).doubles(), (std::vector<double>{100, 101}));

    fix({4, 4, 4, 5});
    EXPECT_EQ(f.FixedTable[1].name, QStringLiteral("VB_A"));
    EXPECT_EQ(*jValue(QStringLiteral("J_A")).doubles(), (std::vector<double>{100, 101}));
}

TEST_F(FixedMatricesTest, TheErrorWindowIsModalOverTheMainWindowAsDesigned) {
    sheet->setValue(1, 1, QStringLiteral("x"));
    bool checked = false;
    runOnNextModal([&](QWidget* w) {
        auto* e = qobject_cast<frmErrDisp*>(w);
        ASSERT_TRUE(e);
        checked = true;
        EXPECT_EQ(e->objectName(), QStringLiteral("frmErrDisp"));
        EXPECT_EQ(e->windowTitle(), QStringLiteral("Kalvoret Error Check"));
        EXPECT_EQ(e->parentWidget(), main);
        EXPECT_TRUE(e->isModal());
        EXPECT_LE((main->frameGeometry().center() - e->frameGeometry().center()).manhattanLength(), 8);
        EXPECT_EQ(twipsGeometry(e->client()), (TwipsRect{0, 0, 6885, 4425}));
        struct Control {
            const char* name;
            TwipsRect rect;
        };
        for (const Control& c : {Control{"List1", {120, 720, 6615, 3120}}, Control{"Command1", {5400, 3960, 1335, 375}}}) {
            QWidget* child = e->findChild<QWidget*>(QString::fromLatin1(c.name));
            ASSERT_TRUE(child) << c.name;
            EXPECT_EQ(twipsGeometry(child), c.rect) << c.name;
        }
        auto* label1 = e->findChild<QLabel*>(QStringLiteral("Label1"));
        auto* label2 = e->findChild<QLabel*>(QStringLiteral("Label2"));
        EXPECT_EQ(label1->text(), QStringLiteral("ユーザ定義数値データ・エラーチェック"));
        EXPECT_EQ(label2->text(), QStringLiteral("エラーがあるためデータは登録できません。"));
        EXPECT_EQ(e->findChild<QPushButton*>(QStringLiteral("Command1"))->text(), QStringLiteral("終了"));
        e->Command1->click();
    });
    fix(SheetRange::cell(1, 1));
    EXPECT_TRUE(checked);
    EXPECT_FALSE(t.app().form<frmErrDisp>().isLoaded());
    EXPECT_EQ(t.app().form<frmErrDisp>().List1->count(), 0);
}

}  // namespace
