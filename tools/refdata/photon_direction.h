// Turning a photon's direction after a scattering event, shared by every geometry.
#pragma once

#include <array>

#include "random.h"

namespace ordevo::refdata {

// Turns the unit direction by the polar angle θ (given as cos θ) and an azimuth uniform in 2π.
void Rotate(std::array<double, 3>& d, double cosTheta, Xoshiro256& rng);

}  // namespace ordevo::refdata
