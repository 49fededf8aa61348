// What the Patient Radiation Dose SR takes from the registry: the uncertainty as half the kept
// interval, the place of the peak, and no peak where the map placed nothing.
#include <gtest/gtest.h>

#include "patient_dose_record.h"

namespace ordevo::registry {
namespace {

TEST(PatientDoseRecord, TakesTheRegistrysFindings) {
    StoredProcedure p;
    p.Summary.Status = "registered";
    p.Record.SopInstanceUid = "1.2";
    p.Record.PsdMGy = 1000;
    p.Record.PsdLowMGy = 700;
    p.Record.PsdHighMGy = 1300;
    p.Record.UpperBoundMGy = 5000;
    p.Record.Map = MapRecord{1000, "背部", 30.4, 180, "torso", 1, 0, 0, {}, "HFS"};
    p.Record.MappedKarShare = 0.75;
    p.Record.UnplacedBoundMGy = 400;
    std::string why;
    auto record = PatientDoseRecordOf(p, {}, &why);
    ASSERT_TRUE(record) << why;
    EXPECT_EQ(record->PeakSkinDoseMGy, 1000);
    EXPECT_EQ(record->ExpandedUncertaintyMGy, 300);  // (1300 − 700) / 2
    EXPECT_EQ(record->PeakLocation, "背部 上から 30 cm、角度 180°");
    EXPECT_EQ(record->Phantom, "torso");
    EXPECT_EQ(record->SourceSopInstanceUid, "1.2");
    EXPECT_EQ(record->PlacedKarShare, 0.75);
    EXPECT_EQ(record->UnplacedUpperBoundMGy, 400);

    p.Record.Map->PsdRegion = "";  // nothing placed: the map's peak of 0 is no finding
    p.Record.PsdMGy = 0;
    record = PatientDoseRecordOf(p, {}, &why);
    ASSERT_TRUE(record);
    EXPECT_FALSE(record->PeakSkinDoseMGy);
    EXPECT_EQ(record->UpperBoundMGy, 5000);

    p.Summary.Status = "failed";
    EXPECT_FALSE(PatientDoseRecordOf(p, {}, &why));
    EXPECT_NE(why.find("評価できなかった"), std::string::npos);
}

}  // namespace
}  // namespace ordevo::registry
