#include "shell/ui_units.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionFrame>
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

namespace {

// Widens the control towards `room` for the width `needed` gives, and where that is too little,
// sets its font half a point smaller at a time, down to 6 pt, until it fits.
template <class Needed>
void WidenOrShrink(QWidget* control, int room, Needed needed) {
    control->resize(std::clamp(needed(), control->width(), std::max(control->width(), room)),
                    control->height());
    constexpr double SmallestPoints = 6.0;
    QFont font = control->font();
    while (needed() > control->width() && font.pointSizeF() > SmallestPoints) {
        font.setPointSizeF(std::max(SmallestPoints, font.pointSizeF() - 0.5));
        control->setFont(font);
    }
}

}  // namespace

void FitText(QWidget* control, int widest) {
    WidenOrShrink(control, widest, [control] { return control->sizeHint().width(); });
}

int RoomToParentEdge(const QWidget* control) {
    const QWidget* parent = control->parentWidget();
    if (!parent) return control->width();
    return parent->contentsRect().right() - 2 - control->x();
}

namespace {

// The width a box needs to show `text` from its first character with the caret at its end.
// QLineEdit keeps room for the caret's pixel and for the widest overhang of any glyph of the
// font after the text; less than that and it scrolls the text's start out of sight. Around the
// line lie its own inset, the box's margins and the style's frame.
int WidthShowing(const QLineEdit* box, const QString& text) {
    const QFontMetrics fm(box->font());
    const int overhang = std::max(0, -fm.minRightBearing());
    constexpr int LineInset = 2;  // QLineEdit's inset of the line on each side
    QStyleOptionFrame frame;
    frame.initFrom(box);
    frame.rect = box->rect();
    frame.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, box) : 0;
    frame.state |= QStyle::State_Sunken;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &frame, box);
    const QMargins margins = box->textMargins() + box->contentsMargins();
    const int around =
        box->width() - contents.width() + margins.left() + margins.right() + 2 * LineInset;
    const int line =
        static_cast<int>(std::lround(QFontMetricsF(box->font()).horizontalAdvance(text)));
    return around + line + 1 + overhang;
}

// The right edge a box may grow to: short of the nearest control beside it to the right, or
// its parent's inner edge.
int RoomBeside(const QLineEdit* box) {
    int room = std::max(box->width(), RoomToParentEdge(box));
    const QWidget* parent = box->parentWidget();
    if (!parent) return room;
    for (const QObject* child : parent->children()) {
        const auto* other = qobject_cast<const QWidget*>(child);
        if (!other || other == box || other->isWindow() || other->x() <= box->x()) continue;
        const bool level =
            other->y() < box->y() + box->height() && box->y() < other->y() + other->height();
        if (level) room = std::min(room, std::max(box->width(), other->x() - 2 - box->x()));
    }
    return room;
}

// Fits a box, or a row of boxes that read as one, when the first of them is shown: by then the
// window stands whole and every control beside them is in place.
class WholeBoxes : public QObject {
public:
    WholeBoxes(const QList<QLineEdit*>& boxes, const QString& widest)
        : QObject(boxes.front()), boxes_(boxes), widest_(widest) {
        for (QLineEdit* box : boxes) {
            box->installEventFilter(this);
            connect(box, &QLineEdit::textChanged, this,
                    [box](const QString& text) { FromStart(box, text); });
        }
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show && !fitted_) {
            fitted_ = true;
            for (QLineEdit* box : boxes_) Fit(box);
            // A row takes the face the tightest of its boxes needed.
            QFont face = boxes_.front()->font();
            for (QLineEdit* box : boxes_)
                if (box->font().pointSizeF() < face.pointSizeF()) face = box->font();
            for (QLineEdit* box : boxes_) box->setFont(face);
        }
        return false;
    }

private:
    void Fit(QLineEdit* box) const {
        if (WidthShowing(box, widest_) <= box->width()) return;
        WidenOrShrink(box, RoomBeside(box), [this, box] { return WidthShowing(box, widest_); });
    }

    // The program's texts leave the caret at their end; one too wide for the box would then
    // show its end and hide its start. What the user types keeps the caret where it is.
    static void FromStart(QLineEdit* box, const QString& text) {
        if (!box->hasFocus() && WidthShowing(box, text) > box->width()) box->setCursorPosition(0);
    }

    QList<QLineEdit*> boxes_;
    QString widest_;
    bool fitted_ = false;
};

}  // namespace

void ShowWhole(QLineEdit* box, const QString& widest) {
    new WholeBoxes({box}, widest);
}

void ShowWhole(const QList<QLineEdit*>& row, const QString& widest) {
    if (!row.isEmpty()) new WholeBoxes(row, widest);
}
