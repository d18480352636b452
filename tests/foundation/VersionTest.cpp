#include "platform/foundation/Version.h"

#include <gtest/gtest.h>

using foundation::compareVersions;

TEST(Version, ordersSystemVersionsNumerically)
{
    // The versions the platform's code compares with, in order.
    const char* ordered[] = { "9.3.5", "11.4", "12.0", "12.0.1", "12.5", "12.9", "12.10", "13.0", "13.3", "100.0" };
    for (size_t i = 0; i < std::size(ordered); ++i) {
        EXPECT_EQ(compareVersions(ordered[i], ordered[i]), 0) << ordered[i];
        for (size_t j = i + 1; j < std::size(ordered); ++j) {
            EXPECT_EQ(compareVersions(ordered[i], ordered[j]), -1) << ordered[i] << " vs " << ordered[j];
            EXPECT_EQ(compareVersions(ordered[j], ordered[i]), 1) << ordered[j] << " vs " << ordered[i];
        }
    }
}

TEST(Version, numericSearchEdgeCases)
{
    // A string that is a prefix of the other orders first, even when the rest is ".0".
    EXPECT_EQ(compareVersions("12", "12.0"), -1);
    EXPECT_EQ(compareVersions("12.0", "12"), 1);
    EXPECT_EQ(compareVersions("", "1"), -1);
    EXPECT_EQ(compareVersions("", ""), 0);

    // Digits compare by value, so leading zeros do not count.
    EXPECT_EQ(compareVersions("1.01", "1.1"), 0);
    EXPECT_EQ(compareVersions("007", "7"), 0);
    EXPECT_EQ(compareVersions("12.010", "12.9"), 1);
    EXPECT_EQ(compareVersions("9", "10"), -1);
    EXPECT_EQ(compareVersions("0", "00"), 0);

    // Numbers longer than any machine integer still compare by value.
    EXPECT_EQ(compareVersions("1.100000000000000000000", "1.99999999999999999999"), 1);
    EXPECT_EQ(compareVersions("1.000000000000000000000000005", "1.5"), 0);

    // Everything else compares literally, character by character.
    EXPECT_EQ(compareVersions("12.0b2", "12.0b10"), -1);
    EXPECT_EQ(compareVersions("12.0a9", "12.0b1"), -1);
    EXPECT_EQ(compareVersions("12.0", "12.x"), -1);
    EXPECT_EQ(compareVersions("12-1", "12.1"), -1);
    EXPECT_EQ(compareVersions("Beta", "beta"), -1);
}
