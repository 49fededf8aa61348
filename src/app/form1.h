// The main window: equipment panel, case inputs, result column and the action buttons.
#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "dose_evaluation.h"
#include "equipment_data.h"
#include "reference_data.h"
#include "spectrum.h"
#include "tube_voltage.h"
#include "case_entry.h"
#include "input_checks.h"
#include "control_table.h"
#include "field_shape.h"
#include "modeless_window.h"

class QAbstractButton;
class QLineEdit;

namespace ordevo {

namespace rdsr {
struct SingleCaseTexts;
}

// Where a dose report's totals stand, carried in by "入力欄へ": the report states Ka,r at its own
// reference point and its beam had its own filters, so these replace the equipment's FAD − 15
// and added filters. They describe the room's geometry, not the numbers typed, so they stay
// until another equipment file is read or the case is cleared.
struct DoseReportGeometry {
    double ReferenceDistanceCm = 0;  // d_ref, Ka,r-weighted over the report's events
    double CopperMm = 0;
    double AluminiumMm = 0;
    bool TubeVoltageAssumed = false;  // the mean voltage stands partly on the typical one
};

// What the case boxes' handlers stored: Ka,r and P_KA as last accepted, the shape chosen and
// the field size they give, rounded as Label65 shows it (0 while none is shown).
struct StoredCaseInputs {
    double ReferenceAirKermaMGy = 0;
    double KermaAreaProductGyCm2 = 0;
    FieldShape Shape = FieldShape::None;
    double FieldSizeCm = 0;
};

// The case the main window holds: the equipment read from the chosen file, the tube-voltage
// setting, the values the boxes' handlers stored, and the last evaluation's spectrum.
struct MainWindowCase {
    EquipmentData Equipment;
    QString EquipmentFileName;  // in the working folder; "" when none is loaded
    TubeVoltageRange Voltage;   // the tube-voltage window's setting
    StoredCaseInputs Stored;
    std::optional<DoseReportGeometry> DoseReport;  // after "入力欄へ"
    SpectrumResult Spectrum;
};

class Form1 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // The layout table and the client area.
    static ui::WindowLayout Layout();

    // Reads `reference` (which the application may read again) and the files of `workingFolder`.
    Form1(const ReferenceData& reference, const QString& workingFolder, QWidget* parent = nullptr);
    ~Form1() override;

    // Every control by its objectName, for tests; the window's own code uses its typed controls.
    const ui::Controls& Controls() const { return controls_; }
    template <class W>
    W* Control(std::string_view name) const {
        return controls_.Get<W>(name);
    }

    // The equipment file selected in the list ("" when none).
    QString SelectedEquipmentFileName() const;

    // Start-up: the window as designed, every field empty, the case inputs disabled.
    void ResetForStartUp();
    // Start-up, once the user name has been looked for: registered (caption with the name,
    // no welcome banner, calculation usable) or unregistered (only registration usable).
    void ApplyStartUpUser(const std::optional<QString>& userName);
    // After registration or a change of name / after choosing to go on as a guest.
    void ShowRegisteredUser(const QString& userName);
    void ShowGuestUser(const QString& guestName);

    // The case the window holds.
    const MainWindowCase& Case() const { return case_; }

    // The tube-voltage window's setting: stored, and its text into Text5.
    void SetTubeVoltage(const TubeVoltageRange& range);
    // Text5 alone, as the tube-voltage window writes it.
    void SetTubeVoltageText(const QString& text);
    void RefreshFileList();
    // The editor wrote `fileName`: the list shows it; when it is the file evaluated with, its
    // values are read again into the equipment and the panel.
    void EquipmentFileSaved(const QString& fileName);

    // The handlers of the window's own buttons, public so the application and tests reach them.
    void EvaluateDose();                               // Command2
    void ClearCurrentResult();                         // Command6
    void DeleteEquipmentFile();                        // Command4
    void ReadEquipmentFile(const QString& fileName);   // File1 click
    void ComputeReferenceFieldSize(FieldShape shape);  // Option1 / Option2 click
    // The result column still shows the evaluation of the inputs as they are now. Any change
    // of an input the evaluation used (a box, the body part, the shape, the tube voltage, the
    // equipment) makes the result stale: the column is greyed and Command3 disabled until the
    // next calculation.
    bool HasCurrentResult();
    // The evaluated case the result column shows, while it is current; null otherwise.
    const EvaluatedCase* CurrentResult();
    // A dose report's plane totals into the case inputs: the equipment file is chosen (read
    // again when another is selected), Ka,r, P_KA and the FSD the totals were evaluated with
    // typed and stored as their boxes store them, the mean tube voltage set as a fixed voltage,
    // and the report's reference distance and filtration used in place of the equipment's
    // (shown under the inputs, with 推定 beside an assumed voltage). Refused while an
    // evaluation runs.
    void EnterDoseReportTotals(const QString& equipmentFileName,
                               const rdsr::SingleCaseTexts& totals);
    // The last computed spectrum when its file could not be written (the spectrum window draws
    // it from memory then); null while the file holds it.
    const BinArray* UnwrittenSpectrum() const;
    // The current result was added to the results table, or the table was emptied: it cannot
    // be added (again) until the next evaluation.
    void DisableAddingResult();

signals:
    void exitRequested();            // Command1 "終了する"
    void addResultRequested();       // Command3 "結果を表に追加する"
    void tubeVoltageRequested();     // Command5 "管電圧設定"
    void newEquipmentRequested();    // Command7 "新規作成"
    void registrationRequested();    // Command8, the welcome banner
    void spectrumRequested();        // "Yes" to the spectrum question, or Command9
    void closedFromTitleBar();       // the window was closed by its title bar and is hidden now
    void userNameChangeRequested();  // Picture1 double click
    // After each step of an evaluation has shown its labels and let pending events run.
    void evaluationStepShown(int step);
    // Label38 (the skin-dose caption) double-clicked: bring the results window back.
    void resultsWindowRequested();
    // "RDSR 読込" (empty path: let the user choose), or once for each file dropped on the window.
    void doseReportRequested(const QString& path);
    void doseRegistryRequested();
    // A tube voltage set here without the tube-voltage window (a dose report's mean voltage):
    // that window is to show it.
    void tubeVoltageEntered(const ordevo::TubeVoltageRange& range);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Activation: the equipment list is read again and the result checked against the inputs
    // (another program may have changed the folder meanwhile).
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Ui;
    // Enter or focus lost in Text14, Text15 or Text9: full-width characters become ASCII; a text
    // that is not one plain number is refused (with a warning when `warn`) and keeps the focus.
    bool AcceptNumberBox(QLineEdit* box, bool warn);
    CaseBox BoxKind(const QLineEdit* box) const;
    // Typed into the body part: commas, line breaks and characters code page 932 cannot hold
    // are taken out again with a warning (the results CSV could not keep them).
    void RefuseUnsaveableBodyPart(const QString& text);
    CaseEntry CurrentEntry() const;
    // What the uncertainty budget knows of the selected equipment: its measurement record.
    UncertaintyKnowledge KnowledgeOfEquipment() const;
    // The file's values into the equipment and the panel; false (after the warning) when it
    // cannot be used, leaving both as they were.
    bool LoadEquipment(const QString& fileName);
    // The steps of EvaluateDose: the checked inputs (empty after a warning), each completed
    // step shown, a failure reported.
    // The number boxes accepted and the case read (its reading may be the incomplete case's
    // refusal); empty after any other refusal, which has been shown.
    std::optional<CaseReading> AcceptCaseInputs();
    void ShowEvaluationStep(EvaluationStep step, const DoseEvaluation& evaluation);
    void ReportEvaluationFailure(const DoseEvaluation& evaluation, const DoseCase& inputs);
    void CheckResultStillCurrent();
    void ShowResultColumn(bool current);
    void StoreReferenceAirKerma();
    void StoreKermaAreaProduct();
    // The field size Ka,r and P_KA give for `shape`, shown in Label65 and stored as shown.
    void ShowFieldSize(double sizeCm);
    // Ka,r or P_KA changed while a shape is chosen: the field size follows them, or is
    // withdrawn when they cannot give one.
    void UpdateFieldSizeAfterDoseChange();
    QAbstractButton* OptionFor(FieldShape shape) const;
    // The dose report's geometry taken in or dropped, and shown.
    void SetDoseReportGeometry(std::optional<DoseReportGeometry> geometry);

    const ReferenceData& reference_;
    QString workingFolder_;
    MainWindowCase case_;
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
    bool evaluating_ = false;
    bool refusing_ = false;  // a number box's warning is up and its focus being given back
    std::optional<EvaluatedCase> evaluated_;  // the result shown, while current
    // The spectrum file could not be written: the last spectrum is only in memory. The reason
    // is shown once, the first time it happens after a successful write.
    bool spectrumUnwritten_ = false;
    std::optional<QString> spectrumWriteWarning_;
};

}  // namespace ordevo
