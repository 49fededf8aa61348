// The equipment editor on the real window: presets, the Enter chain, the boxes that update the
// record on leaving, "OK" with its checks and results, "Save" and its refusals, and the other
// filter chosen through the filter window.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "cli_commands.h"
#include "couch.h"
#include "equipment_file.h"
#include "measurement_record_file.h"
#include "evaluation_messages.h"
#include "file_list_box.h"
#include "form5.h"
#include "form8.h"
#include "case_messages.h"
#include "number_format.h"
#include "scripted_messages.h"
#include "test_folders.h"

using namespace ordevo;

namespace {

// The measurement of the worked example: 10.0 / 8.0 / 12.0 mGy at a focus–isocentre distance
// of 65 cm, typical tube voltage 80 kV.
const std::map<std::string, QString> kExample = {
    {"Text13", QStringLiteral("Test Room")}, {"Text8", QStringLiteral("100")},
    {"Text5", QStringLiteral("65")},         {"Text1", QStringLiteral("12")},
    {"Text2", QStringLiteral("2.5")},        {"Text3", QStringLiteral("0")},
    {"Text4", QStringLiteral("0.1")},        {"Text23", QStringLiteral("80")},
    {"Text14", QStringLiteral("10.0")},      {"Text15", QStringLiteral("8.0")},
    {"Text16", QStringLiteral("12.0")},
};

class Form8Window : public ::testing::Test {
protected:
    void SetUp() override {
        ordevo::testing::CopySyntheticFile(QStringLiteral("Mo.ele"), folder.path());
    }
    // The editor's record: what its last successful "OK" computed.
    const EquipmentData& Record() const { return window.Record(); }

    QLineEdit* Box(const std::string& name) {
        auto* box = window.findChild<QLineEdit*>(QString::fromStdString(name));
        EXPECT_NE(box, nullptr) << name;
        return box;
    }
    QString Caption(const char* label) {
        return window.findChild<QLabel*>(QString::fromLatin1(label))->text();
    }
    QPushButton* Button(const char* name) {
        return window.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void Fill(std::map<std::string, QString> changes = {}) {
        std::map<std::string, QString> texts = kExample;
        for (const auto& [name, text] : changes) texts[name] = text;
        for (const auto& [name, text] : texts) Box(name)->setText(text);
    }
    void Ok() { Button("Command1")->click(); }
    void Save() { Button("Command3")->click(); }
    QString SavedPath(const QString& name = QStringLiteral("Test Room")) {
        return folder.filePath(name + QStringLiteral(".odv3"));
    }
    // ordevo-cli couch on a saved file, with the measurement of the example.
    QJsonObject RunCouchOn(const QString& equipmentPath) {
        std::ostringstream out;
        const cli::Arguments args(
            std::vector<std::string>{"--data", ordevo::testing::SyntheticFolder().toStdString(),
                                     "--equipment", equipmentPath.toStdString(), "--typical-kv",
                                     "80", "--without", "10.0", "--with", "8.0", "--displayed",
                                     "12.0"},
            cli::kCouchOptions);
        EXPECT_EQ(cli::RunCouch(args, out), 0) << out.str();
        return QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).object();
    }

    QTemporaryDir folder;
    ui::ScopedScriptedMessages messages;
    int saves = 0;
    QString savedName;
    Form8 window{ordevo::testing::SyntheticReference(), folder.path()};
    const QMetaObject::Connection savedConnection =
        QObject::connect(&window, &Form8::equipmentSaved, [this](const QString& name) {
            ++saves;
            savedName = name;
        });
};

TEST_F(Form8Window, NewStartsFromThePresets) {
    window.StartNew();
    Fill();
    Ok();
    ASSERT_TRUE(Button("Command3")->isEnabled());
    window.StartNew();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("  装置データ作成"));
    for (const char* empty :
         {"Text13", "Text8", "Text5", "Text3", "Text4", "Text14", "Text15", "Text16", "Text23"})
        EXPECT_TRUE(Box(empty)->text().isEmpty()) << empty;
    EXPECT_EQ(Box("Text1")->text(), QStringLiteral("12"));
    EXPECT_EQ(Box("Text2")->text(), QStringLiteral("2.5"));
    EXPECT_EQ(Caption("Label29"), QStringLiteral("---"));
    EXPECT_EQ(Caption("Label26"), QStringLiteral("0"));
    for (const char* result : {"Label21", "Label27", "Label38"})
        EXPECT_TRUE(Caption(result).isEmpty()) << result;
    EXPECT_FALSE(Button("Command3")->isEnabled());
    EXPECT_EQ(window.focusWidget(), Box("Text13"));
}

// 10.0 / 8.0 / 12.0 mGy at 65 cm: transmission 8/10, calibration (10/12)·(65/50)² = 1.4083.
TEST_F(Form8Window, OkDerivesTheThreeQuantitiesAsTheCommandLineDoes) {
    window.StartNew();
    Fill();
    Ok();
    EXPECT_TRUE(messages->Shown().empty());
    EXPECT_EQ(Caption("Label21"), QStringLiteral("0.800"));
    EXPECT_EQ(Caption("Label27"), QStringLiteral("1.408"));
    EXPECT_DOUBLE_EQ(Record().CouchTransmission, 0.8);
    EXPECT_DOUBLE_EQ(Record().CalibrationConstant, (10.0 / 12.0) * (65.0 / 50.0) * (65.0 / 50.0));
    EXPECT_EQ(Caption("Label38"),
              QString::fromStdString(FormatNumber(Record().CouchSoftTissueThickness, "#0.0")));
    EXPECT_TRUE(Button("Command3")->isEnabled());
    EXPECT_EQ(window.focusWidget(), Button("Command3"));
    // What "OK" stores besides its results.
    EXPECT_EQ(Record().FocusReceptorDistance, 100);
    EXPECT_EQ(Record().FocusIsocentreDistance, 65);
    EXPECT_EQ(Record().TargetAngle, 12);
    EXPECT_DOUBLE_EQ(Record().InherentFiltration, 0.25);
    EXPECT_DOUBLE_EQ(Record().AddedCopper, 0.01);
    EXPECT_EQ(Record().OtherFilterThickness, 0);

    Save();
    const QJsonObject cli = RunCouchOn(SavedPath());
    // The same inputs through the same computation: the same double.
    EXPECT_EQ(cli.value(QStringLiteral("CouchSoftTissueThickness")).toDouble(),
              Record().CouchSoftTissueThickness);
    const QJsonObject labels = cli.value(QStringLiteral("labels")).toObject();
    EXPECT_EQ(labels.value(QStringLiteral("Label38")).toString(), Caption("Label38"));
    EXPECT_EQ(labels.value(QStringLiteral("Label27")).toString(), Caption("Label27"));
}

TEST_F(Form8Window, SaveWritesTheFileTellsTheUserAndReadsBackTheSame) {
    window.StartNew();
    Fill();
    Ok();
    Save();
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text,
              QStringLiteral(" 基本データを Test Room.odv3 に保存しました "));
    EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::None);
    EXPECT_EQ(messages->Shown()[0].buttons, ui::MessageButtons::Ok);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(savedName, QStringLiteral("Test Room.odv3"));
    EXPECT_FALSE(window.isVisible());
    // C and T came from the readings in the boxes: the record beside the file says so.
    EXPECT_EQ(ReadMeasurementRecord(SavedPath()).value(), (MeasurementRecord{true, true}));

    const auto read = LoadEquipmentFile(SavedPath(), folder.path());
    ASSERT_TRUE(read.has_value()) << read.error().what();
    const EquipmentData& d = read->Data;
    EXPECT_EQ(d.FocusReceptorDistance, 100);
    EXPECT_EQ(d.FocusIsocentreDistance, 65);
    EXPECT_EQ(d.TargetAngle, 12);
    EXPECT_DOUBLE_EQ(d.InherentFiltration, 0.25);
    EXPECT_DOUBLE_EQ(d.AddedCopper, 0.01);
    EXPECT_EQ(d.OtherFilterFlag, 0);
    EXPECT_EQ(read->OtherFilterMaterialText, QStringLiteral("---"));
    EXPECT_EQ(read->OtherFilterThicknessText, QStringLiteral("0"));
    EXPECT_EQ(read->TypicalTubeVoltageText, QStringLiteral("80"));
    // The file holds the measured quantities to three decimals.
    EXPECT_NEAR(d.CouchTransmission, Record().CouchTransmission, 5e-4);
    EXPECT_NEAR(d.CalibrationConstant, Record().CalibrationConstant, 5e-4);
    EXPECT_NEAR(d.CouchSoftTissueThickness, Record().CouchSoftTissueThickness, 5e-4);

    // Saving again under the same name asks first, naming the file: "いいえ" keeps the file
    // and the editor open, "はい" replaces it.
    window.StartNew();
    Fill({{"Text14", QStringLiteral("16.0")}});
    Ok();
    for (const ui::Answer answer : {ui::Answer::No, ui::Answer::Yes}) {
        messages->Forget();
        messages->QueueAnswer(answer);
        Save();
        ASSERT_GE(messages->Shown().size(), 1u);
        EXPECT_EQ(messages->Shown()[0].text,
                  QStringLiteral(" Test Room.odv3 は既にあります。置き換えますか？ "));
        EXPECT_EQ(messages->Shown()[0].buttons, ui::MessageButtons::YesNo);
    }
    EXPECT_EQ(saves, 2);
    EXPECT_DOUBLE_EQ(ReadEquipmentFile(SavedPath())->Data.CouchTransmission, 0.5);  // 8 / 16
}

TEST_F(Form8Window, NoToReplacingKeepsTheFileAndTheEditorOpen) {
    window.StartNew();
    Fill();
    Ok();
    Save();
    const QByteArray first = [&] {
        QFile file(SavedPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    window.StartNew();
    Fill({{"Text14", QStringLiteral("16.0")}});
    Ok();
    messages->QueueAnswer(ui::Answer::No);
    Save();
    QFile file(SavedPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), first);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(saves, 1);
}

TEST_F(Form8Window, OkWithOnlyTheTypicalVoltageEmptyPassesTheEmptyBoxCheck) {
    window.StartNew();
    Fill({{"Text23", QString()}});
    Ok();
    ASSERT_EQ(messages->Shown().size(), 1u);
    // Not the empty-box message: the voltage itself is then refused, naming its box.
    EXPECT_EQ(messages->Shown()[0].text,
              QString::fromUtf8(MessageFor(CouchInputProblem::TypicalTubeVoltage)) +
                  QString::fromUtf8("\n通常使用する代表的な管電圧 0 kV は範囲外です（1〜150 kV）"));
    EXPECT_FALSE(Button("Command3")->isEnabled());
}

TEST_F(Form8Window, EveryOtherEmptyBoxIsRefusedBeforeAnythingIsStored) {
    window.StartNew();
    for (const char* box : {"Text13", "Text8", "Text5", "Text1", "Text2", "Text3", "Text4",
                            "Text14", "Text15", "Text16"}) {
        Fill({{box, QStringLiteral(" ")}});
        messages->Forget();
        Ok();
        ASSERT_EQ(messages->Shown().size(), 1u) << box;
        EXPECT_EQ(messages->Shown()[0].text, QString::fromUtf8(kCouchEmptyInputMessage)) << box;
        EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::Exclamation);
        EXPECT_EQ(Record().FocusReceptorDistance, 0) << box;
        EXPECT_FALSE(Button("Command3")->isEnabled()) << box;
    }
}

// Inputs that make the computation impossible: the warning names the box, nothing is stored,
// the results are emptied and "Save" is disabled, even after an earlier successful "OK".
TEST_F(Form8Window, ImpossibleMeasurementsAreRefusedNamingTheBox) {
    const struct {
        const char* box;
        const char* text;
        CouchInputProblem problem;
    } cases[] = {
        {"Text14", "0", CouchInputProblem::AirKermaWithoutCouch},
        {"Text16", "0", CouchInputProblem::DisplayedReferenceAirKerma},
        {"Text5", "15", CouchInputProblem::FocusIsocentreDistance},
        {"Text23", "0", CouchInputProblem::TypicalTubeVoltage},
        {"Text23", "-80", CouchInputProblem::TypicalTubeVoltage},
        {"Text23", "150.5", CouchInputProblem::TypicalTubeVoltage},
        {"Text15", "12.0", CouchInputProblem::TransmissionAboveOne},
        {"Text15", "0.0001", CouchInputProblem::TransmissionBeyondTable},
        {"Text15", "0", CouchInputProblem::AirKermaWithCouch},
        {"Text15", "abc", CouchInputProblem::AirKermaWithCouch},
        {"Text15", "-1", CouchInputProblem::AirKermaWithCouch},
        {"Text8", "60", CouchInputProblem::FocusReceptorDistance},
        {"Text2", "-50", CouchInputProblem::InherentFiltration},
        {"Text4", "-0.1", CouchInputProblem::AddedCopper},
        {"Text1", "95", CouchInputProblem::TargetAngle},
        {"Text1", "0", CouchInputProblem::TargetAngle},
        // Not one number: never read as the leading digits ("1O.5" as 1, "O.1" as 0).
        {"Text14", "1O.5", CouchInputProblem::AirKermaWithoutCouch},
        {"Text4", "O.1", CouchInputProblem::AddedCopper},
        {"Text1", "1２deg", CouchInputProblem::TargetAngle},
        {"Text23", "8O", CouchInputProblem::TypicalTubeVoltage},
    };
    window.StartNew();
    for (const auto& c : cases) {
        Fill();
        Ok();
        ASSERT_TRUE(Button("Command3")->isEnabled()) << c.box;
        const EquipmentData before = Record();
        Box(c.box)->setText(QString::fromUtf8(c.text));
        messages->Forget();
        Ok();
        ASSERT_EQ(messages->Shown().size(), 1u) << c.box << " " << c.text;
        EXPECT_EQ(messages->Shown()[0].text.section(QLatin1Char('\n'), 0, 0),
                  QString::fromUtf8(MessageFor(c.problem)))
            << c.box;
        EXPECT_TRUE(messages->Shown()[0].text.contains(QLatin1Char('\n'))) << c.box;  // and why
        EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::Exclamation);
        EXPECT_EQ(window.focusWidget(), Box(c.box)) << c.box;
        EXPECT_FALSE(Button("Command3")->isEnabled()) << c.box;
        for (const char* result : {"Label21", "Label27", "Label38"})
            EXPECT_TRUE(Caption(result).isEmpty()) << c.box;
        EXPECT_EQ(Record().FocusIsocentreDistance, before.FocusIsocentreDistance) << c.box;
        EXPECT_EQ(Record().CouchTransmission, before.CouchTransmission) << c.box;
        EXPECT_EQ(Record().CalibrationConstant, before.CalibrationConstant) << c.box;
        EXPECT_EQ(Record().CouchSoftTissueThickness, before.CouchSoftTissueThickness) << c.box;
    }
}

TEST_F(Form8Window, EnterWalksTheBoxesInOrderUpToOk) {
    window.StartNew();
    const char* chain[] = {"Text13", "Text8",  "Text5",  "Text1",  "Text2", "Text3",
                           "Text4",  "Text23", "Text14", "Text15", "Text16"};
    for (std::size_t k = 0; k < std::size(chain); ++k) {
        QTest::keyClick(Box(chain[k]), Qt::Key_Return);
        QWidget* expected = k + 1 < std::size(chain) ? static_cast<QWidget*>(Box(chain[k + 1]))
                                                     : Button("Command1");
        EXPECT_EQ(window.focusWidget(), expected) << chain[k];
    }
    // Other keys are typed, not handled.
    Box("Text8")->setFocus();
    QTest::keyClick(Box("Text8"), Qt::Key_5);
    EXPECT_EQ(window.focusWidget(), Box("Text8"));
    EXPECT_EQ(Box("Text8")->text(), QStringLiteral("5"));
}

// "Save" after changing boxes without pressing "OK" again stores what the boxes hold, computed
// as "OK" would: 10.0 / 6.0 mGy at 70 cm gives (10/6)·(70/55)², not the last OK's values.
TEST_F(Form8Window, SaveStoresWhatTheBoxesHoldNow) {
    window.StartNew();
    Fill();
    Ok();
    Box("Text16")->setText(QStringLiteral("6.0"));
    Box("Text5")->setText(QStringLiteral("70"));
    Box("Text4")->setText(QStringLiteral("0.2"));
    Save();
    const auto read = ReadEquipmentFile(SavedPath());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Data.FocusIsocentreDistance, 70);
    EXPECT_DOUBLE_EQ(read->Data.AddedCopper, 0.02);
    EXPECT_NEAR(read->Data.CalibrationConstant, (10.0 / 6.0) * (70.0 / 55.0) * (70.0 / 55.0),
                5e-4);  // three decimals in the file
    EXPECT_EQ(Caption("Label27"),
              QString::fromStdString(FormatNumber(Record().CalibrationConstant, "0.000")));
    EXPECT_EQ(saves, 1);
}

// Names that cannot become "<name>.odv3" in the working folder, and a folder that refuses the
// file: a message, nothing written, the editor stays open with "Save" enabled.
TEST_F(Form8Window, SaveRefusesNamesAndFailedWritesWithAMessage) {
    window.StartNew();
    Fill();
    Ok();
    const struct {
        const char* name;
        const char* says;
    } cases[] = {
        {"", " Ｘ線室 または 装置の名称を入力して下さい "},
        {"  ", " Ｘ線室 または 装置の名称を入力して下さい "},
        {"../Room", "ファイル名に使えません"},
        {"a\\b", "ファイル名に使えません"},
        {"..", "ファイル名に使えません"},
    };
    for (const auto& c : cases) {
        Box("Text13")->setText(QString::fromUtf8(c.name));
        messages->Forget();
        Save();
        ASSERT_EQ(messages->Shown().size(), 1u) << c.name;
        EXPECT_TRUE(messages->Shown()[0].text.contains(QString::fromUtf8(c.says))) << c.name;
        EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::Exclamation);
    }
    EXPECT_TRUE(Button("Command3")->isEnabled());
    // A box changed after "OK" is checked as "OK" checks it: one the computation refuses is not
    // saved, and "Save" waits for the next "OK".
    Box("Text13")->setText(QStringLiteral("Room"));
    Box("Text4")->setText(QStringLiteral("-0.5"));
    messages->Forget();
    Save();
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text.section(QLatin1Char('\n'), 0, 1),
              QString::fromUtf8(" 基本データを保存できませんでした \n") +
                  QString::fromUtf8(MessageFor(CouchInputProblem::AddedCopper)));
    EXPECT_EQ(window.focusWidget(), Box("Text4"));
    EXPECT_FALSE(Button("Command3")->isEnabled());
    Box("Text4")->setText(QStringLiteral("0.1"));
    Ok();
    // So is a filtration that is no longer one number.
    Box("Text2")->setText(QStringLiteral("2.O"));
    messages->Forget();
    Save();
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text,
              QString::fromUtf8(" 基本データを保存できませんでした \n 固有フィルタ (Al 当量) "
                                "を正しく入力して下さい（0 以上） \n入力された文字「2.O」は数値"
                                "として読めません"));
    EXPECT_EQ(window.focusWidget(), Box("Text2"));
    Box("Text2")->setText(QStringLiteral("2.5"));

    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*.odv3")}).isEmpty());
    EXPECT_FALSE(QFile::exists(QDir(folder.path()).filePath(QStringLiteral("../Room.odv3"))));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(saves, 0);

    Form8 elsewhere(ordevo::testing::SyntheticReference(),
                    folder.filePath(QStringLiteral("no such folder")));
    QObject::connect(&elsewhere, &Form8::equipmentSaved, [this] { ++saves; });
    elsewhere.StartNew();
    for (const auto& [name, text] : kExample)
        elsewhere.findChild<QLineEdit*>(QString::fromStdString(name))->setText(text);
    elsewhere.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    messages->Forget();
    elsewhere.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_TRUE(
        messages->Shown()[0].text.startsWith(QStringLiteral(" 基本データを保存できませんでした ")));
    EXPECT_TRUE(messages->Shown()[0].text.contains(QStringLiteral("Test Room.odv3")));
    EXPECT_TRUE(elsewhere.isVisible());
    EXPECT_EQ(saves, 0);
}

// The other filter chosen in the filter window is used by "OK" and written by "Save"; the
// command line reading that file computes the same thickness.
TEST_F(Form8Window, AFilterChosenInTheFilterWindowIsUsedAndSaved) {
    window.StartNew();
    Fill();
    Ok();
    const double withoutFilter = Record().CouchSoftTissueThickness;

    Button("Command9")->click();
    auto* form5 = window.findChild<Form5*>();
    ASSERT_NE(form5, nullptr);
    ASSERT_TRUE(form5->isVisible());
    auto* list = form5->findChild<ui::FileListBox*>(QStringLiteral("File1"));
    ASSERT_EQ(list->FileNames(), QStringList{QStringLiteral("Mo.ele")});
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    form5->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("0.5"));
    form5->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(Caption("Label29"), QStringLiteral("Mo"));
    EXPECT_EQ(Caption("Label26"), QStringLiteral("0.5"));
    EXPECT_EQ(Record().OtherFilterFlag, 1);

    Ok();
    // Molybdenum hardens the beam, so more soft tissue matches the same couch transmission.
    EXPECT_GT(Record().CouchSoftTissueThickness, withoutFilter);
    Save();
    const auto read = ReadEquipmentFile(SavedPath());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Data.OtherFilterFlag, 1);
    EXPECT_EQ(read->OtherFilterMaterialText, QStringLiteral("Mo"));
    EXPECT_EQ(read->OtherFilterThicknessText, QStringLiteral("0.5"));
    const QJsonObject cli = RunCouchOn(SavedPath());
    EXPECT_EQ(cli.value(QStringLiteral("CouchSoftTissueThickness")).toDouble(),
              Record().CouchSoftTissueThickness);
}

// A new equipment starts without the other filter chosen for the last one: it is neither used
// nor saved (a flag without a material would make a file no reader loads).
TEST_F(Form8Window, ANewEquipmentForgetsTheLastOnesFilter) {
    window.StartNew();
    Button("Command9")->click();
    auto* form5 = window.findChild<Form5*>();
    auto* list = form5->findChild<ui::FileListBox*>(QStringLiteral("File1"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    form5->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("0.5"));
    form5->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    ASSERT_EQ(Record().OtherFilterFlag, 1);
    window.StartNew();
    Fill();
    Ok();
    EXPECT_EQ(Record().OtherFilterFlag, 0);
    Save();
    const auto read = LoadEquipmentFile(SavedPath(), folder.path());
    ASSERT_TRUE(read.has_value()) << read.error().what();
    EXPECT_EQ(read->Data.OtherFilterFlag, 0);
}

TEST_F(Form8Window, ReleasingTheFilterKeepsTheEditorsCaptions) {
    window.StartNew();
    Button("Command9")->click();
    auto* form5 = window.findChild<Form5*>();
    auto* list = form5->findChild<ui::FileListBox*>(QStringLiteral("File1"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    form5->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("0.5"));
    form5->findChild<QPushButton*>(QStringLiteral("Command1"))->click();

    Button("Command9")->click();
    EXPECT_TRUE(form5->findChild<QLineEdit*>(QStringLiteral("Text2"))->text().isEmpty());
    form5->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    EXPECT_EQ(Record().OtherFilterFlag, 0);
    EXPECT_EQ(Record().OtherFilterThickness, 0);
    EXPECT_EQ(Caption("Label29"), QStringLiteral("Mo"));
    EXPECT_EQ(Caption("Label26"), QStringLiteral("0.5"));
}

}  // namespace
