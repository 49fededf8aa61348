// The map's Monte Carlo check in its quick form: the map against the simulation of the same
// beams where the chain has no couch to model (a lateral beam, the flat phantom without table).
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "map_validation.h"

namespace ordevo::validation {
namespace {

const ValidationContext& Context() {
    static const ValidationContext context(ORDEVO_SHIPPED_REFDATA);
    return context;
}

MapCase MapCaseById(const std::string& id) {
    for (const MapCase& c : StandardMapCases())
        if (c.Id == id) return c;
    throw std::invalid_argument("no case " + id);
}

// 5 % is the map's target without a table; three standard uncertainties of 200,000 photons
// on top, so the test fails on a fault, not on noise.
TEST(MapValidation, PsdAndFieldCentreAgreeWithTheSimulationWithoutTable) {
    const SimulationSettings settings{.Histories = 200'000, .Batches = 10, .Threads = 2};
    for (const char* id : {"M2", "M5"}) {
        const MapCaseResult r = RunMapCase(Context(), MapCaseById(id), 0, settings);
        ASSERT_GT(r.SimulatedAtPsd, 0.0) << id;
        EXPECT_NEAR(r.MapPsd / r.SimulatedAtPsd, 1.0, 0.05 + 3.0 * r.Uncertainty / r.SimulatedAtPsd)
            << id;
        ASSERT_EQ(r.Profile.size(), 4u) << id;
        EXPECT_EQ(r.Profile[3].Map, 0.0) << id;  // just outside: the map counts no scatter
        EXPECT_GT(r.Profile[3].Simulated, 0.0) << id;
        EXPECT_LT(r.Profile[3].Simulated, 0.5 * r.Profile[0].Simulated) << id;
    }
}

}  // namespace
}  // namespace ordevo::validation
