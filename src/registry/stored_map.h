// A map as the registry keeps it (the grid and its cells) turned back into a skin-dose map that
// the map's drawing and its place texts take: the trunk rebuilt from the grid alone.
#pragma once

#include <optional>
#include <string>

#include "procedure_record.h"
#include "skin_dose_map.h"

namespace ordevo::registry {

// The patient model with the stored grid: the trunk's length from its rows and its girth from
// its columns (the torso keeps the reference's 2:1 cross-section whatever the height and weight,
// so the grid fixes every cell's angle and place to within a cell). None when the grid is not
// one the map could have made.
std::optional<map::PatientModel> ModelOfGrid(const std::string& phantom, double cellCm, int rows,
                                             int columns);

// The stored map with its model, cells, PSD and PSD cell; none when its grid cannot be rebuilt.
std::optional<map::SkinDoseMap> SkinDoseMapOf(const MapRecord& record);

}  // namespace ordevo::registry
