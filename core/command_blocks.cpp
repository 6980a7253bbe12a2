#include "core/command_blocks.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/errors.h"

namespace Module2 {

std::array<uint8_t, BufferSize> SendBuffer{};
std::array<uint8_t, BufferSize> ReceiveBuffer{};

namespace {

constexpr int PositionLimit = 32767;  // positions are signed 16-bit

void CheckPlane(int plane) {
    if (plane < 0 || plane >= PlaneCount)
        throw SubscriptOutOfRange("plane " + std::to_string(plane) + " is outside 0..3");
}

// The whole span pos .. pos + bytes must lie inside the buffer and the position range.
void CheckSpan(int pos, int bytes) {
    if (pos < 0)
        throw SubscriptOutOfRange("buffer position " + std::to_string(pos) + " is below 0");
    if (pos + bytes > PositionLimit || pos + bytes > BufferSize)
        throw NumberOverflow("a span of " + std::to_string(bytes) + " bytes from position " +
                             std::to_string(pos) + " runs past the buffer");
}

// Writes words big-endian and zero fill into SendBuffer; the span is checked before the first
// byte is written.
class Writer {
public:
    Writer(int16_t& pos, int bytes) : pos_(pos), at_(pos) { CheckSpan(pos, bytes); }
    void Word(int16_t w) {
        const auto u = static_cast<uint16_t>(w);
        SendBuffer[at_] = static_cast<uint8_t>(u >> 8);
        SendBuffer[at_ + 1] = static_cast<uint8_t>(u & 0xFF);
        at_ += 2;
    }
    void Zeros(int count) {
        for (int i = 0; i < count; ++i) SendBuffer[at_++] = 0;
    }
    void Bytes(const std::string& bytes) {
        for (char c : bytes) SendBuffer[at_++] = static_cast<uint8_t>(c);
    }
    int16_t Done() {
        pos_ = static_cast<int16_t>(at_);
        return pos_;
    }

private:
    int16_t& pos_;
    int at_;
};

class Reader {
public:
    Reader(int16_t& pos, int bytes) : pos_(pos), at_(pos) { CheckSpan(pos, bytes); }
    int16_t Word() {
        const auto u = static_cast<uint16_t>(ReceiveBuffer[at_] << 8 | ReceiveBuffer[at_ + 1]);
        at_ += 2;
        return static_cast<int16_t>(u);
    }
    int16_t Done() {
        pos_ = static_cast<int16_t>(at_);
        return pos_;
    }

private:
    int16_t& pos_;
    int at_;
};

// Words first..first+count-1 of a parameter table plane, then zero bytes up to 16.
int16_t PutParams(int16_t& pos, const ParamTable& table, int plane, int count) {
    CheckPlane(plane);
    Writer w(pos, ParamPayload);
    for (int i = 0; i < count; ++i) w.Word(table(i, plane));
    w.Zeros(ParamPayload - 2 * count);
    return w.Done();
}

// Reads only the words the table uses; the rest of the plane is left alone.
int16_t GetParams(int16_t& pos, ParamTable& table, int plane, int count) {
    CheckPlane(plane);
    Reader r(pos, 2 * count);
    for (int i = 0; i < count; ++i) table(i, plane) = r.Word();
    return r.Done();
}

// Text padded with blanks and cut to width characters, as bytes.
std::string Field(std::string_view text, std::size_t width) {
    std::string bytes = ToAnsi(text);
    bytes.resize(width, ' ');
    return bytes;
}

}  // namespace

int16_t BuildCommandHeader(std::string_view command, std::string_view parameter, int32_t length) {
    std::string header =
        "\x1b"
        "P" +
        Field(command, 6) + Field(parameter, 16);
    if (length >= 0) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%08d", static_cast<int>(length));
        header.append(digits, 8);
    } else {
        header.append(8, ' ');
    }
    int16_t pos = 0;
    Writer w(pos, HeaderSize);
    w.Bytes(header);
    return w.Done();
}

int16_t PutCurveColumn(int16_t& pos, const CurveTable& table, int plane) {
    CheckPlane(plane);
    Writer w(pos, CurvePayload);
    for (int i = 0; i < CurvePoints; ++i) w.Word(table(i, plane));
    return w.Done();
}

int16_t PutStartCmpData(int16_t& pos) {
    Writer w(pos, StartCmpPayload);
    for (int16_t word : ColorDataSet.StartCmpData.Words) w.Word(word);
    return w.Done();
}

int16_t PutEGammaRange(int16_t& pos, int plane) {
    CheckPlane(plane);
    Writer w(pos, EGammaRangePayload);
    w.Word(ColorDataSet.EGammaRange(0, plane));
    w.Word(ColorDataSet.EGammaRange(1, plane));
    return w.Done();
}

int16_t PutCSigma(int16_t& pos, int plane) {
    return PutParams(pos, ColorDataSet.CSigmaParams, plane, 3);
}
int16_t PutGSigma(int16_t& pos, int plane) {
    return PutParams(pos, ColorDataSet.GSigmaParams, plane, 3);
}
int16_t PutGOmega(int16_t& pos, int plane) {
    return PutParams(pos, ColorDataSet.GOmegaParams, plane, 7);
}
int16_t PutGDelta(int16_t& pos, int plane) {
    return PutParams(pos, ColorDataSet.GDeltaParams, plane, 4);
}

int16_t PutPrintModeData(int16_t& pos) {
    const PrintModeRecord& m = ColorDataSet.PrintModeData;
    Writer w(pos, PrintModePayload);
    for (int16_t word : {m.MediaSelect, m.PrintCycle, m.STBPitch, m.STBCalcCoef, m.OPData})
        w.Word(word);
    w.Zeros(6);
    return w.Done();
}

int16_t PutVersionText(int16_t& pos, std::string_view text) {
    Writer w(pos, VersionPayload);
    w.Bytes(Field(text, VersionPayload));
    return w.Done();
}

int16_t GetCurveColumn(int16_t& pos, CurveTable& table, int plane) {
    CheckPlane(plane);
    Reader r(pos, CurvePayload);
    for (int i = 0; i < CurvePoints; ++i) table(i, plane) = r.Word();
    return r.Done();
}

int16_t GetStartCmpData(int16_t& pos) {
    Reader r(pos, StartCmpPayload);
    for (int16_t& word : ColorDataSet.StartCmpData.Words) word = r.Word();
    return r.Done();
}

int16_t GetEGammaRange(int16_t& pos, int plane) {
    CheckPlane(plane);
    Reader r(pos, EGammaRangePayload);
    ColorDataSet.EGammaRange(0, plane) = r.Word();
    ColorDataSet.EGammaRange(1, plane) = r.Word();
    return r.Done();
}

int16_t GetCSigma(int16_t& pos, int plane) {
    return GetParams(pos, ColorDataSet.CSigmaParams, plane, 3);
}
int16_t GetGSigma(int16_t& pos, int plane) {
    return GetParams(pos, ColorDataSet.GSigmaParams, plane, 3);
}
int16_t GetGOmega(int16_t& pos, int plane) {
    return GetParams(pos, ColorDataSet.GOmegaParams, plane, 7);
}
int16_t GetGDelta(int16_t& pos, int plane) {
    return GetParams(pos, ColorDataSet.GDeltaParams, plane, 4);
}

int16_t GetPrintModeData(int16_t& pos) {
    PrintModeRecord& m = ColorDataSet.PrintModeData;
    Reader r(pos, 10);
    for (int16_t* field : {&m.MediaSelect, &m.PrintCycle, &m.STBPitch, &m.STBCalcCoef, &m.OPData})
        *field = r.Word();
    return r.Done();
}

std::string ToAnsi(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
            ++i;
            continue;
        }
        int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        uint32_t cp = lead & (0x3F >> extra);
        std::size_t j = i + 1;
        for (int k = 0; k < extra && j < text.size(); ++k, ++j) {
            const auto c = static_cast<unsigned char>(text[j]);
            if ((c & 0xC0) != 0x80) break;
            cp = cp << 6 | (c & 0x3F);
        }
        const bool whole = extra > 0 && j == i + 1 + static_cast<std::size_t>(extra);
        bytes += whole && cp <= 0xFF ? static_cast<char>(cp) : '?';
        i = whole ? j : std::max(j, i + 1);
    }
    return bytes;
}

std::string FromAnsi(std::string_view bytes) {
    std::string text;
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            text += ch;
        } else {
            text += static_cast<char>(0xC0 | c >> 6);
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

}  // namespace Module2
