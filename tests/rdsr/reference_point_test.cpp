// The reference point of each definition, from the event's distances (FAD 750 mm, SID 1000 mm,
// table plane 700 mm).
#include <gtest/gtest.h>

#include "reference_point.h"

namespace ordevo::rdsr {
namespace {

TEST(ReferencePoint, DistanceFollowsTheDefinition) {
    const EventGeometryMm geometry{750.0, 1000.0, 700.0};
    const std::pair<ReferencePointDefinition, std::optional<double>> table[] = {
        {{"113860", "15cm from Isocenter toward Source"}, 600.0},
        {{"113861", "30cm in Front of Image Input Surface"}, 700.0},
        {{"113862", "1cm above Tabletop"}, 710.0},
        {{"", "15cm below BeamIsocenter"}, 600.0},
        {{"", "15 cm from isocenter toward source"}, 600.0},
        {{"", "10 cm above isocenter"}, 850.0},
        {{"", "530 mm from tube focus"}, 530.0},
        {{"", "530 mm from tube focus towards detector"}, 530.0},
        {{"", "60 cm from source towards isocenter"}, 600.0},
        {{"", "30 cm in front of detector"}, 700.0},
        {{"", "Interventional reference point"}, std::nullopt},  // no length
        {{"113863", "30cm above Tabletop"}, 1000.0},
    };
    for (const auto& [definition, expected] : table)
        EXPECT_EQ(ReferencePointDistanceMm(definition, geometry), expected) << definition.Text;
}

TEST(ReferencePoint, NeedsTheDistanceItIsMeasuredFrom) {
    EXPECT_FALSE(ReferencePointDistanceMm({"113860", ""}, EventGeometryMm{}));
    EXPECT_FALSE(
        ReferencePointDistanceMm({"", "1cm above Tabletop"}, EventGeometryMm{750.0, 1000.0, {}}));
}

}  // namespace
}  // namespace ordevo::rdsr
