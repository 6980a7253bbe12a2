// The text-number conversions on any text: no crash, no undefined behaviour, and the
// readings agree with one another where their rules meet; the first four bytes as a
// single-precision value, written as a box shows it, read back.
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/numbers.h"
#include "fuzz/fuzz_target.h"

namespace {

// A conversion gives a value of its range, or NumberOverflow.
template <typename T>
void Converts(T (*convert)(double), double value, double lo, double hi) {
    try {
        const T v = convert(value);
        FUZZ_CHECK(v >= lo && v <= hi);
        FUZZ_CHECK(std::fabs(static_cast<double>(v) - value) <= 0.5);
    } catch (const NumberOverflow&) {
        FUZZ_CHECK(!(std::nearbyint(value) >= lo && std::nearbyint(value) <= hi));
    }
}

}  // namespace

std::vector<std::string> FuzzSeeds() {
    // Texts as the program's windows and files hold them.
    std::vector<std::string> seeds = {" 10000 ", "-32768", "12.5", "1e3",   "&H7FFF",
                                      "&O17",    "+.5e-2", "255,", " 1 2 3"};
    for (double v : {0.5, 1.5, 2.5, 32767.5, 65535.0}) seeds.push_back(std::to_string(v));
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double leading = LeadingNumber(text);
    const double entry = EntryNumber(text);
    // A text said to hold no leading number reads as 0.
    if (!HasLeadingNumber(text)) FUZZ_CHECK(leading == 0);
    for (double v : {leading, entry}) {
        Converts(ToInt16, v, -32768, 32767);
        Converts(ToInt32, v, -2147483648.0, 2147483647.0);
        Converts(ToByte, v, 0, 255);
        const int32_t clamped = RoundClamped(v, -100, 100);
        FUZZ_CHECK(clamped >= -100 && clamped <= 100);
    }
    // A single-precision value written as a box shows it reads back as itself, to its
    // seven digits, with "." whatever the locale.
    if (size >= sizeof(float)) {
        float f = 0;
        std::memcpy(&f, data, sizeof f);
        if (std::isfinite(f)) {
            const std::string shown = SingleText(f);
            FUZZ_CHECK(shown.find(',') == std::string::npos);
            FUZZ_CHECK(std::fabs(LeadingNumber(shown) - f) <= 1e-6 * std::fabs(f));
        }
    }
    try {
        const double whole = WholeNumber(text);
        // A text that is a number as a whole is its own leading number.
        FUZZ_CHECK(whole == leading || (std::isnan(whole) && std::isnan(leading)));
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
