#pragma once
// The maintenance dialogs are child windows of the main window with a fixed
// dialog border: a title bar with its close box only, and a client area of
// the size the design gives, which the user cannot resize.
#include <QWidget>

class QLabel;

class FixedDialog : public QWidget {
    Q_OBJECT
public:
    // Client size in twips.
    FixedDialog(const char* name, double clientWidth, double clientHeight);

protected:
    // A label placed as the design gives it (twips). The design's boxes were
    // measured for a smaller face than the system may give: a text that would
    // be cut is set a little smaller until it fits its box.
    QLabel* AddLabel(const char* name, const QString& text, double left, double top, double width,
                     double height);

    // Once the main window has put the dialog into its child frame, that frame
    // loses its minimise and maximise boxes and its sizing border.
    bool event(QEvent* e) override;
};
