// The one-page skin-dose report sent to the printer or written as PDF, and the user told how it
// went: the same words from every window that prints it.
#pragma once

#include <QString>
#include <functional>

#include "surface.h"

namespace ordevo::map {

using PageDrawing = std::function<void(ui::Surface&)>;

// Through the application's print service (the printer dialog, or a PDF chosen there); the
// user is told in words naming `title` where the page went.
void PrintTitledPage(const QString& title, const PageDrawing& draw);

// The skin-dose report through PrintTitledPage.
void PrintSkinDoseReport(const PageDrawing& draw);

// Into `path`, replaced only when written whole.
void SaveSkinDoseReportPdf(const QString& path, const PageDrawing& draw);

// The name the PDF dialog proposes in `folder`: "皮膚線量報告書_<what>.pdf" (the report's file or
// the study date), or "皮膚線量報告書.pdf" when `what` is empty or no file name.
QString SuggestedReportPdfPath(const QString& folder, const QString& what);

}  // namespace ordevo::map
