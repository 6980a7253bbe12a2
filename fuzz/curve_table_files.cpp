// The single curve-table files, binary and text, on any file: the binary reader takes exactly
// the first 2,048 bytes or leaves the table; the text reader takes 1,024 numbers of the
// signed 16-bit range or refuses, and what it takes is what the text said.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "core/colour_data.h"
#include "core/curve_table_files.h"
#include "fuzz/fuzz_files.h"
#include "fuzz/fuzz_target.h"

std::vector<std::string> FuzzSeeds() {
    ModuleDataPro::InitColorData();
    const CurveTable& table = ColorDataSet.C_Gamma;
    std::string binary(CurveTableFile::Size, '\0');
    std::memcpy(binary.data(), table.Words.data(), binary.size());
    return {binary, CurveTableTextFile::Format(table.Words)};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file;
    const std::string path = file.Hold(data, size);

    std::array<int16_t, 1024> words;
    words.fill(0x1234);
    const bool binary = CurveTableFile::Read(path, words);
    FUZZ_CHECK(binary == (size >= CurveTableFile::Size));
    if (binary) {
        FUZZ_CHECK(std::memcmp(words.data(), data, CurveTableFile::Size) == 0);
    } else {
        for (int16_t w : words) FUZZ_CHECK(w == 0x1234);
    }

    CurveTableValues fromFile{}, fromText{};
    const bool read = CurveTableTextFile::Read(path, fromFile);
    const bool parsed =
        CurveTableTextFile::Parse(std::string(reinterpret_cast<const char*>(data), size), fromText);
    FUZZ_CHECK(read == parsed);
    if (!parsed) return 0;
    FUZZ_CHECK(fromFile == fromText);
    // What was taken reads back the same through the file's own format (the flag aside).
    std::array<int16_t, 1024> table;
    for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<int16_t>(fromText[i] & 0x7FFF);
    CurveTableValues again{};
    FUZZ_CHECK(CurveTableTextFile::Parse(CurveTableTextFile::Format(table), again));
    FUZZ_CHECK(again == table);
    return 0;
}
