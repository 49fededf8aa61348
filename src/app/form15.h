// The registration window: the first user name, or going on as a guest.
#pragma once

#include "user_name_window.h"

namespace ordevo {

inline constexpr int kForm15ClientWidthTwips = 7200;
inline constexpr int kForm15ClientHeightTwips = 5640;

extern const UserNameWindowDesign kRegistrationWindow;

class Form15 : public UserNameWindow {
public:
    static ui::WindowLayout Layout() { return kRegistrationWindow.Layout(); }
    explicit Form15(QWidget* parent = nullptr) : UserNameWindow(kRegistrationWindow, parent) {}
};

}  // namespace ordevo
