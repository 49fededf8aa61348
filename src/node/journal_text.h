// What a caller sends (AE titles, UIDs) goes into the journal escaped, so that no caller can
// write a line of its own there: control characters, DEL, bytes above 0x7e and the backslash
// become \xNN.
#pragma once

#include <string>

namespace ordevo::node {

std::string JournalText(const std::string& text);

}  // namespace ordevo::node
