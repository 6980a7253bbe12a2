#pragma once
// Placements and sizes of the windows are given in twips (1440 an inch) and
// colours as 0x00BBGGRR; these two turn them into what Qt takes.
#include <QColor>
#include <cstdint>

// 15 twips make one device-independent pixel (96 dpi); halves round away from zero.
int TwipsToPx(double twips);
double PxToTwips(int px);

// 0x00BBGGRR (red in the low byte) as a colour.
QColor BgrColor(uint32_t bgr);

class QWidget;
// Places a control as the window designs give it, in twips of its parent's client area.
void PlaceTwips(QWidget* control, double left, double top, double width, double height);
// Gives a window the client size the design gives, in twips, and keeps it fixed.
void FixClientTwips(QWidget* window, double width, double height);

class QMdiSubWindow;
// Gives the child-window frame of a fixed-size window (when it has one) a
// title and a close box only, with nothing to minimise or maximise.
// Returns the frame, or null while the window is not a child window.
QMdiSubWindow* FixChildFrame(QWidget* window);

// The designs' boxes were measured for a smaller face than the system may give.
// A control whose text would be cut first widens, up to `widest` pixels (its
// own width keeps it where it is), then takes a font half a point smaller at a
// time, down to 6 pt, until the text fits.
void FitText(QWidget* control, int widest);
// The room a control has to the right inner edge of its parent.
int RoomToParentEdge(const QWidget* control);
