#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Sheet coordinates: rows 1 to 65536, columns 1 (A) to 256 (IV).
namespace sheet {
inline constexpr int kRows = 65536;
inline constexpr int kCols = 256;
}  // namespace sheet

struct SheetCell {
    int row = 1;
    int col = 1;
    bool operator==(const SheetCell&) const = default;
};

// A rectangular range, corners inclusive and normalised (row1 <= row2, col1 <= col2).
struct SheetRange {
    int row1 = 1;
    int col1 = 1;
    int row2 = 1;
    int col2 = 1;

    static SheetRange cell(int row, int col) { return {row, col, row, col}; }
    static SheetRange whole() { return {1, 1, sheet::kRows, sheet::kCols}; }
    static SheetRange spanning(SheetCell a, SheetCell b);

    int rows() const { return row2 - row1 + 1; }
    int cols() const { return col2 - col1 + 1; }
    bool contains(int row, int col) const { return row >= row1 && row <= row2 && col >= col1 && col <= col2; }
    bool contains(const SheetRange& r) const { return contains(r.row1, r.col1) && contains(r.row2, r.col2); }
    bool isValid() const;
    // A1 form: "B2" for one cell, "B2:C4" for more.
    QString address() const;
    bool operator==(const SheetRange&) const = default;
};

namespace sheet {
// "A" -> 1, "IV" -> 256; refuses anything else. Lower case letters are accepted.
std::optional<int> columnNumber(QStringView letters);
QString columnLetters(int col);
QString cellAddress(int row, int col);
// "B2", "$B$2", "b2"; refuses A0, IW1, A65537, blanks and stray characters.
std::optional<SheetCell> parseCell(QStringView text);
// "B2:C4" (either corner order) or a single cell.
std::optional<SheetRange> parseRange(QStringView text);
}  // namespace sheet
