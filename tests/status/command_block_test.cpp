#include "status/command_block.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FormatLength8, WritesEightDigitsAndNothingElse) {
    const struct {
        int32_t value;
        const char* digits;
    } cases[] = {
        {0, "00000000"},        {4, "00000004"},          {4088, "00004088"},
        {12345678, "12345678"}, {99'999'999, "99999999"},
    };
    for (const auto& k : cases) {
        char out[10] = "#########";
        parvel::FormatLength8(out, k.value);
        EXPECT_EQ(std::string(out, 8), k.digits);
        EXPECT_EQ(out[8], '#');
    }
}

}  // namespace
