// Follow-up levels: a procedure whose peak skin dose reaches the procedure level, and a patient
// whose skin dose over the window reaches the cumulative level, each give an alert.
#pragma once

#include <string>
#include <vector>

#include "file_error.h"
#include "registry.h"

namespace ordevo::registry {

// The defaults and their published sources. 3 Gy peak skin dose: the substantial radiation dose
// level that calls for follow-up (NCRP Report No. 168, 2010; Stecker et al., J Vasc Interv
// Radiol 20:S263, 2009). 15 Gy to one field over 6 to 12 months: The Joint Commission's sentinel
// event for prolonged fluoroscopy; the window takes the longer period.
struct AlertLevels {
    double ProcedureMGy = 3000;
    double CumulativeMGy = 15000;
    int WindowDays = 365;
};

struct Alert {
    std::string Kind;  // "procedure" or "cumulative"
    std::string PatientId, SopInstanceUid;
    double LevelMGy = 0, DoseMGy = 0;
    int Procedures = 1;   // how many procedures the dose adds up
    std::string Message;  // one line, in Japanese, for the journal
    // The level is not reached by the dose placed but cannot be excluded: the dose the map could
    // not place (its bound, in DoseMGy) or could not compute may reach it.
    bool Possible = false;
    std::string Json() const;
};

// Where the default levels come from, for the output that shows them.
inline constexpr const char* kAlertLevelsSource =
    "3 Gy: NCRP Report No. 168 (2010); 15 Gy / 365 日: The Joint Commission, sentinel event "
    "(prolonged fluoroscopy, 6 to 12 months)";

// The alerts the newly registered procedure `sopInstanceUid` gives, recorded in the registry.
// The cumulative dose is the patient's over the window ending on this one's study date
// (PatientCumulativeDose): maps added cell by cell where they allow, else an upper bound that the
// message names as such.
FileResult<std::vector<Alert>> RaiseAlerts(Registry& registry, const std::string& sopInstanceUid,
                                           const AlertLevels& levels);

}  // namespace ordevo::registry
