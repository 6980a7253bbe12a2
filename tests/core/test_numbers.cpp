#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "core/errors.h"
#include "core/numbers.h"

namespace {

TEST(Numbers, LeadingNumber) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},          {"abc", 0},        {"  42", 42}, {"42abc", 42}, {"-7", -7},
        {"+3", 3},        {"12.5", 12.5},    {".5", 0.5},  {"5.", 5},     {"1e3", 1000},
        {"2.5E-1", 0.25}, {"1e", 1},         {"1e+", 1},   {"3 4", 3},    {"\t4", 0},
        {"-", 0},         {"00000512", 512}, {"1,5", 1},   {"&H10", 0},   {"  -0012.50x", -12.5},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
}

TEST(Numbers, HasLeadingNumber) {
    for (const char* text : {"0", "  42", "-7x", ".5", "5.", "+0"})
        EXPECT_TRUE(HasLeadingNumber(text)) << text;
    for (const char* text : {"", "   ", "abc", "-", ".", "+", "\t4", "e5"})
        EXPECT_FALSE(HasLeadingNumber(text)) << text;
}

TEST(Numbers, EntryNumber) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"12.5", 12.5}, {"13.5", 13.5},   {"-7", -7},     {"10001", 10001},    {"letters", 0},
        {"", 0},        {"&H100", 256},   {"1 2 3", 123}, {"\t1\n2 .5", 12.5}, {"&hff", 255},
        {"&O17", 15},   {"&o19", 1},      {"&H", 0},      {"&X12", 0},         {"- 5", -5},
        {"1 e 2", 100}, {"99999", 99999}, {"12abc3", 12}, {"& H 1 F", 31},     {"\r5", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(EntryNumber(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isinf(EntryNumber("1e999")));
}

TEST(Numbers, WholeNumber) {
    EXPECT_DOUBLE_EQ(WholeNumber(" 125 "), 125);
    EXPECT_DOUBLE_EQ(WholeNumber("-2.5"), -2.5);
    for (const char* bad : {"", "   ", "12a", "a12", "1 2", "&H10"})
        EXPECT_THROW(WholeNumber(bad), std::invalid_argument) << bad;
}

TEST(Numbers, ConversionsRoundHalfToEven) {
    const struct {
        double value;
        int expected;
    } cases[] = {{12.5, 12},  {13.5, 14}, {-0.5, 0}, {-1.5, -2},       {2.4999, 2},
                 {2.5001, 3}, {0.5, 0},   {1.5, 2},  {-32768, -32768}, {32767.4, 32767}};
    for (const auto& c : cases) EXPECT_EQ(ToInt16(c.value), c.expected) << c.value;
    EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(ToInt32(-2147483648.5), -2147483648LL);
    EXPECT_EQ(ToByte(254.5), 254);
    EXPECT_EQ(ToByte(-0.4), 0);

    for (double bad : {32767.5, -32768.6, 1e9, HUGE_VAL, double(NAN)})
        EXPECT_THROW(ToInt16(bad), NumberOverflow) << bad;
    for (double bad : {2147483647.5, -2147483649.0})
        EXPECT_THROW(ToInt32(bad), NumberOverflow) << bad;
    for (double bad : {255.5, -0.6, 256.0}) EXPECT_THROW(ToByte(bad), NumberOverflow) << bad;
}

TEST(Numbers, LeadingInt16IsNoneBeyond16Bits) {
    EXPECT_EQ(LeadingInt16(" 12.5x"), 12);
    EXPECT_EQ(LeadingInt16("-32768"), -32768);
    EXPECT_EQ(LeadingInt16("abc"), 0);
    for (const char* beyond : {"40000", "-32769", "9e99"})
        EXPECT_EQ(LeadingInt16(beyond), std::nullopt) << beyond;
}

TEST(Numbers, RoundClampedTakesEveryEntry) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {{"12.5", 12},    {"13.5", 14},     {"-7", 0},      {"10001", 10000},
                 {"letters", 0},  {"&H100", 256},   {"1 2 3", 123}, {"99999", 10000},
                 {"-99999", 0},   {"1e999", 10000}, {"-1e999", 0},  {"9999.5", 10000},
                 {"9998.5", 9998}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundClamped(EntryNumber(c.text), 0, 10000), c.expected) << c.text;
    EXPECT_EQ(RoundClamped(NAN, 0, 10000), 0);
}

TEST(Numbers, SingleTextHasSevenDigitsAtMost) {
    const struct {
        float value;
        const char* text;
    } cases[] = {{0.5f, "0.5"},        {15.94f, "15.94"},     {-0.12f, "-0.12"},
                 {1.0f, "1"},          {-0.0f, "0"},          {1234.5f, "1234.5"},
                 {0.1f, "0.1"},        {-32768.0f, "-32768"}, {1234567.8f, "1234568"},
                 {2047.94f, "2047.94"}};
    for (const auto& c : cases) EXPECT_EQ(SingleText(c.value), c.text) << c.text;
}

}  // namespace

namespace {

TEST(Numbers, FormatDecimals) {
    const struct {
        double value;
        int decimals;
        const char* text;
    } doubles[] = {
        {30, 2, "30.00"},
        {0.5, 1, "0.5"},
        {0.25, 1, "0.3"},
        {-0.25, 1, "-0.3"},
        {0.508, 1, "0.5"},
        {-9.99, 1, "-10.0"},
        {-0.04, 1, "0.0"},
        {-0.0, 2, "0.00"},
        {47, 1, "47.0"},
        {127.5, 1, "127.5"},
        {0.15, 1, "0.2"},
        {9.96, 1, "10.0"},
        {999.999, 2, "1000.00"},
        {1234567.891, 2, "1234567.89"},
        {5e-7, 2, "0.00"},
        {22.978711925, 1, "23.0"},
        {7, 0, "7"},
    };
    for (const auto& c : doubles) EXPECT_EQ(FormatDecimals(c.value, c.decimals), c.text) << c.value;

    // A float shows as the decimal it was made from, not as its binary neighbour.
    const struct {
        float value;
        int decimals;
        const char* text;
    } floats[] = {
        {-67.4f, 2, "-67.40"}, {34.141176f, 2, "34.14"}, {10.05f, 1, "10.1"}, {2.35f, 1, "2.4"},
        {-2.35f, 1, "-2.4"},   {10.000002f, 1, "10.0"},  {7.04f, 1, "7.0"},   {3.3f, 2, "3.30"},
    };
    for (const auto& c : floats) EXPECT_EQ(FormatDecimals(c.value, c.decimals), c.text) << c.value;
}

TEST(Numbers, FormatDigits) {
    const struct {
        int32_t value;
        int width;
        bool plus;
        const char* text;
    } cases[] = {
        {11, 4, false, "0011"},
        {-5, 4, false, "-0005"},
        {12345, 4, false, "12345"},
        {0, 3, true, "+000"},
        {12, 3, true, "+012"},
        {-12, 3, true, "-012"},
        {INT32_MIN, 3, false, "-2147483648"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDigits(c.value, c.width, c.plus), c.text) << c.value;
}

}  // namespace
