// The whole validation run: options, every case's chain and simulation, the report.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "validation_cases.h"

namespace ordevo::validation {

inline constexpr std::int64_t kFullHistoriesPerCase = 32'000'000;
inline constexpr std::int64_t kQuickHistoriesPerCase = 20'000;

struct ValidationOptions {
    std::string RefdataFolder = "refdata";
    std::string OutputFolder = "docs/validation";
    bool Quick = false;
    SimulationSettings Settings{.Histories = kFullHistoriesPerCase};
    std::vector<std::string> CaseIds;  // empty: every standard case
    PhantomSize Phantom;
    Geometry Equipment;
};

// Parses the command line (without the program name); throws std::invalid_argument.
ValidationOptions ParseArguments(const std::vector<std::string>& arguments);
inline constexpr const char* kUsage =
    "usage: ordevo-validation [--refdata DIR] [--out DIR] [--quick | --histories N] [--threads N] [--seed N] "
    "[--cases ID,ID,...] [--phantom WIDTHxDEPTH] [--fad CM]";

// Runs the cases and writes the report; `progress` hears one line per case.
std::vector<CaseResult> RunValidation(const ValidationOptions& options, std::ostream& progress);

}  // namespace ordevo::validation
