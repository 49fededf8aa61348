// A dose report of 1,000 irradiation events, read and evaluated event by event: the whole run,
// kernel files read once and spectra reused, on the shipped reference data (or ORDEVO_DATA=DIR).
#include <benchmark/benchmark.h>

#include <QString>
#include <QTemporaryDir>

#include "bench_room.h"
#include "dose_report_reader.h"
#include "reference_files.h"
#include "report_evaluation.h"
#include "report_writer.h"
#include "scatter_kernel_file.h"

namespace {

using namespace ordevo;

void ReadAndEvaluate1000Events(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/thousand.dcm").toStdString();
    if (!rdsr::testing::WriteFixtureReport(rdsr::testing::ManyEventReport(1000), path)) {
        state.SkipWithError("fixture not written");
        return;
    }
    const ReferenceData ref = ReadReferenceData(bench::DataFolder()).value();
    const rdsr::PlaneSetup plane = bench::TypicalPlane();
    for (auto _ : state) {
        const rdsr::ReportReading reading = rdsr::ReadDoseReport(path);
        const rdsr::ReportEvaluation result = rdsr::EvaluateReport(
            ref, *reading.Report, plane, nullptr,
            rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(bench::DataFolder())));
        if (result.Planes.empty() || result.Planes[0].Totals.Evaluated != 1000)
            state.SkipWithError("not every event evaluated");
        benchmark::DoNotOptimize(result.Planes[0].Totals.SkinDoseSumMGy);
    }
}
BENCHMARK(ReadAndEvaluate1000Events)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
