// Rotation of a direction by a polar angle and a random azimuth.
#include "photon_direction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ordevo::refdata {

void Rotate(std::array<double, 3>& d, double cosTheta, Xoshiro256& rng) {
    const double sinTheta = std::sqrt(std::max(0.0, 1.0 - cosTheta * cosTheta));
    const double phi = 2.0 * std::numbers::pi * rng.Uniform();
    const double cosPhi = std::cos(phi);
    const double sinPhi = std::sin(phi);
    const double w = d[2];
    const double s = std::sqrt(std::max(0.0, 1.0 - w * w));
    if (s < 1e-10) {
        d = {sinTheta * cosPhi, sinTheta * sinPhi, (w > 0 ? 1.0 : -1.0) * cosTheta};
        return;
    }
    const double u = d[0];
    const double v = d[1];
    d[0] = u * cosTheta + sinTheta * (u * w * cosPhi - v * sinPhi) / s;
    d[1] = v * cosTheta + sinTheta * (v * w * cosPhi + u * sinPhi) / s;
    d[2] = w * cosTheta - sinTheta * s * cosPhi;
    const double norm = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    for (double& c : d) c /= norm;
}

}  // namespace ordevo::refdata
