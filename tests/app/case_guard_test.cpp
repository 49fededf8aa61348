// The main window guarding the case: a result that no longer matches its inputs, texts that
// are not numbers, an unsaveable body part, inputs that make the computation fail, and the way
// back to the results window.
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <optional>

#include "app_fixture.h"
#include "case_entry.h"
#include "dose_evaluation.h"
#include "evaluation_messages.h"
#include "form10.h"
#include "results_table.h"

namespace ordevo::testing {
namespace {

using ui::Answer;
using ui::MessageIcon;

class CaseGuard : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        WriteRoomFile(PathOf(QStringLiteral("Room2.odv3")), {{13, QStringLiteral("1.100")}});
        RegisterBeforeStart(QStringLiteral("Clinic"));
        Start();
    }
    void Evaluate() {
        Messages().Forget();
        Click("Command2");
    }
    // Text as a Japanese input method delivers it: committed, not typed key by key.
    static void Commit(QWidget* box, const QString& text) {
        QInputMethodEvent typed;
        typed.setCommitString(text);
        QApplication::sendEvent(box, &typed);
    }
    bool ResultShownAsCurrent() {
        for (const char* name : {"Label68", "Label71", "Label74"})
            if (!Label(name)->isEnabled()) return false;
        return Button("Command3")->isEnabled();
    }
};

// Every input the evaluation used: after a change the column is greyed and the row cannot be
// added until the next calculation, so a row never pairs new inputs with old results.
TEST_F(CaseGuard, AChangedInputMakesTheResultStaleUntilTheNextCalculation) {
    struct Change {
        const char* what;
        std::function<void()> apply;
    };
    const Change changes[] = {
        {"Ka,r", [&] { TypeAndEnter("Text14", QStringLiteral("200")); }},
        {"P_KA", [&] { TypeAndEnter("Text15", QStringLiteral("30")); }},
        {"FSD", [&] { TypeAndEnter("Text9", QStringLiteral("70")); }},
        {"shape", [&] { Click("Option1"); }},
        {"tube voltage", [&] { SetFixedTubeVoltage(QStringLiteral("90")); }},
        {"body part", [&] { ChooseBodyPart(1); }},
        {"equipment", [&] { ClickFile(QStringLiteral("Room2.odv3")); }},
    };
    for (const Change& change : changes) {
        PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
        Evaluate();
        ASSERT_TRUE(ResultShownAsCurrent()) << change.what;
        change.apply();
        EXPECT_FALSE(Button("Command3")->isEnabled()) << change.what;
        EXPECT_FALSE(Label("Label74")->isEnabled()) << change.what;
        EXPECT_FALSE(LabelText("Label74").isEmpty()) << change.what;  // greyed, not erased
        if (Box("Text5")->text().isEmpty())
            SetFixedTubeVoltage(QStringLiteral("80"));  // a new file empties it
        Evaluate();
        EXPECT_TRUE(ResultShownAsCurrent()) << change.what;
    }
    EXPECT_EQ(App().ResultsWindow().Table().NextRowIndex, 1);
}

// The editor saves over the file evaluated with, which is read again: the addition finds that
// the result no longer belongs to the equipment.
TEST_F(CaseGuard, AnEquipmentFileSavedAgainIsFoundWhenAdding) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    Evaluate();
    WriteRoomFile(PathOf(QStringLiteral("Room1.odv3")), {{13, QStringLiteral("2.000")}});
    Main().EquipmentFileSaved(QStringLiteral("Room1.odv3"));
    EXPECT_EQ(Main().Case().Equipment.CalibrationConstant, 2.0);
    Click("Command3");
    EXPECT_EQ(App().ResultsWindow().Table().NextRowIndex, 1);
    EXPECT_FALSE(Button("Command3")->isEnabled());
    EXPECT_FALSE(Label("Label68")->isEnabled());
}

// "1OO" (letters O) is no dose: refused where it is typed, naming the box, which keeps the
// focus and its stored value; full-width digits from an input method are taken as ASCII.
TEST_F(CaseGuard, NumberBoxesRefuseATextThatIsNotOneNumber) {
    ClickFile(QStringLiteral("Room1.odv3"));
    TypeAndEnter("Text14", QStringLiteral("100"));
    TypeAndEnter("Text15", QStringLiteral("20"));
    struct Entry {
        const char* name;
        CaseBox box;
        double StoredCaseInputs::*stored;  // null: the box stores nothing (the FSD is read)
    };
    for (const Entry b :
         {Entry{"Text14", CaseBox::ReferenceAirKerma, &StoredCaseInputs::ReferenceAirKermaMGy},
          Entry{"Text15", CaseBox::KermaAreaProduct, &StoredCaseInputs::KermaAreaProductGyCm2},
          Entry{"Text9", CaseBox::FocusSkinDistance, nullptr}}) {
        const double before = b.stored ? Main().Case().Stored.*b.stored : 0;
        Messages().Forget();
        TypeAndEnter(b.name, QStringLiteral("1OO"));
        ASSERT_EQ(Messages().Shown().size(), 1u) << b.name;
        EXPECT_TRUE(Messages().Shown()[0].text.contains(CaseBoxName(b.box))) << b.name;
        EXPECT_EQ(Messages().Shown()[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(QApplication::focusWidget(), Box(b.name)) << b.name;
        if (b.stored) {
            EXPECT_EQ(Main().Case().Stored.*b.stored, before) << b.name;
        }
        TypeAndEnter(b.name, QStringLiteral("60"));
    }
    Messages().Forget();
    Box("Text14")->setFocus();
    Box("Text14")->clear();
    Commit(Box("Text14"), QStringLiteral("１２．５"));
    QTest::keyClick(Box("Text14"), Qt::Key_Return);
    EXPECT_EQ(Box("Text14")->text(), QStringLiteral("12.5"));
    EXPECT_EQ(Main().Case().Stored.ReferenceAirKermaMGy, 12.5);
    EXPECT_TRUE(Messages().Shown().empty());
}

// A wrong text that never met Enter or a focus change is still refused by the calculation.
TEST_F(CaseGuard, TheCalculationRefusesABoxThatIsNotOneNumber) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    Box("Text9")->setText(QStringLiteral("6O"));
    Evaluate();
    ASSERT_EQ(Messages().Shown().size(), 1u);
    EXPECT_TRUE(Messages().Shown()[0].text.contains(CaseBoxName(CaseBox::FocusSkinDistance)));
    EXPECT_TRUE(LabelText("Label74").isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), Box("Text9"));
}

TEST_F(CaseGuard, ANegativeDoseIsRefusedBeforeEvaluating) {
    for (const char* box : {"Text14", "Text15"}) {
        Click("Command6");
        PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
        TypeAndEnter(box, QStringLiteral("-100"));
        Evaluate();
        ASSERT_EQ(Messages().Shown().size(), 1u) << box;
        EXPECT_TRUE(Messages().Shown()[0].text.contains(QStringLiteral("0 より大きい"))) << box;
        EXPECT_TRUE(LabelText("Label74").isEmpty()) << box;
        EXPECT_TRUE(LabelText("Label68").isEmpty()) << box;
        EXPECT_EQ(QApplication::focusWidget(), Box(box)) << box;
    }
}

// The results CSV has no quoting: a comma typed into the body part is taken out at once.
TEST_F(CaseGuard, TheBodyPartRefusesACommaWhereItIsTyped) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    auto* combo = Main().Control<QComboBox>("Combo1");
    combo->lineEdit()->clear();
    Commit(combo->lineEdit(), QStringLiteral("胸部"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Comma);
    Commit(combo->lineEdit(), QStringLiteral("左側"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("胸部左側"));
    ASSERT_EQ(Messages().Shown().size(), 1u);
    EXPECT_TRUE(Messages().Shown()[0].text.contains(QStringLiteral("対象部位")));
    Evaluate();
    Click("Command3");
    EXPECT_EQ(CellText(App().ResultsWindow().Table().Rows[1][ResultsColumn::BodyPart]), "胸部左側");
}

// A computation that fails because of an input keeps its fixed message as the first line and
// says below it which input and what range is allowed.
TEST_F(CaseGuard, AFailureCausedByAnInputNamesItAndItsRange) {
    struct Case {
        const char* kv;
        const char* kar;
        const char* pka;
        const char* fsd;
        const char* named;
    };
    for (const Case c : {Case{"80", "100", "20", "1", "天板の軟部組織等価厚 1.2 cm"},
                         Case{"10", "100", "20", "60", "10.5 kV 以上"},
                         Case{"80", "1", "100", "60", "照射野サイズ 316.23 cm"}}) {
        PrepareCase(QString::fromLatin1(c.kv), QString::fromLatin1(c.kar),
                    QString::fromLatin1(c.pka), "Option2");
        TypeAndEnter("Text9", QString::fromLatin1(c.fsd));
        Evaluate();  // FSD 1 cm: "はい" to the question whether so short a distance is meant
        ASSERT_FALSE(Messages().Shown().empty()) << c.named;
        const QStringList lines = Messages().Shown().back().text.split(QLatin1Char('\n'));
        ASSERT_GE(lines.size(), 2) << c.named;
        EXPECT_TRUE(lines[0] == QString::fromUtf8(kCalculationFailedMessage) ||
                    lines[0] == QString::fromUtf8(kDepthDoseFailedMessage))
            << c.named;
        EXPECT_TRUE(lines[1].contains(QString::fromUtf8(c.named))) << lines[1].toStdString();
        EXPECT_FALSE(Button("Command3")->isEnabled());
        Click("Command6");
    }
}

// The largest field the message offers is one the evaluation computes, and a little more fails.
TEST_F(CaseGuard, TheLargestFieldOfferedIsComputed) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("1"), QStringLiteral("100"), "Option2");
    TypeAndEnter("Text9", QStringLiteral("90"));
    Evaluate();
    ASSERT_EQ(Messages().Shown().size(), 1u);
    const auto match = QRegularExpression(QStringLiteral("では ([0-9.]+) cm 以下"))
                           .match(Messages().Shown()[0].text);
    ASSERT_TRUE(match.hasMatch()) << Messages().Shown()[0].text.toStdString();
    const double largest = match.captured(1).toDouble();
    for (const auto& [side, completes] :
         {std::pair{largest, true}, std::pair{largest + 0.05, false}}) {
        Click("Command6");
        // Ka,r 1 mGy: the square's side is √(P_KA / 0.001).
        PrepareCase(QStringLiteral("80"), QStringLiteral("1"),
                    QString::number(0.001 * side * side, 'g', 12), "Option2");
        TypeAndEnter("Text9", QStringLiteral("90"));
        Evaluate();
        EXPECT_EQ(Button("Command3")->isEnabled(), completes) << side;
    }
}

// No field shape chosen (here after クリア) is named as such, never a failed computation.
TEST_F(CaseGuard, EvaluatingWithoutAShapeAsksForOne) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    TypeAndEnter("Text9", QStringLiteral("60"));
    Click("Command6");
    SetFixedTubeVoltage(QStringLiteral("80"));
    TypeAndEnter("Text14", QStringLiteral("100"));
    TypeAndEnter("Text15", QStringLiteral("20"));
    Evaluate();
    ASSERT_EQ(Messages().Shown().size(), 1u);
    EXPECT_EQ(Messages().Shown()[0].text, QString::fromUtf8(kNoFieldShapeMessage));
    EXPECT_TRUE(LabelText("Label74").isEmpty());
}

// An FSD at or beyond the focus–receptor distance (100 cm in Room1) is refused; one below
// 30 cm is computed only after "はい". Either way the message names the FSD box.
TEST_F(CaseGuard, AnImplausibleFocusSkinDistanceIsRefusedOrQuestioned) {
    const struct {
        const char* fsd;
        std::optional<Answer> answer;
        bool computed;
    } cases[] = {{"100", std::nullopt, false},
                 {"150", std::nullopt, false},
                 {"5", Answer::No, false},
                 {"5", Answer::Yes, true}};
    for (const auto& c : cases) {
        PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
        TypeAndEnter("Text9", QString::fromLatin1(c.fsd));
        if (c.answer) Messages().QueueAnswer(*c.answer);
        Evaluate();
        ASSERT_FALSE(Messages().Shown().empty()) << c.fsd;
        EXPECT_TRUE(Messages().Shown()[0].text.contains(CaseBoxName(CaseBox::FocusSkinDistance)))
            << c.fsd;
        EXPECT_EQ(Button("Command3")->isEnabled(), c.computed) << c.fsd;
        EXPECT_EQ(LabelText("Label74").isEmpty(), !c.computed) << c.fsd;
        if (!c.computed) {
            EXPECT_EQ(QApplication::focusWidget(), Box("Text9")) << c.fsd;
        }
        Click("Command6");
    }
}

// A calculation refused or failed after a good one leaves the last case's figures greyed (or
// "---"), never in full colour as if they were the new case's: here another equipment file
// empties the tube voltage (incomplete), or copper 100 m thick lets no photon through.
TEST_F(CaseGuard, ARefusedCalculationNeverShowsTheLastResultAsCurrent) {
    WriteRoomFile(PathOf(QStringLiteral("Steep.odv3")), {{6, QStringLiteral("100000.00")}});
    const struct {
        const char* name;
        const char* file;
        bool setVoltage;
    } cases[] = {{"incomplete", "Room2.odv3", false}, {"failed", "Steep.odv3", true}};
    for (const auto& c : cases) {
        PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
        Evaluate();
        ASSERT_TRUE(ResultShownAsCurrent()) << c.name;
        const QString dose = LabelText("Label74");
        Main().RefreshFileList();
        ClickFile(QString::fromLatin1(c.file));
        if (c.setVoltage) SetFixedTubeVoltage(QStringLiteral("80"));
        Evaluate();
        ASSERT_EQ(Messages().Shown().size(), 1u) << c.name;
        EXPECT_EQ(Messages().Shown()[0].icon, MessageIcon::Exclamation) << c.name;
        EXPECT_EQ(LabelText("Label74"), dose) << c.name;  // kept, as the last case's
        for (const char* name : {"Label72", "Label73", "Label74"})
            EXPECT_FALSE(Label(name)->isEnabled()) << c.name << " " << name;
        EXPECT_FALSE(Button("Command3")->isEnabled()) << c.name;
        Click("Command6");
    }
}

// The body part is the word typed: "腹部" stays "腹部", not the list's 腹部背面, and reaches
// the results table so.
TEST_F(CaseGuard, TheBodyPartTypedIsNotCompletedToAnotherWord) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    auto* combo = Main().Control<QComboBox>("Combo1");
    combo->lineEdit()->setFocus();
    Commit(combo->lineEdit(), QStringLiteral("腹部"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(combo->currentText(), QStringLiteral("腹部"));
    Evaluate();
    Click("Command3");
    const ResultsTable& table = App().ResultsWindow().Table();
    ASSERT_EQ(table.NextRowIndex, 2);
    EXPECT_EQ(CellText(table.Rows[1][ResultsColumn::BodyPart]), "腹部");
}

// Closed by the user, the results window comes back by a double click on the dose's caption.
TEST_F(CaseGuard, TheResultsWindowComesBackFromTheMainWindow) {
    Form10& results = App().ResultsWindow();
    results.close();
    ASSERT_FALSE(results.isVisible());
    EXPECT_FALSE(Label("Label38")->toolTip().isEmpty());
    QTest::mouseDClick(Label("Label38"), Qt::LeftButton);
    EXPECT_TRUE(results.isVisible());
}

}  // namespace
}  // namespace ordevo::testing
