#pragma once

// The arithmetic of the curve control, kept apart from the widget so that it
// can be checked point by point: the curve through the nodes, the rounding of
// each point, the mapping between points/values and pixels, and hit-testing.

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace CurveMath {

// A point's value as the control keeps it: rounded to a whole number and held
// within 0..valueSpan - 1.
double RoundToSpan(double value, int valueSpan);

// The points the curve runs through: every flagged point, and the first and
// last point even when they are not flagged (the curve has to start and end
// somewhere). Ascending.
std::vector<int> InterpolationNodes(const std::vector<char>& flags);

// Slopes at the nodes of a monotone cubic Hermite curve (PCHIP): inside, the
// weighted harmonic mean of the two neighbouring secants, zero where they
// differ in sign or one is flat; at the ends a one-sided estimate kept from
// overshooting. Two nodes give a straight line.
std::vector<double> NodeSlopes(const std::vector<int>& xs, const std::vector<double>& ys);

// Writes every point strictly between nodes[firstNode] and nodes[lastNode]
// (indices into nodes) from the curve through all nodes; the nodes themselves
// and every point outside that stretch keep their values.
void Interpolate(std::vector<float>& values, const std::vector<int>& nodes, std::size_t firstNode,
                 std::size_t lastNode, int valueSpan);

// The stretch of nodes (indices into nodes, first and last) whose points a
// change of the node set or of node values between points lo and hi can
// reach: a node's value enters the slopes of its neighbours, and those slopes
// shape the segments on either side of them, so two nodes either way.
std::pair<std::size_t, std::size_t> InfluencedNodes(const std::vector<int>& nodes, int lo, int hi);

// Points along x, values upwards along y, inside a plot rectangle in pixels.
// Point 0 sits on the left edge, the last point on the right edge; value 0 on
// the bottom edge, valueSpan - 1 on the top edge.
struct PlotMapping {
    double left = 0;
    double top = 0;
    double width = 1;   // from the first to the last point's pixel
    double height = 1;  // from value 0 to the top value
    int pointCount = 2;
    int valueSpan = 2;

    double XOfPoint(double point) const;
    double YOfValue(double value) const;
    int PointAtX(double x) const;  // nearest point, within 0..pointCount - 1
    int ValueAtY(double y) const;  // nearest value, within 0..valueSpan - 1
    double Right() const { return left + width; }
    double Bottom() const { return top + height; }
};

enum class HitKind { Empty, Node, Level };

struct Hit {
    HitKind kind = HitKind::Empty;
    int index = -1;  // the node's point, or the level line's number
};

struct NodeMark {
    double x;
    double y;
    int point;
};

struct LevelMark {
    double y;
    double left;  // the line runs from left to right
    double right;
    int which;
};

// What a press at (x, y) takes hold of: the nearest node within radius, else
// the nearest level line within radius, else empty space.
Hit HitTest(double x, double y, std::span<const NodeMark> nodes, std::span<const LevelMark> levels,
            double radius);

}  // namespace CurveMath
