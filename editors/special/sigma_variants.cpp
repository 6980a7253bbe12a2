#include "editors/special/sigma_variants.h"

#include <array>

#include "core/table_transfers.h"
#include "editors/special/sigma_editor.h"
#include "shell/child_windows.h"

namespace {

const std::array<SigmaEditorVariant, 2> kVariants = {{
    {"frmGSigma", "mnuCtlG_Sigma", "G Sigma", "gsg",
     []() -> ParamTable& { return ColorDataSet.GSigmaParams; },
     [](int16_t p) { return Module2::WriteGSigmaTable(p); },
     [](int16_t p) { return Module2::ReadGSigmaTable(p); }, "KT-Tools", "GSigma"},
    {"frmCSigma", "mnuCtlC_Sigma", "C Sigma", "csg",
     []() -> ParamTable& { return ColorDataSet.CSigmaParams; },
     [](int16_t p) { return Module2::WriteCSigmaTable(p); },
     [](int16_t p) { return Module2::ReadCSigmaTable(p); }, "JM-Tools", "CSigma"},
}};

// Each editor's menu item opens its window once, configured by its row.
const bool kRegistered = [] {
    for (const auto& v : kVariants) {
        ChildWindowRegistration(v.menuItem, [&v]() -> QWidget* { return new SigmaEditor(v); });
    }
    return true;
}();

}  // namespace

std::span<const SigmaEditorVariant> SigmaEditorVariants() {
    return kVariants;
}

const SigmaEditorVariant* FindSigmaEditorVariant(std::string_view window) {
    for (const auto& v : kVariants) {
        if (window == v.window) return &v;
    }
    return nullptr;
}
