#include "controls/flex_grid.h"
#include "controls/tab_strip.h"
#include "controls/text_box.h"

#include <QAbstractItemModelTester>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

TEST(FlexGrid, RowsColsTextsAndItems) {
    FlexGrid g;
    QAbstractItemModelTester tester(&g.grid(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    g.setCols(3);
    g.setRows(1);
    g.setTextMatrix(0, 0, QStringLiteral("変数"));
    g.AddItem(QStringLiteral("a\t(3)\t[長整数型]"));
    g.AddItem(QStringLiteral("b\t\tx"));
    g.AddItem(QStringLiteral("c"));
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.TextMatrix(1, 1), QStringLiteral("(3)"));
    EXPECT_EQ(g.TextMatrix(2, 2), QStringLiteral("x"));
    EXPECT_EQ(g.TextMatrix(3, 1), QString());
    g.RemoveItem(2);
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.TextMatrix(2, 0), QStringLiteral("c"));
    g.Clear();
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.TextMatrix(1, 0), QString());
    g.setRows(1);  // shrinking keeps the header and drops the rest
    EXPECT_EQ(g.Rows(), 1);
    EXPECT_EQ(g.TextMatrix(5, 5), QString());  // out of range reads nothing
}

TEST(FlexGrid, WidthsInTwipsColoursAsBgrAndSelectionAsTheClassicGridHasThem) {
    FlexGrid g;
    g.setCols(7);
    g.setRows(4);
    g.setColWidth(4, 0);
    EXPECT_TRUE(g.isColumnHidden(4));
    g.setColWidth(1, 1500);
    EXPECT_EQ(g.columnWidth(1), 100);
    g.setColAlignment(0, 4);
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

TEST(FlexGrid, MergeRowJoinsEqualNeighbours) {
    FlexGrid g;
    g.setCols(8);
    g.setRows(2);
    g.setFixedRows(2);
    g.setMergeRow(0, true);
    const char* heads[] = {"", "中国語", "中国語", "日本語", "日本語", "英語", "備考", "備考"};
    for (int c = 0; c < 8; ++c) g.setTextMatrix(0, c, QString::fromUtf8(heads[c]));
    EXPECT_EQ((std::array{g.columnSpan(0, 1), g.columnSpan(0, 3), g.columnSpan(0, 5), g.columnSpan(0, 6),
                          g.columnSpan(1, 1)}),
              (std::array{2, 2, 1, 2, 1}));
    g.setTextMatrix(0, 2, QStringLiteral("x"));
    EXPECT_EQ(g.columnSpan(0, 1), 1);
}

TEST(FlexGrid, MouseEventsArriveWithTheCurrentCellSet) {
    FlexGrid g;
    g.setCols(3);
    g.setRows(5);
    g.resize(300, 200);
    g.show();
    int rowAtDown = -1, buttonAtDown = 0, clicks = 0;
    QObject::connect(&g, &FlexGrid::MouseDown, [&](int button, int, int, int) {
        rowAtDown = g.Row();
        buttonAtDown = button;
    });
    QObject::connect(&g, &FlexGrid::Click, [&] { ++clicks; });
    const QRect r = g.visualRect(g.grid().index(3, 1));
    QTest::mouseClick(g.viewport(), Qt::RightButton, {}, r.center());
    EXPECT_EQ((std::array{rowAtDown, buttonAtDown, clicks}),
              (std::array{3, 2, 0}));  // a right press is no click
    const QRect r2 = g.visualRect(g.grid().index(2, 2));
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, r2.center());
    EXPECT_EQ((std::array{g.Row(), g.Col(), clicks}), (std::array{2, 2, 1}));
}

TEST(FlexGrid, HeaderBordersDragWhenAllowedAndCutCellsShowTheirWholeText) {
    FlexGrid g;
    g.setCols(3);
    g.setRows(3);
    g.setFixedRows(1);
    for (int c = 0; c < 3; ++c) g.setColWidth(c, 600);  // 40 pixels
    g.resize(300, 150);
    g.show();
    QWidget* header = g.findChild<QTableView*>()->viewport();  // the header rows
    int downs = 0;
    QObject::connect(&g, &FlexGrid::MouseDown, [&](int, int, int, int) { ++downs; });
    auto drag = [&](int from, int to) {
        const int y = g.rowHeight(0) / 2;
        QTest::mousePress(header, Qt::LeftButton, {}, QPoint(from, y));
        QTest::mouseMove(header, QPoint(to, y));
        QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(to, y));
        return std::array{g.columnWidth(0), g.columnWidth(1), g.columnWidth(2)};
    };
    EXPECT_EQ(drag(40, 100), (std::array{40, 40, 40}));  // not allowed: a press in a header cell
    EXPECT_EQ(downs, 1);
    g.setAllowUserResizing(true);
    EXPECT_EQ(drag(41, 100), (std::array{99, 40, 40}));  // a few pixels off the border still grips
    EXPECT_EQ(g.ColWidth(0), 99 * 15);
    EXPECT_EQ(drag(139, 120), (std::array{99, 21, 40}));
    EXPECT_EQ(drag(60, 90), (std::array{99, 21, 40}));  // inside a cell: no border
    g.setTextMatrix(0, 1, QStringLiteral("語"));
    g.setTextMatrix(0, 2, QStringLiteral("語"));
    g.setMergeRow(0, true);
    EXPECT_EQ(drag(120, 130), (std::array{99, 21, 40}));  // nor between merged cells
    EXPECT_EQ(downs, 3);
    EXPECT_EQ((std::array{g.ColWidthSetByUser(0), g.ColWidthSetByUser(1), g.ColWidthSetByUser(2)}),
              (std::array{true, true, false}));

    const QString longText = QStringLiteral("a rather long English term\r\nwith a second line");
    g.setTextMatrix(1, 2, longText);
    g.setTextMatrix(1, 0, QStringLiteral("ab"));
    g.setTextMatrix(0, 2, QStringLiteral("英語の語、長い見出し"));
    EXPECT_EQ(g.cutCellText(1, 2), longText);
    EXPECT_EQ(g.cutCellText(1, 0), QString());
    EXPECT_EQ(g.cutCellText(0, 2), QStringLiteral("英語の語、長い見出し"));
    g.setColWidth(2, 0);  // hidden
    EXPECT_EQ(g.cutCellText(1, 2), QString());
    g.setTextMatrix(1, 2, QStringLiteral("a rather long English term"));
    g.setColWidth(2, 6000);
    EXPECT_EQ(g.cutCellText(1, 2), QString());
    g.setColWidth(2, 600);
    // Hovering shows the whole text of a cut cell.
    const QPoint at = g.visualRect(g.grid().index(1, 2)).center();
    QHelpEvent tip(QEvent::ToolTip, at, g.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(g.viewport(), &tip);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("a rather long English term"));
}

TEST(TabStrip, SelectingRaisesClickAndReportsTheClientArea) {
    QWidget parent;
    TabStrip t(&parent);
    t.addTab(QStringLiteral("VB定義変数"));
    t.addTab(QStringLiteral("Ｊ 定義変数"));
    placeTwips(&t, 6120, 0, 2655, 4335);
    QSignalSpy clicks(&t, &TabStrip::Click);
    t.setSelectedIndex(2);
    EXPECT_EQ(t.SelectedIndex(), 2);
    t.setSelectedIndex(2);  // selecting the chosen tab again still raises Click
    EXPECT_EQ(clicks.count(), 2);
    t.setSelectedIndex(3);  // no such tab
    EXPECT_EQ(t.SelectedIndex(), 2);
    // The client area lies inside the border and below the tabs.
    EXPECT_EQ(t.ClientLeft(), 6120 + 120);
    EXPECT_GE(t.ClientTop(), 360);
    EXPECT_EQ(t.ClientWidth(), 2655 - 240);
    EXPECT_EQ(t.ClientTop() + t.ClientHeight(), 4335 - 120);
}

TEST(TextBox, KeepsCrLfAndCountsIt) {
    TextBox log(TextBox::Mode::MultiLine);
    log.setText(QStringLiteral("ab\r\ncd\r\n"));
    EXPECT_EQ(log.Text(), QStringLiteral("ab\r\ncd\r\n"));
    auto* editor = static_cast<QPlainTextEdit*>(log.editor());
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("ab\ncd\n"));
    log.appendText(QStringLiteral("ef\r\n"));
    EXPECT_EQ(log.Text(), QStringLiteral("ab\r\ncd\r\nef\r\n"));
    log.setSelStart(4);  // just after the first CR LF: the c
    log.setSelLength(2);
    EXPECT_EQ(log.SelStart(), 4);
    EXPECT_EQ(log.SelText(), QStringLiteral("cd"));
    log.setSelStart(static_cast<int>(log.Text().size()));
    EXPECT_EQ(std::make_pair(log.SelStart(), log.SelLength()), std::make_pair(12, 0));
    // What the user types is kept with CR LF too.
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(QStringLiteral("g\nh"));
    EXPECT_EQ(log.Text(), QStringLiteral("ab\r\ncd\r\nef\r\ng\r\nh"));
}
