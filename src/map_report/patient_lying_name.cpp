#include "patient_lying_name.h"

namespace ordevo::map {

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

}  // namespace ordevo::map
