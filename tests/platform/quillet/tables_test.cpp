// The colour data the emulated printer keeps: writes and reads per parameter, its
// factory tables, the colour-data image, the version and the checksum.

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "tests/platform/quillet/printer_link.h"

namespace quillet_test {
namespace {

struct Parameter {
    std::string name;
    size_t size;
    char family;  // 'R' range, 'V' curve, 'S' sigma, 'O' omega, 'D' delta, 'T' start, 'P' mode
};

// Every table parameter with its payload size, in the order of the table command file.
std::vector<Parameter> AllParameters() {
    std::vector<Parameter> list;
    const char* suffix[] = {"_Y", "_M", "_C", "_OP"};
    auto planes = [&](const std::string& name, const std::string& tail, size_t size, char f) {
        for (const char* s : suffix) list.push_back({name + s + tail, size, f});
    };
    planes("E_Gamma", "_SE", 4, 'R');
    for (const char* c : {"HeadTemp", "MediaTemp", "TempCoef", "STB_Gamma", "E_Gamma", "C_Gamma",
                          "C_Theta", "C_Epsilon", "G_Gamma", "G_Theta", "G_Epsilon", "E_Epsilon",
                          "I_Gamma", "I_Theta", "I_Epsilon"})
        planes(c, "", 512, 'V');
    planes("C_Sigma", "", 16, 'S');
    planes("G_Sigma", "", 16, 'S');
    planes("G_Omega", "", 16, 'O');
    planes("G_Delta", "", 16, 'D');
    planes("MediaHumidity", "", 512, 'V');
    planes("HumidityCoef", "", 512, 'V');
    list.push_back({"StartCmpData", 2000, 'T'});
    list.push_back({"PrintModeData", 16, 'P'});
    return list;
}

Bytes Words(std::initializer_list<int> words, size_t size) {
    Bytes b;
    for (int w : words) {
        b.push_back(static_cast<uint8_t>((w >> 8) & 0xFF));
        b.push_back(static_cast<uint8_t>(w & 0xFF));
    }
    b.resize(size, 0);
    return b;
}

int Word(const Bytes& b, size_t i) {
    return static_cast<int16_t>((b[2 * i] << 8) | b[2 * i + 1]);
}

// What the program sends for a parameter from its own defaults.
Bytes ProgramDefault(const Parameter& p) {
    switch (p.family) {
        case 'R':
            return Words({2000, 8000}, 4);
        case 'S':
            return Words({4000, 2000, 1000}, 16);
        case 'O':
            return Words({8}, 16);
        case 'D':
            return Words({}, 16);
        case 'T':
            return Words({}, 2000);
        case 'P':
            return Words({0, 600}, 16);
        default: {
            Bytes b;
            for (int i = 0; i < 256; ++i) {
                int v = static_cast<int>(std::floor(i * 10001.0 / 256));
                if (i == 0 || i == 255) v |= 0x8000;
                b.push_back(static_cast<uint8_t>(v >> 8));
                b.push_back(static_cast<uint8_t>(v & 0xFF));
            }
            return b;
        }
    }
}

Bytes Read(const std::string& parameter) {
    Bytes payload;
    EXPECT_TRUE(Receive(Block("TBL_RD", parameter, -1), payload)) << parameter;
    return payload;
}

std::map<std::string, Bytes> ReadAll() {
    std::map<std::string, Bytes> all;
    for (const auto& p : AllParameters()) all[p.name] = Read(p.name);
    return all;
}

TEST_F(Emulator, KeepsWhatEveryTableWriteCarries) {
    uint8_t seed = 1;
    for (const auto& p : AllParameters()) {
        SCOPED_TRACE(p.name);
        Bytes data(p.size);
        for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(seed * 31 + i);
        ++seed;
        // A payload one word short or long is refused and changes nothing.
        const Bytes before = Read(p.name);
        EXPECT_FALSE(
            Send(Block("TBL_WT", p.name, static_cast<long>(p.size) - 2, Bytes(p.size - 2))));
        EXPECT_FALSE(
            Send(Block("TBL_WT", p.name, static_cast<long>(p.size) + 2, Bytes(p.size + 2))));
        EXPECT_EQ(Read(p.name), before);

        ASSERT_TRUE(Send(Block("TBL_WT", p.name, static_cast<long>(p.size), data)));
        EXPECT_EQ(Read(p.name), data);
        // The request may also carry "00000000" as its length field.
        Bytes payload;
        ASSERT_TRUE(Receive(Block("TBL_RD", p.name, 0), payload));
        EXPECT_EQ(payload, data);
    }
    EXPECT_EQ(AllParameters().size(), 90u);
}

TEST_F(Emulator, AnswersWithFactoryTablesOfItsOwnTheSameAfterEveryReset) {
    const auto factory = ReadAll();
    for (const auto& p : AllParameters()) {
        SCOPED_TRACE(p.name);
        const Bytes& t = factory.at(p.name);
        ASSERT_EQ(t.size(), p.size);
        EXPECT_NE(t, ProgramDefault(p));  // a read visibly changes an editor
        switch (p.family) {
            case 'V':  // a rising curve within 0..10000, nodes at both ends
                for (size_t i = 1; i < 256; ++i)
                    EXPECT_GE(Word(t, i) & 0x7FFF, Word(t, i - 1) & 0x7FFF);
                EXPECT_LE(Word(t, 255) & 0x7FFF, 10000);
                EXPECT_TRUE(Word(t, 0) & 0x8000);
                EXPECT_TRUE(Word(t, 255) & 0x8000);
                break;
            case 'R':
                EXPECT_LT(Word(t, 0), Word(t, 1));
                break;
            case 'S':  // the sigma editors' sum rule holds
                EXPECT_EQ(Word(t, 0) + 2 * Word(t, 1) + 2 * Word(t, 2), 10000);
                break;
            case 'O':
                for (size_t i = 0; i < 7; ++i) EXPECT_TRUE(Word(t, i) >= 0 && Word(t, i) <= 255);
                break;
            case 'T':
                for (size_t i = 0; i < 1000; ++i)
                    EXPECT_TRUE(Word(t, i) >= -10 && Word(t, i) <= 10);
                break;
            case 'P':
                EXPECT_TRUE(Word(t, 0) >= 0 && Word(t, 0) <= 2);
                EXPECT_TRUE(Word(t, 4) >= 0 && Word(t, 4) <= 255);
                break;
        }
    }
    // The planes differ from each other too.
    EXPECT_NE(factory.at("HeadTemp_Y"), factory.at("HeadTemp_M"));
    EXPECT_NE(factory.at("HeadTemp_Y"), factory.at("MediaTemp_Y"));

    ASSERT_TRUE(Send(Block("TBL_WT", "HeadTemp_C", 512, Bytes(512))));
    quillet_reset();
    EXPECT_EQ(ReadAll(), factory);
    ASSERT_TRUE(Send(Block("TBL_WT", "PrintModeData", 16, Bytes(16))));
    ASSERT_TRUE(Send(Block("TBL_CL", "", 0)));  // the colour-data clear
    EXPECT_EQ(ReadAll(), factory);
}

// A colour-data image whose every word is known: word k of the image is k * 3.
Bytes ColourImage(size_t size) {
    Bytes image(size);
    for (size_t k = 0; 2 * k + 1 < size; ++k) {
        image[2 * k] = static_cast<uint8_t>((k * 3) & 0xFF);
        image[2 * k + 1] = static_cast<uint8_t>(((k * 3) >> 8) & 0xFF);
    }
    return image;
}

// The big-endian payload of `words` image words from byte `offset`, zero-padded to `size`.
Bytes FromImage(const Bytes& image, size_t offset, size_t words, size_t size) {
    Bytes b;
    for (size_t i = 0; i < words; ++i) {
        b.push_back(image[offset + 2 * i + 1]);
        b.push_back(image[offset + 2 * i]);
    }
    b.resize(size, 0);
    return b;
}

TEST_F(Emulator, TakesAColourDataImageAndAnswersItsTables) {
    const Bytes image = ColourImage(37124);  // a colour-data file and its two padding bytes
    ASSERT_TRUE(Send(Block("TBL_WT", "CTRLD_UPDATE_KT", 37124)));
    ASSERT_TRUE(Send(image));
    struct Case {
        const char* parameter;
        size_t offset, words, size;
    };
    const std::vector<Case> cases = {
        {"E_Gamma_Y_SE", 16, 2, 4},           {"E_Gamma_OP_SE", 28, 2, 4},
        {"HeadTemp_Y", 32, 256, 512},         {"HeadTemp_M", 544, 256, 512},
        {"E_Gamma_C", 8224 + 1024, 256, 512}, {"I_Epsilon_OP", 28704 + 1536, 256, 512},
        {"C_Sigma_M", 30768, 3, 16},          {"G_Sigma_Y", 30816, 3, 16},
        {"G_Omega_C", 30912, 7, 16},          {"G_Delta_OP", 30992, 4, 16},
        {"MediaHumidity_Y", 31008, 256, 512}, {"HumidityCoef_OP", 33056 + 1536, 256, 512},
        {"StartCmpData", 35104, 1000, 2000},  {"PrintModeData", 37106, 5, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parameter);
        EXPECT_EQ(Read(c.parameter), FromImage(image, c.offset, c.words, c.size));
    }
}

TEST_F(Emulator, ReportsVersionAndAChecksumOfWhatItHolds) {
    const std::string factoryVersion = Ask("TBL_RD", "Version");
    EXPECT_EQ(factoryVersion.size(), 33u);
    EXPECT_EQ(factoryVersion.back(), '\0');
    EXPECT_EQ(factoryVersion.find('\r'), std::string::npos);

    std::string version = "DEMO_V2.KTD";
    version.resize(32, ' ');
    ASSERT_TRUE(Send(Block("TBL_WT", "Version", 32, Raw(version))));
    EXPECT_EQ(Ask("TBL_RD", "Version"), version + '\0');
    Bytes payload;
    ASSERT_TRUE(Receive(Block("TBL_RD", "Version", 0), payload));
    EXPECT_EQ(Text(payload), version + '\0');

    const std::string factorySum = Ask("MNT_RD", "CTRLD_CHKSUM");
    ASSERT_EQ(factorySum.size(), 9u);
    EXPECT_EQ(factorySum.back(), '\r');
    EXPECT_EQ(factorySum.find_first_not_of("0123456789ABCDEF"), 8u);
    EXPECT_EQ(Ask("MNT_RD", "CTRLD_CHKSUM"), factorySum);

    // One word of one table changes the sum; writing it back restores it.
    const Bytes original = Read("G_Delta_M");
    Bytes changed = original;
    changed[1] ^= 1;
    ASSERT_TRUE(Send(Block("TBL_WT", "G_Delta_M", 16, changed)));
    const std::string changedSum = Ask("MNT_RD", "CTRLD_CHKSUM");
    EXPECT_NE(changedSum, factorySum);
    ASSERT_TRUE(Send(Block("TBL_WT", "G_Delta_M", 16, original)));
    EXPECT_EQ(Ask("MNT_RD", "CTRLD_CHKSUM"), factorySum);
    // The request of the status library carries "00000000".
    ASSERT_TRUE(Receive(Block("MNT_RD", "CTRLD_CHKSUM", 0), payload));
    EXPECT_EQ(Text(payload), factorySum);

    // A version whose length is a multiple of 16 is taken, even an empty one.
    ASSERT_TRUE(Send(Block("TBL_WT", "Version", 0)));
    EXPECT_EQ(Ask("TBL_RD", "Version"), std::string(1, '\0'));
}

TEST_F(Emulator, TakesTheWholeTableStreamInOneSend) {
    Bytes stream;
    std::map<std::string, Bytes> sent;
    uint8_t seed = 7;
    for (const auto& p : AllParameters()) {
        if (p.name == "PrintModeData") continue;  // the stream carries no print mode block
        Bytes data(p.size, seed++);
        sent[p.name] = data;
        const Bytes block = Block("TBL_WT", p.name, static_cast<long>(p.size), data);
        stream.insert(stream.end(), block.begin(), block.end());
    }
    ASSERT_EQ(stream.size(), 39936u);
    ASSERT_TRUE(Send(stream));
    EXPECT_EQ(quillet_block_count(), 89);
    for (const auto& [name, data] : sent) EXPECT_EQ(Read(name), data) << name;
}

}  // namespace
}  // namespace quillet_test
