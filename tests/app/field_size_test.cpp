// The field size at the reference point from Ka,r and P_KA when a shape option is clicked.
#include <QApplication>
#include <QTest>

#include "app_fixture.h"
#include "case_messages.h"

namespace ordevo::testing {
namespace {

class FieldSize : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        RegisterBeforeStart(QStringLiteral("Clinic"));
        Start();
        ClickFile(QStringLiteral("Room1.odv3"));
    }
};

// Ka,r = 10 mGy and P_KA = 1 Gy·cm² give A = 1 / 0.01 = 100 cm²: a square of side 10 and a
// circle of diameter 2·√(100/3.14159) = 11.2838.
TEST_F(FieldSize, SquareSideAndCircleDiameterOfAHundredSquareCentimetres) {
    TypeAndEnter("Text14", QStringLiteral("10"));
    TypeAndEnter("Text15", QStringLiteral("1"));
    Click("Option2");
    EXPECT_EQ(LabelText("Label65"), QStringLiteral("10.00"));
    EXPECT_EQ(LabelText("Label22"), QStringLiteral("正方形 一辺長"));
    EXPECT_EQ(Main().Case().Stored.Shape, FieldShape::Square);
    EXPECT_EQ(QApplication::focusWidget(), Box("Text9"));

    Click("Option1");
    EXPECT_EQ(LabelText("Label65"), QStringLiteral("11.28"));
    EXPECT_EQ(LabelText("Label22"), QStringLiteral("直 径"));
    EXPECT_EQ(Main().Case().Stored.Shape, FieldShape::Circle);
    EXPECT_TRUE(Option("Option1")->isChecked());
    EXPECT_FALSE(Option("Option2")->isChecked());
    EXPECT_TRUE(Messages().Shown().empty());
}

TEST_F(FieldSize, AnOptionClickedBeforeBothDosesAreEnteredIsSwitchedOffAgain) {
    Click("Option2");
    EXPECT_FALSE(Option("Option2")->isChecked());
    TypeAndEnter("Text14", QStringLiteral("10"));
    Click("Option1");
    EXPECT_FALSE(Option("Option1")->isChecked());
    EXPECT_FALSE(Option("Option2")->isChecked());
    EXPECT_TRUE(LabelText("Label65").isEmpty());
    EXPECT_EQ(LabelText("Label22"), QStringLiteral("正 方 形"));
    EXPECT_EQ(Main().Case().Stored.Shape, FieldShape::None);
    EXPECT_TRUE(Messages().Shown().empty());
}

// Ka,r of 0 or below, or a negative P_KA, cannot give a field: a click on an option is refused
// with a warning. A field shown for earlier doses is withdrawn as soon as the doses change; the
// shape chosen stays chosen, so the calculation names the box to correct.
TEST_F(FieldSize, DosesThatCannotGiveAFieldAreRefusedWithAWarning) {
    struct Case {
        const char* kar;
        const char* pka;
    };
    for (const Case c : {Case{"0", "1"}, Case{"-5", "1"}, Case{"10", "-1"}}) {
        TypeAndEnter("Text14", QStringLiteral("10"));
        TypeAndEnter("Text15", QStringLiteral("1"));
        Click("Option2");
        ASSERT_EQ(LabelText("Label65"), QStringLiteral("10.00"));
        TypeAndEnter("Text14", QString::fromLatin1(c.kar));
        TypeAndEnter("Text15", QString::fromLatin1(c.pka));
        EXPECT_TRUE(LabelText("Label65").isEmpty()) << c.kar << " " << c.pka;
        for (const char* option : {"Option1", "Option2"}) {
            Messages().Forget();
            Click(option);
            const auto& shown = Messages().Shown();
            ASSERT_EQ(shown.size(), 1u) << c.kar << " " << c.pka;
            EXPECT_EQ(shown[0].text, QString::fromUtf8(kFieldSizeInputMessage));
            EXPECT_EQ(shown[0].icon, ui::MessageIcon::Exclamation);
            EXPECT_EQ(Option(option)->isChecked(), std::string(option) == "Option2")
                << c.kar << " " << c.pka;
        }
        EXPECT_EQ(Main().Case().Stored.Shape, FieldShape::Square);
        EXPECT_TRUE(LabelText("Label65").isEmpty());
    }
}

// Typing Ka,r and clicking an option straight away: the box loses the focus first, so the
// value is stored before the field size is computed.
TEST_F(FieldSize, ATypedValueIsStoredWhenTheBoxLosesTheFocusToTheOption) {
    TypeAndEnter("Text14", QStringLiteral("40"));
    TypeAndEnter("Text15", QStringLiteral("1"));
    Box("Text14")->setFocus();
    Box("Text14")->selectAll();
    QTest::keyClicks(Box("Text14"), QStringLiteral("10"));
    Click("Option2");
    EXPECT_EQ(Main().Case().Stored.ReferenceAirKermaMGy, 10.0);
    EXPECT_EQ(LabelText("Label65"), QStringLiteral("10.00"));
}

// A field size shown for other doses than those in the boxes would enter the evaluation with
// the wrong field: it follows a later change of Ka,r or P_KA, or is withdrawn.
TEST_F(FieldSize, FollowsALaterChangeOfTheDoses) {
    TypeAndEnter("Text14", QStringLiteral("10"));
    TypeAndEnter("Text15", QStringLiteral("1"));
    Click("Option2");
    TypeAndEnter("Text14", QStringLiteral("2.5"));  // A = 400 cm²
    EXPECT_EQ(LabelText("Label65"), QStringLiteral("20.00"));
    EXPECT_TRUE(Option("Option2")->isChecked());

    TypeAndEnter("Text15", QString());
    EXPECT_TRUE(LabelText("Label65").isEmpty());
    EXPECT_TRUE(Option("Option2")->isChecked());
    TypeAndEnter("Text15", QStringLiteral("4"));  // A = 1600 cm²
    EXPECT_EQ(LabelText("Label65"), QStringLiteral("40.00"));
}

}  // namespace
}  // namespace ordevo::testing
