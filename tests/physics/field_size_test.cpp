// Field size at the reference point from the displayed dose figures.
#include "field_size.h"

#include <gtest/gtest.h>

#include "calculation_error.h"

namespace ordevo {
namespace {

// 10 Gy·cm² over 100 mGy is 100 cm²: a 10 cm square, or a circle of 2·√(100/3.14159) = 11.2838 cm.
TEST(FieldSize, AreaFromKermaAreaProductOverAirKerma) {
    EXPECT_DOUBLE_EQ(ComputeReferenceFieldSize(FieldShape::Square, 100, 10), 10.0);
    EXPECT_NEAR(ComputeReferenceFieldSize(FieldShape::Circle, 100, 10), 11.2838, 5e-5);
    EXPECT_EQ(ComputeReferenceFieldSize(FieldShape::Square, 100, 0), 0.0);
}

TEST(FieldSize, ImpossibleInputsThrow) {
    EXPECT_THROW(ComputeReferenceFieldSize(FieldShape::Square, 0, 10), CalculationError);
    EXPECT_THROW(ComputeReferenceFieldSize(FieldShape::Circle, -1, 10), CalculationError);
    EXPECT_THROW(ComputeReferenceFieldSize(FieldShape::Square, 100, -1), CalculationError);
    EXPECT_THROW(ComputeReferenceFieldSize(FieldShape::None, 100, 10), CalculationError);
}

}  // namespace
}  // namespace ordevo
