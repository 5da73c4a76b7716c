#include "eval/var_list_grids.h"
#include "app/frmjmain.h"
#include "controls/flex_grid.h"
#include "controls/sheet_widget.h"
#include "controls/tab_strip.h"
#include "eval/jvar_list.h"
#include "support/test_app.h"

#include <QAction>
#include <QFrame>
#include <QMenu>

#include <gtest/gtest.h>

namespace {

class VarListGridsTest : public ::testing::Test {
protected:
    void SetUp() override {
        main->varLists->showPopup = [this](QMenu& m) { popups << m.objectName(); };
    }
    void fix(const SheetRange& r) { fixRange(*main, r, r.row1 * 10 + r.col1); }
    void click(FlexGrid* g, int row, Qt::MouseButton button = Qt::LeftButton) {
        clickCell(g, row, 0, button);
    }
    // Every cell of r carries this border.
    bool bordered(const SheetRange& r, int style, const QColor& colour) {
        for (int row = r.row1; row <= r.row2; ++row)
            for (int col = r.col1; col <= r.col2; ++col) {
                const auto b = sheet->model().border(row, col);
                if (!b || b->lineStyle != style || b->color != colour) return false;
            }
        return true;
    }

    TestApp t;
    frmjMain* main = &t.showMain();
    SheetWidget* sheet = main->Spreadsheet1;
    FlexGrid* grid1 = main->MSFlexGrid1;
    FlexGrid* grid2 = main->MSFlexGrid2;
    QStringList popups;
};

TEST_F(VarListGridsTest, ClickingAFixedRowMovesTheBlueOutline) {
    const SheetRange a{2, 2, 3, 3}, b{5, 5, 6, 6};
    const QColor silver(0xC0, 0xC0, 0xC0), blue(Qt::blue);
    fix(a);
    fix(b);
    sheet->select(SheetRange::cell(9, 9));
    click(grid1, 1);
    EXPECT_TRUE(bordered(SheetRange::cell(1, 1), 1, silver) &&
                bordered(a, 2, blue));  // the first click greys A1
    EXPECT_EQ(sheet->selection(), a);
    EXPECT_EQ(t.app().fixed.FixedCurrent, 1);

    click(grid1, 2);
    EXPECT_TRUE(bordered(a, 1, silver) && bordered(b, 2, blue));
    // The header or a free slot only takes the outline away.
    for (int row : {0, 3}) {
        click(grid1, 2);
        sheet->select(SheetRange::cell(20, 1));
        click(grid1, row);
        EXPECT_TRUE(bordered(b, 1, silver) && t.app().fixed.FixedCurrent == 2) << row;
        EXPECT_EQ(sheet->selection(), SheetRange::cell(20, 1)) << row;
    }
}

TEST_F(VarListGridsTest, TheTabsBringTheirListForwardWhereRightPressesOpenPopUpsAndClicksCopyJNames) {
    for (auto [tab, grid] : {std::pair{1, grid1}, {2, grid2}}) {
        main->TabStrip2->setSelectedIndex(tab);
        QWidget* top = main->Frame3->childAt(main->Frame3->rect().center());
        EXPECT_TRUE(top == grid || grid->isAncestorOf(top)) << tab;
    }
    click(grid1, 1, Qt::RightButton);  // nothing fixed yet
    fix({1, 1, 1, 1});
    fix({2, 1, 2, 1});
    for (int row : {0, 3, 26}) click(grid1, row, Qt::RightButton);
    click(grid1, 1, Qt::LeftButton);
    EXPECT_TRUE(popups.isEmpty());
    click(grid1, 2, Qt::RightButton);
    EXPECT_EQ(popups, QStringList{QStringLiteral("PopUp0")});
    EXPECT_EQ(t.app().fixed.FixedCurrent, 2);

    ASSERT_EQ(grid2->Rows(), 3);  // J_A and J_B
    click(grid2, 0);              // the header copies nothing
    EXPECT_EQ(t.clipboard.writes, 0);
    click(grid2, 1);
    EXPECT_EQ(t.clipboard.text() + "|" + grid2->ToolTipText(),
              QStringLiteral("J_A|J_A がコピーされました。"));
    popups.clear();
    click(grid2, 0, Qt::RightButton);
    EXPECT_TRUE(popups.isEmpty());
    click(grid2, 2, Qt::RightButton);
    EXPECT_EQ(popups, QStringList{QStringLiteral("PopUp1")});
    EXPECT_EQ(t.app().jvars.JCurrent, 2);
}

TEST_F(VarListGridsTest, ThePopUpItemsOpenTheViewersModally) {
    QAction* vb = main->varLists->PopUp0->findChild<QAction*>(QStringLiteral("mnuPopUpVBdisp"));
    QAction* j = main->varLists->PopUp1->findChild<QAction*>(QStringLiteral("mnuPopUpJDisp"));
    ASSERT_TRUE(vb && j);
    EXPECT_EQ(vb->text() + "|" + j->text(), QStringLiteral("VB定義変数表示|J 定義変数表示"));

    QStringList shown;
    const auto look = [&](QWidget* w) {
        auto* form = qobject_cast<VbForm*>(w);
        SheetWidget* s = w->findChild<SheetWidget*>(QStringLiteral("Spreadsheet1"));
        shown = {w->objectName(), s->text(1, 2), s->text(3, 2), s->text(6, 1)};
        EXPECT_TRUE(w->isModal());
        form->Unload();
    };
    fix({3, 2, 4, 3});
    click(grid1, 1, Qt::RightButton);
    runOnNextModal(look);
    vb->trigger();
    EXPECT_EQ(shown, (QStringList{"frmMatrixDisp", "VB_A", "[2,2]", "32"}));

    // A J atom as an evaluation lists it.
    ASSERT_EQ(t.app().J().Do(QStringLiteral("n42=: 42")), 0);
    main->jvarList->RefreshFromJ(false);
    ASSERT_EQ(grid2->TextMatrix(2, 0), QStringLiteral("n42"));
    click(grid2, 2, Qt::RightButton);
    runOnNextModal(look);
    j->trigger();
    EXPECT_EQ(shown, (QStringList{"frmMatrixDisp2", "n42", "2 文字", "42"}));
}

}  // namespace
