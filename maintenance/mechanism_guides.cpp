#include "maintenance/mechanism_guides.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

namespace {

constexpr int Width = 233;
constexpr int Height = 149;

// The strip (its top and bottom edge) and its leading edge.
constexpr int StripTop = 62;
constexpr int StripBottom = 78;
constexpr int LeadingEdge = 24;

const QColor Paper(0xC0, 0xC0, 0xC0);  // silver
const QColor Ink(0x00, 0x80, 0x80);    // teal: the printed area
const QColor Measure(0x00, 0x00, 0xFF);
const QColor Scale(0xFF, 0x00, 0x00);

// A horizontal line with a filled head at its `to` end.
void Arrow(QPainter& p, int from, int to, int y, const QColor& colour) {
    p.setPen(QPen(colour, 1));
    p.setBrush(colour);
    p.drawLine(from, y, to, y);
    const int back = to < from ? 6 : -6;
    p.drawPolygon(QPolygon({QPoint(to, y), QPoint(to + back, y - 3), QPoint(to + back, y + 3)}));
}

// A length marked above the strip: two extension lines and a line with a head at each end.
void Dimension(QPainter& p, int from, int to) {
    p.setPen(QPen(Measure, 1));
    p.drawLine(from, StripTop - 4, from, 34);
    p.drawLine(to, StripTop - 4, to, 34);
    const int mid = (from + to) / 2;
    Arrow(p, mid, from + 1, 40, Measure);
    Arrow(p, mid, to - 1, 40, Measure);
}

// The adjustment's scale under the point it moves: ticks, a pointer, minus left and plus right.
void AdjustScale(QPainter& p, int at) {
    p.setPen(QPen(Scale, 1));
    p.setBrush(Scale);
    p.drawPolygon(QPolygon({QPoint(at, StripBottom + 4), QPoint(at - 3, StripBottom + 9),
                            QPoint(at + 3, StripBottom + 9)}));
    const int y = 96;
    p.drawLine(at - 20, y, at + 20, y);
    for (int x = -20; x <= 20; x += 5) p.drawLine(at + x, y, at + x, y - (x == 0 ? 6 : 3));
    // The signs are drawn, not written, so that no font changes them.
    p.drawLine(at - 27, y + 12, at - 21, y + 12);
    p.drawLine(at + 21, y + 12, at + 27, y + 12);
    p.drawLine(at + 24, y + 9, at + 24, y + 15);
}

void Strip(QPainter& p, int from, int to) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Paper);
    p.drawRect(from, StripTop, to - from, StripBottom - StripTop);
}

QPixmap Picture(int which) {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    constexpr int CutFrom = 148, CutTo = 154;  // picture 3: the gap the cutter leaves
    if (which == 3) {
        Strip(p, LeadingEdge, CutFrom);
        Strip(p, CutTo, Width + 1);  // the strip goes on past the picture's edge
    } else {
        Strip(p, LeadingEdge, Width + 1);
    }
    if (which == 2) {
        constexpr int PrintFrom = 30, PrintTo = 180;
        p.fillRect(PrintFrom, StripTop + 3, PrintTo - PrintFrom, StripBottom - StripTop - 5, Ink);
        Dimension(p, PrintFrom, PrintTo);
        AdjustScale(p, PrintFrom);
    }
    if (which == 3) {
        Dimension(p, LeadingEdge, CutFrom);
        AdjustScale(p, (CutFrom + CutTo) / 2);
    }
    // The feed: the paper moves toward its leading edge.
    Arrow(p, 222, 184, 132, Qt::black);
    p.end();
    return QPixmap::fromImage(image);
}

}  // namespace

std::array<QPixmap, 3> MechanismGuidePictures() {
    return {Picture(1), Picture(2), Picture(3)};
}
