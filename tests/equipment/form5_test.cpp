// The filter window: the material files of the working folder, the thickness checks of
// "設 定", the material table it loads, "解 除" and "Cancel".
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "file_list_box.h"
#include "fonts.h"
#include "equipment_data.h"
#include "form5.h"
#include "material_file.h"
#include "scripted_messages.h"
#include "test_folders.h"

using namespace ordevo;

namespace {

const QString kNoMaterial = QStringLiteral("　フィルター材質が未選択です　");
const QString kNoThickness = QStringLiteral("　フィルターの厚さを入力して下さい　");

void WriteLines(const QString& path, const QStringList& lines) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
}

class Form5Window : public ::testing::Test {
protected:
    void SetUp() override {
        ordevo::testing::CopySyntheticFile(QStringLiteral("Mo.ele"), folder.path());
        // Starts at 2 keV, so 1 keV cannot be interpolated.
        WriteLines(folder.filePath(QStringLiteral("Late.ele")),
                   {QStringLiteral("starts late"), QStringLiteral("2.7 13"),
                    QStringLiteral("0.002 1 1 100 0 0"), QStringLiteral("10 1 1 1 0 0")});
        WriteLines(folder.filePath(QStringLiteral("Short.ele")),
                   {QStringLiteral("no rows"), QStringLiteral("2.7 13")});
        QStringList endless{QStringLiteral("never reaches 10 MeV"), QStringLiteral("1 1")};
        for (int r = 1; r <= 101; ++r) endless << QStringLiteral("%1 1 1 1 0 0").arg(0.001 * r);
        WriteLines(folder.filePath(QStringLiteral("Endless.ele")), endless);
        WriteLines(folder.filePath(QStringLiteral("Room.odv3")),
                   {QStringLiteral("not a material")});
    }

    ui::FileListBox* File1() { return window.findChild<ui::FileListBox*>(QStringLiteral("File1")); }
    QLineEdit* Text2() { return window.findChild<QLineEdit*>(QStringLiteral("Text2")); }
    QLabel* Label5() { return window.findChild<QLabel*>(QStringLiteral("Label5")); }
    void Click(const char* button) {
        window.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }
    void ClickFile(const QString& name) {
        const QStringList names = File1()->FileNames();
        const auto row = names.indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString();
        QTest::mouseClick(File1()->viewport(), Qt::LeftButton, {},
                          File1()->visualItemRect(File1()->item(static_cast<int>(row))).center());
    }
    // Opens the window, clicks the material and sets the thickness.
    void Choose(const QString& material, const QString& thickness) {
        window.Open();
        ClickFile(material);
        Text2()->setText(thickness);
        Click("Command1");
    }
    void ExpectFilter(int flag, double thicknessCm, const std::string& file) {
        EXPECT_EQ(equipment.OtherFilterFlag, flag);
        EXPECT_EQ(equipment.OtherFilterThickness, thicknessCm);
        // The material file in force: "<material>.ele" while the flag is 1.
        EXPECT_EQ(equipment.OtherFilterFlag == 1 ? equipment.OtherFilterMaterial + ".ele" : "",
                  file);
    }

    QTemporaryDir folder;
    ui::ScopedScriptedMessages messages;
    // A stand-in for the editor's record, set from what the window hands back.
    EquipmentData equipment;
    std::vector<std::pair<QString, QString>> captions;  // what the editor was told
    int releases = 0;
    Form5 window{folder.path()};
    const QMetaObject::Connection setConnection =
        QObject::connect(&window, &Form5::filterSet, [this](const OtherFilterChoice& filter) {
            captions.emplace_back(filter.Material, filter.ThicknessText);
            equipment.OtherFilterFlag = 1;
            equipment.OtherFilterMaterial = filter.Material.toStdString();
            equipment.OtherFilterThickness = filter.ThicknessCm;
            equipment.OtherFilterAttenuation = filter.Attenuation;
        });
    const QMetaObject::Connection releaseConnection =
        QObject::connect(&window, &Form5::filterReleased, [this] {
            ++releases;
            equipment.OtherFilterFlag = 0;
            equipment.OtherFilterThickness = 0;
        });
};

TEST_F(Form5Window, OpeningListsTheMaterialFilesAndEmptiesTheEntries) {
    window.Open();
    ClickFile(QStringLiteral("Mo.ele"));
    Text2()->setText(QStringLiteral("3"));
    window.hide();
    window.Open();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("  任意フィルター設定"));
    EXPECT_EQ(File1()->FileNames(),
              (QStringList{QStringLiteral("Endless.ele"), QStringLiteral("Late.ele"),
                           QStringLiteral("Mo.ele"), QStringLiteral("Short.ele")}));
    EXPECT_TRUE(Label5()->text().isEmpty());
    EXPECT_TRUE(Text2()->text().isEmpty());
    EXPECT_EQ(File1()->font().family(), ui::MakeFont(ui::Font::MsPGothic, 9).family());
}

TEST_F(Form5Window, AClickedFileShowsItsDescriptionAndHandsTheFocusToTheThickness) {
    window.Open();
    ClickFile(QStringLiteral("Mo.ele"));
    EXPECT_EQ(Label5()->text(), QStringLiteral("Mo (synthetic), 10.22 g/cm3"));
    EXPECT_EQ(window.focusWidget(), Text2());
    // Enter in an empty thickness box keeps the focus there; with a thickness it moves on.
    QTest::keyClick(Text2(), Qt::Key_Return);
    EXPECT_EQ(window.focusWidget(), Text2());
    Text2()->setText(QStringLiteral("0.5"));
    QTest::keyClick(Text2(), Qt::Key_Return);
    EXPECT_EQ(window.focusWidget(), window.findChild<QPushButton*>(QStringLiteral("Command1")));
}

TEST_F(Form5Window, MissingMaterialOrThicknessIsRefusedWithABeep) {
    window.Open();
    Text2()->setText(QStringLiteral("0.5"));
    Click("Command1");
    ClickFile(QStringLiteral("Mo.ele"));
    for (const char* thickness : {"", "0", "-1", "abc"}) {
        Text2()->setText(QString::fromUtf8(thickness));
        Click("Command1");
    }
    const auto& shown = messages->Shown();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].text, kNoMaterial);
    for (std::size_t k = 0; k < shown.size(); ++k) {
        if (k > 0) {
            EXPECT_EQ(shown[k].text, kNoThickness) << k;
        }
        EXPECT_TRUE(shown[k].afterBeep) << k;
        EXPECT_EQ(shown[k].icon, ui::MessageIcon::Exclamation) << k;
    }
    ExpectFilter(0, 0, "");
    EXPECT_TRUE(captions.empty());
    EXPECT_TRUE(window.isVisible());
}

// A thickness that is not one number is refused, never read as its leading digits.
TEST_F(Form5Window, ANonNumberThicknessIsRefused) {
    window.Open();
    ClickFile(QStringLiteral("Mo.ele"));
    for (const char* thickness : {"O.5", "0.5mm", "1,5"}) {
        Text2()->setText(QString::fromUtf8(thickness));
        messages->Forget();
        Click("Command1");
        ASSERT_EQ(messages->Shown().size(), 1u) << thickness;
        EXPECT_EQ(messages->Shown()[0].text, kNoThickness) << thickness;
    }
    ExpectFilter(0, 0, "");
    EXPECT_TRUE(window.isVisible());
}

TEST_F(Form5Window, SettingMoLoadsItsTableAndTellsTheEditorTheThicknessAsTyped) {
    Choose(QStringLiteral("Mo.ele"), QStringLiteral("0.5"));
    EXPECT_TRUE(messages->Shown().empty());
    ExpectFilter(1, 0.5 * 0.1, "Mo.ele");  // mm to cm
    EXPECT_EQ(equipment.OtherFilterMaterial, "Mo");
    const auto table = LoadMaterialTable(folder.filePath(QStringLiteral("Mo.ele")));
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(equipment.OtherFilterAttenuation, *table);
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_EQ(captions[0], std::make_pair(QStringLiteral("Mo"), QStringLiteral("0.5")));
    EXPECT_FALSE(window.isVisible());
}

// A material file that cannot be used: the message names the file and why, and the filter
// chosen before stays in force, table included.
TEST_F(Form5Window, AnUnusableMaterialFileLeavesThePreviousFilter) {
    Choose(QStringLiteral("Mo.ele"), QStringLiteral("0.5"));
    const BinArray moTable = equipment.OtherFilterAttenuation;
    const struct {
        const char* file;
        const char* why;
    } cases[] = {
        {"Late.ele", "0.002"},
        {"Short.ele", "1 番目の行の前でファイルが終わっています"},
        {"Endless.ele", "100 行以内"},
        {"Mo.ele", "開けません"},  // deleted after it was listed
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf8(c.file);
        window.Open();
        ClickFile(name);
        if (name == QStringLiteral("Mo.ele")) QFile::remove(folder.filePath(name));
        Text2()->setText(QStringLiteral("1"));
        messages->Forget();
        Click("Command1");
        ASSERT_EQ(messages->Shown().size(), 1u) << c.file;
        const QString text = messages->Shown()[0].text;
        EXPECT_TRUE(text.contains(name)) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.why))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("付加フィルタは変更されていません")));
        ExpectFilter(1, 0.05, "Mo.ele");
        EXPECT_EQ(equipment.OtherFilterAttenuation, moTable) << c.file;
        EXPECT_TRUE(window.isVisible());
    }
    EXPECT_EQ(captions.size(), 1u);
}

// The material's name is a cell of the results CSV, which has no quoting: a name with a comma
// is refused before it could make the table unsaveable.
TEST_F(Form5Window, AMaterialNameWithACommaIsRefused) {
    Choose(QStringLiteral("Mo.ele"), QStringLiteral("0.5"));
    ASSERT_TRUE(QFile::copy(folder.filePath(QStringLiteral("Mo.ele")),
                            folder.filePath(QStringLiteral("Mo,B.ele"))));
    window.Open();
    ClickFile(QStringLiteral("Mo,B.ele"));
    Text2()->setText(QStringLiteral("1"));
    messages->Forget();
    Click("Command1");
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_TRUE(messages->Shown()[0].text.contains(QStringLiteral("カンマ")));
    ExpectFilter(1, 0.05, "Mo.ele");
    EXPECT_TRUE(window.isVisible());
    QFile::remove(folder.filePath(QStringLiteral("Mo,B.ele")));
}

TEST_F(Form5Window, ReleaseTurnsTheOtherFilterOffAndCancelChangesNothing) {
    Choose(QStringLiteral("Mo.ele"), QStringLiteral("0.5"));
    window.Open();
    ClickFile(QStringLiteral("Mo.ele"));
    Text2()->setText(QStringLiteral("2"));
    Click("Command3");  // Cancel
    EXPECT_FALSE(window.isVisible());
    ExpectFilter(1, 0.05, "Mo.ele");
    EXPECT_EQ(releases, 0);

    window.Open();
    Click("Command2");  // 解 除
    EXPECT_FALSE(window.isVisible());
    ExpectFilter(0, 0, "");
    EXPECT_EQ(releases, 1);
    EXPECT_EQ(captions.size(), 1u);  // the editor's captions are not touched
}

}  // namespace
