// Option parsing and the run over the cases.
#include "validation_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "backscatter.h"
#include "report.h"
#include "stored_run.h"

namespace ordevo::validation {

namespace {

std::int64_t PositiveInteger(const std::string& option, const std::string& text) {
    std::size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || value < 1)
        throw std::invalid_argument(option + " needs a positive whole number, not \"" + text +
                                    "\"");
    return value;
}

std::vector<std::string> SplitIds(const std::string& text) {
    std::vector<std::string> ids;
    std::istringstream in(text);
    for (std::string id; std::getline(in, id, ',');)
        if (!id.empty()) ids.push_back(id);
    return ids;
}

double ProcessCpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// The couch's description and the report of the cases.
void WriteRunReport(const ValidationContext& context, const ValidationOptions& options,
                    const std::vector<CaseResult>& results, RunInfo run) {
    CouchDescription couch;
    couch.Layers = RealisticCouch(context.Couch());
    const ValidationCase beam100{"", 100, 0.0, 10, BeamShape::Square, 0.0, CouchKind::None, 0};
    couch.CouchAluminiumMm = AluminiumEquivalentMm(context, beam100, couch.Layers);
    couch.PanelAluminiumMm = AluminiumEquivalentMm(
        context, beam100, std::vector<CouchLayer>(couch.Layers.begin() + 1, couch.Layers.end()));
    run.FocusReceptorDistanceCm = options.Equipment.FocusReceptorDistanceCm;
    WriteReport(options.OutputFolder, results, couch, run);
}

}  // namespace

ValidationOptions ParseArguments(const std::vector<std::string>& arguments) {
    ValidationOptions options;
    bool historiesGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw std::invalid_argument(a + " needs a value");
            return arguments[++i];
        };
        if (a == "--refdata") {
            options.RefdataFolder = value();
        } else if (a == "--out") {
            options.OutputFolder = value();
        } else if (a == "--quick") {
            options.Quick = true;
        } else if (a == "--histories") {
            options.Settings.Histories = PositiveInteger(a, value());
            historiesGiven = true;
        } else if (a == "--threads") {
            options.Settings.Threads =
                static_cast<int>(std::min<std::int64_t>(PositiveInteger(a, value()), 64));
        } else if (a == "--seed") {
            options.Settings.BaseSeed = static_cast<std::uint64_t>(PositiveInteger(a, value()));
        } else if (a == "--phantom") {
            const std::string size = value();
            const auto x = size.find('x');
            if (x == std::string::npos)
                throw std::invalid_argument("--phantom needs WIDTHxDEPTH in cm, e.g. 40x20");
            options.Phantom.WidthCm = static_cast<double>(PositiveInteger(a, size.substr(0, x)));
            options.Phantom.DepthCm = static_cast<double>(PositiveInteger(a, size.substr(x + 1)));
        } else if (a == "--fad") {
            // The focus moved away, the receptor 25 cm beyond the isocentre as in the standard set.
            options.Equipment.FocusIsocentreDistanceCm =
                static_cast<double>(PositiveInteger(a, value()));
            if (options.Equipment.FocusIsocentreDistanceCm < 40)
                throw std::invalid_argument(
                    "--fad needs at least 40 cm (the nearest skin is d_ref − 15 cm)");
            options.Equipment.FocusReceptorDistanceCm =
                options.Equipment.FocusIsocentreDistanceCm + 25.0;
        } else if (a == "--bsf-check") {
            options.BackscatterCheck = true;
        } else if (a == "--rechain") {
            options.Rechain = true;
        } else if (a == "--cases") {
            options.CaseIds = SplitIds(value());
        } else {
            throw std::invalid_argument("unknown argument \"" + a + "\"");
        }
    }
    if (options.Quick && historiesGiven)
        throw std::invalid_argument("--quick and --histories exclude each other");
    if (options.Quick) options.Settings.Histories = kQuickHistoriesPerCase;
    return options;
}

void RunBackscatterCheck(const ValidationOptions& options, std::ostream& progress) {
    const ValidationContext context(options.RefdataFolder);
    constexpr double distance = 10000.0;  // cm: the beam is parallel to 2.5·10⁻⁷ in its corners
    constexpr double field = 10.0;
    std::ostringstream table;
    table << "| E (keV) | simulation | reference data, ring integration | deviation "
             "|\n|---|---|---|---|\n";
    for (const double energy : kCheckEnergiesKeV) {
        const auto bin = static_cast<std::size_t>(std::lround(2.0 * energy));
        BeamSetup setup;
        setup.FieldSizeCm = field;
        setup.ReferenceDistanceCm = distance;
        setup.Spectrum.assign(kBinCount + 1, 0.0);
        setup.Spectrum[bin] = 1.0;
        setup.Boxes = {
            Box{{-50.0, -50.0, distance}, {50.0, 50.0, distance + 40.0}, &context.Tissue()}};
        setup.SkinPlaneCm = distance;
        setup.ScoringRadiusCm = kScoringRadiusPerFieldSize * field;
        setup.SkinMedium = &context.Tissue();
        const SimulationValues sim = Simulate(setup, static_cast<int>(bin), options.Settings);
        const double simulated = sim.SkinDosePerKar / sim.PrimarySkinDosePerKar;
        // Total and primary come from the same histories; the primary's spread is far smaller.
        const double u = sim.Uncertainty / sim.PrimarySkinDosePerKar;
        BinArray spectrum{};
        spectrum[bin] = 1.0;
        const double chain = ComputeBackscatterFactor(
            context.Reference(), BackscatterInputs{.tubeVoltageKv = energy,
                                                   .spectrum = &spectrum,
                                                   .phantomSurfaceDistanceCm = distance,
                                                   .fieldSizeCm = field,
                                                   .shape = FieldShape::Square});
        char row[160];
        std::snprintf(row, sizeof row, "| %g | %.4f ± %.4f | %.4f | %+.2f %% |\n", energy,
                      simulated, u, chain, 100.0 * (chain / simulated - 1.0));
        table << row;
        progress << energy << " keV: simulation " << simulated << " ± " << u << ", reference data "
                 << chain << std::endl;
    }
    std::filesystem::create_directories(options.OutputFolder);
    std::ofstream out(std::filesystem::path(options.OutputFolder) / "bsf.md",
                      std::ios::binary | std::ios::trunc);
    out << table.str();
    if (!out) throw std::runtime_error("cannot write bsf.md in " + options.OutputFolder);
}

std::vector<CaseResult> RunValidation(const ValidationOptions& options, std::ostream& progress) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    const ValidationContext context(options.RefdataFolder, options.Equipment);

    // Diagnostic cases only on request.
    std::vector<ValidationCase> all = StandardCases();
    if (!options.CaseIds.empty())
        for (const ValidationCase& c : DiagnosticCases()) all.push_back(c);
    std::vector<CaseResult> results;
    for (std::size_t index = 0; index < all.size(); ++index) {
        const ValidationCase& c = all[index];
        if (!options.CaseIds.empty() && std::find(options.CaseIds.begin(), options.CaseIds.end(),
                                                  c.Id) == options.CaseIds.end())
            continue;
        CaseResult result{.Case = c, .Chain = EvaluateChain(context, c), .Simulation = {}};
        result.Simulation = Simulate(BuildBeamSetup(context, c, options.Phantom),
                                     static_cast<int>(index), options.Settings);
        const SimulationValues& s = result.Simulation;
        progress << c.Id << ": simulation " << s.SkinDosePerKar << " ± " << s.Uncertainty
                 << ", chain " << result.Chain.SkinDosePerKar << " ("
                 << 100.0 * Deviation(result.Chain.SkinDosePerKar, s.SkinDosePerKar)
                 << " %), old chain " << result.Chain.OldSkinDosePerKar << ", " << s.Seconds << " s"
                 << std::endl;
        results.push_back(result);
    }
    if (results.empty()) throw std::invalid_argument("no case matches --cases");

    RunInfo run;
    run.HistoriesPerCase = options.Settings.Histories;
    run.Threads = options.Settings.Threads;
    run.Quick = options.Quick;
    run.WallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.CpuSeconds = ProcessCpuSeconds() - cpuStart;
    WriteRunReport(context, options, results, run);
    return results;
}

std::vector<CaseResult> RechainStoredRun(const ValidationOptions& options, std::ostream& progress) {
    const ValidationContext context(options.RefdataFolder, options.Equipment);
    StoredRun stored = ReadStoredRun(options.OutputFolder);
    std::vector<ValidationCase> all = StandardCases();
    for (const ValidationCase& c : DiagnosticCases()) all.push_back(c);
    std::vector<CaseResult> results;
    for (const StoredCase& s : stored.Cases) {
        const auto c = std::find_if(all.begin(), all.end(),
                                    [&](const ValidationCase& v) { return v.Id == s.Id; });
        if (c == all.end()) throw std::runtime_error("stored case " + s.Id + " is not a case");
        // cases.csv holds the FSD with %g: six significant digits.
        if (std::abs(context.FocusSkinDistance(*c) - s.FocusSkinDistanceCm) > 1e-3)
            throw std::runtime_error("stored case " + s.Id + " ran at another FSD (--fad?)");
        CaseResult result{
            .Case = *c, .Chain = EvaluateChain(context, *c), .Simulation = s.Simulation};
        progress << c->Id << ": simulation " << s.Simulation.SkinDosePerKar << ", chain "
                 << result.Chain.SkinDosePerKar << " ("
                 << 100.0 * Deviation(result.Chain.SkinDosePerKar, s.Simulation.SkinDosePerKar)
                 << " %)" << std::endl;
        results.push_back(result);
    }
    stored.Run.ChainReevaluated = true;
    WriteRunReport(context, options, results, stored.Run);
    return results;
}

}  // namespace ordevo::validation
