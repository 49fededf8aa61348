// The main window's side of the dose evaluation: the case read from the boxes, each step shown
// as it completes, failures reported, and whether the result shown is still the case's.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "case_entry.h"
#include "evaluation_messages.h"
#include "form1.h"
#include "form1_controls.h"
#include "input_lock.h"
#include "measurement_record_file.h"
#include "messages.h"
#include "picture_box.h"
#include "report_evaluation.h"
#include "result_labels.h"
#include "scatter_kernel_file.h"
#include "spectrum_file.h"
#include "uncertainty_text.h"
#include "units.h"

namespace ordevo {
namespace {

using ui::AppMessages;

const QString kSpectrumQuestion = QStringLiteral("  Ｘ線スペクトルを表示しますか？ 　");
const QString kSpectrumNotWritten = QStringLiteral(
    " Ｘ線スペクトルのファイルを書き込めませんでした \n"
    "計算と結果、スペクトルの表示には影響ありません。\n");

}  // namespace

// ---- Evaluation ----------------------------------------------------------------------------

void Form1::EvaluateDose() {
    if (evaluating_) return;
    evaluating_ = true;
    struct Finish {
        bool& flag;
        ~Finish() { flag = false; }
    } finish{evaluating_};

    const std::optional<CaseReading> reading = AcceptCaseInputs();
    if (!reading) return;
    evaluated_.reset();
    ui_->skinDoseUncertaintyLabel->clear();  // it belongs to the dose of one evaluation only
    if (reading->Refusal) {                  // incomplete: nothing is computed
        // The column keeps the last case's figures, greyed: they are not this case's result.
        ShowResultColumn(false);
        ui_->addResultButton->setEnabled(false);
        AppMessages().Warning(reading->Refusal->Message);
        return;
    }
    ShowResultColumn(true);
    const DoseCase& doseCase = *reading->Case;

    bool spectrumWritten = false;
    InputLock lock(ui_->Inputs());
    const auto observer = [&](EvaluationStep step, const DoseEvaluation& evaluation) {
        ShowEvaluationStep(step, evaluation);
        if (step == EvaluationStep::Spectrum) spectrumWritten = true;
    };
    // The uncertainty evaluates the chain a dozen times more: the kernels are read once.
    const ScatterKernelLoader loadKernel =
        rdsr::MakeCachingKernelLoader(MakeScatterKernelLoader(workingFolder_));
    const DoseEvaluation evaluation =
        ordevo::EvaluateDose(reference_, doseCase, loadKernel, observer);
    InputLock::DropHeldBackInput();
    lock.Release();
    if (spectrumWritten) ui_->spectrumButton->setEnabled(true);
    if (spectrumWriteWarning_) {
        AppMessages().Warning(kSpectrumNotWritten + *spectrumWriteWarning_);
        spectrumWriteWarning_.reset();
    }

    if (evaluation.Outcome != EvaluationOutcome::Completed) {
        ReportEvaluationFailure(evaluation, doseCase);
        return;
    }
    evaluated_ = EvaluatedCase{
        CurrentEntry(), doseCase, evaluation,
        EvaluateUncertainty(reference_, doseCase, evaluation, KnowledgeOfEquipment(), loadKernel)};
    if (evaluated_->Uncertainty) {
        ui_->skinDoseUncertaintyLabel->setText(
            ExpandedUncertaintyText(evaluated_->Uncertainty->RelativeExpandedUncertainty()));
    }
    if (AppMessages().AskYesNo(kSpectrumQuestion) == ui::Answer::Yes) emit spectrumRequested();
    ui_->addResultButton->setEnabled(true);
    ui_->clearButton->setEnabled(true);
    ui_->addResultButton->setFocus();
}

std::optional<CaseReading> Form1::AcceptCaseInputs() {
    for (QLineEdit* box :
         {ui_->referenceAirKermaBox, ui_->kermaAreaProductBox, ui_->focusSkinDistanceBox}) {
        if (!AcceptNumberBox(box, true)) return std::nullopt;
    }
    CaseReading reading = ReadCase(CurrentEntry());
    const auto giveFocusTo = [this](std::optional<CaseBox> refused) {
        if (!refused) return;
        QLineEdit* box = *refused == CaseBox::ReferenceAirKerma  ? ui_->referenceAirKermaBox
                         : *refused == CaseBox::KermaAreaProduct ? ui_->kermaAreaProductBox
                                                                 : ui_->focusSkinDistanceBox;
        box->setFocus();
        box->selectAll();
    };
    if (reading.Refusal && reading.Refusal->Kind != CaseRefusalKind::Incomplete) {
        AppMessages().Warning(reading.Refusal->Message, ui::WithBeep::Yes);
        giveFocusTo(reading.Refusal->Box);
        if (reading.Refusal->Kind == CaseRefusalKind::NoShape)
            OptionFor(FieldShape::Square)->setFocus();
        return std::nullopt;
    }
    // A distance shorter than any fluoroscope allows is more likely "5" typed for 50.
    if (reading.ShortFocusSkinDistance &&
        AppMessages().AskYesNo(ShortFocusSkinDistanceQuestion(reading.Case->FocusSkinDistanceCm)) !=
            ui::Answer::Yes) {
        giveFocusTo(CaseBox::FocusSkinDistance);
        return std::nullopt;
    }
    return reading;
}

// After each completed step: its labels, the shared state, the spectrum file after the
// spectrum step, and a repaint between the long steps.
void Form1::ShowEvaluationStep(EvaluationStep step, const DoseEvaluation& evaluation) {
    const ResultTexts texts = ResultTextsForStep(step, evaluation.Result);
    for (const auto& [label, text] : ui_->ResultColumn())
        if (texts.*text) label->setText(QString::fromStdString(*(texts.*text)));
    if (step == EvaluationStep::Spectrum) {
        case_.Spectrum = evaluation.Spectrum;
        const QString spectrumPath =
            QDir(workingFolder_).filePath(QString::fromLatin1(kSpectrumFileName));
        // The file only serves the spectrum window, which can draw from memory: a folder that
        // refuses it must not cost the user the result.
        const auto written = WriteSpectrumFile(spectrumPath, evaluation.Spectrum.XraySpectrum);
        if (!written && !spectrumUnwritten_) spectrumWriteWarning_ = written.error().message();
        spectrumUnwritten_ = !written;
    }
    if (step == EvaluationStep::Spectrum || step == EvaluationStep::Backscatter ||
        step == EvaluationStep::DepthDose) {
        ui::LetPendingEventsRun();
    }
    emit evaluationStepShown(static_cast<int>(step));
}

const BinArray* Form1::UnwrittenSpectrum() const {
    return spectrumUnwritten_ ? &case_.Spectrum.XraySpectrum : nullptr;
}

void Form1::ReportEvaluationFailure(const DoseEvaluation& evaluation, const DoseCase& inputs) {
    // Below the fixed message: the input that made the computation fail, with its range, or
    // else the computation's own reason.
    const QStringList reasons = FailedInputReasons(reference_, inputs);
    const QString text = reasons.isEmpty()
                             ? QString::fromStdString(FailureMessageFor(evaluation))
                             : QString::fromUtf8(MessageFor(evaluation.Outcome)) +
                                   QStringLiteral("\n") + reasons.join(QLatin1Char('\n'));
    // The result column now mixes this case's first steps with the last case's end: adding it
    // to the table would store a row that belongs to neither, and it is greyed as no result.
    ui_->addResultButton->setEnabled(false);
    ShowResultColumn(false);
    if (evaluation.Outcome == EvaluationOutcome::DepthDoseFailed) {
        ui_->scatterFactorLabel->setText(QStringLiteral("---"));
        ui_->skinDoseLabel->setText(QStringLiteral("---"));
        AppMessages().Warning(text);
    } else {
        AppMessages().Warning(text, ui::WithBeep::Yes);
    }
}

void Form1::ClearCurrentResult() {
    evaluated_.reset();
    QFile::remove(QDir(workingFolder_).filePath(QString::fromLatin1(kSpectrumFileName)));
    for (QLabel* label : ui_->ResultLabels()) label->clear();
    ui_->skinDoseUncertaintyLabel->clear();
    ui_->tubeVoltageBox->clear();
    ui_->referenceAirKermaBox->clear();
    ui_->kermaAreaProductBox->clear();
    ui_->fieldSizeLabel->clear();
    ui::UncheckOption(*OptionFor(FieldShape::Circle));
    ui::UncheckOption(*OptionFor(FieldShape::Square));
    case_.Stored.Shape = FieldShape::None;
    case_.Stored.FieldSizeCm = 0;
    SetDoseReportGeometry(std::nullopt);
    ui_->addResultButton->setEnabled(false);
    ui_->spectrumButton->setEnabled(false);
    ui_->evaluateButton->setEnabled(true);
    ShowResultColumn(true);
}

UncertaintyKnowledge Form1::KnowledgeOfEquipment() const {
    return KnowledgeBeside(QDir(workingFolder_).filePath(case_.EquipmentFileName));
}

CaseEntry Form1::CurrentEntry() const {
    CaseEntry entry{.BodyPart = ui_->bodyPartBox->currentText().toStdString(),
                    .TubeVoltage = ui_->tubeVoltageBox->text().toStdString(),
                    .ReferenceAirKerma = ui_->referenceAirKermaBox->text().toStdString(),
                    .KermaAreaProduct = ui_->kermaAreaProductBox->text().toStdString(),
                    .FocusSkinDistance = ui_->focusSkinDistanceBox->text().toStdString(),
                    .FieldSizeCm = case_.Stored.FieldSizeCm,
                    .StoredReferenceAirKermaMGy = case_.Stored.ReferenceAirKermaMGy,
                    .StoredKermaAreaProductGyCm2 = case_.Stored.KermaAreaProductGyCm2,
                    .Shape = case_.Stored.Shape,
                    .Equipment = case_.Equipment,
                    .Voltage = case_.Voltage,
                    .ReferencePointDistanceCm = 0};
    if (const std::optional<DoseReportGeometry>& report = case_.DoseReport) {
        entry.ReferencePointDistanceCm = report->ReferenceDistanceCm;
        entry.Equipment.AddedCopper = report->CopperMm * kCentimetresPerMillimetre;
        entry.Equipment.AddedAluminium = report->AluminiumMm * kCentimetresPerMillimetre;
    }
    return entry;
}

void Form1::CheckResultStillCurrent() {
    if (!evaluated_ || evaluating_) return;
    if (evaluated_->Entry == CurrentEntry()) return;  // still the evaluated case
    evaluated_.reset();
    ShowResultColumn(false);
    ui_->addResultButton->setEnabled(false);
}

bool Form1::HasCurrentResult() {
    CheckResultStillCurrent();
    return evaluated_.has_value();
}

const EvaluatedCase* Form1::CurrentResult() { return HasCurrentResult() ? &*evaluated_ : nullptr; }

void Form1::ShowResultColumn(bool current) {
    for (QLabel* label : ui_->ResultLabels()) label->setEnabled(current);
    ui_->skinDoseUncertaintyLabel->setEnabled(current);
}

}  // namespace ordevo
