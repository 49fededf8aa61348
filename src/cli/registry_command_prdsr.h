// ordevo-cli registry p-rdsr: a registered procedure's peak skin dose as a DICOM Patient
// Radiation Dose SR.
#pragma once

#include <QString>
#include <ostream>

#include "cli_arguments.h"

namespace ordevo::cli {

// registry p-rdsr --registry PATH SOP_INSTANCE_UID --out FILE: prints {"written": FILE,
// "sopInstanceUid": the new SR's UID}; exit 1 with {"error": …} when the procedure is not
// registered, has no peak skin dose, or the file cannot be written.
int RunRegistryPatientDoseReport(const Arguments& args, const QString& registryPath,
                                 std::ostream& out);

}  // namespace ordevo::cli
