// How the engine is called: bad arguments, sizes that differ, threads, the
// surface drawn over its own picture, and the names the library exports.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "tests/platform/engine/engine_test_support.h"

namespace {

// Sets JMENGINE_THREADS for the life of the object.
struct Threads {
    explicit Threads(int n) { setenv("JMENGINE_THREADS", std::to_string(n).c_str(), 1); }
    ~Threads() { unsetenv("JMENGINE_THREADS"); }
};

TEST(EngineCalls, BadArgumentsGiveACodeAndDrawNothing) {
    TestSet().Hand();
    using Spoil = void (*)(JmBitmap * &s, JmBitmap * &p);
    const std::pair<Spoil, int32_t> cases[] = {
        {[](JmBitmap*& s, JmBitmap*&) { s = nullptr; }, JM_E_NULL},
        {[](JmBitmap*&, JmBitmap*& p) { p = nullptr; }, JM_E_NULL},
        {[](JmBitmap*& s, JmBitmap*&) { s->pixels = nullptr; }, JM_E_NULL},
        {[](JmBitmap*&, JmBitmap*& p) { p->pixels = nullptr; }, JM_E_NULL},
        {[](JmBitmap*& s, JmBitmap*&) { s->width = -1; }, JM_E_SIZE},
        {[](JmBitmap*&, JmBitmap*& p) { p->height = -2; }, JM_E_SIZE},
        {[](JmBitmap*&, JmBitmap*& p) { p->stride = 4; }, JM_E_SIZE},  // shorter than a row
        {[](JmBitmap*& s, JmBitmap*&) { s->stride = 9; }, JM_E_SIZE},
        {[](JmBitmap*& s, JmBitmap*&) { s->stride = -8; }, JM_E_SIZE},
        {[](JmBitmap*&, JmBitmap*& p) { p->width = 0, p->pixels = nullptr; }, JM_OK},
    };
    for (const Named& n : kImageFunctions) {
        int row = 0;
        for (auto [spoil, code] : cases) {
            TestPicture surface(2, 2), picture(2, 2, {1, 2, 3, 4});
            JmBitmap sb = surface.Bitmap(), pb = picture.Bitmap();
            JmBitmap *s = &sb, *p = &pb;
            spoil(s, p);
            EXPECT_EQ(n.f(s, p), code) << n.name << " row " << row;
            EXPECT_EQ(surface.Rows(), std::vector<uint32_t>(4, 0xDEADBEEFu)) << n.name << row++;
        }
    }
    EXPECT_EQ(setDataTable(nullptr), JM_E_NULL);
    EXPECT_EQ(getiDataTable(nullptr), JM_E_NULL);
    EXPECT_EQ(getStbSum(nullptr), JM_E_NULL);
}

TEST(EngineCalls, DifferentSizesDrawTheOverlap) {
    TestSet set;
    set.Curve(JM_OFF_C_GAMMA, 0, [](int i) { return TestSet::Level(255 - i); });
    set.Hand();
    const uint32_t s = 0xDEADBEEFu;
    struct Case {
        int sw, sh;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {3, 1, {0xFFFFFF00, 0xFF0000FF, s}},
        {1, 3, {0xFFFFFF00, 0xFF1234A9, s}},
        {1, 1, {0xFFFFFF00}},
    };
    for (const Case& c : cases) {
        TestPicture picture(2, 2, {0xFFFFFFFF, 0xFF000000, 0xFF123456, 0xFF000000});
        TestPicture surface(c.sw, c.sh);
        JmBitmap sb = surface.Bitmap(), pb = picture.Bitmap();
        EXPECT_EQ(cGammaDisp(&sb, &pb), JM_OK);
        EXPECT_EQ(surface.Rows(), c.expected) << c.sw << "x" << c.sh;
    }
}

TEST(EngineCalls, KernelNeighboursComeFromTheWholePicture) {
    TestSet set;
    set.Param(JM_OFF_G_OMEGA, 0, {0, 0, 0, 0, 0, 16, 0});  // F: the pixel to the right
    set.Hand();
    TestPicture picture(2, 2, {0xFFFFFFFF, 0xFFFFFF00, 0xFFFFFFFF, 0xFFFFFFFF});
    TestPicture surface(1, 1);
    JmBitmap sb = surface.Bitmap(), pb = picture.Bitmap();
    EXPECT_EQ(oGammaDisp(&sb, &pb), JM_OK);
    EXPECT_EQ(surface.At(0, 0), 0xFFFFFF00u);
}

// A data set of random curves and parameters, so that every table shows.
TestSet RandomSet(std::mt19937& rng) {
    TestSet set;
    std::uniform_int_distribution<int> value(0, 10000), level(0, 255), weight(-8, 24);
    for (int table : TestSet::kCurveTables) {
        for (int p = 0; p < 4; ++p) set.Curve(table, p, [&](int) { return value(rng); });
    }
    for (int p = 0; p < 4; ++p) {
        set.Range(p, value(rng) / 2, 5000 + value(rng) / 2);
        set.Param(JM_OFF_G_OMEGA, p,
                  {weight(rng), weight(rng), weight(rng), weight(rng), weight(rng), weight(rng),
                   weight(rng)});
        set.Param(JM_OFF_G_DELTA, p,
                  {level(rng) / 2, 128 + level(rng) / 2, level(rng), level(rng)});
    }
    return set;
}

TEST(EngineCalls, ThreadsAndDrawingInPlaceGiveTheOneThreadPicture) {
    std::mt19937 rng(20261209);
    RandomSet(rng).Hand();
    constexpr int w = 53, h = 37;
    std::vector<uint32_t> px(w * h);
    for (uint32_t& v : px) v = rng();
    for (const Named& n : kImageFunctions) {
        TestPicture picture(w, h, px, 3);
        TestPicture one(w, h), many(w, h), inPlace(w, h, px, 3);
        JmBitmap pb = picture.Bitmap(), ob = one.Bitmap(), mb = many.Bitmap(),
                 ib = inPlace.Bitmap();
        {
            Threads t(1);
            ASSERT_EQ(n.f(&ob, &pb), JM_OK);
        }
        {
            Threads t(7);
            ASSERT_EQ(n.f(&mb, &pb), JM_OK);
            ASSERT_EQ(n.f(&ib, &ib), JM_OK);
        }
        EXPECT_EQ(many.Rows(), one.Rows()) << n.name;
        EXPECT_EQ(inPlace.Rows(), one.Rows()) << n.name;
        EXPECT_NE(one.Rows(), px) << n.name << " draws the picture unchanged";
        // The same pixels, shifted by a row: surface and picture overlap.
        TestPicture shared(w, h + 1, px, 3);
        JmBitmap below = shared.Bitmap(), above = shared.Bitmap();
        below.pixels += shared.stride / 4;
        below.height = above.height = h;
        {
            Threads t(7);
            ASSERT_EQ(n.f(&below, &above), JM_OK);
        }
        TestPicture shifted(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) shifted.At(x, y) = shared.At(x, y + 1);
        EXPECT_EQ(shifted.Rows(), one.Rows()) << n.name << " over its own picture";
    }
}

std::set<std::string> DefinedNames(const std::string& library) {
    std::set<std::string> names;
    const std::string command = "nm -D --defined-only '" + library + "'";
    FILE* out = popen(command.c_str(), "r");
    if (!out) return names;
    char line[512];
    while (fgets(line, sizeof line, out)) {
        std::string s(line);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        names.insert(s.substr(s.rfind(' ') + 1));
    }
    pclose(out);
    return names;
}

TEST(EngineLibrary, ExportsExactlyItsInterfaceAndStartsWithoutData) {
    std::set<std::string> expected = {"setDataTable", "getiDataTable", "getStbSum"};
    for (const Named& n : kImageFunctions) expected.insert(n.name);
    EXPECT_EQ(DefinedNames(JM_ENGINE_PATH), expected);

    // A fresh copy, as a program that loads the engine by name finds it.
    const auto copy = std::filesystem::temp_directory_path() /
                      ("libJmEngine-" + std::to_string(getpid()) + ".so");
    std::filesystem::copy_file(JM_ENGINE_PATH, copy,
                               std::filesystem::copy_options::overwrite_existing);
    void* engine = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(engine, nullptr) << dlerror();
    for (const std::string& name : expected)
        EXPECT_NE(dlsym(engine, name.c_str()), nullptr) << name;
    auto draw = reinterpret_cast<ImageFunction>(dlsym(engine, "pDataSim"));
    auto markers = reinterpret_cast<int32_t (*)(void*)>(dlsym(engine, "getiDataTable"));
    auto hand = reinterpret_cast<int32_t (*)(const void*)>(dlsym(engine, "setDataTable"));
    TestPicture surface(1, 1), picture(1, 1, {0xFF000000});
    JmBitmap sb = surface.Bitmap(), pb = picture.Bitmap();
    unsigned char record[16] = {};
    EXPECT_EQ(draw(&sb, &pb), JM_E_NO_DATA);
    EXPECT_EQ(markers(record), JM_E_NO_DATA);
    EXPECT_EQ(surface.At(0, 0), 0xDEADBEEFu);
    EXPECT_EQ(hand(TestSet().bytes.data()), JM_OK);
    EXPECT_EQ(draw(&sb, &pb), JM_OK);
    EXPECT_EQ(surface.At(0, 0), 0xFF000000u);
    dlclose(engine);
    std::filesystem::remove(copy);
}

}  // namespace
