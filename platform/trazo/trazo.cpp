// The curve control as the program sets it up: its members, its nodes and
// where on the plot a press takes hold.
#include "platform/trazo/trazo.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/trazo/trazo_metrics.h"

using namespace TrazoMetrics;

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
