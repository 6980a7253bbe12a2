#pragma once
// The printer's head rank and heat rank: read at "Get", written at "Setup",
// each kept in its range when the user leaves the entry. One design: each
// window is a row of rank_dialogs.cpp.
#include <cstdint>
#include <string>

#include "maintenance/fixed_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

struct RankDialogVariant {
    const char* window;
    const char* menuItem;
    const char* title;
    const char* labelText;
    // An editable list of every rank from the highest down (the heat rank),
    // or a plain text box, empty at opening (the head rank). The list shows a
    // rank read outside the range as its first item.
    bool listed;
    double entryLeft, entryTop, entryWidth, entryHeight;
    // The reply: the prefix and that many digits, the rank plus `offset`.
    const char* prefix;
    int digits;
    int lowest, highest;
    int offset;
    // An entry without a number sends nothing, rather than the lowest rank.
    bool needsNumber;
    std::string (*read)();
    bool (*write)(int16_t);
};

class RankDialog : public FixedDialog {
    Q_OBJECT
public:
    explicit RankDialog(const RankDialogVariant& variant);

    QLabel* Label1;
    QLineEdit* Text1 = nullptr;   // the head rank's entry
    QComboBox* Combo1 = nullptr;  // the heat rank's entry
    QPushButton* cmdGet;
    QPushButton* cmdSetup;

    void cmdGet_Click();
    void cmdSetup_Click();
    // Leaving the entry brings its number into the range.
    void Entry_LostFocus();

protected:
    void Form_Activate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString EntryText() const;
    void SetEntryText(const QString& text);

    const RankDialogVariant& variant_;
    QWidget* entry_;
};
