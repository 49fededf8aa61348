// Costs of one evaluation against its floor, the reading of the 29 scatter-kernel files that
// every evaluation repeats. Run on the shipped reference data (or ORDEVO_DATA=DIR).
#include <benchmark/benchmark.h>

#include <QString>

#include "bench_room.h"
#include "dose_evaluation.h"
#include "reference_files.h"
#include "scatter_kernel_file.h"
#include "spectrum.h"

namespace {

using namespace ordevo;

const ReferenceData& Reference() {
    static const ReferenceData ref = ReadReferenceData(bench::DataFolder()).value();
    return ref;
}

// A typical angiography room: 12° target, 2.5 mm Al inherent, 0.2 mm Cu added.
EquipmentData TypicalEquipment() {
    EquipmentData e;
    e.FocusReceptorDistance = 100;
    e.FocusIsocentreDistance = 75;
    e.TargetAngle = 12;
    e.InherentFiltration = 0.25;
    e.AddedCopper = 0.02;
    e.CouchTransmission = 0.8;
    e.CouchSoftTissueThickness = 1.2;
    e.CalibrationConstant = 1.05;
    return e;
}

DoseCase TypicalCase(const TubeVoltageRange& voltage) {
    return DoseCase{.ReferenceAirKermaMGy = 500,
                    .KermaAreaProductGyCm2 = 50,
                    .FocusSkinDistanceCm = 60,
                    .ReferenceFieldSizeCm = 10,
                    .Shape = FieldShape::Square,
                    .Equipment = TypicalEquipment(),
                    .Voltage = voltage};
}

void ReadAllKernels(benchmark::State& state) {
    const ScatterKernelLoader load = MakeScatterKernelLoader(bench::DataFolder());
    for (auto _ : state) {
        for (int keV = 10; keV <= 150; keV += 5) benchmark::DoNotOptimize(load(keV));
    }
}
BENCHMARK(ReadAllKernels)->Unit(benchmark::kMillisecond);

void Evaluate(benchmark::State& state, const TubeVoltageRange& voltage) {
    const ReferenceData& ref = Reference();
    const DoseCase in = TypicalCase(voltage);
    const ScatterKernelLoader load = MakeScatterKernelLoader(bench::DataFolder());
    for (auto _ : state) {
        const DoseEvaluation e = EvaluateDose(ref, in, load);
        if (e.Outcome != EvaluationOutcome::Completed)
            state.SkipWithError(DiagnosticText(e.Failure).c_str());
        benchmark::DoNotOptimize(e.Result.SkinDose);
    }
}

void EvaluateFixed80kV(benchmark::State& state) { Evaluate(state, *MakeFixedTubeVoltage(80)); }
BENCHMARK(EvaluateFixed80kV)->Unit(benchmark::kMillisecond);

void EvaluateNormalRange40To150kV(benchmark::State& state) {
    Evaluate(state, *MakeTubeVoltageRange(40, 150, TubeVoltageWeighting::Normal));
}
BENCHMARK(EvaluateNormalRange40To150kV)->Unit(benchmark::kMillisecond);

void Spectrum150kV(benchmark::State& state) {
    const ReferenceData& ref = Reference();
    const EquipmentData equipment = TypicalEquipment();
    const TubeVoltageRange voltage = *MakeFixedTubeVoltage(150);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ComputeSpectrum(ref.Attenuation, equipment, voltage).TissueToAirDoseRatio);
    }
}
BENCHMARK(Spectrum150kV)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
