#include "evaluation_messages.h"

#include "calculation_messages.h"

namespace ordevo {

const char* MessageFor(EvaluationOutcome outcome) {
    switch (outcome) {
    case EvaluationOutcome::Completed: return "";
    case EvaluationOutcome::CalculationFailed: return kCalculationFailedMessage;
    case EvaluationOutcome::DepthDoseFailed: return kDepthDoseFailedMessage;
    }
    return "";
}

std::string FailureReasonOf(const DoseEvaluation& evaluation) {
    if (evaluation.Failure.Problem != CalculationProblem::None)
        return DescribeCalculationFailure(evaluation.Failure);
    return evaluation.CallerFailureText;
}

std::string FailureMessageFor(const DoseEvaluation& evaluation) {
    std::string message = MessageFor(evaluation.Outcome);
    if (evaluation.Outcome == EvaluationOutcome::CalculationFailed ||
        evaluation.Outcome == EvaluationOutcome::DepthDoseFailed) {
        const std::string reason = FailureReasonOf(evaluation);
        if (!reason.empty()) message += "\n" + reason;
    }
    return message;
}

const char* MessageFor(CouchInputProblem problem) {
    switch (problem) {
    case CouchInputProblem::AirKermaWithoutCouch:
        return " 天板なしの実測空気カーマを正しく入力して下さい ";
    case CouchInputProblem::DisplayedReferenceAirKerma: return " 装置表示値を正しく入力して下さい ";
    case CouchInputProblem::FocusIsocentreDistance:
        return " 焦点-アイソセンター間距離を正しく入力して下さい（15 cm より大きい値） ";
    case CouchInputProblem::TypicalTubeVoltage:
        return " 通常使用する代表的な管電圧を正しく入力して下さい ";
    case CouchInputProblem::TransmissionAboveOne:
        return " 天板透過率が 1 を超えています。実測値を確かめて下さい ";
    case CouchInputProblem::TransmissionBeyondTable:
        return " 天板透過率が小さすぎます（軟部組織 10 cm を超える減弱）。実測値を確かめて下さい ";
    case CouchInputProblem::TargetAngle:
        return " Ｘ線管ターゲット角度を正しく入力して下さい（0 度より大きく 90 度未満） ";
    case CouchInputProblem::BeamFullyAbsorbed:
        return " フィルタでＸ線がすべて吸収されます。フィルタの厚さを確かめて下さい ";
    case CouchInputProblem::AirKermaWithCouch:
        return " 天板ありの実測空気カーマを正しく入力して下さい ";
    case CouchInputProblem::FocusReceptorDistance:
        return " 焦点-受像器間距離を正しく入力して下さい（焦点-アイソセンター間距離より大きい値） ";
    case CouchInputProblem::InherentFiltration:
        return " 固有フィルタ (Al 当量) を正しく入力して下さい（0 以上） ";
    case CouchInputProblem::AddedAluminium:
        return " 付加フィルタ (アルミ) を正しく入力して下さい（0 以上） ";
    case CouchInputProblem::AddedCopper:
        return " 付加フィルタ（ 銅 ）を正しく入力して下さい（0 以上） ";
    case CouchInputProblem::OtherFilterThickness:
        return " 任意フィルタの厚さを正しく選んで下さい（0 以上） ";
    case CouchInputProblem::CalibrationConstant:
        return " 校正定数を計算できません。実測空気カーマと装置表示値を確かめて下さい ";
    }
    return "";
}

std::string CouchNotANumberMessage(CouchInputProblem problem, const std::string& text) {
    return std::string(MessageFor(problem)) + "\n入力された文字「" + text +
           "」は数値として読めません";
}

std::string CouchFailureMessage(const CouchInputError& error) {
    const std::string reason = error.Violation() ? DescribeViolation(*error.Violation())
                                                 : DescribeCalculationFailure(error.Failure());
    return std::string(MessageFor(error.problem())) + "\n" + reason;
}

}  // namespace ordevo
