// Names typed by a user (or taken from a file) that become file names in a chosen folder.
#pragma once

#include <QString>
#include <optional>

namespace ordevo {

// Why `name` cannot be a file name inside its folder (in Japanese, for the user), or nothing
// when it can: it must not be empty or blank, "." or "..", hold a path separator ('/' or '\')
// or a control character, or start with ":" (Qt's prefix of its resources).
// So "<folder>/<name><extension>" always names a file directly inside the folder.
std::optional<QString> FileNameProblem(const QString& name);

}  // namespace ordevo
