#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/colour_data.h"

// Every table of the colour-data set written to the printer ("TBL_WT") and read back ("TBL_RD")
// one plane at a time, each exchange with the busy notice. A plane outside 0..3 is refused at once:
// false, nothing built or sent, no notice. A read whose reply is shorter than the table's payload
// (an empty reply included) is refused too: false, the table unchanged. No routine shows a
// message; the calling window reports "Printer not responding".
namespace Module2 {

bool WriteHeadTempTable(int plane);
bool ReadHeadTempTable(int plane);
bool WriteMediaTempTable(int plane);
bool ReadMediaTempTable(int plane);
bool WriteTempCoefTable(int plane);
bool ReadTempCoefTable(int plane);
bool WriteSTBGammaTable(int plane);
bool ReadSTBGammaTable(int plane);
// The curve plane ("E_Gamma_Y"), then its start and end levels ("E_Gamma_Y_SE"); the second
// exchange only when the first succeeded.
bool WriteEGammaTable(int plane);
bool ReadEGammaTable(int plane);
bool WriteCGammaTable(int plane);
bool ReadCGammaTable(int plane);
bool WriteCThetaTable(int plane);
bool ReadCThetaTable(int plane);
bool WriteCEpsilonTable(int plane);
bool ReadCEpsilonTable(int plane);
bool WriteGGammaTable(int plane);
bool ReadGGammaTable(int plane);
bool WriteGThetaTable(int plane);
bool ReadGThetaTable(int plane);
bool WriteGEpsilonTable(int plane);
bool ReadGEpsilonTable(int plane);
bool WriteEEpsilonTable(int plane);
bool ReadEEpsilonTable(int plane);
bool WriteGSigmaTable(int plane);
bool ReadGSigmaTable(int plane);
bool WriteCSigmaTable(int plane);
bool ReadCSigmaTable(int plane);
bool WriteIGammaTable(int plane);
bool ReadIGammaTable(int plane);
bool WriteIThetaTable(int plane);
bool ReadIThetaTable(int plane);
bool WriteIEpsilonTable(int plane);
bool ReadIEpsilonTable(int plane);
bool WriteGOmegaTable(int plane);
bool ReadGOmegaTable(int plane);
bool WriteGDeltaTable(int plane);
bool ReadGDeltaTable(int plane);
bool WriteMediaHumidityTable(int plane);
bool ReadMediaHumidityTable(int plane);
bool WriteHumidityCoefTable(int plane);
bool ReadHumidityCoefTable(int plane);
bool WriteStartCmpData();
bool ReadStartCmpData();
bool WritePrintModeData();
bool ReadPrintModeData();

// One kind of "TBL_WT" block: the parameter is name & plane suffix & tail ("StartCmpData" has no
// plane). The table command file is these blocks in record order, which the bulk transfers take
// from here so that each block is byte for byte the one the writers above send.
struct TableBlock {
    const char* name;
    const char* tail;
    int payload;
    bool perPlane;
    CurveTable ColorData::*curve;             // curve tables; nullptr for the others
    int16_t (*put)(int16_t& pos, int plane);  // the others' encoder (plane ignored when not
    int16_t (*get)(int16_t& pos, int plane);  // per plane) and decoder
};

std::string BlockParameter(const TableBlock& block, int plane);
// Builds the block for the plane in SendBuffer and returns its length (32 + payload).
int16_t BuildTableBlock(const TableBlock& block, int plane);
// The blocks of the table command file in their order.
const std::vector<const TableBlock*>& TableCommandFileBlocks();

}  // namespace Module2
