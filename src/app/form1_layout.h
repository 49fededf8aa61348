// The main window's controls: positions in twips from the client area's top-left corner.
#pragma once

#include <span>

#include "control_table.h"

namespace ordevo {

// Client area of Form1, twips: room for the result column's frame and the mascot picture.
inline constexpr int kForm1ClientWidthTwips = 15600;
inline constexpr int kForm1ClientHeightTwips = 10700;

// The caption the window has before start-up decides about the user.
inline constexpr const char* kForm1DesignCaption = "  Ordevo-V3  ( Ordevo, version 3 )";
// The running caption of a registered user: followed directly by the name.
inline constexpr const char* kForm1RegisteredCaption = "Ordevo-V3 ( Ordevo, version 3 )  :  ";
// Appended to the current caption, before the guest name.
inline constexpr const char* kForm1GuestSeparator = "   :   ";

// Every control of Form1 in creation order (later ones lie above earlier ones).
std::span<const ui::ControlSpec> Form1Controls();

}  // namespace ordevo
