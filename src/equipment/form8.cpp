#include "form8.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>
#include <vector>

#include "calculation_messages.h"
#include "control_table.h"
#include "couch.h"
#include "equipment_file.h"
#include "equipment_limits.h"
#include "evaluation_messages.h"
#include "file_name_check.h"
#include "form5.h"
#include "number_box.h"
#include "case_messages.h"
#include "measurement_record_file.h"
#include "messages.h"
#include "number_format.h"
#include "result_labels.h"
#include "twips.h"
#include "units.h"

namespace ordevo {

namespace {

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

constexpr int kClientWidth = 18105;
constexpr int kClientHeight = 9105;
constexpr int kBoxHeight = 330;  // one row of the left column is 360 twips

// The several labels named Label1 in the original layout carry an index here: Label1 is the
// name's heading, Label1_1 … Label1_10 the others in reading order.
constexpr ControlSpec kForm8Controls[] = {
    {"Label44", Kind::Label, "使用するＸ線装置の基本データを作成します。", 1080, 240, 0, 0,
     Font::Meiryo, 12},
    {"Label1", Kind::Label, "Ｘ線室 または 装置の名称", 600, 1200},
    {"Text13", Kind::TextBox, "", 600, 1680, 3975, kBoxHeight},
    {"Label8", Kind::Label, "　焦点-受像器間距離", 600, 2280, 0, kBoxHeight},
    {"Text8", Kind::TextBox, "", 3120, 2280, 1095, kBoxHeight},
    {"Label16", Kind::Label, "cm", 4320, 2280, 0, kBoxHeight},
    {"Label31", Kind::Label, "焦点-アイソセンター間距離", 600, 2640, 0, kBoxHeight},
    {"Text5", Kind::TextBox, "", 3120, 2640, 1095, kBoxHeight},
    {"Label36", Kind::Label, "cm", 4320, 2640, 0, kBoxHeight},
    {"Label1_1", Kind::Label, " Ｘ線管ターゲット角度", 600, 3120, 0, kBoxHeight},
    {"Text1", Kind::TextBox, "", 3120, 3120, 1095, kBoxHeight},
    {"Label9", Kind::Label, "　度", 4320, 3120, 0, kBoxHeight},
    {"Label2", Kind::Label, " 固有フィルタ (Al 当量)", 600, 3600, 0, kBoxHeight},
    {"Text2", Kind::TextBox, "", 3120, 3600, 1095, kBoxHeight},
    {"Label10", Kind::Label, "mm", 4320, 3600, 0, kBoxHeight},
    {"Label17", Kind::Label, "使用する付加フィルタ", 1320, 4080},
    {"Label3", Kind::Label, " 付加フィルタ (アルミ)", 600, 4440, 0, kBoxHeight},
    {"Text3", Kind::TextBox, "", 3120, 4440, 1095, kBoxHeight},
    {"Label11", Kind::Label, "mm", 4320, 4440, 0, kBoxHeight},
    {"Label4", Kind::Label, " 付加フィルタ（ 銅 ）", 600, 4800, 0, kBoxHeight},
    {"Text4", Kind::TextBox, "", 3120, 4800, 1095, kBoxHeight},
    {"Label12", Kind::Label, "mm", 4320, 4800, 0, kBoxHeight},
    {"Command9", Kind::Button, "任意フィルタ", 600, 5280, 1215, 375, Font::Inherit, 9,
     "アルミ・銅以外のフィルター設定"},
    {"Label29", Kind::Label, "---", 1920, 5280, 1095, 375},
    {"Label26", Kind::Label, "0", 3120, 5280, 1095, 375},
    {"Label20", Kind::Label, "mm", 4320, 5280, 0, 375},

    {"Label7", Kind::Label, "天板透過率 および", 5880, 840, 0, 0, Font::Meiryo, 11},
    {"Label42", Kind::Label, "実測値/装置表示値 校正定数", 5880, 1200, 0, 0, Font::Meiryo, 11},
    {"Label14", Kind::Label, "・線束をレファレンス線量計のサイズまで絞る", 5520, 1800},
    {"Label13", Kind::Label, "・線量計でアイソセンターにおける空気カーマを測定", 5520, 2100},
    {"Label43", Kind::Label, "・通常使用する代表的な管電圧に設定", 5520, 2400},
    {"Label15", Kind::Label, "・mAs 値は適当な値に設定", 5520, 2700},
    {"Label1_2", Kind::Label, "通常使用する代表的な管電圧", 5520, 3360, 0, kBoxHeight},
    {"Text23", Kind::TextBox, "", 9000, 3360, 735, kBoxHeight},
    {"Label45", Kind::Label, "kV", 9840, 3360, 0, kBoxHeight},
    {"Label1_3", Kind::Label, "リファレンス線量計", 5880, 3840},
    {"Label1_4", Kind::Label, "実測空気カーマ (補正後)", 5520, 4200},
    {"Label1_5", Kind::Label, "天板なし", 5160, 4560},
    {"Label1_6", Kind::Label, "天板あり", 6840, 4560},
    {"Label1_7", Kind::Label, "装置表示値", 8520, 4200},
    {"Label6", Kind::Label, "K", 8520, 4560},
    {"Label52", Kind::Label, "a,r", 8640, 4650, 0, 0, Font::Meiryo, 7},
    {"Text14", Kind::TextBox, "", 5160, 4920, 1215, kBoxHeight},
    {"Text15", Kind::TextBox, "", 6840, 4920, 1215, kBoxHeight},
    {"Text16", Kind::TextBox, "", 8520, 4920, 1215, kBoxHeight},
    {"Label46", Kind::Label, "mGy", 9840, 4920, 0, kBoxHeight},
    {"Label32", Kind::Label, "K", 5160, 5400},
    {"Label33", Kind::Label, "a,r", 5280, 5490, 0, 0, Font::Meiryo, 7},
    {"Label34", Kind::Label, "は患者照射基準点 (天板なし) の空気カーマ", 5520, 5400},
    {"Command1", Kind::Button, "OK", 5160, 6075, 1215, 495},

    {"Label1_8", Kind::Label, "天板透過率", 3600, 6960, 0, kBoxHeight},
    {"Label21", Kind::Label, "", 6960, 6960, 1095, kBoxHeight},
    {"Label1_9", Kind::Label, "天板の軟部組織等価厚 cm", 3600, 7320, 0, kBoxHeight},
    {"Label38", Kind::Label, "", 6960, 7320, 1095, kBoxHeight},
    {"Label1_10", Kind::Label, "実測値/表示値 (同距離換算)", 3600, 7680, 0, kBoxHeight},
    {"Label27", Kind::Label, "", 6960, 7680, 1095, kBoxHeight},
    {"Command3", Kind::Button, "Save", 11760, 7320, 1215, 495},
    {"Command2", Kind::Button, "Cancel", 15960, 7320, 1215, 495},

    {"Label48", Kind::Label, "注", 600, 8400},
    {"Label41", Kind::Label,
     "同じＸ線装置であっても、フィルタの組み合わせが異なる場合は、それぞれについて基本データを"
     "（名称を変えて）作成する必要があります。",
     1200, 8400},
};

double ValueOf(const QString& text) { return LeadingNumber(text.toStdString()); }

const QString kNoMaterial = QStringLiteral("---");

// A new equipment starts from a usual tube: target angle in degrees, inherent filtration in mm
// of aluminium equivalent, as the boxes show them.
constexpr const char* kPresetTargetAngleDegrees = "12";
constexpr const char* kPresetInherentFiltrationMmAl = "2.5";

}  // namespace

struct Form8::Impl {
    Form8& window;
    // The editor's own record: what the last successful "OK" computed. The main window's
    // equipment is never touched; a saved file reaches it only by being read.
    EquipmentData record;
    const ReferenceData& reference;
    QString workingFolder;
    ui::Controls controls;
    // The controls, bound once from the layout table (whose names stay their objectNames).
    QLineEdit* nameBox = nullptr;  // Text13, the room or equipment name
    // Lengths in cm, the angle in degrees, filtrations in mm, kermas in mGy, as typed.
    QLineEdit* focusReceptorDistanceBox = nullptr;
    QLineEdit* focusIsocentreDistanceBox = nullptr;
    QLineEdit* targetAngleBox = nullptr;
    QLineEdit* inherentFiltrationBox = nullptr;
    QLineEdit* addedAluminiumBox = nullptr;
    QLineEdit* addedCopperBox = nullptr;
    QLineEdit* typicalTubeVoltageBox = nullptr;
    QLineEdit* airKermaWithoutCouchBox = nullptr;
    QLineEdit* airKermaWithCouchBox = nullptr;
    QLineEdit* displayedAirKermaBox = nullptr;
    QLabel* otherFilterMaterialLabel = nullptr;
    QLabel* otherFilterThicknessLabel = nullptr;
    // The thickness Label26 shows, cm: the chosen filter's, kept when it is released.
    double shownOtherFilterThicknessCm = 0;
    QLabel* couchTransmissionLabel = nullptr;
    QLabel* couchThicknessLabel = nullptr;
    QLabel* calibrationConstantLabel = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* otherFilterButton = nullptr;
    Form5* form5 = nullptr;

    Impl(Form8& w, const ReferenceData& r, const QString& folder)
        : window(w), reference(r), workingFolder(folder) {}

    void Build();
    void Preset();
    // The boxes checked and the three quantities computed into the record, their labels shown.
    // False after a refusal (its warning begins with `prefix`).
    bool ComputeFromBoxes(const QString& prefix);
    void Command1Click();  // "OK"
    void Command3Click();  // "Save"
    // A refused computation: the warning, the box to correct focused, no results and no "Save".
    void Refuse(const QString& message, QLineEdit* box);
    // Full-width digits in `boxes` become ASCII; the first box holding text that is not one
    // number ("1O.5" typed for 10.5, "80kV") is returned, or null. Empty boxes pass.
    QLineEdit* FirstNonNumber(std::initializer_list<QLineEdit*> boxes);
    // The problem whose warning names the box.
    CouchInputProblem ProblemOf(const QLineEdit* box) const;
    // The box's own warning, then why its text was refused.
    QString NotANumberMessage(const QLineEdit* box) const;
    QLineEdit* BoxFor(CouchInputProblem problem) const;
};

void Form8::Impl::Build() {
    controls = ui::CreateControls(window, kForm8Controls);
    auto box = [&](const char* name) { return controls.Get<QLineEdit>(name); };
    nameBox = box("Text13");
    focusReceptorDistanceBox = box("Text8");
    focusIsocentreDistanceBox = box("Text5");
    targetAngleBox = box("Text1");
    inherentFiltrationBox = box("Text2");
    addedAluminiumBox = box("Text3");
    addedCopperBox = box("Text4");
    typicalTubeVoltageBox = box("Text23");
    airKermaWithoutCouchBox = box("Text14");
    airKermaWithCouchBox = box("Text15");
    displayedAirKermaBox = box("Text16");
    otherFilterMaterialLabel = controls.Get<QLabel>("Label29");
    otherFilterThicknessLabel = controls.Get<QLabel>("Label26");
    couchTransmissionLabel = controls.Get<QLabel>("Label21");
    couchThicknessLabel = controls.Get<QLabel>("Label38");
    calibrationConstantLabel = controls.Get<QLabel>("Label27");
    okButton = controls.Get<QPushButton>("Command1");
    cancelButton = controls.Get<QPushButton>("Command2");
    saveButton = controls.Get<QPushButton>("Command3");
    otherFilterButton = controls.Get<QPushButton>("Command9");

    // Captions of a row stand level with its box.
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->height() >= ui::TwipsToPixels(kBoxHeight))
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    // The results and the other filter read as values, not as captions.
    for (QLabel* value : {couchTransmissionLabel, couchThicknessLabel, calibrationConstantLabel,
                          otherFilterMaterialLabel, otherFilterThicknessLabel}) {
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        value->setAlignment(Qt::AlignCenter);
    }
    // Enter on a focused button presses it, as the chain ends on "OK".
    okButton->setAutoDefault(true);
    saveButton->setAutoDefault(true);
}

void Form8::Impl::Preset() {
    for (QLineEdit* box : {nameBox, focusReceptorDistanceBox, focusIsocentreDistanceBox,
                           addedAluminiumBox, addedCopperBox, airKermaWithoutCouchBox,
                           airKermaWithCouchBox, displayedAirKermaBox, typicalTubeVoltageBox})
        box->clear();
    targetAngleBox->setText(QString::fromLatin1(kPresetTargetAngleDegrees));
    inherentFiltrationBox->setText(QString::fromLatin1(kPresetInherentFiltrationMmAl));
    otherFilterMaterialLabel->setText(kNoMaterial);
    otherFilterThicknessLabel->setText(QStringLiteral("0"));
    shownOtherFilterThicknessCm = 0;
    couchTransmissionLabel->clear();
    calibrationConstantLabel->clear();
    couchThicknessLabel->clear();
    saveButton->setEnabled(false);
}

QLineEdit* Form8::Impl::BoxFor(CouchInputProblem problem) const {
    switch (problem) {
    case CouchInputProblem::AirKermaWithoutCouch: return airKermaWithoutCouchBox;
    case CouchInputProblem::DisplayedReferenceAirKerma: return displayedAirKermaBox;
    case CouchInputProblem::FocusIsocentreDistance: return focusIsocentreDistanceBox;
    case CouchInputProblem::TypicalTubeVoltage: return typicalTubeVoltageBox;
    case CouchInputProblem::TransmissionAboveOne:
    case CouchInputProblem::TransmissionBeyondTable: return airKermaWithCouchBox;
    case CouchInputProblem::TargetAngle: return targetAngleBox;
    case CouchInputProblem::BeamFullyAbsorbed: return nullptr;
    case CouchInputProblem::AirKermaWithCouch: return airKermaWithCouchBox;
    case CouchInputProblem::FocusReceptorDistance: return focusReceptorDistanceBox;
    case CouchInputProblem::InherentFiltration: return inherentFiltrationBox;
    case CouchInputProblem::AddedAluminium: return addedAluminiumBox;
    case CouchInputProblem::AddedCopper: return addedCopperBox;
    case CouchInputProblem::OtherFilterThickness: return nullptr;  // chosen in the filter window
    case CouchInputProblem::CalibrationConstant: return displayedAirKermaBox;
    }
    return nullptr;
}

void Form8::Impl::Refuse(const QString& message, QLineEdit* box) {
    couchTransmissionLabel->clear();
    calibrationConstantLabel->clear();
    couchThicknessLabel->clear();
    saveButton->setEnabled(false);
    ui::AppMessages().Warning(message);
    if (box != nullptr) {
        box->setFocus();
        box->selectAll();
    }
}

CouchInputProblem Form8::Impl::ProblemOf(const QLineEdit* box) const {
    if (box == focusReceptorDistanceBox) return CouchInputProblem::FocusReceptorDistance;
    if (box == focusIsocentreDistanceBox) return CouchInputProblem::FocusIsocentreDistance;
    if (box == targetAngleBox) return CouchInputProblem::TargetAngle;
    if (box == inherentFiltrationBox) return CouchInputProblem::InherentFiltration;
    if (box == addedAluminiumBox) return CouchInputProblem::AddedAluminium;
    if (box == addedCopperBox) return CouchInputProblem::AddedCopper;
    if (box == typicalTubeVoltageBox) return CouchInputProblem::TypicalTubeVoltage;
    if (box == airKermaWithoutCouchBox) return CouchInputProblem::AirKermaWithoutCouch;
    if (box == airKermaWithCouchBox) return CouchInputProblem::AirKermaWithCouch;
    return CouchInputProblem::DisplayedReferenceAirKerma;
}

QString Form8::Impl::NotANumberMessage(const QLineEdit* box) const {
    return QString::fromStdString(
        CouchNotANumberMessage(ProblemOf(box), box->text().toStdString()));
}

QLineEdit* Form8::Impl::FirstNonNumber(std::initializer_list<QLineEdit*> boxes) {
    QLineEdit* first = nullptr;
    for (QLineEdit* box : boxes) {
        const NumberBoxText read = ReadNumberBox(box->text());
        if (read.Text != box->text()) box->setText(read.Text);
        if (first == nullptr && !read.NumberOrBlank()) first = box;
    }
    return first;
}

bool Form8::Impl::ComputeFromBoxes(const QString& prefix) {
    for (QLineEdit* box : {nameBox, focusReceptorDistanceBox, focusIsocentreDistanceBox,
                           targetAngleBox, inherentFiltrationBox, addedAluminiumBox, addedCopperBox,
                           airKermaWithoutCouchBox, airKermaWithCouchBox, displayedAirKermaBox}) {
        if (box->text().trimmed().isEmpty()) {
            Refuse(prefix + QString::fromUtf8(kCouchEmptyInputMessage), box);
            return false;
        }
    }
    // Each number box holds one number: "1O.5" is refused, never read as its leading 1.
    if (QLineEdit* box = FirstNonNumber(
            {focusReceptorDistanceBox, focusIsocentreDistanceBox, targetAngleBox,
             inherentFiltrationBox, addedAluminiumBox, addedCopperBox, typicalTubeVoltageBox,
             airKermaWithoutCouchBox, airKermaWithCouchBox, displayedAirKermaBox})) {
        Refuse(prefix + NotANumberMessage(box), box);
        return false;
    }
    // The record as the boxes give it; it replaces the editor's record only if the
    // computation succeeds, so a refused measurement leaves the last result as it was.
    EquipmentData candidate = record;
    candidate.TargetAngle = ValueOf(targetAngleBox->text());
    candidate.InherentFiltration =
        ValueOf(inherentFiltrationBox->text()) * kCentimetresPerMillimetre;
    candidate.AddedAluminium = ValueOf(addedAluminiumBox->text()) * kCentimetresPerMillimetre;
    candidate.AddedCopper = ValueOf(addedCopperBox->text()) * kCentimetresPerMillimetre;
    candidate.OtherFilterThickness = shownOtherFilterThicknessCm;
    candidate.FocusReceptorDistance = ValueOf(focusReceptorDistanceBox->text());
    candidate.FocusIsocentreDistance = ValueOf(focusIsocentreDistanceBox->text());
    // "---": no other filter was chosen for this equipment, so none is saved.
    if (otherFilterMaterialLabel->text() == kNoMaterial) candidate.OtherFilterFlag = 0;

    CouchMeasurement measurement;
    measurement.TypicalTubeVoltageKv = ValueOf(typicalTubeVoltageBox->text());
    measurement.AirKermaWithoutCouchMGy = ValueOf(airKermaWithoutCouchBox->text());
    measurement.AirKermaWithCouchMGy = ValueOf(airKermaWithCouchBox->text());
    measurement.DisplayedReferenceAirKermaMGy = ValueOf(displayedAirKermaBox->text());
    measurement.FocusIsocentreDistanceCm = candidate.FocusIsocentreDistance;
    CouchCalibration result;
    try {
        result = ComputeCouchCalibration(reference.Attenuation, candidate, measurement);
    } catch (const CouchInputError& error) {
        Refuse(prefix + QString::fromStdString(CouchFailureMessage(error)),
               BoxFor(error.problem()));
        return false;
    } catch (const CalculationError& error) {
        Refuse(prefix + QStringLiteral(" 天板透過率と校正定数を計算できません \n") +
                   QString::fromStdString(DescribeCalculationFailure(error.Failure())),
               nullptr);
        return false;
    }

    candidate.CouchTransmission = result.CouchTransmission;
    candidate.CalibrationConstant = result.CalibrationConstant;
    candidate.CouchSoftTissueThickness = result.CouchSoftTissueThickness;
    record = candidate;
    const CouchResultTexts texts = CouchTexts(result);
    couchTransmissionLabel->setText(QString::fromStdString(texts.CouchTransmission));
    couchThicknessLabel->setText(QString::fromStdString(texts.CouchSoftTissueThickness));
    calibrationConstantLabel->setText(QString::fromStdString(texts.CalibrationConstant));
    return true;
}

void Form8::Impl::Command1Click() {
    if (!ComputeFromBoxes(QString())) return;
    saveButton->setEnabled(true);
    saveButton->setFocus();
}

void Form8::Impl::Command3Click() {
    const QString name = nameBox->text();
    if (name.trimmed().isEmpty()) {
        ui::AppMessages().Warning(QStringLiteral(" Ｘ線室 または 装置の名称を入力して下さい "));
        nameBox->setFocus();
        return;
    }
    if (const auto problem = FileNameProblem(name)) {
        ui::AppMessages().Warning(
            QStringLiteral(
                " Ｘ線室 または 装置の名称はファイル名に使えません。名称を変えて下さい \n") +
            *problem);
        nameBox->setFocus();
        return;
    }
    // What is saved is what the boxes hold now, checked and computed as "OK" does: a box
    // changed after "OK" is never saved with the value of the last "OK".
    const QString cannotSave = QStringLiteral(" 基本データを保存できませんでした \n");
    if (!ComputeFromBoxes(cannotSave)) return;
    EquipmentRecordTexts texts;
    texts.FocusReceptorDistance = record.FocusReceptorDistance;
    texts.FocusIsocentreDistance = record.FocusIsocentreDistance;
    texts.TargetAngle = record.TargetAngle;
    texts.InherentFiltrationMm = ValueOf(inherentFiltrationBox->text());
    texts.AddedAluminiumMm = ValueOf(addedAluminiumBox->text());
    texts.AddedCopperMm = ValueOf(addedCopperBox->text());
    texts.OtherFilterFlag = record.OtherFilterFlag;
    texts.OtherFilterMaterialText = otherFilterMaterialLabel->text();
    texts.OtherFilterThicknessText = otherFilterThicknessLabel->text();
    texts.TypicalTubeVoltageText = typicalTubeVoltageBox->text();
    texts.CouchTransmission = record.CouchTransmission;
    texts.CouchSoftTissueThickness = record.CouchSoftTissueThickness;
    texts.CalibrationConstant = record.CalibrationConstant;
    // The limits every file is read against: a file saved outside them could not be loaded.
    if (const auto violation = CheckEquipmentLimits(record)) {
        Refuse(cannotSave + QString::fromStdString(DescribeViolation(*violation)), nullptr);
        return;
    }
    const QString fileName = name + QLatin1String(kEquipmentFileExtension);
    if (!ui::MayReplaceFile(QDir(workingFolder).filePath(fileName))) return;
    const auto written = WriteEquipmentFile(workingFolder, name, texts);
    if (!written) {
        ui::AppMessages().Warning(cannotSave + written.error().message());
        return;
    }
    // The calibration and the couch were derived from the readings in the boxes: the record
    // beside the file says so, and the skin doses computed with it get the measured figures'
    // smaller uncertainty. Without the record they get the larger ones: the file still serves.
    const auto recorded = StoreMeasurementRecord(QDir(workingFolder).filePath(*written),
                                                 MeasurementRecord{true, true});
    ui::AppMessages().Notice(QStringLiteral(" 基本データを ") + *written +
                             QStringLiteral(" に保存しました ") +
                             (recorded ? QString()
                                       : QStringLiteral("\n測定の記録は保存できませんでした（%1）")
                                             .arg(recorded.error().message())));
    emit window.equipmentSaved(*written);
    window.hide();
}

Form8::Form8(const ReferenceData& reference, const QString& workingFolder, QWidget* parent)
    : ui::ModelessWindow(parent), impl_(std::make_unique<Impl>(*this, reference, workingFolder)) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("  装置データ作成"));
    setFont(ui::MakeFont(Layout().windowFont, Layout().windowFontSizePt));
    SetClientSizeTwips(kClientWidth, kClientHeight);
    impl_->Build();
    impl_->Preset();

    Impl& d = *impl_;
    // Enter moves the focus down the boxes in reading order; the last hands it to "OK".
    const std::vector<QLineEdit*> focusChain{d.nameBox,
                                             d.focusReceptorDistanceBox,
                                             d.focusIsocentreDistanceBox,
                                             d.targetAngleBox,
                                             d.inherentFiltrationBox,
                                             d.addedAluminiumBox,
                                             d.addedCopperBox,
                                             d.typicalTubeVoltageBox,
                                             d.airKermaWithoutCouchBox,
                                             d.airKermaWithCouchBox,
                                             d.displayedAirKermaBox};
    for (std::size_t i = 0; i < focusChain.size(); ++i) {
        QWidget* to =
            i + 1 < focusChain.size() ? static_cast<QWidget*>(focusChain[i + 1]) : d.okButton;
        connect(focusChain[i], &QLineEdit::returnPressed, to, [to] { to->setFocus(); });
    }
    d.form5 = new Form5(workingFolder, this);
    connect(d.form5, &Form5::filterSet, this, [&d](const OtherFilterChoice& filter) {
        d.record.OtherFilterAttenuation = filter.Attenuation;
        d.record.OtherFilterThickness = filter.ThicknessCm;
        d.record.OtherFilterMaterial = filter.Material.toStdString();
        d.record.OtherFilterFlag = 1;
        d.otherFilterMaterialLabel->setText(filter.Material);
        d.otherFilterThicknessLabel->setText(filter.ThicknessText);
        d.shownOtherFilterThicknessCm = filter.ThicknessCm;
    });
    // The captions keep the released material's texts, as the window always showed them.
    connect(d.form5, &Form5::filterReleased, this, [&d] {
        d.record.OtherFilterThickness = 0;
        d.record.OtherFilterFlag = 0;
    });
    connect(d.otherFilterButton, &QPushButton::clicked, d.form5, &Form5::Open);
    connect(d.okButton, &QPushButton::clicked, this, [&d] { d.Command1Click(); });
    connect(d.saveButton, &QPushButton::clicked, this, [&d] { d.Command3Click(); });
    connect(d.cancelButton, &QPushButton::clicked, this, &QWidget::hide);
    SetDialogKeys(d.okButton, d.cancelButton, {focusChain.begin(), focusChain.end()});
}

Form8::~Form8() = default;

ui::WindowLayout Form8::Layout() {
    return {kForm8Controls, kClientWidth, kClientHeight, Font::Meiryo, 9};
}

const ui::Controls& Form8::Controls() const { return impl_->controls; }

const EquipmentData& Form8::Record() const { return impl_->record; }

void Form8::StartNew() {
    impl_->record = EquipmentData{};
    impl_->Preset();
    ShowInFront();
    impl_->nameBox->setFocus();
}

}  // namespace ordevo
