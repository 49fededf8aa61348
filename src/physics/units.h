// Units and fixed geometry shared by the computations, each with its meaning, so that a
// conversion is written once and reads as what it is.
#pragma once

namespace ordevo {

// Files and screens give filtrations and material thicknesses in millimetres; memory holds cm.
inline constexpr double kCentimetresPerMillimetre = 0.1;

// The patient entrance reference point lies this far from the isocentre towards the focus, cm:
// the displayed Ka,r is the air kerma free in air there, at FAD − 15 cm from the focus.
inline constexpr double kReferencePointOffsetCm = 15.0;

// The focus–reference-point distance of an equipment's geometry, cm.
inline constexpr double ReferencePointDistanceOf(double focusIsocentreDistanceCm) {
    return focusIsocentreDistanceCm - kReferencePointOffsetCm;
}

}  // namespace ordevo
