#pragma once
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

// The modal choice among the usable printers of the last scan.
class frmPortSetting : public QDialog {
    Q_OBJECT
public:
    frmPortSetting();

    QLabel* Label1;
    QComboBox* Combo1;
    QPushButton* Command1;

private:
    void Form_Load();
    void Command1_Click();
};
