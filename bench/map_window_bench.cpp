// What the map window does when a placement control changes, on an 89-event report shaped like
// an embolisation (fluoroscopy at a few C-arm angles with the table moving, runs of acquisitions
// between): copy the report, apply the lying chosen, map it (what the user waits for to see the
// map); then, in the window's second pass, the placement's share of the PSD's interval (four maps
// more). At 1 cm and 0.5 cm cells.
#include <benchmark/benchmark.h>

#include <QString>

#include "bench_room.h"
#include "patient_lying.h"
#include "reference_files.h"
#include "report_evaluation.h"
#include "scatter_kernel_file.h"
#include "skin_dose_map.h"

namespace {

using namespace ordevo;

rdsr::IrradiationEvent ProcedureEvent(int i) {
    rdsr::IrradiationEvent e;
    e.Uid = "1.2.392.7." + std::to_string(i);
    const bool acquisition = i % 6 == 5;
    e.Type = acquisition ? rdsr::EventType::StationaryAcquisition : rdsr::EventType::Fluoroscopy;
    const double kar = acquisition ? 25.0 : 6.0 + (i % 4), side = acquisition ? 20.0 : 14.0;
    e.ReferenceAirKermaMGy = kar;
    e.KermaAreaProductGyCm2 = kar * side * side / 1000.0;
    e.TubeVoltageKv = acquisition ? 75.0 : 85.0;
    e.Filters = {rdsr::XrayFilter{rdsr::FilterMaterial::Copper, "Copper", acquisition ? 0.1 : 0.3,
                                  acquisition ? 0.1 : 0.3}};
    const double angles[] = {0.0, 25.0, -30.0, 40.0};
    e.Geometry.PrimaryAngleDeg = angles[(i / 12) % 4];
    e.Geometry.SecondaryAngleDeg = (i / 24) % 2 == 0 ? 0.0 : 15.0;
    e.Geometry.TableLongitudinalMm = 3.0 * (i % 9);
    e.Geometry.TableLateralMm = 120.0 + 4.0 * (i % 15);
    e.Geometry.TableHeightMm = 0.0;
    e.Geometry.CollimatedFieldHeightMm = e.Geometry.CollimatedFieldWidthMm = side * 10.0 * 1.33;
    return e;
}

// range(0): cell side in mm; range(1): 1 to add the second pass.
void RemapProcedure89Events(benchmark::State& state) {
    // The typical room with a longer focus–receptor distance and a calibration of 1.
    rdsr::PlaneSetup plane = bench::TypicalPlane();
    plane.Equipment.Data.FocusReceptorDistance = 110;
    plane.Equipment.Data.CalibrationConstant = 1.0;
    const ReferenceData ref = ReadReferenceData(bench::DataFolder()).value();
    const ScatterKernelLoader loader =
        rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(bench::DataFolder()));
    rdsr::DoseReport report;
    for (int i = 0; i < 89; ++i) report.Events.push_back(ProcedureEvent(i));
    const rdsr::ReportEvaluation evaluation =
        rdsr::EvaluateReport(ref, report, plane, nullptr, loader);
    map::MapSettings settings;
    settings.CellCm = static_cast<double>(state.range(0)) / 10.0;
    for (auto _ : state) {
        rdsr::DoseReport placed = report;
        map::ApplyPatientLying(placed, map::PatientLying::HeadFirstSupine);
        map::SkinDoseMap m = map::ComputeSkinDoseMap(ref, placed, evaluation, settings, loader);
        if (state.range(1) == 1)
            map::AddPlacementUncertainty(m, ref, placed, evaluation, settings, loader);
        if (m.MappedEvents != 89) state.SkipWithError("not every event mapped");
        benchmark::DoNotOptimize(m.PsdMGy);
    }
}
BENCHMARK(RemapProcedure89Events)
    ->ArgsProduct({{10, 5}, {0, 1}})
    ->ArgNames({"cell_mm", "placement"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
