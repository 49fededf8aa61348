#include "report_output.h"

#include <QDir>

#include "file_name_check.h"
#include "messages.h"
#include "print_service.h"

namespace ordevo::map {

namespace {

const QString kTitle = QStringLiteral("皮膚線量報告書");

}  // namespace

void PrintTitledPage(const QString& title, const PageDrawing& draw) {
    const ui::PrintReport report = ui::AppPrintService().PrintLandscapePage(title, draw);
    switch (report.outcome) {
    case ui::PrintOutcome::Printed:
        ui::AppMessages().Notice(
            QStringLiteral(" %1をプリンター「%2」に送りました ").arg(title, report.where));
        break;
    case ui::PrintOutcome::SavedAsPdf:
        ui::AppMessages().Notice(
            QStringLiteral(" %1を PDF ファイルに保存しました \n%2").arg(title, report.where));
        break;
    case ui::PrintOutcome::Cancelled: break;
    case ui::PrintOutcome::Failed:
        ui::AppMessages().Error(
            QStringLiteral(" 印刷できませんでした \n%1: %2").arg(report.where, report.error));
        break;
    }
}

void PrintSkinDoseReport(const PageDrawing& draw) { PrintTitledPage(kTitle, draw); }

void SaveSkinDoseReportPdf(const QString& path, const PageDrawing& draw) {
    const ui::PrintReport report = ui::SystemPrintService::WritePdf(path, kTitle, draw);
    if (report.outcome == ui::PrintOutcome::Failed)
        ui::AppMessages().Error(
            QStringLiteral(" PDF ファイルを保存できませんでした %1\n%2: %3")
                .arg(report.previousKept ? QStringLiteral("(前のファイルはそのまま残っています) ")
                                         : QString(),
                     report.where, report.error));
    else
        ui::AppMessages().Notice(
            QStringLiteral(" 皮膚線量報告書を保存しました \n%1").arg(report.where));
}

QString SuggestedReportPdfPath(const QString& folder, const QString& what) {
    QString name = kTitle;
    if (!what.isEmpty() && !FileNameProblem(what)) name += QStringLiteral("_") + what;
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

}  // namespace ordevo::map
