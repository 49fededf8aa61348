// Small hand-made inputs for the physics tests: flat tables whose results can be worked out on
// paper.
#pragma once

#include "depth_dose.h"
#include "equipment_data.h"
#include "reference_data.h"

namespace ordevo::testing {

inline BinArray Constant(double value, int firstBin = 1, int lastBin = kBinCount) {
    BinArray bins{};
    for (int j = firstBin; j <= lastBin; ++j) bins[j] = value;
    return bins;
}

// No attenuation anywhere, air absorption 1 and tissue absorption 1.2 per bin.
inline AttenuationTable TransparentTable() {
    AttenuationTable table;
    table.AirEnergyAbsorption = Constant(1.0);
    table.TissueEnergyAbsorption = Constant(1.2);
    return table;
}

// A 12-degree anode with no filtration.
inline EquipmentData PlainEquipment() {
    EquipmentData equipment;
    equipment.TargetAngle = 12.0;
    equipment.FocusReceptorDistance = 100.0;
    equipment.FocusIsocentreDistance = 65.0;
    equipment.CouchTransmission = 1.0;
    equipment.CalibrationConstant = 1.0;
    return equipment;
}

// Equal photon fluence in bins 2..2·kV.
inline BinArray FlatSpectrum(double kv) {
    const int last = static_cast<int>(2.0 * kv);
    return Constant(1.0 / (last - 1), 2, last);
}

inline ReferenceData TinyReferenceData(double backscatterPerRing = 0.0) {
    ReferenceData ref;
    ref.Attenuation = TransparentTable();
    ref.BackscatterEnergyGrid = MakeBackscatterEnergyGrid();
    for (int r = 1; r <= kBackscatterRingCount; ++r)
        for (int k = 1; k <= kBackscatterEnergyCount; ++k)
            ref.BackscatterTable[r][k] = backscatterPerRing;
    return ref;
}

inline ScatterKernel UniformKernel(double value) {
    ScatterKernel kernel{};
    for (int j = 1; j <= kKernelRows; ++j)
        for (int n = 1; n <= kKernelColumns; ++n) kernel[j][n] = value;
    return kernel;
}

inline ScatterKernelLoader UniformKernels(double value) {
    return [value](int) { return UniformKernel(value); };
}

}  // namespace ordevo::testing
