// The window that changes the registered user name.
#pragma once

#include <span>

#include "control_table.h"
#include "modeless_window.h"

class QLineEdit;

namespace ordevo {

inline constexpr int kForm18ClientWidthTwips = 6600;
inline constexpr int kForm18ClientHeightTwips = 4440;
std::span<const ui::ControlSpec> Form18Controls();

class Form18 : public ui::ModelessWindow {
    Q_OBJECT
public:
    explicit Form18(QWidget* parent = nullptr);

    // Puts the current name into Text1 and shows the window.
    void Open(const QString& currentName);

    QLineEdit* Text1() const { return text1_; }
    const ui::Controls& Controls() const { return controls_; }

signals:
    void okClicked(const QString& name);  // "OK": register the text of Text1

private:
    ui::Controls controls_;
    QLineEdit* text1_;
};

}  // namespace ordevo
