#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// One row of the J variable list. Record 1's count is the number of listed rows.
struct JVarRecord {
    std::int32_t count = 0;
    QString name;
    QString typeText;
    std::int32_t rows = 0;  // first extent (0 for atoms and lists)
    std::int32_t cols = 0;  // second extent (the length of a list)
};

struct WideNameRecord {
    std::int32_t count = 0;
    QString name;
    std::int16_t flag = 0;
};

// The J variable tables. They start with room for 50 variables and 100 wide
// names and grow when more are listed. Values stay in J; a viewer reads one when it opens.
struct JVarState {
    std::vector<JVarRecord> JVarTable = std::vector<JVarRecord>(51);
    std::int32_t JCurrent = 0;
    std::vector<WideNameRecord> WideNames = std::vector<WideNameRecord>(101);
    std::int32_t WideCount = 0;

    int count() const { return JVarTable[1].count; }
};
