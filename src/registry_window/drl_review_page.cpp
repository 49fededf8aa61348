#include "drl_review_page.h"

#include <QStringList>
#include <algorithm>

#include "number_format.h"
#include "print_service.h"

namespace ordevo {

namespace {

using registry::ReviewRow;

const QColor kDrlColour(200, 0, 0);
const QColor kBoxColour(210, 225, 245);

QString Num(const std::optional<double>& value, const char* picture) {
    return value ? QString::fromStdString(FormatNumber(*value, picture)) : QStringLiteral("―");
}
QString Verdict(const std::optional<bool>& above) {
    if (!above) return QStringLiteral("DRL なし");
    return *above ? QStringLiteral("超過") : QStringLiteral("以下");
}

// Columns of the table: left edge (mm) and heading.
struct Column {
    double x;
    const char* heading;
};
constexpr Column kColumns[] = {
    {0, "分類"},       {62, "部屋"},      {100, "件数"}, {114, "Ka,r 中央値"},
    {136, "Ka,r 75%"}, {156, "Ka,r DRL"}, {176, "判定"}, {194, "P_KA 中央値"},
    {218, "P_KA 75%"}, {240, "P_KA DRL"}, {262, "判定"},
};
constexpr double kRowMm = 5;

// One horizontal box plot: whiskers to the smallest and largest procedure, the box from the 25th
// to the 75th percentile, the median as a thick line; the level as a red dashed line. The scale
// runs from 0 to the larger of the largest value and the level.
void DrawBox(ui::Surface& page, double x, double y, double width, const std::vector<double>& sorted,
             const std::optional<double>& level, const QString& label, const char* picture) {
    page.SetFontSize(6.5);
    page.SetCurrentPosition(x, y);
    page.Print(label);
    const double left = x + 18, right = x + width - 2, mid = y + 2.2;
    if (sorted.empty()) return;
    const double top = std::max(sorted.back(), level.value_or(0.0));
    const auto at = [&](double v) { return top > 0 ? left + (right - left) * v / top : left; };
    const double q1 = *registry::Percentile(sorted, 0.25), q3 = *registry::Percentile(sorted, 0.75);
    const double median = *registry::Percentile(sorted, 0.5);
    page.Line(at(sorted.front()), mid, at(q1), mid);
    page.Line(at(q3), mid, at(sorted.back()), mid);
    page.Line(at(sorted.front()), mid - 1, at(sorted.front()), mid + 1);
    page.Line(at(sorted.back()), mid - 1, at(sorted.back()), mid + 1);
    page.FilledBox(at(q1), mid - 1.5, at(q3), mid + 1.5, kBoxColour);
    page.Box(at(q1), mid - 1.5, at(q3), mid + 1.5);
    page.SetLineWidth(3);
    page.Line(at(median), mid - 1.5, at(median), mid + 1.5);
    page.SetLineWidth(1);
    if (level) {
        page.SetLineStyle(ui::LineStyle::Dash);
        page.Line(at(*level), mid - 2.5, at(*level), mid + 2.5, kDrlColour);
        page.SetLineStyle(ui::LineStyle::Solid);
    }
    page.SetFontSize(5.5);
    page.SetCurrentPosition(left, mid + 2.2);
    page.Print(QStringLiteral("0"));
    const QString topText = QString::fromStdString(FormatNumber(top, picture));
    page.SetCurrentPosition(right - page.TextWidth(topText), mid + 2.2);
    page.Print(topText);
}

}  // namespace

QString ReviewPeriodText(const QString& from, const QString& to) {
    if (from.isEmpty() && to.isEmpty()) return QStringLiteral("全期間");
    if (to.isEmpty()) return QStringLiteral("%1 以降").arg(from);
    if (from.isEmpty()) return QStringLiteral("%1 まで").arg(to);
    return QStringLiteral("%1 〜 %2").arg(from, to);
}

void DrawDrlReviewPage(ui::Surface& page, const DrlReviewPageContent& content) {
    const registry::DrlReview& review = content.Review;
    page.SetForeColor(Qt::black);
    page.SetFont(ui::Font::Meiryo, 14);
    page.SetCurrentPosition(0, 0);
    page.Print(QStringLiteral("IVR 患者線量と診断参考レベル (DRL) の比較"));
    page.SetFontSize(8.5);
    QStringList facilities, rooms;
    for (const QString& f : review.Facilities) facilities << f;
    for (const QString& r : review.Rooms) rooms << r;
    const double width = kReviewPageWidthMm;
    ui::PrintFitted(page, 0, 9,
                    QStringLiteral("期間: %1    施設: %2    作成日: %3    DRL: %4")
                        .arg(ReviewPeriodText(content.From, content.To),
                             facilities.isEmpty() ? QStringLiteral("（記載なし）")
                                                  : facilities.join(QStringLiteral("、")),
                             content.Generated, content.DrlFile),
                    width, 6);
    ui::PrintFitted(
        page, 0, 14,
        QStringLiteral("部屋: %1")
            .arg(rooms.isEmpty() ? QStringLiteral("（なし）") : rooms.join(QStringLiteral("、"))),
        width, 6);

    // The table.
    double y = 21;
    page.SetFontSize(7.5);
    page.FilledBox(0, y, width, y + kRowMm, QColor(230, 230, 230));
    for (const Column& c : kColumns) {
        page.SetCurrentPosition(c.x + 1, y + 0.8);
        page.Print(QString::fromUtf8(c.heading));
    }
    y += kRowMm;
    constexpr int kMostTableRows = 14;  // leaves the lower half for the box plots
    int shown = 0;
    for (const ReviewRow& row : review.Rows) {
        if (shown == kMostTableRows) break;
        const QString cells[] = {row.Category,
                                 row.Room,
                                 QString::number(row.Procedures) + (row.TooFew ? "*" : ""),
                                 Num(row.MedianKarMGy, "0"),
                                 Num(row.P75KarMGy, "0"),
                                 Num(row.DrlKarMGy, "0"),
                                 Verdict(row.KarAboveDrl),
                                 Num(row.MedianPkaGyCm2, "0.0"),
                                 Num(row.P75PkaGyCm2, "0.0"),
                                 Num(row.DrlPkaGyCm2, "0.0"),
                                 Verdict(row.PkaAboveDrl)};
        for (std::size_t i = 0; i < std::size(kColumns); ++i) {
            const double right = i + 1 < std::size(kColumns) ? kColumns[i + 1].x : width;
            const bool above = (i == 6 && row.KarAboveDrl.value_or(false)) ||
                               (i == 10 && row.PkaAboveDrl.value_or(false));
            page.SetForeColor(above ? kDrlColour : QColor(Qt::black));
            ui::PrintFitted(page, kColumns[i].x + 1, y + 0.8, cells[i], right - kColumns[i].x - 2,
                            5);
        }
        page.SetForeColor(Qt::black);
        page.Line(0, y + kRowMm, width, y + kRowMm, QColor(180, 180, 180));
        y += kRowMm;
        ++shown;
    }
    page.SetFontSize(6.5);
    QString notes = QStringLiteral(
                        "Ka,r: 患者照射基準点の空気カーマ (mGy)、P_KA: 面積空気カーマ積算値 "
                        "(Gy・cm²)、いずれも手技ごとの全平面の合計。中央値と 75% は最近接順位間の"
                        "線形補間 (h = (n−1)p)。判定は中央値と DRL の比較。* は %1 件未満"
                        "（中央値の意味が乏しい）。分類なし %2 件。")
                        .arg(registry::kMinimumProceduresForMedian)
                        .arg(review.Uncategorised);
    if (static_cast<int>(review.Rows.size()) > shown)
        notes +=
            QStringLiteral(" ほか %1 行は表に入りきりません。").arg(review.Rows.size() - shown);
    ui::PrintFitted(page, 0, y + 1, notes, width, 5);
    y += 7;

    // Box plots, three across, each row of the table once, as many as the page holds.
    constexpr double kPanelWidth = 93, kPanelHeight = 17;
    int drawn = 0;
    for (const ReviewRow& row : review.Rows) {
        const double px = (drawn % 3) * (kPanelWidth + 4);
        const double py = y + (drawn / 3) * (kPanelHeight + 2);
        if (py + kPanelHeight > kReviewPageHeightMm) break;
        page.Box(px, py, px + kPanelWidth, py + kPanelHeight, QColor(160, 160, 160));
        page.SetFontSize(7);
        ui::PrintFitted(
            page, px + 1.5, py + 0.8,
            QStringLiteral("%1 / %2 (%3 件)").arg(row.Category, row.Room).arg(row.Procedures),
            kPanelWidth - 3, 5);
        DrawBox(page, px + 1.5, py + 5.5, kPanelWidth - 3, row.KarMGy, row.DrlKarMGy,
                QStringLiteral("Ka,r mGy"), "0");
        DrawBox(page, px + 1.5, py + 11, kPanelWidth - 3, row.PkaGyCm2, row.DrlPkaGyCm2,
                QStringLiteral("P_KA Gy・cm²"), "0");
        ++drawn;
    }
}

QString SaveDrlReviewPdf(const QString& path, const DrlReviewPageContent& content) {
    const ui::PrintReport report = ui::SystemPrintService::WritePdf(
        path, QStringLiteral("診断参考レベルとの比較"),
        [&](ui::Surface& page) { DrawDrlReviewPage(page, content); });
    if (report.outcome == ui::PrintOutcome::Failed)
        return QStringLiteral("%1: %2").arg(report.where, report.error);
    return {};
}

}  // namespace ordevo
