#include "engine/host_value.h"

#include <gtest/gtest.h>

TEST(GeneralNumberText, MatchesTheHostsGeneralForm) {
    const std::pair<double, const char*> cases[] = {
        {3, "3"},
        {-2.5, "-2.5"},
        {1e20, "1E+20"},
        {1e-5, "1E-05"},
        {0.0001, "0.0001"},
        {-0.0, "0"},
        {123456789012345.0, "123456789012345"},
        {1.0 / 3, "0.333333333333333"},
        {1234567890123456.0, "1.23456789012346E+15"},
        {2.5e-300, "2.5E-300"},
        {999999999999999.4, "999999999999999"},
        {9999999999999999.0, "1E+16"},
    };
    for (const auto& [v, text] : cases) EXPECT_EQ(generalNumberText(v), QString::fromLatin1(text)) << v;
    EXPECT_EQ(generalNumberText(std::int64_t{123456789012345678}), QStringLiteral("123456789012345678"));
}
