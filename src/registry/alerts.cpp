#include "alerts.h"

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>

#include "cumulative_dose.h"
#include "dose_coverage.h"
#include "number_format.h"

namespace ordevo::registry {

std::string Alert::Json() const {
    const QJsonObject json{{"kind", QString::fromStdString(Kind)},
                           {"patientId", QString::fromStdString(PatientId)},
                           {"sopInstanceUid", QString::fromStdString(SopInstanceUid)},
                           {"levelMGy", LevelMGy},
                           {"doseMGy", DoseMGy},
                           {"procedures", Procedures},
                           {"status", Possible ? "undetermined" : "reached"},
                           {"message", QString::fromStdString(Message)}};
    return QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString();
}

FileResult<std::vector<Alert>> RaiseAlerts(Registry& registry, const std::string& sopInstanceUid,
                                           const AlertLevels& levels) {
    const auto shown = registry.Show(sopInstanceUid);
    if (!shown) return shown.error();
    std::vector<Alert> alerts;
    if (!*shown || (*shown)->Summary.Status != "registered") return alerts;
    const ProcedureRecord& r = (*shown)->Record;
    const double doseMGy = r.PsdMGy.value_or(r.UpperBoundMGy);
    const std::string gy = FormatNumber(doseMGy / 1000, "0.00");
    const std::string level = FormatNumber(levels.ProcedureMGy / 1000, "0.00");
    const std::string who = "患者 " + r.PatientId + " の手技 " + r.SopInstanceUid + ": ";
    // A map that could not place all its dose: the level judged on the PSD plus its bound.
    const double unplaced = r.PsdMGy ? r.UnplacedBoundMGy.value_or(0) : 0;
    const bool unbounded = r.PsdMGy && r.UnplacedUnbounded;
    const map::FollowUpStatus status =
        map::JudgeFollowUp(doseMGy, unplaced, unbounded, levels.ProcedureMGy);
    if (status == map::FollowUpStatus::Reached) {
        alerts.push_back(
            {"procedure", r.PatientId, r.SopInstanceUid, levels.ProcedureMGy, doseMGy, 1,
             who + "ピーク皮膚線量 " + gy + " Gy が追跡の水準 " + level + " Gy に達しました"});
    } else if (status == map::FollowUpStatus::Undetermined) {
        std::string why = unplaced > 0
                              ? "に割り付けられない照射の上限 " +
                                    FormatNumber(unplaced / 1000, "0.00") + " Gy を加えると"
                              : "のほかに線量を計算できない照射があり";
        Alert a{"procedure",
                r.PatientId,
                r.SopInstanceUid,
                levels.ProcedureMGy,
                doseMGy + unplaced,
                1,
                who + "ピーク皮膚線量 " + gy + " Gy（割り付けた照射のみ）" + why + "、追跡の水準 " +
                    level + " Gy に到達の可能性あり"};
        a.Possible = true;
        alerts.push_back(std::move(a));
    }
    const QDate last = QDate::fromString(QString::fromStdString(r.StudyDate), "yyyyMMdd");
    if (!r.PatientId.empty() && last.isValid()) {
        const auto sum =
            PatientCumulativeDose(registry, r.PatientId, r.StudyDate, levels.WindowDays);
        if (!sum) return sum.error();
        const int count = static_cast<int>(sum->Procedures.size());
        // The cumulative holds the procedures' unplaced bounds: reached by those alone, the
        // level cannot be excluded but is not known to be reached.
        const bool possible = sum->DoseMGy - sum->UnplacedBoundMGy < levels.CumulativeMGy;
        const char* how = sum->UnplacedBoundMGy > 0 ? "割り付けられない照射の上限を含む上限"
                          : sum->UpperBound ? "各手技のピーク皮膚線量の和: 上限"
                                            : "線量分布を区画ごとに加算";
        if (count > 1 && sum->DoseMGy >= levels.CumulativeMGy) {
            Alert a{"cumulative",
                    r.PatientId,
                    r.SopInstanceUid,
                    levels.CumulativeMGy,
                    sum->DoseMGy,
                    count,
                    "患者 " + r.PatientId + ": " + std::to_string(levels.WindowDays) + " 日間の " +
                        std::to_string(count) + " 手技の累積皮膚線量 " +
                        FormatNumber(sum->DoseMGy / 1000, "0.00") + " Gy（" + how + "）が水準 " +
                        FormatNumber(levels.CumulativeMGy / 1000, "0.00") +
                        (possible ? " Gy に到達の可能性あり" : " Gy に達しました")};
            a.Possible = possible;
            alerts.push_back(std::move(a));
        }
    }
    for (const Alert& a : alerts) {
        const auto added = registry.AddAlert(
            {a.Kind, a.PatientId, a.SopInstanceUid, "", a.Message, a.LevelMGy, a.DoseMGy});
        if (!added) return added.error();
    }
    return alerts;
}

}  // namespace ordevo::registry
