// Backscatter at any point of a rectangular field, not only at its centre: the ring table is
// centred on the point and each 1 mm ring counts with the part of it that lies inside the
// field, so a point at the edge, with half its surroundings unirradiated, gets less.
#pragma once

#include <array>

#include "energy_grid.h"
#include "reference_data.h"

namespace ordevo {

// Per ring r = 1 … 300: the ring's backscatter contribution, averaged over the spectrum's dose
// weights and weighted by its inverse square from a focus at d0, as the field's backscatter
// factor sums it. The backscatter factor of any region is 1 + Σ fraction_r · Ring[r].
struct RingBackscatter {
    std::array<double, kBackscatterRingCount + 1> Ring{};        // index 0 unused
    std::array<double, kBackscatterRingCount + 1> Cumulative{};  // Σ Ring[1..r]; [0] = 0
};

// Throws CalculationError (no spectrum weight, a voltage past the tables).
RingBackscatter ComputeRingBackscatter(const ReferenceData& ref, const BinArray& spectrum,
                                       double tubeVoltageKv, double phantomSurfaceDistanceCm);

// acos t for 0 ≤ t ≤ 1 within 2·10⁻⁸ rad, by a polynomial.
double FastArcCosine(double t);

// Part of the circle of `radius` around (x, y) that lies inside |X| ≤ halfWidth, |Y| ≤ halfHeight
// (0 … 1, by arc length).
double CircleFractionInRectangle(double radius, double x, double y, double halfWidth,
                                 double halfHeight);

// 1 + Σ over the rings around (x, y) of the part inside the rectangle times the ring's share.
// The rings wholly inside count through the cumulative sum; those the field's edges cut count
// in groups of four (0.4 cm), each group's share at its middle radius: the part inside changes
// little over 4 mm, and the map calls this for every cell of every event.
double BackscatterAtPoint(const RingBackscatter& rings, double x, double y, double halfWidth,
                          double halfHeight);

}  // namespace ordevo
