// The words for the core's failures: the quantity's name and the values put into their places.
#include "calculation_messages.h"

#include <gtest/gtest.h>

namespace ordevo {
namespace {

TEST(CalculationMessages, QuantitiesAndValuesFillTheReason) {
    using P = CalculationProblem;
    using Q = CalculatedQuantity;
    const struct {
        CalculationFailure failure;
        const char* text;
    } cases[] = {
        {{P::BackscatterBinOutsideTable, Q::None, {151, 302}},
         "後方散乱: 管電圧 151 kV の区間 302 はエネルギーの表（300 区間）の外です"},
        {{P::NegativeSquareRoot, Q::RingFractionCircleShortOfEdge, {-0.25}},
         "リングの照射野内の割合: 円が照射野の辺に届きません: 負の数（-0.25）の平方根になります"},
        {{P::DivisionByZero, Q::InverseSquareFocusSkin, {}},
         "距離の逆二乗（焦点-皮膚間距離）: 0 で割ることになります"},
        {{P::StepResultUnusable, Q::CorrectedReferenceAirKerma, {-1.5}},
         "補正 Ka,r (mGy) が -1.5 です（0 以上の有限の数が必要です）"},
        {{P::FilterThicknessUnusable, Q::AddedCopperFilter, {-1}},
         "付加フィルタ (銅)の厚さ -1 mm は 0 以上の有限の数でなければなりません"},
        // 17 significant digits: the value the computation had, not a rounded one.
        {{P::NotFinite, Q::TissueToAirDoseRatio, {0.1 + 0.2}},
         "軟部組織/空気の吸収線量比が有限の数になりません（0.30000000000000004）"},
        // A failure raised without the values its words name shows "?".
        {{P::TubeVoltageRangeReversed, Q::None, {85}},
         "管電圧の範囲 85 - ? kV の下限が上限より大きくなっています"},
    };
    for (const auto& c : cases) EXPECT_EQ(DescribeCalculationFailure(c.failure), c.text);
}

}  // namespace
}  // namespace ordevo
