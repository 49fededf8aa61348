// The patient's skin dose as a DICOM Patient Radiation Dose SR (TID 10030, SOP class
// 1.2.840.10008.5.1.4.1.1.88.73), written with the toolkit's structured-report module, which
// knows the document type and checks its content constraints: the hospital's archive keeps the
// peak skin dose beside the X-ray dose report it was estimated from.
#pragma once

#include <optional>
#include <string>

namespace ordevo::rdsr {

struct PatientDoseRecord {
    // The patient and study of the source report, as it gave them.
    std::string PatientName, PatientId, PatientBirthDate, PatientSex;
    std::string StudyInstanceUid, StudyDate;
    std::string InstitutionName;
    std::string SourceSopInstanceUid;  // the X-Ray Radiation Dose SR the estimate comes from
    // None when the map placed nothing: the record then holds the upper bound alone, never a
    // peak of 0 mGy that would read as an all-clear.
    std::optional<double> PeakSkinDoseMGy;
    std::string PeakLocation;  // "背部 上から 30 cm、角度 180°"; "" unknown
    std::optional<double> ExpandedUncertaintyMGy;  // U (k = 2) of the peak skin dose
    std::string Method;                            // how the dose was computed (the chain)
    std::string Phantom;                           // the patient model of the map
    std::string RoomProfile;  // where the table convention came from; "" when not recorded
    std::optional<double> PlacedKarShare;         // 0–1, the share of Ka,r placed on the skin
    std::optional<double> UnplacedUpperBoundMGy;  // the dose of what could not be placed
    double UpperBoundMGy = 0;  // every event on one spot: no skin point can have received more
};

// The new SR's SOP Instance UID, or "" with *error set (in Japanese) when the toolkit refuses
// the content or the file cannot be written; the file is written whole or not at all.
std::string WritePatientDoseReport(const PatientDoseRecord& record, const std::string& path,
                                   std::string* error);

}  // namespace ordevo::rdsr
