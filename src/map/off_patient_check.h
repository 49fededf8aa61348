// A room profile that is wrong for the room moves fields off the patient without a word: the
// map then says so when most of the report's Ka,r went to events that were placed but missed
// the model.
#pragma once

#include <optional>
#include <string>

#include "dose_report.h"
#include "skin_dose_map.h"

namespace ordevo::map {

// The share of Ka,r above which the note is given.
inline constexpr double kOffPatientKarShare = 0.5;

// The note naming the profile to check, or nothing. Counts the events whose beam was placed
// (map.Placements has steps) yet that are listed as not mapped, against all events with a Ka,r.
std::optional<std::string> OffPatientNote(const rdsr::DoseReport& report, const SkinDoseMap& map,
                                          const RoomProfile& profile);

}  // namespace ordevo::map
