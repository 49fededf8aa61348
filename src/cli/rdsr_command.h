// ordevo-cli rdsr: DICOM dose reports evaluated event by event, as JSON (and a CSV on request).
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli_arguments.h"
#include "report_evaluation.h"

class QString;

namespace ordevo::cli {

// Exit 0 when every file was read and evaluated whole; 1 when any file failed, any event failed
// or a plane had events but none evaluated (each file's "problems" says which; the others still
// appear), or on a failure before any file (reference data, equipment, CSV), printed as
// {"error": …}. A --csv naming an input file is a usage error: nothing is read or written.
int RunRdsr(const Arguments& args, std::ostream& out);

// Shared with `map`: the plane's equipment and FSD from the options (a failure throws Failure),
// and the dose-report files a path stands for (a folder: every report below it, sorted).
struct Failure {
    std::string message;
};
std::optional<double> ReadFsd(const Arguments& args, const std::string& name);
rdsr::PlaneSetup ReadPlane(const Arguments& args, const QString& folder,
                           const std::string& equipmentOption, const std::string& fsdOption);
std::vector<std::string> Expand(const std::string& path, bool* emptyFolder);

extern const std::vector<std::string> kRdsrOptions;
extern const std::vector<std::string> kRdsrFlags;

}  // namespace ordevo::cli
