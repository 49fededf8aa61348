// The propagated uncertainty against the spread of the chain's own results when every input is
// drawn from its distribution (400 draws per case here; docs/uncertainty.md runs 10,000).
#include "propagation_check.h"

#include <gtest/gtest.h>

#include "reference_files.h"
#include "report_evaluation.h"
#include "scatter_kernel_file.h"

namespace ordevo::uncertainty {
namespace {

// The sampled standard deviation matches the combined standard uncertainty (its sampling error
// at 400 draws is about 4 %), and the k = 2 interval holds at least 95 % of the draws.
TEST(PropagationCheck, SampledSpreadMatchesTheBudget) {
    const QString folder = QStringLiteral(ORDEVO_SHIPPED_REFDATA);
    const ReferenceData ref = ReadReferenceData(folder).value();
    const ScatterKernelLoader load = rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(folder));
    std::uint64_t seed = 7;
    for (const TypicalCase& c : TypicalCases(ref)) {
        const PropagationCheck check = CheckPropagation(ref, load, c, 400, seed++);
        EXPECT_EQ(check.Refused, 0) << c.Id;
        EXPECT_NEAR(check.SampledStandardDeviation / check.Budget.CombinedStandardUncertainty(),
                    1.0, 0.12)
            << c.Id;
        EXPECT_GE(check.Coverage, 0.95) << c.Id;
    }
}

}  // namespace
}  // namespace ordevo::uncertainty
