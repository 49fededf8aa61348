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

#include "calculation_error.h"
#include "case_inputs.h"
#include "equipment_file.h"
#include "field_size.h"
#include "file_list_box.h"
#include "file_name_check.h"
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

namespace ordevo {
namespace {

using ui::AppMessages;

const QString kSpectrumQuestion = QStringLiteral("  Ｘ線スペクトルを表示しますか？ 　");
const QString kDeleteQuestion = QStringLiteral(" このデータファイル（%1）を本当に削除しますか？ ");
const QString kBodyPartCharacterWarning =
    QStringLiteral(" 「対象部位」にはカンマ（,）、改行、およびファイルに保存できない文字は入力できません ");
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

Form1::Form1(AppState& state, QWidget* parent)
    : ModelessWindow(parent),
      state_(state),
      controls_(ui::CreateControls(*this, Form1Controls())),
      file1_(controls_.Get<ui::FileListBox>("File1")),
      combo1_(controls_.Get<QComboBox>("Combo1")),
      text5_(controls_.Get<QLineEdit>("Text5")),
      text9_(controls_.Get<QLineEdit>("Text9")),
      text14_(controls_.Get<QLineEdit>("Text14")),
      text15_(controls_.Get<QLineEdit>("Text15")) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kForm1DesignCaption));
    SetClientSizeTwips(kForm1ClientWidthTwips, kForm1ClientHeightTwips);

    // The title's shadow copy is grey, the copy in front dark blue.
    Label("Label27")->setStyleSheet(QStringLiteral("color: #a0a0a0;"));
    Label("Label34")->setStyleSheet(QStringLiteral("color: #1c2f7a;"));
    // A stale result is greyed (disabled); the dose keeps its colour only while it is current.
    Label("Label74")->setStyleSheet(
        QStringLiteral("QLabel { color: #b00000; font-weight: bold; } QLabel:disabled { color: #a0a0a0; }"));
    Label("Label38")->setToolTip(kResultsWindowTip);
    Label("Label65")->setAlignment(Qt::AlignRight | Qt::AlignTop);
    for (const char* name : kResultLabelNames) Label(name)->setAlignment(Qt::AlignRight | Qt::AlignTop);

    // Text5 is never enabled (only the tube-voltage window writes it), yet must stay readable.
    QPalette text5Palette = text5_->palette();
    text5Palette.setColor(QPalette::Disabled, QPalette::Text, text5Palette.color(QPalette::Active, QPalette::Text));
    text5_->setPalette(text5Palette);

    combo1_->setEditable(true);
    combo1_->setInsertPolicy(QComboBox::NoInsert);
    file1_->SetPath(state_.WorkingFolder);

    auto* picture1 = controls_.Get<ui::PictureBox>("Picture1");
    DrawMascot(*picture1, picture1->contentsRect().width() * ui::kTwipsPerPixel);

    for (QObject* watched : std::initializer_list<QObject*>{
             text9_, text14_, text15_, combo1_, combo1_->lineEdit(), picture1, Label("Label38")}) {
        watched->installEventFilter(this);
    }
    // Every input the evaluation uses is watched: a change makes the result shown stale.
    for (QLineEdit* box : {text5_, text9_, text14_, text15_})
        connect(box, &QLineEdit::textChanged, this, &Form1::CheckResultStillCurrent);
    connect(combo1_, &QComboBox::editTextChanged, this, &Form1::CheckResultStillCurrent);
    connect(combo1_, &QComboBox::currentTextChanged, this, &Form1::CheckResultStillCurrent);
    for (FieldShape shape : {FieldShape::Circle, FieldShape::Square})
        connect(OptionFor(shape), &QAbstractButton::toggled, this, &Form1::CheckResultStillCurrent);
    // The body part goes into the results CSV, which has no quoting: a comma or a line break
    // would make the table unsaveable, and so would a character code page 932 cannot hold.
    connect(combo1_->lineEdit(), &QLineEdit::textEdited, this, &Form1::RefuseUnsaveableBodyPart);
    connect(Button("Command2"), &QPushButton::clicked, this, &Form1::EvaluateDose);
    connect(Button("Command4"), &QPushButton::clicked, this, &Form1::DeleteEquipmentFile);
    connect(Button("Command6"), &QPushButton::clicked, this, &Form1::ClearCurrentResult);
    connect(file1_, &ui::FileListBox::fileClicked, this, &Form1::ReadEquipmentFile);
    connect(Button("Command10"), &QPushButton::clicked, this, [this] { emit doseReportRequested(QString()); });
    setAcceptDrops(true);
    connect(OptionFor(FieldShape::Circle), &QAbstractButton::clicked, this,
            [this] { ComputeReferenceFieldSize(FieldShape::Circle); });
    connect(OptionFor(FieldShape::Square), &QAbstractButton::clicked, this,
            [this] { ComputeReferenceFieldSize(FieldShape::Square); });
}

QLabel* Form1::Label(std::string_view name) const { return controls_.Get<QLabel>(name); }
QPushButton* Form1::Button(std::string_view name) const { return controls_.Get<QPushButton>(name); }

QAbstractButton* Form1::OptionFor(FieldShape shape) const {
    return controls_.Get<QRadioButton>(shape == FieldShape::Circle ? "Option1" : "Option2");
}

std::vector<QWidget*> Form1::Inputs() const {
    std::vector<QWidget*> inputs;
    for (const char* name : {"File1", "Command1", "Command2", "Command3", "Command4", "Command5",
                             "Command6", "Command7", "Command8", "Command9", "Command10", "Combo1", "Text5",
                             "Text9", "Text14", "Text15", "Option1", "Option2", "Picture1"}) {
        inputs.push_back(controls_.Widget(name));
    }
    return inputs;
}

void Form1::ResetForStartUp() {
    setWindowTitle(QString::fromUtf8(kForm1DesignCaption));
    Button("Command8")->show();
    for (QWidget* input : Inputs()) input->setEnabled(true);
    state_.Conditions = CaseConditions{};

    for (const char* name : {"Label23", "Label25", "Label50", "Label51", "Label26", "Label62", "Label64"}) {
        Label(name)->clear();
    }
    Label("Label29")->setText(QStringLiteral("―"));
    state_.Equipment.OtherFilterFlag = 0;

    combo1_->clear();
    combo1_->addItems({QStringLiteral("頭部"), QStringLiteral("胸部背面"), QStringLiteral("腹部背面"), QString()});
    combo1_->setCurrentIndex(-1);
    combo1_->setEditText(QString());

    for (QLineEdit* box : {text9_, text5_, text14_, text15_}) {
        box->clear();
        box->setEnabled(false);
    }
    combo1_->setEnabled(false);
    ui::UncheckOption(*OptionFor(FieldShape::Circle));
    ui::UncheckOption(*OptionFor(FieldShape::Square));
    Label("Label22")->setText(kSquareDesignCaption);

    Label("Label65")->clear();
    for (const char* name : kResultLabelNames) Label(name)->clear();
    evaluatedInputs_.reset();
    ShowResultColumn(true);
    state_.EquipmentFileName.clear();

    file1_->clearSelection();
    file1_->setCurrentRow(-1);
    file1_->Refresh();
}

void Form1::ApplyStartUpUser(const std::optional<QString>& userName) {
    if (userName) {
        setWindowTitle(QString::fromUtf8(kForm1RegisteredCaption) + *userName);
        Button("Command8")->hide();
        for (const char* name : {"Command3", "Command9", "Command5"}) Button(name)->setEnabled(false);
    } else {
        for (const char* name : {"Command2", "Command3", "Command6", "Command9", "Command5"}) {
            Button(name)->setEnabled(false);
        }
    }
}

void Form1::ShowRegisteredUser(const QString& userName) {
    setWindowTitle(QString::fromUtf8(kForm1RegisteredCaption) + userName);
    Button("Command8")->hide();
    Button("Command2")->setEnabled(true);
}

void Form1::ShowGuestUser(const QString& guestName) {
    setWindowTitle(windowTitle() + QString::fromUtf8(kForm1GuestSeparator) + guestName);
    Button("Command8")->hide();
    Button("Command2")->setEnabled(true);
}

void Form1::SetTubeVoltageText(const QString& text) {
    text5_->setText(text);
    CheckResultStillCurrent();  // the weighting may have changed under the same text
}

void Form1::RefreshFileList() { file1_->Refresh(); }

void Form1::ClearOtherFilterCaptions() {
    Label("Label29")->clear();
    Label("Label26")->clear();
}

// ---- Input handlers ----------------------------------------------------------------------

void Form1::RefuseUnsaveableBodyPart(const QString& text) {
    int cursor = combo1_->lineEdit()->cursorPosition();
    const QString kept = WithoutUnsaveableCharacters(text, cursor);
    if (kept == text) return;
    combo1_->lineEdit()->setText(kept);
    combo1_->lineEdit()->setCursorPosition(cursor);
    AppMessages().Warning(kBodyPartCharacterWarning, ui::WithBeep::Yes);
    combo1_->setFocus();
}

CaseBox Form1::BoxKind(const QLineEdit* box) const {
    if (box == text14_) return CaseBox::ReferenceAirKerma;
    if (box == text15_) return CaseBox::KermaAreaProduct;
    return CaseBox::FocusSkinDistance;
}

bool Form1::AcceptNumberBox(QLineEdit* box, bool warn) {
    const QString halfWidth = ToHalfWidth(box->text());
    if (halfWidth != box->text()) box->setText(halfWidth);
    if (halfWidth.trimmed().isEmpty() || IsPlainNumber(halfWidth)) return true;
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
    const double value = ValueOf(text14_->text());
    if (value == state_.Conditions.ReferenceAirKerma) return;
    state_.Conditions.ReferenceAirKerma = value;
    UpdateFieldSizeAfterDoseChange();
}

void Form1::StoreKermaAreaProduct() {
    const double value = ValueOf(text15_->text());
    if (value == state_.Conditions.KermaAreaProduct) return;
    state_.Conditions.KermaAreaProduct = value;
    UpdateFieldSizeAfterDoseChange();
}

void Form1::StoreFocusSkinDistance() {
    state_.Conditions.FocusSkinDistance = ValueOf(text9_->text());
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls_.Widget("Picture1")) {
        if (event->type() == QEvent::MouseButtonDblClick) emit userNameChangeRequested();
        return false;
    }
    if (watched == Label("Label38")) {
        if (event->type() == QEvent::MouseButtonDblClick) emit resultsWindowRequested();
        return false;
    }
    if (evaluating_) return false;  // the inputs are locked; nothing is stored meanwhile
    const bool enter = IsEnterKey(event);
    const bool focusLost = event->type() == QEvent::FocusOut;
    if (!enter && !focusLost) return false;
    if (watched == text14_ || watched == text15_ || watched == text9_) {
        // Leaving the window (or a message box taking the focus) stores a valid text silently
        // and leaves an invalid one for the next Enter or calculation to point out.
        // So does a click on "この条件で計算する", which checks every box itself.
        const Qt::FocusReason reason = focusLost ? static_cast<QFocusEvent*>(event)->reason() : Qt::OtherFocusReason;
        const bool warn = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                          !(focusLost && QApplication::focusWidget() == Button("Command2"));
        if (!AcceptNumberBox(static_cast<QLineEdit*>(watched), warn)) return enter;
    }
    if (watched == text14_) {
        StoreReferenceAirKerma();
        if (enter) text15_->setFocus();
    } else if (watched == text15_) {
        StoreKermaAreaProduct();
        if (enter) OptionFor(FieldShape::Square)->setFocus();
    } else if (watched == text9_) {
        StoreFocusSkinDistance();
        if (enter) Button("Command2")->setFocus();
    } else if (enter && (watched == combo1_ || watched == combo1_->lineEdit())) {
        Button("Command5")->setFocus();
        return true;  // the body-part box takes no other action on Enter
    }
    return false;
}

// ---- Field size ----------------------------------------------------------------------------

void Form1::ComputeReferenceFieldSize(FieldShape shape) {
    QAbstractButton* clicked = OptionFor(shape);
    auto refuse = [clicked] { ui::UncheckOption(*clicked); };
    if (text14_->text().isEmpty() || text15_->text().isEmpty() || !IsPlainNumber(text14_->text()) ||
        !IsPlainNumber(text15_->text())) {
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
    Label("Label22")->setText(shape == FieldShape::Circle ? kDiameterCaption : kSquareSideCaption);
    Label("Label65")->setText(QString::fromStdString(FieldSizeText(size)));
    state_.Conditions.ReferenceFieldSize = ValueOf(Label("Label65")->text());
    CheckResultStillCurrent();
    text9_->setFocus();
}

void Form1::UpdateFieldSizeAfterDoseChange() {
    const FieldShape shape = state_.Conditions.Shape;
    if (shape == FieldShape::None) return;
    try {
        if (text14_->text().isEmpty() || text15_->text().isEmpty())
            throw CalculationError("field size: Ka,r or P_KA not entered");
        const double size = ordevo::ComputeReferenceFieldSize(
            shape, state_.Conditions.ReferenceAirKerma, state_.Conditions.KermaAreaProduct);
        Label("Label65")->setText(QString::fromStdString(FieldSizeText(size)));
        state_.Conditions.ReferenceFieldSize = ValueOf(Label("Label65")->text());
    } catch (const CalculationError&) {
        ui::UncheckOption(*OptionFor(shape));
        Label("Label65")->clear();
        state_.Conditions.Shape = FieldShape::None;
        state_.Conditions.ReferenceFieldSize = 0;
    }
    CheckResultStillCurrent();
}

// ---- Equipment list ------------------------------------------------------------------------

void Form1::ReadEquipmentFile(const QString& fileName) {
    if (fileName.isEmpty()) return;
    const auto loaded = LoadEquipmentFile(QDir(state_.WorkingFolder).filePath(fileName),
                                          state_.WorkingFolder);
    if (!loaded) {
        AppMessages().Warning(QStringLiteral(" 基本データファイル %1 を読み込めませんでした \n%2")
                                  .arg(fileName, loaded.error().message()),
                              ui::WithBeep::Yes);
        return;
    }
    const EquipmentFileContents& file = *loaded;
    state_.Equipment = file.Data;
    state_.EquipmentFileName = fileName;

    Label("Label23")->setText(Format(file.Data.TargetAngle, "#0.0"));
    Label("Label25")->setText(Format(file.InherentFiltrationMm, "0.00"));
    Label("Label50")->setText(Format(file.AddedAluminiumMm, "0.00"));
    Label("Label51")->setText(Format(file.AddedCopperMm, "0.00"));
    if (file.Data.OtherFilterFlag == 1) {
        Label("Label29")->setText(QString::fromStdString(file.Data.OtherFilterMaterial));
        Label("Label26")->setText(Format(file.OtherFilterThicknessMm, "0.00"));
    } else {
        Label("Label29")->setText(QStringLiteral("-"));
        Label("Label26")->setText(QStringLiteral("-"));
    }
    Label("Label62")->setText(Format(file.Data.FocusReceptorDistance, "#00.0"));
    Label("Label64")->setText(Format(file.Data.FocusIsocentreDistance, "#00.0"));

    text5_->clear();
    text9_->setText(Format(file.Data.FocusIsocentreDistance - 15, "#00"));
    state_.Conditions.FocusSkinDistance = ValueOf(text9_->text());
    for (QWidget* input : std::initializer_list<QWidget*>{Button("Command2"), Button("Command5"), combo1_,
                                                          text9_, text14_, text15_}) {
        input->setEnabled(true);
    }
    CheckResultStillCurrent();
    combo1_->setFocus();
}

void Form1::DeleteEquipmentFile() {
    const QString name = file1_->SelectedFileName();
    if (name.isEmpty()) return;
    if (AppMessages().AskOkCancel(kDeleteQuestion.arg(name)) != ui::Answer::Ok) return;
    // Only a file directly inside the working folder is ever deleted.
    const QDir folder(state_.WorkingFolder);
    const QFileInfo target(folder.filePath(name));
    if (FileNameProblem(name) || target.absoluteDir() != folder) {
        AppMessages().Warning(QStringLiteral(" %1 は作業フォルダーのファイルではありません ").arg(name));
        return;
    }
    QFile file(target.absoluteFilePath());
    if (!file.remove()) {
        AppMessages().Warning(QStringLiteral(" %1 を削除できませんでした \n（ファイルが使用中か、フォルダーへの書き込みが許可されていません） ").arg(name));
        file1_->Refresh();
        return;
    }
    file1_->Refresh();
    // The equipment of the deleted file goes with it: nothing can be computed from it any more
    // until another file is chosen.
    for (const char* label : {"Label23", "Label25", "Label50", "Label51", "Label29", "Label26", "Label62", "Label64"}) {
        Label(label)->clear();
    }
    state_.Equipment = EquipmentData{};
    state_.EquipmentFileName.clear();
    Button("Command2")->setEnabled(false);
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

    for (QLineEdit* box : {text14_, text15_, text9_}) {
        if (!AcceptNumberBox(box, true)) return;
    }
    const EvaluationInputs inputs = CurrentInputs();
    if (const std::optional<InputRefusal> refusal = RefuseBeforeEvaluation(inputs)) {
        AppMessages().Warning(refusal->Message, ui::WithBeep::Yes);
        QLineEdit* box = refusal->Box == CaseBox::ReferenceAirKerma ? text14_
                         : refusal->Box == CaseBox::KermaAreaProduct ? text15_ : text9_;
        box->setFocus();
        box->selectAll();
        return;
    }
    evaluatedInputs_.reset();
    ShowResultColumn(true);
    const QString spectrumPath = QDir(state_.WorkingFolder).filePath(QString::fromLatin1(kSpectrumFileName));
    bool spectrumWritten = false;

    InputLock lock(Inputs());
    const auto observer = [&](EvaluationStep step, const DoseEvaluation& evaluation) {
        for (const auto& [name, text] : ResultLabelsForStep(step, evaluation.Result))
            Label(name)->setText(QString::fromStdString(text));
        state_.Conditions = evaluation.Conditions;
        state_.Result = evaluation.Result;
        if (step == EvaluationStep::Spectrum) {
            state_.Spectrum = evaluation.Spectrum;
            const auto written = WriteSpectrumFile(spectrumPath, evaluation.Spectrum.XraySpectrum);
            if (!written) throw written.error();
            spectrumWritten = true;
        }
        if (step == EvaluationStep::Spectrum || step == EvaluationStep::Backscatter ||
            step == EvaluationStep::DepthDose) {
            ui::LetPendingEventsRun();
        }
        emit evaluationStepShown(static_cast<int>(step));
    };
    const DoseEvaluation evaluation = ordevo::EvaluateDose(
        state_.Reference, inputs, MakeScatterKernelLoader(state_.WorkingFolder), observer);
    InputLock::DropHeldBackInput();
    lock.Release();
    if (spectrumWritten) Button("Command9")->setEnabled(true);

    // An input that made the computation fail is named below the fixed message, with its range.
    const auto failureText = [&](const char* message) {
        const QStringList reasons = FailedInputReasons(state_.Reference, inputs);
        return QString::fromUtf8(message) +
               (reasons.isEmpty() ? QString() : QStringLiteral("\n") + reasons.join(QLatin1Char('\n')));
    };
    switch (evaluation.Outcome) {
    case EvaluationOutcome::IncompleteInput:
        state_.Conditions.BodyPart = evaluation.Conditions.BodyPart;
        AppMessages().Warning(QString::fromUtf8(kIncompleteInputMessage));
        return;
    case EvaluationOutcome::CalculationFailed:
    case EvaluationOutcome::DepthDoseFailed:
        // The result column now mixes this case's first steps with the last case's end:
        // adding it to the table would store a row that belongs to neither.
        Button("Command3")->setEnabled(false);
        if (evaluation.Outcome == EvaluationOutcome::DepthDoseFailed) {
            Label("Label73")->setText(QStringLiteral("---"));
            Label("Label74")->setText(QStringLiteral("---"));
            AppMessages().Warning(failureText(kDepthDoseFailedMessage));
        } else {
            AppMessages().Warning(failureText(kCalculationFailedMessage), ui::WithBeep::Yes);
        }
        return;
    case EvaluationOutcome::Completed:
        break;
    }
    evaluatedInputs_ = inputs;
    if (AppMessages().AskYesNo(kSpectrumQuestion) == ui::Answer::Yes) emit spectrumRequested();
    Button("Command3")->setEnabled(true);
    Button("Command6")->setEnabled(true);
    Button("Command3")->setFocus();
}

void Form1::ClearCurrentResult() {
    evaluatedInputs_.reset();
    QFile::remove(QDir(state_.WorkingFolder).filePath(QString::fromLatin1(kSpectrumFileName)));
    for (const char* name : kResultLabelNames) Label(name)->clear();
    text5_->clear();
    text14_->clear();
    text15_->clear();
    Label("Label65")->clear();
    ui::UncheckOption(*OptionFor(FieldShape::Circle));
    ui::UncheckOption(*OptionFor(FieldShape::Square));
    state_.Conditions.Shape = FieldShape::None;
    Button("Command3")->setEnabled(false);
    Button("Command9")->setEnabled(false);
    Button("Command2")->setEnabled(true);
    ShowResultColumn(true);
}

EvaluationInputs Form1::CurrentInputs() const {
    const CaseTexts texts{combo1_->currentText().toStdString(), text5_->text().toStdString(),
                          text14_->text().toStdString(),        text15_->text().toStdString(),
                          text9_->text().toStdString(),         Label("Label65")->text().toStdString()};
    const CaseSettings settings{.ReferenceAirKerma = state_.Conditions.ReferenceAirKerma,
                                .KermaAreaProduct = state_.Conditions.KermaAreaProduct,
                                .Shape = state_.Conditions.Shape,
                                .Equipment = state_.Equipment,
                                .Voltage = state_.Voltage};
    return MakeEvaluationInputs(texts, settings);
}

void Form1::CheckResultStillCurrent() {
    if (!evaluatedInputs_ || evaluating_) return;
    if (SameEvaluationInputs(*evaluatedInputs_, CurrentInputs())) return;
    evaluatedInputs_.reset();
    ShowResultColumn(false);
    Button("Command3")->setEnabled(false);
}

bool Form1::HasCurrentResult() {
    CheckResultStillCurrent();
    return evaluatedInputs_.has_value();
}

void Form1::ShowResultColumn(bool current) {
    for (const char* name : kResultLabelNames) Label(name)->setEnabled(current);
}

void Form1::changeEvent(QEvent* event) {
    ModelessWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || evaluating_) return;
    file1_->Refresh();
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

void Form1::EnterDoseReportTotals(const QString& equipmentFileName, const QString& referenceAirKerma,
                                  const QString& kermaAreaProduct, double tubeVoltageKv) {
    if (evaluating_) return;
    if (file1_->SelectedFileName() != equipmentFileName || !text14_->isEnabled()) {
        if (!file1_->SelectFileName(equipmentFileName)) {
            AppMessages().Warning(QStringLiteral(" 基本データファイル %1 が一覧にありません ").arg(equipmentFileName));
            return;
        }
        ReadEquipmentFile(equipmentFileName);
        if (!text14_->isEnabled()) return;  // the file could not be read; its message was shown
    }
    text14_->setText(referenceAirKerma);
    StoreReferenceAirKerma();
    text15_->setText(kermaAreaProduct);
    StoreKermaAreaProduct();
    if (const auto voltage = MakeFixedTubeVoltage(tubeVoltageKv)) {
        state_.Voltage = *voltage;
        text5_->setText(QString::fromStdString(TubeVoltageText(*voltage)));
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
