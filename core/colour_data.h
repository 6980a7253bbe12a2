#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The colour-data set: every correction table of the printer, held in one record that the editors
// change in place, the table commands send and fill, the colour-data file saves whole and the
// colour engine reads. All numbers are signed 16-bit words; in every image of the record the first
// index of a table varies fastest.

enum Plane : int16_t { PlaneYellow = 0, PlaneMagenta, PlaneCyan, PlaneOp, PlaneAll };

constexpr int PlaneCount = 4;     // Y, M, C, OP
constexpr int CurvePoints = 256;  // points of a curve table plane
constexpr int ParamWords = 8;     // words of a parameter table plane
constexpr uint16_t ControlPointBit = 0x8000;

// "_Y", "_M", "_C", "_OP" and "" for all planes, appended to a table name to form the printer's
// parameter name.
extern std::array<std::string, 5> PlaneSuffix;

// 256 points x 4 planes; bits 0-14 hold the value, bit 15 marks a control point of the curve.
struct CurveTable {
    std::array<int16_t, CurvePoints * PlaneCount> Words;
    int16_t& operator()(int point, int plane);
    int16_t operator()(int point, int plane) const;
};

// 8 words x 4 planes; each table uses only some of the words.
struct ParamTable {
    std::array<int16_t, ParamWords * PlaneCount> Words;
    int16_t& operator()(int word, int plane);
    int16_t operator()(int word, int plane) const;
};

// Start (0) and end (1) level of the E gamma curve, per plane.
struct EGammaRange {
    std::array<int16_t, 2 * PlaneCount> Words;
    int16_t& operator()(int which, int plane);
    int16_t operator()(int which, int plane) const;
};

// Start compensation: plane 0..3, delta-temp rank 0..4, wait-time rank 0..9, set 0..4, plane
// fastest.
struct StartCmpData {
    static constexpr int DeltaRanks = 5, WaitRanks = 10, Sets = 5;
    std::array<int16_t, PlaneCount * DeltaRanks * WaitRanks * Sets> Words;
    int16_t& operator()(int plane, int delta, int wait, int set);
    int16_t operator()(int plane, int delta, int wait, int set) const;
};

struct PrintModeRecord {
    int16_t MediaSelect;
    int16_t PrintCycle;
    int16_t STBPitch;
    int16_t STBCalcCoef;
    int16_t OPData;
};

// The record in the order of its file image; the offsets are checked below.
struct ColorData {
    std::array<uint8_t, 16> DataFileHeader;
    ::EGammaRange EGammaRange;
    CurveTable HeadTemp;
    CurveTable MediaTemp;
    CurveTable TempCoef;
    CurveTable STB_Gamma;
    CurveTable E_Gamma;
    CurveTable C_Gamma;
    CurveTable C_Theta;
    CurveTable C_Epsilon;
    CurveTable G_Gamma;
    CurveTable G_Theta;
    CurveTable G_Epsilon;
    CurveTable E_Epsilon;
    CurveTable I_Gamma;
    CurveTable I_Theta;
    CurveTable I_Epsilon;
    ParamTable CSigmaParams;
    ParamTable GSigmaParams;
    ParamTable GOmegaParams;
    ParamTable GDeltaParams;
    CurveTable MediaHumidity;
    CurveTable HumidityCoef;
    ::StartCmpData StartCmpData;
    int16_t ReservedWord;
    PrintModeRecord PrintModeData;
    std::array<uint8_t, 6> ReservedTail;
};

constexpr std::size_t ColorDataFileSize = 37122;
constexpr std::size_t ColorDataEngineSize = 37124;
// Where the engine image differs: two padding bytes after the print-mode record.
constexpr std::size_t EngineTailOffset = 37118;

static_assert(offsetof(ColorData, DataFileHeader) == 0);
static_assert(offsetof(ColorData, EGammaRange) == 0x0010);
static_assert(offsetof(ColorData, HeadTemp) == 0x0020);
static_assert(offsetof(ColorData, MediaTemp) == 0x0820);
static_assert(offsetof(ColorData, TempCoef) == 0x1020);
static_assert(offsetof(ColorData, STB_Gamma) == 0x1820);
static_assert(offsetof(ColorData, E_Gamma) == 0x2020);
static_assert(offsetof(ColorData, C_Gamma) == 0x2820);
static_assert(offsetof(ColorData, C_Theta) == 0x3020);
static_assert(offsetof(ColorData, C_Epsilon) == 0x3820);
static_assert(offsetof(ColorData, G_Gamma) == 0x4020);
static_assert(offsetof(ColorData, G_Theta) == 0x4820);
static_assert(offsetof(ColorData, G_Epsilon) == 0x5020);
static_assert(offsetof(ColorData, E_Epsilon) == 0x5820);
static_assert(offsetof(ColorData, I_Gamma) == 0x6020);
static_assert(offsetof(ColorData, I_Theta) == 0x6820);
static_assert(offsetof(ColorData, I_Epsilon) == 0x7020);
static_assert(offsetof(ColorData, CSigmaParams) == 0x7820);
static_assert(offsetof(ColorData, GSigmaParams) == 0x7860);
static_assert(offsetof(ColorData, GOmegaParams) == 0x78A0);
static_assert(offsetof(ColorData, GDeltaParams) == 0x78E0);
static_assert(offsetof(ColorData, MediaHumidity) == 0x7920);
static_assert(offsetof(ColorData, HumidityCoef) == 0x8120);
static_assert(offsetof(ColorData, StartCmpData) == 0x8920);
static_assert(offsetof(ColorData, ReservedWord) == 0x90F0);
static_assert(offsetof(ColorData, PrintModeData) == 0x90F2);
static_assert(offsetof(ColorData, ReservedTail) == 0x90FC);
static_assert(sizeof(ColorData) == ColorDataFileSize);
static_assert(sizeof(PrintModeRecord) == 10);

// The one global record; zero until InitColorData.
extern ColorData ColorDataSet;

// The images of a record: the file image (the colour-data file, words little-endian) and the
// engine image (two zero bytes after the print-mode record). Reading a file image takes its first
// 37,122 bytes; a shorter image is refused (ReadFileImage returns false and changes nothing).
std::vector<uint8_t> FileImage(const ColorData& data);
// Whether that many bytes hold a whole file image: the one rule for a colour-data file, whether
// it is opened or sent to the printer.
constexpr bool HoldsFileImage(std::size_t length) {
    return length >= ColorDataFileSize;
}
bool ReadFileImage(ColorData& data, const uint8_t* bytes, std::size_t length);
std::vector<uint8_t> EngineImage(const ColorData& data);
void ReadEngineImage(ColorData& data, const uint8_t* bytes, std::size_t length);

namespace ModuleDataPro {
// Planes 0..4 (PlaneAll: every plane when writing, plane 0 when reading), points 0..255; anything
// else throws SubscriptOutOfRange without touching the table.
void SetTableValue(CurveTable& table, int plane, int point, int16_t value);
int16_t GetTableValue(const CurveTable& table, int plane, int point);
void SetControlPoint(CurveTable& table, int plane, int point, bool flag);
bool IsControlPoint(const CurveTable& table, int plane, int point);
void SetEGammaStart(int plane, int16_t value);
void SetEGammaEnd(int plane, int16_t value);
int16_t GetEGammaStart(int plane);
int16_t GetEGammaEnd(int plane);
// Every table to its default, the whole record rewritten.
void InitColorData();
}  // namespace ModuleDataPro

// The 17 curve tables of a record in record order, for code that treats them all alike.
std::array<CurveTable*, 17> CurveTables(ColorData& data);
