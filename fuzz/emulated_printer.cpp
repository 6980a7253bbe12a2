// The emulated printer's block parser and command handling, through the monitor's entry
// point and control API: any sends, requests and scripted faults, in any order. Whatever
// comes, a reply fits its buffer and is framed by 8 digits.
//
// Input: steps of [kind] and its bytes: send [word length][bytes]; receive [word length]
// [bytes][word buffer size]; reply fault [kind][word arg]; failed exchanges [count].
#include <cstring>
#include <string>
#include <vector>

#include "core/bulk_transfers.h"
#include "core/colour_data.h"
#include "core/maintenance_commands.h"
#include "core/parvel_link.h"
#include "core/table_transfers.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_target.h"
#include "platform/quillet/quillet_control.h"
#include "status/parvel.h"

namespace {

constexpr const char16_t* kPort = u"EMU1";

enum Step : uint8_t { Send, Receive, Fault, Fail, kSteps };

void Exchange(FuzzInput& in, uint8_t step) {
    switch (step) {
        case Send: {
            const std::string_view bytes = in.Bytes(in.Word());
            MonitorIoControl(kPort, IOCTL_MONITOR_SEND, bytes.data(),
                             static_cast<uint32_t>(bytes.size()), nullptr, 0, nullptr);
            break;
        }
        case Receive: {
            const std::string_view bytes = in.Bytes(in.Word());
            const uint32_t outSize = in.Word();
            std::vector<uint8_t> out(outSize);
            uint32_t returned = 0;
            if (MonitorIoControl(kPort, IOCTL_MONITOR_RECEIVE, bytes.data(),
                                 static_cast<uint32_t>(bytes.size()), out.data(), outSize,
                                 &returned)) {
                FUZZ_CHECK(returned >= 8 && returned <= outSize);
                for (int i = 0; i < 8; ++i) FUZZ_CHECK(out[i] >= '0' && out[i] <= '9');
            }
            break;
        }
        case Fault: {
            const int kind = in.Byte() % 7;
            quillet_fault_next_reply(kind, static_cast<int16_t>(in.Word()));
            break;
        }
        case Fail:
            quillet_fail_next(in.Byte() % 3);
            break;
    }
}

// The exchanges of one piece of the program's work, as the emulator received them.
std::string Recorded(void (*work)()) {
    quillet_reset();
    work();
    FuzzOutput seed;
    std::vector<unsigned char> bytes(70000);
    for (int i = 0; i < quillet_received_count(); ++i) {
        uint32_t code = 0;
        const int n =
            quillet_received(i, &code, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        const std::string_view call(reinterpret_cast<const char*>(bytes.data()),
                                    static_cast<size_t>(n));
        if (code == IOCTL_MONITOR_SEND) {
            seed.Byte(Send).Word(static_cast<unsigned>(n)).Bytes(call);
        } else {
            seed.Byte(Receive).Word(static_cast<unsigned>(n)).Bytes(call).Word(4096);
        }
    }
    return seed.bytes;
}

}  // namespace

std::vector<std::string> FuzzSeeds() {
    ModuleDataPro::InitColorData();
    PortHandle = Parvel::JmInitialize(kPort);
    std::vector<std::string> seeds;
    for (auto work : std::initializer_list<void (*)()>{
             [] { Module2::WriteHeadTempTable(0), Module2::ReadHeadTempTable(0); },
             [] { Module2::WriteEGammaTable(3), Module2::ReadEGammaTable(3); },
             [] { Module2::WriteGOmegaTable(1), Module2::ReadGOmegaTable(1); },
             [] { Module2::WriteStartCmpData(), Module2::ReadStartCmpData(); },
             [] { Module2::WritePrintModeData(), Module2::ReadPrintModeData(); },
             [] { Module2::WriteVersion("KTD01 V2.00"), Module2::ReadVersion(); },
             [] {
                 const std::vector<uint8_t> image = FileImage(ColorDataSet);
                 JmSetColorDataWrite(PortHandle, image.data(), static_cast<int32_t>(image.size()));
                 Module2::ReadChecksum();
             },
             [] {
                 char text[PARVEL_TEXT_CAPACITY];
                 JmGetStatus(PortHandle), JmGetVersion(PortHandle, text);
                 JmGetSensorInfo(PortHandle, text), JmGetMedia(PortHandle, text);
                 JmGetMediaColorOffset(PortHandle), GetMediaIdSetInfo(PortHandle);
                 JmSetClearCounterB(PortHandle), SetRetentionMode(PortHandle, 1);
             },
             [] {
                 Module2::WriteMedia(301), Module2::WriteHeadRank(4120);
                 Module2::WriteHeatSetting(12), Module2::WriteResolution(600);
                 Module2::WritePrintPosAdjust(-12), Module2::WriteCutPosAdjust(7);
                 Module2::WritePrinterId("RN12-0004711");
                 Module2::ReadHeadRank(), Module2::ReadPrintPosAdjust(), Module2::ReadSensorInfo();
             },
             [] {
                 const char image[64] = {1, 2, 3};
                 JmSetFirmwUpdateMode(PortHandle);
                 JmSetFirmwDataWrite(PortHandle, image, sizeof image);
                 JmSetColorDataClear(PortHandle);
             }})
        seeds.push_back(Recorded(work));
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillet_reset();
    FuzzInput input{data, size};
    while (!input.empty()) Exchange(input, input.Byte() % kSteps);
    return 0;
}
