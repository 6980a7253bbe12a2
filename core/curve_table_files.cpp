#include "core/curve_table_files.h"

#include <cmath>
#include <istream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "core/numbers.h"
#include "core/record_files.h"
#include "core/whole_files.h"

namespace {

// A field of the text form: a number with blanks or tabs around it whose value
// is whole and within the signed 16-bit range.
bool ParseField(std::string_view field, int16_t& out) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!field.empty() && blank(field.front())) field.remove_prefix(1);
    while (!field.empty() && blank(field.back())) field.remove_suffix(1);
    double value = 0;
    try {
        value = WholeNumber(field);
    } catch (const std::invalid_argument&) {
        return false;
    }
    if (std::trunc(value) != value || value < -32768 || value > 32767) return false;
    out = static_cast<int16_t>(value);
    return true;
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Reads numbers line by line until `values` is full, in file order; whatever
// follows them is never looked at.
bool ParseStream(std::istream& in, std::span<int16_t> values) {
    std::size_t count = 0;
    std::string raw;
    while (count < values.size() && std::getline(in, raw)) {
        // A lone CR ends a line as well as CR LF and LF do.
        std::string_view rest(raw);
        while (count < values.size()) {
            std::size_t cr = rest.find('\r');
            std::string_view line = rest.substr(0, cr);
            if (!IsBlankLine(line)) {
                std::size_t start = 0;
                while (count < values.size()) {
                    std::size_t comma = line.find(',', start);
                    std::string_view field = line.substr(start, comma - start);
                    int16_t v = 0;
                    if (!ParseField(field, v)) return false;
                    values[count++] = v;
                    if (comma == std::string_view::npos) break;
                    start = comma + 1;
                }
            }
            if (cr == std::string_view::npos) break;
            rest.remove_prefix(cr + 1);
        }
    }
    return count == values.size();
}

// The curve text form is point-major (point 0 of planes 0..3, then point 1);
// the table is plane-major.
void FileOrderToTable(const CurveTableValues& file, CurveTableValues& values) {
    for (std::size_t k = 0; k < file.size(); ++k) values[(k % 4) * 256 + k / 4] = file[k];
}

}  // namespace

namespace TextFormNumbers {
namespace {

// How much of a text file is looked at: many times what the largest table needs written out with
// generous blanks, and little enough to hold in memory.
constexpr std::size_t MostRead = 16u << 20;

}  // namespace

std::string Format(int value) {
    return (value < 0 ? "-" : " ") + std::to_string(value < 0 ? -value : value) + " ";
}

bool Parse(const std::string& text, std::span<int16_t> out) {
    std::istringstream in(text);
    return ParseStream(in, out);
}

bool Read(const std::string& path, std::span<int16_t> out) {
    const std::optional<std::vector<uint8_t>> bytes = ReadFileStart(path, MostRead);
    if (!bytes) return false;
    return Parse(std::string(bytes->begin(), bytes->end()), out);
}

}  // namespace TextFormNumbers

namespace CurveTableFile {

bool Read(const std::string& path, CurveTableWords table) {
    return RecordFile::ReadWords(path, table);
}

bool Write(const std::string& path, ConstCurveTableWords table) {
    std::string bytes(Size, '\0');
    for (std::size_t k = 0; k < table.size(); ++k) {
        auto w = static_cast<uint16_t>(table[k]);
        bytes[2 * k] = static_cast<char>(w & 0xFF);
        bytes[2 * k + 1] = static_cast<char>(w >> 8);
    }
    return ReplaceFileWhole(path, bytes);
}

}  // namespace CurveTableFile

namespace CurveTableTextFile {

std::string Format(ConstCurveTableWords table) {
    std::string text;
    text.reserve(std::size_t{256} * 4 * 8);
    for (int point = 0; point < 256; ++point) {
        for (int plane = 0; plane < 4; ++plane) {
            // The value without its flag is never negative, so its sign
            // position is always a blank.
            int value = table[plane * 256 + point] & 0x7FFF;
            if (plane > 0) text += ',';
            text += TextFormNumbers::Format(value);
        }
        text += "\r\n";
    }
    return text;
}

bool Parse(const std::string& text, CurveTableValues& values) {
    CurveTableValues file{};
    if (!TextFormNumbers::Parse(text, file)) return false;
    FileOrderToTable(file, values);
    return true;
}

bool Read(const std::string& path, CurveTableValues& values) {
    CurveTableValues file{};
    if (!TextFormNumbers::Read(path, file)) return false;
    FileOrderToTable(file, values);
    return true;
}

bool Write(const std::string& path, ConstCurveTableWords table) {
    return ReplaceFileWhole(path, Format(table));
}

}  // namespace CurveTableTextFile

namespace PrintModeTextFile {
namespace {

using Fields = std::array<int16_t, 5>;

PrintModeRecord FromFields(const Fields& f) {
    return {f[0], f[1], f[2], f[3], f[4]};
}

}  // namespace

std::string Format(const PrintModeRecord& r) {
    std::string text;
    for (int v : {r.MediaSelect, r.PrintCycle, r.STBPitch, r.STBCalcCoef, r.OPData})
        text += TextFormNumbers::Format(v) + "\r\n";
    return text;
}

bool Parse(const std::string& text, PrintModeRecord& record) {
    Fields f{};
    if (!TextFormNumbers::Parse(text, f)) return false;
    record = FromFields(f);
    return true;
}

bool Read(const std::string& path, PrintModeRecord& record) {
    Fields f{};
    if (!TextFormNumbers::Read(path, f)) return false;
    record = FromFields(f);
    return true;
}

bool Write(const std::string& path, const PrintModeRecord& record) {
    return ReplaceFileWhole(path, Format(record));
}

}  // namespace PrintModeTextFile
