// A case as the user typed it (the main window's boxes, ordevo-cli's arguments, a dose report's
// totals typed by "入力欄へ") is read here, once, into the numbers the dose chain computes from.
// The completeness rule and "one number per box" live here, so every caller refuses the same
// texts with the same words.
#pragma once

#include <QString>

#include <optional>
#include <string>

#include "dose_evaluation.h"
#include "equipment_data.h"
#include "field_shape.h"
#include "input_checks.h"
#include "tube_voltage.h"
#include "uncertainty_budget.h"

namespace ordevo {

// The texts of the case controls at the moment of the calculation, and what the boxes'
// handlers and the other windows stored for them.
struct CaseEntry {
    std::string BodyPart{};                  // Combo1; "" is stored as "---"
    std::string TubeVoltage{};               // Text5, a voltage or a range such as "75 - 85"
    std::string ReferenceAirKerma{};         // Text14, mGy
    std::string KermaAreaProduct{};          // Text15, Gy·cm²
    std::string FocusSkinDistance{};         // Text9, cm
    double FieldSizeCm = 0;                  // Label65's value, ShownFieldSize; 0: none shown
    double StoredReferenceAirKermaMGy = 0;   // as the Ka,r box's handler last stored it
    double StoredKermaAreaProductGyCm2 = 0;  // as the P_KA box's handler last stored it
    FieldShape Shape = FieldShape::None;
    EquipmentData Equipment{};
    TubeVoltageRange Voltage{};
    double ReferencePointDistanceCm = 0;  // 0: the equipment's FAD − 15 cm

    // Every field: an entry equal to the evaluated one still shows its result.
    bool operator==(const CaseEntry&) const = default;
};

enum class CaseRefusalKind {
    NotANumber,      // a number box holds more than one number or none
    Incomplete,      // no tube voltage, or a blank Ka,r, P_KA or FSD box
    NotPositive,     // Ka,r, P_KA or FSD entered as 0 or below
    NoShape,         // neither field-shape option is chosen
    NoFieldSize,     // a shape is chosen, yet Ka,r and P_KA give no field size to compute with
    BeyondReceptor,  // the FSD reaches the image receptor
};

struct CaseRefusal {
    CaseRefusalKind Kind = CaseRefusalKind::Incomplete;
    std::optional<CaseBox> Box;  // the box to correct, when one is to blame
    QString Message;
};

// The dose case of the entry, or why there is none. The FSD text gives its leading number; Ka,r
// and P_KA are the stored values, the field size the shown one.
struct CaseReading {
    std::optional<DoseCase> Case;
    std::optional<CaseRefusal> Refusal;
    // The case's FSD is below kShortestPlausibleFocusSkinDistanceCm: the windows ask before
    // computing, ordevo-cli notes it.
    bool ShortFocusSkinDistance = false;
};
CaseReading ReadCase(const CaseEntry& entry);

// An evaluated case: what was typed, what was computed from, and what came out. It makes the
// row of the results table.
struct EvaluatedCase {
    CaseEntry Entry;
    DoseCase Case;
    DoseEvaluation Evaluation;
    std::optional<UncertaintyBudget>
        Uncertainty;  // of the skin dose; none when it could not be formed
};

// The body part as rows and reports name it: "---" for none.
std::string BodyPartOf(const CaseEntry& entry);

// The field size at the reference point as Label65 shows it ("#0.00").
std::string FieldSizeText(double sizeCm);
// The same value as a number: the field size rounded as shown, which is what every caller
// computes with, so that what is shown is what is computed with. The one place it is rounded.
double ShownFieldSize(double sizeCm);

}  // namespace ordevo
