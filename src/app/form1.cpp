// The main window: its controls from the layout table, the input handlers, the field size,
// the equipment list and the window side of the dose evaluation.
#include "form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <optional>
#include <stdexcept>
#include <string>

#include "case_entry.h"
#include "field_size.h"
#include "file_list_box.h"
#include "form1_controls.h"
#include "form1_layout.h"
#include "case_messages.h"
#include "mascot.h"
#include "messages.h"
#include "number_box.h"
#include "number_format.h"
#include "picture_box.h"
#include "tube_voltage_text.h"
#include "twips.h"
#include "units.h"

namespace ordevo {
namespace {

using ui::AppMessages;

const QString kBodyPartCharacterWarning = QStringLiteral(
    " 「対象部位」にはカンマ（,）、改行、およびファイルに保存できない文字は入力できません ");
const QString kResultsWindowTip = QStringLiteral(" ダブルクリックで計算結果表を表示 ");
const QString kDiameterCaption = QStringLiteral("直 径");
const QString kSquareSideCaption = QStringLiteral("正方形 一辺長");
const QString kSquareDesignCaption = QStringLiteral("正 方 形");

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

Form1::Form1(const ReferenceData& reference, const QString& workingFolder, QWidget* parent)
    : ModelessWindow(parent),
      reference_(reference),
      workingFolder_(workingFolder),
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
    for (QLabel* label : ui_->ResultLabels()) label->setAlignment(Qt::AlignRight | Qt::AlignTop);

    // Text5 is never enabled (only the tube-voltage window writes it), yet must stay readable.
    QPalette text5Palette = ui_->tubeVoltageBox->palette();
    text5Palette.setColor(QPalette::Disabled, QPalette::Text,
                          text5Palette.color(QPalette::Active, QPalette::Text));
    ui_->tubeVoltageBox->setPalette(text5Palette);

    ui_->bodyPartBox->setEditable(true);
    ui_->bodyPartBox->setInsertPolicy(QComboBox::NoInsert);
    // The typed word is the body part: no completion may turn 腹部 into 腹部背面.
    ui_->bodyPartBox->setCompleter(nullptr);
    ui_->equipmentList->SetPath(workingFolder_);

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
    connect(ui_->registryButton, &QPushButton::clicked, this, &Form1::doseRegistryRequested);
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
    case_.Stored = StoredCaseInputs{};

    for (QLabel* label : ui_->EquipmentValueLabels()) label->clear();
    ui_->otherFilterMaterialLabel->setText(QStringLiteral("―"));
    case_.Equipment.OtherFilterFlag = 0;

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
    for (QLabel* label : ui_->ResultLabels()) label->clear();
    SetDoseReportGeometry(std::nullopt);
    evaluated_.reset();
    ShowResultColumn(true);
    case_.EquipmentFileName.clear();

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

void Form1::SetTubeVoltage(const TubeVoltageRange& range) {
    // A voltage chosen in the tube-voltage window is the user's own, no longer assumed.
    if (case_.DoseReport && case_.DoseReport->TubeVoltageAssumed && !(range == case_.Voltage)) {
        DoseReportGeometry known = *case_.DoseReport;
        known.TubeVoltageAssumed = false;
        SetDoseReportGeometry(known);
    }
    case_.Voltage = range;
    SetTubeVoltageText(QString::fromStdString(ordevo::TubeVoltageText(range)));
}

void Form1::SetTubeVoltageText(const QString& text) {
    ui_->tubeVoltageBox->setText(text);
    CheckResultStillCurrent();  // the weighting may have changed under the same text
}

void Form1::RefreshFileList() { ui_->equipmentList->Refresh(); }

void Form1::EquipmentFileSaved(const QString& fileName) {
    RefreshFileList();
    // The file evaluated with was replaced: its new values are read, the case inputs stay.
    if (!case_.EquipmentFileName.isEmpty() && fileName == case_.EquipmentFileName &&
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
    const NumberBoxText read = ReadNumberBox(box->text());
    if (read.Text != box->text()) box->setText(read.Text);
    if (read.NumberOrBlank()) return true;
    // Giving the focus back takes it from whichever box has it now; that box's own check waits
    // for its next turn, or two refused boxes would pass the focus to and fro for ever.
    if (warn && !refusing_) {
        refusing_ = true;
        AppMessages().Warning(NotANumberMessage(BoxKind(box), read.Text), ui::WithBeep::Yes);
        box->setFocus();
        box->selectAll();
        refusing_ = false;
    }
    return false;
}

void Form1::StoreReferenceAirKerma() {
    const double value = ValueOf(ui_->referenceAirKermaBox->text());
    if (value == case_.Stored.ReferenceAirKermaMGy) return;
    case_.Stored.ReferenceAirKermaMGy = value;
    UpdateFieldSizeAfterDoseChange();
}

void Form1::StoreKermaAreaProduct() {
    const double value = ValueOf(ui_->kermaAreaProductBox->text());
    if (value == case_.Stored.KermaAreaProductGyCm2) return;
    case_.Stored.KermaAreaProductGyCm2 = value;
    UpdateFieldSizeAfterDoseChange();
}

void Form1::ShowFieldSize(double sizeCm) {
    ui_->fieldSizeLabel->setText(QString::fromStdString(FieldSizeText(sizeCm)));
    case_.Stored.FieldSizeCm = ShownFieldSize(sizeCm);
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
    // A refused click leaves the shape chosen before (if any) chosen.
    auto refuse = [this, clicked] {
        ui::UncheckOption(*clicked);
        if (case_.Stored.Shape != FieldShape::None) OptionFor(case_.Stored.Shape)->setChecked(true);
    };
    if (!ReadNumberBox(ui_->referenceAirKermaBox->text()).Value ||
        !ReadNumberBox(ui_->kermaAreaProductBox->text()).Value) {
        refuse();
        return;
    }
    double size = 0;
    try {
        size = ordevo::ComputeReferenceFieldSize(shape, case_.Stored.ReferenceAirKermaMGy,
                                                 case_.Stored.KermaAreaProductGyCm2);
    } catch (const CalculationError&) {
        refuse();
        AppMessages().Warning(QString::fromUtf8(kFieldSizeInputMessage), ui::WithBeep::Yes);
        return;
    }
    case_.Stored.Shape = shape;
    ui_->fieldShapeCaption->setText(shape == FieldShape::Circle ? kDiameterCaption
                                                                : kSquareSideCaption);
    ShowFieldSize(size);
    CheckResultStillCurrent();
    ui_->focusSkinDistanceBox->setFocus();
}

void Form1::UpdateFieldSizeAfterDoseChange() {
    const FieldShape shape = case_.Stored.Shape;
    if (shape == FieldShape::None) return;
    // An emptied dose box or doses that give no field withdraw the field size; the shape stays
    // chosen, so the calculation names the box to correct and the size returns with it.
    std::optional<double> size;
    if (!ui_->referenceAirKermaBox->text().isEmpty() &&
        !ui_->kermaAreaProductBox->text().isEmpty()) {
        try {
            size = ordevo::ComputeReferenceFieldSize(shape, case_.Stored.ReferenceAirKermaMGy,
                                                     case_.Stored.KermaAreaProductGyCm2);
        } catch (const CalculationError&) {
            // no field: size stays empty
        }
    }
    if (size) {
        ShowFieldSize(*size);
    } else {
        ui_->fieldSizeLabel->clear();
        case_.Stored.FieldSizeCm = 0;
    }
    CheckResultStillCurrent();
}

void Form1::changeEvent(QEvent* event) {
    ModelessWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || evaluating_) return;
    ui_->equipmentList->Refresh();
    CheckResultStillCurrent();
}

void Form1::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (evaluating_) return;  // no second action while an evaluation runs
    hide();
    emit closedFromTitleBar();
}

}  // namespace ordevo
