// Spectra computed once per distinct setting: a report of thousands of events has a handful of
// tube voltages and filtrations, and the map and the evaluation ask for the same spectra again.
// The key holds every input ComputeSpectrum reads, so two tubes (two planes) with the same
// voltage but another target angle or inherent filtration never share a spectrum.
#pragma once

#include <map>

#include "equipment_data.h"
#include "reference_data.h"
#include "spectrum.h"
#include "tube_voltage.h"

namespace ordevo {

struct SpectrumKey {
    double TubeVoltageLowKv = 0, TubeVoltageHighKv = 0;
    int Weighting = 0;
    double TargetAngleDeg = 0;
    double InherentFiltrationCm = 0, AddedAluminiumCm = 0, AddedCopperCm = 0;
    // The other filter only where it is in use (ComputeSpectrum ignores it otherwise).
    double OtherFilterThicknessCm = 0;
    BinArray OtherFilterAttenuation{};

    bool operator<(const SpectrumKey& other) const;
    bool IsOrdered() const;  // no NaN: the key can be stored
};

SpectrumKey SpectrumKeyOf(const EquipmentData& equipment, const TubeVoltageRange& voltage);

// Not thread-safe: one store per evaluation or map. The attenuation table must be the same for
// every call on one store (the program has one set of reference data at a time).
class SpectrumStore {
public:
    // Throws what ComputeSpectrum throws; a failed setting is not stored.
    const SpectrumResult& Get(const AttenuationTable& table, const EquipmentData& equipment,
                              const TubeVoltageRange& voltage);
    std::size_t Size() const { return spectra_.size(); }

private:
    std::map<SpectrumKey, SpectrumResult> spectra_;
    SpectrumResult unordered_;  // the last spectrum of a key that cannot be stored
};

}  // namespace ordevo
