#pragma once
// Placements and sizes of the windows are given in twips (1440 an inch) and
// colours as 0x00BBGGRR; these two turn them into what Qt takes.
#include <QColor>
#include <QList>
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

class QLineEdit;
class QString;
// A box shows the widest value of its field whole, from its first character. When it is first
// shown it widens towards the control beside it (or its parent's edge) just enough for
// `widest`, and where that room is too little, takes a font half a point smaller at a time,
// down to 6 pt. A text the program puts in that is wider still is shown from its start.
void ShowWhole(QLineEdit* box, const QString& widest);
// The same for boxes that stand in a row and read as one: all take the face the tightest needed.
void ShowWhole(const QList<QLineEdit*>& row, const QString& widest);

// The widest texts of the fields the boxes show.
namespace Widest {
inline constexpr char Word[] = "-32768";       // a signed 16-bit value
inline constexpr char Long[] = "-2147483648";  // a signed 32-bit value
inline constexpr char Byte[] = "255";          // a spin button's 0..255
}  // namespace Widest
