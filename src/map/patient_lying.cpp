#include "patient_lying.h"

namespace ordevo::map {

const std::vector<PatientLying>& PatientLyingChoices() {
    static const std::vector<PatientLying> choices{
        PatientLying::AsReported, PatientLying::HeadFirstSupine, PatientLying::HeadFirstProne,
        PatientLying::FeetFirstSupine, PatientLying::FeetFirstProne};
    return choices;
}

void ApplyPatientLying(rdsr::DoseReport& report, PatientLying lying) {
    if (lying == PatientLying::AsReported) return;
    const bool feet =
        lying == PatientLying::FeetFirstSupine || lying == PatientLying::FeetFirstProne;
    const bool prone =
        lying == PatientLying::HeadFirstProne || lying == PatientLying::FeetFirstProne;
    for (rdsr::IrradiationEvent& event : report.Events) {
        event.Geometry.PatientTableRelationship = feet ? "feet-first" : "headfirst";
        event.Geometry.PatientOrientation = "recumbent";
        event.Geometry.PatientOrientationModifier = prone ? "prone" : "supine";
    }
}

}  // namespace ordevo::map
