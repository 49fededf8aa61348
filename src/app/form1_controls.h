// The main window's typed controls: one member per control its code works with, named for what
// it holds, bound once from the layout table. Included by form1.cpp only.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "control_table.h"
#include "file_list_box.h"
#include "form1.h"
#include "picture_box.h"
#include "result_labels.h"

namespace ordevo {

// The controls the window works with, bound once from the layout table (whose names stay their
// objectNames). A name missing from the table throws here, when the window is built.
struct Form1::Ui {
    explicit Ui(const ui::Controls& c)
        : titleShadow(c.Get<QLabel>("Label27")),
          title(c.Get<QLabel>("Label34")),
          equipmentList(c.Get<ui::FileListBox>("File1")),
          newEquipmentButton(c.Get<QPushButton>("Command7")),
          deleteEquipmentButton(c.Get<QPushButton>("Command4")),
          targetAngleLabel(c.Get<QLabel>("Label23")),
          inherentFiltrationLabel(c.Get<QLabel>("Label25")),
          addedAluminiumLabel(c.Get<QLabel>("Label50")),
          addedCopperLabel(c.Get<QLabel>("Label51")),
          otherFilterMaterialLabel(c.Get<QLabel>("Label29")),
          otherFilterThicknessLabel(c.Get<QLabel>("Label26")),
          focusReceptorDistanceLabel(c.Get<QLabel>("Label62")),
          focusIsocentreDistanceLabel(c.Get<QLabel>("Label64")),
          doseReportButton(c.Get<QPushButton>("Command10")),
          registryButton(c.Get<QPushButton>("Command11")),
          bodyPartBox(c.Get<QComboBox>("Combo1")),
          tubeVoltageButton(c.Get<QPushButton>("Command5")),
          spectrumButton(c.Get<QPushButton>("Command9")),
          tubeVoltageBox(c.Get<QLineEdit>("Text5")),
          tubeVoltageAssumedLabel(c.Get<QLabel>("TubeVoltageAssumedLabel")),
          doseReportGeometryLabel(c.Get<QLabel>("DoseReportGeometryLabel")),
          referenceAirKermaBox(c.Get<QLineEdit>("Text14")),
          kermaAreaProductBox(c.Get<QLineEdit>("Text15")),
          circleOption(c.Get<QRadioButton>("Option1")),
          squareOption(c.Get<QRadioButton>("Option2")),
          fieldShapeCaption(c.Get<QLabel>("Label22")),
          fieldSizeLabel(c.Get<QLabel>("Label65")),
          focusSkinDistanceBox(c.Get<QLineEdit>("Text9")),
          skinDoseCaption(c.Get<QLabel>("Label38")),
          correctedReferenceAirKermaLabel(c.Get<QLabel>("Label68")),
          correctedKermaAreaProductLabel(c.Get<QLabel>("Label69")),
          couchTransmissionLabel(c.Get<QLabel>("Label70")),
          entranceAirKermaLabel(c.Get<QLabel>("Label71")),
          tissueToAirDoseRatioLabel(c.Get<QLabel>("Label72")),
          scatterFactorLabel(c.Get<QLabel>("Label73")),
          skinDoseLabel(c.Get<QLabel>("Label74")),
          skinDoseUncertaintyLabel(c.Get<QLabel>("SkinDoseUncertaintyLabel")),
          evaluateButton(c.Get<QPushButton>("Command2")),
          addResultButton(c.Get<QPushButton>("Command3")),
          clearButton(c.Get<QPushButton>("Command6")),
          exitButton(c.Get<QPushButton>("Command1")),
          mascot(c.Get<ui::PictureBox>("Picture1")),
          welcomeButton(c.Get<QPushButton>("Command8")) {}

    // The result column, top to bottom, each label with the text it shows.
    std::array<std::pair<QLabel*, std::optional<std::string> ResultTexts::*>, 7> ResultColumn()
        const {
        return {{{correctedReferenceAirKermaLabel, &ResultTexts::CorrectedReferenceAirKerma},
                 {correctedKermaAreaProductLabel, &ResultTexts::CorrectedKermaAreaProduct},
                 {couchTransmissionLabel, &ResultTexts::CouchTransmission},
                 {entranceAirKermaLabel, &ResultTexts::EntranceAirKerma},
                 {tissueToAirDoseRatioLabel, &ResultTexts::TissueToAirDoseRatio},
                 {scatterFactorLabel, &ResultTexts::ScatterFactor},
                 {skinDoseLabel, &ResultTexts::SkinDose}}};
    }
    // The result column's labels, top to bottom.
    std::array<QLabel*, 7> ResultLabels() const {
        return {correctedReferenceAirKermaLabel,
                correctedKermaAreaProductLabel,
                couchTransmissionLabel,
                entranceAirKermaLabel,
                tissueToAirDoseRatioLabel,
                scatterFactorLabel,
                skinDoseLabel};
    }

    // The equipment panel's values, as the file read shows them.
    std::array<QLabel*, 8> EquipmentValueLabels() const {
        return {targetAngleLabel,           inherentFiltrationLabel,    addedAluminiumLabel,
                addedCopperLabel,           otherFilterMaterialLabel,   otherFilterThicknessLabel,
                focusReceptorDistanceLabel, focusIsocentreDistanceLabel};
    }

    // Everything an evaluation locks.
    std::vector<QWidget*> Inputs() const {
        return {
            equipmentList,         exitButton,        evaluateButton,       addResultButton,
            deleteEquipmentButton, tubeVoltageButton, clearButton,          newEquipmentButton,
            welcomeButton,         spectrumButton,    doseReportButton,     registryButton,
            bodyPartBox,           tubeVoltageBox,    focusSkinDistanceBox, referenceAirKermaBox,
            kermaAreaProductBox,   circleOption,      squareOption,         mascot};
    }

    QLabel* titleShadow;  // Label27, the title's grey shadow
    QLabel* title;        // Label34, the title in front
    // ① Equipment panel
    ui::FileListBox* equipmentList;       // File1
    QPushButton* newEquipmentButton;      // Command7 "新規作成"
    QPushButton* deleteEquipmentButton;   // Command4 "削 除"
    QLabel* targetAngleLabel;             // Label23, degrees
    QLabel* inherentFiltrationLabel;      // Label25, mm Al
    QLabel* addedAluminiumLabel;          // Label50, mm
    QLabel* addedCopperLabel;             // Label51, mm
    QLabel* otherFilterMaterialLabel;     // Label29
    QLabel* otherFilterThicknessLabel;    // Label26, mm
    QLabel* focusReceptorDistanceLabel;   // Label62, cm
    QLabel* focusIsocentreDistanceLabel;  // Label64, cm
    QPushButton* doseReportButton;        // Command10 "RDSR 読込"
    QPushButton* registryButton;          // Command11 "線量登録簿"
    // ② Case inputs
    QComboBox* bodyPartBox;           // Combo1
    QPushButton* tubeVoltageButton;   // Command5 "管電圧設定"
    QPushButton* spectrumButton;      // Command9 "Ｘ線スペクトル表示"
    QLineEdit* tubeVoltageBox;        // Text5, kV
    QLabel* tubeVoltageAssumedLabel;  // "推定" beside an assumed mean voltage
    QLabel* doseReportGeometryLabel;  // the dose report's d_ref and filters in use
    QLineEdit* referenceAirKermaBox;  // Text14, Ka,r in mGy
    QLineEdit* kermaAreaProductBox;   // Text15, P_KA in Gy·cm²
    QRadioButton* circleOption;       // Option1
    QRadioButton* squareOption;       // Option2
    QLabel* fieldShapeCaption;        // Label22
    QLabel* fieldSizeLabel;           // Label65, cm at the reference point
    QLineEdit* focusSkinDistanceBox;  // Text9, cm
    // Result column
    QLabel* skinDoseCaption;                  // Label38
    QLabel* correctedReferenceAirKermaLabel;  // Label68, cKa,r in mGy
    QLabel* correctedKermaAreaProductLabel;   // Label69, cP_KA in Gy·cm²
    QLabel* couchTransmissionLabel;           // Label70
    QLabel* entranceAirKermaLabel;            // Label71, mGy
    QLabel* tissueToAirDoseRatioLabel;        // Label72
    QLabel* scatterFactorLabel;               // Label73
    QLabel* skinDoseLabel;                    // Label74, mGy
    QLabel* skinDoseUncertaintyLabel;         // "± 48 %（k=2）" under the skin dose
    // ③ Actions
    QPushButton* evaluateButton;   // Command2 "この条件で計算する"
    QPushButton* addResultButton;  // Command3 "結果を表に追加する"
    QPushButton* clearButton;      // Command6 "計算結果をクリアする"
    QPushButton* exitButton;       // Command1 "終了する"
    ui::PictureBox* mascot;        // Picture1
    QPushButton* welcomeButton;    // Command8, the welcome banner
};

}  // namespace ordevo
