// Every irradiation event of a dose report through the one dose chain, each with its own tube
// voltage, filtration, distances and reference point, and the sums per plane.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dose_evaluation.h"
#include "dose_report.h"
#include "equipment_file.h"
#include "input_checks.h"
#include "uncertainty_budget.h"

namespace ordevo::rdsr {

// The largest skin dose one event can plausibly give. The worst skin injuries recorded after the
// longest interventions followed some tens of Gy in total; 100 Gy from one event means a report
// scaled or labelled wrongly (a unit off by 1000), so such an event is flagged in its note.
inline constexpr double kSkinDoseCeilingMGy = 100000.0;

// The shortest plausible focus–skin distance, the main window's: an FSD below it is most likely
// a typo (5 for 50 cm multiplies the dose by 100), so it is noted.
inline constexpr double kFocusSkinDistanceMinimumCm = kShortestPlausibleFocusSkinDistanceCm;

// What the user gives for one plane.
struct PlaneSetup {
    EquipmentFileContents Equipment;            // as LoadEquipmentFile read it
    std::string EquipmentName;                  // the file's name, for the listing
    std::optional<double> FocusSkinDistanceCm;  // the user's FSD; each event's d_ref when absent
    UncertaintyKnowledge Knowledge;             // what the uncertainty budget knows of the room
};

enum class EventStatus : int { Evaluated, Skipped, Failed };
const char* EventStatusName(EventStatus status);  // "evaluated", "skipped", "failed"

// One event's case for the dose chain, or the reason it has none.
struct EventCase {
    EventStatus Status = EventStatus::Evaluated;  // Skipped or Failed: Note says why
    std::string Note;
    DoseCase Inputs;  // what the dose chain computes the event from
    double TubeVoltageKv = 0;
    bool KvAssumed = false;  // the equipment file's typical tube voltage stands in
    double CopperMm = 0;     // added filtration used
    double AluminiumMm = 0;
    std::string FieldSizeText;       // "#0.00", as the main window shows it
    double ReferenceDistanceCm = 0;  // d_ref
    double FocusSkinDistanceCm = 0;
};

// The inputs of one event: its kVp (missing: the equipment's typical tube voltage, assumed),
// its Cu and Al in place of the equipment's added filters (absent filters: the equipment's
// stay), its focus–isocentre and focus–receptor distances where given, its reference distance
// (stated; else from the definition and the distances; else FAD − 15), the square field at the
// reference point from P_KA/Ka,r, and the plane's FSD (default: the reference distance).
EventCase MakeEventCase(const IrradiationEvent& event, const PlaneSetup& plane);

struct EventEvaluation {
    std::size_t EventIndex = 0;  // into DoseReport::Events
    EventCase Case;              // Status and Note final
    double SkinDoseMGy = 0;      // evaluated events only
    DoseResult Result;
    std::optional<UncertaintyBudget> Uncertainty;  // evaluated events whose budget could be formed
};

// The main window's inputs for a plane's totals: the texts "入力欄へ" types into its boxes.
struct SingleCaseTexts {
    std::string ReferenceAirKerma;  // mGy
    std::string KermaAreaProduct;   // Gy·cm²
    std::string TubeVoltage;        // kV, a fixed voltage
    std::string FocusSkinDistance;  // cm: the user's FSD, else the reference distance below
    // The report's own geometry and filtration, Ka,r-weighted over the evaluated events, so
    // that the one case stands where the events stood (the equipment's FAD − 15 and filters
    // gave 23.4 mGy against an event sum of 32.1 at FSD 55).
    double ReferenceDistanceCm = 0;  // d_ref; 0: the equipment's FAD − 15
    double CopperMm = 0, AluminiumMm = 0;
    // An event's tube voltage was the equipment's typical one (the report gave none): the mean
    // stands partly on an assumption and is shown as 推定 wherever it goes.
    bool TubeVoltageAssumed = false;
};

struct PlaneTotals {
    double ReferenceAirKermaMGy = 0;  // sums over evaluated events only
    double KermaAreaProductGyCm2 = 0;
    double MeanKv = 0;          // Ka,r-weighted, rounded to 0.1 kV
    double SkinDoseSumMGy = 0;  // all events on one skin site: the conservative bound
    // The sum's budget, the events' shares added as fully correlated (one calibration, one
    // couch, one beam model serve them all); empty when an evaluated event has none.
    std::optional<UncertaintyBudget> SkinDoseSumUncertainty;
    std::optional<double> SingleCaseSkinDoseMGy;  // the totals as one case
    std::string SingleCaseNote;                   // why there is none
    SingleCaseTexts SingleCase;
    int Evaluated = 0, Skipped = 0, Failed = 0;
};

struct PlaneEvaluation {
    AcquisitionPlane Plane = AcquisitionPlane::Single;
    std::string EquipmentName;
    std::optional<double> FocusSkinDistanceCm;
    UncertaintyKnowledge Knowledge;  // the plane's, for listing the budgets
    std::vector<EventEvaluation> Events;
    PlaneTotals Totals;
};

struct ReportEvaluation {
    std::vector<PlaneEvaluation> Planes;  // in the order planes first appear
    bool Cancelled = false;
};

// Called after each event; returning false stops the evaluation (Cancelled).
using ReportProgress = std::function<bool(std::size_t done, std::size_t total)>;

// Plane B needs `planeB`; without it its events fail. Each spectrum is computed once per equal
// (tube voltage, filtration); `loadKernel` should cache (MakeCachingKernelLoader). The events'
// uncertainty budgets share their depth-dose changes between nearby cases (DepthDoseRatios);
// every skin dose is the event's own.
ReportEvaluation EvaluateReport(const ReferenceData& ref, const DoseReport& report,
                                const PlaneSetup& planeA, const PlaneSetup* planeB,
                                const ScatterKernelLoader& loadKernel,
                                const ReportProgress& progress = {});

// Evaluates the texts as the main window would, with a square field and the plane's equipment.
// Texts the main window would refuse give a failed evaluation, the refusal's words in *refusal.
DoseEvaluation EvaluateSingleCase(const ReferenceData& ref, const SingleCaseTexts& texts,
                                  const PlaneSetup& plane, const ScatterKernelLoader& loadKernel,
                                  std::string* refusal = nullptr);

// A loader that reads each kernel once and hands out the stored one afterwards. Copies share
// the store; not for concurrent use.
ScatterKernelLoader MakeCachingKernelLoader(ScatterKernelLoader load);

}  // namespace ordevo::rdsr
