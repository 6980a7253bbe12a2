#include "platform/quillet/colour_tables.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quillet {
namespace {

const std::array<const char*, 4> kSuffix = {"_Y", "_M", "_C", "_OP"};

// Curve tables in the order of the colour-data image; the flag marks where the
// image breaks the run (the four parameter tables stand between I_Epsilon and
// MediaHumidity).
const std::array<const char*, 17> kCurveNames = {
    "HeadTemp", "MediaTemp", "TempCoef",  "STB_Gamma",     "E_Gamma",     "C_Gamma",
    "C_Theta",  "C_Epsilon", "G_Gamma",   "G_Theta",       "G_Epsilon",   "E_Epsilon",
    "I_Gamma",  "I_Theta",   "I_Epsilon", "MediaHumidity", "HumidityCoef"};

// Offsets in the colour-data image.
constexpr size_t kImageEGammaRange = 16;
constexpr size_t kImageFirstCurve = 32;
constexpr size_t kImageCSigma = 30752;
constexpr size_t kImageGSigma = 30816;
constexpr size_t kImageGOmega = 30880;
constexpr size_t kImageGDelta = 30944;
constexpr size_t kImageMediaHumidity = 31008;
constexpr size_t kImageStartCmp = 35104;
constexpr size_t kImagePrintMode = 37106;
constexpr size_t kCurveBytes = 2048;

void PutWord(Bytes& out, int value) {
    const auto w = static_cast<uint16_t>(value);
    out.push_back(static_cast<uint8_t>(w >> 8));
    out.push_back(static_cast<uint8_t>(w & 0xFF));
}

// Words of a payload from little-endian image words, then zero bytes to `size`; written over
// the payload in place, which holds that size already, so that taking an image allocates nothing.
void FromImage(const uint8_t* image, size_t offset, size_t words, size_t size, Bytes& out) {
    out.resize(size);
    for (size_t i = 0; i < words; ++i) {
        out[2 * i] = image[offset + 2 * i + 1];
        out[2 * i + 1] = image[offset + 2 * i];
    }
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(2 * words), out.end(), 0);
}

size_t CurveImageOffset(int table) {
    // The first fifteen curves are back to back; MediaHumidity and HumidityCoef
    // follow the four parameter tables.
    if (table < 15) return kImageFirstCurve + static_cast<size_t>(table) * kCurveBytes;
    return kImageMediaHumidity + static_cast<size_t>(table - 15) * kCurveBytes;
}

// Factory curves: gamma-like rises whose exponent differs per table and plane,
// with nodes every 51 points, so that a read visibly replaces the program's ramp.
Bytes FactoryCurve(int table, int plane) {
    const double exponent = 0.72 + 0.045 * table + 0.07 * plane;
    Bytes out;
    out.reserve(512);
    for (int i = 0; i < 256; ++i) {
        const int value = static_cast<int>(std::lround(10000.0 * std::pow(i / 255.0, exponent)));
        PutWord(out, i % 51 == 0 ? (value | 0x8000) : value);
    }
    return out;
}

Bytes FactoryWords(std::initializer_list<int> words, size_t size) {
    Bytes out;
    for (int w : words) PutWord(out, w);
    out.resize(size, 0);
    return out;
}

// Start compensation ranks -10..10: larger for a bigger temperature step and a
// bigger set, smaller after a longer wait; the overcoat plane one lower.
Bytes FactoryStartCmp() {
    Bytes out;
    out.reserve(2000);
    for (int s = 0; s < 5; ++s)
        for (int w = 0; w < 10; ++w)
            for (int d = 0; d < 5; ++d)
                for (int p = 0; p < 4; ++p)
                    PutWord(out, std::clamp(2 * d - w / 2 + s - 2 - (p == 3 ? 1 : 0), -10, 10));
    return out;
}

std::vector<TableParameter> BuildParameters() {
    std::vector<TableParameter> list;
    auto perPlane = [&](const std::string& name, const std::string& tail, uint32_t size,
                        TableFamily family, int table) {
        for (int p = 0; p < 4; ++p)
            list.push_back({name + kSuffix[p] + tail, size, family, table, p});
    };
    perPlane("E_Gamma", "_SE", 4, TableFamily::EGammaRange, -1);
    for (int t = 0; t < 15; ++t) perPlane(kCurveNames[t], "", 512, TableFamily::Curve, t);
    perPlane("C_Sigma", "", 16, TableFamily::CSigma, -1);
    perPlane("G_Sigma", "", 16, TableFamily::GSigma, -1);
    perPlane("G_Omega", "", 16, TableFamily::GOmega, -1);
    perPlane("G_Delta", "", 16, TableFamily::GDelta, -1);
    for (int t = 15; t < 17; ++t) perPlane(kCurveNames[t], "", 512, TableFamily::Curve, t);
    list.push_back({"StartCmpData", 2000, TableFamily::StartCmp, -1, -1});
    list.push_back({"PrintModeData", 16, TableFamily::PrintMode, -1, -1});
    return list;
}

}  // namespace

const std::vector<TableParameter>& TableParameters() {
    static const std::vector<TableParameter> list = BuildParameters();
    return list;
}

const TableParameter* FindTableParameter(const std::string& name) {
    for (const auto& p : TableParameters())
        if (p.name == name) return &p;
    return nullptr;
}

Bytes FactoryPayload(const TableParameter& t) {
    const int p = t.plane;
    switch (t.family) {
        case TableFamily::EGammaRange:
            return FactoryWords({1800 + 50 * p, 8200 - 50 * p}, 4);
        case TableFamily::Curve:
            return FactoryCurve(t.table, p);
        case TableFamily::CSigma: {
            // Centre, inner and outer weights; C + 2L + 2LL = 10000 in every plane.
            static const int c[4][3] = {
                {5000, 1800, 700}, {4800, 1900, 700}, {5200, 1700, 700}, {6000, 1500, 500}};
            return FactoryWords({c[p][0], c[p][1], c[p][2]}, 16);
        }
        case TableFamily::GSigma: {
            static const int g[4][3] = {
                {4400, 2000, 800}, {4600, 1900, 800}, {4200, 2100, 800}, {5000, 1800, 700}};
            return FactoryWords({g[p][0], g[p][1], g[p][2]}, 16);
        }
        case TableFamily::GOmega:
            return FactoryWords({12 + p, 6, 10, 6, 40 - 2 * p, 6, 8}, 16);
        case TableFamily::GDelta:
            return FactoryWords({20 + 4 * p, 200 - 10 * p, 16, 12}, 16);
        case TableFamily::StartCmp:
            return FactoryStartCmp();
        case TableFamily::PrintMode:
            // Media 1, 600 dpi cycle 2, strobe pitch 12, coefficient 96, overcoat 128.
            return FactoryWords({1, 602, 12, 96, 128}, 16);
    }
    return {};
}

namespace {
const std::map<std::string, Bytes>& Factory() {
    static const std::map<std::string, Bytes> factory = [] {
        std::map<std::string, Bytes> tables;
        for (const auto& t : TableParameters()) tables[t.name] = FactoryPayload(t);
        return tables;
    }();
    return factory;
}
}  // namespace

std::map<std::string, Bytes> FactoryTables() {
    return Factory();
}

void RestoreFactoryTables(std::map<std::string, Bytes>& tables) {
    for (const auto& [name, payload] : Factory())
        tables[name].assign(payload.begin(), payload.end());
}

// Where a parameter's words lie in the colour-data image: the first plane's offset,
// the step from plane to plane and the number of words the wire carries.
struct ImagePlace {
    size_t offset;
    size_t planeStep;
    size_t words;
};

ImagePlace PlaceInImage(const TableParameter& t) {
    switch (t.family) {
        case TableFamily::EGammaRange:
            return {kImageEGammaRange, 4, 2};
        case TableFamily::Curve:
            return {CurveImageOffset(t.table), 512, 256};
        case TableFamily::CSigma:
            return {kImageCSigma, 16, 3};
        case TableFamily::GSigma:
            return {kImageGSigma, 16, 3};
        case TableFamily::GOmega:
            return {kImageGOmega, 16, 7};
        case TableFamily::GDelta:
            return {kImageGDelta, 16, 4};
        case TableFamily::StartCmp:
            return {kImageStartCmp, 0, 1000};
        case TableFamily::PrintMode:
            return {kImagePrintMode, 0, 5};
    }
    return {};
}

void TakeColourImage(const uint8_t* image, std::map<std::string, Bytes>& tables) {
    for (const auto& t : TableParameters()) {
        const ImagePlace place = PlaceInImage(t);
        const auto plane = static_cast<size_t>(std::max(t.plane, 0));
        FromImage(image, place.offset + place.planeStep * plane, place.words, t.size,
                  tables[t.name]);
    }
}

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t TablesChecksum(const std::map<std::string, Bytes>& tables) {
    uint32_t crc = 0;
    for (const auto& t : TableParameters()) {
        const auto it = tables.find(t.name);
        if (it != tables.end()) crc = Crc32(it->second.data(), it->second.size(), crc);
    }
    return crc;
}

}  // namespace quillet
