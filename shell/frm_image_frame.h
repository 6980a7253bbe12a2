#pragma once
// An image window: one picture file shown in a child window of the main
// window, as many at once as the user opens. The File menu's Open, Save As and
// Print and the Simulation menu work on the active one.
#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

// The picture area. It holds the picture as loaded (what Save As writes) and
// what is shown: the picture plus whatever has been drawn on it (what a
// simulation draws, what Print prints). It takes the size of its picture.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent);

    const QImage& Picture() const { return picture_; }
    const QImage& Image() const { return image_; }
    // A new picture, shown as it is: what was drawn before is gone.
    void SetPicture(const QImage& picture);
    // A new picture with what has been drawn on it (same size as the picture).
    void SetPicture(const QImage& picture, const QImage& drawn);
    // Clears what has been drawn: the picture alone is shown again.
    void Cls();

signals:
    void Change();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QImage image_;
};

class frmImageFrame : public QWidget {
    Q_OBJECT
public:
    frmImageFrame();

    // Full path of the file the window shows; every simulation reloads from it.
    QString F_Name;
    // True from the load until the first picture arrives.
    bool FitPending = false;
    PictureBox* Picture1;

    void Form_Load();
    void Picture1_Change();
    void Form_Activate();
    void Form_Deactivate();
    void Form_QueryUnload();
    void Form_Unload();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Sets the window's outer size, now or as soon as it has its frame.
    void FitOuterSize(QSize size);
    void FollowActivation();

    QSize pendingFit_;
    bool followed_ = false;
};

// Reads a picture file (bitmap or JPEG, told apart by their content); false
// when the file cannot be read or decoded.
bool LoadPicture(const QString& path, QImage& picture);

// The image window active in the main window; null when the active child is
// something else or there is none.
frmImageFrame* ActiveImageFrame();

// The File menu's image commands.
void mnuFileOpen_Click();
void mnuFileSaveAs_Click();
void mnuFilePrint_Click();
