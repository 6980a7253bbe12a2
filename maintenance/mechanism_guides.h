#pragma once
// The three guide pictures of the mechanism adjustment, 233 x 149 pixels in
// the 16 basic colours: a side view of the paper strip, its leading edge on
// the left and an arrow pointing left, the way the paper feeds.
//   1: the bare strip;
//   2: the printed area with its length marked above it, and under the start
//      of printing a small scale, minus to the left and plus to the right;
//   3: the strip cut into a sheet with the sheet's length marked above it,
//      and the same scale under the cut.
#include <QPixmap>
#include <array>

std::array<QPixmap, 3> MechanismGuidePictures();
