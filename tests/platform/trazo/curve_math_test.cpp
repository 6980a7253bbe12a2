#include "platform/trazo/curve_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <random>

using namespace CurveMath;

namespace {

constexpr int kSpan = 10001;

struct Curve {
    std::vector<float> values;
    std::vector<char> flags;
};

// A 256-point curve through the given nodes (first and last point included).
Curve Through(const std::map<int, float>& nodes, int count = 256) {
    Curve c{std::vector<float>(count, 0.0f), std::vector<char>(count, 0)};
    for (auto [x, y] : nodes) {
        c.values[x] = y;
        c.flags[x] = 1;
    }
    auto n = InterpolationNodes(c.flags);
    Interpolate(c.values, n, 0, n.size() - 1, kSpan);
    return c;
}

// Each point between two neighbouring nodes lies between their values.
void ExpectNoOvershoot(const Curve& c) {
    auto n = InterpolationNodes(c.flags);
    for (std::size_t k = 0; k + 1 < n.size(); ++k) {
        float lo = std::min(c.values[n[k]], c.values[n[k + 1]]);
        float hi = std::max(c.values[n[k]], c.values[n[k + 1]]);
        for (int i = n[k]; i <= n[k + 1]; ++i) {
            EXPECT_GE(c.values[i], lo) << "point " << i;
            EXPECT_LE(c.values[i], hi) << "point " << i;
        }
    }
}

}  // namespace

TEST(CurveMath, RoundToSpanRoundsAndClamps) {
    struct Case {
        double in;
        int span;
        double out;
    } cases[] = {{12.5, kSpan, 13},       {12.49, kSpan, 12},    {-3, kSpan, 0},
                 {10000.4, kSpan, 10000}, {20000, kSpan, 10000}, {9999.6, 10000, 9999},
                 {std::nan(""), kSpan, 0}};
    for (const Case& c : cases) EXPECT_EQ(RoundToSpan(c.in, c.span), c.out) << c.in;
}

TEST(CurveMath, TwoNodesGiveTheRoundedLine) {
    struct Case {
        int x0, y0, x1, y1;
    } cases[] = {{0, 0, 255, 10000},   {0, 10000, 255, 0}, {0, 3, 255, 7},
                 {40, 100, 200, 9001}, {0, 5000, 2, 5001}, {10, 0, 13, 1}};
    for (const Case& c : cases) {
        std::vector<float> v(256, 0.0f);
        v[c.x0] = c.y0;
        v[c.x1] = c.y1;
        Interpolate(v, {c.x0, c.x1}, 0, 1, kSpan);
        const long h = c.x1 - c.x0;
        for (int i = c.x0; i <= c.x1; ++i) {
            // round(y0 + (y1 - y0) * s / h), halves up, in whole numbers
            long num = 2 * (c.y0 * h + long(c.y1 - c.y0) * (i - c.x0)) + h;
            EXPECT_EQ(v[i], float(num / (2 * h)))
                << "point " << i << " of " << c.x0 << ".." << c.x1;
        }
    }
}

TEST(CurveMath, NodesAndEndsKeepTheirValues) {
    // Values the program set, in and out of the scale, on neighbouring points too.
    std::map<int, float> nodes{{0, 12000}, {1, 7.5f}, {2, 8000},   {3, 100}, {90, 4321},
                               {91, 4322}, {200, -5}, {254, 9999}, {255, 3}};
    Curve c = Through(nodes);
    for (auto [x, y] : nodes) EXPECT_EQ(c.values[x], y) << "node " << x;

    // Unflagged ends hold the curve all the same and are never written.
    std::vector<float> v(256, 0.0f);
    v[0] = 7.25f;
    v[255] = 12345;
    std::vector<char> flags(256, 0);
    flags[100] = 1;
    v[100] = 5000;
    auto n = InterpolationNodes(flags);
    EXPECT_EQ(n, (std::vector<int>{0, 100, 255}));
    Interpolate(v, n, 0, n.size() - 1, kSpan);
    EXPECT_EQ(v[0], 7.25f);
    EXPECT_EQ(v[255], 12345);
    for (int i = 101; i < 255; ++i) EXPECT_LE(v[i], 10000) << "point " << i;
}

TEST(CurveMath, NeverOvershoots) {
    std::mt19937 rng(7);
    std::map<int, float> randomMonotone{{0, 0}};
    for (int x = 5, y = 0; x < 255; x += 1 + rng() % 20) {
        y = std::min(10000, y + int(rng() % 900));
        randomMonotone[x] = y;
    }
    randomMonotone[255] = 10000;
    const std::map<int, float> cases[] = {
        {{0, 0}, {100, 0}, {101, 10000}, {255, 10000}},                        // a step
        {{0, 0}, {10, 0}, {11, 5000}, {12, 5000}, {13, 10000}, {255, 10000}},  // close nodes
        {{0, 0}, {50, 9000}, {52, 9100}, {200, 9200}, {255, 10000}},           // a knee
        {{0, 10000}, {30, 200}, {31, 150}, {255, 0}},                          // falling
        randomMonotone,
    };
    for (const auto& nodes : cases) {
        Curve c = Through(nodes);
        ExpectNoOvershoot(c);
        bool rising = nodes.begin()->second <= nodes.rbegin()->second;
        for (int i = 1; i < 256; ++i) {
            float step = rising ? c.values[i] - c.values[i - 1] : c.values[i - 1] - c.values[i];
            EXPECT_GE(step, 0) << "point " << i;
        }
    }
}

TEST(CurveMath, FlatStaysFlatAndPeaksStayAtTheirNode) {
    Curve flat = Through({{0, 500}, {80, 500}, {160, 500}, {255, 9000}});
    for (int i = 0; i <= 160; ++i) EXPECT_EQ(flat.values[i], 500) << "point " << i;
    ExpectNoOvershoot(flat);

    Curve peak = Through({{0, 0}, {60, 3000}, {128, 10000}, {200, 2000}, {255, 0}});
    for (int i = 0; i < 256; ++i) {
        if (i != 128) {
            EXPECT_LT(peak.values[i], 10000) << "point " << i;
        }
    }
    ExpectNoOvershoot(peak);
}

// A change re-evaluated only over the influenced nodes gives the curve that a
// whole re-evaluation gives, and leaves every point beyond them as it was.
TEST(CurveMath, ChangesStayWithinTwoNodesEitherSide) {
    const std::map<int, float> start{{0, 0},      {20, 900},   {45, 2500},  {70, 3000},
                                     {100, 6000}, {130, 6100}, {160, 8000}, {200, 8800},
                                     {230, 9900}, {255, 10000}};
    enum Op { Move, Insert, Remove };
    struct Case {
        Op op;
        int point;
        float value;
    } cases[] = {{Move, 100, 2000}, {Move, 20, 0},       {Move, 230, 10000}, {Move, 0, 4000},
                 {Move, 255, 0},    {Insert, 115, 9000}, {Insert, 3, 5000},  {Remove, 130, 0},
                 {Remove, 20, 0},   {Remove, 230, 0}};
    for (const Case& c : cases) {
        const Curve before = Through(start);
        Curve local = before;
        if (c.op == Remove) {
            local.flags[c.point] = 0;
        } else {
            local.values[c.point] = c.value;
            if (c.point != 0 && c.point != 255) local.flags[c.point] = 1;
        }
        auto n = InterpolationNodes(local.flags);
        auto [first, last] = InfluencedNodes(n, c.point, c.point);
        EXPECT_LE(last - first, c.op == Remove ? 3u : 4u);  // two nodes either side
        Interpolate(local.values, n, first, last, kSpan);

        Curve whole = local;
        Interpolate(whole.values, n, 0, n.size() - 1, kSpan);
        EXPECT_EQ(local.values, whole.values) << "op " << c.op << " at " << c.point;
        for (int i = 0; i < 256; ++i) {
            if (i < n[first] || i > n[last]) {
                EXPECT_EQ(local.values[i], before.values[i]) << i;
            }
        }
    }
}

TEST(CurveMath, PixelMappingRoundTrips) {
    // Narrower than the points: each pixel comes back from its point; wider:
    // each point comes back from its pixel. Values always outnumber pixels.
    for (int width : {100, 200, 255, 400}) {
        PlotMapping m{6, 6, double(width), 180, 256, kSpan};
        if (width < 255) {
            for (int px = 6; px <= 6 + width; ++px) {
                EXPECT_EQ(std::lround(m.XOfPoint(m.PointAtX(px))), px) << "width " << width;
            }
        } else {
            for (int i = 0; i < 256; ++i) EXPECT_EQ(m.PointAtX(std::round(m.XOfPoint(i))), i);
        }
        for (int py = 6; py <= 186; ++py) {
            EXPECT_EQ(std::lround(m.YOfValue(m.ValueAtY(py))), py) << "row " << py;
        }
        EXPECT_EQ(m.PointAtX(-50), 0);
        EXPECT_EQ(m.PointAtX(5000), 255);
        EXPECT_EQ(m.ValueAtY(-50), 10000);
        EXPECT_EQ(m.ValueAtY(5000), 0);
    }
}

TEST(CurveMath, HitTestPrefersNodeThenLevelThenEmpty) {
    const NodeMark nodes[] = {{50, 50, 10}, {60, 52, 12}};
    const LevelMark levels[] = {{55, 0, 200, 0}, {100, 0, 200, 1}};
    struct Case {
        double x, y;
        HitKind kind;
        int index;
    } cases[] = {
        {51, 51, HitKind::Node, 10},   {58, 53, HitKind::Node, 12},  {50, 57, HitKind::Node, 10},
        {30, 56, HitKind::Level, 0},   {120, 95, HitKind::Level, 1}, {120, 77, HitKind::Empty, -1},
        {250, 55, HitKind::Empty, -1}, {50, 40, HitKind::Empty, -1},
    };
    for (const Case& c : cases) {
        Hit h = HitTest(c.x, c.y, nodes, levels, 8);
        EXPECT_EQ(h.kind, c.kind) << c.x << "," << c.y;
        EXPECT_EQ(h.index, c.index) << c.x << "," << c.y;
    }
}
