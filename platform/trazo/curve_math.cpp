#include "platform/trazo/curve_math.h"

#include <algorithm>
#include <cmath>

namespace CurveMath {

namespace {

int Sign(double v) {
    return (v > 0) - (v < 0);
}

// One-sided slope at an end node from the two secants next to it; kept at
// zero or at three times the secant where a free estimate would overshoot.
double EndSlope(double h0, double h1, double s0, double s1) {
    double d = ((2 * h0 + h1) * s0 - h0 * s1) / (h0 + h1);
    if (Sign(d) != Sign(s0)) return 0;
    if (Sign(s0) != Sign(s1) && std::fabs(d) > 3 * std::fabs(s0)) return 3 * s0;
    return d;
}

// Keeps a divisor away from zero (a plot or a scale without extent).
double AtLeastOne(double v) {
    return v < 1 ? 1 : v;
}

}  // namespace

double RoundToSpan(double value, int valueSpan) {
    if (std::isnan(value)) return 0;
    double top = std::max(valueSpan - 1, 0);
    return std::clamp(std::round(value), 0.0, top);
}

std::vector<int> InterpolationNodes(const std::vector<char>& flags) {
    std::vector<int> nodes;
    const int n = static_cast<int>(flags.size());
    for (int i = 0; i < n; ++i) {
        if (i == 0 || i == n - 1 || flags[i]) nodes.push_back(i);
    }
    return nodes;
}

std::vector<double> NodeSlopes(const std::vector<int>& xs, const std::vector<double>& ys) {
    const std::size_t n = xs.size();
    std::vector<double> d(n, 0.0);
    if (n < 2) return d;
    std::vector<double> h(n - 1), s(n - 1);
    for (std::size_t k = 0; k + 1 < n; ++k) {
        h[k] = xs[k + 1] - xs[k];
        s[k] = (ys[k + 1] - ys[k]) / h[k];
    }
    if (n == 2) {
        d[0] = d[1] = s[0];
        return d;
    }
    for (std::size_t k = 1; k + 1 < n; ++k) {
        if (Sign(s[k - 1]) * Sign(s[k]) <= 0) continue;  // a turn or a flat side
        double w1 = 2 * h[k] + h[k - 1];
        double w2 = h[k] + 2 * h[k - 1];
        d[k] = (w1 + w2) / (w1 / s[k - 1] + w2 / s[k]);
    }
    d[0] = EndSlope(h[0], h[1], s[0], s[1]);
    d[n - 1] = EndSlope(h[n - 2], h[n - 3], s[n - 2], s[n - 3]);
    return d;
}

void Interpolate(std::vector<float>& values, const std::vector<int>& nodes, std::size_t firstNode,
                 std::size_t lastNode, int valueSpan) {
    if (nodes.size() < 2 || lastNode >= nodes.size() || firstNode >= lastNode) return;
    std::vector<double> ys(nodes.size());
    for (std::size_t k = 0; k < nodes.size(); ++k) ys[k] = values[nodes[k]];
    const std::vector<double> d = NodeSlopes(nodes, ys);
    for (std::size_t k = firstNode; k < lastNode; ++k) {
        const int x0 = nodes[k];
        const double h = nodes[k + 1] - x0;
        const double y0 = ys[k], y1 = ys[k + 1];
        const double secant = (y1 - y0) / h;
        // The cubic is written as the straight line plus what bends it away
        // from the line, so that a segment whose slopes equal its secant is
        // evaluated as the line itself, without rounding noise.
        const double bendA = d[k] + d[k + 1] - 2 * secant;
        const double bendB = h * (d[k] - secant);
        const double lo = std::min(y0, y1), hi = std::max(y0, y1);
        for (int sx = 1; sx < h; ++sx) {
            const double t = sx;
            double v = y0 + (y1 - y0) * t / h + t * (t - h) * (bendA * t - bendB) / (h * h);
            values[x0 + sx] = static_cast<float>(RoundToSpan(std::clamp(v, lo, hi), valueSpan));
        }
    }
}

std::pair<std::size_t, std::size_t> InfluencedNodes(const std::vector<int>& nodes, int lo, int hi) {
    if (nodes.size() < 2) return {0, 0};
    auto before = std::lower_bound(nodes.begin(), nodes.end(), lo) - nodes.begin();
    auto after = std::upper_bound(nodes.begin(), nodes.end(), hi) - nodes.begin();
    std::size_t first = before >= 2 ? static_cast<std::size_t>(before - 2) : 0;
    std::size_t last = std::min(static_cast<std::size_t>(after) + 1, nodes.size() - 1);
    return {first, last};
}

double PlotMapping::XOfPoint(double point) const {
    return left + point * width / std::max(pointCount - 1, 1);
}

double PlotMapping::YOfValue(double value) const {
    return top + height - value * height / std::max(valueSpan - 1, 1);
}

int PlotMapping::PointAtX(double x) const {
    double p = std::round((x - left) * std::max(pointCount - 1, 1) / AtLeastOne(width));
    return static_cast<int>(std::clamp(p, 0.0, static_cast<double>(std::max(pointCount - 1, 0))));
}

int PlotMapping::ValueAtY(double y) const {
    double v = std::round((top + height - y) * std::max(valueSpan - 1, 1) / AtLeastOne(height));
    return static_cast<int>(std::clamp(v, 0.0, static_cast<double>(std::max(valueSpan - 1, 0))));
}

Hit HitTest(double x, double y, std::span<const NodeMark> nodes, std::span<const LevelMark> levels,
            double radius) {
    Hit hit;
    double best = radius * radius;
    for (const NodeMark& n : nodes) {
        double dd = (n.x - x) * (n.x - x) + (n.y - y) * (n.y - y);
        if (dd <= best) {
            best = dd;
            hit = {HitKind::Node, n.point};
        }
    }
    if (hit.kind == HitKind::Node) return hit;
    best = radius;
    for (const LevelMark& l : levels) {
        if (x < l.left - radius || x > l.right + radius) continue;
        double dy = std::fabs(l.y - y);
        if (dy <= best) {
            best = dy;
            hit = {HitKind::Level, l.which};
        }
    }
    return hit;
}

}  // namespace CurveMath
