#pragma once

// Trazo: the curve control of the table editors. It shows PointCount points
// over a scale of ValueSpan values and lets the user shape them:
//   CurveMode 1 - a curve through nodes (flagged points plus both ends); the
//                 user drags, inserts and removes nodes;
//   CurveMode 2 - a set of weights, one bar per flagged point; the user
//                 drags a bar's top up or down.
// The program's values are the source of truth: what it sets is shown as it
// is, and a user's change rewrites only the points that change can reach.
// PointChanged tells of a user's change to values or nodes, LevelChanged of a
// level line the user moved; nothing the program sets raises either.

#include <QPixmap>
#include <QPolygonF>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

#include "platform/trazo/curve_math.h"

class Trazo : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qint16 PointCount READ PointCount WRITE setPointCount)
    Q_PROPERTY(qint16 ValueSpan READ ValueSpan WRITE setValueSpan)
    Q_PROPERTY(qint16 CurveMode READ CurveMode WRITE setCurveMode)
    Q_PROPERTY(qint32 CurveColor READ CurveColor WRITE setCurveColor)

public:
    explicit Trazo(QWidget* parent = nullptr);

    int16_t PointCount() const { return static_cast<int16_t>(values_.size()); }
    void setPointCount(int16_t count);
    int16_t ValueSpan() const { return valueSpan_; }
    void setValueSpan(int16_t span);
    int16_t CurveMode() const { return mode_; }
    void setCurveMode(int16_t mode);
    int32_t CurveColor() const { return color_; }
    void setCurveColor(int32_t bgr);  // 0x00BBGGRR

    float PointValue(int index) const;
    void setPointValue(int index, float value);
    bool NodeFlag(int index) const;
    void setNodeFlag(int index, bool node);
    int16_t Marker(int index) const;
    void setMarker(int index, int16_t point);  // markers 0..2
    int16_t LevelLine(int index) const;
    void setLevelLine(int index, int16_t value);  // 0 start, 1 end

    // BeginNodeUpdate clears every node flag; the program then flags its
    // nodes and finishes with EndNodeUpdate (curve) or EndSigmaNodeUpdate
    // (weights). Either one redraws the nodes and keeps the selected node
    // when it is still a node.
    void BeginNodeUpdate();
    void EndNodeUpdate();
    void EndSigmaNodeUpdate();

    // Where points and values sit on the widget, for the hosting window.
    CurveMath::PlotMapping Mapping() const;

signals:
    void PointChanged(int index);
    void LevelChanged(int which);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class Drag { None, Node, Level };

    bool sigma() const { return mode_ == 2; }
    bool isEnd(int point) const;
    bool isNode(int point) const;  // a point the user can take hold of
    bool validPoint(int index) const;
    std::vector<int> nodes() const;  // the points the user can take hold of
    CurveMath::Hit hitAt(QPointF pos) const;
    int weightAt(double x) const;            // the weight whose bar covers x, or -1
    int readablePointAt(QPointF pos) const;  // the point the readout shows there, or -1

    // A user's change is made against a snapshot of values and flags, so
    // that a drag can be redone from it at every move and undone by Esc.
    void takeSnapshot();
    void restoreSnapshot();
    void applyMove(int from, int to, double value);
    void applyRemove(int point);
    void applyInsert(int point, double value);
    void reinterpolate(int lo, int hi);
    bool changedSinceSnapshot() const;
    void commitUserChange(int point);

    void startNodeDrag(int point, bool inserted, QPointF pos);
    void dragNodeTo(QPointF pos);
    void cancelDrag();
    void endDrag();
    void removeNodeByUser(int point);
    void stepSelected(int delta);
    void insertAfterSelected();
    void select(int point);
    void setHover(int point);

    // Drawing: the background and grid live in a pixmap, the curve's polygon
    // is built again only when values or size change, and each change asks
    // for a redraw of the columns or rows it touched.
    void markPointsDirty(int lo, int hi);
    void markLevelDirty(int value);
    void markMarkerDirty(int point);
    void rebuildBackground();
    void rebuildPolygon();
    QRect columnsRect(int lo, int hi) const;
    QRect readoutRect() const;
    void paintCurve(QPainter& p);
    void paintWeights(QPainter& p);
    void paintMarkers(QPainter& p);
    void paintLevels(QPainter& p);
    void paintReadout(QPainter& p);

    std::vector<float> values_;
    std::vector<char> flags_;
    int16_t valueSpan_ = 10001;
    int16_t mode_ = 1;
    int32_t color_ = 0x0000FF;
    std::array<int16_t, 3> markers_{};
    std::array<bool, 3> markerSet_{};
    std::array<int16_t, 2> levels_{};
    std::array<bool, 2> levelSet_{};

    int selected_ = -1;  // the selected node's point
    int hover_ = -1;     // the point under the pointer, for the readout
    bool inNodeUpdate_ = false;

    Drag drag_ = Drag::None;
    int dragOrigin_ = -1;  // the dragged node's point at the press
    int dragPoint_ = -1;   // where it is now, -1 while pulled off the plot
    int dragLo_ = 0;       // it stays strictly between these points
    int dragHi_ = 0;
    bool dragInserted_ = false;
    bool dragVertical_ = false;
    int dragLevel_ = -1;
    int16_t dragLevelStart_ = 0;
    std::pair<int, int> dragTouched_{0, 0};  // points the drag has rewritten so far
    std::vector<float> snapValues_;
    std::vector<char> snapFlags_;
    std::vector<char> flagsBeforeUpdate_;  // to redraw only what a node update changed

    QPixmap background_;
    QPolygonF polygon_;
    bool polygonDirty_ = true;
};
