// The user's changes to the curve: drags, key steps, inserted and removed
// nodes, each made against a snapshot so that it can be redone or undone.
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/trazo/trazo.h"
#include "platform/trazo/trazo_metrics.h"

using namespace TrazoMetrics;

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

int Trazo::readablePointAt(QPointF pos) const {
    const CurveMath::PlotMapping m = Mapping();
    if (pos.x() < m.left - kHitRadius || pos.x() > m.Right() + kHitRadius) return -1;
    return sigma() ? weightAt(pos.x()) : m.PointAtX(pos.x());  // between bars nothing to read
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
    setHover(readablePointAt(pos));
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
    if (event->button() != Qt::LeftButton) return;
    const bool dragged = drag_ != Drag::None;
    endDrag();
    // The pointer may have left the dragged point behind (a node stops at its neighbours).
    if (dragged) setHover(readablePointAt(event->position()));
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
