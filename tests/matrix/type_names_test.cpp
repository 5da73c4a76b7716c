#include "matrix/type_names.h"
#include "base/fixed_table.h"

#include <gtest/gtest.h>

// The names the lists show for doubles, strings and arrays are checked where the lists are.
TEST(TypeNames, RareCodesArrayPrefixUnnamedCodesAndAnEmptySlot) {
    EXPECT_EQ(TypeNameShort(12), QStringLiteral("[bariant型]"));
    EXPECT_EQ(TypeNameLong(36), QStringLiteral("[ユーザー定義型を含むバリアント型]"));
    for (int unnamed : {15, 16, 18, 35, 37, 100})
        EXPECT_EQ(TypeNameShort(unnamed) + TypeNameLong(unnamed), QString()) << unnamed;
    EXPECT_EQ(TypeNameShort(8192 + 15), QStringLiteral("配列, "));
    FixedMatrixState fixed;
    fixed.FixedCurrent = 2;
    EXPECT_EQ(TypeNameLong(fixed), QStringLiteral("[未初期化]"));
}
