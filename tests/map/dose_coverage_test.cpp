// What a map may say of the dose it could not place: the placed share of the Ka,r, whether some
// dose has no bound at all, and the follow-up level judged on the PSD plus the unplaced bound.
#include <gtest/gtest.h>

#include "dose_coverage.h"

namespace ordevo::map {
namespace {

rdsr::DoseReport ReportOf(const std::vector<std::optional<double>>& kermasMGy) {
    rdsr::DoseReport report;
    for (const std::optional<double>& kar : kermasMGy) {
        rdsr::IrradiationEvent e;
        e.ReferenceAirKermaMGy = kar;
        report.Events.push_back(e);
    }
    return report;
}

TEST(MappedKarShare, WeighsEachEventByItsKermaAndItsPlacedPart) {
    struct Case {
        const char* what;
        std::vector<std::optional<double>> kerma;
        std::vector<double> placed;
        double share;
    } cases[] = {
        {"all placed", {100, 300}, {1, 1}, 1.0},
        {"nothing placed", {100, 300}, {0, 0}, 0.0},
        {"the small one placed", {100, 300}, {1, 0}, 0.25},
        {"a run 40 % placed", {200, 200}, {1, 0.4}, 0.7},  // (200 + 80) / 400
        {"an event without Ka,r adds nothing", {std::nullopt, 50}, {0, 1}, 1.0},
        {"no Ka,r at all", {std::nullopt, 0.0}, {1, 1}, 0.0},
        {"shorter placement list", {100, 100}, {1}, 0.5},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(MappedKarShare(ReportOf(c.kerma), c.placed), c.share) << c.what;
}

TEST(HasUnboundedDose, OnlyAnUncomputedEventThatMayCarryDose) {
    using rdsr::EventStatus;
    struct Case {
        const char* what;
        std::optional<double> kerma;
        std::optional<EventStatus> status;  // none: not evaluated at all (a cancelled run)
        bool unbounded;
    } cases[] = {
        {"evaluated", 100.0, EventStatus::Evaluated, false},
        {"failed with Ka,r", 100.0, EventStatus::Failed, true},
        {"failed without Ka,r", std::nullopt, EventStatus::Failed, true},
        {"skipped at Ka,r 0", 0.0, EventStatus::Skipped, false},
        {"skipped with Ka,r but no P_KA", 40.0, EventStatus::Skipped, true},
        {"never evaluated", 10.0, std::nullopt, true},
    };
    for (const Case& c : cases) {
        const rdsr::DoseReport report = ReportOf({50.0, c.kerma});
        rdsr::ReportEvaluation evaluation;
        evaluation.Planes.emplace_back();
        rdsr::EventEvaluation first;
        first.EventIndex = 0;
        evaluation.Planes[0].Events.push_back(first);
        if (c.status) {
            rdsr::EventEvaluation second;
            second.EventIndex = 1;
            second.Case.Status = *c.status;
            evaluation.Planes[0].Events.push_back(second);
        }
        EXPECT_EQ(HasUnboundedDose(report, evaluation), c.unbounded) << c.what;
    }
}

TEST(JudgeFollowUp, NotReachedOnlyWhenThePsdPlusTheUnplacedBoundStaysBelow) {
    using enum FollowUpStatus;
    struct Case {
        double psd, bound;
        bool unbounded;
        FollowUpStatus status;
    } cases[] = {
        {0, 3711, false, Undetermined},  // nothing placed, the bound above the level
        {0, 1999, false, NotReached},
        {1500, 499.9, false, NotReached},
        {1500, 500, false, Undetermined},  // 2000 reaches the level exactly
        {2000, 0, false, Reached},
        {2500, 9000, false, Reached},  // the placed dose alone reaches it
        {1000, 0, false, NotReached},
        {1000, 0, true, Undetermined},  // dose that no bound holds
        {2000, 0, true, Reached},
        {1000, -5, false, NotReached},  // a negative bound counts as none
    };
    for (const Case& c : cases)
        EXPECT_EQ(JudgeFollowUp(c.psd, c.bound, c.unbounded, 2000), c.status)
            << c.psd << " + " << c.bound << (c.unbounded ? " unbounded" : "");
    EXPECT_STREQ(FollowUpStatusName(Undetermined), "undetermined");
    EXPECT_STREQ(FollowUpStatusName(NotReached), "notReached");
    EXPECT_STREQ(FollowUpStatusName(Reached), "reached");
}

}  // namespace
}  // namespace ordevo::map
