#include "skin_dose_report_page.h"

#include <algorithm>

#include "follow_up_judgement.h"
#include "map_drawing.h"
#include "number_format.h"
#include "print_service.h"
#include "report_table.h"

namespace ordevo::map {
namespace {

// The page's grid, mm: the map at the left, the findings in a column at the right, the totals and
// the events under the map.
constexpr double kPageWidth = 287;  // 200 mm high
constexpr double kColumnLeft = 186, kColumnWidth = kPageWidth - kColumnLeft;
constexpr QRectF kMapArea(0, 26, 180, 118);
constexpr double kBelowMapTop = 152;
constexpr int kUnmappedShown = 4;

QString Num(double value, const char* picture) {
    return QString::fromStdString(FormatNumber(value, picture));
}

// Prints `text` at (x, y) and returns the y under it.
double Put(ui::Surface& s, double x, double y, const QString& text) {
    s.SetCurrentPosition(x, y);
    s.Print(text);
    return y + s.TextHeight(text);
}

double PutWrapped(ui::Surface& s, double x, double y, const QString& text, double width) {
    for (const QString& line : WrapText(s, text, width)) y = Put(s, x, y, line);
    return y;
}

}  // namespace

SkinDoseReportContent ReportContentOf(const QString& reportFile, const rdsr::DoseReport& report,
                                      const rdsr::ReportEvaluation& evaluation) {
    SkinDoseReportContent c;
    c.ReportFile = reportFile;
    c.Device = QString::fromStdString(report.Manufacturer + " " + report.Model).trimmed();
    c.StudyDate = QString::fromStdString(rdsr::IsoDate(report.StudyDate));
    c.PatientName = QString::fromStdString(report.PatientName);
    c.PatientId = QString::fromStdString(report.PatientId);
    for (const rdsr::PlaneEvaluation& plane : evaluation.Planes) {
        PlaneTotalsLine line;
        line.Plane = plane.Plane == rdsr::AcquisitionPlane::Single
                         ? QStringLiteral("単一")
                         : QString::fromUtf8(rdsr::PlaneName(plane.Plane));
        line.ReferenceAirKermaMGy = plane.Totals.ReferenceAirKermaMGy;
        line.KermaAreaProductGyCm2 = plane.Totals.KermaAreaProductGyCm2;
        for (const rdsr::AccumulatedTotals& t : report.Totals)
            if (t.Plane == plane.Plane) {
                line.ReportedKermaMGy = t.ReferenceAirKermaMGy;
                line.ReportedProductGyCm2 = t.KermaAreaProductGyCm2;
            }
        c.Planes.push_back(line);
        const QString equipment = QString::fromStdString(plane.EquipmentName);
        if (!equipment.isEmpty() && !c.EquipmentFiles.contains(equipment))
            c.EquipmentFiles << equipment;
    }
    return c;
}

QStringList PlacementLines(const MapSettings& settings, const SkinDoseMap& map,
                           const rdsr::DoseReport& report, const QString& lyingName) {
    auto source = [](const std::optional<double>& user, const std::optional<double>& reported) {
        return user       ? QStringLiteral("入力")
               : reported ? QStringLiteral("レポート")
                          : QStringLiteral("標準人");
    };
    const std::optional<double> height =
        settings.HeightCm ? settings.HeightCm : report.Patient.HeightCm;
    const std::optional<double> weight =
        settings.WeightKg ? settings.WeightKg : report.Patient.WeightKg;
    const TorsoShape& shape = map.Model.Shape;
    return {
        QStringLiteral("身長 %1 cm (%2), 体重 %3 kg (%4)")
            .arg(Num(height.value_or(170.0), "0"),
                 source(settings.HeightCm, report.Patient.HeightCm),
                 Num(weight.value_or(70.0), "0"),
                 source(settings.WeightKg, report.Patient.WeightKg)),
        QStringLiteral("体幹 幅 %1 cm, 厚さ %2 cm, 長さ %3 cm")
            .arg(Num(2 * shape.HalfWidthCm, "0.0"), Num(2 * shape.HalfThicknessCm, "0.0"),
                 Num(shape.LengthCm, "0")),
        QStringLiteral("最初の照射のアイソセンタ: 体幹上端から %1 cm")
            .arg(Num(settings.LandmarkCm, "0")),
        QStringLiteral("体位: %1").arg(lyingName),
        QStringLiteral("ファントム: %1, セル %2 cm")
            .arg(settings.Phantom == PhantomKind::Torso ? QStringLiteral("体幹 (楕円柱)")
                                                        : QStringLiteral("平板"),
                 Num(settings.CellCm, "0.0")),
    };
}

QString PsdOverBoundText(const SkinDoseMap& map) {
    if (!(map.UpperBoundMGy > 0)) return {};
    const double ratio = map.PsdMGy / map.UpperBoundMGy;
    QString text = QStringLiteral("PSD / 上限 %1").arg(Num(ratio, "0.00"));
    // The bound puts every event at its plane's FSD; a skin nearer the focus gets more.
    if (ratio > 1.0)
        text += QStringLiteral(
            "（上限を超えるのは、皮膚が基準点より焦点に近い照射"
            "（側方からの照射など）があるため）");
    return text;
}

QStringList PsdLines(const SkinDoseMap& map) {
    QStringList lines;
    if (PsdOfPlacedOnly(map)) {
        lines << QStringLiteral("割り付けた照射のみ");
        if (map.UnmappedUnbounded) lines << QStringLiteral("＋ 線量を計算できない照射（上限なし）");
        if (map.UnmappedUpperBoundMGy > 0)
            lines << QStringLiteral("＋ 割り付けられない照射 最大 %1 mGy")
                         .arg(Num(map.UnmappedUpperBoundMGy, "0"));
    }
    if (map.MappedKarShare >= 0) lines << MappedShareText(map.MappedKarShare);
    return lines;
}

QStringList WrapText(const ui::Surface& surface, const QString& text, double width) {
    QStringList lines;
    QString line;
    for (const QChar c : text) {
        if (!line.isEmpty() && surface.TextWidth(line + c) > width) {
            // Latin words stay whole when a space lies in the line's later half.
            const qsizetype space = line.lastIndexOf(QLatin1Char(' '));
            if (c != QLatin1Char(' ') && space > line.size() / 2) {
                lines << line.left(space);
                line = line.mid(space + 1);
            } else {
                lines << line;
                line.clear();
            }
            if (c == QLatin1Char(' ')) continue;
        }
        line += c;
    }
    if (!line.isEmpty() || lines.isEmpty()) lines << line;
    return lines;
}

void DrawSkinDoseReportPage(ui::Surface& s, const SkinDoseMap& map,
                            const SkinDoseReportContent& c) {
    s.SetForeColor(Qt::black);
    s.SetLineWidth(1);
    s.SetFont(ui::Font::MsGothic, 14);
    Put(s, 0, 0, QStringLiteral("皮膚線量報告書 (透視下手技の入射皮膚線量)"));
    s.SetFont(ui::Font::MsGothic, 8);
    if (c.PrintedAt.isValid()) {
        const QString when =
            QStringLiteral("作成 %1").arg(c.PrintedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
        Put(s, kPageWidth - s.TextWidth(when), 1, when);
    }
    s.SetFont(ui::Font::MsGothic, 9);
    double y = 8;
    QString who = QStringLiteral("装置 %1    検査日 %2").arg(c.Device, c.StudyDate);
    if (c.WithPatient) who += QStringLiteral("    患者 %1 (ID %2)").arg(c.PatientName, c.PatientId);
    y = Put(s, 0, y, who);
    s.SetFont(ui::Font::MsGothic, 8);
    y = Put(s, 0, y + 0.5,
            QStringLiteral("線量レポート %1    部屋プロファイル %2    装置データ %3")
                .arg(c.ReportFile, c.RoomProfile,
                     c.EquipmentFiles.isEmpty() ? QStringLiteral("（なし）")
                                                : c.EquipmentFiles.join(QStringLiteral("、"))));
    s.Line(0, y + 1, kPageWidth, y + 1);

    // The map.
    s.SetFont(ui::Font::MsGothic, 8);
    DrawSkinDoseMapOn(s, map, LayoutMap(map.Model, kMapArea, s.TextHeight(QStringLiteral("0"))));

    // The findings.
    double cy = 26;
    s.SetFont(ui::Font::MsGothic, 10);
    cy = Put(s, kColumnLeft, cy, QStringLiteral("ピーク皮膚線量 (PSD)"));
    s.SetFont(ui::Font::MsGothic, 16);
    cy = Put(s, kColumnLeft, cy + 1, QStringLiteral("%1 mGy").arg(Num(map.PsdMGy, "0")));
    s.SetFont(ui::Font::MsGothic, 9);
    for (const QString& line : PsdLines(map))
        cy = PutWrapped(s, kColumnLeft, cy, line, kColumnWidth);
    if (map.PsdUncertainty) cy = Put(s, kColumnLeft, cy, PsdIntervalText(map));
    if (map.PsdCell) {
        cy = PutWrapped(s, kColumnLeft, cy + 1,
                        QStringLiteral("位置: %1").arg(CellPlaceText(map.Model, *map.PsdCell)),
                        kColumnWidth);
        if (map.PsdFocusSkinDistanceCm > 0)  // a map read back keeps only its cells
            cy = Put(s, kColumnLeft, cy,
                     QStringLiteral("そのセルの焦点–皮膚間距離 %1 cm")
                         .arg(Num(map.PsdFocusSkinDistanceCm, "0.0")));
    } else {
        cy = Put(s, kColumnLeft, cy + 1, QStringLiteral("位置: 線量が皮膚に置かれていません"));
    }
    // The per-plane sums hold every computed event, the unmapped ones too.
    const double bound = map.UpperBoundMGy;
    cy = Put(s, kColumnLeft, cy + 2,
             QStringLiteral("上限 (全照射を 1 点に) %1 mGy").arg(Num(bound, "0")));
    if (map.UnmappedUpperBoundMGy > 0)
        cy = Put(s, kColumnLeft, cy,
                 QStringLiteral("  うち割り付けられない照射 %1 mGy")
                     .arg(Num(map.UnmappedUpperBoundMGy, "0")));
    if (bound > 0) cy = PutWrapped(s, kColumnLeft, cy, PsdOverBoundText(map), kColumnWidth);
    for (double gy : {2.0, 3.0, 5.0}) {
        cy = Put(s, kColumnLeft, cy,
                 QStringLiteral("%1 Gy 以上の面積 %2 cm²")
                     .arg(Num(gy, "0"), Num(map.AreaAtOrAboveCm2(1000 * gy), "0")));
    }

    // The follow-up level, framed.
    cy += 3;
    const double frameTop = cy;
    s.SetFont(ui::Font::MsGothic, 10);
    const FollowUpJudgement judgement = JudgeFollowUpLevels(c.Levels, map);
    cy = PutWrapped(s, kColumnLeft + 2, cy + 1.5, FollowUpHeadline(judgement), kColumnWidth - 4);
    s.SetFont(ui::Font::MsGothic, 9);
    cy = PutWrapped(s, kColumnLeft + 2, cy + 0.5,
                    FollowUpSentence(judgement, map.UnmappedUpperBoundMGy, map.UnmappedUnbounded),
                    kColumnWidth - 4);
    s.SetFont(ui::Font::MsGothic, 7);
    cy = PutWrapped(s, kColumnLeft + 2, cy + 0.5,
                    QStringLiteral("レベルと文: %1").arg(c.LevelsSource), kColumnWidth - 4);
    s.SetLineWidth(2);
    s.Box(kColumnLeft, frameTop, kPageWidth, cy + 1.5);
    s.SetLineWidth(1);
    cy += 5;

    // The placement assumed.
    s.SetFont(ui::Font::MsGothic, 9);
    cy = Put(s, kColumnLeft, cy, QStringLiteral("患者の配置 (仮定)"));
    s.SetFont(ui::Font::MsGothic, 8);
    for (const QString& line : c.Placement)
        cy = PutWrapped(s, kColumnLeft + 2, cy, line, kColumnWidth - 2);

    // Under the map: the plane totals and the events.
    s.Line(0, kBelowMapTop - 2, kColumnLeft - 4, kBelowMapTop - 2);
    s.SetFont(ui::Font::MsGothic, 8);
    double by = kBelowMapTop;
    by = Put(s, 0, by, QStringLiteral("平面   Ka,r 合計 mGy   P_KA 合計 Gy･cm²   (装置の積算値)"));
    for (const PlaneTotalsLine& p : c.Planes) {
        QString line = QStringLiteral("%1   %2   %3")
                           .arg(p.Plane.leftJustified(4, QLatin1Char(' ')),
                                Num(p.ReferenceAirKermaMGy, "0.0").rightJustified(14),
                                Num(p.KermaAreaProductGyCm2, "0.00").rightJustified(18));
        if (p.ReportedKermaMGy || p.ReportedProductGyCm2)
            line +=
                QStringLiteral("   (%1 mGy, %2 Gy･cm²)")
                    .arg(p.ReportedKermaMGy ? Num(*p.ReportedKermaMGy, "0.0") : QStringLiteral("―"),
                         p.ReportedProductGyCm2 ? Num(*p.ReportedProductGyCm2, "0.00")
                                                : QStringLiteral("―"));
        by = Put(s, 0, by, line);
    }
    if (!c.EventLines.isEmpty()) {
        by += 1;
        for (const QString& line : c.EventLines) by = Put(s, 0, by, line);
        return;
    }
    by = Put(s, 0, by + 1,
             QStringLiteral("照射 %1 件を皮膚に割り付け、%2 件は割り付けられません")
                 .arg(map.MappedEvents)
                 .arg(map.Unmapped.size()));
    const int shown = std::min<int>(kUnmappedShown, static_cast<int>(map.Unmapped.size()));
    for (int i = 0; i < shown; ++i) {
        const UnmappedEvent& e = map.Unmapped[static_cast<std::size_t>(i)];
        ui::PrintFitted(s, 2, by,
                        QStringLiteral("・%1: %2")
                            .arg(QString::fromStdString(e.Uid), QString::fromStdString(e.Reason)),
                        kColumnLeft - 6, 6);
        by += s.TextHeight(QStringLiteral("0"));
    }
    if (static_cast<int>(map.Unmapped.size()) > shown)
        Put(s, 2, by, QStringLiteral("ほか %1 件").arg(map.Unmapped.size() - shown));
}

std::variant<SkinDoseReportContent, QString> MakeReportContent(
    const QString& reportFile, const rdsr::DoseReport& report,
    const rdsr::ReportEvaluation& evaluation, const MapSettings& settings, const SkinDoseMap& map,
    const QString& lyingName, const QString& levelsFolder, bool writeDefaultLevels) {
    SkinDoseReportContent content = ReportContentOf(reportFile, report, evaluation);
    content.RoomProfile = QString::fromStdString(ProfileLabel(settings.Profile));
    content.Placement = PlacementLines(settings, map, report, lyingName);
    auto levels = LoadFollowUpLevels(levelsFolder, writeDefaultLevels);
    if (auto* error = std::get_if<QString>(&levels)) return *error;
    content.Levels = std::move(std::get<std::vector<FollowUpLevel>>(levels));
    content.LevelsSource = QString::fromLatin1(kFollowUpLevelsFileName);
    content.PrintedAt = QDateTime::currentDateTime();
    return content;
}

QString SaveSkinDoseReportPdf(const QString& path, const SkinDoseMap& map,
                              const SkinDoseReportContent& content) {
    const ui::PrintReport report = ui::SystemPrintService::WritePdf(
        path, QStringLiteral("皮膚線量報告書"),
        [&](ui::Surface& page) { DrawSkinDoseReportPage(page, map, content); });
    if (report.outcome != ui::PrintOutcome::Failed) return {};
    return QStringLiteral("%1: %2%3")
        .arg(report.where, report.error,
             report.previousKept ? QStringLiteral(" (前のファイルはそのまま残っています)")
                                 : QString());
}

}  // namespace ordevo::map
