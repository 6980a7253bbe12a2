#include "editors/curve/curve_editor_icons.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace {

constexpr int kSize = 16;

void Folder(QPainter& p) {
    QPolygonF back({{1, 3}, {6, 3}, {7, 5}, {13, 5}, {13, 14}, {1, 14}});
    p.setBrush(Qt::white);
    p.drawPolygon(back);
    QPolygonF front({{1, 14}, {3.5, 8}, {15, 8}, {13, 14}});
    p.setBrush(Qt::lightGray);
    p.drawPolygon(front);
}

void Disk(QPainter& p) {
    p.setBrush(Qt::lightGray);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 1.5, 8, 5));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(9, 2.5, 2, 3));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 9, 9, 5.5));
}

void Printer(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 1.5, 8, 5));  // paper
    p.setBrush(Qt::lightGray);
    p.drawRect(QRectF(1.5, 6.5, 13, 5));  // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 11.5, 8, 3));  // output slot
}

void Arrow(QPainter& p, bool down) {
    QPainterPath path;
    const double top = 0.5, bottom = 8.5;
    const double tip = down ? bottom : top, tail = down ? top : bottom;
    const double head = down ? tip - 3.5 : tip + 3.5;
    path.moveTo(13, tail);
    path.lineTo(13, head);
    path.lineTo(11, head);
    path.lineTo(14, tip);
    path.lineTo(17, head);
    path.lineTo(15, head);
    path.lineTo(15, tail);
    path.closeSubpath();
    p.setBrush(Qt::black);
    p.translate(-2, 0);
    p.drawPath(path);
}

QPixmap Draw(int image) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    switch (image) {
        case 1:
            Folder(p);
            break;
        case 2:
            Disk(p);
            break;
        case 3:
            Printer(p);
            Arrow(p, true);
            break;
        case 4:
            Printer(p);
            Arrow(p, false);
            break;
        default:
            break;
    }
    return pm;
}

}  // namespace

QIcon CurveEditorIcon(int image) {
    if (image < 1 || image > 4) return QIcon();
    return QIcon(Draw(image));
}
