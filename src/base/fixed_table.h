#pragma once

#include "base/sheet_address.h"
#include "engine/host_value.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// One fixed matrix slot. Record 1's count is the number of fixed matrices.
struct FixedRecord {
    std::int16_t count = 0;
    QString name;  // "VB_" and the slot letter
    SheetRange range;
    // 32-bit: a matrix may span all 65536 rows of the sheet.
    std::int32_t rows = 0;
    std::int32_t cols = 0;
    std::int32_t firstRow = 0;
    std::int32_t lastRow = 0;
    std::int32_t firstCol = 0;
    std::int32_t lastCol = 0;
    QString typeText;  // TypeNameLong of the slot's values
};

// The fixed-matrix table: slots 1 to 26, their values, and the slot in hand.
struct FixedMatrixState {
    static constexpr int kSlots = 26;

    std::array<FixedRecord, kSlots + 1> FixedTable{};
    std::vector<HostValue> FixedValues = std::vector<HostValue>(101);  // slot n: a 2-D array of doubles
    std::int16_t FixedCurrent = 0;
    std::int16_t ErrFlag = 0;
    std::int16_t ErrListStarted = 0;

    int count() const { return FixedTable[1].count; }
};
