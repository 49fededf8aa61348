// The words the user sees about a case: the warnings for inputs that the windows and the
// command-line evaluator refuse before computing, and the fixed messages of an evaluation that
// does not complete. Every window and ordevo-cli take them from here, so all say the same.
#pragma once

#include <QString>

namespace ordevo {

// ---- Fixed texts, blanks and ideographic spaces included ----------------------------------

// A tube voltage that is empty, not a positive number, above 150 kV, or a range whose low end
// is not below its high end.
inline constexpr const char* kTubeVoltageInputMessage = " 管電圧を正しく入力して下さい ";

// Ka,r of 0 or below, or a negative P_KA: no field size can follow from them.
inline constexpr const char* kFieldSizeInputMessage =
    " 患者照射基準点線量 Ka,r と面積空気カーマ積算値 P_KA を正しく入力して下さい ";

// The equipment editor's check for empty boxes.
inline constexpr const char* kCouchEmptyInputMessage = " 入力されていない箇所があります ";

// The completeness rule: the product of the voltage, Ka,r, P_KA and FSD texts is 0.
inline constexpr const char* kIncompleteInputMessage = " 未入力の項目があります ";
// An evaluation that failed on the way, and one whose depth-dose step failed.
inline constexpr const char* kCalculationFailedMessage =
    "　???  正しく計算できませんでした  ???   ";
inline constexpr const char* kDepthDoseFailedMessage = " 正しく計算できません ";

// Neither option of the field shape is chosen: the field size cannot follow.
inline constexpr const char* kNoFieldShapeMessage = " 照射野形状を選択して下さい ";

// The reference files could not be read (the reason follows on the next line).
inline constexpr const char* kReferenceDataUnreadableMessage =
    " 基準データファイルを読み込めませんでした ";

// ---- Texts naming a box or a file ----------------------------------------------------------

// The main window's number boxes.
enum class CaseBox {
    ReferenceAirKerma,  // Text14, mGy
    KermaAreaProduct,   // Text15, Gy·cm²
    FocusSkinDistance,  // Text9, cm
};

// The box as the user sees it on the main window.
QString CaseBoxName(CaseBox box);

// The warning for a box whose text is not one plain number.
QString NotANumberMessage(CaseBox box, const QString& text);

// A negative Ka,r or P_KA, from which only a negative dose could follow.
QString NotPositiveMessage(CaseBox box);

// A focus–skin distance at or beyond the equipment's focus–receptor distance: the patient
// cannot lie behind the image receptor.
QString FocusSkinDistanceBeyondReceptorMessage(double focusSkinDistanceCm,
                                               double focusReceptorDistanceCm);

// A focus–skin distance shorter than any fluoroscope allows, which is more likely a typing slip
// ("5" for 50) than a real distance: the question the windows ask before computing, and the
// note ordevo-cli writes.
QString ShortFocusSkinDistanceQuestion(double focusSkinDistanceCm);
QString ShortFocusSkinDistanceNote(double focusSkinDistanceCm);

// An equipment file that cannot be used, and why.
QString EquipmentFileUnreadableMessage(const QString& fileName, const QString& reason);

}  // namespace ordevo
