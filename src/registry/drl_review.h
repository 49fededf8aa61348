// The review of a room's procedures against the diagnostic reference levels: per category and
// room, the number of procedures, the median and 75th percentile of each procedure's total
// Ka,r and P_KA, and whether the median lies above the level.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "drl_file.h"
#include "procedure_categories_file.h"
#include "registry.h"

namespace ordevo::registry {

// Below this many procedures a category's median is shown but flagged: the national levels are
// set from facility medians of at least 20 procedures each (ICRP Publication 135 asks for a
// median over at least 20 patients, more for interventional procedures), so a median of fewer
// says little about the room.
inline constexpr int kMinimumProceduresForMedian = 20;

// The p-th percentile (0 ≤ p ≤ 1) of sorted values by linear interpolation between closest
// ranks: position h = (n − 1)·p, value x[⌊h⌋] + (h − ⌊h⌋)·(x[⌊h⌋+1] − x[⌊h⌋]) (Hyndman and
// Fan's definition 7, that of spreadsheets' PERCENTILE.INC). The median is p = 0.5. None for
// no values.
std::optional<double> Percentile(const std::vector<double>& sorted, double p);

struct CategorisedProcedure {
    ReviewSource Source;
    QString Category;  // "" when no rule matched and none was set by hand
    bool SetByHand = false;
};

// The hand-set category, else the first rule matching the procedure's texts.
CategorisedProcedure Categorise(const ReviewSource& source, const std::vector<CategoryRule>& rules);

struct ReviewRow {
    QString Category, Room;
    int Procedures = 0;
    std::optional<double> MedianKarMGy, P75KarMGy, MedianPkaGyCm2, P75PkaGyCm2;
    std::optional<double> DrlKarMGy, DrlPkaGyCm2;
    std::optional<bool> KarAboveDrl, PkaAboveDrl;  // none where no level is set
    bool TooFew = false;                           // fewer than kMinimumProceduresForMedian
    std::vector<double> KarMGy, PkaGyCm2;          // the procedures' totals, sorted (box plots)
};

struct DrlReview {
    std::vector<ReviewRow> Rows;  // by category (in the DRL table's order, then the others by
                                  // name), then room
    int Uncategorised = 0;
    std::vector<QString> Rooms, Facilities;  // each once, sorted
};

DrlReview ReviewAgainstDrl(const std::vector<CategorisedProcedure>& procedures,
                           const std::vector<DrlEntry>& levels);

}  // namespace ordevo::registry
