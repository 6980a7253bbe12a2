#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/engine/jm_engine.h"

// A data set whose every curve draws a picture unchanged: curves that map
// level i to i, the E gamma range 0..10000, the omega kernel "E = 16" and
// delta levels and coefficients 0. A test changes only what it looks at.
struct TestSet {
    std::vector<unsigned char> bytes = std::vector<unsigned char>(JM_ENGINE_IMAGE_SIZE);

    static constexpr int kCurveTables[] = {
        JM_OFF_HEAD_TEMP,    JM_OFF_MEDIA_TEMP, JM_OFF_TEMP_COEF, JM_OFF_STB_GAMMA,
        JM_OFF_E_GAMMA,      JM_OFF_C_GAMMA,    JM_OFF_C_THETA,   JM_OFF_C_EPSILON,
        JM_OFF_G_GAMMA,      JM_OFF_G_THETA,    JM_OFF_G_EPSILON, JM_OFF_E_EPSILON,
        JM_OFF_I_GAMMA,      JM_OFF_I_THETA,    JM_OFF_I_EPSILON, JM_OFF_MEDIA_HUMIDITY,
        JM_OFF_HUMIDITY_COEF};

    static int Level(int i) { return (i * 10000 + 127) / 255; }  // the value that looks up as i

    TestSet() {
        for (int table : kCurveTables) {
            for (int p = 0; p < 4; ++p) Curve(table, p, Level);
        }
        for (int p = 0; p < 4; ++p) {
            Range(p, 0, 10000);
            Param(JM_OFF_G_OMEGA, p, {0, 0, 0, 0, 16, 0, 0});
        }
    }
    void Word(int offset, int value) {
        bytes[offset] = static_cast<unsigned char>(value & 0xFF);
        bytes[offset + 1] = static_cast<unsigned char>((value >> 8) & 0xFF);
    }
    void Curve(int table, int plane, const std::function<int(int)>& value) {
        for (int i = 0; i < 256; ++i) Word(table + 2 * i + 512 * plane, value(i));
    }
    void Param(int table, int plane, std::initializer_list<int> words) {
        int w = 0;
        for (int v : words) Word(table + 16 * plane + 2 * w++, v);
    }
    void Range(int plane, int start, int end) {
        Word(JM_OFF_EGAMMA_RANGE + 4 * plane, start);
        Word(JM_OFF_EGAMMA_RANGE + 4 * plane + 2, end);
    }
    void Hand() const { setDataTable(bytes.data()); }
};

// A picture in memory with rows stride bytes apart (at least a row).
struct TestPicture {
    int width, height, stride;
    std::vector<uint32_t> pixels;

    TestPicture(int w, int h, std::vector<uint32_t> px = {}, int padWords = 0)
        : width(w), height(h), stride(4 * (w + padWords)) {
        pixels.assign(static_cast<std::size_t>(w + padWords) * h, 0xDEADBEEFu);
        for (std::size_t k = 0; k < px.size(); ++k)
            At(static_cast<int>(k) % w, static_cast<int>(k) / w) = px[k];
    }
    uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * (stride / 4) + x]; }
    JmBitmap Bitmap() { return {pixels.data(), width, height, stride}; }
    std::vector<uint32_t> Rows() {  // the visible pixels, row by row
        std::vector<uint32_t> out;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) out.push_back(At(x, y));
        return out;
    }
};

using ImageFunction = int32_t (*)(JmBitmap*, const JmBitmap*);

// Every image function with its exported name.
struct Named {
    const char* name;
    ImageFunction f;
};

const Named kImageFunctions[] = {
    {"cGammaTempY", cGammaTempY},   {"cGammaTempM", cGammaTempM}, {"cGammaTempC", cGammaTempC},
    {"gGammaTempY", gGammaTempY},   {"gGammaTempM", gGammaTempM}, {"gGammaTempC", gGammaTempC},
    {"cGammaDisp", cGammaDisp},     {"gGammaDisp", gGammaDisp},   {"cgGammaDisp", cgGammaDisp},
    {"ccgGammaDisp", ccgGammaDisp}, {"iGammaImpY", iGammaImpY},   {"iGammaImpM", iGammaImpM},
    {"iGammaImpC", iGammaImpC},     {"iGammaDisp", iGammaDisp},   {"ciGammaDisp", ciGammaDisp},
    {"oGammaDisp", oGammaDisp},     {"coGammaDisp", coGammaDisp}, {"dGammaDisp", dGammaDisp},
    {"cdGammaDisp", cdGammaDisp},   {"pDataSim", pDataSim},       {"hDataSim", hDataSim},
};
