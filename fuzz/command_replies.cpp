// The command layer's reply readers and decoders: every table read, the version and checksum
// reads, on replies from the fuzzing monitor, and the decoders at any position and plane.
// A reply may be refused, a position or plane may throw the core's range errors; nothing
// else may happen, and a refused read leaves its table as it was.
//
// Input: steps of routines, as RunSteps reads them; the word argument picks plane and position.

#include <cstring>
#include <string>
#include <vector>

#include "core/bulk_transfers.h"
#include "core/colour_data.h"
#include "core/command_blocks.h"
#include "core/errors.h"
#include "core/maintenance_commands.h"
#include "core/parvel_link.h"
#include "core/table_transfers.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/monitor/fuzz_monitor.h"

namespace {

using Module2::ReceiveBuffer;

void Start() {
    static const bool started = [] {
        ModuleDataPro::InitColorData();
        PortHandle = Parvel::JmInitialize(u"EMU1");
        return true;
    }();
    (void)started;
}

// A plane for the argument: mostly 0..3, sometimes one outside.
int PlaneOf(uint16_t arg) {
    return static_cast<int>(arg % 7) - 1;
}

// A read that fails changes nothing of the set.
void Read(bool (*read)(int), uint16_t arg) {
    const std::vector<uint8_t> before = FileImage(ColorDataSet);
    if (!read(PlaneOf(arg))) FUZZ_CHECK(FileImage(ColorDataSet) == before);
}

void ReadWhole(bool (*read)(), uint16_t) {
    const std::vector<uint8_t> before = FileImage(ColorDataSet);
    if (!read()) FUZZ_CHECK(FileImage(ColorDataSet) == before);
}

// A decoder at any position: the core's range errors or a whole decode.
void Decode(int16_t (*get)(int16_t&, int), uint16_t arg) {
    int16_t pos = static_cast<int16_t>(arg);
    const int16_t start = pos;
    try {
        get(pos, PlaneOf(arg >> 8));
        FUZZ_CHECK(pos > start);
    } catch (const SubscriptOutOfRange&) {
        FUZZ_CHECK(pos == start);
    } catch (const NumberOverflow&) {
        FUZZ_CHECK(pos == start);
    }
}

int16_t GetCurve(int16_t& pos, int plane) {
    return Module2::GetCurveColumn(pos, ColorDataSet.HeadTemp, plane);
}
int16_t GetStartCmp(int16_t& pos, int) {
    return Module2::GetStartCmpData(pos);
}
int16_t GetPrintMode(int16_t& pos, int) {
    return Module2::GetPrintModeData(pos);
}

#define READ(name)                                 \
    {                                              \
        [](uint16_t a) { Read(Module2::name, a); } \
    }
#define DECODE(name)                        \
    {                                       \
        [](uint16_t a) { Decode(name, a); } \
    }
const FuzzStep kRoutines[] = {
    READ(ReadHeadTempTable),
    READ(ReadMediaTempTable),
    READ(ReadTempCoefTable),
    READ(ReadSTBGammaTable),
    // The curve plane stays replaced when its levels then fail: no check of the set.
    {[](uint16_t a) { Module2::ReadEGammaTable(PlaneOf(a)); }},
    READ(ReadCGammaTable),
    READ(ReadCThetaTable),
    READ(ReadCEpsilonTable),
    READ(ReadGGammaTable),
    READ(ReadGThetaTable),
    READ(ReadGEpsilonTable),
    READ(ReadEEpsilonTable),
    READ(ReadGSigmaTable),
    READ(ReadCSigmaTable),
    READ(ReadIGammaTable),
    READ(ReadIThetaTable),
    READ(ReadIEpsilonTable),
    READ(ReadGOmegaTable),
    READ(ReadGDeltaTable),
    READ(ReadMediaHumidityTable),
    READ(ReadHumidityCoefTable),
    {[](uint16_t a) { ReadWhole(Module2::ReadStartCmpData, a); }},
    {[](uint16_t a) { ReadWhole(Module2::ReadPrintModeData, a); }},
    {[](uint16_t) { FUZZ_CHECK(Module2::ReadVersion().size() < 38001 * 2); }},
    {[](uint16_t) { FUZZ_CHECK(Module2::ReadChecksum().size() < 38001 * 2); }},
    {[](uint16_t) { FUZZ_CHECK(Module2::ReadSerialNumber().size() < 38001 * 2); }},
    {[](uint16_t) { FUZZ_CHECK(Module2::ReadHeadRank().size() < 38001 * 2); }},
    {[](uint16_t) { FUZZ_CHECK(Module2::ReadHeatSetting().size() < 38001 * 2); }},
    {[](uint16_t) { FUZZ_CHECK(Module2::ReadPrintPosAdjust().size() < 38001 * 2); }},
    {[](uint16_t) { FUZZ_CHECK(Module2::ReadCutPosAdjust().size() < 38001 * 2); }},
    {[](uint16_t) { FUZZ_CHECK(Module2::ReadSensorInfo().size() < 38001 * 2); }},
    {[](uint16_t a) { Module2::WriteHeadTempTable(PlaneOf(a)); }},
    {[](uint16_t a) { Module2::WritePrintPosAdjust(static_cast<int16_t>(a)); }},
    {[](uint16_t a) { Module2::WriteStartCmpData(), (void)a; }},
    DECODE(GetCurve),
    DECODE(GetStartCmp),
    DECODE(Module2::GetEGammaRange),
    DECODE(Module2::GetCSigma),
    DECODE(Module2::GetGSigma),
    DECODE(Module2::GetGOmega),
    DECODE(Module2::GetGDelta),
    DECODE(GetPrintMode),
};
#undef READ
#undef DECODE

}  // namespace

std::vector<std::string> FuzzSeeds() {
    Start();
    // Planes 0..3 and small positions.
    return RecordSteps(kRoutines, [](size_t i) { return static_cast<uint16_t>(1 + i % 4); });
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Start();
    RunSteps(kRoutines, data, size);
    return 0;
}
