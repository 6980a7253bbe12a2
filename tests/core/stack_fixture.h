#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/busy_notice.h"
#include "core/colour_data.h"
#include "core/parvel_link.h"
#include "core/sleep.h"
#include "platform/quillet/quillet_control.h"

// Records every call of the busy notice as "SENDING!", "RECEIVING!" or "-" (cleared).
struct RecordingNotice : BusyNotice {
    std::vector<std::string> calls;
    void Indication(const std::string& text) override { calls.push_back(text); }
    void Extinction() override { calls.push_back("-"); }
};

// A clean start over the real stack: defaults, a fresh emulated printer on its port, the notice
// recorded and the waits recorded instead of slept.
class StackTest : public ::testing::Test {
protected:
    static constexpr const char16_t* Port = u"EMU_CORE";
    RecordingNotice notice;
    std::vector<int> waits;

    void SetUp() override {
        quillet_reset();
        ModuleDataPro::InitColorData();
        PortHandle = Parvel::JmInitialize(Port);
        ASSERT_GE(PortHandle, 1);
        SetBusyNotice(&notice);
        SetSleepHandler([this](int ms) { waits.push_back(ms); });
    }
    void TearDown() override {
        SetBusyNotice(nullptr);
        SetSleepHandler({});
        quillet_reset();
    }

    // Each item of one of the emulator's logs, whole: the blocks it accepted (Blocks) or the
    // bytes of every MonitorIoControl call (Calls).
    template <typename Length, typename Copy>
    static std::vector<std::vector<uint8_t>> Log(int count, Length length, Copy copy) {
        std::vector<std::vector<uint8_t>> items;
        for (int i = 0; i < count; ++i) {
            std::vector<uint8_t> item(static_cast<std::size_t>(length(i)));
            copy(i, item.data(), static_cast<int>(item.size()));
            items.push_back(item);
        }
        return items;
    }
    static std::vector<std::vector<uint8_t>> Blocks() {
        unsigned char probe[1];
        return Log(
            quillet_block_count(), [&](int i) { return quillet_block(i, probe, 0); },
            [](int i, unsigned char* buf, int size) { quillet_block(i, buf, size); });
    }
    static std::vector<std::vector<uint8_t>> Calls() {
        uint32_t code = 0;
        char16_t port[32];
        unsigned char probe[1];
        return Log(
            quillet_received_count(),
            [&](int i) { return quillet_received(i, &code, probe, 0, port, 32); },
            [&](int i, unsigned char* buf, int size) {
                quillet_received(i, &code, buf, size, port, 32);
            });
    }
    static std::string Text(const std::vector<uint8_t>& bytes, std::size_t from, std::size_t n) {
        return std::string(bytes.begin() + from, bytes.begin() + from + n);
    }
};
