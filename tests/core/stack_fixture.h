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

    // The blocks the emulated printer accepted, whole.
    static std::vector<std::vector<uint8_t>> Blocks() {
        std::vector<std::vector<uint8_t>> blocks;
        for (int i = 0; i < quillet_block_count(); ++i) {
            unsigned char probe[1];
            const int length = quillet_block(i, probe, 0);
            std::vector<uint8_t> block(static_cast<std::size_t>(length));
            quillet_block(i, block.data(), length);
            blocks.push_back(block);
        }
        return blocks;
    }
    // The bytes of each MonitorIoControl call, whole.
    static std::vector<std::vector<uint8_t>> Calls() {
        std::vector<std::vector<uint8_t>> calls;
        for (int i = 0; i < quillet_received_count(); ++i) {
            uint32_t code = 0;
            char16_t port[32];
            unsigned char probe[1];
            const int length = quillet_received(i, &code, probe, 0, port, 32);
            std::vector<uint8_t> bytes(static_cast<std::size_t>(length));
            quillet_received(i, &code, bytes.data(), length, port, 32);
            calls.push_back(bytes);
        }
        return calls;
    }
    static std::string Text(const std::vector<uint8_t>& bytes, std::size_t from, std::size_t n) {
        return std::string(bytes.begin() + from, bytes.begin() + from + n);
    }
};
