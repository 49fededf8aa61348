// What the user reads when an evaluation or the couch computation stops.
#include "evaluation_messages.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace ordevo {
namespace {

TEST(EvaluationMessages, EachOutcomeHasItsFixedMessage) {
    EXPECT_STREQ(MessageFor(EvaluationOutcome::CalculationFailed),
                 "　???  正しく計算できませんでした  ???   ");
    EXPECT_STREQ(MessageFor(EvaluationOutcome::DepthDoseFailed), " 正しく計算できません ");
    EXPECT_STREQ(MessageFor(EvaluationOutcome::Completed), "");
}

// The step's message, then the reason on its own line: the computation's failure in words, or
// the text a loader threw.
TEST(EvaluationMessages, FailureMessageIsTheOutcomeThenTheReason) {
    DoseEvaluation computed;
    computed.Outcome = EvaluationOutcome::DepthDoseFailed;
    computed.Failure = {
        CalculationProblem::DepthDoseCouchOutsideTable, CalculatedQuantity::None, {20}};
    EXPECT_EQ(FailureMessageFor(computed),
              std::string(kDepthDoseFailedMessage) +
                  "\n深部線量: 天板の軟部組織等価厚 20 cm が 0〜19.75 cm の外です");

    DoseEvaluation loader;
    loader.Outcome = EvaluationOutcome::DepthDoseFailed;
    loader.CallerFailureText = "PDS-data40 を読めません";
    EXPECT_EQ(FailureMessageFor(loader),
              std::string(kDepthDoseFailedMessage) + "\nPDS-data40 を読めません");
}

TEST(EvaluationMessages, CouchProblemsHaveDistinctMessagesAndTheirReason) {
    using P = CouchInputProblem;
    std::set<std::string> messages;
    for (int p = 0; p <= static_cast<int>(kLastCouchInputProblem); ++p)
        messages.insert(MessageFor(static_cast<P>(p)));
    EXPECT_EQ(messages.size(), static_cast<std::size_t>(kLastCouchInputProblem) + 1);
    EXPECT_EQ(messages.count(""), 0u);

    const CouchInputError voltage(
        P::TypicalTubeVoltage,
        {CalculationProblem::CouchTypicalTubeVoltageOutsideRange, CalculatedQuantity::None, {0}});
    EXPECT_EQ(CouchFailureMessage(voltage),
              std::string(MessageFor(P::TypicalTubeVoltage)) +
                  "\n通常使用する代表的な管電圧 0 kV は範囲外です（1〜150 kV）");
    const CouchInputError receptor(
        P::FocusReceptorDistance,
        EquipmentLimitViolation{EquipmentField::FocusReceptorDistance, 60, 65});
    EXPECT_EQ(CouchFailureMessage(receptor),
              std::string(MessageFor(P::FocusReceptorDistance)) +
                  "\n焦点-受像器間距離 60 cm は範囲外です（焦点-アイソセンター間距離 65 cm "
                  "より大きい有限の値）");
}

}  // namespace
}  // namespace ordevo
