#pragma once
// The curve control's sizes, shared by its geometry, its interaction and its
// drawing.

namespace TrazoMetrics {

inline constexpr int kMargin = 6;              // room around the plot for node handles
inline constexpr double kHitRadius = 8;        // how near a press must be to take hold
inline constexpr double kRemoveDistance = 24;  // pulled this far off the plot, a node goes
inline constexpr int kHandle = 3;              // half the side of a node's square
inline constexpr int kBarHalf = 7;             // half the width of a weight's bar

}  // namespace TrazoMetrics
