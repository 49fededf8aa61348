// A Surface that paints with QPainter on a paint device, mapping user units through a UnitScale.
// Base of PictureBox (screen) and PrinterSurface (paper); not used on its own.
#pragma once

#include <QFont>
#include <QPaintDevice>
#include <QPainter>

#include <functional>

#include "surface.h"

namespace ordevo::ui {

class PainterSurface : public Surface {
public:
    const UnitScale& Scale() const { return scale_; }

protected:
    PainterSurface() = default;

    void SetUnitScale(const UnitScale& scale) { scale_ = scale; }

    // The device whose resolution sizes the fonts (the picture's image, the printer).
    virtual const QPaintDevice& Device() const = 0;
    // Runs `paint` with a painter ready on the device, then lets the owner show the result.
    virtual void Paint(const std::function<void(QPainter&)>& paint) = 0;
    // Called before each primitive maps its coordinates (a picture box that was resized while
    // hidden adjusts its image and scale here).
    virtual void BeforeDrawing() {}

    void DoText(QPointF topLeft, const QString& line, const SurfaceState& state) override;
    void DoLine(QPointF from, QPointF to, const QColor& colour, const SurfaceState& state) override;
    void DoBox(QRectF corners, const QColor& colour, bool filled,
               const SurfaceState& state) override;
    QSizeF MeasureLine(const QString& line, const SurfaceState& state) const override;

    static QFont FontOf(const SurfaceState& state);
    static QPen PenOf(const QColor& colour, const SurfaceState& state);

private:
    UnitScale scale_;
};

}  // namespace ordevo::ui
