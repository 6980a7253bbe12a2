#pragma once
#include <QWidget>

class QLabel;

// The window on show while the program starts.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash();

    QLabel* lblProductName;
    QLabel* lblVersion;

private:
    void Form_Load();
};
