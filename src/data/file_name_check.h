// Names typed by a user (or taken from a file) that become file names in a chosen folder.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace ordevo {

// Why `name` cannot be a file name inside its folder (in Japanese, for the user), or nothing
// when it can: it must not be empty or blank, "." or "..", hold a path separator ('/' or '\')
// or a control character, or start with ":" (Qt's prefix of its resources).
// So "<folder>/<name><extension>" always names a file directly inside the folder.
std::optional<QString> FileNameProblem(const QString& name);

// The room profile's file name for a dose report's manufacturer: its first word in lower case,
// "<word>.room"; none when that word is empty or holds anything but letters, digits, '-', '_'
// (the report's words never name another folder).
std::optional<QString> ManufacturerRoomFileName(const std::string& manufacturer);

}  // namespace ordevo
