#include "app/frmjmain.h"
#include "controls/flex_grid.h"
#include "controls/sheet_widget.h"
#include "controls/tab_strip.h"
#include "controls/text_box.h"
#include "eval/var_list_grids.h"
#include "jlink/jvar_list.h"
#include "support/test_app.h"
#include "viewers/frmmatrixdisp.h"
#include "viewers/frmmatrixdisp2.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kSilver = 0xC0C0C0;

class VarListGridsTest : public ::testing::Test {
protected:
    void SetUp() override {
        main = &t.showMain();
        sheet = main->findChild<SheetWidget*>(QStringLiteral("Spreadsheet1"));
        grid1 = main->findChild<FlexGrid*>(QStringLiteral("MSFlexGrid1"));
        grid2 = main->findChild<FlexGrid*>(QStringLiteral("MSFlexGrid2"));
        ASSERT_TRUE(sheet && grid1 && grid2);
        main->varLists->showPopup = [this](QMenu& m) { popups.append(m.objectName()); };
    }

    // Fixes a range filled with base, base+1, ... row by row.
    void fix(const SheetRange& r, double base) {
        for (int row = r.row1; row <= r.row2; ++row)
            for (int col = r.col1; col <= r.col2; ++col) sheet->setValue(row, col, base++);
        sheet->select(r);
        main->findChild<QAction*>(QStringLiteral("行列確定"))->trigger();
    }

    // A real mouse press and release on a grid row, as the user makes it.
    void click(FlexGrid* g, int row, Qt::MouseButton button = Qt::LeftButton) {
        const QModelIndex i = g->grid().index(row, 0);
        if (row == 0)
            g->scrollToTop();
        else
            g->scrollTo(i);
        QTest::mouseClick(g->viewport(), button, {}, g->visualRect(i).center());
    }

    std::optional<SheetModel::Border> border(int row, int col) { return sheet->model().border(row, col); }
    bool outlined(const SheetRange& r, int style, std::uint32_t colour) {
        for (int row = r.row1; row <= r.row2; ++row)
            for (int col = r.col1; col <= r.col2; ++col) {
                const auto b = border(row, col);
                if (!b || b->lineStyle != style || vbColorNumber(b->color) != colour) return false;
            }
        return true;
    }

    TestApp t;
    frmjMain* main = nullptr;
    SheetWidget* sheet = nullptr;
    FlexGrid* grid1 = nullptr;
    FlexGrid* grid2 = nullptr;
    QStringList popups;
};

bool inFront(QWidget* frame, QWidget* grid) {
    QWidget* top = frame->childAt(frame->rect().center());
    return top && (top == grid || grid->isAncestorOf(top));
}

TEST_F(VarListGridsTest, TheTabsBringTheirListToTheFront) {
    QWidget* frame3 = main->findChild<QWidget*>(QStringLiteral("Frame3"));
    auto* tabs = main->findChild<TabStrip*>(QStringLiteral("TabStrip2"));
    tabs->setSelectedIndex(1);
    EXPECT_TRUE(inFront(frame3, grid1));
    tabs->setSelectedIndex(2);
    EXPECT_TRUE(inFront(frame3, grid2));
    // The sheet page shows the fixed-matrix list, the expression page the J list.
    main->findChild<TabStrip*>(QStringLiteral("TabStrip1"))->setSelectedIndex(2);
    EXPECT_EQ(tabs->SelectedIndex(), 1);
    EXPECT_TRUE(inFront(frame3, grid1));
    main->findChild<TabStrip*>(QStringLiteral("TabStrip1"))->setSelectedIndex(1);
    EXPECT_TRUE(inFront(frame3, grid2));
}

TEST_F(VarListGridsTest, ClickingAFixedRowMovesTheBlueOutline) {
    const SheetRange a{2, 2, 3, 3}, b{5, 5, 6, 6};
    fix(a, 1);
    fix(b, 10);
    sheet->select(SheetRange::cell(9, 9));

    click(grid1, 1);
    EXPECT_TRUE(outlined(SheetRange::cell(1, 1), 1, kSilver));  // the first click greys A1
    EXPECT_TRUE(outlined(a, 2, vbColorNumber(QColor(Qt::blue))));
    EXPECT_EQ(main->HighlightRange, a);
    EXPECT_EQ(main->PrevSelection, SheetRange::cell(9, 9));
    EXPECT_EQ(sheet->selection(), a);
    EXPECT_EQ(t.app().fixed.FixedCurrent, 1);
    EXPECT_TRUE(sheet->screenUpdating());

    click(grid1, 2);
    EXPECT_TRUE(outlined(a, 1, kSilver));
    EXPECT_TRUE(outlined(b, 2, vbColorNumber(QColor(Qt::blue))));
    EXPECT_EQ(t.app().fixed.FixedCurrent, 2);

    // The header or a free slot only takes the outline away.
    for (int row : {0, 5, 26}) {
        click(grid1, 2);
        ASSERT_TRUE(outlined(b, 2, vbColorNumber(QColor(Qt::blue))));
        sheet->select(SheetRange::cell(20, 1));
        click(grid1, row);
        EXPECT_TRUE(outlined(b, 1, kSilver)) << row;
        EXPECT_EQ(t.app().fixed.FixedCurrent, 2) << row;
        EXPECT_EQ(sheet->selection(), SheetRange::cell(20, 1)) << row;
    }
}

TEST_F(VarListGridsTest, RightPressOpensTheFixedPopUpOnlyOnFixedRows) {
    click(grid1, 1, Qt::RightButton);
    EXPECT_TRUE(popups.isEmpty());  // nothing fixed yet

    fix({1, 1, 1, 1}, 1);
    fix({2, 1, 2, 1}, 2);
    fix({3, 1, 3, 1}, 3);
    for (int row : {1, 2, 3}) {
        popups.clear();
        click(grid1, row, Qt::RightButton);
        EXPECT_EQ(popups, QStringList{QStringLiteral("PopUp0")}) << row;
        EXPECT_EQ(t.app().fixed.FixedCurrent, row);
    }
    popups.clear();
    for (int row : {0, 4, 26}) click(grid1, row, Qt::RightButton);
    click(grid1, 2, Qt::LeftButton);
    EXPECT_TRUE(popups.isEmpty());
    EXPECT_EQ(t.app().fixed.FixedCurrent, 2);  // from the left click's outline
}

TEST_F(VarListGridsTest, ClickingAJNameCopiesIt) {
    fix({1, 1, 2, 2}, 1);
    ASSERT_EQ(grid2->TextMatrix(1, 0), QStringLiteral("J_A"));
    main->Text1->setText(QStringLiteral("+/ J_B"));
    click(grid2, 1);
    EXPECT_EQ(t.clipboard.text(), QStringLiteral("J_A"));
    EXPECT_EQ(grid2->ToolTipText(), QStringLiteral("J_A がコピーされました。"));
    EXPECT_EQ(main->Text1->Text(), QStringLiteral("+/ J_B"));

    const int writes = t.clipboard.writes;
    click(grid2, 0);
    EXPECT_EQ(t.clipboard.writes, writes);
}

TEST_F(VarListGridsTest, ThePopUpItemsOpenTheViewersModally) {
    auto* popUp0 = main->findChild<QMenu*>(QStringLiteral("PopUp0"));
    auto* popUp1 = main->findChild<QMenu*>(QStringLiteral("PopUp1"));
    ASSERT_TRUE(popUp0 && popUp1);
    EXPECT_EQ(main->PopUp0, popUp0);
    EXPECT_EQ(main->PopUp1, popUp1);
    QAction* vb = popUp0->findChild<QAction*>(QStringLiteral("mnuPopUpVBdisp"));
    QAction* j = popUp1->findChild<QAction*>(QStringLiteral("mnuPopUpJDisp"));
    ASSERT_TRUE(vb && j);
    EXPECT_EQ(vb->text(), QStringLiteral("VB定義変数表示"));
    EXPECT_EQ(j->text(), QStringLiteral("J 定義変数表示"));

    fix({1, 1, 1, 1}, 7);
    fix({3, 2, 4, 3}, 1);
    click(grid1, 2, Qt::RightButton);
    QString name, size;
    double first = 0;
    bool modal = false;
    runOnNextModal([&](QWidget* w) {
        auto* v = qobject_cast<frmMatrixDisp*>(w);
        ASSERT_TRUE(v);
        modal = v->isModal();
        name = v->Spreadsheet1->text(1, 2);
        size = v->Spreadsheet1->text(3, 2);
        first = std::get<double>(v->Spreadsheet1->value(6, 1));
        v->Unload();
    });
    vb->trigger();
    EXPECT_TRUE(modal);
    EXPECT_EQ(name, QStringLiteral("VB_B"));
    EXPECT_EQ(size, QStringLiteral("[2,2]"));
    EXPECT_EQ(first, 1.0);

    // A J atom, listed by an evaluation's refresh, in the J viewer.
    ASSERT_EQ(t.app().J().Do(QStringLiteral("n42=: 42")), 0);
    main->jvarList->RefreshFromJ(false);
    int row = 0;
    for (int r = 1; r < grid2->Rows(); ++r)
        if (grid2->TextMatrix(r, 0) == QStringLiteral("n42")) row = r;
    ASSERT_GT(row, 0);
    popups.clear();
    click(grid2, row, Qt::RightButton);
    EXPECT_EQ(popups, QStringList{QStringLiteral("PopUp1")});
    EXPECT_EQ(t.app().jvars.JCurrent, row);
    runOnNextModal([&](QWidget* w) {
        auto* v = qobject_cast<frmMatrixDisp2*>(w);
        ASSERT_TRUE(v);
        name = v->Spreadsheet1->text(1, 2);
        size = v->Spreadsheet1->text(3, 2);
        first = std::get<double>(v->Spreadsheet1->value(6, 1));
        v->Unload();
    });
    j->trigger();
    EXPECT_EQ(name, QStringLiteral("n42"));
    EXPECT_EQ(size, QStringLiteral("2 文字"));
    EXPECT_EQ(first, 42.0);

    // The header row and rows past the list open nothing.
    popups.clear();
    click(grid2, 0, Qt::RightButton);
    EXPECT_TRUE(popups.isEmpty());
}

}  // namespace
