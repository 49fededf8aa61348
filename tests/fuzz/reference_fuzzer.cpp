// One of the three reference files (REFERENCE_FILE, chosen at build time), read by its own
// reader with the checks ReadReferenceData applies. Whatever loads is plausible:
// attenuation and energy-absorption coefficients above 0 and at most 1e9, tissue and air
// energy absorption within a factor 2 of each other, backscatter values
// finite and 0 or more, the primary table finite and positive over bins 21..300.
#include "fuzz_support.h"
#include "reference_files.h"

using namespace ordevo;
using namespace ordevo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = WriteInput(QStringLiteral(REFERENCE_FILE), Input(data, size));
    const QString name = QStringLiteral(REFERENCE_FILE);
    if (name == QLatin1String(kAttenuationFileName)) {
        const auto read = ReadAttenuationFile(path);
        if (!read) return 0;
        const AttenuationTable& a = *read;
        for (int i = 1; i <= kBinCount; ++i) {
            for (const BinArray* column :
                 {&a.Tungsten, &a.Aluminium, &a.Copper, &a.AirEnergyAbsorption,
                  &a.TissueEnergyAbsorption, &a.TissueAttenuation})
                FUZZ_CHECK(FiniteAbove((*column)[i], 0.0) && (*column)[i] <= 1e9);
            const double ratio = a.TissueEnergyAbsorption[i] / a.AirEnergyAbsorption[i];
            FUZZ_CHECK(ratio >= 0.5 && ratio <= 2.0);
        }
    } else if (name == QLatin1String(kPrimaryFileName)) {
        const auto read = ReadPrimaryFile(path);
        if (!read) return 0;
        for (int i = 21; i <= kBinCount; ++i) FUZZ_CHECK(FiniteAbove((*read)[i], 0.0));
    } else {
        const auto read = ReadBackscatterFile(path);
        if (!read) return 0;
        FUZZ_CHECK(read->size() == static_cast<std::size_t>(kBackscatterRingCount) + 1);
        for (int ring = 1; ring <= kBackscatterRingCount; ++ring)
            for (int k = 1; k <= kBackscatterEnergyCount; ++k)
                FUZZ_CHECK(FiniteAtLeast((*read)[ring][k], 0.0));
    }
    return 0;
}
