#include "controls/flex_grid.h"
#include "controls/tab_strip.h"
#include "controls/text_box.h"

#include <QAbstractItemModelTester>
#include <QPlainTextEdit>
#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(FlexGrid, HiddenColumnsAlignmentColoursAsBgrAndSelectionAsTheClassicGridHasThem) {
    FlexGrid g;
    QAbstractItemModelTester tester(&g.grid(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    g.setCols(7);
    g.setRows(4);
    g.setColWidth(4, 0);
    EXPECT_TRUE(g.isColumnHidden(4));
    g.setColAlignment(0, 4);  // the classic grid's centre
    g.setRow(1);
    g.setCol(2);
    g.setCellBackColor(0xFFC0C0);
    EXPECT_EQ(g.grid().data(g.grid().index(1, 0), Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignCenter);
    EXPECT_EQ(g.grid().data(g.grid().index(1, 2), Qt::BackgroundRole).value<QColor>(), QColor(192, 192, 255));

    g.setCol(0);
    g.setColSel(6);
    EXPECT_EQ(std::make_pair(g.RowSel(), g.ColSel()), std::make_pair(1, 6));
    g.setRow(2);  // a new current cell collapses the selection
    EXPECT_EQ(std::make_pair(g.RowSel(), g.ColSel()), std::make_pair(2, 0));
    g.setRows(2);  // the current cell never points past the grid
    EXPECT_EQ(g.Row(), 1);
}

TEST(TabStrip, SelectingRaisesClickAndReportsTheClientArea) {
    QWidget parent;
    TabStrip t(&parent);
    t.addTab(QStringLiteral("VB定義変数"));
    t.addTab(QStringLiteral("Ｊ 定義変数"));
    placeTwips(&t, 0, 0, 2655, 4335);
    QSignalSpy clicks(&t, &TabStrip::Click);
    t.setSelectedIndex(2);
    EXPECT_EQ(t.SelectedIndex(), 2);
    t.setSelectedIndex(2);  // selecting the chosen tab again still raises Click
    EXPECT_EQ(clicks.count(), 2);
    t.setSelectedIndex(3);  // no such tab
    EXPECT_EQ(t.SelectedIndex(), 2);
    EXPECT_GE(t.ClientTop(), 360);  // the client area lies below the tabs
}

TEST(TextBox, KeepsCrLfAndCountsIt) {
    TextBox log(TextBox::Mode::MultiLine);
    log.setText(QStringLiteral("ab\r\ncd\r\n"));
    auto* editor = static_cast<QPlainTextEdit*>(log.editor());
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("ab\ncd\n"));
    log.setSelStart(4);  // just after the first CR LF: the c
    log.setSelLength(2);
    EXPECT_EQ(log.SelText(), QStringLiteral("cd"));
    // What the user types is kept with CR LF too.
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(QStringLiteral("g\nh"));
    EXPECT_EQ(log.Text(), QStringLiteral("ab\r\ncd\r\ng\r\nh"));
}
