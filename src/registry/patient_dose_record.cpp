#include "patient_dose_record.h"

#include "number_format.h"

namespace ordevo::registry {

namespace {

constexpr const char* kMethod =
    "照射ごとの皮膚線量の和: 各照射の Ka,r を患者照射基準点から皮膚の区画まで距離の逆二乗で"
    "移し、その照射のスペクトルによる後方散乱係数 (照射野内の位置ごと)、組織/空気の線量比、"
    "寝台を通る区画では寝台の透過率を掛けて加算する (Ordevo の皮膚線量分布)。不確かさは GUM "
    "に従う拡張不確かさ (k=2)。";

}  // namespace

std::optional<rdsr::PatientDoseRecord> PatientDoseRecordOf(const StoredProcedure& procedure,
                                                           const rdsr::ProcedureTexts& texts,
                                                           std::string* why) {
    const ProcedureRecord& r = procedure.Record;
    if (procedure.Summary.Status != "registered") {
        *why = r.SopInstanceUid + ": 評価できなかった報告には線量 SR を作れません";
        return std::nullopt;
    }
    if (!r.PsdMGy) {
        *why = r.SopInstanceUid +
               ": ピーク皮膚線量がない (分布を計算できなかった) ため線量 SR "
               "を作れません";
        return std::nullopt;
    }
    rdsr::PatientDoseRecord d;
    d.PatientName = r.PatientName;
    d.PatientId = r.PatientId;
    d.PatientBirthDate = r.PatientBirthDate;
    d.PatientSex = texts.PatientSex;
    d.StudyInstanceUid = r.StudyInstanceUid;
    d.StudyDate = r.StudyDate;
    d.InstitutionName = texts.InstitutionName;
    d.SourceSopInstanceUid = r.SopInstanceUid;
    // A map that placed nothing has a peak of 0 and no place: that is no finding.
    const bool placed = !r.Map || !r.Map->PsdRegion.empty();
    if (placed) d.PeakSkinDoseMGy = *r.PsdMGy;
    // The registry keeps the interval PSD ± U.
    if (r.PsdLowMGy && r.PsdHighMGy) d.ExpandedUncertaintyMGy = (*r.PsdHighMGy - *r.PsdLowMGy) / 2;
    if (r.Map) {
        d.Phantom = r.Map->Phantom;
        if (!r.Map->PsdRegion.empty()) {
            d.PeakLocation = r.Map->PsdRegion;
            if (r.Map->PsdFromTopCm)
                d.PeakLocation += " 上から " + FormatNumber(*r.Map->PsdFromTopCm, "0") + " cm";
            if (r.Map->PsdAngleDeg)
                d.PeakLocation += "、角度 " + FormatNumber(*r.Map->PsdAngleDeg, "0") + "°";
        }
    }
    d.Method = kMethod;
    // Which table convention placed the beams: the note the map left when it had to fall back.
    for (const std::string& note : r.Notes)
        if (note.find("プロファイル") != std::string::npos) d.RoomProfile = note;
    d.UpperBoundMGy = r.UpperBoundMGy;
    // What the map could not place goes with the peak, so the record never reads as complete
    // when part of the Ka,r is missing from it.
    d.PlacedKarShare = r.MappedKarShare;
    d.UnplacedUpperBoundMGy = r.UnplacedBoundMGy;
    return d;
}

std::string WritePatientDoseReportFor(Registry& registry, const std::string& sopInstanceUid,
                                      const std::string& path, std::string* uid) {
    const auto found = registry.Show(sopInstanceUid);
    if (!found) return found.error().what();
    if (!*found) return sopInstanceUid + ": この SOP Instance UID は線量登録簿にありません";
    const auto texts = registry.TextsOf(sopInstanceUid);
    if (!texts) return texts.error().what();
    std::string why;
    const auto record = PatientDoseRecordOf(**found, *texts, &why);
    if (!record) return why;
    const std::string written = rdsr::WritePatientDoseReport(*record, path, &why);
    if (written.empty()) return why;
    if (uid) *uid = written;
    return {};
}

}  // namespace ordevo::registry
