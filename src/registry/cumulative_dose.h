// A patient's skin dose over recent procedures. The maps of the procedures within the window add
// cell by cell where every cell is the same piece of skin in each: the same phantom, the same grid
// (cell size, rows and columns: the same trunk to within a cell, so the same height and build)
// and the same reported lying (head or feet first, supine or prone). The cells are in the
// patient's own frame whatever the lying, but the placement's systematic errors (the assumed
// landmark, a room profile's directions) move maps of the same lying alike and maps of opposite
// lyings apart, so only the former keep their overlap. Maps that differ, a lying the report does
// not give, or a procedure without a map: each group's peak is added instead, an upper bound,
// and the note says so. A map that could not place all its dose adds its unplaced events' whole
// skin dose to its group's peak: the cumulative is then an upper bound too.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "file_error.h"
#include "registry.h"

namespace ordevo::registry {

// "HFS", "HFP", "FFS" or "FFP" (DICOM's patient positions) when every event placed on the map
// gives the same lying; "" when one does not say or they differ.
std::string ReportedLying(const rdsr::DoseReport& report, const map::SkinDoseMap& map);

struct CumulativeProcedure {
    std::string SopInstanceUid, StudyDate;
    double PeakMGy = 0;  // its PSD plus its unplaced bound; its upper bound where it has no map
    double UnplacedBoundMGy = 0;  // of PeakMGy: what its map could not place
    bool Unbounded = false;       // some of its dose could not be computed: in no figure here
    bool CellByCell = false;      // its map added cell by cell to those of the same grid and lying
    bool Mapped = false;  // it has a map: PeakMGy is its PSD (and bound), not its upper bound
};

struct CumulativeDose {
    std::string PatientId;
    std::string FirstDate, LastDate;  // YYYYMMDD, both included
    int WindowDays = 0;
    std::vector<CumulativeProcedure> Procedures;  // those counted, in date order
    double DoseMGy = 0;                           // the cumulative peak skin dose
    bool UpperBound = false;            // DoseMGy adds peaks that may lie apart, or unplaced dose
    double UnplacedBoundMGy = 0;        // of DoseMGy: the procedures' unplaced bounds
    bool Unbounded = false;             // a procedure's dose could not all be computed
    double PeakSumMGy = 0;              // the sum of the procedures' peaks
    std::optional<MapRecord> AddedMap;  // the added cells and their peak, when all were added
    std::vector<std::string> Notes;     // how it was added, in Japanese
};

// The cumulative dose of the procedures given (the patient's, within the window). A procedure
// none of whose events is new (a continued report repeating earlier ones) is left out.
CumulativeDose AddProcedureDoses(const std::vector<StoredProcedure>& procedures);

// The patient's registered procedures whose study dates lie in the `windowDays` days ending on
// `lastDate` (YYYYMMDD), added as above.
FileResult<CumulativeDose> PatientCumulativeDose(Registry& registry, const std::string& patientId,
                                                 const std::string& lastDate, int windowDays);

}  // namespace ordevo::registry
