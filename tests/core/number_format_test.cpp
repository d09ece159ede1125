#include "number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

TEST(NumberFormat, FixedWithTwoDecimals)
{
    EXPECT_EQ(format_fixed2(3000000, ","), "3000000,00");
    EXPECT_EQ(format_fixed2(12.5, ","), "12,50");
    EXPECT_EQ(format_fixed2(-50, "."), "-50.00");
    EXPECT_EQ(format_fixed2(0.005, ","), "0,01");
    EXPECT_EQ(format_fixed2(1e20, ","), "100000000000000000000,00");
}

TEST(NumberFormat, GeneralWithFifteenDigits)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {600000, "600000"},       {12.5, "12,5"},   {0.0001, "0,0001"},
        {0.00005, "5E-5"},        {1e15, "1E15"},   {0, "0"},
        {-12.25, "-12,25"},       {1.5e-7, "1,5E-7"}, {123456789012345.0, "123456789012345"},
        {0.1 + 0.2, "0,3"},       {-1e20, "-1E20"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(format_general15(c.value, ","), c.text) << c.value;
}

TEST(NumberFormat, ParsesIntegers)
{
    EXPECT_EQ(parse_int32("42"), 42);
    EXPECT_EQ(parse_int32("-2"), -2);
    EXPECT_EQ(parse_int32(" 7 "), 7);
    EXPECT_EQ(parse_int32("+3"), 3);
    for (const char* bad : {"", " ", "abc", "3 years", "1.5", "2147483648", "-", "0x10"})
        EXPECT_EQ(parse_int32(bad), std::nullopt) << bad;
}

TEST(NumberFormat, ParsesDecimalsWithEitherSeparator)
{
    EXPECT_EQ(parse_decimal("12,5", ","), 12.5);
    EXPECT_EQ(parse_decimal("12.5", ","), 12.5);
    EXPECT_EQ(parse_decimal("12,5", "."), 12.5);
    EXPECT_EQ(parse_decimal("-0,25", ","), -0.25);
    EXPECT_EQ(parse_decimal("5E-5", ","), 0.00005);
    EXPECT_EQ(parse_decimal("1,5E-7", ","), 1.5e-7);
    EXPECT_EQ(parse_decimal("1E15", ","), 1e15);
    EXPECT_EQ(parse_decimal("600000", ","), 600000);
    for (const char* bad : {"", "1,2,3", "1.2,3", "abc", "inf", "nan", "12р", "-", ",", "0x1p3"})
        EXPECT_EQ(parse_decimal(bad, ","), std::nullopt) << bad;
}
