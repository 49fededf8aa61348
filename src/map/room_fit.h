// The room's table convention measured from its own dose report: four short exposures without a
// patient, the C-arm at 0°/0° — the table top at the isocentre (the reference), then moved
// towards the head end, back and towards the patient's left, back and lowered, each by the same
// distance. Each step must move exactly one reported table position by that distance; which one
// and its sign say what the profile's longitudinal, lateral and height words are.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dose_report.h"
#include "room_profile.h"

namespace ordevo::map {

// A reported position counts as still when it moved at most this much, and as the step's move
// when it lies within kMoveTolerance of the move; anything between is a move of the wrong size.
inline constexpr double kStillToleranceMm = 5.0;
inline constexpr double kMoveTolerance = 0.1;  // a tenth of the move (1 cm of 10 cm)
inline constexpr double kFitMaxTiltDeg = 1.0;  // as the map: a tilted table is not followed

// The reported table axes, in the order of the report's concepts (113751–113753).
enum class ReportedAxis : int { Longitudinal, Lateral, Height };
const char* ReportedAxisName(ReportedAxis axis);  // "longitudinal", "lateral", "height"

struct FitStep {
    int Number = 0;            // 2, 3 or 4 of the protocol
    TableDirection Moved;      // where the protocol moved the table: head, left, down
    ReportedAxis Axis;         // the reported position that changed
    double ChangeMm = 0;       // by how much, signed
    TableDirection Direction;  // so the profile's word for that axis
};

struct RoomFit {
    std::optional<RoomProfile> Profile;  // none: refused, Refusal says why
    std::string Refusal;                 // Japanese, names the step and the values
    std::vector<FitStep> Steps;          // the steps read before any refusal
    std::vector<std::string> Notes;      // what was assumed or is worth a look
};

// Fits the profile from the report's last four irradiation events (in the report's order).
// The profile keeps the default table top and mattress sizes and the DICOM angle signs (the
// fit cannot see them); it is marked commissioned with `reportName`, the report's date and
// device, and named `profileName`.
RoomFit FitRoomProfile(const rdsr::DoseReport& report, double moveCm, const std::string& reportName,
                       const std::string& profileName);

// Where two profiles disagree on the table's directions (longitudinal, lateral, height), one
// sentence each (Japanese, naming the key and both values); empty when they agree. The angles'
// signs are not compared (the fit cannot measure them), nor the sizes and the table height.
std::vector<std::string> TableDifferences(const RoomProfile& expected, const RoomProfile& measured);

}  // namespace ordevo::map
