#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

// The About window, shown modal over the main window.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner);

    QLabel* lblTitle;
    QLabel* lblVersion;
    QPushButton* cmdOK;

private:
    void Form_Load();
    void cmdOK_Click();
};
