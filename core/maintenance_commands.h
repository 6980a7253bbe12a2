#pragma once

#include <cstdint>
#include <string>

// The printer's maintenance settings and information texts: one exchange each, straight through
// the status library with the chosen printer's PortHandle, without the busy notice. Writes send
// one "MNT_WT" block and return whether the printer took it; reads return the reply's text up to
// its CR, "" when the exchange failed. No routine shows a message, waits or retries: the calling
// window reports "Printer not responding".
namespace Module2 {

bool WriteMedia(int16_t code);                 // "MT" and 5 digits, CR
bool WriteHeadRank(int16_t rank);              // "HR" and 4 digits, CR, NUL
bool WritePrinterId(const std::string& text);  // the text, CR, NUL in a 32-byte field
bool WriteHeatSetting(int16_t setting);        // "HS" and 3 digits, CR, NUL, NUL
bool WriteResolution(int16_t dpi);             // 3 digits, CR, NULs to 8 bytes
// "PPA" / "CPA", a sign and 3 digits, CR. A step count that three digits cannot hold (beyond
// MaxPositionSteps either way) is refused: false, and nothing is sent.
constexpr int MaxPositionSteps = 999;
bool WritePrintPosAdjust(int16_t steps);
bool WriteCutPosAdjust(int16_t steps);

std::string ReadSerialNumber();
std::string ReadHeadRank();        // "HR" and 4 digits
std::string ReadHeatSetting();     // "HS" and 3 digits
std::string ReadPrintPosAdjust();  // "PPA", sign, 3 digits
std::string ReadCutPosAdjust();    // "CPA", sign, 3 digits
// The sensor record, read as a poll: the reply is waited for only briefly (Parvel::
// JmPollSensorInfo), so that a silent printer fails it in a fraction of a second. "" on failure.
// The status library counts the reply one short, so the record's last character is not part of it.
std::string ReadSensorInfo();

}  // namespace Module2
