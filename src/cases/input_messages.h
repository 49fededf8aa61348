// Warnings for inputs that the windows (and the command-line evaluator) refuse before computing,
// in the words the user sees.
#pragma once

namespace ordevo {

// A tube voltage that is empty, not a positive number, above 150 kV, or a range whose low end
// is not below its high end.
inline constexpr const char* kTubeVoltageInputMessage = " 管電圧を正しく入力して下さい ";

// Ka,r of 0 or below, or a negative P_KA: no field size can follow from them.
inline constexpr const char* kFieldSizeInputMessage =
    " 患者照射基準点線量 Ka,r と面積空気カーマ積算値 P_KA を正しく入力して下さい ";

// The equipment editor's check for empty boxes.
inline constexpr const char* kCouchEmptyInputMessage = " 入力されていない箇所があります ";

}  // namespace ordevo
