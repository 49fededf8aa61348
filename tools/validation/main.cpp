// ordevo-validation: checks the skin-dose chain against a direct photon Monte Carlo of the
// situation it models, case by case, and writes the tables and plot data.
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "validation_run.h"

int main(int argc, char** argv) {
    using namespace ordevo::validation;
    ValidationOptions options;
    try {
        options = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& e) {
        std::cerr << e.what() << "\n" << kUsage << "\n";
        return 2;
    }
    try {
        if (options.BackscatterCheck)
            RunBackscatterCheck(options, std::cerr);
        else if (options.Rechain)
            RechainStoredRun(options, std::cerr);
        else
            RunValidation(options, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "ordevo-validation: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
