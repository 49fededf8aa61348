// ordevo-map-validation: the skin-dose map against a photon Monte Carlo of the same beams on the
// same patient, case by case; writes the comparison's tables and plot data.
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "map_validation.h"

int main(int argc, char** argv) {
    using namespace ordevo::validation;
    MapValidationOptions options;
    try {
        options = ParseMapArguments(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& e) {
        std::cerr << e.what() << "\n" << kMapUsage << "\n";
        return 2;
    }
    try {
        RunMapValidation(options, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "ordevo-map-validation: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
