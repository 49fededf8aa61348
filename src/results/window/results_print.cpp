// The page layout of the printed results table, in millimetres on a landscape page.
#include "results_print.h"

#include "messages.h"
#include "number_format.h"
#include "results_addition.h"
#include "uncertainty_text.h"

namespace ordevo {
namespace {

constexpr double kPageFontPt = 9;
constexpr double kSmallestFontPt = 6;
constexpr double kCellMarginMm = 1;
constexpr double kTitleFontPt = 12;
constexpr int kMainLineDots = 5;  // frame, heading rule and main column rules
constexpr int kThinLineDots = 1;

constexpr double kLeft = 0, kRight = 285, kTop = 20, kBottom = 190;
constexpr double kHeadingRuleY = 40;
constexpr double kGroupRuleY = 30;

constexpr double kMainColumnRules[] = {134, 179, 255};

struct ColumnRule {
    double x;
    double fromY;  // 30 under a group heading
};
constexpr ColumnRule kOtherColumnRules[] = {
    {22, kTop},         {38, kTop},  {51, kGroupRuleY}, {65, kGroupRuleY},
    {78, kGroupRuleY},  {96, kTop},  {112, kTop},       {156, kGroupRuleY},
    {197, kGroupRuleY}, {214, kTop}, {235, kTop},
};

struct PlacedText {
    double x, y;
    const char* text;  // UTF-8
};

constexpr PlacedText kHeadings[] = {
    {5, 30, "対象部位"},
    {25, 28, "管電圧"},
    {30, 33, "kV"},
    {62, 24, "総濾過"},
    {42, 32, "固有"},
    {41, 35, "mmAl"},
    {54, 32, "アルミ"},
    {56, 35, "mm"},
    {71, 32, "銅"},
    {70, 35, "mm"},
    {83, 32, "材質"},
    {85, 35, "mm"},
    {100, 28, "FSD"},
    {100, 33, "cm"},
    {118, 28, "照射野"},
    {115, 33, "at 基準点"},
    {142, 24, "装置に表示された"},
    {142, 31, "Ka,r"},
    {142, 35, "mGy"},
    {162, 31, "P_KA"},
    {162, 35, "Gy･cm2"},
    {188, 24, "補正後の"},
    {184, 31, "Ka,r"},
    {185, 35, "mGy"},
    {200, 31, "P_KA"},
    {200, 35, "Gy･cm2"},
    {216, 25, "一次線の"},
    {216, 30, "皮膚線量／"},
    {215, 35, "空気カーマ比"},
    {238, 30, "前方･後方"},
    {238, 35, "散乱係数"},
    {262, 25, "入射表面"},
    {260, 30, "皮膚吸収線量"},
    {267, 35, "mGy"},
};

// The skin dose on paper keeps two integer digits, unlike the screen's "###0.0".
constexpr std::string_view kPrintedSkinDosePicture = "###00.0";

void PrintAt(ui::Surface& page, double x, double y, const QString& text) {
    page.SetCurrentPosition(x, y);
    page.Print(text);
}

const ResultsCell& Cell(const ResultsRow& row, int column) { return row[column]; }

QString Text(const ResultsRow& row, int column) {
    return QString::fromStdString(CellText(Cell(row, column)));
}

// A stored formatted text formatted again with its own picture stays as it is; a number (the
// reset 0) gets the picture.
QString Reformatted(const ResultsRow& row, int column, std::string_view picture) {
    return QString::fromStdString(FormatNumber(CellNumber(Cell(row, column)), picture));
}

}  // namespace

void PrintPageFrame(ui::Surface& page) {
    page.SetFont(ui::Font::MsMincho, kPageFontPt);
    page.SetLineStyle(ui::LineStyle::Solid);
    page.SetLineWidth(kMainLineDots);
    page.Line(kLeft, kTop, kRight, kTop);
    page.LineTo(kRight, kBottom);
    page.LineTo(kLeft, kBottom);
    page.LineTo(kLeft, kTop);
    page.Line(kLeft, kHeadingRuleY, kRight, kHeadingRuleY);
    for (const double x : kMainColumnRules) page.Line(x, kTop, x, kBottom);
    page.SetLineWidth(kThinLineDots);
    for (const ColumnRule& rule : kOtherColumnRules) page.Line(rule.x, rule.fromY, rule.x, kBottom);
    page.Line(38, kGroupRuleY, 96, kGroupRuleY);
    page.Line(134, kGroupRuleY, 214, kGroupRuleY);
    for (int y = 50; y <= 180; y += 10) page.Line(kLeft, y, kRight, y);
    for (const PlacedText& heading : kHeadings) {
        PrintAt(page, heading.x, heading.y, QString::fromUtf8(heading.text));
    }
}

void PrintResultsRow(ui::Surface& page, const ResultsRow& row, int i,
                     std::optional<double> relativeUncertainty, const QString& equipmentFileName) {
    namespace C = ResultsColumn;
    const double y = 10.0 * i + 33;
    // Texts of free length shrink (then are cut) to stay inside their cells.
    constexpr double bodyPartWidth = 22 - 3 - kCellMarginMm;
    if (equipmentFileName.isEmpty()) {
        ui::PrintFitted(page, 3, y, Text(row, C::BodyPart), bodyPartWidth, kSmallestFontPt);
    } else {
        ui::PrintFitted(page, 3, y - 2, Text(row, C::BodyPart), bodyPartWidth, kSmallestFontPt);
        ui::PrintFitted(page, 3, y + 2, equipmentFileName, bodyPartWidth, kSmallestFontPt);
    }
    ui::PrintFitted(page, 24, y, Text(row, C::TubeVoltageText), 38 - 24 - kCellMarginMm,
                    kSmallestFontPt);
    PrintAt(page, 42, y, Reformatted(row, C::InherentFilterMm, kFilterPicture));
    PrintAt(page, 55, y, Reformatted(row, C::AluminiumFilterMm, kFilterPicture));
    PrintAt(page, 69, y, Reformatted(row, C::CopperFilterMm, kFilterPicture));
    if (HasOtherFilter(row)) {
        ui::PrintFitted(page, 80, y - 2, Text(row, C::OtherFilterName), 96 - 80 - kCellMarginMm,
                        kSmallestFontPt);
        PrintAt(page, 83, y + 2, Reformatted(row, C::OtherFilterMm, kFilterPicture));
    } else {
        PrintAt(page, 84, y, QStringLiteral("―"));
    }
    PrintAt(page, 100, y, Text(row, C::FocusSkinDistance));
    ui::PrintFitted(page, 114, y, Text(row, C::FieldSizeText), 134 - 114 - kCellMarginMm,
                    kSmallestFontPt);
    PrintAt(page, 140, y, Reformatted(row, C::ReferenceAirKerma, kDosePicture));
    PrintAt(page, 162, y, Reformatted(row, C::KermaAreaProduct, kDosePicture));
    PrintAt(page, 182, y, Reformatted(row, C::CorrectedReferenceAirKerma, kDosePicture));
    PrintAt(page, 200, y, Reformatted(row, C::CorrectedKermaAreaProduct, kDosePicture));
    PrintAt(page, 219, y, Reformatted(row, C::TissueToAirDoseRatio, kRatioPicture));
    PrintAt(page, 240, y, Reformatted(row, C::ScatterFactor, kRatioPicture));
    const QString dose = Reformatted(row, C::SkinDose, kPrintedSkinDosePicture);
    if (relativeUncertainty) {
        PrintAt(page, 265, y - 2, dose);
        PrintAt(page, 268, y + 2, PrintedUncertaintyText(*relativeUncertainty));
    } else {
        PrintAt(page, 265, y, dose);
    }
}

void PrintResultsTitle(ui::Surface& page, const QString& userName) {
    page.SetFontSize(kTitleFontPt);
    PrintAt(page, 50, 12, QStringLiteral("IVR 時の入射表面皮膚組織吸収線量"));
    // The name shrinks, and at the smallest size is cut, so the line ends inside the page.
    constexpr double room = kRight - 200;
    const auto line = [&userName](const QString& name) {
        return (name == userName ? name : name + QStringLiteral("…")) +
               QStringLiteral("  with  Ordevo-V3");
    };
    double sizePt = kTitleFontPt;
    while (page.TextWidth(line(userName)) > room && sizePt - 0.5 >= kSmallestFontPt) {
        sizePt -= 0.5;
        page.SetFontSize(sizePt);
    }
    QString name = userName;
    while (!name.isEmpty() && page.TextWidth(line(name)) > room) name.chop(1);
    PrintAt(page, 200, 12, line(name));
    page.SetFontSize(kPageFontPt);
}

void PrintPageNotes(ui::Surface& page, const ResultsTable& table, const PrintNotes& notes) {
    constexpr double y = kBottom + 2;
    if (notes.printedAt.isValid()) {
        PrintAt(page, kLeft, y,
                QStringLiteral("印刷日時 ") +
                    notes.printedAt.toString(QStringLiteral("yyyy年MM月dd日 HH:mm")));
    }
    ui::PrintFitted(page, 60, y, RowSourcesText(notes), 230 - 60, kSmallestFontPt);
    PrintAt(page, 240, y, QStringLiteral("合 計"));
    PrintAt(page, 265, y,
            QString::fromStdString(FormatNumber(ResultsTotal(table), kPrintedSkinDosePicture)));
}

QString RowSourcesText(const PrintNotes& notes) {
    QStringList parts;
    if (!notes.equipmentFileNames.isEmpty())
        parts << QStringLiteral("基本データ ") +
                     notes.equipmentFileNames.join(QStringLiteral("、"));
    if (!notes.loadedFrom.isEmpty()) {
        parts << QStringLiteral("読込 %1（%2 行目）")
                     .arg(notes.loadedFrom, notes.loadedRows > 1
                                                ? QStringLiteral("1–%1").arg(notes.loadedRows)
                                                : QStringLiteral("1"));
    }
    for (const std::optional<double>& u : notes.rowUncertainties) {
        if (!u) continue;
        parts << QString::fromUtf8(kPrintedUncertaintyKey);
        break;
    }
    return parts.isEmpty() ? QStringLiteral("基本データ （未選択）")
                           : parts.join(QStringLiteral("　"));
}

void DrawResultsPage(ui::Surface& page, const ResultsTable& table, const QString& userName,
                     const PrintNotes& notes) {
    PrintPageFrame(page);
    for (int i = 1; i < table.NextRowIndex && i <= kResultsRowCount; ++i) {
        const std::size_t at = static_cast<std::size_t>(i);
        PrintResultsRow(
            page, table.Rows[i], i,
            at < notes.rowUncertainties.size() ? notes.rowUncertainties[at] : std::nullopt,
            at < notes.rowEquipmentFileNames.size() ? notes.rowEquipmentFileNames[at] : QString());
    }
    PrintResultsTitle(page, userName);
    PrintPageNotes(page, table, notes);
}

void PrintResultsTable(const ResultsTable& table, const QString& userName,
                       ui::PrintService& printer, PrintNotes notes) {
    ui::Messages& messages = ui::AppMessages();
    if (messages.AskYesNo(QStringLiteral("　プリンターは準備できていますか？　"),
                          ui::MessageIcon::None) != ui::Answer::Yes) {
        return;
    }
    const ui::PrintReport report =
        printer.PrintLandscapePage(QStringLiteral("Ordevo-V3"), [&](ui::Surface& page) {
            notes.printedAt = QDateTime::currentDateTime();
            DrawResultsPage(page, table, userName, notes);
        });
    switch (report.outcome) {
    case ui::PrintOutcome::Printed:
        if (!report.where.isEmpty()) {
            messages.Notice(
                QStringLiteral("　計算結果表をプリンター「%1」に送りました　").arg(report.where));
        }
        break;
    case ui::PrintOutcome::SavedAsPdf:
        messages.Notice(
            QStringLiteral("　プリンターがないため、計算結果表を PDF ファイルに保存しました　\n%1")
                .arg(report.where));
        break;
    case ui::PrintOutcome::Cancelled: break;
    case ui::PrintOutcome::Failed:
        messages.Error(
            QStringLiteral("　印刷できませんでした　\n%1%2")
                .arg(report.where.isEmpty() ? QString() : report.where + QStringLiteral(": "),
                     report.error));
        break;
    }
}

}  // namespace ordevo
