// The one-page skin-dose report sent to the printer or written as PDF, and the user told how it
// went: the same words from every window that prints it.
#pragma once

#include <QString>
#include <functional>

#include "surface.h"

namespace ordevo::map {

using PageDrawing = std::function<void(ui::Surface&)>;

// Through the application's print service (the printer dialog, or a PDF chosen there).
void PrintSkinDoseReport(const PageDrawing& draw);

// Into `path`, replaced only when written whole.
void SaveSkinDoseReportPdf(const QString& path, const PageDrawing& draw);

}  // namespace ordevo::map
