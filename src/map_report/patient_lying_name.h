// The Japanese names of the patient's lyings, as the map window's list and the page show them.
#pragma once

#include <QString>

#include "patient_lying.h"

namespace ordevo::map {

QString PatientLyingName(PatientLying lying);

}  // namespace ordevo::map
