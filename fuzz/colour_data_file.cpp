// The colour-data file reader on any file: a file it refuses leaves the set as it was; one
// it takes gives exactly its first 37,122 bytes back as the set's image.
#include <cstring>
#include <string>
#include <vector>

#include "core/colour_data.h"
#include "core/colour_data_file.h"
#include "fuzz/fuzz_files.h"
#include "fuzz/fuzz_target.h"

std::vector<std::string> FuzzSeeds() {
    ModuleDataPro::InitColorData();
    const std::vector<uint8_t> image = FileImage(ColorDataSet);
    return {std::string(image.begin(), image.end())};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file;
    ModuleDataPro::InitColorData();
    const std::vector<uint8_t> before = FileImage(ColorDataSet);
    const bool read = ColorDataFile::Read(file.Hold(data, size));
    const std::vector<uint8_t> after = FileImage(ColorDataSet);
    FUZZ_CHECK(read == (size >= ColorDataFileSize));
    if (read) {
        FUZZ_CHECK(std::memcmp(after.data(), data, ColorDataFileSize) == 0);
    } else {
        FUZZ_CHECK(after == before);
    }
    return 0;
}
