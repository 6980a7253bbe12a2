#pragma once
// The dialogs that show texts read from the printer, one box each, at a press
// of "Get": the firmware version, the colour data's version and checksum, and
// the printer's serial number, which one of them also writes back at "Setup".
// One design: each window is a row of text_dialogs.cpp.
#include <QList>
#include <functional>
#include <optional>
#include <string>

#include "maintenance/fixed_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

struct Twips {
    double left, top, width, height;
};

struct TextField {
    const char* label;
    const char* labelText;
    double labelLeft, labelTop;
    const char* box;
    Twips boxPlace;
    // The text read from the printer (UTF-8); none when the printer did not answer.
    std::function<std::optional<std::string>()> read;
    // The most characters the printer's field holds, the box's widest text; 0 for a field
    // without a bound, whose text is shown from its start.
    int length;
};

struct TextDialogVariant {
    const char* window;
    const char* menuItem;
    const char* title;
    double clientWidth, clientHeight;
    QList<TextField> fields;
    const char* getButton;
    Twips getPlace;
    // The button that writes the first box back, and how; none without.
    const char* setupButton = nullptr;
    Twips setupPlace{};
    std::function<bool(const std::string&)> write = {};
};

class TextDialog : public FixedDialog {
    Q_OBJECT
public:
    explicit TextDialog(const TextDialogVariant& variant);

    QList<QLabel*> labels;
    QList<QLineEdit*> boxes;
    QPushButton* getButton;
    QPushButton* setupButton = nullptr;

    // "Get": the fields in turn; the first one the printer does not answer
    // says so and leaves it and the boxes after it as they were.
    void Get_Click();
    // "Setup": an empty box sends nothing.
    void Setup_Click();

private:
    const TextDialogVariant& variant_;
};
