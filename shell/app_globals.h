#pragma once
// What the main window's load sets up for every window of the program.
#include <QString>
#include <array>
#include <cstdint>

class frmMain;

// The one main window; null before the start procedure made it and after it is gone.
extern frmMain* MainForm;

// Folder of the image Open and Save As dialogs.
extern QString LastImageDir;
// Folder of every data-file, table-file and firmware-file dialog.
extern QString LastDir;
// The help file in the program folder.
extern QString HelpFile;

// Curve colour of each plane (Y, M, C, OP, all), 0x00BBGGRR.
extern std::array<uint32_t, 5> PlaneColor;
