// The main window: its controls from the layout table, the input handlers, the field size,
// the equipment list and the window side of the dose evaluation.
#include "form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <optional>
#include <stdexcept>
#include <string>

#include "calculation_error.h"
#include "case_entry.h"
#include "equipment_file.h"
#include "evaluation_messages.h"
#include "field_size.h"
#include "file_list_box.h"
#include "file_name_check.h"
#include "form1_controls.h"
#include "form1_layout.h"
#include "input_lock.h"
#include "input_messages.h"
#include "mascot.h"
#include "messages.h"
#include "number_format.h"
#include "picture_box.h"
#include "result_labels.h"
#include "scatter_kernel_file.h"
#include "spectrum_file.h"
#include "tube_voltage_text.h"
#include "twips.h"
#include "units.h"

namespace ordevo {
namespace {

using ui::AppMessages;

const QString kSpectrumQuestion = QStringLiteral("  Ｘ線スペクトルを表示しますか？ 　");
const QString kDeleteQuestion = QStringLiteral(" このデータファイル（%1）を本当に削除しますか？ ");
const QString kBodyPartCharacterWarning = QStringLiteral(
    " 「対象部位」にはカンマ（,）、改行、およびファイルに保存できない文字は入力できません ");
const QString kResultsWindowTip = QStringLiteral(" ダブルクリックで計算結果表を表示 ");
const QString kDiameterCaption = QStringLiteral("直 径");
const QString kSquareSideCaption = QStringLiteral("正方形 一辺長");
const QString kSquareDesignCaption = QStringLiteral("正 方 形");

QString Format(double value, const char* picture) {
    return QString::fromStdString(FormatNumber(value, picture));
}

double ValueOf(const QString& text) { return LeadingNumber(text.toStdString()); }

bool IsEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

ui::WindowLayout Form1::Layout() {
    return {Form1Controls(), kForm1ClientWidthTwips, kForm1ClientHeightTwips};
}

Form1::Form1(AppState& state, QWidget* parent)
    : ModelessWindow(parent),
      state_(state),
      controls_(ui::CreateControls(*this, Form1Controls())),
      ui_(std::make_unique<const Ui>(controls_)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kForm1DesignCaption));
    SetClientSizeTwips(kForm1ClientWidthTwips, kForm1ClientHeightTwips);

    // The title's shadow copy is grey, the copy in front dark blue.
    ui_->titleShadow->setStyleSheet(QStringLiteral("color: #a0a0a0;"));
    ui_->title->setStyleSheet(QStringLiteral("color: #1c2f7a;"));
    // A stale result is greyed (disabled); the dose keeps its colour only while it is current.
    ui_->skinDoseLabel->setStyleSheet(QStringLiteral(
        "QLabel { color: #b00000; font-weight: bold; } QLabel:disabled { color: #a0a0a0; }"));
    ui_->skinDoseCaption->setToolTip(kResultsWindowTip);
    ui_->fieldSizeLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    for (QLabel* label : ui_->resultLabels) label->setAlignment(Qt::AlignRight | Qt::AlignTop);

    // Text5 is never enabled (only the tube-voltage window writes it), yet must stay readable.
    QPalette text5Palette = ui_->tubeVoltageBox->palette();
    text5Palette.setColor(QPalette::Disabled, QPalette::Text,
                          text5Palette.color(QPalette::Active, QPalette::Text));
    ui_->tubeVoltageBox->setPalette(text5Palette);

    ui_->bodyPartBox->setEditable(true);
    ui_->bodyPartBox->setInsertPolicy(QComboBox::NoInsert);
    ui_->equipmentList->SetPath(state_.WorkingFolder);

    ui::PictureBox* picture1 = ui_->mascot;
    DrawMascot(*picture1, picture1->contentsRect().width() * ui::kTwipsPerPixel);

    for (QObject* watched : std::initializer_list<QObject*>{
             ui_->focusSkinDistanceBox, ui_->referenceAirKermaBox, ui_->kermaAreaProductBox,
             ui_->bodyPartBox, ui_->bodyPartBox->lineEdit(), picture1, ui_->skinDoseCaption}) {
        watched->installEventFilter(this);
    }
    // Every input the evaluation uses is watched: a change makes the result shown stale.
    for (QLineEdit* box : {ui_->tubeVoltageBox, ui_->focusSkinDistanceBox,
                           ui_->referenceAirKermaBox, ui_->kermaAreaProductBox})
        connect(box, &QLineEdit::textChanged, this, &Form1::CheckResultStillCurrent);
    connect(ui_->bodyPartBox, &QComboBox::editTextChanged, this, &Form1::CheckResultStillCurrent);
    connect(ui_->bodyPartBox, &QComboBox::currentTextChanged, this,
            &Form1::CheckResultStillCurrent);
    for (FieldShape shape : {FieldShape::Circle, FieldShape::Square})
        connect(OptionFor(shape), &QAbstractButton::toggled, this, &Form1::CheckResultStillCurrent);
    // The body part goes into the results CSV, which has no quoting: a comma or a line break
    // would make the table unsaveable, and so would a character code page 932 cannot hold.
    connect(ui_->bodyPartBox->lineEdit(), &QLineEdit::textEdited, this,
            &Form1::RefuseUnsaveableBodyPart);
    connect(ui_->evaluateButton, &QPushButton::clicked, this, &Form1::EvaluateDose);
    connect(ui_->deleteEquipmentButton, &QPushButton::clicked, this, &Form1::DeleteEquipmentFile);
    connect(ui_->clearButton, &QPushButton::clicked, this, &Form1::ClearCurrentResult);
    connect(ui_->equipmentList, &ui::FileListBox::fileClicked, this, &Form1::ReadEquipmentFile);
    connect(ui_->doseReportButton, &QPushButton::clicked, this,
            [this] { emit doseReportRequested(QString()); });
    connect(ui_->exitButton, &QPushButton::clicked, this, &Form1::exitRequested);
    connect(ui_->addResultButton, &QPushButton::clicked, this, &Form1::addResultRequested);
    connect(ui_->tubeVoltageButton, &QPushButton::clicked, this, &Form1::tubeVoltageRequested);
    connect(ui_->newEquipmentButton, &QPushButton::clicked, this, &Form1::newEquipmentRequested);
    connect(ui_->welcomeButton, &QPushButton::clicked, this, &Form1::registrationRequested);
    connect(ui_->spectrumButton, &QPushButton::clicked, this, &Form1::spectrumRequested);
    setAcceptDrops(true);
    connect(OptionFor(FieldShape::Circle), &QAbstractButton::clicked, this,
            [this] { ComputeReferenceFieldSize(FieldShape::Circle); });
    connect(OptionFor(FieldShape::Square), &QAbstractButton::clicked, this,
            [this] { ComputeReferenceFieldSize(FieldShape::Square); });
}

Form1::~Form1() = default;

QAbstractButton* Form1::OptionFor(FieldShape shape) const {
    return shape == FieldShape::Circle ? ui_->circleOption : ui_->squareOption;
}

QString Form1::SelectedEquipmentFileName() const { return ui_->equipmentList->SelectedFileName(); }

void Form1::DisableAddingResult() { ui_->addResultButton->setEnabled(false); }

void Form1::ResetForStartUp() {
    setWindowTitle(QString::fromUtf8(kForm1DesignCaption));
    ui_->welcomeButton->show();
    for (QWidget* input : ui_->Inputs()) input->setEnabled(true);
    state_.Conditions = CaseConditions{};

    for (QLabel* label : ui_->EquipmentValueLabels()) label->clear();
    ui_->otherFilterMaterialLabel->setText(QStringLiteral("―"));
    state_.Equipment.OtherFilterFlag = 0;

    ui_->bodyPartBox->clear();
    ui_->bodyPartBox->addItems({QStringLiteral("頭部"), QStringLiteral("胸部背面"),
                                QStringLiteral("腹部背面"), QString()});
    ui_->bodyPartBox->setCurrentIndex(-1);
    ui_->bodyPartBox->setEditText(QString());

    for (QLineEdit* box : {ui_->focusSkinDistanceBox, ui_->tubeVoltageBox,
                           ui_->referenceAirKermaBox, ui_->kermaAreaProductBox}) {
        box->clear();
        box->setEnabled(false);
    }
    ui_->bodyPartBox->setEnabled(false);
    ui::UncheckOption(*OptionFor(FieldShape::Circle));
    ui::UncheckOption(*OptionFor(FieldShape::Square));
    ui_->fieldShapeCaption->setText(kSquareDesignCaption);

    ui_->fieldSizeLabel->clear();
    for (QLabel* label : ui_->resultLabels) label->clear();
    evaluated_.reset();
    ShowResultColumn(true);
    state_.EquipmentFileName.clear();

    ui_->equipmentList->clearSelection();
    ui_->equipmentList->setCurrentRow(-1);
    ui_->equipmentList->Refresh();
}

void Form1::ApplyStartUpUser(const std::optional<QString>& userName) {
    if (userName) {
        setWindowTitle(QString::fromUtf8(kForm1RegisteredCaption) + *userName);
        ui_->welcomeButton->hide();
        for (QPushButton* button :
             {ui_->addResultButton, ui_->spectrumButton, ui_->tubeVoltageButton})
            button->setEnabled(false);
    } else {
        for (QPushButton* button : {ui_->evaluateButton, ui_->addResultButton, ui_->clearButton,
                                    ui_->spectrumButton, ui_->tubeVoltageButton}) {
            button->setEnabled(false);
        }
    }
}

void Form1::ShowRegisteredUser(const QString& userName) {
    setWindowTitle(QString::fromUtf8(kForm1RegisteredCaption) + userName);
    ui_->welcomeButton->hide();
    ui_->evaluateButton->setEnabled(true);
}

void Form1::ShowGuestUser(const QString& guestName) {
    setWindowTitle(windowTitle() + QString::fromUtf8(kForm1GuestSeparator) + guestName);
    ui_->welcomeButton->hide();
    ui_->evaluateButton->setEnabled(true);
}

void Form1::SetTubeVoltageText(const QString& text) {
    ui_->tubeVoltageBox->setText(text);
    CheckResultStillCurrent();  // the weighting may have changed under the same text
}

void Form1::RefreshFileList() { ui_->equipmentList->Refresh(); }

void Form1::EquipmentFileSaved(const QString& fileName) {
    RefreshFileList();
    // The file evaluated with was replaced: its new values are read, the case inputs stay.
    if (!state_.EquipmentFileName.isEmpty() && fileName == state_.EquipmentFileName &&
        LoadEquipment(fileName))
        CheckResultStillCurrent();
}

// ---- Input handlers ----------------------------------------------------------------------

void Form1::RefuseUnsaveableBodyPart(const QString& text) {
    int cursor = ui_->bodyPartBox->lineEdit()->cursorPosition();
    const QString kept = WithoutUnsaveableCharacters(text, cursor);
    if (kept == text) return;
    ui_->bodyPartBox->lineEdit()->setText(kept);
    ui_->bodyPartBox->lineEdit()->setCursorPosition(cursor);
    AppMessages().Warning(kBodyPartCharacterWarning, ui::WithBeep::Yes);
    ui_->bodyPartBox->setFocus();
}

CaseBox Form1::BoxKind(const QLineEdit* box) const {
    if (box == ui_->referenceAirKermaBox) return CaseBox::ReferenceAirKerma;
    if (box == ui_->kermaAreaProductBox) return CaseBox::KermaAreaProduct;
    return CaseBox::FocusSkinDistance;
}

bool Form1::AcceptNumberBox(QLineEdit* box, bool warn) {
    const QString halfWidth = ToHalfWidth(box->text());
    if (halfWidth != box->text()) box->setText(halfWidth);
    if (IsPlainNumberOrBlank(halfWidth)) return true;
    // Giving the focus back takes it from whichever box has it now; that box's own check waits
    // for its next turn, or two refused boxes would pass the focus to and fro for ever.
    if (warn && !refusing_) {
        refusing_ = true;
        AppMessages().Warning(NotANumberMessage(BoxKind(box), halfWidth), ui::WithBeep::Yes);
        box->setFocus();
        box->selectAll();
        refusing_ = false;
    }
    return false;
}

void Form1::StoreReferenceAirKerma() {
    const double value = ValueOf(ui_->referenceAirKermaBox->text());
    if (value == state_.Conditions.ReferenceAirKerma) return;
    state_.Conditions.ReferenceAirKerma = value;
    UpdateFieldSizeAfterDoseChange();
}

void Form1::StoreKermaAreaProduct() {
    const double value = ValueOf(ui_->kermaAreaProductBox->text());
    if (value == state_.Conditions.KermaAreaProduct) return;
    state_.Conditions.KermaAreaProduct = value;
    UpdateFieldSizeAfterDoseChange();
}

void Form1::StoreFocusSkinDistance() {
    state_.Conditions.FocusSkinDistance = ValueOf(ui_->focusSkinDistanceBox->text());
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->mascot) {
        if (event->type() == QEvent::MouseButtonDblClick) emit userNameChangeRequested();
        return false;
    }
    if (watched == ui_->skinDoseCaption) {
        if (event->type() == QEvent::MouseButtonDblClick) emit resultsWindowRequested();
        return false;
    }
    if (evaluating_) return false;  // the inputs are locked; nothing is stored meanwhile
    const bool enter = IsEnterKey(event);
    const bool focusLost = event->type() == QEvent::FocusOut;
    if (!enter && !focusLost) return false;
    if (watched == ui_->referenceAirKermaBox || watched == ui_->kermaAreaProductBox ||
        watched == ui_->focusSkinDistanceBox) {
        // Leaving the window (or a message box taking the focus) stores a valid text silently
        // and leaves an invalid one for the next Enter or calculation to point out.
        // So does a click on "この条件で計算する", which checks every box itself.
        const Qt::FocusReason reason =
            focusLost ? static_cast<QFocusEvent*>(event)->reason() : Qt::OtherFocusReason;
        const bool warn = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                          !(focusLost && QApplication::focusWidget() == ui_->evaluateButton);
        if (!AcceptNumberBox(static_cast<QLineEdit*>(watched), warn)) return enter;
    }
    if (watched == ui_->referenceAirKermaBox) {
        StoreReferenceAirKerma();
        if (enter) ui_->kermaAreaProductBox->setFocus();
    } else if (watched == ui_->kermaAreaProductBox) {
        StoreKermaAreaProduct();
        if (enter) OptionFor(FieldShape::Square)->setFocus();
    } else if (watched == ui_->focusSkinDistanceBox) {
        StoreFocusSkinDistance();
        if (enter) ui_->evaluateButton->setFocus();
    } else if (enter && (watched == ui_->bodyPartBox || watched == ui_->bodyPartBox->lineEdit())) {
        ui_->tubeVoltageButton->setFocus();
        return true;  // the body-part box takes no other action on Enter
    }
    return false;
}

// ---- Field size ----------------------------------------------------------------------------

void Form1::ComputeReferenceFieldSize(FieldShape shape) {
    QAbstractButton* clicked = OptionFor(shape);
    auto refuse = [clicked] { ui::UncheckOption(*clicked); };
    if (ui_->referenceAirKermaBox->text().isEmpty() || ui_->kermaAreaProductBox->text().isEmpty() ||
        !IsPlainNumber(ui_->referenceAirKermaBox->text()) ||
        !IsPlainNumber(ui_->kermaAreaProductBox->text())) {
        refuse();
        return;
    }
    double size = 0;
    try {
        size = ordevo::ComputeReferenceFieldSize(shape, state_.Conditions.ReferenceAirKerma,
                                                 state_.Conditions.KermaAreaProduct);
    } catch (const CalculationError&) {
        refuse();
        AppMessages().Warning(QString::fromUtf8(kFieldSizeInputMessage), ui::WithBeep::Yes);
        return;
    }
    state_.Conditions.Shape = shape;
    ui_->fieldShapeCaption->setText(shape == FieldShape::Circle ? kDiameterCaption
                                                                : kSquareSideCaption);
    ui_->fieldSizeLabel->setText(QString::fromStdString(FieldSizeText(size)));
    state_.Conditions.ReferenceFieldSize = ValueOf(ui_->fieldSizeLabel->text());
    CheckResultStillCurrent();
    ui_->focusSkinDistanceBox->setFocus();
}

void Form1::UpdateFieldSizeAfterDoseChange() {
    const FieldShape shape = state_.Conditions.Shape;
    if (shape == FieldShape::None) return;
    // An emptied dose box or doses that give no field switch the option off again.
    std::optional<double> size;
    if (!ui_->referenceAirKermaBox->text().isEmpty() &&
        !ui_->kermaAreaProductBox->text().isEmpty()) {
        try {
            size = ordevo::ComputeReferenceFieldSize(shape, state_.Conditions.ReferenceAirKerma,
                                                     state_.Conditions.KermaAreaProduct);
        } catch (const CalculationError&) {
            // no field: size stays empty
        }
    }
    if (size) {
        ui_->fieldSizeLabel->setText(QString::fromStdString(FieldSizeText(*size)));
        state_.Conditions.ReferenceFieldSize = ValueOf(ui_->fieldSizeLabel->text());
    } else {
        ui::UncheckOption(*OptionFor(shape));
        ui_->fieldSizeLabel->clear();
        state_.Conditions.Shape = FieldShape::None;
        state_.Conditions.ReferenceFieldSize = 0;
    }
    CheckResultStillCurrent();
}

// ---- Equipment list ------------------------------------------------------------------------

bool Form1::LoadEquipment(const QString& fileName) {
    const auto loaded =
        LoadEquipmentFile(QDir(state_.WorkingFolder).filePath(fileName), state_.WorkingFolder);
    if (!loaded) {
        AppMessages().Warning(QStringLiteral(" 基本データファイル %1 を読み込めませんでした \n%2")
                                  .arg(fileName, loaded.error().message()),
                              ui::WithBeep::Yes);
        return false;
    }
    const EquipmentFileContents& file = *loaded;
    state_.Equipment = file.Data;
    state_.EquipmentFileName = fileName;

    ui_->targetAngleLabel->setText(Format(file.Data.TargetAngle, "#0.0"));
    ui_->inherentFiltrationLabel->setText(Format(file.InherentFiltrationMm, "0.00"));
    ui_->addedAluminiumLabel->setText(Format(file.AddedAluminiumMm, "0.00"));
    ui_->addedCopperLabel->setText(Format(file.AddedCopperMm, "0.00"));
    if (file.Data.OtherFilterFlag == 1) {
        ui_->otherFilterMaterialLabel->setText(
            QString::fromStdString(file.Data.OtherFilterMaterial));
        ui_->otherFilterThicknessLabel->setText(Format(file.OtherFilterThicknessMm, "0.00"));
    } else {
        ui_->otherFilterMaterialLabel->setText(QStringLiteral("-"));
        ui_->otherFilterThicknessLabel->setText(QStringLiteral("-"));
    }
    ui_->focusReceptorDistanceLabel->setText(Format(file.Data.FocusReceptorDistance, "#00.0"));
    ui_->focusIsocentreDistanceLabel->setText(Format(file.Data.FocusIsocentreDistance, "#00.0"));
    return true;
}

void Form1::ReadEquipmentFile(const QString& fileName) {
    if (fileName.isEmpty() || !LoadEquipment(fileName)) return;
    ui_->tubeVoltageBox->clear();
    ui_->focusSkinDistanceBox->setText(
        Format(ReferencePointDistanceOf(state_.Equipment.FocusIsocentreDistance), "#00"));
    state_.Conditions.FocusSkinDistance = ValueOf(ui_->focusSkinDistanceBox->text());
    for (QWidget* input : std::initializer_list<QWidget*>{
             ui_->evaluateButton, ui_->tubeVoltageButton, ui_->bodyPartBox,
             ui_->focusSkinDistanceBox, ui_->referenceAirKermaBox, ui_->kermaAreaProductBox}) {
        input->setEnabled(true);
    }
    CheckResultStillCurrent();
    ui_->bodyPartBox->setFocus();
}

void Form1::DeleteEquipmentFile() {
    const QString name = ui_->equipmentList->SelectedFileName();
    if (name.isEmpty()) return;
    if (AppMessages().AskOkCancel(kDeleteQuestion.arg(name)) != ui::Answer::Ok) return;
    // Only a file directly inside the working folder is ever deleted.
    const QDir folder(state_.WorkingFolder);
    const QFileInfo target(folder.filePath(name));
    if (FileNameProblem(name) || target.absoluteDir() != folder) {
        AppMessages().Warning(
            QStringLiteral(" %1 は作業フォルダーのファイルではありません ").arg(name));
        return;
    }
    QFile file(target.absoluteFilePath());
    if (!file.remove()) {
        AppMessages().Warning(
            QStringLiteral(" %1 を削除できませんでした "
                           "\n（ファイルが使用中か、フォルダーへの書き込みが許可されていません） ")
                .arg(name));
        ui_->equipmentList->Refresh();
        return;
    }
    ui_->equipmentList->Refresh();
    // The equipment of the deleted file goes with it: nothing can be computed from it any more
    // until another file is chosen.
    for (QLabel* label : ui_->EquipmentValueLabels()) label->clear();
    state_.Equipment = EquipmentData{};
    state_.EquipmentFileName.clear();
    ui_->evaluateButton->setEnabled(false);
    CheckResultStillCurrent();
}

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
    ShowResultColumn(true);
    if (reading->Refusal) {  // incomplete: nothing is computed
        AppMessages().Warning(reading->Refusal->Message);
        return;
    }
    const DoseCase& doseCase = *reading->Case;

    bool spectrumWritten = false;
    InputLock lock(ui_->Inputs());
    const auto observer = [&](EvaluationStep step, const DoseEvaluation& evaluation) {
        ShowEvaluationStep(step, evaluation);
        if (step == EvaluationStep::Spectrum) spectrumWritten = true;
    };
    const DoseEvaluation evaluation = ordevo::EvaluateDose(
        state_.Reference, doseCase, MakeScatterKernelLoader(state_.WorkingFolder), observer);
    InputLock::DropHeldBackInput();
    lock.Release();
    if (spectrumWritten) ui_->spectrumButton->setEnabled(true);

    if (evaluation.Outcome != EvaluationOutcome::Completed) {
        ReportEvaluationFailure(evaluation, doseCase);
        return;
    }
    evaluated_ = EvaluatedCase{CurrentEntry(), doseCase, evaluation};
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
    if (reading.Refusal && reading.Refusal->Kind != CaseRefusalKind::Incomplete) {
        AppMessages().Warning(reading.Refusal->Message, ui::WithBeep::Yes);
        const std::optional<CaseBox> refused = reading.Refusal->Box;
        QLineEdit* box = refused == CaseBox::ReferenceAirKerma  ? ui_->referenceAirKermaBox
                         : refused == CaseBox::KermaAreaProduct ? ui_->kermaAreaProductBox
                                                                : ui_->focusSkinDistanceBox;
        box->setFocus();
        box->selectAll();
        return std::nullopt;
    }
    return reading;
}

// After each completed step: its labels, the shared state, the spectrum file after the
// spectrum step, and a repaint between the long steps.
void Form1::ShowEvaluationStep(EvaluationStep step, const DoseEvaluation& evaluation) {
    for (const auto& [name, text] : ResultLabelsForStep(step, evaluation.Result))
        ui_->ResultLabel(name)->setText(QString::fromStdString(text));
    state_.Conditions = evaluation.Conditions;
    state_.Result = evaluation.Result;
    if (step == EvaluationStep::Spectrum) {
        state_.Spectrum = evaluation.Spectrum;
        const QString spectrumPath =
            QDir(state_.WorkingFolder).filePath(QString::fromLatin1(kSpectrumFileName));
        const auto written = WriteSpectrumFile(spectrumPath, evaluation.Spectrum.XraySpectrum);
        if (!written) throw written.error();  // fails the evaluation like a failed step
    }
    if (step == EvaluationStep::Spectrum || step == EvaluationStep::Backscatter ||
        step == EvaluationStep::DepthDose) {
        ui::LetPendingEventsRun();
    }
    emit evaluationStepShown(static_cast<int>(step));
}

void Form1::ReportEvaluationFailure(const DoseEvaluation& evaluation, const DoseCase& inputs) {
    // Below the fixed message: the input that made the computation fail, with its range, or
    // else the computation's own reason.
    const QStringList reasons = FailedInputReasons(state_.Reference, inputs);
    const QString text = reasons.isEmpty()
                             ? QString::fromStdString(FailureMessageFor(evaluation))
                             : QString::fromUtf8(MessageFor(evaluation.Outcome)) +
                                   QStringLiteral("\n") + reasons.join(QLatin1Char('\n'));
    // The result column now mixes this case's first steps with the last case's end: adding it
    // to the table would store a row that belongs to neither.
    ui_->addResultButton->setEnabled(false);
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
    QFile::remove(QDir(state_.WorkingFolder).filePath(QString::fromLatin1(kSpectrumFileName)));
    for (QLabel* label : ui_->resultLabels) label->clear();
    ui_->tubeVoltageBox->clear();
    ui_->referenceAirKermaBox->clear();
    ui_->kermaAreaProductBox->clear();
    ui_->fieldSizeLabel->clear();
    ui::UncheckOption(*OptionFor(FieldShape::Circle));
    ui::UncheckOption(*OptionFor(FieldShape::Square));
    state_.Conditions.Shape = FieldShape::None;
    ui_->addResultButton->setEnabled(false);
    ui_->spectrumButton->setEnabled(false);
    ui_->evaluateButton->setEnabled(true);
    ShowResultColumn(true);
}

CaseEntry Form1::CurrentEntry() const {
    return CaseEntry{.BodyPart = ui_->bodyPartBox->currentText().toStdString(),
                     .TubeVoltage = ui_->tubeVoltageBox->text().toStdString(),
                     .ReferenceAirKerma = ui_->referenceAirKermaBox->text().toStdString(),
                     .KermaAreaProduct = ui_->kermaAreaProductBox->text().toStdString(),
                     .FocusSkinDistance = ui_->focusSkinDistanceBox->text().toStdString(),
                     .FieldSize = ui_->fieldSizeLabel->text().toStdString(),
                     .StoredReferenceAirKermaMGy = state_.Conditions.ReferenceAirKerma,
                     .StoredKermaAreaProductGyCm2 = state_.Conditions.KermaAreaProduct,
                     .Shape = state_.Conditions.Shape,
                     .Equipment = state_.Equipment,
                     .Voltage = state_.Voltage,
                     .ReferencePointDistanceCm = 0};
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
    for (QLabel* label : ui_->resultLabels) label->setEnabled(current);
}

void Form1::changeEvent(QEvent* event) {
    ModelessWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || evaluating_) return;
    ui_->equipmentList->Refresh();
    CheckResultStillCurrent();
}

// ---- Dose reports -------------------------------------------------------------------------

namespace {
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}
}  // namespace

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    if (!evaluating_ && !DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (evaluating_ || path.isEmpty()) return;
    event->acceptProposedAction();
    emit doseReportRequested(path);
}

void Form1::EnterDoseReportTotals(const QString& equipmentFileName,
                                  const QString& referenceAirKerma, const QString& kermaAreaProduct,
                                  const QString& focusSkinDistance, double tubeVoltageKv) {
    if (evaluating_) return;
    if (ui_->equipmentList->SelectedFileName() != equipmentFileName ||
        !ui_->referenceAirKermaBox->isEnabled()) {
        if (!ui_->equipmentList->SelectFileName(equipmentFileName)) {
            AppMessages().Warning(QStringLiteral(" 基本データファイル %1 が一覧にありません ")
                                      .arg(equipmentFileName));
            return;
        }
        ReadEquipmentFile(equipmentFileName);
        if (!ui_->referenceAirKermaBox->isEnabled())
            return;  // the file could not be read; its message was shown
    }
    ui_->referenceAirKermaBox->setText(referenceAirKerma);
    StoreReferenceAirKerma();
    ui_->kermaAreaProductBox->setText(kermaAreaProduct);
    StoreKermaAreaProduct();
    ui_->focusSkinDistanceBox->setText(focusSkinDistance);
    StoreFocusSkinDistance();
    if (const auto voltage = MakeFixedTubeVoltage(tubeVoltageKv)) {
        state_.Voltage = *voltage;
        ui_->tubeVoltageBox->setText(QString::fromStdString(ordevo::TubeVoltageText(*voltage)));
        emit tubeVoltageEntered(*voltage);
    }
    CheckResultStillCurrent();  // the voltage may have changed under the same text
    ShowInFront();
}

void Form1::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (evaluating_) return;  // no second action while an evaluation runs
    hide();
    emit closedFromTitleBar();
}

}  // namespace ordevo
