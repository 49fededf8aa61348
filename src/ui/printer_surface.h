// The printed page as a Surface in millimetres: x to the right, y downwards, from the top-left
// corner of the device's paint area (the printer's printable area, the PDF page's margins).
#pragma once

#include <QPaintDevice>
#include <QPainter>

#include "painter_surface.h"

namespace ordevo::ui {

class PrinterSurface : public PainterSurface {
public:
    // Starts painting on the device (a QPrinter or QPdfWriter already set to landscape, or any
    // paint device; its resolution converts millimetres to dots). originMm moves the origin
    // of the millimetre coordinates from the paint area's top-left corner.
    explicit PrinterSurface(QPaintDevice& device, QPointF originMm = QPointF(0, 0));
    ~PrinterSurface() override;

    bool IsActive() const { return painter_.isActive(); }  // false: the device refused to start
    // Ends the document (sends the page to the printer, closes the PDF). True when it did.
    bool EndDocument();

protected:
    void DoClear() override {}  // paper cannot be erased; Clear() only resets the position
    const QPaintDevice& Device() const override { return device_; }
    void Paint(const std::function<void(QPainter&)>& paint) override;

private:
    QPaintDevice& device_;
    QPainter painter_;
};

}  // namespace ordevo::ui
