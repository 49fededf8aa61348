#include "patient_lying.h"

namespace ordevo::map {

const std::vector<PatientLying>& PatientLyingChoices() {
    static const std::vector<PatientLying> choices{
        PatientLying::AsReported, PatientLying::HeadFirstSupine, PatientLying::HeadFirstProne,
        PatientLying::FeetFirstSupine, PatientLying::FeetFirstProne};
    return choices;
}

QString PatientLyingName(PatientLying lying) {
    switch (lying) {
    case PatientLying::AsReported: return QStringLiteral("レポートのとおり");
    case PatientLying::HeadFirstSupine: return QStringLiteral("頭側から・仰臥位");
    case PatientLying::HeadFirstProne: return QStringLiteral("頭側から・腹臥位");
    case PatientLying::FeetFirstSupine: return QStringLiteral("足側から・仰臥位");
    case PatientLying::FeetFirstProne: return QStringLiteral("足側から・腹臥位");
    }
    return {};
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
