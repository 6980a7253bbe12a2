#include "shell/ui_units.h"

#include <QWidget>
#include <cmath>

int TwipsToPx(double twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

double PxToTwips(int px) {
    return px * 15.0;
}

QColor BgrColor(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

void PlaceTwips(QWidget* control, double left, double top, double width, double height) {
    control->setGeometry(TwipsToPx(left), TwipsToPx(top), TwipsToPx(width), TwipsToPx(height));
}

void FixClientTwips(QWidget* window, double width, double height) {
    window->setFixedSize(TwipsToPx(width), TwipsToPx(height));
}
