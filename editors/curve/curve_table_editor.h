#pragma once
// The curve table editor: one plane of one curve table at a time, as a grid of
// the 256 point values and as a curve, edited straight into the shared table.
// The sixteen editors of the program are this one window configured by a row
// of the variant table; so is the E gamma editor, whose row adds the start and
// end levels of each plane.

#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "core/colour_data.h"
#include "core/paths.h"

class QAction;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;
class QToolBar;
class CommonDialog;
class Trazo;
struct CurveEditorVariant;

class CurveTableEditor : public QWidget {
    Q_OBJECT
public:
    explicit CurveTableEditor(const CurveEditorVariant& variant, QWidget* parent = nullptr);
    ~CurveTableEditor() override;

    const CurveEditorVariant& Variant() const { return variant_; }

    // The controls, named as in the design.
    QToolBar* Toolbar1 = nullptr;
    Trazo* Trazo1 = nullptr;
    QLabel* labYmax = nullptr;
    QLabel* labYmin = nullptr;
    QLabel* labXmin = nullptr;
    QLabel* labXmax = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QTableWidget* MSFlexGrid1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QRadioButton* opbYellow = nullptr;
    QRadioButton* opbMagenta = nullptr;
    QRadioButton* opbCyan = nullptr;
    QRadioButton* opbOp = nullptr;
    QRadioButton* opbAll = nullptr;
    std::unique_ptr<CommonDialog> CommonDialog1;
    // frmSTBGamma only: the strobe sum of the plane on show, in nanoseconds.
    QLineEdit* txtStbSum = nullptr;
    QLabel* Label1 = nullptr;
    // frmEGamma only: the end and the start level of the plane on show, each with its label
    // ("Label2" EP, "Label1" SP in that design) and a level line of the curve.
    QLineEdit* txtEP = nullptr;
    QLabel* lblEP = nullptr;
    QLineEdit* txtSP = nullptr;
    QLabel* lblSP = nullptr;

    // The plane on show; PlaneAll after "Replace all data?" was accepted.
    Plane CurrentPlane = PlaneYellow;

    void LoadTableToGrid();
    void StoreGridToTable();
    void ShowControlPoints();
    void StoreControlPointsFromCurve();
    void OpenTableFile();
    void SaveTableFile();
    void WriteTableToPrinter();
    void ReadTableFromPrinter();

    // The grid as the design addresses it: row 0 is the header, row r shows
    // point r - 1; column 0 the point number, column 1 the value. The header
    // row is the table's horizontal header, so that it stays in view as a
    // fixed row does; "no current cell" is the header row being current.
    int Row() const;
    void SetRow(int row);
    int Col() const;
    void SetCol(int col);
    int TopRow() const;
    void SetTopRow(int row);
    QString TextMatrix(int row, int col) const;

    // The figures that place the in-cell editor, in twips.
    static constexpr int kRowHeightTwips = 240;
    static constexpr int kLastRow = 256;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void SelectPlane(Plane plane);
    void opbAll_Click();
    void Trazo1_PointChanged(int index);
    void MSFlexGrid1_DblClick();
    void MSFlexGrid1_KeyPress(QChar character);
    void MSFlexGrid1_MouseDown(Qt::MouseButton button, const QPoint& pos);
    void Text1_KeyDown(int keyCode);

    void BuildControls();
    void PlaceEditor();
    void SetRedraw(bool on);
    void SetCell(int row, int col, const QString& text);
    void ShowEngineMarkers();

    // The level boxes of frmEGamma: which 0 is the start (txtSP, level line 0), 1 the end.
    void BuildLevelBoxes();
    QLineEdit* LevelBox(int which) const;
    void ShowLevels();
    void StoreLevels();
    void LevelBox_Change(int which);
    bool LevelBox_KeyPress(QKeyEvent* event);
    void LevelBox_LostFocus(int which);
    void Trazo1_LevelChanged(int which);
    bool LevelBoxEvent(QObject* watched, QEvent* event);

    const CurveEditorVariant& variant_;
    bool loaded_ = false;
    bool engineReported_ = false;  // a missing colour engine is told once a window
};
