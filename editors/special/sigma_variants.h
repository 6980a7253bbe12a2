#pragma once
// What differs between the two sigma editors: one row per window.
#include <cstdint>
#include <span>
#include <string_view>

#include "core/colour_data.h"

struct SigmaEditorVariant {
    const char* window;            // the window's name, also its objectName
    const char* menuItem;          // the main menu's item that opens it
    const char* caption;           // design caption
    const char* extension;         // table file extension
    ParamTable& (*table)();        // the edited table of ColorDataSet
    bool (*write)(int16_t plane);  // one plane to the printer
    bool (*read)(int16_t plane);   // one plane from the printer into the table
    const char* errorTitle;        // title of "FileOpen Error"
    const char* boxPrefix;         // the boxes are prefix + "LL" ... "RR", so are their labels
};

std::span<const SigmaEditorVariant> SigmaEditorVariants();

// The row of the named window, or nullptr.
const SigmaEditorVariant* FindSigmaEditorVariant(std::string_view window);
