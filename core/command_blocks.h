#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/colour_data.h"

// The program's command blocks and the payload codecs of every table family. Each block is built
// in SendBuffer from its first byte (header 0..31, payload from 32); each reply payload lands in
// ReceiveBuffer from its first byte. Words travel big-endian, bit 15 (the control-point flag)
// first.
//
// Positions are signed 16-bit and advance by 2 a word. Every codec checks its whole span before it
// touches a byte: a span that starts below 0 throws SubscriptOutOfRange, one that runs past 32,767
// throws NumberOverflow, a plane outside 0..3 throws SubscriptOutOfRange; the buffers and the
// record are then unchanged.
namespace Module2 {

constexpr int BufferSize = 38001;
constexpr int HeaderSize = 32;
constexpr int CurvePayload = 512;
constexpr int ParamPayload = 16;
constexpr int EGammaRangePayload = 4;
constexpr int StartCmpPayload = 2000;
constexpr int PrintModePayload = 16;
constexpr int VersionPayload = 32;

extern std::array<uint8_t, BufferSize> SendBuffer;
extern std::array<uint8_t, BufferSize> ReceiveBuffer;

// ESC "P", command and parameter blank-padded and cut to 6 and 16 characters, the length as 8
// digits (8 blanks when negative). Returns 32, the position of the payload.
int16_t BuildCommandHeader(std::string_view command, std::string_view parameter, int32_t length);

// Encoders write at pos into SendBuffer and return the new position (also left in pos).
int16_t PutCurveColumn(int16_t& pos, const CurveTable& table, int plane);
int16_t PutStartCmpData(int16_t& pos);
int16_t PutEGammaRange(int16_t& pos, int plane);
int16_t PutCSigma(int16_t& pos, int plane);
int16_t PutGSigma(int16_t& pos, int plane);
int16_t PutGOmega(int16_t& pos, int plane);
int16_t PutGDelta(int16_t& pos, int plane);
int16_t PutPrintModeData(int16_t& pos);
int16_t PutVersionText(int16_t& pos, std::string_view text);

// Decoders read from pos in ReceiveBuffer into ColorDataSet (or the given table) and return the
// new position.
int16_t GetCurveColumn(int16_t& pos, CurveTable& table, int plane);
int16_t GetStartCmpData(int16_t& pos);
int16_t GetEGammaRange(int16_t& pos, int plane);
int16_t GetCSigma(int16_t& pos, int plane);
int16_t GetGSigma(int16_t& pos, int plane);
int16_t GetGOmega(int16_t& pos, int plane);
int16_t GetGDelta(int16_t& pos, int plane);
int16_t GetPrintModeData(int16_t& pos);

// The printer's texts are single bytes: UTF-8 text to bytes (a character beyond U+00FF becomes
// '?'), and back.
std::string ToAnsi(std::string_view text);
std::string FromAnsi(std::string_view bytes);

}  // namespace Module2
