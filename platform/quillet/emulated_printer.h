#pragma once
// An emulated printer: takes command blocks, keeps what a printer keeps and answers
// requests as a printer does.
//
// Sends: a block may arrive in several consecutive sends (header, length digits,
// data) and several blocks may arrive in one send; they are reassembled by their
// length fields. Each block is checked strictly (ESC "P", a known command, a known
// parameter, a length field of 8 digits or 8 blanks that suits the command) as soon
// as its bytes are there; a malformed block fails the send that brings the fault and
// is dropped whole. An unfinished block is dropped when a new block begins while its
// header is still incomplete, or when a receive comes.
//
// Replies (the payload; the monitor frames it with 8 length digits). Text replies end
// with CR, numbers are plain decimal unless a width is given:
//   STATUS                 status code, CR                        "0\r", "FU101\r"
//   INFO FVER              firmware version, CR LF                "EMU V1.20.07\r\n"
//   INFO SENSOR            13 slots of 9 characters "Snn:ddd; " (raw reading 0..255 in
//                          characters 5-7), CR; unpinned readings drift slowly
//   INFO MEDIA             "MT", media code in 5 digits, CR       "MT00301\r"
//   INFO PQTY              "PQTY", prints left, CR                "PQTY350\r"
//   INFO RESOLUTION_H / _V "RH" / "RV", dots per inch, CR         "RH300\r"
//   INFO FREE_PBUFFER      "FPB", free page buffers, CR           "FPB4\r"
//   INFO MLOT              "ML", 16-character lot, CR
//   INFO MCOLOR            "MC", four offset bytes Y M C OP (10 = no offset), CR
//   INFO MQTY              "MQTY", ribbon counter, CR             "MQTY250\r"
//   INFO SERIAL_NUMBER     serial number, CR
//   MNT_RD COUNTER_LIFE/_A/_B   "CL" / "CA" / "CB", count, CR
//   MNT_RD CTRLD_CHKSUM    CRC-32 of the colour data held, 8 upper-case hex digits, CR
//   MNT_RD MEDIA_ID_SET    "MDID", media id, CR                   "MDID3\r"
//   MNT_RD HEAD_RANK       "HR", 4 digits, CR
//   MNT_RD HEAT_SETTING    "HS", 3 digits (0..20), CR
//   MNT_RD PRINT_POS_ADJUST / CUT_POS_ADJUST   "PPA" / "CPA", sign, 3 digits, CR
//   TBL_RD <table>         the table's payload as held (binary, big-endian words)
//   TBL_RD Version         the version bytes as held, then NUL (no CR: the text is
//                          fixed-width and shown as it is)
// Writes are taken only in the forms the program sends (see the .cpp); anything
// else is refused. "TBL_CL" restores the factory colour data; "FLASH_REWRITE" enters
// the firmware update mode (status "FU1"); "FLASH_PROGRAM" is taken only in that
// mode: an empty image gives "FU101", an image leaves the mode with status "0".
//
// Settings (quillet_set_setting / quillet_get_setting keys): status, firmware, media,
// pqty, resolution_h, resolution_v, free_buffer, media_lot, colour_offset ("Y,M,C,OP"
// bytes), media_counter, serial, counter_life, counter_a, counter_b, media_id,
// head_rank, heat_setting, print_pos, cut_pos, cutter, retention, version,
// update_mode (0/1); read only: checksum, firmware_image_length, firmware_image_crc.
//
// One file a command family: emulated_printer_information.cpp (STATUS, INFO),
// _maintenance.cpp (MNT_RD, MNT_WT), _tables.cpp (TBL_RD, TBL_WT, TBL_CL), _firmware.cpp
// (FW_UPD), _modes.cpp (CNTRL); the settings by key in _settings.cpp. A new reply or write
// goes into its family's file, its command into the catalogue of command_block.cpp.
//
// An exchange allocates nothing once the printer has seen a block of its size: replies are
// views of what the printer holds or of its own reply buffer, the blocks it accepts are copied
// only for a log that asks for them, and the trace's notes are written only when it is on.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/quillet/colour_tables.h"
#include "platform/quillet/command_block.h"

namespace quillet {

// One exchange as the printer reports it to the monitor.
struct Outcome {
    // Asked for by the monitor:
    bool wantNotes = false;                  // the trace is on: say what happened
    std::vector<Bytes>* accepted = nullptr;  // log of the blocks taken, when one is kept

    bool ok = true;
    std::string reason;              // why the exchange failed
    std::vector<std::string> notes;  // further lines for the trace
};

// A reply's payload: valid until the printer's next exchange or change.
using Payload = std::span<const uint8_t>;

// The printer's numbers, each settable by its key.
enum class Number {
    Media,
    Pqty,
    CounterLife,
    CounterA,
    CounterB,
    ResolutionH,
    ResolutionV,
    FreeBuffer,
    MediaCounter,
    MediaId,
    HeadRank,
    HeatSetting,
    PrintPos,
    CutPos,
    Cutter,
    Retention,
    Count
};

class EmulatedPrinter {
public:
    EmulatedPrinter();

    void Send(const uint8_t* data, size_t n, Outcome& out);
    Payload Receive(const uint8_t* data, size_t n, Outcome& out);

    bool SetSensor(int slot, int raw);
    bool SetSetting(const std::string& key, const std::string& value);
    bool GetSetting(const std::string& key, std::string& value) const;
    void SetReply(const std::string& command, const std::string& parameter, const Bytes* payload);
    const Bytes* Table(const std::string& parameter) const;

private:
    struct Settings {
        std::string status = "0";
        std::string firmware = "EMU V1.20.07";
        std::string mediaLot = "RB2611A0417K0093";
        std::string serial = "RN12-0004711";
        Bytes version;
        std::array<uint8_t, 4> colourOffset = {10, 12, 8, 10};
        std::array<int, static_cast<size_t>(Number::Count)> numbers{};
        bool updateMode = false;
        long long imageLength = -1;
        uint32_t imageCrc = 0;
    };

    // Block reassembly and dispatch (emulated_printer.cpp).
    size_t TakeBlocks(const uint8_t* bytes, size_t n, Outcome& out);
    bool Admissible(const CommandRule& rule, std::string& why) const;
    bool Apply(const CommandRule& rule, const uint8_t* data, uint32_t length, std::string& why);
    Payload Answer(const CommandRule& rule);
    void DropPending(Outcome& outcome, const char* why);
    void ClearPending();

    // Replies built in the printer's own reply buffer: the pieces, then the terminator.
    Payload Reply(std::initializer_list<std::string_view> pieces, std::string_view end = "\r");
    Payload Reply(const Bytes& bytes, std::string_view end);
    // A tag and a number, "PQTY350\r".
    Payload Tagged(const char* tag, Number key);

    // One family each.
    Payload AnswerInformation(const CommandRule& rule);
    std::string_view SensorRecord();
    Payload AnswerMaintenance(const CommandRule& rule);
    bool ApplyMaintenance(const std::string& parameter, const uint8_t* data, uint32_t length,
                          std::string& why);
    Payload AnswerTable(const CommandRule& rule);
    bool ApplyTable(const CommandRule& rule, const uint8_t* data, uint32_t length);
    bool ApplyFirmware(const CommandRule& rule, const uint8_t* data, uint32_t length);
    bool ApplyMode(const CommandRule& rule, const uint8_t* data, uint32_t length, std::string& why);

    int& At(Number key) { return settings_.numbers[static_cast<size_t>(key)]; }
    int At(Number key) const { return settings_.numbers[static_cast<size_t>(key)]; }

    Settings settings_;
    std::map<std::string, Bytes> tables_;
    std::array<int, 13> pinnedSensor_;
    // Keyed by the rule, which names command and parameter once for all.
    std::map<const CommandRule*, Bytes> scriptedReplies_;

    Bytes pending_;  // bytes of blocks not yet complete
    BlockHeader pendingHeader_;
    bool pendingLengthChecked_ = false;
    Bytes reply_;        // the reply being built; its storage is kept from reply to reply
    char scratch_[160];  // the sensor record and formatted numbers
};

// Shared by the families: parses and formats of the printer's own.
// n decimal digits at p; false when any is not a digit.
bool Digits(const uint8_t* p, size_t n, int& value);
// The value printed with a printf pattern of one int ("%05d") into buf.
std::string_view Format(char (&buf)[32], const char* pattern, int value);
// The factory version text (32 bytes, blank-padded).
const Bytes& FactoryVersion();

}  // namespace quillet
