// Records drawing primitives for tests.
#include "recording_surface.h"

#include <QFontMetricsF>

#include <cmath>

#include "twips.h"

namespace ordevo::ui {

RecordingSurface::RecordingSurface(double twipsPerUnitX, double twipsPerUnitY)
    : pixelsPerUnitX_(twipsPerUnitX / kTwipsPerPixel),
      pixelsPerUnitY_(twipsPerUnitY / kTwipsPerPixel),
      metricsDevice_(1, 1, QImage::Format_RGB32) {
    metricsDevice_.setDotsPerMeterX(3780);  // 96 dpi
    metricsDevice_.setDotsPerMeterY(3780);
}

RecordingSurface RecordingSurface::Millimetres() {
    return RecordingSurface(kTwipsPerMillimetre, kTwipsPerMillimetre);
}

DrawOp RecordingSurface::Op(DrawOp::Type type, const SurfaceState& state) const {
    DrawOp op;
    op.type = type;
    op.colour = state.foreColor;
    op.fontName = state.fontName;
    op.fontSizePt = state.fontSizePt;
    op.lineWidth = state.lineWidth;
    op.lineStyle = state.lineStyle;
    return op;
}

void RecordingSurface::DoClear() { ops_.push_back(Op(DrawOp::Type::Clear, State())); }

void RecordingSurface::DoText(QPointF topLeft, const QString& line, const SurfaceState& state) {
    DrawOp op = Op(DrawOp::Type::Text, state);
    op.text = line;
    op.x1 = topLeft.x();
    op.y1 = topLeft.y();
    ops_.push_back(op);
}

void RecordingSurface::DoLine(QPointF from, QPointF to, const QColor& colour,
                              const SurfaceState& state) {
    DrawOp op = Op(DrawOp::Type::Line, state);
    op.x1 = from.x();
    op.y1 = from.y();
    op.x2 = to.x();
    op.y2 = to.y();
    op.colour = colour;
    ops_.push_back(op);
}

void RecordingSurface::DoBox(QRectF corners, const QColor& colour, bool filled,
                             const SurfaceState& state) {
    DrawOp op = Op(filled ? DrawOp::Type::FilledBox : DrawOp::Type::Box, state);
    op.x1 = corners.left();
    op.y1 = corners.top();
    op.x2 = corners.left() + corners.width();
    op.y2 = corners.top() + corners.height();
    op.colour = colour;
    ops_.push_back(op);
}

QSizeF RecordingSurface::MeasureLine(const QString& line, const SurfaceState& state) const {
    const QFontMetricsF metrics(MakeFont(state.fontName, state.fontSizePt), &metricsDevice_);
    return {metrics.horizontalAdvance(line) / pixelsPerUnitX_, metrics.height() / pixelsPerUnitY_};
}

std::vector<DrawOp> RecordingSurface::SinceLastClear() const {
    auto start = ops_.begin();
    for (auto it = ops_.begin(); it != ops_.end(); ++it) {
        if (it->type == DrawOp::Type::Clear) start = it + 1;
    }
    return {start, ops_.end()};
}

std::vector<DrawOp> RecordingSurface::Texts() const {
    std::vector<DrawOp> texts;
    for (const DrawOp& op : SinceLastClear()) {
        if (op.type == DrawOp::Type::Text) texts.push_back(op);
    }
    return texts;
}

std::vector<DrawOp> RecordingSurface::Lines() const {
    std::vector<DrawOp> lines;
    for (const DrawOp& op : SinceLastClear()) {
        if (op.type == DrawOp::Type::Line) lines.push_back(op);
    }
    return lines;
}

std::optional<DrawOp> RecordingSurface::FindText(const QString& text) const {
    std::optional<DrawOp> found;
    for (const DrawOp& op : Texts()) {
        if (op.text == text) found = op;
    }
    return found;
}

bool RecordingSurface::HasTextAt(const QString& text, double x, double y, double tolerance) const {
    for (const QString& printed : TextsAt(x, y, tolerance)) {
        if (printed == text) return true;
    }
    return false;
}

std::vector<QString> RecordingSurface::TextsAt(double x, double y, double tolerance) const {
    std::vector<QString> texts;
    for (const DrawOp& op : Texts()) {
        if (std::abs(op.x1 - x) <= tolerance && std::abs(op.y1 - y) <= tolerance) {
            texts.push_back(op.text);
        }
    }
    return texts;
}

int RecordingSurface::ClearCount() const {
    int count = 0;
    for (const DrawOp& op : ops_) {
        if (op.type == DrawOp::Type::Clear) ++count;
    }
    return count;
}

}  // namespace ordevo::ui
