#include <vector>

#include "core/command_blocks.h"
#include "stack_fixture.h"

using namespace Module2;

namespace {

using RoundTrip = StackTest;

// A HeadTemp_Y block built by the codec, sent with JmSetCommand and read back with "TBL_RD"
// through JmGetCommandEX, comes back byte for byte and decodes into the same plane.
TEST_F(RoundTrip, HeadTempPlaneThroughTheEmulatedPrinter) {
    const struct {
        const char* what;
        void (*change)();
    } cases[] = {
        {"defaults", [] {}},
        {"changed values and control points",
         [] {
             CurveTable& t = ColorDataSet.HeadTemp;
             for (int i = 0; i < CurvePoints; ++i)
                 ModuleDataPro::SetTableValue(t, PlaneYellow, i,
                                              static_cast<int16_t>((i * 7919) % 10001));
             for (int i : {0, 17, 128, 200, 255})
                 ModuleDataPro::SetControlPoint(t, PlaneYellow, i, i != 0);
             ModuleDataPro::SetTableValue(t, PlaneYellow, 3, 0x7FFF);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ModuleDataPro::InitColorData();
        c.change();
        int16_t pos = BuildCommandHeader("TBL_WT", "HeadTemp_Y", 512);
        PutCurveColumn(pos, ColorDataSet.HeadTemp, PlaneYellow);
        ASSERT_EQ(pos, 544);
        const std::vector<uint8_t> sent(SendBuffer.begin() + 32, SendBuffer.begin() + 544);
        ASSERT_NE(Parvel::JmSetCommand(PortHandle, SendBuffer.data(), pos), 0);

        ReceiveBuffer.fill(0);
        BuildCommandHeader("TBL_RD", "HeadTemp_Y", -1);
        ASSERT_EQ(
            Parvel::JmGetCommandEX(PortHandle, SendBuffer.data(), 32, ReceiveBuffer.data(), 38000),
            512);
        EXPECT_EQ(std::vector<uint8_t>(ReceiveBuffer.begin(), ReceiveBuffer.begin() + 512), sent);

        const CurveTable written = ColorDataSet.HeadTemp;
        ColorDataSet.HeadTemp = CurveTable{};
        pos = 0;
        GetCurveColumn(pos, ColorDataSet.HeadTemp, PlaneYellow);
        for (int i = 0; i < CurvePoints; ++i)
            EXPECT_EQ(ColorDataSet.HeadTemp(i, PlaneYellow), written(i, PlaneYellow)) << i;
    }
}

}  // namespace
