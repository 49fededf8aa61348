// The follow-up levels of the skin-dose report: peak skin doses and the text printed when the
// PSD reaches each. A small text file the user may edit ("skin_dose_levels.txt" in the working
// folder), one level a line "mGy = text", "#" starting a comment; the defaults cite their source.
#pragma once

#include <QString>
#include <optional>
#include <variant>
#include <vector>

namespace ordevo::map {

inline constexpr char kFollowUpLevelsFileName[] = "skin_dose_levels.txt";

struct FollowUpLevel {
    double PsdMGy = 0;
    QString Text;
};

// The defaults' file text, with its sources in comments.
QString DefaultFollowUpLevelsText();

// Levels in increasing order, or the error naming the line in Japanese ("skin_dose_levels.txt
// 3 行目: ...").
std::variant<std::vector<FollowUpLevel>, QString> ParseFollowUpLevels(const QString& text,
                                                                      const QString& fileName);

// The highest level the PSD reaches, none below the lowest.
std::optional<FollowUpLevel> ReachedLevel(const std::vector<FollowUpLevel>& levels, double psdMGy);

// The levels from `folder`'s file, the defaults when it is missing (written there first when
// `writeDefaults`, so the user finds them to edit). A file that cannot be read or parsed is an
// error.
std::variant<std::vector<FollowUpLevel>, QString> LoadFollowUpLevels(const QString& folder,
                                                                     bool writeDefaults);

}  // namespace ordevo::map
