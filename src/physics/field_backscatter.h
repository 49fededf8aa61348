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

// A convex four-sided field around a point inside it, as drawn on the surface the rings lie on
// (a beam's rectangular field seen on an oblique skin is such a quadrilateral): per edge, in
// order round the field, its distance from the point (≥ 0, cm) and its outward unit normal.
struct FieldOutline {
    std::array<double, 4> DistanceCm{};
    std::array<double, 4> NormalX{}, NormalY{};
};

// The outline of |X − x| ≤ halfWidth, |Y − y| ≤ halfHeight around (x, y) inside it.
FieldOutline RectangleOutline(double x, double y, double halfWidth, double halfHeight);

// Part of the circle of `radius` around the point that lies inside the outline (0 … 1, by arc
// length): the arc past each edge at distance d is 2·acos(d/ρ), and the arcs past two adjacent
// edges overlap by what their sum exceeds the angle between the edges' normals. Arcs past
// opposite edges are taken not to meet: their lines cross no nearer to the point than the
// focus is to the skin, beyond the table's 30 cm of rings.
double CircleFractionInOutline(double radius, const FieldOutline& outline);

// The angles between the normals of adjacent edges (edge i and i + 1), radians. Points on one
// surface under one beam share them, so a caller with many points computes them once.
using OutlineTurns = std::array<double, 4>;
OutlineTurns TurnsOf(const FieldOutline& outline);

// BackscatterAtPoint for an outline: the rings wholly inside by the cumulative sum, the others
// in groups of four.
double BackscatterInOutline(const RingBackscatter& rings, const FieldOutline& outline);
double BackscatterInOutline(const RingBackscatter& rings, const FieldOutline& outline,
                            const OutlineTurns& turns);

}  // namespace ordevo
