// A finished run read back from its output folder (cases.csv and summary.md), so the chain's
// column can be evaluated again against the stored simulations without repeating them.
#pragma once

#include <string>
#include <vector>

#include "report.h"
#include "validation_cases.h"

namespace ordevo::validation {

struct StoredCase {
    std::string Id;
    double FocusSkinDistanceCm = 0;  // as the run had it: a check that the geometry is the same
    SimulationValues Simulation;
};

struct StoredRun {
    std::vector<StoredCase> Cases;
    RunInfo Run;  // histories, threads, wall and CPU time of the simulations
};

// Throws std::runtime_error naming the file (and line) that cannot be read.
StoredRun ReadStoredRun(const std::string& folder);

}  // namespace ordevo::validation
