#pragma once
// How an entry typed into a box ends, as the windows' KeyPress and LostFocus rules take it.
class QEvent;
class QObject;
class QWidget;

enum class EntryEnd { None, EnterKey, Left };

// Enter (Return or the keypad's Enter) pressed in the box, or the box left. With a window, left
// is the focus gone to another control of it; not to another window (the busy notice of a
// transfer, a message box). Without one, every focus loss counts. A context menu of the box
// taking the focus never does.
EntryEnd EndOfEntry(const QEvent* event, const QObject* box, const QWidget* window = nullptr);

// Whether a box that loses the focus has been left for another control of its window, which is
// when the window's LostFocus rules apply. Asked while the focus-out is told.
bool LeftForAnotherControl(const QWidget* window, const QObject* box);
