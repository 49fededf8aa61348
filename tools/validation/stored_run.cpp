#include "stored_run.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ordevo::validation {

namespace {

// Column indices of cases.csv as WriteReport writes it.
enum Column : std::size_t {
    kCase = 0,
    kFsd = 5,
    kSimulation = 17,
    kSimulationU = 18,
    kPrimary = 19,
    kPrimaryU = 20,
    kHistories = 24,
    kSeconds = 25,
    kImbalance = 26,
    kColumnCount = 27,
};

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
    return fields;
}

double Number(const std::string& text, const std::string& where) {
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size())
        throw std::runtime_error(where + ": \"" + text + "\" is not a number");
    return value;
}

}  // namespace

StoredRun ReadStoredRun(const std::string& folder) {
    const std::filesystem::path dir(folder);
    StoredRun stored;
    std::istringstream csv(ReadWhole(dir / "cases.csv"));
    std::string line;
    std::getline(csv, line);  // header
    for (int lineNumber = 2; std::getline(csv, line); ++lineNumber) {
        if (line.empty()) continue;
        const std::string where =
            (dir / "cases.csv").string() + " line " + std::to_string(lineNumber);
        const std::vector<std::string> f = SplitFields(line);
        if (f.size() != kColumnCount)
            throw std::runtime_error(where + ": " + std::to_string(f.size()) + " fields, " +
                                     std::to_string(kColumnCount) + " expected");
        StoredCase c;
        c.Id = f[kCase];
        c.FocusSkinDistanceCm = Number(f[kFsd], where);
        SimulationValues& s = c.Simulation;
        s.SkinDosePerKar = Number(f[kSimulation], where);
        s.Uncertainty = Number(f[kSimulationU], where);
        s.PrimarySkinDosePerKar = Number(f[kPrimary], where);
        s.PrimaryUncertainty = Number(f[kPrimaryU], where);
        s.Histories = static_cast<std::int64_t>(Number(f[kHistories], where));
        s.Seconds = Number(f[kSeconds], where);
        s.EnergyImbalance = Number(f[kImbalance], where);
        stored.Cases.push_back(c);
    }
    if (stored.Cases.empty()) throw std::runtime_error((dir / "cases.csv").string() + ": no case");

    // The run's line of summary.md: "Full run: N histories per case, T threads, W s wall time,
    // C s CPU time. ..."
    const std::string summary = ReadWhole(dir / "summary.md");
    const std::size_t at = summary.find(" run: ");
    long long histories = 0;
    RunInfo& run = stored.Run;
    if (at == std::string::npos ||
        std::sscanf(summary.c_str() + at,
                    " run: %lld histories per case, %d threads, %lf s wall time, %lf s CPU time",
                    &histories, &run.Threads, &run.WallSeconds, &run.CpuSeconds) != 4)
        throw std::runtime_error((dir / "summary.md").string() + ": no line of the run");
    run.HistoriesPerCase = histories;
    run.Quick = at >= 5 && summary.compare(at - 5, 5, "Quick") == 0;
    return stored;
}

}  // namespace ordevo::validation
