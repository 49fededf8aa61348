// Millimetre drawing on a printer or PDF page.
#include "printer_surface.h"

namespace ordevo::ui {

PrinterSurface::PrinterSurface(QPaintDevice& device, QPointF originMm) : device_(device) {
    const double dotsPerMmX = device.logicalDpiX() / 25.4;
    const double dotsPerMmY = device.logicalDpiY() / 25.4;
    SetUnitScale({-originMm.x(), -originMm.y(), dotsPerMmX, dotsPerMmY});
    painter_.begin(&device);
}

PrinterSurface::~PrinterSurface() {
    if (painter_.isActive()) painter_.end();
}

bool PrinterSurface::EndDocument() { return painter_.isActive() && painter_.end(); }

void PrinterSurface::Paint(const std::function<void(QPainter&)>& paint) {
    if (!painter_.isActive()) return;
    painter_.save();
    paint(painter_);
    painter_.restore();
}

}  // namespace ordevo::ui
