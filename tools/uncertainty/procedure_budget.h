// The uncertainty budget of a skin-dose map's peak skin dose for a procedure of typical size:
// 89 events in six projections, fluoroscopy and acquisitions, in the unmeasured room.
#pragma once

#include <string>

#include "depth_dose.h"
#include "reference_data.h"

namespace ordevo::uncertainty {

// The procedure, its map, and the PSD's budget as a Markdown table.
std::string ProcedureBudgetTable(const ReferenceData& ref, const ScatterKernelLoader& loadKernel);

}  // namespace ordevo::uncertainty
