// The command-line evaluator on a synthetic working folder: it must compute what the window
// computes, print every label as the window shows it, and report failures as the window would.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>
#include <iostream>
#include <sstream>

#include "cli_commands.h"
#include "couch.h"
#include "dose_evaluation.h"
#include "evaluation_messages.h"
#include "case_messages.h"
#include "synthetic_data.h"

namespace ordevo::cli {
namespace {

class CliCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        testing::WriteSyntheticWorkingFolder(dir_.path());
    }

    // Runs a command; returns its exit code and leaves its output in out_.
    int Run(int (*command)(const Arguments&, std::ostream&), std::vector<std::string> words,
            const std::vector<std::string>& allowed) {
        words.insert(words.begin(), {"--data", dir_.path().toStdString(), "--equipment",
                                     (dir_.path() + "/Room1.odv3").toStdString()});
        out_.str("");
        return command(Arguments(words, allowed), out_);
    }

    // The text after `"key": ` in the one-line JSON output, up to the next delimiter.
    std::string ValueAfter(const std::string& key, const char* delimiters) const {
        const std::string text = out_.str();
        const std::string marker = "\"" + key + "\": ";
        const std::size_t at = text.find(marker);
        if (at == std::string::npos) {
            ADD_FAILURE() << key << " missing in " << text;
            return {};
        }
        const std::size_t start = at + marker.size();
        return text.substr(start, text.find_first_of(delimiters, start) - start);
    }

    double Number(const std::string& key) const { return std::stod(ValueAfter(key, ",}")); }

    std::string Label(const std::string& name) const {
        const std::string quoted = ValueAfter(name, ",}");
        return quoted.size() >= 2 ? quoted.substr(1, quoted.size() - 2) : quoted;
    }

    QTemporaryDir dir_;
    std::ostringstream out_;
};

// Ka,r 10 mGy and P_KA 1 Gy·cm² make a 10 cm square at the reference point; the chain must
// then hold together exactly as its formula says.
TEST_F(CliCommands, EvaluateFollowsTheDoseChain) {
    ASSERT_EQ(Run(RunEvaluate,
                  {"--kv", "80", "--kar", "10", "--pka", "1", "--shape", "square", "--fsd", "60",
                   "--body-part", "頭部"},
                  kEvaluateOptions),
              0)
        << out_.str();
    EXPECT_EQ(Label("Label65"), "10.00");
    EXPECT_DOUBLE_EQ(Number("ReferenceFieldSize"), 10.0);
    EXPECT_DOUBLE_EQ(Number("CorrectedReferenceAirKerma"), 10.5);  // calibration 1.050
    EXPECT_DOUBLE_EQ(Number("EntranceAirKerma"), 0.8 * 10.5);      // couch 0.800
    EXPECT_DOUBLE_EQ(Number("PhantomSurfaceDistance"), 60.0 - 1.2);
    EXPECT_DOUBLE_EQ(Number("SurfaceFieldSize"), 10.0 * 58.8 / 60.0);  // FAD − 15 = 60
    EXPECT_DOUBLE_EQ(Number("TubeVoltage"), 80.0);

    const double R = Number("TissueToAirDoseRatio");
    const double B = Number("BackscatterFactor");
    const double F = Number("DepthDoseFactor");
    const double isq = (60.0 / 58.8) * (60.0 / 58.8);
    EXPECT_DOUBLE_EQ(Number("ReferencePointDistance"), 60.0);
    // The phantom surface sees the unattenuated kerma; the couch is carried by F alone.
    EXPECT_NEAR(Number("SkinDose"), F * B * R * isq * 10.5, 1e-12);
    EXPECT_NEAR(Number("ScatterFactor"), F * B * isq / 0.8, 1e-12);
    EXPECT_GT(B, 1.0);
    EXPECT_GT(R, 0.9);
    EXPECT_LT(R, 1.2);

    EXPECT_EQ(Label("Label68"), "10.5");
    EXPECT_EQ(Label("Label70"), "0.800");
    EXPECT_EQ(Label("Label71"), "8.4");
    EXPECT_NE(out_.str().find("\"BodyPart\": \"頭部\""), std::string::npos);
    EXPECT_NE(out_.str().find("\"TubeVoltageText\": \"80\""), std::string::npos);
}

// Every shown text under the name of the number it shows with "Text" added and, for existing
// callers, under the window's label number; the values by hand as in the chain above (10 cm square,
// C = 1.050, T = 0.800; the editor's constant (10/12)·(75/60)² = 1.302).
TEST_F(CliCommands, LabelsCarryDescriptiveNamesBesideTheWindowsNumbers) {
    const auto labelsOf = [this] {
        return QJsonDocument::fromJson(QByteArray::fromStdString(out_.str()))
            .object()
            .value("labels")
            .toObject();
    };
    ASSERT_EQ(Run(RunEvaluate,
                  {"--kv", "80", "--kar", "10", "--pka", "1", "--shape", "square", "--fsd", "60"},
                  kEvaluateOptions),
              0)
        << out_.str();
    const QJsonObject evaluated = labelsOf();
    const struct {
        const char* name;
        const char* label;
        const char* text;  // nullptr: not checked by hand here
    } evaluate[] = {{"ReferenceFieldSizeText", "Label65", "10.00"},
                    {"CorrectedReferenceAirKermaText", "Label68", "10.5"},
                    {"CorrectedKermaAreaProductText", "Label69", "1.1"},  // 1.05 rounds up
                    {"CouchTransmissionText", "Label70", "0.800"},
                    {"EntranceAirKermaText", "Label71", "8.4"},
                    {"TissueToAirDoseRatioText", "Label72", nullptr},
                    {"ScatterFactorText", "Label73", nullptr},
                    {"SkinDoseText", "Label74", nullptr}};
    for (const auto& c : evaluate) {
        EXPECT_FALSE(evaluated.value(c.name).toString().isEmpty()) << c.name;
        EXPECT_EQ(evaluated.value(c.name), evaluated.value(c.label)) << c.name;
        if (c.text) {
            EXPECT_EQ(evaluated.value(c.name).toString().toStdString(), c.text);
        }
    }

    ASSERT_EQ(
        Run(RunCouch,
            {"--typical-kv", "80", "--without", "10.0", "--with", "8.0", "--displayed", "12.0"},
            kCouchOptions),
        0)
        << out_.str();
    const QJsonObject couch = labelsOf();
    EXPECT_EQ(couch.value("CouchTransmissionText").toString(), QStringLiteral("0.800"));
    EXPECT_EQ(couch.value("CalibrationConstantText").toString(), QStringLiteral("1.302"));
    for (const auto& [name, label] : {std::pair{"CouchTransmissionText", "Label21"},
                                      std::pair{"CouchSoftTissueThicknessText", "Label38"},
                                      std::pair{"CalibrationConstantText", "Label27"}}) {
        EXPECT_FALSE(couch.value(name).toString().isEmpty()) << name;
        EXPECT_EQ(couch.value(name), couch.value(label)) << name;
    }
}

// The expanded uncertainty (k = 2) beside the skin dose: a measurement record beside the
// equipment file shrinks it (the calibration's share falls from 35 %/√3 to 3.5 % of the dose); a
// wider FSD estimate widens it.
TEST_F(CliCommands, EvaluateGivesTheExpandedUncertaintyOfWhatIsKnown) {
    const std::vector<std::string> beam = {"--kv", "80",      "--kar",  "10",    "--pka",
                                           "1",    "--shape", "square", "--fsd", "60"};
    auto expanded = [&](std::vector<std::string> words) {
        EXPECT_EQ(Run(RunEvaluate, words, kEvaluateOptions), 0) << out_.str();
        return Number("skinDoseExpandedUncertainty");
    };
    const double unmeasured = expanded(beam);
    const double dose = Number("SkinDose");
    EXPECT_GT(unmeasured / dose, 2.0 * 0.35 / std::sqrt(3.0));  // the display tolerance, and more
    std::vector<std::string> wider = beam;
    wider.insert(wider.end(), {"--fsd-uncertainty", "5"});
    EXPECT_GT(expanded(wider), unmeasured);
    QFile side(dir_.path() + "/Room1.odv3.measured");
    ASSERT_TRUE(side.open(QIODevice::WriteOnly));
    side.write("calibration=measured\r\ncouch=measured\r\n");
    side.close();
    const double measured = expanded(beam);
    EXPECT_LT(measured, unmeasured);
    EXPECT_NE(out_.str().find("\"calibrationMeasured\": true"), std::string::npos);
}

// The field size enters the evaluation as the "#0.00" text shows it, not at full precision.
TEST_F(CliCommands, EvaluateUsesTheRoundedFieldSize) {
    ASSERT_EQ(Run(RunEvaluate,
                  {"--kv", "80", "--kar", "10", "--pka", "1", "--shape", "circle", "--fsd", "60"},
                  kEvaluateOptions),
              0);
    EXPECT_EQ(Label("Label65"), "11.28");
    EXPECT_DOUBLE_EQ(Number("SurfaceFieldSize"), 11.28 * 58.8 / 60.0);
    EXPECT_NE(out_.str().find("\"BodyPart\": \"---\""), std::string::npos);
}

// The FSD against the room: at or beyond the focus–receptor distance it is refused naming the
// box; below 30 cm the case is computed with a note on stderr, where the window asks.
TEST_F(CliCommands, EvaluateChecksTheFocusSkinDistanceAgainstTheRoom) {
    const double receptorCm = 100;  // Room1's focus–receptor distance
    const struct {
        double fsdCm;
        int exitCode;
        bool noted;
    } cases[] = {{receptorCm, 1, false}, {receptorCm + 20, 1, false}, {5, 0, true}, {30, 0, false}};
    for (const auto& c : cases) {
        std::ostringstream err;
        std::streambuf* const stderrBuffer = std::cerr.rdbuf(err.rdbuf());
        const int exitCode = Run(RunEvaluate,
                                 {"--kv", "80", "--kar", "10", "--pka", "1", "--shape", "square",
                                  "--fsd", std::to_string(c.fsdCm)},
                                 kEvaluateOptions);
        std::cerr.rdbuf(stderrBuffer);
        EXPECT_EQ(exitCode, c.exitCode) << c.fsdCm << out_.str();
        if (c.exitCode == 1) {
            EXPECT_NE(out_.str().find("「実際の焦点-入射表面間距離」"), std::string::npos);
            EXPECT_NE(out_.str().find("焦点-受像面間距離"), std::string::npos);
        }
        EXPECT_EQ(err.str().find("「実際の焦点-入射表面間距離」") != std::string::npos, c.noted)
            << c.fsdCm;
    }
}

TEST_F(CliCommands, EvaluateReportsTheWindowsMessages) {
    EXPECT_EQ(Run(RunEvaluate,
                  {"--kv", "151", "--kar", "10", "--pka", "1", "--shape", "square", "--fsd", "60"},
                  kEvaluateOptions),
              1);
    EXPECT_EQ(out_.str(), std::string("{\"error\": \"") + kTubeVoltageInputMessage + "\"}\n");

    EXPECT_EQ(Run(RunEvaluate,
                  {"--kv", "80", "--kar", "10", "--pka", "1", "--shape", "square", "--fsd", "abc"},
                  kEvaluateOptions),
              1);
    // As the window's box refuses it: one number only ("6O" is not read as 6 cm either).
    EXPECT_EQ(out_.str(),
              "{\"error\": \" 「実際の焦点-入射表面間距離」には数値を 1 つだけ入力して"
              "下さい \\n（入力された文字: abc）\"}\n");
    for (const char* fsd : {"6O", "60cm"}) {
        EXPECT_EQ(
            Run(RunEvaluate,
                {"--kv", "80", "--kar", "10", "--pka", "1", "--shape", "square", "--fsd", fsd},
                kEvaluateOptions),
            1);
        EXPECT_NE(out_.str().find("には数値を 1 つだけ入力して下さい"), std::string::npos) << fsd;
    }
    EXPECT_EQ(Run(RunEvaluate,
                  {"--kv", "8O", "--kar", "10", "--pka", "1", "--shape", "square", "--fsd", "60"},
                  kEvaluateOptions),
              1);
    EXPECT_EQ(out_.str(), std::string("{\"error\": \"") + kTubeVoltageInputMessage + "\"}\n");

    EXPECT_EQ(Run(RunEvaluate,
                  {"--kv", "80", "--kar", "-5", "--pka", "1", "--shape", "square", "--fsd", "60"},
                  kEvaluateOptions),
              1);
    EXPECT_EQ(out_.str(), std::string("{\"error\": \"") + kFieldSizeInputMessage + "\"}\n");

    // A failed computation: the window's message first, then the reason on the next line.
    const std::string depthDoseFailed =
        std::string("{\"error\": \"") + kDepthDoseFailedMessage + "\\n";
    // A field wider than the kernels reach at depth fails in the depth-dose step; the message
    // goes on to name the field size, as the window's does.
    EXPECT_EQ(Run(RunEvaluate,
                  {"--kv", "80", "--kar", "1", "--pka", "100", "--shape", "square", "--fsd", "60"},
                  kEvaluateOptions),
              1);
    EXPECT_EQ(out_.str().rfind(std::string("{\"error\": \"") + kDepthDoseFailedMessage +
                                   "\\n・照射野サイズ 316.23 cm",
                               0),
              0u)
        << out_.str();

    QFile::remove(dir_.path() + "/PDS-data/95.dat");
    EXPECT_EQ(Run(RunEvaluate,
                  {"--kv", "80", "--kar", "10", "--pka", "1", "--shape", "square", "--fsd", "60"},
                  kEvaluateOptions),
              1);
    EXPECT_EQ(out_.str().rfind(depthDoseFailed, 0), 0u) << out_.str();
    EXPECT_NE(out_.str().find("PDS-data/95.dat: 開けません"), std::string::npos) << out_.str();
}

// Values that leave the double range never become a result: the step fails and says which.
TEST_F(CliCommands, NonFiniteIntermediatesFailTheEvaluationNamingTheValue) {
    const std::string failed = std::string("{\"error\": \"") + kCalculationFailedMessage + "\\n";
    // A 31.6 cm field, but C·Ka,r = 1.05 × 1.75e308 is past the largest double.
    EXPECT_EQ(Run(RunEvaluate,
                  {"--kv", "80", "--kar", "1.75e308", "--pka", "1.75e308", "--shape", "square",
                   "--fsd", "60"},
                  kEvaluateOptions),
              1);
    EXPECT_EQ(out_.str().rfind(failed, 0), 0u) << out_.str();
    EXPECT_NE(out_.str().find("補正 Ka,r (mGy) が inf"), std::string::npos) << out_.str();
    EXPECT_EQ(out_.str().find("null"), std::string::npos);
}

// A damaged equipment or reference file: the window's message, then file, line and limit.
TEST_F(CliCommands, UnusableFilesAreReportedWithFileLineAndReason) {
    QFile room(dir_.path() + "/Room1.odv3");
    ASSERT_TRUE(room.open(QIODevice::ReadOnly));
    QByteArray bytes = room.readAll();
    room.close();
    ASSERT_TRUE(room.open(QIODevice::WriteOnly));
    room.write(bytes.replace("0.800\r\n", "8\r\n"));  // couch transmission
    room.close();
    EXPECT_EQ(Run(RunEvaluate,
                  {"--kv", "80", "--kar", "10", "--pka", "1", "--shape", "square", "--fsd", "60"},
                  kEvaluateOptions),
              1);
    EXPECT_EQ(out_.str(),
              "{\"error\": \" 基本データファイル Room1.odv3 を読み込めませんでした \\n"
              "Room1.odv3 の 11 行目: 天板透過率 8 は範囲外です（0 より大きく 1 以下）\"}\n");

    QFile::remove(dir_.path() + "/Primary.dat");
    EXPECT_EQ(
        Run(RunCouch, {"--typical-kv", "80", "--without", "10", "--with", "8", "--displayed", "12"},
            kCouchOptions),
        1);
    EXPECT_EQ(out_.str().rfind(
                  "{\"error\": \" 基準データファイルを読み込めませんでした \\nPrimary.dat: ", 0),
              0u)
        << out_.str();
}

TEST_F(CliCommands, EvaluateAcceptsANormalRangeAndEndsAtItsTop) {
    ASSERT_EQ(Run(RunEvaluate,
                  {"--kv-low", "75", "--kv-high", "85", "--weighting", "normal", "--kar", "10",
                   "--pka", "1", "--shape", "square", "--fsd", "60"},
                  kEvaluateOptions),
              0)
        << out_.str();
    EXPECT_DOUBLE_EQ(Number("TubeVoltage"), 85.0);
    EXPECT_NE(out_.str().find("\"TubeVoltageText\": \"75 - 85\""), std::string::npos);
}

TEST_F(CliCommands, SpectrumPrintsTheSpectrumFileByteForByte) {
    ASSERT_EQ(Run(RunSpectrum, {"--kv", "80"}, kSpectrumOptions), 0);
    const std::string text = out_.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 300);
    EXPECT_EQ(text.substr(0, 22), "5.000E-01  0.000E+00\r\n");
    EXPECT_NE(text.find("\r\n1.610E+02"), 0u);
    EXPECT_EQ(text.substr(text.size() - 22), "1.500E+02  0.000E+00\r\n");  // above 2·80 bins
}

TEST_F(CliCommands, CouchDerivesTheMeasuredQuantities) {
    ASSERT_EQ(
        Run(RunCouch,
            {"--typical-kv", "80", "--without", "10.0", "--with", "8.0", "--displayed", "12.0"},
            kCouchOptions),
        0)
        << out_.str();
    EXPECT_DOUBLE_EQ(Number("CouchTransmission"), 0.8);
    EXPECT_DOUBLE_EQ(Number("CalibrationConstant"), (10.0 / 12.0) * (75.0 / 60.0) * (75.0 / 60.0));
    EXPECT_EQ(Label("Label21"), "0.800");
    EXPECT_EQ(Label("Label27"), "1.302");
    const double t = Number("CouchSoftTissueThickness");
    EXPECT_GT(t, 0.5);
    EXPECT_LT(t, 5.0);

    EXPECT_EQ(Run(RunCouch,
                  {"--typical-kv", "", "--without", "10.0", "--with", "8.0", "--displayed", "12.0"},
                  kCouchOptions),
              1);
    EXPECT_EQ(out_.str().rfind(std::string("{\"error\": \"") +
                                   MessageFor(CouchInputProblem::TypicalTubeVoltage) + "\\n",
                               0),
              0u)
        << out_.str();
    EXPECT_EQ(Run(RunCouch,
                  {"--typical-kv", "80", "--without", "", "--with", "8.0", "--displayed", "12.0"},
                  kCouchOptions),
              1);
    EXPECT_EQ(out_.str(), std::string("{\"error\": \"") + kCouchEmptyInputMessage + "\"}\n");
    // As the editor: a measurement that is not one number names its box, never reads "1O.2" as 1.
    EXPECT_EQ(Run(RunCouch,
                  {"--typical-kv", "80", "--without", "1O.2", "--with", "8.0", "--displayed", "12"},
                  kCouchOptions),
              1);
    EXPECT_EQ(out_.str(), std::string("{\"error\": \"") +
                              MessageFor(CouchInputProblem::AirKermaWithoutCouch) +
                              "\\n入力された文字「1O.2」は数値として読めません\"}\n");

    // A displayed value so small that the constant leaves the double range.
    EXPECT_EQ(
        Run(RunCouch,
            {"--typical-kv", "80", "--without", "10.0", "--with", "8.0", "--displayed", "1e-320"},
            kCouchOptions),
        1);
    EXPECT_EQ(out_.str().rfind(std::string("{\"error\": \"") +
                                   MessageFor(CouchInputProblem::CalibrationConstant) + "\\n",
                               0),
              0u)
        << out_.str();
}

TEST(CliArguments, RefusesStrayRepeatedAndUnknownOptions) {
    EXPECT_THROW(Arguments({"--kv"}, {"kv"}), UsageError);
    EXPECT_THROW(Arguments({"--kv", "1", "--kv", "2"}, {"kv"}), UsageError);
    EXPECT_THROW(Arguments({"--volts", "1"}, {"kv"}), UsageError);
    EXPECT_THROW(Arguments({"80"}, {"kv"}), UsageError);
    EXPECT_THROW(Arguments({}, {"kv"}).Require("kv"), UsageError);
    EXPECT_THROW(Arguments({"--kv", "\xff\x81"}, {"kv"}), UsageError);      // not UTF-8
    EXPECT_THROW(Arguments({"--kv", "\xed\xa0\x80"}, {"kv"}), UsageError);  // a surrogate
    EXPECT_NO_THROW(Arguments({"--kv", "頭部"}, {"kv"}));
}

}  // namespace
}  // namespace ordevo::cli
