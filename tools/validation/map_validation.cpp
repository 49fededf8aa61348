// The map's cases as dose reports, the map of each, its simulation along the same beams, and the
// files of the comparison.
#include "map_validation.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include <QString>

#include "batch_runner.h"
#include "couch.h"
#include "energy_grid.h"
#include "map_transport.h"
#include "report_evaluation.h"
#include "skin_dose_map.h"

namespace ordevo::validation {
namespace {

constexpr double kKarPerEventMGy = 100.0;
// A cell centre on the first isocentre's line along the trunk, so the field's edges along the
// trunk fall near cell borders for the field sizes below (odd whole centimetres at the skin).
constexpr double kLandmarkCm = 20.5;

// The table of the simulation, listed from the patient down; the room profile says the same.
std::vector<CouchLayer> TableLayers(const ValidationContext& context, const MapCase& c) {
    return c.Table ? RealisticCouch(context.Couch()) : std::vector<CouchLayer>{};
}

map::RoomProfile ProfileFor(const std::vector<CouchLayer>& layers) {
    map::RoomProfile p;
    p.Name = "validation";
    p.MattressThicknessCm = layers.empty() ? 0.0 : layers.front().ThicknessCm;
    p.TableTopThicknessCm = 0;
    for (std::size_t i = 1; i < layers.size(); ++i) p.TableTopThicknessCm += layers[i].ThicknessCm;
    p.TableTopWidthCm = layers.empty() ? 50.0 : 2.0 * layers.front().HalfWidthCm;
    return p;
}

rdsr::DoseReport ReportFor(const MapCase& c) {
    rdsr::DoseReport report;
    int n = 0;
    for (const MapEventSpec& spec : c.Events) {
        rdsr::IrradiationEvent e;
        e.Uid = c.Id + "." + std::to_string(++n);
        e.Type = spec.PrimaryEndDeg ? rdsr::EventType::RotationalAcquisition
                                    : rdsr::EventType::StationaryAcquisition;
        e.ReferenceAirKermaMGy = kKarPerEventMGy;
        // Gy·cm²: Ka,r in Gy times the field's area at the reference point.
        e.KermaAreaProductGyCm2 = 0.001 * kKarPerEventMGy * c.FieldSizeCm * c.FieldSizeCm;
        e.TubeVoltageKv = c.TubeVoltageKv;
        e.Filters = {{rdsr::FilterMaterial::Copper, "Copper", c.CopperMm, c.CopperMm},
                     {rdsr::FilterMaterial::Aluminium, "Aluminum", 1.0, 1.0}};
        e.SourceToIsocentreMm = 750.0;
        e.SourceToDetectorMm = 1000.0;
        e.Geometry.PrimaryAngleDeg = spec.PrimaryDeg;
        e.Geometry.SecondaryAngleDeg = spec.SecondaryDeg;
        e.Geometry.PrimaryEndAngleDeg = spec.PrimaryEndDeg;
        e.Geometry.TableLongitudinalMm = 0.0;
        e.Geometry.TableLateralMm = spec.TableTowardsHeadMm;
        e.Geometry.TableHeightMm = 0.0;
        report.Events.push_back(e);
    }
    return report;
}

// The equipment of every case (as the chain validation's), with the table's T and t for the
// case's beam, or no couch.
rdsr::PlaneSetup PlaneFor(const ValidationContext& context, const MapCase& c,
                          const std::vector<CouchLayer>& layers) {
    ValidationCase beam;
    beam.TubeVoltageKv = c.TubeVoltageKv;
    beam.CopperMm = c.CopperMm;
    EquipmentData eq = context.EquipmentFor(beam);
    if (!layers.empty()) {
        const SpectrumResult spectrum = context.SpectrumFor(beam);
        eq.CouchTransmission = AirKermaTransmission(spectrum, c.TubeVoltageKv, [&](int i) {
            const double e = BinEnergyKeV(i);
            return e < MaterialInteractions::kMinEnergyKeV ? 0.0 : PrimaryTransmission(layers, e);
        });
        eq.CouchSoftTissueThickness = ComputeCouchSoftTissueThickness(
            context.Reference().Attenuation, eq, c.TubeVoltageKv, eq.CouchTransmission);
    }
    rdsr::PlaneSetup plane;
    plane.Equipment.Data = eq;
    plane.Equipment.AddedAluminiumMm = 10.0 * eq.AddedAluminium;
    plane.Equipment.AddedCopperMm = 10.0 * eq.AddedCopper;
    plane.Equipment.TypicalTubeVoltageText = QString::number(c.TubeVoltageKv);
    plane.EquipmentName = "validation";
    return plane;
}

std::vector<Solid> SolidsFor(const ValidationContext& context, const map::PatientModel& model,
                             const std::vector<CouchLayer>& layers) {
    const map::TorsoShape& shape = model.Shape;
    const double b = shape.HalfThicknessCm;
    std::vector<Solid> solids;
    Solid patient;
    patient.Material = &context.Tissue();
    if (model.Kind == map::PhantomKind::Torso) {
        patient.Shape = Solid::Kind::EllipticCylinder;
        patient.SemiAxisX = shape.HalfWidthCm;
        patient.SemiAxisZ = b;
        patient.Low = {0, 0, 0};
        patient.High = {0, shape.LengthCm, 0};
    } else {
        // The flat phantom: a 20 cm tissue slab whose lower face is the plane of the cells.
        const double half = 0.5 * model.Columns * model.CellCm;
        patient.Low = {-half, 0, -b};
        patient.High = {half, shape.LengthCm, -b + 20.0};
    }
    solids.push_back(patient);
    double z = -b;
    const double middle = 0.5 * shape.LengthCm;
    for (const CouchLayer& layer : layers) {
        Solid s;
        s.Low = {-layer.HalfWidthCm, middle - layer.HalfLengthCm, z - layer.ThicknessCm};
        s.High = {layer.HalfWidthCm, middle + layer.HalfLengthCm, z};
        s.Material = layer.Material;
        solids.push_back(s);
        z -= layer.ThicknessCm;
    }
    return solids;
}

MapEventSpec Beam(double primaryDeg) { return {primaryDeg, 0.0, std::nullopt, 0.0}; }
MapEventSpec Arc(double fromDeg, double toDeg) { return {fromDeg, 0.0, toDeg, 0.0}; }

std::string Format(double value, int digits = 4) {
    std::ostringstream out;
    out << std::setprecision(digits) << value;
    return out.str();
}

std::string Percent(double ratio) {
    std::ostringstream out;
    out << std::showpos << std::fixed << std::setprecision(1) << 100.0 * (ratio - 1.0) << " %";
    return out.str();
}

}  // namespace

std::vector<MapCase> StandardMapCases() {
    using map::PhantomKind;
    // Field sides at the reference point (60 cm) give odd whole centimetres on the skin of the
    // central cell: 11 cm at FSD 65 (back, front) and at FSD 55 (side), 5, 25 and 15 cm.
    return {
        {"M1",
         "PA through the table onto the back",
         PhantomKind::Torso,
         true,
         80,
         0.1,
         10.15,
         {Beam(0)}},
        {"M2",
         "lateral LAO 90 onto the right side, no table in the beam",
         PhantomKind::Torso,
         true,
         80,
         0.1,
         12.0,
         {Beam(90)}},
        {"M3",
         "two anterior obliques (150°, −170°) overlapping in part",
         PhantomKind::Torso,
         true,
         90,
         0.2,
         10.0,
         {Beam(150), Beam(-170)}},
        {"M4",
         "rotational run 80° → 140° (right side to front), 60 steps",
         PhantomKind::Torso,
         true,
         80,
         0.0,
         8.0,
         {Arc(80, 140)}},
        {"M5",
         "PA on the flat phantom, no table",
         PhantomKind::Plane,
         false,
         80,
         0.1,
         10.15,
         {Beam(0)}},
        {"M6",
         "small field (5 cm at the skin), RAO 90, 60 kV",
         PhantomKind::Torso,
         true,
         60,
         0.0,
         5.45,
         {Beam(-90)}},
        {"M7",
         "large field (25 cm at the skin) from the front, 120 kV",
         PhantomKind::Torso,
         true,
         120,
         0.3,
         23.08,
         {Beam(180)}},
        {"M8",
         "PA on the flat phantom through the table, 100 kV",
         PhantomKind::Plane,
         true,
         100,
         0.2,
         13.85,
         {Beam(0)}},
    };
}

MapCaseResult RunMapCase(const ValidationContext& context, const MapCase& c, int caseIndex,
                         const SimulationSettings& settings) {
    const auto start = std::chrono::steady_clock::now();
    const ReferenceData& ref = context.Reference();
    const std::vector<CouchLayer> layers = TableLayers(context, c);
    const rdsr::DoseReport report = ReportFor(c);
    const rdsr::PlaneSetup plane = PlaneFor(context, c, layers);
    const rdsr::ReportEvaluation evaluation =
        rdsr::EvaluateReport(ref, report, plane, nullptr, context.KernelLoader());
    map::MapSettings mapSettings;
    mapSettings.Phantom = c.Phantom;
    mapSettings.LandmarkCm = kLandmarkCm;
    mapSettings.HeightCm = 170.0;
    mapSettings.WeightKg = 70.0;
    mapSettings.Profile = ProfileFor(layers);
    const map::SkinDoseMap m =
        map::ComputeSkinDoseMap(ref, report, evaluation, mapSettings, context.KernelLoader());
    if (m.MappedEvents != static_cast<int>(c.Events.size()) || !m.PsdCell)
        throw std::runtime_error("case " + c.Id + ": the map did not place every event" +
                                 (m.Unmapped.empty() ? "" : " (" + m.Unmapped[0].Reason + ")"));

    // The simulation: the map's own beams, each step's share of the photons as of Ka,r.
    MapScene scene;
    scene.Model = &m.Model;
    scene.SkinMedium = &context.Tissue();
    scene.Solids = SolidsFor(context, m.Model, layers);
    const rdsr::EventEvaluation& first = evaluation.Planes.at(0).Events.at(0);
    for (const rdsr::EventEvaluation& e : evaluation.Planes[0].Events)
        for (const map::BeamStep& step : m.Placements.at(e.EventIndex).Steps)
            scene.Beams.push_back({step, e.Case.ReferenceDistanceCm,
                                   step.Share / static_cast<double>(c.Events.size())});
    const SpectrumResult spectrum =
        ComputeSpectrum(ref.Attenuation, first.Case.Inputs.Equipment, first.Case.Inputs.Voltage);
    BeamSetup drawing;
    drawing.Spectrum.assign(spectrum.XraySpectrum.begin(), spectrum.XraySpectrum.end());
    drawing.SkinMedium = &context.Tissue();
    const SpectrumSampler sampler(drawing);
    const double karPerPhoton = ReferenceKermaPerPhoton(scene, sampler);

    const int batches = std::max(2, settings.Batches);
    std::vector<CellTally> tallies(static_cast<std::size_t>(batches));
    refdata::RunBatchesInParallel(batches, std::max(1, settings.Threads), [&](int b) {
        const std::int64_t from = settings.Histories * b / batches;
        const std::int64_t to = settings.Histories * (b + 1) / batches;
        TransportMapBatch(scene, sampler, to - from,
                          refdata::BatchSeed(settings.BaseSeed, 100 + caseIndex, b),
                          tallies[static_cast<std::size_t>(b)]);
    });

    MapCaseResult result;
    result.Case = c;
    const double totalKar = kKarPerEventMGy * static_cast<double>(c.Events.size());
    auto simulated = [&](std::size_t cell) {
        std::vector<double> values;
        for (const CellTally& t : tallies)
            values.push_back(t.Score[cell] / (static_cast<double>(t.Histories) *
                                              m.Model.Cells[cell].AreaCm2 * karPerPhoton));
        return refdata::MeanAndUncertainty(values);
    };
    for (std::size_t cell = 0; cell < m.Model.Cells.size(); ++cell)
        result.SimulatedPeak = std::max(result.SimulatedPeak, simulated(cell).first);
    const std::size_t psd = *m.PsdCell;
    result.MapPsd = m.PsdMGy / totalKar;
    std::tie(result.SimulatedAtPsd, result.Uncertainty) = simulated(psd);
    const map::SkinCell& cell = m.Model.Cells[psd];
    result.PsdPlace = map::RegionName(m.Model, cell) + ", " + Format(cell.FromTopCm, 3) +
                      " cm from the top, " + Format(cell.AngleDeg, 3) + "°";

    // Along the trunk from the PSD cell towards the feet: inside while the map gives dose.
    const int columns = m.Model.Columns;
    const int row0 = static_cast<int>(psd) / columns, column = static_cast<int>(psd) % columns;
    int lastInside = row0;
    for (int row = row0; row < m.Model.Rows; ++row) {
        const std::size_t i = static_cast<std::size_t>(row * columns + column);
        ProfilePoint p;
        p.FromCentreCm = (row - row0) * m.Model.CellCm;
        p.Map = m.DoseMGy[i] / totalKar;
        std::tie(p.Simulated, p.Uncertainty) = simulated(i);
        result.Column.push_back(p);
        if (p.Map > 0 && row == lastInside + 1) lastInside = row;
        if (row > lastInside + 4) break;
    }
    const int inside = lastInside - row0;
    const std::pair<const char*, int> points[] = {
        {"centre", 0}, {"half-way", (inside + 1) / 2}, {"edge", inside}, {"outside", inside + 1}};
    for (const auto& [where, offset] : points) {
        if (offset >= static_cast<int>(result.Column.size())) continue;
        ProfilePoint p = result.Column[static_cast<std::size_t>(offset)];
        p.Where = where;
        result.Profile.push_back(p);
    }
    result.Histories = settings.Histories;
    result.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

MapValidationOptions ParseMapArguments(const std::vector<std::string>& arguments) {
    MapValidationOptions o;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw std::invalid_argument(a + " needs a value");
            return arguments[++i];
        };
        auto count = [&](const std::string& text) {
            std::size_t end = 0;
            const long long n = std::stoll(text, &end);
            if (end != text.size() || n < 1) throw std::invalid_argument(a + ": " + text);
            return n;
        };
        if (a == "--refdata")
            o.RefdataFolder = value();
        else if (a == "--out")
            o.OutputFolder = value();
        else if (a == "--quick")
            o.Settings.Histories = kQuickMapHistories;
        else if (a == "--histories")
            o.Settings.Histories = count(value());
        else if (a == "--threads")
            o.Settings.Threads = static_cast<int>(count(value()));
        else if (a == "--seed")
            o.Settings.BaseSeed = static_cast<std::uint64_t>(count(value()));
        else if (a == "--cases") {
            std::stringstream list(value());
            for (std::string id; std::getline(list, id, ',');) o.CaseIds.push_back(id);
        } else
            throw std::invalid_argument("unknown option " + a);
    }
    return o;
}

std::vector<MapCaseResult> RunMapValidation(const MapValidationOptions& options,
                                            std::ostream& progress) {
    const ValidationContext context(options.RefdataFolder);
    std::vector<MapCaseResult> results;
    const std::vector<MapCase> cases = StandardMapCases();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const MapCase& c = cases[i];
        if (!options.CaseIds.empty() && std::find(options.CaseIds.begin(), options.CaseIds.end(),
                                                  c.Id) == options.CaseIds.end())
            continue;
        results.push_back(RunMapCase(context, c, static_cast<int>(i), options.Settings));
        const MapCaseResult& r = results.back();
        progress << c.Id << ": map " << Format(r.MapPsd) << ", simulation "
                 << Format(r.SimulatedAtPsd) << " ± " << Format(r.Uncertainty, 2) << " ("
                 << Format(r.Seconds, 3) << " s)\n";
    }

    const std::filesystem::path out(options.OutputFolder);
    std::filesystem::create_directories(out);
    std::ofstream csv(out / "cases.csv");
    csv << "id,map_psd,simulated_at_psd,uncertainty,simulated_peak,histories\n";
    std::ofstream md(out / "summary.md");
    std::ofstream titles(out / "titles.txt");
    md << "| case | what | PSD place (map) | map PSD / Ka,r | simulation | map − sim. | profile "
          "(centre, half-way, edge, outside): map / sim. − 1 |\n|---|---|---|---|---|---|---|\n";
    for (const MapCaseResult& r : results) {
        titles << r.Case.Id << " " << r.Case.Title << "\n";
        csv << r.Case.Id << "," << r.MapPsd << "," << r.SimulatedAtPsd << "," << r.Uncertainty
            << "," << r.SimulatedPeak << "," << r.Histories << "\n";
        md << "| " << r.Case.Id << " | " << r.Case.Title << " | " << r.PsdPlace << " | "
           << Format(r.MapPsd) << " | " << Format(r.SimulatedAtPsd) << " ± "
           << Format(r.Uncertainty, 2) << " | " << Percent(r.MapPsd / r.SimulatedAtPsd) << " |";
        for (const ProfilePoint& p : r.Profile)
            md << " " << p.Where << " " << Format(p.FromCentreCm, 3) << " cm: "
               << (p.Map > 0 ? Percent(p.Map / p.Simulated)
                             : "map 0, sim. " + Format(p.Simulated, 2))
               << ";";
        md << " |\n";
        std::ofstream dat(out / ("profile_" + r.Case.Id + ".dat"));
        dat << "# cm from the PSD cell along the trunk, map, simulation, uncertainty (per Ka,r)\n";
        for (const ProfilePoint& p : r.Column)
            dat << p.FromCentreCm << " " << p.Map << " " << p.Simulated << " " << p.Uncertainty
                << "\n";
    }
    if (!csv || !md || !titles)
        throw std::runtime_error("cannot write into " + options.OutputFolder);
    return results;
}

}  // namespace ordevo::validation
