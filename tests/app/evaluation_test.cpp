// The window side of the dose evaluation: the labels against the command-line evaluator, the
// spectrum file and question, every failure and the state it leaves, and no re-entrance.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QTest>

#include <algorithm>
#include <sstream>

#include "app_fixture.h"
#include "cli_commands.h"
#include "dose_evaluation.h"
#include "evaluation_messages.h"
#include "form10.h"
#include "form6.h"
#include "form7.h"
#include "results_table.h"
#include "uncertainty_text.h"

namespace ordevo::testing {
namespace {

using ui::Answer;
using ui::MessageButtons;
using ui::MessageIcon;

const QString kSpectrumQuestion = QStringLiteral("  Ｘ線スペクトルを表示しますか？ 　");
const char* const kValueLabels[] = {"Label68", "Label69", "Label70", "Label71",
                                    "Label72", "Label73", "Label74"};

class Evaluation : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        RegisterBeforeStart(QStringLiteral("Clinic"));
        Start();
    }
    QString SpectrumPath() const { return dir_.filePath(QStringLiteral("B_SPCTL.dat")); }
    std::map<std::string, QString> ValueLabels() {
        std::map<std::string, QString> texts;
        for (const char* name : kValueLabels) texts[name] = LabelText(name);
        return texts;
    }
};

// ---- The whole case against ordevo-cli --------------------------------------------------

struct WholeCase {
    const char* name;
    const char* kvLow;
    const char* kvHigh;  // nullptr: a fixed voltage
    bool normalWeights;
    const char* kar;
    const char* pka;
    bool square;
    const char* fsd;  // nullptr: the proposed FAD − 15
    int bodyPart;     // entry of Combo1, -1 for none
};

std::ostream& operator<<(std::ostream& out, const WholeCase& c) { return out << c.name; }

class WholeCaseEvaluation : public Evaluation, public ::testing::WithParamInterface<WholeCase> {
protected:
    QJsonObject RunCli(const char* command) {
        const WholeCase c = GetParam();
        std::vector<std::string> words = {"--data", Folder().toStdString(), "--equipment",
                                          PathOf(QStringLiteral("Room1.odv3")).toStdString()};
        if (c.kvHigh == nullptr) {
            words.insert(words.end(), {"--kv", c.kvLow});
        } else {
            words.insert(words.end(), {"--kv-low", c.kvLow, "--kv-high", c.kvHigh, "--weighting",
                                       c.normalWeights ? "normal" : "equal"});
        }
        std::ostringstream out;
        if (std::string(command) == "spectrum") {
            EXPECT_EQ(cli::RunSpectrum(cli::Arguments(words, cli::kSpectrumOptions), out), 0);
            spectrumText_ = out.str();
            return {};
        }
        words.insert(words.end(),
                     {"--kar", c.kar, "--pka", c.pka, "--shape", c.square ? "square" : "circle",
                      "--fsd", c.fsd != nullptr ? c.fsd : "60"});
        if (c.bodyPart >= 0)
            words.insert(words.end(),
                         {"--body-part",
                          Main().Control<QComboBox>("Combo1")->itemText(c.bodyPart).toStdString()});
        EXPECT_EQ(cli::RunEvaluate(cli::Arguments(words, cli::kEvaluateOptions), out), 0)
            << out.str();
        return QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).object();
    }
    std::string spectrumText_;
};

TEST_P(WholeCaseEvaluation, ShowsWhatTheCommandLineEvaluatorComputes) {
    const WholeCase c = GetParam();
    ClickFile(QStringLiteral("Room1.odv3"));
    if (c.bodyPart >= 0) ChooseBodyPart(c.bodyPart);
    if (c.kvHigh == nullptr) {
        SetFixedTubeVoltage(QString::fromLatin1(c.kvLow));
    } else {
        SetTubeVoltageRange(QString::fromLatin1(c.kvLow), QString::fromLatin1(c.kvHigh),
                            c.normalWeights);
    }
    TypeAndEnter("Text14", QString::fromLatin1(c.kar));
    TypeAndEnter("Text15", QString::fromLatin1(c.pka));
    Click(c.square ? "Option2" : "Option1");
    if (c.fsd != nullptr) TypeAndEnter("Text9", QString::fromLatin1(c.fsd));
    Click("Command2");

    const QJsonObject cli = RunCli("evaluate");
    const QJsonObject labels = cli.value(QStringLiteral("labels")).toObject();
    ASSERT_FALSE(labels.isEmpty());
    for (const char* name :
         {"Label65", "Label68", "Label69", "Label70", "Label71", "Label72", "Label73", "Label74"})
        EXPECT_EQ(LabelText(name), labels.value(QString::fromLatin1(name)).toString()) << name;
    const EvaluatedCase* evaluated = Main().CurrentResult();
    ASSERT_NE(evaluated, nullptr);
    EXPECT_EQ(QString::fromStdString(BodyPartOf(evaluated->Entry)),
              cli.value(QStringLiteral("BodyPart")).toString());
    EXPECT_EQ(QString::fromStdString(evaluated->Entry.TubeVoltage),
              cli.value(QStringLiteral("TubeVoltageText")).toString());
    EXPECT_EQ(Box("Text5")->text(), cli.value(QStringLiteral("TubeVoltageText")).toString());
    // Full precision, not only the shown digits: the same inputs reach the same functions.
    EXPECT_EQ(evaluated->Evaluation.Result.SkinDose,
              cli.value(QStringLiteral("SkinDose")).toDouble());
    const double relative = cli.value(QStringLiteral("uncertaintyBudget"))
                                .toObject()
                                .value(QStringLiteral("relativeExpandedUncertainty"))
                                .toDouble();
    EXPECT_EQ(LabelText("SkinDoseUncertaintyLabel"), ExpandedUncertaintyText(relative));
    EXPECT_EQ(evaluated->Evaluation.Result.BackscatterFactor,
              cli.value(QStringLiteral("BackscatterFactor")).toDouble());
    EXPECT_EQ(evaluated->Evaluation.Result.DepthDoseFactor,
              cli.value(QStringLiteral("DepthDoseFactor")).toDouble());

    // The spectrum file is the evaluator's spectrum, byte for byte.
    RunCli("spectrum");
    EXPECT_EQ(FileBytes(SpectrumPath()).toStdString(), spectrumText_);

    const auto& shown = Messages().Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kSpectrumQuestion);
    EXPECT_EQ(shown[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(App().SpectrumWindow().isVisible());
    for (const char* on : {"Command3", "Command6", "Command9"})
        EXPECT_TRUE(Button(on)->isEnabled()) << on;
    EXPECT_TRUE(Button("Command3")->hasFocus());
}

INSTANTIATE_TEST_SUITE_P(Cases, WholeCaseEvaluation,
                         ::testing::Values(WholeCase{"FixedSquareHead", "80", nullptr, false, "100",
                                                     "20", true, nullptr, 0},
                                           WholeCase{"NormalRangeCircleNoBodyPart", "75", "85",
                                                     true, "250.5", "31.7", false, "55", -1},
                                           WholeCase{"EqualRangeSquareBack", "60.5", "70", false,
                                                     "12", "3", true, "68.5", 2}),
                         [](const ::testing::TestParamInfo<WholeCase>& param) {
                             return std::string(param.param.name);
                         });

// ---- Adding, clearing, the spectrum question ------------------------------------------------

TEST_F(Evaluation, AddingTheCaseStoresTheShownValuesOnceAndDisablesAdding) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    ChooseBodyPart(1);
    Click("Command2");
    Click("Command3");
    const ResultsTable& table = App().ResultsWindow().Table();
    ASSERT_EQ(table.NextRowIndex, 2);
    const ResultsRow& row = table.Rows[1];
    EXPECT_EQ(CellText(row[ResultsColumn::BodyPart]), "胸部背面");
    EXPECT_EQ(CellText(row[ResultsColumn::TubeVoltageText]), "80");
    EXPECT_EQ(CellText(row[ResultsColumn::FieldSizeText]), "14.1cm平方");  // √200 = 14.14
    EXPECT_EQ(CellText(row[ResultsColumn::FocusSkinDistance]), "60");
    EXPECT_EQ(QString::fromStdString(CellText(row[ResultsColumn::SkinDose])), LabelText("Label74"));
    EXPECT_EQ(QString::fromStdString(CellText(row[ResultsColumn::ScatterFactor])),
              LabelText("Label73"));
    EXPECT_FALSE(Button("Command3")->isEnabled());
    EXPECT_TRUE(App().ResultsWindow().isVisible());
}

TEST_F(Evaluation, AnsweringNoLeavesTheSpectrumWindowClosed) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    Messages().QueueAnswer(Answer::No);
    Click("Command2");
    EXPECT_FALSE(App().SpectrumWindow().isVisible());
    EXPECT_TRUE(QFile::exists(SpectrumPath()));
    EXPECT_TRUE(Button("Command9")->isEnabled());
}

TEST_F(Evaluation, ClearingTheResultEmptiesTheCaseButKeepsTheTable) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    Click("Command2");
    Click("Command3");
    Click("Command6");
    for (const char* label : kValueLabels) EXPECT_TRUE(LabelText(label).isEmpty()) << label;
    for (const char* box : {"Text5", "Text14", "Text15"})
        EXPECT_TRUE(Box(box)->text().isEmpty()) << box;
    EXPECT_EQ(Box("Text9")->text(), QStringLiteral("60"));
    EXPECT_TRUE(LabelText("Label65").isEmpty());
    EXPECT_FALSE(Option("Option1")->isChecked());
    EXPECT_FALSE(Option("Option2")->isChecked());
    EXPECT_FALSE(Button("Command3")->isEnabled());
    EXPECT_FALSE(Button("Command9")->isEnabled());
    EXPECT_TRUE(Button("Command2")->isEnabled());
    EXPECT_FALSE(QFile::exists(SpectrumPath()));
    EXPECT_EQ(App().ResultsWindow().Table().NextRowIndex, 2);
    // Clearing twice (no spectrum file any more) is no error either.
    Messages().Forget();
    Click("Command6");
    EXPECT_TRUE(Messages().Shown().empty());
}

// ---- Failures ------------------------------------------------------------------------------

// Any of the four boxes empty or blank stops before anything is computed.
TEST_F(Evaluation, IncompleteInputIsRefusedBeforeAnythingIsComputed) {
    ClickFile(QStringLiteral("Room1.odv3"));
    struct Case {
        const char* box;
        const char* text;
    };
    for (const Case c :
         {Case{"Text5", ""}, Case{"Text14", ""}, Case{"Text15", "  "}, Case{"Text9", ""}}) {
        SetFixedTubeVoltage(QStringLiteral("80"));
        TypeAndEnter("Text14", QStringLiteral("100"));
        TypeAndEnter("Text15", QStringLiteral("20"));
        TypeAndEnter("Text9", QStringLiteral("60"));
        if (std::string(c.box) == "Text5") {
            Main().SetTubeVoltageText(QString());
        } else {
            TypeAndEnter(c.box, QString::fromLatin1(c.text));
        }
        Messages().Forget();
        Click("Command2");
        ASSERT_EQ(Messages().Shown().size(), 1u) << c.box;
        EXPECT_EQ(Messages().Shown()[0].text, QString::fromUtf8(kIncompleteInputMessage));
        EXPECT_EQ(Messages().Shown()[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(Messages().BeepCount(), 0);
        for (const char* label : kValueLabels)
            EXPECT_TRUE(LabelText(label).isEmpty()) << c.box << label;
        EXPECT_FALSE(QFile::exists(SpectrumPath()));
        EXPECT_FALSE(Button("Command3")->isEnabled());
    }
}

// A failing spectrum (100 m of copper lets nothing through): beep and warning with the reason,
// the corrections of the new case stay shown, the ratio, scatter factor and dose keep the last
// case's values, no question, and the mixed result can no longer be added to the table.
TEST_F(Evaluation, ACalculationFailureKeepsTheStepsBeforeItAndStopsAdding) {
    WriteRoomFile(PathOf(QStringLiteral("Steep.odv3")),
                  {{6, QStringLiteral("100000.00")}, {13, QStringLiteral("2.000")}});
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    Click("Command2");
    const auto before = ValueLabels();
    const QByteArray spectrumBefore = FileBytes(SpectrumPath());
    Main().RefreshFileList();
    ClickFile(QStringLiteral("Steep.odv3"));
    SetFixedTubeVoltage(QStringLiteral("80"));
    Messages().Forget();
    Click("Command2");

    ASSERT_EQ(Messages().Shown().size(), 1u);
    EXPECT_EQ(Messages().Shown()[0].text.section(QLatin1Char('\n'), 0, 0),
              QString::fromUtf8(kCalculationFailedMessage));
    EXPECT_TRUE(Messages().Shown()[0].text.contains(
        QString::fromUtf8("スペクトルの合計 0 で規格化できません")))
        << Messages().Shown()[0].text.toStdString();
    EXPECT_EQ(Messages().Shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(Messages().Shown()[0].afterBeep);
    EXPECT_EQ(LabelText("Label68"), QStringLiteral("200.0"));  // C = 2: 2 × 100 mGy
    EXPECT_EQ(LabelText("Label69"), QStringLiteral("40.0"));
    EXPECT_EQ(LabelText("Label71"), QStringLiteral("160.0"));  // T = 0.8
    for (const char* kept : {"Label72", "Label73", "Label74"})
        EXPECT_EQ(LabelText(kept), before.at(kept)) << kept;
    EXPECT_EQ(FileBytes(SpectrumPath()), spectrumBefore);
    EXPECT_FALSE(Button("Command3")->isEnabled());
    EXPECT_TRUE(Button("Command6")->isEnabled());
}

TEST_F(Evaluation, AMissingScatterKernelFailsTheDepthDoseStep) {
    ASSERT_TRUE(QFile::remove(PathOf(QStringLiteral("PDS-data/80.dat"))));
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    Click("Command2");
    ASSERT_EQ(Messages().Shown().size(), 1u);
    EXPECT_EQ(Messages().Shown()[0].text,
              QString::fromUtf8(kDepthDoseFailedMessage) +
                  QStringLiteral("\nPDS-data/80.dat: 開けません（No such file or directory）"));
    EXPECT_EQ(Messages().Shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(Messages().Shown()[0].afterBeep);
    EXPECT_EQ(LabelText("Label73"), QStringLiteral("---"));
    EXPECT_EQ(LabelText("Label74"), QStringLiteral("---"));
    EXPECT_FALSE(LabelText("Label72").isEmpty());  // the spectrum step had completed
    EXPECT_TRUE(QFile::exists(SpectrumPath()));
    EXPECT_TRUE(Button("Command9")->isEnabled());
    EXPECT_FALSE(Button("Command3")->isEnabled());
    EXPECT_TRUE(Button("Command6")->isEnabled());  // as before the evaluation
}

// The spectrum file only serves the spectrum window: a working folder that refuses it still
// gives the result, the window draws the spectrum from memory, and the user is told once.
TEST_F(Evaluation, AFolderThatRefusesTheSpectrumFileStillGivesTheResult) {
    ASSERT_TRUE(QDir(Folder()).mkdir(QStringLiteral("B_SPCTL.dat")));
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    for (int calculation = 1; calculation <= 2; ++calculation) {
        Messages().Forget();
        Click("Command2");
        const std::vector<QString> texts = MessageTexts();
        ASSERT_EQ(texts.size(), calculation == 1 ? 2u : 1u) << calculation;
        if (calculation == 1) {
            EXPECT_TRUE(texts[0].contains(QStringLiteral("B_SPCTL.dat: 書き込めません")))
                << texts[0].toStdString();
        }
        EXPECT_EQ(texts.back(), kSpectrumQuestion);
        EXPECT_FALSE(LabelText("Label74").isEmpty());
        EXPECT_TRUE(Button("Command3")->isEnabled());
        const BinArray& spectrum = Main().Case().Spectrum.XraySpectrum;
        EXPECT_EQ(App().SpectrumWindow().LastPlot().MaxFluence,
                  *std::max_element(spectrum.begin() + 1, spectrum.end()));
        EXPECT_TRUE(App().SpectrumWindow().isVisible());
    }
}

// No evaluation can start from a distance the editor would refuse: the file is refused when read.
TEST_F(Evaluation, AFocusIsocentreDistanceOfFifteenCentimetresIsRefusedWhenRead) {
    WriteRoomFile(PathOf(QStringLiteral("Short.odv3")), {{2, QStringLiteral("15.0")}});
    Main().RefreshFileList();
    ClickFile(QStringLiteral("Short.odv3"));
    ASSERT_EQ(Messages().Shown().size(), 1u);
    EXPECT_EQ(Messages().Shown()[0].text,
              QString::fromUtf8(" 基本データファイル Short.odv3 を読み込めませんでした \n"
                                "Short.odv3 の 2 行目: 焦点-アイソセンター間距離 15 cm "
                                "は範囲外です（15 cm より大きい有限の値）"));
    EXPECT_TRUE(Box("Text9")->text().isEmpty());
    EXPECT_FALSE(Box("Text9")->isEnabled());
}

// ---- No second action while an evaluation runs ------------------------------------------------

TEST_F(Evaluation, NoSecondActionCanStartWhileAnEvaluationRuns) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    std::vector<int> steps;
    bool checked = false;
    QObject::connect(&Main(), &Form1::evaluationStepShown, &Main(), [&](int step) {
        steps.push_back(step);
        if (step != static_cast<int>(EvaluationStep::Backscatter)) return;
        checked = true;
        // The ratio of the spectrum step is already shown, the dose of this case not yet.
        EXPECT_FALSE(LabelText("Label72").isEmpty());
        EXPECT_TRUE(LabelText("Label74").isEmpty());
        for (const char* input :
             {"File1", "Command1", "Command2", "Command4", "Command5", "Command6", "Command7",
              "Combo1", "Text9", "Text14", "Text15", "Option1", "Option2", "Picture1"})
            EXPECT_FALSE(Main().Controls().Widget(input)->isEnabled()) << input;
        Click("Command6");      // dropped: the button is disabled
        Main().EvaluateDose();  // refused: one evaluation at a time
        Main().close();         // refused: the window stays while it computes
        EXPECT_TRUE(Main().isVisible());
        EXPECT_FALSE(App().ExitWindow().isVisible());
    });
    Click("Command2");
    EXPECT_TRUE(checked);
    const std::vector<int> once = {1, 2, 3, 4, 5};
    EXPECT_EQ(steps, once);
    EXPECT_FALSE(LabelText("Label74").isEmpty());
    for (const char* input :
         {"File1", "Command1", "Command2", "Command4", "Command5", "Command6", "Command7", "Combo1",
          "Text9", "Text14", "Text15", "Option1", "Option2", "Picture1"})
        EXPECT_TRUE(Main().Controls().Widget(input)->isEnabled()) << input;
    EXPECT_FALSE(Box("Text5")->isEnabled());
}

}  // namespace
}  // namespace ordevo::testing
