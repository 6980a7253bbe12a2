#include "core/record_files.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <optional>
#include <vector>

#include "core/whole_files.h"

namespace RecordFile {

bool ReadWords(const std::string& path, std::span<int16_t> words) {
    const std::optional<std::vector<uint8_t>> bytes = ReadFileHead(path, 2 * words.size());
    if (!bytes) return false;
    for (std::size_t k = 0; k < words.size(); ++k)
        words[k] = static_cast<int16_t>((*bytes)[2 * k] | ((*bytes)[2 * k + 1] << 8));
    return true;
}

bool WriteWords(const std::string& path, std::span<const int16_t> words) {
    std::vector<uint8_t> bytes(2 * words.size());
    for (std::size_t k = 0; k < words.size(); ++k) {
        const auto w = static_cast<uint16_t>(words[k]);
        bytes[2 * k] = static_cast<uint8_t>(w & 0xFF);
        bytes[2 * k + 1] = static_cast<uint8_t>(w >> 8);
    }
    return ReplaceFileHead(path, bytes);
}

}  // namespace RecordFile

namespace ParamTableFile {
static_assert(sizeof(ParamTable::Words) == Size);

bool Read(const std::string& path, ParamTable& table) {
    return RecordFile::ReadWords(path, table.Words);
}

bool Write(const std::string& path, const ParamTable& table) {
    return RecordFile::WriteWords(path, table.Words);
}

}  // namespace ParamTableFile

namespace EGammaFile {
static_assert(sizeof(CurveTable::Words) == LevelsOffset);
static_assert(sizeof(CurveTable::Words) + sizeof(EGammaRange::Words) == Size);

bool Read(const std::string& path, CurveTable& curve, EGammaRange& levels) {
    std::array<int16_t, Size / 2> words{};
    if (!RecordFile::ReadWords(path, words)) return false;
    std::copy_n(words.begin(), curve.Words.size(), curve.Words.begin());
    std::copy_n(words.begin() + curve.Words.size(), levels.Words.size(), levels.Words.begin());
    return true;
}

bool Write(const std::string& path, const CurveTable& curve, const EGammaRange& levels) {
    std::array<int16_t, Size / 2> words{};
    std::copy(curve.Words.begin(), curve.Words.end(), words.begin());
    std::copy(levels.Words.begin(), levels.Words.end(), words.begin() + curve.Words.size());
    return RecordFile::WriteWords(path, words);
}

}  // namespace EGammaFile

namespace PrintModeFile {
static_assert(sizeof(PrintModeRecord) == Size);

bool Read(const std::string& path, PrintModeRecord& record) {
    std::array<int16_t, 5> words{};
    if (!RecordFile::ReadWords(path, words)) return false;
    record = {words[0], words[1], words[2], words[3], words[4]};
    return true;
}

bool Write(const std::string& path, const PrintModeRecord& record) {
    const std::array<int16_t, 5> words{record.MediaSelect, record.PrintCycle, record.STBPitch,
                                       record.STBCalcCoef, record.OPData};
    return RecordFile::WriteWords(path, words);
}

}  // namespace PrintModeFile

namespace StartCmpDataFile {
static_assert(sizeof(StartCmpData::Words) == Size);

bool Read(const std::string& path, StartCmpData& table) {
    return RecordFile::ReadWords(path, table.Words);
}

bool Write(const std::string& path, const StartCmpData& table) {
    return RecordFile::WriteWords(path, table.Words);
}

}  // namespace StartCmpDataFile

namespace PositionAdjustFile {

bool Read(const std::string& path, float& printPosMm, float& cutPosMm) {
    std::array<int16_t, 4> words{};
    if (!RecordFile::ReadWords(path, words)) return false;
    auto value = [&](int k) {
        const uint32_t bits =
            static_cast<uint16_t>(words[2 * k]) |
            (static_cast<uint32_t>(static_cast<uint16_t>(words[2 * k + 1])) << 16);
        return std::bit_cast<float>(bits);
    };
    const float print = value(0), cut = value(1);
    if (!std::isfinite(print) || !std::isfinite(cut)) return false;
    printPosMm = print;
    cutPosMm = cut;
    return true;
}

bool Write(const std::string& path, float printPosMm, float cutPosMm) {
    std::array<int16_t, 4> words{};
    const float values[2] = {printPosMm, cutPosMm};
    for (int k = 0; k < 2; ++k) {
        const auto bits = std::bit_cast<uint32_t>(values[k]);
        words[2 * k] = static_cast<int16_t>(bits & 0xFFFF);
        words[2 * k + 1] = static_cast<int16_t>(bits >> 16);
    }
    return RecordFile::WriteWords(path, words);
}

}  // namespace PositionAdjustFile
