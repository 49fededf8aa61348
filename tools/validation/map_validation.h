// The skin-dose map against a photon Monte Carlo of the same beams on the same patient: cases
// built as dose reports, mapped by the program, simulated along the map's own beams, and the
// peak skin dose and a profile across the field compared.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "patient_model.h"
#include "validation_cases.h"

namespace ordevo::validation {

// One irradiation event of a case: C-arm angles (a rotational run when the end angle is
// given) and the table's move along the patient (DICOM lateral position, towards the head).
struct MapEventSpec {
    double PrimaryDeg = 0, SecondaryDeg = 0;
    std::optional<double> PrimaryEndDeg;
    double TableTowardsHeadMm = 0;
};

struct MapCase {
    std::string Id, Title;
    map::PhantomKind Phantom = map::PhantomKind::Torso;
    bool Table = true;  // table top and mattress under the patient (else none, in both)
    double TubeVoltageKv = 80, CopperMm = 0;
    double FieldSizeCm = 10;  // square side at the reference point
    std::vector<MapEventSpec> Events;
};

std::vector<MapCase> StandardMapCases();

struct ProfilePoint {
    std::string Where;                               // "centre", "half-way", "edge", "outside"
    double FromCentreCm = 0;                         // along the trunk from the PSD cell
    double Map = 0, Simulated = 0, Uncertainty = 0;  // dose per unit Ka,r
};

struct MapCaseResult {
    MapCase Case;
    double MapPsd = 0;                           // per unit Ka,r (all events' sum)
    double SimulatedAtPsd = 0, Uncertainty = 0;  // the simulation in the map's PSD cell
    double SimulatedPeak = 0;                    // the simulation's highest cell (noise lifts it)
    std::string PsdPlace;                        // the map's words for the PSD cell
    std::vector<ProfilePoint> Profile;           // the four points
    // The whole column through the PSD cell, row by row from the PSD row: the plot's data.
    std::vector<ProfilePoint> Column;
    std::int64_t Histories = 0;
    double Seconds = 0;
};

struct MapValidationOptions {
    std::string RefdataFolder = "refdata";
    std::string OutputFolder = "docs/map_validation";
    SimulationSettings Settings{.Histories = 8'000'000, .Batches = 20};
    std::vector<std::string> CaseIds;  // empty: every case
};

inline constexpr std::int64_t kQuickMapHistories = 20'000;

// Parses the command line (without the program name); throws std::invalid_argument.
MapValidationOptions ParseMapArguments(const std::vector<std::string>& arguments);
inline constexpr const char* kMapUsage =
    "usage: ordevo-map-validation [--refdata DIR] [--out DIR] [--quick | --histories N] "
    "[--threads N] [--seed N] [--cases ID,ID,...]";

// Maps and simulates one case.
MapCaseResult RunMapCase(const ValidationContext& context, const MapCase& c, int caseIndex,
                         const SimulationSettings& settings);

// Every chosen case; writes summary.md, cases.csv and profile_<id>.dat into the output folder.
std::vector<MapCaseResult> RunMapValidation(const MapValidationOptions& options,
                                            std::ostream& progress);

}  // namespace ordevo::validation
