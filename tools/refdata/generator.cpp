// Orchestration of a generation run and its summary.
#include "generator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>
#include <stdexcept>

#include "refdata_files.h"
#include "text_output.h"

namespace ordevo::refdata {

namespace {

std::int64_t PositiveInteger(const std::string& option, const std::string& text) {
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1)
        throw std::invalid_argument(option + " needs a positive whole number, not \"" + text +
                                    "\"");
    return value;
}

std::string Percent(double relative) {
    return FormatPlain(std::round(relative * 1e5) / 1e3) + " %";
}

}  // namespace

GeneratorOptions ParseArguments(const std::vector<std::string>& arguments) {
    GeneratorOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw std::invalid_argument(option + " needs a value");
            return arguments[++i];
        };
        if (option == "--out") {
            options.OutputFolder = value();
        } else if (option == "--quick") {
            options.Settings.HistoriesPerEnergy = kQuickHistoriesPerEnergy;
        } else if (option == "--histories") {
            options.Settings.HistoriesPerEnergy = PositiveInteger(option, value());
        } else if (option == "--threads") {
            options.Settings.Threads =
                static_cast<int>(std::min<std::int64_t>(PositiveInteger(option, value()), 64));
        } else if (option == "--seed") {
            options.Settings.BaseSeed =
                static_cast<std::uint64_t>(PositiveInteger(option, value()));
        } else {
            throw std::invalid_argument("unknown option " + option);
        }
    }
    return options;
}

std::vector<EnergyResult> SimulateAllEnergies(const TissueInteractions& tissue,
                                              const GenerationSettings& settings,
                                              std::ostream& progress) {
    std::vector<EnergyResult> results;
    for (int energy : kBackscatterEnergiesKeV) {
        const KernelScoring scoring =
            energy >= kFirstKernelEnergyKeV ? KernelScoring::On : KernelScoring::Off;
        results.push_back(SimulateEnergy(tissue, energy, scoring, settings));
        const EnergyResult& r = results.back();
        progress << energy << " keV: " << r.Histories << " histories, "
                 << FormatPlain(std::round(r.Seconds * 10) / 10)
                 << " s, BSF(10x10) - 1 = " << FormatScientific(r.CheckFieldBackscatter, 3)
                 << " +- " << Percent(r.CheckFieldBackscatterRelativeUncertainty) << std::endl;
    }
    return results;
}

void WriteSummary(const std::vector<EnergyResult>& results, const GenerationSettings& settings,
                  double totalSeconds, std::ostream& out) {
    out << "Histories per energy " << settings.HistoriesPerEnergy << " (" << settings.HistoriesAt(1)
        << " up to " << settings.LowEnergyLimitKeV << " keV) in " << settings.Batches
        << " batches, base seed " << settings.BaseSeed << ", " << settings.Threads << " threads, "
        << FormatPlain(std::round(totalSeconds)) << " s in all.\n\n";
    out << "| E (keV) | histories | collisions per history | BSF(10x10) | u(BSF) | u(BSF - 1) | "
           "max u of 10x10 scatter, depth rows 1-10 | energy imbalance | time (s) |\n";
    out << "|---|---|---|---|---|---|---|---|---|\n";
    for (const EnergyResult& r : results) {
        const double bsf = 1.0 + r.CheckFieldBackscatter;
        const double uAbs = r.CheckFieldBackscatterRelativeUncertainty * r.CheckFieldBackscatter;
        std::string kernel = "-";
        if (!r.Kernel.empty()) {
            kernel = Percent(*std::max_element(r.CheckFieldScatterRelativeUncertainty.begin(),
                                               r.CheckFieldScatterRelativeUncertainty.end()));
        }
        out << "| " << r.EnergyKeV << " | " << r.Histories << " | "
            << FormatPlain(std::round(static_cast<double>(r.Collisions) /
                                      static_cast<double>(r.Histories) * 100) /
                           100)
            << " | " << FormatPlain(std::round(bsf * 1e4) / 1e4) << " | " << Percent(uAbs / bsf)
            << " | " << Percent(r.CheckFieldBackscatterRelativeUncertainty) << " | " << kernel
            << " | " << FormatScientific(r.EnergyImbalance, 1) << " | "
            << FormatPlain(std::round(r.Seconds * 10) / 10) << " |\n";
    }
}

}  // namespace ordevo::refdata
