#include "base/sheet_address.h"
#include "base/vb_units.h"
#include "controls/sheet_model.h"
#include "controls/sheet_widget.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

// Fixed matrices record their range by address and read it back.
TEST(SheetAddress, CellsAndRangesRoundTripAndRangesNormaliseTheirCorners) {
    const std::tuple<const char*, int, int> cells[] = {
        {"A1", 1, 1}, {"Z1", 1, 26}, {"AA1", 1, 27}, {"IV65536", 65536, 256}, {"B12", 12, 2}};
    for (const auto& [text, row, col] : cells) {
        EXPECT_EQ(sheet::parseCell(QString::fromLatin1(text)), (SheetCell{row, col})) << text;
        EXPECT_EQ(sheet::cellAddress(row, col), QString::fromLatin1(text));
    }
    auto r = sheet::parseRange(u"C4:B2");
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, (SheetRange{2, 2, 4, 3}));
    EXPECT_EQ(r->address() + QString(" %1x%2").arg(r->rows()).arg(r->cols()), QStringLiteral("B2:C4 3x2"));
    EXPECT_EQ(sheet::parseRange(u"D7")->address(), QStringLiteral("D7"));
    EXPECT_EQ(SheetRange::whole().address(), QStringLiteral("A1:IV65536"));
}

TEST(SheetModel, TypedInputSparseStorageAndBorders) {
    // Typed text becomes a number (1), a text (2) or nothing (0).
    const std::pair<const char*, std::size_t> inputs[] = {
        {"12.5", 1}, {" -1e5 ", 1}, {"", 0},     {"abc", 2},   {"1,000", 2},
        {"inf", 2},  {"nan", 2},    {"0x10", 2}, {"1.2.3", 2}, {"J/1+2", 2},
    };
    for (const auto& [text, kind] : inputs)
        EXPECT_EQ(SheetModel::parseInput(QString::fromLatin1(text)).index(), kind) << text;

    SheetModel m;
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
    m.clearValues(SheetRange::whole());
    EXPECT_EQ(m.filledCells(), 0);

    EXPECT_EQ(vbColor(33603776.0), QColor(192, 192, 0));  // the palette flag keeps the colour bytes
    m.setBorders({1, 1, 2, 2}, 1, vbColor(0xC0C0C0u));
    m.setBorders({2, 2, 3, 3}, 2, QColor(Qt::blue));  // the later border wins where they meet
    EXPECT_EQ(m.border(1, 1)->lineStyle, 1);
    EXPECT_EQ(std::make_pair(m.border(2, 2)->lineStyle, m.border(2, 2)->color),
              std::make_pair(2, QColor(Qt::blue)));
    EXPECT_FALSE(m.border(4, 4));
}

TEST(SheetWidget, SelectionAreasCurrentCellAndCellEvent) {
    SheetWidget w;
    w.resize(600, 400);
    w.show();
    w.select({2, 2, 4, 3});
    EXPECT_EQ(w.currentCell(), (SheetCell{2, 2}));
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
