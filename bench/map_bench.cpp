// The skin-dose map beyond the report's own evaluation: a 1,000-event report (mixed angles,
// table moves, fluoroscopy and acquisitions) at 1 cm and 0.5 cm cells, and one rotational run
// of 200 steps, on the shipped reference data (or ORDEVO_DATA=DIR).
#include <benchmark/benchmark.h>

#include <QString>

#include "bench_room.h"
#include "reference_files.h"
#include "report_evaluation.h"
#include "scatter_kernel_file.h"
#include "skin_dose_map.h"

namespace {

using namespace ordevo;

rdsr::IrradiationEvent MapEvent(int i) {
    rdsr::IrradiationEvent e;
    e.Uid = "1.2.3." + std::to_string(i);
    const bool fluoro = i % 3 != 0;
    e.Type = fluoro ? rdsr::EventType::Fluoroscopy : rdsr::EventType::StationaryAcquisition;
    const double kar = 0.5 + 0.1 * (i % 7), side = 8.0 + (i % 5);
    e.ReferenceAirKermaMGy = kar;
    e.KermaAreaProductGyCm2 = kar * side * side / 1000.0;
    e.TubeVoltageKv = 70.0 + 5.0 * (i % 4);
    e.Filters = {rdsr::XrayFilter{rdsr::FilterMaterial::Copper, "Copper", fluoro ? 0.3 : 0.1,
                                  fluoro ? 0.3 : 0.1}};
    e.Geometry.PrimaryAngleDeg = -40.0 + 10.0 * (i % 9);
    e.Geometry.SecondaryAngleDeg = -20.0 + 10.0 * (i % 5);
    e.Geometry.TableLongitudinalMm = 10.0 * (i % 11);
    e.Geometry.TableLateralMm = 5.0 * (i % 13);
    e.Geometry.TableHeightMm = 0.0;
    return e;
}

struct Prepared {
    ReferenceData Ref;
    rdsr::PlaneSetup Plane = bench::TypicalPlane();
    ScatterKernelLoader Loader;
    rdsr::DoseReport Report;
    rdsr::ReportEvaluation Evaluation;
};

Prepared Prepare(std::vector<rdsr::IrradiationEvent> events) {
    Prepared p;
    p.Ref = ReadReferenceData(bench::DataFolder()).value();
    p.Loader = rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(bench::DataFolder()));
    p.Report.Events = std::move(events);
    p.Evaluation = rdsr::EvaluateReport(p.Ref, p.Report, p.Plane, nullptr, p.Loader);
    return p;
}

// range(0): cell side in mm.
void Map1000Events(benchmark::State& state) {
    std::vector<rdsr::IrradiationEvent> events;
    for (int i = 0; i < 1000; ++i) events.push_back(MapEvent(i));
    const Prepared p = Prepare(std::move(events));
    map::MapSettings settings;
    settings.CellCm = static_cast<double>(state.range(0)) / 10.0;
    for (auto _ : state) {
        const map::SkinDoseMap m =
            map::ComputeSkinDoseMap(p.Ref, p.Report, p.Evaluation, settings, p.Loader);
        if (m.MappedEvents != 1000) state.SkipWithError("not every event mapped");
        benchmark::DoNotOptimize(m.PsdMGy);
    }
}
BENCHMARK(Map1000Events)->Arg(10)->Arg(5)->Unit(benchmark::kMillisecond)->Iterations(3);

void MapRotationalRun200Steps(benchmark::State& state) {
    rdsr::IrradiationEvent run = MapEvent(0);
    run.Type = rdsr::EventType::RotationalAcquisition;
    run.Geometry.PrimaryAngleDeg = -100.0;
    run.Geometry.PrimaryEndAngleDeg = 100.0;
    const Prepared p = Prepare({run});
    const map::MapSettings settings;
    for (auto _ : state) {
        const map::SkinDoseMap m =
            map::ComputeSkinDoseMap(p.Ref, p.Report, p.Evaluation, settings, p.Loader);
        benchmark::DoNotOptimize(m.PsdMGy);
    }
}
BENCHMARK(MapRotationalRun200Steps)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
