#include "base/fonts.h"
#include "base/vb_units.h"
#include "controls/flex_grid.h"
#include "controls/tab_strip.h"
#include "controls/text_box.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>

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
    EXPECT_EQ(drag(139, 120), (std::array{99, 21, 40}));
    EXPECT_EQ(drag(60, 90), (std::array{99, 21, 40}));  // inside a cell: no border
    g.setTextMatrix(0, 1, QStringLiteral("語"));
    g.setTextMatrix(0, 2, QStringLiteral("語"));
    g.setMergeRow(0, true);
    EXPECT_EQ(drag(120, 130), (std::array{99, 21, 40}));  // nor between merged cells
    EXPECT_EQ(downs, 3);
    EXPECT_EQ((std::array{g.ColWidthSetByUser(0), g.ColWidthSetByUser(1), g.ColWidthSetByUser(2)}),
              (std::array{true, true, false}));

    // A cell or header too narrow for its text gives the whole text, which hovering shows.
    g.setTextMatrix(1, 2, QStringLiteral("a rather long English term"));
    g.setTextMatrix(1, 0, QStringLiteral("ab"));
    g.setTextMatrix(0, 2, QStringLiteral("英語の語、長い見出し"));
    EXPECT_EQ(g.cutCellText(1, 0) + "|" + g.cutCellText(0, 2), QStringLiteral("|英語の語、長い見出し"));
    const QPoint at = g.visualRect(g.grid().index(1, 2)).center();
    QHelpEvent tip(QEvent::ToolTip, at, g.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(g.viewport(), &tip);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("a rather long English term"));
    g.setColWidth(2, 0);  // hidden
    EXPECT_EQ(g.cutCellText(1, 2), QString());
}

TEST(TabStrip, SelectingRaisesClickAndReportsTheClientArea) {
    QWidget parent;
    TabStrip t(&parent);
    t.addTab(QStringLiteral("VB定義変数"));
    t.addTab(QStringLiteral("Ｊ 定義変数"));
    QSignalSpy clicks(&t, &TabStrip::Click);
    t.setSelectedIndex(2);
    t.setSelectedIndex(2);  // selecting the chosen tab again still raises Click
    EXPECT_EQ(clicks.count(), 2);
    t.setSelectedIndex(3);  // no such tab
    EXPECT_EQ(t.SelectedIndex(), 2);
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

    // J's box lines take a letter's width, as J counts them, so boxes line up.
    registerFontSubstitutions();
    log.setFontName(QStringLiteral("ＭＳ ゴシック"), 9);
    log.setText(QString::fromUtf8("┌──┬─┐\r\n│ab│c│\r\n"));
    log.show();
    QApplication::processEvents();
    const QTextDocument& doc = *editor->document();
    const auto width = [&](int block) {
        return doc.findBlockByNumber(block).layout()->lineAt(0).naturalTextWidth();
    };
    EXPECT_GT(width(0), 0);
    EXPECT_EQ(width(0), width(1));
}

// J writes _1 and _. With the program's fonts the underscore must lie inside its line, with a
// clear pixel row under it (the IPA fonts put it on the last row, against the next line), and
// below the letters, in each box and size the windows use: logs, expression and console boxes.
TEST(TextBox, UnderscoresLieInsideTheirLineBelowTheLetters) {
    const QFont appFont = QApplication::font();
    registerFontSubstitutions();
    const QString line = QStringLiteral("_1 _ a_b 日本語");
    QString noUnderscores = line, japaneseOnly = line;  // the font is fixed-pitch: nothing moves
    noUnderscores.replace(u'_', u' ');
    for (QChar& c : japaneseOnly)
        if (c.unicode() < 0x80) c = u' ';
    const std::tuple<TextBox::Mode, int, int> cases[] = {{TextBox::Mode::MultiLine, 9, 1695},
                                                         {TextBox::Mode::MultiLine, 10, 2895},
                                                         {TextBox::Mode::SingleLine, 9, 255},
                                                         {TextBox::Mode::SingleLine, 10, 270}};
    for (const auto& [mode, points, height] : cases) {
        QWidget window;  // as in a window: a box keeps the height it is placed at
        TextBox box(mode, &window);
        box.setFontName(QStringLiteral("ＭＳ ゴシック"), points);
        placeTwips(&box, 0, 0, 4000, height);
        window.show();
        auto* plain = qobject_cast<QPlainTextEdit*>(box.editor());
        QWidget* surface = plain ? plain->viewport() : box.editor();
        const QString next = plain ? "\r\n" + line : QString();  // a line below, to run into
        // The first and last pixel rows where the first line of a and of b are drawn differently.
        const auto rows = [&](const QString& a, const QString& b) {
            box.setText(a + next);
            const QImage x = surface->grab().toImage();
            box.setText(b + next);
            const QImage y = surface->grab().toImage();
            int first = x.height(), last = -1;
            for (int r = 0; r < x.height(); ++r)
                for (int c = 0; c < x.width(); ++c)
                    if (std::abs(qGray(x.pixel(c, r)) - qGray(y.pixel(c, r))) > 48) {
                        first = std::min(first, r);
                        last = r;
                    }
            return std::pair{first, last};
        };
        const auto [underscoreTop, underscoreBottom] = rows(line, noUnderscores);
        const int lettersBottom = rows(noUnderscores, japaneseOnly).second;
        // The line's box: down to the next line's top, or the inside of a single-line box.
        const int frame = box.editor()->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const int top = plain ? plain->cursorRect(QTextCursor(plain->document()->firstBlock())).top() : frame;
        const int bottom = plain ? plain->cursorRect(QTextCursor(plain->document()->lastBlock())).top()
                                 : box.editor()->height() - frame;
        SCOPED_TRACE(testing::Message() << (plain ? "log " : "box ") << points << " pt");
        EXPECT_LE(underscoreTop, underscoreBottom);  // drawn, not cut off
        EXPECT_GE(underscoreTop, top);
        EXPECT_LT(underscoreBottom, bottom - 1);  // not on the line's last row
        EXPECT_GT(underscoreTop, lettersBottom);
    }
    QApplication::setFont(appFont);
}
