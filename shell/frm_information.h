#pragma once
// The busy notice: a small child window in the middle of the main window that
// says "SENDING!" or "RECEIVING!" while one printer exchange blocks the program.
#include <QPointer>
#include <QWidget>
#include <string>

#include "core/busy_notice.h"

class QLabel;
class QMdiSubWindow;

class frmInformation : public QWidget {
    Q_OBJECT
public:
    frmInformation();

    QLabel* Label1;
};

// The left (or top) edge that centres a window `own` twips wide in one
// `outer` twips wide: both halves taken whole, as W \ 2 - w \ 2.
int CentredEdge(int outer, int own);

// The notice the transfers show through, made for each exchange and gone after it.
class InformationNotice : public BusyNotice {
public:
    ~InformationNotice() override;
    void Indication(const std::string& text) override;
    void Extinction() override;

private:
    void Load();
    // The child-window area owns the notice once it is shown; guarded, so a
    // notice that went with the area is never touched again.
    QPointer<frmInformation> form_;
    QPointer<QMdiSubWindow> window_;
    // What the user was working in when the notice came: the area activates a window of its own
    // choice when the notice goes, so the notice hands both back (when they are still there).
    QPointer<QMdiSubWindow> active_;
    bool hadActive_ = false;
    QPointer<QWidget> focus_;
};
