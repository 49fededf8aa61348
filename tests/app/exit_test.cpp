// Ending the program: the confirmation from the button and from the title-bar close.
#include <QDir>
#include <QFile>
#include <QTest>

#include "app_fixture.h"
#include "form10.h"
#include "form7.h"

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
    EXPECT_EQ(State().Results.NextRowIndex, 2);
    EXPECT_TRUE(QFile::exists(SpectrumPath()));
}

// Closed from its title bar, the main window goes; "いいえ" brings it back newly loaded: the
// start-up runs again, the fields are empty and the results table is cleared.
TEST_F(Exit, NoAfterTheTitleBarCloseStartsTheMainWindowAgain) {
    PrepareCase(QStringLiteral("80"), QStringLiteral("100"), QStringLiteral("20"), "Option2");
    Click("Command2");
    Click("Command3");
    Main().close();
    EXPECT_FALSE(Main().isVisible());
    ASSERT_TRUE(Confirmation().isVisible());
    EXPECT_TRUE(App().ResultsWindow().isVisible());
    Answer("Command2");
    EXPECT_TRUE(endCodes_.empty());
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(Confirmation().isVisible());
    EXPECT_TRUE(Box("Text14")->text().isEmpty());
    EXPECT_TRUE(LabelText("Label74").isEmpty());
    EXPECT_FALSE(Box("Text14")->isEnabled());
    EXPECT_EQ(State().Results.NextRowIndex, 1);
    EXPECT_EQ(Main().windowTitle(), QStringLiteral("Ordevo-V3 ( Ordevo, version 3 )  :  Clinic"));
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

TEST_F(Exit, AReferenceFileLostBeforeTheMainWindowComesBackEndsTheProgram) {
    Main().close();
    ASSERT_TRUE(QFile::remove(PathOf(QStringLiteral("Att_coeff2021.dat"))));
    Answer("Command2");
    ASSERT_EQ(Messages().Shown().size(), 1u);
    EXPECT_TRUE(Messages().Shown()[0].text.contains(QStringLiteral("Att_coeff2021.dat")));
    EXPECT_EQ(endCodes_, std::vector<int>{1});
    EXPECT_FALSE(Main().isVisible());
}

}  // namespace
}  // namespace ordevo::testing
