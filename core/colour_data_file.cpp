#include "core/colour_data_file.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/colour_data.h"
#include "core/whole_files.h"

namespace ColorDataFile {

bool Read(const std::string& path) {
    // A longer file contributes its first bytes only.
    const std::optional<std::vector<uint8_t>> image = ReadFileHead(path, ColorDataFileSize);
    return image && ReadFileImage(ColorDataSet, image->data(), image->size());
}

bool Write(const std::string& path) {
    const std::vector<uint8_t> image = FileImage(ColorDataSet);
    return ReplaceFileWhole(
        path, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
}

}  // namespace ColorDataFile
