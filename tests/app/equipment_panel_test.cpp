// The equipment list of the main window: reading a file into the panel and deleting one.
#include <QComboBox>
#include <QFile>
#include <QTest>

#include "app_fixture.h"
#include "file_list_box.h"
#include "form10.h"
#include "form8.h"

namespace ordevo::testing {
namespace {

using ui::Answer;

const char* const kPanelLabels[] = {"Label23", "Label25", "Label50", "Label51",
                                    "Label29", "Label26", "Label62", "Label64"};

class EquipmentPanel : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        RegisterBeforeStart(QStringLiteral("Clinic"));
    }
    std::map<std::string, QString> PanelTexts() {
        std::map<std::string, QString> texts;
        for (const char* name : kPanelLabels) texts[name] = LabelText(name);
        return texts;
    }
    ui::FileListBox* File1() { return Main().Control<ui::FileListBox>("File1"); }
    // "新規作成", the boxes of a room named `name` with target angle `angle`, then "OK".
    void CreateInEditor(const QString& name, const QString& angle) {
        Click("Command7");
        Form8& editor = App().EquipmentEditor();
        const std::pair<const char*, QString> texts[] = {
            {"Text13", name}, {"Text8", "100"}, {"Text5", "75"},   {"Text1", angle},
            {"Text2", "2.5"}, {"Text3", "0"},   {"Text4", "0.1"},  {"Text23", "80"},
            {"Text14", "10"}, {"Text15", "8"},  {"Text16", "6.0"},
        };
        for (const auto& [box, text] : texts)
            editor.findChild<QLineEdit*>(QString::fromLatin1(box))->setText(text);
        EditorButton("Command1")->click();
    }
    QPushButton* EditorButton(const char* name) {
        return App().EquipmentEditor().findChild<QPushButton*>(QString::fromLatin1(name));
    }
};

TEST_F(EquipmentPanel, ReadingAFileShowsItsValuesAndPreparesTheCase) {
    Start();
    Main().SetTubeVoltageText(QStringLiteral("70"));
    ClickFile(QStringLiteral("Room1.odv3"));
    EXPECT_EQ(LabelText("Label23"), QStringLiteral("12.0"));
    EXPECT_EQ(LabelText("Label25"), QStringLiteral("2.50"));
    EXPECT_EQ(LabelText("Label50"), QStringLiteral("0.00"));
    EXPECT_EQ(LabelText("Label51"), QStringLiteral("0.10"));
    EXPECT_EQ(LabelText("Label29"), QStringLiteral("-"));
    EXPECT_EQ(LabelText("Label26"), QStringLiteral("-"));
    EXPECT_EQ(LabelText("Label62"), QStringLiteral("100.0"));
    EXPECT_EQ(LabelText("Label64"), QStringLiteral("75.0"));
    EXPECT_EQ(Box("Text9")->text(), QStringLiteral("60"));  // FAD − 15, "#00"
    EXPECT_TRUE(Box("Text5")->text().isEmpty());
    EXPECT_FALSE(Box("Text5")->isEnabled());
    for (const char* on : {"Command2", "Command5", "Combo1", "Text9", "Text14", "Text15"})
        EXPECT_TRUE(Main().Controls().Widget(on)->isEnabled()) << on;
    EXPECT_TRUE(Main().Control<QComboBox>("Combo1")->hasFocus());
    const EquipmentData& e = Main().Case().Equipment;
    EXPECT_DOUBLE_EQ(e.InherentFiltration, 0.25);  // mm in the file, cm in memory
    EXPECT_DOUBLE_EQ(e.AddedCopper, 0.01);
    EXPECT_DOUBLE_EQ(e.CouchTransmission, 0.8);
    EXPECT_DOUBLE_EQ(e.CouchSoftTissueThickness, 1.2);
    EXPECT_DOUBLE_EQ(e.CalibrationConstant, 1.05);
    EXPECT_TRUE(Messages().Shown().empty());
}

// The old 24-line version gives the 80 kV values (lines 12, 17, 22); an other filter shows its
// material and thickness and brings its attenuation table.
TEST_F(EquipmentPanel, AnOldVersionFileWithAnOtherFilter) {
    QStringList lines{QStringLiteral("110.0"), QStringLiteral("65.0"), QStringLiteral("10.0"),
                      QStringLiteral("3.00"),  QStringLiteral("1.00"), QStringLiteral("0.20"),
                      QStringLiteral(" 1 "),   QStringLiteral("Mo"),   QStringLiteral("0.30")};
    for (int kv = 60; kv <= 100; kv += 10) lines << QString::number(0.7 + kv / 1000.0, 'f', 3);
    for (int kv = 60; kv <= 100; kv += 10) lines << QString::number(kv / 50.0, 'f', 3);
    for (int kv = 60; kv <= 100; kv += 10) lines << QString::number(1.0 + kv / 10000.0, 'f', 4);
    ASSERT_EQ(lines.size(), 24);
    WriteLines(PathOf(QStringLiteral("Old.odv")), lines);
    Start();
    ClickFile(QStringLiteral("Old.odv"));
    EXPECT_EQ(LabelText("Label29"), QStringLiteral("Mo"));
    EXPECT_EQ(LabelText("Label26"), QStringLiteral("0.30"));
    EXPECT_EQ(Box("Text9")->text(), QStringLiteral("50"));
    const EquipmentData& e = Main().Case().Equipment;
    EXPECT_EQ(e.OtherFilterFlag, 1);
    EXPECT_DOUBLE_EQ(e.OtherFilterThickness, 0.03);
    EXPECT_DOUBLE_EQ(e.CouchTransmission, 0.78);
    EXPECT_DOUBLE_EQ(e.CouchSoftTissueThickness, 1.6);
    EXPECT_DOUBLE_EQ(e.CalibrationConstant, 1.008);
    EXPECT_GT(e.OtherFilterAttenuation[100], 0.0);  // 50 keV in molybdenum
}

// A file that cannot be used leaves the panel and the equipment data of the last good file, and
// the warning says which file and why.
TEST_F(EquipmentPanel, AnUnusableFileChangesNothingAndSaysWhy) {
    WriteRoomFile(PathOf(QStringLiteral("NoMaterial.odv3")),
                  {{7, QStringLiteral(" 1 ")}, {8, QStringLiteral("Unobtainium")}});
    WriteLines(PathOf(QStringLiteral("Cut.odv3")),
               FileLines(PathOf(QStringLiteral("Room1.odv3"))).mid(0, 10));
    WriteRoomFile(PathOf(QStringLiteral("Negative.odv3")), {{11, QStringLiteral("-0.5")}});
    QFile unreadable(PathOf(QStringLiteral("Locked.odv2")));
    ASSERT_TRUE(unreadable.open(QIODevice::WriteOnly));
    unreadable.close();
    unreadable.setPermissions(QFileDevice::WriteOwner);
    Start();
    ClickFile(QStringLiteral("Room1.odv3"));
    const auto panel = PanelTexts();
    const double calibration = Main().Case().Equipment.CalibrationConstant;
    Main().SetTubeVoltageText(QStringLiteral("80"));

    struct Case {
        const char* file;
        const char* why;
    };
    for (const Case c :
         {Case{"Cut.odv3", "Cut.odv3 の 11 行目"}, Case{"NoMaterial.odv3", "Unobtainium"},
          Case{"Locked.odv2", "Locked.odv2"},
          Case{"Negative.odv3", "Negative.odv3 の 11 行目: 天板透過率 -0.5 は範囲外です"}}) {
        Messages().Forget();
        ClickFile(QString::fromLatin1(c.file));
        ASSERT_EQ(Messages().Shown().size(), 1u) << c.file;
        const QString text = Messages().Shown()[0].text;
        EXPECT_EQ(Messages().Shown()[0].icon, ui::MessageIcon::Exclamation);
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.why))) << text.toStdString();
        EXPECT_EQ(PanelTexts(), panel) << c.file;
        EXPECT_EQ(Main().Case().Equipment.CalibrationConstant, calibration);
        EXPECT_EQ(Main().Case().Equipment.OtherFilterFlag, 0);
        EXPECT_EQ(Box("Text5")->text(),
                  QStringLiteral("80"));  // the case inputs are not reset either
    }
}

TEST_F(EquipmentPanel, TheListShowsTheThreeVersionsOnly) {
    for (const char* name : {"b.odv", "c.odv2", "ABC.ODV3", "notes.txt", "d.odv3.bak"})
        WriteRoomFile(PathOf(QString::fromLatin1(name)), {});
    Start();
    const QStringList names = File1()->FileNames();
    for (const char* listed : {"b.odv", "c.odv2", "ABC.ODV3", "Room1.odv3"})
        EXPECT_TRUE(names.contains(QString::fromLatin1(listed))) << listed;
    for (const char* hidden : {"notes.txt", "d.odv3.bak"})
        EXPECT_FALSE(names.contains(QString::fromLatin1(hidden))) << hidden;
}

// The question names the file; deleting it takes its equipment data along, so nothing can be
// computed from a file that no longer exists until another one is chosen.
TEST_F(EquipmentPanel, DeletingAsksFirstAndTakesTheEquipmentAlong) {
    WriteRoomFile(PathOf(QStringLiteral("Spare.odv3")), {});
    Start();
    Click("Command4");  // nothing selected: no question
    EXPECT_TRUE(Messages().Shown().empty());

    ClickFile(QStringLiteral("Spare.odv3"));
    Messages().QueueAnswer(Answer::Cancel);
    Click("Command4");
    ASSERT_EQ(Messages().Shown().size(), 1u);
    EXPECT_EQ(Messages().Shown()[0].text,
              QStringLiteral(" このデータファイル（Spare.odv3）を本当に削除しますか？ "));
    EXPECT_EQ(Messages().Shown()[0].buttons, ui::MessageButtons::OkCancel);
    EXPECT_TRUE(QFile::exists(PathOf(QStringLiteral("Spare.odv3"))));
    EXPECT_EQ(LabelText("Label23"), QStringLiteral("12.0"));

    Messages().QueueAnswer(Answer::Ok);
    Click("Command4");
    EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("Spare.odv3"))));
    EXPECT_FALSE(File1()->FileNames().contains(QStringLiteral("Spare.odv3")));
    for (const char* emptied : kPanelLabels) EXPECT_TRUE(LabelText(emptied).isEmpty()) << emptied;
    EXPECT_EQ(Main().Case().Equipment.CalibrationConstant, 0.0);
    EXPECT_EQ(Main().Case().Equipment.FocusIsocentreDistance, 0.0);
    EXPECT_FALSE(Button("Command2")->isEnabled());
    EXPECT_TRUE(QFile::exists(PathOf(QStringLiteral("Room1.odv3"))));

    ClickFile(QStringLiteral("Room1.odv3"));
    EXPECT_TRUE(Button("Command2")->isEnabled());
    EXPECT_DOUBLE_EQ(Main().Case().Equipment.CalibrationConstant, 1.05);
}

// The editor works on its own record: another equipment created there, cancelled or saved,
// leaves the equipment the main window evaluates with and names; saving over the selected file
// reads that file again, keeping the case inputs.
TEST_F(EquipmentPanel, TheEditorNeverChangesTheEquipmentEvaluatedWith) {
    Start();
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("10"), "Option2");
    Click("Command2");
    const QString corrected = LabelText("Label68");
    ASSERT_FALSE(corrected.isEmpty());
    for (const char* closing : {"Command2", "Command3"}) {  // Cancel, Save
        CreateInEditor(QStringLiteral("Room2"), QStringLiteral("15"));
        EditorButton(closing)->click();
        Click("Command2");
        EXPECT_EQ(LabelText("Label68"), corrected) << closing;
        EXPECT_DOUBLE_EQ(Main().Case().Equipment.CalibrationConstant, 1.05) << closing;
        EXPECT_EQ(LabelText("Label23"), QStringLiteral("12.0")) << closing;
        EXPECT_EQ(Main().Case().EquipmentFileName, QStringLiteral("Room1.odv3"));
    }
    ASSERT_TRUE(QFile::exists(PathOf(QStringLiteral("Room2.odv3"))));

    CreateInEditor(QStringLiteral("Room1"), QStringLiteral("15"));
    Messages().QueueAnswer(Answer::Yes);  // replace Room1.odv3
    EditorButton("Command3")->click();
    EXPECT_EQ(LabelText("Label23"), QStringLiteral("15.0"));
    EXPECT_NE(Main().Case().Equipment.CalibrationConstant, 1.05);
    EXPECT_EQ(Box("Text14")->text(), QStringLiteral("100"));
    EXPECT_FALSE(Label("Label68")->isEnabled());  // the result shown is stale now
}

// Files added to or removed from the folder by another program show when the window is
// activated again.
TEST_F(EquipmentPanel, TheListFollowsTheFolderWhenTheWindowIsActivated) {
    Start();
    WriteRoomFile(PathOf(QStringLiteral("New.odv3")), {});
    ASSERT_TRUE(QFile::remove(PathOf(QStringLiteral("Room1.odv3"))));
    App().ResultsWindow().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&App().ResultsWindow()));
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
    EXPECT_TRUE(File1()->FileNames().contains(QStringLiteral("New.odv3")));
    EXPECT_FALSE(File1()->FileNames().contains(QStringLiteral("Room1.odv3")));
}

}  // namespace
}  // namespace ordevo::testing
