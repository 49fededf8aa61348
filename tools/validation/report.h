// The validation's output files: the table of every case, the key numbers, the couch
// description and the data of the plots.
#pragma once

#include <string>
#include <vector>

#include "validation_cases.h"

namespace ordevo::validation {

struct RunInfo {
    std::int64_t HistoriesPerCase = 0;
    int Threads = 0;
    double WallSeconds = 0;
    double CpuSeconds = 0;  // of the process: all threads
    bool Quick = false;
    double FocusReceptorDistanceCm = 0;
    // The chain evaluated again against the simulations of a stored run (--rechain).
    bool ChainReevaluated = false;
};

struct CouchDescription {
    std::vector<CouchLayer> Layers;
    double PanelAluminiumMm = 0;  // the panel alone, at 100 kV
    double CouchAluminiumMm = 0;  // panel and mattress, at 100 kV
};

// Writes cases.csv, cases.md, factors.md, circles.md, summary.md, couch.md, fsd.dat and
// deviations.dat into `folder` (created if missing). Throws std::runtime_error when a file cannot
// be written.
void WriteReport(const std::string& folder, const std::vector<CaseResult>& results,
                 const CouchDescription& couch, const RunInfo& run);

// Relative deviation of a chain value from the simulation.
inline double Deviation(double chain, double simulation) { return chain / simulation - 1.0; }

}  // namespace ordevo::validation
