// Default printer or PDF output of one landscape page.
#include "print_service.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include "cp932_text.h"
#include "printer_surface.h"
#include "twips.h"

namespace ordevo::ui {
namespace {

constexpr int kPdfDotsPerInch = 600;  // "device dots" of line widths match a common printer
constexpr double kPdfMarginMm = 5;    // the layout's 285 × 190 mm fit inside A4 landscape

std::unique_ptr<PrintService>& Installed() {
    static std::unique_ptr<PrintService> installed;
    return installed;
}

}  // namespace

QString DialogPdfFileChooser::ChoosePdfPath(const QString& documentName) {
    return QFileDialog::getSaveFileName(parent_, QStringLiteral("PDF ファイルに保存"),
                                        documentName + QStringLiteral(".pdf"),
                                        QStringLiteral("PDF (*.pdf)"));
}

SystemPrintService::SystemPrintService(std::unique_ptr<PdfFileChooser> chooser, PrinterUse use)
    : chooser_(chooser ? std::move(chooser) : std::make_unique<DialogPdfFileChooser>()),
      use_(use) {}

PrintReport SystemPrintService::PrintLandscapePage(const QString& documentName,
                                                   const DrawPage& draw) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (use_ == PrinterUse::DefaultPrinterIfAny && !defaultPrinter.isNull()) {
        QPrinter printer(defaultPrinter, QPrinter::HighResolution);
        printer.setDocName(documentName);
        printer.setPageOrientation(QPageLayout::Landscape);
        PrinterSurface page(printer);
        if (!page.IsActive()) {
            return {PrintOutcome::Failed, defaultPrinter.printerName(),
                    QStringLiteral("プリンターが印刷を受け付けませんでした")};
        }
        draw(page);
        if (!page.EndDocument()) {
            return {PrintOutcome::Failed, defaultPrinter.printerName(),
                    QStringLiteral("プリンターが印刷を終えられませんでした")};
        }
        return {PrintOutcome::Printed, defaultPrinter.printerName(), {}};
    }
    const QString path = chooser_->ChoosePdfPath(documentName);
    if (path.isEmpty()) return {PrintOutcome::Cancelled, {}, {}};
    return WritePdf(path, documentName, draw);
}

PrintReport SystemPrintService::WritePdf(const QString& path, const QString& documentName,
                                         const DrawPage& draw) {
    QString target = path;
    if (!target.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        target += QStringLiteral(".pdf");
    }
    // A failure leaves an earlier file of that name whole; the message says so only then.
    const bool previous = QFileInfo(target).isFile();
    const auto failed = [&](const QString& why) {
        return PrintReport{PrintOutcome::Failed, target, why, previous};
    };
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) return failed(WriteFailureReason(file.error()));
    {
        QPdfWriter writer(&file);
        writer.setTitle(documentName);
        writer.setCreator(QStringLiteral("Ordevo-V3"));
        writer.setResolution(kPdfDotsPerInch);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                        QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm),
                        QPageLayout::Millimeter));
        PrinterSurface page(writer);
        if (!page.IsActive()) {
            file.cancelWriting();
            return failed(QStringLiteral("PDF ファイルを作り始められませんでした"));
        }
        draw(page);
        if (!page.EndDocument()) {
            file.cancelWriting();
            return failed(QStringLiteral("PDF ファイルを書き終えられませんでした"));
        }
    }
    // The last part of the PDF is still in Qt's buffer: a full disk refuses it only here, and
    // commit() would not report that (Qt 6.4), so the flush is checked before the old file goes.
    if (!file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return failed(why);
    }
    if (!file.commit()) return failed(WriteFailureReason(file.error()));
    return {PrintOutcome::SavedAsPdf, target, {}};
}

PrintReport RecordingPrintService::PrintLandscapePage(const QString& documentName,
                                                      const DrawPage& draw) {
    auto page = std::make_unique<RecordingSurface>(kTwipsPerMillimetre, kTwipsPerMillimetre);
    draw(*page);
    pages_.push_back(std::move(page));
    (void)documentName;
    return {PrintOutcome::Printed, {}, {}};
}

PrintService& AppPrintService() {
    std::unique_ptr<PrintService>& installed = Installed();
    if (!installed) installed = std::make_unique<SystemPrintService>();
    return *installed;
}

std::unique_ptr<PrintService> SetAppPrintService(std::unique_ptr<PrintService> service) {
    std::unique_ptr<PrintService> previous = std::move(Installed());
    Installed() = std::move(service);
    return previous;
}

}  // namespace ordevo::ui
