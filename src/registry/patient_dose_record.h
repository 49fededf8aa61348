// What the Patient Radiation Dose SR of a registered procedure says, from what the registry keeps.
#pragma once

#include <optional>
#include <string>

#include "patient_dose_report_writer.h"
#include "registry.h"

namespace ordevo::registry {

// None (with *why, in Japanese) for a failed report or one without a peak skin dose.
std::optional<rdsr::PatientDoseRecord> PatientDoseRecordOf(const StoredProcedure& procedure,
                                                           const rdsr::ProcedureTexts& texts,
                                                           std::string* why);

}  // namespace ordevo::registry
