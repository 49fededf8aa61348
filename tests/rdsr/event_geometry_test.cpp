// One geometry item at a time, as the reader hands them over: what is taken, what is a missing
// value (the map's rules for missing values apply) and what refuses the event.
#include "event_geometry.h"

#include <cmath>
#include <string_view>

#include <gtest/gtest.h>

namespace ordevo::rdsr {
namespace {

TEST(EventGeometry, MissingValuesAreNotRefusals) {
    enum class Outcome { Taken, Missing, Refused };
    struct Row {
        const char *code, *number, *unit, *qualifier;
        Outcome outcome;
        double value = 0;  // when taken, in the program's unit
    };
    const Row rows[] = {
        // No measured value, qualified "Value unknown" (DCM 114010) or not qualified at all.
        {"112011", "", "", "114010", Outcome::Missing},
        {"112012", "", "", "", Outcome::Missing},
        {"113753", "", "", "114010", Outcome::Missing},
        // A value qualified "Value indeterminate" is no measurement either.
        {"112011", "30", "deg", "114011", Outcome::Missing},
        {"112011", "30", "deg", "", Outcome::Taken, 30.0},
        // Past the top: still a direction; past a whole turn, or a primary past ±180°: none.
        {"112012", "183", "deg", "", Outcome::Taken, 183.0},
        {"112014", "-120", "deg", "", Outcome::Taken, -120.0},
        {"112012", "-361", "deg", "", Outcome::Refused},
        {"112011", "181", "deg", "", Outcome::Refused},
        {"112011", "NaN", "deg", "", Outcome::Refused},
        {"112011", "abc", "deg", "", Outcome::Refused},
        // The field as written, whatever its sign: the map judges it against P_KA/Ka,r.
        {"113788", "-0", "mm", "", Outcome::Taken, -0.0},
        {"113789", "-3", "mm", "", Outcome::Taken, -3.0},
        {"113788", "0.5", "cm", "", Outcome::Taken, 5.0},
        {"113788", "abc", "mm", "", Outcome::Missing},
        {"113789", "5", "", "", Outcome::Missing},
    };
    for (const Row& row : rows) {
        GeometryItem item;
        item.Concept = row.code;
        item.IsNumber = true;
        item.Number = row.number;
        item.HasUnits = *row.unit != '\0';
        item.CodeValue = row.unit;
        item.QualifierValue = row.qualifier;
        item.QualifierMeaning = std::string_view(row.qualifier) == "114011" ? "Value indeterminate"
                                : *row.qualifier                            ? "Value unknown"
                                                                            : "";
        EventGeometry g;
        std::vector<std::string> notes;
        ASSERT_TRUE(ReadGeometryItem(item, g, notes)) << row.code;
        std::optional<double> taken;
        for (const auto& field :
             {g.PrimaryAngleDeg, g.SecondaryAngleDeg, g.SecondaryEndAngleDeg, g.TableHeightMm,
              g.CollimatedFieldHeightMm, g.CollimatedFieldWidthMm})
            if (field) taken = field;
        const std::string what = std::string(row.code) + " \"" + row.number + "\"";
        EXPECT_EQ(!g.Refused.empty(), row.outcome == Outcome::Refused) << what;
        EXPECT_EQ(taken.has_value(), row.outcome == Outcome::Taken) << what;
        if (row.outcome == Outcome::Taken) {
            EXPECT_EQ(*taken, row.value) << what;
            EXPECT_EQ(std::signbit(*taken), std::signbit(row.value)) << what;
            EXPECT_TRUE(notes.empty()) << what;
        } else {
            ASSERT_EQ(notes.size(), 1u) << what;  // every value not taken is said
        }
    }
}

}  // namespace
}  // namespace ordevo::rdsr
