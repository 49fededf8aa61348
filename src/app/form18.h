// The window that changes the registered user name.
#pragma once

#include "user_name_window.h"

namespace ordevo {

inline constexpr int kForm18ClientWidthTwips = 6600;
inline constexpr int kForm18ClientHeightTwips = 4440;

extern const UserNameWindowDesign kNameChangeWindow;

class Form18 : public UserNameWindow {
public:
    static ui::WindowLayout Layout() { return kNameChangeWindow.Layout(); }
    explicit Form18(QWidget* parent = nullptr) : UserNameWindow(kNameChangeWindow, parent) {}
};

}  // namespace ordevo
