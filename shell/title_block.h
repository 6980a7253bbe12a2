#pragma once
// What the splash and About windows share: the program's title and version
// over the maker's texts, on light grey.
#include <QString>

class QLabel;
class QWidget;

// "Version " with the program's major, minor and revision numbers: "Version 1.0.0".
QString VersionText();

// Fills a 5310 x 2205 twip window: background, icon, the title label (named
// titleName), lblVersion and the maker's texts. Returns the title label.
QLabel* BuildTitleBlock(QWidget* window, const char* titleName);
