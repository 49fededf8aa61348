// A complete working folder of smooth, physically shaped synthetic reference data, so that
// end-to-end tests run without the shipped tables and give finite, plausible doses.
#pragma once

#include <QString>

namespace ordevo::testing {

// Writes the three reference files, the 29 scatter kernels of "PDS-data", the equipment file
// "Room1.odv3" (FIR 100 cm, FAD 75 cm, 12°, 2.5 mm Al inherent, 0.1 mm Cu, couch 0.800 and
// 1.200 cm, calibration 1.050) and the material file "Mo.ele" into `folder`.
void WriteSyntheticWorkingFolder(const QString& folder);

// Synthetic coefficient curves, for tests that want to check a value by hand.
double SyntheticTissueAttenuation(double energyKeV);       // 1/cm
double SyntheticTissueEnergyAbsorption(double energyKeV);  // cm²/g
double SyntheticAirEnergyAbsorption(double energyKeV);     // cm²/g

}  // namespace ordevo::testing
