// The user's words for the failures of the physics core: a calculation that cannot go on, and a
// value outside an equipment record's limits. UTF-8 Japanese, numbers as the core had them.
#pragma once

#include <string>

#include "calculation_error.h"
#include "equipment_limits.h"

namespace ordevo {

// "後方散乱: 管電圧 151 kV の区間 302 はエネルギーの表（300 区間）の外です": which value, its
// number and the limit it left, 17 significant digits.
std::string DescribeCalculationFailure(const CalculationFailure& failure);

// The name of a field as the editor labels it, e.g. "焦点-アイソセンター間距離".
const char* EquipmentFieldName(EquipmentField field);

// "焦点-アイソセンター間距離 12 cm は範囲外です（15 cm より大きい有限の値）".
std::string DescribeViolation(const EquipmentLimitViolation& violation);

}  // namespace ordevo
