#include "shell/app_globals.h"

frmMain* MainForm = nullptr;
QString LastImageDir;
QString LastDir;
QString HelpFile;
std::array<uint32_t, 5> PlaneColor{};
