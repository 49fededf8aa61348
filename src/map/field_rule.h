// Which collimated field an event's beam has at the reference point. Some units write field
// sizes that are not the field (0, −0, negative, a few millimetres); P_KA/Ka,r is the field's
// area at the reference point whatever the unit writes, so it judges the reported sizes.
#pragma once

#include <optional>
#include <string>

namespace ordevo::map {

// A reported field agrees with P_KA/Ka,r when their areas at the reference point differ by at
// most this factor either way (docs/map.md says why 2).
inline constexpr double kFieldAreaAgreementFactor = 2.0;
// A reported shape is kept for the P_KA/Ka,r area when both sides are at least 1 cm at the
// detector and neither is more than four times the other.
inline constexpr double kShortestPlausibleSideMm = 10.0;
inline constexpr double kLargestPlausibleAspect = 4.0;

struct ReportedField {
    std::optional<double> HeightMm, WidthMm;  // at the detector (113788, 113789)
    std::optional<double> AreaCm2;            // at the detector (113790)
};

struct FieldAtReference {
    double HalfWidthCm = 0, HalfHeightCm = 0;
    std::string Note;  // which field was taken and why; empty: the reported height and width
};

// `pkaSideCm`: the side of the square of area P_KA/Ka,r at the reference point (the chain's);
// `toReference`: d_ref / source–detector distance, the scale from the detector to the
// reference point.
FieldAtReference ChooseField(const ReportedField& reported, double pkaSideCm, double toReference);

}  // namespace ordevo::map
