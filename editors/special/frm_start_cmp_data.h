#pragma once
// The start compensation editor: the four-dimensional start-compensation table seen as two cross
// sections of one set, the four planes side by side in each: the ten wait-time ranks of one
// delta-temperature rank, and the five delta-temperature ranks of one wait-time rank. Every edit
// is stored at once and the other view redrawn.
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class CommonDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabBar;
class QToolBar;
class SpinButton;

class frmStartCmpData : public QWidget {
    Q_OBJECT
public:
    static constexpr int WaitRanks = 10, DeltaRanks = 5, Planes = 4;

    frmStartCmpData();
    ~frmStartCmpData() override;

    // The controls, named as in the design; the box arrays by plane (Y, M, C, OP), then index.
    QToolBar* Toolbar1 = nullptr;
    QTabBar* TabStrip1 = nullptr;
    QGroupBox* Frame4 = nullptr;  // the wait-time view
    QTabBar* TabStrip2 = nullptr;
    std::array<std::array<QLineEdit*, WaitRanks>, Planes> txtWTR{};
    std::array<std::array<SpinButton*, WaitRanks>, Planes> udWTR{};
    QGroupBox* Frame1 = nullptr;  // the delta-temperature view
    QTabBar* TabStrip3 = nullptr;
    std::array<std::array<QLineEdit*, DeltaRanks>, Planes> txtDTR{};
    std::array<std::array<SpinButton*, DeltaRanks>, Planes> udDTR{};
    std::unique_ptr<CommonDialog> CommonDialog1;

    int16_t CurrentSet = 0;
    int16_t CurrentDeltaTempRank = 0;
    int16_t CurrentWaitTimeRank = 0;

    void ShowRanks();
    void ShowWaitRanks();
    void ShowDeltaRanks();
    void StoreRanks();
    void StoreWaitRanks();
    void StoreDeltaRanks();
    void OpenTableFile();
    void SaveTableFile();
    void WriteTableToPrinter();
    void ReadTableFromPrinter();

protected:
private:
    void BuildControls();
    // One view: its frame, tab strip, row labels and a box with its spin button per plane and row.
    template <std::size_t Rows>
    void BuildView(QGroupBox* frame, QTabBar* tabs, const char* tabLabel, const char* rowHeading,
                   const char* boxName, std::array<std::array<QLineEdit*, Rows>, Planes>& boxes,
                   std::array<std::array<SpinButton*, Rows>, Planes>& spins);
    void Form_Load();
    void Form_Unload();

    // False while a view's boxes are filled, so that their Change stores nothing.
    bool FormReady = false;
    bool loaded_ = false;
};
