// How the patient lay, as the user sets it when the report's own words are missing or wrong:
// head or feet first, supine or prone, for every event of a report. Plain data, so that the
// command line and the node apply a lying as the map window does.
#pragma once

#include <vector>

#include "dose_report.h"

namespace ordevo::map {

enum class PatientLying : int {
    AsReported,
    HeadFirstSupine,
    HeadFirstProne,
    FeetFirstSupine,
    FeetFirstProne
};

// The choices in the order a list shows them.
const std::vector<PatientLying>& PatientLyingChoices();

// Writes the lying into every event's geometry in the words a report uses ("headfirst",
// "feet-first", "recumbent", "supine", "prone"); AsReported leaves the report as it is.
void ApplyPatientLying(rdsr::DoseReport& report, PatientLying lying);

}  // namespace ordevo::map
