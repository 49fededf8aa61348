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

// The procedure's SR written to `path` from the registry: "" (and the new SR's UID in *uid) or why
// not, in Japanese.
std::string WritePatientDoseReportFor(Registry& registry, const std::string& sopInstanceUid,
                                      const std::string& path, std::string* uid = nullptr);

}  // namespace ordevo::registry
