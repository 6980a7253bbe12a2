#include "platform/trazo/trazo.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kMargin = 6;              // room around the plot for node handles
constexpr double kHitRadius = 8;        // how near a press must be to take hold
constexpr double kRemoveDistance = 24;  // pulled this far off the plot, a node goes
constexpr int kHandle = 3;              // half the side of a node's square
constexpr int kBarHalf = 7;             // half the width of a weight's bar
constexpr int kGridPoints = 32;         // points between vertical grid lines
constexpr int kGridValueSteps = 10;     // horizontal grid lines split the scale

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

Trazo::Trazo(QWidget* parent) : QWidget(parent), values_(256, 0.0f), flags_(256, 0) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// ---- members set by the program -------------------------------------------

void Trazo::setPointCount(int16_t count) {
    cancelDrag();
    const int n = std::max<int>(count, 2);
    values_.resize(n, 0.0f);
    flags_.resize(n, 0);
    if (selected_ >= n) selected_ = -1;
    if (hover_ >= n) hover_ = -1;
    background_ = QPixmap();
    polygonDirty_ = true;
    update();
}

void Trazo::setValueSpan(int16_t span) {
    cancelDrag();
    valueSpan_ = std::max<int16_t>(span, 2);
    background_ = QPixmap();
    polygonDirty_ = true;
    update();
}

void Trazo::setCurveMode(int16_t mode) {
    cancelDrag();
    mode_ = mode;
    const std::vector<int> n = nodes();
    if (!std::binary_search(n.begin(), n.end(), selected_)) selected_ = -1;
    update();
}

void Trazo::setCurveColor(int32_t bgr) {
    color_ = bgr;
    update();
}

bool Trazo::validPoint(int index) const {
    return index >= 0 && index < static_cast<int>(values_.size());
}

float Trazo::PointValue(int index) const {
    return validPoint(index) ? values_[index] : 0.0f;
}

void Trazo::setPointValue(int index, float value) {
    if (!validPoint(index)) return;
    cancelDrag();
    if (!std::isfinite(value)) value = 0.0f;  // nothing sensible can be drawn of it
    if (values_[index] == value) return;
    values_[index] = value;
    markPointsDirty(index, index);
}

bool Trazo::NodeFlag(int index) const {
    return validPoint(index) && flags_[index];
}

void Trazo::setNodeFlag(int index, bool node) {
    if (!validPoint(index)) return;
    cancelDrag();
    if (static_cast<bool>(flags_[index]) == node) return;
    flags_[index] = node;
    if (!inNodeUpdate_) markPointsDirty(index, index);
}

int16_t Trazo::Marker(int index) const {
    return index >= 0 && index < 3 && markerSet_[index] ? markers_[index] : 0;
}

void Trazo::setMarker(int index, int16_t point) {
    if (index < 0 || index >= 3) return;
    if (markerSet_[index]) markMarkerDirty(markers_[index]);
    markers_[index] = point;
    markerSet_[index] = true;
    markMarkerDirty(point);
}

int16_t Trazo::LevelLine(int index) const {
    return index >= 0 && index < 2 && levelSet_[index] ? levels_[index] : 0;
}

void Trazo::setLevelLine(int index, int16_t value) {
    if (index < 0 || index >= 2) return;
    if (drag_ == Drag::Level && dragLevel_ == index) cancelDrag();
    if (levelSet_[index]) markLevelDirty(levels_[index]);
    levels_[index] = value;
    levelSet_[index] = true;
    markLevelDirty(value);
}

void Trazo::BeginNodeUpdate() {
    cancelDrag();
    if (!inNodeUpdate_) flagsBeforeUpdate_ = flags_;
    inNodeUpdate_ = true;
    std::fill(flags_.begin(), flags_.end(), 0);
}

void Trazo::EndNodeUpdate() {
    if (!inNodeUpdate_) return;
    inNodeUpdate_ = false;
    int lo = INT_MAX, hi = INT_MIN;
    for (int i = 0; i < static_cast<int>(flags_.size()); ++i) {
        if (i < static_cast<int>(flagsBeforeUpdate_.size()) && flags_[i] == flagsBeforeUpdate_[i]) {
            continue;
        }
        lo = std::min(lo, i);
        hi = std::max(hi, i);
    }
    if (lo <= hi) markPointsDirty(lo, hi);
    const std::vector<int> n = nodes();
    if (!std::binary_search(n.begin(), n.end(), selected_)) select(-1);
}

// The weights' nodes are the flagged points as they stand; nothing more to
// settle than for the curve.
void Trazo::EndSigmaNodeUpdate() {
    EndNodeUpdate();
}

CurveMath::PlotMapping Trazo::Mapping() const {
    CurveMath::PlotMapping m;
    m.left = kMargin;
    m.top = kMargin;
    m.width = std::max(width() - 2 * kMargin - 1, 1);
    m.height = std::max(height() - 2 * kMargin - 1, 1);
    m.pointCount = static_cast<int>(values_.size());
    m.valueSpan = valueSpan_;
    return m;
}

// ---- nodes and hit-testing --------------------------------------------------

bool Trazo::isEnd(int point) const {
    return point == 0 || point == static_cast<int>(values_.size()) - 1;
}

bool Trazo::isNode(int point) const {
    return validPoint(point) && (flags_[point] || (!sigma() && isEnd(point)));
}

std::vector<int> Trazo::nodes() const {
    if (!sigma()) return CurveMath::InterpolationNodes(flags_);
    std::vector<int> n;
    for (int i = 0; i < static_cast<int>(flags_.size()); ++i) {
        if (flags_[i]) n.push_back(i);
    }
    return n;
}

CurveMath::Hit Trazo::hitAt(QPointF pos) const {
    const CurveMath::PlotMapping m = Mapping();
    std::vector<CurveMath::NodeMark> marks;
    for (int p : nodes()) {
        marks.push_back(
            {m.XOfPoint(p), m.YOfValue(CurveMath::RoundToSpan(values_[p], valueSpan_)), p});
    }
    std::vector<CurveMath::LevelMark> lines;
    for (int i = 0; i < 2; ++i) {
        if (!levelSet_[i]) continue;
        double y = m.YOfValue(std::clamp<int>(levels_[i], 0, valueSpan_ - 1));
        lines.push_back({y, m.left, m.Right(), i});
    }
    return CurveMath::HitTest(pos.x(), pos.y(), marks, lines, kHitRadius);
}

// ---- a user's change ----------------------------------------------------------

void Trazo::takeSnapshot() {
    snapValues_ = values_;
    snapFlags_ = flags_;
    dragTouched_ = {INT_MAX, INT_MIN};
}

void Trazo::restoreSnapshot() {
    if (dragTouched_.first <= dragTouched_.second) {
        markPointsDirty(dragTouched_.first, dragTouched_.second);
    }
    values_ = snapValues_;
    flags_ = snapFlags_;
    dragTouched_ = {INT_MAX, INT_MIN};
}

void Trazo::reinterpolate(int lo, int hi) {
    const std::vector<int> n = CurveMath::InterpolationNodes(flags_);
    const auto [first, last] = CurveMath::InfluencedNodes(n, lo, hi);
    CurveMath::Interpolate(values_, n, first, last, valueSpan_);
    const int from = std::min(lo, n[first]), to = std::max(hi, n[last]);
    dragTouched_ = {std::min(dragTouched_.first, from), std::max(dragTouched_.second, to)};
    markPointsDirty(from, to);
}

void Trazo::applyMove(int from, int to, double value) {
    // A node left where it was changes nothing, not even the points the
    // program set around it.
    if (from == to && isNode(to) && values_[to] == static_cast<float>(value)) return;
    values_[to] = static_cast<float>(value);
    if (sigma()) {
        dragTouched_ = {std::min(dragTouched_.first, to), std::max(dragTouched_.second, to)};
        markPointsDirty(to, to);
        return;
    }
    if (from != to) flags_[from] = 0;
    if (!isEnd(to)) flags_[to] = 1;
    reinterpolate(std::min(from, to), std::max(from, to));
}

void Trazo::applyRemove(int point) {
    flags_[point] = 0;
    reinterpolate(point, point);
}

bool Trazo::changedSinceSnapshot() const {
    return values_ != snapValues_ || flags_ != snapFlags_;
}

void Trazo::commitUserChange(int point) {
    drag_ = Drag::None;
    if (changedSinceSnapshot()) emit PointChanged(point);
}

void Trazo::startNodeDrag(int point, bool inserted, QPointF pos) {
    takeSnapshot();
    drag_ = Drag::Node;
    dragOrigin_ = dragPoint_ = point;
    dragInserted_ = inserted;
    dragVertical_ = sigma() || isEnd(point);
    const std::vector<int> n = CurveMath::InterpolationNodes(flags_);
    auto at = std::lower_bound(n.begin(), n.end(), point);
    dragLo_ = at == n.begin() ? point : *(at - 1);
    auto after = std::upper_bound(n.begin(), n.end(), point);
    dragHi_ = after == n.end() ? point : *after;
    select(point);
    setHover(point);
    if (inserted) dragNodeTo(pos);
}

void Trazo::dragNodeTo(QPointF pos) {
    const CurveMath::PlotMapping m = Mapping();
    const double outside = std::max(
        {m.left - pos.x(), pos.x() - m.Right(), m.top - pos.y(), pos.y() - m.Bottom(), 0.0});
    restoreSnapshot();
    if (!dragVertical_ && outside > kRemoveDistance) {
        if (!dragInserted_) applyRemove(dragOrigin_);
        dragPoint_ = -1;
    } else {
        dragPoint_ =
            dragVertical_ ? dragOrigin_ : std::clamp(m.PointAtX(pos.x()), dragLo_ + 1, dragHi_ - 1);
        applyMove(dragOrigin_, dragPoint_, m.ValueAtY(pos.y()));
    }
    select(dragPoint_);
    setHover(dragPoint_);
}

void Trazo::cancelDrag() {
    if (drag_ == Drag::Node) {
        restoreSnapshot();
        drag_ = Drag::None;
        select(dragInserted_ ? -1 : dragOrigin_);
    } else if (drag_ == Drag::Level) {
        drag_ = Drag::None;
        markLevelDirty(levels_[dragLevel_]);
        levels_[dragLevel_] = dragLevelStart_;
        markLevelDirty(dragLevelStart_);
    }
}

void Trazo::endDrag() {
    if (hover_ >= 0) update(columnsRect(hover_, hover_));  // its mark shows again
    if (drag_ == Drag::Node) {
        commitUserChange(dragPoint_ >= 0 ? dragPoint_ : dragOrigin_);
    } else if (drag_ == Drag::Level) {
        drag_ = Drag::None;
        markLevelDirty(levels_[dragLevel_]);
        if (levels_[dragLevel_] != dragLevelStart_) emit LevelChanged(dragLevel_);
    }
}

void Trazo::removeNodeByUser(int point) {
    if (sigma() || isEnd(point) || !validPoint(point) || !flags_[point]) return;
    const std::vector<int> n = nodes();
    auto at = std::lower_bound(n.begin(), n.end(), point);
    takeSnapshot();
    applyRemove(point);
    select(at == n.begin() ? -1 : *(at - 1));
    commitUserChange(point);
}

void Trazo::stepSelected(int delta) {
    if (!isNode(selected_)) return;  // the program may have taken the node away
    takeSnapshot();
    applyMove(selected_, selected_, CurveMath::RoundToSpan(values_[selected_] + delta, valueSpan_));
    commitUserChange(selected_);
}

// A new node goes halfway into the gap after the selected node (before it,
// for the last node; the widest gap when none is selected), on the curve as
// it runs there.
void Trazo::insertAfterSelected() {
    if (sigma()) return;
    const std::vector<int> n = nodes();
    int a = -1, b = -1;
    auto at = std::find(n.begin(), n.end(), selected_);
    if (at != n.end()) {
        a = at + 1 == n.end() ? *(at - 1) : *at;
        b = at + 1 == n.end() ? *at : *(at + 1);
    } else {
        for (std::size_t k = 0; k + 1 < n.size(); ++k) {
            if (a < 0 || n[k + 1] - n[k] > b - a) a = n[k], b = n[k + 1];
        }
    }
    if (b - a < 2) return;
    const int point = (a + b) / 2;
    takeSnapshot();
    applyMove(point, point, CurveMath::RoundToSpan(values_[point], valueSpan_));
    select(point);
    commitUserChange(point);
}

void Trazo::select(int point) {
    if (point == selected_) return;
    if (selected_ >= 0) update(columnsRect(selected_, selected_));
    selected_ = point;
    if (point >= 0) update(columnsRect(point, point));
}

void Trazo::setHover(int point) {
    if (point == hover_) return;
    if (hover_ >= 0) update(columnsRect(hover_, hover_));
    hover_ = point;
    if (hover_ >= 0) update(columnsRect(hover_, hover_));
    update(readoutRect());
}

// ---- events -------------------------------------------------------------------

void Trazo::mousePressEvent(QMouseEvent* event) {
    if (drag_ != Drag::None) {
        if (event->button() != Qt::LeftButton) return;  // one thing at a time
        cancelDrag();  // the release of the last drag never came: it did not finish
    }
    const QPointF pos = event->position();
    const CurveMath::Hit hit = hitAt(pos);
    if (event->button() == Qt::RightButton) {
        if (hit.kind == CurveMath::HitKind::Node) removeNodeByUser(hit.index);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (hit.kind == CurveMath::HitKind::Node) {
        startNodeDrag(hit.index, false, pos);
    } else if (hit.kind == CurveMath::HitKind::Level) {
        drag_ = Drag::Level;
        dragLevel_ = hit.index;
        dragLevelStart_ = levels_[hit.index];
        markLevelDirty(dragLevelStart_);  // drawn bolder while held
    } else if (!sigma()) {
        // Empty space: a new node where the press is, held for dragging.
        // On a column that is a node already, that node comes to the press.
        const int point = Mapping().PointAtX(pos.x());
        const bool existing = isNode(point);
        startNodeDrag(point, !existing, pos);
        if (existing) dragNodeTo(pos);
    } else if (const int weight = weightAt(pos.x()); weight >= 0) {
        // On a weight's bar: its top comes to the press.
        startNodeDrag(weight, false, pos);
        dragNodeTo(pos);
    }
}

int Trazo::weightAt(double x) const {
    const CurveMath::PlotMapping m = Mapping();
    int nearest = -1;
    for (int n : nodes()) {
        if (nearest < 0 || std::fabs(m.XOfPoint(n) - x) < std::fabs(m.XOfPoint(nearest) - x)) {
            nearest = n;
        }
    }
    return nearest >= 0 && std::fabs(m.XOfPoint(nearest) - x) <= kBarHalf ? nearest : -1;
}

void Trazo::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    const CurveMath::PlotMapping m = Mapping();
    if (drag_ == Drag::Node) {
        dragNodeTo(pos);
        return;
    }
    if (drag_ == Drag::Level) {
        const int16_t v = static_cast<int16_t>(m.ValueAtY(pos.y()));
        if (v != levels_[dragLevel_]) {
            markLevelDirty(levels_[dragLevel_]);
            levels_[dragLevel_] = v;
            markLevelDirty(v);
        }
        return;
    }
    const bool over = pos.x() >= m.left - kHitRadius && pos.x() <= m.Right() + kHitRadius;
    int point = over ? m.PointAtX(pos.x()) : -1;
    if (over && sigma()) point = weightAt(pos.x());  // between bars nothing to read
    setHover(point);
    const CurveMath::Hit hit = hitAt(pos);
    if (hit.kind == CurveMath::HitKind::Node) {
        setCursor(sigma() || isEnd(hit.index) ? Qt::SizeVerCursor : Qt::SizeAllCursor);
    } else if (hit.kind == CurveMath::HitKind::Level) {
        setCursor(Qt::SizeVerCursor);
    } else {
        setCursor(sigma() ? Qt::ArrowCursor : Qt::CrossCursor);
    }
}

void Trazo::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) endDrag();
}

void Trazo::keyPressEvent(QKeyEvent* event) {
    if (drag_ != Drag::None) {
        if (event->key() == Qt::Key_Escape) cancelDrag();
        return;
    }
    const std::vector<int> n = nodes();
    const auto at = std::find(n.begin(), n.end(), selected_);
    const bool none = at == n.end();
    const int step = event->modifiers() & Qt::ShiftModifier ? 100 : 1;
    switch (event->key()) {
        case Qt::Key_Left:
            if (!n.empty()) select(none ? n.front() : *(at == n.begin() ? at : at - 1));
            break;
        case Qt::Key_Right:
            if (!n.empty()) select(none ? n.front() : *(at + 1 == n.end() ? at : at + 1));
            break;
        case Qt::Key_Home:
            if (!n.empty()) select(n.front());
            break;
        case Qt::Key_End:
            if (!n.empty()) select(n.back());
            break;
        case Qt::Key_Up:
            stepSelected(step);
            break;
        case Qt::Key_Down:
            stepSelected(-step);
            break;
        case Qt::Key_Insert:
            insertAfterSelected();
            break;
        case Qt::Key_Delete:
            removeNodeByUser(selected_);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    if (selected_ >= 0) setHover(selected_);
}

void Trazo::leaveEvent(QEvent* event) {
    if (drag_ == Drag::None) setHover(-1);
    QWidget::leaveEvent(event);
}

void Trazo::resizeEvent(QResizeEvent* event) {
    background_ = QPixmap();
    polygonDirty_ = true;
    QWidget::resizeEvent(event);
}

// ---- drawing ------------------------------------------------------------------

void Trazo::markPointsDirty(int lo, int hi) {
    polygonDirty_ = true;
    update(columnsRect(lo, hi));
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
