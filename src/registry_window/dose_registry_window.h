// The window "線量登録簿": the patients of the dose registry, each one's procedures (date, PSD with
// its interval, upper bound, Ka,r and P_KA per plane, status), the cumulative skin dose over the
// window and the alerts; a chosen procedure's map drawn from its stored cells (or the patient's
// added map) and its one-page report printed.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "control_table.h"
#include "cumulative_dose.h"
#include "dose_registry_setting.h"
#include "modeless_window.h"
#include "registry.h"
#include "surface.h"

class QListWidget;
class QTabBar;
class QTableWidget;

namespace ordevo {

namespace ui {
class PictureBox;
}
class DrlReviewPanel;

inline constexpr int kDoseRegistryWindowWidthTwips = 18900;
inline constexpr int kDoseRegistryWindowHeightTwips = 10440;

class DoseRegistryWindow : public ui::ModelessWindow {
    Q_OBJECT
public:
    static ui::WindowLayout Layout();

    // The setting file and the follow-up levels are read from `workingFolder`.
    explicit DoseRegistryWindow(QString workingFolder, QWidget* parent = nullptr);
    ~DoseRegistryWindow() override;

    template <class W>
    W* Control(std::string_view name) const {
        return controls_.Get<W>(name);
    }
    QListWidget* PatientList() const { return patients_; }
    QTableWidget* ProcedureTable() const { return procedures_; }
    QListWidget* AlertList() const { return alerts_; }
    ui::PictureBox* Picture() const { return picture_; }
    QTabBar* Tabs() const { return tabs_; }
    DrlReviewPanel* Review() const { return review_; }

    // Shows the window with the registry of the setting; asks for one where none is set or it
    // is gone.
    void Open();
    // Reads the registry at `path` (an existing file only: the window never creates one) and
    // lists its patients; false when it cannot, said in a message, the registry shown before kept.
    bool OpenRegistry(const QString& path);
    // The file dialog; the chosen registry is opened and kept in the setting.
    void ChooseRegistry();
    // Re-reads the registry: procedures registered since appear.
    void Reload();
    // The patient's procedures, cumulative dose and alerts; the procedure's map and findings.
    void ShowPatient(int row);
    void ShowProcedure(int row);
    const registry::CumulativeDose* ShownCumulativeDose() const;
    const registry::StoredProcedure* ShownProcedure() const;
    // The shown procedure's report page, to the printer or a PDF file.
    void PrintReport();
    void SavePdf(const QString& path);

private:
    struct Ui;
    void DrawMap();
    std::function<void(ui::Surface&)> PageDrawing();

    QString folder_;
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
    QListWidget* patients_;
    QTableWidget* procedures_;
    QListWidget* alerts_;
    ui::PictureBox* picture_;
    QTabBar* tabs_;
    DrlReviewPanel* review_;  // the second tab
    DoseRegistrySetting setting_;
    std::unique_ptr<registry::Registry> registry_;
    std::vector<std::string> patientIds_;
    std::vector<registry::StoredProcedure> shownProcedures_;  // the patient's, in the table's order
    std::optional<registry::CumulativeDose> cumulative_;
    int shownProcedure_ = -1;
};

}  // namespace ordevo
