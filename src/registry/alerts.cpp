#include "alerts.h"

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>

#include "cumulative_dose.h"
#include "number_format.h"

namespace ordevo::registry {

std::string Alert::Json() const {
    const QJsonObject json{{"kind", QString::fromStdString(Kind)},
                           {"patientId", QString::fromStdString(PatientId)},
                           {"sopInstanceUid", QString::fromStdString(SopInstanceUid)},
                           {"levelMGy", LevelMGy},
                           {"doseMGy", DoseMGy},
                           {"procedures", Procedures},
                           {"message", QString::fromStdString(Message)}};
    return QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString();
}

Alert AlertOf(const StoredAlert& s) {
    return {s.Kind, s.PatientId, s.SopInstanceUid, s.LevelMGy, s.DoseMGy, s.Procedures, s.Message};
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
    if (doseMGy >= levels.ProcedureMGy)
        alerts.push_back(
            {"procedure", r.PatientId, r.SopInstanceUid, levels.ProcedureMGy, doseMGy, 1,
             "患者 " + r.PatientId + " の手技 " + r.SopInstanceUid + ": ピーク皮膚線量 " + gy +
                 " Gy が追跡の水準 " + FormatNumber(levels.ProcedureMGy / 1000, "0.00") +
                 " Gy に達しました"});
    const QDate last = QDate::fromString(QString::fromStdString(r.StudyDate), "yyyyMMdd");
    if (!r.PatientId.empty() && last.isValid()) {
        const auto sum =
            PatientCumulativeDose(registry, r.PatientId, r.StudyDate, levels.WindowDays);
        if (!sum) return sum.error();
        const int count = static_cast<int>(sum->Procedures.size());
        if (count > 1 && sum->DoseMGy >= levels.CumulativeMGy)
            alerts.push_back({"cumulative", r.PatientId, r.SopInstanceUid, levels.CumulativeMGy,
                              sum->DoseMGy, count,
                              "患者 " + r.PatientId + ": " + std::to_string(levels.WindowDays) +
                                  " 日間の " + std::to_string(count) + " 手技の累積皮膚線量 " +
                                  FormatNumber(sum->DoseMGy / 1000, "0.00") + " Gy（" +
                                  (sum->UpperBound ? "各手技のピーク皮膚線量の和: 上限"
                                                   : "線量分布を区画ごとに加算") +
                                  "）が水準 " + FormatNumber(levels.CumulativeMGy / 1000, "0.00") +
                                  " Gy に達しました"});
    }
    for (const Alert& a : alerts) {
        const auto added = registry.AddAlert({a.Kind, a.PatientId, a.SopInstanceUid, "", a.Message,
                                              a.LevelMGy, a.DoseMGy, 0, a.Procedures, false});
        if (!added) return added.error();
    }
    return alerts;
}

}  // namespace ordevo::registry
