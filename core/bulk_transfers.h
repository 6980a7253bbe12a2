#pragma once

#include <cstdint>
#include <string>

// Whole sets at once: the table command file (every table as a run of "TBL_WT" blocks), the
// write-all transfer through "JmTbl.tmp" in the program folder, the colour-data file with its
// version text, the firmware update from a ROM data file, and the version and checksum reads.
//
// A printer that does not take a send makes a procedure return false, as does a transfer asked for
// while another exchange is in progress (nothing is built or sent then). A file that cannot be
// read, created or written, or that does not fit its transfer buffer, throws FileError before
// anything is sent (FileWriteError for one that cannot be written), so the window can tell
// "FileOpen Error" and "FileSave Error" from "Printer not responding".
namespace Module2 {

constexpr int TableCommandFileSize = 39936;
constexpr int TableCommandBlocks = 89;
constexpr const char* TableCommandTempName = "JmTbl.tmp";

// Where "JmTbl.tmp" is written: the program folder. Until set, the folder of the executable.
void SetProgramFolder(const std::string& folder);
std::string ProgramFolder();

// Replaces the file whole with the 89 blocks; throws FileWriteError when it cannot be written.
void WriteTableCommandFile(const std::string& path);
// Appends SendBuffer(0 .. count-1) to the file being built.
void PutSendBuffer(std::string& file, int16_t count);

bool WriteAllTables();
bool WriteVersion(const std::string& text);
bool SendColorDataFile(const std::string& path);
// Throws FileError where SendColorDataFile would (unreadable, too large) and for a file shorter
// than the set's file image (HoldsFileImage), without sending, so that a caller can refuse the
// file before anything of the transfer goes out.
void CheckColorDataFile(const std::string& path);
bool UpdateFirmware(const std::string& path);

// The printer's texts; "" when the exchange failed.
std::string ReadVersion();
std::string ReadChecksum();

}  // namespace Module2
