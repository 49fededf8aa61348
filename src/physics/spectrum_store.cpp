#include "spectrum_store.h"

#include <algorithm>
#include <iterator>
#include <tuple>

namespace ordevo {

bool SpectrumKey::operator<(const SpectrumKey& o) const {
    const auto scalars = [](const SpectrumKey& k) {
        return std::tie(k.TubeVoltageLowKv, k.TubeVoltageHighKv, k.Weighting, k.TargetAngleDeg,
                        k.InherentFiltrationCm, k.AddedAluminiumCm, k.AddedCopperCm,
                        k.OtherFilterThicknessCm);
    };
    if (scalars(*this) < scalars(o)) return true;
    if (scalars(o) < scalars(*this)) return false;
    // Compared last: equal scalars are rare between different settings.
    return std::lexicographical_compare(
        OtherFilterAttenuation.begin(), OtherFilterAttenuation.end(),
        o.OtherFilterAttenuation.begin(), o.OtherFilterAttenuation.end());
}

bool SpectrumKey::IsOrdered() const {
    const double scalars[] = {TubeVoltageLowKv,      TubeVoltageHighKv, TargetAngleDeg,
                              InherentFiltrationCm,  AddedAluminiumCm,  AddedCopperCm,
                              OtherFilterThicknessCm};
    const auto notNan = [](double x) { return x == x; };
    return std::all_of(std::begin(scalars), std::end(scalars), notNan) &&
           std::all_of(OtherFilterAttenuation.begin(), OtherFilterAttenuation.end(), notNan);
}

SpectrumKey SpectrumKeyOf(const EquipmentData& e, const TubeVoltageRange& v) {
    SpectrumKey k;
    k.TubeVoltageLowKv = v.TubeVoltageLow;
    k.TubeVoltageHighKv = v.TubeVoltageHigh;
    k.Weighting = static_cast<int>(v.Weighting);
    k.TargetAngleDeg = e.TargetAngle;
    k.InherentFiltrationCm = e.InherentFiltration;
    k.AddedAluminiumCm = e.AddedAluminium;
    k.AddedCopperCm = e.AddedCopper;
    if (e.OtherFilterFlag == 1) {
        k.OtherFilterThicknessCm = e.OtherFilterThickness;
        k.OtherFilterAttenuation = e.OtherFilterAttenuation;
    }
    return k;
}

const SpectrumResult& SpectrumStore::Get(const AttenuationTable& table,
                                         const EquipmentData& equipment,
                                         const TubeVoltageRange& voltage) {
    const SpectrumKey key = SpectrumKeyOf(equipment, voltage);
    // A NaN compares neither less nor greater and would find another setting's spectrum.
    if (!key.IsOrdered()) {
        unordered_ = ComputeSpectrum(table, equipment, voltage);
        return unordered_;
    }
    auto found = spectra_.find(key);
    if (found == spectra_.end())
        found = spectra_.emplace(key, ComputeSpectrum(table, equipment, voltage)).first;
    return found->second;
}

}  // namespace ordevo
