// The user-name window, in its two uses: registering the first name (Form15, whose Cancel goes
// on as a guest) and changing it later (Form18, whose Cancel closes it). One window; each use
// brings its own texts and layout.
#pragma once

#include <QString>

#include <memory>
#include <span>

#include "control_table.h"
#include "modeless_window.h"

namespace ordevo {

// What "Cancel" (Command2) means.
enum class UserNameCancel {
    GoOnAsGuest,  // the window stays until the application has taken the guest's name
    Close,
};

// One use of the window: its name, caption and layout table. The table must hold the box
// "Text1" and the buttons "Command1" (OK) and "Command2" (Cancel).
struct UserNameWindowDesign {
    const char* objectName;
    const char* caption;  // UTF-8
    std::span<const ui::ControlSpec> controls;
    int clientWidthTwips;
    int clientHeightTwips;
    UserNameCancel cancel;
    ui::WindowLayout Layout() const { return {controls, clientWidthTwips, clientHeightTwips}; }
};

class UserNameWindow : public ui::ModelessWindow {
    Q_OBJECT
public:
    explicit UserNameWindow(const UserNameWindowDesign& design, QWidget* parent = nullptr);
    ~UserNameWindow() override;

    // Puts `currentName` into Text1 and shows the window.
    void Open(const QString& currentName);

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const { return controls_; }

signals:
    void okClicked(const QString& name);  // "OK": register the text of Text1
    void cancelClicked();                 // "Cancel"

private:
    struct Ui;
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
};

}  // namespace ordevo
