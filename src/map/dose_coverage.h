// What a map can say and what it cannot: the share of the report's Ka,r it placed on the skin,
// and a follow-up level judged with the dose it could not place. A map that placed little has a
// PSD of the placed events only; "no level reached" is said only when that PSD plus every
// unplaced event's whole skin dose stays below the level.
#pragma once

#include <vector>

#include "dose_report.h"
#include "report_evaluation.h"

namespace ordevo::map {

// The placed share of the report's Ka,r, 0–1: each event's Ka,r times the part of it placed
// (`placedShare[i]` for report.Events[i]: 1 placed, 0 not, a rotational run the share of its
// steps that reached the skin) over the Ka,r of every event. 0 for a report without Ka,r.
double MappedKarShare(const rdsr::DoseReport& report, const std::vector<double>& placedShare);

// Whether an event of the report may carry dose that no computed skin dose bounds: one whose
// dose could not be computed (failed, not evaluated) while its Ka,r is unknown or above 0.
bool HasUnboundedDose(const rdsr::DoseReport& report, const rdsr::ReportEvaluation& evaluation);

enum class FollowUpStatus { Reached, NotReached, Undetermined };

// "reached", "notReached", "undetermined" (the JSON's words).
const char* FollowUpStatusName(FollowUpStatus status);

// The level against the placed PSD and what could not be placed: reached when the PSD reaches
// it; not reached only when the PSD plus the unplaced events' bound stays below it and no dose
// is unbounded; else it cannot be excluded.
FollowUpStatus JudgeFollowUp(double psdMGy, double unplacedBoundMGy, bool unbounded,
                             double levelMGy);

}  // namespace ordevo::map
