// The one case path: how typed texts and stored values become evaluation inputs, and the
// texts every window shows for a result.
#include "case_inputs.h"

#include <gtest/gtest.h>

#include "result_labels.h"

namespace ordevo {
namespace {

// Label names compared as texts: equal literals need not share an address.
using NamedTexts = std::vector<std::pair<std::string, std::string>>;
NamedTexts Named(const ResultLabelTexts& labels) { return {labels.begin(), labels.end()}; }

TEST(CaseInputs, TextsAreReadAsLeadingNumbersAndStoredDosesWin) {
    const CaseTexts texts{.BodyPart = "",
                          .TubeVoltage = "75 - 85",
                          .ReferenceAirKerma = " 1 2 0",
                          .KermaAreaProduct = "30abc",
                          .FocusSkinDistance = "6 5.5cm",
                          .FieldSize = "15.81"};
    CaseSettings settings{
        .ReferenceAirKerma = 99, .KermaAreaProduct = 7, .Shape = FieldShape::Circle};
    settings.Equipment.FocusIsocentreDistance = 80;
    const EvaluationInputs in = MakeEvaluationInputs(texts, settings);
    EXPECT_EQ(in.BodyPartText, "");  // the evaluation names it "---"
    EXPECT_EQ(in.TubeVoltageText, "75 - 85");
    EXPECT_EQ(in.TubeVoltageTextValue, 75);
    EXPECT_EQ(in.ReferenceAirKermaTextValue, 120);
    EXPECT_EQ(in.KermaAreaProductTextValue, 30);
    EXPECT_EQ(in.FocusSkinDistanceTextValue, 65.5);
    // Ka,r and P_KA are what the boxes' handlers stored, not re-read.
    EXPECT_EQ(in.ReferenceAirKerma, 99);
    EXPECT_EQ(in.KermaAreaProduct, 7);
    EXPECT_EQ(in.ReferenceFieldSize, 15.81);
    EXPECT_EQ(in.ReferencePointDistance, 0);
    EXPECT_EQ(in.Shape, FieldShape::Circle);
    EXPECT_EQ(in.Equipment.FocusIsocentreDistance, 80);
}

TEST(CaseInputs, FieldSizeIsShownAndReadBackRoundedToHundredths) {
    EXPECT_EQ(FieldSizeText(11.283791670955), "11.28");
    EXPECT_EQ(FieldSizeText(9.999), "10.00");
    EXPECT_EQ(MakeEvaluationInputs({.FieldSize = FieldSizeText(11.2838)}, {}).ReferenceFieldSize,
              11.28);
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
