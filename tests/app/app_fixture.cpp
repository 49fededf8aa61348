// The started program on a synthetic working folder.
#include "app_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QTest>

#include "cp932_text.h"
#include "file_list_box.h"
#include "form4.h"
#include "synthetic_data.h"

namespace ordevo::testing {

void AppTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    WriteSyntheticWorkingFolder(dir_.path());
    messages_ = std::make_unique<ui::ScopedScriptedMessages>();
}

void AppTest::TearDown() {
    app_.reset();
    messages_.reset();
}

void AppTest::RegisterBeforeStart(const QString& name) {
    QStringList lines = FileLines(PathOf(QStringLiteral("Primary.dat")));
    ASSERT_EQ(lines.size(), 31);
    lines << name;
    WriteLines(PathOf(QStringLiteral("Primary.dat")), lines);
}

void AppTest::Start() {
    app_ = std::make_unique<OrdevoApplication>(dir_.path(),
                                               [this](int code) { endCodes_.push_back(code); });
    ASSERT_TRUE(app_->Start());
    // Focus moves (and focus-lost handlers) need the main window to be the active one.
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
}

void AppTest::Click(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton);
}

void AppTest::TypeAndEnter(const char* box, const QString& text) {
    QLineEdit* edit = Box(box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

void AppTest::ClickFile(const QString& fileName) {
    auto* list = Main().Control<ui::FileListBox>("File1");
    const auto items = list->findItems(fileName, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << fileName.toStdString();
    list->scrollToItem(items.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.front()).center());
}

void AppTest::SetFixedTubeVoltage(const QString& kv) {
    Click("Command5");
    Form4& form4 = App().TubeVoltageWindow();
    ASSERT_TRUE(form4.isVisible());
    QTest::mouseClick(form4.findChild<QAbstractButton*>(QStringLiteral("Option1")), Qt::LeftButton);
    auto* text1 = form4.findChild<QLineEdit*>(QStringLiteral("Text1"));
    text1->setText(kv);
    QTest::mouseClick(form4.findChild<QAbstractButton*>(QStringLiteral("Command1")),
                      Qt::LeftButton);
    Main().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Main()));
}

void AppTest::SetTubeVoltageRange(const QString& lowKv, const QString& highKv, bool normalWeights) {
    Click("Command5");
    Form4& form4 = App().TubeVoltageWindow();
    ASSERT_TRUE(form4.isVisible());
    QTest::mouseClick(form4.findChild<QAbstractButton*>(QStringLiteral("Option2")), Qt::LeftButton);
    form4.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(lowKv);
    form4.findChild<QLineEdit*>(QStringLiteral("Text3"))->setText(highKv);
    QTest::mouseClick(form4.findChild<QAbstractButton*>(normalWeights ? QStringLiteral("Option4")
                                                                      : QStringLiteral("Option3")),
                      Qt::LeftButton);
    QTest::mouseClick(form4.findChild<QAbstractButton*>(QStringLiteral("Command1")),
                      Qt::LeftButton);
    Main().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Main()));
}

void AppTest::ChooseBodyPart(int index) {
    auto* combo = Main().Control<QComboBox>("Combo1");
    combo->setCurrentIndex(index);
}

void AppTest::PrepareCase(const QString& kv, const QString& kar, const QString& pka,
                          const char* shapeOption) {
    ClickFile(QStringLiteral("Room1.odv3"));
    SetFixedTubeVoltage(kv);
    TypeAndEnter("Text14", kar);
    TypeAndEnter("Text15", pka);
    Click(shapeOption);
}

void WriteRoomFile(const QString& path, const std::vector<std::pair<int, QString>>& changes) {
    QStringList lines{QStringLiteral("100.0"), QStringLiteral("75.0"),  QStringLiteral("12.0"),
                      QStringLiteral("2.50"),  QStringLiteral("0.00"),  QStringLiteral("0.10"),
                      QStringLiteral(" 0 "),   QStringLiteral("---"),   QStringLiteral("0"),
                      QStringLiteral("80"),    QStringLiteral("0.800"), QStringLiteral("1.200"),
                      QStringLiteral("1.050")};
    for (const auto& [line, text] : changes) lines[line - 1] = text;
    WriteLines(path, lines);
}

QStringList FileLines(const QString& path) {
    const auto text = ReadTextLines(path, kLargeDataFileMaxBytes);
    if (!text) ADD_FAILURE() << text.error().what();
    return text ? *text : QStringList();
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void WriteLines(const QString& path, const QStringList& lines) {
    const auto written = WriteTextLines(path, lines);
    ASSERT_TRUE(written) << written.error().what();
}

}  // namespace ordevo::testing
