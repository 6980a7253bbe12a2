#include "core/bulk_transfers.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>
#include <vector>

#include "core/colour_data.h"
#include "core/command_blocks.h"
#include "core/errors.h"
#include "core/exchange_guard.h"
#include "core/jm_stat.h"
#include "core/parvel_link.h"
#include "core/requests.h"
#include "core/runtime_library.h"
#include "core/sleep.h"
#include "core/table_transfers.h"
#include "core/whole_files.h"

namespace Module2 {

namespace {

// What each whole-file transfer can hold: the file's bytes and their padding.
constexpr std::size_t FirmwareBuffer = 10000001;
constexpr std::size_t ColorDataBuffer = 80001;
constexpr std::size_t TableTempBuffer = 60001;
constexpr int FirmwareWaitMs = 2000;

std::string& FolderSetting() {
    static std::string folder;
    return folder;
}

// The file's bytes followed by (length mod block) zero bytes, the printer's padding rule; throws
// FileError when the file cannot be read, the padded bytes do not fit the buffer, or the file
// fails the rule `holds` for its length.
std::vector<uint8_t> ReadPadded(const std::string& path, std::size_t buffer, std::size_t block,
                                bool (*holds)(std::size_t) = nullptr) {
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, buffer);
    if (!bytes) throw FileError("\"" + path + "\" cannot be read or is too large to send");
    const std::size_t n = bytes->size();
    if (holds && !holds(n))
        throw FileError("\"" + path + "\" is too short for what it should hold");
    if (n + n % block > buffer) throw FileError("\"" + path + "\" is too large to send");
    bytes->resize(n + n % block, 0);
    return std::move(*bytes);
}

bool Send(const void* data, std::size_t length) {
    return JmStat::SendCommand(PortHandle, data, static_cast<int32_t>(length)) != 0;
}

// Sends the 32-byte header just built in SendBuffer.
bool SendHeader() {
    return Send(SendBuffer.data(), HeaderSize);
}

}  // namespace

void SetProgramFolder(const std::string& folder) {
    FolderSetting() = folder;
}

std::string ProgramFolder() {
    return FolderSetting().empty() ? ::ProgramFolder() : FolderSetting();
}

void PutSendBuffer(std::string& file, int16_t count) {
    static_assert(std::numeric_limits<int16_t>::max() < BufferSize,
                  "only a negative count can fall outside SendBuffer");
    if (count < 0) throw SubscriptOutOfRange("a block of " + std::to_string(count) + " bytes");
    file.append(reinterpret_cast<const char*>(SendBuffer.data()), static_cast<std::size_t>(count));
}

void WriteTableCommandFile(const std::string& path) {
    std::string file;
    file.reserve(TableCommandFileSize);
    for (const TableBlock* block : TableCommandFileBlocks()) {
        const int planes = block->perPlane ? PlaneCount : 1;
        for (int p = 0; p < planes; ++p) PutSendBuffer(file, BuildTableBlock(*block, p));
    }
    if (!ReplaceFileWhole(path, file)) throw FileWriteError("\"" + path + "\" cannot be written");
}

// Each transfer claims the printer before it builds anything in SendBuffer and keeps it to its
// last piece: a header whose data does not follow at once is lost to the printer.
bool WriteAllTables() {
    const ExchangeClaim claim;
    if (!claim) return false;
    const std::string path =
        (std::filesystem::path(ProgramFolder()) / TableCommandTempName).string();
    WriteTableCommandFile(path);
    const std::vector<uint8_t> bytes = ReadPadded(path, TableTempBuffer, 16);
    // The file already is complete command blocks: one send, no header of its own.
    return Send(bytes.data(), bytes.size());
}

bool WriteVersion(const std::string& text) {
    const ExchangeClaim claim;
    if (!claim) return false;
    int16_t pos = BuildCommandHeader("TBL_WT", "Version", VersionPayload);
    PutVersionText(pos, text);
    return Send(SendBuffer.data(), static_cast<std::size_t>(pos));
}

bool SendColorDataFile(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadPadded(path, ColorDataBuffer, 32);
    const ExchangeClaim claim;
    if (!claim) return false;
    BuildCommandHeader("TBL_WT", "CTRLD_UPDATE_KT", static_cast<int32_t>(bytes.size()));
    if (!SendHeader()) return false;
    return Send(bytes.data(), bytes.size());
}

void CheckColorDataFile(const std::string& path) {
    // A file shorter than the set's file image is no colour-data file, as Open All data finds.
    ReadPadded(path, ColorDataBuffer, 32, HoldsFileImage);
}

bool UpdateFirmware(const std::string& path) {
    // Read whole before anything is sent: a file that cannot be read sends nothing.
    const std::vector<uint8_t> bytes = ReadPadded(path, FirmwareBuffer, 32);
    const ExchangeClaim claim;
    if (!claim) return false;
    BuildCommandHeader("FW_UPD", "FLASH_REWRITE", -1);
    if (!SendHeader()) return false;
    Sleep(FirmwareWaitMs);
    BuildCommandHeader("FW_UPD", "FLASH_PROGRAM", static_cast<int32_t>(bytes.size()));
    if (!SendHeader()) return false;
    return Send(bytes.data(), bytes.size());
}

std::string ReadVersion() {
    return ReplyText(Request("TBL_RD", "Version"), 0);
}

std::string ReadChecksum() {
    return ReplyText(Request("MNT_RD", "CTRLD_CHKSUM"), '\r');
}

}  // namespace Module2
