// The exit confirmation.
#pragma once

#include <span>

#include "control_table.h"
#include "modeless_window.h"

namespace ordevo {

inline constexpr int kForm7ClientWidthTwips = 6000;
inline constexpr int kForm7ClientHeightTwips = 2400;
std::span<const ui::ControlSpec> Form7Controls();

class Form7 : public ui::ModelessWindow {
    Q_OBJECT
public:
    explicit Form7(QWidget* parent = nullptr);
    const ui::Controls& Controls() const { return controls_; }
    // The extra line under the question: the results table holds rows added or changed since
    // the last save or load, which ending the program loses.
    void ShowUnsavedRowsNote(bool unsavedRows);

signals:
    void yesClicked();  // "はい": end the program
    void noClicked();   // "いいえ", or the window closed from its title bar: go back

protected:
    // Closing the question answers it "いいえ": otherwise, after the main window was closed,
    // the program would go on with no window from which to end it.
    void closeEvent(QCloseEvent* event) override;

private:
    ui::Controls controls_;
};

}  // namespace ordevo
