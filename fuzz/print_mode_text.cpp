// The print-mode record's text form on any text: the reader takes the first five numbers, each a
// whole signed 16-bit number, in field order, or refuses and leaves the record as it was; the
// file and the text read alike, and what was taken is written and read back the same.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/colour_data.h"
#include "core/curve_table_files.h"
#include "fuzz/fuzz_files.h"
#include "fuzz/fuzz_target.h"

namespace {

std::array<int16_t, 5> Fields(const PrintModeRecord& r) {
    return {r.MediaSelect, r.PrintCycle, r.STBPitch, r.STBCalcCoef, r.OPData};
}

PrintModeRecord Pattern() {
    return {0x1234, -0x1234, 0x5A5A, -1, 7};
}

}  // namespace

// Records as the editor writes them: the default, one of every field's range, the extremes of
// the 16-bit range; and the first of them with LF alone and with a lone CR ending its lines.
std::vector<std::string> FuzzSeeds() {
    ModuleDataPro::InitColorData();
    const PrintModeRecord records[] = {
        ColorDataSet.PrintModeData, {2, 302, 22, 100, 255}, {-32768, 32767, -1, 0, 32767}};
    std::vector<std::string> seeds;
    for (const PrintModeRecord& r : records) seeds.push_back(PrintModeTextFile::Format(r));
    for (const char* end : {"\n", "\r"}) {
        std::string text = seeds.front();
        for (std::size_t at = text.find("\r\n"); at != std::string::npos;
             at = text.find("\r\n", at))
            text.replace(at, 2, end);
        seeds.push_back(text);
    }
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    PrintModeRecord parsed = Pattern();
    const bool taken = PrintModeTextFile::Parse(text, parsed);
    std::array<int16_t, 5> numbers{};
    FUZZ_CHECK(TextFormNumbers::Parse(text, numbers) == taken);
    if (taken) {
        FUZZ_CHECK(Fields(parsed) == numbers);
    } else {
        FUZZ_CHECK(Fields(parsed) == Fields(Pattern()));
    }

    static FuzzFile file;
    PrintModeRecord read = Pattern();
    FUZZ_CHECK(PrintModeTextFile::Read(file.Hold(data, size), read) == taken);
    FUZZ_CHECK(Fields(read) == Fields(parsed));
    if (!taken) return 0;

    // What was taken is written as five lines and read back the same.
    const std::string written = PrintModeTextFile::Format(parsed);
    std::size_t lines = 0;
    for (std::size_t at = written.find("\r\n"); at != std::string::npos;
         at = written.find("\r\n", at + 2))
        ++lines;
    FUZZ_CHECK(lines == 5);
    PrintModeRecord again = Pattern();
    FUZZ_CHECK(PrintModeTextFile::Parse(written, again));
    FUZZ_CHECK(Fields(again) == Fields(parsed));
    return 0;
}
