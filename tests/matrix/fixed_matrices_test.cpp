#include "matrix/fixed_matrices.h"
#include "app/frmjmain.h"
#include "controls/flex_grid.h"
#include "controls/sheet_widget.h"
#include "matrix/frmerrdisp.h"
#include "support/test_app.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

// The main window driven through its controls, with the real J engine.
class FixedMatricesTest : public ::testing::Test {
protected:
    void fix(const SheetRange& r, double base = -1) { fixRange(*main, r, base); }
    HostValue j(const QString& name, int expectCode = 0) {
        HostValue v;
        EXPECT_EQ(t.app().J().GetB(name, v), expectCode) << name.toStdString();
        return v;
    }
    std::uint32_t slotColour(int n) { return static_cast<std::uint32_t>(t.app().MatrixColors[n]); }

    TestApp t;
    frmjMain* main = &t.showMain();
    SheetWidget* sheet = main->Spreadsheet1;
    FlexGrid* list = main->MSFlexGrid1;
    QAction* release = main->toolButton(QStringLiteral("行列解除"));
};

TEST_F(FixedMatricesTest, AFixFillsTheSlotTheListTheSheetAndJ) {
    ASSERT_EQ(list->Rows(), 27);
    EXPECT_EQ((QStringList{list->TextMatrix(0, 0), list->TextMatrix(0, 1), list->TextMatrix(26, 0)}),
              (QStringList{QStringLiteral("変数"), QStringLiteral("セル範囲"), QStringLiteral("VB_Z")}));
    EXPECT_EQ(list->grid().cellBackColor(25, 0), slotColour(25));

    fix({2, 2, 4, 3}, 1);
    EXPECT_EQ(t.app().fixed.FixedTable[1].typeText, QStringLiteral("配列, [倍精度浮動小数点数型 (Double)]"));
    EXPECT_TRUE(list->TextMatrix(1, 1) == QStringLiteral("B2:C4(3,2)") && release->isEnabled());
    EXPECT_EQ(sheet->fill(4, 3), slotColour(1));
    EXPECT_EQ(vbColorNumber(sheet->model().border(4, 3)->color), 0xC0C0C0u);
    EXPECT_EQ(sheet->selection(), (SheetRange{2, 2, 4, 3}));

    EXPECT_EQ(j(QStringLiteral("J_A")), HostValue::doubleArray({3, 2}, {1, 2, 3, 4, 5, 6}));

    sheet->setValue(9, 1, 1.0 / 3.0);  // J gets every bit, not the 15 digits the cell shows
    fix(SheetRange::cell(9, 1));
    EXPECT_EQ(*j(QStringLiteral("J_B")).doubles(), std::vector<double>{1.0 / 3.0});
    EXPECT_EQ(list->TextMatrix(2, 1), QStringLiteral("A9(1,1)"));
}

// Slow work shows the progress bar up to the end and hides it again.
TEST_F(FixedMatricesTest, ALongFixShowsItsProgressThenHidesTheBar) {
    QProgressBar* bar = main->ProgressBar1;
    std::int64_t now = 0;  // every look at the clock finds 100 ms gone
    t.app().progress.setClock([&now] { return now += 100; });
    fix({1, 4, 2000, 5}, 1);
    EXPECT_EQ(t.app().fixed.count(), 1);
    EXPECT_TRUE(bar->isHidden() && bar->value() == 100 && !t.app().progress.busy());
}

// Several areas, then a 27th matrix: each refused with its message, nothing fixed.
TEST_F(FixedMatricesTest, RefusedSelectionsChangeNothing) {
    sheet->select({1, 1, 2, 2});
    sheet->view()->selectionModel()->select(
        QItemSelection(sheet->model().index(4, 4), sheet->model().index(5, 5)), QItemSelectionModel::Select);
    main->toolButton(QStringLiteral("行列確定"))->trigger();
    EXPECT_EQ(t.msgBox.lastPrompt(), kSeveralAreas);
    EXPECT_EQ(t.app().fixed.count(), 0);

    for (int n = 1; n <= 27; ++n) fix(SheetRange::cell(n, 1), n);
    EXPECT_EQ(t.app().fixed.count(), 26);
    EXPECT_EQ(*j(QStringLiteral("J_Z")).doubles(), std::vector<double>{26});
    ASSERT_EQ(t.msgBox.calls.size(), 2u);
    EXPECT_EQ(t.msgBox.lastPrompt(), kTooManyMatrices);
    EXPECT_EQ(t.msgBox.calls.back().buttons, mb::Exclamation);
    EXPECT_EQ(sheet->fill(27, 1), SheetModel::kDefaultFill);
}

TEST_F(FixedMatricesTest, ARefusedCellShowsTheErrorWindowAndFixesNothing) {
    sheet->setValue(1, 1, QStringLiteral("1.2.3"));
    sheet->setValue(2, 2, QStringLiteral("   "));
    QStringList lines;
    runOnNextModal([&](QWidget* w) {
        auto* e = qobject_cast<frmErrDisp*>(w);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->windowTitle(), QStringLiteral("Kalvoret Error Check"));
        EXPECT_TRUE(e->parentWidget() == main && e->isModal());
        lines = e->lines();
        e->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    });
    fix({1, 1, 2, 2});
    ASSERT_EQ(lines.size(), 6 + 4);  // the header, then one line per refused cell
    EXPECT_EQ(lines[6], QStringLiteral("E-02(1,1) = \"1.2.3\""));
    EXPECT_TRUE(t.app().fixed.count() == 0 && list->TextMatrix(1, 1).isEmpty());
    EXPECT_EQ(sheet->fill(1, 1), SheetModel::kDefaultFill);
    EXPECT_EQ(sheet->selection(), (SheetRange{1, 1, 2, 2}));
    j(QStringLiteral("J_A"), 16);
    EXPECT_EQ(t.app().form<frmErrDisp>().List1->count(), 0);  // unloading discarded the run

    fix({1, 1, 2, 2}, 5);  // mended, the same selection takes the same slot
    EXPECT_EQ(t.app().fixed.FixedTable[1].name, QStringLiteral("VB_A"));
}

TEST_F(FixedMatricesTest, ReleaseAfterYesFreesEverySlotAndNumberingRestarts) {
    fix({1, 1, 2, 2}, 1);
    fix({4, 4, 4, 5}, 100);
    t.msgBox.answer(mb::No);
    release->trigger();
    EXPECT_EQ(t.app().fixed.count(), 2);

    t.msgBox.answer(mb::Yes);
    release->trigger();
    EXPECT_EQ(t.app().fixed.count(), 0);
    for (int n = 1; n <= 26; ++n) EXPECT_TRUE(list->TextMatrix(n, 1).isEmpty()) << n;
    EXPECT_EQ(list->grid().cellBackColor(2, 0), slotColour(2));
    EXPECT_FALSE(release->isEnabled() || main->MSFlexGrid2->Rows() != 1);
    EXPECT_EQ(sheet->fill(4, 5), SheetModel::kDefaultFill);
    EXPECT_EQ(*j(QStringLiteral("J_B")).doubles(), (std::vector<double>{100, 101}));  // J keeps its nouns

    fix({4, 4, 4, 5});
    EXPECT_EQ(t.app().fixed.FixedTable[1].name, QStringLiteral("VB_A"));
    EXPECT_EQ(*j(QStringLiteral("J_A")).doubles(), (std::vector<double>{100, 101}));
}

}  // namespace
