// A started program on a synthetic working folder, driven through its windows by object name.
#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "form1.h"
#include "ordevo_application.h"
#include "scripted_messages.h"

// Readable failure output for texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace ordevo::testing {

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString Folder() const { return dir_.path(); }
    QString PathOf(const QString& name) const { return dir_.filePath(name); }
    // Gives "Primary.dat" its line 32, as a registration in an earlier run would have.
    void RegisterBeforeStart(const QString& name);

    // Creates the application and runs its start-up, which must succeed.
    void Start();
    OrdevoApplication& App() { return *app_; }
    ui::ScriptedMessages& Messages() { return **messages_; }
    std::vector<QString> MessageTexts() { return Messages().Texts(); }
    Form1& Main() { return app_->MainWindow(); }
    const AppState& State() { return app_->State(); }

    QLabel* Label(const char* name) { return Main().Control<QLabel>(name); }
    QString LabelText(const char* name) { return Label(name)->text(); }
    QLineEdit* Box(const char* name) { return Main().Control<QLineEdit>(name); }
    QPushButton* Button(const char* name) { return Main().Control<QPushButton>(name); }
    QAbstractButton* Option(const char* name) { return Main().Control<QAbstractButton>(name); }

    // Mouse click on a control of the main window (or any widget).
    void Click(QWidget* widget);
    void Click(const char* name) { Click(Main().Controls().Widget(name)); }
    // Replaces the text of a main-window box by typing, then presses Enter in it.
    void TypeAndEnter(const char* box, const QString& text);
    // Clicks a name in the equipment list.
    void ClickFile(const QString& fileName);
    // The tube-voltage window opened by Command5: a fixed voltage, "OK".
    void SetFixedTubeVoltage(const QString& kv);
    // The tube-voltage window: a range with equal or normal weights, "OK".
    void SetTubeVoltageRange(const QString& lowKv, const QString& highKv, bool normalWeights);
    // Chooses the body part by its entry in Combo1.
    void ChooseBodyPart(int index);
    // A whole case on Room1.odv3 (FAD 75: FSD 60), ready for "この条件で計算する".
    void PrepareCase(const QString& kv, const QString& kar, const QString& pka,
                     const char* shapeOption);

    QTemporaryDir dir_;
    std::unique_ptr<ui::ScopedScriptedMessages> messages_;
    std::unique_ptr<OrdevoApplication> app_;
    std::vector<int> endCodes_;  // each time the program was told to end
};

// The text lines of a file (CP932 decoded, CR LF or LF).
// An equipment file in the folder: Room1.odv3's 13 lines with some lines replaced (1-based).
void WriteRoomFile(const QString& path, const std::vector<std::pair<int, QString>>& changes);
QStringList FileLines(const QString& path);
QByteArray FileBytes(const QString& path);
void WriteLines(const QString& path, const QStringList& lines);

}  // namespace ordevo::testing
