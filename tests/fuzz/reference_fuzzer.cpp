// One of the three reference files (REFERENCE_FILE, chosen at build time; the other two are
// the shipped ones, copied from ORDEVO_REFDATA at start). Whatever loads is plausible:
// attenuation and energy-absorption coefficients above 0 and at most 1e9, tissue and air
// energy absorption within a factor 2 of each other, backscatter values
// finite and 0 or more, the primary table finite and positive over bins 21..300.
#include <QDir>
#include <QFile>

#include "fuzz_support.h"
#include "reference_files.h"

using namespace ordevo;
using namespace ordevo::fuzz;

namespace {

void CopyShippedFiles() {
    for (const char* name : {kBackscatterFileName, kAttenuationFileName, kPrimaryFileName}) {
        const QString target = Scratch().filePath(QString::fromLatin1(name));
        QFile::remove(target);
        if (!QFile::copy(QDir(QStringLiteral(ORDEVO_REFDATA)).filePath(QString::fromLatin1(name)), target))
            Violated("the shipped reference files can be copied", __FILE__, __LINE__);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    CopyShippedFiles();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteInput(QStringLiteral(REFERENCE_FILE), Input(data, size));
    const auto read = ReadReferenceData(Scratch().path());
    if (!read) return 0;
    const AttenuationTable& a = read->Attenuation;
    for (int i = 1; i <= kBinCount; ++i) {
        for (const BinArray* column : {&a.Tungsten, &a.Aluminium, &a.Copper, &a.AirEnergyAbsorption,
                                       &a.TissueEnergyAbsorption, &a.TissueAttenuation})
            FUZZ_CHECK(FiniteAbove((*column)[i], 0.0) && (*column)[i] <= 1e9);
        const double ratio = a.TissueEnergyAbsorption[i] / a.AirEnergyAbsorption[i];
        FUZZ_CHECK(ratio >= 0.5 && ratio <= 2.0);
        if (i >= 21) FUZZ_CHECK(FiniteAbove(read->PrimaryTable[i], 0.0));
    }
    for (int ring = 1; ring <= kBackscatterRingCount; ++ring)
        for (int k = 1; k <= kBackscatterEnergyCount; ++k)
            FUZZ_CHECK(FiniteAtLeast(read->BackscatterTable[ring][k], 0.0));
    return 0;
}
