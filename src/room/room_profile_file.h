// Room profile files (CP932, "key = value" lines): read and parsed in one place for every path
// that maps (each keeps its own policy for a file it cannot read), and written whole.
#pragma once

#include <QString>
#include <QStringList>

#include "file_error.h"
#include "room_profile.h"

namespace ordevo {

// The profile in `path`, named after the file (without ".room"). The error names the file, and
// for a bad line the line and why.
FileResult<map::RoomProfile> ReadRoomProfileFile(const QString& path);

// Writes `comment` (each line prefixed "# ") and the profile's keys into `path` through
// QSaveFile. An existing file is replaced only when `replace` is true; otherwise the error says
// so and names the file.
FileResult<void> WriteRoomProfileFile(const QString& path, const QStringList& comment,
                                      const map::RoomProfile& profile, bool replace);

}  // namespace ordevo
