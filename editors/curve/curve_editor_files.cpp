// The curve table editor's files (its binary image and the text form) and its printer transfers.
#include <array>

#include "core/curve_table_files.h"
#include "core/paths.h"
#include "core/record_files.h"
#include "editors/curve/curve_editor_variants.h"
#include "editors/curve/curve_table_editor.h"
#include "editors/curve/table_editor_parts.h"
#include "shell/common_dialog.h"
#include "shell/msgbox.h"

namespace {

// The table's values and flags as the 1,024 words of its memory image, and back.
std::array<int16_t, 1024> TableWords(CurveTable& table) {
    std::array<int16_t, 1024> words{};
    for (int p = 0; p < 4; ++p) {
        for (int i = 0; i < 256; ++i) {
            int w = ModuleDataPro::GetTableValue(table, Plane(p), i);
            if (ModuleDataPro::IsControlPoint(table, Plane(p), i)) w |= 0x8000;
            words[p * 256 + i] = static_cast<int16_t>(w);
        }
    }
    return words;
}

void SetTableWords(CurveTable& table, const std::array<int16_t, 1024>& words) {
    for (int p = 0; p < 4; ++p) {
        for (int i = 0; i < 256; ++i) {
            int16_t w = words[p * 256 + i];
            ModuleDataPro::SetControlPoint(table, Plane(p), i, (w & 0x8000) != 0);
            ModuleDataPro::SetTableValue(table, Plane(p), i, static_cast<int16_t>(w & 0x7FFF));
        }
    }
}

}  // namespace

void CurveTableEditor::OpenTableFile() {
    std::string path;
    Module1::PathParts parts;
    if (!AskTableFile(*CommonDialog1, false, TableFileFilter(variant_.extension, true), path,
                      parts))
        return;
    CurveTable& table = variant_.table();
    bool ok = true;
    if (parts.Ext == variant_.extension && variant_.levels == CurveLevels::StartEnd) {
        ok = Module1::FileExists(path) && EGammaFile::Read(path, table, ColorDataSet.EGammaRange);
    } else if (parts.Ext == variant_.extension) {
        std::array<int16_t, 1024> words{};
        ok = Module1::FileExists(path) && CurveTableFile::Read(path, words);
        if (ok) SetTableWords(table, words);
    } else if (parts.Ext == "txt") {
        // Every number is read before any is applied, so that a file that
        // fails half-way leaves the table as it was.
        CurveTableValues values{};
        ok = CurveTableTextFile::Read(path, values);
        for (int k = 0; ok && k < 1024; ++k) {
            ModuleDataPro::SetTableValue(table, k / 256, k % 256, values[k]);
        }
    }
    if (!ok) {
        FileOpenError(variant_.errorTitle);
        return;
    }
    TableFileChosen(this, variant_.caption, parts);
    LoadTableToGrid();
}

void CurveTableEditor::SaveTableFile() {
    StoreGridToTable();
    std::string path;
    Module1::PathParts parts;
    if (!AskTableFile(*CommonDialog1, true, TableFileFilter(variant_.extension, true), path, parts))
        return;
    const auto words = TableWords(variant_.table());
    bool ok = true;
    if (parts.Ext == variant_.extension && variant_.levels == CurveLevels::StartEnd)
        ok = EGammaFile::Write(path, variant_.table(), ColorDataSet.EGammaRange);
    else if (parts.Ext == variant_.extension)
        ok = CurveTableFile::Write(path, words);
    else if (parts.Ext == "txt")
        ok = CurveTableTextFile::Write(path, words);
    if (!ok) {
        FileSaveError(variant_.errorTitle);
        return;
    }
    TableFileChosen(this, variant_.caption, parts);
}

// ---- printer ----

void CurveTableEditor::WriteTableToPrinter() {
    StoreGridToTable();
    EachPlane(variant_.write);
}

void CurveTableEditor::ReadTableFromPrinter() {
    if (!EachPlane(variant_.read)) return;
    setWindowTitle(QString(variant_.caption) + " [Printer]");
    LoadTableToGrid();
}
