// The half-keV energy grid shared by every per-energy array, and the program's constant π.
#pragma once

#include <array>

namespace ordevo {

// Bins j = 1..300 stand for photon energy 0.5·j keV; element 0 exists and is never used,
// so every formula keeps its 1-based index.
inline constexpr int kBinCount = 300;
using BinArray = std::array<double, kBinCount + 1>;

constexpr double BinEnergyKeV(int j) { return 0.5 * j; }

// The program's stored π: five decimals, not the full-precision value. Every field-size
// and ring-geometry formula uses it, so π/2 = 1.570795 and π/4 = 0.7853975.
inline constexpr double kPi = 3.14159;

// Highest tube voltage the grid covers, kV (2·150 = bin 300).
inline constexpr double kMaxTubeVoltageKv = 150.0;

}  // namespace ordevo
