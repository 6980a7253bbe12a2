#include "core/colour_data.h"

#include <bit>
#include <cstring>
#include <string>

#include "core/errors.h"

static_assert(std::endian::native == std::endian::little,
              "the record's memory form is its little-endian file image");

std::array<std::string, 5> PlaneSuffix = {"_Y", "_M", "_C", "_OP", ""};

ColorData ColorDataSet{};

namespace {

void CheckIndex(int value, int count, const char* what) {
    if (value < 0 || value >= count)
        throw SubscriptOutOfRange(std::string(what) + " " + std::to_string(value) +
                                  " is outside 0.." + std::to_string(count - 1));
}

// Plane of a reading accessor: PlaneAll reads plane 0.
int ReadPlane(int plane) {
    CheckIndex(plane, PlaneCount + 1, "plane");
    return plane == PlaneAll ? 0 : plane;
}

// Planes of a writing accessor: PlaneAll writes 0..3.
template <typename F>
void ForPlanes(int plane, F&& write) {
    CheckIndex(plane, PlaneCount + 1, "plane");
    if (plane == PlaneAll) {
        for (int p = 0; p < PlaneCount; ++p) write(p);
    } else {
        write(plane);
    }
}

}  // namespace

int16_t& CurveTable::operator()(int point, int plane) {
    CheckIndex(point, CurvePoints, "point");
    CheckIndex(plane, PlaneCount, "plane");
    return Words[plane * CurvePoints + point];
}
int16_t CurveTable::operator()(int point, int plane) const {
    return const_cast<CurveTable&>(*this)(point, plane);
}

int16_t& ParamTable::operator()(int word, int plane) {
    CheckIndex(word, ParamWords, "word");
    CheckIndex(plane, PlaneCount, "plane");
    return Words[plane * ParamWords + word];
}
int16_t ParamTable::operator()(int word, int plane) const {
    return const_cast<ParamTable&>(*this)(word, plane);
}

int16_t& EGammaRange::operator()(int which, int plane) {
    CheckIndex(which, 2, "level");
    CheckIndex(plane, PlaneCount, "plane");
    return Words[plane * 2 + which];
}
int16_t EGammaRange::operator()(int which, int plane) const {
    return const_cast<EGammaRange&>(*this)(which, plane);
}

int16_t& StartCmpData::operator()(int plane, int delta, int wait, int set) {
    CheckIndex(plane, PlaneCount, "plane");
    CheckIndex(delta, DeltaRanks, "delta-temp rank");
    CheckIndex(wait, WaitRanks, "wait-time rank");
    CheckIndex(set, Sets, "set");
    return Words[plane + PlaneCount * delta + PlaneCount * DeltaRanks * wait +
                 PlaneCount * DeltaRanks * WaitRanks * set];
}
int16_t StartCmpData::operator()(int plane, int delta, int wait, int set) const {
    return const_cast<StartCmpData&>(*this)(plane, delta, wait, set);
}

std::vector<uint8_t> FileImage(const ColorData& data) {
    std::vector<uint8_t> image(ColorDataFileSize);
    std::memcpy(image.data(), &data, ColorDataFileSize);
    return image;
}

bool ReadFileImage(ColorData& data, const uint8_t* bytes, std::size_t length) {
    if (bytes == nullptr || !HoldsFileImage(length)) return false;
    std::memcpy(&data, bytes, ColorDataFileSize);
    return true;
}

std::vector<uint8_t> EngineImage(const ColorData& data) {
    std::vector<uint8_t> image(ColorDataEngineSize, 0);
    const auto* raw = reinterpret_cast<const uint8_t*>(&data);
    std::memcpy(image.data(), raw, offsetof(ColorData, ReservedTail));
    std::memcpy(image.data() + EngineTailOffset, raw + offsetof(ColorData, ReservedTail),
                sizeof data.ReservedTail);
    return image;
}

void ReadEngineImage(ColorData& data, const uint8_t* bytes, std::size_t length) {
    if (bytes == nullptr || length < ColorDataEngineSize)
        throw SubscriptOutOfRange("an engine image holds " + std::to_string(ColorDataEngineSize) +
                                  " bytes");
    auto* raw = reinterpret_cast<uint8_t*>(&data);
    std::memcpy(raw, bytes, offsetof(ColorData, ReservedTail));
    std::memcpy(raw + offsetof(ColorData, ReservedTail), bytes + EngineTailOffset,
                sizeof data.ReservedTail);
}

std::array<CurveTable*, 17> CurveTables(ColorData& d) {
    return {&d.HeadTemp, &d.MediaTemp, &d.TempCoef,  &d.STB_Gamma,     &d.E_Gamma,     &d.C_Gamma,
            &d.C_Theta,  &d.C_Epsilon, &d.G_Gamma,   &d.G_Theta,       &d.G_Epsilon,   &d.E_Epsilon,
            &d.I_Gamma,  &d.I_Theta,   &d.I_Epsilon, &d.MediaHumidity, &d.HumidityCoef};
}

namespace ModuleDataPro {

void SetTableValue(CurveTable& table, int plane, int point, int16_t value) {
    CheckIndex(point, CurvePoints, "point");
    ForPlanes(plane, [&](int p) {
        int16_t& word = table(point, p);
        // The value is Or-ed in as its bit pattern, so the control-point flag is kept.
        word = static_cast<int16_t>((static_cast<uint16_t>(word) & ControlPointBit) |
                                    static_cast<uint16_t>(value));
    });
}

int16_t GetTableValue(const CurveTable& table, int plane, int point) {
    return static_cast<int16_t>(table(point, ReadPlane(plane)) & 0x7FFF);
}

void SetControlPoint(CurveTable& table, int plane, int point, bool flag) {
    CheckIndex(point, CurvePoints, "point");
    ForPlanes(plane, [&](int p) {
        auto word = static_cast<uint16_t>(table(point, p));
        word = flag ? (word | ControlPointBit) : (word & ~ControlPointBit);
        table(point, p) = static_cast<int16_t>(word);
    });
}

bool IsControlPoint(const CurveTable& table, int plane, int point) {
    return (static_cast<uint16_t>(table(point, ReadPlane(plane))) & ControlPointBit) != 0;
}

void SetEGammaStart(int plane, int16_t value) {
    ForPlanes(plane, [&](int p) { ColorDataSet.EGammaRange(0, p) = value; });
}

void SetEGammaEnd(int plane, int16_t value) {
    ForPlanes(plane, [&](int p) { ColorDataSet.EGammaRange(1, p) = value; });
}

int16_t GetEGammaStart(int plane) {
    return ColorDataSet.EGammaRange(0, ReadPlane(plane));
}

int16_t GetEGammaEnd(int plane) {
    return ColorDataSet.EGammaRange(1, ReadPlane(plane));
}

void InitColorData() {
    ColorData& d = ColorDataSet;
    d = ColorData{};
    for (int p = 0; p < PlaneCount; ++p) {
        for (CurveTable* table : CurveTables(d)) {
            for (int i = 0; i < CurvePoints; ++i)
                (*table)(i, p) = static_cast<int16_t>(i * 10001 / 256);
            SetControlPoint(*table, p, 0, true);
            SetControlPoint(*table, p, CurvePoints - 1, true);
        }
        d.EGammaRange(0, p) = 2000;
        d.EGammaRange(1, p) = 8000;
        for (ParamTable* sigma : {&d.CSigmaParams, &d.GSigmaParams}) {
            (*sigma)(0, p) = 4000;
            (*sigma)(1, p) = 2000;
            (*sigma)(2, p) = 1000;
        }
        // Coefficient A takes the first of the omega defaults; B..G start at 0.
        d.GOmegaParams(0, p) = 8;
    }
    const char magic[] = "KTD01";
    std::memcpy(d.DataFileHeader.data(), magic, 5);
    d.PrintModeData = PrintModeRecord{0, 600, 0, 0, 0};
}

}  // namespace ModuleDataPro
