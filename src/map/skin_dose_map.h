// The skin-dose map of a dose report: every event's dose put on the skin cells its beam reaches,
// through the same chain as the calculator, cell by cell: the inverse square from the reference
// point, the event's spectrum and R, the backscatter at the cell's place in the field, and the
// couch only where the ray crosses the table.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "beam_geometry.h"
#include "depth_dose.h"
#include "patient_model.h"
#include "reference_data.h"
#include "report_evaluation.h"
#include "room_profile.h"
#include "uncertainty_budget.h"

namespace ordevo::map {

struct MapSettings {
    PhantomKind Phantom = PhantomKind::Torso;
    double CellCm = 1.0;
    double LandmarkCm = 20.0;  // the first event's isocentre from the top of the trunk
    std::optional<double> HeightCm, WeightKg;  // the user's; else the report's
    RoomProfile Profile;
};

struct UnmappedEvent {
    std::string Uid;
    std::string Reason;
    double SkinDoseMGy = 0;  // the calculator's, added to the unmapped bound
};

struct SkinDoseMap {
    PatientModel Model;
    std::vector<double> DoseMGy;  // per cell
    double PsdMGy = 0;
    std::optional<std::size_t> PsdCell;  // none when no dose was mapped
    double PsdFocusSkinDistanceCm = 0;   // of the event that gave the PSD cell most
    double UpperBoundMGy = 0;            // the per-plane sums (every event on one spot)
    // The events, and the steps of rotational runs, that could not be placed: each one's whole
    // skin dose (the run's unplaced share of it), as if all fell on the PSD's cell.
    double UnmappedUpperBoundMGy = 0;
    // The share of the report's Ka,r placed on the skin, 0–1 (MappedKarShare), and whether an
    // event's dose could not be computed at all, so that no bound holds it (HasUnboundedDose):
    // the PSD is then that of the placed events only (dose_coverage.h). A map read back from a
    // registry that did not keep the share has a negative one.
    double MappedKarShare = 0;
    bool UnmappedUnbounded = false;
    int MappedEvents = 0;
    std::vector<UnmappedEvent> Unmapped;
    std::vector<std::string> Notes;
    // Where each event's beam stood (one per report event; no steps: not placed), so a check can
    // send its own photons along the same beams.
    std::vector<EventPlacement> Placements;
    // The PSD's budget from the chain: each source's share summed over the events that reach the
    // PSD cell (each event's relative share times its dose there: one calibration, one couch,
    // one beam model serve them all). Empty when an event reaching that cell has no budget or
    // nothing was mapped. The patient's placement is added by AddPlacementUncertainty.
    std::optional<UncertaintyBudget> PsdUncertainty;
    // Each mapped event's own dose on the cells its field reached, so a window can say which
    // events gave a cell most of its dose and outline one event's field.
    struct EventField {
        std::size_t EventIndex = 0;  // into the report's events
        std::vector<std::size_t> Cells;
        std::vector<double> DoseMGy;  // per entry of Cells
    };
    std::vector<EventField> EventFields;
    // Area of the cells at or above `thresholdMGy`, cm².
    double AreaAtOrAboveCm2(double thresholdMGy) const;
};

// Standard uncertainties of the patient's placement, cm: where the first isocentre lies on the
// trunk, and the patient's height (assumed; docs/uncertainty.md).
inline constexpr double kLandmarkUncertaintyCm = 5.0;
inline constexpr double kHeightUncertaintyCm = 5.0;

// The map of an evaluated report (EvaluateReport's result for the same report).
SkinDoseMap ComputeSkinDoseMap(const ReferenceData& ref, const rdsr::DoseReport& report,
                               const rdsr::ReportEvaluation& evaluation,
                               const MapSettings& settings, const ScatterKernelLoader& loadKernel);

// Adds the placement's share to map.PsdUncertainty: the map again with the landmark and then the
// height moved by their standard uncertainties either way; the larger change of the PSD of each,
// in quadrature. Four maps more, of one event per beam where events repeat a beam (then five,
// the PSD's relative change scaling the PSD); nothing when the map has no PSD budget.
void AddPlacementUncertainty(SkinDoseMap& map, const ReferenceData& ref,
                             const rdsr::DoseReport& report,
                             const rdsr::ReportEvaluation& evaluation, const MapSettings& settings,
                             const ScatterKernelLoader& loadKernel);

}  // namespace ordevo::map
