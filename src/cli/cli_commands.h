// The three commands of ordevo-cli. Each prints its result on stdout and returns the exit code.
#pragma once

#include <ostream>

#include "cli_arguments.h"

namespace ordevo::cli {

int RunEvaluate(const Arguments& args, std::ostream& out);
int RunSpectrum(const Arguments& args, std::ostream& out);
int RunCouch(const Arguments& args, std::ostream& out);

// The options each command accepts.
extern const std::vector<std::string> kEvaluateOptions;
extern const std::vector<std::string> kSpectrumOptions;
extern const std::vector<std::string> kCouchOptions;

}  // namespace ordevo::cli
