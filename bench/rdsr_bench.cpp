// A dose report of 1,000 irradiation events, read and evaluated event by event: the whole run,
// kernel files read once and spectra reused, on the shipped reference data (or ORDEVO_DATA=DIR).
#include <benchmark/benchmark.h>

#include <QString>
#include <QTemporaryDir>
#include <cstdlib>

#include "dose_report_reader.h"
#include "reference_files.h"
#include "report_evaluation.h"
#include "report_writer.h"
#include "scatter_kernel_file.h"

namespace {

using namespace ordevo;

QString ReportDataFolder() {
    const char* fromEnvironment = std::getenv("ORDEVO_DATA");
    return QString::fromUtf8(fromEnvironment ? fromEnvironment : ORDEVO_REFDATA_DIR);
}

// A typical angiography room: 12° target, 2.5 mm Al inherent, typical tube voltage 80 kV.
rdsr::PlaneSetup TypicalPlane() {
    rdsr::PlaneSetup plane;
    EquipmentData& e = plane.Equipment.Data;
    e.FocusReceptorDistance = 100;
    e.FocusIsocentreDistance = 75;
    e.TargetAngle = 12;
    e.InherentFiltration = 0.25;
    e.CouchTransmission = 0.8;
    e.CouchSoftTissueThickness = 1.2;
    e.CalibrationConstant = 1.05;
    plane.Equipment.TypicalTubeVoltageText = QStringLiteral("80");
    plane.EquipmentName = "Typical.odv3";
    return plane;
}

void ReadAndEvaluate1000Events(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/thousand.dcm").toStdString();
    if (!rdsr::testing::WriteFixtureReport(rdsr::testing::ManyEventReport(1000), path)) {
        state.SkipWithError("fixture not written");
        return;
    }
    const ReferenceData ref = ReadReferenceData(ReportDataFolder()).value();
    const rdsr::PlaneSetup plane = TypicalPlane();
    for (auto _ : state) {
        const rdsr::ReportReading reading = rdsr::ReadDoseReport(path);
        const rdsr::ReportEvaluation result = rdsr::EvaluateReport(
            ref, *reading.Report, plane, nullptr,
            rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(ReportDataFolder())));
        if (result.Planes.empty() || result.Planes[0].Totals.Evaluated != 1000)
            state.SkipWithError("not every event evaluated");
        benchmark::DoNotOptimize(result.Planes[0].Totals.SkinDoseSumMGy);
    }
}
BENCHMARK(ReadAndEvaluate1000Events)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
