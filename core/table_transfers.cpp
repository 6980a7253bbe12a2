#include "core/table_transfers.h"

#include "core/command_blocks.h"
#include "core/exchange_guard.h"
#include "core/jm_stat.h"
#include "core/parvel_link.h"

namespace Module2 {

namespace {

int16_t PutStartCmp(int16_t& pos, int) {
    return PutStartCmpData(pos);
}
int16_t GetStartCmp(int16_t& pos, int) {
    return GetStartCmpData(pos);
}
int16_t PutPrintMode(int16_t& pos, int) {
    return PutPrintModeData(pos);
}
int16_t GetPrintMode(int16_t& pos, int) {
    return GetPrintModeData(pos);
}

constexpr TableBlock Curve(const char* name, CurveTable ColorData::*table) {
    return {name, "", CurvePayload, true, table, nullptr, nullptr};
}
constexpr TableBlock Params(const char* name, int16_t (*put)(int16_t&, int),
                            int16_t (*get)(int16_t&, int)) {
    return {name, "", ParamPayload, true, nullptr, put, get};
}

const TableBlock EGammaLevels{"E_Gamma", "_SE",          EGammaRangePayload, true,
                              nullptr,   PutEGammaRange, GetEGammaRange};
const TableBlock HeadTemp = Curve("HeadTemp", &ColorData::HeadTemp);
const TableBlock MediaTemp = Curve("MediaTemp", &ColorData::MediaTemp);
const TableBlock TempCoef = Curve("TempCoef", &ColorData::TempCoef);
const TableBlock STBGamma = Curve("STB_Gamma", &ColorData::STB_Gamma);
const TableBlock EGamma = Curve("E_Gamma", &ColorData::E_Gamma);
const TableBlock CGamma = Curve("C_Gamma", &ColorData::C_Gamma);
const TableBlock CTheta = Curve("C_Theta", &ColorData::C_Theta);
const TableBlock CEpsilon = Curve("C_Epsilon", &ColorData::C_Epsilon);
const TableBlock GGamma = Curve("G_Gamma", &ColorData::G_Gamma);
const TableBlock GTheta = Curve("G_Theta", &ColorData::G_Theta);
const TableBlock GEpsilon = Curve("G_Epsilon", &ColorData::G_Epsilon);
const TableBlock EEpsilon = Curve("E_Epsilon", &ColorData::E_Epsilon);
const TableBlock IGamma = Curve("I_Gamma", &ColorData::I_Gamma);
const TableBlock ITheta = Curve("I_Theta", &ColorData::I_Theta);
const TableBlock IEpsilon = Curve("I_Epsilon", &ColorData::I_Epsilon);
const TableBlock CSigma = Params("C_Sigma", PutCSigma, GetCSigma);
const TableBlock GSigma = Params("G_Sigma", PutGSigma, GetGSigma);
const TableBlock GOmega = Params("G_Omega", PutGOmega, GetGOmega);
const TableBlock GDelta = Params("G_Delta", PutGDelta, GetGDelta);
const TableBlock MediaHumidity = Curve("MediaHumidity", &ColorData::MediaHumidity);
const TableBlock HumidityCoef = Curve("HumidityCoef", &ColorData::HumidityCoef);
const TableBlock StartCmp{"StartCmpData", "",          StartCmpPayload, false,
                          nullptr,        PutStartCmp, GetStartCmp};
const TableBlock PrintMode{"PrintModeData", "",           PrintModePayload, false,
                           nullptr,         PutPrintMode, GetPrintMode};

bool ValidPlane(int plane) {
    return plane >= 0 && plane < PlaneCount;
}

// Both claim the printer before they touch SendBuffer, and a read keeps it until the reply is
// decoded from ReceiveBuffer.
bool Write(const TableBlock& block, int plane) {
    if (block.perPlane && !ValidPlane(plane)) return false;
    const ExchangeClaim claim;
    if (!claim) return false;
    const int16_t length = BuildTableBlock(block, plane);
    return JmStat::SendCommand(PortHandle, SendBuffer.data(), length) != 0;
}

bool Read(const TableBlock& block, int plane) {
    if (block.perPlane && !ValidPlane(plane)) return false;
    const ExchangeClaim claim;
    if (!claim) return false;
    BuildCommandHeader("TBL_RD", BlockParameter(block, plane), -1);
    const int32_t received = JmStat::ReceiveCommand(PortHandle, SendBuffer.data(), HeaderSize,
                                                    ReceiveBuffer.data(), BufferSize - 1);
    // A reply shorter than the table would decode bytes left over from an earlier reply.
    if (received < block.payload) return false;
    int16_t pos = 0;
    if (block.curve != nullptr) {
        GetCurveColumn(pos, ColorDataSet.*block.curve, plane);
    } else {
        block.get(pos, plane);
    }
    return true;
}

}  // namespace

std::string BlockParameter(const TableBlock& block, int plane) {
    std::string parameter = block.name;
    if (block.perPlane) parameter += PlaneSuffix.at(plane);
    return parameter + block.tail;
}

int16_t BuildTableBlock(const TableBlock& block, int plane) {
    int16_t pos = BuildCommandHeader("TBL_WT", BlockParameter(block, plane), block.payload);
    if (block.curve != nullptr) return PutCurveColumn(pos, ColorDataSet.*block.curve, plane);
    return block.put(pos, plane);
}

const std::vector<const TableBlock*>& TableCommandFileBlocks() {
    static const std::vector<const TableBlock*> blocks = {
        &EGammaLevels, &HeadTemp, &MediaTemp,     &TempCoef,     &STBGamma, &EGamma,
        &CGamma,       &CTheta,   &CEpsilon,      &GGamma,       &GTheta,   &GEpsilon,
        &EEpsilon,     &IGamma,   &ITheta,        &IEpsilon,     &CSigma,   &GSigma,
        &GOmega,       &GDelta,   &MediaHumidity, &HumidityCoef, &StartCmp};
    return blocks;
}

bool WriteHeadTempTable(int plane) {
    return Write(HeadTemp, plane);
}
bool ReadHeadTempTable(int plane) {
    return Read(HeadTemp, plane);
}
bool WriteMediaTempTable(int plane) {
    return Write(MediaTemp, plane);
}
bool ReadMediaTempTable(int plane) {
    return Read(MediaTemp, plane);
}
bool WriteTempCoefTable(int plane) {
    return Write(TempCoef, plane);
}
bool ReadTempCoefTable(int plane) {
    return Read(TempCoef, plane);
}
bool WriteSTBGammaTable(int plane) {
    return Write(STBGamma, plane);
}
bool ReadSTBGammaTable(int plane) {
    return Read(STBGamma, plane);
}

bool WriteEGammaTable(int plane) {
    return Write(EGamma, plane) && Write(EGammaLevels, plane);
}
bool ReadEGammaTable(int plane) {
    // When the levels fail, the curve plane read first stays replaced.
    return Read(EGamma, plane) && Read(EGammaLevels, plane);
}

bool WriteCGammaTable(int plane) {
    return Write(CGamma, plane);
}
bool ReadCGammaTable(int plane) {
    return Read(CGamma, plane);
}
bool WriteCThetaTable(int plane) {
    return Write(CTheta, plane);
}
bool ReadCThetaTable(int plane) {
    return Read(CTheta, plane);
}
bool WriteCEpsilonTable(int plane) {
    return Write(CEpsilon, plane);
}
bool ReadCEpsilonTable(int plane) {
    return Read(CEpsilon, plane);
}
bool WriteGGammaTable(int plane) {
    return Write(GGamma, plane);
}
bool ReadGGammaTable(int plane) {
    return Read(GGamma, plane);
}
bool WriteGThetaTable(int plane) {
    return Write(GTheta, plane);
}
bool ReadGThetaTable(int plane) {
    return Read(GTheta, plane);
}
bool WriteGEpsilonTable(int plane) {
    return Write(GEpsilon, plane);
}
bool ReadGEpsilonTable(int plane) {
    return Read(GEpsilon, plane);
}
bool WriteEEpsilonTable(int plane) {
    return Write(EEpsilon, plane);
}
bool ReadEEpsilonTable(int plane) {
    return Read(EEpsilon, plane);
}
bool WriteGSigmaTable(int plane) {
    return Write(GSigma, plane);
}
bool ReadGSigmaTable(int plane) {
    return Read(GSigma, plane);
}
bool WriteCSigmaTable(int plane) {
    return Write(CSigma, plane);
}
bool ReadCSigmaTable(int plane) {
    return Read(CSigma, plane);
}
bool WriteIGammaTable(int plane) {
    return Write(IGamma, plane);
}
bool ReadIGammaTable(int plane) {
    return Read(IGamma, plane);
}
bool WriteIThetaTable(int plane) {
    return Write(ITheta, plane);
}
bool ReadIThetaTable(int plane) {
    return Read(ITheta, plane);
}
bool WriteIEpsilonTable(int plane) {
    return Write(IEpsilon, plane);
}
bool ReadIEpsilonTable(int plane) {
    return Read(IEpsilon, plane);
}
bool WriteGOmegaTable(int plane) {
    return Write(GOmega, plane);
}
bool ReadGOmegaTable(int plane) {
    return Read(GOmega, plane);
}
bool WriteGDeltaTable(int plane) {
    return Write(GDelta, plane);
}
bool ReadGDeltaTable(int plane) {
    return Read(GDelta, plane);
}
bool WriteMediaHumidityTable(int plane) {
    return Write(MediaHumidity, plane);
}
bool ReadMediaHumidityTable(int plane) {
    return Read(MediaHumidity, plane);
}
bool WriteHumidityCoefTable(int plane) {
    return Write(HumidityCoef, plane);
}
bool ReadHumidityCoefTable(int plane) {
    return Read(HumidityCoef, plane);
}
bool WriteStartCmpData() {
    return Write(StartCmp, 0);
}
bool ReadStartCmpData() {
    return Read(StartCmp, 0);
}
bool WritePrintModeData() {
    return Write(PrintMode, 0);
}
bool ReadPrintModeData() {
    return Read(PrintMode, 0);
}

}  // namespace Module2
