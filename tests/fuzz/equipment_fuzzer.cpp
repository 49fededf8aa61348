// Equipment files with their other filter's material file. The input is the equipment file,
// then (after the first NUL byte, if any) the material file it may name. Read as a version-3
// and as a version-1 file: whatever loads keeps the editor's limits, every value finite, and
// the other filter's attenuation finite and not negative.
#include <QDir>

#include "equipment_file.h"
#include "equipment_limits.h"
#include "file_name_check.h"
#include "fuzz_support.h"

using namespace ordevo;
using namespace ordevo::fuzz;

namespace {

void CheckLoaded(const EquipmentFileContents& contents) {
    const EquipmentData& d = contents.Data;
    FUZZ_CHECK(!CheckEquipmentLimits(d).has_value());
    for (const double value :
         {d.FocusReceptorDistance, d.FocusIsocentreDistance, d.TargetAngle, d.InherentFiltration,
          d.AddedAluminium, d.AddedCopper, d.OtherFilterThickness, d.CouchTransmission,
          d.CouchSoftTissueThickness, d.CalibrationConstant, contents.InherentFiltrationMm,
          contents.AddedAluminiumMm, contents.AddedCopperMm, contents.OtherFilterThicknessMm})
        FUZZ_CHECK(std::isfinite(value));
    FUZZ_CHECK(d.FocusIsocentreDistance > 15.0);
    FUZZ_CHECK(d.FocusReceptorDistance > d.FocusIsocentreDistance);
    FUZZ_CHECK(d.TargetAngle > 0.0 && d.TargetAngle < 90.0);
    FUZZ_CHECK(d.CouchTransmission > 0.0 && d.CouchTransmission <= 1.0);
    FUZZ_CHECK(d.CalibrationConstant > 0.0 && d.CouchSoftTissueThickness >= 0.0);
    if (d.OtherFilterFlag == 1) {
        for (int i = 1; i <= kBinCount; ++i)
            FUZZ_CHECK(FiniteAtLeast(d.OtherFilterAttenuation[i], 0.0));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = Input(data, size);
    const qsizetype split = input.indexOf('\0');
    const QByteArray equipment = split < 0 ? input : input.left(split);
    const QByteArray material = split < 0 ? QByteArray() : input.mid(split + 1);

    for (const QString& name : {QStringLiteral("room.odv3"), QStringLiteral("room.odv")}) {
        const QString path = WriteInput(name, equipment);
        const auto read = ReadEquipmentFile(path);
        if (!read) continue;
        CheckLoaded(*read);
        // The material the file names, when it can be a file name at all.
        const QString materialName = read->OtherFilterMaterialText;
        if (read->Data.OtherFilterFlag == 1 && !FileNameProblem(materialName) &&
            materialName.toUtf8().size() < 200)
            WriteInput(materialName + QStringLiteral(".ele"), material);
        const auto loaded = LoadEquipmentFile(path, Scratch().path());
        if (loaded) CheckLoaded(*loaded);
        if (read->Data.OtherFilterFlag == 1 && !FileNameProblem(materialName))
            QFile::remove(Scratch().filePath(materialName + QStringLiteral(".ele")));
    }
    return 0;
}
