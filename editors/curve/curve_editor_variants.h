#pragma once
// What differs between the sixteen curve table editors: one row per window.

#include <cstdint>
#include <span>
#include <string_view>

#include "core/colour_data.h"

// The three editors whose curve also carries markers computed by the colour
// engine from the whole data set; frmSTBGamma shows a strobe sum as well.
enum class EngineMarkers { None, Markers, MarkersAndStrobeSum };

// The E gamma curve carries a start and an end level per plane: its editor shows them in two
// boxes of Frame1 and as the curve's two level lines, and its binary file holds them after the
// curve.
enum class CurveLevels { None, StartEnd };

struct CurveEditorVariant {
    const char* window;            // the window's name, also its objectName
    const char* menuItem;          // the main menu's item that opens it
    const char* caption;           // design caption
    const char* extension;         // binary file extension, three lower-case letters
    CurveTable& (*table)();        // the edited table of ColorDataSet
    bool (*write)(int16_t plane);  // one plane to the printer
    bool (*read)(int16_t plane);   // one plane from the printer into the table
    const char* errorTitle;        // title of "FileOpen Error"
    EngineMarkers markers;
    CurveLevels levels = CurveLevels::None;
};

// The sixteen curve table editors.
std::span<const CurveEditorVariant> CurveEditorVariants();
// frmEGamma, the same window with the start and end levels.
const CurveEditorVariant& EGammaEditorVariant();

// The row of the named window (one of the sixteen or frmEGamma), or nullptr.
const CurveEditorVariant* FindCurveEditorVariant(std::string_view window);
