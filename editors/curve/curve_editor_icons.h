#pragma once
// The four toolbar images of the curve editors (open, save, write to the
// printer, read from the printer), drawn once in black and white.

class QIcon;

// image 1..4 in toolbar order; any other number gives an empty icon.
QIcon CurveEditorIcon(int image);
