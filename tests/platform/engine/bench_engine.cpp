// Times every image function on a 24-megapixel picture (6000 x 4000), and
// ImageMagick's -clut on the same picture for comparison when `convert` is
// there. Run by hand: bench_engine [--benchmark_filter=...]. BENCH_SIZE=WxH
// picks another size.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/platform/engine/engine_test_support.h"

namespace {

struct Scene {
    int width = 6000, height = 4000;
    std::vector<uint32_t> picture, surface;
    std::filesystem::path folder;

    Scene() {
        if (const char* size = std::getenv("BENCH_SIZE"))
            std::sscanf(size, "%dx%d", &width, &height);
        picture.resize(static_cast<std::size_t>(width) * height);
        surface.resize(picture.size());
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const uint32_t r = x * 255 / width, g = y * 255 / height, b = (x ^ y) & 0xFF;
                picture[static_cast<std::size_t>(y) * width + x] =
                    0xFF000000u | r << 16 | g << 8 | b;
            }
        }
        // A data set as the tool starts with it, C gamma bent to a 2.2 curve.
        TestSet set;
        for (int table : TestSet::kCurveTables) {
            for (int p = 0; p < 4; ++p) set.Curve(table, p, [](int i) { return i * 10001 / 256; });
        }
        for (int p = 0; p < 4; ++p) {
            set.Curve(JM_OFF_C_GAMMA, p,
                      [](int i) { return int(10000 * std::pow(i / 255.0, 2.2)); });
            set.Range(p, 2000, 8000);
            set.Param(JM_OFF_G_OMEGA, p, {1, 2, 1, 2, 4, 2, 4});
            set.Param(JM_OFF_G_DELTA, p, {60, 180, 20, 20});
        }
        set.Hand();
    }
    JmBitmap Surface() { return {surface.data(), width, height, 4 * width}; }
    JmBitmap Picture() { return {picture.data(), width, height, 4 * width}; }

    // The picture and a 256-entry colour lookup as binary PPM files.
    void WriteFiles() {
        folder = std::filesystem::temp_directory_path() / "jm_engine_bench";
        std::filesystem::create_directories(folder);
        std::ofstream pic(folder / "picture.ppm", std::ios::binary);
        pic << "P6\n" << width << " " << height << "\n255\n";
        std::vector<char> row(static_cast<std::size_t>(3) * width);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const uint32_t px = picture[static_cast<std::size_t>(y) * width + x];
                row[3 * x] = static_cast<char>(px >> 16);
                row[3 * x + 1] = static_cast<char>(px >> 8);
                row[3 * x + 2] = static_cast<char>(px);
            }
            pic.write(row.data(), static_cast<std::streamsize>(row.size()));
        }
        std::ofstream clut(folder / "clut.ppm", std::ios::binary);
        clut << "P6\n256 1\n255\n";
        for (int i = 0; i < 256; ++i) {
            const char v =
                static_cast<char>(255 - static_cast<int>(255 * std::pow(i / 255.0, 2.2)));
            clut << v << v << v;
        }
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void Engine(benchmark::State& state, ImageFunction f) {
    Scene& scene = TheScene();
    JmBitmap s = scene.Surface(), p = scene.Picture();
    for (auto _ : state) {
        if (f(&s, &p) != JM_OK) state.SkipWithError("engine refused the picture");
        benchmark::DoNotOptimize(scene.surface.data());
    }
    state.counters["Mpixel/s"] = benchmark::Counter(
        static_cast<double>(scene.width) * scene.height * state.iterations() / 1e6,
        benchmark::Counter::kIsRate);
}

void SetDataTable(benchmark::State& state) {
    TestSet set;
    for (auto _ : state) benchmark::DoNotOptimize(setDataTable(set.bytes.data()));
    TheScene();  // leaves the scene's data set in place for the image functions
}

// Wall time of one convert run; read-only shows what decoding alone costs.
void ImageMagick(benchmark::State& state, bool clut) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0) {
        state.SkipWithError("ImageMagick's convert is not installed");
        return;
    }
    Scene& scene = TheScene();
    if (scene.folder.empty()) scene.WriteFiles();
    const std::string in = (scene.folder / "picture.ppm").string();
    const std::string command =
        clut ? "convert '" + in + "' '" + (scene.folder / "clut.ppm").string() + "' -clut null:"
             : "convert '" + in + "' null:";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) state.SkipWithError("convert failed");
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("setDataTable", SetDataTable)->Unit(benchmark::kMicrosecond);
    for (const Named& n : kImageFunctions) {
        benchmark::RegisterBenchmark(n.name, Engine, n.f)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark("ImageMagick_read_only", ImageMagick, false)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(3);
    benchmark::RegisterBenchmark("ImageMagick_clut", ImageMagick, true)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!TheScene().folder.empty()) std::filesystem::remove_all(TheScene().folder);
    return 0;
}
