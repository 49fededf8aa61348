// A beam step's field as the backscatter rings see it on the skin: the rings lie on the phantom
// surface (the tangent plane at the point), where an oblique beam's rectangular field is a
// longer, slanted quadrilateral, not on the plane across the central ray.
#pragma once

#include <array>

#include "beam_geometry.h"
#include "field_backscatter.h"

namespace ordevo::map {

// The four planes through the focus that bound the step's field, in order round it (+U, +V,
// −U, −V): a point X is inside when Normal[i]·(X − focus) ≤ 0 for each.
struct FieldEdges {
    std::array<Vec3, 4> Normal;
};
FieldEdges EdgesOf(const BeamStep& step, double referenceDistanceCm);

// What the outlines of one step's field share on surfaces of one direction (a column of the
// trunk's cells, every cell of the flat phantom): the edges' directions in the surface and the
// angles between them. Only the distances differ from point to point.
struct SurfaceFrame {
    Vec3 E1, E2;  // orthonormal in the surface
    std::array<double, 4> NormalX{}, NormalY{};
    std::array<double, 4> InverseLength{};  // 0: the edge's plane runs along the surface
    OutlineTurns Turns{};
};
SurfaceFrame FrameOf(const FieldEdges& edges, const Vec3& surfaceNormal);

// The field's outline around a point inside it (`fromFocus` = point − focus) on the plane
// through the point with the frame's direction, that plane moved towards the focus by
// `toSurface` (the couch's tissue-equivalent depth: the calculator's phantom surface at d0).
FieldOutline OutlineOnSurface(const FieldEdges& edges, const SurfaceFrame& frame,
                              const Vec3& fromFocus, double toSurface);

}  // namespace ordevo::map
