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

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/quillet/colour_tables.h"
#include "platform/quillet/command_block.h"

namespace quillet {

struct Outcome {
    bool ok = true;
    std::string reason;              // why the exchange failed
    std::vector<std::string> notes;  // further lines for the trace
    std::vector<Bytes> accepted;     // blocks completed and taken by this exchange
};

class EmulatedPrinter {
public:
    EmulatedPrinter();

    Outcome Send(const uint8_t* data, size_t n);
    Outcome Receive(const uint8_t* data, size_t n, Bytes& payload);

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
        std::map<std::string, int> numbers;
        bool updateMode = false;
        long long imageLength = -1;
        uint32_t imageCrc = 0;
    };

    size_t TakeBlocks(Outcome& out, std::string& why);
    bool Admissible(const CommandRule& rule, std::string& why) const;
    bool Apply(const CommandRule& rule, const uint8_t* data, uint32_t length, std::string& why);
    bool ApplyMaintenance(const std::string& parameter, const uint8_t* data, uint32_t length,
                          std::string& why);
    Bytes Answer(const CommandRule& rule) const;
    std::string SensorRecord() const;
    int& Number(const char* key) { return settings_.numbers.at(key); }
    int Number(const char* key) const { return settings_.numbers.at(key); }
    void DropPending(Outcome& outcome, const char* why);
    void ClearPending();

    Settings settings_;
    std::map<std::string, Bytes> tables_;
    std::array<int, 13> pinnedSensor_;
    std::map<std::pair<std::string, std::string>, Bytes> scriptedReplies_;

    Bytes pending_;  // bytes of blocks not yet complete
    BlockHeader pendingHeader_;
    bool pendingLengthChecked_ = false;
};

}  // namespace quillet
