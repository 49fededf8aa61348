// Material files: a table that loads has positive, finite, non-falling energies from 1 keV or
// below up to 10 MeV, positive finite coefficients, and a finite attenuation (0 or more) in
// every half-keV bin.
#include "fuzz_support.h"
#include "material_file.h"

using namespace ordevo;
using namespace ordevo::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = WriteInput(QStringLiteral("m.ele"), Input(data, size));
    (void)ReadMaterialDescription(path);
    const auto read = ReadMaterialFile(path);
    if (read) {
        FUZZ_CHECK(FiniteAbove(read->DensityGPerCm3, 0.0));
        FUZZ_CHECK(!read->Rows.empty() && read->Rows.size() <= kMaxMaterialRows);
        FUZZ_CHECK(read->Rows.front().EnergyMeV <= kMaterialFirstEnergyMaxMeV);
        FUZZ_CHECK(read->Rows.back().EnergyMeV >= kMaterialLastEnergyMeV);
        double previous = 0.0;
        for (const MaterialRow& row : read->Rows) {
            FUZZ_CHECK(FiniteAbove(row.EnergyMeV, 0.0) && row.EnergyMeV >= previous);
            FUZZ_CHECK(FiniteAbove(row.TotalCm2PerG, 0.0));
            previous = row.EnergyMeV;
        }
    }
    const auto table = LoadMaterialTable(path);
    if (table) {
        FUZZ_CHECK(read.has_value());
        for (int i = 1; i <= kBinCount; ++i) FUZZ_CHECK(FiniteAtLeast((*table)[i], 0.0));
    }
    return 0;
}
