// Start-up: registered and unregistered states, and a start that the reference data stop.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>

#include "app_fixture.h"
#include "file_list_box.h"
#include "form10.h"

namespace ordevo::testing {
namespace {

using ui::Answer;
using ui::MessageIcon;

class StartUp : public AppTest {};

// Without line 32 of Primary.dat only the welcome banner leads on: every case input and the
// calculation are off, the fields are empty and the results window stands behind.
TEST_F(StartUp, WithoutARegisteredNameOnlyRegistrationIsPossible) {
    Start();
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("  Ordevo-V3  ( Ordevo, version 3 )"));
    EXPECT_TRUE(Main().isVisible());
    EXPECT_TRUE(App().ResultsWindow().isVisible());
    EXPECT_TRUE(Button("Command8")->isVisible());
    for (const char* off : {"Command2", "Command3", "Command5", "Command6", "Command9"})
        EXPECT_FALSE(Button(off)->isEnabled()) << off;
    for (const char* on : {"Command1", "Command4", "Command7", "Command8"})
        EXPECT_TRUE(Button(on)->isEnabled()) << on;
    EXPECT_TRUE(State().UserName.isEmpty());
    EXPECT_TRUE(Messages().Shown().empty());
}

TEST_F(StartUp, EveryInputStartsEmptyAndDisabled) {
    Start();
    auto* combo = Main().Control<QComboBox>("Combo1");
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("頭部"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("胸部背面"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("腹部背面"));
    EXPECT_EQ(combo->itemText(3), QString());
    EXPECT_EQ(combo->currentText(), QString());
    EXPECT_FALSE(combo->isEnabled());
    for (const char* box : {"Text5", "Text9", "Text14", "Text15"}) {
        EXPECT_TRUE(Box(box)->text().isEmpty()) << box;
        EXPECT_FALSE(Box(box)->isEnabled()) << box;
    }
    EXPECT_FALSE(Option("Option1")->isChecked());
    EXPECT_FALSE(Option("Option2")->isChecked());
    for (const char* label :
         {"Label23", "Label25", "Label50", "Label51", "Label26", "Label62", "Label64", "Label65",
          "Label68", "Label69", "Label70", "Label71", "Label72", "Label73", "Label74"})
        EXPECT_TRUE(LabelText(label).isEmpty()) << label;
    EXPECT_EQ(LabelText("Label29"), QStringLiteral("―"));
    EXPECT_EQ(Main().Case().Equipment.OtherFilterFlag, 0);
    EXPECT_EQ(Main().Control<ui::FileListBox>("File1")->FileNames(),
              QStringList{QStringLiteral("Room1.odv3")});
}

TEST_F(StartUp, ARegisteredNameEndsTheCaptionAndLeavesTheCalculationOn) {
    const QString name = QStringLiteral("ABC 総合病院, \"第2\"");
    RegisterBeforeStart(name);
    Start();
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Ordevo-V3 ( Ordevo, version 3 )  :  ") + name);
    EXPECT_FALSE(Button("Command8")->isVisible());
    for (const char* off : {"Command3", "Command5", "Command9"})
        EXPECT_FALSE(Button(off)->isEnabled()) << off;
    for (const char* on : {"Command2", "Command6"}) EXPECT_TRUE(Button(on)->isEnabled()) << on;
    EXPECT_EQ(State().UserName, name);
    EXPECT_EQ(App().ResultsWindow().UserName(), name);
}

TEST_F(StartUp, AnEmptyLine32IsAnEmptyRegisteredName) {
    RegisterBeforeStart(QString());
    Start();
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Ordevo-V3 ( Ordevo, version 3 )  :  "));
    EXPECT_FALSE(Button("Command8")->isVisible());
}

bool AnyWindowVisible() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible()) return true;
    return false;
}

// A reference file that is missing or ends early ends the start before any window shows:
// the one message names the file, the line where there is one, and the folder searched.
struct BrokenReference {
    const char* name;
    const char* file;
    int keepLines;             // -1: the file is removed
    const char* expectedText;  // part of the message
};

class StartUpWithBrokenReference : public StartUp,
                                   public ::testing::WithParamInterface<BrokenReference> {};

TEST_P(StartUpWithBrokenReference, StopsWithAMessageAndNoWindow) {
    const BrokenReference broken = GetParam();
    const QString path = PathOf(QString::fromLatin1(broken.file));
    if (broken.keepLines < 0) {
        ASSERT_TRUE(QFile::remove(path));
    } else {
        WriteLines(path, FileLines(path).mid(0, broken.keepLines));
    }
    OrdevoApplication app(Folder(), [](int) { FAIL() << "the start has no process to end"; });
    EXPECT_FALSE(app.Start());
    const auto& shown = Messages().Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(shown[0].text.contains(QString::fromUtf8(broken.expectedText)))
        << shown[0].text.toStdString();
    EXPECT_TRUE(shown[0].text.contains(QDir::toNativeSeparators(QDir(Folder()).absolutePath())))
        << shown[0].text.toStdString();
    EXPECT_FALSE(AnyWindowVisible());
}

INSTANTIATE_TEST_SUITE_P(
    EachFile, StartUpWithBrokenReference,
    ::testing::Values(BrokenReference{"MissingBackscatter", "dBSF-SoftDose-SoftPhantom.dat", -1,
                                      "dBSF-SoftDose-SoftPhantom.dat"},
                      BrokenReference{"MissingAttenuation", "Att_coeff2021.dat", -1,
                                      "Att_coeff2021.dat"},
                      BrokenReference{"MissingPrimary", "Primary.dat", -1, "Primary.dat"},
                      BrokenReference{"ShortAttenuation", "Att_coeff2021.dat", 211,
                                      "Att_coeff2021.dat の 212 行目"},
                      BrokenReference{"ShortBackscatter", "dBSF-SoftDose-SoftPhantom.dat", 100,
                                      "dBSF-SoftDose-SoftPhantom.dat の 101 行目"},
                      BrokenReference{"ShortPrimary", "Primary.dat", 20, "Primary.dat の 21 行目"}),
    [](const ::testing::TestParamInfo<BrokenReference>& param) {
        return std::string(param.param.name);
    });

}  // namespace
}  // namespace ordevo::testing
