#include "surface_field.h"

#include <algorithm>
#include <cmath>

namespace ordevo::map {

FieldEdges EdgesOf(const BeamStep& s, double referenceDistanceCm) {
    // |p| ≤ halfWidth · along / d_ref with p = (X − F)·U, along = (X − F)·Axis: two planes per
    // side of the field, each through the focus.
    const double kU = s.HalfWidthAtReferenceCm / referenceDistanceCm;
    const double kV = s.HalfHeightAtReferenceCm / referenceDistanceCm;
    return {
        {s.U - s.Axis * kU, s.V - s.Axis * kV, s.U * -1.0 - s.Axis * kU, s.V * -1.0 - s.Axis * kV}};
}

FieldOutline OutlineOnSurface(const FieldEdges& edges, const Vec3& fromFocus,
                              const Vec3& surfaceNormal, double toSurface) {
    // An orthonormal pair in the surface: the trunk's axis where the normal is across it.
    const Vec3 n = surfaceNormal;
    const Vec3 seed = std::abs(n.y) < 0.9 ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    Vec3 e1 = seed - n * seed.Dot(n);
    e1 = e1 * (1.0 / e1.Length());
    const Vec3 e2 = n.Cross(e1);
    FieldOutline out;
    for (std::size_t i = 0; i < 4; ++i) {
        // On the surface X = point + s·e1 + t·e2 the edge is c + s·gx + t·gy = 0.
        const Vec3& m = edges.Normal[i];
        const double c = m.Dot(fromFocus), gx = m.Dot(e1), gy = m.Dot(e2);
        const double g = std::sqrt(gx * gx + gy * gy);
        if (!(g > 1e-12)) {
            // The edge's plane runs along the surface: no edge within reach.
            out.DistanceCm[i] = 1e9;
            out.NormalX[i] = out.NormalY[i] = 0.0;
            continue;
        }
        // Edges are planes through the focus, so moving the surface towards the focus scales
        // every distance by the same factor.
        out.DistanceCm[i] = std::max(0.0, -c / g) * toSurface;
        out.NormalX[i] = gx / g;
        out.NormalY[i] = gy / g;
    }
    return out;
}

}  // namespace ordevo::map
