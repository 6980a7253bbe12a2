#pragma once
// What differs between the sixteen curve table editors: one row per window.

#include <cstdint>
#include <span>
#include <string_view>

#include "core/colour_data.h"

// The three editors whose curve also carries markers computed by the colour
// engine from the whole data set; frmSTBGamma shows a strobe sum as well.
enum class EngineMarkers { None, Markers, MarkersAndStrobeSum };

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
};

std::span<const CurveEditorVariant> CurveEditorVariants();

// The row of the named window, or nullptr.
const CurveEditorVariant* FindCurveEditorVariant(std::string_view window);
