// The one case path: how typed texts and stored values become the dose case, and the texts
// every window shows for a result.
#include "case_entry.h"

#include <gtest/gtest.h>

#include "evaluation_messages.h"
#include "result_labels.h"

namespace ordevo {
namespace {

// Label names compared as texts: equal literals need not share an address.
using NamedTexts = std::vector<std::pair<std::string, std::string>>;
NamedTexts Named(const ResultLabelTexts& labels) { return {labels.begin(), labels.end()}; }

// A complete entry: 80 kV, 10 mGy, 1 Gy·cm², FSD 60 cm, square field 10.00 cm.
CaseEntry Complete() {
    return CaseEntry{.TubeVoltage = "80",
                     .ReferenceAirKerma = "10",
                     .KermaAreaProduct = "1",
                     .FocusSkinDistance = "60",
                     .FieldSize = "10.00",
                     .StoredReferenceAirKermaMGy = 10,
                     .StoredKermaAreaProductGyCm2 = 1,
                     .Shape = FieldShape::Square};
}

TEST(ReadCase, TextsAreReadOnceAndStoredDosesWin) {
    CaseEntry entry = Complete();
    entry.TubeVoltage = "75 - 85";
    entry.ReferenceAirKerma = " 1 2 0";  // blanks are dropped wherever they stand
    entry.FocusSkinDistance = "6 5.5";
    entry.FieldSize = FieldSizeText(15.8114);
    entry.StoredReferenceAirKermaMGy = 99;
    entry.StoredKermaAreaProductGyCm2 = 7;
    entry.Shape = FieldShape::Circle;
    entry.Equipment.FocusIsocentreDistance = 80;
    const CaseReading read = ReadCase(entry);
    ASSERT_TRUE(read.Case.has_value());
    EXPECT_FALSE(read.Refusal.has_value());
    const DoseCase& c = *read.Case;
    // Ka,r and P_KA are what the boxes' handlers stored, not re-read.
    EXPECT_EQ(c.ReferenceAirKermaMGy, 99);
    EXPECT_EQ(c.KermaAreaProductGyCm2, 7);
    EXPECT_EQ(c.FocusSkinDistanceCm, 65.5);
    EXPECT_EQ(c.ReferenceFieldSizeCm, 15.81);  // as shown
    EXPECT_EQ(c.ReferencePointDistanceCm, 0);
    EXPECT_EQ(c.Shape, FieldShape::Circle);
    EXPECT_EQ(c.Equipment.FocusIsocentreDistance, 80);
}

// One number per box first, then the completeness rule (any of the four texts reading 0 or
// nothing), then the signs of Ka,r and P_KA.
TEST(ReadCase, RefusesWithTheWordsOfTheBoxToCorrect) {
    using K = CaseRefusalKind;
    const struct {
        void (*change)(CaseEntry&);
        K kind;
        std::optional<CaseBox> box;
        const char* says;
    } cases[] = {
        {[](CaseEntry& e) { e.ReferenceAirKerma = "1O0"; }, K::NotANumber,
         CaseBox::ReferenceAirKerma, "1O0"},
        {[](CaseEntry& e) { e.KermaAreaProduct = "12mGy"; }, K::NotANumber,
         CaseBox::KermaAreaProduct, "12mGy"},
        {[](CaseEntry& e) { e.FocusSkinDistance = "1.2.3"; }, K::NotANumber,
         CaseBox::FocusSkinDistance, "1.2.3"},
        {[](CaseEntry& e) { e.TubeVoltage = ""; }, K::Incomplete, std::nullopt,
         kIncompleteInputMessage},
        {[](CaseEntry& e) { e.ReferenceAirKerma = ""; }, K::Incomplete, std::nullopt,
         kIncompleteInputMessage},
        {[](CaseEntry& e) { e.KermaAreaProduct = "0"; }, K::Incomplete, std::nullopt,
         kIncompleteInputMessage},
        {[](CaseEntry& e) { e.FocusSkinDistance = "0.0"; }, K::Incomplete, std::nullopt,
         kIncompleteInputMessage},
        {[](CaseEntry& e) { e.ReferenceAirKerma = "-5", e.FocusSkinDistance = ""; }, K::Incomplete,
         std::nullopt, kIncompleteInputMessage},
        {[](CaseEntry& e) { e.ReferenceAirKerma = "-5"; }, K::NotPositive,
         CaseBox::ReferenceAirKerma, "0 より大きい"},
        {[](CaseEntry& e) { e.StoredReferenceAirKermaMGy = -10; }, K::NotPositive,
         CaseBox::ReferenceAirKerma, "0 より大きい"},
        {[](CaseEntry& e) { e.KermaAreaProduct = "-1"; }, K::NotPositive, CaseBox::KermaAreaProduct,
         "0 より大きい"},
    };
    for (const auto& c : cases) {
        CaseEntry entry = Complete();
        c.change(entry);
        const CaseReading read = ReadCase(entry);
        ASSERT_TRUE(read.Refusal.has_value()) << c.says;
        EXPECT_FALSE(read.Case.has_value());
        EXPECT_EQ(read.Refusal->Kind, c.kind) << c.says;
        EXPECT_EQ(read.Refusal->Box, c.box) << c.says;
        EXPECT_TRUE(read.Refusal->Message.contains(QString::fromUtf8(c.says)))
            << read.Refusal->Message.toStdString();
        if (c.box) {
            EXPECT_TRUE(read.Refusal->Message.contains(CaseBoxName(*c.box))) << c.says;
        }
    }
}

TEST(ReadCase, TheBodyPartOfNoneIsTheBar) {
    EXPECT_EQ(BodyPartOf({}), "---");
    EXPECT_EQ(BodyPartOf({.BodyPart = "頭部"}), "頭部");
}

TEST(ReadCase, FieldSizeIsShownAndReadBackRoundedToHundredths) {
    EXPECT_EQ(FieldSizeText(11.283791670955), "11.28");
    EXPECT_EQ(FieldSizeText(9.999), "10.00");
    EXPECT_EQ(ShownFieldSize(11.2838), 11.28);
}

TEST(ResultLabels, EachStepFillsItsOwnLabelsWithTheirPictures) {
    DoseResult r;
    r.CorrectedReferenceAirKerma = 105.04;
    r.CorrectedKermaAreaProduct = 21;
    r.CouchTransmission = 0.8;
    r.EntranceAirKerma = 1234.56;
    r.TissueToAirDoseRatio = 1.0615;
    r.ScatterFactor = 1.72236;
    r.SkinDose = 12345.67;
    EXPECT_EQ(Named(ResultLabelsForStep(EvaluationStep::Corrections, r)),
              (NamedTexts{{"Label68", "105.0"},
                          {"Label69", "21.0"},
                          {"Label70", "0.800"},
                          {"Label71", "1234.6"}}));
    EXPECT_EQ(Named(ResultLabelsForStep(EvaluationStep::Spectrum, r)),
              (NamedTexts{{"Label72", "1.062"}}));
    EXPECT_TRUE(ResultLabelsForStep(EvaluationStep::Backscatter, r).empty());
    EXPECT_TRUE(ResultLabelsForStep(EvaluationStep::DepthDose, r).empty());
    const ResultLabelTexts all = AllResultLabels(r);
    ASSERT_EQ(all.size(), std::size(kResultLabelNames));
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_STREQ(all[i].first, kResultLabelNames[i]);
    EXPECT_EQ(all[5].second, "1.722");
    EXPECT_EQ(all[6].second, "12345.7");
    EXPECT_EQ(Named(CouchLabels({.CouchTransmission = 0.8,
                                 .CalibrationConstant = 1.40833,
                                 .CouchSoftTissueThickness = 1.25})),
              (NamedTexts{{"Label21", "0.800"}, {"Label38", "1.3"}, {"Label27", "1.408"}}));
}

}  // namespace
}  // namespace ordevo
