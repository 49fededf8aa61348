// ordevo-cli rdsr: DICOM dose reports evaluated event by event, as JSON (and a CSV on request).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli_arguments.h"

namespace ordevo::cli {

// Exit 0 when every file was read; 1 when any file failed (the others still appear), or on a
// failure before any file (reference data, equipment, CSV), printed as {"error": …}.
int RunRdsr(const Arguments& args, std::ostream& out);

extern const std::vector<std::string> kRdsrOptions;
extern const std::vector<std::string> kRdsrFlags;

}  // namespace ordevo::cli
