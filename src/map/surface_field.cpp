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

SurfaceFrame FrameOf(const FieldEdges& edges, const Vec3& n) {
    SurfaceFrame f;
    // An orthonormal pair in the surface: the trunk's axis where the normal is across it.
    if (n.y == 0.0) {
        f.E1 = {0, 1, 0};
        f.E2 = {-n.z, 0, n.x};
    } else {
        const Vec3 seed = std::abs(n.y) < 0.9 ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
        f.E1 = seed - n * seed.Dot(n);
        f.E1 = f.E1 * (1.0 / f.E1.Length());
        f.E2 = n.Cross(f.E1);
    }
    FieldOutline directions;
    for (std::size_t i = 0; i < 4; ++i) {
        // On the surface X = point + s·e1 + t·e2 the edge is c + s·gx + t·gy = 0.
        const double gx = edges.Normal[i].Dot(f.E1), gy = edges.Normal[i].Dot(f.E2);
        const double g = std::sqrt(gx * gx + gy * gy);
        if (!(g > 1e-12)) continue;  // the edge's plane runs along the surface
        f.InverseLength[i] = 1.0 / g;
        f.NormalX[i] = directions.NormalX[i] = gx / g;
        f.NormalY[i] = directions.NormalY[i] = gy / g;
    }
    f.Turns = TurnsOf(directions);
    return f;
}

FieldOutline OutlineOnSurface(const FieldEdges& edges, const SurfaceFrame& frame,
                              const Vec3& fromFocus, double toSurface) {
    FieldOutline out;
    out.NormalX = frame.NormalX;
    out.NormalY = frame.NormalY;
    for (std::size_t i = 0; i < 4; ++i) {
        // Edges are planes through the focus, so moving the surface towards the focus scales
        // every distance by the same factor. An edge along the surface is out of reach.
        const double c = edges.Normal[i].Dot(fromFocus);
        out.DistanceCm[i] = frame.InverseLength[i] > 0.0
                                ? std::max(0.0, -c * frame.InverseLength[i]) * toSurface
                                : 1e9;
    }
    return out;
}

}  // namespace ordevo::map
