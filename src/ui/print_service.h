// Printing one landscape page: on the default printer when there is one, otherwise into a PDF
// file the user chooses. The page is drawn by a function on a Surface in millimetres.
//
//   const PrintReport report = AppPrintService().PrintLandscapePage(
//       QStringLiteral("Ordevo-V3"), [&](Surface& page) { PrintPageFrame(page); ... });
//   if (report.outcome == PrintOutcome::Failed) AppMessages().Warning(...report.error...);
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "recording_surface.h"
#include "surface.h"

class QWidget;

namespace ordevo::ui {

using DrawPage = std::function<void(Surface& page)>;

enum class PrintOutcome {
    Printed,     // sent to the printer
    SavedAsPdf,  // no printer: written to the PDF file in `where`
    Cancelled,   // no printer and the user chose no PDF file; nothing was written
    Failed,      // the printer or the file refused; `error` says why
};

struct PrintReport {
    PrintOutcome outcome = PrintOutcome::Failed;
    QString where;  // the printer's name or the PDF file's path
    QString error;  // for Failed: the reason, in Japanese
    // For a failed PDF: a file of that name was there before and is left as it was.
    bool previousKept = false;
};

class PrintService {
public:
    virtual ~PrintService() = default;
    // Draws one landscape A4 page in millimetres (origin at the top-left corner of the
    // printable area) and ends the document.
    virtual PrintReport PrintLandscapePage(const QString& documentName, const DrawPage& draw) = 0;
};

// Asks where the PDF goes when there is no printer. "" means the user cancelled.
class PdfFileChooser {
public:
    virtual ~PdfFileChooser() = default;
    virtual QString ChoosePdfPath(const QString& documentName) = 0;
};

// The save-file dialog.
class DialogPdfFileChooser : public PdfFileChooser {
public:
    explicit DialogPdfFileChooser(QWidget* parent = nullptr) : parent_(parent) {}
    QString ChoosePdfPath(const QString& documentName) override;

private:
    QWidget* parent_;
};

// A chooser that answers with a fixed path (tests, scripted runs).
class FixedPdfFileChooser : public PdfFileChooser {
public:
    explicit FixedPdfFileChooser(QString path) : path_(std::move(path)) {}
    QString ChoosePdfPath(const QString&) override { return path_; }

private:
    QString path_;
};

enum class PrinterUse {
    DefaultPrinterIfAny,  // the system's default printer; a PDF only when there is none
    PdfOnly,              // always a PDF (machines without a print system, tests)
};

class SystemPrintService : public PrintService {
public:
    // A null chooser means DialogPdfFileChooser.
    explicit SystemPrintService(std::unique_ptr<PdfFileChooser> chooser = nullptr,
                                PrinterUse use = PrinterUse::DefaultPrinterIfAny);
    PrintReport PrintLandscapePage(const QString& documentName, const DrawPage& draw) override;

    // Writes the page as a landscape A4 PDF (5 mm margins, 600 dots per inch), replacing the
    // file only when the whole document was written. ".pdf" is added when missing.
    static PrintReport WritePdf(const QString& path, const QString& documentName,
                                const DrawPage& draw);

private:
    std::unique_ptr<PdfFileChooser> chooser_;
    PrinterUse use_;
};

// For tests of windows that print: each page is drawn on a RecordingSurface in millimetres.
class RecordingPrintService : public PrintService {
public:
    PrintReport PrintLandscapePage(const QString& documentName, const DrawPage& draw) override;
    const std::vector<std::unique_ptr<RecordingSurface>>& Pages() const { return pages_; }
    const RecordingSurface& LastPage() const { return *pages_.back(); }  // requires a page

private:
    std::vector<std::unique_ptr<RecordingSurface>> pages_;
};

// The process-wide service: a SystemPrintService until SetAppPrintService installs another.
// Installing null returns to that default. Returns the service it replaces (may be null).
PrintService& AppPrintService();
std::unique_ptr<PrintService> SetAppPrintService(std::unique_ptr<PrintService> service);

}  // namespace ordevo::ui
