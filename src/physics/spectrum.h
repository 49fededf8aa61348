// Semi-empirical thick-target bremsstrahlung spectrum of a tungsten anode, filtered by the
// tube's inherent and added filtration, and its tissue-to-air absorbed-dose ratio.
#pragma once

#include "energy_grid.h"
#include "equipment_data.h"
#include "reference_data.h"
#include "tube_voltage.h"

namespace ordevo {

struct SpectrumResult {
    BinArray XraySpectrum{};  // photon fluence per bin, sums to 1 over bins 2..2·V_hi
    double TissueToAirDoseRatio = 0;
    double TubeVoltage = 0;       // kV of the last voltage step (V_hi for whole half-kV ranges)
    BinArray AirKermaSpectrum{};  // A(j): air energy absorption per bin, summed over the steps
    BinArray TissueAbsorption{};  // B(j): the same for soft tissue
};

// Sums the filtered spectra of the voltage steps V_lo, V_lo + 0.5, … with their weights.
// Throws CalculationError for a voltage above 150 kV or below 0.5 kV, a target angle
// outside 0..90 degrees, a negative or non-finite filtration, a normal weighting over an empty
// range, or a zero total.
SpectrumResult ComputeSpectrum(const AttenuationTable& table, const EquipmentData& equipment,
                               const TubeVoltageRange& voltage);

}  // namespace ordevo
