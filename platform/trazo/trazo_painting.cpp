// The curve control's drawing: a cached background, the curve's polygon
// built again only when values or size change, and redraws of only what a
// change touched.
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/trazo/trazo.h"
#include "platform/trazo/trazo_metrics.h"

using namespace TrazoMetrics;

namespace {

constexpr int kGridPoints = 32;      // points between vertical grid lines
constexpr int kGridValueSteps = 10;  // horizontal grid lines split the scale

QColor FromBgr(int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

const QColor kWidgetBack(0x20, 0x20, 0x20);
const QColor kPlotBack(0x0c, 0x0c, 0x0c);
const QColor kGrid(0x30, 0x30, 0x30);
const QColor kGridHalf(0x44, 0x44, 0x44);
const QColor kFrame(0x70, 0x70, 0x70);
const QColor kMarkerColour(0xd8, 0xd8, 0xd8);
// Start level blue and end level green, as the level boxes of the editor.
const std::array<QColor, 2> kLevelColour{QColor(0x40, 0x80, 0xff), QColor(0x00, 0xc0, 0x00)};

}  // namespace

void Trazo::resizeEvent(QResizeEvent* event) {
    background_ = QPixmap();
    polygonDirty_ = true;
    QWidget::resizeEvent(event);
}

// ---- drawing ------------------------------------------------------------------

void Trazo::markPointsDirty(int lo, int hi) {
    polygonDirty_ = true;
    update(columnsRect(lo, hi));
    if (hover_ >= lo && hover_ <= hi) update(readoutRect());  // it shows a value that changed
}

void Trazo::markLevelDirty(int value) {
    const int y = qRound(Mapping().YOfValue(std::clamp(value, 0, valueSpan_ - 1)));
    update(QRect(0, y - kHitRadius, width(), 2 * kHitRadius + 1));
}

void Trazo::markMarkerDirty(int point) {
    const int x = qRound(Mapping().XOfPoint(point));
    update(QRect(x - 2, 0, 5, height()));
}

QRect Trazo::columnsRect(int lo, int hi) const {
    const CurveMath::PlotMapping m = Mapping();
    const int reach = std::max(kHandle, kBarHalf) + 3;
    const int x0 = static_cast<int>(std::floor(m.XOfPoint(std::max(lo - 1, 0)))) - reach;
    const int x1 =
        static_cast<int>(std::ceil(m.XOfPoint(std::min<int>(hi + 1, values_.size() - 1)))) + reach;
    return QRect(x0, 0, x1 - x0 + 1, height());
}

// The readout's place, wide enough for any point and value it may show, so
// that one redraw of it clears whatever it showed before.
QRect Trazo::readoutRect() const {
    const QFontMetrics fm(font());
    const QString widest = QStringLiteral("%1: %2.00").arg(values_.size() - 1).arg(valueSpan_ - 1);
    return QRect(kMargin + 3, kMargin + 3, fm.horizontalAdvance(widest) + 10, fm.height() + 4);
}

void Trazo::rebuildBackground() {
    const qreal dpr = devicePixelRatioF();
    background_ = QPixmap(size() * dpr);
    background_.setDevicePixelRatio(dpr);
    background_.fill(kWidgetBack);
    QPainter p(&background_);
    const CurveMath::PlotMapping m = Mapping();
    const QRectF plot(m.left, m.top, m.width, m.height);
    p.fillRect(plot, kPlotBack);
    const int last = static_cast<int>(values_.size()) - 1;
    for (int i = kGridPoints; i < last; i += kGridPoints) {
        p.setPen(i % (4 * kGridPoints) == 0 ? kGridHalf : kGrid);
        const double x = std::round(m.XOfPoint(i)) + 0.5;
        p.drawLine(QPointF(x, m.top), QPointF(x, m.Bottom()));
    }
    for (int k = 1; k < kGridValueSteps; ++k) {
        p.setPen(2 * k == kGridValueSteps ? kGridHalf : kGrid);
        const double y =
            std::round(m.YOfValue((valueSpan_ - 1) * double(k) / kGridValueSteps)) + 0.5;
        p.drawLine(QPointF(m.left, y), QPointF(m.Right(), y));
    }
    p.setPen(kFrame);
    p.drawRect(QRectF(m.left - 0.5, m.top - 0.5, m.width + 1, m.height + 1));
}

void Trazo::rebuildPolygon() {
    const CurveMath::PlotMapping m = Mapping();
    polygon_.resize(static_cast<int>(values_.size()));
    for (int i = 0; i < static_cast<int>(values_.size()); ++i) {
        const double v = std::clamp<double>(values_[i], 0, valueSpan_ - 1);
        polygon_[i] = QPointF(m.XOfPoint(i), m.YOfValue(v));
    }
    polygonDirty_ = false;
}

void Trazo::paintEvent(QPaintEvent* event) {
    if (background_.isNull() || background_.deviceIndependentSize().toSize() != size()) {
        rebuildBackground();
    }
    if (polygonDirty_) rebuildPolygon();
    QPainter p(this);
    p.setClipRegion(event->region());
    p.drawPixmap(0, 0, background_);
    p.setRenderHint(QPainter::Antialiasing);
    paintMarkers(p);
    paintLevels(p);
    if (sigma()) {
        paintWeights(p);
    } else {
        paintCurve(p);
    }
    paintReadout(p);
}

void Trazo::paintMarkers(QPainter& p) {
    const CurveMath::PlotMapping m = Mapping();
    for (int i = 0; i < 3; ++i) {
        if (!markerSet_[i] || !validPoint(markers_[i])) continue;
        QPen pen(kMarkerColour, 1, i == 2 ? Qt::DotLine : Qt::DashLine);
        p.setPen(pen);
        const double x = std::round(m.XOfPoint(markers_[i])) + 0.5;
        p.drawLine(QPointF(x, m.top), QPointF(x, m.Bottom()));
    }
}

void Trazo::paintLevels(QPainter& p) {
    const CurveMath::PlotMapping m = Mapping();
    for (int i = 0; i < 2; ++i) {
        if (!levelSet_[i]) continue;
        const double y =
            std::round(m.YOfValue(std::clamp<int>(levels_[i], 0, valueSpan_ - 1))) + 0.5;
        p.setPen(QPen(kLevelColour[i], drag_ == Drag::Level && dragLevel_ == i ? 2 : 1));
        p.drawLine(QPointF(m.left, y), QPointF(m.Right(), y));
        // A grip at the right end shows that the line can be taken hold of.
        const QPointF grip[3] = {{m.Right(), y - 4}, {m.Right(), y + 4}, {m.Right() - 6, y}};
        p.setBrush(kLevelColour[i]);
        p.drawPolygon(grip, 3);
    }
}

void Trazo::paintCurve(QPainter& p) {
    const QColor colour = FromBgr(color_);
    p.setPen(QPen(colour, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(polygon_);
    if (validPoint(hover_) && drag_ == Drag::None) {
        // Where on the curve the readout's point lies.
        p.setPen(QPen(Qt::white, 1));
        p.drawEllipse(polygon_[hover_], kHandle + 1, kHandle + 1);
    }
    for (int point : nodes()) {
        const QPointF c = polygon_[point];
        const QRectF box(c.x() - kHandle, c.y() - kHandle, 2 * kHandle, 2 * kHandle);
        if (flags_[point]) {
            p.setPen(QPen(kPlotBack, 1));
            p.setBrush(colour);
        } else {
            // An end that the program did not flag still holds the curve.
            p.setPen(QPen(colour, 1));
            p.setBrush(kPlotBack);
        }
        p.drawRect(box);
        if (point == selected_) {
            p.setPen(QPen(Qt::white, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(box.adjusted(-2, -2, 2, 2));
        }
    }
}

void Trazo::paintWeights(QPainter& p) {
    const QColor colour = FromBgr(color_);
    QColor fill = colour;
    fill.setAlpha(110);
    const CurveMath::PlotMapping m = Mapping();
    p.save();
    p.setClipRect(QRectF(m.left, m.top - kHandle - 1, m.width + 1, m.height + 2 * kHandle + 2),
                  Qt::IntersectClip);
    for (int point : nodes()) {
        const QPointF c = polygon_[point];
        p.setPen(QPen(colour, 1));
        p.setBrush(fill);
        p.drawRect(QRectF(c.x() - kBarHalf, c.y(), 2 * kBarHalf, m.Bottom() - c.y()));
        p.setPen(QPen(kPlotBack, 1));
        p.setBrush(colour);
        const QRectF box(c.x() - kHandle, c.y() - kHandle, 2 * kHandle, 2 * kHandle);
        p.drawRect(box);
        if (point == selected_) {
            p.setPen(QPen(Qt::white, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(box.adjusted(-2, -2, 2, 2));
        }
    }
    p.restore();
}

void Trazo::paintReadout(QPainter& p) {
    if (!validPoint(hover_)) return;
    const QString text =
        QStringLiteral("%1: %2").arg(hover_).arg(static_cast<double>(values_[hover_]), 0, 'g', 7);
    QRect box = readoutRect();
    box.setWidth(std::min(box.width(), QFontMetrics(font()).horizontalAdvance(text) + 10));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawRect(box);
    p.setPen(QColor(0xf0, 0xf0, 0xf0));
    p.drawText(box, Qt::AlignCenter, text);
}
