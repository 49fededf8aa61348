// The follow-up level of a map said honestly: judged on the PSD of the placed events and on what
// could not be placed (dose_coverage.h), with the words the page, the window and the registry
// print. Qt Core only, so ordevo-cli judges as the page does.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "dose_coverage.h"
#include "follow_up_levels.h"
#include "skin_dose_map.h"

namespace ordevo::map {

struct FollowUpJudgement {
    // Against the lowest level, the one that calls for any follow-up at all.
    FollowUpStatus Status = FollowUpStatus::NotReached;
    std::optional<double> LevelMGy;         // the lowest level; none when no level is set
    std::optional<FollowUpLevel> Reached;   // the highest level the PSD reaches
    std::optional<FollowUpLevel> Possible;  // a higher one the unplaced dose may reach
};

// `levels` in increasing order. With unbounded dose, the next level above the reached one is
// the one that cannot be excluded.
FollowUpJudgement JudgeFollowUpLevels(const std::vector<FollowUpLevel>& levels, double psdMGy,
                                      double unplacedBoundMGy, bool unbounded);
FollowUpJudgement JudgeFollowUpLevels(const std::vector<FollowUpLevel>& levels,
                                      const SkinDoseMap& map);

// Whether the map's PSD holds only the placed events (some dose could not be placed).
bool PsdOfPlacedOnly(const SkinDoseMap& map);

// "照射の 97 %（Ka,r）を皮膚に割り付け": never 100 % while any was left out, never 0 % while
// some was placed.
QString MappedShareText(double share);

// "追跡レベル: 3000 mGy に到達", "… 5000 mGy に到達の可能性あり", "追跡レベル: 到達なし".
QString FollowUpHeadline(const FollowUpJudgement& judgement);

// The sentence under the headline: the reached level's text, what the unplaced dose may reach,
// or that the lowest level is not reached.
QString FollowUpSentence(const FollowUpJudgement& judgement, double unplacedBoundMGy,
                         bool unbounded);

}  // namespace ordevo::map
