// A lying set by the user is written into every event as a report would state it; "as reported"
// leaves the report's own words.
#include <gtest/gtest.h>

#include "patient_lying.h"

namespace ordevo::map {
namespace {

TEST(PatientLying, IsWrittenIntoEveryEventInTheReportsWords) {
    const struct {
        PatientLying lying;
        const char* relationship;
        const char* modifier;
    } cases[] = {
        {PatientLying::HeadFirstSupine, "headfirst", "supine"},
        {PatientLying::HeadFirstProne, "headfirst", "prone"},
        {PatientLying::FeetFirstSupine, "feet-first", "supine"},
        {PatientLying::FeetFirstProne, "feet-first", "prone"},
    };
    for (const auto& c : cases) {
        rdsr::DoseReport report;
        report.Events.resize(2);
        report.Events[1].Geometry.PatientTableRelationship = "headfirst";
        report.Events[1].Geometry.PatientOrientationModifier = "prone";
        ApplyPatientLying(report, c.lying);
        for (const rdsr::IrradiationEvent& event : report.Events) {
            EXPECT_EQ(event.Geometry.PatientTableRelationship, c.relationship);
            EXPECT_EQ(event.Geometry.PatientOrientation, "recumbent");
            EXPECT_EQ(event.Geometry.PatientOrientationModifier, c.modifier);
        }
    }
    rdsr::DoseReport report;
    report.Events.resize(1);
    report.Events[0].Geometry.PatientTableRelationship = "feet-first";
    ApplyPatientLying(report, PatientLying::AsReported);
    EXPECT_EQ(report.Events[0].Geometry.PatientTableRelationship, "feet-first");
    EXPECT_EQ(report.Events[0].Geometry.PatientOrientationModifier, "");
}

}  // namespace
}  // namespace ordevo::map
