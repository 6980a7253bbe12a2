#include "editors/curve/curve_editor_variants.h"

#include <array>

#include "core/table_transfers.h"
#include "editors/curve/curve_table_editor.h"
#include "shell/child_windows.h"

namespace {

#define RN_CURVE_VARIANT(window, menuItem, caption, ext, field, routine, title, markers)    \
    CurveEditorVariant {                                                                    \
        window, menuItem, caption, ext, []() -> CurveTable& { return ColorDataSet.field; }, \
            [](int16_t p) { return Module2::Write##routine##Table(p); },                    \
            [](int16_t p) { return Module2::Read##routine##Table(p); }, title, markers      \
    }

const std::array<CurveEditorVariant, 16> kVariants = {
    RN_CURVE_VARIANT("frmHTemp", "mnuCtlHeadTemperature", "Head Temperature", "htp", HeadTemp,
                     HeadTemp, "KT-Tools", EngineMarkers::None),
    RN_CURVE_VARIANT("frmMTemp", "mnuCtlMediaTemperature", "Media Temperature", "mtp", MediaTemp,
                     MediaTemp, "KT-Tools", EngineMarkers::None),
    RN_CURVE_VARIANT("frmTCoef", "mnuCtlTemperatureCoefficient", "Temperature Coefficient", "tco",
                     TempCoef, TempCoef, "KT-Tools", EngineMarkers::Markers),
    RN_CURVE_VARIANT("frmSTBGamma", "mnuCtlStrobeGamma", "Strobe Gamma", "stg", STB_Gamma, STBGamma,
                     "KT-Tools", EngineMarkers::MarkersAndStrobeSum),
    RN_CURVE_VARIANT("frmCGamma", "mnuCtlC_Gamma", "C Gamma", "cga", C_Gamma, CGamma, "KT-Tools",
                     EngineMarkers::None),
    RN_CURVE_VARIANT("frmCTheta", "mnuCtlC_Theta", "C Theta", "cth", C_Theta, CTheta, "KT-Tools",
                     EngineMarkers::None),
    RN_CURVE_VARIANT("frmCEpsilon", "mnuCtlC_Epsilon", "C Epsilon", "cep", C_Epsilon, CEpsilon,
                     "JM-Tools", EngineMarkers::None),
    RN_CURVE_VARIANT("frmGGamma1", "mnuCtlG_Gamma1", "G Gamma", "gga", G_Gamma, GGamma, "KT-Tools",
                     EngineMarkers::None),
    RN_CURVE_VARIANT("frmGTheta1", "mnuCtlG_Theta1", "G Theta", "gth", G_Theta, GTheta, "KT-Tools",
                     EngineMarkers::None),
    RN_CURVE_VARIANT("frmGEpsilon", "mnuCtlG_Epsilon", "G Epsilon", "gep", G_Epsilon, GEpsilon,
                     "KT-Tools", EngineMarkers::None),
    RN_CURVE_VARIANT("frmEEpsilon", "mnuCtlE_Epsilon", "E Epsilon", "eep", E_Epsilon, EEpsilon,
                     "KT-Tools", EngineMarkers::None),
    RN_CURVE_VARIANT("frmIGamma", "mnuCtlI_Gamma", "I Gamma", "iga", I_Gamma, IGamma, "JM-Tools",
                     EngineMarkers::None),
    RN_CURVE_VARIANT("frmITheta", "mnuCtlI_Theta", "I Theta", "ith", I_Theta, ITheta, "JM-Tools",
                     EngineMarkers::None),
    RN_CURVE_VARIANT("frmIEpsilon", "mnuCtlI_Epsilon", "I Epsilon", "iep", I_Epsilon, IEpsilon,
                     "JM-Tools", EngineMarkers::None),
    RN_CURVE_VARIANT("frmMHumidity", "mnuCtlMediaHumidity", "Media Humidity", "mhm", MediaHumidity,
                     MediaHumidity, "KT-Tools", EngineMarkers::None),
    RN_CURVE_VARIANT("frmHCoef", "mnuCtlHumidityCoeffient", "Humidity Coefficient", "hco",
                     HumidityCoef, HumidityCoef, "KT-Tools", EngineMarkers::Markers),
};

const CurveEditorVariant kEGamma = {
    "frmEGamma",
    "mnuCtlE_Gamma",
    "E Gamma",
    "ega",
    []() -> CurveTable& { return ColorDataSet.E_Gamma; },
    [](int16_t p) { return Module2::WriteEGammaTable(p); },
    [](int16_t p) { return Module2::ReadEGammaTable(p); },
    "KT-Tools",
    EngineMarkers::None,
    CurveLevels::StartEnd,
};

#undef RN_CURVE_VARIANT

}  // namespace

std::span<const CurveEditorVariant> CurveEditorVariants() {
    return kVariants;
}

const CurveEditorVariant& EGammaEditorVariant() {
    return kEGamma;
}

const CurveEditorVariant* FindCurveEditorVariant(std::string_view window) {
    for (const auto& v : kVariants) {
        if (window == v.window) return &v;
    }
    return window == kEGamma.window ? &kEGamma : nullptr;
}

namespace {

// Each editor's menu item opens its window once, configured by its row.
const bool kRegistered = [] {
    for (const auto& v : kVariants) {
        ChildWindowRegistration(v.menuItem, [&v]() -> QWidget* { return new CurveTableEditor(v); });
    }
    ChildWindowRegistration(kEGamma.menuItem, [] { return new CurveTableEditor(kEGamma); });
    return true;
}();

}  // namespace
