// The whole generation: tables, Monte Carlo for every grid energy, files and a summary.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "scatter_generation.h"

namespace ordevo::refdata {

inline constexpr std::int64_t kFullHistoriesPerEnergy = 4'000'000;
inline constexpr std::int64_t kQuickHistoriesPerEnergy = 4'000;

struct GeneratorOptions {
    std::string OutputFolder = "refdata";
    GenerationSettings Settings{.HistoriesPerEnergy = kFullHistoriesPerEnergy};
};

// Runs the Monte Carlo at every backscatter grid energy (kernels from 10 keV up), in order.
// `progress` hears one line per energy.
std::vector<EnergyResult> SimulateAllEnergies(const TissueInteractions& tissue,
                                              const GenerationSettings& settings,
                                              std::ostream& progress);

// A Markdown table of the settings, statistics and uncertainties of a run.
void WriteSummary(const std::vector<EnergyResult>& results, const GenerationSettings& settings,
                  double totalSeconds, std::ostream& out);

// Parses the command line (without the program name); throws std::invalid_argument with the
// problem on a bad argument.
GeneratorOptions ParseArguments(const std::vector<std::string>& arguments);
inline constexpr const char* kUsage =
    "usage: ordevo-refdata [--out DIR] [--quick | --histories N] [--threads N] [--seed N]";

}  // namespace ordevo::refdata
