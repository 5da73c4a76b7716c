#pragma once

#include <cstdint>

#include "dictionary/dictionary_search.h"

class FlexGrid;
class Progress;

// The result grids of the three searches: 8 columns, rows 0 and 1 are headers,
// column 0 numbers the results, result k sits in row k + 1.

// Shade of the searched column: the key cell of every result row and its header.
inline constexpr std::uint32_t kKeyColumnColour = 0xFFC0C0;

// The column holding the searched field.
int keyColumn(DicSearchKind kind);

// The column holding the Chinese pronunciation, shown in the pinyin font.
int pinyinColumn(DicSearchKind kind);

// "検索件数 = 12" ("検索項目 = " for the Japanese search).
QString countPrefix(DicSearchKind kind);
QString countText(DicSearchKind kind, int count);

// What a grid is before any search: the number column as a header column, the
// columns widened or narrowed by dragging their header borders.
void setUpResultGrid(FlexGrid& grid);

// Back to the two header rows with their texts, widths (except those the user
// dragged), centring and shading.
void resetResultGrid(FlexGrid& grid, DicSearchKind kind);

// Resets the grid, then lists the rows numbered from 1, the key column shaded;
// empty fields leave their cells empty. Each row listed is a step of progress.
void fillResultGrid(FlexGrid& grid, DicSearchKind kind, const std::vector<DicRow>& rows,
                    Progress* progress = nullptr);
