#include "jlink/host_value.h"
#include "matrix/fixed_table.h"
#include "matrix/type_names.h"

#include <gtest/gtest.h>

TEST(TypeNames, ShortAndLongForms) {
    EXPECT_EQ(TypeNameShort(5), QStringLiteral("[倍浮動小数型]"));
    EXPECT_EQ(TypeNameLong(5), QStringLiteral("[倍精度浮動小数点数型 (Double)]"));
    EXPECT_EQ(TypeNameShort(8), QStringLiteral("[文字列型]"));
    EXPECT_EQ(TypeNameShort(12), QStringLiteral("[bariant型]"));
    EXPECT_EQ(TypeNameLong(36), QStringLiteral("[ユーザー定義型を含むバリアント型]"));
    EXPECT_EQ(TypeNameShort(8197), QStringLiteral("配列, [倍浮動小数型]"));
    for (int unnamed : {15, 16, 18, 35, 37, 100}) {
        EXPECT_EQ(TypeNameShort(unnamed), QString()) << unnamed;
        EXPECT_EQ(TypeNameLong(unnamed), QString()) << unnamed;
    }
    EXPECT_EQ(TypeNameShort(8192 + 15), QStringLiteral("配列, "));
}

TEST(TypeNames, AFixedMatrixCarriesTheArrayOfDoublesName) {
    FixedMatrixState fixed;
    fixed.FixedCurrent = 1;
    fixed.FixedValues[1] = HostValue::doubleArray({3, 2}, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(TypeNameLong(fixed), QStringLiteral("配列, [倍精度浮動小数点数型 (Double)]"));
    fixed.FixedCurrent = 2;  // an empty slot
    EXPECT_EQ(TypeNameLong(fixed), QStringLiteral("[未初期化]"));
}
