// ordevo-uncertainty: the skin-dose uncertainty budget of three typical cases, each checked by
// sampling every input from its distribution and evaluating the chain for each draw. Writes
// Markdown tables for docs/uncertainty.md.
#include <QString>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "procedure_budget.h"
#include "propagation_check.h"
#include "reference_files.h"
#include "report_evaluation.h"
#include "scatter_kernel_file.h"

namespace {

constexpr const char* kUsage =
    "usage: ordevo-uncertainty --refdata DIR --out DIR [--samples N] [--quick]\n"
    "  writes DIR/budgets.md, DIR/procedure.md and DIR/check.md; --quick draws 400 samples "
    "(default 10000)";

}  // namespace

int main(int argc, char** argv) {
    using namespace ordevo;
    std::string refdata, out;
    int samples = 10000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::cerr << kUsage << "\n";
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--refdata")
            refdata = next();
        else if (arg == "--out")
            out = next();
        else if (arg == "--samples")
            samples = std::atoi(next().c_str());
        else if (arg == "--quick")
            samples = 400;
        else {
            std::cerr << kUsage << "\n";
            return 2;
        }
    }
    if (refdata.empty() || out.empty() || samples < 2) {
        std::cerr << kUsage << "\n";
        return 2;
    }
    try {
        const QString folder = QString::fromStdString(refdata);
        const ReferenceData ref = ReadReferenceData(folder).value();
        const ScatterKernelLoader load =
            rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(folder));
        const std::vector<uncertainty::TypicalCase> cases = uncertainty::TypicalCases(ref);
        std::vector<uncertainty::PropagationCheck> checks;
        std::string budgets;
        std::uint64_t seed = 20261207;
        for (const uncertainty::TypicalCase& c : cases) {
            checks.push_back(uncertainty::CheckPropagation(ref, load, c, samples, seed++));
            budgets += uncertainty::BudgetTable(c, checks.back()) + "\n";
        }
        std::ofstream(out + "/budgets.md") << budgets;
        std::ofstream(out + "/procedure.md") << uncertainty::ProcedureBudgetTable(ref, load);
        std::ofstream(out + "/check.md") << uncertainty::CheckTable(cases, checks);
        std::cout << uncertainty::CheckTable(cases, checks);
    } catch (const std::exception& e) {
        std::cerr << "ordevo-uncertainty: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
