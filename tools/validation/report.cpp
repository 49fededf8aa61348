// Markdown, CSV and plot-data files of the validation run.
#include "report.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace ordevo::validation {

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

// Writes the whole text to a temporary file beside the target, then renames it over the
// target: a failed run never leaves half a file.
void WriteFile(const std::filesystem::path& path, const std::string& text) {
    const std::filesystem::path temporary = path.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) throw std::runtime_error("cannot write " + temporary.string());
    }
    std::filesystem::rename(temporary, path);
}

const char* CouchName(CouchKind kind) {
    switch (kind) {
    case CouchKind::None: return "none";
    case CouchKind::TissueLayer: return "tissue layer";
    case CouchKind::Realistic: return "realistic";
    }
    return "";
}

std::string Percent(double relative) { return Format("%+.1f %%", 100.0 * relative); }

std::string FieldText(const ValidationCase& c) {
    return Format("%g %s", c.FieldSizeCm, c.Shape == BeamShape::Circle ? "circle" : "square");
}

std::string CouchText(const ValidationCase& c) {
    if (c.Couch == CouchKind::TissueLayer) return Format("tissue %g cm", c.LayerThicknessCm);
    return CouchName(c.Couch);
}

struct DeviationRange {
    double MaxAbsolute = 0;
    double Min = 0;
    double Max = 0;
    std::string Worst;
    bool Any = false;

    void Add(double value, const std::string& id) {
        if (!Any || std::abs(value) > MaxAbsolute) {
            MaxAbsolute = std::abs(value);
            Worst = id;
        }
        Min = Any ? std::min(Min, value) : value;
        Max = Any ? std::max(Max, value) : value;
        Any = true;
    }
};

}  // namespace

void WriteReport(const std::string& folder, const std::vector<CaseResult>& results,
                 const CouchDescription& couch, const RunInfo& run) {
    const std::filesystem::path dir(folder);
    std::filesystem::create_directories(dir);

    std::ostringstream csv;
    csv << "case,kV,Cu_mm,field_cm,shape,FSD_cm,couch,layer_cm,T,t_cm,d0_cm,s0_cm,R,B,F,"
           "chain,old_chain,simulation,u_simulation,sim_primary,u_sim_primary,chain_primary,"
           "dev_chain,dev_old,histories,seconds,energy_imbalance\n";
    std::ostringstream table;
    table << "| case | kV | Cu (mm) | field at d_ref (cm) | FSD (cm) | couch | T | t (cm) | "
             "simulation | "
             "mended chain | deviation | old chain | deviation |\n"
             "|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";
    std::ostringstream factors;
    factors << "| case | d0 (cm) | s0 (cm) | R | B | F | primary: simulation | primary: "
               "R·T·(d_ref/FSD)² | "
               "scatter factor: simulation | scatter factor: chain |\n"
               "|---|---|---|---|---|---|---|---|---|---|\n";
    std::ostringstream circles;
    circles << "| case | s0 (cm) | before: radius d0·s0/SID (cm) | B | chain | deviation | "
               "now: radius s0/2 (cm) | B | chain | deviation |\n"
               "|---|---|---|---|---|---|---|---|---|---|\n";
    std::ostringstream deviations;
    deviations << "# index case deviation_chain u_relative deviation_old couch(0 none,1 layer,2 "
                  "realistic)\n";
    std::map<CouchKind, DeviationRange> chainRange;
    std::map<CouchKind, DeviationRange> oldRange;
    double maxRelativeUncertainty = 0;
    double maxImbalance = 0;

    int index = 0;
    for (const CaseResult& r : results) {
        const ValidationCase& c = r.Case;
        const ChainValues& ch = r.Chain;
        const SimulationValues& s = r.Simulation;
        const double devChain = Deviation(ch.SkinDosePerKar, s.SkinDosePerKar);
        const double devOld = Deviation(ch.OldSkinDosePerKar, s.SkinDosePerKar);
        const double relU = s.Uncertainty / s.SkinDosePerKar;
        const double ratio = ch.ReferenceDistance / ch.FocusSkinDistance;
        const double chainPrimary = ch.TissueToAirDoseRatio * ch.CouchTransmission * ratio * ratio;
        chainRange[c.Couch].Add(devChain, c.Id);
        oldRange[c.Couch].Add(devOld, c.Id);
        maxRelativeUncertainty = std::max(maxRelativeUncertainty, relU);
        maxImbalance = std::max(maxImbalance, std::abs(s.EnergyImbalance));

        csv << Format(
            "%s,%g,%g,%g,%s,%g,%s,%g,%.6f,%.4f,%.4f,%.4f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%."
            "6f,"
            "%.6f,%.6f,%.6f,%lld,%.1f,%.2e\n",
            c.Id.c_str(), c.TubeVoltageKv, c.CopperMm, c.FieldSizeCm,
            c.Shape == BeamShape::Circle ? "circle" : "square", ch.FocusSkinDistance,
            CouchName(c.Couch), c.LayerThicknessCm, ch.CouchTransmission,
            ch.CouchSoftTissueThickness, ch.PhantomSurfaceDistance, ch.SurfaceFieldSize,
            ch.TissueToAirDoseRatio, ch.BackscatterFactor, ch.DepthDoseFactor, ch.SkinDosePerKar,
            ch.OldSkinDosePerKar, s.SkinDosePerKar, s.Uncertainty, s.PrimarySkinDosePerKar,
            s.PrimaryUncertainty, chainPrimary, devChain, devOld,
            static_cast<long long>(s.Histories), s.Seconds, s.EnergyImbalance);
        table << Format(
            "| %s | %g | %g | %s | %g | %s | %.3f | %.2f | %.4f ± %.4f | %.4f | %s | %.4f | %s |\n",
            c.Id.c_str(), c.TubeVoltageKv, c.CopperMm, FieldText(c).c_str(), ch.FocusSkinDistance,
            CouchText(c).c_str(), ch.CouchTransmission, ch.CouchSoftTissueThickness,
            s.SkinDosePerKar, s.Uncertainty, ch.SkinDosePerKar, Percent(devChain).c_str(),
            ch.OldSkinDosePerKar, Percent(devOld).c_str());
        factors << Format(
            "| %s | %.2f | %.2f | %.4f | %.4f | %.4f | %.4f ± %.4f | %.4f | %.3f | %.3f |\n",
            c.Id.c_str(), ch.PhantomSurfaceDistance, ch.SurfaceFieldSize, ch.TissueToAirDoseRatio,
            ch.BackscatterFactor, ch.DepthDoseFactor, s.PrimarySkinDosePerKar, s.PrimaryUncertainty,
            chainPrimary, s.SkinDosePerKar / s.PrimarySkinDosePerKar, ch.ScatterFactor);
        if (c.Shape == BeamShape::Circle) {
            const double d0 = ch.PhantomSurfaceDistance;
            const double before =
                ch.SkinDosePerKar * ch.CircleBackscatterBeforeMend / ch.BackscatterFactor;
            circles << Format(
                "| %s | %.2f | %.2f | %.4f | %.4f | %s | %.2f | %.4f | %.4f | %s |\n", c.Id.c_str(),
                ch.SurfaceFieldSize, d0 * ch.SurfaceFieldSize / run.FocusReceptorDistanceCm,
                ch.CircleBackscatterBeforeMend, before,
                Percent(Deviation(before, s.SkinDosePerKar)).c_str(), 0.5 * ch.SurfaceFieldSize,
                ch.BackscatterFactor, ch.SkinDosePerKar, Percent(devChain).c_str());
        }
        deviations << Format("%d %s %.6f %.6f %.6f %d\n", index, c.Id.c_str(), devChain, relU,
                             devOld, static_cast<int>(c.Couch));
        ++index;
    }

    std::ostringstream summary;
    summary << "| couch | cases | mended chain: max \\|deviation\\| (case) | mended chain: range | "
               "old chain: range |\n|---|---|---|---|---|\n";
    for (const auto kind : {CouchKind::None, CouchKind::TissueLayer, CouchKind::Realistic}) {
        if (!chainRange[kind].Any) continue;
        const auto count =
            std::count_if(results.begin(), results.end(),
                          [kind](const CaseResult& r) { return r.Case.Couch == kind; });
        const DeviationRange& a = chainRange[kind];
        const DeviationRange& b = oldRange[kind];
        summary << Format("| %s | %d | %.1f %% (%s) | %s … %s | %s … %s |\n", CouchName(kind),
                          static_cast<int>(count), 100.0 * a.MaxAbsolute, a.Worst.c_str(),
                          Percent(a.Min).c_str(), Percent(a.Max).c_str(), Percent(b.Min).c_str(),
                          Percent(b.Max).c_str());
    }
    summary << Format(
        "\n%s run: %lld histories per case, %d threads, %.0f s wall time, %.0f s CPU time. "
        "Largest relative statistical uncertainty of a simulated value: %.2f %%. "
        "Largest energy imbalance (deposited + escaped − incident, relative): %.1e.\n",
        run.Quick ? "Quick" : "Full", static_cast<long long>(run.HistoriesPerCase), run.Threads,
        run.WallSeconds, run.CpuSeconds, 100.0 * maxRelativeUncertainty, maxImbalance);
    if (run.ChainReevaluated)
        summary << "The chain's values were evaluated again by the current program against the "
                   "stored simulations of that run.\n";

    std::ostringstream couchTable;
    couchTable
        << "| layer (skin first) | material | thickness (mm) | density (g/cm³) | size (cm) |\n"
           "|---|---|---|---|---|\n";
    for (const CouchLayer& layer : couch.Layers)
        couchTable << Format("| %s | %s | %g | %.3f | %g × %g |\n", layer.Name.c_str(),
                             layer.Material->Name().c_str(), 10.0 * layer.ThicknessCm,
                             layer.Material->Density(), 2.0 * layer.HalfWidthCm,
                             2.0 * layer.HalfLengthCm);
    couchTable << Format(
        "\nAluminium equivalent at 100 kV (this beam, no copper): panel %.2f mm, panel and "
        "mattress %.2f mm.\n",
        couch.PanelAluminiumMm, couch.CouchAluminiumMm);

    // The FSD series: the standard cases that differ only by FSD, one block per couch (gnuplot
    // index).
    std::ostringstream fsd;
    const std::vector<std::pair<const char*, std::vector<std::string>>> series = {
        {"none", {"N2", "N3", "N4"}},
        {"tissue layer", {"L1", "L2", "L3"}},
        {"realistic", {"C1", "C2", "C3"}}};
    for (const auto& [name, ids] : series) {
        fsd << "# " << name << ": FSD sim u_sim chain old\n";
        for (const CaseResult& r : results) {
            if (std::find(ids.begin(), ids.end(), r.Case.Id) == ids.end()) continue;
            fsd << Format("%g %.6f %.6f %.6f %.6f\n", r.Chain.FocusSkinDistance,
                          r.Simulation.SkinDosePerKar, r.Simulation.Uncertainty,
                          r.Chain.SkinDosePerKar, r.Chain.OldSkinDosePerKar);
        }
        fsd << "\n\n";
    }

    WriteFile(dir / "cases.csv", csv.str());
    WriteFile(dir / "cases.md", table.str());
    WriteFile(dir / "factors.md", factors.str());
    WriteFile(dir / "circles.md", circles.str());
    WriteFile(dir / "summary.md", summary.str());
    WriteFile(dir / "couch.md", couchTable.str());
    WriteFile(dir / "fsd.dat", fsd.str());
    WriteFile(dir / "deviations.dat", deviations.str());
}

}  // namespace ordevo::validation
