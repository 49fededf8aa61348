// What the user sees when an evaluation or the couch computation does not complete: the fixed
// message of the outcome, and below it the reason in words.
#pragma once

#include <string>

#include "case_messages.h"
#include "couch.h"
#include "dose_evaluation.h"

namespace ordevo {

const char* MessageFor(EvaluationOutcome outcome);  // "" for Completed

// MessageFor the outcome, and for a failed computation the reason (which value, which file and
// line) on the next line.
std::string FailureMessageFor(const DoseEvaluation& evaluation);

// The reason alone: the computation's failure in words, or the caller's own text.
std::string FailureReasonOf(const DoseEvaluation& evaluation);

// The warning the editor shows for a problem: it names the box to correct.
const char* MessageFor(CouchInputProblem problem);

// MessageFor the error's problem, then on the next line its value and limit.
std::string CouchFailureMessage(const CouchInputError& error);

// MessageFor the problem's box, then why its text (UTF-8) was refused: it is not one number.
std::string CouchNotANumberMessage(CouchInputProblem problem, const std::string& text);

}  // namespace ordevo
