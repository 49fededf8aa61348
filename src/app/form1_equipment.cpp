// The main window's equipment list (reading, deleting, reading again after a save) and the way
// a dose report's totals come into its case inputs.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

#include "case_messages.h"
#include "equipment_file.h"
#include "file_list_box.h"
#include "file_name_check.h"
#include "form1.h"
#include "form1_controls.h"
#include "messages.h"
#include "number_format.h"
#include "report_evaluation.h"
#include "tube_voltage_text.h"
#include "units.h"

namespace ordevo {
namespace {

using ui::AppMessages;

const QString kDeleteQuestion = QStringLiteral(" このデータファイル（%1）を本当に削除しますか？ ");

QString Format(double value, const char* picture) {
    return QString::fromStdString(FormatNumber(value, picture));
}

double ValueOf(const QString& text) { return LeadingNumber(text.toStdString()); }

}  // namespace

// ---- Equipment list ------------------------------------------------------------------------

bool Form1::LoadEquipment(const QString& fileName) {
    const auto loaded = LoadEquipmentFile(QDir(workingFolder_).filePath(fileName), workingFolder_);
    if (!loaded) {
        AppMessages().Warning(EquipmentFileUnreadableMessage(fileName, loaded.error().message()),
                              ui::WithBeep::Yes);
        return false;
    }
    const EquipmentFileContents& file = *loaded;
    case_.Equipment = file.Data;
    case_.EquipmentFileName = fileName;

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
    SetDoseReportGeometry(std::nullopt);  // another room, or the same one chosen afresh
    ui_->tubeVoltageBox->clear();
    ui_->focusSkinDistanceBox->setText(
        Format(ReferencePointDistanceOf(case_.Equipment.FocusIsocentreDistance), "#00"));
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
    const QDir folder(workingFolder_);
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
    case_.Equipment = EquipmentData{};
    case_.EquipmentFileName.clear();
    SetDoseReportGeometry(std::nullopt);
    ui_->evaluateButton->setEnabled(false);
    CheckResultStillCurrent();
}

// ---- Dose reports -------------------------------------------------------------------------

namespace {
// The local files of a drop, each a report of its own.
QStringList DroppedFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}
}  // namespace

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    if (!evaluating_ && !DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event) {
    const QStringList paths = DroppedFiles(event->mimeData());
    if (evaluating_ || paths.isEmpty()) return;
    event->acceptProposedAction();
    for (const QString& path : paths) emit doseReportRequested(path);
}

void Form1::EnterDoseReportTotals(const QString& equipmentFileName,
                                  const rdsr::SingleCaseTexts& totals) {
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
    ui_->referenceAirKermaBox->setText(QString::fromStdString(totals.ReferenceAirKerma));
    StoreReferenceAirKerma();
    ui_->kermaAreaProductBox->setText(QString::fromStdString(totals.KermaAreaProduct));
    StoreKermaAreaProduct();
    ui_->focusSkinDistanceBox->setText(QString::fromStdString(totals.FocusSkinDistance));
    // The voltage as the dose-report window computed the totals with it: read from its text.
    if (const auto voltage =
            MakeFixedTubeVoltage(ValueOf(QString::fromStdString(totals.TubeVoltage)))) {
        case_.Voltage = *voltage;
        ui_->tubeVoltageBox->setText(QString::fromStdString(ordevo::TubeVoltageText(*voltage)));
        emit tubeVoltageEntered(*voltage);
    }
    SetDoseReportGeometry(DoseReportGeometry{.ReferenceDistanceCm = totals.ReferenceDistanceCm,
                                             .CopperMm = totals.CopperMm,
                                             .AluminiumMm = totals.AluminiumMm,
                                             .TubeVoltageAssumed = totals.TubeVoltageAssumed});
    CheckResultStillCurrent();  // the voltage may have changed under the same text
    ShowInFront();
}

void Form1::SetDoseReportGeometry(std::optional<DoseReportGeometry> geometry) {
    case_.DoseReport = geometry;
    const bool assumed = geometry && geometry->TubeVoltageAssumed;
    ui_->tubeVoltageAssumedLabel->setText(assumed ? QStringLiteral("推定") : QString());
    ui_->doseReportGeometryLabel->setText(
        !geometry
            ? QString()
            : QStringLiteral("線量レポートの値で計算: 基準点距離 %1 cm、付加フィルタ Cu %2 "
                             "mm・Al %3 mm%4")
                  .arg(Format(geometry->ReferenceDistanceCm, "##0.0"),
                       Format(geometry->CopperMm, "0.00"), Format(geometry->AluminiumMm, "0.00"),
                       assumed ? QStringLiteral(
                                     "\n管電圧は一部の照射で装置ファイルの代表値を補った推定値")
                               : QString()));
    CheckResultStillCurrent();
}

}  // namespace ordevo
