#pragma once
// The two file forms of a single curve table: the binary image (exactly the
// 2,048 bytes the table occupies in memory) and the text form of 256 lines of
// four values that any curve editor reads and writes; and the print-mode
// record's text form, five lines of one value each, written and read alike.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/colour_data.h"

// One curve table as it lies in memory: plane p, point i is word 256 * p + i;
// bits 0-14 the value, bit 15 the control-point flag.
using CurveTableWords = std::span<int16_t, 1024>;
using ConstCurveTableWords = std::span<const int16_t, 1024>;

// What reading a text file gives: the values of the table in the same order
// as the words (plane p, point i at 256 * p + i), not yet applied.
using CurveTableValues = std::array<int16_t, 1024>;

namespace CurveTableFile {
inline constexpr std::size_t Size = 2048;

// Reads the first 2,048 bytes of the file into the table. A missing or
// unreadable file, or one shorter than 2,048 bytes, leaves the table untouched
// and gives false.
bool Read(const std::string& path, CurveTableWords table);

// Replaces the file whole with the table's image; false when it cannot be
// written (the old file, if any, is then left as it was).
bool Write(const std::string& path, ConstCurveTableWords table);
}  // namespace CurveTableFile

// The numbers of the text forms.
namespace TextFormNumbers {
// One number as the text forms write it: its sign position (a blank, or "-" for a negative
// number), the digits, one blank.
std::string Format(int value);

// Takes the first out.size() numbers of the text in file order, separated by commas or line ends
// (CR LF, LF or a lone CR), blank lines and blanks around them ignored. False, with out
// unspecified, when the text holds fewer, or a field whose number is not whole or not within
// -32768..32767.
bool Parse(const std::string& text, std::span<int16_t> out);
// Parse applied to a file's contents (its first 16 MiB); false also when it cannot be read or is
// no regular file.
bool Read(const std::string& path, std::span<int16_t> out);
}  // namespace TextFormNumbers

namespace CurveTableTextFile {
// The text of the file: 256 lines, line i holding point i of planes 0..3 as
// " v ," joined values without the control-point flag, each line ended by CR LF.
std::string Format(ConstCurveTableWords table);

// Takes the first 1,024 numbers of the text (point 0 planes 0..3, point 1, ...),
// separated by commas or line ends, blanks around them ignored. False, with
// values unspecified, when the text holds fewer, or a field whose number is not
// whole or not within -32768..32767.
bool Parse(const std::string& text, CurveTableValues& values);

// Parse applied to a file's contents (its first 16 MiB); false also when it cannot be read or is
// no regular file.
bool Read(const std::string& path, CurveTableValues& values);

// Replaces the file whole with Format(table); false when it cannot be written.
bool Write(const std::string& path, ConstCurveTableWords table);
}  // namespace CurveTableTextFile

namespace PrintModeTextFile {
// MediaSelect, PrintCycle, STBPitch, STBCalcCoef and OPData, one a line, each ended by CR LF.
std::string Format(const PrintModeRecord& record);

// The first five numbers of the text, in that order, without any check of their values. False,
// and the record untouched, when the text holds fewer or one is not a whole 16-bit number.
bool Parse(const std::string& text, PrintModeRecord& record);
// Parse applied to a file's contents (its first 16 MiB); false also when it cannot be read or is
// no regular file.
bool Read(const std::string& path, PrintModeRecord& record);

// Replaces the file whole with Format(record); false when it cannot be written.
bool Write(const std::string& path, const PrintModeRecord& record);
}  // namespace PrintModeTextFile
