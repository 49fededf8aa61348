// ordevo-cli rdsr: DICOM dose reports evaluated event by event, as JSON (and a CSV on request).
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli_arguments.h"
#include "json_writer.h"
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
struct ExpandedPath {
    std::string Path;
    std::vector<std::string> Files;
    bool EmptyFolder = false;
};
std::vector<ExpandedPath> ExpandAll(const std::vector<std::string>& paths);
// Reads each file of `inputs` in turn and hands the report read to `use`; a file that cannot be
// read, or a folder without a report, adds its error to `files`. False when any could not be.
// An output (--csv, --png, --grid, --pdf) that names one of the inputs would replace it: a
// UsageError.
void RefuseOutputOverInput(const std::string& option, const std::string& output,
                           const std::vector<std::string>& inputs);

bool ReadEachReport(const std::vector<ExpandedPath>& inputs, std::vector<JsonObject>& files,
                    const std::function<void(const std::string& file, rdsr::DoseReport&&)>& use);

extern const std::vector<std::string> kRdsrOptions;
extern const std::vector<std::string> kRdsrFlags;

}  // namespace ordevo::cli
