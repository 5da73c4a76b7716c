#include "dictionary/dictionary_grid.h"

#include "base/progress.h"

#include <algorithm>
#include <array>

#include "base/fonts.h"
#include "controls/flex_grid.h"

namespace {

constexpr int kCols = 8;
constexpr int kCentre = 4;
constexpr int kNumberColumnWidth = 810;
constexpr std::array<int, kCols> kWidths = {0, 1500, 2500, 1500, 2500, 1500, 3000, 3000};

struct Headers {
    std::array<const char*, kCols> top;
    std::array<const char*, kCols> bottom;
};

const Headers& headers(DicSearchKind kind) {
    static const Headers chinese{{"", "中国語", "中国語", "日本語", "日本語", "英語", "備考", "備考"},
                                 {"検索No.", "語", "発音", "語", "発音", "語", "備考１", "備考２"}};
    static const Headers japanese{{"", "日本語", "日本語", "中国語", "中国語", "英語", "備考", "備考"},
                                  {"検索No.", "語", "発音", "語", "発音", "語", "備考１", "備考２"}};
    static const Headers english{{"", "英語", "日本語", "日本語", "中国語", "中国語", "備考", "備考"},
                                 {"検索No.", "語", "語", "発音", "語", "発音", "備考１", "備考２"}};
    switch (kind) {
        case DicSearchKind::Chinese:
            return chinese;
        case DicSearchKind::Japanese:
            return japanese;
        case DicSearchKind::English:
            break;
    }
    return english;
}

}  // namespace

int keyColumn(DicSearchKind kind) { return kind == DicSearchKind::English ? 1 : 2; }

int pinyinColumn(DicSearchKind kind) {
    const std::array<QString, 7> fields = DictionarySearch::columnFields(kind);
    return 1 + static_cast<int>(std::find(fields.begin(), fields.end(), QStringLiteral("ChineseH")) -
                                fields.begin());
}

QString countPrefix(DicSearchKind kind) {
    return kind == DicSearchKind::Japanese ? QStringLiteral("検索項目 = ") : QStringLiteral("検索件数 = ");
}

QString countText(DicSearchKind kind, int count) { return countPrefix(kind) + QString::number(count); }

void setUpResultGrid(FlexGrid& grid) {
    grid.setCols(kCols);
    grid.setRows(2);
    grid.setFixedRows(2);
    grid.setFixedCols(1);
    grid.setColWidth(0, kNumberColumnWidth);
    grid.setAllowUserResizing(true);
}

void resetResultGrid(FlexGrid& grid, DicSearchKind kind) {
    grid.setRows(2);
    grid.setCols(kCols);
    grid.setMergeRow(0, true);
    // A width the user dragged stays for the next searches.
    for (int c = 1; c < kCols; ++c)
        if (!grid.ColWidthSetByUser(c)) grid.setColWidth(c, kWidths[c]);
    FlexGridModel& m = grid.grid();
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < kCols; ++c) m.setCellAlignment(r, c, kCentre);
    const Headers& h = headers(kind);
    for (int c = 0; c < kCols; ++c) {
        grid.setTextMatrix(0, c, QString::fromUtf8(h.top[c]));
        grid.setTextMatrix(1, c, QString::fromUtf8(h.bottom[c]));
    }
    m.setCellBackColor(1, keyColumn(kind), kKeyColumnColour);
    for (int c = 1; c < kCols; ++c)
        grid.setColFontName(c, c == pinyinColumn(kind) ? pinyinFontFamily() : QString());
}

void fillResultGrid(FlexGrid& grid, DicSearchKind kind, const std::vector<DicRow>& rows, Progress* progress) {
    resetResultGrid(grid, kind);
    if (rows.empty()) return;
    ProgressScope shown(progress, static_cast<std::int64_t>(rows.size()));
    const int key = keyColumn(kind);
    FlexGridModel& m = grid.grid();
    // A whole table can be listed: the view is told once, at the end.
    grid.setRedraw(false);
    grid.setRows(2 + static_cast<int>(rows.size()));
    int r = 2;
    for (const DicRow& row : rows) {
        m.setText(r, 0, QString::number(r - 1));
        m.setCellBackColor(r, key, kKeyColumnColour);
        for (int c = 0; c < 7; ++c)
            if (!row[c].isEmpty()) m.setText(r, c + 1, row[c]);
        ++r;
        shown.step();
    }
    grid.setRedraw(true);
}
