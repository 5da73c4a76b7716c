#include "base/sheet_address.h"
#include "base/vb_units.h"
#include "controls/sheet_model.h"
#include "controls/sheet_widget.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

TEST(SheetAddress, RoundTripsAndRefusals) {
    struct Case {
        const char* text;
        int row, col;
    };
    for (const Case& c : {Case{"A1", 1, 1}, Case{"Z1", 1, 26}, Case{"AA1", 1, 27},
                          Case{"IV65536", 65536, 256}, Case{"B12", 12, 2}}) {
        auto cell = sheet::parseCell(QString::fromLatin1(c.text));
        ASSERT_TRUE(cell) << c.text;
        EXPECT_EQ(cell->row, c.row) << c.text;
        EXPECT_EQ(cell->col, c.col) << c.text;
        EXPECT_EQ(sheet::cellAddress(c.row, c.col), QString::fromLatin1(c.text));
    }
    // Absolute and lower-case forms name the same cell.
    EXPECT_EQ(sheet::parseCell(u"$b$2"), (SheetCell{2, 2}));
    for (const char* bad :
         {"A0", "IW1", "A65537", "", "A", "1", "A1 ", " A1", "A01", "AAA1", "A-1", "Ａ1", "A1B"})
        EXPECT_FALSE(sheet::parseCell(QString::fromUtf8(bad))) << bad;
}

TEST(SheetAddress, RangesNormaliseTheirCorners) {
    auto r = sheet::parseRange(u"C4:B2");
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, (SheetRange{2, 2, 4, 3}));
    EXPECT_EQ(r->address() + QString(" %1x%2").arg(r->rows()).arg(r->cols()), QStringLiteral("B2:C4 3x2"));
    EXPECT_EQ(sheet::parseRange(u"D7")->address(), QStringLiteral("D7"));
    EXPECT_FALSE(sheet::parseRange(u"B2:") || sheet::parseRange(u"B2:C0"));
    EXPECT_EQ(SheetRange::whole().address(), QStringLiteral("A1:IV65536"));
}

TEST(SheetModel, TypedInputSparseStorageAndFills) {
    SheetModel m;
    for (const char* text : {"12.5", " -1e5 "})
        EXPECT_TRUE(std::holds_alternative<double>(SheetModel::parseInput(QString::fromLatin1(text))))
            << text;
    for (const char* text : {"abc", "1,000", "inf", "nan", "0x10", "1.2.3", "J/1+2"})
        EXPECT_TRUE(std::holds_alternative<QString>(SheetModel::parseInput(QString::fromLatin1(text))))
            << text;
    EXPECT_TRUE(std::holds_alternative<std::monostate>(SheetModel::parseInput(QString())));

    // What the user types goes through setData; the program writes with setValue.
    ASSERT_TRUE(m.setData(m.index(0, 0), QStringLiteral("12.5"), Qt::EditRole));
    EXPECT_EQ(std::get<double>(m.value(1, 1)), 12.5);
    m.setValue(65536, 256, QStringLiteral("corner"));
    EXPECT_EQ(m.text(65536, 256), QStringLiteral("corner"));
    EXPECT_EQ(m.filledCells(), 2);
    m.setValue(1, 1, std::monostate{});
    m.setValue(0, 1, 1.0);  // outside the sheet: ignored
    m.setValue(1, 257, 1.0);
    EXPECT_EQ(m.filledCells(), 1);
    m.setValue(2, 2, 1e20);
    EXPECT_EQ(m.text(2, 2), QStringLiteral("1E+20"));
    m.clearValues(SheetRange::whole());
    EXPECT_EQ(m.filledCells(), 0);

    m.setFill({2, 2, 4, 3}, 12648447);
    EXPECT_EQ(std::make_pair(m.fill(3, 3), m.fill(5, 3)),
              std::make_pair(12648447u, SheetModel::kDefaultFill));
    m.setFill(SheetRange::whole(), SheetModel::kDefaultFill);  // released: everything back to the default
    EXPECT_EQ(m.fill(3, 3), SheetModel::kDefaultFill);
    m.setBorders({1, 1, 2, 2}, 1, vbColor(0xC0C0C0u));
    m.setBorders({2, 2, 3, 3}, 2, QColor(Qt::blue));  // the later border wins where they meet
    EXPECT_EQ(m.border(1, 1)->lineStyle, 1);
    EXPECT_EQ(std::make_pair(m.border(2, 2)->lineStyle, m.border(2, 2)->color),
              std::make_pair(2, QColor(Qt::blue)));
    EXPECT_FALSE(m.border(4, 4));
}

TEST(SheetModel, ScreenUpdatingBatchesChanges) {
    SheetModel m;
    QSignalSpy spy(&m, &QAbstractItemModel::dataChanged);
    m.setScreenUpdating(false);
    for (int r = 1; r <= 100; ++r) m.setValue(r, 3, static_cast<double>(r));
    m.setFill({1, 1, 2, 2}, 255);
    EXPECT_EQ(spy.count(), 0);
    m.setScreenUpdating(true);
    ASSERT_EQ(spy.count(), 1);
    const auto tl = spy[0][0].value<QModelIndex>(), br = spy[0][1].value<QModelIndex>();
    EXPECT_EQ((std::array{tl.row(), tl.column(), br.row(), br.column()}), (std::array{0, 0, 99, 2}));
}

TEST(VbColour, PaletteFlagKeepsTheColourBytes) {
    EXPECT_EQ(vbColor(33603776.0), QColor(192, 192, 0));
    EXPECT_EQ(vbColor(12648447.0), QColor(255, 255, 192));
    EXPECT_EQ(vbColorNumber(QColor(192, 192, 255)), 16761024u);
}

TEST(SheetWidget, SelectionAreasCurrentCellAndCellEvent) {
    SheetWidget w;
    w.resize(600, 400);
    w.show();
    w.select({2, 2, 4, 3});
    EXPECT_EQ(w.selection(), (SheetRange{2, 2, 4, 3}));
    EXPECT_EQ(w.currentCell(), (SheetCell{2, 2}));
    EXPECT_EQ(w.selectionAreas().size(), 1);
    w.selectAll();
    EXPECT_EQ(w.selection(), SheetRange::whole());
    auto* sm = w.view()->selectionModel();
    auto* m = w.view()->model();
    sm->select(QItemSelection(m->index(0, 0), m->index(1, 0)), QItemSelectionModel::ClearAndSelect);
    sm->select(QItemSelection(m->index(2, 0), m->index(3, 0)), QItemSelectionModel::Select);
    EXPECT_EQ(w.selectionAreas().size(), 1);  // A1:A2 and A3:A4 make one rectangle
    sm->select(QItemSelection(m->index(5, 3), m->index(5, 3)), QItemSelectionModel::Select);
    EXPECT_EQ(w.selectionAreas().size(), 2);

    QSignalSpy events(&w, &SheetWidget::cellEvent);
    QTableView* v = w.view();
    const QRect cell = v->visualRect(v->model()->index(2, 1));  // B3
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(events.count(), 1);
    EXPECT_EQ(w.currentCell(), (SheetCell{3, 2}));

    // A typed value that is committed raises the event for the edited cell too.
    QTest::keyClicks(v, QStringLiteral("7"));
    auto* editor = v->findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the view commits an edit from its event queue
    EXPECT_EQ(w.value(3, 2), SheetModel::CellValue(7.0));
    EXPECT_EQ(events.count(), 2);
}
