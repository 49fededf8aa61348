// The registered user (facility) name: line 32 of "Primary.dat".
#pragma once

#include <QString>
#include <optional>

#include "file_error.h"

namespace ordevo {

inline constexpr int kUserNameLine = 32;

// Line 32 whole (an empty line is an empty name); nothing when the file cannot be read, has
// fewer than 32 lines or line 32 is not CP932 text — the unregistered state.
std::optional<QString> ReadUserName(const QString& folder);

// Rewrites "Primary.dat" with its lines 1–31 byte for byte, then `name`: exactly 32 lines,
// each ended by CR LF, saved through QSaveFile; lines after 32 are dropped. Refused (and the
// file left as it was) when the file cannot be read or has fewer than 31 lines, or when the
// name holds a line break or a character code page 932 cannot hold.
FileResult<void> StoreUserName(const QString& folder, const QString& name);

}  // namespace ordevo
