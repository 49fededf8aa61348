#include "stored_report_page.h"

#include <QFileInfo>

#include "number_format.h"
#include "report_table.h"
#include "stored_map.h"

namespace ordevo {

namespace {

QString Num(double value, const char* picture) {
    return QString::fromStdString(FormatNumber(value, picture));
}

}  // namespace

std::optional<map::SkinDoseMap> StoredPageMap(const registry::ProcedureRecord& record) {
    if (!record.Map) return std::nullopt;
    std::optional<map::SkinDoseMap> m = registry::SkinDoseMapOf(*record.Map);
    if (m) {
        m->UpperBoundMGy = record.UpperBoundMGy;
        m->UnmappedUpperBoundMGy = record.UnplacedBoundMGy.value_or(0);
        m->UnmappedUnbounded = record.UnplacedUnbounded;
        m->MappedKarShare = record.MappedKarShare.value_or(-1);
    }
    return m;
}

QString StoredLyingName(const std::string& lying) {
    if (lying.size() != 3) return QStringLiteral("記載なし");
    return QStringLiteral("%1・%2").arg(
        lying[0] == 'F' ? QStringLiteral("足側から") : QStringLiteral("頭側から"),
        lying[2] == 'P' ? QStringLiteral("腹臥位") : QStringLiteral("仰臥位"));
}

map::SkinDoseReportContent StoredReportContent(const registry::StoredProcedure& procedure,
                                               std::vector<map::FollowUpLevel> levels,
                                               const QString& levelsSource) {
    const registry::ProcedureRecord& r = procedure.Record;
    map::SkinDoseReportContent c;
    c.Device = QString::fromStdString(r.Manufacturer + " " + r.Model).trimmed();
    c.StudyDate = QString::fromStdString(rdsr::IsoDate(r.StudyDate));
    c.ReportFile = QStringLiteral("%1 (線量登録簿)")
                       .arg(QFileInfo(QString::fromStdString(r.Source)).fileName());
    c.PatientName = QString::fromStdString(r.PatientName);
    c.PatientId = QString::fromStdString(r.PatientId);
    c.RoomProfile = QStringLiteral("受信時の設定 (%1)").arg(QString::fromStdString(r.CallingAe));
    int events = 0, evaluated = 0;
    for (const registry::PlaneRecord& p : r.Planes) {
        c.Planes.push_back(
            {p.Plane == "single" ? QStringLiteral("単一") : QString::fromStdString(p.Plane),
             p.ReferenceAirKermaMGy,
             p.KermaAreaProductGyCm2,
             {},
             {}});
        const QString equipment = QString::fromStdString(p.Equipment);
        if (!equipment.isEmpty() && !c.EquipmentFiles.contains(equipment))
            c.EquipmentFiles << equipment;
        events += p.Evaluated + p.Skipped + p.Failed;
        evaluated += p.Evaluated;
    }
    if (r.Map)
        c.Placement << QStringLiteral("ファントム: %1, セル %2 cm, %3 行 × %4 列")
                           .arg(r.Map->Phantom == "torso" ? QStringLiteral("体幹 (楕円柱)")
                                                          : QStringLiteral("平板"),
                                Num(r.Map->CellCm, "0.0"))
                           .arg(r.Map->Rows)
                           .arg(r.Map->Columns)
                    << QStringLiteral("体位: %1").arg(StoredLyingName(r.Map->Lying));
    // The report-wide assumptions; each event's own notes stay in the registry.
    for (const std::string& note : r.Notes)
        if (note.rfind("照射 ", 0) != 0) c.Placement << QString::fromStdString(note);
    c.Levels = std::move(levels);
    c.LevelsSource = levelsSource;
    c.EventLines << QStringLiteral("照射 %1 件 (うち計算 %2 件、この報告で初めて登録 %3 件)")
                        .arg(events)
                        .arg(evaluated)
                        .arg(procedure.Summary.NewEvents);
    if (r.PsdLowMGy && r.PsdHighMGy)
        c.EventLines << QStringLiteral("PSD の区間 (k=2): %1 – %2 mGy")
                            .arg(Num(*r.PsdLowMGy, "0"), Num(*r.PsdHighMGy, "0"));
    return c;
}

}  // namespace ordevo
