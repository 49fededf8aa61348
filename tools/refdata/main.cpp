// ordevo-refdata: writes the program's reference data set into a folder.
#include <chrono>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "generator.h"
#include "refdata_files.h"
#include "tissue_interactions.h"

int main(int argc, char** argv) {
    using namespace ordevo::refdata;
    GeneratorOptions options;
    try {
        options = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& e) {
        std::cerr << e.what() << "\n" << kUsage << "\n";
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        WriteTabulatedFiles(options.OutputFolder);
        const TissueInteractions tissue;
        const std::vector<EnergyResult> results =
            SimulateAllEnergies(tissue, options.Settings, std::cerr);
        WriteMonteCarloFiles(options.OutputFolder, results);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        WriteSummary(results, options.Settings, seconds, std::cout);
    } catch (const std::exception& e) {
        std::cerr << "ordevo-refdata: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
