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
    bool BackscatterCheck = false;  // --bsf-check: single energies instead of the cases
    // --rechain: the chain evaluated again against the simulations stored in the output folder.
    bool Rechain = false;
};

// Parses the command line (without the program name); throws std::invalid_argument.
ValidationOptions ParseArguments(const std::vector<std::string>& arguments);
inline constexpr const char* kUsage =
    "usage: ordevo-validation [--refdata DIR] [--out DIR] [--quick | --histories N] [--threads N] "
    "[--seed N] "
    "[--cases ID,ID,...] [--phantom WIDTHxDEPTH] [--fad CM] [--bsf-check | --rechain]";

// Energies of the single-energy backscatter check, keV.
inline constexpr double kCheckEnergiesKeV[] = {25.0, 32.5, 45.0, 60.0, 80.0};

// The single-energy check: a nearly parallel 10 × 10 cm beam (focus 100 m away) of one energy on a
// 100 × 100 × 40 cm phantom; the simulated backscatter factor (skin dose over its unscattered
// part) against the chain's ring integration of the reference data for the same beam. Writes
// bsf.md into the output folder.
void RunBackscatterCheck(const ValidationOptions& options, std::ostream& progress);

// Runs the cases and writes the report; `progress` hears one line per case.
std::vector<CaseResult> RunValidation(const ValidationOptions& options, std::ostream& progress);

// Evaluates the chain of every case stored in the output folder's cases.csv again, takes the
// simulations from there and writes the report anew. The geometry options (--fad) must be
// those of the stored run: a case whose FSD differs is refused.
std::vector<CaseResult> RechainStoredRun(const ValidationOptions& options, std::ostream& progress);

}  // namespace ordevo::validation
