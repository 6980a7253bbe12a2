#pragma once
// The small fixed-size user files of the special editors and the mechanism adjustment: each is
// the record as it lies in memory, signed 16-bit words (or 32-bit floats) little-endian, no
// header. Reading takes the file's first bytes; a file shorter than its record is refused and
// nothing is changed. Writing replaces the record's bytes at the start of the file and keeps
// whatever a longer file holds after them, written whole through a new file and a rename.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/colour_data.h"

namespace RecordFile {
// The file's first words (2 bytes each, little-endian); false, and the words untouched, when the
// file is missing, unreadable or shorter.
bool ReadWords(const std::string& path, std::span<int16_t> words);
// The words over the head of the file; false when it cannot be written (then left as it was).
bool WriteWords(const std::string& path, std::span<const int16_t> words);
}  // namespace RecordFile

// A parameter table (sigma, G omega, G delta): planes 0..3, eight words each, all eight kept.
namespace ParamTableFile {
inline constexpr std::size_t Size = 64;
bool Read(const std::string& path, ParamTable& table);
bool Write(const std::string& path, const ParamTable& table);
}  // namespace ParamTableFile

// The E gamma curve (2,048 bytes, control-point bits included) and then its start and end level
// per plane (16 bytes).
namespace EGammaFile {
inline constexpr std::size_t Size = 2064;
inline constexpr std::size_t LevelsOffset = 2048;
bool Read(const std::string& path, CurveTable& curve, EGammaRange& levels);
bool Write(const std::string& path, const CurveTable& curve, const EGammaRange& levels);
}  // namespace EGammaFile

// The print-mode record: MediaSelect, PrintCycle, STBPitch, STBCalcCoef, OPData.
namespace PrintModeFile {
inline constexpr std::size_t Size = 10;
bool Read(const std::string& path, PrintModeRecord& record);
bool Write(const std::string& path, const PrintModeRecord& record);
}  // namespace PrintModeFile

// The start-compensation table in table order (plane fastest).
namespace StartCmpDataFile {
inline constexpr std::size_t Size = 2000;
bool Read(const std::string& path, StartCmpData& table);
bool Write(const std::string& path, const StartCmpData& table);
}  // namespace StartCmpDataFile

// The print and the cutting position adjustment in millimetres, IEEE single precision. A value
// that is not a finite number (NaN, infinity) makes the file unreadable: both stay as they were.
namespace PositionAdjustFile {
inline constexpr std::size_t Size = 8;
bool Read(const std::string& path, float& printPosMm, float& cutPosMm);
bool Write(const std::string& path, float printPosMm, float cutPosMm);
}  // namespace PositionAdjustFile
