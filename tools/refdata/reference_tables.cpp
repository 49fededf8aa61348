// Attenuation and primary-dose tables on the program's energy grids, from NIST SRD 126.
#include "reference_tables.h"

#include "materials.h"
#include "nist_tables.h"

namespace ordevo::refdata {

std::array<AttenuationRecord, kAttenuationRecordCount> BuildAttenuationRecords() {
    std::array<AttenuationRecord, kAttenuationRecordCount> records{};
    for (int j = 1; j <= kAttenuationRecordCount; ++j) {
        const double e = 0.5 * j;
        records[static_cast<std::size_t>(j - 1)] = AttenuationRecord{
            .EnergyKeV = e,
            .TungstenMu =
                kTungstenDensity * InterpolateLogLog(NistTungsten(), Coefficient::Attenuation, e),
            .AluminiumMu =
                kAluminiumDensity * InterpolateLogLog(NistAluminium(), Coefficient::Attenuation, e),
            .CopperMu =
                kCopperDensity * InterpolateLogLog(NistCopper(), Coefficient::Attenuation, e),
            .AirMuEnOverRho = InterpolateLogLog(NistAirDry(), Coefficient::EnergyAbsorption, e),
            .TissueMuEnOverRho = TissueMuEnOverRho(e),
            .TissueMu = kSoftTissueDensity *
                        InterpolateLogLog(NistSoftTissueIcru44(), Coefficient::Attenuation, e),
        };
    }
    return records;
}

std::array<PrimaryRecord, kPrimaryRecordCount> BuildPrimaryRecords() {
    std::array<PrimaryRecord, kPrimaryRecordCount> records{};
    for (int k = 2; k <= 30; ++k) {
        const double e = 5.0 * k;
        records[static_cast<std::size_t>(k - 2)] = PrimaryRecord{
            .EnergyKeV = e,
            .DosePerFluence = e * TissueMuEnOverRho(e) * kPicograyCm2PerKeVCm2PerG,
        };
    }
    return records;
}

double TissueMuEnOverRho(double energyKeV) {
    return InterpolateLogLog(NistSoftTissueIcru44(), Coefficient::EnergyAbsorption, energyKeV);
}

}  // namespace ordevo::refdata
