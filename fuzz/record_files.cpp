// The small fixed-size user files on any file: each reader takes exactly the file's first
// bytes of its record, or refuses a shorter file (and the position file non-finite values)
// and leaves its record as it was.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/colour_data.h"
#include "core/record_files.h"
#include "fuzz/fuzz_files.h"
#include "fuzz/fuzz_target.h"

namespace {

// Bytes of a record as it lies in memory.
template <typename T>
std::string Image(const T& record) {
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

// Reads with a record filled with a pattern; taken means the file's head, refused the pattern.
template <typename T, typename Read>
void Check(const uint8_t* data, size_t size, size_t recordSize, Read read, bool mayRefuse = false) {
    T record;
    std::memset(&record, 0x5A, sizeof record);
    const std::string before = Image(record);
    const bool taken = read(record);
    if (!mayRefuse) FUZZ_CHECK(taken == (size >= recordSize));
    if (taken) {
        FUZZ_CHECK(size >= recordSize && std::memcmp(&record, data, recordSize) == 0);
    } else {
        FUZZ_CHECK(Image(record) == before);
    }
}

struct Positions {
    float print, cut;
};

}  // namespace

std::vector<std::string> FuzzSeeds() {
    ModuleDataPro::InitColorData();
    const ColorData& d = ColorDataSet;
    const float positions[2] = {1.25f, -0.5f};
    return {Image(d.GOmegaParams), Image(d.E_Gamma) + Image(d.EGammaRange), Image(d.PrintModeData),
            Image(d.StartCmpData),
            std::string(reinterpret_cast<const char*>(positions), sizeof positions)};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file;
    const std::string path = file.Hold(data, size);
    Check<ParamTable>(data, size, ParamTableFile::Size,
                      [&](ParamTable& t) { return ParamTableFile::Read(path, t); });
    Check<PrintModeRecord>(data, size, PrintModeFile::Size,
                           [&](PrintModeRecord& r) { return PrintModeFile::Read(path, r); });
    Check<StartCmpData>(data, size, StartCmpDataFile::Size,
                        [&](StartCmpData& t) { return StartCmpDataFile::Read(path, t); });
    struct EGamma {
        CurveTable curve;
        EGammaRange levels;
    };
    static_assert(sizeof(EGamma) == EGammaFile::Size);
    Check<EGamma>(data, size, EGammaFile::Size,
                  [&](EGamma& e) { return EGammaFile::Read(path, e.curve, e.levels); });
    Check<Positions>(
        data, size, PositionAdjustFile::Size,
        [&](Positions& p) {
            const bool taken = PositionAdjustFile::Read(path, p.print, p.cut);
            if (taken) FUZZ_CHECK(std::isfinite(p.print) && std::isfinite(p.cut));
            return taken;
        },
        true);
    return 0;
}
