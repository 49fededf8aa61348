// ordevo-cli registry import: reports a hospital already has, registered as the storage node
// registers what it receives (the same registration code).
#pragma once

#include <QString>
#include <ostream>

#include "cli_arguments.h"

namespace ordevo::cli {

// registry import --registry PATH [--data DIR] --equipment FILE [--equipment-b FILE]
// [--room FILE] PATH...: files, and folders searched recursively. Prints {"registered": N,
// "alreadyRegistered": M, "skipped": K, "failed": [{"file", "reason"}]}; exit 1 when any failed.
// A file named on the command line is always tried; in a folder, DICOM objects of another kind
// (images, DICOMDIR) and files that are not DICOM at all are passed over (skipped). The registry
// is created when absent. `progress` (a terminal, or null) gets one line, rewritten per file.
int RunRegistryImport(const Arguments& args, const QString& registryPath, std::ostream& out,
                      std::ostream* progress);

}  // namespace ordevo::cli
