// The patient's height and weight of a dose report: the header's Patient's Size and Weight, or
// the report's patient characteristics (LOINC 8302-2 height, 29463-7 weight). The skin-dose map
// scales its patient model from them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "event_geometry.h"

class DcmItem;

namespace ordevo::rdsr {

struct PatientSize {
    std::optional<double> HeightCm;  // 50–250 cm, else refused with a note
    std::optional<double> WeightKg;  // 1–350 kg, else refused with a note
};

// From the header: Patient's Size (0010,1020) in m and Patient's Weight (0010,1030) in kg.
void ReadPatientSizeHeader(DcmItem& dataset, PatientSize& size, std::vector<std::string>& notes);

// A content item of the patient characteristics; true when it was height or weight. A value
// here stands in for a header value that is missing.
bool ReadPatientSizeItem(const GeometryItem& item, PatientSize& size,
                         std::vector<std::string>& notes);

}  // namespace ordevo::rdsr
