#include "base/sheet_address.h"

#include <algorithm>

SheetRange SheetRange::spanning(SheetCell a, SheetCell b) {
    return {std::min(a.row, b.row), std::min(a.col, b.col), std::max(a.row, b.row), std::max(a.col, b.col)};
}

bool SheetRange::isValid() const {
    return row1 >= 1 && col1 >= 1 && row2 <= sheet::kRows && col2 <= sheet::kCols && row1 <= row2 &&
           col1 <= col2;
}

QString SheetRange::address() const {
    QString a = sheet::cellAddress(row1, col1);
    if (row1 == row2 && col1 == col2) return a;
    return a + QLatin1Char(':') + sheet::cellAddress(row2, col2);
}

namespace sheet {

std::optional<int> columnNumber(QStringView letters) {
    if (letters.isEmpty() || letters.size() > 2) return std::nullopt;
    int n = 0;
    for (QChar ch : letters) {
        char16_t c = ch.unicode();
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        if (c < u'A' || c > u'Z') return std::nullopt;
        n = n * 26 + (c - u'A' + 1);
    }
    if (n > kCols) return std::nullopt;
    return n;
}

QString columnLetters(int col) {
    QString s;
    while (col > 0) {
        int r = (col - 1) % 26;
        s.prepend(QChar(u'A' + r));
        col = (col - 1) / 26;
    }
    return s;
}

QString cellAddress(int row, int col) { return columnLetters(col) + QString::number(row); }

std::optional<SheetCell> parseCell(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && text[i] == u'$') ++i;
    qsizetype letterStart = i;
    while (i < n && text[i].isLetter() && text[i].unicode() < 128) ++i;
    auto col = columnNumber(text.mid(letterStart, i - letterStart));
    if (!col) return std::nullopt;
    if (i < n && text[i] == u'$') ++i;
    qsizetype digitStart = i;
    if (i >= n || text[i] == u'0') return std::nullopt;  // no leading zeros, no row 0
    int row = 0;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        row = row * 10 + (text[i].unicode() - u'0');
        if (row > kRows) return std::nullopt;
        ++i;
    }
    if (i != n || i == digitStart) return std::nullopt;
    return SheetCell{row, *col};
}

std::optional<SheetRange> parseRange(QStringView text) {
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0) {
        auto c = parseCell(text);
        if (!c) return std::nullopt;
        return SheetRange::cell(c->row, c->col);
    }
    auto a = parseCell(text.left(colon));
    auto b = parseCell(text.mid(colon + 1));
    if (!a || !b) return std::nullopt;
    return SheetRange::spanning(*a, *b);
}

}  // namespace sheet
