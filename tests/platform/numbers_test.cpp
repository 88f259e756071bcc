// Numbers as typed into dialogs: the comma ends a number, in every locale.
#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <limits>

using namespace orvo::platform;

TEST(Numbers, DecimalPrefixes) {
    EXPECT_DOUBLE_EQ(parseDecimal("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(parseDecimal("2,5"), 2.0);
    EXPECT_DOUBLE_EQ(parseDecimal("  -1.25м"), -1.25);
    EXPECT_DOUBLE_EQ(parseDecimal("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(parseDecimal("1e2"), 100.0);
    EXPECT_DOUBLE_EQ(parseDecimal("abc"), 0.0);
    EXPECT_DOUBLE_EQ(parseDecimal(""), 0.0);
    EXPECT_DOUBLE_EQ(parseDecimal("-"), 0.0);
    EXPECT_DOUBLE_EQ(parseDecimal("+-5"), 0.0);
    EXPECT_GT(parseDecimal("1e999"), 1e300);
}

TEST(Numbers, WholeNumbers) {
    EXPECT_EQ(parseWholeNumber("500"), 500);
    EXPECT_EQ(parseWholeNumber(" 1:200"), 1);
    EXPECT_EQ(parseWholeNumber("-12x"), -12);
    EXPECT_EQ(parseWholeNumber("x12"), 0);
    EXPECT_EQ(parseWholeNumber("99999999999999999999999"), INT64_MAX);
    EXPECT_EQ(parseWholeNumber("-99999999999999999999999"), INT64_MIN);
}

TEST(Numbers, StoredFloatsNeverOverflow) {
    EXPECT_EQ(toFloat32(parseDecimal("1e39")), std::numeric_limits<float>::max());
    EXPECT_EQ(toFloat32(-1e300), -std::numeric_limits<float>::max());
    EXPECT_EQ(toFloat32(2.5), 2.5f);
}

TEST(Numbers, TenthsOfAMillimetre) {
    EXPECT_EQ(parseTenths("0.35"), 3); // truncated, not rounded
    EXPECT_EQ(parseTenths("0.25"), 2);
    EXPECT_EQ(parseTenths("2,5"), 20);
    EXPECT_EQ(parseTenths("6"), 60);
    EXPECT_EQ(parseTenths("-1"), 0);
    EXPECT_EQ(parseTenths("zz"), 0);
    EXPECT_EQ(parseTenths("1e12"), INT32_MAX);
    EXPECT_EQ(formatTenths(3), "0.3");
    EXPECT_EQ(formatTenths(60), "6.0");
    EXPECT_EQ(formatTenths(0), "0.0");
    EXPECT_EQ(formatFixed(152.256, 2), "152.26");
    EXPECT_EQ(formatFixed(152.255, 2), "152.25"); // 152.255 is just below it in binary
    EXPECT_EQ(formatFixed(-0.004, 2), "-0.00");   // as printf writes it
}
