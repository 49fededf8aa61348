// The one-page skin-dose report of a procedure read back from the registry: the same page as the
// map window prints, from what the registry keeps (the map's cells, the PSD and its interval, the
// plane totals, the notes), without the events' own placement, which it does not keep.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "follow_up_levels.h"
#include "registry.h"
#include "skin_dose_report_page.h"

namespace ordevo {

// The map the page draws: the stored cells on the rebuilt trunk, with the procedure's PSD and
// upper bound; none without a stored map or with a grid that cannot be rebuilt.
std::optional<map::SkinDoseMap> StoredPageMap(const registry::ProcedureRecord& record);

// "頭側から・仰臥位" for "HFS" …; "記載なし" for "".
QString StoredLyingName(const std::string& lying);

// What the page says of the procedure, with the follow-up levels given.
map::SkinDoseReportContent StoredReportContent(const registry::StoredProcedure& procedure,
                                               std::vector<map::FollowUpLevel> levels,
                                               const QString& levelsSource);

}  // namespace ordevo
