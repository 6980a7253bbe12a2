#pragma once
// The maintenance dialogs are child windows of the main window with a fixed
// dialog border: a title bar with its close box only, and a client area of
// the size the design gives, which the user cannot resize.
#include <QList>
#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class FixedDialog : public QWidget {
    Q_OBJECT
public:
    // Client size in twips.
    FixedDialog(const char* name, double clientWidth, double clientHeight);

protected:
    // A label placed as the design gives it (twips), on the dialog or inside
    // one of its frames (in the dialog's text colour, not the frame's). The
    // design's boxes were measured for a smaller face than the system may
    // give: a text that would be cut is set a little smaller until it fits.
    QLabel* AddLabel(const char* name, const QString& text, double left, double top, double width,
                     double height, QWidget* frame = nullptr);
    // A label that takes the size of its text, placed by its top left corner
    // (twips); a text wider than `room` is set smaller until it fits, so that
    // it keeps clear of the control beside it.
    QLabel* AddAutoLabel(const char* name, const QString& text, double left, double top,
                         double room, QWidget* frame = nullptr);

    // A button and a text box placed as the design gives them (twips); the box shows
    // `widest`, the widest text of its field, whole (ShowWhole).
    QPushButton* AddButton(const char* name, const QString& caption, double left, double top,
                           double width, double height);
    QLineEdit* AddTextBox(const char* name, double left, double top, double width, double height,
                          const QString& widest, QWidget* frame = nullptr);

    // Runs each time the dialog becomes the active child window, the first showing included.
    virtual void Form_Activate() {}

    // Labels that stand together in one face: the smallest any of them needed to fit.
    static void OneFace(const QList<QLabel*>& labels);

    // A frame placed as the design gives it (twips), its caption in blue.
    QGroupBox* AddFrame(const char* name, const QString& caption, double left, double top,
                        double width, double height);

    // Follows the activation of the child frame the main window puts the dialog into.
    bool event(QEvent* e) override;

private:
    // A control inside a frame keeps the dialog's text colours, not the frame's blue.
    template <class Control>
    Control* InDialogInk(Control* control, QWidget* frame) const {
        if (frame != nullptr) KeepDialogInk(control);
        return control;
    }
    void KeepDialogInk(QWidget* control) const;

private:
    bool followed_ = false;
};

// The same for a label inside a frame of the dialog.
QLabel* PlaceAutoLabel(QLabel* label, const char* name, double left, double top, double room);

// The room of a label that stands left of a control: up to a small gap before it.
inline double RoomBefore(double controlLeft, double labelLeft) {
    return controlLeft - labelLeft - 60;
}
