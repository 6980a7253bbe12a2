#include "core/colour_data_file.h"

#include <cstdint>
#include <fstream>
#include <string_view>
#include <vector>

#include "core/colour_data.h"
#include "core/whole_files.h"

namespace ColorDataFile {

bool Read(const std::string& path) {
    // A longer file contributes its first bytes only.
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> image(ColorDataFileSize);
    if (!file.read(reinterpret_cast<char*>(image.data()),
                   static_cast<std::streamsize>(image.size())))
        return false;
    return ReadFileImage(ColorDataSet, image.data(), image.size());
}

bool Write(const std::string& path) {
    const std::vector<uint8_t> image = FileImage(ColorDataSet);
    return ReplaceFileWhole(
        path, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
}

}  // namespace ColorDataFile
