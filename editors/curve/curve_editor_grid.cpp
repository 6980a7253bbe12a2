// The grid of the curve table editor as the design addresses it, and its in-cell editor.
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableWidget>

#include "core/numbers.h"
#include "editors/curve/curve_editor_variants.h"
#include "editors/curve/curve_table_editor.h"
#include "shell/box_entry.h"
#include "shell/ui_units.h"

namespace {

// The value typed into the in-cell editor, as stored: the leading number of
// the text limited to 0..10000. A number beyond the 16-bit range is limited
// the same way rather than refused.
int16_t EnteredValue(const QString& text) {
    return static_cast<int16_t>(RoundClamped(EntryNumber(text.toStdString()), 0, 10000));
}

}  // namespace

// ---- the grid as rows of the design ----

int CurveTableEditor::Row() const {
    return MSFlexGrid1->currentRow() + 1;
}

void CurveTableEditor::SetRow(int row) {
    // Moving the current row from code leaves the scroll position alone: the
    // editor decides the top row itself.
    const bool scroll = MSFlexGrid1->hasAutoScroll();
    MSFlexGrid1->setAutoScroll(false);
    if (row <= 0)
        MSFlexGrid1->setCurrentItem(nullptr);
    else
        MSFlexGrid1->setCurrentCell(row - 1, std::max(0, MSFlexGrid1->currentColumn()));
    MSFlexGrid1->setAutoScroll(scroll);
}

int CurveTableEditor::Col() const {
    return std::max(0, MSFlexGrid1->currentColumn());
}

void CurveTableEditor::SetCol(int col) {
    if (MSFlexGrid1->currentRow() < 0) return;
    const bool scroll = MSFlexGrid1->hasAutoScroll();
    MSFlexGrid1->setAutoScroll(false);
    MSFlexGrid1->setCurrentCell(MSFlexGrid1->currentRow(), col);
    MSFlexGrid1->setAutoScroll(scroll);
}

int CurveTableEditor::TopRow() const {
    return MSFlexGrid1->verticalScrollBar()->value() + 1;
}

void CurveTableEditor::SetTopRow(int row) {
    MSFlexGrid1->verticalScrollBar()->setValue(row - 1);
}

QString CurveTableEditor::TextMatrix(int row, int col) const {
    if (row == 0) return MSFlexGrid1->horizontalHeaderItem(col)->text();
    return MSFlexGrid1->item(row - 1, col)->text();
}

void CurveTableEditor::SetCell(int row, int col, const QString& text) {
    MSFlexGrid1->item(row - 1, col)->setText(text);
}

void CurveTableEditor::SetRedraw(bool on) {
    MSFlexGrid1->setUpdatesEnabled(on);
    MSFlexGrid1->blockSignals(!on);
}

// ---- grid and in-cell editor ----

void CurveTableEditor::PlaceEditor() {
    SetCol(1);
    const int32_t top = (Row() - TopRow() + 2) * int32_t{kRowHeightTwips};
    Text1->move(TwipsToPx(800), TwipsToPx(top));
    Text1->raise();
}

void CurveTableEditor::MSFlexGrid1_DblClick() {
    if (Row() < 1) return;
    PlaceEditor();
    Text1->setText(TextMatrix(Row(), 1));
    Text1->selectAll();
    Text1->show();
    Text1->setFocus();
}

void CurveTableEditor::MSFlexGrid1_KeyPress(QChar character) {
    if (Row() < 1) return;
    PlaceEditor();
    Text1->setText(QString(character));
    Text1->end(false);
    Text1->show();
    Text1->setFocus();
}

void CurveTableEditor::MSFlexGrid1_MouseDown(Qt::MouseButton button, const QPoint& pos) {
    if (button != Qt::LeftButton) return;
    Text1->hide();
    // The point toggled is that of the pressed row, which the press has made
    // the current one; a press beside the rows has no point to toggle.
    if (MSFlexGrid1->columnAt(pos.x()) != 0 || MSFlexGrid1->rowAt(pos.y()) < 0 || Row() < 1) return;
    CurveTable& table = variant_.table();
    StoreControlPointsFromCurve();
    const int p = Row() - 1;
    ModuleDataPro::SetControlPoint(table, CurrentPlane, p,
                                   !ModuleDataPro::IsControlPoint(table, CurrentPlane, p));
    ShowControlPoints();
}

void CurveTableEditor::Text1_KeyDown(int keyCode) {
    if (keyCode != 13) return;
    const int16_t value = EnteredValue(Text1->text());
    Text1->hide();
    MSFlexGrid1->setFocus();
    if (Row() < 1) return;
    StoreGridToTable();
    ModuleDataPro::SetTableValue(variant_.table(), CurrentPlane, Row() - 1, value);
    LoadTableToGrid();
    if (Row() < kLastRow) {
        SetRow(Row() + 1);
        if (Row() - TopRow() > 16) SetTopRow(Row());
        SetCol(1);
    }
}

bool CurveTableEditor::eventFilter(QObject* watched, QEvent* event) {
    if (LevelBoxEvent(watched, event)) return true;
    if (watched == MSFlexGrid1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint pos = me->position().toPoint();
            const int row = MSFlexGrid1->rowAt(pos.y());
            const int col = MSFlexGrid1->columnAt(pos.x());
            MSFlexGrid1->setFocus(Qt::MouseFocusReason);
            if (me->button() == Qt::LeftButton && row >= 0 && col >= 0) {
                MSFlexGrid1->setCurrentCell(row, col == 0 ? 1 : col);
            }
            if (event->type() == QEvent::MouseButtonPress)
                MSFlexGrid1_MouseDown(me->button(), pos);
            else if (me->button() == Qt::LeftButton)
                MSFlexGrid1_DblClick();
            return true;
        }
    } else if (watched == MSFlexGrid1 && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        const QString text = ke->text();
        if (!text.isEmpty() && ke->key() != Qt::Key_Tab && ke->key() != Qt::Key_Backtab) {
            MSFlexGrid1_KeyPress(text.at(0));
            return true;
        }
    } else if (watched == Text1 && EndOfEntry(event, watched) == EntryEnd::EnterKey) {
        Text1_KeyDown(13);
        return true;  // the editor does not take Enter itself
    }
    return QWidget::eventFilter(watched, event);
}
