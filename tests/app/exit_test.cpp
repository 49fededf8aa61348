// Ending the program: the confirmation from the button and from the title-bar close.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include "app_fixture.h"
#include "form10.h"
#include "form7.h"
#include "picture_box.h"

namespace ordevo::testing {
namespace {

class Exit : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        RegisterBeforeStart(QStringLiteral("Clinic"));
        Start();
    }
    Form7& Confirmation() { return App().ExitWindow(); }
    void Answer(const char* button) {
        Click(Confirmation().findChild<QWidget*>(QString::fromLatin1(button)));
    }
    QString SpectrumPath() const { return dir_.filePath(QStringLiteral("B_SPCTL.dat")); }
};

TEST_F(Exit, YesAfterACalculationDeletesTheSpectrumFileAndEnds) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    Click("Command2");
    ASSERT_TRUE(QFile::exists(SpectrumPath()));
    Messages().Forget();
    const QByteArray primary = FileBytes(PathOf(QStringLiteral("Primary.dat")));
    Click("Command1");
    ASSERT_TRUE(Confirmation().isVisible());
    EXPECT_EQ(Confirmation().windowTitle(), QStringLiteral("END"));
    Answer("Command1");
    EXPECT_EQ(endCodes_, std::vector<int>{0});
    EXPECT_FALSE(QFile::exists(SpectrumPath()));
    EXPECT_EQ(FileBytes(PathOf(QStringLiteral("Primary.dat"))), primary);
    EXPECT_TRUE(Messages().Shown().empty());
}

TEST_F(Exit, YesWithoutASpectrumFileEndsWithoutAMessage) {
    Click("Command1");
    Answer("Command1");
    EXPECT_EQ(endCodes_, std::vector<int>{0});
    EXPECT_TRUE(Messages().Shown().empty());
    EXPECT_FALSE(QFile::exists(SpectrumPath()));
}

TEST_F(Exit, NoFromTheButtonKeepsEveryInputAndRow) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    Click("Command2");
    Click("Command3");
    Click("Command1");
    EXPECT_TRUE(Main().isVisible());
    Answer("Command2");
    EXPECT_FALSE(Confirmation().isVisible());
    EXPECT_TRUE(Main().isVisible());
    EXPECT_TRUE(endCodes_.empty());
    EXPECT_EQ(Box("Text14")->text(), QStringLiteral("100"));
    EXPECT_FALSE(LabelText("Label74").isEmpty());
    EXPECT_EQ(App().ResultsWindow().Table().NextRowIndex, 2);
    EXPECT_TRUE(QFile::exists(SpectrumPath()));
}

// Closed from its title bar, the main window goes; "いいえ" brings it back exactly as it was
// (as after "終了する"): inputs, equipment and result kept, and the results table, the results
// window and the total written on it as well.
TEST_F(Exit, NoAfterTheTitleBarCloseKeepsEverything) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    Click("Command2");
    Click("Command3");
    Form10& results = App().ResultsWindow();
    Click(results.findChild<QWidget*>(QStringLiteral("Command1")));  // 合 計
    const QImage grid = results.Picture2()->Image();
    const ResultsTable table = App().ResultsWindow().Table();
    Main().close();
    EXPECT_FALSE(Main().isVisible());
    ASSERT_TRUE(Confirmation().isVisible());
    EXPECT_TRUE(results.isVisible());
    Answer("Command2");
    EXPECT_TRUE(endCodes_.empty());
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(Confirmation().isVisible());
    EXPECT_EQ(Box("Text14")->text(), QStringLiteral("100"));
    EXPECT_TRUE(Box("Text14")->isEnabled());
    EXPECT_FALSE(LabelText("Label74").isEmpty());
    EXPECT_EQ(Main().Case().EquipmentFileName, QStringLiteral("Room1.odv3"));
    EXPECT_EQ(Main().SelectedEquipmentFileName(), QStringLiteral("Room1.odv3"));
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Ordevo-V3 ( Ordevo, version 3 )  :  Clinic"));
    EXPECT_TRUE(results.isVisible());
    EXPECT_EQ(App().ResultsWindow().Table().NextRowIndex, 2);
    EXPECT_EQ(App().ResultsWindow().Table().Rows, table.Rows);
    EXPECT_EQ(results.Picture2()->Image(), grid);
}

// Rows added since the last save: the question says in one more line that they will be lost;
// "はい" still ends at once and writes nothing.
TEST_F(Exit, UnsavedRowsAreMentionedAndYesStillEnds) {
    auto* note = Confirmation().findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_NE(note, nullptr);
    Click("Command1");
    EXPECT_FALSE(note->isVisible());  // an empty table loses nothing
    Answer("Command2");

    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    Click("Command2");
    Click("Command3");
    Click("Command1");
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), QStringLiteral("※ 保存していない計算結果は失われます"));
    Answer("Command2");

    // Saved through the save window: nothing is lost any more.
    Form10& results = App().ResultsWindow();
    Click(results.findChild<QWidget*>(QStringLiteral("Command5")));
    auto* save = results.findChild<QWidget*>(QStringLiteral("Form2"));
    save->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("case"));
    save->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("kept"));
    Click(save->findChild<QWidget*>(QStringLiteral("Command1")));
    ASSERT_TRUE(QFile::exists(PathOf(QStringLiteral("kept.csv"))));
    Click("Command1");
    EXPECT_FALSE(note->isVisible());
    Answer("Command2");

    Click("Command2");
    Click("Command3");
    Main().close();
    EXPECT_TRUE(note->isVisible());
    Answer("Command1");
    EXPECT_EQ(endCodes_, std::vector<int>{0});
    EXPECT_EQ(QDir(Folder()).entryList({QStringLiteral("*.csv")}),
              QStringList{QStringLiteral("kept.csv")});
}

TEST_F(Exit, YesAfterTheTitleBarCloseEnds) {
    Main().close();
    Answer("Command1");
    EXPECT_EQ(endCodes_, std::vector<int>{0});
}

// Closing the question itself is "いいえ": after the main window was closed, the program would
// otherwise go on with no window from which to end it.
TEST_F(Exit, ClosingTheQuestionAnswersNo) {
    Main().close();
    Confirmation().close();
    EXPECT_FALSE(Confirmation().isVisible());
    EXPECT_TRUE(Main().isVisible());
    EXPECT_TRUE(endCodes_.empty());
}

}  // namespace
}  // namespace ordevo::testing
