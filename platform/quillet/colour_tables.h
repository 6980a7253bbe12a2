#pragma once
// The colour data an emulated printer holds: one payload per table parameter,
// exactly as the "TBL_WT" blocks carry it (big-endian words).

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quillet {

using Bytes = std::vector<uint8_t>;

enum class TableFamily { EGammaRange, Curve, CSigma, GSigma, GOmega, GDelta, StartCmp, PrintMode };

struct TableParameter {
    std::string name;  // "HeadTemp_Y", "E_Gamma_OP_SE", "StartCmpData", ...
    uint32_t size;     // payload bytes of its "TBL_WT" block
    TableFamily family;
    int table;  // index among the curve tables (Curve family only)
    int plane;  // 0..3 Y, M, C, OP; -1 for the tables without planes
};

// Every table parameter, in the order of the colour-data image ("E_Gamma_Y_SE" first,
// "StartCmpData" then "PrintModeData" last).
const std::vector<TableParameter>& TableParameters();
const TableParameter* FindTableParameter(const std::string& name);

// The printer's own tables before anything was written, the same every time.
Bytes FactoryPayload(const TableParameter& parameter);
std::map<std::string, Bytes> FactoryTables();
// Every table back to its factory payload, in place: the payloads keep their storage.
void RestoreFactoryTables(std::map<std::string, Bytes>& tables);

// Size of a colour-data image (".ktd"); a shorter image cannot be taken.
inline constexpr size_t kColourImageSize = 37122;
// Replaces every table by those of a colour-data image (little-endian words) of at
// least kColourImageSize bytes, in place.
void TakeColourImage(const uint8_t* image, std::map<std::string, Bytes>& tables);

// CRC-32 (the usual reflected polynomial 0xEDB88320).
uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0);
// Checksum of the colour data held: CRC-32 over every table payload in parameter order.
uint32_t TablesChecksum(const std::map<std::string, Bytes>& tables);

}  // namespace quillet
