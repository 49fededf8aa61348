// The evaluation of one case: corrections, spectrum, backscatter, depth dose and skin dose.
#pragma once

#include <functional>
#include <string>

#include "calculation_error.h"
#include "depth_dose.h"
#include "equipment_data.h"
#include "field_shape.h"
#include "reference_data.h"
#include "spectrum.h"
#include "tube_voltage.h"

namespace ordevo {

// One case as the dose chain computes it: numbers with units only. What the user typed is read
// into it elsewhere, once.
struct DoseCase {
    double ReferenceAirKermaMGy = 0;   // Ka,r as the equipment displays it
    double KermaAreaProductGyCm2 = 0;  // P_KA as the equipment displays it
    double FocusSkinDistanceCm = 0;
    double ReferenceFieldSizeCm = 0;  // side or diameter at the reference point, as shown (0.01 cm)
    FieldShape Shape = FieldShape::None;
    // Focus to the point where Ka,r is stated; 0 means the equipment's FAD − 15 cm (a dose
    // report may state its own).
    double ReferencePointDistanceCm = 0;
    EquipmentData Equipment;
    TubeVoltageRange Voltage;

    // Every field: two evaluations of equal cases give equal results.
    bool operator==(const DoseCase&) const = default;
};

struct CaseConditions {
    double TubeVoltage = 0;  // kV, upper end of the range after the spectrum step
    FieldShape Shape = FieldShape::None;
    double ReferenceFieldSize = 0;      // cm
    double FocusSkinDistance = 0;       // cm
    double ReferencePointDistance = 0;  // d_ref, cm: where Ka,r and the field size are given
    double PhantomSurfaceDistance = 0;  // d0 = FSD − t, cm
    double SurfaceFieldSize = 0;        // s0, cm
    double ReferenceAirKerma = 0;       // mGy
    double KermaAreaProduct = 0;        // Gy·cm²
};

struct DoseResult {
    double CorrectedReferenceAirKerma = 0;  // mGy
    double CorrectedKermaAreaProduct = 0;   // Gy·cm²
    double CouchTransmission = 0;
    double EntranceAirKerma = 0;  // primary air kerma at the skin behind the couch, mGy
    double TissueToAirDoseRatio = 0;
    double BackscatterFactor = 0;
    double DepthDoseFactor = 0;
    double ScatterFactor = 0;
    double SkinDose = 0;  // mGy
};

// Steps in the order they run; an observer hears of each one as it completes.
enum class EvaluationStep : int {
    None = 0,
    Corrections,  // cKa,r, cP_KA, T, K_e and the geometry are set
    Spectrum,     // spectrum and R are set
    Backscatter,  // B is set
    DepthDose,    // F is set
    SkinDose,     // skin dose and scatter factor are set
};

// Each outcome but Completed has its fixed message where failures are shown.
enum class EvaluationOutcome : int {
    Completed,
    CalculationFailed,
    DepthDoseFailed,
};

struct DoseEvaluation {
    EvaluationOutcome Outcome = EvaluationOutcome::Completed;
    EvaluationStep ReachedStep = EvaluationStep::None;  // results up to this step are valid
    // Why a step failed: the computation's own failure, or (Problem None) the text of an
    // exception the kernel loader or the observer threw, already in the user's words.
    CalculationFailure Failure;
    std::string CallerFailureText;
    CaseConditions Conditions;
    DoseResult Result;
    SpectrumResult Spectrum;
};

// Called after each completed step (the window shows labels, writes the spectrum file and
// lets pending events run). An exception from the observer fails the evaluation like a
// failure of that step. A step whose results are not finite or are negative fails before
// its observer is called.
using EvaluationObserver = std::function<void(EvaluationStep, const DoseEvaluation&)>;

// Supplies the spectrum of a filtration and tube-voltage setting. Empty means ComputeSpectrum;
// a caller evaluating many cases may hand out an earlier result for equal inputs.
using SpectrumSource = std::function<SpectrumResult(const AttenuationTable&, const EquipmentData&,
                                                    const TubeVoltageRange&)>;

// Supplies the depth-dose factor F of the step's inputs. Empty means ComputeDepthDoseFactor; the
// uncertainty budget hands out F of a moved case from a nearby case's (see DepthDoseRatios).
using DepthDoseSource = std::function<double(const DepthDoseInputs&)>;

DoseEvaluation EvaluateDose(const ReferenceData& ref, const DoseCase& in,
                            const ScatterKernelLoader& loadKernel,
                            const EvaluationObserver& observer = {},
                            const SpectrumSource& spectrumSource = {},
                            const DepthDoseSource& depthDoseSource = {});

}  // namespace ordevo
