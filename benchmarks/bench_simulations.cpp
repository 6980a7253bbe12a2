// Each simulation of the colour engine on a 24-megapixel picture (6000 x 4000) against a
// plain 256-entry lookup of every channel over the same buffers with the same threads, and
// against a memcpy of the buffer: engine, lookup and memcpy in turn, several rounds.
// BENCH_SIZE=WxH picks another size.
#include <sched.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "benchmarks/bench_util.h"
#include "tests/platform/engine/engine_test_support.h"

namespace {

constexpr int kRounds = 5;

// The engine's own rule for its threads: the CPUs the process may use, one thread for at
// least 16384 pixels, never more than the rows.
int EngineThreads(int width, int height) {
    cpu_set_t set;
    CPU_ZERO(&set);
    int cpus = sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 1;
    if (const char* env = std::getenv("JMENGINE_THREADS")) cpus = std::max(1, std::atoi(env));
    const long long pixels = static_cast<long long>(width) * height;
    return std::max(1,
                    std::min<int>({cpus, static_cast<int>(std::max(1LL, pixels / 16384)), height}));
}

struct Scene {
    int width = 6000, height = 4000;
    std::vector<uint32_t> picture, surface;
    uint8_t lut[3][256];

    Scene() {
        if (const char* size = std::getenv("BENCH_SIZE"))
            std::sscanf(size, "%dx%d", &width, &height);
        picture.resize(static_cast<size_t>(width) * height);
        surface.resize(picture.size());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint32_t r = x * 255 / width, g = y * 255 / height, b = (x ^ y) & 0xFF;
                picture[static_cast<size_t>(y) * width + x] = 0xFF000000u | r << 16 | g << 8 | b;
            }
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < 256; ++i)
                lut[c][i] = static_cast<uint8_t>(255 * std::pow(i / 255.0, 1.0 + 0.3 * c));
        // A data set as the tool starts with it, C gamma bent to a 2.2 curve, a real kernel.
        TestSet set;
        for (int p = 0; p < 4; ++p) {
            set.Curve(JM_OFF_C_GAMMA, p,
                      [](int i) { return int(10000 * std::pow(i / 255.0, 2.2)); });
            set.Range(p, 2000, 8000);
            set.Param(JM_OFF_G_OMEGA, p, {1, 2, 1, 2, 4, 2, 4});
            set.Param(JM_OFF_G_DELTA, p, {60, 180, 20, 20});
        }
        set.Hand();
    }

    double Engine(ImageFunction f) {
        JmBitmap s{surface.data(), width, height, 4 * width};
        JmBitmap p{picture.data(), width, height, 4 * width};
        return bench::Time([&] {
            if (f(&s, &p) != JM_OK) std::exit(1);
        });
    }

    // Every channel through its table, the rows split over the engine's threads.
    double Lookup() {
        const int n = EngineThreads(width, height);
        return bench::Time([&] {
            auto rows = [&](int k) {
                const size_t y0 = static_cast<size_t>(height) * k / n;
                const size_t y1 = static_cast<size_t>(height) * (k + 1) / n;
                for (size_t i = y0 * width; i < y1 * width; ++i) {
                    const uint32_t px = picture[i];
                    surface[i] = (px & 0xFF000000u) | lut[0][px & 0xFF] |
                                 lut[1][(px >> 8) & 0xFF] << 8 | lut[2][(px >> 16) & 0xFF] << 16;
                }
            };
            std::vector<std::thread> threads;
            for (int k = 1; k < n; ++k) threads.emplace_back(rows, k);
            rows(0);
            for (auto& t : threads) t.join();
        });
    }

    double Copy() {
        return bench::Time(
            [&] { std::memcpy(surface.data(), picture.data(), 4 * picture.size()); });
    }
};

const char* Family(const std::string& name) {
    if (name == "oGammaDisp" || name == "coGammaDisp") return "omega";
    if (name == "dGammaDisp" || name == "cdGammaDisp") return "delta";
    return "per pixel";
}

}  // namespace

int main() {
    Scene scene;
    std::printf("Simulations on %d x %d pixels, %d threads, %d rounds\n", scene.width, scene.height,
                EngineThreads(scene.width, scene.height), kRounds);
    std::vector<std::pair<std::string, bench::Samples>> lookups, copies;
    for (const Named& n : kImageFunctions) {
        scene.Engine(n.f);  // warm up
        const std::vector<bench::Samples> s = bench::SideBySide(
            kRounds, {[&] { return scene.Engine(n.f); }, [&] { return scene.Lookup(); },
                      [&] { return scene.Copy(); }});
        std::printf(" %s (%s)\n", n.name, Family(n.name));
        bench::PrintTime("engine", s[0]);
        bench::PrintTime("plain lookup", s[1]);
        bench::PrintTime("memcpy", s[2]);
        const bench::Samples toLookup = bench::Ratios(s[0], s[1]);
        const bench::Samples toCopy = bench::Ratios(s[0], s[2]);
        bench::PrintRatio("engine / plain lookup", toLookup);
        bench::PrintRatio("engine / memcpy", toCopy);
        lookups.emplace_back(Family(n.name), toLookup);
        copies.emplace_back(Family(n.name), toCopy);
    }
    std::printf("Families (median of the functions' medians, min and max of every round)\n");
    for (const char* family : {"per pixel", "omega", "delta"}) {
        for (auto* set : {&lookups, &copies}) {
            bench::Samples medians, all;
            for (const auto& [f, s] : *set) {
                if (f != family) continue;
                medians.values.push_back(s.Median());
                all.values.insert(all.values.end(), s.values.begin(), s.values.end());
            }
            std::printf("  %-10s engine / %-13s median %6.2fx  (min %6.2fx, max %6.2fx)\n", family,
                        set == &lookups ? "plain lookup" : "memcpy", medians.Median(), all.Min(),
                        all.Max());
        }
    }
    return 0;
}
