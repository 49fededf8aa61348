// QPainter drawing of the surface primitives: text by its top-left corner, crisp lines, boxes.
#include "painter_surface.h"

#include <QFontMetricsF>

#include <cmath>

namespace ordevo::ui {
namespace {

Qt::PenStyle ToQt(LineStyle style) {
    switch (style) {
    case LineStyle::Solid: return Qt::SolidLine;
    case LineStyle::Dash: return Qt::DashLine;
    case LineStyle::Dot: return Qt::DotLine;
    case LineStyle::DashDot: return Qt::DashDotLine;
    case LineStyle::DashDotDot: return Qt::DashDotDotLine;
    }
    return Qt::SolidLine;
}

QPoint Nearest(QPointF device) {
    return {static_cast<int>(std::lround(device.x())), static_cast<int>(std::lround(device.y()))};
}

}  // namespace

QFont PainterSurface::FontOf(const SurfaceState& state) {
    return MakeFont(state.fontName, state.fontSizePt);
}

QPen PainterSurface::PenOf(const QColor& colour, const SurfaceState& state) {
    // One-pixel lines include their end point; wider lines have round ends, like the
    // geometric pens of the Windows screen and printer.
    return QPen(colour, state.lineWidth, ToQt(state.lineStyle),
                state.lineWidth > 1 ? Qt::RoundCap : Qt::SquareCap, Qt::RoundJoin);
}

void PainterSurface::DoText(QPointF topLeft, const QString& line, const SurfaceState& state) {
    BeforeDrawing();
    const QFont font = FontOf(state);
    const QFontMetricsF metrics(font, &Device());
    const QPointF origin = scale_.ToDevice(topLeft);
    Paint([&](QPainter& painter) {
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(font);
        painter.setPen(state.foreColor);
        painter.drawText(QPointF(origin.x(), origin.y() + metrics.ascent()), line);
    });
}

void PainterSurface::DoLine(QPointF from, QPointF to, const QColor& colour,
                            const SurfaceState& state) {
    BeforeDrawing();
    const QPoint a = Nearest(scale_.ToDevice(from));
    const QPoint b = Nearest(scale_.ToDevice(to));
    Paint([&](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(PenOf(colour, state));
        painter.drawLine(a, b);
    });
}

void PainterSurface::DoBox(QRectF corners, const QColor& colour, bool filled,
                           const SurfaceState& state) {
    BeforeDrawing();
    // Both corners are included, as pixels: a box from x 10 to x 20 covers 11 columns.
    const QRect box = QRect(Nearest(scale_.ToDevice(corners.topLeft())),
                            Nearest(scale_.ToDevice(corners.bottomRight())))
                          .normalized();
    Paint([&](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        if (filled) {
            painter.fillRect(box, colour);
        } else {
            painter.setPen(PenOf(colour, state));
            painter.setBrush(Qt::NoBrush);
            painter.drawLine(box.topLeft(), box.topRight());
            painter.drawLine(box.topRight(), box.bottomRight());
            painter.drawLine(box.bottomRight(), box.bottomLeft());
            painter.drawLine(box.bottomLeft(), box.topLeft());
        }
    });
}

QSizeF PainterSurface::MeasureLine(const QString& line, const SurfaceState& state) const {
    const QFontMetricsF metrics(FontOf(state), &Device());
    return {metrics.horizontalAdvance(line) / scale_.pixelsPerUnitX,
            metrics.height() / scale_.pixelsPerUnitY};
}

}  // namespace ordevo::ui
