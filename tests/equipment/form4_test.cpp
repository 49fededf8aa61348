// The tube-voltage window: its defaults, the options that switch the boxes, and "OK", which
// stores a valid setting, writes the main window's text and refuses everything else.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "form4.h"
#include "case_messages.h"
#include "tube_voltage_text.h"
#include "scripted_messages.h"

using namespace ordevo;

namespace {

class Form4Window : public ::testing::Test {
protected:
    Form4Window() {
        // The receiver of the setting, as the main window takes it.
        QObject::connect(&window, &Form4::tubeVoltageSet, [this](const TubeVoltageRange& r) {
            range = r;
            boxTexts.push_back(QString::fromStdString(TubeVoltageText(r)));
        });
    }
    template <class W>
    W* Get(const char* name) {
        auto* widget = window.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Box(const char* name) { return Get<QLineEdit>(name); }
    QRadioButton* Option(const char* name) { return Get<QRadioButton>(name); }
    void Ok() { Get<QPushButton>("Command1")->click(); }

    ui::ScopedScriptedMessages messages;
    TubeVoltageRange range{1, 2, TubeVoltageWeighting::Normal};  // a setting from before
    std::vector<QString> boxTexts;
    Form4 window;
};

TEST_F(Form4Window, OpensWithAFixedEightyKilovoltsAndTheRangeWaiting) {
    window.Open();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("  管電圧の設定"));
    EXPECT_TRUE(Option("Option1")->isChecked());
    EXPECT_EQ(Box("Text1")->text(), QStringLiteral("80"));
    EXPECT_TRUE(Box("Text1")->isEnabled());
    EXPECT_EQ(Box("Text2")->text(), QStringLiteral("75"));
    EXPECT_EQ(Get<QLabel>("Label4")->text(), QStringLiteral("～"));
    EXPECT_EQ(Box("Text3")->text(), QStringLiteral("85"));
    EXPECT_FALSE(Box("Text2")->isEnabled());
    EXPECT_FALSE(Box("Text3")->isEnabled());
    EXPECT_TRUE(Option("Option3")->isChecked());
    EXPECT_FALSE(Option("Option3")->isEnabled());
    EXPECT_FALSE(Option("Option4")->isEnabled());
    EXPECT_EQ(Option("Option4")->text(), QStringLiteral("中央値を中心にして正規分布状に変動"));
}

TEST_F(Form4Window, AFixedVoltageIsStoredShownAsAPlainNumberAndTheWindowHidden) {
    window.Open();
    Ok();  // the defaults: 80 kV
    EXPECT_EQ(range.TubeVoltageLow, 80);
    EXPECT_EQ(range.TubeVoltageHigh, 80);
    EXPECT_EQ(range.Weighting, TubeVoltageWeighting::Equal);
    EXPECT_FALSE(window.isVisible());
    Box("Text1")->setText(QStringLiteral("72.5"));
    Ok();
    EXPECT_EQ(range.TubeVoltageHigh, 72.5);
    Box("Text1")->setText(QStringLiteral("150"));  // the top of the spectrum tables is allowed
    Ok();
    Box("Text1")->setText(QStringLiteral("９０"));  // full-width digits, as an input method types
    Ok();
    EXPECT_EQ(Box("Text1")->text(), QStringLiteral("90"));
    EXPECT_TRUE(messages->Shown().empty());
    EXPECT_EQ(boxTexts, (std::vector<QString>{QStringLiteral("80"), QStringLiteral("72.5"),
                                              QStringLiteral("150"), QStringLiteral("90")}));
}

TEST_F(Form4Window, VaryingSwitchesTheBoxesAndGivesARangeShownLowDashHigh) {
    Option("Option2")->click();
    EXPECT_FALSE(Box("Text1")->isEnabled());
    EXPECT_TRUE(Box("Text2")->isEnabled());
    EXPECT_TRUE(Box("Text3")->isEnabled());
    EXPECT_TRUE(Option("Option3")->isEnabled());
    EXPECT_TRUE(Option("Option4")->isEnabled());
    Option("Option4")->click();
    EXPECT_TRUE(Option("Option4")->isChecked());
    Option("Option2")->click();  // already selected: still back to equal weights
    EXPECT_TRUE(Option("Option3")->isChecked());

    Option("Option1")->click();
    EXPECT_TRUE(Box("Text1")->isEnabled());
    EXPECT_FALSE(Box("Text2")->isEnabled());
    EXPECT_FALSE(Box("Text3")->isEnabled());
    EXPECT_FALSE(Option("Option3")->isEnabled());
    EXPECT_FALSE(Option("Option4")->isEnabled());

    // A range with equal, then normal weights.
    Option("Option2")->click();
    Ok();
    EXPECT_EQ(range.TubeVoltageLow, 75);
    EXPECT_EQ(range.TubeVoltageHigh, 85);
    EXPECT_EQ(range.Weighting, TubeVoltageWeighting::Equal);
    Option("Option4")->click();
    Box("Text2")->setText(QStringLiteral("75"));
    Box("Text3")->setText(QStringLiteral("75.5"));
    Ok();
    EXPECT_EQ(range.TubeVoltageHigh, 75.5);
    EXPECT_EQ(range.Weighting, TubeVoltageWeighting::Normal);
    EXPECT_EQ(boxTexts,
              (std::vector<QString>{QStringLiteral("75 - 85"), QStringLiteral("75 - 75.5")}));
    EXPECT_TRUE(messages->Shown().empty());
}

// Everything OK refuses: the warning, the window stays, the setting and the box are untouched.
TEST_F(Form4Window, UnusableVoltagesAreRefusedAndNothingChanges) {
    const struct {
        bool fixed;
        const char* text1;
        const char* text2;
        const char* text3;
    } cases[] = {
        {true, "", "", ""},                              // empty
        {true, "0", "", ""},                             // not positive
        {true, "-80", "", ""},   {true, "abc", "", ""},  // no leading number: 0 kV
        {true, "150.5", "", ""},                         // beyond the spectrum tables
        {false, "", "75", "75"},                         // low not below high
        {false, "", "85", "75"}, {false, "", "", ""},    // two empty boxes
        {false, "", "0", "80"},  {false, "", "75", "151"},
        {true, "8O", "", ""},  // a letter O, not read as 8 kV
        {false, "", "7O", "85"}, {false, "", "70", "85kV"},
    };
    window.Open();
    for (const auto& c : cases) {
        (c.fixed ? Option("Option1") : Option("Option2"))->click();
        Box("Text1")->setText(QString::fromUtf8(c.text1));
        Box("Text2")->setText(QString::fromUtf8(c.text2));
        Box("Text3")->setText(QString::fromUtf8(c.text3));
        messages->Forget();
        Ok();
        ASSERT_EQ(messages->Shown().size(), 1u) << c.text1 << c.text2 << c.text3;
        EXPECT_EQ(messages->Shown()[0].text, QString::fromUtf8(kTubeVoltageInputMessage));
        EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::Exclamation);
        EXPECT_EQ(messages->Shown()[0].buttons, ui::MessageButtons::Ok);
        EXPECT_TRUE(window.isVisible());
    }
    EXPECT_EQ(range.TubeVoltageLow, 1);
    EXPECT_EQ(range.TubeVoltageHigh, 2);
    EXPECT_EQ(range.Weighting, TubeVoltageWeighting::Normal);
    EXPECT_TRUE(boxTexts.empty());
}

// Closed by its title bar after a change, the window shows the setting in force when reopened,
// not the abandoned one.
TEST_F(Form4Window, ReopenedAfterClosingItShowsTheSettingInForce) {
    window.Open();
    Ok();  // 80 kV
    window.Open();
    Option("Option2")->click();
    Box("Text2")->setText(QStringLiteral("60"));
    window.close();
    window.Open();
    EXPECT_TRUE(Option("Option1")->isChecked());
    EXPECT_EQ(Box("Text1")->text(), QStringLiteral("80"));
    EXPECT_FALSE(Box("Text2")->isEnabled());
}

// A setting made elsewhere is what the controls show, so "OK" stores it again unchanged.
TEST_F(Form4Window, ASettingMadeElsewhereIsShownAndKeptByOk) {
    for (const TubeVoltageRange shown :
         {TubeVoltageRange{93.3, 93.3, TubeVoltageWeighting::Equal},
          TubeVoltageRange{70, 90.5, TubeVoltageWeighting::Normal}}) {
        window.ShowSetting(shown);
        window.Open();
        Ok();
        EXPECT_EQ(range, shown);
    }
    EXPECT_EQ(boxTexts,
              (std::vector<QString>{QStringLiteral("93.3"), QStringLiteral("70 - 90.5")}));
}

}  // namespace
