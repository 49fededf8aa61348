// The focus–reference-point distance of an irradiation event, from what the report states.
#pragma once

#include <optional>

#include "dose_report.h"

namespace ordevo::rdsr {

// Distances of the event's geometry, mm; each is the event's own or the equipment file's.
struct EventGeometryMm {
    std::optional<double> SourceToIsocentre;
    std::optional<double> SourceToDetector;
    std::optional<double> SourceToTablePlane;
};

// The distance in mm from the focus to the point a reference-point definition names, or nullopt
// when the definition is unknown or needs a distance the geometry lacks. Codes: 113860 (15 cm
// from the isocentre toward the source), 113861 (30 cm in front of the image input surface),
// 113862 / 113863 (1 cm / 30 cm above the tabletop). Free texts give a length and what it is
// measured from: "15cm below BeamIsocenter" (toward the source, as is "toward", "before", "in
// front of"; "above", "behind" and "away" go the other way), "30 cm in front of image input
// surface"/"detector", "1 cm above tabletop", "530 mm from tube focus". The length is measured
// from the first point the text names ("530 mm from tube focus towards detector": the focus).
std::optional<double> ReferencePointDistanceMm(const ReferencePointDefinition& definition,
                                               const EventGeometryMm& geometry);

}  // namespace ordevo::rdsr
