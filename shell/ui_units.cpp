#include "shell/ui_units.h"

#include <QMdiSubWindow>
#include <QWidget>
#include <algorithm>
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

QMdiSubWindow* FixChildFrame(QWidget* window) {
    auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    if (frame)
        frame->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    return frame;
}

void FitText(QWidget* control, int widest) {
    const int wanted = control->sizeHint().width();
    control->resize(std::clamp(wanted, control->width(), std::max(control->width(), widest)),
                    control->height());
    constexpr double SmallestPoints = 6.0;
    QFont font = control->font();
    while (font.pointSizeF() > SmallestPoints) {
        control->setFont(font);
        if (control->sizeHint().width() <= control->width()) return;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    control->setFont(font);
}

int RoomToParentEdge(const QWidget* control) {
    const QWidget* parent = control->parentWidget();
    if (!parent) return control->width();
    return parent->contentsRect().right() - 2 - control->x();
}
