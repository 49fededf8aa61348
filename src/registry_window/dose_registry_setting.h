// Which registry the window opens and the cumulative window and level it shows: a small text file
// in the working folder ("dose_registry.txt"), lines "key = value" with the node's key names
// (registry, alert-window-days, alert-cumulative-mgy), "#" starting a comment. The window writes
// it when the user chooses another registry, so the next start opens that one.
#pragma once

#include <QString>
#include <variant>

#include "alerts.h"
#include "file_error.h"

namespace ordevo {

inline constexpr char kDoseRegistrySettingFileName[] = "dose_registry.txt";

struct DoseRegistrySetting {
    QString RegistryPath;          // "" : not chosen yet
    registry::AlertLevels Levels;  // the alerts' defaults unless set
};

// The setting of `folder`; the defaults when the file is missing; the error naming the line.
std::variant<DoseRegistrySetting, QString> ReadDoseRegistrySetting(const QString& folder);

FileResult<void> WriteDoseRegistrySetting(const QString& folder,
                                          const DoseRegistrySetting& setting);

}  // namespace ordevo
