#pragma once
// What every benchmark shares: sides measured in turn in one run, several rounds each, and
// the figures printed as medians with their min and max.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The wall time of one call, in milliseconds.
inline double Time(const std::function<void()>& run) {
    const auto start = Clock::now();
    run();
    return MillisecondsSince(start);
}

struct Samples {
    std::vector<double> values;

    double Median() const {
        if (values.empty()) return 0;
        std::vector<double> v = values;
        std::sort(v.begin(), v.end());
        const size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
    double Min() const {
        return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
    }
    double Max() const {
        return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
    }
};

// Each side once a round, in turn, for the given rounds; one sample a side a round.
inline std::vector<Samples> SideBySide(int rounds,
                                       const std::vector<std::function<double()>>& sides) {
    std::vector<Samples> samples(sides.size());
    for (int r = 0; r < rounds; ++r)
        for (size_t s = 0; s < sides.size(); ++s) samples[s].values.push_back(sides[s]());
    return samples;
}

// The ratio a / b of each round.
inline Samples Ratios(const Samples& a, const Samples& b) {
    Samples r;
    for (size_t i = 0; i < a.values.size() && i < b.values.size(); ++i)
        r.values.push_back(b.values[i] > 0 ? a.values[i] / b.values[i] : 0);
    return r;
}

inline void PrintTime(const std::string& what, const Samples& s, const char* unit = "ms") {
    std::printf("  %-44s median %9.3f %s  (min %9.3f, max %9.3f)\n", what.c_str(), s.Median(), unit,
                s.Min(), s.Max());
}

// "ratio name: 1.12x (min 1.05x, max 1.30x)", and whether it keeps its target (0 = none).
inline bool PrintRatio(const std::string& what, const Samples& ratios, double target = 0) {
    const bool met = target <= 0 || ratios.Median() <= target;
    std::printf("  %-44s median %8.2fx     (min %8.2fx, max %8.2fx)", what.c_str(), ratios.Median(),
                ratios.Min(), ratios.Max());
    if (target > 0) std::printf("  target <= %.2fx: %s", target, met ? "met" : "NOT MET");
    std::printf("\n");
    return met;
}

}  // namespace bench
